#include "components/ComponentLoading.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <cstdint>
#include <fstream>
#include <string>

#include "components/ComponentLocation.h"
#include "components/ComponentTestSupport.h"
#include "platform/Dispatcher.h"
#include "platform/SettingsStore.h"
#include "platform/Timer.h"
#include "player/Player.h"
#include "settings/Language.h"
#include "style/StyleData.h"
#include "support/RecordingDialogs.h"
#include "support/StyleLike.h"
#include "support/TempDir.h"

namespace vornel {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using test::builtModule;

// A distribution folder of the program's own, into which each test puts the
// modules it wants found beside the program.
class LoadComponentsTest : public ::testing::Test {
protected:
    void besideProgram(const char* name) {
        fs::copy_file(builtModule(name), programFolder.file(std::string(name) + kDistributedExtension));
    }
    ComponentLoad load() { return loadComponents(settings, programFolder.path().string(), ui); }

    QueueDispatcher ui;  // before any component, which may post to it
    MemorySettingsStore settings;
    test::TempDir programFolder;
};

TEST_F(LoadComponentsTest, LoadsBothComponentsFromBesideTheProgramOrWhereTheyAreRecorded) {
    besideProgram(kMidiFileComponent);
    besideProgram(kMidiOutputComponent);
    ComponentLoad loaded = load();
    ASSERT_TRUE(loaded.components.has_value()) << loaded.failedComponent << ": " << loaded.detail;
    EXPECT_EQ(loaded.failedComponent, "");
    // Both are working components, not empty shells.
    loaded.components->reader->FileName("/yok/stil.sty");
    EXPECT_EQ(loaded.components->reader->FileName(), "/yok/stil.sty");
    loaded.components->output->DataByte1(99);
    EXPECT_EQ(loaded.components->output->DataByte1(), 99);

    fs::remove(programFolder.file("Midifl32.hcm"));
    fs::remove(programFolder.file("Midiio32.hcm"));
    settings.write(kComponentsSection, kMidiFileComponent, builtModule(kMidiFileComponent));
    settings.write(kComponentsSection, kMidiOutputComponent, builtModule(kMidiOutputComponent));
    loaded = load();
    EXPECT_TRUE(loaded.components.has_value()) << loaded.failedComponent << ": " << loaded.detail;
}

// The reader is looked for first; the first component that fails is named.
TEST_F(LoadComponentsTest, NamesTheComponentThatIsMissingOrUnusable) {
    auto expectFailure = [this](const char* name, const std::string& why) {
        const ComponentLoad loaded = load();
        EXPECT_FALSE(loaded.components.has_value());
        EXPECT_EQ(loaded.failedComponent, name);
        EXPECT_THAT(loaded.detail, HasSubstr(why));
    };
    expectFailure("Midifl32", "Midifl32.hcm is neither installed nor in the program's folder \"" +
                                  programFolder.path().string());
    besideProgram(kMidiFileComponent);
    expectFailure("Midiio32", "Midiio32.hcm is neither installed");
    std::ofstream(programFolder.file("Midiio32.hcm")) << "not a module";
    expectFailure("Midiio32", "could not be loaded");
    // A module is never unloaded, so a file once loaded is not looked at
    // again under the same path: each case below has a path of its own.
    settings.write(kComponentsSection, kMidiOutputComponent, builtModule(kMidiFileComponent));
    expectFailure("Midiio32", "is not the component Midiio32");
    settings.write(kComponentsSection, kMidiFileComponent, VORNEL_TEST_MODULE_NO_OBJECT);
    expectFailure("Midifl32", "could not be created");
}

TEST(MissingComponentTextTest, NamesTheComponentAndSendsTheUserToTheInstaller) {
    EXPECT_EQ(missingComponentText("Midiio32", "\"/opt/x.so\" was not found.", 1),
              "Vornel could not load its component Midiio32.\n\"/opt/x.so\" was not found.\n\n"
              "Please run Quendel, the installer, from Vornel's folder.");
    const std::string turkish = missingComponentText("Midifl32", "ayrıntı", 0);
    EXPECT_EQ(turkish,
              "Vornel, Midifl32 bileşenini yükleyemedi.\nayrıntı\n\n"
              "Lütfen kurulum programı Quendel'i Vornel'in klasöründen çalıştırın.");
    // Any other language reads Turkish; without a detail no line is left for it.
    EXPECT_EQ(missingComponentText("Midifl32", "ayrıntı", 2), turkish);
    EXPECT_EQ(missingComponentText("Midifl32", "", 1),
              "Vornel could not load its component Midifl32.\n\nPlease run Quendel, the installer, from Vornel's folder.");
}

// The player model neither knows nor cares where its components live: a style
// loads and plays through the modules as it does in-process, the engine
// answering each cue the module reports by queuing the next bar.
TEST_F(LoadComponentsTest, ThePlayerLoadsAndPlaysAStyleThroughTheModules) {
    besideProgram(kMidiFileComponent);
    besideProgram(kMidiOutputComponent);
    ComponentLoad loaded = load();
    ASSERT_TRUE(loaded.components.has_value()) << loaded.detail;
    MidifileComponent& reader = *loaded.components->reader;
    MIDIOutputComponent& output = *loaded.components->output;
    // No device: the music goes nowhere, its cues come back all the same.
    output.PortNumber(1000);

    StyleData style;
    Language language;
    language.table.SetTheLangsQuery();
    language.LangNo = kLangEnglish;
    test::RecordingDialogs dialogs;
    ManualTimer timer1{250}, timer2{55, true}, timer3{250};
    Player player(reader, output, style, language, dialogs, timer1, timer2, timer3);
    player.Form_Load();

    test::StyleOptions options;
    options.tempo = 50000;  // a bar of 4/4 in 200 ms
    options.sections = {{"Main A", 2}};
    test::TempDir files;
    test::StyleLayout layout;
    const std::string path = test::styleLike(options, &layout).writeTo(files.file("stil.sty")).string();
    player.LoadFile(path);
    PlayerState& s = player.state();
    ASSERT_TRUE(s.Cmd_Play.enabled);
    EXPECT_EQ(s.engine.PartName, "Main A");
    EXPECT_EQ(s.Lbl_Name.caption, "Vornel Test");
    EXPECT_EQ(s.Lbl_Tempo.caption, "1200");

    player.Cmd_Play_Click();
    EXPECT_EQ(s.engine.Playing, 1);
    // Main A has two bars; a third one queued means it looped.
    const auto twoBars = static_cast<std::int32_t>(2 * layout.barTicks);
    ASSERT_TRUE(test::drainUntil(ui, [&] { return s.engine.QueuedTicks > twoBars; }))
        << "queued " << s.engine.QueuedTicks;
    player.Cmd_Stop_Click();
    EXPECT_EQ(s.engine.Playing, 0);
}

}  // namespace
}  // namespace vornel
