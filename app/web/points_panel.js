// The panel's "Points" section (its C++ side is points_panel.cpp): every point's label, world
// coordinates and weight, a page of rows at a time; a value typed there moves the point or
// weighs it, and each row can delete its point or insert one after it. Each change is one step,
// made through the editor's own operations by the core. Pointing at a row, or moving into it,
// looks at its point.
import { elementsById, setText, throttle } from "./helpers.js";

const ROWS = 50;

// A row's field for a coordinate or the weight, and its buttons.
function field(index, axis, value) {
  const input = document.createElement("input");
  input.type = "text";
  input.inputMode = "decimal";
  input.size = 8;
  input.value = String(value);
  input.dataset.index = String(index);
  input.dataset.axis = axis;
  input.setAttribute("aria-label", "P" + index + " " + (axis === "w" ? "weight" : axis));
  return input;
}

function button(text, label, action, index) {
  const element = document.createElement("button");
  element.type = "button";
  element.textContent = text;
  element.setAttribute("aria-label", label);
  element.dataset.action = action;
  element.dataset.index = String(index);
  return element;
}

// Only the values that changed, compared with what was written, not read from the page; a field
// being typed in keeps its text.
function writeValues(points, inputs, written) {
  points.forEach((point, j) => {
    ["x", "y", "w"].forEach((axis, a) => {
      const value = String(point[axis]);
      const input = inputs[3 * j + a];
      if (written[3 * j + a] !== value && input !== document.activeElement) input.value = written[3 * j + a] = value;
    });
  });
}

export function startPointsPanel(editor, page) {
  const module = editor.module;
  const { table, range, previous, next, message } = elementsById({ table: "points-table",
    range: "points-range", previous: "points-previous", next: "points-next", message: "points-message" });
  const body = table.tBodies[0];
  let first = 0;
  let looked = null;

  function change(error) {
    page.dispatch({ type: "scene", part: "points", error: error });
  }

  function look(index) {
    if (index !== page.state.view.looked) page.dispatch({ type: "view", change: { looked: index } });
  }

  // The rows of the page shown; a field being typed in keeps its text. When the same rows are
  // shown again (a drag), only their values change.
  let shownRows = "";
  let inputs = [];  // the rows' fields, x, y and w of each
  let written = []; // what they were given
  function update() {
    let shown = module.pointsPage(first, ROWS);
    if (shown.first !== first && shown.total > 0) {
      first = Math.max(0, Math.floor((shown.total - 1) / ROWS) * ROWS);
      shown = module.pointsPage(first, ROWS);
    }
    const rows = shown.first + " " + shown.points.length + " " + shown.total;
    if (rows === shownRows) {
      writeValues(shown.points, inputs, written);
      return;
    }
    shownRows = rows;
    const focused = document.activeElement;
    const keep = focused && body.contains(focused) ? focused.dataset : null;
    const typing = keep && keep.axis ? focused.value : null;
    body.textContent = "";
    shown.points.forEach(function (point, j) {
      const index = shown.first + j;
      const row = body.insertRow();
      const name = document.createElement("th");
      name.scope = "row";
      name.textContent = "P" + index;
      row.appendChild(name);
      row.insertCell().appendChild(field(index, "x", point.x));
      row.insertCell().appendChild(field(index, "y", point.y));
      row.insertCell().appendChild(field(index, "w", point.w));
      row.dataset.point = String(index);
      if (index === looked) row.className = "looked";
      const actions = row.insertCell();
      actions.appendChild(button("Insert after", "Insert after P" + index, "insert", index));
      actions.appendChild(button("Delete", "Delete P" + index, "delete", index));
    });
    range.textContent = shown.total === 0 ? "No points yet: click in the editor to place one." :
      "P" + shown.first + " to P" + (shown.first + shown.points.length - 1) + " of " + shown.total + " points";
    previous.disabled = shown.first === 0;
    next.disabled = shown.first + ROWS >= shown.total;
    inputs = Array.from(body.querySelectorAll("input"));
    written = inputs.map((input) => input.value);
    if (keep) {
      const again = body.querySelector("[data-index='" + keep.index + "']" +
        (keep.axis ? "[data-axis='" + keep.axis + "']" : "[data-action='" + keep.action + "']"));
      if (again) again.focus();
      if (again && typing !== null) again.value = typing;
    }
  }

  body.addEventListener("change", function (event) {
    const input = event.target;
    if (!input.dataset.axis) return;
    const index = Number(input.dataset.index);
    if (input.dataset.axis === "w") {
      change(module.setWeight(index, input.value.trim()));
      return;
    }
    const x = body.querySelector("input[data-index='" + index + "'][data-axis='x']").value.trim();
    const y = body.querySelector("input[data-index='" + index + "'][data-axis='y']").value.trim();
    change(module.movePoint(index, x, y));
  });
  body.addEventListener("click", function (event) {
    const action = event.target.dataset && event.target.dataset.action;
    const index = Number(event.target.dataset && event.target.dataset.index);
    if (action === "delete") change(module.deletePoint(index));
    else if (action === "insert") change(module.insertPointAfter(index));
  });
  previous.addEventListener("click", function () { first = Math.max(0, first - ROWS); update(); });
  next.addEventListener("click", function () { first += ROWS; update(); });
  body.addEventListener("pointerover", function (event) {
    const row = event.target.closest("tr[data-point]");
    look(row ? Number(row.dataset.point) : null);
  });
  body.addEventListener("focusin", function (event) {
    const row = event.target.closest("tr[data-point]");
    if (row) look(Number(row.dataset.point));
  });

  const following = throttle(update, 100); // the values follow a drag ten times a second

  function render(state, before) {
    const note = state.notes.points;
    setText(message, note ? note.text : "");
    if (!state.view.panelOpen) return;
    const opened = before === null || !before.view.panelOpen;
    if (opened || state.scene !== before.scene) following(state.scene.pressed);
    if (opened || state.view.looked !== before.view.looked) {
      looked = state.view.looked;
      body.querySelectorAll("tr").forEach(function (row) {
        row.classList.toggle("looked", Number(row.dataset.point) === looked);
      });
    }
  }

  return { render: render };
}
