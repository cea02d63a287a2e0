// Headless Chromium for the browser tests, driven over its DevTools protocol
// on 127.0.0.1 with the few lines of WebSocket this needs (Node has no
// WebSocket client of its own before version 22).
//
//   const { runInBrowser, check } = require(".../devtools.js");
//   runInBrowser({ name: "study", seconds: 150 }, async (tab, browser) => { ... });
//
// runInBrowser exits the process: 0 when every check passed, 1 on a failure
// or an error, 77 (skipped) when no Chromium is installed.
"use strict";

const childProcess = require("node:child_process");
const crypto = require("node:crypto");
const fs = require("node:fs");
const net = require("node:net");
const os = require("node:os");
const path = require("node:path");

const SKIP = 77;

function findChromium() {
  const named = process.env.ZIWEI_CHROMIUM;
  if (named) return named;
  for (const dir of (process.env.PATH || "").split(path.delimiter)) {
    for (const name of ["chromium", "chromium-browser"]) {
      const file = path.join(dir, name);
      try {
        fs.accessSync(file, fs.constants.X_OK);
        return file;
      } catch (_) {
        // not here
      }
    }
  }
  return null;
}

// ---------------------------------------------------------------- WebSocket

// A client of one WebSocket (RFC 6455): text messages only, unfragmented
// when sent, reassembled when received.
function connectWebSocket(address, onMessage) {
  const url = new URL(address);
  if (url.hostname !== "127.0.0.1") throw new Error("not a loopback address: " + address);
  return new Promise((resolve, reject) => {
    const socket = net.connect(Number(url.port), url.hostname);
    const key = crypto.randomBytes(16).toString("base64");
    let buffer = Buffer.alloc(0);
    let open = false;
    let pieces = [];
    socket.on("error", reject);
    socket.on("connect", () => {
      socket.write(
        `GET ${url.pathname} HTTP/1.1\r\nHost: ${url.host}\r\nUpgrade: websocket\r\n` +
          `Connection: Upgrade\r\nSec-WebSocket-Key: ${key}\r\nSec-WebSocket-Version: 13\r\n\r\n`);
    });
    function send(opcode, payload) {
      const mask = crypto.randomBytes(4);
      const length = payload.length;
      const head = length < 126 ? 2 : length < 65536 ? 4 : 10;
      const frame = Buffer.alloc(head + 4 + length);
      frame[0] = 0x80 | opcode;
      if (length < 126) {
        frame[1] = 0x80 | length;
      } else if (length < 65536) {
        frame[1] = 0x80 | 126;
        frame.writeUInt16BE(length, 2);
      } else {
        frame[1] = 0x80 | 127;
        frame.writeBigUInt64BE(BigInt(length), 2);
      }
      mask.copy(frame, head);
      for (let i = 0; i < length; ++i) frame[head + 4 + i] = payload[i] ^ mask[i & 3];
      socket.write(frame);
    }
    function frames() {
      for (;;) {
        if (buffer.length < 2) return;
        const opcode = buffer[0] & 0x0f;
        const fin = (buffer[0] & 0x80) !== 0;
        let length = buffer[1] & 0x7f;
        let at = 2;
        if (length === 126) {
          if (buffer.length < 4) return;
          length = buffer.readUInt16BE(2);
          at = 4;
        } else if (length === 127) {
          if (buffer.length < 10) return;
          length = Number(buffer.readBigUInt64BE(2));
          at = 10;
        }
        if (buffer[1] & 0x80) throw new Error("a masked frame from the server");
        if (buffer.length < at + length) return;
        const payload = buffer.subarray(at, at + length);
        buffer = buffer.subarray(at + length);
        if (opcode === 0x9) {
          send(0xa, payload);
        } else if (opcode === 0x8) {
          socket.end();
        } else if (opcode === 0x1 || opcode === 0x0) {
          pieces.push(Buffer.from(payload));
          if (fin) {
            const text = Buffer.concat(pieces).toString("utf8");
            pieces = [];
            onMessage(text);
          }
        }
      }
    }
    socket.on("data", (data) => {
      buffer = Buffer.concat([buffer, data]);
      if (!open) {
        const end = buffer.indexOf("\r\n\r\n");
        if (end < 0) return;
        const head = buffer.subarray(0, end).toString("latin1");
        buffer = buffer.subarray(end + 4);
        const accept = crypto.createHash("sha1")
          .update(key + "258EAFA5-E914-47DA-95CA-C5AB0DC85B11").digest("base64");
        if (!/^HTTP\/1\.1 101/.test(head) || head.indexOf(accept) < 0) {
          reject(new Error("the WebSocket handshake failed: " + head.split("\r\n")[0]));
          socket.destroy();
          return;
        }
        open = true;
        resolve({ send: (text) => send(0x1, Buffer.from(text, "utf8")), close: () => socket.destroy() });
      }
      frames();
    });
  });
}

