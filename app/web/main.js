// The page's one composition root: the core, the editor, the page's state, and the parts beside
// the editor, each drawing from that state. A new part is one module and one line here.
import createTavrimo from "./tavrimo.js";
import { startEditor } from "./editor.js";
import { startEditorGuide } from "./editor_guide.js";
import { createPage } from "./page.js";
import { startInsidePanel } from "./inside_panel.js";
import { startKnotsPanel } from "./knots_panel.js";
import { startPointsPanel } from "./points_panel.js";
import { startOperationsPanel } from "./operations_panel.js";
import { startFitPanel } from "./fit_panel.js";
import { startSceneControls } from "./scene_controls.js";
import { startFigure } from "./figure_controls.js";
import { startLesson } from "./lesson.js";
import { embedOptions, startEmbed } from "./embed.js";

function unsupported() {
  document.getElementById("unsupported").hidden = false;
}

createTavrimo({ onAbort: unsupported }).then((module) => {
  const editor = startEditor(module);
  const page = createPage(module, editor);
  const inside = startInsidePanel(editor, page);
  const operations = startOperationsPanel(editor, page);
  const fit = startFitPanel(editor, page);
  for (const part of [startEditorGuide(editor), inside, startKnotsPanel(editor, page),
    startPointsPanel(editor, page), operations, fit]) page.add(part);
  const figure = startFigure(editor, page, { overlays: [inside.overlayFigure, operations.overlayFigure, fit.overlayFigure],
    plot: inside.plotFigure });
  page.add(figure);
  page.add(startLesson(page));
  const embed = startEmbed(page, embedOptions(location.search));
  page.add(embed);
  page.add(startSceneControls(editor, page)); // last: it opens a link or the kept state
  embed.settle();
  // The one handle for tests, benchmarks and the console.
  window.tavrimo = { module: module, editor: editor, page: page, inside: inside.shown,
    operations: operations.shown, operationsTable: operations.table, figure: figure.figure, fit: fit.shown };
  editor.run();
}, unsupported);

// Once opened, the page opens again with no network.
if ("serviceWorker" in navigator) navigator.serviceWorker.register("service_worker.js");
