// A MIDI keyboard as a user sets it up: chosen in the setup window's input
// list, opened by its OK, kept for the next start, and the chord its left
// hand plays named in the player window's chords frame.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "app/ProgramWindows.h"
#include "midi/file/Midifile.h"
#include "midi/output/MIDIOutput.h"
#include "platform/Clock.h"
#include "platform/Timer.h"
#include "platform/qt/QtDispatcher.h"
#include "player/LiveInput.h"
#include "player/qt/PlayerWindow.h"
#include "settings/qt/SetupWindow.h"
#include "support/FakeMidiInputs.h"
#include "support/RecordingDialogs.h"
#include "support/RecordingPort.h"
#include "support/TempDir.h"

namespace vornel {
namespace {

QStringList itemsOf(const QComboBox* combo) {
    QStringList out;
    for (int i = 0; i < combo->count(); ++i) out << combo->itemText(i);
    return out;
}

// The program's windows on screen as main() puts them together, over fake
// input devices; one run of the program per instance.
struct ProgramRun {
    ProgramRun(SettingsStore& settings, test::FakeMidiInputs& inputs, test::RecordingDialogs& dialogs,
        const std::string& home)
        : program({reader, output, dialogs, settings, timer1, timer2, timer3, "/opt/vornel", {home},
                   [](const std::string&) { return RtfResult{RtfStatus::Ok, {}}; }}) {
        program.player.attachLive(live, settings, clock);
        program.attachInputs(inputs);
        ui.runHandler([this] { program.start(); });
    }

    // Picks `position` in the setup window's input list and presses OK.
    void chooseInput(int position) {
        emit setupWindow.inputList()->activated(position);
        QTest::mouseClick(setupWindow.okButton(), Qt::LeftButton);
    }

    QtDispatcher ui;
    ManualClock clock;
    test::RecordingPortProvider ports{clock};
    MIDIOutput output{ports, ui, clock, MIDIOutput::Drive::Manual};
    Midifile reader;
    ManualTimer timer1{250}, timer2{55, true}, timer3{250};
    ProgramWindows program;
    LiveInput live{output, ui};  // gone before the player, as in main()
    PlayerWindow playerWindow{program.player, ui};
    SetupWindow setupWindow{program.setup, ui};
};

class KeyboardSetupTest : public ::testing::Test {
protected:
    std::unique_ptr<ProgramRun> start() {
        return std::make_unique<ProgramRun>(settings, inputs, dialogs, home.path().string());
    }
    std::string stored(const char* key) const { return settings.read("Setup", key); }

    MemorySettingsStore settings;
    test::FakeMidiInputs inputs{{"Keys A", "Keys B"}};
    test::RecordingDialogs dialogs;
    test::TempDir home;
};

TEST_F(KeyboardSetupTest, ChosenInputIsOpenedKeptAndFoundAgainWhereverItMoved) {
    {
        auto run = start();
        EXPECT_EQ(run->setupWindow.inputLabel()->text(), QString("MIDI Giriş Aygıtı"));
        EXPECT_EQ(itemsOf(run->setupWindow.inputList()), (QStringList{"yok", "Keys A", "Keys B"}));
        EXPECT_EQ(run->setupWindow.inputList()->currentIndex(), 0);

        run->chooseInput(2);
        EXPECT_TRUE(inputs.devices[1]->open);
        EXPECT_FALSE(inputs.devices[0]->open);
        EXPECT_EQ(stored("InDev"), "1");
        EXPECT_EQ(stored("InDevName"), "Keys B");
        EXPECT_TRUE(run->playerWindow.isVisible());
    }
    EXPECT_FALSE(inputs.devices[1]->open) << "closed when the program ends";

    // The next start: the keyboard now comes first in the system's list. It
    // is preselected under its name, and opened again by OK.
    std::swap(inputs.devices[0], inputs.devices[1]);
    auto run = start();
    EXPECT_EQ(itemsOf(run->setupWindow.inputList()), (QStringList{"yok", "Keys B", "Keys A"}));
    EXPECT_EQ(run->setupWindow.inputList()->currentIndex(), 1);
    EXPECT_FALSE(inputs.devices[0]->open) << "nothing opens before OK";
    QTest::mouseClick(run->setupWindow.okButton(), Qt::LeftButton);
    EXPECT_TRUE(inputs.devices[0]->open);
    EXPECT_EQ(stored("InDev"), "0");
    EXPECT_EQ(dialogs.count(test::DialogCall::Kind::MessageBox), 0u);
}

TEST_F(KeyboardSetupTest, InputThatWillNotOpenIsToldAndTheProgramGoesOnWithout) {
    inputs.devices[0]->opens = false;
    auto run = start();
    run->chooseInput(1);
    const auto messages = dialogs.of(test::DialogCall::Kind::MessageBox);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "MIDI giriş aygıtı açılamadı: Keys A");
    EXPECT_TRUE(run->playerWindow.isVisible());
    EXPECT_EQ(stored("InDev"), "-1");

    // Settings shows the list as it is: no keyboard.
    run->ui.runHandler([&] { run->program.player.Cmd_Settings_Click(); });
    EXPECT_EQ(run->setupWindow.inputList()->currentIndex(), 0);
}

TEST_F(KeyboardSetupTest, LanguageRelabelsTheInputListAndTheBar) {
    auto run = start();
    emit run->setupWindow.languageList()->activated(kLangEnglish);
    EXPECT_EQ(run->setupWindow.inputLabel()->text(), QString("MIDI Input Device"));
    EXPECT_EQ(run->setupWindow.inputList()->itemText(0), QString("none"));
    EXPECT_EQ(run->program.player.state().Cmd_Sync.caption, "Sync Start");
    EXPECT_EQ(run->program.player.state().Cmd_ChordMode.caption, "Fingered");
}

TEST_F(KeyboardSetupTest, ChordsFrameNamesTheChordTheLeftHandPlays) {
    auto run = start();
    // As after loading a style, so that the keys below the split are the left hand's.
    run->ui.runHandler([&] { run->program.player.state().Cmd_Play.enabled = true; });
    run->chooseInput(1);
    inputs.play(0, {0x90, 45, 80, 48, 80, 52, 80, 43, 80});                         // A C E G
    QApplication::processEvents();
    EXPECT_EQ(run->playerWindow.chordsFrame().liveChord()->text(), QString("Am7"));
    EXPECT_EQ(run->program.player.state().engine.ChordIdx, 21);
}

}  // namespace
}  // namespace vornel
