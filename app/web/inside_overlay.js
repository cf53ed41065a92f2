// What the panel "Inside the curve" draws over the editor, on a transparent canvas of its own:
// de Boor's construction at t, the span ends, the points' labels, the stretch of curve the point
// looked at moves, and the explored curve of the page's knots and weights with its legend.
import { canvasScale } from "./basis_plot.js";
import { formatNumber, placeLabels, subscript, superscript } from "./helpers.js";

// One colour per control point, by its index: the k + 1 points of a span are always apart.
const POINT_COLOURS = ["#d62728", "#1f77b4", "#2ca02c", "#ff7f0e", "#9467bd", "#8c564b",
                     "#e377c2", "#17becf", "#bcbd22", "#b8860b"];
const TICK_COLOUR = "#222";
const EXPLORED_COLOUR = "#e66100";
const MOST_LABELS = 200; // points labelled, and explored span ends marked, at the most
// Labels with a white halo up to this many points; beyond, plain text, which the canvas draws
// in a fraction of the time, where the halos would mostly cover one another anyway.
const MOST_HALOS = 50;

export function colourOf(index) {
  return POINT_COLOURS[((index % 10) + 10) % 10];
}

// One shade of grey per level of the triangle, darker from the control points down to the
// curve point.
function levelShade(l, k) {
  const grey = Math.round(170 - 150 * l / Math.max(1, k - 1));
  return "rgb(" + grey + "," + grey + "," + grey + ")";
}

// A canvas point's centre for a world point, the editor's world origin at `row`.
function client(row, point) {
  return [point.x + 0.5, row - point.y + 0.5];
}

function dot(context, centre, radius, fill, stroke) {
  context.beginPath();
  context.arc(centre[0], centre[1], radius, 0, 2 * Math.PI);
  if (fill) { context.fillStyle = fill; context.fill(); }
  if (stroke) { context.strokeStyle = stroke; context.stroke(); }
}

// Texts' widths by font, measured once: the same names are drawn every frame.
const widths = new Map();

function widthOf(context, font, text) {
  const key = font + "|" + text;
  let width = widths.get(key);
  if (width === undefined) {
    context.font = font;
    width = context.measureText(text).width;
    widths.set(key, width);
  }
  return width;
}

// Text at places where the labels do not cover one another, with a white halo when asked.
function drawPlaced(pen, labels, font, halo) {
  const { context, s } = pen;
  context.textAlign = "left";
  context.lineWidth = 3 * s;
  context.strokeStyle = "rgba(255, 255, 255, 0.85)";
  context.fillStyle = "#111";
  for (const label of labels) label.width = widthOf(context, font(label), label.text);
  let shownFont = "";
  for (const box of placeLabels(labels, 6 * s)) {
    const wanted = font(box.label);
    if (wanted !== shownFont) context.font = shownFont = wanted;
    if (halo) context.strokeText(box.text, box.x, box.y);
    context.fillText(box.text, box.x, box.y);
  }
}

// Every point's name, up to 200 points (beyond, they would hide the picture); the one looked
// at first, so that it always has its place.
function drawLabels(pen, view) {
  const { context, s, row, module } = pen;
  if (view.points > MOST_LABELS) return;
  const points = module.pointsView(); // x, y pairs
  const count = points.length / 2;
  const labels = [];
  const looked = view.looked !== null && view.looked < count ? view.looked : null;
  const label = (j) => ({ x: points[2 * j] + 0.5, y: row - points[2 * j + 1] + 0.5, text: "P" + j,
    height: (j === looked ? 14 : 11) * s, looked: j === looked, always: j === looked });
  if (looked !== null) labels.push(label(looked));
  for (let j = 0; j < count; ++j) if (j !== looked) labels.push(label(j));
  drawPlaced(pen, labels, (l) => (l.looked ? "bold " : "") + Math.round((l.looked ? 14 : 11) * s) +
    "px system-ui, sans-serif", count <= MOST_HALOS);
  if (looked !== null) {
    context.lineWidth = 2.5 * s;
    dot(context, client(row, { x: points[2 * looked], y: points[2 * looked + 1] }), 10 * s, null, "#000");
  }
}

// The explored curve in its colour, its knots' points, and a legend.
function drawExplored(pen, view) {
  const { context, s, row, module, canvas } = pen;
  const samples = module.exploredSamples(0.5);
  context.strokeStyle = EXPLORED_COLOUR;
  context.lineWidth = 2 * s;
  context.beginPath();
  for (let j = 0; j < samples.length; j += 3) {
    const x = samples[j] + 0.5, y = row - samples[j + 1] + 0.5; // as client(row, ) places a point
    if (j === 0 || samples[j + 2] === 1) context.moveTo(x, y);
    else context.lineTo(x, y);
  }
  context.stroke();
  // The span ends, as for the editor's curve; beyond 200 they would only cover it.
  const knots = view.explored.points <= MOST_LABELS ? module.exploredKnotPoints() : [];
  context.fillStyle = EXPLORED_COLOUR;
  context.beginPath();
  for (let j = 0; j < knots.length; j += 3) {
    context.rect(knots[j + 1] + 0.5 - 2.5 * s, row - knots[j + 2] + 0.5 - 2.5 * s, 5 * s, 5 * s);
  }
  context.fill();
  context.font = Math.round(12 * s) + "px system-ui, sans-serif";
  context.textAlign = "left";
  const lines = [["#0000ff", "the editor's curve"], [EXPLORED_COLOUR, "explored: " + view.explored.mode +
    " knots" + (view.explored.weighted ? ", weights" : "")]];
  lines.forEach(function (line, i) {
    const y = canvas.height - (10 + 16 * (lines.length - 1 - i)) * s;
    context.fillStyle = "rgba(255, 255, 255, 0.85)";
    context.fillRect(6 * s, y - 11 * s, 210 * s, 15 * s);
    context.fillStyle = line[0];
    context.fillRect(10 * s, y - 5 * s, 16 * s, 3 * s);
    context.fillStyle = "#111";
    context.fillText(line[1], 32 * s, y);
  });
}

