#include "message_queue.h"

#include "input.h"
#include "render.h"

void EnqueueMessage(MessageQueue& queue, QueuedMessage message) {
    if (message.kind == QueuedMessage::Move && !queue.empty() &&
        queue.back().kind == QueuedMessage::Move) {
        queue.back() = message;
        return;
    }
    if (queue.size() < kQueueLimit) {
        queue.push_back(message);
    }
}

void DispatchQueued(QueuedMessage message, WindowRef window, MenuRef menu) {
    switch (message.kind) {
    case QueuedMessage::Move:
        OnMouseMove(message.x, message.y);
        break;
    case QueuedMessage::LeftDown:
        OnLeftButtonDown(message.x, message.y);
        break;
    case QueuedMessage::RightDown:
        OnRightButtonDown();
        break;
    case QueuedMessage::LeftUp:
    case QueuedMessage::RightUp:
        OnButtonUp();
        RenderFrame(window, TargetRef{nullptr});
        break;
    case QueuedMessage::KeyDown:
        OnKeyDown(menu, message.value);
        break;
    case QueuedMessage::Command:
        OnCommand(window, menu, message.value);
        break;
    case QueuedMessage::Close:
        OnClose();
        break;
    case QueuedMessage::Quit:
        break;
    }
}
