// The program's windows together, as a user meets them from the first start:
// the setup window first, the language applied to every window at once, the
// help document prepared by OK, and each window's way back to the player.

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "app/ProgramWindows.h"
#include "midi/file/Midifile.h"
#include "midi/output/MIDIOutput.h"
#include "platform/Clock.h"
#include "platform/Dispatcher.h"
#include "platform/Timer.h"
#include "support/RecordingDialogs.h"
#include "support/RecordingPort.h"
#include "support/TempDir.h"

namespace vornel {
namespace {

using test::RecordingDialogs;
using Kind = test::DialogCall::Kind;

class ProgramWindowsTest : public ::testing::Test {
protected:
    // Help documents that exist, by file name; any other reads as missing.
    RtfResult readHelp(const std::string& path) {
        ++helpReads;
        lastHelpPath = path;
        const std::string name = path.substr(path.find_last_of('/') + 1);
        auto it = helpFiles.find(name);
        if (it == helpFiles.end()) return {RtfStatus::Missing, {}};
        RichText doc;
        doc.paragraphs.push_back(Paragraph{{TextRun{it->second, {}}}, ParagraphAlignment::Left});
        return {RtfStatus::Ok, doc};
    }

    ProgramWindows& program() {
        if (!program_) {
            program_ = std::make_unique<ProgramWindows>(ProgramParts{
                reader, output, dialogs, settings, timer1, timer2, timer3, "/opt/vornel", {home.path().string()},
                [this](const std::string& path) { return readHelp(path); }});
        }
        return *program_;
    }

    void start() { program().start(); }
    PlayerState& player() { return program().player.state(); }
    std::string stored(const char* key) { return settings.read("Setup", key); }

