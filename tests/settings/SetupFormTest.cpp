#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeOutput.h"
#include "settings/MIDISetupForm.h"
#include "support/RecordingDialogs.h"

namespace vornel {
namespace {

using test::FakeOutput;
using Kind = test::RecordingDialogs::Kind;
using Names = std::vector<std::string>;
constexpr int kOpen = MIDIOutputComponent::OpenPort;

// The setup window on a fake component with two devices (three list
// entries), an empty settings store and two other windows to relabel. Each
// relabelling records the language it was given and the "Lang" stored at
// that moment; the help, player and message box calls are recorded in order.
class SetupFormTest : public ::testing::Test {
protected:
    SetupFormTest() {
        for (int w = 0; w < 2; ++w)
            form.relabellers.push_back([this, w](const TextTable& table, int lang) {
                relabels.push_back(
                    {w, lang, stored("Lang"), table.LangText(lang, kGroupCaptions, 12)});
            });
        form.prepareHelp = [this] { events.push_back("help"); };
        form.showPlayer = [this] { events.push_back("player"); };
        form.relabellers.push_back([this](const TextTable&, int lang) { applied.push_back(lang); });
        dialogs.observe = [this](const test::DialogCall& call) {
            if (call.kind == Kind::MessageBox) events.push_back("message");
        };
    }

    std::string stored(const char* key) const { return settings.read("Setup", key); }

    void expectCaptions(const Names& texts) const {
        EXPECT_EQ((Names{form.window.caption, form.Label1.caption, form.Label2.caption,
                         form.CmdOk.caption, form.CmdCancel.caption}),
                  texts);
    }

    struct Relabel {
        int window;
        int lang;
        std::string storedLang;
        std::string aboutCaption;
    };

    Language language;
    MemorySettingsStore settings;
    FakeOutput output;
    test::RecordingDialogs dialogs;
    MIDISetupForm form{language, settings, output, dialogs};
    std::vector<Relabel> relabels;
    std::vector<int> applied;
    std::vector<std::string> events;
};

const Names kTurkish{"Aygıt ve Dil Seçimi", "Dil", "MIDI Aygıtı", "Tamam", "Çıkış"};
const Names kEnglish{"Device and Language Selection", "Language", "MIDI Device", "Ok", "Exit"};
const Names kThreeDevices{"Built-in Synth", "USB Keyboard", "Virtual Port"};

TEST_F(SetupFormTest, FirstStartSelectsTurkishAndTheBuiltInDeviceAndStoresTheLanguageWhileLoading) {
    form.Form_Load();

    EXPECT_EQ(form.Combo1.entries, (Names{"Türkçe (Turkish)", "English"}));
    EXPECT_EQ(form.Combo1.ListIndex, 0);
    EXPECT_EQ(form.ComboMidiOut.entries, kThreeDevices);
    EXPECT_EQ(form.ComboMidiOut.ListIndex, 0);
    EXPECT_EQ(stored("Lang"), "0");
    EXPECT_EQ(stored("Dev"), "");
    EXPECT_EQ(language.LangNo, kLangTurkish);
    expectCaptions(kTurkish);
    // Loading applies the language when the list is selected and again once
    // the table is filled; the language was stored before the first time.
    ASSERT_EQ(relabels.size(), 4u);
    for (const Relabel& r : relabels) {
        EXPECT_EQ(r.lang, kLangTurkish);
        EXPECT_EQ(r.storedLang, "0");
    }
    EXPECT_EQ(relabels.back().aboutCaption, "Hakkında");
    EXPECT_EQ(applied, (std::vector<int>{0, 0}));
    // Loading opens nothing and shows nothing.
    EXPECT_TRUE(output.commands().empty());
    EXPECT_FALSE(form.window.visible);
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(form.loads, 1);
}

TEST_F(SetupFormTest, OkAtFirstStartOpensTheBuiltInSynthesizerAndOnlySaysWhenThereIsNoAudio) {
    for (bool fails : {false, true}) {
        SCOPED_TRACE(fails ? "the synthesizer fails" : "the synthesizer opens");
        output.failing = fails ? std::set<int>{-1} : std::set<int>{};
        output.open = false;
        output.log.clear();
        events.clear();
        form.Form_Load();
        form.Show();
        form.CmdOk_Click();

        EXPECT_EQ(output.openedDevice(), -1);
        EXPECT_EQ(output.PortIsOpen(), fails ? 0 : 1);
        EXPECT_EQ(dialogs.count(Kind::MessageBox), fails ? 1u : 0u);
        EXPECT_EQ(stored("Lang"), "0");
        EXPECT_EQ(stored("Dev"), "0");
        EXPECT_EQ(form.MidiOutName, "Built-in Synth");
        EXPECT_EQ(form.MidiOutIndex, 0);
        EXPECT_FALSE(form.window.visible);
        EXPECT_EQ(events, fails ? (Names{"message", "help", "player"}) : (Names{"help", "player"}));
    }
}

// Silence must not pass for sound: the box comes once, the player hears of
// every OK.
TEST_F(SetupFormTest, NoAudioOutputIsToldOnceAndEveryOkReportsTheDevice) {
    struct Applied {
        int position;
        std::string name;
        bool open;
    };
    std::vector<Applied> reports;
    form.deviceApplied = [&](int position, const std::string& name, bool open) {
        reports.push_back({position, name, open});
    };
    output.failing = {-1};
    form.Form_Load();
    for (int ok = 0; ok < 2; ++ok) {
        form.Show();
        form.CmdOk_Click();
    }
    ASSERT_EQ(dialogs.count(Kind::MessageBox), 1u);
    const test::DialogCall box = dialogs.of(Kind::MessageBox).at(0);
    EXPECT_EQ(box.text,
              "Ses çıkışı bulunamadı: yerleşik sentezleyici çalamıyor.\nAyarlar'dan başka bir MIDI "
              "aygıtı seçin.");
    EXPECT_EQ(box.icon, MessageIcon::Exclamation);
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[1].position, 0);
    EXPECT_EQ(reports[1].name, "Built-in Synth");
    EXPECT_FALSE(reports[1].open);

