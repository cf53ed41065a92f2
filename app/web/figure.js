// A figure is what the page draws, kept as shapes and text instead of pixels: a recording
// canvas stands in for a real one, so the parts draw a figure with their own drawing code.
// Pure (no DOM): text is measured by the function given.

// A colour as CSS writes it ("#rgb", "#rrggbb", "rgb(…)", "rgba(…)", a few names), as
// { r, g, b, a } with 0 to 255 and 0 to 1; null for "none" or what is not understood.
const NAMES = { black: "#000000", white: "#ffffff", red: "#ff0000", green: "#008000",
  blue: "#0000ff", transparent: "none" };

export function parseColour(text) {
  const css = NAMES[String(text).trim().toLowerCase()] || String(text).trim().toLowerCase();
  let match = /^#([0-9a-f]{3}|[0-9a-f]{6})$/.exec(css);
  if (match) {
    const hex = match[1].length === 3 ? match[1].replace(/./g, "$&$&") : match[1];
    return { r: parseInt(hex.slice(0, 2), 16), g: parseInt(hex.slice(2, 4), 16),
      b: parseInt(hex.slice(4, 6), 16), a: 1 };
  }
  match = /^rgba?\(\s*([\d.]+)\s*,\s*([\d.]+)\s*,\s*([\d.]+)\s*(?:,\s*([\d.]+)\s*)?\)$/.exec(css);
  if (!match) return null;
  const part = (i) => Math.max(0, Math.min(255, Math.round(Number(match[i]))));
  return { r: part(1), g: part(2), b: part(3), a: match[4] === undefined ? 1 : Math.min(1, Number(match[4])) };
}

// The size in pixels and the weight of a canvas font ("bold 14px system-ui, sans-serif").
export function parseFont(font) {
  const size = /(\d+(?:\.\d+)?)px/.exec(font);
  return { size: size ? Number(size[1]) : 10, bold: /\bbold\b|\b[6-9]00\b/.test(font) };
}

const STYLE = { fillStyle: "#000", strokeStyle: "#000", lineWidth: 1, font: "10px sans-serif",
  textAlign: "start", textBaseline: "alphabetic", lineCap: "butt", lineJoin: "miter", globalAlpha: 1 };

function withAlpha(colour, alpha) {
  const parsed = parseColour(colour);
  return parsed === null ? null : Object.assign(parsed, { a: parsed.a * alpha });
}

// A stand-in for a 2-D canvas context: what is drawn is kept in `items`, each a path
// ({ shapes, stroke, fill, width, dash, cap }, a shape being { points, closed } or a circle
// { cx, cy, r }) or a text ({ x, y, text, size, bold, align, baseline, fill, halo }), in the
// order drawn, moved by `offset`.
export function recordingContext(measure, offset = [0, 0]) {
  const items = [];
  let shapes = [];
  let dash = [];
  let style = Object.assign({}, STYLE);
  const saved = [];
  const at = (x, y) => [x + offset[0], y + offset[1]];
  const last = () => shapes[shapes.length - 1];
  const paint = (stroke) => ({ width: style.lineWidth, dash: dash.slice(), cap: style.lineCap,
    stroke: stroke ? withAlpha(style.strokeStyle, style.globalAlpha) : null,
    fill: stroke ? null : withAlpha(style.fillStyle, style.globalAlpha) });
  const context = {
    items: items,
    beginPath() { shapes = []; },
    moveTo(x, y) { shapes.push({ points: at(x, y), closed: false }); },
    lineTo(x, y) {
      if (shapes.length === 0 || last().cx !== undefined) shapes.push({ points: [], closed: false });
      last().points.push(...at(x, y));
    },
    closePath() { if (shapes.length > 0 && last().points) last().closed = true; },
    rect(x, y, w, h) {
      shapes.push({ points: [...at(x, y), ...at(x + w, y), ...at(x + w, y + h), ...at(x, y + h)], closed: true });
    },
    arc(cx, cy, r, from, to) {
      if (Math.abs(to - from) >= 2 * Math.PI - 1e-9) {
        const [x, y] = at(cx, cy);
        shapes.push({ cx: x, cy: y, r: r });
        return;
      }
      for (let i = 0; i <= 32; ++i) {
        const angle = from + (to - from) * i / 32;
        context[i === 0 && shapes.length === 0 ? "moveTo" : "lineTo"](cx + r * Math.cos(angle), cy + r * Math.sin(angle));
      }
    },
    stroke() { items.push(Object.assign({ shapes: shapes.slice() }, paint(true))); },
    fill() { items.push(Object.assign({ shapes: shapes.slice() }, paint(false))); },
    fillRect(x, y, w, h) {
      const kept = shapes;
      shapes = [];
      context.rect(x, y, w, h);
      context.fill();
      shapes = kept;
    },
    fillText(text, x, y) { items.push(textItem(text, x, y, false)); },
    strokeText(text, x, y) { items.push(textItem(text, x, y, true)); },
    measureText(text) { return { width: measure(String(text), style.font) }; },
    setLineDash(pattern) { dash = pattern.slice(); },
    getLineDash() { return dash.slice(); },
    save() { saved.push({ style: Object.assign({}, style), dash: dash.slice() }); },
    restore() { const s = saved.pop(); if (s) { style = s.style; dash = s.dash; } },
    clearRect() {},
    // A layer drawn into this one: a recording of its own (a cached background).
    drawImage(image) {
      const recorded = image && image.recording ? image.recording.items : [];
      items.push(...recorded.map((item) => moved(item, offset)));
    },
  };
  function textItem(text, x, y, halo) {
    const [px, py] = at(x, y);
    const font = parseFont(style.font);
    return { text: String(text), x: px, y: py, size: font.size, bold: font.bold, align: style.textAlign,
      baseline: style.textBaseline, halo: halo, width: style.lineWidth,
      fill: withAlpha(halo ? style.strokeStyle : style.fillStyle, style.globalAlpha) };
  }
  for (const name of Object.keys(STYLE)) {
    Object.defineProperty(context, name, { get: () => style[name], set: (value) => { style[name] = value; } });
  }
  return context;
}

