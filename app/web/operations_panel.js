// The operations courses teach, on the curve the panel explains, at the panel's t (its numbers
// come from operations_panel.cpp and operations_tables.cpp): a knot inserted from de Boor's
// triangle, up to k times, which splits the curve; the Bezier pieces; the degree raised; the
// derivatives, the curvature comb and the continuity at the knots; the arc length with ticks at
// equal length; the triangle's points named and shown level by level; the tables at t as CSV or
// LaTeX. It draws when the panel shows t (each frame the panel is open), never on its own except
// while "Play" steps through the levels.
import { download } from "./download.js";
import { startOperationsOverlay } from "./operations_overlay.js";

const VIEWS = ["pieces", "raised", "first", "second", "comb", "ticks"];
const MOST_TICK_SPANS = 40;   // ticks are drawn up to 10 a span over this many spans
const MOST_LISTED_KNOTS = 20; // knots whose continuity is listed, those nearest t
const MOST_SHOWN_KNOTS = 24;  // knots of a vector shown around t
const COMB_TEETH = 600;       // the comb's steps over the whole curve, 1 to 16 a span
const LEVEL_PACE = 800;       // milliseconds a level while "Play" steps through the triangle

function format(value) {
  return String(Math.round(value * 1e6) / 1e6);
}

function pair(p) {
  return "(" + format(p.x) + ", " + format(p.y) + ")";
}

function power(r) {
  const marks = "\u2070\u00b9\u00b2\u00b3\u2074\u2075\u2076\u2077\u2078\u2079";
  return r < 0 ? "\u207b\u00b9" : String(r).split("").map(function (d) { return marks[Number(d)]; }).join("");
}

// Written only when it changes: a page that writes the same text every frame makes the browser
// lay it out again every frame.
function setText(element, text) {
  if (element.textContent !== text) element.textContent = text;
}

