// The scene kept and shared (its C++ side is scene_controls.cpp): undo and redo (buttons,
// Ctrl+Z, Ctrl+Shift+Z, Ctrl+Y), a link in the page address, the scene file saved and opened (a
// picker or a drop), the picture as PNG and SVG, and after "Quit" a start again with the scene
// as it was. The core keeps the history and reads and writes every text; a scene is opened only
// through the editor's own operations, and on an error the scene stays as it was. A link also
// keeps the panel's view: each part adds its settings ("view-save") and checks and takes them
// back ("view-check", "view-restore").
import { download } from "./download.js";

const LINK_PREFIX = "#scene=";
// After the scene, a link may carry the panel's view: "&name=value" pairs that the parts read.
const VIEW_PAIR = /^([a-z]+)=([A-Za-z0-9.,+-]{0,200})$/;
const RESTART_KEY = "tavrimo-restart";
// Inputs where Ctrl+Z belongs to the text being typed.
const TEXT_TYPES = ["text", "number", "search", "url", "email", "password", "tel"];

export function startSceneControls(editor) {
  const module = editor.module;
  const longest = editor.geometry.longestSceneText;
  const elements = {};
  ["undo:scene-undo", "redo:scene-redo", "link:scene-link", "save:scene-save",
   "open:scene-open", "file:scene-file", "png:scene-png", "svg:scene-svg",
   "message:scene-message", "restart:restart"].forEach(function (pair) {
    const parts = pair.split(":");
    elements[parts[0]] = document.getElementById(parts[1]);
  });

  function say(text, isError) {
    elements.message.textContent = text;
    elements.message.classList.toggle("error", Boolean(isError));
  }

  function showHistory(state) {
    elements.undo.disabled = !state.canUndo;
    elements.redo.disabled = !state.canRedo;
  }

  // After a change, a reload must not go back to the scene of a link opened or copied before.
  function forgetLink() {
    if (location.hash.indexOf(LINK_PREFIX) === 0) {
      history.replaceState(null, "", location.href.split("#")[0]);
    }
  }

  // Opens the bytes as a scene file or a link's scene: null when opened, else the core's error.
  function open(bytes, link) {
    const error = module.openScene(bytes, link);
    showHistory(module.recordScene());
    editor.requestPass();
    return error === "" ? null : error;
  }

  function step(state) {
    showHistory(state);
    forgetLink();
    editor.requestPass();
  }

  function viewText() {
    const view = {};
    editor.emit("view-save", view);
    return Object.keys(view).map(function (name) { return "&" + name + "=" + view[name]; }).join("");
  }

  function copyLink() {
    const url = location.href.split("#")[0] + LINK_PREFIX + module.sceneLink() + viewText();
    history.replaceState(null, "", url);
    const copied = navigator.clipboard && navigator.clipboard.writeText ?
      navigator.clipboard.writeText(url) : Promise.reject(new Error("no clipboard"));
    copied.then(function () {
      say("Link copied: it opens this scene and this view.", false);
    }, function () {
      say("The link to this scene is in the address bar (the browser did not let it be copied).", false);
    });
  }

  // The view's pairs, each name once and known to a part with a value it takes: the pairs, or
  // what is wrong.
  function readView(pairs) {
    const view = {};
    for (let j = 0; j < pairs.length; ++j) {
      const match = VIEW_PAIR.exec(pairs[j]);
      if (!match) return { error: "\u201c" + pairs[j].slice(0, 40) + "\u201d is not a view setting" };
      if (Object.prototype.hasOwnProperty.call(view, match[1])) {
        return { error: "\u201c" + match[1] + "\u201d is given twice" };
      }
      view[match[1]] = match[2];
    }
    const check = { view: view, known: {}, errors: [] };
    editor.emit("view-check", check);
    const unknown = Object.keys(view).filter(function (name) { return !check.known[name]; });
    if (unknown.length > 0) return { error: "\u201c" + unknown[0] + "\u201d is not a view setting" };
    if (check.errors.length > 0) return { error: check.errors[0] };
    return { view: view };
  }

  function openFile(file) {
    if (!file) return;
    if (file.size > longest) {
      say("\u201c" + file.name + "\u201d cannot be opened: it is longer than any scene.", true);
      return;
    }
    file.arrayBuffer().then(function (buffer) {
      const error = open(new Uint8Array(buffer), false);
      if (error) {
        say("\u201c" + file.name + "\u201d cannot be opened: " + error + ".", true);
      } else {
        forgetLink();
        say("Opened \u201c" + file.name + "\u201d.", false);
      }
    }, function () {
      say("\u201c" + file.name + "\u201d could not be read.", true);
    });
  }

  // A page opened by a link, or a link opened in this page, shows the link's scene, or says
  // what is wrong with it and keeps the scene.
  function openLink() {
    const hash = location.hash;
    if (hash.indexOf(LINK_PREFIX) !== 0) return;
    const pairs = hash.slice(LINK_PREFIX.length).split("&");
    let text = null;
    try {
      text = decodeURIComponent(pairs[0]);
    } catch (error) {
      say("This link's scene cannot be opened: the link is damaged.", true);
      return;
    }
    const view = readView(pairs.slice(1));
    if (view.error) {
      say("This link cannot be opened: " + view.error + ".", true);
      return;
    }
    const error = open(new TextEncoder().encode(text), true);
    if (error) {
      say("This link's scene cannot be opened: " + error + ".", true);
      return;
    }
    say("Opened the scene of the link.", false);
    if (pairs.length > 1) editor.emit("view-restore", view.view);
  }

  function isTextField(target) {
    if (!target || !target.closest) return false;
    return Boolean(target.closest("textarea")) ||
      (target.tagName === "INPUT" && TEXT_TYPES.indexOf(target.type) >= 0);
  }

  elements.undo.addEventListener("click", function () { step(module.undo()); });
  elements.redo.addEventListener("click", function () { step(module.redo()); });
  elements.link.addEventListener("click", copyLink);
  elements.save.addEventListener("click", function () {
    download("scene.tavrimo", new Blob([module.sceneText()], { type: "text/plain" }));
    say("Saved the scene as scene.tavrimo.", false);
  });
  elements.open.addEventListener("click", function () { elements.file.click(); });
  elements.file.addEventListener("change", function () {
    openFile(elements.file.files[0]);
    elements.file.value = "";
  });
  elements.png.addEventListener("click", function () {
    editor.canvas.toBlob(function (blob) { download("scene.png", blob); }, "image/png");
    say("Saved the picture as scene.png.", false);
  });
  elements.svg.addEventListener("click", function () {
    download("scene.svg", new Blob([module.sceneSvg()], { type: "image/svg+xml" }));
    say("Saved the picture as scene.svg.", false);
  });
  document.addEventListener("dragover", function (event) {
    if (event.dataTransfer && Array.prototype.indexOf.call(event.dataTransfer.types, "Files") >= 0) {
      event.preventDefault();
    }
  });
  document.addEventListener("drop", function (event) {
    if (!event.dataTransfer || event.dataTransfer.files.length === 0) return;
    event.preventDefault();
    openFile(event.dataTransfer.files[0]);
  });
  // Ctrl (or Command) with Z undoes, with Shift+Z or Y redoes, except in a text field.
  document.addEventListener("keydown", function (event) {
    if (!(event.ctrlKey || event.metaKey) || event.altKey || isTextField(event.target)) return;
    if (document.getElementById("box").open) return;
    const key = event.key.toLowerCase();
    if (key === "z" && !event.shiftKey) step(module.undo());
    else if ((key === "z" && event.shiftKey) || key === "y") step(module.redo());
    else return;
    event.preventDefault();
  });
  window.addEventListener("hashchange", openLink);
  // A finished change becomes a step.
  editor.on("pass", function () {
    const before = module.recordScene();
    showHistory(before);
    if (before.recorded) forgetLink();
  });
  editor.on("quit", function () { elements.restart.hidden = false; });
  elements.restart.addEventListener("click", function () {
    try {
      sessionStorage.setItem(RESTART_KEY, module.stepText());
    } catch (error) {
      elements.restart.textContent = "Start again, empty";
      say("This scene is too large to carry over a restart: Save it, start again and Open it.", true);
      return;
    }
    location.replace(location.href.split("#")[0]);
  });

  showHistory(module.recordScene());
  let restart = null;
  try {
    restart = sessionStorage.getItem(RESTART_KEY);
    sessionStorage.removeItem(RESTART_KEY);
  } catch (error) {
    restart = null;
  }
  if (restart !== null) {
    const error = open(new TextEncoder().encode(restart), false);
    say(error ? "The scene from before \u201cQuit\u201d cannot be opened: " + error + "." :
      "Started again with the scene as it was before \u201cQuit\u201d.", Boolean(error));
  } else {
    openLink();
  }
}
