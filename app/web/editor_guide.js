// The line under the editor: what to do on a first visit, how many more points the curve needs,
// and the pointer's position in world coordinates while it is over the editor.
import { setText } from "./helpers.js";

export function startEditorGuide(editor) {
  const hint = document.getElementById("guide-hint");
  const position = document.getElementById("guide-position");
  const maxDegree = editor.geometry.maxDegree;

  editor.on("pointer", (point) => {
    setText(position, point === null ? "" : "x " + point[0] + ", y " + (editor.geometry.worldOriginRow - point[1]));
  });

  return {
    render: (state) => {
      const domain = state.curve.domain;
      setText(hint, domain.points === 0 ?
        "Click to place points, drag a point with either button, press 1\u2013" + maxDegree + " for the degree." :
        !domain.hasCurve ? "A curve of degree " + domain.degree + " needs " + (domain.degree + 1) +
          " points: place " + domain.needed + " more." :
        "Degree " + domain.degree + " over " + domain.points + " points.");
    },
  };
}
