// The pointer on the editor's canvas, as the core's messages: presses and releases of the left
// and right buttons, moves over the canvas; a finger's press taken to the point within its reach.
// The canvas's place on the page is asked of the layout only when it may have moved (a resize,
// a scroll, the page above it changing size), not on every move.

// A finger covers far more than a point's pick square: a finger's press within reach of a
// point's marker goes to the point itself, and its moves keep that offset.
const FINGER_REACH = 24; // CSS pixels

function buttonMask(button) {
  return button === 0 ? 1 : button === 2 ? 2 : 0;
}

function isFinger(event) {
  return event.pointerType === "touch" || event.pointerType === "pen";
}

function inside(value, size) {
  return Math.min(Math.max(value, 0), size - 1);
}

// The canvas's box, measured again only after something that can move it.
function canvasBox(canvas, above) {
  let box = null;
  const forget = () => { box = null; };
  addEventListener("resize", forget);
  addEventListener("scroll", forget, { capture: true, passive: true });
  if (typeof ResizeObserver === "function") {
    const observer = new ResizeObserver(forget);
    for (const element of [canvas, ...above]) observer.observe(element);
  }
  return () => {
    if (box === null) box = canvas.getBoundingClientRect();
    return box;
  };
}

// `send(kind, x, y)` queues a message; `events` names the kinds; `reach(x, y, r)` finds the
// point a finger reaches; `pointerAt(point or null)` reports the pixel under the pointer.
export function attachPointer(canvas, above, events, send, reach, pointerAt) {
  const box = canvasBox(canvas, above);
  const fingers = {}; // by pointer: the offset from the finger to the point it took
  let held = 0; // buttons pressed on the canvas and not yet released
  let lastPointer = null;

  // The canvas pixel under the pointer, at any zoom or device pixel ratio; null off it.
  function canvasPoint(event) {
    const b = box();
    const x = Math.floor((event.clientX - b.left) * canvas.width / b.width);
    const y = Math.floor((event.clientY - b.top) * canvas.height / b.height);
    return x >= 0 && y >= 0 && x < canvas.width && y < canvas.height ? [x, y] : null;
  }

  function pointOf(event) {
    const point = canvasPoint(event);
    const offset = fingers[event.pointerId];
    if (point === null || !offset) return point;
    return [inside(point[0] + offset[0], canvas.width), inside(point[1] + offset[1], canvas.height)];
  }

  // A finger's press: first a move to where it lands, as a mouse would have made, taken to the
  // first placed point within reach; the editor's own pick then decides.
  function touchDown(event) {
    const point = canvasPoint(event);
    if (point === null) return;
    const reached = reach(point[0], point[1], FINGER_REACH * canvas.width / box().width);
    fingers[event.pointerId] = [0, 0];
    const x = reached.clientX, y = reached.clientY;
    if (reached.found && x >= 0 && y >= 0 && x < canvas.width && y < canvas.height) {
      fingers[event.pointerId] = [x - point[0], y - point[1]];
    }
    const at = pointOf(event);
    send(events.move, at[0], at[1]);
  }

  function press(button, event) {
    const point = pointOf(event);
    if (point === null || (button !== 0 && button !== 2)) return;
    held |= buttonMask(button);
    send(button === 0 ? events.ldown : events.rdown, point[0], point[1]);
  }

  // A release anywhere ends a press that began on the canvas.
  function release(button) {
    if (!(held & buttonMask(button))) return;
    held &= ~buttonMask(button);
    send(button === 0 ? events.lup : events.rup, 0, 0);
  }

  function report(point) {
    if (point === null && lastPointer === null) return;
    lastPointer = point;
    pointerAt(point);
  }

  canvas.addEventListener("pointerdown", (event) => {
    canvas.focus();
    try {
      canvas.setPointerCapture(event.pointerId); // releases outside the page come here too
    } catch (error) {
      // Without capture, releases are still seen anywhere on the page.
    }
    if (isFinger(event)) touchDown(event);
    press(event.button, event);
    event.preventDefault();
  });
  document.addEventListener("pointermove", (event) => {
    if (event.button !== -1) {
      // A second button pressed or released while another is down.
      if (event.buttons & buttonMask(event.button)) press(event.button, event);
      else release(event.button);
    }
    const point = pointOf(event);
    if (point !== null) send(events.move, point[0], point[1]); // nothing off the canvas
    report(point);
  });
  canvas.addEventListener("pointerleave", () => report(null));
  document.addEventListener("pointerup", (event) => {
    delete fingers[event.pointerId];
    release(event.button);
  });
  document.addEventListener("pointercancel", (event) => {
    delete fingers[event.pointerId];
    if (isFinger(event)) release(0);
  });
  canvas.addEventListener("contextmenu", (event) => event.preventDefault());
}
