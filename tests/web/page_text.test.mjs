// The page's pure modules: one number writer, the moment every part shows, the words of the
// knots and the operations, and labels kept apart.
import { test } from "node:test";
import assert from "node:assert/strict";
import { formatNumber, placeLabels, roundNumber, superscript } from "../../app/web/helpers.js";
import { domainOf, sliderOf, statusOf, tOf, typedT } from "../../app/web/moment.js";
import { distinctKnots, labelsWithRoom } from "../../app/web/knots_text.js";
import { continuityLines, insertionNote, knotsAround } from "../../app/web/operations_text.js";

const editorsCurve = (points, degree) => ({
  domain: { points: points, degree: degree, hasCurve: points > degree, needed: Math.max(0, degree + 1 - points),
    samples: (points - degree) * 10 + 1 },
  explored: { editors: true, fault: "", first: degree, last: points, degree: degree, points: points },
});

test("one number writer: six decimals, negative zero and steps of the keyboard", () => {
  assert.equal(formatNumber(445 / 3), "148.333333");
  assert.equal(formatNumber(-2.5e-7), "0");
  assert.equal(formatNumber(-1e-9), "0");
  assert.equal(formatNumber(3), "3");
  assert.equal(roundNumber(4.1 + 0.01), 4.11);
  assert.equal(superscript(-1), "\u207b\u00b9");
  assert.equal(superscript(12), "\u00b9\u00b2");
});

test("t: the view's inside the domain, its start without one, none without a curve", () => {
  const state = (t, curve) => ({ view: { t: t }, curve: curve });
  assert.equal(tOf(state(null, editorsCurve(6, 3))), 3);
  assert.equal(tOf(state(4.1, editorsCurve(6, 3))), 4.1);
  assert.equal(tOf(state(9, editorsCurve(6, 3))), 6);
  assert.equal(tOf(state(4, editorsCurve(3, 3))), null);
  assert.equal(statusOf(domainOf(editorsCurve(3, 3))), "Place 1 more point for a curve of degree 3.");
  assert.equal(statusOf(domainOf(editorsCurve(7, 3))), "Degree 3 over 7 points: t runs from 3 to 7.");
  const explored = { domain: editorsCurve(6, 3).domain, explored: { editors: false, fault: "", first: 0,
    last: 3, degree: 3, points: 6, mode: "clamped" } };
  assert.deepEqual(sliderOf(domainOf(explored), 0, 1.5), { steps: 200, index: 100 });
  assert.deepEqual(sliderOf(domainOf(editorsCurve(6, 3)), 31, 6), { steps: 30, index: 30 });
  assert.equal(typedT("12", domainOf(editorsCurve(6, 3)), 4).t, 6);
  assert.match(typedT("12", domainOf(editorsCurve(6, 3)), 4).note, /outside, so t is 6/);
  assert.equal(typedT("abc", domainOf(editorsCurve(6, 3)), 4.5).t, null);
});

test("knots: distinct with their multiplicity and continuity, labels that would collide left out", () => {
  const knots = distinctKnots([0, 0, 0, 0, 1, 2, 2, 3, 3, 3, 3], 3);
  assert.deepEqual(knots.map((k) => [k.u, k.multiplicity]), [[0, 4], [1, 1], [2, 2], [3, 4]]);
  assert.equal(knots[0].label, "4\u00d7");
  assert.equal(knots[1].label, " C\u00b2");
  assert.equal(knots[2].label, "2\u00d7 C\u00b9");
  assert.equal(knots[2].valueText, "u = 2, 2 times, leaves C\u00b9");
  assert.deepEqual(labelsWithRoom([0, 10, 40, 50, 100], 34), [true, false, true, false, true]);
});

test("operations: the insertion's note and the knots around t with the new ones marked", () => {
  const at = { degree: 3, inserted: 2, insertNote: "", multiplicity: 2, refined: new Array(16), before: null };
  assert.match(insertionNote(at, "4.5"), /^t = 4.5 inserted 2 times: its multiplicity is 2 of at most 3, on 8 points\.$/);
  assert.match(insertionNote({ degree: 3, inserted: 0, insertNote: "" }, "4.5"), /replaces 2 points with 3/);
  const items = knotsAround([0, 1, 2, 3, 4, 4.5, 4.5, 5, 6, 7], 4.5, 1);
  assert.deepEqual(items.map((i) => i.text + (i.fresh ? "*" : "")), ["0", "1", "2", "3", "4", "4.5", "4.5*", "5", "6", "7"]);
  const many = knotsAround(Array.from({ length: 60 }, (_, j) => j), 30, 0);
  assert.equal(many[0].text, "\u2026");
  assert.equal(many.length, 26);
  assert.deepEqual(continuityLines({ total: 2, knots: [{ t: 4, multiplicity: 1, measured: 2, promised: 2 },
    { t: 5, multiplicity: 3, measured: -1, promised: 0 }] }, 3),
  ["t = 4 (1\u00d7): C\u00b2", "t = 5 (3\u00d7): the curve jumps, where C\u2070 is promised"]);
});

test("labels placed apart: a second label at the same anchor moves, a third with no room goes", () => {
  const label = (x, y, text, always) => ({ x: x, y: y, width: 20, height: 10, text: text, always: always });
  const placed = placeLabels([label(100, 100, "P0"), label(100, 100, "P8"), label(100, 100, "P9"),
    label(100, 100, "P10"), label(100, 100, "P11", false), label(101, 100, "P3", true)], 6);
  assert.deepEqual(placed.map((p) => p.text), ["P0", "P8", "P9", "P10", "P3"]);
  const boxes = placed.slice(0, 4);
  for (const a of boxes) for (const b of boxes) {
    if (a !== b) assert.ok(a.x + a.width <= b.x || b.x + b.width <= a.x || a.y <= b.y - b.height || b.y <= a.y - a.height);
  }
});
