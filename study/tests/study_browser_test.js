#!/usr/bin/env node
// The study page in headless Chromium: for several births and each level,
// clicks every palace and compares what the page highlights, where its
// arrows end and what it marks with the chart's JSON; then walks the page by
// keyboard. Usage: study_browser_test.js ZIWEI. Exits 0 when every check
// passes, 1 on a failure, 77 (skipped) when no Chromium is installed.
"use strict";

const childProcess = require("node:child_process");
const path = require("node:path");

const { runInBrowser, check } = require("../../tests/devtools/devtools.js");

const ziwei = process.argv[2];
if (!ziwei) {
  console.error("usage: study_browser_test.js ZIWEI");
  process.exit(2);
}

function sameSet(a, b) {
  const x = [...a].map(String).sort();
  const y = [...b].map(String).sort();
  return x.length === y.length && x.every((v, i) => v === y[i]);
}

// What the page shows now: each cell's highlight, name, running stars and
// marks; each arrow with its ends in page coordinates; the focus.
const READ_PAGE = `(() => {
  const rect = (e) => { const r = e.getBoundingClientRect();
    return { left: r.left, top: r.top, right: r.right, bottom: r.bottom }; };
  const cells = [...document.querySelectorAll('.cell')].map((c) => ({
    num: Number(c.dataset.num), hl: c.dataset.hl || '', pressed: c.getAttribute('aria-pressed'),
    label: c.getAttribute('aria-label') || '', role: c.getAttribute('role'),
    tabindex: c.getAttribute('tabindex'), rect: rect(c),
    name: c.querySelector('.name').firstChild && c.querySelector('.name').textContent,
    running: [...c.querySelectorAll('.running li')].map((li) => li.textContent),
    marks: [...c.querySelectorAll('.mark')].map((m) => ({
      cls: m.className, kind: Number(m.dataset.kind), star: m.closest('li').dataset.star,
      text: m.textContent })) }));
  const arrows = [...document.querySelectorAll('g.flight')].map((g) => {
    const p = g.querySelector('path'); const m = p.getScreenCTM();
    const at = (q) => ({ x: q.x * m.a + q.y * m.c + m.e, y: q.x * m.b + q.y * m.d + m.f });
    return { kind: Number(g.dataset.kind), from: Number(g.dataset.from), to: Number(g.dataset.to),
      start: at(p.getPointAtLength(0)), end: at(p.getPointAtLength(p.getTotalLength())),
      label: g.querySelector('text').textContent };
  });
  const active = document.activeElement;
  return { cells, arrows, focus: active && active.dataset ? Number(active.dataset.num || 0) : 0,
    level: (document.querySelector('.levels input:checked') || {}).value || 'natal',
    relations: (document.getElementById('study-relations') || {}).textContent || '' };
})()`;

const LEVEL_KEYS = ["decade", "year", "month", "day", "hour"];

function inside(point, r) {
  return point.x >= r.left && point.x <= r.right && point.y >= r.top && point.y <= r.bottom;
}

// The relations, names, transformations and running stars of a level as
// the JSON gives them.
function levelOf(json, key) {
  if (key === "natal") {
    return {
      relations: json.palaces.map((p) => p.relations),
      names: json.palaces.map((p) => p.name),
      stars: null,
      transformations: null
    };
  }
  return json.periods[key];
}

function checkMarks(shown, json, level, where) {
  const kinds = Object.keys(json.palaces[0].relations.flies);
  for (const cell of shown.cells) {
    const rel = level.relations[cell.num - 1];
    const of = (word) => cell.marks.filter((m) => m.cls.split(" ").includes(word));
    const listed = (marks) => marks.map((m) => kinds[m.kind] + "=" + m.star);
    check(sameSet(listed(of("self")), Object.entries(rel.self).map(([k, s]) => k + "=" + s)),
      `${where} palace ${cell.num}: 自化 marks ${JSON.stringify(listed(of("self")))}`);
    check(sameSet(listed(of("inward")), Object.entries(rel.inward).map(([k, s]) => k + "=" + s)),
      `${where} palace ${cell.num}: 向心 marks ${JSON.stringify(listed(of("inward")))}`);
    const natal = json.palaces[cell.num - 1].main.filter((s) => s.transformation)
      .map((s) => s.transformation + "=" + s.star);
    check(sameSet(of("natal").map((m) => kinds[m.kind] + "=" + m.star), natal),
      `${where} palace ${cell.num}: birth-year transformations`);
    check(cell.name.indexOf(level.names[cell.num - 1]) >= 0,
      `${where} palace ${cell.num}: name "${cell.name}" lacks "${level.names[cell.num - 1]}"`);
    if (level.stars) {
      check(sameSet(cell.running, level.stars[cell.num - 1]),
        `${where} palace ${cell.num}: running stars ${JSON.stringify(cell.running)}`);
      const stars = new Set(json.palaces[cell.num - 1].main.map((s) => s.star));
      const expected = Object.entries(level.transformations).filter(([s]) => stars.has(s))
        .map(([s, k]) => k + "=" + s);
      check(sameSet(of("level").map((m) => kinds[m.kind] + "=" + m.star), expected),
        `${where} palace ${cell.num}: the level's transformations`);
    } else {
      check(cell.running.length === 0 && of("level").length === 0,
        `${where} palace ${cell.num}: running stars on the natal chart`);
    }
    check(cell.role === "button" && cell.tabindex === "0", `${where} palace ${cell.num}: focusable`);
    const main = json.palaces[cell.num - 1].main.map((s) => s.star);
    check(cell.label.indexOf(level.names[cell.num - 1]) >= 0 &&
      main.every((s) => cell.label.indexOf(s) >= 0),
      `${where} palace ${cell.num}: accessible name "${cell.label}"`);
  }
}