    form.Show();
    form.ComboMidiOut_Click(2);
    form.CmdOk_Click();
    EXPECT_EQ(reports.back().name, "Virtual Port");
    EXPECT_TRUE(reports.back().open);
}

// From the player's Settings, the frame's close button means Cancel: the
// player comes back, the device chosen before stays, nothing ends.
TEST_F(SetupFormTest, ClosingTheFrameAfterAnOkGoesBackToThePlayer) {
    form.Form_Load();
    form.CmdOk_Click();
    output.log.clear();
    events.clear();
    form.Show();
    form.ComboMidiOut_Click(2);
    form.Form_QueryUnload();
    EXPECT_FALSE(dialogs.programEnded);
    EXPECT_FALSE(form.window.visible);
    EXPECT_EQ(events, (Names{"player"}));
    EXPECT_EQ(form.ComboMidiOut.ListIndex, 0);
    EXPECT_TRUE(output.log.empty());
    EXPECT_EQ(stored("Dev"), "0");
}

TEST_F(SetupFormTest, WithoutDevicesTheListHoldsOnlyTheBuiltInEntry) {
    for (int count : {0, -3}) {
        SCOPED_TRACE(count);
        output.count = count;
        form.Form_Load();
        EXPECT_EQ(form.ComboMidiOut.entries, (Names{"Built-in Synth"}));
        EXPECT_EQ(form.ComboMidiOut.ListIndex, 0);
    }
    form.CmdOk_Click();
    EXPECT_EQ(output.openedDevice(), -1);
    EXPECT_EQ(stored("Dev"), "0");
}

// (Closing the frame takes the same path; the window's test covers it.)
TEST_F(SetupFormTest, ExitAtFirstStartEndsTheProgramStoringNothingMore) {
    form.Form_Load();
    form.Show();
    output.log.clear();
    form.CmdCancel_Click();

    EXPECT_TRUE(dialogs.programEnded);
    EXPECT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(stored("Lang"), "0");
    EXPECT_EQ(stored("Dev"), "");
    EXPECT_TRUE(output.log.empty());
    EXPECT_TRUE(events.empty());
}

// Opened from the player, Exit reads as "close this window": it asks first,
// and No leaves everything as it was.
TEST_F(SetupFormTest, ExitFromSettingsAsksBeforeEndingTheProgram) {
    form.Form_Load();
    form.CmdOk_Click();
    form.Show();
    dialogs.answers = {false, true};
    form.CmdCancel_Click();
    EXPECT_FALSE(dialogs.programEnded);
    EXPECT_TRUE(form.window.visible);
    form.CmdCancel_Click();
    EXPECT_TRUE(dialogs.programEnded);
    EXPECT_EQ(dialogs.of(Kind::AskYesNo).size(), 2u);
}

TEST_F(SetupFormTest, OkFromSettingsClosesTheOpenPortAndWarnsOnlyWhenReopeningFails) {
    form.Form_Load();
    form.ComboMidiOut_Click(2);
    form.CmdOk_Click();
    ASSERT_EQ(output.openedDevice(), 1);
    ASSERT_EQ(output.PortIsOpen(), 1);
    EXPECT_EQ(stored("Dev"), "2");
    EXPECT_EQ(form.MidiOutName, "Virtual Port");

    // Settings shows the window again; the user picks the first device.
    for (bool fails : {false, true}) {
        SCOPED_TRACE(fails ? "reopening fails" : "reopening works");
        output.open = true;
        output.failing = fails ? std::set<int>{0} : std::set<int>{};
        output.log.clear();
        events.clear();
        form.Show();
        form.ComboMidiOut_Click(1);
        form.CmdOk_Click();

        const std::vector<int> closeThenOpen{MIDIOutputComponent::ClosePort, kOpen};
        EXPECT_EQ(output.commands(), closeThenOpen);
        EXPECT_EQ(output.openedDevice(), 0);
        EXPECT_EQ(stored("Dev"), "1");
        // The warning comes first; the program goes on to the player window.
        EXPECT_EQ(events, fails ? (Names{"message", "help", "player"}) : (Names{"help", "player"}));
        EXPECT_FALSE(form.window.visible);
    }
    const test::DialogCall warning = dialogs.of(Kind::MessageBox).at(0);
    EXPECT_EQ(warning.text, "Cannot open MIDI Output port");
    EXPECT_EQ(warning.title, "Open MIDI Output port");
    EXPECT_EQ(warning.icon, MessageIcon::Exclamation);
}

TEST_F(SetupFormTest, StoredDeviceWinsOverTheNameOfTheDeviceLastApplied) {
    form.Form_Load();
    form.ComboMidiOut_Click(2);
    form.CmdOk_Click();
    ASSERT_EQ(form.MidiOutName, "Virtual Port");

    // A new load preselects "Virtual Port" by its name; the store says 1.
    settings.write("Setup", "Dev", "1");
    form.Form_Load();
    EXPECT_EQ(form.MidiOutIndex, 2);
    EXPECT_EQ(form.ComboMidiOut.ListIndex, 1);
    form.CmdOk_Click();
    EXPECT_EQ(output.openedDevice(), 0);
    EXPECT_EQ(form.MidiOutName, "USB Keyboard");
}

TEST_F(SetupFormTest, StoredValuesThatDoNotFitFallBackToTheFirstUseState) {
    for (const char* lang : {"x", "-1", "2", " 1", "1 ", "+1", "1x", "99999999999"}) {
        SCOPED_TRACE(lang);
        settings.write("Setup", "Lang", lang);
        form.Form_Load();
        EXPECT_EQ(form.Combo1.ListIndex, 0);
        EXPECT_EQ(stored("Lang"), "0");
        EXPECT_EQ(language.LangNo, kLangTurkish);
        expectCaptions(kTurkish);
    }
    // A device that does not fit counts as none stored: the first entry, not
    // the one named like the device the last OK applied.
    form.ComboMidiOut_Click(2);
    form.CmdOk_Click();
    ASSERT_EQ(form.MidiOutName, "Virtual Port");
    for (const char* dev : {"abc", "3", "-1", "+2", "2.0", "70000"}) {
        SCOPED_TRACE(dev);
        settings.write("Setup", "Dev", dev);
        form.Form_Load();
        EXPECT_EQ(form.ComboMidiOut.ListIndex, 0);
    }
    // Values that fit are taken as they are.
    settings.write("Setup", "Lang", "1");
    settings.write("Setup", "Dev", "02");
    form.Form_Load();
    EXPECT_EQ(form.Combo1.ListIndex, 1);
    EXPECT_EQ(form.ComboMidiOut.ListIndex, 2);
    expectCaptions(kEnglish);
}

TEST_F(SetupFormTest, ReopeningKeepsTheListsAsBuiltUntilTheNextLoad) {
    form.Form_Load();
    form.Combo1_Click(1);
    form.ComboMidiOut_Click(2);
    form.CmdOk_Click();

    output.names.push_back("Plugged In Later");
    output.count = 3;
    form.Show();
    EXPECT_EQ(form.ComboMidiOut.entries, kThreeDevices);
    EXPECT_EQ(form.ComboMidiOut.ListIndex, 2);
    EXPECT_EQ(form.Combo1.ListIndex, 1);
    expectCaptions(kEnglish);
    EXPECT_EQ(form.loads, 1);

    form.Form_Load();
    EXPECT_EQ(form.ComboMidiOut.entries.size(), 4u);
    EXPECT_EQ(form.ComboMidiOut.entries.back(), "Plugged In Later");
}

TEST_F(SetupFormTest, ChoosingEnglishRelabelsEveryWindowAtOnceAndStoresItBeforeOk) {
    form.Form_Load();
    relabels.clear();
    applied.clear();

    form.Combo1_Click(1);
    expectCaptions(kEnglish);
    EXPECT_EQ(stored("Lang"), "1");
    EXPECT_EQ(language.LangNo, kLangEnglish);
    ASSERT_EQ(relabels.size(), 2u);
    EXPECT_EQ(relabels[0].window, 0);
    EXPECT_EQ(relabels[1].window, 1);
    for (const Relabel& r : relabels) {
        EXPECT_EQ(r.lang, kLangEnglish);
        EXPECT_EQ(r.aboutCaption, "About");
    }
    EXPECT_EQ(applied, (std::vector<int>{1}));

    // Scrolling the list applies the language the same way.
    form.Combo1_Scroll(0);
    expectCaptions(kTurkish);
    EXPECT_EQ(stored("Lang"), "0");
    EXPECT_EQ(relabels.back().lang, kLangTurkish);
    form.Combo1_Scroll(1);
    expectCaptions(kEnglish);

    // Exit afterwards keeps the stored choice.
    form.CmdCancel_Click();
    EXPECT_TRUE(dialogs.programEnded);
    EXPECT_EQ(stored("Lang"), "1");
    EXPECT_EQ(stored("Dev"), "");
}

TEST_F(SetupFormTest, PositionsOutsideTheListsChangeNothing) {
    form.Form_Load();
    relabels.clear();
    for (int position : {-1, 2, 1000}) {
        form.Combo1_Click(position);
        form.Combo1_Scroll(position);
    }
    for (int position : {-1, 3}) form.ComboMidiOut_Click(position);
    EXPECT_TRUE(relabels.empty());
    EXPECT_EQ(stored("Lang"), "0");
    EXPECT_EQ(form.Combo1.ListIndex, 0);
    EXPECT_EQ(form.ComboMidiOut.ListIndex, 0);
}

TEST_F(SetupFormTest, SetTheLangReadsTheStoredLanguageAndFallsBackToLangNo) {
    form.SetTheLangsQuery();
    language.LangNo = kLangEnglish;
    form.SetTheLang();
    expectCaptions(kEnglish);
    ASSERT_FALSE(relabels.empty());
    EXPECT_EQ(relabels.back().lang, kLangEnglish);

    // The stored value wins over LangNo; one that is neither language is Turkish.
    for (const char* lang : {"0", "2", "7", "abc"}) {
        SCOPED_TRACE(lang);
        settings.write("Setup", "Lang", lang);
        form.SetTheLang();
        expectCaptions(kTurkish);
        EXPECT_EQ(relabels.back().lang, kLangTurkish);
        EXPECT_EQ(applied.back(), kLangTurkish);
    }
    // LangNo itself is left alone.
    EXPECT_EQ(language.LangNo, kLangEnglish);
}

TEST_F(SetupFormTest, OkBeforeTheWindowLoadedStoresAndOpensNothing) {
    output.open = true;
    form.CmdOk_Click();
    EXPECT_EQ(stored("Lang"), "");
    EXPECT_EQ(stored("Dev"), "");
    EXPECT_EQ(output.commands(), (std::vector<int>{MIDIOutputComponent::ClosePort}));
    EXPECT_EQ(form.MidiOutIndex, -1);
    EXPECT_EQ(events, (Names{"help", "player"}));
}

}  // namespace
}  // namespace vornel
