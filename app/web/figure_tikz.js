// A figure as TikZ: a tikzpicture that compiles with \usepackage{tikz} alone, in the figure's
// own coordinates (y down), scaled to `widthPt` points across. Text is set by LaTeX: the page's
// sub- and superscripts, primes and Greek letters become math, the rest is escaped.
import { formatNumber } from "./helpers.js";

const number = (v) => formatNumber(v, 2);

const SCRIPTS = { "\u2080": "_0", "\u2081": "_1", "\u2082": "_2", "\u2083": "_3", "\u2084": "_4",
  "\u2085": "_5", "\u2086": "_6", "\u2087": "_7", "\u2088": "_8", "\u2089": "_9", "\u208b": "_-",
  "\u2070": "^0", "\u00b9": "^1", "\u00b2": "^2", "\u00b3": "^3", "\u2074": "^4", "\u2075": "^5",
  "\u2076": "^6", "\u2077": "^7", "\u2078": "^8", "\u2079": "^9", "\u207b": "^-" };
const SYMBOLS = { "\u2032": "$'$", "\u2033": "$''$", "\u03ba": "$\\kappa$", "\u2212": "$-$",
  "\u00d7": "$\\times$", "\u00b7": "$\\cdot$", "\u2026": "\\ldots{}", "\u2013": "--", "\u2014": "---",
  "\u00a0": "~" };
const ESCAPES = { "\\": "\\textbackslash{}", "{": "\\{", "}": "\\}", "$": "\\$", "&": "\\&", "#": "\\#",
  "%": "\\%", "_": "\\_", "^": "\\^{}", "~": "\\~{}", "<": "\\textless{}", ">": "\\textgreater{}" };

// Text as LaTeX typesets it; a character it has no way to set is left out.
export function latexText(text) {
  let out = "";
  const chars = Array.from(String(text));
  for (let i = 0; i < chars.length; ++i) {
    const c = chars[i];
    if (SCRIPTS[c]) {
      // A run of sub- and superscripts as one formula, so that P₃² sets both over each other.
      let math = "";
      const used = new Set();
      while (i < chars.length && SCRIPTS[chars[i]]) {
        const kind = SCRIPTS[chars[i]][0];
        let run = "";
        for (; i < chars.length && SCRIPTS[chars[i]] && SCRIPTS[chars[i]][0] === kind; ++i) run += SCRIPTS[chars[i]][1];
        if (used.has(kind)) {
          used.clear();
          math += "{}"; // a second subscript (or superscript) starts afresh
        }
        used.add(kind);
        math += kind + "{" + run + "}";
      }
      --i;
      out += "$" + math + "$";
    } else if (SYMBOLS[c]) out += SYMBOLS[c];
    else if (ESCAPES[c]) out += ESCAPES[c];
    else if (c >= " " && c <= "~") out += c;
  }
  return out;
}

const ANCHORS = { alphabetic: "base", middle: "", top: "north", hanging: "north", bottom: "south" };
const SIDES = { start: "west", left: "west", center: "", end: "east", right: "east" };

function anchorOf(item) {
  const anchor = [ANCHORS[item.baseline] || "base", SIDES[item.align] || "west"].filter((s) => s !== "").join(" ");
  return anchor === "" ? "center" : anchor;
}

function coordinates(points, closed) {
  const pairs = [];
  for (let i = 0; i < points.length; i += 2) {
    pairs.push("(" + number(points[i]) + "," + number(points[i + 1]) + ")" + ((pairs.length + 1) % 8 === 0 ? "\n" : ""));
  }
  return pairs.join(" -- ") + (closed ? " -- cycle" : "");
}

export function figureTikz(figure, widthPt = 320) {
  const unit = widthPt / figure.width;
  const colours = new Map();
  const colourOf = (c) => {
    const key = c.r + "," + c.g + "," + c.b;
    if (!colours.has(key)) colours.set(key, "tavrimo" + String.fromCharCode(97 + colours.size % 26) + Math.floor(colours.size / 26));
    return colours.get(key);
  };
  const body = ["\\fill[white] (0,0) rectangle (" + figure.width + "," + figure.height + ");"];
  for (const pane of figure.panes) {
    body.push("\\begin{scope}", "\\clip (" + pane.x + "," + pane.y + ") rectangle (" + (pane.x + pane.width) + "," +
      (pane.y + pane.height) + ");");
    body.push(...pane.items.map(itemTikz).filter((line) => line !== ""), "\\end{scope}");
  }
  const definitions = Array.from(colours, ([rgb, name]) => "\\definecolor{" + name + "}{RGB}{" + rgb + "}");
  return ["% " + latexText(figure.title).replace(/\n/g, " ") + ": \\usepackage{tikz} in the preamble",
    "\\begin{tikzpicture}[x=" + formatNumber(unit, 5) + "pt, y=-" + formatNumber(unit, 5) + "pt, line join=round]",
    ...definitions, ...body, "\\end{tikzpicture}", ""].join("\n");

  function itemTikz(item) {
    if (item.text !== undefined) {
      const text = latexText(item.text);
      if (item.halo || text === "") return ""; // a halo only keeps a label readable over pixels
      // Set at 10 pt, a size the fonts have, and scaled to the figure's: a pixel is `unit` pt.
      return "\\node[anchor=" + anchorOf(item) + ", inner sep=0, text=" + colourOf(item.fill) +
        (item.fill.a < 1 ? ", text opacity=" + number(item.fill.a) : "") + ", font=\\sffamily" +
        (item.bold ? "\\bfseries" : "") + ", scale=" + formatNumber(item.size * unit / 10, 3) + "] at (" +
        number(item.x) + "," + number(item.y) + ") {" + text + "};";
    }
    const options = [];
    if (item.fill) options.push("fill=" + colourOf(item.fill), ...(item.fill.a < 1 ? ["fill opacity=" + number(item.fill.a)] : []));
    if (item.stroke) {
      options.push("draw=" + colourOf(item.stroke), "line width=" + number(item.width * unit) + "pt");
      if (item.stroke.a < 1) options.push("draw opacity=" + number(item.stroke.a));
      if (item.dash.length > 1) options.push("dash pattern=" + item.dash.map((d, i) => (i % 2 === 0 ? "on " : "off ") + number(d * unit) + "pt").join(" "));
      if (item.cap === "round") options.push("line cap=round");
    }
    const shapes = item.shapes.map((s) => (s.cx !== undefined ?
      "(" + number(s.cx) + "," + number(s.cy) + ") circle[radius=" + number(s.r) + "]" : coordinates(s.points, s.closed)));
    return options.length > 0 ? "\\path[" + options.join(", ") + "] " + shapes.join(" ") + ";" : "";
  }
}
