#!/usr/bin/env node
// The service's web page in headless Chromium: starts `ziwei serve` on a free
// port of 127.0.0.1, fills the birth form with key presses and clicks (a
// Gregorian birth at a place looked up as one types, a target date), casts,
// and compares the chart the page shows with the service's JSON and the
// JSON link's document with the command line's bytes; then the address as a
// bookmark, the back button, a lunar birth, a refusal and the keyboard.
// Every request the browser makes must go to the service.
// Usage: web_browser_test.js ZIWEI [SCREENSHOT.png]. Exits 0 when every
// check passes, 1 on a failure, 77 (skipped) when no Chromium is installed.
"use strict";

const childProcess = require("node:child_process");
const http = require("node:http");

const { runInBrowser, check } = require("../../tests/devtools/devtools.js");

const [ziwei, screenshot] = process.argv.slice(2);
if (!ziwei) {
  console.error("usage: web_browser_test.js ZIWEI [SCREENSHOT.png]");
  process.exit(2);
}

// GET from the service: the status and the body's bytes.
function get(url) {
  return new Promise((resolve, reject) => {
    http.get(url, (response) => {
      const pieces = [];
      response.on("data", (piece) => pieces.push(piece));
      response.on("end", () => resolve({ status: response.statusCode, body: Buffer.concat(pieces) }));
    }).on("error", reject);
  });
}

function startService(atExit) {
  const service = childProcess.spawn(ziwei, ["serve", "--listen", "127.0.0.1:0"],
    { stdio: ["ignore", "ignore", "pipe"] });
  atExit(() => {
    if (service.exitCode === null) service.kill("SIGTERM");
  });
  return new Promise((resolve, reject) => {
    let text = "";
    service.stderr.on("data", (data) => {
      text += data.toString();
      const m = /serving on (http:\/\/127\.0\.0\.1:\d+\/)/.exec(text);
      if (m) resolve(m[1]);
    });
    service.on("exit", (code) => reject(new Error("ziwei serve exited (" + code + "): " + text)));
    setTimeout(() => reject(new Error("ziwei serve did not say where it listens: " + text)), 20000);
  });
}

// The chart's parameters as the command line's options.
function options(query) {
  const args = [];
  for (const [key, value] of query) {
    if (key === "leap") args.push("--leap");
    else if (key !== "format") args.push("--" + key, value);
  }
  return args;
}

function sameEntries(a, b) {
  const text = (q) => JSON.stringify([...q].map(([k, v]) => k + "=" + v).sort());
  return text(a) === text(b);
}

// What the page shows: the address, the error, the frame's chart.
const READ_PAGE = `(() => {
  const error = document.getElementById("error");
  const doc = document.getElementById("chart").contentDocument;
  const frame = doc && doc.documentElement ? doc : null;
  const data = frame && frame.getElementById("chart-data");
  const title = frame && frame.querySelector(".centre h2");
  const active = document.activeElement;
  return { search: location.search, path: location.pathname,
    error: error.hidden ? null : error.textContent,
    resultShown: !document.getElementById("result").hidden,
    cells: frame ? frame.querySelectorAll(".cell").length : 0,
    json: data ? data.textContent : null, title: title ? title.textContent : null,
    frameHeight: frame ? frame.defaultView.innerHeight : 0,
    frameContent: frame ? frame.documentElement.getBoundingClientRect().height : 0,
    focus: active ? active.id : null,
    invalid: [...document.querySelectorAll("[aria-invalid=true]")].map((e) => e.id),
    links: Object.fromEntries([...document.querySelectorAll(".formats a")]
      .map((a) => [a.id, a.getAttribute("href")])),
    values: Object.fromEntries([...document.getElementById("birth").elements]
      .filter((e) => e.name && e.type !== "radio").map((e) => [e.name,
        e.type === "checkbox" ? e.checked : e.value])),
    sex: (document.querySelector("input[name=sex]:checked") || {}).value,
    calendar: (document.querySelector("input[name=calendar]:checked") || {}).value };
})()`;

const CHART_SHOWN = `(() => { const f = document.getElementById("chart").contentDocument;
  return !document.getElementById("result").hidden && f && f.querySelectorAll(".cell").length === 12 &&
    !document.body.hasAttribute("aria-busy"); })()`;

async function typeInto(tab, selector, text) {
  await tab.clickOn(selector);
  await tab.type(text);
}

