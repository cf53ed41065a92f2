// The scene a page beside the editor shows: the editor's scene with what the page adds to it
// (the explored curve's knots, the points' weights), kept fitting its points and degree, and
// its undo history, every change to either one step.
#pragma once

#include "additions.h"
#include "history.h"

#include <cstdint>
#include <string>

struct PageScene {
    SceneHistory history{};
    SceneAdditions additions{};
    std::uint32_t additionsVersion = 0; // changes whenever the additions do
    std::string note{}; // what the last fitting of the additions had to give up, or ""
    std::string view{}; // what of the page's view each step keeps (its insertions), as text
};

// The editor's scene with the additions.
SceneText SceneOf(const PageScene& page);
// The scene of the step shown (the scene as it is when nothing is recorded yet).
SceneText StepShown(const PageScene& page);

// The additions fitted to the editor's points and degree, then the scene recorded as a step when
// it has changed and no button is held; true when it was.
bool RecordPage(PageScene& page);

// The scene loaded through the editor's own operations, then its additions and the view kept
// with the steps, as one step: ""
// when loaded, else what went wrong (the points placed so far stay).
std::string LoadAsStep(PageScene& page, const SceneText& scene, MenuRef menu,
                       const std::string& view = "");

// Only the additions changed to the scene's, as one step; or, while a knot or a weight is
// dragged (asStep false), without one: the next recording makes it one.
void ChangeAdditions(PageScene& page, const SceneText& scene, bool asStep);

// The view kept with the steps changed, as one step (or, asStep false, with the next one).
void ChangeStepView(PageScene& page, const std::string& view, bool asStep);

// The step before or after restored: the editor's scene through its operations, then the
// step's additions and view. False when there is none or a button is held.
bool UndoPage(PageScene& page, MenuRef menu);
bool RedoPage(PageScene& page, MenuRef menu);