// ----------------------------------------------------------------- DevTools

class DevTools {
  constructor() {
    this.next = 1;
    this.pending = new Map();
    this.waiters = [];
    this.listeners = [];
  }
  async connect(address) {
    this.ws = await connectWebSocket(address, (text) => this.receive(JSON.parse(text)));
  }
  receive(message) {
    if (message.id !== undefined) {
      const call = this.pending.get(message.id);
      this.pending.delete(message.id);
      if (message.error) call.reject(new Error(call.method + ": " + message.error.message));
      else call.resolve(message.result);
      return;
    }
    for (const l of this.listeners) {
      if (l.method === message.method) l.handler(message.params, message.sessionId);
    }
    this.waiters = this.waiters.filter((w) => {
      if (w.method !== message.method || w.sessionId !== message.sessionId) return true;
      w.resolve(message.params);
      return false;
    });
  }
  call(method, params = {}, sessionId = undefined) {
    const id = this.next++;
    const message = { id, method, params };
    if (sessionId) message.sessionId = sessionId;
    return new Promise((resolve, reject) => {
      this.pending.set(id, { resolve, reject, method });
      this.ws.send(JSON.stringify(message));
    });
  }
  // The next event `method` of a session.
  event(method, sessionId) {
    return new Promise((resolve) => this.waiters.push({ method, sessionId, resolve }));
  }
  // Every event `method` of any session, from now on.
  on(method, handler) {
    this.listeners.push({ method, handler });
  }
}

// A page of the browser: navigate, evaluate, click, press keys, type.
class Tab {
  constructor(tools, sessionId) {
    this.tools = tools;
    this.sessionId = sessionId;
  }
  call(method, params) {
    return this.tools.call(method, params, this.sessionId);
  }
  async open(url) {
    const loaded = this.tools.event("Page.loadEventFired", this.sessionId);
    await this.call("Page.navigate", { url });
    await loaded;
  }
  async evaluate(expression) {
    const result = await this.call("Runtime.evaluate", {
      expression,
      returnByValue: true,
      awaitPromise: true
    });
    if (result.exceptionDetails) {
      throw new Error("page script failed: " + JSON.stringify(result.exceptionDetails).slice(0, 400));
    }
    return result.result.value;
  }
  // Evaluates `expression` until it is true (or `seconds` have gone by).
  async waitFor(expression, seconds = 10) {
    const until = Date.now() + seconds * 1000;
    while (Date.now() < until) {
      const value = await this.evaluate(expression);
      if (value) return value;
      await sleep(50);
    }
    return false;
  }
  async click(x, y) {
    for (const type of ["mouseMoved", "mousePressed", "mouseReleased"]) {
      await this.call("Input.dispatchMouseEvent", { type, x, y, button: "left", clickCount: 1 });
    }
  }
  // Clicks the middle of the element `selector` finds.
  async clickOn(selector) {
    const at = await this.evaluate(`(() => { const e = document.querySelector(${JSON.stringify(selector)});
      if (!e) return null; e.scrollIntoView({ block: "center" }); const r = e.getBoundingClientRect();
      return { x: r.left + r.width / 2, y: r.top + r.height / 2 }; })()`);
    if (!at) throw new Error("nothing on the page is " + selector);
    await this.click(at.x, at.y);
  }
  async press(key, code, keyCode) {
    for (const type of ["keyDown", "keyUp"]) {
      const event = { type, key, code, windowsVirtualKeyCode: keyCode, nativeVirtualKeyCode: keyCode };
      // Enter types a carriage return too, which submits a form.
      if (key === "Enter" && type === "keyDown") event.text = "\r";
      await this.call("Input.dispatchKeyEvent", event);
    }
  }
  // Types `text` into the focused element: a key press for each ASCII
  // letter, digit or sign, and what a keyboard cannot press (CJK) as an
  // input method writes it.
  async type(text) {
    for (const c of text) {
      if (c >= " " && c <= "~") {
        const upper = c.toUpperCase();
        const keyCode = /[A-Z0-9]/.test(upper) ? upper.charCodeAt(0) : 0;
        await this.call("Input.dispatchKeyEvent", { type: "keyDown", key: c, text: c,
          windowsVirtualKeyCode: keyCode, nativeVirtualKeyCode: keyCode });
        await this.call("Input.dispatchKeyEvent", { type: "keyUp", key: c,
          windowsVirtualKeyCode: keyCode, nativeVirtualKeyCode: keyCode });
      } else {
        await this.call("Input.insertText", { text: c });
      }
    }
  }
  async screenshot(file) {
    const { data } = await this.call("Page.captureScreenshot", { format: "png", captureBeyondViewport: true });
    fs.writeFileSync(file, Buffer.from(data, "base64"));
  }
}

