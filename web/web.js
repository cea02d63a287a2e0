// The service's page. Casting keeps the form's query in the address
// ("/?year=1984&..."), so a chart can be bookmarked and the browser's back
// button goes to the chart before; the chart is the study page of the same
// query, shown in the frame; a refusal is shown next to the form with the
// service's message. Every request goes to this server.
"use strict";

(() => {
  const form = document.getElementById("birth");
  const calendar = document.getElementById("calendar").elements.namedItem("calendar");
  const solarDate = document.getElementById("solar-date");
  const lunarDate = document.getElementById("lunar-date");
  const error = document.getElementById("error");
  const result = document.getElementById("result");
  const frame = document.getElementById("chart");
  const links = { json: "json-link", html: "html-link", text: "text-link",
    markdown: "markdown-link", study: "study-link" };
  const lunarKeys = ["year", "month", "leap", "day"];

  // The parameters of the chart: the form's fields that are filled, but not
  // the format, which each link and the frame choose.
  function formQuery() {
    const query = new URLSearchParams();
    for (const [key, value] of new FormData(form)) {
      if (key !== "format" && value !== "") query.append(key, value);
    }
    return query;
  }

  function withFormat(query, format) {
    const q = new URLSearchParams(query);
    q.set("format", format);
    return "/v1/chart?" + q.toString();
  }

  // The date fields of one calendar: those of the other are disabled and
  // so are no parameters.
  function chooseCalendar(lunar) {
    calendar.value = lunar ? "lunar" : "solar";
    lunarDate.disabled = !lunar;
    solarDate.disabled = lunar;
  }

  function fill(query) {
    form.reset();
    for (const [key, value] of query) {
      const field = form.elements.namedItem(key);
      if (!field || key === "format") continue;
      if (field.type === "checkbox") {
        field.checked = !["0", "false", "no", "off"].includes(value);
      } else {
        field.value = value;
      }
    }
    chooseCalendar(lunarKeys.some((key) => query.has(key)));
  }

  function clearError() {
    error.hidden = true;
    error.textContent = "";
    for (const field of form.querySelectorAll("[aria-invalid]")) {
      field.removeAttribute("aria-invalid");
      field.removeAttribute("aria-errormessage");
    }
  }

  // The message names the option it refuses ("--tz: ..."): that field is
  // marked and takes the focus.
  function showError(message, focus) {
    error.textContent = message;
    error.hidden = false;
    const named = /--([a-z-]+)/.exec(message);
    const field = named && form.elements.namedItem(named[1]);
    if (field && field.setAttribute) {
      field.setAttribute("aria-invalid", "true");
      field.setAttribute("aria-errormessage", "error");
      if (focus) field.focus();
    }
  }

  // A bookmark's name: the title with the chart's name before it.
  const title = document.title;

  let shown = 0;
  async function show(query, focus) {
    const serial = ++shown;
    clearError();
    for (const [format, id] of Object.entries(links)) {
      document.getElementById(id).href = withFormat(query, format);
    }
    document.title = query.get("name") ? query.get("name") + " · " + title : title;
    if (![...query.keys()].length) {
      result.hidden = true;
      return;
    }
    document.body.setAttribute("aria-busy", "true");
    try {
      const response = await fetch(withFormat(query, "study"));
      const body = await response.text();
      if (serial !== shown) return;
      if (response.ok) {
        // Busy until the frame has the new chart.
        result.hidden = false;
        await new Promise((resolve) => {
          frame.addEventListener("load", resolve, { once: true });
          frame.srcdoc = body;
        });
        return;
      }
      let message = response.status + " " + response.statusText;
      try {
        message = JSON.parse(body).error || message;
      } catch (_) {
        // not the service's JSON: keep the status
      }
      result.hidden = true;
      showError(message, focus);
    } catch (failure) {
      if (serial === shown) showError(String(failure), focus);
    } finally {
      if (serial === shown) document.body.removeAttribute("aria-busy");
    }
  }

  // The frame is as tall as the page it shows.
  let watcher = null;
  frame.addEventListener("load", () => {
    const page = frame.contentDocument && frame.contentDocument.documentElement;
    if (!page) return;
    const fit = () => (frame.style.height = Math.ceil(page.getBoundingClientRect().height) + "px");
    fit();
    if (watcher) watcher.disconnect();
    watcher = new ResizeObserver(fit);
    watcher.observe(page);
  });

  form.addEventListener("submit", (event) => {
    event.preventDefault();
    const query = formQuery();
    const text = query.toString();
    const address = text ? "/?" + text : "/";
    if (location.pathname + location.search !== address) history.pushState(null, "", address);
    show(query, true);
  });

  window.addEventListener("popstate", () => {
    const query = new URLSearchParams(location.search);
    fill(query);
    show(query, false);
  });

  for (const radio of calendar) {
    radio.addEventListener("change", () => chooseCalendar(calendar.value === "lunar"));
  }

  // Places of the gazetteer while one types; a match chosen is written as
  // the service names it, which tells it apart from others of its name
  // ("Suzhou, Jiangsu").
  const place = document.getElementById("place");
  const matches = document.getElementById("place-matches");
  const placeStatus = document.getElementById("place-status");
  let lookup = 0;
  let timer = 0;

  function closeMatches() {
    matches.hidden = true;
    matches.replaceChildren();
  }

  async function lookUp(text) {
    const serial = ++lookup;
    const response = await fetch("/v1/places?" + new URLSearchParams({ q: text, limit: "8" }));
    if (serial !== lookup || place.value.trim() !== text) return;
    const found = response.ok ? (await response.json()).places : [];
    matches.replaceChildren();
    for (const p of found) {
      const item = document.createElement("li");
      const button = document.createElement("button");
      button.type = "button";
      const local = p["zh-Hant"] && p["zh-Hant"] !== p.name ? p["zh-Hant"] + " " : "";
      const detail = document.createElement("span");
      detail.className = "detail";
      detail.textContent = " · " + [p.province, p.country].filter(Boolean).join(", ") +
        " · " + p.zone;
      button.append(local + p.name, detail);
      button.dataset.value = p.name;
      button.addEventListener("click", () => {
        place.value = button.dataset.value;
        closeMatches();
        place.focus();
      });
      item.append(button);
      matches.append(item);
    }
    matches.hidden = found.length === 0;
    placeStatus.textContent = found.length ? found.length + " 個地點 places" : "查無地點 no place";
  }

  place.addEventListener("input", () => {
    clearTimeout(timer);
    const text = place.value.trim();
    if (!text) {
      ++lookup;
      closeMatches();
      return;
    }
    timer = setTimeout(() => lookUp(text).catch(closeMatches), 200);
  });
  place.addEventListener("keydown", (event) => {
    if (event.key === "Escape") closeMatches();
    if (event.key === "ArrowDown" && !matches.hidden) {
      event.preventDefault();
      matches.querySelector("button").focus();
    }
  });
  matches.addEventListener("keydown", (event) => {
    const buttons = [...matches.querySelectorAll("button")];
    const at = buttons.indexOf(document.activeElement);
    if (event.key === "Escape") {
      closeMatches();
      place.focus();
    } else if (event.key === "ArrowDown" || event.key === "ArrowUp") {
      event.preventDefault();
      const next = at + (event.key === "ArrowDown" ? 1 : -1);
      if (next < 0) place.focus();
      else buttons[Math.min(next, buttons.length - 1)].focus();
    }
  });

  const start = new URLSearchParams(location.search);
  fill(start);
  show(start, false);
})();
