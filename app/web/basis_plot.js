// The panel's plot of the basis functions: the N functions of degree k on the knots 0 .. N + k,
// the domain [k, N] shaded, the k + 1 functions not zero at t in their points' colours, a line
// at t. Every N_j is N_0 shifted by j; the core gives N_0's shape (firstBasis). Where the plot
// is shown smaller than its pixels (a phone), its text and lines grow to stay readable.
import { formatNumber } from "./helpers.js";

// How many of a canvas's pixels a CSS pixel holds, at least 1: lines and text drawn that much
// larger stay readable where the canvas is shown smaller than its pixels (a phone). Asked of the
// layout only when the window changes, not every frame.
export function canvasScale(canvas) {
  let measured = null;
  if (!canvas.recording) addEventListener("resize", () => { measured = null; });
  return function () {
    if (measured === null) {
      const width = canvas.getBoundingClientRect().width;
      measured = width > 0 ? Math.max(1, canvas.width / width) : null;
    }
    return measured || 1;
  };
}

// A plot's scale from u = from to u = to across a canvas whose lines are s times as thick:
// u to x and back, v (0 to 1) to y, in the canvas's pixels.
export function plotGeometry(canvas, s, from, to) {
  const margin = { left: 28 * s, right: 8 * s, top: 10 * s, bottom: 24 * s };
  const width = canvas.width - margin.left - margin.right;
  const height = canvas.height - margin.top - margin.bottom;
  const span = to - from || 1;
  return {
    x: (u) => margin.left + (u - from) / span * width,
    u: (x) => from + (x - margin.left) / width * span,
    y: (v) => margin.top + (1 - v) * height,
    margin: margin, width: width, height: height, span: span, canvasWidth: canvas.width,
  };
}

// The plots' line at t.
function lineAt(context, g, t, s) {
  context.strokeStyle = "#000";
  context.lineWidth = s;
  context.beginPath();
  const x = Math.round(g.x(t)) + 0.5;
  context.moveTo(x, g.margin.top);
  context.lineTo(x, g.y(0));
  context.stroke();
}

// A plot's fixed part, drawn once for a canvas of its size: white, the domain from `first` to
// `last` shaded, the axes.
function backgroundOf(canvas, g, first, last, s) {
  const background = canvas.layer ? canvas.layer() : document.createElement("canvas"); // a figure's own
  background.width = canvas.width;
  background.height = canvas.height;
  const context = background.getContext("2d");
  context.fillStyle = "#fff";
  context.fillRect(0, 0, canvas.width, canvas.height);
  context.fillStyle = "#e4ecf8";
  context.fillRect(g.x(first), g.margin.top, g.x(last) - g.x(first), g.height);
  axes(context, g, s);
  return background;
}

// The plots' axes, from 0 to 1, drawn under the functions.
function axes(context, g, s) {
  context.strokeStyle = "#555";
  context.lineWidth = s;
  context.beginPath();
  context.moveTo(g.margin.left, g.y(0) + 0.5);
  context.lineTo(g.margin.left + g.width, g.y(0) + 0.5);
  context.moveTo(g.margin.left - 0.5, g.y(0));
  context.lineTo(g.margin.left - 0.5, g.y(1));
  context.stroke();
  context.fillStyle = "#333";
  context.font = Math.round(11 * s) + "px system-ui, sans-serif";
  context.textAlign = "right";
  context.fillText("1", g.margin.left - 4 * s, g.y(1) + 4 * s);
  context.fillText("0", g.margin.left - 4 * s, g.y(0) + 4 * s);
}

