#include "qt_frontend.h"

#include "commands.h"
#include "host.h"
#include "menu.h"
#include "queued_loop.h"
#include "scene.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QThread>

#include <cstring>

QtFrontEnd qtFrontEnd = {nullptr, nullptr, nullptr, nullptr, {}, {}, {}};

namespace {

void Enqueue(EventKind kind, std::uint16_t x = 0, std::uint16_t y = 0, std::uintptr_t value = 0) {
    EnqueueEvent(queuedLoop, Event{kind, x, y, value});
}

bool OnCanvas(QPoint position) {
    return position.x() >= 0 && position.y() >= 0 && position.x() < kClientWidth &&
           position.y() < kClientHeight;
}

void EnqueuePointer(EventKind kind, QPoint position) {
    Enqueue(kind, static_cast<std::uint16_t>(position.x()),
            static_cast<std::uint16_t>(position.y()));
}

bool TranslateMouse(QEvent::Type type, const QMouseEvent& event) {
    const QPoint position = event.position().toPoint();
    switch (type) {
    case QEvent::MouseMove:
        // Outside the canvas nothing is delivered: a negative position would wrap to 65,000.
        if (OnCanvas(position)) {
            EnqueuePointer(EventKind::Move, position);
        }
        return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: // the second press of a double-click is a plain press
        if (event.button() == Qt::LeftButton && OnCanvas(position)) {
            EnqueuePointer(EventKind::LeftPress, position);
        } else if (event.button() == Qt::RightButton && OnCanvas(position)) {
            EnqueuePointer(EventKind::RightPress, position);
        }
        return true;
    case QEvent::MouseButtonRelease:
        // Qt grabs the pointer during a press, so this arrives even outside the canvas.
        if (event.button() == Qt::LeftButton) {
            Enqueue(EventKind::LeftRelease);
        } else if (event.button() == Qt::RightButton) {
            Enqueue(EventKind::RightRelease);
        }
        return true;
    default:
        return false;
    }
}

// Receives the canvas's and the window's events and turns them into queued events.
class EventTranslator : public QObject {
  public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == qtFrontEnd.window && event->type() == QEvent::Close) {
            // Closing is the core's decision: it clears the points and asks to quit.
            event->ignore();
            Enqueue(EventKind::Close);
            return true;
        }
        if (watched != qtFrontEnd.canvas) {
            return false;
        }
        switch (event->type()) {
        case QEvent::Paint: {
            QPainter painter(qtFrontEnd.canvas);
            painter.drawImage(0, 0, qtFrontEnd.frontImage);
            return true;
        }
        case QEvent::KeyPress: {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->modifiers().testFlag(Qt::AltModifier)) {
                return false; // a system key, as on Windows: the window system's to handle
            }
            Enqueue(EventKind::Key, 0, 0,
                    EditorKeyFor(key->key(), key->modifiers(), key->nativeScanCode()));
            return true;
        }
        case QEvent::MouseMove:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseButtonRelease:
            return TranslateMouse(event->type(), *static_cast<QMouseEvent*>(event));
        default:
            return false;
        }
    }
};

