#include <gtest/gtest.h>

#include "player/PlayerTestFixture.h"
#include "support/StyleLike.h"

namespace vornel {
namespace {

using test::DialogCall;
using Kind = DialogCall::Kind;

class WindowLifecycleTest : public test::PlayerTest {};

TEST_F(WindowLifecycleTest, CreationSetsColoursNoStyleAndFullMeters) {
    EXPECT_EQ(st.ColNormal, (Rgb{224, 224, 224}));
    EXPECT_EQ(st.ColSelected, (Rgb{255, 128, 128}));
    EXPECT_EQ(st.ColBlink, (Rgb{255, 192, 128}));
    EXPECT_EQ(st.ColOn, (Rgb{0, 255, 0}));
    EXPECT_EQ(st.ColOff, (Rgb{255, 0, 0}));
    const bool black[12] = {false, true, false, true, false, false, true, false, true, false, true, false};
    for (int i = 0; i < 12; ++i) EXPECT_EQ(st.KeyColors[static_cast<std::size_t>(i)], (black[i] ? Rgb{0, 0, 0} : Rgb{255, 255, 255})) << i;
    EXPECT_EQ(st.CurPart, -1);
    EXPECT_FALSE(st.Cmd_Play.enabled);
    EXPECT_FALSE(st.Cmd_Stop.enabled);
    EXPECT_TRUE(timer2.running());
    EXPECT_FALSE(timer1.running());
    EXPECT_FALSE(timer3.running());
    EXPECT_TRUE(dialogs.calls.empty()) << "nothing is shown, asked or focused at creation";
}

TEST_F(WindowLifecycleTest, MetersFallFromFullToZeroOnTheSixteenthTickOfTimer2) {
    for (int ch = 9; ch <= 16; ++ch) EXPECT_EQ(st.ProgressBar2[static_cast<std::size_t>(ch)], kMeterFullScale);
    for (int i = 0; i < 15; ++i) timer2.tick();
    EXPECT_NEAR(st.ProgressBar2[9], 109.13, 0.05);
    timer2.tick();
    for (int ch = 9; ch <= 16; ++ch) EXPECT_EQ(st.ProgressBar2[static_cast<std::size_t>(ch)], 0.0f);
    EXPECT_TRUE(timer2.running()) << "with meters on the timer never stops";
}

TEST_F(WindowLifecycleTest, TimersTickTheirHandlers) {
    loadMainA();
    st.Cmd_Stop.enabled = true;
    player.Cmd_Part_Click(0);  // Intro A while "playing": it blinks
    timer1.tick();
    EXPECT_EQ(st.Cmd_Part[0].colour, st.ColBlink);
    timer1.tick();
    EXPECT_EQ(st.Cmd_Part[0].colour, st.ColNormal);
    player.Lbl_Chord_Click(2);
    timer3.tick();
    EXPECT_EQ(st.Lbl_Chord[2].colour, st.ColBlink);
}

TEST_F(WindowLifecycleTest, ExitAsksInTurkishUnderTheBareTitle) {
    dialogs.answerYes = false;
    player.Cmd_Exit_Click();
    const auto asked = dialogs.of(Kind::AskYesNo);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].text, "Çıkmak istediğinizden emin misiniz?");
    EXPECT_EQ(asked[0].title, "Vornel");
    EXPECT_FALSE(dialogs.programEnded);
    EXPECT_EQ(output.PortIsOpen(), 1) << "No changes nothing";
}

TEST_F(WindowLifecycleTest, ExitAsksInEnglishUnderTheTitleWithExit) {
    language.LangNo = kLangEnglish;
    dialogs.answerYes = false;
    player.Cmd_Exit_Click();
    const auto asked = dialogs.of(Kind::AskYesNo);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].text, "Are you sure?");
    EXPECT_EQ(asked[0].title, "Vornel - Exit (?)");
}

TEST_F(WindowLifecycleTest, YesClosesThePortAndThenEndsTheProgram) {
    int portOpenAtEnd = -1;
    dialogs.observe = [&](const DialogCall& c) {
        if (c.kind == Kind::EndProgram) portOpenAtEnd = output.PortIsOpen();
    };
    player.Cmd_Exit_Click();
    EXPECT_TRUE(dialogs.programEnded);
    EXPECT_EQ(portOpenAtEnd, 0);
    EXPECT_EQ(ports.log->closes, 1);
    EXPECT_FALSE(lastCallWasFocus()) << "the command gives no focus back";
}

