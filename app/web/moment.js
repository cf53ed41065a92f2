// The moment every part shows, from the page's state alone: the curve explained (the editor's, or
// the one the page's knots and weights explore), its domain, and t in it. Pure.
import { count, formatNumber } from "./helpers.js";

export const EXPLORED_STEPS = 200; // the slider's steps over an explored curve's domain
export const SAMPLES_PER_SPAN = 10; // the editor's own samples

// The curve explained: { explored, hasCurve, first, last, degree, points, why } where `why` says
// what is missing when there is no curve.
export function domainOf(curve) {
  const explored = curve.explored;
  if (explored && !explored.editors) {
    return explored.fault === "" ?
      { explored: true, hasCurve: true, first: explored.first, last: explored.last,
        degree: explored.degree, points: explored.points, why: "" } :
      { explored: true, hasCurve: false, degree: explored.degree, points: explored.points,
        why: "The explored curve cannot be drawn: " + explored.fault + "." };
  }
  const d = curve.domain;
  return { explored: false, hasCurve: d.hasCurve, first: d.degree, last: d.points, degree: d.degree,
           points: d.points, why: d.hasCurve ? "" : d.degree === 0 ? "No curve." :
             "Place " + d.needed + " more " + (d.needed === 1 ? "point" : "points") +
             " for a curve of degree " + d.degree + "." };
}

// t now: the view's, inside the domain (the core keeps it there), or the domain's start; null
// without a curve.
export function tOf(state) {
  const domain = domainOf(state.curve);
  if (!domain.hasCurve) return null;
  const t = state.view.t;
  return t === null ? domain.first : Math.min(Math.max(t, domain.first), domain.last);
}

// The slider's steps and the one nearest t.
export function sliderOf(domain, samples, t) {
  if (domain.explored) {
    const step = (domain.last - domain.first) / EXPLORED_STEPS;
    return { steps: EXPLORED_STEPS, index: Math.round((t - domain.first) / step) };
  }
  return { steps: samples - 1, index: Math.min(samples - 1, Math.round((t - domain.first) * SAMPLES_PER_SPAN)) };
}

// The t of an explored curve's slider step.
export function exploredStepT(domain, index) {
  return index >= EXPLORED_STEPS ? domain.last :
    domain.first + (domain.last - domain.first) / EXPLORED_STEPS * index;
}

// A typed t: { t } to take, and a note; a number outside the domain is taken at the nearer end
// and the note says so; anything else is refused.
export function typedT(text, domain, now) {
  const typed = text.trim();
  const value = Number(typed);
  if (typed === "" || !Number.isFinite(value)) {
    return { t: null, note: "\u201c" + typed + "\u201d is not a number: t stays " + formatNumber(now) + "." };
  }
  if (value < domain.first || value > domain.last) {
    const end = value < domain.first ? domain.first : domain.last;
    return { t: end, note: "t runs from " + formatNumber(domain.first) + " to " + formatNumber(domain.last) +
      ": " + typed + " is outside, so t is " + formatNumber(end) + "." };
  }
  return { t: value, note: "" };
}

// The panel's first line: what curve it explains, and where t runs.
export function statusOf(domain, explored) {
  if (!domain.hasCurve) return domain.why;
  const runs = ": t runs from " + formatNumber(domain.first) + " to " + formatNumber(domain.last) + ".";
  if (!domain.explored) return "Degree " + domain.degree + " over " + count(domain.points, "point") + runs;
  return "Explored: " + explored.mode + " knots, degree " + domain.degree + " over " +
    count(domain.points, "point") + (explored.mode === "closed" ? " (the first " + domain.degree +
    " again at the end)" : "") + runs;
}
