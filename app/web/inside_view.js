// What the panel "Inside the curve" draws of one moment: de Boor's construction at t (the core's,
// in the editor's float arithmetic when asked, else in double), the basis plot with the span
// pointed at, the weights of the points at t and C(t), and the overlay over the editor.
import { startBasisPlot, startGeneralPlot } from "./basis_plot.js";
import { colourOf, startOverlay } from "./inside_overlay.js";
import { formatNumber, formatPoint, setText, throttle } from "./helpers.js";

// A closed curve's wrapped points are its first points again.
export function nameOf(explored, j) {
  return explored && explored.mode === "closed" && !explored.editors && explored.points > 0 ?
    j % (explored.points - explored.degree) : j;
}

const NUMBERS_INTERVAL = 100; // milliseconds between writes of the numbers a drag changes

// The table of weights at t: made again only when it reads otherwise (not while a point is
// dragged).
function fillValues(elements, explored, construction, count, looked) {
  const body = elements.values.tBodies[0];
  const key = construction.first + " " + construction.basis.join(" ") + " " + count + " " + looked;
  if (body.dataset.key === key) return;
  body.dataset.key = key;
  body.textContent = "";
  let sum = 0;
  construction.basis.forEach((value, j) => {
    const index = construction.first + j;
    if (index < 0 || index >= count) return;
    const name = nameOf(explored, index);
    sum += value;
    const line = body.insertRow();
    const swatch = document.createElement("span");
    swatch.className = "swatch";
    swatch.style.background = colourOf(name);
    const head = document.createElement("th");
    head.scope = "row";
    head.append(swatch, "P" + name);
    line.append(head);
    line.dataset.point = String(name);
    if (name === looked) line.className = "looked";
    line.insertCell().textContent = formatNumber(value);
  });
  setText(elements.sum, formatNumber(sum));
}


export function startInsideView(module, elements, row) {
  const plot = startBasisPlot(module, elements.basis, colourOf);
  const overlay = startOverlay(module, elements.overlay, row);
  let explored = null;
  const general = startGeneralPlot(elements.basis, (j) => colourOf(nameOf(explored, j)),
                                   (j) => nameOf(explored, j));
  let triangleNames = { key: "", names: null };
  let numbers = null; // what the table of weights and C(t) show, written by writeNumbers
  const writeNumbers = throttle(() => {
    fillValues(elements, explored, numbers.construction, numbers.count, numbers.looked);
    setText(elements.point, "C(" + numbers.text + ") = " + formatPoint(numbers.construction.point));
  }, NUMBERS_INTERVAL);
  let scale = null;

  // At t: the construction and the basis values, in the editor's float or in double.
  function constructionAt(at) {
    if (at.exactly) {
      const construction = module.construction(at.exact);
      construction.basis = module.basisAt(at.exact).values;
      return construction;
    }
    return module.exploredAt(at.t);
  }

  function namesAt(at, view, key) {
    if (view.naming === "none") return null;
    // The names change with t and the knots only, not while a point is dragged.
    const wanted = at.t + " " + key;
    if (triangleNames.key !== wanted) triangleNames = { key: wanted, names: module.triangleLabels(at.t) };
    return triangleNames.names;
  }

  // The basis plot and the span pointed at, drawn again only when they read otherwise: they do
  // not change while a point is dragged.
  let plotted = "";
  let resizes = 0; // a resize may change the plot's line widths
  addEventListener("resize", () => { resizes += 1; });
  function drawPlot(state, domain, at, first, looked) {
    const span = state.hover.span;
    const key = [domain.explored ? explored.key : domain.degree + " " + domain.points, first, at.t, at.exact,
      at.exactly, looked, span && span.first, span && span.last, resizes].join("|");
    if (key === plotted && scale !== null) return;
    plotted = key;
    scale = domain.explored ?
      general.draw(explored, module.exploredBasis, first, at.t, at.text, looked) :
      plot.draw(domain.degree, domain.points, first, at.exactly ? at.exact : at.t, at.text, looked);
    if (span !== null) {
      const context = elements.basis.getContext("2d");
      context.fillStyle = "rgba(255, 190, 0, 0.3)";
      context.fillRect(scale.x(span.first), scale.margin.top, scale.x(span.last) - scale.x(span.first), scale.height);
    }
  }

  function overlayView(state, domain, construction) {
    const view = state.view;
    return { explored: domain.explored ? explored : null, construction: construction, points: domain.points,
      looked: view.looked, labels: view.pointLabels, nameOf: (j) => nameOf(explored, j),
      triangle: { names: namesAt(last.at, view, explored.key), blossoms: view.naming === "blossoms",
        level: view.level } };
  }

  // The basis plot of the moment drawn last, on a canvas of a figure.
  function plotFigure(canvas) {
    const { state, domain, at } = last;
    const first = constructionAt(at).first;
    if (domain.explored) {
      startGeneralPlot(canvas, (j) => colourOf(nameOf(explored, j)), (j) => nameOf(explored, j))
        .draw(explored, module.exploredBasis, first, at.t, at.text, state.view.looked);
    } else {
      startBasisPlot(module, canvas, colourOf).draw(domain.degree, domain.points, first,
        at.exactly ? at.exact : at.t, at.text, state.view.looked);
    }
    return true;
  }

  let last = null; // the moment drawn last: { state, domain, at }
  return {
    // Nothing at t: no curve, or the panel closed.
    clear: () => {
      overlay.clear();
      last = null;
    },
    // What the overlay and the basis plot show, drawn again on the canvases of a figure; false
    // when nothing is shown.
    overlayFigure: (canvas) => last !== null &&
      (startOverlay(module, canvas, row).draw(overlayView(last.state, last.domain, constructionAt(last.at))), true),
    plotFigure: (canvas) => last !== null && plotFigure(canvas),
    // The moment `at` ({ t, exact, exactly, text }) of the curve `domain`; returns what was drawn.
    draw: (state, domain, at) => {
      explored = state.curve.explored;
      last = { state: state, domain: domain, at: at };
      const construction = constructionAt(at);
      const looked = state.view.looked;
      overlay.draw(overlayView(state, domain, construction));
      drawPlot(state, domain, at, construction.first, looked);
      numbers = { construction: construction, count: domain.explored ? explored.points : domain.points,
        looked: looked, text: at.text };
      writeNumbers(state.scene.pressed);
      return construction;
    },
    // The plot's scale, u to x and back, for the knots' ticks.
    scale: () => scale,
    // The function the plot shows largest at the canvas column x, or null.
    functionAt: (x, isExplored) => (isExplored ? general.functionAt(x) : plot.functionAt(x)),
  };
}