// Every control of the form has a name a reader can say, and every named
// one is a parameter of the chart (an option of the cast command) whose
// every offered value the service takes.
async function checkControls(tab, base) {
  const controls = await tab.evaluate(`[...document.querySelectorAll("input, select, button")]
    .filter((e) => e.type !== "hidden").map((e) => ({ id: e.id, name: e.name, type: e.type,
      form: e.form ? e.form.id : null, labelled: e.labels.length > 0 &&
        [...e.labels].every((l) => l.textContent.trim() !== "") || e.textContent.trim() !== "",
      values: e.tagName === "SELECT" ? [...e.options].map((o) => o.value) : [] }))`);
  check(controls.length >= 20, `the form has ${controls.length} controls`);
  const help = childProcess.execFileSync(ziwei, ["--help"], { encoding: "utf8" });
  for (const c of controls) {
    check(c.labelled, `control ${c.id || c.name} has a label`);
    if (c.form !== "birth" || !c.name) continue;
    check(help.includes("--" + c.name + " "), `the field ${c.name} is an option of the cast`);
    for (const value of c.values.filter((v) => v !== "")) {
      // (dst chooses for a clock time the zone repeated: 01:30 of the day
      // New York left daylight saving time.)
      const birth = c.name === "dst" ? { solar: "2001-10-28", hour: "1", minute: "30",
        tz: "America/New_York" } : { year: "1984" };
      const query = new URLSearchParams({ ...birth, [c.name]: value });
      const answer = await get(base + "v1/chart?" + query);
      check(answer.status === 200, `${c.name}=${value} is taken (${answer.status} ${answer.body})`);
    }
  }
}