// ---------------------------------------------------------------- the checks

const counts = { passed: 0, failed: 0 };
function check(ok, what) {
  if (ok) {
    ++counts.passed;
  } else {
    ++counts.failed;
    console.error("FAIL: " + what);
  }
}

// ------------------------------------------------------------- the browser

function sleep(ms) {
  return new Promise((resolve) => setTimeout(resolve, ms));
}

// Removes the scratch folder, waiting a little for a helper of Chromium
// that still writes into its profile.
async function removeFolder(dir) {
  for (let attempt = 0; ; ++attempt) {
    try {
      fs.rmSync(dir, { recursive: true, force: true });
      return;
    } catch (error) {
      if (error.code !== "ENOTEMPTY" || attempt === 30) throw error;
      await sleep(100);
    }
  }
}

// Starts Chromium on 127.0.0.1, opens one tab and calls `body(tab, browser)`
// with browser = { tools, dir (a scratch folder), atExit(fn) }; then stops
// Chromium (and what atExit registered), prints the counts and exits.
// Options: name (of the scratch folder), seconds (the deadline), width and
// height (of the tab).
function runInBrowser(options, body) {
  const { name = "browser", seconds = 150, width = 1000, height = 1100 } = options;
  const chromium = findChromium();
  if (!chromium) {
    console.log("SKIP: no chromium on PATH (Debian package chromium; or set ZIWEI_CHROMIUM)");
    process.exit(SKIP);
  }
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), "ziwei-" + name + "-"));
  const stops = [];
  const flags = [
    "--headless=new", "--disable-gpu", "--no-first-run", "--no-default-browser-check",
    "--remote-debugging-port=0", "--remote-debugging-address=127.0.0.1",
    "--user-data-dir=" + path.join(dir, "profile"), "--lang=en-US",
    // Nothing leaves the machine: no background traffic, no name resolved
    // (but 127.0.0.1 reached).
    "--disable-background-networking", "--disable-component-update", "--disable-sync",
    "--disable-domain-reliability", "--disable-client-side-phishing-detection", "--no-pings",
    "--disable-default-apps", "--disable-extensions", "--host-resolver-rules=MAP * ~NOTFOUND, EXCLUDE 127.0.0.1",
    "--window-size=" + (width + 100) + "," + height, "about:blank"
  ];
  if (process.getuid && process.getuid() === 0) flags.unshift("--no-sandbox");
  const browser = childProcess.spawn(chromium, flags, { stdio: ["ignore", "ignore", "pipe"] });
  stops.push(() => {
    if (browser.exitCode === null) browser.kill("SIGTERM");
  });
  const stopAll = () => {
    for (const stop of stops.splice(0).reverse()) stop();
  };
  const deadline = setTimeout(() => {
    console.error(`FAIL: the browser test took longer than ${seconds} s`);
    stopAll();
    process.exit(1);
  }, seconds * 1000);
  const run = async () => {
    try {
      const address = await new Promise((resolve, reject) => {
        let text = "";
        browser.stderr.on("data", (data) => {
          text += data.toString();
          const m = /DevTools listening on (ws:\/\/\S+)/.exec(text);
          if (m) resolve(m[1]);
        });
        browser.on("exit", (code) => reject(new Error("chromium exited (" + code + "): " + text)));
        setTimeout(() => reject(new Error("no DevTools address from chromium: " + text)), 30000);
      });
      const tools = new DevTools();
      await tools.connect(address);
      const { targetId } = await tools.call("Target.createTarget", { url: "about:blank" });
      const { sessionId } = await tools.call("Target.attachToTarget", { targetId, flatten: true });
      const tab = new Tab(tools, sessionId);
      await tab.call("Page.enable");
      await tab.call("Runtime.enable");
      await tab.call("Emulation.setDeviceMetricsOverride",
        { width, height, deviceScaleFactor: 1, mobile: false });
      await body(tab, { tools, dir, atExit: (fn) => stops.push(fn) });
      // Closed so, Chromium stops its helper processes before it exits.
      await Promise.race([tools.call("Browser.close").catch(() => {}), sleep(5000)]);
      tools.ws.close();
    } finally {
      clearTimeout(deadline);
      stopAll();
      await new Promise((resolve) => (browser.exitCode !== null ? resolve() : browser.on("exit", resolve)));
      await removeFolder(dir);
    }
    console.log(`${counts.passed} passed, ${counts.failed} failed`);
    return counts.failed === 0 ? 0 : 1;
  };
  run().then((code) => process.exit(code), (error) => {
    console.error("FAIL: " + (error && error.stack ? error.stack : error));
    process.exit(1);
  });
}

module.exports = { runInBrowser, check };
