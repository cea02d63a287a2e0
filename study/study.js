// The study page: draws the chart grid from the page's JSON document and
// shows, for the palace selected, its 三方四正, flanks and four flying
// transformations, on the natal chart or on a running level.
//
// The elements carry what they show as data attributes: each palace cell
// data-num (1..12, 子..亥) and, while a palace is selected, data-hl
// ("selected", "trine" or "flank"); each flight arrow data-from, data-to and
// data-kind (0..3 for 祿, 權, 科, 忌); each 自化 mark on a star data-kind,
// and class "active" while it is a flight of the selected palace.
(function () {
  "use strict";

  var chart = JSON.parse(document.getElementById("chart-data").textContent);
  var W = JSON.parse(document.getElementById("study-words").textContent);
  // The SVG namespace, as the parser gives it (the page holds no address).
  var SVG = (function () {
    var holder = document.createElement("div");
    holder.innerHTML = "<svg></svg>";
    return holder.firstChild.namespaceURI;
  })();

  // The grid's row and column of each palace, 子..亥: 巳午未申 along the top,
  // 寅丑子亥 along the bottom.
  var POS = [
    [3, 2], [3, 1], [3, 0], [2, 0], [1, 0], [0, 0],
    [0, 1], [0, 2], [0, 3], [1, 3], [2, 3], [3, 3]
  ];
  // The levels of the switch, by their keys in "periods", with their index
  // among the vocabulary's levels.
  var LEVELS = [
    ["decade", 0], ["year", 2], ["month", 3], ["day", 4], ["hour", 5]
  ];
  var KIND_CLASS = ["k0", "k1", "k2", "k3"];
  var DASHES = ["", "9 4", "2.5 3", "11 3 2.5 3"];

  var level = "natal";
  var selected = 0;  // palace number, 0 for none
  var cells = [];
  var board, svg, flightLayer, relationsBox, centreLevel;

  function el(tag, className, text) {
    var e = document.createElement(tag);
    if (className) e.className = className;
    if (text !== undefined && text !== null) e.textContent = String(text);
    return e;
  }

  function kindOf(name) {
    return W.kinds.indexOf(name);
  }

  function palace(num) {
    return chart.palaces[num - 1];
  }

  function levelData() {
    return level === "natal" ? null : chart.periods[level];
  }

  // What the current level gives each palace: its name, its relations and
  // the running stars and transformations.
  function nameOf(num) {
    var data = levelData();
    return data ? data.names[num - 1] : palace(num).name;
  }

  function relationsOf(num) {
    var data = levelData();
    return data ? data.relations[num - 1] : palace(num).relations;
  }

  function levelMark() {
    for (var i = 0; i < LEVELS.length; ++i) {
      if (LEVELS[i][0] === level) return W.levelMarks[LEVELS[i][1]];
    }
    return "";
  }

  function levelName(key) {
    if (key === "natal") return W.natal;
    for (var i = 0; i < LEVELS.length; ++i) {
      if (LEVELS[i][0] === key) return W.levels[LEVELS[i][1]];
    }
    return key;
  }

  function palaceTitle(num) {
    var p = palace(num);
    return nameOf(num) + " " + p.stem + p.branch;
  }

  function mark(className, kind, text) {
    var m = el("span", "mark " + className + " " + KIND_CLASS[kind], text);
    m.setAttribute("data-kind", String(kind));
    return m;
  }

  // ------------------------------------------------------------- the cells

  function starItem(star, num, rel, data) {
    var li = el("li");
    li.setAttribute("data-star", star.star);
    li.appendChild(el("span", "nm", star.star));
    var words = [star.star];
    if (star.brightness && star.brightness !== "ˉ" && star.brightness !== "-") {
      li.appendChild(el("span", "br", star.brightness));
      words.push(star.brightness);
    }
    if (star.transformation) {
      li.appendChild(mark("natal", kindOf(star.transformation), star.transformation));
      words.push(star.transformation);
    }
    if (data && data.transformations && data.transformations[star.star]) {
      var kind = data.transformations[star.star];
      li.appendChild(mark("level", kindOf(kind), levelMark() + W.markGap + kind));
      words.push(levelName(level) + kind);
    }
    var key;
    for (key in rel.self) {
      if (rel.self[key] === star.star) {
        li.appendChild(mark("self", kindOf(key), W.selfMark + W.markGap + key));
        words.push(W.self + " " + key);
      }
    }
    for (key in rel.inward) {
      if (rel.inward[key] === star.star) {
        li.appendChild(mark("inward", kindOf(key), W.inwardMark + W.markGap + key));
        words.push(W.inward + " " + key);
      }
    }
    return { item: li, words: words.join(" ") };
  }

  function fillCell(cell, num) {
    var p = palace(num);
    var data = levelData();
    var rel = relationsOf(num);
    while (cell.firstChild) cell.removeChild(cell.firstChild);
    var said = [palaceTitle(num) + (p.body ? " " + W.bodyPalace : "")];

    var top = el("div", "top-part");
    var groups = [
      ["main", p.main, W.mainStars],
      ["minor", p.minor.concat(p.void || [], p.markers || []), W.minorStars]
    ];
    for (var g = 0; g < groups.length; ++g) {
      var list = el("ul", "stars " + groups[g][0]);
      var names = [];
      for (var s = 0; s < groups[g][1].length; ++s) {
        var star = groups[g][1][s];
        if (typeof star === "string") star = { star: star };
        var made = starItem(star, num, rel, data);
        list.appendChild(made.item);
        names.push(made.words);
      }
      top.appendChild(list);
      if (names.length) said.push(groups[g][2] + ": " + names.join(", "));
    }
    if (data && data.stars) {
      var running = el("ul", "stars running");
      var stars = data.stars[num - 1];
      for (var r = 0; r < stars.length; ++r) running.appendChild(el("li", "", stars[r]));
      top.appendChild(running);
      if (stars.length) said.push(W.runningStars + ": " + stars.join(", "));
    }
    cell.appendChild(top);

    var foot = el("div", "foot");
    var name = el("span", "name");
    if (data) name.appendChild(el("span", "level-mark", levelMark()));
    name.appendChild(document.createTextNode(nameOf(num)));
    if (p.body) name.appendChild(el("span", "body", W.bodyPalace));
    if (data) name.appendChild(el("span", "natal-name", W.natal + " " + p.name));
    foot.appendChild(name);
    foot.appendChild(el("span", "sb", p.stem + p.branch));
    foot.appendChild(el("span", "ages", p.majorPeriod[0] + "–" + p.majorPeriod[1]));
    foot.appendChild(el("span", "badge"));
    cell.appendChild(foot);
    cell.setAttribute("aria-label", said.join(". "));
  }

  function fillCells() {
    for (var i = 0; i < 12; ++i) fillCell(cells[i], i + 1);
  }

  // ------------------------------------------------------------ the centre

  function lunarDate(d) {
    return d.year + W.yearSeparator + (d.leap ? W.leapMonth : "") + d.month + W.monthSeparator +
      d.day + W.daySuffix;
  }

  function buildCentre() {
    var c = el("div", "centre");
    var input = chart.input;
    var frame = chart.frame;
    c.appendChild(el("h2", "", "~ " + input.name + " ~"));
    c.appendChild(el("p", "", frame.sexLabel + " · " + frame.animal));
    var hour = chart.palaces[frame.hourBranch - 1].branch;
    c.appendChild(el("p", "", W.lunar + " " + lunarDate(input) + " " + hour + W.hourUnit));
    var dl = el("dl", "frame");
    var rows = [
      [W.bureau, frame.bureau], [W.lifeMaster, frame.lifeMaster],
      [W.bodyMaster, frame.bodyMaster], [W.douJun, frame.douJun]
    ];
    for (var i = 0; i < rows.length; ++i) {
      dl.appendChild(el("dt", "", rows[i][0]));
      dl.appendChild(el("dd", "", rows[i][1]));
    }
    c.appendChild(dl);
    if (chart.periods) {
      var t = chart.periods.target;
      c.appendChild(el("p", "", W.target + " " + t.solar + (t.time ? " " + t.time : "") + " · " +
        W.lunar + " " + lunarDate(t.lunar) + " · " + W.age + " " + chart.periods.age +
        W.ageUnit));
      centreLevel = el("p", "level-line");
      c.appendChild(centreLevel);
    }
    c.appendChild(buildLegend());
    return c;
  }

  function sampleLine(kind) {
    var s = document.createElementNS(SVG, "svg");
    s.setAttribute("viewBox", "0 0 34 10");
    s.setAttribute("aria-hidden", "true");
    var line = document.createElementNS(SVG, "line");
    line.setAttribute("x1", "1");
    line.setAttribute("y1", "5");
    line.setAttribute("x2", "33");
    line.setAttribute("y2", "5");
    line.setAttribute("stroke", "var(--" + ["lu", "quan", "ke", "ji"][kind] + ")");
    line.setAttribute("stroke-width", "2.5");
    if (DASHES[kind]) line.setAttribute("stroke-dasharray", DASHES[kind]);
    s.appendChild(line);
    return s;
  }

  function buildLegend() {
    var legend = el("div", "legend");
    var items = [["selected", W.selected], ["trine", W.trine], ["flank", W.flank]];
    for (var i = 0; i < items.length; ++i) {
      var span = el("span");
      span.appendChild(el("i", "swatch " + items[i][0]));
      span.appendChild(document.createTextNode(items[i][1]));
      legend.appendChild(span);
    }
    for (var k = 0; k < 4; ++k) {
      var f = el("span");
      f.appendChild(sampleLine(k));
      f.appendChild(document.createTextNode(W.kinds[k]));
      legend.appendChild(f);
    }
    var self = el("span");
    self.appendChild(mark("self", 0, W.selfMark + W.markGap + W.kinds[0]));
    self.appendChild(document.createTextNode(W.self));
    legend.appendChild(self);
    var inward = el("span");
    inward.appendChild(mark("inward", 0, W.inwardMark + W.markGap + W.kinds[0]));
    inward.appendChild(document.createTextNode(W.inward));
    legend.appendChild(inward);
    return legend;
  }

  function showLevelLine() {
    if (!centreLevel) return;
    var data = levelData();
    if (!data) {
      centreLevel.textContent = levelName("natal");
      return;
    }
    var text = levelName(level) + ": " + palace(data.palace).branch + " · " + data.stem +
      data.branch;
    if (data.firstAge !== undefined) text += " · " + data.firstAge + "–" + data.lastAge;
    centreLevel.textContent = text;
  }

  // ----------------------------------------------------------- the flights

  // Where the segment a→b enters (enter true) or leaves rectangle r, as the
  // fraction of the way from a, by Liang-Barsky clipping.
  function clip(a, b, r, enter) {
    var dx = b.x - a.x, dy = b.y - a.y;
    var lo = 0, hi = 1;
    var p = [-dx, dx, -dy, dy];
    var q = [a.x - r.x, r.x + r.w - a.x, a.y - r.y, r.y + r.h - a.y];
    for (var i = 0; i < 4; ++i) {
      if (p[i] === 0) continue;
      var t = q[i] / p[i];
      if (p[i] < 0) lo = Math.max(lo, t);
      else hi = Math.min(hi, t);
    }
    return enter ? lo : hi;
  }

  function boxOf(num, origin) {
    var r = cells[num - 1].getBoundingClientRect();
    return { x: r.left - origin.left, y: r.top - origin.top, w: r.width, h: r.height };
  }

  function svgEl(tag, attributes) {
    var e = document.createElementNS(SVG, tag);
    for (var key in attributes) e.setAttribute(key, attributes[key]);
    return e;
  }

  function drawFlights() {
    while (flightLayer.firstChild) flightLayer.removeChild(flightLayer.firstChild);
    var origin = board.getBoundingClientRect();
    svg.setAttribute("width", String(board.clientWidth));
    svg.setAttribute("height", String(board.clientHeight));
    svg.setAttribute("viewBox", "0 0 " + board.clientWidth + " " + board.clientHeight);
    if (!selected) return;
    var flies = relationsOf(selected).flies;
    var from = boxOf(selected, origin);
    for (var k = 0; k < 4; ++k) {
      var to = flies[W.kinds[k]];
      if (to === selected) continue;  // a mark on the star instead
      var target = boxOf(to, origin);
      var a = { x: from.x + from.w / 2, y: from.y + from.h / 2 };
      var b = { x: target.x + target.w / 2, y: target.y + target.h / 2 };
      var len = Math.hypot(b.x - a.x, b.y - a.y);
      var ux = (b.x - a.x) / len, uy = (b.y - a.y) / len;
      // Four flights side by side, a little apart across their direction.
      var off = (k - 1.5) * 9;
      a = { x: a.x - uy * off, y: a.y + ux * off };
      b = { x: b.x - uy * off, y: b.y + ux * off };
      var leave = clip(a, b, from, false);
      var enter = clip(a, b, target, true);
      // The arrow starts a little inside the selected cell and its head
      // stands inside the target cell, so that even a flight to a
      // neighbour shows as an arrow.
      var inset = 18 / len;
      leave = Math.max(leave - 34 / len, 0);
      var s = { x: a.x + (b.x - a.x) * leave, y: a.y + (b.y - a.y) * leave };
      var e = {
        x: a.x + (b.x - a.x) * Math.min(enter + inset, 1),
        y: a.y + (b.y - a.y) * Math.min(enter + inset, 1)
      };
      var g = svgEl("g", {
        "class": "flight " + KIND_CLASS[k],
        "data-kind": String(k),
        "data-from": String(selected),
        "data-to": String(to)
      });
      var colour = "var(--" + ["lu", "quan", "ke", "ji"][k] + ")";
      var path = svgEl("path", {
        d: "M" + s.x.toFixed(1) + " " + s.y.toFixed(1) + "L" + e.x.toFixed(1) + " " +
          e.y.toFixed(1),
        stroke: colour,
        "stroke-width": "2.5",
        fill: "none",
        "marker-end": "url(#head" + k + ")"
      });
      if (DASHES[k]) path.setAttribute("stroke-dasharray", DASHES[k]);
      g.appendChild(path);
      // The label beside the arrow, each kind at its own distance along it.
      // (On a short arrow, to a neighbour, it stands where the cells meet.)
      var at = Math.hypot(e.x - s.x, e.y - s.y) < 120 ? 0.6 : 0.3 + 0.1 * k;
      var side = off < 0 ? -9 : 9;
      var label = svgEl("text", {
        x: (s.x + (e.x - s.x) * at - uy * side).toFixed(1),
        y: (s.y + (e.y - s.y) * at + ux * side + 4).toFixed(1),
        fill: colour,
        "text-anchor": "middle"
      });
      label.textContent = W.kinds[k];
      g.appendChild(label);
      flightLayer.appendChild(g);
    }
  }

  function buildSvg() {
    svg = svgEl("svg", { "class": "flights", "aria-hidden": "true", focusable: "false" });
    var defs = svgEl("defs", {});
    for (var k = 0; k < 4; ++k) {
      var m = svgEl("marker", {
        id: "head" + k,
        viewBox: "0 0 10 10",
        refX: "8",
        refY: "5",
        markerWidth: "4",
        markerHeight: "4",
        orient: "auto-start-reverse"
      });
      m.appendChild(svgEl("path", {
        d: "M0 0L10 5L0 10z",
        fill: "var(--" + ["lu", "quan", "ke", "ji"][k] + ")"
      }));
      defs.appendChild(m);
    }
    svg.appendChild(defs);
    flightLayer = svgEl("g", { "class": "flight-layer" });
    svg.appendChild(flightLayer);
    return svg;
  }

  // ---------------------------------------------------------- the selection

  function describe(num) {
    while (relationsBox.firstChild) relationsBox.removeChild(relationsBox.firstChild);
    // With no palace selected the hint above the board says what to do.
    if (!num) return;
    var rel = relationsOf(num);
    relationsBox.appendChild(el("h2", "", W.selected + ": " + palaceTitle(num) +
      (level === "natal" ? "" : " (" + levelName(level) + ")")));
    var dl = el("dl");
    function row(term, text) {
      dl.appendChild(el("dt", "", term));
      dl.appendChild(el("dd", "", text));
    }
    function names(list) {
      return list.map(palaceTitle).join(", ");
    }
    row(W.trine, names(rel.trine));
    row(W.flank, names(rel.flank));
    var flights = [];
    for (var k = 0; k < 4; ++k) {
      var to = rel.flies[W.kinds[k]];
      flights.push(W.kinds[k] + " → " + palaceTitle(to) + (to === num ? " (" + W.selfFlight + ")" : ""));
    }
    row(W.flights, flights.join(", "));
    function fallen(map) {
      var out = [];
      for (var key in map) out.push(map[key] + " " + key);
      return out.length ? out.join(", ") : W.none;
    }
    row(W.self, fallen(rel.self));
    row(W.inward, fallen(rel.inward));
    relationsBox.appendChild(dl);
  }

  function select(num) {
    selected = num;
    var rel = num ? relationsOf(num) : null;
    for (var i = 0; i < 12; ++i) {
      var cell = cells[i];
      var n = i + 1;
      var hl = "";
      if (rel) {
        if (n === num) hl = "selected";
        else if (rel.trine.indexOf(n) >= 0) hl = "trine";
        else if (rel.flank.indexOf(n) >= 0) hl = "flank";
      }
      var badge = cell.querySelector(".badge");
      if (hl) {
        cell.setAttribute("data-hl", hl);
        badge.textContent = hl === "selected" ? W.selected : hl === "trine" ? W.trine : W.flank;
      } else {
        cell.removeAttribute("data-hl");
        badge.textContent = "";
      }
      cell.setAttribute("aria-pressed", n === num ? "true" : "false");
      var marks = cell.querySelectorAll(".mark.self");
      for (var m = 0; m < marks.length; ++m) {
        marks[m].classList.toggle("active", n === num);
      }
    }
    drawFlights();
    describe(num);
  }

  // The palace a step from `num` in a direction: the next cell of the grid
  // that way, over the centre; `num` itself at the edge.
  function step(num, dr, dc) {
    var r = POS[num - 1][0], c = POS[num - 1][1];
    for (;;) {
      r += dr;
      c += dc;
      if (r < 0 || r > 3 || c < 0 || c > 3) return num;
      for (var i = 0; i < 12; ++i) {
        if (POS[i][0] === r && POS[i][1] === c) return i + 1;
      }
    }
  }

  var KEYS = {
    ArrowUp: [-1, 0], ArrowDown: [1, 0], ArrowLeft: [0, -1], ArrowRight: [0, 1]
  };

  function onKey(event) {
    var num = Number(event.currentTarget.getAttribute("data-num"));
    if (event.key === "Enter" || event.key === " ") {
      event.preventDefault();
      select(num);
    } else if (KEYS[event.key]) {
      event.preventDefault();
      var next = step(num, KEYS[event.key][0], KEYS[event.key][1]);
      cells[next - 1].focus();
    } else if (event.key === "Escape") {
      select(0);
    }
  }

  // ------------------------------------------------------------ the levels

  function buildLevels() {
    var set = el("fieldset", "levels");
    set.appendChild(el("legend", "", W.levelSwitch));
    var keys = ["natal"];
    for (var i = 0; i < LEVELS.length; ++i) {
      var data = chart.periods[LEVELS[i][0]];
      if (data && data.relations) keys.push(LEVELS[i][0]);
    }
    keys.forEach(function (key) {
      var label = el("label");
      var input = el("input");
      input.type = "radio";
      input.name = "level";
      input.value = key;
      input.checked = key === level;
      input.addEventListener("change", function () {
        if (input.checked) setLevel(key);
      });
      label.appendChild(input);
      label.appendChild(el("span", "", levelName(key)));
      set.appendChild(label);
    });
    return set;
  }

  function setLevel(key) {
    level = key;
    fillCells();
    showLevelLine();
    select(selected);
  }

  // ------------------------------------------------------------- the page

  function build() {
    var root = document.getElementById("study");
    root.className = "study";
    document.title = W.title + " · " + chart.input.name;
    var top = el("div", "top");
    top.appendChild(el("h1", "", W.title));
    if (chart.periods) top.appendChild(buildLevels());
    root.appendChild(top);

    board = el("div", "board");
    board.setAttribute("role", "group");
    board.setAttribute("aria-label", W.chart);
    board.setAttribute("aria-describedby", "study-hint");
    for (var i = 0; i < 12; ++i) {
      var cell = el("div", "cell");
      cell.id = "palace-" + (i + 1);
      cell.setAttribute("data-num", String(i + 1));
      cell.setAttribute("tabindex", "0");
      cell.setAttribute("role", "button");
      cell.setAttribute("aria-pressed", "false");
      cell.setAttribute("aria-controls", "study-relations");
      cell.style.gridRow = String(POS[i][0] + 1);
      cell.style.gridColumn = String(POS[i][1] + 1);
      cell.addEventListener("focus", onFocus);
      cell.addEventListener("click", onClick);
      cell.addEventListener("keydown", onKey);
      cells.push(cell);
      board.appendChild(cell);
    }
    board.appendChild(buildCentre());
    board.appendChild(buildSvg());
    root.appendChild(board);

    var hint = el("p", "hint", W.hint);
    hint.id = "study-hint";
    root.appendChild(hint);
    relationsBox = el("section", "relations");
    relationsBox.id = "study-relations";
    relationsBox.setAttribute("aria-live", "polite");
    root.appendChild(relationsBox);

    fillCells();
    showLevelLine();
  }

  function onFocus(event) {
    var num = Number(event.currentTarget.getAttribute("data-num"));
    if (num !== selected) select(num);
  }

  function onClick(event) {
    select(Number(event.currentTarget.getAttribute("data-num")));
  }

  // "#N" selects palace N at the start, "#LEVEL" or "#LEVEL-N" also picks a
  // level (as a link to the page, or a screenshot, may ask).
  function fromAddress() {
    var m = /^#(?:([a-z]+)-?)?(\d{1,2})?$/.exec(location.hash);
    if (!m) return;
    if (m[1] && chart.periods && chart.periods[m[1]] && chart.periods[m[1]].relations) {
      var inputs = document.querySelectorAll(".levels input");
      for (var i = 0; i < inputs.length; ++i) inputs[i].checked = inputs[i].value === m[1];
      setLevel(m[1]);
    }
    var num = Number(m[2]);
    if (num >= 1 && num <= 12) select(num);
  }

  build();
  select(0);
  fromAddress();
  window.addEventListener("resize", drawFlights);
  if (window.matchMedia) {
    var print = window.matchMedia("print");
    if (print.addEventListener) print.addEventListener("change", drawFlights);
  }
  window.addEventListener("beforeprint", drawFlights);
  window.addEventListener("afterprint", drawFlights);
})();
