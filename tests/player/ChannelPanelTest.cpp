#include <gtest/gtest.h>

#include <cmath>

#include "midi/MasterVolume.h"
#include "midi/MidiVocabulary.h"
#include "platform/SettingsStore.h"
#include "player/LevelMeters.h"
#include "player/LiveInput.h"
#include "player/PlayerTestFixture.h"
#include "support/StyleLike.h"

namespace vornel {
namespace {

using test::Triple;

class ChannelPanelTest : public test::PlayerTest {
protected:
    ChannelPanelTest() {
        loadMainA();
        for (int i = 0; i < 16; ++i) timer2.tick();  // the start-up fall
        dialogs.clear();
    }
    float meter(int channel) const { return st.ProgressBar2[static_cast<std::size_t>(channel)]; }
};

TEST_F(ChannelPanelTest, EverySwitchSendsExpressionOnItsChannelAndShowsItsState) {
    for (int i = 0; i < 8; ++i) {
        clearSent();
        dialogs.clear();
        player.Cmd_DisCh_Click(i);
        EXPECT_EQ(test::triples(sent()),
                  (std::vector<Triple>{{midi::statusOf(midi::kControlChange, 8 + i), midi::cc::kExpression, 0}}));
        EXPECT_EQ(st.Cmd_DisCh[static_cast<std::size_t>(i)].colour, st.ColOff);
        EXPECT_TRUE(lastCallWasFocus());
    }
    clearSent();
    player.Cmd_DisCh_Click(2);  // the bass on again
    player.Cmd_DisCh_Click(8);
    player.Cmd_DisCh_Click(-1);
    EXPECT_EQ(test::triples(sent()),
              (std::vector<Triple>{{midi::statusOf(midi::kControlChange, 10), midi::cc::kExpression, 127}}))
        << "no switch outside the panel";
    EXPECT_EQ(st.Cmd_DisCh[2].colour, st.ColOn);
}

TEST_F(ChannelPanelTest, SwitchedOffChannelKeepsSoundingButItsMeterStaysStill) {
    loadMainA({}, {{midi::statusOf(midi::kNoteOn, 11), 60, 100, 0}, {midi::statusOf(midi::kNoteOn, 12), 60, 100, 0}});
    player.Cmd_DisCh_Click(3);  // channel 12 off
    player.Cmd_Play_Click();
    runTo(5);
    EXPECT_EQ(meter(12), 0.0f);
    EXPECT_NEAR(meter(13), 100 * 1980.0 / 127, 0.05);
    EXPECT_EQ(test::soundingNotes(sent()).count({12, 60}), 1u) << "muting rests only on Expression";
}

TEST_F(ChannelPanelTest, MetersOffStopsTheRiseAndTheTimerOnceAllBarsAreShort) {
    player.ShowVUMeter(9, 127);
    player.ShowVUMeter(3, 127);  // no meter: nothing happens
    player.Command1_Click();
    EXPECT_EQ(st.MetersOff, -1);
    EXPECT_EQ(st.Command1.colour, st.ColOff);
    EXPECT_TRUE(lastCallWasFocus());
    EXPECT_TRUE(timer2.running()) << "the bars fall first";

    loadMainA({}, {{midi::statusOf(midi::kNoteOn, 11), 60, 127, 0}});
    player.Cmd_Play_Click();
    runTo(5);
    EXPECT_EQ(meter(12), 0.0f) << "no bar rises with meters off";

    for (int i = 0; i < 15; ++i) timer2.tick();
    EXPECT_GT(meter(9), 30.0f);
    EXPECT_TRUE(timer2.running());
    timer2.tick();
    EXPECT_FALSE(timer2.running());

    player.Command1_Click();
    EXPECT_EQ(st.MetersOff, 0);
    EXPECT_EQ(st.Command1.colour, st.ColOn);
    EXPECT_TRUE(timer2.running());
}

// The tempo reaches the output component at once: the queue clock runs at
// 2^(shift/100) of real time from the moment of the change.
class TempoTest : public ChannelPanelTest {
protected:
    TempoTest() { output.PortCommand(MIDIOutput::StartQueue); }
    double rateOverNext100Ms() {
        const double before = output.queueTimeMs();
        clock.advance(100);
        return (output.queueTimeMs() - before) / 100.0;
    }
};

TEST_F(TempoTest, ScrollBarValuesGoToTheTempoHeldInItsRangeAndKeepTheFocus) {
    for (int v : {1, 7, 20, -100, 100}) {
        player.HScroll1_Scroll(v);
        EXPECT_EQ(st.engine.TempoShift, v);
        EXPECT_NEAR(rateOverNext100Ms(), std::exp2(v / 100.0), 1e-9) << v;
    }
    player.HScroll1_Change(250);
    EXPECT_EQ(st.engine.TempoShift, 100);
    EXPECT_NEAR(rateOverNext100Ms(), 2.0, 1e-9);
    player.HScroll1_Change(-1000);
    EXPECT_EQ(st.engine.TempoShift, -100);
    EXPECT_FALSE(lastCallWasFocus());
    player.Cmd_DisCh_Click(0);
    EXPECT_TRUE(lastCallWasFocus()) << "a focus-returning control brings the keys back";
}

TEST_F(TempoTest, TempoModifyResetsToTheFilesTempo) {
    player.HScroll1_Change(20);
    player.Label1_Click();
    EXPECT_EQ(st.engine.TempoShift, 0);
    EXPECT_NEAR(rateOverNext100Ms(), 1.0, 1e-9);
    player.Label1_Click();
    EXPECT_EQ(st.engine.TempoShift, 0);
    EXPECT_NEAR(rateOverNext100Ms(), 1.0, 1e-9);
    EXPECT_EQ(dialogs.count(test::DialogCall::Kind::FocusKeyboardSink), 0u);
}

class MasterVolumeTest : public ChannelPanelTest {
protected:
    // The master volume messages sent so far, as their MSBs.
    std::vector<int> volumesSent() {
        std::vector<int> out;
        for (const test::SentMessage& m : sent())
            if (m.message.status == midi::kSysEx && m.message.sysex.size() == 8 &&
                m.message.sysex.substr(0, 6) == midi::masterVolumeSysEx(0).substr(0, 6))
                out.push_back(static_cast<unsigned char>(m.message.sysex[6]));
        return out;
    }
    MemorySettingsStore store;
    LiveInput live{output, ui};
};

TEST_F(MasterVolumeTest, TheStoredVolumeIsSentAndEveryChangeGoesOutAtOnceAndIsKept) {
    store.write("Setup", "MasterVolume", "80");
    clearSent();
    player.attachLive(live, store, clock);
    EXPECT_EQ(volumesSent(), std::vector<int>{80});
    EXPECT_EQ(st.MasterReadout.caption, "80");

    clearSent();
    player.Picture1_KeyDown(33, 0);  // Page Up
    player.Scr_Master_Change(200);
    player.Picture1_KeyDown(34, 0);  // Page Down
    player.Lbl_Master_Click();
    // Sent before the clock moves: nothing waits for the queue.
    EXPECT_EQ(volumesSent(), (std::vector<int>{85, 127, 122, midi::kDefaultMasterVolume}));
    EXPECT_EQ(st.MasterVolume, midi::kDefaultMasterVolume);
    EXPECT_EQ(store.read("Setup", "MasterVolume"), "100");

    clearSent();
    player.Scr_Master_Change(60);
    player.LoadFile(writeFile(test::styleLike(), "style.sty"));
    EXPECT_EQ(volumesSent(), (std::vector<int>{60, 60})) << "sent again after a style's own set-up";
}

}  // namespace
}  // namespace vornel
