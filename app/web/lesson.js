// A lesson's title and note, shown above the editor and set in "Title and note"; and "Back to
// the shared scene" once a link, a file or a host page has shared one.
import { elementsById, setProperty, setText } from "./helpers.js";

// A line of text as the view keeps it: no control characters.
export function lessonText(text) {
  const control = (code) => code < 0x20 || (code >= 0x7f && code < 0xa0);
  return Array.from(String(text), (c) => (control(c.codePointAt(0)) ? " " : c)).join("");
}

export function startLesson(page) {
  const elements = elementsById({ shown: "lesson", title: "lesson-title", note: "lesson-note",
    back: "lesson-back", titleField: "lesson-title-field", noteField: "lesson-note-field" });

  function render(state) {
    const v = state.view;
    setText(elements.title, v.title);
    setText(elements.note, v.note);
    setProperty(elements.title, "hidden", v.title === "");
    setProperty(elements.note, "hidden", v.note === "");
    setProperty(elements.back, "hidden", state.shared === null);
    setProperty(elements.shown, "hidden", v.title === "" && v.note === "" && state.shared === null);
    // A field being typed in keeps what is typed.
    if (document.activeElement !== elements.titleField) setProperty(elements.titleField, "value", v.title);
    if (document.activeElement !== elements.noteField) setProperty(elements.noteField, "value", v.note);
  }

  for (const [field, name] of [[elements.titleField, "title"], [elements.noteField, "note"]]) {
    field.addEventListener("input", () => page.dispatch({ type: "view", change: { [name]: lessonText(field.value) } }));
  }
  elements.back.addEventListener("click", () => page.dispatch({ type: "back" }));
  return { render: render };
}
