// The panel's plot of the basis functions: the N functions of degree k on the knots 0 .. N + k,
// the domain [k, N] shaded, the k + 1 functions not zero at t in their points' colours, a line
// at t. Every N_j is N_0 shifted by j; the core gives N_0's shape (firstBasis). Where the plot
// is shown smaller than its pixels (a phone), its text and lines grow to stay readable.
export function startBasisPlot(module, canvas, colourOf) {
  var drawn = { key: "", background: null, shape: null, perKnot: 0, scale: 1 };

  function scaleNow() {
    var width = canvas.getBoundingClientRect().width;
    return width > 0 ? Math.max(1, canvas.width / width) : 1;
  }

  function geometry(k, n) {
    var s = drawn.scale;
    var margin = { left: 28 * s, right: 8 * s, top: 10 * s, bottom: 24 * s };
    var width = canvas.width - margin.left - margin.right;
    var height = canvas.height - margin.top - margin.bottom;
    var span = n + k;
    return {
      x: function (u) { return margin.left + u / span * width; },
      y: function (v) { return margin.top + (1 - v) * height; },
      margin: margin, width: width, height: height, span: span,
    };
  }

  function basisPath(context, g, j) {
    var shape = drawn.shape;
    context.beginPath();
    for (var s = 0; s < shape.length; ++s) {
      var u = j + s / drawn.perKnot;
      if (s === 0) context.moveTo(g.x(u), g.y(shape[s]));
      else context.lineTo(g.x(u), g.y(shape[s]));
    }
  }

  // The fixed part for a degree and point count: the axes, the knots, the domain, every basis
  // function in grey; drawn once and kept with N_0's shape.
  function prepare(k, n, scale) {
    drawn.scale = scale;
    var s = scale;
    var g = geometry(k, n);
    drawn.perKnot = Math.max(2, Math.min(32, Math.floor(4 * g.width / g.span)));
    drawn.shape = Array.from(module.firstBasis(k, drawn.perKnot));
    var background = document.createElement("canvas");
    background.width = canvas.width;
    background.height = canvas.height;
    var context = background.getContext("2d");
    context.fillStyle = "#fff";
    context.fillRect(0, 0, canvas.width, canvas.height);
    context.fillStyle = "#e4ecf8";
    context.fillRect(g.x(k), g.margin.top, g.x(n) - g.x(k), g.height);
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
    // The knots, labelled where there is room.
    var every = Math.max(1, Math.ceil(g.span * 24 * s / g.width));
    context.textAlign = "center";
    context.beginPath();
    for (var u = 0; u <= g.span; ++u) {
      var x = Math.round(g.x(u)) + 0.5;
      context.moveTo(x, g.y(0));
      context.lineTo(x, g.y(0) + (u % every === 0 ? 5 : 3) * s);
      if (u % every === 0) context.fillText(String(u), x, g.y(0) + 16 * s);
    }
    context.stroke();
    context.strokeStyle = "#b8b8b8";
    context.lineWidth = 1.25 * s;
    for (var j = 0; j < n; ++j) {
      basisPath(context, g, j);
      context.stroke();
    }
    drawn.background = background;
    drawn.key = k + " " + n + " " + scale;
  }

  return {
    // Degree k over n points, the functions first .. first + k highlighted, the line at t.
    draw: function (k, n, first, t, tText) {
      var scale = scaleNow();
      if (drawn.key !== k + " " + n + " " + scale) prepare(k, n, scale);
      var s = drawn.scale;
      var context = canvas.getContext("2d");
      context.drawImage(drawn.background, 0, 0);
      var g = geometry(k, n);
      context.lineWidth = 2 * s;
      for (var j = Math.max(first, 0); j <= first + k && j < n; ++j) {
        context.strokeStyle = colourOf(j);
        basisPath(context, g, j);
        context.stroke();
      }
      context.strokeStyle = "#000";
      context.lineWidth = s;
      context.beginPath();
      var x = Math.round(g.x(t)) + 0.5;
      context.moveTo(x, g.margin.top);
      context.lineTo(x, g.y(0));
      context.stroke();
      canvas.setAttribute("aria-label", "Basis functions of degree " + k + " on the knots 0 to " +
        (n + k) + ", the domain " + k + " to " + n + " shaded, a line at t = " + tText);
    },
  };
}
