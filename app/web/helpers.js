// What every part of the page writes the same way: numbers, superscripts and subscripts, text
// written only when it changes, elements by id. Pure, but for the last two.

// Every number the page shows: rounded to six decimals (or as many as asked, to show the
// editor's float arithmetic), without trailing zeros, never "-0"; so the same value reads the
// same everywhere.
export function formatNumber(value, decimals = 6) {
  if (!Number.isFinite(value)) return String(value);
  const scale = Math.pow(10, decimals);
  const rounded = Math.round(value * scale) / scale;
  return String(rounded === 0 ? 0 : rounded);
}

// The editor's float values, to the digits a float holds.
export const FLOAT_DECIMALS = 9;

// A number as the page keeps it after a step of the keyboard: 4.1 + 0.01 is 4.11, not
// 4.109999999999999.
export function roundNumber(value) {
  return Number(formatNumber(value));
}

export function formatPoint(p) {
  return "(" + formatNumber(p.x) + ", " + formatNumber(p.y) + ")";
}

const SUPERSCRIPTS = { "-": "\u207b", 0: "\u2070", 1: "\u00b9", 2: "\u00b2", 3: "\u00b3", 4: "\u2074",
  5: "\u2075", 6: "\u2076", 7: "\u2077", 8: "\u2078", 9: "\u2079" };
const SUBSCRIPTS = { "-": "\u208b", 0: "\u2080", 1: "\u2081", 2: "\u2082", 3: "\u2083", 4: "\u2084",
  5: "\u2085", 6: "\u2086", 7: "\u2087", 8: "\u2088", 9: "\u2089" };

function marked(value, marks) {
  return Array.from(String(value), (c) => marks[c] || c).join("");
}

export function superscript(value) {
  return marked(value, SUPERSCRIPTS);
}

export function subscript(value) {
  return marked(value, SUBSCRIPTS);
}

// "1 point", "3 points".
export function count(n, word) {
  return n + " " + word + (n === 1 ? "" : "s");
}

// Written only when it changes: a page that writes the same text every frame makes the browser
// lay it out again every frame.
export function setText(element, text) {
  if (element.textContent !== text) element.textContent = text;
}

// A property of a control (value, checked, disabled, max, title) set only when it changes: a
// control written every frame is painted again every frame.
export function setProperty(element, name, value) {
  if (element[name] !== value) element[name] = value;
}

export function setAttribute(element, name, value) {
  if (element.getAttribute(name) !== value) element.setAttribute(name, value);
}

// `write()` run at most once in `interval` milliseconds while `busy` (a drag): at once when it has
// not run for that long, else once when the interval ends (it then writes what is current); at
// once when not busy. Numbers in text that a drag changes every frame follow it so, ten times a
// second, and never stay behind; every other change shows them in the same frame.
export function throttle(write, interval) {
  let last = -Infinity;
  let timer = null;
  function now() {
    clearTimeout(timer);
    timer = null;
    last = performance.now();
    write();
  }
  return (busy) => {
    if (!busy) {
      now();
      return;
    }
    if (timer !== null) return;
    const wait = last + interval - performance.now();
    if (wait <= 0) now();
    else timer = setTimeout(now, wait);
  };
}

// Elements by id, as { name: element } from { name: id }; a missing one is a fault of the page.
export function elementsById(ids) {
  const elements = {};
  for (const [name, id] of Object.entries(ids)) {
    elements[name] = document.getElementById(id);
    if (elements[name] === null) throw new Error("the page has no element #" + id);
  }
  return elements;
}

// Labels placed where they do not cover one another: each tries its places in turn (right and
// above, right and below, left and above, left and below its anchor) and takes the first free
// one; one with no free place is left out unless it must be shown. Boxes are { x, y, width,
// height } with y the text's baseline; returns the labels kept, each with its place.
export function placeLabels(labels, gap) {
  const placed = [];
  const overlaps = (a, b) => a.x < b.x + b.width && b.x < a.x + a.width &&
    a.y - a.height < b.y && b.y - b.height < a.y;
  for (const label of labels) {
    const places = [[gap, -gap], [gap, gap + label.height], [-gap - label.width, -gap],
      [-gap - label.width, gap + label.height]];
    let chosen = null;
    for (const [dx, dy] of places) {
      const box = { x: label.x + dx, y: label.y + dy, width: label.width, height: label.height };
      if (!placed.some((other) => overlaps(box, other))) {
        chosen = box;
        break;
      }
    }
    if (chosen === null && label.always) {
      chosen = { x: label.x + gap, y: label.y - gap, width: label.width, height: label.height };
    }
    if (chosen !== null) placed.push(Object.assign(chosen, { text: label.text, label: label }));
  }
  return placed;
}
