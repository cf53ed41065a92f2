// The page inside a course page: an address with "embed=1" shows the editor and the parts
// listed in "parts" without the page's own header, and never scrolls (the wheel over it scrolls
// the course page). It speaks to the page around it through postMessage, protocol version 1:
//   { type: "tavrimo:get" }          → { type: "tavrimo:state", version: 1, state }
//   { type: "tavrimo:set", state }   → { type: "tavrimo:set-result", version: 1, ok, reason }
//   after each change of the learner → { type: "tavrimo:changed", version: 1, state }
// where state is the link's text (the scene and the view). Any window may ask: the state is the
// learner's own. Messages of any other shape are ignored.
import { elementsById } from "./helpers.js";
import { linkFragment, sameMoment } from "./scene_controls.js";

export const PROTOCOL_VERSION = 1;
export const EMBED_PARTS = ["panel", "knots", "operations", "fit", "points", "tools"];
const SECTIONS = { knots: "knots-part", operations: "operations-part", fit: "fit-part", points: "points" };
const CHANGED_DELAY = 250; // milliseconds of quiet before a change is told

// An address's query as { embedded, parts } (the parts known, in their order).
export function embedOptions(search) {
  const query = new URLSearchParams(search);
  const parts = (query.get("parts") || "").split(",");
  return { embedded: query.get("embed") === "1", parts: EMBED_PARTS.filter((p) => parts.includes(p)) };
}

// The message asked of the page, or null for any other shape.
export function requestOf(data) {
  if (data === null || typeof data !== "object" || Array.isArray(data)) return null;
  if (data.type === "tavrimo:get") return { type: "get" };
  if (data.type === "tavrimo:set") return { type: "set", state: data.state };
  return null;
}

// The <iframe> a course page pastes: this page's address with embed=1, the parts, the state.
export function embedCode(base, parts, fragment, size, title) {
  const query = "?embed=1" + (parts.length > 0 ? "&parts=" + parts.join(",") : "");
  const escape = (text) => text.replace(/&/g, "&amp;").replace(/"/g, "&quot;").replace(/</g, "&lt;");
  return "<iframe src=\"" + escape(base + query + "#scene=" + fragment) + "\" width=\"" + size.width +
    "\" height=\"" + size.height + "\" style=\"border: 0; max-width: 100%\" title=\"" +
    escape(title || "Tavrimo: B-spline curve editor") + "\" loading=\"lazy\"></iframe>";
}

// What the parts do not list is left out, whatever the view says (the panel may be open for its
// drawing over the editor).
function showParts(parts) {
  document.documentElement.classList.add("embedded");
  const sections = parts.filter((p) => SECTIONS[p]);
  const leaveOut = (id, out) => document.getElementById(id).classList.toggle("left-out", out);
  for (const [part, id] of Object.entries(SECTIONS)) leaveOut(id, sections.length > 0 && !sections.includes(part));
  leaveOut("inside", !parts.includes("panel"));
  leaveOut("inside-toggle", !parts.includes("panel"));
  leaveOut("scene-tools", !parts.includes("tools"));
  document.querySelector("header").classList.toggle("left-out", !parts.includes("panel") && !parts.includes("tools"));
}

export function startEmbed(page, options) {
  const elements = elementsById({ copy: "embed-copy", workspace: "workspace", lesson: "lesson" });
  if (options.embedded) showParts(options.parts);
  let told = null; // the state last told to the page around, or set by it
  let timer = null;

  addEventListener("message", (event) => {
    const request = requestOf(event.data);
    if (request === null || !event.source) return;
    const reply = (message) => event.source.postMessage(Object.assign(message, { version: PROTOCOL_VERSION }), "*");
    if (request.type === "get") {
      reply({ type: "tavrimo:state", state: page.link() });
      return;
    }
    const result = typeof request.state !== "string" ? { ok: false, reason: "the state is not text" } :
      page.dispatch({ type: "open", bytes: new TextEncoder().encode(request.state), link: true,
        name: "the state set by the page around", strictly: true, shared: true });
    if (result.ok) told = page.link();
    reply({ type: "tavrimo:set-result", ok: result.ok, reason: result.reason });
  });

  // A change is told once the learner pauses, and not while a button is held.
  function tell() {
    timer = null;
    if (page.state.scene.pressed) {
      timer = setTimeout(tell, CHANGED_DELAY);
      return;
    }
    const state = page.link();
    if (state === told) return;
    told = state;
    parent.postMessage({ type: "tavrimo:changed", version: PROTOCOL_VERSION, state: state }, "*");
  }

  elements.copy.addEventListener("click", () => {
    const v = page.state.view;
    const parts = v.panelOpen ? ["panel"] : [];
    const size = { width: Math.ceil(elements.workspace.scrollWidth) + 16,
      height: Math.ceil(elements.workspace.scrollHeight + elements.lesson.offsetHeight) + 24 };
    const code = embedCode(location.href.split(/[?#]/)[0], parts, linkFragment(page.link()), size, v.title);
    const copied = navigator.clipboard && navigator.clipboard.writeText ?
      navigator.clipboard.writeText(code) : Promise.reject(new Error("no clipboard"));
    const say = (text) => page.dispatch({ type: "note", part: "scene", text: text, error: false });
    copied.then(() => say("Embed code copied: paste it into the course page."),
      () => say("Embed code (the browser did not let it be copied): " + code));
  });

  return {
    // The state the page opened with is no change.
    settle: () => { told = page.link(); },
    render: (state, previous) => {
      if (parent === window || previous === null || told === null) return;
      if (sameMoment(state, previous)) return; // pointing at a point is no change
      clearTimeout(timer);
      timer = setTimeout(tell, CHANGED_DELAY);
    },
  };
}
