// The main loop's pass and the queue of the programs that keep their own, through the
// recording host.
#include "commands.h"
#include "hosted_canvas.h"
#include "loop.h"
#include "queued_loop.h"

namespace {

class Loop : public HostedCanvasTest {
  protected:
    static void Queue(EventKind kind, std::uint16_t x = 0, std::uint16_t y = 0,
                      std::uintptr_t value = 0) {
        EnqueueEvent(queuedLoop, Event{kind, x, y, value});
    }
    PassOutcome Pass() const { return RunQueuedPass(queuedLoop, window, menu); }
};

TEST_F(Loop, TheQueueKeepsOnlyTheNewestPendingMoveAndDropsInputWhenFull) {
    Queue(EventKind::Move, 10, 200);
    Queue(EventKind::Move, 20, 190); // replaces the move before it
    Queue(EventKind::LeftPress, 20, 190);
    Queue(EventKind::Move, 30, 180);
    Queue(EventKind::Move, 40, 170);
    ASSERT_EQ(queuedLoop.events.size(), 3u);
    EXPECT_EQ(Pass(), PassOutcome::Busy);
    EXPECT_EQ(editor.mouseX, 20.0f);
    EXPECT_EQ(Pass(), PassOutcome::Busy);
    EXPECT_EQ(editor.pointCount, 1);
    EXPECT_EQ(Pass(), PassOutcome::Idle);
    EXPECT_EQ(editor.mouseX, 40.0f);

    for (std::size_t k = 0; k < kQueueLimit + 5; ++k) {
        Queue(EventKind::Key, 0, 0, 0x31 + k % 9);
    }
    EXPECT_EQ(queuedLoop.events.size(), kQueueLimit);
    EXPECT_EQ(queuedLoop.events.back().value, 0x31 + (kQueueLimit - 1) % 9); // the newest dropped
}

TEST_F(Loop, QuitIsTakenFirstItsPassStillDrawsAndThenNothingMoreIsTaken) {
    Queue(EventKind::LeftPress, 50, 50);
    Queue(EventKind::Command, 0, 0, IDM_QUIT);
    Queue(EventKind::Key, 0, 0, 0x35);
    EXPECT_EQ(Pass(), PassOutcome::Busy);
    EXPECT_EQ(Pass(), PassOutcome::Busy); // "Quit" clears and posts the request
    EXPECT_EQ(editor.pointCount, 0);
    EXPECT_EQ(Pass(), PassOutcome::Quit); // taken before the key
    EXPECT_EQ(editor.degree, 3.0f);
    EXPECT_TRUE(queuedLoop.events.empty());
    Queue(EventKind::LeftPress, 50, 50);
    EXPECT_EQ(Pass(), PassOutcome::Quit);
    EXPECT_EQ(editor.pointCount, 0);

    ResetFakeHost(fakeHost.clientRect);
    Append(50, 50);
    PostQuit(queuedLoop);
    EXPECT_EQ(Pass(), PassOutcome::Quit);
    ASSERT_EQ(fakeHost.presents.size(), 1u);
    EXPECT_FALSE(LastPresentIsWhite());
}

TEST_F(Loop, AReleasePaintsAFrameOnlyAPaintRequestShowsAndTheLoopThenIdles) {
    EXPECT_EQ(Pass(), PassOutcome::Idle); // the first frame, then nothing to do
    EXPECT_EQ(Pass(), PassOutcome::Idle);
    ASSERT_EQ(fakeHost.presents.size(), 1u);
    EXPECT_EQ(fakeHost.presents[0].target, &windowTarget);

    Queue(EventKind::LeftPress, 50, 50);
    Queue(EventKind::LeftRelease);
    EXPECT_EQ(Pass(), PassOutcome::Busy);
    EXPECT_EQ(Pass(), PassOutcome::Idle);
    ASSERT_EQ(fakeHost.presents.size(), 3u);
    EXPECT_EQ(fakeHost.presents[2].target, &paintTarget);
    EXPECT_FALSE(LastPresentIsWhite()); // drawn, then the back buffer cleared
    EXPECT_EQ(CountNotWhite(canvas), 0);
    EXPECT_EQ(fakeHost.targetsHeld, 0);
    Dispatch(Event{EventKind::Paint, 0, 0, 0}, window, menu); // the window system's request
    ASSERT_EQ(fakeHost.presents.size(), 4u);
    EXPECT_EQ(fakeHost.presents[3].target, &paintTarget);

    // What the Windows program returns: a right press that picks nothing is passed on.
    EXPECT_EQ(Dispatch(Event{EventKind::RightPress, 120, 200, 0}, window, menu),
              Handling::PassedOn);
    EXPECT_EQ(Dispatch(Event{EventKind::Key, 0, 0, 0x41}, window, menu), Handling::Handled);
    // A pass after a message taken from a queue it cannot see has more to do.
    EXPECT_EQ(FinishPass(window, true, false), PassOutcome::Busy);
}

} // namespace
