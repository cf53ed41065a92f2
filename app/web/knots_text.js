// The words of the knots part, from numbers alone. Pure.
import { count, formatNumber, superscript } from "./helpers.js";

export const MODES = Object.freeze({ uniform: "Uniform 0, 1, 2, \u2026 (the editor's)",
  clamped: "Clamped (open uniform)", closed: "Closed (periodic)", custom: "Custom" });

// The distinct knots of a vector of degree k: each with its first index, multiplicity, and
// what it says of itself (its label under the plot, its words for a screen reader).
export function distinctKnots(knots, k) {
  const distinct = [];
  const last = knots.length - 1;
  for (let j = 0; j <= last;) {
    let m = 1;
    while (j + m <= last && knots[j + m] === knots[j]) ++m;
    const inside = j >= k && j + m - 1 <= knots.length - k - 1 && j > 0 && j + m - 1 < last;
    const leaves = j > k && j + m - 1 < knots.length - k - 1;
    distinct.push({
      index: j, multiplicity: m, u: knots[j],
      label: (m > 1 ? m + "\u00d7" : "") + (inside ? " C" + superscript(k - m) : ""),
      valueText: "u = " + formatNumber(knots[j]) + (m > 1 ? ", " + m + " times" : "") +
        (leaves ? ", leaves C" + superscript(k - m) : ""),
      name: "Knot " + j + (m > 1 ? " to " + (j + m - 1) : ""),
    });
    j += m;
  }
  return distinct;
}

// Labels that would cover their neighbour's are left to the screen reader's words: each kept
// label at least `room` pixels from the last one kept.
export function labelsWithRoom(positions, room) {
  let lastShown = -Infinity;
  return positions.map((x) => {
    if (x - lastShown < room) return false;
    lastShown = x;
    return true;
  });
}

export function chosenText(knot) {
  return knot === null ? "Knot" : "Knot u = " + formatNumber(knot.u) +
    (knot.multiplicity > 1 ? ", " + knot.multiplicity + " times" : "");
}

export function weightLabel(index) {
  return index === null ? "Weight" : "Weight of P" + index;
}

export function pointsText(n) {
  return count(n, "point");
}
