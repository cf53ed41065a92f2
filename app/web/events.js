// Every event that passes between the page's pieces, listed once with what it carries. The
// editor's hooks come from its main loop and its canvas; the page's actions are the only way a
// part changes what the page shows, and every part draws from the one state they make.

// editor.on(name, listener): what the editor reports.
export const EDITOR_HOOKS = Object.freeze({
  pass: "a pass of the editor's loop ran; nothing",
  frame: "that pass showed a frame; nothing",
  pointer: "the canvas pixel under the pointer as [x, y], or null once when it leaves",
  quit: "the editor has quit; nothing",
});

// page.dispatch({ type, ... }): what a part asks of the page.
export const PAGE_ACTIONS = Object.freeze({
  view: "{ change }: fields of the view set as they are (t, the views shown, the triangle's " +
    "names and level, the comb's scale, exact, point labels, the point looked at, the panel, " +
    "the play speed, the continuity list open, the lesson's title and note, the fit's choices)",
  insertions: "{ count }: the insertions at t, as one step of undo",
  scene: "{ part, error, said, dragging }: the part changed the scene through the core (error " +
    "\"\" when it did; while dragging, the step comes with the pass after); the part's note says " +
    "`said`, or the error",
  note: "{ part, text, error }: a part's one-line note, kept until the scene changes",
  hover: "{ span }: the span of the curve pointed at ({ first, last, index }) or null",
  undo: "nothing: the step before, whatever part made the last one",
  redo: "nothing: the step after",
  open: "{ bytes, link, name, shared, strictly }: a link's fragment or a scene file opened with " +
    "its view, as one step; shared: kept to go back to; strictly: refused if a pair is set aside",
  back: "nothing: the shared scene opened again, as one step",
});

// The parts' notes, each shown in its own line.
export const NOTE_PARTS = Object.freeze(["scene", "knots", "points", "operations", "fit", "t"]);

export function checkName(list, name) {
  if (!Object.prototype.hasOwnProperty.call(list, name)) throw new Error("no such event: " + name);
}
