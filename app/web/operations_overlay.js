// What the panel's operations draw over the editor, on a transparent canvas of their own: the
// refined polygon after a knot insertion (dashed) or the two halves of a split, the Bezier
// pieces, the polygon of the degree raised, the derivatives at t as arrows, the curvature comb,
// and ticks at equal t beside ticks at equal arc length.
import { canvasScale } from "./basis_plot.js";

export const COLOURS = { refined: "#6a3d9a", before: "#1b9e77", after: "#d95f02",
                       pieces: ["#2b8a3e", "#c2255c"], raised: "#8c6d1f", first: "#0b5394",
                       second: "#a61c00", comb: "#9fb0d0", equalT: "#0000ff",
                       equalLength: "#111" };

const MOST_MARKED = 150;
const LONGEST_TOOTH = 150;
// Drawn by the processor: many short paths are drawn faster so than by an emulated GPU.
const CONTEXT = { willReadFrequently: true };

function x(value) { return value + 0.5; }
function y(row, value) { return row - value + 0.5; }

// Polygons from x, y pairs, their vertices marked with small squares (up to MOST_MARKED of
// them; beyond, they would only cover the lines): one path to stroke and one to fill.
function polygons(pen, list, colour, width, dash) {
  const { context, s, row } = pen;
  // Many vertices: thin solid lines, which the canvas draws much faster than wide or dashed.
  const vertices = list.reduce(function (sum, xy) { return sum + xy.length / 2; }, 0);
  const many = vertices > MOST_MARKED;
  context.strokeStyle = colour;
  context.lineWidth = (many ? Math.min(width, 1) : width) * s;
  context.setLineDash(dash && !many ? dash.map(function (d) { return d * s; }) : []);
  context.beginPath();
  list.forEach(function (xy) {
    for (let j = 0; j < xy.length; j += 2) {
      if (j === 0) context.moveTo(x(xy[j]), y(row, xy[j + 1]));
      else context.lineTo(x(xy[j]), y(row, xy[j + 1]));
    }
  });
  context.stroke();
  context.setLineDash([]);
  if (many) return;
  context.fillStyle = colour;
  context.beginPath();
  list.forEach(function (xy) {
    for (let j = 0; j < xy.length; j += 2) context.rect(x(xy[j]) - 2.5 * s, y(row, xy[j + 1]) - 2.5 * s, 5 * s, 5 * s);
  });
  context.fill();
}

function polygon(pen, xy, colour, width, dash) {
  polygons(pen, [xy], colour, width, dash);
}

function arrow(pen, from, vector, colour, label) {
  const { context, s, row } = pen;
  const length = Math.hypot(vector.x, vector.y);
  if (!(length > 0)) return;
  const x0 = x(from.x), y0 = y(row, from.y), x1 = x(from.x + vector.x), y1 = y(row, from.y + vector.y);
  const ux = (x1 - x0) / length, uy = (y1 - y0) / length, head = Math.min(10 * s, length / 2);
  context.strokeStyle = context.fillStyle = colour;
  context.lineWidth = 2 * s;
  context.beginPath();
  context.moveTo(x0, y0);
  context.lineTo(x1, y1);
  context.stroke();
  context.beginPath();
  context.moveTo(x1, y1);
  context.lineTo(x1 - head * ux - head * 0.45 * uy, y1 - head * uy + head * 0.45 * ux);
  context.lineTo(x1 - head * ux + head * 0.45 * uy, y1 - head * uy - head * 0.45 * ux);
  context.fill();
  // The label beyond the tip, along the arrow, so that it covers neither it nor the curve.
  context.textAlign = ux >= 0 ? "left" : "right";
  context.textBaseline = "middle";
  context.fillText(label, x1 + ux * 8 * s, y1 + uy * 8 * s);
  context.textAlign = "left";
  context.textBaseline = "alphabetic";
}

// The pieces in alternating colours, the one pointed at thicker.
function drawPieces(pen, pieces, k, highlighted) {
  const stride = 2 + 2 * (k + 1), alternate = [[], []];
  for (let p = 0; p * stride < pieces.length; ++p) {
    const xy = pieces.subarray(p * stride + 2, (p + 1) * stride);
    if (p === highlighted) polygon(pen, xy, COLOURS.pieces[p % 2], 4, null);
    else alternate[p % 2].push(xy);
  }
  polygons(pen, alternate[0], COLOURS.pieces[0], 1.5, null);
  polygons(pen, alternate[1], COLOURS.pieces[1], 1.5, null);
}