runInBrowser({ name: "web", seconds: 150, width: 1100, height: 1000 },
  async (tab, { tools, atExit }) => {
    const base = await startService(atExit);
    const requests = [];
    const documents = new Map();
    tools.on("Network.requestWillBeSent", (p) => requests.push(p.request.url));
    tools.on("Network.responseReceived", (p) => {
      if (p.type === "Document") documents.set(p.response.url, p.requestId);
    });
    await tab.call("Network.enable");
    await tab.open(base);

    const start = await tab.evaluate(READ_PAGE);
    check(start.path === "/" && start.search === "" && !start.resultShown && start.error === null,
      "the page opens with the form alone");
    check(await tab.evaluate("document.documentElement.lang") === "zh-Hant", "the page is zh-Hant");
    check(start.calendar === "solar" && await tab.evaluate(
      "document.getElementById('year').matches(':disabled') && " +
      "!document.getElementById('solar').matches(':disabled')"),
      "a Gregorian birth by default, the lunar fields off");
    await checkControls(tab, base);
    await tab.press("Tab", "Tab", 9);
    check((await tab.evaluate(READ_PAGE)).focus === "name", "Tab goes to the name first");

    // The birth, typed.
    const name = "王小明 Wang";
    await typeInto(tab, "#name", name);
    await tab.clickOn("input[name=sex][value=female]");
    await typeInto(tab, "#solar", "06082001");
    await typeInto(tab, "#hour", "13");
    await typeInto(tab, "#minute", "30");
    let shown;
    // A name that fits two places lists both, each as the cast takes it.
    const MATCHES = `(() => { const b = [...document.querySelectorAll("#place-matches button")];
      return b.length && !document.getElementById("place-matches").hidden &&
        b.map((e) => e.dataset.value); })()`;
    await typeInto(tab, "#place", "Suzhou");
    const suzhou = await tab.waitFor(MATCHES);
    check(suzhou.length === 2 && suzhou.every((p) => p.startsWith("Suzhou, ")),
      `"Suzhou" lists two places: ${JSON.stringify(suzhou)}`);
    for (const p of suzhou || []) {
      const cast = await get(base + "v1/chart?" + new URLSearchParams({ year: "1984", place: p }));
      check(cast.status === 200, `the match "${p}" is a place the cast takes (${cast.status})`);
    }
    // ↓ goes into the list, ↓ again to the next match, Enter chooses it.
    await tab.press("ArrowDown", "ArrowDown", 40);
    await tab.press("ArrowDown", "ArrowDown", 40);
    await tab.press("Enter", "Enter", 13);
    shown = await tab.evaluate(READ_PAGE);
    check(shown.values.place === (suzhou || [])[1] && shown.focus === "place" &&
      !shown.resultShown && shown.path === "/" && shown.search === "",
      `the keyboard chooses the second match, and casts nothing (${shown.values.place})`);
    for (let i = 0; i < "Suzhou, Jiangsu".length; ++i) await tab.press("Backspace", "Backspace", 8);
    check(await tab.waitFor(`document.getElementById("place-matches").hidden`),
      "no list once the place is empty");
    await tab.type("Taip");
    const listed = await tab.waitFor(MATCHES);
    const places = JSON.parse((await get(base + "v1/places?q=Taip&limit=8")).body).places;
    check(JSON.stringify(listed) === JSON.stringify(places.map((p) => p.name)),
      `the places that match "Taip" are listed: ${JSON.stringify(listed)}`);
    const taipei = places.findIndex((p) => p.name === "Taipei");
    check(taipei >= 0, "Taipei is among them");
    await tab.clickOn(`#place-matches li:nth-child(${taipei + 1}) button`);
    shown = await tab.evaluate(READ_PAGE);
    check(shown.values.place === "Taipei" && shown.focus === "place",
      `a match chosen is the place (${shown.values.place})`);
    await typeInto(tab, "#on", "12072026");
    await typeInto(tab, "#on-time", "1000AM");
    shown = await tab.evaluate(READ_PAGE);
    check(shown.values.solar === "2001-06-08" && shown.values.on === "2026-12-07" &&
      shown.values["on-time"] === "10:00", `the dates typed: ${JSON.stringify(shown.values)}`);

    await tab.clickOn("button[type=submit]");
    check(await tab.waitFor(CHART_SHOWN), "the chart is shown");
    shown = await tab.evaluate(READ_PAGE);
    const query = new URLSearchParams({ name, sex: "female", solar: "2001-06-08", hour: "13",
      minute: "30", place: "Taipei", on: "2026-12-07", "on-time": "10:00" });
    const address = new URLSearchParams(shown.search);
    check(shown.path === "/" && sameEntries(address, query),
      `the address holds the form's query: ${shown.search}`);
    const expected = JSON.parse((await get(base + "v1/chart?" + query + "&format=json")).body);
    const onPage = JSON.parse(shown.json);
    check(JSON.stringify(onPage) === JSON.stringify(expected),
      "the chart shown is the service's JSON of the same query");
    check(onPage.input.name === name && onPage.input.sex === "female" &&
      onPage.input.solar === "2001-06-08" && onPage.input.zone === "Asia/Taipei" &&
      onPage.input.clock === "2001-06-08T13:30:00" && onPage.periods &&
      onPage.periods.target.solar === "2026-12-07" && onPage.periods.target.time === "10:00",
      `the chart is of the birth typed: ${JSON.stringify(onPage.input).slice(0, 300)}`);
    check(shown.title && shown.title.includes(name), `the name is shown: ${shown.title}`);
    check(await tab.evaluate("document.title") === name + " · 紫微斗數排盤", "the title names the chart");
    check(shown.frameHeight >= shown.frameContent && shown.frameHeight < shown.frameContent + 40,
      `the frame is as tall as its page ` +
      `(${shown.frameHeight} for ${shown.frameContent})`);
    for (const format of ["json", "html", "text", "markdown", "study"]) {
      const href = shown.links[format + "-link"] || "";
      const linked = new URLSearchParams(href.replace(/^\/v1\/chart\?/, ""));
      check(href.startsWith("/v1/chart?") && linked.get("format") === format &&
        sameEntries([...linked].filter(([k]) => k !== "format"), query), `the ${format} link: ${href}`);
    }
    if (screenshot) await tab.screenshot(screenshot);

    // The JSON link: the command line's bytes.
    const loaded = tools.event("Page.loadEventFired", tab.sessionId);
    await tab.clickOn("#json-link");
    await loaded;
    const jsonAddress = await tab.evaluate("location.href");
    check(jsonAddress === base.replace(/\/$/, "") + shown.links["json-link"],
      `the JSON link opens ${jsonAddress}`);
    const requestId = documents.get(jsonAddress);
    const { body, base64Encoded } = await tab.call("Network.getResponseBody", { requestId });
    const bytes = base64Encoded ? Buffer.from(body, "base64") : Buffer.from(body, "utf8");
    const cli = childProcess.execFileSync(ziwei, options(query).concat(["--format", "json"]));
    check(bytes.equals(cli), `the JSON document is the command line's (${bytes.length} and ${cli.length} bytes)`);

    // Back: the chart of the address again, the form filled from it.
    await tab.evaluate("history.back()");
    check(await tab.waitFor(`location.pathname === "/" && ${CHART_SHOWN}`), "back: the chart again");
    shown = await tab.evaluate(READ_PAGE);
    check(shown.values.name === name && shown.values.place === "Taipei" && shown.sex === "female" &&
      shown.values.on === "2026-12-07", `back: the form as it was: ${JSON.stringify(shown.values)}`);

    // The address as a bookmark: a lunar birth in a leap month.
    const lunar = new URLSearchParams({ year: "2001", month: "4", leap: "on", day: "20",
      hour: "23", "late-zi": "next-day", lang: "en" });
    await tab.open(base + "?" + lunar);
    check(await tab.waitFor(CHART_SHOWN), "a bookmarked address shows its chart");
    shown = await tab.evaluate(READ_PAGE);
    check(shown.calendar === "lunar" && shown.values.leap === true && shown.values.year === "2001" &&
      shown.values["late-zi"] === "next-day" && shown.values.lang === "en",
      `the form holds the bookmark's birth: ${JSON.stringify(shown.values)}`);
    const lunarJson = JSON.parse(shown.json);
    const lunarCli = JSON.parse(childProcess.execFileSync(ziwei, options(lunar).concat(["--format", "json"])));
    check(JSON.stringify(lunarJson) === JSON.stringify(lunarCli) && lunarJson.input.leap === true &&
      lunarJson.input.lateZiMoved === true, `the lunar chart: ${JSON.stringify(lunarJson.input).slice(0, 200)}`);

    // The switch to a Gregorian birth drops the lunar fields.
    await tab.clickOn("input[name=calendar][value=solar]");
    await typeInto(tab, "#solar", "07151990");
    await tab.press("Enter", "Enter", 13);
    check(await tab.waitFor(`location.search.includes("solar=1990-07-15") && ${CHART_SHOWN}`),
      "the Gregorian birth is cast");
    shown = await tab.evaluate(READ_PAGE);
    const solarQuery = new URLSearchParams(shown.search);
    check(!["year", "month", "leap", "day"].some((k) => solarQuery.has(k)),
      `the lunar fields are no parameters then: ${shown.search}`);

    // A refusal: the service's message next to the form, on the field it names.
    await typeInto(tab, "#tz", "Mars/Olympus");
    await tab.press("Enter", "Enter", 13);
    check(await tab.waitFor(`!document.getElementById("error").hidden`), "a refusal is shown");
    shown = await tab.evaluate(READ_PAGE);
    const refused = await get(base + "v1/chart" + shown.search + "&format=study");
    const message = JSON.parse(refused.body).error;
    check(refused.status === 400 && shown.error === message,
      `the refusal reads as the service's: "${shown.error}" for "${message}"`);
    check(/Mars\/Olympus/.test(message), `the message names the value: ${message}`);
    check(!shown.resultShown && shown.invalid.join() === "tz" && shown.focus === "tz",
      `the zone field is marked and has the focus (${shown.invalid}, ${shown.focus})`);

    // Without scripts the form casts the chart page into the frame.
    await tab.call("Emulation.setScriptExecutionDisabled", { value: true });
    await tab.open(base);
    await typeInto(tab, "#name", "無腳本");
    await typeInto(tab, "#solar", "06082001");
    await tab.clickOn("button[type=submit]");
    const framed = await tab.waitFor(`(() => { const f = document.getElementById("chart");
      const d = f.contentDocument; return d && d.body && d.body.textContent.includes("命宮") &&
        { address: f.contentWindow.location.href, text: d.body.textContent }; })()`);
    const framedQuery = framed ? new URL(framed.address).searchParams : new URLSearchParams();
    check(framed && framed.text.includes("無腳本") && framedQuery.get("format") === "html" &&
      framedQuery.get("solar") === "2001-06-08" && !framedQuery.has("calendar"),
      `without scripts the chart page is in the frame: ${framed && framed.address}`);
    await tab.call("Emulation.setScriptExecutionDisabled", { value: false });

    // Nothing but the service was asked.
    const elsewhere = requests.filter((u) => !u.startsWith(base) && !/^(data|about):/.test(u));
    check(requests.length > 5 && elsewhere.length === 0,
      `every request went to the service: ${JSON.stringify(elsewhere)}`);
  });
