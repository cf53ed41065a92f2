// The operations courses teach, on the curve the panel explains, at the page's t: a knot inserted
// from de Boor's triangle, up to k times, which splits the curve; the Bezier pieces; the degree
// raised; the derivatives, the curvature comb and the continuity at the knots; the arc length
// with ticks at equal length; the triangle's points named and shown level by level; the tables at
// t as CSV or LaTeX. Its controls change the page's view; it draws from the page's state
// (operations_view.js), never on its own except while "Play levels" steps.
import { download } from "./download.js";
import { elementsById, formatNumber, setProperty, setText } from "./helpers.js";
import { domainOf, tOf } from "./moment.js";
import { exportName, levelText } from "./operations_text.js";
import { startOperationsView } from "./operations_view.js";

const VIEWS = ["pieces", "raised", "first", "second", "comb", "ticks"];
const CHECKS = { pieces: "op-pieces", raised: "op-raised", first: "op-first", second: "op-second",
  comb: "op-comb", ticks: "op-ticks" };
const LEVEL_PACE = 800; // milliseconds a level while "Play levels" steps through the triangle
const SPAN_REACH = 12;  // pixels from the curve that point at its span

function setControls(elements, maxDegree, state, drawn) {
  const v = state.view, at = drawn && drawn.at;
  for (const name of VIEWS) setProperty(elements[name], "checked", v.shown.includes(name));
  setProperty(elements.combScale, "value", String(v.combScale));
  setProperty(elements.labels, "value", v.naming);
  setProperty(elements.step, "checked", v.level !== null);
  setText(elements.level, at ? levelText(v.level, at.degree) : "");
  // Without a curve nothing here can act.
  elements.part.querySelectorAll("button, input, select").forEach((control) => setProperty(control, "disabled", !at));
  if (!at) return;
  setProperty(elements.remove, "disabled", v.insertions === 0);
  setProperty(elements.insert, "disabled", at.insertNote !== "");
  setProperty(elements.openRefined, "disabled", at.inserted === 0);
  setProperty(elements.openRaised, "disabled", !drawn.raised || drawn.raised.fault !== "" || drawn.raised.degree > maxDegree);
  setProperty(elements.levelDown, "disabled", v.level === null || v.level === 0);
  setProperty(elements.levelUp, "disabled", v.level === null || v.level >= at.degree);
  setProperty(elements.levelPlay, "disabled", v.level === null);
}

// "Play levels" steps through the triangle's levels at a steady pace, from level 0; it stops at
// the last. `level()` is the level shown and the last one ({ level, last }) or null;
// `setLevel(l)` shows one.
function createLevelPlayer(elements, level, setLevel) {
  let playing = null; // the timer while playing

  function stop() {
    if (playing === null) return;
    clearInterval(playing);
    playing = null;
    elements.levelPlay.textContent = "Play levels";
  }

  function start() {
    setLevel(0);
    elements.levelPlay.textContent = "Pause";
    playing = setInterval(() => {
      const now = level();
      if (now === null || now.level >= now.last) stop();
      else setLevel(now.level + 1);
    }, LEVEL_PACE);
  }

  elements.levelPlay.addEventListener("click", () => (playing !== null ? stop() : start()));
  return { stop: stop };
}

// A refinement or the raised curve opened as the scene, as one step; or why not.
function openAsScene(page, error, what) {
  if (error === "") {
    page.dispatch({ type: "scene", part: "operations", error: "", said: "Opened " + what +
      " as the scene: the explored curve is the same curve on its new points (Undo goes back)." });
  } else {
    page.dispatch({ type: "note", part: "operations", error: true,
      text: what.charAt(0).toUpperCase() + what.slice(1) + " cannot be opened: " + error + "." });
  }
}

// The table chosen at t, in the format chosen, saved as a file.
function save(module, page, elements, shown) {
  if (shown === null) return;
  const kind = elements.exportKind.value, latex = elements.exportFormat.value === "latex";
  const text = module.operationsTable(kind, latex ? "latex" : "csv", shown.t, page.state.view.insertions,
    Number(elements.exportDigits.value));
  const name = exportName(kind, shown.text, latex);
  download(name, new Blob([text], { type: latex ? "text/x-tex" : "text/csv" }));
  page.dispatch({ type: "note", part: "operations", text: "Saved " + name + ".", error: false });
}

