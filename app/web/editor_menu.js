// The editor's menu bar, built from the core's menu: a button per popup, its items as menu items
// (the degrees as radio items with their check marks), moved through with the arrow keys; an
// item chosen is sent to the editor as its command.

function closeMenus(bar, except) {
  bar.querySelectorAll(".items").forEach((list) => {
    if (list !== except) {
      list.classList.remove("open");
      list.previousSibling.setAttribute("aria-expanded", "false");
    }
  });
}

function popup(bar, title) {
  const heading = document.createElement("li");
  heading.setAttribute("role", "none");
  const button = document.createElement("button");
  button.className = "popup";
  button.setAttribute("role", "menuitem");
  button.textContent = title;
  button.setAttribute("aria-haspopup", "true");
  button.setAttribute("aria-expanded", "false");
  const list = document.createElement("ul");
  list.className = "items";
  list.setAttribute("role", "menu");
  list.setAttribute("aria-label", title);
  button.addEventListener("click", () => {
    const open = !list.classList.contains("open");
    closeMenus(bar, list);
    list.classList.toggle("open", open);
    button.setAttribute("aria-expanded", String(open));
    if (open) list.querySelector("button").focus();
  });
  heading.append(button, list);
  bar.append(heading);
  return list;
}

// Arrow keys move within an open menu and from title to title, Down opens a menu, Escape
// closes it.
function attachKeys(bar, canvas) {
  bar.addEventListener("keydown", (event) => {
    const list = event.target.closest(".items");
    const titles = Array.from(bar.querySelectorAll("button.popup"));
    const titleAt = titles.indexOf(list ? list.previousSibling : event.target);
    if (event.key === "Escape") {
      closeMenus(bar, null);
      canvas.focus();
    } else if (list && (event.key === "ArrowDown" || event.key === "ArrowUp")) {
      const buttons = Array.from(list.querySelectorAll("button"));
      const at = buttons.indexOf(event.target);
      buttons[(at + (event.key === "ArrowDown" ? 1 : buttons.length - 1)) % buttons.length].focus();
      event.preventDefault();
    } else if (!list && event.key === "ArrowDown" && titleAt >= 0) {
      if (event.target.getAttribute("aria-expanded") !== "true") event.target.click();
      event.preventDefault();
    } else if (titleAt >= 0 && (event.key === "ArrowRight" || event.key === "ArrowLeft")) {
      const wasOpen = list !== null;
      closeMenus(bar, null);
      const other = titles[(titleAt + (event.key === "ArrowRight" ? 1 : titles.length - 1)) % titles.length];
      if (wasOpen) other.click();
      else other.focus();
      event.preventDefault();
    }
  });
  document.addEventListener("pointerdown", (event) => {
    if (!event.target.closest("#menubar")) closeMenus(bar, null);
  });
}

// The menu of `entries` ({ popup, text, command, checked }) in `bar`; `choose(command)` sends
// one. Returns setMark(command, checked) for the core's check marks.
export function buildMenu(bar, entries, canvas, choose) {
  const lists = {};
  const marks = {};
  function setMark(command, checked) {
    const button = marks[command];
    if (!button) return;
    const on = Boolean(checked); // from the core: 1 or 0
    button.firstChild.textContent = on ? "\u2713" : "";
    button.setAttribute("aria-checked", String(on));
  }
  for (const entry of entries) {
    if (!lists[entry.popup]) lists[entry.popup] = popup(bar, entry.popup);
    const item = document.createElement("li");
    item.setAttribute("role", "none");
    const button = document.createElement("button");
    const mark = document.createElement("span");
    mark.className = "mark";
    button.setAttribute("role", entry.popup === "Degree" ? "menuitemradio" : "menuitem");
    button.dataset.command = String(entry.command);
    button.append(mark, entry.text);
    button.addEventListener("click", () => {
      closeMenus(bar, null);
      canvas.focus();
      choose(entry.command);
    });
    item.append(button);
    lists[entry.popup].append(item);
    if (entry.popup === "Degree") {
      marks[entry.command] = button;
      setMark(entry.command, entry.checked);
    }
  }
  attachKeys(bar, canvas);
  return setMark;
}
