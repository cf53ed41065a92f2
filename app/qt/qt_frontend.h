// The Linux program on Qt 6 Widgets: a fixed-size window with the menu bar and a canvas,
// Qt's events translated into the events of the queued loop, and the main loop.
#pragma once

#include "event.h"
#include "geometry.h"

#include <QImage>
#include <Qt>

#include <cstdint>

class QAction;
class QMainWindow;
class QMenuBar;
class QObject;
class QWidget;

struct QtFrontEnd {
    QMainWindow* window;
    QMenuBar* menuBar;
    QWidget* canvas;
    QObject* translator;
    QAction* degreeActions[9];
    QImage backImage;  // the core draws here
    QImage frontImage; // the last presented frame, which the canvas shows
};

extern QtFrontEnd qtFrontEnd;

void CreateMainWindow();
// One pass of the main loop: polls the window system without waiting, then the queued loop's
// pass (at most one event, a frame if the picture can have changed).
PassOutcome RunPass();
// Passes with a 1 ms sleep each while there is work, until the quit request; with nothing
// queued and nothing to draw it waits for the window system's next event instead.
void RunMainLoop();
void ShutdownApp();

// What the editor reads of a key press: 0x31..0x39 for the digit keys 1 to 9 of the main
// keyboard, known by the key's place (its native scan code) on every layout, shifted or not;
// kOtherKey for every other key, keypad digits included. Where the platform reports no scan
// code (0) the digits are known by the character typed.
std::uintptr_t EditorKeyFor(int qtKey, Qt::KeyboardModifiers modifiers, quint32 scanCode);
