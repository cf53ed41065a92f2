// The panel "Inside the curve" (its numbers come from inside_panel.cpp): the parameter t, de
// Boor's construction at t drawn over the editor (on a canvas of its own), the points' labels,
// and the basis functions; for the editor's curve in its own arithmetic, or for the curve the
// page's knots and weights explore, drawn beside it. The point looked at (pointed at on the
// editor, in a table or on the plot) is marked in every view. It runs only when the page shows
// a frame or a control changes, never on its own, except while "Play" sweeps t.
import { startBasisPlot, startGeneralPlot } from "./basis_plot.js";
import { colourOf, startOverlay } from "./inside_overlay.js";

const EXPLORED_STEPS = 200; // the slider's steps over an explored curve's domain
const SPEEDS = [0.25, 0.5, 1, 2, 4]; // spans a second while "Play" sweeps

// A value to six decimals, without trailing zeros; t's nominal values to at least one.
function format(value) {
  return String(Math.round(value * 1e6) / 1e6);
}

function formatT(value) {
  const text = format(value);
  return text.indexOf(".") < 0 ? text + ".0" : text;
}

export function startInsidePanel(editor) {
  const module = editor.module;
  const row = editor.geometry.worldOriginRow;
  const ids = { panel: "inside", toggle: "inside-toggle", status: "inside-status",
              slider: "t-slider", field: "t-value", note: "t-note", play: "t-play",
              speed: "t-speed", exact: "t-exact", labels: "show-labels", view: "inside-view",
              values: "basis-values", sum: "basis-sum", overlay: "overlay", point: "curve-point",
              basis: "basis", editorNote: "editor-note" };
  const elements = {};
  Object.keys(ids).forEach(function (name) { elements[name] = document.getElementById(ids[name]); });
  const plot = startBasisPlot(module, elements.basis, colourOf);
  const overlay = startOverlay(module, elements.overlay, row);
  const general = startGeneralPlot(elements.basis, function (j) { return colourOf(nameOf(j)); }, nameOf);
  let open = false;
  let domain = null;
  let explored = null; // module.explored(): the editor's curve, or the one the knots explore
  let looked = null;   // the point looked at
  // What the user chose: a sample of the editor's (the slider, "Play") or a value typed.
  let choice = { sample: 0 };
  let at = null; // t now: { exact (float32, where the editor samples), nominal, index }
  let construction = null;
  let play = null; // while "Play" sweeps: where and when it started
  // How the triangle is shown (the operations part chooses): its points' names ("names",
  // "blossoms" or "none") and the levels drawn (all when null); and the span pointed at.
  let triangleView = { labels: "none", level: null };
  let lookedSpan = null;
  let triangleNames = { key: "", names: null };

  // A closed curve's wrapped points are its first points again.
  function nameOf(j) {
    const count = explored ? explored.points : 0;
    return explored && explored.mode === "closed" && !explored.editors && count > 0 ?
      j % (count - explored.degree) : j;
  }

  function isExplored() {
    return explored !== null && !explored.editors;
  }

  // t from the user's choice, within the domain; the slider at the chosen sample or at the
  // one nearest the value typed.
  function settle(previous) {
    if (isExplored()) {
      const first = explored.first, last = explored.last, step = (last - first) / EXPLORED_STEPS;
      if (choice.sample !== undefined) {
        const index = Math.min(Math.max(choice.sample, 0), EXPLORED_STEPS);
        const value = index === EXPLORED_STEPS ? last : first + step * index;
        at = { exact: value, nominal: value, index: index };
      } else {
        const typed = Math.min(Math.max(choice.value, first), last);
        at = { exact: typed, nominal: typed, index: Math.round((typed - first) / step) };
      }
      return;
    }
    const k = domain.degree, n = domain.points;
    if (previous && previous.degree !== k && choice.sample !== undefined && at !== null) {
      choice = { sample: Math.max(0, Math.round((at.nominal - k) * 10)) }; // the same t, roughly
    }
    if (choice.sample !== undefined) {
      at = module.sample(choice.sample);
    } else {
      const value = Math.min(Math.max(choice.value, k), n);
      const nearest = module.sample(Math.round((value - k) * 10));
      at = { exact: Math.fround(value), nominal: value, index: nearest.index };
    }
  }

  function setStatus(text) {
    if (elements.status.textContent !== text) elements.status.textContent = text;
  }

  function exact() {
    return elements.exact.checked;
  }

  function update() {
    if (!open) return;
    const previous = domain;
    domain = editor.curveDomain();
    explored = module.explored();
    if (isExplored()) {
      updateExplored();
      return;
    }
    elements.view.hidden = !domain.hasCurve;
    elements.editorNote.hidden = false;
    if (!domain.hasCurve) {
      const word = domain.needed === 1 ? "point" : "points";
      showNoCurve(domain.degree === 0 ? "No curve." : "Place " + domain.needed +
        " more " + word + " for a curve of degree " + domain.degree + ".");
      return;
    }
    setStatus("Degree " + domain.degree + " over " + domain.points +
      " points: t runs from " + domain.degree + " to " + domain.points + ".");
    settle(previous);
    setControls(true);
    construction = module.construction(at.exact);
    drawOverlay();
    const shown = exact() ? at.exact : at.nominal;
    const g = plot.draw(domain.degree, domain.points, construction.first, shown, tText(), looked);
    markSpan(g);
    editor.emit("plotted", g);
    fillValues(module.basisAt(shown));
    showPoint(construction.point);
    editor.emit("t", { t: at.exact, text: tText() });
  }

  // The curve of the page's knots and weights: its domain, construction and basis.
  function updateExplored() {
    const count = explored.points;
    if (explored.fault !== "") {
      elements.view.hidden = true;
      showNoCurve("The explored curve cannot be drawn: " + explored.fault + ".");
      return;
    }
    elements.view.hidden = false;
    elements.editorNote.hidden = true;
    setStatus("Explored: " + explored.mode + " knots, degree " + explored.degree + " over " +
      count + " points" + (explored.mode === "closed" ? " (the first " + explored.degree +
      " again at the end)" : "") + ": t runs from " + format(explored.first) + " to " +
      format(explored.last) + ".");
    settle(null);
    setControls(true);
    construction = module.exploredAt(at.exact);
    drawOverlay();
    const g = general.draw(explored, module.exploredBasis, construction.first, at.exact, tText(),
                         looked);
    markSpan(g);
    editor.emit("plotted", g);
    fillValues({ first: construction.first, values: construction.basis });
    showPoint(construction.point);
    editor.emit("t", { t: at.exact, text: tText() });
  }

  // No curve to explain: why not, and nothing at t.
  function showNoCurve(status) {
    setStatus(status);
    stopPlaying();
    setControls(false);
    construction = null;
    drawOverlay();
    editor.emit("t", null);
  }

  // The span pointed at (its Bezier piece), shaded on the plot.
  function markSpan(g) {
    if (lookedSpan === null) return;
    const context = elements.basis.getContext("2d");
    context.fillStyle = "rgba(255, 190, 0, 0.3)";
    context.fillRect(g.x(lookedSpan.first), g.margin.top, g.x(lookedSpan.last) - g.x(lookedSpan.first),
                     g.height);
  }

  function showPoint(point) {
    const text = "C(" + tText() + ") = (" + format(point.x) + ", " + format(point.y) + ")";
    if (elements.point.textContent !== text) elements.point.textContent = text;
  }

  function tText() {
    if (isExplored()) return format(at.nominal);
    return exact() ? format(at.exact) : formatT(at.nominal);
  }

  function setControls(enabled) {
    const slider = elements.slider, field = elements.field;
    slider.disabled = field.disabled = elements.play.disabled = !enabled;
    if (!enabled) {
      slider.removeAttribute("aria-valuetext");
      field.value = "";
      return;
    }
    slider.max = String(isExplored() ? EXPLORED_STEPS : domain.samples - 1);
    slider.value = String(at.index);
    slider.setAttribute("aria-valuetext", "t = " + tText());
    field.title = "The editor samples t = " + format(at.exact);
    if (document.activeElement !== field) field.value = tText();
  }

  function drawOverlay() {
    if (!open) {
      overlay.clear();
      return;
    }
    let names = null;
    if (construction !== null && triangleView.labels !== "none") {
      // The names change with t and the knots only, not while a point is dragged.
      const key = at.exact + " " + explored.key + " " + domain.points;
      if (triangleNames.key !== key) triangleNames = { key: key, names: module.triangleLabels(at.exact) };
      names = triangleNames.names;
    }
    overlay.draw({ explored: isExplored() ? explored : null, construction: construction,
                   points: domain.points, looked: looked, labels: elements.labels.checked,
                   nameOf: nameOf, triangle: { names: names, blossoms: triangleView.labels === "blossoms",
                                               level: triangleView.level } });
  }

  function fillValues(basis) {
    const body = elements.values.tBodies[0];
    body.textContent = "";
    let sum = 0;
    const count = isExplored() ? explored.points : domain.points;
    basis.values.forEach(function (value, j) {
      const index = basis.first + j;
      if (index < 0 || index >= count) return;
      const name = nameOf(index);
      sum += value;
      const line = body.insertRow();
      const swatch = document.createElement("span");
      swatch.className = "swatch";
      swatch.style.background = colourOf(name);
      const head = document.createElement("th");
      head.scope = "row";
      head.appendChild(swatch);
      head.appendChild(document.createTextNode("P" + name));
      line.appendChild(head);
      line.dataset.point = String(name);
      if (name === looked) line.className = "looked";
      line.insertCell().textContent = value.toFixed(6);
    });
    elements.sum.textContent = sum.toFixed(6);
  }

  function note(text) {
    elements.note.textContent = text;
  }

  // A typed t: a number in the domain is taken; one outside it is brought to the nearer end,
  // and anything else is refused; either way the field shows the t now and a note says why.
  function typed() {
    const text = elements.field.value.trim();
    let value = Number(text);
    if (!domain || (!domain.hasCurve && !isExplored())) return;
    const lowest = isExplored() ? explored.first : domain.degree;
    const highest = isExplored() ? explored.last : domain.points;
    if (text === "" || !isFinite(value)) {
      note("\u201c" + text + "\u201d is not a number: t stays " + tText() + ".");
      elements.field.value = tText();
      return;
    }
    if (value < lowest || value > highest) {
      const end = value < lowest ? lowest : highest;
      note("t runs from " + format(lowest) + " to " + format(highest) + ": " + text +
        " is outside, so t is " + format(end) + ".");
      value = end;
    } else {
      note("");
    }
    choice = { value: value };
    update();
    elements.field.value = tText();
  }

  function toSample(n) {
    choice = { sample: n };
    note("");
    update();
  }

  // "Play" sweeps t through the samples at the chosen pace, ten samples a span; it stops at the
  // end.
  function step(now) {
    if (play === null) return;
    if (!open || !domain || (!domain.hasCurve && !isExplored())) {
      stopPlaying();
      return;
    }
    const spans = (now - play.since) / 1000 * SPEEDS[Number(elements.speed.value)];
    const last = lastSample();
    const perSpan = isExplored() ? EXPLORED_STEPS / Math.max(1, explored.points - explored.degree) : 10;
    const index = Math.min(play.from + Math.floor(spans * perSpan), last);
    if (index !== at.index || choice.sample === undefined) toSample(index);
    if (index >= last) stopPlaying();
    else requestAnimationFrame(step);
  }

  function lastSample() {
    return isExplored() ? EXPLORED_STEPS : domain.samples - 1;
  }

  function startPlaying() {
    if (!domain || (!domain.hasCurve && !isExplored()) || at === null) return;
    const from = at.index >= lastSample() ? 0 : at.index;
    toSample(from);
    play = { from: from, since: performance.now() };
    elements.play.textContent = "Pause";
    elements.play.setAttribute("aria-pressed", "true");
    requestAnimationFrame(step);
  }

  function stopPlaying() {
    play = null;
    elements.play.textContent = "Play";
    elements.play.setAttribute("aria-pressed", "false");
  }

  function setOpen(value) {
    open = value;
    elements.panel.hidden = !open;
    elements.toggle.setAttribute("aria-expanded", String(open));
    if (open) update();
    else stopPlaying();
    drawOverlay();
    editor.emit("panel", open);
    if (!open) editor.emit("t", null);
  }

  elements.toggle.addEventListener("click", function () { setOpen(!open); });
  elements.slider.addEventListener("input", function () { toSample(Number(elements.slider.value)); });
  elements.field.addEventListener("change", typed);
  elements.exact.addEventListener("change", update);
  elements.labels.addEventListener("change", drawOverlay);
  elements.speed.addEventListener("change", function () {
    if (play !== null) play = { from: at.index, since: performance.now() };
  });
  elements.play.addEventListener("click", function () {
    if (play !== null) stopPlaying();
    else startPlaying();
  });
  editor.on("frame", update);
  editor.on("explored", function () {
    choice = { sample: 0 };
    update();
  });
  // The point looked at: pointed at on the editor, in a table's row, or on the plot.
  editor.on("look", function (index) {
    if (index === looked) return;
    looked = index;
    update();
  });
  editor.on("pointer", function (point) {
    if (!open) return;
    const index = point === null ? -1 : module.pointIndexAt(point[0], point[1]);
    editor.emit("look", index < 0 ? null : index);
  });
  elements.basis.addEventListener("pointermove", function (event) {
    const box = elements.basis.getBoundingClientRect();
    const x = (event.clientX - box.left) * elements.basis.width / box.width;
    editor.emit("look", isExplored() ? general.functionAt(x) : plot.functionAt(x));
  });
  elements.basis.addEventListener("pointerleave", function () { editor.emit("look", null); });
  elements.values.addEventListener("pointerover", function (event) {
    const line = event.target.closest("tr[data-point]");
    editor.emit("look", line ? Number(line.dataset.point) : null);
  });
  editor.on("triangle-view", function (view) {
    triangleView = view;
    update();
  });
  editor.on("span-look", function (span) {
    lookedSpan = span;
    update();
  });
  // The link keeps whether the panel is open and t.
  editor.on("view-save", function (view) {
    if (!open) return;
    view.panel = "open";
    if (at !== null && construction !== null) view.t = String(at.nominal);
  });
  editor.on("view-check", function (check) {
    check.known.panel = check.known.t = true;
    if ("panel" in check.view && check.view.panel !== "open") check.errors.push("panel=open is the panel's one setting");
    if ("t" in check.view && !/^-?[0-9]+(\.[0-9]+)?(e-?[0-9]+)?$/.test(check.view.t)) {
      check.errors.push("t=" + check.view.t + " is not a number");
    }
  });
  editor.on("view-restore", function (view) {
    if (view.t !== undefined) choice = { value: Number(view.t) };
    if (view.panel === "open" && !open) setOpen(true);
    else update();
  });
  // What the panel shows, for tests and scripts.
  window.insidePanelState = function () {
    const basis = isExplored() ? construction && { first: construction.first, values: construction.basis } :
      domain && domain.hasCurve ? module.basisAt(exact() ? at.exact : at.nominal) : null;
    return open ? { domain: domain, construction: construction, sampleIndex: at && at.index,
                    t: at, explored: explored, looked: looked, basis: basis } : null;
  };
}
