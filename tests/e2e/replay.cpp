// Replays an interaction through the editor's own input handlers and writes the frame the
// editor should then show, so that a screen capture of a front end can be compared with it.
//
//   tavrimo_replay WIDTH HEIGHT OUT.ppm < events
//
// One event a line: "move X Y", "ldown X Y", "lup", "rdown", "rup", "key VK",
// "command N", "close" (client coordinates, numbers in decimal). Prints "checked D ..." for
// the "Degree" items that end up checked, "box TITLE" for each message box, and "quit" if a
// quit was requested.
#include "canvas.h"
#include "fake_host.h"
#include "input.h"
#include "render.h"

#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>

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
        std::string event;
        if (!(words >> event)) {
            continue;
        }
        long a = 0;
        long b = 0;
        if (event == "move" && words >> a >> b) {
            OnMouseMove(static_cast<std::uint16_t>(a), static_cast<std::uint16_t>(b));
        } else if (event == "ldown" && words >> a >> b) {
            OnLeftButtonDown(static_cast<std::uint16_t>(a), static_cast<std::uint16_t>(b));
        } else if (event == "lup" || event == "rup") {
            OnButtonUp();
        } else if (event == "rdown") {
            OnRightButtonDown();
        } else if (event == "key" && words >> a) {
            OnKeyDown(menu, static_cast<std::uintptr_t>(a));
        } else if (event == "command" && words >> a) {
            OnCommand(window, menu, static_cast<std::uintptr_t>(a));
        } else if (event == "close") {
            OnClose();
        } else {
            std::fprintf(stderr, "tavrimo_replay: line %d not understood: %s\n", lineNumber,
                         line.c_str());
            return 2;
        }
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
    if (fakeHost.quitRequests > 0) {
        std::printf("quit\n");
    }
    return 0;
}
