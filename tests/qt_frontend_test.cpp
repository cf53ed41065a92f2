// The Linux program's translation of Qt events into the core's messages, run offscreen.
#include "canvas.h"
#include "commands.h"
#include "qt_frontend.h"
#include "texts.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <vector>

namespace {

class QtFrontEndTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetEditor(nullptr);
        CreateMainWindow();
    }
    void TearDown() override { ShutdownApp(); }

    static void Passes(int count) {
        for (int pass = 0; pass < count; ++pass) {
            RunPass();
        }
    }

    static void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                    bool autoRepeat = false) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers, QString(), autoRepeat);
        QCoreApplication::sendEvent(qtFrontEnd.canvas, &event);
    }

    // A key as X11 reports it: with its native scan code. False when it was left unhandled.
    static bool KeyAt(quint32 scanCode, int key, Qt::KeyboardModifiers modifiers,
                      const QString& text) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers, scanCode, 0, 0, text);
        QCoreApplication::sendEvent(qtFrontEnd.canvas, &event);
        return event.isAccepted();
    }

    static void Mouse(QEvent::Type type, QPoint position, Qt::MouseButton button) {
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonRelease || type == QEvent::MouseMove ? Qt::NoButton : button;
        QMouseEvent event(type, QPointF(position), QPointF(position), button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(qtFrontEnd.canvas, &event);
    }

    static void Move(QPoint position) { Mouse(QEvent::MouseMove, position, Qt::NoButton); }

    static void Click(QPoint position, Qt::MouseButton button = Qt::LeftButton) {
        Move(position);
        Mouse(QEvent::MouseButtonPress, position, button);
        Mouse(QEvent::MouseButtonRelease, position, button);
        Passes(4);
    }

    static std::vector<int> CheckedDegrees() {
        std::vector<int> degrees;
        for (int d = 1; d <= 9; ++d) {
            if (qtFrontEnd.degreeActions[d - 1]->isChecked()) {
                degrees.push_back(d);
            }
        }
        return degrees;
    }
};

using Degrees = std::vector<int>;

TEST_F(QtFrontEndTest, WindowIsFixedSizeWithTheMenuOfTheResource) {
    EXPECT_EQ(qtFrontEnd.window->windowTitle(), "Tavrimo");
    EXPECT_EQ(qtFrontEnd.window->minimumSize(), qtFrontEnd.window->maximumSize());
    EXPECT_EQ(qtFrontEnd.canvas->size(), QSize(kClientWidth, kClientHeight));
    const QList<QAction*> popups = qtFrontEnd.window->menuBar()->actions();
    ASSERT_EQ(popups.size(), 3);
    EXPECT_EQ(popups.at(0)->text(), "File");
    EXPECT_EQ(popups.at(1)->text(), "Degree");
    EXPECT_EQ(popups.at(2)->text(), "Help");
    EXPECT_EQ(CheckedDegrees(), (Degrees{3}));
}

TEST_F(QtFrontEndTest, MainKeyboardDigitsChooseTheDegreeOnePerPass) {
    Key(Qt::Key_7);
    Key(Qt::Key_2);
    RunPass();
    EXPECT_EQ(editor.degree, 7.0f);
    EXPECT_EQ(CheckedDegrees(), (Degrees{7}));
    RunPass();
    EXPECT_EQ(editor.degree, 2.0f);
    // Auto-repeat repeats the key-down; Shift+1 is still the key 1.
    Key(Qt::Key_5, Qt::NoModifier, true);
    Key(Qt::Key_Exclam, Qt::ShiftModifier);
    RunPass();
    EXPECT_EQ(editor.degree, 5.0f);
    RunPass();
    EXPECT_EQ(editor.degree, 1.0f);
    EXPECT_EQ(CheckedDegrees(), (Degrees{1}));
}

