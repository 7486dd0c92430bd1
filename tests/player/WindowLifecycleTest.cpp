#include <gtest/gtest.h>

#include "player/PlayerTestFixture.h"
#include "support/StyleLike.h"

namespace vornel {
namespace {

using test::DialogCall;
using Kind = DialogCall::Kind;

class WindowLifecycleTest : public test::PlayerTest {};

TEST_F(WindowLifecycleTest, CreationSetsTheColoursNoStyleAndFullMetersThatFallToZero) {
    EXPECT_EQ((std::vector<Rgb>{st.ColNormal, st.ColSelected, st.ColBlink, st.ColOn, st.ColOff}),
              (std::vector<Rgb>{{224, 224, 224}, {255, 128, 128}, {255, 192, 128}, {0, 255, 0}, {255, 0, 0}}));
    EXPECT_EQ(st.engine.CurPart, -1);
    EXPECT_FALSE(st.Cmd_Play.enabled || st.Cmd_Stop.enabled);
    EXPECT_FALSE(timer1.running() || timer3.running());
    EXPECT_TRUE(dialogs.calls.empty()) << "nothing is shown, asked or focused at creation";

    // The meters start full and Timer2 brings them down by the sixteenth tick.
    for (int ch = 9; ch <= 16; ++ch) EXPECT_EQ(st.ProgressBar2[static_cast<std::size_t>(ch)], kMeterFullScale);
    for (int i = 0; i < 15; ++i) timer2.tick();
    EXPECT_NEAR(st.ProgressBar2[9], 109.13, 0.05);
    timer2.tick();
    for (int ch = 9; ch <= 16; ++ch) EXPECT_EQ(st.ProgressBar2[static_cast<std::size_t>(ch)], 0.0f);
    EXPECT_TRUE(timer2.running()) << "with meters on the timer never stops";
}

TEST_F(WindowLifecycleTest, PartPickedWhilePlayingBlinksOnTimer1) {
    loadMainA();
    st.Cmd_Stop.enabled = true;
    player.Cmd_Part_Click(0);
    timer1.tick();
    EXPECT_EQ(st.Cmd_Part[0].colour, st.ColBlink);
    timer1.tick();
    EXPECT_EQ(st.Cmd_Part[0].colour, st.ColNormal);
}

TEST_F(WindowLifecycleTest, ExitAsksInTheLanguageAndNoChangesNothing) {
    dialogs.answerYes = false;
    player.Cmd_Exit_Click();
    language.LangNo = kLangEnglish;
    player.Cmd_Exit_Click();
    const auto asked = dialogs.of(Kind::AskYesNo);
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].text, "Çıkmak istediğinizden emin misiniz?");
    EXPECT_EQ(asked[0].title, "Vornel");
    EXPECT_EQ(asked[1].text, "Are you sure?");
    EXPECT_EQ(asked[1].title, "Vornel - Exit (?)");
    EXPECT_FALSE(dialogs.programEnded);
    EXPECT_EQ(output.PortIsOpen(), 1);
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

TEST_F(WindowLifecycleTest, WhilePlayingClosingIsRefusedAndExitDisabledWithoutAQuestion) {
    loadMainA();
    player.Cmd_Play_Click();
    dialogs.clear();
    EXPECT_TRUE(player.Form_Unload());
    player.Cmd_Exit_Click();
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

TEST_F(WindowLifecycleTest, CommandsOpeningOtherWindowsHideThisOneExceptHelp) {
    const std::vector<void (Player::*)()> commands{&Player::Cmd_Open_Click, &Player::Cmd_Settings_Click,
                                                   &Player::mnuMap_Click, &Player::Cmd_About_Click,
                                                   &Player::Cmd_Help_Click};
    player.Show();
    for (auto handler : commands) {
        (player.*handler)();
        EXPECT_TRUE(st.window.visible) << "a window that does not exist is not opened instead";
    }

    std::vector<std::string> opened;
    player.windows.showFileChooser = [&] { opened.push_back("file chooser"); };
    player.windows.showSettings = [&] { opened.push_back("settings"); };
    player.windows.showKeyMap = [&] { opened.push_back("key map"); };
    player.windows.showAbout = [&] { opened.push_back("about"); };
    player.windows.showHelp = [&] { opened.push_back("help"); };
    const char* windows[] = {"file chooser", "settings", "key map", "about", "help"};
    for (std::size_t i = 0; i < commands.size(); ++i) {
        player.Show();
        opened.clear();
        (player.*commands[i])();
        EXPECT_EQ(opened, std::vector<std::string>{windows[i]});
        EXPECT_EQ(st.window.visible, i == 4) << windows[i];
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
    EXPECT_EQ(st.engine.Playing, 1);
    EXPECT_EQ(test::soundingNoteOns(sent()).size(), 4u) << "both bars and the loop's first bar sounded";
    EXPECT_EQ(st.engine.CurPart, 2);
}

TEST_F(WindowLifecycleTest, LoadFileLoadsTheStyleThroughTheLoader) {
    test::StyleOptions options;
    options.sections = {{"Main A", 2}, {"Ending A", 1}};
    player.LoadFile(writeFile(test::styleLike(options)));
    EXPECT_EQ(st.engine.CurPart, 2);
    EXPECT_EQ(st.engine.PartName, "Main A");
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