QImage WhiteImage() {
    QImage image(kClientWidth, kClientHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

void BuildMenu() {
    QMenu* popup = nullptr;
    const char* popupName = nullptr;
    for (const MenuItemEntry& entry : kMenuItems) {
        if (popupName == nullptr || std::strcmp(popupName, entry.popup) != 0) {
            popup = qtFrontEnd.menuBar->addMenu(QString::fromLatin1(entry.popup));
            popupName = entry.popup;
        }
        QAction* action = popup->addAction(QString::fromLatin1(entry.text));
        const unsigned command = entry.command;
        if (command >= IDM_DEGREE_1 && command <= IDM_DEGREE_9) {
            action->setCheckable(true);
            action->setChecked(entry.initiallyChecked);
            qtFrontEnd.degreeActions[command - IDM_DEGREE_1] = action;
        }
        QObject::connect(action, &QAction::triggered, [action, command](bool checked) {
            // Qt has already flipped a checkable item; the marks are the core's to set.
            if (action->isCheckable()) {
                action->setChecked(!checked);
            }
            Enqueue(EventKind::Command, 0, 0, command);
        });
    }
}

} // namespace

std::uintptr_t EditorKeyFor(int qtKey, Qt::KeyboardModifiers modifiers, quint32 scanCode) {
    if (modifiers.testFlag(Qt::KeypadModifier)) {
        return kOtherKey;
    }
    if (scanCode != 0) {
        // X11 and Wayland report the evdev code + 8: the main keyboard's digit row 1, 2, ...,
        // 9 is 10 to 18, whatever the layout types there and whether Shift or Caps Lock is
        // down. Windows names these keys 0x31..0x39 on every layout.
        constexpr quint32 kDigitRow1 = 10;
        return scanCode >= kDigitRow1 && scanCode < kDigitRow1 + 9 ? 0x31 + (scanCode - kDigitRow1)
                                                                   : kOtherKey;
    }
    // No scan code (the offscreen platform): by the character, with the US layout's shifted
    // digits, since Windows names the key: Shift+1 is still the key 1.
    if (qtKey >= Qt::Key_1 && qtKey <= Qt::Key_9) {
        return 0x31 + static_cast<std::uintptr_t>(qtKey - Qt::Key_1);
    }
    static const int shiftedDigits[] = {Qt::Key_Exclam,    Qt::Key_At,       Qt::Key_NumberSign,
                                        Qt::Key_Dollar,    Qt::Key_Percent,  Qt::Key_AsciiCircum,
                                        Qt::Key_Ampersand, Qt::Key_Asterisk, Qt::Key_ParenLeft};
    if (modifiers.testFlag(Qt::ShiftModifier)) {
        for (int d = 1; d <= 9; ++d) {
            if (qtKey == shiftedDigits[d - 1]) {
                return 0x30 + static_cast<std::uintptr_t>(d);
            }
        }
    }
    return kOtherKey;
}

ClientRect HostClientRect(WindowRef /*window*/) {
    if (qtFrontEnd.window == nullptr || qtFrontEnd.window->isMinimized()) {
        return ClientRect{0, 0, 0, 0};
    }
    return ClientRect{0, 0, kClientWidth, kClientHeight};
}

TargetRef HostAcquireTarget(WindowRef /*window*/, TargetKind kind) {
    // Qt repaints the canvas from the last presented frame by itself, so a paint request has
    // nothing to show.
    return TargetRef{kind == TargetKind::Window ? qtFrontEnd.canvas : nullptr};
}

void HostReleaseTarget(WindowRef /*window*/, TargetKind /*kind*/, TargetRef /*target*/) {}

void HostPresent(TargetRef target, ClientRect rect, const BackBuffer& buffer) {
    // The front image has the back buffer's size.
    QImage& front = qtFrontEnd.frontImage;
    for (int row = rect.top; row < rect.bottom; ++row) {
        std::memcpy(reinterpret_cast<std::uint32_t*>(front.scanLine(row)) + rect.left,
                    buffer.pixels + static_cast<std::ptrdiff_t>(row) * buffer.stride + rect.left,
                    static_cast<std::size_t>(rect.right - rect.left) * sizeof(std::uint32_t));
    }
    static_cast<QWidget*>(target.handle)->update();
}

void HostCheckMenuItem(MenuRef menu, unsigned command, bool checked) {
    if (menu.handle == nullptr || command < IDM_DEGREE_1 || command > IDM_DEGREE_9) {
        return;
    }
    qtFrontEnd.degreeActions[command - IDM_DEGREE_1]->setChecked(checked);
}

void HostMessageBox(WindowRef owner, const char* text, const char* title) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromLatin1(title), QString::fromLatin1(text),
                    QMessageBox::Ok, static_cast<QWidget*>(owner.handle));
    box.setTextFormat(Qt::PlainText);
    box.exec(); // modal: the main loop waits until it closes
}

void CreateMainWindow() {
    QApplication::setQuitOnLastWindowClosed(false);
    qtFrontEnd.window =
        new QMainWindow(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                     Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    qtFrontEnd.window->setWindowTitle(QStringLiteral("Tavrimo"));
    qtFrontEnd.menuBar = qtFrontEnd.window->menuBar();
    BuildMenu();

    qtFrontEnd.canvas = new QWidget(qtFrontEnd.window);
    qtFrontEnd.canvas->setFixedSize(kClientWidth, kClientHeight);
    qtFrontEnd.canvas->setMouseTracking(true);
    qtFrontEnd.canvas->setFocusPolicy(Qt::StrongFocus);
    qtFrontEnd.canvas->setAttribute(Qt::WA_OpaquePaintEvent);
    qtFrontEnd.window->setCentralWidget(qtFrontEnd.canvas);

    qtFrontEnd.backImage = WhiteImage();
    qtFrontEnd.frontImage = WhiteImage();
    editor.backBuffer = BackBuffer{
        reinterpret_cast<std::uint32_t*>(qtFrontEnd.backImage.bits()), kClientWidth, kClientHeight,
        static_cast<int>(qtFrontEnd.backImage.bytesPerLine() / 4), PixelOrder::Xrgb};

    qtFrontEnd.translator = new EventTranslator();
    qtFrontEnd.window->installEventFilter(qtFrontEnd.translator);
    qtFrontEnd.canvas->installEventFilter(qtFrontEnd.translator);

    qtFrontEnd.window->show();
    qtFrontEnd.window->setFixedSize(qtFrontEnd.window->sizeHint()); // the user cannot resize
    qtFrontEnd.canvas->setFocus();
}

PassOutcome RunPass() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    return RunQueuedPass(queuedLoop, WindowRef{qtFrontEnd.window}, MenuRef{qtFrontEnd.menuBar});
}

void RunMainLoop() {
    for (PassOutcome outcome = RunPass(); outcome != PassOutcome::Quit; outcome = RunPass()) {
        if (outcome == PassOutcome::Idle) {
            // Nothing pending and nothing to draw: Qt sleeps until the next event arrives.
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        } else {
            QThread::msleep(1);
        }
    }
}

void ShutdownApp() {
    Clear();
    editor.backBuffer = BackBuffer{nullptr, 0, 0, 0, PixelOrder::Xrgb};
    if (qtFrontEnd.window != nullptr) {
        qtFrontEnd.window->removeEventFilter(qtFrontEnd.translator);
        qtFrontEnd.canvas->removeEventFilter(qtFrontEnd.translator);
        delete qtFrontEnd.window; // and with it the menu bar, its actions and the canvas
    }
    delete qtFrontEnd.translator;
    queuedLoop = QueuedLoop{{}, false};
    qtFrontEnd = QtFrontEnd{nullptr, nullptr, nullptr, nullptr, {}, {}, {}};
}