    ManualClock clock;
    QueueDispatcher ui;
    test::RecordingPortProvider ports{clock};
    MIDIOutput output{ports, ui, clock, MIDIOutput::Drive::Manual};
    Midifile reader;
    RecordingDialogs dialogs;
    MemorySettingsStore settings;
    ManualTimer timer1{250};
    ManualTimer timer2{55, true};
    ManualTimer timer3{250};
    test::TempDir home;
    std::map<std::string, std::string> helpFiles{{"Yardım.rtf", "Yardım metni"}, {"Help.rtf", "Help text"}};
    int helpReads = 0;
    std::string lastHelpPath;

private:
    std::unique_ptr<ProgramWindows> program_;
};

TEST_F(ProgramWindowsTest, FirstStartShowsOnlyTheSetupWindowWithEveryWindowInTurkish) {
    start();
    ProgramWindows& p = program();
    EXPECT_TRUE(p.setup.window.visible);
    for (const Control* hidden : {&p.player.state().window, &p.chooser.window, &p.help.window, &p.about.window,
                                  &p.keyMap.window})
        EXPECT_FALSE(hidden->visible);

    EXPECT_EQ(stored("Lang"), "0");
    EXPECT_EQ(stored("Dev"), "");
    EXPECT_EQ(p.setup.window.caption, "Aygıt ve Dil Seçimi");
    EXPECT_EQ(p.setup.Combo1.ListIndex, 0);
    EXPECT_EQ(p.setup.ComboMidiOut.ListIndex, 0);
    EXPECT_EQ(player().Cmd_Open.caption, "Aç ..");
    EXPECT_EQ(player().Cmd_Exit.caption, "     - Çıkış -     ");
    EXPECT_EQ(p.chooser.window.caption, "Aç - MIDI ve STİL dosyaları (*.mid, *.sty)");
    EXPECT_EQ(p.about.window.caption, "Vornel - Hakkında");
    EXPECT_EQ(p.about.Lbl_Ab_Web_Left, 1830);
    EXPECT_EQ(p.keyMap.window.caption, "Harita");
    EXPECT_EQ(helpReads, 0) << "the help document is prepared by OK, not by loading";
}

TEST_F(ProgramWindowsTest, OkOnFirstStartOpensTheBuiltInSynthesizerAndShowsThePlayer) {
    start();
    program().setup.CmdOk_Click();

    EXPECT_EQ(ports.lastCreated, -1);
    EXPECT_NE(output.PortIsOpen(), 0);
    EXPECT_EQ(stored("Dev"), "0");
    EXPECT_FALSE(program().setup.window.visible);
    EXPECT_TRUE(player().window.visible);
    EXPECT_EQ(dialogs.count(Kind::MessageBox), 0u);
    EXPECT_EQ(lastHelpPath, "/opt/vornel/Yardım.rtf");
    ASSERT_EQ(program().help.document().paragraphs.size(), 1u);
}

// A machine without audio: the built-in synthesizer cannot start, and the
// user is told so instead of watching meters move in silence.
TEST_F(ProgramWindowsTest, AFailedBuiltInSynthesizerIsToldByAMessageAndTheStatusLine) {
    ports.failing[-1] = true;
    start();
    program().setup.CmdOk_Click();
    ASSERT_EQ(dialogs.count(Kind::MessageBox), 1u);
    EXPECT_EQ(dialogs.of(Kind::MessageBox)[0].title, "Open MIDI Output port");
    EXPECT_TRUE(player().window.visible);
    EXPECT_EQ(player().StatusLine.caption,
              "Ses yok: ses çıkışı bulunamadı. Ayarlar'dan başka bir aygıt seçin.");

    // Settings closed by its frame: back to the player, the program goes on.
    program().player.Cmd_Settings_Click();
    ASSERT_FALSE(player().window.visible);
    program().setup.Form_QueryUnload();
    EXPECT_TRUE(player().window.visible);
    EXPECT_FALSE(dialogs.programEnded);
}

TEST_F(ProgramWindowsTest, ChoosingEnglishRelabelsEveryWindowAtOnceAndIsKeptEvenOnExit) {
    start();
    ProgramWindows& p = program();
    p.setup.Combo1_Click(1);

    EXPECT_EQ(stored("Lang"), "1");
    EXPECT_EQ(p.setup.window.caption, "Device and Language Selection");
    EXPECT_EQ(p.setup.CmdOk.caption, "Ok");
    EXPECT_EQ(p.setup.CmdCancel.caption, "Exit");
    EXPECT_EQ(player().Cmd_Open.caption, "Open ..");
    EXPECT_EQ(player().Cmd_Settings.caption, "Settings");
    EXPECT_EQ(player().mnuMap.caption, "Key map");
    EXPECT_EQ(player().Frm_Chords.caption, "Chords");
    EXPECT_EQ(player().Command1.toolTip, " Volume meters - On / Off ");
    for (const Control& channel : player().Cmd_DisCh) EXPECT_EQ(channel.toolTip, " On / Off ");
    EXPECT_EQ(p.chooser.window.caption, "Open - MIDI and STYLE files (*.mid, *.sty)");
    EXPECT_EQ(p.chooser.CmdOk.caption, "Ok");
    EXPECT_EQ(p.chooser.CmdCancel.caption, "Cancel");
    EXPECT_EQ(p.about.window.caption, "Vornel - About");
    EXPECT_EQ(p.about.Cmd_Ab_Ok.caption, "Ok");
    EXPECT_EQ(p.about.Lbl_Ab_Web_Left, 2655);
    EXPECT_EQ(p.keyMap.window.caption, "Key map");
    EXPECT_EQ(p.keyMap.Command1.caption, "Ok");

    p.setup.CmdCancel_Click();
    EXPECT_TRUE(dialogs.programEnded);
    EXPECT_EQ(stored("Lang"), "1");
    EXPECT_EQ(stored("Dev"), "");
}

TEST_F(ProgramWindowsTest, AStoredEnglishLabelsEveryWindowBeforeAnyIsShown) {
    settings.write("Setup", "Lang", "1");
    start();
    EXPECT_EQ(program().setup.window.caption, "Device and Language Selection");
    EXPECT_EQ(player().Frm_Style.caption, "Style");
    EXPECT_EQ(program().about.window.caption, "Vornel - About");
    EXPECT_EQ(program().language.LangNo, kLangEnglish);
}

TEST_F(ProgramWindowsTest, AMissingHelpDocumentIsReportedBeforeThePlayerAppears) {
    helpFiles.erase("Help.rtf");
    start();
    program().setup.Combo1_Click(1);
    bool playerShownAtMessage = true;
    dialogs.observe = [this, &playerShownAtMessage](const test::DialogCall& call) {
        if (call.kind == Kind::MessageBox) playerShownAtMessage = player().window.visible;
    };
    program().setup.CmdOk_Click();

    const auto boxes = dialogs.of(Kind::MessageBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "The help file couldn't be found");
    EXPECT_EQ(boxes[0].title, "Vornel");
    EXPECT_EQ(boxes[0].icon, MessageIcon::Exclamation);
    EXPECT_FALSE(playerShownAtMessage);
    EXPECT_TRUE(player().window.visible);

    // The help window still opens, titled after the English Help command.
    program().player.Cmd_Help_Click();
    EXPECT_TRUE(program().help.window.visible);
    EXPECT_EQ(program().help.window.caption, "Vornel - Help");
    EXPECT_EQ(program().help.Command1.caption, "Ok");
}

TEST_F(ProgramWindowsTest, EveryWindowOpenedFromThePlayerBringsItBack) {
    start();
    ProgramWindows& p = program();
    p.setup.CmdOk_Click();

    p.player.Cmd_About_Click();
    EXPECT_TRUE(p.about.window.visible);
    EXPECT_FALSE(player().window.visible);
    p.about.Cmd_Ab_Ok_Click();
    EXPECT_FALSE(p.about.window.visible);
    EXPECT_TRUE(player().window.visible);

    p.player.mnuMap_Click();
    EXPECT_TRUE(p.keyMap.window.visible);
    EXPECT_FALSE(player().window.visible);
    p.keyMap.Command1_Click();
    EXPECT_FALSE(p.keyMap.window.visible);
    EXPECT_TRUE(player().window.visible);

    p.player.Cmd_Open_Click();
    EXPECT_TRUE(p.chooser.window.visible);
    p.chooser.CmdCancel_Click();
    EXPECT_TRUE(player().window.visible);

    p.player.Cmd_Help_Click();
    EXPECT_TRUE(p.help.window.visible);
    EXPECT_EQ(p.help.window.caption, "Vornel - Yardım");
    p.help.Command1_Click();
    EXPECT_FALSE(p.help.window.visible);
    EXPECT_TRUE(player().window.visible);
}

TEST_F(ProgramWindowsTest, SettingsReappliesDeviceAndLanguageAndRelinksTheHelp) {
    start();
    ProgramWindows& p = program();
    p.setup.CmdOk_Click();
    ASSERT_EQ(ports.lastCreated, -1);

    p.player.Cmd_Settings_Click();
    EXPECT_TRUE(p.setup.window.visible);
    EXPECT_FALSE(player().window.visible);
    EXPECT_EQ(p.setup.ComboMidiOut.entries.size(), 3u) << "the list as built at start";

    p.setup.ComboMidiOut_Click(2);
    p.setup.Combo1_Click(1);
    p.setup.CmdOk_Click();
    EXPECT_EQ(ports.lastCreated, 1) << "position 2 is device 1, as the list shows it";
    EXPECT_NE(output.PortIsOpen(), 0);
    EXPECT_EQ(stored("Dev"), "2");
    EXPECT_EQ(lastHelpPath, "/opt/vornel/Help.rtf");
    EXPECT_TRUE(player().window.visible);
    EXPECT_EQ(dialogs.count(Kind::MessageBox), 0u);
}

TEST_F(ProgramWindowsTest, TheRealHelpDocumentsReadInBothLanguages) {
    // The documents the program ships, read by the program's own reader.
    ProgramWindows p({reader, output, dialogs, settings, timer1, timer2, timer3, VORNEL_HELP_DIR,
                      {home.path().string()}});
    p.start();
    p.setup.CmdOk_Click();
    EXPECT_FALSE(p.help.document().paragraphs.empty());
    p.player.Cmd_Settings_Click();
    p.setup.Combo1_Click(1);
    p.setup.CmdOk_Click();
    EXPECT_FALSE(p.help.document().paragraphs.empty());
    EXPECT_EQ(dialogs.count(Kind::MessageBox), 0u);
}

}  // namespace
}  // namespace vornel
