#include "message_harness.h"

#include "canvas.h"
#include "commands.h"
#include "fake_host.h"
#include "literal_curve.h"
#include "loop.h"
#include "menu.h"
#include "render.h"
#include "scene.h"

#include <algorithm>
#include <vector>

namespace {

constexpr int kWidth = 48;
constexpr int kHeight = 260;
constexpr int kFrameEvery = 4;
// Frames of at most 12 points are compared with the literal recursion while it stays cheap
// (samples x 4^degree level-0 evaluations, each a list walk): every frame within the first
// budget, the last frame of a sequence within the second, which leaves out only degree 9
// with 11 or 12 points.
constexpr double kLiteralBudgetPerFrame = 65536.0;
constexpr double kLiteralBudgetLastFrame = 4194304.0;

struct Reader {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at;

    bool More() const { return at < size; }
    std::uint8_t Byte() { return at < size ? data[at++] : 0; }
    std::uint16_t Word() {
        const std::uint16_t low = Byte();
        return static_cast<std::uint16_t>(low | (Byte() << 8));
    }
    std::uint32_t Long() {
        const std::uint32_t low = Word();
        return low | (static_cast<std::uint32_t>(Word()) << 16);
    }
};

std::string CheckState() {
    std::int32_t nodes = 0;
    for (const ControlPoint* p = editor.points.head; p != nullptr; p = p->next) {
        if (++nodes > editor.pointCount) {
            return "the list holds more nodes than pointCount";
        }
    }
    if (nodes != editor.pointCount) {
        return "pointCount differs from the number of nodes";
    }
    const float d = editor.degree;
    if (!(d >= 1.0f && d <= 9.0f) || static_cast<float>(static_cast<int>(d)) != d) {
        return "degree is not a whole number from 1 to 9";
    }
    const std::vector<int> checked = CheckedDegrees();
    if (checked.size() != 1 || checked[0] != static_cast<int>(d)) {
        return "the Degree menu does not check exactly the current degree";
    }
    if (editor.dragging && !editor.pressed) {
        return "dragging while not pressed";
    }
    return {};
}

struct Snapshot {
    const ControlPoint* node;
    float x;
    float y;
};

std::vector<Snapshot> TakeSnapshot() {
    std::vector<Snapshot> nodes;
    for (const ControlPoint* p = editor.points.head; p != nullptr; p = p->next) {
        nodes.push_back(Snapshot{p, p->x, p->y});
    }
    return nodes;
}

// A pointer move may change only the selected point, only when it is still in the list and
// a drag is on, and only by the pointer's displacement.
std::string CheckedMove(std::uint16_t x, std::uint16_t y, WindowRef window, MenuRef menu) {
    const std::vector<Snapshot> before = TakeSnapshot();
    const bool dragStep = editor.pressed && editor.dragging && editor.points.head != nullptr;
    const ControlPoint* selected = editor.selected;
    const bool selectedInList = Contains(selected);
    const float lastX = editor.dragLastX;
    const float lastY = editor.dragLastY;
    Dispatch(Event{EventKind::Move, x, y, 0}, window, menu);
    for (const Snapshot& node : before) {
        const bool moves = dragStep && selectedInList && node.node == selected;
        const float expectedX = moves ? node.x + (editor.mouseX - lastX) : node.x;
        const float expectedY = moves ? node.y + (editor.mouseY - lastY) : node.y;
        if (node.node->x != expectedX || node.node->y != expectedY) {
            return moves ? "the dragged point did not follow the pointer"
                         : "a pointer move changed a point that is not being dragged";
        }
    }
    return {};
}

double LiteralCost() {
    const double samples = 10.0 * (editor.pointCount - static_cast<double>(editor.degree)) + 1.0;
    double cost = samples;
    for (int level = 0; level < static_cast<int>(editor.degree); ++level) {
        cost *= 4.0;
    }
    return cost;
}

// The last frame checked, so that a picture that changes without a change of the scene
// version (a main loop would skip that frame) is caught.
struct CheckedPicture {
    bool drawn;
    std::uint32_t sceneVersion;
    std::vector<std::uint32_t> pixels;
};

std::string CheckedFrame(Canvas& canvas, Canvas& reference, CheckedPicture& previous, bool last) {
    std::fill(canvas.pixels.begin(), canvas.pixels.end(), kWhite);
    int token = 0;
    RenderFrame(WindowRef{&token}, TargetRef{&token});
    if (fakeHost.presents.empty()) {
        return "a frame presented nothing";
    }
    const std::vector<std::uint32_t> presented = std::move(fakeHost.presents.back().pixels);
    fakeHost.presents.clear();
    if (previous.drawn && previous.sceneVersion == editor.sceneVersion &&
        presented != previous.pixels) {
        return "the picture changed but the scene version did not";
    }
    previous = CheckedPicture{true, editor.sceneVersion, presented};
    if (std::any_of(canvas.pixels.begin(), canvas.pixels.end(),
                    [](std::uint32_t pixel) { return pixel != kWhite; })) {
        return "the back buffer is not white after a frame";
    }
    const double budget = last ? kLiteralBudgetLastFrame : kLiteralBudgetPerFrame;
    if (editor.pointCount > 12 || LiteralCost() > budget) {
        return {};
    }
    std::fill(reference.pixels.begin(), reference.pixels.end(), kWhite);
    LiteralComposeFrame(SurfaceOf(reference));
    if (presented != reference.pixels) {
        return "the frame differs from the one drawn by the literal references";
    }
    return {};
}

// Every message is dispatched through the editor's own table; a right press is passed on
// exactly when it is the first press and picks nothing, every other message is handled.
std::string Apply(Reader& reader) {
    int token = 0;
    const WindowRef window{&token};
    const MenuRef menu{&token};
    Event event{};
    switch (reader.Byte() % 8) {
    case 0: {
        const std::uint16_t x = reader.Word();
        return CheckedMove(x, reader.Word(), window, menu);
    }
    case 1: {
        const std::uint16_t x = reader.Word();
        event = Event{EventKind::LeftPress, x, reader.Word(), 0};
        break;
    }
    case 2: {
        const std::uint16_t x = reader.Word();
        const bool wasPressed = editor.pressed;
        const Handling handling =
            Dispatch(Event{EventKind::RightPress, x, reader.Word(), 0}, window, menu);
        const bool picked = !wasPressed && editor.dragging;
        if ((handling == Handling::Handled) != (wasPressed || picked)) {
            return "a right press was passed on although it was handled, or the other way round";
        }
        return {};
    }
    case 3:
        event = Event{EventKind::LeftRelease, 0, 0, 0};
        break;
    case 4:
        event = Event{EventKind::RightRelease, 0, 0, 0};
        break;
    case 5:
        event = Event{EventKind::Key, 0, 0, reader.Byte()};
        break;
    case 6:
        event = Event{EventKind::Command, 0, 0, reader.Long()};
        break;
    default: {
        const MenuItemEntry& item = kMenuItems[reader.Byte() % std::size(kMenuItems)];
        const std::uintptr_t high = static_cast<std::uintptr_t>(reader.Byte()) << 16;
        event = Event{EventKind::Command, 0, 0, high | item.command};
        break;
    }
    }
    if (Dispatch(event, window, menu) != Handling::Handled) {
        return "a message other than a right press was passed on";
    }
    return {};
}

} // namespace

std::string RunMessageSequence(const std::uint8_t* data, std::size_t size) {
    Canvas canvas = MakeCanvas(kWidth, kHeight);
    Canvas reference = MakeCanvas(kWidth, kHeight);
    ResetEditor(&canvas);
    ResetFakeHost(ClientRect{0, 0, kWidth, kHeight});
    Reader reader{data, size, 0};
    CheckedPicture previous{false, 0, {}};
    std::string failure;
    for (int message = 1; failure.empty() && reader.More(); ++message) {
        failure = Apply(reader);
        if (failure.empty()) {
            failure = CheckState();
        }
        if (failure.empty() && message % kFrameEvery == 0) {
            failure = CheckedFrame(canvas, reference, previous, false);
        }
    }
    if (failure.empty()) {
        failure = CheckedFrame(canvas, reference, previous, true);
    }
    ResetEditor(nullptr);
    return failure;
}
