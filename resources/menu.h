// The menu bar as data, for front ends that build their menu in code; the Windows program
// loads the same menu from tavrimo.rc.
#pragma once

#include "commands.h"

struct MenuItemEntry {
    const char* popup;
    const char* text;
    unsigned command;
    bool initiallyChecked;
};

constexpr MenuItemEntry kMenuItems[] = {
    {"File", "Clear Lines", IDM_CLEAR_LINES, false},
    {"File", "Quit", IDM_QUIT, false},
    {"Degree", "1", IDM_DEGREE_1, false},
    {"Degree", "2", IDM_DEGREE_2, false},
    {"Degree", "3", IDM_DEGREE_3, true},
    {"Degree", "4", IDM_DEGREE_4, false},
    {"Degree", "5", IDM_DEGREE_5, false},
    {"Degree", "6", IDM_DEGREE_6, false},
    {"Degree", "7", IDM_DEGREE_7, false},
    {"Degree", "8", IDM_DEGREE_8, false},
    {"Degree", "9", IDM_DEGREE_9, false},
    {"Help", "Instructions", IDM_INSTRUCTIONS, false},
    {"Help", "About", IDM_ABOUT, false},
};
