// The page's one composition root: the core, the editor, and the parts beside it. A new part is
// one module and one line here.
import createTavrimo from "./tavrimo.js";
import { startEditor } from "./editor.js";
import { startEditorGuide } from "./editor_guide.js";
import { startInsidePanel } from "./inside_panel.js";
import { startKnotsPanel } from "./knots_panel.js";
import { startPointsPanel } from "./points_panel.js";
import { startOperationsPanel } from "./operations_panel.js";
import { startSceneControls } from "./scene_controls.js";

function unsupported() {
  document.getElementById("unsupported").hidden = false;
}

createTavrimo({ onAbort: unsupported }).then(function (module) {
  const editor = startEditor(module);
  startEditorGuide(editor);
  startInsidePanel(editor);
  startPointsPanel(editor);
  startKnotsPanel(editor);
  startOperationsPanel(editor);
  startSceneControls(editor); // last: it opens a link, whose view the other parts take
  window.tavrimo = { module: module, editor: editor }; // for tests, benchmarks and the console
  editor.run();
}, unsupported);

// Once opened, the page opens again with no network.
if ("serviceWorker" in navigator) navigator.serviceWorker.register("service_worker.js");
