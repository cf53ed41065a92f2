// The message queue of front ends whose window system keeps none like a Windows thread's (the
// Linux program, the browser): their events translated into the core's messages, queued, and
// taken one per pass of the main loop.
#pragma once

#include "host.h"

#include <cstddef>
#include <cstdint>
#include <deque>

struct QueuedMessage {
    enum Kind { Move, LeftDown, RightDown, LeftUp, RightUp, KeyDown, Command, Close, Quit };
    Kind kind;
    std::uint16_t x;
    std::uint16_t y;
    std::uintptr_t value; // the virtual key or the command number
};

using MessageQueue = std::deque<QueuedMessage>;

// Like a Windows thread's message queue: full means further input is dropped.
constexpr std::size_t kQueueLimit = 10000;

// Queues a message. Only the latest pointer position is kept pending, as Windows does.
void EnqueueMessage(MessageQueue& queue, QueuedMessage message);

// Hands a message to the core's handler for it; a button release also draws and clears the
// frame without presenting it, as Windows' paint handling does when nothing is invalid. Quit
// is the main loop's to act on and does nothing here.
void DispatchQueued(QueuedMessage message, WindowRef window, MenuRef menu);
