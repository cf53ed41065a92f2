// The scene kept and shared: undo and redo (buttons, Ctrl+Z, Ctrl+Shift+Z, Ctrl+Y), a link
// in the page address, the scene file saved and opened (a picker or a drop), the picture as
// PNG and SVG. The core keeps the history and reads and writes every text (web_scene.cpp);
// a scene is opened only through the editor's own operations, and on an error the scene
// stays as it was.
"use strict";

var SceneControls = (function () {
  var LINK_PREFIX = "#scene=";
  var LONGEST_FILE = 8 << 20; // as the core's longest scene text

  var module = null;
  var requestPass = null; // asks the page for a pass, to show the scene
  var elements = {};

  function say(text, isError) {
    elements.message.textContent = text;
    elements.message.classList.toggle("error", Boolean(isError));
  }

  function showHistory(flags) {
    elements.undo.disabled = !(flags & 1);
    elements.redo.disabled = !(flags & 2);
  }

  // Hands bytes to the core and opens them as a scene file (link = 0) or a link (link = 1):
  // null when opened, else the core's error.
  function open(bytes, link) {
    var address = module._tavrimo_scene_input(bytes.length);
    if (!address) return "the text is longer than any scene";
    module.HEAPU8.set(bytes, address);
    var error = module._tavrimo_scene_open(link);
    showHistory(module._tavrimo_history_record());
    requestPass();
    return error ? module.UTF8ToString(error) : null;
  }

  function download(name, blob) {
    var link = document.createElement("a");
    link.href = URL.createObjectURL(blob);
    link.download = name;
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(function () { URL.revokeObjectURL(link.href); }, 10000);
  }

  function coreText(read) {
    return module.UTF8ToString(read());
  }

  function undo() {
    showHistory(module._tavrimo_undo());
    requestPass();
  }

  function redo() {
    showHistory(module._tavrimo_redo());
    requestPass();
  }

  function copyLink() {
    var url = location.href.split("#")[0] + LINK_PREFIX + coreText(module._tavrimo_scene_link);
    history.replaceState(null, "", url);
    var copied = navigator.clipboard && navigator.clipboard.writeText ?
      navigator.clipboard.writeText(url) : Promise.reject(new Error("no clipboard"));
    copied.then(function () {
      say("Link copied: it opens this scene.", false);
    }, function () {
      say("The link to this scene is in the address bar (the browser did not let it be copied).", false);
    });
  }

  function openFile(file) {
    if (!file) return;
    if (file.size > LONGEST_FILE) {
      say("\u201c" + file.name + "\u201d cannot be opened: it is longer than any scene.", true);
      return;
    }
    file.arrayBuffer().then(function (buffer) {
      var error = open(new Uint8Array(buffer), 0);
      if (error) say("\u201c" + file.name + "\u201d cannot be opened: " + error + ".", true);
      else say("Opened \u201c" + file.name + "\u201d.", false);
    }, function () {
      say("\u201c" + file.name + "\u201d could not be read.", true);
    });
  }

  // A page opened by a link starts with the link's scene, or empty with the link's error.
  function openLink() {
    var hash = location.hash;
    if (hash.indexOf(LINK_PREFIX) !== 0) return;
    var text = null;
    try {
      text = decodeURIComponent(hash.slice(LINK_PREFIX.length));
    } catch (error) {
      say("This link's scene cannot be opened: the link is damaged.", true);
      return;
    }
    var error = open(new TextEncoder().encode(text), 1);
    if (error) say("This link's scene cannot be opened: " + error + ".", true);
  }

  function isTextField(target) {
    return target && target.closest && target.closest("input, textarea, select");
  }

  function attach() {
    elements.undo.addEventListener("click", undo);
    elements.redo.addEventListener("click", redo);
    elements.link.addEventListener("click", copyLink);
    elements.save.addEventListener("click", function () {
      download("scene.tavrimo", new Blob([coreText(module._tavrimo_scene_text)], { type: "text/plain" }));
    });
    elements.open.addEventListener("click", function () { elements.file.click(); });
    elements.file.addEventListener("change", function () {
      openFile(elements.file.files[0]);
      elements.file.value = "";
    });
    elements.png.addEventListener("click", function () {
      document.getElementById("tavrimo").toBlob(function (blob) { download("scene.png", blob); },
                                                "image/png");
    });
    elements.svg.addEventListener("click", function () {
      download("scene.svg", new Blob([coreText(module._tavrimo_scene_svg)], { type: "image/svg+xml" }));
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
      var key = event.key.toLowerCase();
      if (key === "z" && !event.shiftKey) undo();
      else if ((key === "z" && event.shiftKey) || key === "y") redo();
      else return;
      event.preventDefault();
    });
  }

  return {
    start: function (loaded, pass) {
      module = loaded;
      requestPass = pass;
      ["undo:scene-undo", "redo:scene-redo", "link:scene-link", "save:scene-save",
       "open:scene-open", "file:scene-file", "png:scene-png", "svg:scene-svg",
       "message:scene-message"].forEach(function (pair) {
        var parts = pair.split(":");
        elements[parts[0]] = document.getElementById(parts[1]);
      });
      attach();
      showHistory(module._tavrimo_history_record());
      openLink();
    },
    // Called after every pass: a finished change becomes a step.
    passDone: function () {
      showHistory(module._tavrimo_history_record());
    },
  };
})();
