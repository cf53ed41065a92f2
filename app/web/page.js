// The page's one state: the scene (as versions of the core's, which holds it) and the view, with
// a version, the notes of the parts, the history's buttons. Every change comes here as an action
// (events.js lists them); the parts draw from the state alone, once after the changes of a task
// (the pass that showed a frame, a control's event), each told the state it drew last. The view is kept fitting the scene (t, the insertions, the level) by
// the core, and the whole state is kept in the tab's storage so that a reload brings it back.
import { PAGE_ACTIONS, NOTE_PARTS, checkName } from "./events.js";

export const DRAFT_KEY = "tavrimo-page";
const SHARED_KEY = "tavrimo-shared";
const DRAFT_DELAY = 400; // milliseconds after the last change of the view

// The scene shared before a reload: { text, link } or null.
function keptShared() {
  try {
    const kept = JSON.parse(sessionStorage.getItem(SHARED_KEY));
    return kept && typeof kept.text === "string" ? { text: kept.text, link: Boolean(kept.link) } : null;
  } catch (error) {
    return null;
  }
}

class Page {
  constructor(module, editor) {
    this.module = module;
    this.editor = editor;
    this.parts = [];
    this.drawn = null;
    this.drawQueued = false;
    this.draftTimer = null;
    const versions = module.sceneVersions();
    this.state = Object.freeze({ version: 0, scene: versions, curve: this.curveNow(versions),
      view: Object.freeze(module.freshView()), hover: { span: null }, notes: {},
      history: { canUndo: false, canRedo: false }, shared: keptShared() });
    editor.on("pass", () => {
      const recorded = module.recordScene().recorded;
      this.sceneMoved();
      this.history(recorded);
    });
    addEventListener("pagehide", () => { if (this.draftTimer !== null) this.saveDraft(); });
  }

  curveNow(versions) {
    return { domain: this.editor.curveDomain(), explored: this.module.explored(), additions: versions.additions };
  }

  change(fields) {
    this.state = Object.freeze(Object.assign({}, this.state, fields, { version: this.state.version + 1 }));
    if (!this.drawQueued) {
      this.drawQueued = true;
      queueMicrotask(() => this.draw()); // in the same task: painted with the editor's frame
    }
  }

  draw() {
    this.drawQueued = false;
    const previous = this.drawn;
    this.drawn = this.state;
    for (const part of this.parts) part.render(this.state, previous);
  }

  // After any change to the scene: the curve read again where its shape may have changed, the
  // view fitted to it, and the notes said before the change dropped.
  sceneMoved() {
    const state = this.state;
    const versions = this.module.sceneVersions();
    const domain = this.editor.curveDomain();
    const curve = state.curve;
    const shaped = domain.points !== curve.domain.points || domain.degree !== curve.domain.degree ||
      versions.additions !== curve.additions;
    const fields = { scene: versions };
    if (shaped) {
      fields.curve = this.curveNow(versions);
      fields.view = this.module.keptView(state.view);
      if (fields.view.insertions !== state.view.insertions) this.module.keepStepView(fields.view, false);
    }
    const moved = versions.scene !== state.scene.scene || versions.additions !== state.scene.additions;
    if (moved) fields.notes = this.keptNotes(versions);
    if (moved || shaped || versions.pressed !== state.scene.pressed) this.change(fields);
  }

  keptNotes(versions) {
    const notes = {};
    for (const part of NOTE_PARTS) {
      const said = this.state.notes[part];
      if (said && said.scene === versions.scene && said.additions === versions.additions) notes[part] = said;
    }
    return notes;
  }

  note(part, text, error) {
    const notes = Object.assign({}, this.state.notes);
    const scene = this.state.scene;
    if (text) notes[part] = { text: text, error: Boolean(error), scene: scene.scene, additions: scene.additions };
    else delete notes[part];
    this.change({ notes: notes });
  }

  history(recorded) {
    const h = this.module.historyState();
    const shown = this.state.history;
    if (h.canUndo !== shown.canUndo || h.canRedo !== shown.canRedo) {
      this.change({ history: { canUndo: h.canUndo, canRedo: h.canRedo } });
    }
    if (recorded) this.keepDraft(0);
  }

  setView(fields) {
    this.change({ view: Object.freeze(Object.assign({}, this.state.view, fields)) });
    this.keepDraft(DRAFT_DELAY);
  }

  // The view's insertions as the step shown keeps them, t where it was.
  takeStepInsertions() {
    const insertions = this.module.stepInsertions();
    if (insertions !== this.state.view.insertions) {
      this.setView(this.module.keptView(Object.assign({}, this.state.view, { insertions: insertions })));
    }
  }

