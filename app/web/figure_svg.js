// A figure as SVG: its shapes as vectors, its text as text.
import { formatNumber } from "./helpers.js";

const ANCHORS = { start: "start", left: "start", center: "middle", end: "end", right: "end" };
const BASELINES = { middle: "central", top: "hanging", hanging: "hanging", bottom: "text-after-edge" };

export function escapeXml(text) {
  return String(text).replace(/[&<>"']/g, (c) => ({ "&": "&amp;", "<": "&lt;", ">": "&gt;", "\"": "&quot;",
    "'": "&apos;" })[c]);
}

const number = (v) => formatNumber(v, 2);

function hex(c) {
  return "#" + [c.r, c.g, c.b].map((v) => v.toString(16).padStart(2, "0")).join("");
}

// fill or stroke, with its opacity where it has one.
function paint(name, colour) {
  if (!colour) return " " + name + "=\"none\"";
  return " " + name + "=\"" + hex(colour) + "\"" + (colour.a < 1 ? " " + name + "-opacity=\"" + number(colour.a) + "\"" : "");
}

function pointsOf(points) {
  const pairs = [];
  for (let i = 0; i < points.length; i += 2) pairs.push(number(points[i]) + "," + number(points[i + 1]));
  return pairs.join(" ");
}

function pathData(shapes) {
  return shapes.map((s) => {
    if (s.cx !== undefined) {
      const r = number(s.r);
      return "M" + number(s.cx + s.r) + "," + number(s.cy) + "A" + r + "," + r + " 0 1 0 " + number(s.cx - s.r) + "," +
        number(s.cy) + "A" + r + "," + r + " 0 1 0 " + number(s.cx + s.r) + "," + number(s.cy) + "Z";
    }
    return "M" + pointsOf(s.points).replace(/ /g, "L") + (s.closed ? "Z" : "");
  }).join("");
}

function shapeElement(item) {
  const id = item.id ? " id=\"" + escapeXml(item.id) + "\"" : "";
  let attributes = id + paint("fill", item.fill) + paint("stroke", item.stroke);
  if (item.stroke) {
    attributes += " stroke-width=\"" + number(item.width) + "\"" +
      (item.cap && item.cap !== "butt" ? " stroke-linecap=\"" + item.cap + "\"" : "") +
      (item.dash.length > 0 ? " stroke-dasharray=\"" + item.dash.map(number).join(" ") + "\"" : "");
  }
  const shape = item.shapes.length === 1 ? item.shapes[0] : null;
  if (shape && shape.cx !== undefined) {
    return "<circle" + attributes + " cx=\"" + number(shape.cx) + "\" cy=\"" + number(shape.cy) + "\" r=\"" +
      number(shape.r) + "\"/>";
  }
  if (shape) {
    return "<" + (shape.closed ? "polygon" : "polyline") + attributes + " points=\"" + pointsOf(shape.points) + "\"/>";
  }
  return "<path" + attributes + " d=\"" + pathData(item.shapes) + "\"/>";
}

function textElement(item) {
  const baseline = BASELINES[item.baseline];
  const look = item.halo ?
    " fill=\"none\"" + paint("stroke", item.fill) + " stroke-width=\"" + number(item.width) + "\" stroke-linejoin=\"round\"" :
    paint("fill", item.fill);
  return "<text x=\"" + number(item.x) + "\" y=\"" + number(item.y) + "\" font-size=\"" + number(item.size) + "\"" +
    (item.bold ? " font-weight=\"bold\"" : "") + " text-anchor=\"" + (ANCHORS[item.align] || "start") + "\"" +
    (baseline ? " dominant-baseline=\"" + baseline + "\"" : "") + look + ">" + escapeXml(item.text) + "</text>";
}

// figure: { width, height, title, panes }, each pane { x, y, width, height, items } (figure.js's
// items, each may carry an id) clipped to its rectangle.
export function figureSvg(figure) {
  const lines = ["<?xml version=\"1.0\" encoding=\"UTF-8\"?>",
    "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + figure.width + "\" height=\"" + figure.height +
      "\" viewBox=\"0 0 " + figure.width + " " + figure.height + "\" font-family=\"system-ui, sans-serif\">",
    "<title>" + escapeXml(figure.title) + "</title>",
    "<rect width=\"" + figure.width + "\" height=\"" + figure.height + "\" fill=\"#ffffff\"/>"];
  figure.panes.forEach((pane, j) => {
    lines.push("<clipPath id=\"pane" + j + "\"><rect x=\"" + pane.x + "\" y=\"" + pane.y + "\" width=\"" + pane.width +
      "\" height=\"" + pane.height + "\"/></clipPath>", "<g clip-path=\"url(#pane" + j + ")\">");
    for (const item of pane.items) lines.push(item.text !== undefined ? textElement(item) : shapeElement(item));
    lines.push("</g>");
  });
  lines.push("</svg>", "");
  return lines.join("\n");
}