TEST_F(QtFrontEndTest, KeypadDigitsAndOtherKeysAreNotDigits) {
    Key(Qt::Key_7, Qt::KeypadModifier);
    Key(Qt::Key_0);
    Key(Qt::Key_A);
    Key(Qt::Key_F5);
    Key(Qt::Key_Exclam); // "!" without Shift is some other key
    Passes(6);
    EXPECT_EQ(editor.degree, 3.0f);
    EXPECT_EQ(CheckedDegrees(), (Degrees{3}));

    // The editor reads only the digit keys 1 to 9; the rest are one other key.
    EXPECT_EQ(EditorKeyFor(Qt::Key_7, Qt::KeypadModifier, 0), kOtherKey);
    EXPECT_EQ(EditorKeyFor(Qt::Key_7, Qt::KeypadModifier, 16), kOtherKey);
    EXPECT_EQ(EditorKeyFor(Qt::Key_0, Qt::NoModifier, 0), kOtherKey);
    EXPECT_EQ(EditorKeyFor(Qt::Key_0, Qt::NoModifier, 19), kOtherKey);
    EXPECT_EQ(EditorKeyFor(Qt::Key_ParenLeft, Qt::ShiftModifier, 0), 0x39u);
    EXPECT_EQ(EditorKeyFor(Qt::Key_ParenRight, Qt::ShiftModifier, 0), kOtherKey);
}

// With scan codes (X11, Wayland) the digit row counts by place, as Windows' virtual keys do.
TEST_F(QtFrontEndTest, DigitRowKeysCountByPlaceOnEveryLayout) {
    EXPECT_TRUE(KeyAt(10, Qt::Key_Ampersand, Qt::NoModifier, "&")); // French: the key 1
    RunPass();
    EXPECT_EQ(editor.degree, 1.0f);
    KeyAt(17, Qt::Key_ParenLeft, Qt::ShiftModifier, "("); // German Shift+8, not 9
    RunPass();
    EXPECT_EQ(editor.degree, 8.0f);
    KeyAt(14, Qt::Key_Apostrophe, Qt::NoModifier, "'"); // French: the key 5
    RunPass();
    EXPECT_EQ(editor.degree, 5.0f);
    EXPECT_EQ(CheckedDegrees(), (Degrees{5}));

    // Not the digit keys: a keypad digit, a digit typed by another key, 0, and any key with Alt,
    // which is left to the window system.
    KeyAt(79, Qt::Key_7, Qt::KeypadModifier, "7");
    KeyAt(38, Qt::Key_2, Qt::NoModifier, "2");
    KeyAt(19, Qt::Key_0, Qt::NoModifier, "0");
    EXPECT_FALSE(KeyAt(18, Qt::Key_9, Qt::AltModifier, "9"));
    EXPECT_FALSE(KeyAt(11, Qt::Key_Eacute, Qt::AltModifier | Qt::ShiftModifier, "2"));
    Passes(6);
    EXPECT_EQ(editor.degree, 5.0f);
    EXPECT_EQ(CheckedDegrees(), (Degrees{5}));
}

TEST_F(QtFrontEndTest, ClickPlacesAPointAndTheFrameReachesTheCanvas) {
    Click(QPoint(100, 50));
    ASSERT_EQ(editor.pointCount, 1);
    EXPECT_EQ(editor.points.head->x, 100.0f);
    EXPECT_EQ(editor.points.head->y, 189.0f);
    // The marker covers columns 96..103 and rows 47..54 of the presented frame.
    EXPECT_EQ(qtFrontEnd.frontImage.pixel(96, 54), 0xFF00FF00u);
    EXPECT_EQ(qtFrontEnd.frontImage.pixel(103, 47), 0xFF00FF00u);
    EXPECT_EQ(qtFrontEnd.frontImage.pixel(104, 50), 0xFFFFFFFFu);
    // The back buffer is white again after presenting.
    EXPECT_EQ(qtFrontEnd.backImage.pixel(100, 50), 0xFFFFFFFFu);
}

TEST_F(QtFrontEndTest, SecondPressOfADoubleClickIsAnOrdinaryPress) {
    Click(QPoint(100, 100));
    Move(QPoint(300, 300));
    Mouse(QEvent::MouseButtonDblClick, QPoint(300, 300), Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, QPoint(300, 300), Qt::LeftButton);
    Passes(4);
    EXPECT_EQ(editor.pointCount, 2);
}

TEST_F(QtFrontEndTest, ReleaseOutsideTheCanvasEndsTheDrag) {
    Click(QPoint(100, 100));
    Move(QPoint(100, 100));
    Mouse(QEvent::MouseButtonPress, QPoint(100, 100), Qt::RightButton);
    Move(QPoint(110, 105));
    Passes(3);
    EXPECT_TRUE(editor.dragging);
    Mouse(QEvent::MouseButtonRelease, QPoint(-40, 900), Qt::RightButton);
    Passes(1);
    EXPECT_FALSE(editor.pressed);
    EXPECT_FALSE(editor.dragging);
    EXPECT_EQ(editor.points.head->x, 110.0f);
    EXPECT_EQ(editor.points.head->y, 134.0f);
}