export function startOperationsPanel(editor) {
  const module = editor.module;
  const elements = {};
  ["insert:op-insert", "remove:op-remove", "openRefined:op-open-refined", "insertNote:op-insert-note",
   "knots:op-knots", "pieces:op-pieces", "raised:op-raised", "openRaised:op-open-raised",
   "raisedNote:op-raised-note", "first:op-first", "second:op-second", "comb:op-comb",
   "combScale:op-comb-scale", "ticks:op-ticks", "ticksNote:op-ticks-note", "values:op-values",
   "continuityBox:op-continuity-box", "continuity:op-continuity", "labels:op-labels",
   "step:op-step", "levelDown:op-level-down", "levelUp:op-level-up", "level:op-level",
   "levelPlay:op-level-play", "exportKind:op-export-kind", "exportFormat:op-export-format",
   "save:op-export", "message:op-message"].forEach(function (entry) {
    const parts = entry.split(":");
    elements[parts[0]] = document.getElementById(parts[1]);
  });
  const overlay = startOperationsOverlay(document.getElementById("operations-overlay"),
                                       editor.geometry.worldOriginRow);
  let inserts = 0;
  let now = null;     // the panel's t: { t, text }, or null when it shows no curve
  let at = null;      // module.operationsAt at t
  let level = 0;      // the last level shown in step mode
  let playing = null; // the timer while "Play" steps through the levels
  let highlighted = -1;
  let drawn = null;   // what was drawn last

  function shown(name) {
    return elements[name].checked;
  }

  function say(text) {
    elements.message.textContent = text;
  }

  // A knot vector around t, the knots equal to t and new marked.
  // Rebuilt only when the curve's knots, t or the count of new ones change.
  function knotRow(target, knots, t, fresh) {
    const key = at.knotsKey + " " + knots.length + " " + t + " " + fresh;
    if (target.dataset.key === key) return;
    target.dataset.key = key;
    target.textContent = "";
    const first = knots.indexOf(t);
    const centre = first >= 0 ? first : Math.max(0, knots.findIndex(function (u) { return u > t; }));
    const from = Math.max(0, centre - MOST_SHOWN_KNOTS / 2);
    const to = Math.min(knots.length, from + MOST_SHOWN_KNOTS);
    if (from > 0) target.append("\u2026 ");
    for (let j = from; j < to; ++j) {
      const copy = first >= 0 && j >= first && knots[j] === t;
      const isNew = copy && j >= first + countOf(knots, t) - fresh;
      const item = document.createElement(isNew ? "mark" : "span");
      item.textContent = copy ? now.text : format(knots[j]);
      target.append(item, j + 1 < to ? " " : "");
    }
    if (to < knots.length) target.append(" \u2026");
  }

  function countOf(knots, t) {
    return knots.filter(function (u) { return u === t; }).length;
  }

  function describeInsertion() {
    const k = at.degree;
    elements.remove.disabled = inserts === 0;
    elements.insert.disabled = at.insertNote !== "";
    elements.openRefined.disabled = at.inserted === 0;
    if (at.inserted === 0) {
      setText(elements.insertNote, at.insertNote === "" ?
        "\u201cInsert t\u201d adds the knot t = " + now.text + ": the triangle's first level replaces " +
        (k - 1) + " points with " + k + ", and the curve stays the same." :
        "t cannot be inserted: " + at.insertNote + ".");
      knotRow(elements.knots, [], now.t, 0);
      return;
    }
    let text = "t = " + now.text + " inserted " + at.inserted + (at.inserted === 1 ? " time" : " times") +
      ": its multiplicity is " + at.multiplicity + " of at most " + k + ", on " + (at.refined.length / 2) + " points.";
    if (at.before) {
      text += " The curve is split there: the halves' polygons (the triangle's outer edges) in green and orange.";
    } else if (at.multiplicity >= k) {
      text += " At the domain's end the curve is not split.";
    }
    setText(elements.insertNote, text);
    knotRow(elements.knots, at.refinedKnots, now.t, at.inserted);
  }

  function describeRaised(raised) {
    if (!raised) {
      setText(elements.raisedNote, "");
      return;
    }
    elements.openRaised.disabled = raised.fault !== "" || raised.degree > editor.geometry.maxDegree;
    if (raised.fault !== "") return;
    const text = "Degree " + raised.degree + " on " + (raised.points.length / 2) + " points (dotted); its knots: ";
    if (elements.raisedNote.firstChild === null || elements.raisedNote.firstChild.textContent !== text) {
      elements.raisedNote.textContent = "";
      elements.raisedNote.append(text, document.createElement("span"));
    }
    knotRow(elements.raisedNote.lastChild, raised.knots, now.t, 0);
  }

  function fillValues() {
    const rows = [["C(t)", pair(at.point)], ["C\u2032(t)", pair(at.first)], ["C\u2033(t)", pair(at.second)],
                ["Curvature \u03ba(t)", at.curvature === null ? "none: the curve stands still" :
                  format(at.curvature) + (at.curvature !== 0 ? " (radius " + format(1 / Math.abs(at.curvature)) + ")" : "")],
                ["Arc length to t", format(at.lengthToT) + " of " + format(at.length)]];
    const body = elements.values.tBodies[0];
    rows.forEach(function (row, j) {
      let line = body.rows[j];
      if (!line) {
        line = body.insertRow();
        const head = document.createElement("th");
        head.scope = "row";
        head.textContent = row[0];
        line.append(head);
        line.insertCell();
      }
      setText(line.cells[1], row[1]);
    });
  }

  // The continuity at the knots nearest t, the list made again only when it reads otherwise.
  function fillContinuity() {
    const lines = [];
    if (elements.continuityBox.open) {
      const found = module.continuity(now.t, MOST_LISTED_KNOTS);
      if (found.total === 0) lines.push("No knot inside the domain.");
      else if (found.total > found.knots.length) lines.push("The " + found.knots.length + " of " + found.total + " knots nearest t:");
      found.knots.forEach(function (knot) {
        const measured = knot.measured === at.degree ? "C\u221e: both sides are one polynomial" :
          knot.measured < 0 ? "the curve jumps" : "C" + power(knot.measured);
        lines.push("t = " + format(knot.t) + " (" + knot.multiplicity + "\u00d7): " + measured +
          (knot.measured === knot.promised ? "" : ", where C" + power(knot.promised) + " is promised"));
      });
    }
    const list = elements.continuity, key = lines.join("\n");
    if (list.dataset.key === key) return;
    list.dataset.key = key;
    list.textContent = "";
    lines.forEach(function (line) { list.append(Object.assign(document.createElement("li"), { textContent: line })); });
  }

  function draw() {
    if (now === null) {
      overlay.clear();
      at = null;
      return;
    }
    at = module.operationsAt(now.t, inserts);
    if (at.fault !== "") {
      overlay.clear();
      return;
    }
    const tickCount = at.spans <= MOST_TICK_SPANS ? 10 * at.spans : 0;
    const view = {
      at: at, insertion: true, highlighted: highlighted, combScale: Math.pow(2, Number(elements.combScale.value)),
      // Each view of the core's numbers copied at once: the next call reuses their memory.
      pieces: shown("pieces") ? module.bezierPieces() : null,
      raised: shown("raised") ? module.raisedDegree() : null,
      first: shown("first"), second: shown("second"),
      comb: shown("comb") ? module.curvatureComb(Math.max(1, Math.min(16, Math.floor(COMB_TEETH / at.spans)))) : null,
      ticks: shown("ticks") && tickCount > 0 ? module.lengthTicks(tickCount) : null,
    };
    drawn = view;
    overlay.draw(view);
    describeInsertion();
    describeRaised(view.raised);
    setText(elements.ticksNote, !shown("ticks") ? "" : tickCount === 0 ?
      "Ticks are drawn up to " + MOST_TICK_SPANS + " spans." :
      "Blue ticks: equal steps of t (10 a span, as the editor samples); black: equal arc length.");
    fillValues();
    fillContinuity();
  }

  function redraw() {
    if (now !== null) draw();
  }

  // The triangle's names and the level shown go to the panel that draws the triangle.
  function triangleView() {
    const k = at ? at.degree : 0;
    level = Math.max(0, Math.min(level, k));
    setText(elements.level, shown("step") ? "level " + level + " of " + k : "");
    elements.levelDown.disabled = elements.levelUp.disabled = elements.levelPlay.disabled = !shown("step");
    editor.emit("triangle-view", { labels: elements.labels.value, level: shown("step") ? level : null });
  }

  function stepLevel(by) {
    if (!shown("step")) return;
    level += by;
    triangleView();
  }

  function stopLevels() {
    clearInterval(playing);
    playing = null;
    elements.levelPlay.textContent = "Play levels";
  }

  function playLevels() {
    if (playing !== null) {
      stopLevels();
      return;
    }
    level = 0;
    triangleView();
    elements.levelPlay.textContent = "Pause";
    playing = setInterval(function () {
      if (!at || level >= at.degree) stopLevels();
      else stepLevel(1);
    }, LEVEL_PACE);
  }

  function openAsScene(error, what) {
    if (error === "") {
      inserts = 0;
      say("Opened " + what + " as the scene: the explored curve is the same curve on its new points " +
          "(Undo goes back).");
      editor.emit("explored");
      editor.requestPass();
    } else {
      say(what.charAt(0).toUpperCase() + what.slice(1) + " cannot be opened: " + error + ".");
    }
  }

  elements.insert.addEventListener("click", function () {
    if (at && at.insertNote === "") inserts = at.inserted + 1;
    say("");
    redraw();
  });
  elements.remove.addEventListener("click", function () {
    inserts = Math.max(0, (at ? at.inserted : inserts) - 1);
    redraw();
  });
  elements.openRefined.addEventListener("click", function () {
    if (now !== null) openAsScene(module.openRefinement(now.t, inserts), "the refinement");
  });
  elements.openRaised.addEventListener("click", function () {
    openAsScene(module.openRaised(), "the curve of raised degree");
  });
  VIEWS.concat(["combScale"]).forEach(function (name) {
    elements[name].addEventListener(name === "combScale" ? "input" : "change", redraw);
  });
  elements.continuityBox.addEventListener("toggle", redraw);
  elements.labels.addEventListener("change", triangleView);
  elements.step.addEventListener("change", function () {
    level = shown("step") ? 0 : level;
    if (!shown("step")) stopLevels();
    triangleView();
  });
  elements.levelDown.addEventListener("click", function () { stepLevel(-1); });
  elements.levelUp.addEventListener("click", function () { stepLevel(1); });
  elements.levelPlay.addEventListener("click", playLevels);
  document.addEventListener("keydown", function (event) {
    if (now === null || !shown("step") || event.ctrlKey || event.metaKey || event.altKey) return;
    if (event.target && event.target.tagName === "INPUT" && event.target.type === "text") return;
    if (event.key === "[") stepLevel(-1);
    else if (event.key === "]") stepLevel(1);
  });
  elements.save.addEventListener("click", function () {
    if (now === null) return;
    const kind = elements.exportKind.value, latex = elements.exportFormat.value === "latex";
    const text = module.operationsTable(kind, latex ? "latex" : "csv", now.t, inserts);
    const name = kind + "-at-" + now.text + (latex ? ".tex" : ".csv");
    download(name, new Blob([text], { type: latex ? "text/x-tex" : "text/csv" }));
    say("Saved " + name + ".");
  });
  editor.on("t", function (value) {
    now = value;
    if (value === null) {
      stopLevels();
      overlay.clear();
      return;
    }
    draw();
    if (shown("step") && at && level > at.degree) triangleView();
  });
  // Pointing at the curve over the editor picks its span: its piece and the span on the plot.
  editor.on("pointer", function (point) {
    if (now === null || !shown("pieces")) return;
    const near = point === null ? { index: -1 } :
      module.spanNear(point[0], editor.geometry.worldOriginRow - point[1], 12);
    if (near.index === highlighted) return;
    highlighted = near.index;
    editor.emit("span-look", near.index < 0 ? null : { first: near.first, last: near.last });
  });

  // The link keeps the insertions, the views on, the comb's scale and the triangle's view.
  editor.on("view-save", function (view) {
    if (now === null) return;
    if (inserts > 0) view.insert = String(inserts);
    const on = VIEWS.filter(shown);
    if (on.length > 0) view.show = on.join(",");
    if (elements.combScale.value !== "0") view.comb = elements.combScale.value;
    if (elements.labels.value !== "none") view.labels = elements.labels.value;
    if (shown("step")) view.level = String(level);
  });
  editor.on("view-check", function (check) {
    const v = check.view;
    ["insert", "show", "comb", "labels", "level"].forEach(function (name) { check.known[name] = true; });
    if ("insert" in v && !/^[0-9]$/.test(v.insert)) check.errors.push("insert=" + v.insert + " is not 0 to 9");
    if ("level" in v && !/^[0-9]$/.test(v.level)) check.errors.push("level=" + v.level + " is not 0 to 9");
    if ("show" in v && v.show.split(",").some(function (name) { return VIEWS.indexOf(name) < 0; })) {
      check.errors.push("show=" + v.show + " names a view there is not");
    }
    const scale = Number(v.comb);
    if ("comb" in v && !(/^-?[0-9.]+$/.test(v.comb) && scale >= -3 && scale <= 3)) {
      check.errors.push("comb=" + v.comb + " is not a scale from -3 to 3");
    }
    if ("labels" in v && ["none", "names", "blossoms"].indexOf(v.labels) < 0) {
      check.errors.push("labels=" + v.labels + " is not none, names or blossoms");
    }
  });
  editor.on("view-restore", function (v) {
    inserts = v.insert ? Number(v.insert) : 0;
    const on = v.show ? v.show.split(",") : [];
    VIEWS.forEach(function (name) { elements[name].checked = on.indexOf(name) >= 0; });
    elements.combScale.value = v.comb || "0";
    elements.labels.value = v.labels || "none";
    elements.step.checked = v.level !== undefined;
    level = v.level ? Number(v.level) : 0;
    triangleView();
    redraw();
  });

  elements.levelDown.disabled = elements.levelUp.disabled = elements.levelPlay.disabled = true;
  // What the part shows and its tables, for tests and scripts.
  window.operationsState = function () {
    return now === null ? null : { t: now.t, inserts: inserts, at: at, level: shown("step") ? level : null,
                                   highlighted: highlighted,
                                   drawn: drawn && { pieces: drawn.pieces && Array.from(drawn.pieces),
                                                     comb: drawn.comb && drawn.comb.length,
                                                     ticks: drawn.ticks && drawn.ticks.length } };
  };
  window.operationsTable = function (kind, latex) {
    return now === null ? "" : module.operationsTable(kind, latex ? "latex" : "csv", now.t, inserts);
  };
}
