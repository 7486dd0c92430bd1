// A MIDI keyboard played into the player window's model: the left hand drives
// the chord labels, the right hand reaches the port at once.

#include <cmath>

#include "PlayerTestFixture.h"
#include "midi/MidiVocabulary.h"
#include "platform/SettingsStore.h"
#include "player/LiveInput.h"
#include "support/FakeMidiInputs.h"

namespace vornel::test {
namespace {

// A keyboard attached to the player, with or without a style loaded.
class LiveKeyboardTest : public PlayerTest {
protected:
    void openKeyboard() {
        ASSERT_TRUE(player.openLiveInput(inputs, 0));
        clearSent();
    }
    void play(std::vector<std::uint8_t> bytes) { inputs.play(0, std::move(bytes)); }
    // What the keyboard sent through, without running the clock: the right
    // hand never waits for the UI thread or the queue.
    std::vector<Triple> thru() {
        std::vector<Triple> out;
        for (const SentMessage& m : sent()) out.push_back(triple(m));
        return out;
    }

    MemorySettingsStore store;
    LiveInput live{output, ui};
    FakeMidiInputs inputs{{"Keys A", "Keys B"}};
};

class LiveInputTest : public LiveKeyboardTest {
protected:
    LiveInputTest() {
        loadMainA();
        // The stored chord change keeps these tests on the bar-line rule.
        store.write("Setup", "ChordChange", "2");
        player.attachLive(live, store, clock);
    }
};

TEST_F(LiveInputTest, RightHandSoundsAtOnceInItsVoiceAndLeftHandKeysDoNot) {
    player.setVoice(40);
    openKeyboard();
    play({midi::kNoteOn, 60, 77, 48, 90, midi::kControlChange, midi::cc::kSustain, 127, midi::cc::kVolume, 100,
          midi::kPitchBend, 0, 80, midi::kNoteOff, 60, 0});
    // The voice first, then the note with its velocity, the pedal and the bend;
    // key 48 (left hand), volume and the keyboard's channel are not passed.
    EXPECT_EQ(thru(), (std::vector<Triple>{{midi::kProgramChange, 40, 0},
                                           {midi::kNoteOn, 60, 77},
                                           {midi::kControlChange, midi::cc::kSustain, 127},
                                           {midi::kPitchBend, 0, 80},
                                           {midi::kNoteOff, 60, 0}}));
}

TEST_F(LiveInputTest, StyleOnChannelOneMovesTheRightHandToTheLowestFreeChannel) {
    FileTiming timing;
    timing.setup = {{midi::kProgramChange, 1, 0},
                    {midi::statusOf(midi::kProgramChange, 1), 2, 0},
                    {midi::statusOf(midi::kProgramChange, 3), 3, 0}};
    loadMainA(timing);
    openKeyboard();
    play({midi::kNoteOn, 60, 50, midi::kNoteOff, 60, 0});
    EXPECT_EQ(thru(), (std::vector<Triple>{{midi::statusOf(midi::kProgramChange, 2), 0, 0},
                                           {midi::statusOf(midi::kNoteOn, 2), 60, 50},
                                           {midi::statusOf(midi::kNoteOff, 2), 60, 0}}));
    EXPECT_EQ(st.engine.CarrierStatus, midi::kNoteOn);  // channel 1 is the style's: the carriers stay
}

// A style loaded while a key is held may move the voice to another channel:
// the held key still ends on the channel it sounded on, the next one sounds
// on the new channel.
TEST_F(LiveInputTest, AKeyHeldWhileTheVoiceMovesEndsOnTheChannelItSoundedOn) {
    openKeyboard();
    play({midi::kNoteOn, 60, 50});
    live.setChannel(2);
    play({midi::kNoteOff, 60, 0, midi::kNoteOn, 62, 40});
    std::vector<Triple> notes;
    for (const Triple& t : thru())
        if (midi::kindOf(t[0]) == midi::kNoteOn || midi::kindOf(t[0]) == midi::kNoteOff) notes.push_back(t);
    EXPECT_EQ(notes, (std::vector<Triple>{{midi::kNoteOn, 60, 50},
                                          {midi::kNoteOff, 60, 0},
                                          {midi::statusOf(midi::kNoteOn, 2), 62, 40}}));
}

TEST_F(LiveInputTest, CarriersLeaveTheKeyboardsChannel) {
    EXPECT_EQ(st.engine.CarrierStatus, midi::kNoteOn);  // no keyboard: as ever
    openKeyboard();
    EXPECT_NE(midi::channelOf(st.engine.CarrierStatus), st.VoiceChannel);
    play({midi::kNoteOn, 72, 100});  // held through the whole run
    player.Cmd_Play_Click();
    runTo(2000);
    int carriers = 0;
    for (const SentMessage& m : sent())
        if (midi::kindOf(m.message.status) == midi::kNoteOn && m.message.data2 == 0) {
            ++carriers;
            EXPECT_NE(midi::channelOf(m.message.status), st.VoiceChannel)
                << "a carrier on the keyboard's channel at " << m.atMs;
        }
    EXPECT_GT(carriers, 0);
}

TEST_F(LiveInputTest, LeftHandChordActsAsAClickAndStaysAfterRelease) {
    openKeyboard();
    play({midi::kNoteOn, 45, 80, 48, 80, 52, 80, 43, 80});  // A C E G: Am7
    EXPECT_EQ(ui.drain(), 1);                               // one task for the four keys
    EXPECT_EQ(st.engine.ChordIdx, 21);
    EXPECT_EQ(st.Lbl_LiveChord.caption, "Am7");
    EXPECT_EQ(st.Lbl_Chord[21].colour, st.ColSelected);
    EXPECT_TRUE(timer3.running());  // blinking until the bar line, as for a click
    play({midi::kNoteOff, 45, 0, 48, 0, 52, 0, 43, 0});
    ui.drain();
    EXPECT_EQ(st.engine.ChordIdx, 21);
    EXPECT_TRUE(thru().empty());
}

// The chord's own type is kept for a style's channel table, even where the
// label stays the same (C, then C7).
TEST_F(LiveInputTest, LeftHandChordTypeIsKeptBesideItsLabel) {
    openKeyboard();
    play({midi::kNoteOn, 36, 80, 40, 80, 43, 80, midi::kNoteOff, 36, 0, 40, 0, 43, 0});  // C
    ui.drain();
    EXPECT_EQ(st.engine.ChordTypeNo, chord::kMaj);
    play({midi::kNoteOn, 36, 80, 40, 80, 43, 80, 46, 80});  // C E G Bb: C7
    ui.drain();
    EXPECT_EQ(st.engine.ChordIdx, 0);
    EXPECT_EQ(st.engine.ChordTypeNo, chord::kSeventh);
    player.Lbl_Chord_Click(12);  // a label's chord is plain minor
    EXPECT_EQ(st.engine.ChordTypeNo, chord::kMin);
}

TEST_F(LiveInputTest, PlayedChordIsHeardFromTheNextBarLine) {
    openKeyboard();
    player.Cmd_Play_Click();
    runTo(100);
    play({midi::kNoteOn, 38, 80, 41, 80, 45, 80});  // D F A: D minor, 284 ms before the bar line at 384
    runTo(700);
    bool transposed = false;
    for (const auto& [atMs, note] : notesPlayed()) {
        if (atMs < 384.0) {
            EXPECT_EQ(note, 60) << atMs;
        }
        if (atMs >= 384.0 && atMs < 768.0) transposed = transposed || note == 62 + 2;
    }
    EXPECT_TRUE(transposed);
}

TEST_F(LiveInputTest, SyncStartPlaysOnTheFirstChord) {
    openKeyboard();
    player.Picture1_KeyDown(122, 0);  // F11
    EXPECT_TRUE(st.SyncArmed);
    runTo(50);
    EXPECT_EQ(st.engine.Playing, 0);
    play({midi::kNoteOn, 43, 80, 47, 80, 50, 80});  // G B D
    ui.drain();
    EXPECT_FALSE(st.SyncArmed);
    EXPECT_EQ(st.engine.ChordIdx, 7);
    EXPECT_TRUE(st.Cmd_Stop.enabled);
}

TEST_F(LiveInputTest, SyncStartAlsoOnTheComputerKeyboardsChordEvenTheSameOne) {
    player.Cmd_Sync_Click();
    player.Picture1_KeyDown('A', 0);  // C, the chord already chosen
    EXPECT_TRUE(st.Cmd_Stop.enabled);
    EXPECT_FALSE(st.SyncArmed);
}

// Four taps 80 ms apart against the style's 96 ms beat: the bar goes to
// round(100 log2(96/80)) = 26 while stopped, and Play starts at that tempo.
TEST_F(LiveInputTest, TapTempoWhileStoppedSetsTheNextPlay) {
    for (int i = 0; i < 3; ++i) {
        player.Cmd_Tap_Click();
        runTo(clock.nowMs() + 80);
    }
    EXPECT_EQ(st.engine.TempoShift, 0);
    player.Picture1_KeyDown(123, 0);  // F12
    EXPECT_EQ(st.engine.TempoShift, 26);
    const double start = clock.nowMs();
    player.Cmd_Play_Click();
    runTo(start + 500);
    const double barMs = 384.0 / std::exp2(0.26);
    bool secondBar = false;
    for (const auto& [atMs, note] : notesPlayed())
        if (note == 62) {
            EXPECT_NEAR(atMs - start, barMs, 1.0);
            secondBar = true;
        }
    EXPECT_TRUE(secondBar);
    // A pause starts a new count: one more tap changes nothing.
    runTo(clock.nowMs() + 3000);
    player.Cmd_Tap_Click();
    EXPECT_EQ(st.engine.TempoShift, 26);
}

TEST_F(LiveInputTest, SettingsAreStoredAndReadBackWithFallbacks) {
    openKeyboard();
    player.Cmd_ChordMode_Click();
    player.Cmd_ChordChange_Click();  // from the bar line round to at once, then the next beat
    player.Cmd_ChordChange_Click();
    player.setVoice(73);
    player.Cmd_Split_Click();
    play({midi::kNoteOn, 60, 90});  // the split key is not heard
    ui.drain();
    EXPECT_TRUE(thru().empty());
    const LiveInputSettings back = LiveInputSettings::load(store);
    EXPECT_EQ(back.device, 0);
    EXPECT_EQ(back.deviceName, "Keys A");
    EXPECT_EQ(back.split, 60);
    EXPECT_EQ(back.mode, ChordMode::SingleFinger);
    EXPECT_EQ(back.voice, 73);
    EXPECT_EQ(back.chordChange, ChordChangeMode::NextBeat);
    // The keyboard moved in the list: found by its name.
    FakeMidiInputs moved{{"Keys B", "Keys A"}};
    EXPECT_EQ(back.findDevice(moved), 1);
    FakeMidiInputs gone{{"Keys B"}};
    EXPECT_EQ(back.findDevice(gone), -1);

    MemorySettingsStore bad;
    bad.write("Setup", "Split", "200");
    bad.write("Setup", "ChordMode", "x");
    bad.write("Setup", "Voice", "-3");
    bad.write("Setup", "InDev", "1e2");
    bad.write("Setup", "ChordChange", "3");
    const LiveInputSettings fallback = LiveInputSettings::load(bad);
    EXPECT_EQ(fallback.split, 54);
    EXPECT_EQ(fallback.mode, ChordMode::Fingered);
    EXPECT_EQ(fallback.voice, 0);
    EXPECT_EQ(fallback.device, -1);
}

// Read at start; every press moves on to the next choice, for the next chord
// chosen, and is stored at once. The caption names the choice in the language.
TEST_F(LiveInputTest, ChordChangeGoesRoundItsThreeChoicesInBothLanguages) {
    const std::string nextBeat = "sonraki vuru\xC5\x9F";              // sonraki vuruş
    const std::string nextBar = "sonraki \xC3\xB6l\xC3\xA7\xC3\xBC";  // sonraki ölçü
    store.write("Setup", "ChordChange", "1");
    player.attachLive(live, store, clock);  // as at the next start
    EXPECT_EQ(st.engine.ChordChange, ChordChangeMode::NextBeat);
    EXPECT_EQ(st.Cmd_ChordChange.caption, nextBeat);
    const std::vector<std::pair<ChordChangeMode, std::string>> round{{ChordChangeMode::NextBarLine, nextBar},
                                                                     {ChordChangeMode::AtOnce, "hemen"},
                                                                     {ChordChangeMode::NextBeat, nextBeat}};
    for (const auto& [mode, caption] : round) {
        player.Cmd_ChordChange_Click();
        EXPECT_EQ(st.engine.ChordChange, mode);
        EXPECT_EQ(st.Cmd_ChordChange.caption, caption);
        EXPECT_EQ(LiveInputSettings::load(store).chordChange, mode);
        EXPECT_TRUE(lastCallWasFocus());
    }
    language.LangNo = kLangEnglish;  // as the setup window applies it
    player.relabel(language.table, kLangEnglish);
    EXPECT_EQ(st.Cmd_ChordChange.caption, "next beat");
    EXPECT_EQ(st.Cmd_ChordChange.toolTip.rfind("Chord change:", 0), 0u);
    player.Cmd_ChordChange_Click();
    EXPECT_EQ(st.Cmd_ChordChange.caption, "next bar");
    player.Cmd_ChordChange_Click();
    EXPECT_EQ(st.Cmd_ChordChange.caption, "at once");
    // Heard at once, a chord needs no blinking reminder.
    player.Lbl_Chord_Click(9);
    EXPECT_FALSE(timer3.running());
}

TEST_F(LiveInputTest, DeviceThatCannotOpenGetsAMessageAndIsNotStored) {
    inputs.devices[1]->opens = false;
    EXPECT_FALSE(player.openLiveInput(inputs, 1));
    EXPECT_EQ(calls(DialogCall::Kind::MessageBox), 1u);
    EXPECT_EQ(LiveInputSettings::load(store).device, -1);
}

TEST_F(LiveInputTest, DeviceLostWhilePlayingEndsItsNotesAndTheAccompanimentGoesOn) {
    openKeyboard();
    play({midi::kNoteOn, 70, 100, midi::kControlChange, midi::cc::kSustain, 127});
    player.Cmd_Play_Click();
    runTo(300);
    clearSent();
    inputs.unplug(0);
    ui.drain();
    // Its note and its pedal end; no message box holds the cues while playing.
    const std::vector<Triple> ended = thru();
    EXPECT_NE(std::find(ended.begin(), ended.end(), Triple{midi::kNoteOff, 70, 0}), ended.end());
    EXPECT_NE(std::find(ended.begin(), ended.end(), Triple{midi::kControlChange, midi::cc::kSustain, 0}), ended.end());
    EXPECT_EQ(calls(DialogCall::Kind::MessageBox), 0u);
    EXPECT_NE(st.Lbl_LiveStatus.caption.find("Keys A"), std::string::npos);
    runTo(1200);
    bool playedOn = false;
    for (const auto& [atMs, note] : notesPlayed()) playedOn = playedOn || atMs >= 768.0;
    EXPECT_TRUE(playedOn);
}

TEST_F(LiveInputTest, DeviceLostWhileStoppedSaysSoInABoxOnce) {
    openKeyboard();
    inputs.unplug(0);
    ui.drain();
    ASSERT_EQ(calls(DialogCall::Kind::MessageBox), 1u);
    EXPECT_NE(dialogs.calls.back().text.find("Keys A"), std::string::npos);
    // Said once: the poll that follows finds no device left to lose.
    live.poll();
    ui.drain();
    EXPECT_EQ(calls(DialogCall::Kind::MessageBox), 1u);
    EXPECT_FALSE(live.isOpen());
}

// Before a style is loaded there is no accompaniment to lead: every key is the
// right hand's, and none of them chooses a chord.
class LiveInputWithoutStyleTest : public LiveKeyboardTest {
protected:
    LiveInputWithoutStyleTest() { player.attachLive(live, store, clock); }
};

TEST_F(LiveInputWithoutStyleTest, TheWholeKeyboardPlaysTheVoiceUntilAStyleIsLoaded) {
    player.setVoice(0);
    openKeyboard();
    play({midi::kNoteOn, 40, 90, midi::kNoteOff, 40, 0});
    EXPECT_EQ(ui.drain(), 0);
    EXPECT_EQ(thru(),
              (std::vector<Triple>{{midi::kProgramChange, 0, 0}, {midi::kNoteOn, 40, 90}, {midi::kNoteOff, 40, 0}}));

    loadMainA();
    openKeyboard();  // reopening applies the style to the keyboard, as loading a file does
    play({midi::kNoteOn, 40, 90, 44, 90, 47, 90});
    EXPECT_EQ(ui.drain(), 1);  // now a left-hand chord, E, and silent
    EXPECT_EQ(st.engine.ChordIdx, 4);
    EXPECT_TRUE(sent().empty());
}

}  // namespace
}  // namespace vornel::test
