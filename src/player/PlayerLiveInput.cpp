// The player window's handlers for a MIDI keyboard: chords from the left
// hand, the right hand's voice, split point, chord mode, sync start and tap
// tempo; and when a chosen chord is heard, which is kept with them.

#include <algorithm>
#include <array>
#include <cmath>

#include "midi/MidiVocabulary.h"
#include "midi/file/MidifileComponent.h"
#include "midi/input/MidiInputPort.h"
#include "platform/Clock.h"
#include "platform/SettingsStore.h"
#include "player/LiveInput.h"
#include "player/Player.h"
#include "settings/Language.h"
#include "style/StyleData.h"

namespace vornel {

namespace {

constexpr int kTempoMin = -100;
constexpr int kTempoMax = 100;
// Four taps give three beats to average; a longer pause starts a new count
// (two seconds is slower than any style is played).
constexpr std::size_t kTapsNeeded = 4;
constexpr double kTapPauseMs = 2000.0;
// A file without a tempo plays at MIDI's default, 120 beats a minute.
constexpr double kDefaultUsPerQuarter = 500000.0;

KeyboardText chordChangeText(ChordChangeMode mode) {
    switch (mode) {
        case ChordChangeMode::AtOnce:
            return kTextAtOnce;
        case ChordChangeMode::NextBeat:
            return kTextNextBeat;
        case ChordChangeMode::NextBarLine:
            return kTextNextBar;
    }
    return kTextAtOnce;
}

}  // namespace

void Player::attachLive(LiveInput& input, SettingsStore& store, const Clock& clock) {
    input_ = &input;
    store_ = &store;
    clock_ = &clock;
    live_ = LiveInputSettings::load(store);
    s_.engine.ChordChange = live_.chordChange;
    Scr_Master_Change(live_.masterVolume);
    input.setSplit(live_.split);
    input.setMode(live_.mode);
    input.setVoice(live_.voice);
    input.events.chord = [this](const RecognisedChord& chord) { liveChord(chord); };
    input.events.splitKey = [this](int key) { liveSplitKey(key); };
    input.events.lost = [this] { liveLost(); };
    applyLiveChannels();
    labelLive(s_.language.table, s_.language.LangNo);
}

void Player::labelLive(const TextTable& table, int lang) {
    auto text = [&](KeyboardText entry) -> const std::string& { return table.LangText(lang, kGroupKeyboard, entry); };
    s_.Cmd_Split.caption = text(kTextSplit);
    s_.Cmd_Split.toolTip = text(kTextSplitTip);
    s_.Cmd_ChordMode.caption = text(live_.mode == ChordMode::SingleFinger ? kTextSingleFinger : kTextFingered);
    s_.Cmd_ChordChange.caption = text(chordChangeText(s_.engine.ChordChange));
    s_.Cmd_ChordChange.toolTip = text(kTextChordChangeTip);
    s_.Cmd_Sync.caption = text(kTextSyncStart);
    s_.Cmd_AutoFill.caption = text(kTextAutoFill);
    s_.Cmd_AutoFill.toolTip = text(kTextAutoFillTip);
    s_.Cmd_AutoFill.colour = live_.autoFill ? s_.ColOn : s_.ColNormal;
    s_.Cmd_Tap.caption = text(kTextTapTempo);
    s_.Cmb_Voice.toolTip = text(kTextVoiceTip);
    s_.Lbl_Master.caption = text(kTextMasterVolume);
    s_.Scr_Master.toolTip = text(kTextMasterVolumeTip);
    if (s_.SplitLearning) s_.Lbl_LiveStatus.caption = text(kTextPressSplitKey);
}

const std::string& Player::liveText(KeyboardText entry) const {
    return s_.language.text(kGroupKeyboard, entry);
}

bool Player::openLiveInput(MidiInputProvider& inputs, int device) {
    if (!input_) return false;
    input_->close();
    s_.Lbl_LiveStatus.caption.clear();
    const std::string name = device >= 0 ? inputs.name(device) : std::string();
    bool opened = device < 0;
    if (device >= 0) {
        opened = input_->open(inputs.create(device), name);
        if (!opened) {
            s_.dialogs.messageBox(liveText(kTextCannotOpenInput) + name, kAppTitle, MessageIcon::Exclamation);
        } else {
            s_.Lbl_LiveStatus.caption = name;
        }
    }
    // A device that would not open is not stored: the next start does not
    // ask again for a keyboard that is not there.
    live_.device = opened ? device : -1;
    live_.deviceName = opened ? name : std::string();
    if (store_) live_.save(*store_);
    applyLiveChannels();
    return opened;
}

// Everything the chord labels do for a click happens for a played chord;
// the chord label's own rules (the next bar line, the blinking) apply.
void Player::liveChord(const RecognisedChord& chord) {
    if (!styleLoaded()) return;
    s_.Lbl_LiveChord.caption = chord.name();
    chooseChord(chord.labelIndex(), chord.tableType());
}

// Any chord starts an armed Play, from the MIDI keyboard, the computer
// keyboard or a click: whichever the player's left hand is on.
void Player::syncStart() {
    if (!s_.SyncArmed || !s_.Cmd_Play.enabled) return;
    s_.SyncArmed = false;
    s_.Cmd_Sync.colour = s_.ColNormal;
    Cmd_Play_Click();
}

void Player::Cmd_Split_Click() {
    if (!input_ || !input_->isOpen()) return;
    s_.SplitLearning = true;
    s_.Lbl_LiveStatus.caption = liveText(kTextPressSplitKey);
    input_->learnSplit();
    s_.dialogs.focusKeyboardSink();
}

void Player::liveSplitKey(int key) {
    if (!input_) return;
    s_.SplitLearning = false;
    s_.Lbl_LiveStatus.caption = input_->deviceName();
    live_.split = std::clamp(key, 0, midi::kDataMax);
    input_->setSplit(live_.split);
    if (store_) live_.save(*store_);
}

void Player::Cmd_ChordMode_Click() {
    live_.mode = live_.mode == ChordMode::Fingered ? ChordMode::SingleFinger : ChordMode::Fingered;
    if (input_) input_->setMode(live_.mode);
    if (store_) live_.save(*store_);
    labelLive(s_.language.table, s_.language.LangNo);
    s_.dialogs.focusKeyboardSink();
}

// The chord already chosen keeps the rule it was chosen under: a label that
// blinks for the next bar line goes on blinking until it is heard.
void Player::Cmd_ChordChange_Click() {
    switch (s_.engine.ChordChange) {
        case ChordChangeMode::AtOnce:
            s_.engine.ChordChange = ChordChangeMode::NextBeat;
            break;
        case ChordChangeMode::NextBeat:
            s_.engine.ChordChange = ChordChangeMode::NextBarLine;
            break;
        case ChordChangeMode::NextBarLine:
            s_.engine.ChordChange = ChordChangeMode::AtOnce;
            break;
    }
    live_.chordChange = s_.engine.ChordChange;
    if (store_) live_.save(*store_);
    labelLive(s_.language.table, s_.language.LangNo);
    s_.dialogs.focusKeyboardSink();
}

void Player::setVoice(int program) {
    live_.voice = std::clamp(program, 0, midi::kDataMax);
    if (input_) input_->setVoice(live_.voice);
    if (store_) live_.save(*store_);
}

// Armed only while Play is possible; a second press disarms it.
void Player::Cmd_AutoFill_Click() {
    live_.autoFill = !live_.autoFill;
    if (store_) live_.save(*store_);
    labelLive(s_.language.table, s_.language.LangNo);
    s_.dialogs.focusKeyboardSink();
}

void Player::Cmd_Sync_Click() {
    if (s_.SyncArmed || !s_.Cmd_Play.enabled)
        s_.SyncArmed = false;
    else
        s_.SyncArmed = true;
    s_.Cmd_Sync.colour = s_.SyncArmed ? s_.ColOn : s_.ColNormal;
    s_.dialogs.focusKeyboardSink();
}

// The tempo of the last four taps sets the tempo bar to its nearest step
// against the style's own tempo (the bar's value v plays at 2^(v/100) times
// it). Every tap after the fourth sets it again from the last four, so the
// player can keep tapping until it feels right. While stopped the bar is set
// all the same and the next Play starts at that tempo.
void Player::Cmd_Tap_Click() {
    s_.dialogs.focusKeyboardSink();
    if (!clock_ || !styleLoaded()) return;
    const double now = clock_->nowMs();
    if (!s_.Taps.empty() && now - s_.Taps.back() > kTapPauseMs) s_.Taps.clear();
    s_.Taps.push_back(now);
    if (s_.Taps.size() > kTapsNeeded) s_.Taps.erase(s_.Taps.begin());
    if (s_.Taps.size() < kTapsNeeded) return;
    const double beatMs = (s_.Taps.back() - s_.Taps.front()) / static_cast<double>(kTapsNeeded - 1);
    if (beatMs <= 0.0) return;
    const std::int32_t us = s_.Midifile1.Tempo();
    const double ownBeatMs = (us > 0 ? us : kDefaultUsPerQuarter) / 1000.0;
    const int step = static_cast<int>(std::lround(100.0 * std::log2(ownBeatMs / beatMs)));
    HScroll1_Change(std::clamp(step, kTempoMin, kTempoMax));
}

// The accompaniment plays on; a message box would hold the cues that keep it
// going, so while playing only the status line says so.
void Player::liveLost() {
    const std::string lost = liveText(kTextInputLost) + live_.deviceName;
    s_.Lbl_LiveStatus.caption = lost;
    s_.SplitLearning = false;
    applyLiveChannels();
    if (s_.engine.Playing == 0)
        s_.dialogs.messageBox(lost + "\n" + liveText(kTextPlaysOn), kAppTitle, MessageIcon::Exclamation);
}

void Player::applyLiveChannels() {
    std::array<bool, midi::kChannels> used{};
    if (styleLoaded()) {
        MidifileComponent& f = s_.Midifile1;
        for (std::int32_t track = 1; track <= f.TrackCount(); ++track) {
            f.Track(track);
            const std::int32_t count = f.EventCount();
            for (std::int32_t k = 1; k <= count; ++k) {
                f.EventIndex(k);
                const std::int16_t st = f.EvStatus();
                if (midi::isChannelMessage(st)) used[static_cast<std::size_t>(midi::channelOf(st))] = true;
            }
        }
    }
    if (s_.style.channels.present()) used = s_.style.channels.sentChannels(used);
    // Channel 1, or the lowest of channels 1-8 the style leaves free. A style
    // that fills all eight shares channel 1 with the player.
    s_.VoiceChannel = 0;
    if (used[0])
        for (int ch = 1; ch < 8; ++ch)
            if (!used[static_cast<std::size_t>(ch)]) {
                s_.VoiceChannel = ch;
                break;
            }
    // The carriers keep channel 1, note 36 while no keyboard plays there;
    // otherwise they go to the highest channel nobody plays on, or, if every
    // channel is taken, to key 0, below every keyboard's range.
    s_.engine.CarrierStatus = midi::statusOf(midi::kNoteOn, 0);
    s_.engine.CarrierKey = 36;
    const bool keyboardOnOne = input_ && input_->isOpen() && s_.VoiceChannel == 0;
    if (keyboardOnOne) {
        s_.engine.CarrierKey = 0;
        for (int ch = midi::kChannels - 1; ch >= 1; --ch)
            if (!used[static_cast<std::size_t>(ch)]) {
                s_.engine.CarrierStatus = static_cast<std::int16_t>(midi::statusOf(midi::kNoteOn, ch));
                s_.engine.CarrierKey = 36;
                break;
            }
    }
    if (input_) {
        input_->setChannel(s_.VoiceChannel);
        input_->setWholeKeyboard(!styleLoaded());
        // Loading a style reopens the device, which forgets the voice.
        input_->outputReset();
    }
}

}  // namespace vornel
