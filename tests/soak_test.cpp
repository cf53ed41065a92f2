// 100,000 random messages through the editor's message table, with the main loop's frames in
// between: once "Clear Lines" has
// run, the heap holds exactly what it held at the start. This binary counts every
// allocation made through operator new.
#include "canvas.h"
#include "commands.h"
#include "fake_host.h"
#include "loop.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <random>

namespace {
std::atomic<long long> liveAllocations{0};
}

void* operator new(std::size_t size) {
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    ++liveAllocations;
    return block;
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block != nullptr) {
        ++liveAllocations;
    }
    return block;
}

void operator delete(void* block) noexcept {
    if (block != nullptr) {
        --liveAllocations;
        std::free(block);
    }
}

void operator delete(void* block, std::size_t) noexcept {
    operator delete(block);
}

namespace {

void ForgetHostRecords() {
    std::vector<PresentCall>().swap(fakeHost.presents);
    std::vector<CheckCall>().swap(fakeHost.checkCalls);
    std::vector<MessageBoxCall>().swap(fakeHost.messageBoxes);
}

TEST(Soak, HeapIsFlatAfterClearLines) {
    Canvas canvas = MakeCanvas(96, 300);
    ResetEditor(&canvas);
    ResetFakeHost(ClientRect{0, 0, 96, 300});
    int token = 0;
    const WindowRef window{&token};
    const MenuRef menu{&token};

    std::mt19937 random(100000u);
    std::uniform_int_distribution<int> kind(0, 99);
    std::uniform_int_distribution<int> near(0, 120);
    std::uniform_int_distribution<int> anywhere(0, 65535);
    std::uniform_int_distribution<int> key(0, 255);
    std::uniform_int_distribution<int> degreeItem(0, 8);

    Dispatch(Event{EventKind::Command, 0, 0, IDM_CLEAR_LINES}, window, menu);
    ForgetHostRecords();
    const long long baseline = liveAllocations.load();
    int maxPoints = 0;
    for (int message = 1; message <= 100000; ++message) {
        const int k = kind(random);
        const auto x = static_cast<std::uint16_t>(k < 95 ? near(random) : anywhere(random));
        const auto y = static_cast<std::uint16_t>(k < 95 ? near(random) + 180 : anywhere(random));
        Event event{EventKind::Command, 0, 0, IDM_CLEAR_LINES};
        if (k < 40) {
            event = Event{EventKind::Move, x, y, 0};
        } else if (k < 60) {
            event = Event{EventKind::LeftPress, x, y, 0};
        } else if (k < 65) {
            event = Event{EventKind::RightPress, x, y, 0};
        } else if (k < 85) {
            event = Event{k < 75 ? EventKind::LeftRelease : EventKind::RightRelease, 0, 0, 0};
        } else if (k < 92) {
            event = Event{EventKind::Key, 0, 0, static_cast<std::uintptr_t>(key(random))};
        } else if (k < 98) {
            event = Event{EventKind::Command, 0, 0,
                          IDM_DEGREE_1 + static_cast<unsigned>(degreeItem(random))};
        }
        Dispatch(event, window, menu);
        maxPoints = std::max(maxPoints, editor.pointCount);
        if (message % 50 == 0) {
            FinishPass(window, false, false);
            ForgetHostRecords();
        }
        if (message % 10000 == 0) {
            Dispatch(Event{EventKind::Command, 0, 0, IDM_CLEAR_LINES}, window, menu);
            ForgetHostRecords();
            ASSERT_EQ(liveAllocations.load(), baseline) << "after " << message << " messages";
        }
    }
    EXPECT_GT(maxPoints, 20); // the soak really did grow the list between clearings
    ResetEditor(nullptr);
}

} // namespace
