// What the user's pointer, keys and menu commands do to the scene. The front ends decode
// their platform's messages and call these; every editing rule lives here.
#pragma once

#include "host.h"

#include <cstdint>

// Client positions arrive as unsigned 16-bit values and become world x = client x,
// y = 239 - client y.
void OnMouseMove(std::uint16_t clientX, std::uint16_t clientY);
void OnLeftButtonDown(std::uint16_t clientX, std::uint16_t clientY);
// False when the press picked nothing and is to go on to default handling.
bool OnRightButtonDown();
void OnButtonUp();
// Picks the first point in list order within reach of the last pointer move.
bool PickPoint();

// d from 1 to 9; the one item of d is checked, the other eight unchecked.
void SelectDegree(MenuRef menu, int d);
// The digit keys 1 to 9 of the main keyboard (virtual keys 0x31 to 0x39) choose the degree.
void OnKeyDown(MenuRef menu, std::uintptr_t virtualKey);
// The command number is the low 16 bits of wParam.
void OnCommand(WindowRef window, MenuRef menu, std::uintptr_t wParam);
// The window's close request: the points go and the main loop is asked to end.
void OnClose();
