#include "canvas.h"
#include "commands.h"
#include "fake_host.h"
#include "input.h"
#include "texts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

int windowToken = 0;
int menuToken = 0;
const WindowRef kWindow{&windowToken};
const MenuRef kMenu{&menuToken};

class DegreeAndCommands : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetEditor(nullptr);
        ResetFakeHost(ClientRect{0, 0, 640, 480});
    }
    void TearDown() override { ResetEditor(nullptr); }
};

using Degrees = std::vector<int>;

TEST_F(DegreeAndCommands, SelectDegreeSetsTheDegreeAndChecksExactlyItsItem) {
    SelectDegree(kMenu, 7);
    EXPECT_EQ(editor.degree, 7.0f);
    EXPECT_EQ(CheckedDegrees(), (Degrees{7}));
    // All nine items are set in ascending order, on the menu handle given.
    ASSERT_EQ(fakeHost.checkCalls.size(), 9u);
    for (unsigned j = 0; j < 9; ++j) {
        EXPECT_EQ(fakeHost.checkCalls[j].command, IDM_DEGREE_1 + j);
        EXPECT_EQ(fakeHost.checkCalls[j].checked, j == 6);
        EXPECT_EQ(fakeHost.checkCalls[j].menu, &menuToken);
    }
}

TEST_F(DegreeAndCommands, SelectDegreeRefusesDegreesOutsideOneToNine) {
    SelectDegree(kMenu, 0);
    SelectDegree(kMenu, 10);
    SelectDegree(kMenu, -3);
    EXPECT_EQ(editor.degree, 3.0f);
    EXPECT_TRUE(fakeHost.checkCalls.empty());
}

TEST_F(DegreeAndCommands, DigitKeysOfTheMainKeyboardChooseTheDegree) {
    for (int key = 0x31; key <= 0x39; ++key) {
        OnKeyDown(kMenu, static_cast<std::uintptr_t>(key));
        EXPECT_EQ(editor.degree, static_cast<float>(key - 0x30));
        EXPECT_EQ(CheckedDegrees(), (Degrees{key - 0x30}));
    }
    // Key repeat re-selects the same degree with no further effect.
    OnKeyDown(kMenu, 0x39);
    EXPECT_EQ(CheckedDegrees(), (Degrees{9}));
}

TEST_F(DegreeAndCommands, OtherKeysChangeNothing) {
    Append(1, 1);
    // 0, letters, the keypad digits (VK_NUMPAD0..9), function keys, and a digit's code with
    // high bits set.
    for (std::uintptr_t key :
         {std::uintptr_t{0x30}, std::uintptr_t{0x41}, std::uintptr_t{0x5A}, std::uintptr_t{0x60},
          std::uintptr_t{0x67}, std::uintptr_t{0x69}, std::uintptr_t{0x70}, std::uintptr_t{0x0D},
          std::uintptr_t{0}, std::uintptr_t{0xFF}, std::uintptr_t{0x10037}}) {
        OnKeyDown(kMenu, key);
    }
    EXPECT_EQ(editor.degree, 3.0f);
    EXPECT_TRUE(fakeHost.checkCalls.empty());
    EXPECT_EQ(editor.pointCount, 1);
}

TEST_F(DegreeAndCommands, DegreeItemsChooseTheirDegreeAndTheMarkFollows) {
    OnKeyDown(kMenu, 0x37);
    OnCommand(kWindow, kMenu, IDM_DEGREE_2);
    EXPECT_EQ(editor.degree, 2.0f);
    EXPECT_EQ(CheckedDegrees(), (Degrees{2}));
    for (unsigned d = 1; d <= 9; ++d) {
        OnCommand(kWindow, kMenu, IDM_DEGREE_1 + d - 1);
        EXPECT_EQ(editor.degree, static_cast<float>(d));
        EXPECT_EQ(CheckedDegrees(), (Degrees{static_cast<int>(d)}));
    }
}

TEST_F(DegreeAndCommands, OnlyTheLow16BitsOfTheCommandCount) {
    OnCommand(kWindow, kMenu, (std::uintptr_t{1} << 16) | IDM_DEGREE_5); // an accelerator's
    EXPECT_EQ(editor.degree, 5.0f);
    OnCommand(kWindow, kMenu, std::uintptr_t{0xFFFF0000u} | IDM_DEGREE_6);
    EXPECT_EQ(editor.degree, 6.0f);
}

TEST_F(DegreeAndCommands, UnknownCommandsDoNothing) {
    Append(1, 1);
    for (std::uintptr_t command :
         {std::uintptr_t{0}, std::uintptr_t{40002}, std::uintptr_t{40005}, std::uintptr_t{40057},
          std::uintptr_t{40068}, std::uintptr_t{40070}, std::uintptr_t{65535},
          std::uintptr_t{0x10000}}) {
        OnCommand(kWindow, kMenu, command);
    }
    EXPECT_EQ(editor.pointCount, 1);
    EXPECT_EQ(editor.degree, 3.0f);
    EXPECT_TRUE(fakeHost.checkCalls.empty());
    EXPECT_TRUE(fakeHost.messageBoxes.empty());
    EXPECT_EQ(QuitRequests(), 0);
}

TEST_F(DegreeAndCommands, ClearLinesEmptiesTheListAndKeepsTheDegree) {
    OnKeyDown(kMenu, 0x35);
    Append(1, 1);
    Append(2, 2);
    OnCommand(kWindow, kMenu, IDM_CLEAR_LINES);
    EXPECT_EQ(editor.pointCount, 0);
    EXPECT_EQ(editor.points.head, nullptr);
    EXPECT_EQ(editor.degree, 5.0f);
    EXPECT_EQ(CheckedDegrees(), (Degrees{5}));
    EXPECT_EQ(QuitRequests(), 0);
}

TEST_F(DegreeAndCommands, QuitAndCloseClearThenAskToQuit) {
    Append(1, 1);
    OnCommand(kWindow, kMenu, IDM_QUIT);
    EXPECT_EQ(editor.pointCount, 0);
    EXPECT_EQ(QuitRequests(), 1);

    Append(1, 1);
    OnClose();
    EXPECT_EQ(editor.pointCount, 0);
    EXPECT_EQ(QuitRequests(), 2);
}

TEST_F(DegreeAndCommands, HelpItemsShowTheirBoxesOwnedByTheWindow) {
    OnCommand(kWindow, kMenu, IDM_INSTRUCTIONS);
    OnCommand(kWindow, kMenu, IDM_ABOUT);
    ASSERT_EQ(fakeHost.messageBoxes.size(), 2u);
    EXPECT_EQ(fakeHost.messageBoxes[0].owner, &windowToken);
    EXPECT_EQ(fakeHost.messageBoxes[0].title, kInstructionsTitle);
    EXPECT_EQ(fakeHost.messageBoxes[0].text, kInstructionsText); // the words: the e2e sessions
    EXPECT_EQ(fakeHost.messageBoxes[1].title, kAboutTitle);
    EXPECT_NE(fakeHost.messageBoxes[1].text.find("Tavrimo"), std::string::npos);
}

TEST_F(DegreeAndCommands, DegreeChangesLeaveThePointsAlone) {
    Append(10, 10);
    Append(20, 20);
    ControlPoint* head = editor.points.head;
    OnKeyDown(kMenu, 0x31);
    OnCommand(kWindow, kMenu, IDM_DEGREE_9);
    EXPECT_EQ(editor.points.head, head);
    EXPECT_EQ(editor.pointCount, 2);
    EXPECT_EQ(head->next->x, 20.0f);
}

} // namespace
