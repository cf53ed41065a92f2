// The editor part of the page (its C++ side is editor.cpp): builds the menu bar from the core's
// menu (editor_menu.js), turns the browser's events into the core's messages (editor_pointer.js,
// and the keys here, as the Linux program translates Qt's), runs the main loop's passes while
// there is work, and carries out the core's requests: frames, check marks, message boxes. It
// names no other part: they listen to its hooks (events.js lists them).
import { buildMenu } from "./editor_menu.js";
import { attachPointer } from "./editor_pointer.js";
import { EDITOR_HOOKS, checkName } from "./events.js";

// What the editor reads of a key, by its place: the digit keys 1 to 9 of the main keyboard are
// 0x31..0x39 on every layout; every other key is one and the same other key.
function editorKey(event, otherKey) {
  const code = event.code;
  return /^Digit[1-9]$/.test(code) ? 0x30 + Number(code.charAt(5)) : otherKey;
}

// The editor's keys, as the core's messages; keys in the menus and the parts are theirs.
function attachKeys(loop, send, events, otherKey) {
  document.addEventListener("keydown", (event) => {
    if (loop.modal || loop.quit) return;
    if (event.ctrlKey || event.metaKey) return; // the browser's own shortcuts
    if (event.altKey) return; // a system key, as on Windows
    // Keys in the menus and in the parts beside the editor are theirs.
    if (event.target && event.target.closest && event.target.closest("#menubar, .part")) return;
    const key = editorKey(event, otherKey);
    send(events.key, 0, 0, key);
    // The editor's own keys only; every other key keeps its meaning on the page.
    if (key !== otherKey) event.preventDefault();
  });
}

export function startEditor(module) {
  // The core's event language: event kinds, the value of a key the editor does not read, and
  // what a pass returns.
  const { events, otherKey, passes } = module.language();
  const geometry = module.geometry();
  const listeners = {};
  const canvas = document.getElementById("tavrimo");
  const box = document.getElementById("box");
  const loop = { scheduled: false, modal: false, quit: false, shown: false };
  const channel = new MessageChannel();

  function emit(name, value) {
    for (const listener of listeners[name] || []) listener(value);
  }

  // One pass per task, queued without a timer's delay; nothing is queued while idle.
  channel.port1.onmessage = () => {
    loop.scheduled = false;
    if (loop.modal || loop.quit) return;
    loop.shown = false;
    const outcome = module.pass();
    emit("pass");
    if (loop.shown) emit("frame");
    if (outcome === passes.quit) stop();
    else if (outcome === passes.busy) schedule();
  };

  function schedule() {
    if (!loop.scheduled && !loop.modal && !loop.quit) {
      loop.scheduled = true;
      channel.port2.postMessage(null);
    }
  }

  function send(kind, x, y, value) {
    if (loop.modal || loop.quit) return;
    module.queue(kind, x, y, value || 0);
    schedule();
  }

  // The editor and what works beside it go; the parts add to the page's last word.
  function stop() {
    loop.quit = true;
    document.getElementById("editor").style.display = "none";
    document.querySelectorAll(".part").forEach((part) => { part.hidden = true; });
    document.getElementById("quit").style.display = "block";
    emit("quit");
  }

  // The core's requests, from its host functions.
  function hostRequests(setMark) {
    const context = canvas.getContext("2d", { alpha: false });
    context.imageSmoothingEnabled = false;
    let image = null; // an ImageData over the module's back buffer
    let imageAddress = 0;
    return {
      // The frame's bytes stay in the module's memory; the image over them is made again only
      // when that memory has grown (and so moved).
      showFrame: (memory, address, width, height, top, bottom) => {
        if (image === null || image.data.buffer !== memory || imageAddress !== address) {
          image = new ImageData(new Uint8ClampedArray(memory, address, width * height * 4), width, height);
          imageAddress = address;
        }
        context.putImageData(image, 0, 0, 0, top, width, bottom - top);
        loop.shown = true;
      },
      check: (command, checked) => setMark(command, checked),
      messageBox: (text, title) => {
        loop.modal = true;
        document.getElementById("box-title").textContent = title;
        document.getElementById("box-text").textContent = text;
        box.showModal();
      },
    };
  }

  canvas.width = geometry.clientWidth;
  canvas.height = geometry.clientHeight;
  let setMark = () => {};
  module.page = hostRequests((command, checked) => setMark(command, checked));
  module.start();
  setMark = buildMenu(document.getElementById("menubar"), module.menu(), canvas,
    (command) => send(events.command, 0, 0, command));
  const above = ["header", "scene-message", "menubar"].map((id) => document.getElementById(id) || document.querySelector(id));
  attachPointer(canvas, above, events, send, (x, y, r) => module.reach(x, y, r),
    (point) => emit("pointer", point));
  attachKeys(loop, send, events, otherKey);
  box.addEventListener("close", () => {
    loop.modal = false;
    canvas.focus();
    schedule();
  });

  return {
    module: module,
    geometry: geometry,
    canvas: canvas,
    on: (name, listener) => {
      checkName(EDITOR_HOOKS, name);
      (listeners[name] = listeners[name] || []).push(listener);
    },
    // Asks for a pass: the page calls it after changing the scene through the core.
    requestPass: schedule,
    // The editor's curve: its degree, points, whether there is one, how many more points it
    // needs, and its samples.
    curveDomain: () => module.curveDomain(),
    // The first frame, once every part listens.
    run: () => {
      canvas.focus();
      schedule();
    },
  };
}
