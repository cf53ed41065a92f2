// The scene kept and shared: undo and redo (buttons, Ctrl+Z, Ctrl+Shift+Z, Ctrl+Y), a link in the
// page address, the scene file saved and opened (a picker or a drop),
// and after "Quit" a start again with the scene as it was. The link and the file carry the view
// too; the page (page.js) reads and writes them through the core, and on an error the scene stays
// as it was.
import { download } from "./download.js";
import { elementsById, setProperty, setText } from "./helpers.js";

const LINK_PREFIX = "#scene=";
const RESTART_KEY = "tavrimo-restart";
// Inputs where Ctrl+Z belongs to the text being typed.
const TEXT_TYPES = ["text", "number", "search", "url", "email", "password", "tel"];

// The page's link as an address's fragment: read back with decodeURIComponent, a lesson's
// escaped text stays escaped.
export function linkFragment(link) {
  return link.replace(/%/g, "%25");
}

function isTextField(target) {
  if (!target || !target.closest) return false;
  return Boolean(target.closest("textarea")) ||
    (target.tagName === "INPUT" && TEXT_TYPES.includes(target.type));
}

// The same scene and view, but for the point looked at, which only pointing changes.
export function sameMoment(a, b) {
  const view = (state) => JSON.stringify(Object.assign({}, state.view, { looked: null }));
  return a.scene === b.scene && (a.view === b.view || view(a) === view(b));
}

// A file dropped on the page is opened; Ctrl (or Command) with Z undoes, with Shift+Z or Y
// redoes, except in a text field; a link opened in the page is opened.
function attachDropAndKeys(page, elements, openFile, openLink) {
  document.addEventListener("dragover", (event) => {
    if (event.dataTransfer && Array.from(event.dataTransfer.types).includes("Files")) event.preventDefault();
  });
  document.addEventListener("drop", (event) => {
    if (!event.dataTransfer || event.dataTransfer.files.length === 0) return;
    event.preventDefault();
    openFile(event.dataTransfer.files[0]);
  });
  // Ctrl (or Command) with Z undoes, with Shift+Z or Y redoes, except in a text field.
  document.addEventListener("keydown", (event) => {
    if (!(event.ctrlKey || event.metaKey) || event.altKey || isTextField(event.target)) return;
    if (elements.box.open) return;
    const key = event.key.toLowerCase();
    if (key === "z" && !event.shiftKey) page.dispatch({ type: "undo" });
    else if ((key === "z" && event.shiftKey) || key === "y") page.dispatch({ type: "redo" });
    else return;
    event.preventDefault();
  });
  addEventListener("hashchange", openLink);
}


// After "Quit", a start again with the scene as it was.
function attachRestart(editor, elements, say) {
  editor.on("quit", () => { elements.restart.hidden = false; });
  elements.restart.addEventListener("click", () => {
    try {
      sessionStorage.setItem(RESTART_KEY, editor.module.stepText());
    } catch (error) {
      elements.restart.textContent = "Start again, empty";
      say("This scene is too large to carry over a restart: Save it, start again and Open it.", true);
      return;
    }
    location.replace(location.href.split("#")[0]);
  });
}


export function startSceneControls(editor, page) {
  const elements = elementsById({ undo: "scene-undo", redo: "scene-redo", link: "scene-link",
    save: "scene-save", open: "scene-open", file: "scene-file",
    message: "scene-message", restart: "restart", box: "box" });
  const say = (text, error) => page.dispatch({ type: "note", part: "scene", text: text, error: error });
  let linkShown = null; // the link in the address, while it is the page's state

  function copyLink() {
    const url = location.href.split("#")[0] + LINK_PREFIX + linkFragment(page.link());
    history.replaceState(null, "", url);
    linkShown = page.state;
    const copied = navigator.clipboard && navigator.clipboard.writeText ?
      navigator.clipboard.writeText(url) : Promise.reject(new Error("no clipboard"));
    copied.then(() => say("Link copied: it opens this scene and this view.", false),
      () => say("The link to this scene is in the address bar (the browser did not let it be copied).", false));
  }

  function openFile(file) {
    if (!file) return;
    const name = "\u201c" + file.name + "\u201d";
    if (file.size > editor.geometry.longestSceneText) {
      say(name + " cannot be opened: it is longer than any scene.", true);
      return;
    }
    file.arrayBuffer().then((buffer) => {
      page.dispatch({ type: "open", bytes: new Uint8Array(buffer), link: false, name: name, shared: true });
    }, () => say(name + " could not be read.", true));
  }

  // A page opened by a link, or a link opened in this page: its scene and view, or what is
  // wrong with it and the scene as it was.
  function openLink() {
    const hash = location.hash;
    if (!hash.startsWith(LINK_PREFIX)) return false;
    let text = null;
    try {
      text = decodeURIComponent(hash.slice(LINK_PREFIX.length));
    } catch (error) {
      say("This link cannot be opened: the link is damaged.", true);
      return true;
    }
    page.dispatch({ type: "open", bytes: new TextEncoder().encode(text), link: true, name: "the scene of the link",
      shared: true });
    linkShown = page.state;
    return true;
  }

  function attachButtons() {
    elements.undo.addEventListener("click", () => page.dispatch({ type: "undo" }));
    elements.redo.addEventListener("click", () => page.dispatch({ type: "redo" }));
    elements.link.addEventListener("click", copyLink);
    elements.save.addEventListener("click", () => {
      download("scene.tavrimo", new Blob([page.file()], { type: "text/plain" }));
      say("Saved the scene and its view as scene.tavrimo.", false);
    });
    elements.open.addEventListener("click", () => elements.file.click());
    elements.file.addEventListener("change", () => {
      openFile(elements.file.files[0]);
      elements.file.value = "";
    });
  }

  // The scene the page starts with: the one from before "Quit", a link's, or the one kept from
  // before a reload.
  function openFirst() {
    let restart = null;
    try {
      restart = sessionStorage.getItem(RESTART_KEY);
      sessionStorage.removeItem(RESTART_KEY);
    } catch (error) {
      restart = null;
    }
    if (restart !== null) {
      page.dispatch({ type: "open", bytes: new TextEncoder().encode(restart), link: false,
        name: "the scene from before \u201cQuit\u201d" });
    } else if (!openLink()) {
      const draft = page.draft();
      if (draft) page.dispatch({ type: "open", bytes: new TextEncoder().encode(draft), link: true, name: "the scene from before the reload" });
    }
  }

  function render(state) {
    setProperty(elements.undo, "disabled", !state.history.canUndo);
    setProperty(elements.redo, "disabled", !state.history.canRedo);
    const note = state.notes.scene;
    setText(elements.message, note ? note.text : "");
    elements.message.classList.toggle("error", Boolean(note && note.error));
    // After a change, a reload must not go back to the scene of a link opened or copied before.
    if (linkShown !== null && !sameMoment(linkShown, state) && location.hash.startsWith(LINK_PREFIX)) {
      history.replaceState(null, "", location.href.split("#")[0]);
      linkShown = null;
    }
  }

  attachButtons();
  attachDropAndKeys(page, elements, openFile, openLink);
  attachRestart(editor, elements, say);
  openFirst();
  return { render: render };
}
