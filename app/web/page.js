// The page's one state: the scene (as versions of the core's, which holds it) and the view, with
// a version, the notes of the parts, the history's buttons. Every change comes here as an action
// (events.js lists them); the parts draw from the state alone, once a display frame, each told
// the state it drew last. The view is kept fitting the scene (t, the insertions, the level) by
// the core, and the whole state is kept in the browser's storage so that a reload brings it back.
import { PAGE_ACTIONS, NOTE_PARTS, checkName } from "./events.js";

export const DRAFT_KEY = "tavrimo-page";
const DRAFT_DELAY = 400; // milliseconds after the last change of the view

export function createPage(module, editor) {
  const parts = [];
  let state = null;
  let drawn = null;
  let drawQueued = false;
  let draftTimer = null;

  function curveNow(versions) {
    return { domain: editor.curveDomain(), explored: module.explored(), additions: versions.additions };
  }

  function change(fields) {
    state = Object.freeze(Object.assign({}, state, fields, { version: state.version + 1 }));
    if (!drawQueued) {
      drawQueued = true;
      requestAnimationFrame(draw);
    }
  }

  function draw() {
    drawQueued = false;
    const previous = drawn;
    drawn = state;
    for (const part of parts) part.render(state, previous);
  }

  // After any change to the scene: the curve read again where its shape may have changed, the
  // view fitted to it, and the notes said before the change dropped.
  function sceneMoved() {
    const versions = module.sceneVersions();
    const domain = editor.curveDomain();
    const curve = state.curve;
    const shaped = domain.points !== curve.domain.points || domain.degree !== curve.domain.degree ||
      versions.additions !== curve.additions;
    const fields = { scene: versions };
    if (shaped) {
      fields.curve = curveNow(versions);
      fields.view = module.keptView(state.view);
      if (fields.view.insertions !== state.view.insertions) module.keepStepView(fields.view, false);
    }
    const moved = versions.scene !== state.scene.scene || versions.additions !== state.scene.additions;
    if (moved) fields.notes = keptNotes(versions);
    if (moved || shaped) change(fields);
  }

  function keptNotes(versions) {
    const notes = {};
    for (const part of NOTE_PARTS) {
      const note = state.notes[part];
      if (note && note.scene === versions.scene && note.additions === versions.additions) notes[part] = note;
    }
    return notes;
  }

  function note(part, text, error) {
    const notes = Object.assign({}, state.notes);
    if (text) notes[part] = { text: text, error: Boolean(error), scene: state.scene.scene, additions: state.scene.additions };
    else delete notes[part];
    change({ notes: notes });
  }

  function history(recorded) {
    const h = module.historyState();
    if (h.canUndo !== state.history.canUndo || h.canRedo !== state.history.canRedo) {
      change({ history: { canUndo: h.canUndo, canRedo: h.canRedo } });
    }
    if (recorded) keepDraft(0);
  }

  function setView(fields) {
    change({ view: Object.freeze(Object.assign({}, state.view, fields)) });
    keepDraft(DRAFT_DELAY);
  }

  // A step taken back or again: the scene through the editor's operations, the view's
  // insertions as the step kept them, t where it was.
  function restore(stepped) {
    if (!stepped) return;
    editor.requestPass();
    sceneMoved();
    setView(module.keptView(Object.assign({}, state.view, { insertions: module.stepInsertions() })));
    history(true);
  }

  const handlers = {
    view: (action) => setView(action.change),
    insertions: (action) => {
      const view = Object.assign({}, state.view, { insertions: action.count });
      module.keepStepView(view, true);
      setView(view);
      history(true);
    },
    scene: (action) => {
      editor.requestPass();
      sceneMoved();
      history(!action.dragging);
      // A scene opened as a step starts with none of the view's insertions.
      const insertions = module.stepInsertions();
      if (insertions !== state.view.insertions) setView(module.keptView(Object.assign({}, state.view, { insertions: insertions })));
      note(action.part, action.error ? action.error + "." : action.said || "", Boolean(action.error));
    },
    note: (action) => note(action.part, action.text, action.error),
    hover: (action) => change({ hover: { span: action.span } }),
    undo: () => restore(module.undo()),
    redo: () => restore(module.redo()),
    open: (action) => open(action),
  };

  function dispatch(action) {
    checkName(PAGE_ACTIONS, action.type);
    handlers[action.type](action);
  }

  // A link's fragment or a file: the scene as one step and its view, with a note of what was
  // set aside; on an error, the scene as it was.
  function open(action) {
    const opened = module.openPage(action.bytes, action.link);
    if (opened.error !== "" && opened.view === undefined) {
      note("scene", action.name + " cannot be opened: " + opened.error + ".", true);
      return false;
    }
    editor.requestPass();
    sceneMoved();
    change({ curve: curveNow(module.sceneVersions()) });
    setView(module.keptView(opened.view));
    history(true);
    const aside = opened.setAside ? " Set aside from its view: " + opened.setAside + "." : "";
    note("scene", (opened.error ? action.name + " is opened in part: " + opened.error + "." :
      "Opened " + action.name + ".") + aside, opened.error !== "" || aside !== "");
    return true;
  }

  // The state kept in the browser's storage: after a step at once, after a view change once
  // the changes pause, and when the page goes.
  function keepDraft(delay) {
    clearTimeout(draftTimer);
    draftTimer = setTimeout(saveDraft, delay);
  }

  function saveDraft() {
    draftTimer = null;
    try {
      sessionStorage.setItem(DRAFT_KEY, module.pageLink(state.view));
    } catch (error) {
      note("scene", "This scene is too large to keep over a reload: Save it to keep it.", true);
    }
  }

  function start() {
    const versions = module.sceneVersions();
    state = Object.freeze({ version: 0, scene: versions, curve: curveNow(versions),
      view: Object.freeze(module.freshView()), hover: { span: null }, notes: {},
      history: { canUndo: false, canRedo: false } });
    editor.on("pass", () => {
      const recorded = module.recordScene().recorded;
      sceneMoved();
      history(recorded);
    });
    addEventListener("pagehide", () => { if (draftTimer !== null) saveDraft(); });
  }

  start();
  return {
    get state() { return state; },
    dispatch: dispatch,
    // A part draws from every state after this one.
    add: (part) => {
      parts.push(part);
      part.render(state, null);
    },
    // The state kept before the page was last closed or reloaded, or null.
    draft: () => {
      try {
        return sessionStorage.getItem(DRAFT_KEY);
      } catch (error) {
        return null;
      }
    },
    link: () => module.pageLink(state.view),
    file: () => module.pageFile(state.view),
  };
}
