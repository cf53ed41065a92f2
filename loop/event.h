// The one event language of the three programs: what a front end reports of its window
// system, and what the main loop's pass returns.
#pragma once

#include <cstdint>

enum class EventKind : std::uint8_t {
    Move,      // the pointer at (x, y) in client pixels
    LeftPress, // at (x, y)
    LeftRelease,
    RightPress, // at (x, y), which the editor does not read
    RightRelease,
    Key,     // value: 0x31 to 0x39 for the digit keys 1 to 9, any other value another key
    Command, // value: the command number in its low 16 bits
    Close,
    Paint, // the window system asks for the window to be drawn again
    Quit,  // the main loop's quit request
};

struct Event {
    EventKind kind;
    std::uint16_t x;
    std::uint16_t y;
    std::uintptr_t value;
};

// Every key the editor does not read: a front end that reports its keys itself sends the
// digit keys 1 to 9 of the main keyboard as 0x31 to 0x39 and every other key as this.
constexpr std::uintptr_t kOtherKey = 0;

// The events as words, for the page and the tools that speak the same language.
struct EventKindName {
    EventKind kind;
    const char* name;
};

constexpr EventKindName kEventKindNames[] = {
    {EventKind::Move, "move"},        {EventKind::LeftPress, "ldown"},
    {EventKind::LeftRelease, "lup"},  {EventKind::RightPress, "rdown"},
    {EventKind::RightRelease, "rup"}, {EventKind::Key, "key"},
    {EventKind::Command, "command"},  {EventKind::Close, "close"},
    {EventKind::Paint, "paint"},      {EventKind::Quit, "quit"},
};

enum class PassOutcome : std::uint8_t {
    Idle, // nothing pending and nothing to draw: wait for the window system's next event
    Busy, // more may be pending: pass again after the 1 ms sleep
    Quit, // the pass took the quit request: the loop ends
};
