// "Through the points": the editor's points taken as data, and the curve through them by
// interpolation (open, or closed) or least squares, with the parameters, the knots and the
// collocation matrix, drawn over the editor. Its choices are the page's view; the numbers are
// the core's (module.fitNow); "Open as the scene" makes the fit the scene as one step.
import { download } from "./download.js";
import { elementsById, setProperty, setText, throttle } from "./helpers.js";
import { bandNote, fitFileName, fitStatus, matrixCells, numbersRow } from "./fit_text.js";
import { startFitOverlay } from "./fit_overlay.js";

const NUMBERS_INTERVAL = 100; // milliseconds between writes of the numbers a drag changes

function fillMatrix(table, fit, columns, looked) {
  const cells = matrixCells(fit.rows, columns);
  const key = JSON.stringify(cells) + " " + looked;
  if (table.dataset.key === key) return;
  table.dataset.key = key;
  table.tBodies[0].textContent = "";
  table.tHead.textContent = "";
  if (cells.length === 0) return;
  const head = table.tHead.insertRow();
  head.append(Object.assign(document.createElement("th"), { textContent: "" }));
  for (let j = 0; j < columns; ++j) head.append(Object.assign(document.createElement("th"), { scope: "col", textContent: "N" + j }));
  cells.forEach((row, i) => {
    const line = table.tBodies[0].insertRow();
    if (i === looked) line.className = "looked";
    line.append(Object.assign(document.createElement("th"), { scope: "row", textContent: "u" + i }));
    for (const cell of row) {
      const td = line.insertCell();
      td.textContent = cell.text;
      if (cell.band) td.className = "band";
    }
  });
}

export function startFitPanel(editor, page) {
  const module = editor.module;
  const elements = elementsById({ part: "fit-part", kind: "fit-kind", spacing: "fit-spacing", knots: "fit-knots",
    ends: "fit-ends", controls: "fit-controls", pin: "fit-pin", status: "fit-status", parameters: "fit-parameters",
    knotRow: "fit-knot-row", band: "fit-band", matrix: "fit-matrix", open: "fit-open", format: "fit-format",
    save: "fit-save", overlay: "fit-overlay", message: "fit-message" });
  const overlay = startFitOverlay(elements.overlay, editor.geometry.worldOriginRow);
  const setView = (change) => page.dispatch({ type: "view", change: change });
  let shown = null; // { fit, view } while a fit is drawn
  let numbers = null;
  const writeNumbers = throttle(() => {
    const { fit, view } = numbers;
    setText(elements.status, fitStatus(fit, view.fit === "leastsquares", view.fitClosed));
    setText(elements.parameters, fit.fault ? "" : numbersRow("Parameters u", fit.parameters));
    setText(elements.knotRow, fit.fault ? "" : numbersRow("Knots", fit.knots));
    setText(elements.band, fit.fault ? "" : bandNote(fit));
    const columns = view.fitClosed && view.fit === "interpolate" ? fit.parameters.length : (fit.points || []).length / 2;
    fillMatrix(elements.matrix, fit.fault ? { rows: [] } : fit, columns, view.looked);
  }, NUMBERS_INTERVAL);

  function setControls(v) {
    setProperty(elements.kind, "value", v.fit);
    setProperty(elements.spacing, "value", v.fitSpacing);
    setProperty(elements.knots, "value", v.fitKnots);
    setProperty(elements.ends, "value", v.fitClosed ? "closed" : "open");
    setProperty(elements.pin, "checked", v.fitPinned);
    const lsq = v.fit === "leastsquares", on = v.fit !== "none";
    for (const control of [elements.spacing, elements.open, elements.save, elements.format]) setProperty(control, "disabled", !on);
    setProperty(elements.knots, "disabled", !on || lsq);
    setProperty(elements.ends, "disabled", !on || lsq);
    setProperty(elements.controls, "disabled", !lsq);
    setProperty(elements.pin, "disabled", !lsq);
  }

  function render(state, previous) {
    const v = state.view;
    setControls(v);
    const note = state.notes.fit;
    setText(elements.message, note ? note.text : "");
    if (!v.panelOpen || v.fit === "none") {
      if (shown !== null) overlay.clear();
      shown = null;
      numbers = { fit: { fault: v.fit === "none" ? "" : "the panel is closed", rows: [] }, view: v };
      for (const element of [elements.status, elements.parameters, elements.knotRow, elements.band]) setText(element, "");
      fillMatrix(elements.matrix, { rows: [] }, 0, null);
      return;
    }
    if (previous !== null && shown !== null && state.scene === previous.scene && v === previous.view &&
        state.curve === previous.curve) return;
    const fit = module.fitNow(v);
    shown = { fit: fit, view: v };
    if (document.activeElement !== elements.controls && fit.points) {
      setProperty(elements.controls, "value", String(v.fitControls === null ? fit.points.length / 2 : v.fitControls));
    }
    if (fit.fault) overlay.clear();
    else overlay.draw(fit, v.fit === "leastsquares", v.looked);
    numbers = { fit: fit, view: v };
    writeNumbers(state.scene.pressed);
  }

  function attach() {
    elements.kind.addEventListener("change", () => setView({ fit: elements.kind.value }));
    elements.spacing.addEventListener("change", () => setView({ fitSpacing: elements.spacing.value }));
    elements.knots.addEventListener("change", () => setView({ fitKnots: elements.knots.value }));
    elements.ends.addEventListener("change", () => setView({ fitClosed: elements.ends.value === "closed" }));
    elements.pin.addEventListener("change", () => setView({ fitPinned: elements.pin.checked }));
    // Within what least squares takes: k + 1 to the points.
    elements.controls.addEventListener("change", () => {
      const { points, degree } = page.state.curve.domain;
      const count = Math.round(Number(elements.controls.value));
      if (Number.isFinite(count)) setView({ fitControls: Math.max(degree + 1, Math.min(points, count)) });
    });
    elements.open.addEventListener("click", () => {
      const error = module.openFit(page.state.view);
      page.dispatch(error === "" ?
        { type: "scene", part: "fit", error: "", said: "Opened the fit as the scene: its points, degree and knots (Undo goes back)." } :
        { type: "note", part: "fit", error: true, text: "The fit cannot be opened: " + error + "." });
    });
    elements.save.addEventListener("click", () => {
      const latex = elements.format.value === "latex";
      const text = module.fitTable(page.state.view, latex ? "latex" : "csv", 4);
      if (text !== "") download(fitFileName(latex), new Blob([text], { type: latex ? "text/x-tex" : "text/csv" }));
    });
  }

  attach();
  return {
    render: render,
    // Its overlay drawn again for a figure.
    overlayFigure: (canvas) => shown !== null && !shown.fit.fault &&
      (startFitOverlay(canvas, editor.geometry.worldOriginRow).draw(shown.fit, shown.view.fit === "leastsquares",
        shown.view.looked), true),
    // What the part shows, for tests and scripts.
    shown: () => shown && shown.fit,
  };
}
