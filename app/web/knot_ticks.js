// The knots' ticks under the basis plot, one per distinct knot, placed by the plot's own scale:
// dragged, or moved with the arrow keys (Shift for finer steps); + and - change a knot's
// multiplicity. The tick that had the focus keeps it when the ticks are made again.
import { canvasScale, plotGeometry } from "./basis_plot.js";
import { roundNumber } from "./helpers.js";
import { distinctKnots, labelsWithRoom } from "./knots_text.js";

const LABEL_ROOM = 34; // CSS pixels between the labels kept

// `act(kind, index, value)`: "move" (u, dragging or not), "multiplicity" (+1 or -1), "choose".
export function startKnotTicks(container, basisCanvas, act) {
  const scaleNow = canvasScale(basisCanvas);
  let knots = [];
  let dragging = null;
  let drawnKey = "";
  let chosenShown = null;

  function geometry() {
    return plotGeometry(basisCanvas, scaleNow(), knots[0], knots[knots.length - 1]);
  }

  function draw(state, chosen) {
    const key = state.valid ? state.knots.join(" ") + " " + state.degree + " " + scaleNow() : "";
    if (key === drawnKey) {
      if (chosen === chosenShown) return;
      chosenShown = chosen;
      for (const tick of container.children) {
        const from = Number(tick.dataset.index);
        tick.classList.toggle("chosen", chosen !== null && chosen >= from && chosen < from + Number(tick.dataset.multiplicity));
      }
      return;
    }
    drawnKey = key;
    chosenShown = chosen;
    const focused = container.contains(document.activeElement);
    container.textContent = "";
    if (!state.valid) return;
    knots = state.knots;
    const g = geometry();
    const distinct = distinctKnots(knots, state.degree);
    const box = container.getBoundingClientRect().width || basisCanvas.width;
    const shownLabels = labelsWithRoom(distinct.map((knot) => g.x(knot.u) / g.canvasWidth * box), LABEL_ROOM);
    distinct.forEach((knot, n) => {
      const tick = document.createElement("button");
      tick.type = "button";
      tick.className = "knot";
      tick.dataset.index = String(knot.index);
      tick.dataset.multiplicity = String(knot.multiplicity);
      tick.setAttribute("role", "slider");
      tick.setAttribute("aria-valuenow", String(knot.u));
      tick.setAttribute("aria-valuetext", knot.valueText);
      tick.setAttribute("aria-label", knot.name);
      tick.textContent = shownLabels[n] ? knot.label : "";
      tick.style.left = g.x(knot.u) / g.canvasWidth * 100 + "%";
      tick.style.setProperty("--stack", String(knot.multiplicity));
      const holds = chosen !== null && chosen >= knot.index && chosen < knot.index + knot.multiplicity;
      tick.classList.toggle("chosen", holds);
      container.append(tick);
      if (holds && focused) tick.focus();
    });
  }

  function tickOf(event) {
    const tick = event.target.closest(".knot");
    return tick ? Number(tick.dataset.index) : null;
  }

  container.addEventListener("focusin", (event) => {
    const index = tickOf(event);
    if (index !== null) act("choose", index);
  });
  container.addEventListener("keydown", (event) => {
    const index = tickOf(event);
    if (index === null) return;
    const step = event.shiftKey ? 0.01 : 0.1;
    const u = knots[index];
    if (event.key === "ArrowLeft" || event.key === "ArrowDown") act("move", index, roundNumber(u - step));
    else if (event.key === "ArrowRight" || event.key === "ArrowUp") act("move", index, roundNumber(u + step));
    else if (event.key === "+" || event.key === "=") act("multiplicity", index, 1);
    else if (event.key === "-") act("multiplicity", index, -1);
    else return;
    event.preventDefault();
  });
  container.addEventListener("pointerdown", (event) => {
    const index = tickOf(event);
    if (index === null) return;
    dragging = index;
    event.target.closest(".knot").setPointerCapture(event.pointerId);
    event.preventDefault();
    event.target.closest(".knot").focus();
  });
  container.addEventListener("pointermove", (event) => {
    if (dragging === null) return;
    const box = container.getBoundingClientRect();
    const g = geometry();
    const u = g.u((event.clientX - box.left) / box.width * g.canvasWidth);
    act("drag", dragging, Math.round(u * 100) / 100);
  });
  container.addEventListener("pointerup", () => {
    if (dragging !== null) act("dropped", dragging);
    dragging = null;
  });

  return { draw: draw };
}