TEST_F(QtFrontEndTest, MovesOutsideTheCanvasAreNotDelivered) {
    Click(QPoint(100, 100));
    Move(QPoint(100, 100));
    Mouse(QEvent::MouseButtonPress, QPoint(100, 100), Qt::LeftButton);
    Passes(2);
    Move(QPoint(-5, 100)); // would wrap to 65531
    Passes(1);
    Move(QPoint(100, 480)); // one row below the canvas
    Passes(1);
    EXPECT_EQ(editor.points.head->x, 100.0f);
    EXPECT_EQ(editor.points.head->y, 139.0f);
    Move(QPoint(120, 90)); // back inside: the displacement since the last move seen
    Passes(1);
    EXPECT_EQ(editor.points.head->x, 120.0f);
    EXPECT_EQ(editor.points.head->y, 149.0f);
}

TEST_F(QtFrontEndTest, WindowCloseClearsThenQuitsAfterThePassThatTakesIt) {
    Click(QPoint(100, 100));
    QCloseEvent close;
    QCoreApplication::sendEvent(qtFrontEnd.window, &close);
    EXPECT_FALSE(close.isAccepted());
    EXPECT_EQ(editor.pointCount, 1); // nothing happens before the loop takes the message
    EXPECT_NE(RunPass(), PassOutcome::Quit);
    EXPECT_EQ(editor.pointCount, 0);
    EXPECT_TRUE(qtFrontEnd.window->isVisible());
    EXPECT_EQ(RunPass(), PassOutcome::Quit);
}

TEST_F(QtFrontEndTest, DegreeItemsDoNotFlipTheirOwnMark) {
    qtFrontEnd.degreeActions[6]->trigger();
    EXPECT_EQ(CheckedDegrees(), (Degrees{3})); // still the core's marks until the pass
    RunPass();
    EXPECT_EQ(CheckedDegrees(), (Degrees{7}));
    EXPECT_EQ(editor.degree, 7.0f);
    qtFrontEnd.degreeActions[6]->trigger(); // the current degree again
    RunPass();
    EXPECT_EQ(CheckedDegrees(), (Degrees{7}));
}

TEST_F(QtFrontEndTest, QuitItemClearsAndQuits) {
    Click(QPoint(100, 100));
    const QList<QAction*> file = qtFrontEnd.window->menuBar()->actions().at(0)->menu()->actions();
    ASSERT_EQ(file.size(), 2);
    EXPECT_EQ(file.at(0)->text(), "Clear Lines");
    EXPECT_EQ(file.at(1)->text(), "Quit");
    file.at(1)->trigger();
    Key(Qt::Key_5); // input after the quit is never taken
    EXPECT_NE(RunPass(), PassOutcome::Quit);
    EXPECT_EQ(editor.pointCount, 0);
    EXPECT_EQ(RunPass(), PassOutcome::Quit);
    EXPECT_EQ(editor.degree, 3.0f);
}

struct SeenBox {
    QString title;
    QString text;
    bool ownedByWindow = false;
    bool modal = false;
};

TEST_F(QtFrontEndTest, HelpItemsShowModalBoxesOwnedByTheWindow) {
    const QList<QAction*> help = qtFrontEnd.window->menuBar()->actions().at(2)->menu()->actions();
    ASSERT_EQ(help.size(), 2);
    std::vector<SeenBox> seen;
    for (QAction* item : help) {
        item->trigger();
        // Looks for the box every 10 ms from inside its modal loop, for at most 5 s.
        QTimer poll;
        int attempts = 0;
        QObject::connect(&poll, &QTimer::timeout, [&seen, &poll, &attempts] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) {
                if (++attempts > 500) {
                    poll.stop();
                }
                return;
            }
            poll.stop();
            seen.push_back(SeenBox{box->windowTitle(), box->text(),
                                   box->parentWidget() == qtFrontEnd.window, box->isModal()});
            box->button(QMessageBox::Ok)->click();
        });
        poll.start(10);
        RunPass(); // returns once the box is closed
    }
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].title, "Instructions");
    EXPECT_EQ(seen[0].text, QString::fromLatin1(kInstructionsText));
    EXPECT_TRUE(seen[0].ownedByWindow);
    EXPECT_TRUE(seen[0].modal);
    EXPECT_EQ(seen[1].title, "About");
    EXPECT_TRUE(seen[1].text.contains("Tavrimo"));
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
