// The panel "Inside the curve": the parameter t, de Boor's construction at t drawn over the
// editor (on a canvas of its own), and the basis functions. Every number comes from the core
// (web_explain.cpp); this script only draws them and wires the controls. It runs only when the
// page shows a frame or a control changes, never on its own, except while "Play" sweeps t.
"use strict";

var InsidePanel = (function () {
  // One colour per control point, by its index: the k + 1 points of a span are always apart.
  var POINT_COLOURS = ["#d62728", "#1f77b4", "#2ca02c", "#ff7f0e", "#9467bd", "#8c564b",
                       "#e377c2", "#17becf", "#bcbd22", "#b8860b"];
  // One shade of grey per level of the triangle, darker from the control points down to the
  // curve point.
  function levelShade(l, k) {
    var grey = Math.round(170 - 150 * l / Math.max(1, k - 1));
    return "rgb(" + grey + "," + grey + "," + grey + ")";
  }
  var TICK_COLOUR = "#222";

  var module = null;
  var elements = {};
  var open = false;
  var domain = null; // the core's: degree, points, hasCurve, needed, samples
  var t = null;      // float32, within the domain
  // What the user chose: a sample of the editor's (the slider, "Play") or a value typed.
  var choice = { sample: 0 };
  var sampleIndex = 0;
  var construction = null;
  var playing = false;

  function colourOf(index) {
    return POINT_COLOURS[((index % 10) + 10) % 10];
  }

  function doubles(address, count) {
    return Array.prototype.slice.call(new Float64Array(module.HEAPF64.buffer, address, count));
  }

  function readDomain() {
    var d = doubles(module._tavrimo_explain_domain(), 5);
    return { degree: d[0], points: d[1], hasCurve: d[2] === 1, needed: d[3], samples: d[4] };
  }

  // The layout written by tavrimo_explain_at: t, k, first index, the triangle level by level,
  // C(t)'s pixel, the k + 1 basis values.
  function readConstruction(at) {
    var address = module._tavrimo_explain_at(at);
    var head = doubles(address, 3);
    var k = head[1];
    var pointCount = (k + 1) * (k + 2) / 2;
    var all = doubles(address, 3 + 2 * pointCount + 2 + k + 1);
    var cursor = 3;
    var levels = [];
    for (var l = 0; l <= k; ++l) {
      var level = [];
      for (var j = 0; j + l <= k; ++j) {
        level.push([all[cursor], all[cursor + 1]]);
        cursor += 2;
      }
      levels.push(level);
    }
    var pixel = [all[cursor], all[cursor + 1]];
    cursor += 2;
    return { t: head[0], degree: k, first: head[2], levels: levels, point: levels[k][0],
             pixel: pixel, basis: all.slice(cursor, cursor + k + 1) };
  }

  function readSpanEnds() {
    var address = module._tavrimo_explain_span_ends();
    var count = module.HEAPF32[address >> 2];
    return new Float32Array(module.HEAPF32.buffer, address + 4, 2 * count);
  }

  function sampleParameter(n) {
    return module._tavrimo_explain_sample_parameter(n);
  }

  // World to the editor's client coordinates, at pixel centres.
  function client(point) {
    return [point[0] + 0.5, 239 - point[1] + 0.5];
  }

  function format(value) {
    return String(Math.round(value * 1e6) / 1e6);
  }

  // t from the user's choice, within the domain; the slider at the chosen sample or at the
  // one nearest the value typed.
  function settle(previous) {
    var k = domain.degree, n = domain.points, last = domain.samples - 1;
    if (previous && previous.degree !== k && choice.sample !== undefined && t !== null) {
      choice = { sample: Math.max(0, Math.round((t - k) * 10)) }; // the same t, roughly
    }
    if (choice.sample !== undefined) {
      sampleIndex = Math.min(Math.max(choice.sample, 0), last);
      t = sampleParameter(sampleIndex);
    } else {
      t = Math.fround(Math.min(Math.max(choice.value, k), n));
      sampleIndex = Math.min(Math.max(Math.round((t - k) * 10), 0), last);
    }
  }

  // The status is announced when it changes, not with every frame.
  function setStatus(text) {
    if (elements.status.textContent !== text) elements.status.textContent = text;
  }

  function update() {
    if (!open) return;
    var previous = domain;
    domain = readDomain();
    if (!domain.hasCurve) {
      var word = domain.needed === 1 ? "point" : "points";
      setStatus(domain.degree === 0 ? "No curve." : "Place " + domain.needed +
        " more " + word + " for a curve of degree " + domain.degree + ".");
      stopPlaying();
      setControls(false);
      clearOverlay();
      BasisPlot.clear();
      fillValues(null);
      construction = null;
      return;
    }
    setStatus("Degree " + domain.degree + " over " + domain.points +
      " points: t runs from " + domain.degree + " to " + domain.points + ".");
    settle(previous);
    setControls(true);
    construction = readConstruction(t);
    drawOverlay();
    BasisPlot.draw(domain.degree, domain.points, construction.first, construction.t,
                   format(construction.t));
    fillValues(construction);
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
    slider.value = String(sampleIndex);
    slider.setAttribute("aria-valuetext", "t = " + format(t));
    field.min = String(domain.degree);
    field.max = String(domain.points);
    if (document.activeElement !== field) field.value = format(t);
  }

  function clearOverlay() {
    var overlay = elements.overlay;
    overlay.getContext("2d").clearRect(0, 0, overlay.width, overlay.height);
  }

  function dot(context, at, radius, fill, stroke) {
    context.beginPath();
    context.arc(at[0], at[1], radius, 0, 2 * Math.PI);
    if (fill) { context.fillStyle = fill; context.fill(); }
    if (stroke) { context.strokeStyle = stroke; context.stroke(); }
  }

  function drawOverlay() {
    var context = elements.overlay.getContext("2d");
    context.clearRect(0, 0, elements.overlay.width, elements.overlay.height);
    var ends = readSpanEnds();
    // The span ends: where one polynomial piece of the curve meets the next.
    context.fillStyle = TICK_COLOUR;
    for (var e = 0; e < ends.length; e += 2) {
      var at = client([ends[e], ends[e + 1]]);
      context.fillRect(at[0] - 1.5, at[1] - 1.5, 3, 3);
    }
    var levels = construction.levels, k = construction.degree;
    // Each level's points and the segments joining them, level 0 being the span's control
    // points, each ringed in its colour.
    context.lineWidth = 1.5;
    for (var l = 0; l < k; ++l) {
      var level = levels[l];
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
            context.lineWidth = 2.5;
            dot(context, client(level[j]), 7, null, colourOf(index));
            context.lineWidth = 1.5;
          }
        } else {
          dot(context, client(level[j]), 3, levelShade(l, k), null);
        }
      }
    }
    context.lineWidth = 2;
    dot(context, client(construction.point), 5, "#fff", "#000");
  }

  function fillValues(at) {
    var body = elements.values.tBodies[0];
    body.textContent = "";
    elements.sum.textContent = "";
    if (at === null) return;
    var sum = 0;
    for (var j = 0; j <= at.degree; ++j) {
      var index = at.first + j;
      if (index >= domain.points) continue; // past the last point: weight 0 at t = N
      sum += at.basis[j];
      var row = body.insertRow();
      var name = document.createElement("th");
      name.scope = "row";
      var swatch = document.createElement("span");
      swatch.className = "swatch";
      swatch.style.background = colourOf(index);
      name.appendChild(swatch);
      name.appendChild(document.createTextNode("P" + index));
      row.appendChild(name);
      row.insertCell().textContent = at.basis[j].toFixed(6);
    }
    elements.sum.textContent = sum.toFixed(6);
  }

  function setParameter(value) {
    choice = { value: value };
    update();
  }

  function toSample(n) {
    choice = { sample: n };
    update();
  }

  // "Play" sweeps t through the samples, one a display frame; it stops at the end.
  function step() {
    if (!playing) return;
    if (!open || !domain || !domain.hasCurve || sampleIndex >= domain.samples - 1) {
      stopPlaying();
      return;
    }
    toSample(sampleIndex + 1);
    requestAnimationFrame(step);
  }

  function startPlaying() {
    if (!domain || !domain.hasCurve) return;
    if (sampleIndex >= domain.samples - 1) toSample(0);
    else if (choice.sample === undefined) toSample(sampleIndex);
    playing = true;
    elements.play.textContent = "Pause";
    elements.play.setAttribute("aria-pressed", "true");
    requestAnimationFrame(step);
  }

  function stopPlaying() {
    playing = false;
    elements.play.textContent = "Play";
    elements.play.setAttribute("aria-pressed", "false");
  }

  function setOpen(value) {
    open = value;
    elements.panel.hidden = !open;
    elements.toggle.setAttribute("aria-expanded", String(open));
    if (open) {
      update();
    } else {
      stopPlaying();
      clearOverlay();
    }
  }

  return {
    start: function (loaded) {
      module = loaded;
      BasisPlot.start(loaded, document.getElementById("basis"), colourOf);
      ["panel:inside", "toggle:inside-toggle", "status:inside-status", "slider:t-slider",
       "field:t-value", "play:t-play", "values:basis-values", "sum:basis-sum",
       "overlay:overlay"].forEach(function (pair) {
        var parts = pair.split(":");
        elements[parts[0]] = document.getElementById(parts[1]);
      });
      elements.toggle.addEventListener("click", function () { setOpen(!open); });
      elements.slider.addEventListener("input", function () {
        toSample(Number(elements.slider.value));
      });
      elements.field.addEventListener("change", function () {
        var value = Number(elements.field.value);
        if (elements.field.value !== "" && isFinite(value)) setParameter(value);
        else update();
      });
      elements.play.addEventListener("click", function () {
        if (playing) stopPlaying();
        else startPlaying();
      });
    },
    // Called after a pass that showed a frame.
    frameShown: update,
    // What the panel shows, for tests and scripts.
    state: function () {
      return open ? { domain: domain, construction: construction, sampleIndex: sampleIndex } : null;
    },
  };
})();
