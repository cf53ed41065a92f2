// The panel's "Points" section (its C++ side is points_panel.cpp): every point's label, world
// coordinates and weight, a page of rows at a time; a value typed there moves the point or
// weighs it, and each row can delete its point or insert one after it. Each change is one step,
// made through the editor's own operations by the core. Pointing at a row looks at its point.
const ROWS = 50;

export function startPointsPanel(editor) {
  const module = editor.module;
  const body = document.querySelector("#points-table tbody");
  const range = document.getElementById("points-range");
  const previous = document.getElementById("points-previous");
  const next = document.getElementById("points-next");
  const message = document.getElementById("points-message");
  let first = 0;
  let open = false;
  let looked = null;

  function say(text) {
    if (message.textContent !== text) message.textContent = text;
  }

  function change(error) {
    say(error === "" ? "" : error + ".");
    editor.requestPass();
  }

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

  // The rows of the page shown; a field being typed in keeps its text. When the same rows are
  // shown again (a drag), only their values change.
  let shownRows = "";
  function update() {
    if (!open) return;
    let page = module.pointsPage(first, ROWS);
    if (page.first !== first && page.total > 0) {
      first = Math.max(0, Math.floor((page.total - 1) / ROWS) * ROWS);
      page = module.pointsPage(first, ROWS);
    }
    const rows = page.first + " " + page.points.length + " " + page.total;
    if (rows === shownRows) {
      body.querySelectorAll("input").forEach(function (input) {
        const point = page.points[Number(input.dataset.index) - page.first];
        const value = String(point[input.dataset.axis === "w" ? "w" : input.dataset.axis]);
        if (input !== document.activeElement && input.value !== value) input.value = value;
      });
      return;
    }
    shownRows = rows;
    const focused = document.activeElement;
    const keep = focused && body.contains(focused) ? focused.dataset : null;
    const typing = keep && keep.axis ? focused.value : null;
    body.textContent = "";
    page.points.forEach(function (point, j) {
      const index = page.first + j;
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
    range.textContent = page.total === 0 ? "No points yet: click in the editor to place one." :
      "P" + page.first + " to P" + (page.first + page.points.length - 1) + " of " + page.total + " points";
    previous.disabled = page.first === 0;
    next.disabled = page.first + ROWS >= page.total;
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
      editor.emit("explored");
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
  editor.on("panel", function (shown) {
    open = shown;
    update();
  });
  // Frames come as fast as a drag moves; the table's values follow once a display frame.
  let pending = false;
  editor.on("frame", function () {
    if (!open || pending) return;
    pending = true;
    requestAnimationFrame(function () {
      pending = false;
      update();
    });
  });
  editor.on("explored", update);
  body.addEventListener("pointerover", function (event) {
    const row = event.target.closest("tr[data-point]");
    editor.emit("look", row ? Number(row.dataset.point) : null);
  });
  editor.on("look", function (index) {
    looked = index;
    body.querySelectorAll("tr").forEach(function (row) {
      row.classList.toggle("looked", Number(row.dataset.point) === index);
    });
  });
}
