// What a teacher takes from the page, in its pure modules: the figure recorded from the parts'
// own drawing calls and written as SVG and TikZ, and the embedded page's messages and code.
import { test } from "node:test";
import assert from "node:assert/strict";
import { parseColour, recordingCanvas } from "../../app/web/figure.js";
import { figureSvg } from "../../app/web/figure_svg.js";
import { figureTikz, latexText } from "../../app/web/figure_tikz.js";
import { embedCode, embedOptions, requestOf } from "../../app/web/embed.js";
import { lessonText } from "../../app/web/lesson.js";
import { linkFragment } from "../../app/web/scene_controls.js";

const measure = (text) => 6 * text.length;

// A part's drawing: a dashed line, a dot, a label with its halo, and a cached layer.
function drawn() {
  const canvas = recordingCanvas(200, 100, measure, [10, 0]);
  const context = canvas.getContext("2d");
  const layer = canvas.layer();
  layer.getContext("2d").fillRect(0, 0, 5, 5);
  context.drawImage(layer, 0, 0);
  context.setLineDash([6, 4]);
  context.strokeStyle = "rgba(255, 0, 0, 0.5)";
  context.beginPath();
  context.moveTo(0, 0);
  context.lineTo(20, 10);
  context.stroke();
  context.setLineDash([]);
  context.beginPath();
  context.arc(50, 50, 3, 0, 2 * Math.PI);
  context.fillStyle = "#0f0";
  context.fill();
  context.font = "bold 14px system-ui";
  context.strokeStyle = "#fff";
  context.strokeText("P\u2083\u00b2 <&>", 60, 40);
  context.fillStyle = "#111";
  context.fillText("P\u2083\u00b2 <&>", 60, 40);
  return { width: 220, height: 100, title: "T", panes: [{ x: 0, y: 0, width: 220, height: 100,
    items: canvas.recording.items }] };
}

test("the parts' drawing recorded: moved by the offset, with colours, dashes and fonts", () => {
  assert.deepEqual(parseColour("#abc"), { r: 170, g: 187, b: 204, a: 1 });
  assert.deepEqual(parseColour("rgb(1, 2, 3)"), { r: 1, g: 2, b: 3, a: 1 });
  assert.equal(parseColour("none"), null);
  const [layer, line, dot, halo, label] = drawn().panes[0].items;
  assert.deepEqual(layer.shapes[0].points, [10, 0, 15, 0, 15, 5, 10, 5]);
  assert.deepEqual(line.shapes[0].points, [10, 0, 30, 10]);
  assert.deepEqual([line.dash, line.stroke.a, line.fill], [[6, 4], 0.5, null]);
  assert.deepEqual(dot.shapes[0], { cx: 60, cy: 50, r: 3 });
  assert.deepEqual([halo.halo, label.halo, label.bold, label.size, label.x], [true, false, true, 14, 70]);
});

test("SVG and TikZ: text as text, escaped; each pane clipped; TikZ in LaTeX's own letters", () => {
  const svg = figureSvg(drawn());
  assert.match(svg, /<clipPath id="pane0"><rect x="0" y="0" width="220" height="100"\/>/);
  assert.match(svg, /stroke-dasharray="6 4"/);
  assert.match(svg, />P\u2083\u00b2 &lt;&amp;&gt;<\/text>/);
  assert.equal(latexText("C\u2032(t) = P\u2083\u00b2\u2081, 100% & #\u{1f600}"),
    "C$'$(t) = P$_{3}^{2}{}_{1}$, 100\\% \\& \\#");
  const tikz = figureTikz(drawn(), 220);
  assert.match(tikz, /\\clip \(0,0\) rectangle \(220,100\);/);
  assert.match(tikz, /dash pattern=on 6pt off 4pt/);
  assert.equal((tikz.match(/\\node/g) || []).length, 1); // the halo is for pixels only
  assert.equal((tikz.match(/\\definecolor/g) || []).length, 4);
});

test("the page inside a course page: addresses, messages and the code to paste", () => {
  assert.deepEqual(embedOptions("?embed=1&parts=points,panel,nothing"), { embedded: true, parts: ["panel", "points"] });
  assert.equal(embedOptions("?parts=panel").embedded, false);
  for (const other of [null, "tavrimo:get", [{ type: "tavrimo:get" }], { type: "tavrimo:state" }, { type: 1 }]) {
    assert.equal(requestOf(other), null);
  }
  assert.deepEqual(requestOf({ type: "tavrimo:set", state: 3 }), { type: "set", state: 3 });
  const code = embedCode("https://x.test/t/", ["panel"], linkFragment("a&title=A%26B"), { width: 700, height: 600 },
    "\"Q\" <1>");
  assert.equal(code, "<iframe src=\"https://x.test/t/?embed=1&amp;parts=panel#scene=a&amp;title=A%2526B\" " +
    "width=\"700\" height=\"600\" style=\"border: 0; max-width: 100%\" title=\"&quot;Q&quot; &lt;1>\" " +
    "loading=\"lazy\"></iframe>");
  assert.equal(decodeURIComponent(linkFragment("t=1&title=A%26B%25")), "t=1&title=A%26B%25");
  assert.equal(lessonText("a\tb\nc\u0085"), "a b c ");
});

test("through the points: the matrix's band, wrapped for a closed curve, and the words", async () => {
  const { matrixCells, numbersRow, fitStatus } = await import("../../app/web/fit_text.js");
  const cells = matrixCells([{ first: 3, values: [0.25, 0.5, 0.25] }], 4);
  assert.deepEqual(cells[0].map((c) => c.text), ["0.5", "0.25", "", "0.25"]);
  assert.deepEqual(cells[0].map((c) => c.band), [true, true, false, true]);
  assert.equal(numbersRow("u", Array.from({ length: 30 }, (_, i) => i / 3)).split("  ").length, 25);
  assert.match(fitStatus({ fault: "P1 and P2 coincide" }, false, false), /^No curve through the points: P1 and P2/);
  assert.match(fitStatus({ fault: "", degree: 3, parameters: [0, 1, 2, 3], largest: 0 }, false, true), /C\u00b2/);
});
