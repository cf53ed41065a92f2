// What "Through the points" draws over the editor, on a canvas of its own: the fitted curve in
// teal, its control polygon dashed, each data point's parameter marked on the curve, and for
// least squares each data point's segment to its curve point with the largest distance written.
import { canvasScale } from "./basis_plot.js";
import { formatNumber } from "./helpers.js";

export const FIT_COLOUR = "#00897b";
const MOST_MARKED = 400; // data points marked and joined to the curve, at the most
// Beyond this many vertices lines are drawn thin and solid, which the canvas draws many times
// faster than wide or dashed ones.
const MOST_WIDE = 1500;

export function startFitOverlay(canvas, row) {
  const scaleNow = canvasScale(canvas);
  const at = (xy, j) => [xy[2 * j] + 0.5, row - xy[2 * j + 1] + 0.5];

  function line(context, xy) {
    context.beginPath();
    for (let j = 0; j < xy.length / 2; ++j) context[j === 0 ? "moveTo" : "lineTo"](...at(xy, j));
    context.stroke();
  }

  function distances(context, fit, s) {
    let largest = -1, where = null;
    context.strokeStyle = "rgba(0, 0, 0, 0.55)";
    context.lineWidth = s;
    context.beginPath();
    for (let j = 0; j < fit.parameters.length; ++j) {
      const d = Math.hypot(fit.data[2 * j] - fit.onCurve[2 * j], fit.data[2 * j + 1] - fit.onCurve[2 * j + 1]);
      if (d > largest) { largest = d; where = j; }
      context.moveTo(...at(fit.data, j));
      context.lineTo(...at(fit.onCurve, j));
    }
    context.stroke();
    if (where === null) return;
    const [x, y] = at(fit.data, where);
    context.font = "bold " + Math.round(12 * s) + "px system-ui, sans-serif";
    context.fillStyle = "#000";
    context.fillText("largest " + formatNumber(largest, 2), x + 8 * s, y - 8 * s);
  }

  return {
    clear: () => canvas.getContext("2d").clearRect(0, 0, canvas.width, canvas.height),
    // fit: module.fitNow's value; looked: the data point looked at, or null.
    draw: (fit, leastSquares, looked) => {
      const context = canvas.getContext("2d");
      const s = scaleNow();
      context.clearRect(0, 0, canvas.width, canvas.height);
      context.strokeStyle = FIT_COLOUR;
      const many = fit.samples.length / 2 > MOST_WIDE;
      context.lineWidth = (many ? 1 : 1.5) * s;
      context.setLineDash(fit.points.length / 2 > MOST_MARKED ? [] : [5 * s, 4 * s]);
      line(context, fit.points);
      context.setLineDash([]);
      context.lineWidth = (many ? 1 : 2.5) * s;
      line(context, fit.samples);
      const count = fit.parameters.length;
      if (count > MOST_MARKED) return;
      if (leastSquares) distances(context, fit, s);
      context.fillStyle = FIT_COLOUR;
      context.beginPath(); // one path: one fill for every mark
      for (let j = 0; j < count; ++j) {
        const [x, y] = at(fit.onCurve, j), r = (j === looked ? 5 : 2.5) * s;
        context.moveTo(x + r, y);
        context.arc(x, y, r, 0, 2 * Math.PI);
      }
      context.fill();
    },
  };
}