function checkSelection(shown, json, level, num, where) {
  const rel = level.relations[num - 1];
  const kinds = Object.keys(rel.flies);
  const hl = (kind) => shown.cells.filter((c) => c.hl === kind).map((c) => c.num);
  check(sameSet(hl("selected"), [num]), `${where}: selected ${JSON.stringify(hl("selected"))}`);
  check(sameSet(hl("selected").concat(hl("trine")), rel.trine),
    `${where}: 三方四正 ${JSON.stringify(hl("trine"))} for ${JSON.stringify(rel.trine)}`);
  check(sameSet(hl("flank"), rel.flank),
    `${where}: flanks ${JSON.stringify(hl("flank"))} for ${JSON.stringify(rel.flank)}`);
  check(shown.cells.every((c) => (c.pressed === "true") === (c.num === num)), `${where}: aria-pressed`);
  const rects = new Map(shown.cells.map((c) => [c.num, c.rect]));
  const selectedCell = shown.cells.find((c) => c.num === num);
  for (let k = 0; k < 4; ++k) {
    const to = rel.flies[kinds[k]];
    const arrows = shown.arrows.filter((a) => a.kind === k);
    const active = selectedCell.marks.filter((m) => m.kind === k &&
      m.cls.split(" ").includes("self") && m.cls.split(" ").includes("active"));
    if (to === num) {
      check(arrows.length === 0 && active.length === 1 && active[0].star === rel.self[kinds[k]],
        `${where}: ${kinds[k]} into its own palace is a mark on ${rel.self[kinds[k]]}`);
      continue;
    }
    check(arrows.length === 1 && active.length === 0, `${where}: one ${kinds[k]} arrow`);
    if (arrows.length !== 1) continue;
    const a = arrows[0];
    check(a.from === num && a.to === to && a.label === kinds[k],
      `${where}: ${kinds[k]} arrow ${a.from}→${a.to} "${a.label}", JSON says ${to}`);
    check(inside(a.end, rects.get(to)), `${where}: ${kinds[k]} arrow ends inside palace ${to}`);
    check(inside(a.start, rects.get(num)), `${where}: ${kinds[k]} arrow starts inside palace ${num}`);
  }
  check(shown.arrows.length === kinds.filter((k) => rel.flies[k] !== num).length,
    `${where}: ${shown.arrows.length} arrows`);
}

async function clickPalace(tab, shown, num) {
  const r = shown.cells.find((c) => c.num === num).rect;
  await tab.click(r.left + (r.right - r.left) * 0.5, r.top + (r.bottom - r.top) * 0.6);
}

async function checkCase(tab, dir, name, args) {
  const page = path.join(dir, name + ".html");
  const run = (more) => childProcess.execFileSync(ziwei, args.concat(more), { encoding: "utf8" });
  run(["--format", "study", "-o", page]);
  const json = JSON.parse(run(["--format", "json"]));
  await tab.open("file://" + page);
  let shown = await tab.evaluate(READ_PAGE);
  check(shown.cells.length === 12, `${name}: twelve palaces`);
  // The classic board: 巳午未申 along the top, 寅丑子亥 along the bottom.
  const lefts = [...new Set(shown.cells.map((c) => Math.round(c.rect.left)))].sort((a, b) => a - b);
  const tops = [...new Set(shown.cells.map((c) => Math.round(c.rect.top)))].sort((a, b) => a - b);
  const board = shown.cells.map((c) => [tops.indexOf(Math.round(c.rect.top)),
    lefts.indexOf(Math.round(c.rect.left))].join(","));
  check(board.join(" ") === "3,2 3,1 3,0 2,0 1,0 0,0 0,1 0,2 0,3 1,3 2,3 3,3",
    `${name}: the palaces' places on the board ${board.join(" ")}`);
  check(shown.arrows.length === 0 && shown.cells.every((c) => !c.hl), `${name}: nothing selected`);
  const levels = ["natal"].concat(json.periods
    ? LEVEL_KEYS.filter((k) => json.periods[k] && json.periods[k].relations) : []);
  const radios = await tab.evaluate(
    "[...document.querySelectorAll('.levels input')].map((i) => i.value)");
  check(sameSet(radios || [], json.periods ? levels : []), `${name}: levels ${JSON.stringify(radios)}`);
  for (const key of levels) {
    if (json.periods) {
      const r = await tab.evaluate(`(() => { const r = document.querySelector(
        '.levels input[value="${key}"]').parentElement.getBoundingClientRect();
        return { x: r.left + r.width / 2, y: r.top + r.height / 2 }; })()`);
      await tab.click(r.x, r.y);
    }
    const level = levelOf(json, key);
    shown = await tab.evaluate(READ_PAGE);
    check(shown.level === key, `${name}: level ${key} is on (${shown.level})`);
    checkMarks(shown, json, level, `${name} ${key}`);
    for (let num = 1; num <= 12; ++num) {
      await clickPalace(tab, shown, num);
      shown = await tab.evaluate(READ_PAGE);
      checkSelection(shown, json, level, num, `${name} ${key} palace ${num}`);
      check(shown.focus === num, `${name} ${key} palace ${num}: has the focus`);
    }
  }
  return json;
}