  // A step taken back or again: the scene through the editor's operations, then the view.
  restore(stepped) {
    if (!stepped) return;
    this.editor.requestPass();
    this.sceneMoved();
    this.takeStepInsertions();
    this.history(true);
  }

  dispatch(action) {
    checkName(PAGE_ACTIONS, action.type);
    return this[ACTIONS[action.type]](action);
  }

  onView(action) {
    this.setView(action.change);
  }

  onInsertions(action) {
    const view = Object.assign({}, this.state.view, { insertions: action.count });
    this.module.keepStepView(view, true);
    this.setView(view);
    this.history(true);
  }

  onNoteAction(action) {
    this.note(action.part, action.text, action.error);
  }

  onHover(action) {
    this.change({ hover: { span: action.span } });
  }

  onUndo() {
    this.restore(this.module.undo());
  }

  onRedo() {
    this.restore(this.module.redo());
  }

  onScene(action) {
    this.editor.requestPass();
    this.sceneMoved();
    this.history(!action.dragging);
    this.takeStepInsertions(); // a scene opened as a step starts with none
    this.note(action.part, action.error ? action.error + "." : action.said || "", Boolean(action.error));
  }

  // A link's fragment or a file: the scene as one step and its view, with a note of what was
  // set aside; on an error, the scene as it was. Strictly (a host page's state), a view with a
  // pair set aside is refused too. One a teacher shared is kept to go back to. Returns
  // { ok, reason }.
  onOpen(action) {
    const opened = this.module.openPage(action.bytes, action.link, Boolean(action.strictly));
    if (opened.view === undefined) {
      this.note("scene", action.name + " cannot be opened: " + opened.error + ".", true);
      return { ok: false, reason: opened.error };
    }
    this.editor.requestPass();
    this.sceneMoved();
    this.change({ curve: this.curveNow(this.module.sceneVersions()) });
    this.setView(this.module.keptView(opened.view));
    this.history(true);
    if (action.shared) this.keepShared({ text: new TextDecoder().decode(action.bytes), link: action.link });
    const aside = opened.setAside ? " Set aside from its view: " + opened.setAside + "." : "";
    const said = action.back ? "Back to the shared scene." : "Opened " + action.name + ".";
    this.note("scene", (opened.error ? action.name + " is opened in part: " + opened.error + "." : said) + aside,
      opened.error !== "" || aside !== "");
    return { ok: opened.error === "", reason: opened.error };
  }

  // The scene a link, a file or a host page shared, as one step of its own.
  onBack() {
    const shared = this.state.shared;
    if (shared === null) return;
    this.onOpen({ bytes: new TextEncoder().encode(shared.text), link: shared.link, name: "the shared scene",
      back: true });
  }

  keepShared(shared) {
    this.change({ shared: shared });
    try {
      sessionStorage.setItem(SHARED_KEY, JSON.stringify(shared));
    } catch (error) {
      // Kept for this page only: a reload forgets where to go back to.
    }
  }

  // The state kept in the tab's storage: after a step at once, after a view change once the
  // changes pause, and when the page goes.
  keepDraft(delay) {
    clearTimeout(this.draftTimer);
    this.draftTimer = setTimeout(() => this.saveDraft(), delay);
  }

  saveDraft() {
    this.draftTimer = null;
    try {
      sessionStorage.setItem(DRAFT_KEY, this.module.pageLink(this.state.view));
    } catch (error) {
      this.note("scene", "This scene is too large to keep over a reload: Save it to keep it.", true);
    }
  }
}

// Each action's method.
const ACTIONS = { view: "onView", insertions: "onInsertions", scene: "onScene",
  note: "onNoteAction", hover: "onHover", undo: "onUndo", redo: "onRedo", open: "onOpen", back: "onBack" };

export function createPage(module, editor) {
  const page = new Page(module, editor);
  return {
    get state() { return page.state; },
    dispatch: (action) => page.dispatch(action), // an open says { ok, reason }
    // A part draws from every state after this one.
    add: (part) => {
      page.parts.push(part);
      part.render(page.state, null);
    },
    // The state kept before the page was last reloaded, or null.
    draft: () => {
      try {
        return sessionStorage.getItem(DRAFT_KEY);
      } catch (error) {
        return null;
      }
    },
    link: () => module.pageLink(page.state.view),
    file: () => module.pageFile(page.state.view),
  };
}
