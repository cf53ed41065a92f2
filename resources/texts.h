// The texts of the editor's two message boxes.
#pragma once

#include "version.h"

constexpr const char* kInstructionsTitle = "Instructions";
constexpr const char* kInstructionsText =
    "To place a point, left click in an open area. \n\nTo Change the Degree of the curve, you can "
    "select 1-9 on the keyboard or in the menu. \n\tYou must have enough points to be able to "
    "see the curve. \n\nTo move a point, click on the point with either the left or right mouse "
    "button.";

constexpr const char* kAboutTitle = "About";
constexpr const char* kAboutText =
    "Tavrimo " TAVRIMO_VERSION "\nA B-spline curve editor, written by the Tavrimo developers.";
