// The panel "Inside the curve": the parameter t (a slider over the editor's own samples, a field
// to type it, "Play"), whether to show the editor's float values, the points' labels; it draws
// the moment of the page's state (inside_view.js) and changes t and the point looked at through
// the page. It runs only when the state changes, never on its own, except while "Play" sweeps.
import { elementsById, FLOAT_DECIMALS, formatNumber, setAttribute, setProperty, setText } from "./helpers.js";
import { domainOf, exploredStepT, sliderOf, statusOf, tOf, typedT, SAMPLES_PER_SPAN, EXPLORED_STEPS } from "./moment.js";
import { startInsideView } from "./inside_view.js";

const SPEEDS = [0.25, 0.5, 1, 2, 4]; // spans a second while "Play" sweeps

// t now, as the slider, the field and the editor's float see it.
function momentOf(module, state, domain) {
  const t = tOf(state);
  const slider = sliderOf(domain, state.curve.domain.samples, t);
  const exactly = state.view.exact && !domain.explored;
  let exact = Math.fround(t);
  if (exactly) {
    const sample = module.sample(slider.index);
    if (sample.nominal === t) exact = sample.exact;
  }
  return { t: t, exact: exact, exactly: exactly, slider: slider,
           text: exactly ? formatNumber(exact, FLOAT_DECIMALS) : formatNumber(t) };
}


function setControls(elements, domain, at) {
  const slider = elements.slider, field = elements.field;
  for (const control of [slider, field, elements.play]) setProperty(control, "disabled", at === null);
  setProperty(elements.exact, "disabled", at === null || domain.explored);
  if (at === null) {
    slider.removeAttribute("aria-valuetext");
    setProperty(field, "value", "");
    return;
  }
  setProperty(slider, "max", String(at.slider.steps));
  setProperty(slider, "value", String(at.slider.index));
  setAttribute(slider, "aria-valuetext", "t = " + at.text);
  setProperty(field, "title", "The editor samples t = " + formatNumber(at.exact, FLOAT_DECIMALS));
  if (document.activeElement !== field) setProperty(field, "value", at.text);
}

// "Play" sweeps t through the slider's steps at the chosen pace; it stops at the end, when the
// panel closes or the curve goes. `toStep(index)` sets t; `domainNow()` is the curve's domain.
function createPlayer(elements, domainNow, toStep) {
  let play = null; // while playing: where and when it started

  function step(now) {
    if (play === null) return;
    const domain = domainNow();
    if (domain === null || !domain.hasCurve) {
      stop();
      return;
    }
    const perSpan = domain.explored ? EXPLORED_STEPS / Math.max(1, domain.points - domain.degree) : SAMPLES_PER_SPAN;
    const spans = (now - play.since) / 1000 * SPEEDS[Number(elements.speed.value)];
    const last = Number(elements.slider.max);
    const index = Math.min(play.from + Math.floor(spans * perSpan), last);
    if (index !== Number(elements.slider.value)) toStep(index);
    if (index >= last) stop();
    else requestAnimationFrame(step);
  }

  function start(at) {
    const from = at.slider.index >= at.slider.steps ? 0 : at.slider.index;
    toStep(from);
    play = { from: from, since: performance.now() };
    elements.play.textContent = "Pause";
    elements.play.setAttribute("aria-pressed", "true");
    requestAnimationFrame(step);
  }

  function stop() {
    if (play === null) return;
    play = null;
    elements.play.textContent = "Play";
    elements.play.setAttribute("aria-pressed", "false");
  }

  elements.speed.addEventListener("change", () => {
    if (play !== null) play = { from: Number(elements.slider.value), since: performance.now() };
  });
  return { start: start, stop: stop, playing: () => play !== null };
}

