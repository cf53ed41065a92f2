// The main loop of the front ends whose window system keeps no queue like a Windows thread's
// (the Linux program, the browser): their events queued here and taken one per pass.
#pragma once

#include "event.h"
#include "host.h"

#include <cstddef>
#include <deque>

struct QueuedLoop {
    std::deque<Event> events;
    bool quit; // the quit request has been taken: nothing more is queued or taken
};

// The one loop of such a program; HostPostQuit posts its quit request here.
extern QueuedLoop queuedLoop;

// Like a Windows thread's message queue: full means further input is dropped.
constexpr std::size_t kQueueLimit = 10000;

// Queues an event. Only the latest pointer position is kept pending, as Windows does.
void EnqueueEvent(QueuedLoop& loop, Event event);

// The quit request, taken before any other pending event, as a Windows quit message is.
void PostQuit(QueuedLoop& loop);

// True from the moment the quit request is posted: the editor's last changes are those of
// quitting.
bool QuitRequested(const QueuedLoop& loop);

// One pass: takes at most one event and dispatches it, or takes the quit request; then
// FinishPass.
PassOutcome RunQueuedPass(QueuedLoop& loop, WindowRef window, MenuRef menu);
