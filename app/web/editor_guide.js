// The line under the editor: what to do on a first visit, how many more points the curve
// needs, and the pointer's position in world coordinates while it is over the editor.
export function startEditorGuide(editor) {
  const hint = document.getElementById("guide-hint");
  const position = document.getElementById("guide-position");
  const maxDegree = editor.geometry.maxDegree;

  function say(element, text) {
    if (element.textContent !== text) element.textContent = text;
  }

  editor.on("frame", function () {
    const domain = editor.curveDomain();
    if (domain.points === 0) {
      say(hint, "Click to place points, drag a point with either button, press 1\u2013" +
        maxDegree + " for the degree.");
    } else if (!domain.hasCurve) {
      say(hint, "A curve of degree " + domain.degree + " needs " + (domain.degree + 1) +
        " points: place " + domain.needed + " more.");
    } else {
      say(hint, "Degree " + domain.degree + " over " + domain.points + " points.");
    }
  });

  editor.on("pointer", function (point) {
    say(position, point === null ? "" : "x " + point[0] + ", y " +
      (editor.geometry.worldOriginRow - point[1]));
  });
}
