// The words of the operations part, from the core's numbers alone. Pure.
import { formatNumber, formatPoint, superscript } from "./helpers.js";

export const MOST_SHOWN_KNOTS = 24; // knots of a vector shown around t

// What "Insert t" did or would do at t (text: t as shown).
export function insertionNote(at, text) {
  const k = at.degree;
  if (at.inserted === 0) {
    return at.insertNote === "" ?
      "\u201cInsert t\u201d adds the knot t = " + text + ": the triangle's first level replaces " +
        (k - 1) + " points with " + k + ", and the curve stays the same." :
      "t cannot be inserted: " + at.insertNote + ".";
  }
  let note = "t = " + text + " inserted " + at.inserted + (at.inserted === 1 ? " time" : " times") +
    ": its multiplicity is " + at.multiplicity + " of at most " + k + ", on " + at.refined.length / 2 + " points.";
  if (at.before) {
    note += " The curve is split there: the halves' polygons (the triangle's outer edges) in green and orange.";
  } else if (at.multiplicity >= k) {
    note += " At the domain's end the curve is not split.";
  }
  return note;
}

// The knots of a vector around t, at most MOST_SHOWN_KNOTS: each { text, fresh } where fresh
// marks the `fresh` copies of t last inserted; "…" where the vector goes on.
export function knotsAround(knots, t, fresh) {
  const first = knots.indexOf(t);
  const copies = knots.filter((u) => u === t).length;
  const centre = first >= 0 ? first : Math.max(0, knots.findIndex((u) => u > t));
  const from = Math.max(0, centre - MOST_SHOWN_KNOTS / 2);
  const to = Math.min(knots.length, from + MOST_SHOWN_KNOTS);
  const items = [];
  if (from > 0) items.push({ text: "\u2026", fresh: false });
  for (let j = from; j < to; ++j) {
    const copy = first >= 0 && j >= first && knots[j] === t;
    items.push({ text: formatNumber(knots[j]), fresh: copy && j >= first + copies - fresh, copy: copy });
  }
  if (to < knots.length) items.push({ text: "\u2026", fresh: false });
  return items;
}

export function raisedNote(raised) {
  return "Degree " + raised.degree + " on " + raised.points.length / 2 + " points (dotted); its knots: ";
}

// The table of the curve at t: [head, value] rows.
export function valueRows(at) {
  const kappa = at.curvature;
  return [["C(t)", formatPoint(at.point)], ["C\u2032(t)", formatPoint(at.first)],
    ["C\u2033(t)", formatPoint(at.second)],
    ["Curvature \u03ba(t)", kappa === null ? "none: the curve stands still" :
      formatNumber(kappa) + (kappa !== 0 ? " (radius " + formatNumber(1 / Math.abs(kappa)) + ")" : "")],
    ["Arc length to t", formatNumber(at.lengthToT) + " of " + formatNumber(at.length)]];
}

function smoothness(r) {
  return "C" + (r < 0 ? superscript(-1) : superscript(r));
}

// The continuity at the knots nearest t (found: the core's continuity()), one line each.
export function continuityLines(found, degree) {
  const lines = [];
  if (found.total === 0) lines.push("No knot inside the domain.");
  else if (found.total > found.knots.length) lines.push("The " + found.knots.length + " of " + found.total + " knots nearest t:");
  for (const knot of found.knots) {
    const measured = knot.measured === degree ? "C\u221e: both sides are one polynomial" :
      knot.measured < 0 ? "the curve jumps" : smoothness(knot.measured);
    lines.push("t = " + formatNumber(knot.t) + " (" + knot.multiplicity + "\u00d7): " + measured +
      (knot.measured === knot.promised ? "" : ", where " + smoothness(knot.promised) + " is promised"));
  }
  return lines;
}

export function levelText(level, degree) {
  return level === null ? "" : "level " + Math.min(level, degree) + " of " + degree;
}

// The file an export at t is saved as.
export function exportName(kind, text, latex) {
  return kind + "-at-" + text + (latex ? ".tex" : ".csv");
}
