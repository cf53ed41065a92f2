// The panel "Inside the curve" (its numbers come from inside_panel.cpp): the parameter t, de
// Boor's construction at t drawn over the editor (on a canvas of its own), the points' labels,
// and the basis functions. It runs only when the page shows a frame or a control changes,
// never on its own, except while "Play" sweeps t.
import { startBasisPlot } from "./basis_plot.js";

// One colour per control point, by its index: the k + 1 points of a span are always apart.
var POINT_COLOURS = ["#d62728", "#1f77b4", "#2ca02c", "#ff7f0e", "#9467bd", "#8c564b",
                     "#e377c2", "#17becf", "#bcbd22", "#b8860b"];
var TICK_COLOUR = "#222";
var SPEEDS = [0.25, 0.5, 1, 2, 4]; // spans a second while "Play" sweeps
var MOST_LABELS = 1000;

export function colourOf(index) {
  return POINT_COLOURS[((index % 10) + 10) % 10];
}

// One shade of grey per level of the triangle, darker from the control points down to the
// curve point.
function levelShade(l, k) {
  var grey = Math.round(170 - 150 * l / Math.max(1, k - 1));
  return "rgb(" + grey + "," + grey + "," + grey + ")";
}

// A value to six decimals, without trailing zeros; t's nominal values to at least one.
function format(value) {
  return String(Math.round(value * 1e6) / 1e6);
}

function formatT(value) {
  var text = format(value);
  return text.indexOf(".") < 0 ? text + ".0" : text;
}