// The stretch of curve the point looked at moves.
function drawStretch(pen, view) {
  const { context, s, row, module } = pen;
  const stretch = module.pointStretch(view.looked, 0.25);
  context.strokeStyle = "rgba(0, 0, 0, 0.35)";
  context.lineWidth = 7 * s;
  context.lineCap = "round";
  context.beginPath();
  for (let j = 0; j < stretch.length; j += 2) {
    const p = client(row, { x: stretch[j], y: stretch[j + 1] });
    if (j === 0) context.moveTo(p[0], p[1]);
    else context.lineTo(p[0], p[1]);
  }
  context.stroke();
  context.lineCap = "butt";
}

function drawConstruction(pen, view) {
  const { context, s, row, module } = pen;
  const ends = module.spanEnds();
  // The span ends: where one polynomial piece of the curve meets the next.
  context.fillStyle = TICK_COLOUR;
  context.beginPath();
  for (let e = 0; e < ends.length; e += 2) {
    const end = client(row, { x: ends[e], y: ends[e + 1] });
    context.rect(end[0] - 1.5 * s, end[1] - 1.5 * s, 3 * s, 3 * s);
  }
  context.fill();
  const levels = view.construction.levels, k = view.construction.degree;
  // In step mode only the levels up to the one reached; the curve point is level k.
  const shown = view.triangle.level === null ? k : Math.min(view.triangle.level, k);
  // Each level's points and the segments joining them, level 0 being the span's control
  // points, each ringed in its colour.
  for (let l = 0; l < k && l <= shown; ++l) {
    const level = levels[l];
    context.lineWidth = 1.5 * s;
    context.strokeStyle = levelShade(l, k);
    context.beginPath();
    // At t = N the span reaches one index past the last point, with weight 0: not drawn.
    const drawn = l === 0 && view.explored === null ?
      Math.min(level.length, view.points - view.construction.first) : level.length;
    for (let j = 0; j < drawn; ++j) {
      const p = client(row, level[j]);
      if (j === 0) context.moveTo(p[0], p[1]);
      else context.lineTo(p[0], p[1]);
    }
    context.stroke();
    for (let j = 0; j < level.length; ++j) {
      const index = view.construction.first + j;
      if (l === 0) {
        if (index < view.points || view.explored !== null) {
          context.lineWidth = 2.5 * s;
          dot(context, client(row, level[j]), 7 * s, null, colourOf(view.nameOf(index)));
        }
      } else {
        dot(context, client(row, level[j]), 3 * s, levelShade(l, k), null);
      }
    }
  }
  if (shown >= k) {
    context.lineWidth = 2 * s;
    dot(context, client(row, view.construction.point), 5 * s, "#fff", "#000");
  }
  if (view.triangle.names !== null) drawTriangleNames(pen, view, shown);
}

// Each point of the triangle's levels shown, named P_j^r or by its blossom p(a, b, ...); from
// the curve point up, so that where they crowd the last levels keep their names.
function drawTriangleNames(pen, view, shown) {
  const { s, row } = pen;
  const levels = view.construction.levels;
  const labels = [];
  for (let l = Math.min(shown, levels.length - 1); l >= 1; --l) {
    for (let j = 0; j < levels[l].length; ++j) {
      const name = view.triangle.names[l][j];
      const text = view.triangle.blossoms ? "p(" + name.arguments.map(formatNumber).join(", ") + ")" :
        "P" + subscript(name.index) + superscript(l);
      const at = client(row, levels[l][j]);
      labels.push({ x: at[0], y: at[1], text: text, height: 11 * s, always: l === levels.length - 1 });
    }
  }
  drawPlaced(pen, labels, () => Math.round(11 * s) + "px system-ui, sans-serif", false);
}

export function startOverlay(module, canvas, row) {
  // Lines and dots thick enough to see where the editor is shown smaller than its pixels.
  const strokeScale = canvasScale(canvas);
  return {
    clear: function () {
      canvas.getContext("2d").clearRect(0, 0, canvas.width, canvas.height);
    },
    // view: the explored curve (null for the editor's), the construction at t (or null), the
    // editor's point count, the point looked at (or null), whether to label the points, the
    // name of a point of the curve (a closed curve's wrapped points are its first ones), and
    // the triangle's names (or null), whether as blossoms, and the last level drawn (or null).
    draw: function (view) {
      const context = canvas.getContext("2d");
      context.clearRect(0, 0, canvas.width, canvas.height);
      const s = strokeScale();
      const pen = { context: context, s: s, row: row, module: module, canvas: canvas };
      if (view.explored !== null && view.explored.fault === "") drawExplored(pen, view);
      if (view.looked !== null) drawStretch(pen, view);
      if (view.construction !== null) drawConstruction(pen, view);
      if (view.labels) drawLabels(pen, view);
    },
  };
}
