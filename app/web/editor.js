// The editor part of the page (its C++ side is editor.cpp): builds the menu bar from the
// core's menu, turns the browser's events into the core's messages (as the Linux program
// translates Qt's), runs the main loop's passes while there is work, and carries out the core's
// requests: frames, check marks, message boxes. It names no other part: they listen to its
// hooks ("pass", "frame", "pointer", "quit", and any a part emits for the others).

export function startEditor(module) {
  // The core's event language: event kinds, the value of a key the editor does not read, and
  // what a pass returns.
  const language = module.language();
  const events = language.events;
  const otherKey = language.otherKey;
  const passes = language.passes;
  const geometry = module.geometry();
  const listeners = {};
  let canvas = null;
  let context = null;
  let image = null; // an ImageData over the module's back buffer
  let imageAddress = 0;
  const marks = {};
  let scheduled = false;
  let modal = false;
  let quit = false;
  let shown = false; // a frame was shown in the pass
  const channel = new MessageChannel();

  // One pass per task, queued without a timer's delay; nothing is queued while idle.
  channel.port1.onmessage = function () {
    scheduled = false;
    if (modal || quit) return;
    shown = false;
    const outcome = module.pass();
    emit("pass");
    if (shown) emit("frame");
    if (outcome === passes.quit) {
      stop();
    } else if (outcome === passes.busy) {
      schedule();
    }
  };

  function schedule() {
    if (!scheduled && !modal && !quit) {
      scheduled = true;
      channel.port2.postMessage(null);
    }
  }

  function on(name, listener) {
    (listeners[name] = listeners[name] || []).push(listener);
  }

  function emit(name, value) {
    (listeners[name] || []).forEach(function (listener) { listener(value); });
  }

  function send(kind, x, y, value) {
    if (modal || quit) return;
    module.queue(kind, x, y, value);
    schedule();
  }

  // The canvas pixel under the pointer, at any zoom or device pixel ratio; null off it.
  function canvasPoint(event) {
    const box = canvas.getBoundingClientRect();
    const x = Math.floor((event.clientX - box.left) * canvas.width / box.width);
    const y = Math.floor((event.clientY - box.top) * canvas.height / box.height);
    return x >= 0 && y >= 0 && x < canvas.width && y < canvas.height ? [x, y] : null;
  }

  let held = 0; // buttons pressed on the canvas and not yet released

  // The "pointer" hook: the canvas pixel under the pointer, and null once when it leaves.
  let lastPointer = null;
  function pointerAt(point) {
    if (point === null && lastPointer === null) return;
    lastPointer = point;
    emit("pointer", point);
  }

  // A finger covers far more than a point's pick square: a finger's press within reach of a
  // point's marker goes to the point itself, and its moves keep that offset.
  const FINGER_REACH = 24; // CSS pixels
  const fingers = {}; // by pointer: the offset from the finger to the point it took

  function isFinger(event) {
    return event.pointerType === "touch" || event.pointerType === "pen";
  }

  function inside(value, size) {
    return Math.min(Math.max(value, 0), size - 1);
  }

  // The canvas pixel an event stands for: under the pointer, or a finger's point.
  function pointOf(event) {
    const point = canvasPoint(event);
    const offset = fingers[event.pointerId];
    if (point === null || !offset) return point;
    return [inside(point[0] + offset[0], canvas.width), inside(point[1] + offset[1], canvas.height)];
  }

  // A finger's press: first a move to where it lands, as a mouse would have made, taken to
  // the first placed point within reach; the editor's own pick then decides.
  function touchDown(event) {
    const point = canvasPoint(event);
    if (point === null) return;
    const box = canvas.getBoundingClientRect();
    const reached = module.reach(point[0], point[1], FINGER_REACH * canvas.width / box.width);
    fingers[event.pointerId] = [0, 0];
    const x = reached.clientX, y = reached.clientY;
    if (reached.found && x >= 0 && y >= 0 && x < canvas.width && y < canvas.height) {
      fingers[event.pointerId] = [x - point[0], y - point[1]];
    }
    const at = pointOf(event);
    send(events.move, at[0], at[1], 0);
  }

  function press(button, event) {
    const point = pointOf(event);
    if (point === null || (button !== 0 && button !== 2)) return;
    held |= buttonMask(button);
    send(button === 0 ? events.ldown : events.rdown, point[0], point[1], 0);
  }

  // A release anywhere ends a press that began on the canvas.
  function release(button) {
    if (!(held & buttonMask(button))) return;
    held &= ~buttonMask(button);
    send(button === 0 ? events.lup : events.rup, 0, 0, 0);
  }

  function buttonMask(button) {
    return button === 0 ? 1 : button === 2 ? 2 : 0;
  }

  function attachPointer() {
    canvas.addEventListener("pointerdown", function (event) {
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
    document.addEventListener("pointermove", function (event) {
      if (event.button !== -1) {
        // A second button pressed or released while another is down.
        if (event.buttons & buttonMask(event.button)) press(event.button, event);
        else release(event.button);
      }
      const point = pointOf(event);
      if (point !== null) send(events.move, point[0], point[1], 0); // nothing off the canvas
      pointerAt(point);
    });
    canvas.addEventListener("pointerleave", function () { pointerAt(null); });
    document.addEventListener("pointerup", function (event) {
      delete fingers[event.pointerId];
      release(event.button);
    });
    document.addEventListener("pointercancel", function (event) {
      delete fingers[event.pointerId];
      if (isFinger(event)) release(0);
    });
    canvas.addEventListener("contextmenu", function (event) { event.preventDefault(); });
  }

  // What the editor reads of a key, by its place: the digit keys 1 to 9 of the main keyboard
  // are 0x31..0x39 on every layout; every other key is one and the same other key.
  function editorKey(event) {
    const code = event.code;
    return /^Digit[1-9]$/.test(code) ? 0x30 + Number(code.charAt(5)) : otherKey;
  }

  function attachKeys() {
    document.addEventListener("keydown", function (event) {
      if (modal || quit) return;
      if (event.ctrlKey || event.metaKey) return; // the browser's own shortcuts
      if (event.altKey) return; // a system key, as on Windows
      // Keys in the menus and in the parts beside the editor are theirs.
      if (event.target && event.target.closest && event.target.closest("#menubar, .part")) return;
      const key = editorKey(event);
      send(events.key, 0, 0, key);
      // The editor's own keys only; every other key keeps its meaning on the page.
      if (key !== otherKey) event.preventDefault();
    });
  }

  function closeMenus(except) {
    document.querySelectorAll("#menubar .items").forEach(function (list) {
      if (list !== except) {
        list.classList.remove("open");
        list.previousSibling.setAttribute("aria-expanded", "false");
      }
    });
  }

  function buildMenu() {
    const bar = document.getElementById("menubar");
    const lists = {};
    module.menu().forEach(function (entry) {
      const popup = entry.popup, text = entry.text, command = entry.command;
      if (!lists[popup]) {
        const heading = document.createElement("li");
        heading.setAttribute("role", "none");
        const title = document.createElement("button");
        title.className = "popup";
        title.setAttribute("role", "menuitem");
        title.textContent = popup;
        title.setAttribute("aria-haspopup", "true");
        title.setAttribute("aria-expanded", "false");
        const list = document.createElement("ul");
        list.className = "items";
        list.setAttribute("role", "menu");
        list.setAttribute("aria-label", popup);
        title.addEventListener("click", function () {
          const open = !list.classList.contains("open");
          closeMenus(list);
          list.classList.toggle("open", open);
          title.setAttribute("aria-expanded", String(open));
          if (open) list.querySelector("button").focus();
        });
        heading.appendChild(title);
        heading.appendChild(list);
        bar.appendChild(heading);
        lists[popup] = list;
      }
      const item = document.createElement("li");
      item.setAttribute("role", "none");
      const button = document.createElement("button");
      const mark = document.createElement("span");
      mark.className = "mark";
      button.setAttribute("role", popup === "Degree" ? "menuitemradio" : "menuitem");
      button.dataset.command = String(command);
      button.appendChild(mark);
      button.appendChild(document.createTextNode(text));
      button.addEventListener("click", function () {
        closeMenus(null);
        canvas.focus();
        send(events.command, 0, 0, command);
      });
      item.appendChild(button);
      lists[popup].appendChild(item);
      if (popup === "Degree") {
        marks[command] = button;
        setMark(command, entry.checked);
      }
    });
    // Arrow keys move within an open menu and from title to title, Down opens a menu,
    // Escape closes it.
    bar.addEventListener("keydown", function (event) {
      const list = event.target.closest(".items");
      const titles = Array.prototype.slice.call(bar.querySelectorAll("button.popup"));
      const titleAt = titles.indexOf(list ? list.previousSibling : event.target);
      if (event.key === "Escape") {
        closeMenus(null);
        canvas.focus();
      } else if (list && (event.key === "ArrowDown" || event.key === "ArrowUp")) {
        const buttons = Array.prototype.slice.call(list.querySelectorAll("button"));
        const at = buttons.indexOf(event.target);
        const next = (at + (event.key === "ArrowDown" ? 1 : buttons.length - 1)) % buttons.length;
        buttons[next].focus();
        event.preventDefault();
      } else if (!list && event.key === "ArrowDown" && titleAt >= 0) {
        if (event.target.getAttribute("aria-expanded") !== "true") event.target.click();
        event.preventDefault();
      } else if (titleAt >= 0 && (event.key === "ArrowRight" || event.key === "ArrowLeft")) {
        const wasOpen = list !== null;
        closeMenus(null);
        const other = titles[(titleAt + (event.key === "ArrowRight" ? 1 : titles.length - 1)) % titles.length];
        if (wasOpen) other.click();
        else other.focus();
        event.preventDefault();
      }
    });
    document.addEventListener("pointerdown", function (event) {
      if (!event.target.closest("#menubar")) closeMenus(null);
    });
  }

  function setMark(command, checked) {
    const button = marks[command];
    if (!button) return;
    checked = Boolean(checked); // from the core: 1 or 0
    button.firstChild.textContent = checked ? "\u2713" : "";
    button.setAttribute("aria-checked", String(checked));
  }

  // The editor and what works beside it go; the parts add to the page's last word.
  function stop() {
    quit = true;
    document.getElementById("editor").style.display = "none";
    document.querySelectorAll(".part").forEach(function (part) { part.hidden = true; });
    document.getElementById("quit").style.display = "block";
    emit("quit");
  }

  canvas = document.getElementById("tavrimo");
  canvas.width = geometry.clientWidth;
  canvas.height = geometry.clientHeight;
  context = canvas.getContext("2d", { alpha: false });
  context.imageSmoothingEnabled = false;
  // The core's requests, from its host functions.
  module.page = {
    // The frame's bytes stay in the module's memory; the image over them is made again only
    // when that memory has grown (and so moved).
    showFrame: function (memory, address, width, height, top, bottom) {
      if (image === null || image.data.buffer !== memory || imageAddress !== address) {
        image = new ImageData(new Uint8ClampedArray(memory, address, width * height * 4), width, height);
        imageAddress = address;
      }
      context.putImageData(image, 0, 0, 0, top, width, bottom - top);
      shown = true;
    },
    check: setMark,
    messageBox: function (text, title) {
      modal = true;
      document.getElementById("box-title").textContent = title;
      document.getElementById("box-text").textContent = text;
      document.getElementById("box").showModal();
    },
  };
  module.start();
  buildMenu();
  attachPointer();
  attachKeys();
  document.getElementById("box").addEventListener("close", function () {
    modal = false;
    canvas.focus();
    schedule();
  });

  return {
    module: module,
    geometry: geometry,
    canvas: canvas,
    on: on,
    emit: emit,
    // Asks for a pass: the parts call it after changing the scene through the core.
    requestPass: schedule,
    // The editor's curve: its degree, points, whether there is one, how many more points it
    // needs, and its samples.
    curveDomain: function () { return module.curveDomain(); },
    // The first frame, once every part listens.
    run: function () {
      canvas.focus();
      schedule();
    },
  };
}
