// What the panel "Inside the curve" draws over the editor, on a transparent canvas of its own:
// de Boor's construction at t, the span ends, the points' labels, the stretch of curve the point
// looked at moves, and the explored curve of the page's knots and weights with its legend.
import { canvasScale } from "./basis_plot.js";

// One colour per control point, by its index: the k + 1 points of a span are always apart.
const POINT_COLOURS = ["#d62728", "#1f77b4", "#2ca02c", "#ff7f0e", "#9467bd", "#8c564b",
                     "#e377c2", "#17becf", "#bcbd22", "#b8860b"];
const TICK_COLOUR = "#222";
const EXPLORED_COLOUR = "#e66100";
const MOST_LABELS = 200; // points labelled, and explored span ends marked, at the most
const SUBSCRIPTS = "\u2080\u2081\u2082\u2083\u2084\u2085\u2086\u2087\u2088\u2089";
const SUPERSCRIPTS = "\u2070\u00b9\u00b2\u00b3\u2074\u2075\u2076\u2077\u2078\u2079";

export function colourOf(index) {
  return POINT_COLOURS[((index % 10) + 10) % 10];
}

// One shade of grey per level of the triangle, darker from the control points down to the
// curve point.
function levelShade(l, k) {
  const grey = Math.round(170 - 150 * l / Math.max(1, k - 1));
  return "rgb(" + grey + "," + grey + "," + grey + ")";
}

export function startOverlay(module, canvas, row) {
  // Lines and dots thick enough to see where the editor is shown smaller than its pixels.
  const strokeScale = canvasScale(canvas);

  function client(point) {
    return [point.x + 0.5, row - point.y + 0.5];
  }

  function dot(context, centre, radius, fill, stroke) {
    context.beginPath();
    context.arc(centre[0], centre[1], radius, 0, 2 * Math.PI);
    if (fill) { context.fillStyle = fill; context.fill(); }
    if (stroke) { context.strokeStyle = stroke; context.stroke(); }
  }

  // Every point's name, up to 200 points (beyond, they would hide the picture).
  function drawLabels(context, s, view) {
    if (view.points > MOST_LABELS) return;
    const points = module.pointsView(); // x, y pairs
    const count = points.length / 2;
    context.textAlign = "left";
    context.lineWidth = 3 * s;
    context.strokeStyle = "rgba(255, 255, 255, 0.85)";
    context.fillStyle = "#111";
    for (let j = 0; j < count; ++j) {
      const x = points[2 * j] + 7 * s, y = row - points[2 * j + 1] - 6 * s;
      const looked = j === view.looked;
      context.font = (looked ? "bold " : "") + Math.round((looked ? 14 : 11) * s) +
        "px system-ui, sans-serif";
      context.strokeText("P" + j, x, y);
      context.fillText("P" + j, x, y);
    }
    if (view.looked !== null && view.looked < points.length / 2) {
      context.lineWidth = 2.5 * s;
      const centre = client({ x: points[2 * view.looked], y: points[2 * view.looked + 1] });
      dot(context, centre, 10 * s, null, "#000");
    }
  }

  // The explored curve in its colour, its knots' points, and a legend.
  function drawExplored(context, s, view) {
    const samples = module.exploredSamples(0.5);
    context.strokeStyle = EXPLORED_COLOUR;
    context.lineWidth = 2 * s;
    context.beginPath();
    for (let j = 0; j < samples.length; j += 3) {
      const x = samples[j] + 0.5, y = row - samples[j + 1] + 0.5; // as client() places a point
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
  function drawStretch(context, s, view) {
    const stretch = module.pointStretch(view.looked, 0.25);
    context.strokeStyle = "rgba(0, 0, 0, 0.35)";
    context.lineWidth = 7 * s;
    context.lineCap = "round";
    context.beginPath();
    for (let j = 0; j < stretch.length; j += 2) {
      const p = client({ x: stretch[j], y: stretch[j + 1] });
      if (j === 0) context.moveTo(p[0], p[1]);
      else context.lineTo(p[0], p[1]);
    }
    context.stroke();
    context.lineCap = "butt";
  }

  function drawConstruction(context, s, view) {
    const ends = module.spanEnds();
    // The span ends: where one polynomial piece of the curve meets the next.
    context.fillStyle = TICK_COLOUR;
    context.beginPath();
    for (let e = 0; e < ends.length; e += 2) {
      const end = client({ x: ends[e], y: ends[e + 1] });
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
        const p = client(level[j]);
        if (j === 0) context.moveTo(p[0], p[1]);
        else context.lineTo(p[0], p[1]);
      }
      context.stroke();
      for (let j = 0; j < level.length; ++j) {
        const index = view.construction.first + j;
        if (l === 0) {
          if (index < view.points || view.explored !== null) {
            context.lineWidth = 2.5 * s;
            dot(context, client(level[j]), 7 * s, null, colourOf(view.nameOf(index)));
          }
        } else {
          dot(context, client(level[j]), 3 * s, levelShade(l, k), null);
        }
      }
    }
    if (shown >= k) {
      context.lineWidth = 2 * s;
      dot(context, client(view.construction.point), 5 * s, "#fff", "#000");
    }
    if (view.triangle.names !== null) drawTriangleNames(context, s, view, shown);
  }

  // Each point of the triangle's levels shown, named P_j^r or by its blossom p(a, b, ...).
  function drawTriangleNames(context, s, view, shown) {
    const levels = view.construction.levels;
    context.font = Math.round(11 * s) + "px system-ui, sans-serif";
    context.textAlign = "left";
    context.fillStyle = "#222";
    for (let l = 1; l <= shown && l < levels.length; ++l) {
      for (let j = 0; j < levels[l].length; ++j) {
        const name = view.triangle.names[l][j];
        const text = view.triangle.blossoms ? "p(" + name.arguments.map(short).join(", ") + ")" :
          "P" + digits(name.index, SUBSCRIPTS) + digits(l, SUPERSCRIPTS);
        const at = client(levels[l][j]);
        context.fillText(text, at[0] + 6 * s, at[1] + 12 * s);
      }
    }
  }

  function digits(value, marks) {
    return String(value).split("").map(function (d) { return marks[Number(d)]; }).join("");
  }

  function short(value) {
    return String(Math.round(value * 1000) / 1000);
  }

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
      if (view.explored !== null && view.explored.fault === "") drawExplored(context, s, view);
      if (view.looked !== null) drawStretch(context, s, view);
      if (view.construction !== null) drawConstruction(context, s, view);
      if (view.labels) drawLabels(context, s, view);
    },
  };
}
