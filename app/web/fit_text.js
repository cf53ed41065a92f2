// The words of the part "Through the points", from the core's numbers alone. Pure.
import { formatNumber } from "./helpers.js";

export const MOST_LISTED = 24; // numbers of a row shown before "…"

// What the fit is, and how near it passes (fit: module.fitNow's value).
export function fitStatus(fit, leastSquares, closed) {
  if (fit.fault) return "No curve through the points: " + fit.fault + ".";
  const k = fit.degree, count = fit.parameters.length;
  if (!leastSquares) {
    return "Interpolation of degree " + k + " through the " + count + " points" +
      (closed ? ", closed: it joins itself with C" + superscriptOf(k - 1) : "") +
      ". It passes through each at its parameter (largest distance " + formatNumber(fit.largest, 9) + ").";
  }
  return "Least squares of degree " + k + " with " + fit.points.length / 2 + " control points for " + count +
    " points: largest distance " + formatNumber(fit.largest, 3) + ", mean " + formatNumber(fit.mean, 3) + ".";
}

function superscriptOf(n) {
  return n === 0 ? "\u2070" : String(n).replace(/\d/g, (d) => "\u2070\u00b9\u00b2\u00b3\u2074\u2075\u2076\u2077\u2078\u2079"[d]);
}

// A row of numbers, at most MOST_LISTED of them.
export function numbersRow(label, values) {
  const shown = Array.from(values).slice(0, MOST_LISTED).map((v) => formatNumber(v, 4));
  return label + ": " + shown.join("  ") + (values.length > MOST_LISTED ? "  \u2026" : "");
}

// Why the system is cheap: its band.
export function bandNote(fit) {
  return "Each row holds at most k + 1 = " + (fit.degree + 1) + " basis values, within " + fit.lower +
    " below and " + fit.upper + " above the diagonal: the system is banded, and solving it takes time " +
    "in proportion to the points, with no inverse formed.";
}

// The collocation matrix's cells: rows of { text, band } over the columns 0 .. columns - 1 (a
// closed curve's columns past its points wrap to its first ones).
export function matrixCells(rows, columns) {
  return rows.map((row) => {
    const cells = Array.from({ length: columns }, () => ({ text: "", band: false }));
    row.values.forEach((value, j) => {
      const cell = cells[(row.first + j) % columns];
      cell.text = value === 0 ? "0" : formatNumber(value, 3);
      cell.band = value !== 0;
    });
    return cells;
  });
}

export function fitFileName(latex) {
  return "fit" + (latex ? ".tex" : ".csv");
}
