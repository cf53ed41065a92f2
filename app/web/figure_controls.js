// "Save figure": the editor's picture with everything the panel draws over it, and as a choice
// the basis plot beside it, as SVG, as PNG at 1, 2 or 4 times its pixels, or as TikZ. The parts
// draw the figure with their own drawing code on recording canvases (figure.js).
import { download } from "./download.js";
import { parseColour, recordingCanvas, replay } from "./figure.js";
import { figureSvg } from "./figure_svg.js";
import { figureTikz } from "./figure_tikz.js";
import { elementsById } from "./helpers.js";

const PLOT = { width: 520, height: 260, gap: 20 }; // the basis plot beside the editor

// The editor's polygon, markers and curve as a figure's items, through the pixels' centres.
export function editorItems(vectors) {
  const centres = (xy) => Array.from(xy, (v) => v + 0.5);
  const line = (id, xy, hex) => ({ id: id, shapes: [{ points: centres(xy), closed: false }], stroke: parseColour(hex),
    fill: null, width: 1, dash: [], cap: "butt" });
  const items = [];
  if (vectors.polygon.length > 2) items.push(line("polygon", vectors.polygon, vectors.polygonColour));
  const h = vectors.markerHalfSize;
  const markers = [];
  for (let i = 0; i < vectors.polygon.length; i += 2) {
    const [x, y] = [vectors.polygon[i] - h, vectors.polygon[i + 1] - h];
    markers.push({ points: [x, y, x + 2 * h, y, x + 2 * h, y + 2 * h, x, y + 2 * h], closed: true });
  }
  if (markers.length > 0) {
    items.push({ id: "markers", shapes: markers, fill: parseColour(vectors.markerColour), stroke: null, width: 0,
      dash: [], cap: "butt" });
  }
  if (vectors.curve.length > 2) items.push(line("curve", vectors.curve, vectors.curveColour));
  return items;
}

export function startFigure(editor, page, layers) {
  const module = editor.module;
  const elements = elementsById({ format: "figure-format", basis: "figure-basis", save: "figure-save" });
  const width = editor.canvas.width, height = editor.canvas.height;
  const measuring = document.createElement("canvas").getContext("2d");
  const measure = (text, font) => {
    measuring.font = font;
    return measuring.measureText(text).width;
  };
  const say = (text) => page.dispatch({ type: "note", part: "scene", text: text, error: false });

  // { width, height, title, editor (its vector items), panes }: the editor's pane holds what is
  // drawn over it, the plot's pane (if any) the basis plot beside it; each is clipped to its own.
  function figureOf(withPlot) {
    const items = [];
    for (const draw of layers.overlays) {
      const canvas = recordingCanvas(width, height, measure);
      if (draw(canvas)) items.push(...canvas.recording.items);
    }
    const x = width + PLOT.gap;
    const plot = recordingCanvas(PLOT.width, PLOT.height, measure, [x, 0]);
    const panes = [{ x: 0, y: 0, width: width, height: height, items: items }];
    if (withPlot && layers.plot(plot)) {
      panes.push({ x: x, y: 0, width: PLOT.width, height: PLOT.height, items: plot.recording.items });
    }
    return { width: panes.length > 1 ? x + PLOT.width : width, height: height, title: "Tavrimo figure",
      editor: editorItems(module.editorVectors()), panes: panes };
  }

  // The editor's own pixels, scaled without smoothing, and the rest drawn at that scale.
  function savePng(figure, scale, name) {
    const canvas = document.createElement("canvas");
    canvas.width = figure.width * scale;
    canvas.height = figure.height * scale;
    const context = canvas.getContext("2d");
    context.fillStyle = "#fff";
    context.fillRect(0, 0, canvas.width, canvas.height);
    context.imageSmoothingEnabled = false;
    context.drawImage(editor.canvas, 0, 0, width * scale, height * scale);
    context.setTransform(scale, 0, 0, scale, 0, 0);
    for (const pane of figure.panes) {
      context.save();
      context.beginPath();
      context.rect(pane.x, pane.y, pane.width, pane.height);
      context.clip();
      replay(context, pane.items);
      context.restore();
    }
    canvas.toBlob((blob) => download(name, blob), "image/png");
  }

  function save() {
    const format = elements.format.value;
    const figure = figureOf(elements.basis.checked);
    const panes = figure.panes.map((pane, j) => (j > 0 ? pane :
      Object.assign({}, pane, { items: figure.editor.concat(pane.items) })));
    const all = Object.assign({}, figure, { panes: panes });
    let name = "figure.svg";
    if (format === "svg") download(name, new Blob([figureSvg(all)], { type: "image/svg+xml" }));
    else if (format === "tikz") download(name = "figure.tex", new Blob([figureTikz(all)], { type: "text/x-tex" }));
    else {
      const scale = Number(format.slice(3));
      name = scale === 1 ? "figure.png" : "figure@" + scale + "x.png";
      savePng(figure, scale, name);
    }
    const plotNote = elements.basis.checked && figure.panes.length === 1 ?
      " The basis plot is drawn with the panel open." : "";
    say("Saved the figure as " + name + "." + plotNote);
  }

  elements.save.addEventListener("click", save);
  return { render: () => {}, figure: figureOf };
}
