#include "queued_loop.h"

#include "loop.h"

QueuedLoop queuedLoop = {{}, false};

void EnqueueEvent(QueuedLoop& loop, Event event) {
    if (loop.quit) {
        return;
    }
    if (event.kind == EventKind::Move && !loop.events.empty() &&
        loop.events.back().kind == EventKind::Move) {
        loop.events.back() = event;
        return;
    }
    if (loop.events.size() < kQueueLimit) {
        loop.events.push_back(event);
    }
}

void PostQuit(QueuedLoop& loop) {
    if (!loop.quit) {
        loop.events.push_front(Event{EventKind::Quit, 0, 0, 0});
    }
}

bool QuitRequested(const QueuedLoop& loop) {
    return loop.quit || (!loop.events.empty() && loop.events.front().kind == EventKind::Quit);
}

PassOutcome RunQueuedPass(QueuedLoop& loop, WindowRef window, MenuRef menu) {
    if (loop.quit) {
        return PassOutcome::Quit;
    }
    if (!loop.events.empty()) {
        const Event event = loop.events.front();
        loop.events.pop_front();
        if (event.kind == EventKind::Quit) {
            loop.quit = true;
            loop.events.clear();
        } else {
            Dispatch(event, window, menu);
        }
    }
    return FinishPass(window, !loop.events.empty(), loop.quit);
}

void HostPostQuit() {
    PostQuit(queuedLoop);
}
