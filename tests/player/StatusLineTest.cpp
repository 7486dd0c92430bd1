// What the player window tells a new user on its own: the status line (no
// sound, a file that is no style or is cut short) and the tempo readout.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>

#include "player/PlayerTestFixture.h"
#include "player/StatusLine.h"
#include "player/TempoReadout.h"
#include "support/StyleLike.h"

namespace vornel {
namespace {

class StatusLineTest : public test::PlayerTest {
protected:
    // A style of three sections cut short a little after the marker of the
    // second, as a broken download leaves it.
    std::string cutStyle() {
        test::StyleOptions options;
        options.sections = {{"Main A", 2}, {"Main B", 2}, {"Ending A", 2}};
        options.foreignChunks = false;
        test::SmfBuilder file = test::styleLike(options);
        const test::Bytes bytes = file.build();
        const std::string marker = "Main B";
        const auto at = std::search(bytes.begin(), bytes.end(), marker.begin(), marker.end());
        file.truncateTo(static_cast<std::size_t>(at - bytes.begin()) + marker.size() + 40);
        return writeFile(file, "cut.sty");
    }
};

TEST_F(StatusLineTest, AFailedBuiltInSynthesizerSaysNoSoundAndWhatToDoInBothLanguages) {
    player.deviceApplied({DeviceReport::State::Failed, true, "FluidSynth"});
    EXPECT_EQ(st.StatusLine.caption,
              "Ses yok: ses çıkışı bulunamadı. Ayarlar'dan başka bir aygıt seçin.");
    EXPECT_EQ(st.StatusLine.colour, (Rgb{176, 0, 0}));
    player.relabel(language.table, kLangEnglish);
    EXPECT_EQ(st.StatusLine.caption,
              "No sound: no audio output found. Choose another device in Settings.");

    player.deviceApplied({DeviceReport::State::Open, false, "USB Keyboard"});
    EXPECT_EQ(st.StatusLine.caption, "Aygıt: USB Keyboard");
    EXPECT_EQ(st.StatusLine.colour, (Rgb{0, 0, 0}));
}

TEST_F(StatusLineTest, AFileThatIsNoMidiFileIsNamedAsSuch) {
    const std::string path = files.file("notes.sty").string();
    std::ofstream(path) << "These are my notes, not a style.\n";
    player.deviceApplied({DeviceReport::State::Open, true, "FluidSynth"});
    player.LoadFile(path);
    EXPECT_EQ(st.StatusLine.caption,
              "notes.sty: MIDI dosyası değil  ·  Aygıt: Yerleşik sentezleyici");
    EXPECT_FALSE(st.Cmd_Play.enabled);
}

TEST_F(StatusLineTest, ACutStyleNamesTheLastSectionReadAndAWholeOneClearsIt) {
    player.LoadFile(cutStyle());
    EXPECT_TRUE(st.Cmd_Play.enabled) << "what was read still plays";
    EXPECT_EQ(st.load.problem, LoadReport::Problem::Damaged);
    EXPECT_EQ(st.StatusLine.caption,
              "cut.sty: dosya bozuk: Main B kısmından sonraki kısımlar okunamadı");

    // Stray bytes after the track are no damage: nothing reads them.
    test::SmfBuilder whole = test::styleLike({});
    whole.appendRaw(test::Bytes(12, 0xAB));
    player.LoadFile(writeFile(whole, "whole.sty"));
    EXPECT_EQ(st.load.problem, LoadReport::Problem::None);
    EXPECT_EQ(st.StatusLine.caption, "");
}

// A port that was open before a load and does not reopen is no sound either.
TEST_F(StatusLineTest, APortLostWhileLoadingIsReported) {
    player.deviceApplied({DeviceReport::State::Open, false, "USB Keyboard"});
    ports.failing[0] = true;  // unplugged since it was opened
    output.PortNumber(0);
    player.LoadFile(writeFile(test::styleLike({}), "style.sty"));
    EXPECT_EQ(st.StatusLine.caption.rfind("Ses yok: USB Keyboard açılamadı", 0), 0u)
        << st.StatusLine.caption;
}

TEST(TempoReadout, ShowsTheBeatsPerMinuteThatPlay) {
    EXPECT_EQ(tempoReadout(500000, 0, kLangEnglish), "120.0 bpm");
    EXPECT_EQ(tempoReadout(500000, 3, kLangEnglish), "122.5 bpm");  // 120 x 2^0.03
    EXPECT_EQ(tempoReadout(500000, -100, kLangTurkish), "60,0 bpm");
    EXPECT_EQ(tempoReadout(0, 3, kLangEnglish), "+3");
}

TEST_F(StatusLineTest, TheTempoReadoutFollowsTheScrollBarAndTheLoadedStyle) {
    test::StyleOptions options;
    options.tempo = 600000;  // 100 bpm
    player.LoadFile(writeFile(test::styleLike(options), "slow.sty"));
    EXPECT_EQ(st.TempoReadout.caption, "100,0 bpm");
    player.HScroll1_Scroll(100);
    EXPECT_EQ(st.TempoReadout.caption, "200,0 bpm");
    EXPECT_EQ(st.TempoReadout.toolTip, "Tempo Modify +100");
}

}  // namespace
}  // namespace vornel
