// Replays an interaction through the editor's own main loop, one pass per event and then
// passes until it is idle, and writes the frame the editor should then show, so that a
// screen capture of a front end can be compared with it.
//
//   tavrimo_replay WIDTH HEIGHT OUT.ppm < events
//
// One event a line, in the event language's words: "move X Y", "ldown X Y", "lup",
// "rdown [X Y]", "rup", "key VK", "command N", "close" (client coordinates, numbers in
// decimal). Prints "checked D ..." for the "Degree" items that end up checked, "box TITLE"
// for each message box, and "quit" if the loop took a quit request.
#include "canvas.h"
#include "fake_host.h"
#include "queued_loop.h"
#include "render.h"

#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>

namespace {

// The kinds a front end reports; the positions of moves and presses, the key's value and the
// command number follow the word.
bool ParseEvent(const std::string& word, std::istringstream& words, Event* event) {
    for (const EventKindName& entry : kEventKindNames) {
        if (word != entry.name || entry.kind > EventKind::Close) {
            continue;
        }
        long a = 0;
        long b = 0;
        switch (entry.kind) {
        case EventKind::Move:
        case EventKind::LeftPress:
            if (!(words >> a >> b)) {
                return false;
            }
            break;
        case EventKind::RightPress:
            if (words >> a && !(words >> b)) {
                return false; // the position is optional, but whole
            }
            break;
        case EventKind::Key:
        case EventKind::Command:
            if (!(words >> a)) {
                return false;
            }
            break;
        default:
            break;
        }
        *event = Event{entry.kind, static_cast<std::uint16_t>(a), static_cast<std::uint16_t>(b),
                       static_cast<std::uintptr_t>(a)};
        return true;
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: tavrimo_replay WIDTH HEIGHT OUT.ppm < events\n");
        return 2;
    }
    const int width = std::stoi(argv[1]);
    const int height = std::stoi(argv[2]);
    if (width <= 0 || height <= 0 || width > 8192 || height > 8192) {
        std::fprintf(stderr, "tavrimo_replay: bad size %dx%d\n", width, height);
        return 2;
    }
    Canvas canvas = MakeCanvas(width, height);
    ResetEditor(&canvas);
    ResetFakeHost(ClientRect{0, 0, width, height});
    int windowToken = 0;
    const WindowRef window{&windowToken};
    const MenuRef menu{&windowToken};

    std::string line;
    int lineNumber = 0;
    while (std::getline(std::cin, line)) {
        ++lineNumber;
        std::istringstream words(line);
        std::string word;
        if (!(words >> word)) {
            continue;
        }
        Event event{};
        if (!ParseEvent(word, words, &event)) {
            std::fprintf(stderr, "tavrimo_replay: line %d not understood: %s\n", lineNumber,
                         line.c_str());
            return 2;
        }
        EnqueueEvent(queuedLoop, event);
        while (RunQueuedPass(queuedLoop, window, menu) == PassOutcome::Busy) {
        }
        fakeHost.presents.clear(); // only the last frame is written
    }
    RenderFrame(window, TargetRef{&windowToken});
    const PresentCall& frame = fakeHost.presents.back();
    const Canvas presented{width, height, frame.pixels};
    if (!WritePpm(argv[3], presented)) {
        std::fprintf(stderr, "tavrimo_replay: cannot write %s\n", argv[3]);
        return 1;
    }
    std::printf("checked");
    for (int degree : CheckedDegrees()) {
        std::printf(" %d", degree);
    }
    std::printf("\n");
    for (const MessageBoxCall& box : fakeHost.messageBoxes) {
        std::printf("box %s\n", box.title.c_str());
    }
    if (queuedLoop.quit) {
        std::printf("quit\n");
    }
    return 0;
}