export function startInsidePanel(editor) {
  var module = editor.module;
  var row = editor.geometry.worldOriginRow;
  var ids = { panel: "inside", toggle: "inside-toggle", status: "inside-status",
              slider: "t-slider", field: "t-value", note: "t-note", play: "t-play",
              speed: "t-speed", exact: "t-exact", labels: "show-labels", view: "inside-view",
              values: "basis-values", sum: "basis-sum", overlay: "overlay" };
  var elements = {};
  Object.keys(ids).forEach(function (name) { elements[name] = document.getElementById(ids[name]); });
  var plot = startBasisPlot(module, document.getElementById("basis"), colourOf);
  var open = false;
  var domain = null;
  // What the user chose: a sample of the editor's (the slider, "Play") or a value typed.
  var choice = { sample: 0 };
  var at = null; // t now: { exact (float32, where the editor samples), nominal, index }
  var construction = null;
  var play = null; // while "Play" sweeps: where and when it started

  // t from the user's choice, within the domain; the slider at the chosen sample or at the
  // one nearest the value typed.
  function settle(previous) {
    var k = domain.degree, n = domain.points;
    if (previous && previous.degree !== k && choice.sample !== undefined && at !== null) {
      choice = { sample: Math.max(0, Math.round((at.nominal - k) * 10)) }; // the same t, roughly
    }
    if (choice.sample !== undefined) {
      at = module.sample(choice.sample);
    } else {
      var value = Math.min(Math.max(choice.value, k), n);
      var nearest = module.sample(Math.round((value - k) * 10));
      at = { exact: Math.fround(value), nominal: value, index: nearest.index };
    }
  }

  function setStatus(text) {
    if (elements.status.textContent !== text) elements.status.textContent = text;
  }

  function exact() {
    return elements.exact.checked;
  }

  function update() {
    if (!open) return;
    var previous = domain;
    domain = module.curveDomain();
    elements.view.hidden = !domain.hasCurve;
    if (!domain.hasCurve) {
      var word = domain.needed === 1 ? "point" : "points";
      setStatus(domain.degree === 0 ? "No curve." : "Place " + domain.needed +
        " more " + word + " for a curve of degree " + domain.degree + ".");
      stopPlaying();
      setControls(false);
      construction = null;
      drawOverlay();
      return;
    }
    setStatus("Degree " + domain.degree + " over " + domain.points +
      " points: t runs from " + domain.degree + " to " + domain.points + ".");
    settle(previous);
    setControls(true);
    construction = module.construction(at.exact);
    drawOverlay();
    var shown = exact() ? at.exact : at.nominal;
    plot.draw(domain.degree, domain.points, construction.first, shown, tText());
    fillValues(module.basisAt(shown));
  }

  function tText() {
    return exact() ? format(at.exact) : formatT(at.nominal);
  }

  function setControls(enabled) {
    var slider = elements.slider, field = elements.field;
    slider.disabled = field.disabled = elements.play.disabled = !enabled;
    if (!enabled) {
      slider.removeAttribute("aria-valuetext");
      field.value = "";
      return;
    }
    slider.max = String(domain.samples - 1);
    slider.value = String(at.index);
    slider.setAttribute("aria-valuetext", "t = " + tText());
    field.title = "The editor samples t = " + format(at.exact);
    if (document.activeElement !== field) field.value = tText();
  }

  // Lines and dots thick enough to see where the editor is shown smaller than its pixels.
  function strokeScale() {
    var box = elements.overlay.getBoundingClientRect();
    return box.width > 0 ? Math.max(1, elements.overlay.width / box.width) : 1;
  }

  function client(point) {
    return [point.x + 0.5, row - point.y + 0.5];
  }

  function dot(context, centre, radius, fill, stroke) {
    context.beginPath();
    context.arc(centre[0], centre[1], radius, 0, 2 * Math.PI);
    if (fill) { context.fillStyle = fill; context.fill(); }
    if (stroke) { context.strokeStyle = stroke; context.stroke(); }
  }

  function drawLabels(context, s) {
    var points = module.pointsView(); // x, y pairs
    var count = Math.min(points.length / 2, MOST_LABELS);
    context.font = Math.round(11 * s) + "px system-ui, sans-serif";
    context.textAlign = "left";
    context.lineWidth = 3 * s;
    context.strokeStyle = "rgba(255, 255, 255, 0.85)";
    context.fillStyle = "#111";
    for (var j = 0; j < count; ++j) {
      var x = points[2 * j] + 7 * s, y = row - points[2 * j + 1] - 6 * s;
      context.strokeText("P" + j, x, y);
      context.fillText("P" + j, x, y);
    }
  }

  function drawOverlay() {
    var overlay = elements.overlay;
    var context = overlay.getContext("2d");
    context.clearRect(0, 0, overlay.width, overlay.height);
    if (!open) return;
    var s = strokeScale();
    if (construction !== null) drawConstruction(context, s);
    if (elements.labels.checked) drawLabels(context, s);
  }

  function drawConstruction(context, s) {
    var ends = module.spanEnds();
    // The span ends: where one polynomial piece of the curve meets the next.
    context.fillStyle = TICK_COLOUR;
    for (var e = 0; e < ends.length; e += 2) {
      var end = client({ x: ends[e], y: ends[e + 1] });
      context.fillRect(end[0] - 1.5 * s, end[1] - 1.5 * s, 3 * s, 3 * s);
    }
    var levels = construction.levels, k = construction.degree;
    // Each level's points and the segments joining them, level 0 being the span's control
    // points, each ringed in its colour.
    for (var l = 0; l < k; ++l) {
      var level = levels[l];
      context.lineWidth = 1.5 * s;
      context.strokeStyle = levelShade(l, k);
      context.beginPath();
      // At t = N the span reaches one index past the last point, with weight 0: not drawn.
      var drawn = l === 0 ? Math.min(level.length, domain.points - construction.first) : level.length;
      for (var j = 0; j < drawn; ++j) {
        var p = client(level[j]);
        if (j === 0) context.moveTo(p[0], p[1]);
        else context.lineTo(p[0], p[1]);
      }
      context.stroke();
      for (j = 0; j < level.length; ++j) {
        var index = construction.first + j;
        if (l === 0) {
          if (index < domain.points) {
            context.lineWidth = 2.5 * s;
            dot(context, client(level[j]), 7 * s, null, colourOf(index));
          }
        } else {
          dot(context, client(level[j]), 3 * s, levelShade(l, k), null);
        }
      }
    }
    context.lineWidth = 2 * s;
    dot(context, client(construction.point), 5 * s, "#fff", "#000");
  }

  function fillValues(basis) {
    var body = elements.values.tBodies[0];
    body.textContent = "";
    var sum = 0;
    basis.values.forEach(function (value, j) {
      var index = basis.first + j;
      if (index < 0 || index >= domain.points) return;
      sum += value;
      var line = body.insertRow();
      var name = document.createElement("th");
      name.scope = "row";
      var swatch = document.createElement("span");
      swatch.className = "swatch";
      swatch.style.background = colourOf(index);
      name.appendChild(swatch);
      name.appendChild(document.createTextNode("P" + index));
      line.appendChild(name);
      line.insertCell().textContent = value.toFixed(6);
    });
    elements.sum.textContent = sum.toFixed(6);
  }

  function note(text) {
    elements.note.textContent = text;
  }

  // A typed t: a number in the domain is taken; one outside it is brought to the nearer end,
  // and anything else is refused; either way the field shows the t now and a note says why.
  function typed() {
    var text = elements.field.value.trim();
    var value = Number(text);
    if (!domain || !domain.hasCurve) return;
    if (text === "" || !isFinite(value)) {
      note("\u201c" + text + "\u201d is not a number: t stays " + tText() + ".");
      elements.field.value = tText();
      return;
    }
    if (value < domain.degree || value > domain.points) {
      var end = value < domain.degree ? domain.degree : domain.points;
      note("t runs from " + domain.degree + " to " + domain.points + ": " + text +
        " is outside, so t is " + end + ".");
      value = end;
    } else {
      note("");
    }
    choice = { value: value };
    update();
    elements.field.value = tText();
  }

  function toSample(n) {
    choice = { sample: n };
    note("");
    update();
  }

  // "Play" sweeps t through the samples at the chosen pace, ten samples a span; it stops at the
  // end.
  function step(now) {
    if (play === null) return;
    if (!open || !domain || !domain.hasCurve) {
      stopPlaying();
      return;
    }
    var spans = (now - play.since) / 1000 * SPEEDS[Number(elements.speed.value)];
    var index = Math.min(play.from + Math.floor(spans * 10), domain.samples - 1);
    if (index !== at.index || choice.sample === undefined) toSample(index);
    if (index >= domain.samples - 1) stopPlaying();
    else requestAnimationFrame(step);
  }

  function startPlaying() {
    if (!domain || !domain.hasCurve) return;
    var from = at.index >= domain.samples - 1 ? 0 : at.index;
    toSample(from);
    play = { from: from, since: performance.now() };
    elements.play.textContent = "Pause";
    elements.play.setAttribute("aria-pressed", "true");
    requestAnimationFrame(step);
  }

  function stopPlaying() {
    play = null;
    elements.play.textContent = "Play";
    elements.play.setAttribute("aria-pressed", "false");
  }

  function setOpen(value) {
    open = value;
    elements.panel.hidden = !open;
    elements.toggle.setAttribute("aria-expanded", String(open));
    if (open) update();
    else stopPlaying();
    drawOverlay();
    editor.emit("panel", open);
  }

  elements.toggle.addEventListener("click", function () { setOpen(!open); });
  elements.slider.addEventListener("input", function () { toSample(Number(elements.slider.value)); });
  elements.field.addEventListener("change", typed);
  elements.exact.addEventListener("change", update);
  elements.labels.addEventListener("change", drawOverlay);
  elements.speed.addEventListener("change", function () {
    if (play !== null) play = { from: at.index, since: performance.now() };
  });
  elements.play.addEventListener("click", function () {
    if (play !== null) stopPlaying();
    else startPlaying();
  });
  editor.on("frame", update);
  // What the panel shows, for tests and scripts.
  window.insidePanelState = function () {
    return open ? { domain: domain, construction: construction, sampleIndex: at && at.index,
                    t: at, basis: domain && domain.hasCurve ? module.basisAt(exact() ? at.exact : at.nominal) : null } : null;
  };
}
