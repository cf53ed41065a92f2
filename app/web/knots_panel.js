// The panel's "Knots, ends and weights" (its C++ side is knots_panel.cpp): the knot vector's
// mode (the editor's uniform knots, clamped, closed, custom), the vector as text and as ticks
// under the basis plot (dragged, or moved with the arrow keys; + and - change a knot's
// multiplicity), the weight of the point being looked at, and example scenes. The explored
// curve itself is drawn and explained by the panel "Inside the curve"; the editor's own curve
// never changes.
const MODES = { uniform: "Uniform 0, 1, 2, \u2026 (the editor's)", clamped: "Clamped (open uniform)",
              closed: "Closed (periodic)", custom: "Custom" };
const SUPERSCRIPT = { "-": "\u207b", "0": "\u2070", "1": "\u00b9", "2": "\u00b2", "3": "\u00b3",
                    "4": "\u2074", "5": "\u2075", "6": "\u2076", "7": "\u2077", "8": "\u2078",
                    "9": "\u2079" };

function superscript(number) {
  return String(number).split("").map(function (c) { return SUPERSCRIPT[c] || c; }).join("");
}

export function startKnotsPanel(editor) {
  const module = editor.module;
  const elements = {};
  ["mode:knot-mode", "text:knot-text", "apply:knot-apply", "message:knot-message",
   "ticks:knot-ticks", "weight:weight-slider", "weightValue:weight-value",
   "weightLabel:weight-label", "example:example", "openExample:example-open",
   "chosen:knot-chosen", "raise:knot-raise", "lower:knot-lower"]
    .forEach(function (pair) {
      const parts = pair.split(":");
      elements[parts[0]] = document.getElementById(parts[1]);
    });
  let open = false;
  let state = null;
  let looked = null; // the point being looked at, for its weight
  let dragging = null;
  let plotScale = null; // the basis plot's scale: u to x and back, in its canvas's pixels
  let chosen = null; // the knot the multiplicity buttons change: the last one focused

  Object.keys(MODES).forEach(function (mode) {
    const option = document.createElement("option");
    option.value = mode;
    option.textContent = MODES[mode];
    elements.mode.appendChild(option);
  });
  module.examples().forEach(function (example) {
    const option = document.createElement("option");
    option.value = example.name;
    option.textContent = example.title;
    elements.example.appendChild(option);
  });

  function say(text) {
    if (elements.message.textContent !== text) elements.message.textContent = text;
  }

  // Each change is one step through the core; the page then shows it as a pass would.
  function change(error) {
    say(error === "" ? "" : error + ".");
    editor.requestPass();
    if (error === "") editor.emit("explored");
    refresh();
  }

  // The knots' ticks under the plot, one per distinct knot, placed by the plot's own scale.
  function drawTicks() {
    const ticks = elements.ticks;
    ticks.textContent = "";
    if (!state.valid) return;
    const scale = plotScale;
    if (!scale) return;
    const k = state.degree, knots = state.knots, last = knots.length - 1;
    for (let j = 0; j <= last; ) {
      let m = 1;
      while (j + m <= last && knots[j + m] === knots[j]) ++m;
      const tick = document.createElement("button");
      tick.type = "button";
      tick.className = "knot";
      tick.dataset.index = String(j);
      tick.dataset.multiplicity = String(m);
      tick.setAttribute("role", "slider");
      tick.setAttribute("aria-valuenow", String(knots[j]));
      tick.setAttribute("aria-valuetext", "u = " + knots[j] + (m > 1 ? ", " + m + " times" : "") +
        (j > k && j + m - 1 < knots.length - k - 1 ? ", leaves C" + superscript(k - m) : ""));
      tick.setAttribute("aria-label", "Knot " + j + (m > 1 ? " to " + (j + m - 1) : ""));
      const interior = j > 0 && j + m - 1 < last;
      tick.textContent = (m > 1 ? m + "\u00d7" : "") +
        (interior && j >= k && j + m - 1 <= knots.length - k - 1 ? " C" + superscript(k - m) : "");
      tick.style.left = scale.x(knots[j]) / scale.canvasWidth * 100 + "%";
      tick.style.setProperty("--stack", String(m));
      if (chosen !== null && chosen >= j && chosen < j + m) {
        tick.classList.add("chosen");
        elements.chosen.textContent = "Knot u = " + knots[j] + (m > 1 ? ", " + m + " times" : "");
      }
      ticks.appendChild(tick);
      j += m;
    }
  }

  // The knots follow the points' count and the degree; a frame that changes neither (a drag)
  // leaves them as they are; the ticks are placed again only when the plot's scale has changed.
  let shownFor = "";
  let placedFor = "";
  function update() {
    if (!open) return;
    const domain = editor.curveDomain();
    const key = domain.points + " " + domain.degree;
    if (state === null || key !== shownFor) {
      shownFor = key;
      state = module.knots();
      elements.mode.value = state.mode;
      if (document.activeElement !== elements.text) elements.text.value = state.text;
      drawTicks();
    }
    updateWeight();
  }

  function refresh() {
    shownFor = "";
    placedFor = "";
    update();
  }

  function updateWeight() {
    const count = state ? state.points : 0;
    const index = looked !== null && looked < count ? looked : count > 0 ? 0 : null;
    elements.weight.disabled = index === null;
    if (index === null) {
      elements.weightLabel.textContent = "Weight";
      elements.weightValue.textContent = "";
      return;
    }
    const weight = module.sliderWeight(index);
    elements.weightLabel.textContent = "Weight of P" + index;
    elements.weight.dataset.index = String(index);
    if (document.activeElement !== elements.weight) elements.weight.value = String(Math.log2(weight));
    elements.weightValue.textContent = String(Math.round(weight * 1e6) / 1e6);
  }

  // The knot a tick stands for, moved to u (kept between its neighbours by the core); while
  // dragged, the views follow and the pass after the drag makes it one step.
  function moveTick(tick, u, drag) {
    const error = module.moveKnot(Number(tick.dataset.index), u, Boolean(drag));
    if (drag) {
      say(error === "" ? "" : error + ".");
      if (error === "") editor.emit("explored");
      refresh();
    } else {
      change(error);
    }
    const again = elements.ticks.querySelector("[data-index='" + tick.dataset.index + "']");
    if (again) again.focus();
  }

  elements.mode.addEventListener("change", function () { change(module.setKnotMode(elements.mode.value)); });
  elements.apply.addEventListener("click", function () { change(module.setKnotsText(elements.text.value)); });
  elements.text.addEventListener("keydown", function (event) {
    if (event.key === "Enter") change(module.setKnotsText(elements.text.value));
  });
  elements.ticks.addEventListener("focusin", function (event) {
    const tick = event.target.closest(".knot");
    if (!tick) return;
    chosen = Number(tick.dataset.index);
    elements.ticks.querySelectorAll(".knot").forEach(function (other) {
      other.classList.toggle("chosen", other === tick);
    });
    elements.chosen.textContent = "Knot u = " + state.knots[chosen] +
      (Number(tick.dataset.multiplicity) > 1 ? ", " + tick.dataset.multiplicity + " times" : "");
  });
  elements.raise.addEventListener("click", function () {
    if (chosen !== null) change(module.changeMultiplicity(chosen, 1));
  });
  elements.lower.addEventListener("click", function () {
    if (chosen !== null) change(module.changeMultiplicity(chosen, -1));
  });
  elements.ticks.addEventListener("keydown", function (event) {
    const tick = event.target.closest(".knot");
    if (!tick) return;
    const index = Number(tick.dataset.index);
    const u = state.knots[index];
    const step = event.shiftKey ? 0.01 : 0.1;
    if (event.key === "ArrowLeft" || event.key === "ArrowDown") moveTick(tick, u - step);
    else if (event.key === "ArrowRight" || event.key === "ArrowUp") moveTick(tick, u + step);
    else if (event.key === "+" || event.key === "=") change(module.changeMultiplicity(index, 1));
    else if (event.key === "-") change(module.changeMultiplicity(index, -1));
    else return;
    event.preventDefault();
  });
  elements.ticks.addEventListener("pointerdown", function (event) {
    const tick = event.target.closest(".knot");
    if (!tick) return;
    dragging = tick;
    tick.setPointerCapture(event.pointerId);
    event.preventDefault();
    tick.focus();
  });
  elements.ticks.addEventListener("pointermove", function (event) {
    if (!dragging) return;
    const scale = plotScale;
    if (!scale) return;
    const box = elements.ticks.getBoundingClientRect();
    const u = scale.u((event.clientX - box.left) / box.width * scale.canvasWidth);
    moveTick(dragging, Math.round(u * 100) / 100, true);
  });
  elements.ticks.addEventListener("pointerup", function () {
    if (dragging) editor.requestPass();
    dragging = null;
  });
  // The weight on a scale of powers of 2, from 1/16 to 16; one step when the slider is let go.
  elements.weight.addEventListener("input", function () {
    const weight = Math.pow(2, Number(elements.weight.value));
    const error = module.setSliderWeight(Number(elements.weight.dataset.index),
                                       String(Math.round(weight * 1000) / 1000), true);
    say(error === "" ? "" : error + ".");
    editor.emit("explored");
    refresh();
  });
  elements.weight.addEventListener("change", function () { editor.requestPass(); });
  elements.openExample.addEventListener("click", function () {
    change(module.openExample(elements.example.value));
  });
  editor.on("panel", function (shown) {
    open = shown;
    refresh();
  });
  editor.on("explored", function () {
    if (open) refresh();
  });
  editor.on("frame", update);
  editor.on("plotted", function (scale) {
    plotScale = scale;
    const key = state ? scale.canvasWidth + " " + scale.x(state.knots[0]) + " " +
      scale.x(state.knots[state.knots.length - 1]) : "";
    if (open && state && key !== placedFor) {
      placedFor = key;
      drawTicks();
    }
  });
  editor.on("look", function (index) {
    if (index === null) return;
    looked = index;
    if (open) updateWeight();
  });
}
