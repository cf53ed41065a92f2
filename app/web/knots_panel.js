// The panel's "Knots, ends and weights": the knot vector's mode (the editor's uniform knots,
// clamped, closed, custom), the vector as text and as ticks under the basis plot
// (knot_ticks.js), the weight of the point looked at, and example scenes. Each change is one
// step through the core; the part then draws, like every part, from the page's state. The
// explored curve itself is drawn and explained by the panel "Inside the curve"; the editor's own
// curve never changes.
import { elementsById, formatNumber, setProperty, setText } from "./helpers.js";
import { chosenText, distinctKnots, MODES, weightLabel } from "./knots_text.js";
import { startKnotTicks } from "./knot_ticks.js";

function options(select, entries) {
  for (const [value, text] of entries) select.append(new Option(text, value));
}

export function startKnotsPanel(editor, page) {
  const module = editor.module;
  const elements = elementsById({ mode: "knot-mode", text: "knot-text", apply: "knot-apply",
    message: "knot-message", ticks: "knot-ticks", weight: "weight-slider", weightValue: "weight-value",
    weightLabel: "weight-label", example: "example", openExample: "example-open",
    chosen: "knot-chosen", raise: "knot-raise", lower: "knot-lower", basis: "basis" });
  let knots = null; // module.knots() for the scene drawn
  let chosen = null; // the knot the multiplicity buttons change: the last one focused
  let weighed = null; // the point whose weight the slider shows

  // A change made through the core, as one step (or, while dragging, with the pass after it).
  function changed(error) {
    page.dispatch({ type: "scene", part: "knots", error: error });
  }

  const ticks = startKnotTicks(elements.ticks, elements.basis, (kind, index, value) => {
    if (kind === "choose") {
      chosen = index;
      drawChosen();
    } else if (kind === "move") {
      changed(module.moveKnot(index, value, false));
    } else if (kind === "drag") {
      const error = module.moveKnot(index, value, true);
      if (error !== "") page.dispatch({ type: "note", part: "knots", text: error + ".", error: true });
      else page.dispatch({ type: "scene", part: "knots", error: "", dragging: true });
    } else if (kind === "dropped") {
      editor.requestPass(); // the pass after the drag makes it one step
    } else if (kind === "multiplicity") {
      chosen = index;
      changed(module.changeMultiplicity(index, value));
    }
  });

  function drawChosen() {
    const knot = knots && knots.valid && chosen !== null ?
      distinctKnots(knots.knots, knots.degree).find((d) => chosen >= d.index && chosen < d.index + d.multiplicity) : null;
    setText(elements.chosen, chosenText(knot || null));
    setProperty(elements.raise, "disabled", !knot);
    setProperty(elements.lower, "disabled", !knot);
    if (knots) ticks.draw(knots, chosen);
  }

  function drawWeight(state) {
    const count = knots.points;
    const looked = state.view.looked;
    const index = looked !== null && looked < count ? looked : count > 0 ? 0 : null;
    weighed = index;
    setProperty(elements.weight, "disabled", index === null);
    setText(elements.weightLabel, weightLabel(index));
    if (index === null) {
      setText(elements.weightValue, "");
      return;
    }
    const weight = module.sliderWeight(index);
    if (document.activeElement !== elements.weight) setProperty(elements.weight, "value", String(Math.log2(weight)));
    setText(elements.weightValue, formatNumber(weight));
  }

  function render(state, previous) {
    const note = state.notes.knots;
    setText(elements.message, note ? note.text : "");
    if (!state.view.panelOpen) return;
    const reshaped = previous === null || knots === null || state.curve !== previous.curve ||
      !previous.view.panelOpen;
    if (reshaped) {
      knots = module.knots();
      elements.mode.value = knots.mode;
      if (document.activeElement !== elements.text) elements.text.value = knots.text;
      if (chosen !== null && chosen >= knots.knots.length) chosen = null;
    }
    if (reshaped || state.scene !== previous.scene || state.view.looked !== previous.view.looked) drawWeight(state);
    drawChosen(); // the ticks follow the plot's scale, which a resize changes
  }

  function attach() {
    elements.mode.addEventListener("change", () => changed(module.setKnotMode(elements.mode.value)));
    elements.apply.addEventListener("click", () => changed(module.setKnotsText(elements.text.value)));
    elements.text.addEventListener("keydown", (event) => {
      if (event.key === "Enter") changed(module.setKnotsText(elements.text.value));
    });
    elements.raise.addEventListener("click", () => {
      if (chosen !== null) changed(module.changeMultiplicity(chosen, 1));
    });
    elements.lower.addEventListener("click", () => {
      if (chosen !== null) changed(module.changeMultiplicity(chosen, -1));
    });
    // The weight on a scale of powers of 2, from 1/16 to 16; one step when the slider is let go.
    elements.weight.addEventListener("input", () => {
      const weight = Math.pow(2, Number(elements.weight.value));
      const error = module.setSliderWeight(weighed, formatNumber(Math.round(weight * 1000) / 1000), true);
      page.dispatch({ type: "scene", part: "knots", error: error, dragging: true });
    });
    elements.weight.addEventListener("change", () => editor.requestPass());
    elements.openExample.addEventListener("click", () => changed(module.openExample(elements.example.value)));
  }

  options(elements.mode, Object.entries(MODES));
  options(elements.example, module.examples().map((example) => [example.name, example.title]));
  attach();
  return { render: render };
}
