// What the operations part shows of one moment: the refinement's note and knots, the raised
// degree's note, the values at t, the continuity at the knots, and the overlay over the editor.
import { setText, throttle } from "./helpers.js";
import { startOperationsOverlay } from "./operations_overlay.js";
import { continuityLines, insertionNote, knotsAround, raisedNote, valueRows } from "./operations_text.js";

const MOST_TICK_SPANS = 40;   // ticks are drawn up to 10 a span over this many spans
const MOST_LISTED_KNOTS = 20; // knots whose continuity is listed, those nearest t
const COMB_TEETH = 600;       // the comb's steps over the whole curve, 1 to 16 a span
const NUMBERS_INTERVAL = 100; // milliseconds between writes of the numbers a drag changes

// The items as text, the knots equal to t written as t is shown and the new ones marked;
// written again only when they read otherwise.
function fillKnots(target, items, text) {
  const key = items.map((item) => (item.copy ? text : item.text) + (item.fresh ? "*" : "")).join(" ");
  if (target.dataset.key === key) return;
  target.dataset.key = key;
  target.textContent = "";
  items.forEach((item, j) => {
    const element = document.createElement(item.fresh ? "mark" : "span");
    element.textContent = item.copy ? text : item.text;
    target.append(element, j + 1 < items.length ? " " : "");
  });
}

function fillList(list, lines) {
  const key = lines.join("\n");
  if (list.dataset.key === key) return;
  list.dataset.key = key;
  list.textContent = "";
  for (const line of lines) list.append(Object.assign(document.createElement("li"), { textContent: line }));
}

export function startOperationsView(module, elements, geometry) {
  const overlay = startOperationsOverlay(elements.overlay, geometry.worldOriginRow);
  let wasEmpty = false;
  let numbers = null; // the values at t and the continuity, written by writeNumbers
  const writeNumbers = throttle(() => {
    fillValues(numbers.at);
    fillList(elements.continuity, elements.continuityBox.open ?
      continuityLines(module.continuity(numbers.t, MOST_LISTED_KNOTS), numbers.at.degree) : []);
  }, NUMBERS_INTERVAL);

  function describe(at, raised, text, t) {
    setText(elements.insertNote, insertionNote(at, text));
    fillKnots(elements.knots, at.inserted === 0 ? [] : knotsAround(at.refinedKnots, t, at.inserted), text);
    if (!raised || raised.fault !== "") {
      setText(elements.raisedNote, raised ? "The degree cannot be raised: " + raised.fault + "." : "");
      return;
    }
    const words = raisedNote(raised);
    if (elements.raisedNote.firstChild === null || elements.raisedNote.firstChild.textContent !== words) {
      elements.raisedNote.textContent = "";
      elements.raisedNote.append(words, document.createElement("span"));
    }
    fillKnots(elements.raisedNote.lastChild, knotsAround(raised.knots, t, 0), text);
  }

  function fillValues(at) {
    const body = elements.values.tBodies[0];
    valueRows(at).forEach(([head, value], j) => {
      let line = body.rows[j];
      if (!line) {
        line = body.insertRow();
        line.append(Object.assign(document.createElement("th"), { scope: "row", textContent: head }));
        line.insertCell();
      }
      setText(line.cells[1], value);
    });
  }

  // What the overlay draws at t with the view's insertions and views, or null with no curve.
  function drawnAt(state, t) {
    const v = state.view;
    const at = module.operationsAt(t, v.insertions);
    if (at.fault !== "") return null;
    const on = (name) => v.shown.includes(name);
    const tickCount = at.spans <= MOST_TICK_SPANS ? 10 * at.spans : 0;
    const span = state.hover.span;
    return { at: at, insertion: true, highlighted: span === null ? -1 : span.index,
      combScale: Math.pow(2, v.combScale),
      // Each view of the core's numbers copied at once: the next call reuses their memory.
      pieces: on("pieces") ? module.bezierPieces() : null,
      raised: on("raised") ? module.raisedDegree() : null,
      first: on("first"), second: on("second"),
      comb: on("comb") ? module.curvatureComb(Math.max(1, Math.min(16, Math.floor(COMB_TEETH / at.spans)))) : null,
      ticks: on("ticks") && tickCount > 0 ? module.lengthTicks(tickCount) : null };
  }

  let last = null; // what was drawn last, made again for a figure: { state, t }
  return {
    clear: () => {
      overlay.clear();
      wasEmpty = true;
      last = null;
    },
    // What the overlay shows, drawn again on the canvas of a figure; false when nothing is.
    overlayFigure: (canvas) => {
      const drawn = last === null ? null : drawnAt(last.state, last.t);
      if (drawn === null) return false;
      startOperationsOverlay(canvas, geometry.worldOriginRow).draw(drawn);
      return true;
    },
    // At t with the view's insertions and views; returns what was drawn, or null.
    draw: (state, t, text) => {
      const drawn = drawnAt(state, t);
      if (drawn === null) {
        overlay.clear();
        wasEmpty = true;
        return null;
      }
      last = { state: state, t: t };
      const at = drawn.at;
      const on = (name) => state.view.shown.includes(name);
      const tickCount = at.spans <= MOST_TICK_SPANS ? 10 * at.spans : 0;
      // Nothing to draw is cleared once, not every frame.
      const empty = !drawn.pieces && !drawn.raised && !drawn.first && !drawn.second && !drawn.comb &&
        !drawn.ticks && at.inserted === 0;
      if (!empty || !wasEmpty) overlay.draw(drawn);
      wasEmpty = empty;
      describe(at, drawn.raised, text, t);
      setText(elements.ticksNote, !on("ticks") ? "" : tickCount === 0 ?
        "Ticks are drawn up to " + MOST_TICK_SPANS + " spans." :
        "Blue ticks: equal steps of t (10 a span, as the editor samples); black: equal arc length.");
      numbers = { at: at, t: t };
      writeNumbers(state.scene.pressed);
      return drawn;
    },
  };
}