TEST_F(WindowLifecycleTest, ClosingWhilePlayingIsRefusedWithoutAQuestion) {
    loadMainA();
    player.Cmd_Play_Click();
    dialogs.clear();
    EXPECT_TRUE(player.Form_Unload());
    EXPECT_TRUE(dialogs.calls.empty());
    EXPECT_EQ(output.PortIsOpen(), 1);
}

TEST_F(WindowLifecycleTest, ClosingWhileStoppedAsksAndNoKeepsTheWindow) {
    dialogs.answers = {false, true};
    EXPECT_TRUE(player.Form_Unload());
    EXPECT_EQ(dialogs.count(Kind::AskYesNo), 1u);
    EXPECT_FALSE(dialogs.programEnded);
    EXPECT_EQ(output.PortIsOpen(), 1);

    EXPECT_FALSE(player.Form_Unload());
    EXPECT_TRUE(dialogs.programEnded);
    EXPECT_EQ(output.PortIsOpen(), 0);
}

TEST_F(WindowLifecycleTest, ExitIsDisabledWhilePlaying) {
    loadMainA();
    player.Cmd_Play_Click();
    dialogs.clear();
    player.Cmd_Exit_Click();
    EXPECT_TRUE(dialogs.calls.empty());
}

TEST_F(WindowLifecycleTest, CommandsOpeningOtherWindowsHideThisOneExceptHelp) {
    std::vector<std::string> opened;
    player.windows.showFileChooser = [&] { opened.push_back("file chooser"); };
    player.windows.showSettings = [&] { opened.push_back("settings"); };
    player.windows.showKeyMap = [&] { opened.push_back("key map"); };
    player.windows.showAbout = [&] { opened.push_back("about"); };
    player.windows.showHelp = [&] { opened.push_back("help"); };

    struct Command {
        void (Player::*handler)();
        const char* window;
        bool hides;
    };
    for (const Command& c : {Command{&Player::Cmd_Open_Click, "file chooser", true}, Command{&Player::Cmd_Settings_Click, "settings", true},
                             Command{&Player::mnuMap_Click, "key map", true}, Command{&Player::Cmd_About_Click, "about", true},
                             Command{&Player::Cmd_Help_Click, "help", false}}) {
        player.Show();
        opened.clear();
        (player.*c.handler)();
        EXPECT_EQ(opened, std::vector<std::string>{c.window});
        EXPECT_EQ(st.window.visible, !c.hides) << c.window;
    }
    EXPECT_EQ(dialogs.count(Kind::FocusKeyboardSink), 0u);
}

TEST_F(WindowLifecycleTest, AboutAndKeyMapDuringPlaybackLeavePlaybackRunning) {
    loadMainA();
    player.windows.showAbout = [] {};
    player.windows.showKeyMap = [] {};
    player.Cmd_Play_Click();
    runTo(100);
    player.Cmd_About_Click();
    player.mnuMap_Click();
    EXPECT_FALSE(st.window.visible);
    runTo(1200);
    EXPECT_EQ(st.Playing, 1);
    EXPECT_EQ(test::soundingNoteOns(sent()).size(), 4u) << "both bars and the loop's first bar sounded";
    player.Show();
    EXPECT_TRUE(st.window.visible);
    EXPECT_EQ(st.CurPart, 2);
}

TEST_F(WindowLifecycleTest, CommandWithoutItsWindowKeepsThePlayerInView) {
    player.Show();
    for (auto handler : {&Player::Cmd_Open_Click, &Player::Cmd_Settings_Click, &Player::mnuMap_Click,
                         &Player::Cmd_About_Click, &Player::Cmd_Help_Click}) {
        (player.*handler)();
        EXPECT_TRUE(st.window.visible);
    }
}

TEST_F(WindowLifecycleTest, LoadFileLoadsTheStyleThroughTheLoader) {
    test::StyleOptions options;
    options.sections = {{"Main A", 2}, {"Ending A", 1}};
    const std::string path = writeFile(test::styleLike(options));
    player.LoadFile(path);
    EXPECT_EQ(st.CurPart, 2);
    EXPECT_EQ(st.PartName, "Main A");
    EXPECT_TRUE(st.Cmd_Play.enabled);
    EXPECT_TRUE(st.Cmd_Part[3].enabled);

    player.Cmd_Play_Click();
    runTo(3000);
    EXPECT_FALSE(test::soundingNoteOns(sent()).empty());
    player.Cmd_Stop_Click();
    EXPECT_TRUE(test::soundingNotes(sent()).empty());
}

}  // namespace
}  // namespace vornel