export function startOperationsPanel(editor, page) {
  const module = editor.module;
  const elements = elementsById(Object.assign({ part: "operations-part", insert: "op-insert",
    remove: "op-remove", openRefined: "op-open-refined", insertNote: "op-insert-note", knots: "op-knots",
    openRaised: "op-open-raised", raisedNote: "op-raised-note", combScale: "op-comb-scale",
    ticksNote: "op-ticks-note", values: "op-values", continuityBox: "op-continuity-box",
    continuity: "op-continuity", labels: "op-labels", step: "op-step", levelDown: "op-level-down",
    levelUp: "op-level-up", level: "op-level", levelPlay: "op-level-play", exportKind: "op-export-kind",
    exportFormat: "op-export-format", exportDigits: "op-export-digits", save: "op-export", message: "op-message",
    overlay: "operations-overlay" }, CHECKS));
  const view = startOperationsView(module, elements, editor.geometry);
  const setView = (change) => page.dispatch({ type: "view", change: change });
  const levels = createLevelPlayer(elements, () => {
    const v = page.state.view;
    return shown === null || !shown.drawn || v.level === null ? null : { level: v.level, last: shown.drawn.at.degree };
  }, (level) => setView({ level: level }));
  let shown = null;   // { t, text, drawn } while the part shows a curve

  function render(state, previous) {
    setProperty(elements.continuityBox, "open", state.view.continuityOpen);
    const note = state.notes.operations;
    setText(elements.message, note ? note.text : "");
    const domain = domainOf(state.curve);
    const t = state.view.panelOpen && domain.hasCurve ? tOf(state) : null;
    if (t === null) {
      if (shown !== null) view.clear();
      levels.stop();
      // Nothing can act: the controls follow only the view's changes (not every frame of a drag).
      if (shown !== null || previous === null || state.view !== previous.view) {
        setControls(elements, editor.geometry.maxDegree, state, null);
      }
      shown = null;
      return;
    }
    if (previous !== null && shown !== null && state.scene === previous.scene && state.view === previous.view &&
        state.hover === previous.hover && state.curve === previous.curve) return;
    const text = formatNumber(t);
    shown = { t: t, text: text, drawn: view.draw(state, t, text) };
    setControls(elements, editor.geometry.maxDegree, state, shown.drawn);
  }

  function stepLevel(by) {
    const v = page.state.view;
    if (v.level === null || shown === null || !shown.drawn) return;
    setView({ level: Math.max(0, Math.min(v.level + by, shown.drawn.at.degree)) });
  }

  function attachInsertion() {
    elements.insert.addEventListener("click", () => {
      if (shown && shown.drawn && shown.drawn.at.insertNote === "") {
        page.dispatch({ type: "insertions", count: shown.drawn.at.inserted + 1 });
      }
    });
    elements.remove.addEventListener("click", () => {
      const v = page.state.view;
      page.dispatch({ type: "insertions", count: Math.max(0, Math.min(v.insertions, shown && shown.drawn ? shown.drawn.at.inserted : 0) - 1) });
    });
    elements.openRefined.addEventListener("click", () => {
      if (shown !== null) openAsScene(page, module.openRefinement(shown.t, page.state.view.insertions), "the refinement");
    });
    elements.openRaised.addEventListener("click", () => openAsScene(page, module.openRaised(), "the curve of raised degree"));
  }

  function attachViews() {
    for (const name of VIEWS) {
      elements[name].addEventListener("change", () => setView({ shown: VIEWS.filter((n) => elements[n].checked) }));
    }
    elements.combScale.addEventListener("input", () => setView({ combScale: Number(elements.combScale.value) }));
    elements.continuityBox.addEventListener("toggle", () => {
      if (elements.continuityBox.open !== page.state.view.continuityOpen) {
        setView({ continuityOpen: elements.continuityBox.open });
      }
      if (shown !== null) render(page.state, null);
    });
    elements.labels.addEventListener("change", () => setView({ naming: elements.labels.value }));
    elements.step.addEventListener("change", () => {
      if (!elements.step.checked) levels.stop();
      setView({ level: elements.step.checked ? 0 : null });
    });
    elements.levelDown.addEventListener("click", () => stepLevel(-1));
    elements.levelUp.addEventListener("click", () => stepLevel(1));
    document.addEventListener("keydown", (event) => {
      if (shown === null || event.ctrlKey || event.metaKey || event.altKey) return;
      if (event.target && event.target.tagName === "INPUT" && event.target.type === "text") return;
      if (event.key === "[") stepLevel(-1);
      else if (event.key === "]") stepLevel(1);
    });
    elements.save.addEventListener("click", () => save(module, page, elements, shown));
    // Pointing at the curve over the editor picks its span: its piece and the span on the plot.
    editor.on("pointer", (point) => {
      if (shown === null || !page.state.view.shown.includes("pieces")) return;
      const near = point === null ? { index: -1 } :
        module.spanNear(point[0], editor.geometry.worldOriginRow - point[1], SPAN_REACH);
      const span = page.state.hover.span;
      if (near.index === (span === null ? -1 : span.index)) return;
      page.dispatch({ type: "hover", span: near.index < 0 ? null : { first: near.first, last: near.last, index: near.index } });
    });
  }

  attachInsertion();
  attachViews();
  return {
    render: render,
    // Its overlay drawn again for a figure.
    overlayFigure: view.overlayFigure,
    // What the part shows and its tables, for tests and scripts.
    shown: () => {
      if (shown === null) return null;
      const d = shown.drawn, v = page.state.view;
      return { t: shown.t, inserts: v.insertions, at: d && d.at, level: v.level,
        highlighted: d ? d.highlighted : -1,
        drawn: d && { pieces: d.pieces && Array.from(d.pieces), comb: d.comb && d.comb.length, ticks: d.ticks && d.ticks.length } };
    },
    table: (kind, latex, digits = 4) => (shown === null ? "" :
      module.operationsTable(kind, latex ? "latex" : "csv", shown.t, page.state.view.insertions, digits)),
  };
}