export function startInsidePanel(editor, page) {
  const module = editor.module;
  const elements = elementsById({ panel: "inside", toggle: "inside-toggle", status: "inside-status",
    slider: "t-slider", field: "t-value", note: "t-note", play: "t-play", speed: "t-speed",
    exact: "t-exact", labels: "show-labels", view: "inside-view", values: "basis-values",
    sum: "basis-sum", overlay: "overlay", point: "curve-point", basis: "basis", editorNote: "editor-note" });
  const view = startInsideView(module, elements, editor.geometry.worldOriginRow);
  const setView = (change) => page.dispatch({ type: "view", change: change });
  const player = createPlayer(elements, () => (page.state.view.panelOpen ? domainOf(page.state.curve) : null),
                              (index) => toStep(index));
  let shown = null; // what was drawn: { at, construction, domain }

  function render(state, previous) {
    const v = state.view;
    if (previous === null || v.panelOpen !== previous.view.panelOpen) {
      elements.panel.hidden = !v.panelOpen;
      elements.toggle.setAttribute("aria-expanded", String(v.panelOpen));
    }
    setProperty(elements.exact, "checked", v.exact);
    setProperty(elements.labels, "checked", v.pointLabels);
    setProperty(elements.speed, "value", String(v.speed));
    const note = state.notes.t;
    setText(elements.note, note ? note.text : "");
    if (!v.panelOpen) {
      player.stop();
      if (shown !== null) view.clear();
      shown = null;
      return;
    }
    if (previous !== null && shown !== null && state.scene === previous.scene && v === previous.view &&
        state.hover === previous.hover && state.curve === previous.curve) return;
    const domain = domainOf(state.curve);
    setText(elements.status, statusOf(domain, state.curve.explored));
    setProperty(elements.view, "hidden", !domain.hasCurve);
    setProperty(elements.editorNote, "hidden", domain.explored);
    const at = domain.hasCurve ? momentOf(module, state, domain) : null;
    setControls(elements, domain, at);
    if (at === null) {
      player.stop();
      view.clear();
      shown = { at: null, construction: null, domain: domain };
      return;
    }
    shown = { at: at, construction: view.draw(state, domain, at), domain: domain };
  }

  function toStep(index) {
    const domain = domainOf(page.state.curve);
    setView({ t: domain.explored ? exploredStepT(domain, index) : module.sample(index).nominal });
  }

  function typed() {
    if (shown === null || shown.at === null) return;
    const answer = typedT(elements.field.value, shown.domain, shown.at.t);
    page.dispatch({ type: "note", part: "t", text: answer.note, error: answer.t === null });
    if (answer.t !== null) setView({ t: answer.t });
    elements.field.value = answer.t === null ? shown.at.text : formatNumber(answer.t);
  }

  function look(index) {
    if (index !== page.state.view.looked) setView({ looked: index });
  }

  function attach() {
    elements.toggle.addEventListener("click", () => setView({ panelOpen: !page.state.view.panelOpen }));
    elements.slider.addEventListener("input", () => toStep(Number(elements.slider.value)));
    elements.field.addEventListener("change", typed);
    elements.exact.addEventListener("change", () => setView({ exact: elements.exact.checked }));
    elements.labels.addEventListener("change", () => setView({ pointLabels: elements.labels.checked }));
    elements.speed.addEventListener("change", () => setView({ speed: Number(elements.speed.value) }));
    elements.play.addEventListener("click", () => {
      if (player.playing()) player.stop();
      else if (shown !== null && shown.at !== null) player.start(shown.at);
    });
    // The point looked at: pointed at on the editor, in the table of weights, or on the plot.
    editor.on("pointer", (point) => {
      if (!page.state.view.panelOpen) return;
      const index = point === null ? -1 : module.pointIndexAt(point[0], point[1]);
      look(index < 0 ? null : index);
    });
    elements.basis.addEventListener("pointermove", (event) => {
      const box = elements.basis.getBoundingClientRect();
      const x = (event.clientX - box.left) * elements.basis.width / box.width;
      look(view.functionAt(x, shown !== null && shown.domain.explored));
    });
    elements.basis.addEventListener("pointerleave", () => look(null));
    elements.values.addEventListener("pointerover", (event) => {
      const line = event.target.closest("tr[data-point]");
      look(line ? Number(line.dataset.point) : null);
    });
  }

  attach();
  return {
    render: render,
    // Its overlay and basis plot drawn again for a figure.
    overlayFigure: view.overlayFigure,
    plotFigure: view.plotFigure,
    // What the panel shows, for tests and scripts.
    shown: () => {
      if (!page.state.view.panelOpen || shown === null) return null;
      const at = shown.at, c = shown.construction;
      return { domain: page.state.curve.domain, construction: c, explored: page.state.curve.explored,
        looked: page.state.view.looked, sampleIndex: at && at.slider.index,
        t: at && { exact: at.exact, nominal: at.t, index: at.slider.index },
        basis: c && { first: c.first, values: c.basis } };
    },
  };
}