// Tab reaches a palace and selects it; the arrow keys move over the grid
// (across the centre), Escape clears and Enter selects again.
async function checkKeyboard(tab, dir) {
  const page = path.join(dir, "natal.html");
  await tab.open("file://" + page);
  const json = JSON.parse(childProcess.execFileSync(ziwei, ["--year", "1984", "--format", "json"],
    { encoding: "utf8" }));
  const level = levelOf(json, "natal");
  await tab.press("Tab", "Tab", 9);
  let shown = await tab.evaluate(READ_PAGE);
  check(shown.focus === 1, `Tab focuses 子 first (${shown.focus})`);
  checkSelection(shown, json, level, 1, "keyboard Tab");
  const steps = [["ArrowRight", 39, 12], ["ArrowUp", 38, 11], ["ArrowLeft", 37, 4],
    ["ArrowUp", 38, 5], ["ArrowUp", 38, 6], ["ArrowUp", 38, 6], ["ArrowDown", 40, 5],
    ["ArrowRight", 39, 10]];
  for (const [key, code, to] of steps) {
    await tab.press(key, key, code);
    shown = await tab.evaluate(READ_PAGE);
    check(shown.focus === to, `${key} moves to ${to} (${shown.focus})`);
    checkSelection(shown, json, level, to, `keyboard ${key} to ${to}`);
  }
  await tab.press("Escape", "Escape", 27);
  shown = await tab.evaluate(READ_PAGE);
  check(shown.arrows.length === 0 && shown.cells.every((c) => !c.hl), "Escape clears");
  await tab.press("Enter", "Enter", 13);
  shown = await tab.evaluate(READ_PAGE);
  checkSelection(shown, json, level, 10, "keyboard Enter");
  check(shown.relations.indexOf(json.palaces[9].name) >= 0, "the live region names the palace");
  await tab.press("Tab", "Tab", 9);
  shown = await tab.evaluate(READ_PAGE);
  check(shown.focus === 11, `Tab goes on to 戌 (${shown.focus})`);

  // The level switch is a radio group: Tab reaches it first, an arrow key
  // changes the level.
  await tab.open("file://" + path.join(dir, "five-tigers.html"));
  await tab.press("Tab", "Tab", 9);
  await tab.press("ArrowRight", "ArrowRight", 39);
  shown = await tab.evaluate(READ_PAGE);
  check(shown.level === "decade", `an arrow key in the switch picks the decade (${shown.level})`);
}

runInBrowser({ name: "study", seconds: 150 }, async (tab, { dir }) => {
  const cases = [
    ["natal", ["--year", "1984"]],
    ["five-tigers", ["--year", "1984", "--on", "2026-12-07", "--on-time", "10:00",
      "--running-stems", "five-tigers"]],
    ["english", ["--solar", "1990-07-15", "--hour", "14", "--sex", "female", "--lang", "en",
      "--on", "2031-03-02", "--on-time", "23:30", "--name", "</script><b>x</b>"]],
    ["hans", ["--year", "2001", "--month", "4", "--leap", "--day", "20", "--hour", "13",
      "--sex", "female", "--lang", "zh-Hans", "--on", "2020-02-02"]]
  ];
  let differ = false;
  for (const [name, args] of cases) {
    const json = await checkCase(tab, dir, name, args);
    if (json.periods && json.periods.year && json.periods.year.relations &&
      JSON.stringify(json.periods.year.relations) !== JSON.stringify(json.palaces.map((p) => p.relations))) {
      differ = true;
    }
    if (name === "english") {
      const title = await tab.evaluate("document.querySelector('.centre h2').textContent");
      check(title === "~ </script><b>x</b> ~", `the name stays text: ${title}`);
    }
  }
  check(differ, "a case whose running levels fly otherwise than the natal chart");
  await checkKeyboard(tab, dir);
});
