#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "midi/MidiVocabulary.h"
#include "player/PartChoice.h"
#include "style/StyleLoading.h"
#include "support/PlayerFixture.h"
#include "support/StyleLike.h"

namespace vornel {
namespace {

using test::DialogCall;
using test::SmfBuilder;
using test::StyleLayout;
using test::StyleOptions;
using Kind = DialogCall::Kind;

StyleOptions withSections(std::vector<test::StyleSection> sections) {
    StyleOptions o;
    o.sections = std::move(sections);
    return o;
}

// LoadFile through the real reader on a file in a temporary folder, with the
// output component on a recording port.
class LoadFileTest : public ::testing::Test, protected test::PlayerFixture {
protected:
    std::string write(const StyleOptions& o, const std::string& name = "style.sty", StyleLayout* layout = nullptr) {
        return writeFile(test::styleLike(o, layout), name);
    }
    void load(const std::string& path) { LoadFile(state, path); }

    static int partOf(const std::string& name) {
        for (const PartInfo& p : kPartTable)
            if (p.sectionName == name) return p.partNumber;
        return 0;
    }
};

TEST_F(LoadFileTest, ALoadedStyleIsReadyToPlay) {
    StyleOptions o = withSections({{"Intro A", 1}, {"Main A", 2}, {"Main B", 2}, {"Fill In AA", 1}, {"Ending A", 2}});
    o.copyright = "(c) Halvex";
    StyleLayout layout;
    const std::string path = write(o, "Pop Rock.sty", &layout);
    load(path);

    EXPECT_EQ(state.Frm_File.caption, "Dosya - [Pop Rock.sty]");
    EXPECT_EQ(state.Lbl_Name.caption, "Vornel Test");
    EXPECT_EQ(state.Lbl_Copy.caption, "(c) Halvex");
    EXPECT_EQ(state.Lbl_Tempo.caption, "120");
    EXPECT_EQ(state.Lbl_TimeSign.caption, "4 / 4");
    EXPECT_EQ(state.Lbl_Size.caption, std::to_string(std::filesystem::file_size(path) / 1000) + " KB");
    EXPECT_EQ(state.Lbl_DataC.caption, std::to_string(layout.trackEvents));

    EXPECT_EQ(state.engine.CurPart, 2);
    EXPECT_EQ(state.engine.PartName, "Main A");
    EXPECT_EQ(state.Cmd_Part[1].colour, state.ColSelected);
    for (int b = 0; b < kPartCount; ++b) {
        const bool offered = b == 0 || b == 1 || b == 6 || b == 2 || b == 3;
        EXPECT_EQ(state.Cmd_Part[static_cast<std::size_t>(b)].enabled, offered) << b;
    }
    EXPECT_EQ(style.MarkerCount, 5);
    EXPECT_EQ(style.LoadedParts, 5);
    for (std::size_t i = 0; i < layout.sections.size(); ++i) {
        const test::StyleSectionLayout& section = layout.sections[i];
        SCOPED_TRACE(section.name);
        const int p = partOf(section.name);
        EXPECT_EQ(style.PartStart(p), static_cast<std::int32_t>(section.startTick));
        EXPECT_EQ(style.PartEnd(p), static_cast<std::int32_t>(section.endTick));
        // The previous section's note-offs lie on the start tick: they are
        // stored too, one per channel.
        const int leading = i == 0 ? 0 : static_cast<int>(o.channels.size());
        EXPECT_EQ(style.PartEvCount(p), section.noteEvents + leading);
        EXPECT_EQ(style.PartD2(p, 1), i == 0 ? 100 : 0);
    }

    EXPECT_TRUE(state.Cmd_Play.enabled);
    EXPECT_FALSE(state.Cmd_Stop.enabled);
    EXPECT_FALSE(state.Label4.visible || state.Lbl_Loading.visible);
    EXPECT_EQ(state.Lbl_Loading.caption, "yükleniyor ...   % 100");
    for (int i = 0; i < 24; ++i) {
        EXPECT_TRUE(state.Lbl_Chord[static_cast<std::size_t>(i)].enabled) << i;
        EXPECT_EQ(state.Lbl_Chord[static_cast<std::size_t>(i)].colour,
                  i == 0 ? state.ColSelected : state.ownChordColour(i))
            << i;
    }

    // The screen: repainted first, the wait pointer on and off around the
    // extraction, the beep and the keyboard focus last.
    ASSERT_GE(dialogs.calls.size(), 4u);
    EXPECT_EQ(dialogs.calls.front().kind, Kind::RepaintNow);
    const auto cursor = dialogs.of(Kind::WaitCursor);
    ASSERT_EQ(cursor.size(), 2u);
    EXPECT_TRUE(cursor[0].on);
    EXPECT_FALSE(cursor[1].on);
    EXPECT_EQ(dialogs.calls[dialogs.calls.size() - 2].kind, Kind::Beep);
    EXPECT_EQ(dialogs.calls.back().kind, Kind::FocusKeyboardSink);
    EXPECT_EQ(dialogs.count(Kind::MessageBox), 0u);
}

TEST_F(LoadFileTest, PortStreamHoldsTheSetUpOfEachSectionThenFullExpression) {
    StyleOptions o = withSections({{"Main A", 1}, {"Ending A", 1}});
    o.channels = {8, 9};
    const std::string path = write(o);
    clearSent();
    const int opensBefore = ports.log->opens;
    load(path);
    EXPECT_EQ(ports.log->opens, opensBefore + 1);  // closed and opened again
    EXPECT_GE(ports.log->closes, 1);

    // The set-up of the file, as the device receives it once per section.
    std::vector<MidiMessage> setUp{{midi::kSysEx, 0, 0, std::string("\xF0\x7E\x7F\x09\x01\xF7", 6)},
                                   {midi::kSysEx, 0, 0, std::string("\xF0\x43\x10\x4C\x00\x00\x7E\x00\xF7", 9)}};
    for (int ch : o.channels) {
        const int control = midi::statusOf(midi::kControlChange, ch);
        const bool drums = ch == midi::kDrumChannel;
        setUp.push_back({control, midi::cc::kBankSelectMsb, drums ? 127 : 0, {}});
        setUp.push_back({control, midi::cc::kBankSelectLsb, 0, {}});
        setUp.push_back({midi::statusOf(midi::kProgramChange, ch), drums ? 0 : 32 + ch, 0, {}});
        setUp.push_back({control, midi::cc::kVolume, 100, {}});
        setUp.push_back({control, midi::cc::kPan, 64, {}});
    }
    std::vector<MidiMessage> expected = setUp;                    // Main A
    expected.insert(expected.end(), setUp.begin(), setUp.end());  // Ending A
    for (int i = 0; i < 8; ++i)
        expected.push_back({midi::statusOf(midi::kControlChange, 8 + i), midi::cc::kExpression, 127, {}});

    const auto sentNow = sent();
    ASSERT_EQ(sentNow.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const MidiMessage& m = sentNow[i].message;
        if (m.status == midi::kSysEx)
            EXPECT_EQ(m.sysex, expected[i].sysex) << i;
        else
            EXPECT_EQ((std::array{m.status, m.data1, m.data2}),
                      (std::array{expected[i].status, expected[i].data1, expected[i].data2}))
                << i;
    }
}

TEST_F(LoadFileTest, TempoAndTimeSignatureReadAsWritten) {
    struct Case {
        int num, exp;
        std::uint32_t tempo;
        const char* timeSign;
        const char* bpm;
    };
    int n = 0;
    for (const Case& c : {Case{2, 1, 500000, "2 / 2", "120"}, Case{12, 3, 600000, "12 / 8", "100"},
                          Case{6, 3, 700000, "6 / 8", "85"}, Case{3, 2, 1000000, "3 / 4", "60"}}) {
        SCOPED_TRACE(c.timeSign);
        StyleOptions o;
        o.timeSigNum = c.num;
        o.timeSigDenExp = c.exp;
        o.tempo = c.tempo;
        load(write(o, "s" + std::to_string(n++) + ".sty"));
        EXPECT_EQ(state.Lbl_TimeSign.caption, c.timeSign);
        EXPECT_EQ(state.Lbl_Tempo.caption, c.bpm);
        EXPECT_EQ(style.PartEvCount(2), 2 * 2 * c.num * 4);  // every beat of two bars, four channels
    }
}

TEST_F(LoadFileTest, ZeroTempoKeepsTheFieldsItCannotWorkOutAndLoadingGoesOn) {
    load(write({}, "first.sty"));
    const std::string tempo = state.Lbl_Tempo.caption, timeSign = state.Lbl_TimeSign.caption,
                      size = state.Lbl_Size.caption, count = state.Lbl_DataC.caption;

    StyleOptions o = withSections({{"Main B", 3}});
    o.tempo = 0;
    o.timeSigNum = 6;
    o.timeSigDenExp = 3;
    o.name = "Slow";
    load(write(o, "second.sty"));
    EXPECT_EQ(state.Frm_File.caption, "Dosya - [second.sty]");
    EXPECT_EQ(state.Lbl_Name.caption, "Slow");
    EXPECT_EQ(state.Lbl_Tempo.caption, tempo);
    EXPECT_EQ(state.Lbl_TimeSign.caption, timeSign);
    EXPECT_EQ(state.Lbl_Size.caption, size);
    EXPECT_EQ(state.Lbl_DataC.caption, count);
    EXPECT_EQ(state.engine.CurPart, 7);
    EXPECT_GT(style.PartEvCount(7), 0);
    EXPECT_TRUE(state.Cmd_Play.enabled);
}

TEST_F(LoadFileTest, NameAndCopyrightOfAnEarlierFileDoNotStay) {
    StyleOptions o;
    o.copyright = "(c) First";
    load(write(o, "first.sty"));
    ASSERT_EQ(state.Lbl_Copy.caption, "(c) First");

    SmfBuilder file(0, 480);
    file.addTrack()
        .trackName(0, "Old name")
        .marker(0, "Main A")
        .trackName(0, "New name")  // a later one replaces an earlier one
        .noteOn(0, 0, 60, 100)
        .endOfTrack(1920);
    load(writeFile(file, "second.mid"));
    EXPECT_EQ(state.Lbl_Name.caption, "New name");
    EXPECT_EQ(state.Lbl_Copy.caption, "-");
}

TEST_F(LoadFileTest, FileThatCannotBeReadIsRejectedAsHavingNoMain) {
    load(write({}, "good.sty"));
    const std::int32_t mainEvents = style.PartEvCount(2);
    const std::string size = state.Lbl_Size.caption, count = state.Lbl_DataC.caption;
    clearSent();
    dialogs.clear();

    load(files.file("missing.sty").string());
    const auto boxes = dialogs.of(Kind::MessageBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Main A, B, C ve D kısımlarından hiçbiri bulunamadı");
    EXPECT_EQ(boxes[0].title, "Vornel");
    EXPECT_EQ(boxes[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(state.engine.CurPart, -1);
    EXPECT_FALSE(state.Cmd_Play.enabled || state.Cmd_Stop.enabled);
    EXPECT_EQ(state.Frm_File.caption, "Dosya - [missing.sty]");
    for (const Control* c : {&state.Lbl_Copy, &state.Lbl_Name, &state.Lbl_Tempo, &state.Lbl_TimeSign})
        EXPECT_EQ(c->caption, "-");
    EXPECT_EQ(state.Lbl_Size.caption, size);  // a file that is not there has no size
    EXPECT_EQ(state.Lbl_DataC.caption, count);
    EXPECT_EQ(style.PartEvCount(2), mainEvents);  // no extraction, no clearing
    EXPECT_EQ(dialogs.count(Kind::WaitCursor) + dialogs.count(Kind::Beep), 0u);
    EXPECT_TRUE(sent().empty());

    // Bytes that are no MIDI file are read as a file without events.
    const std::filesystem::path junk = files.file("junk.sty");
    std::ofstream(junk, std::ios::binary) << std::string(2500, 'x');
    load(junk.string());
    EXPECT_EQ(dialogs.count(Kind::MessageBox), 2u);
    EXPECT_EQ(state.Lbl_Size.caption, "2 KB");
    EXPECT_EQ(state.Lbl_DataC.caption, "0");
    EXPECT_EQ(state.engine.CurPart, -1);
}

TEST_F(LoadFileTest, FileWithoutMainLeavesItsOtherSectionsAndThePreviousTables) {
    load(write({}, "good.sty"));
    const std::int32_t mainEvents = style.PartEvCount(2);
    state.Cmd_DisCh[2].colour = state.ColOff;
    clearSent();

    load(write(withSections({{"Intro A", 1}, {"Fill In AA", 1}, {"Ending B", 1}}), "nomain.sty"));
    EXPECT_EQ(dialogs.count(Kind::MessageBox), 1u);
    for (int b = 0; b < kPartCount; ++b)
        EXPECT_EQ(state.Cmd_Part[static_cast<std::size_t>(b)].enabled, b == 0 || b == 2 || b == 4) << b;
    for (const Control& label : state.Lbl_Chord) EXPECT_FALSE(label.enabled);
    EXPECT_EQ(state.Cmd_DisCh[2].colour, state.ColOff);
    EXPECT_FALSE(state.Cmd_Play.enabled || state.Cmd_Stop.enabled);
    EXPECT_EQ(style.PartEvCount(2), mainEvents);
    EXPECT_EQ(style.PartEvCount(1), 0);
    EXPECT_TRUE(sent().empty());  // no set-up, no expression
}

TEST_F(LoadFileTest, ChosenChordSurvivesAReloadButNotARejection) {
    const std::string good = write({}, "good.sty");
    load(good);
    // The user picks B minor, as the chord handler leaves it.
    state.Lbl_Chord[0].colour = state.ownChordColour(0);
    state.Lbl_Chord[23].colour = state.ColSelected;
    state.engine.ChordIdx = 23;
    state.engine.Transpose = -1;
    state.engine.IsMinor = 1;

    load(good);
    EXPECT_EQ(state.engine.ChordIdx, 23);
    EXPECT_EQ(state.engine.Transpose, -1);
    EXPECT_EQ(state.engine.IsMinor, 1);
    EXPECT_EQ(state.Lbl_Chord[23].colour, state.ColSelected);
    EXPECT_EQ(state.Lbl_Chord[0].colour, state.ownChordColour(0));

    load(write(withSections({{"Intro A", 1}}), "intro.sty"));
    Cmd_Part_Click(state, 0);  // the intro's button is still there to click
    load(good);
    EXPECT_EQ(state.engine.ChordIdx, 0);
    EXPECT_EQ(state.engine.Transpose, 0);
    EXPECT_EQ(state.engine.IsMinor, 0);
    EXPECT_EQ(state.Lbl_Chord[0].colour, state.ColSelected);
    EXPECT_EQ(state.Lbl_Chord[23].colour, state.ownChordColour(23));
}

TEST_F(LoadFileTest, AllChannelsAreOnAfterEveryLoad) {
    const std::string good = write({}, "good.sty");
    load(good);
    state.Cmd_DisCh[3].colour = state.ColOff;
    state.Cmd_DisCh[5].enabled = false;
    load(good);
    for (const Control& ch : state.Cmd_DisCh) {
        EXPECT_TRUE(ch.enabled);
        EXPECT_EQ(ch.colour, state.ColOn);
    }
}

TEST_F(LoadFileTest, ProgressNamesEachSectionWithItsShareOfTheMarkers) {
    // Four section markers, two of them Main A: three sections load.
    const std::string path = write(withSections({{"Intro A", 1}, {"Main A", 1}, {"Main A", 1}, {"Ending A", 1}}));
    std::vector<std::pair<std::string, std::string>> shown;  // Label4, Lbl_Loading at each repaint while busy
    dialogs.observe = [&](const DialogCall& c) {
        if (c.kind == Kind::RepaintNow && dialogs.waitCursor) {
            EXPECT_TRUE(state.Label4.visible);
            EXPECT_TRUE(state.Lbl_Loading.visible);
            shown.emplace_back(state.Label4.caption, state.Lbl_Loading.caption);
        }
    };
    load(path);
    // Each section repaints before and after its name is shown; its share of
    // the markers is set after that, so it shows at the next section's repaints.
    const std::string loading = "yükleniyor ...   % ";
    const std::vector<std::pair<std::string, std::string>> expected{
        {"--------------", loading + "0"}, {"Intro A", loading + "0"}, {"Intro A", loading + "0"},
        {"Main A", loading + "0"},         {"Main A", loading + "25"}, {"Ending A", loading + "25"},
    };
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(style.MarkerCount, 4);
    EXPECT_EQ(style.LoadedParts, 3);
    EXPECT_EQ(style.PartEnd(2), style.PartStart(4));  // Main A runs on past its second marker
}

TEST_F(LoadFileTest, BarLengthPastSixteenBitsStopsTheRemainingSections) {
    // 4 x 9600 ticks per bar. Main A runs to the end of the file, so its end
    // needs the bar length: it and the fill loaded after it are left empty.
    StyleOptions o = withSections({{"Intro A", 1}, {"Fill In AA", 1}, {"Main A", 1}});
    o.division = 9600;
    StyleLayout layout;
    load(write(o, "long.sty", &layout));
    EXPECT_EQ(style.PartEvCount(1), layout.sections[0].noteEvents);
    EXPECT_EQ(style.PartEvCount(2), 0);
    EXPECT_EQ(style.PartEvCount(3), 0);
    EXPECT_EQ(style.LoadedParts, 2);
    EXPECT_TRUE(state.Cmd_Play.enabled);
    EXPECT_FALSE(dialogs.waitCursor);
    EXPECT_EQ(state.Lbl_Loading.caption, "yükleniyor ...   % 100");
    const auto s = sent();
    ASSERT_GE(s.size(), 8u);
    EXPECT_EQ(s.back().message.status,
              midi::statusOf(midi::kControlChange, 15));  // expression still reaches all channels
}

TEST_F(LoadFileTest, ZeroResolutionOrNumeratorLeavesOnlyTheLastSectionEmpty) {
    struct Case {
        int division, num;
    };
    int n = 0;
    for (const Case& c : {Case{0, 4}, Case{480, 0}}) {
        SCOPED_TRACE(n);
        SmfBuilder file(0, c.division);
        file.addTrack()
            .timeSignature(0, c.num, 2)
            .marker(0, "Main A")
            .noteOn(10, 0, 60, 100)
            .noteOn(80, 0, 60, 0)
            .marker(10, "Ending A")
            .noteOn(10, 0, 62, 100)
            .noteOn(80, 0, 62, 0)
            .endOfTrack(10);
        load(writeFile(file, "zero" + std::to_string(n++) + ".mid"));
        EXPECT_EQ(state.engine.CurPart, 2);
        EXPECT_EQ(style.PartEvCount(2), 2);
        EXPECT_EQ(style.PartStart(4), 100);
        EXPECT_EQ(style.PartEnd(4), -1);
        EXPECT_EQ(style.PartEvCount(4), 0);
        EXPECT_TRUE(state.Cmd_Play.enabled);
    }
}

TEST_F(LoadFileTest, OnlyExactlyNamedMarkersYieldEvents) {
    SmfBuilder file(0, 480);
    file.addTrack()
        .marker(0, "MAIN A")  // recognised in any case, extracted only as written
        .noteOn(0, 0, 60, 100)
        .marker(480, "Main B")
        .noteOn(0, 0, 62, 100)
        .endOfTrack(1920);
    load(writeFile(file, "case.mid"));
    EXPECT_EQ(state.engine.CurPart, 2);
    EXPECT_EQ(style.PartEvCount(2), 0);
    EXPECT_EQ(style.PartStart(2), -1);
    EXPECT_EQ(style.PartEnd(2), -1);
    EXPECT_EQ(style.PartEvCount(7), 1);
}

TEST_F(LoadFileTest, FormatOneStyleLoadsItsMusicTracks) {
    SmfBuilder file(1, 480);
    file.addTrack()
        .trackName(0, "Two Tracks")
        .timeSignature(0, 4, 2)
        .tempo(0, 500000)
        .marker(0, "Main A")
        .endOfTrack(1920);
    file.addTrack().programChange(0, 10, 5).noteOn(0, 10, 40, 100).noteOn(1920, 10, 40, 0).endOfTrack(0);
    load(writeFile(file, "fmt1.mid"));
    EXPECT_EQ(state.Lbl_Name.caption, "Two Tracks");
    EXPECT_EQ(state.Lbl_DataC.caption, "5");  // track 1 only
    EXPECT_EQ(style.PartEvCount(2), 3);       // how tracks merge is pinned in PartExtractionTest
}

}  // namespace
}  // namespace vornel