function moved(item, offset) {
  if (item.text !== undefined) return Object.assign({}, item, { x: item.x + offset[0], y: item.y + offset[1] });
  const shapes = item.shapes.map((shape) => (shape.cx !== undefined ?
    { cx: shape.cx + offset[0], cy: shape.cy + offset[1], r: shape.r } :
    { points: shape.points.map((v, i) => v + offset[i % 2]), closed: shape.closed }));
  return Object.assign({}, item, { shapes: shapes });
}

// A canvas that records: what the parts' drawing code takes for one (its size, its context,
// its scale of 1, a layer of the same kind for a cached background).
export function recordingCanvas(width, height, measure, offset = [0, 0]) {
  const recording = recordingContext(measure, offset);
  return {
    width: width, height: height, recording: recording,
    getContext: () => recording,
    getBoundingClientRect: () => ({ width: width, height: height }),
    setAttribute() {},
    layer: () => recordingCanvas(width, height, measure),
  };
}

// The figure's items drawn on a real 2-D context (a PNG at any scale: set the context's scale
// first).
export function replay(context, items) {
  const css = (c) => "rgba(" + c.r + "," + c.g + "," + c.b + "," + c.a + ")";
  for (const item of items) {
    if (item.text !== undefined) {
      context.font = (item.bold ? "bold " : "") + item.size + "px system-ui, sans-serif";
      context.textAlign = item.align;
      context.textBaseline = item.baseline;
      if (item.halo) {
        context.lineWidth = item.width;
        context.strokeStyle = css(item.fill);
        context.strokeText(item.text, item.x, item.y);
      } else {
        context.fillStyle = css(item.fill);
        context.fillText(item.text, item.x, item.y);
      }
      continue;
    }
    context.beginPath();
    for (const shape of item.shapes) {
      if (shape.cx !== undefined) {
        context.moveTo(shape.cx + shape.r, shape.cy);
        context.arc(shape.cx, shape.cy, shape.r, 0, 2 * Math.PI);
        continue;
      }
      for (let i = 0; i < shape.points.length; i += 2) {
        context[i === 0 ? "moveTo" : "lineTo"](shape.points[i], shape.points[i + 1]);
      }
      if (shape.closed) context.closePath();
    }
    context.setLineDash(item.dash);
    if (item.fill) { context.fillStyle = css(item.fill); context.fill(); }
    if (item.stroke) {
      context.lineWidth = item.width;
      context.lineCap = item.cap;
      context.strokeStyle = css(item.stroke);
      context.stroke();
    }
  }
}