export function startBasisPlot(module, canvas, colourOf) {
  const drawn = { key: "", background: null, shape: null, perKnot: 0, scale: 1 };

  const scaleNow = canvasScale(canvas);

  function geometry(k, n) {
    return plotGeometry(canvas, drawn.scale, 0, n + k);
  }

  function basisPath(context, g, j) {
    const shape = drawn.shape;
    context.beginPath();
    for (let s = 0; s < shape.length; ++s) {
      const u = j + s / drawn.perKnot;
      if (s === 0) context.moveTo(g.x(u), g.y(shape[s]));
      else context.lineTo(g.x(u), g.y(shape[s]));
    }
  }

  // The fixed part for a degree and point count: the axes, the knots, the domain, every basis
  // function in grey; drawn once and kept with N_0's shape.
  function prepare(k, n, scale) {
    drawn.scale = scale;
    const s = scale;
    const g = geometry(k, n);
    drawn.perKnot = Math.max(2, Math.min(32, Math.floor(4 * g.width / g.span)));
    drawn.shape = Array.from(module.firstBasis(k, drawn.perKnot));
    const background = backgroundOf(canvas, g, k, n, s);
    const context = background.getContext("2d");
    // The knots, labelled where there is room.
    const every = Math.max(1, Math.ceil(g.span * 24 * s / g.width));
    context.textAlign = "center";
    context.beginPath();
    for (let u = 0; u <= g.span; ++u) {
      const x = Math.round(g.x(u)) + 0.5;
      context.moveTo(x, g.y(0));
      context.lineTo(x, g.y(0) + (u % every === 0 ? 5 : 3) * s);
      if (u % every === 0) context.fillText(String(u), x, g.y(0) + 16 * s);
    }
    context.stroke();
    context.strokeStyle = "#b8b8b8";
    context.lineWidth = 1.25 * s;
    for (let j = 0; j < n; ++j) {
      basisPath(context, g, j);
      context.stroke();
    }
    drawn.background = background;
    drawn.key = k + " " + n + " " + scale;
  }

  return {
    // Degree k over n points, the functions first .. first + k highlighted, `looked` in black,
    // the line at t. Returns the plot's scale.
    draw: function (k, n, first, t, tText, looked) {
      const scale = scaleNow();
      if (drawn.key !== k + " " + n + " " + scale) prepare(k, n, scale);
      const s = drawn.scale;
      const context = canvas.getContext("2d");
      context.drawImage(drawn.background, 0, 0);
      const g = geometry(k, n);
      context.lineWidth = 2 * s;
      for (let j = Math.max(first, 0); j <= first + k && j < n; ++j) {
        context.strokeStyle = colourOf(j);
        basisPath(context, g, j);
        context.stroke();
      }
      if (looked !== null && looked !== undefined && looked < n) {
        context.strokeStyle = "#000";
        context.lineWidth = 3 * s;
        basisPath(context, g, looked);
        context.stroke();
      }
      lineAt(context, g, t, s);
      canvas.setAttribute("aria-label", "Basis functions of degree " + k + " on the knots 0 to " +
        (n + k) + ", the domain " + k + " to " + n + " shaded, a line at t = " + tText);
      drawn.n = n;
      drawn.k = k;
      return g;
    },
    // The function largest at the canvas column x, or null: N_j is N_0 shifted by j.
    functionAt: function (x) {
      if (!drawn.shape) return null;
      const u = geometry(drawn.k, drawn.n).u(x);
      let best = null, value = 0;
      for (let j = Math.max(0, Math.floor(u) - drawn.k); j <= Math.floor(u) && j < drawn.n; ++j) {
        const v = drawn.shape[Math.round((u - j) * drawn.perKnot)] || 0;
        if (v > value) { value = v; best = j; }
      }
      return best;
    },
  };
}

