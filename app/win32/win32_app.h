// The Windows program's window: creation with its back buffer, the window procedure, and
// the orderly release of both. WinMain's loop and the tests of the message path use them.
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

void CreateMainWindow();
LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void ShutdownApp();
HWND MainWindow();