// Teeth along the normal, -curvature x scale long (pointing away from the centre of
// curvature), and the line through their tips; scale makes the median tooth 25 pixels, and
// none is drawn longer than 150.
function drawComb(pen, comb, scale) {
  const { context, s, row } = pen;
  let magnitudes = new Float64Array(comb.length / 6), count = 0;
  for (let j = 4; j < comb.length; j += 6) if (isFinite(comb[j])) magnitudes[count++] = Math.abs(comb[j]);
  if (count === 0) return;
  magnitudes = magnitudes.subarray(0, count).sort();
  const median = magnitudes[count >> 1] || magnitudes[count - 1];
  const factor = median > 0 ? scale * 25 / median : 0;
  context.strokeStyle = COLOURS.comb;
  context.lineWidth = s;
  context.beginPath();
  const tips = [];
  for (let j = 0; j < comb.length; j += 6) {
    const kappa = isFinite(comb[j + 4]) ? comb[j + 4] : 0;
    const length = Math.max(-LONGEST_TOOTH, Math.min(LONGEST_TOOTH, kappa * factor));
    const tx = comb[j] - comb[j + 2] * length, ty = comb[j + 1] - comb[j + 3] * length;
    context.moveTo(x(comb[j]), y(row, comb[j + 1]));
    context.lineTo(x(tx), y(row, ty));
    tips.push([tx, ty, comb[j + 5] === 1]);
  }
  context.stroke();
  context.strokeStyle = "#283c78";
  context.lineWidth = s;
  context.beginPath();
  tips.forEach(function (tip, i) {
    if (i === 0 || tip[2]) context.moveTo(x(tip[0]), y(row, tip[1]));
    else context.lineTo(x(tip[0]), y(row, tip[1]));
  });
  context.stroke();
}

// The first half of `ticks` at equal t, on the normal's left; the second at equal arc length,
// on its right.
function drawTicks(pen, ticks) {
  const { context, s, row } = pen;
  const half = ticks.length / 2;
  [[0, COLOURS.equalT, 1], [half, COLOURS.equalLength, -1]].forEach(function (set) {
    context.strokeStyle = set[1];
    context.lineWidth = 1.5 * s;
    context.beginPath();
    for (let j = set[0]; j < set[0] + half; j += 4) {
      const side = set[2] * 7 * s;
      context.moveTo(x(ticks[j]), y(row, ticks[j + 1]));
      context.lineTo(x(ticks[j] + ticks[j + 2] * side), y(row, ticks[j + 1] + ticks[j + 3] * side));
    }
    context.stroke();
  });
}

export function startOperationsOverlay(canvas, row) {
  const scaleNow = canvasScale(canvas);
  return {
    clear: function () {
      canvas.getContext("2d", CONTEXT).clearRect(0, 0, canvas.width, canvas.height);
    },
    // view: the operations at t (module.operationsAt), and what to draw: insertion (the refined
    // polygon or halves), pieces (and the highlighted one), raised, first and second (arrows,
    // scaled by the mean span's width h and h squared), comb (and its scale), ticks.
    draw: function (view) {
      const context = canvas.getContext("2d", CONTEXT);
      const s = scaleNow();
      const pen = { context: context, s: s, row: row };
      context.clearRect(0, 0, canvas.width, canvas.height);
      const at = view.at;
      if (view.comb) drawComb(pen, view.comb, view.combScale);
      if (view.ticks) drawTicks(pen, view.ticks);
      if (view.pieces) drawPieces(pen, view.pieces, at.degree, view.highlighted);
      if (view.raised && view.raised.fault === "") {
        polygon(pen, view.raised.points, COLOURS.raised, 1.5, [2, 3]);
      }
      if (view.insertion && at.inserted > 0) {
        if (at.before) {
          polygon(pen, at.before, COLOURS.before, 2.5, null);
          polygon(pen, at.after, COLOURS.after, 2.5, null);
        } else {
          polygon(pen, at.refined, COLOURS.refined, 2, [6, 4]);
        }
      }
      const h = at.meanSpan;
      context.font = Math.round(12 * s) + "px system-ui, sans-serif";
      if (view.first) {
        arrow(pen, at.point, { x: at.first.x * h, y: at.first.y * h }, COLOURS.first,
              h === 1 ? "C\u2032(t)" : "h C\u2032(t)");
      }
      if (view.second) {
        arrow(pen, at.point, { x: at.second.x * h * h, y: at.second.y * h * h }, COLOURS.second,
              h === 1 ? "C\u2033(t)" : "h\u00b2 C\u2033(t)");
      }
    },
  };
}