// The explored curve's basis plot: any knot vector, from u_0 to u_(N+k); the domain shaded, every
// function in grey with their sum dashed (1 inside the domain, less outside), the k + 1
// functions not zero at t in their points' colours, the one looked at in black, a line at t.
// `basis(count)` gives the functions and their sum at count parameters (N + 1 numbers each);
// it is asked again only when `key` changes.
export function startGeneralPlot(canvas, colourOf, nameOf) {
  const COUNT = 401;
  const drawn = { key: "", background: null, values: null, n: 0, scale: 1, from: 0, to: 1 };

  const scaleNow = canvasScale(canvas);

  function geometry() {
    return plotGeometry(canvas, drawn.scale, drawn.from, drawn.to);
  }

  function path(context, g, j, stride) {
    context.beginPath();
    let started = false;
    for (let s = 0; s < COUNT; ++s) {
      const v = drawn.values[s * stride + j];
      const u = drawn.from + (drawn.to - drawn.from) * s / (COUNT - 1);
      if (v <= 0 && (s + 1 >= COUNT || drawn.values[(s + 1) * stride + j] <= 0) &&
          (s === 0 || drawn.values[(s - 1) * stride + j] <= 0)) {
        started = false;
        continue;
      }
      if (!started) context.moveTo(g.x(u), g.y(v));
      else context.lineTo(g.x(u), g.y(v));
      started = true;
    }
  }

  function prepare(curve, basis, scale) {
    drawn.scale = scale;
    drawn.from = curve.knots[0];
    drawn.to = curve.knots[curve.knots.length - 1];
    drawn.n = curve.knots.length - curve.degree - 1;
    drawn.values = Float64Array.from(basis(COUNT));
    const s = scale, g = geometry(), stride = drawn.n + 1;
    const background = backgroundOf(canvas, g, curve.first, curve.last, s);
    const context = background.getContext("2d");
    context.textAlign = "center";
    [drawn.from, curve.first, curve.last, drawn.to].forEach(function (u, i, all) {
      if (i > 0 && Math.abs(g.x(u) - g.x(all[i - 1])) < 24 * s) return;
      context.fillText(formatNumber(u), g.x(u), g.y(0) + 16 * s);
    });
    context.strokeStyle = "#b8b8b8";
    context.lineWidth = 1.25 * s;
    for (let j = 0; j < drawn.n; ++j) {
      path(context, g, j, stride);
      context.stroke();
    }
    context.strokeStyle = "#555";
    context.setLineDash([4 * s, 3 * s]);
    path(context, g, drawn.n, stride);
    context.stroke();
    drawn.background = background;
    drawn.key = curve.key + " " + scale;
  }

  return {
    // The explored curve's knots and degree; the functions first .. first + k in colour, `looked`
    // in black, the line at t. Returns the plot's scale for the knots' ticks.
    draw: function (curve, basis, first, t, tText, looked) {
      const scale = scaleNow();
      if (drawn.key !== curve.key + " " + scale) prepare(curve, basis, scale);
      const s = drawn.scale, g = geometry(), stride = drawn.n + 1;
      const context = canvas.getContext("2d");
      context.drawImage(drawn.background, 0, 0);
      context.lineWidth = 2 * s;
      for (let j = Math.max(first, 0); j <= first + curve.degree && j < drawn.n; ++j) {
        context.strokeStyle = colourOf(j);
        path(context, g, j, stride);
        context.stroke();
      }
      if (looked !== null && looked < drawn.n) {
        context.strokeStyle = "#000";
        context.lineWidth = 3 * s;
        path(context, g, looked, stride);
        context.stroke();
      }
      lineAt(context, g, t, s);
      canvas.setAttribute("aria-label", "Basis functions of degree " + curve.degree + " on the knots " +
        curve.knots.map(formatNumber).join(", ") + ", the domain " + formatNumber(curve.first) + " to " +
        formatNumber(curve.last) +
        " shaded, their sum dashed, a line at t = " + tText);
      return g;
    },
    // The function largest at the canvas column x, or null.
    functionAt: function (x) {
      if (!drawn.values) return null;
      const g = geometry(), stride = drawn.n + 1;
      const s = Math.round((g.u(x) - drawn.from) / (drawn.to - drawn.from) * (COUNT - 1));
      if (s < 0 || s >= COUNT) return null;
      let best = null, value = 0;
      for (let j = 0; j < drawn.n; ++j) {
        if (drawn.values[s * stride + j] > value) { value = drawn.values[s * stride + j]; best = j; }
      }
      return best === null ? null : nameOf(best);
    },
  };
}
