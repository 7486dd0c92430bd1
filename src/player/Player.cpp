#include "player/Player.h"

#include <algorithm>
#include <array>

#include "midi/file/MidifileComponent.h"
#include "midi/output/MIDIOutputComponent.h"
#include "playback/BarMath.h"
#include "playback/ChordChange.h"
#include "playback/ChordRule.h"
#include "playback/NoteSilencing.h"
#include "playback/PartSequencing.h"
#include "playback/PlaybackChunk.h"
#include "player/AutoFill.h"
#include "player/LevelMeters.h"
#include "player/PartChoice.h"
#include "player/StatusLine.h"
#include "player/TempoReadout.h"
#include "settings/EndQuestion.h"
#include "settings/Language.h"
#include "style/StyleData.h"
#include "style/StyleLoading.h"

namespace vornel {

namespace {

constexpr int kKeyF1 = 112;
constexpr int kKeyF8 = 119;
constexpr int kKeyF9 = 120;
constexpr int kKeyF11 = 122;      // sync start
constexpr int kKeyF12 = 123;      // tap tempo
constexpr int kKeyC = 'C';        // with Alt: chord change; C is no chord key
constexpr int kKeyPageUp = 33;    // master volume up
constexpr int kKeyPageDown = 34;  // and down
constexpr int kMasterStep = 5;    // as the tempo scroll bar's page step
constexpr int kShiftOnly = 1;
constexpr int kAltHeld = 4;
constexpr int kTempoMin = -100;
constexpr int kTempoMax = 100;

// The twelve chord keys, C to B: the white keys on the middle letter row, the
// black keys above them.
constexpr std::array<int, 12> kChordKeys{'A', 'W', 'S', 'E', 'D', 'F', 'T', 'G', 'Y', 'H', 'U', 'J'};

// Shows the other window, then hides this one. A window that does not exist
// (yet) is not opened, and this one stays in view: hiding it would leave the
// program running with no window on screen.
void openInstead(const std::function<void()>& show, Player& player) {
    if (!show) return;
    show();
    player.Hide();
}

}  // namespace

Player::Player(MidifileComponent& reader, MIDIOutputComponent& output, StyleData& style, const Language& language,
               Dialogs& dialogs, Timer& timer1, Timer& timer2, Timer& timer3)
    : s_(reader, output, style, language, dialogs, timer1, timer2, timer3) {}

void Player::Form_Load() {
    s_.ColNormal = kInitialColNormal;
    s_.ColSelected = kInitialColSelected;
    s_.ColBlink = kInitialColBlink;
    s_.ColOn = kInitialColOn;
    s_.ColOff = kInitialColOff;
    s_.KeyColors = kInitialKeyColors;
    s_.engine.CurPart = -1;
    for (int ch = kFirstMeterChannel; ch <= kLastMeterChannel; ++ch)
        s_.ProgressBar2[static_cast<std::size_t>(ch)] = kMeterFullScale;

    s_.MIDIOutput1.CueReached = [this](std::int32_t tag) { MIDIOutput1_CueReached(s_.engine, tag); };
    s_.MIDIOutput1.QueueDone = [this] { MIDIOutput1_QueueDone(s_.engine); };
    s_.Timer1.onTick = [this] { Timer1_Timer(); };
    s_.Timer2.onTick = [this] { Timer2_Timer(); };
    s_.Timer3.onTick = [this] { Timer3_Timer(); };
    // The meter timer runs from the window's creation: the full bars fall to
    // zero once the window is up.
    s_.Timer2.start();
}

bool Player::askToEnd() {
    return askToEndProgram(s_.dialogs, s_.language.LangNo);
}

bool Player::Form_Unload() {
    if (s_.engine.Playing != 0) return true;
    if (!askToEnd()) return true;
    s_.MIDIOutput1.PortCommand(MIDIOutputComponent::ClosePort);
    s_.dialogs.endProgram();
    return false;
}

void Player::Cmd_Exit_Click() {
    if (!s_.Cmd_Exit.enabled) return;
    if (!askToEnd()) return;
    s_.MIDIOutput1.PortCommand(MIDIOutputComponent::ClosePort);
    s_.dialogs.endProgram();
}

// The commands that open another window hide this one while it is open; only
// Help leaves it in view. None of them touches the player's state or playback.
void Player::Cmd_Open_Click() {
    if (!s_.Cmd_Open.enabled) return;
    openInstead(windows.showFileChooser, *this);
}

void Player::Cmd_Settings_Click() {
    if (!s_.Cmd_Settings.enabled) return;
    openInstead(windows.showSettings, *this);
}

void Player::mnuMap_Click() {
    openInstead(windows.showKeyMap, *this);
}

void Player::Cmd_About_Click() {
    openInstead(windows.showAbout, *this);
}

void Player::Cmd_Help_Click() {
    if (windows.showHelp) windows.showHelp();
}

void Player::Cmd_Play_Click() {
    // A disabled command does nothing: a second Play would queue every bar
    // twice.
    if (!s_.Cmd_Play.enabled) return;
    for (std::int16_t i = 1; i <= 16; ++i) SendMessage(s_.engine, static_cast<std::int16_t>(223 + i), 0, 64);
    // A chord chosen while stopped, to be heard from a bar line, blinks
    // until playback starts.
    startPlayback(s_.engine, s_.Timer1.running() || s_.Timer3.running());
    s_.dialogs.focusKeyboardSink();
}

void Player::Cmd_Stop_Click() {
    if (!s_.Cmd_Stop.enabled) return;
    StopRitm(s_.engine);
    s_.dialogs.focusKeyboardSink();
    s_.engine.Playing = 0;
}

void Player::Cmd_Panic_Click() {
    PanicRitm(s_.engine);
    s_.dialogs.focusKeyboardSink();
}

void Player::Cmd_Part_Click(int Index) {
    const std::int16_t before = s_.engine.CurPart;
    // Only from a Main part that sounds: a fill already on its way leads into
    // the part chosen by itself.
    if (live_.autoFill && s_.engine.Playing != 0) {
        const int sounding = soundingPart(s_.engine) - 1;
        if (sounding + 1 == before)
            if (const int fill = autoFillButton(sounding, Index, s_.Cmd_Part); fill >= 0) Index = fill;
    }
    vornel::Cmd_Part_Click(s_, Index);
    if (s_.engine.CurPart != before) ChangePart(s_.engine);
}

void Player::Lbl_Chord_Click(int Index) {
    if (Index < 0 || Index >= static_cast<int>(s_.Lbl_Chord.size())) return;
    // The chords frame names every chord chosen, a label's as a played one's.
    s_.Lbl_LiveChord.caption = labelChordName(Index);
    chooseChord(Index, Index >= 12 ? chord::kMin : chord::kMaj);
}

std::string Player::labelChordName(int Index) {
    return RecognisedChord{Index % 12, Index >= 12 ? ChordType::Minor : ChordType::Major}.name();
}

// A chord label, or a chord of a type that plays as the label `Index`
// (a seventh on C plays as C major where the style has no channel table).
void Player::chooseChord(int Index, int type) {
    if (Index < 0 || Index >= static_cast<int>(s_.Lbl_Chord.size())) return;
    if (Index == s_.engine.ChordIdx && type == s_.engine.ChordTypeNo) {
        syncStart();
        return;
    }
    s_.engine.ChordTypeNo = type;
    for (std::size_t i = 0; i < s_.Lbl_Chord.size(); ++i) s_.Lbl_Chord[i].colour = s_.KeyColors[i % 12];
    s_.Lbl_Chord[static_cast<std::size_t>(Index)].colour = s_.ColSelected;
    const Chord chord = chordOfLabel(Index);
    s_.engine.Transpose = chord.Transpose;
    s_.engine.IsMinor = chord.IsMinor;
    s_.engine.ChordIdx = static_cast<std::int16_t>(Index);
    // From the next bar line, the chosen label blinks until it is heard
    // (nothing is cut at the click: the old chord's notes end at that bar
    // line); at once or from the next beat it needs no reminder.
    if (s_.engine.ChordChange == ChordChangeMode::NextBarLine)
        s_.Timer3.start();
    else
        s_.Timer3.stop();
    ChangeChord(s_.engine);
    s_.dialogs.focusKeyboardSink();
    syncStart();
}

void Player::Picture1_KeyDown(int KeyCode, int Shift) {
    // The volume needs no style: a played right hand is heard too.
    if (KeyCode == kKeyPageUp || KeyCode == kKeyPageDown) {
        Scr_Master_Change(s_.MasterVolume + (KeyCode == kKeyPageUp ? kMasterStep : -kMasterStep));
        s_.dialogs.focusKeyboardSink();
        return;
    }
    if (!s_.Cmd_Play.enabled && !s_.Cmd_Stop.enabled) return;
    if (KeyCode >= kKeyF1 && KeyCode <= kKeyF8)
        Cmd_DisCh_Click(KeyCode - kKeyF1);
    else if (KeyCode == kKeyF9)
        Command1_Click();
    else if (KeyCode == kKeyF11)
        Cmd_Sync_Click();
    else if (KeyCode == kKeyF12)
        Cmd_Tap_Click();
    else if (KeyCode == kKeyC && (Shift & kAltHeld) != 0)
        Cmd_ChordChange_Click();
    const int base = Shift == kShiftOnly ? 12 : 0;
    const auto key = std::find(kChordKeys.begin(), kChordKeys.end(), KeyCode);
    if (key != kChordKeys.end()) Lbl_Chord_Click(base + static_cast<int>(key - kChordKeys.begin()));
    s_.dialogs.focusKeyboardSink();
}

void Player::Timer3_Timer() {
    if (s_.engine.ChordIdx < 0 || s_.engine.ChordIdx >= static_cast<int>(s_.Lbl_Chord.size())) return;
    Control& label = s_.Lbl_Chord[static_cast<std::size_t>(s_.engine.ChordIdx)];
    if (s_.ChordBlink == 0) {
        label.colour = s_.ColBlink;
        s_.ChordBlink = 1;
    } else {
        label.colour = s_.ownChordColour(s_.engine.ChordIdx);
        s_.ChordBlink = 0;
    }
}

void Player::Cmd_DisCh_Click(int Index) {
    if (Index < 0 || Index >= static_cast<int>(s_.Cmd_DisCh.size())) return;
    Control& sw = s_.Cmd_DisCh[static_cast<std::size_t>(Index)];
    const auto status = static_cast<std::int16_t>(184 + Index);
    if (sw.colour == s_.ColOn) {
        SendMessage(s_.engine, status, 11, 0);
        sw.colour = s_.ColOff;
    } else {
        SendMessage(s_.engine, status, 11, 127);
        sw.colour = s_.ColOn;
    }
    s_.dialogs.focusKeyboardSink();
}

void Player::Command1_Click() {
    if (s_.MetersOff == 0) {
        s_.MetersOff = -1;
        s_.Command1.colour = s_.ColOff;
    } else {
        s_.MetersOff = 0;
        s_.Command1.colour = s_.ColOn;
        s_.Timer2.start();
    }
    s_.dialogs.focusKeyboardSink();
}

// The tempo control keeps the focus: it does not hand it back to Picture1.
// The scroll bar cannot hold a value outside its range.
void Player::HScroll1_Change(int value) {
    s_.engine.TempoShift = std::clamp(value, kTempoMin, kTempoMax);
    s_.MIDIOutput1.TempoShift(s_.engine.TempoShift);
    renewTempoReadout(s_, s_.language.LangNo);
}

void Player::HScroll1_Scroll(int value) {
    HScroll1_Change(value);
}

void Player::Label1_Click() {
    // Setting the value to what it already is raises no change.
    if (s_.engine.TempoShift != 0) HScroll1_Change(0);
}

void Player::ShowVUMeter(int VNo, int Vel) {
    vornel::ShowVUMeter(s_, VNo, Vel);
}

void Player::Timer1_Timer() {
    vornel::Timer1_Timer(s_);
}

void Player::Timer2_Timer() {
    vornel::Timer2_Timer(s_);
}

// Loading closes and reopens the port: a device that was open may not come
// back (unplugged meanwhile), and the new style brings its own tempo.
void Player::LoadFile(const std::string& CdFL) {
    vornel::LoadFile(s_, CdFL);
    if (styleLoaded() && s_.Lbl_LiveChord.caption.empty())
        s_.Lbl_LiveChord.caption = labelChordName(s_.engine.ChordIdx);
    sendMasterVolume();
    applyLiveChannels();
    if (s_.device.state == DeviceReport::State::Open && s_.MIDIOutput1.PortIsOpen() == 0)
        s_.device.state = DeviceReport::State::Failed;
    renewStatusLine(s_, s_.language.LangNo);
    renewTempoReadout(s_, s_.language.LangNo);
}

void Player::deviceApplied(const DeviceReport& report) {
    s_.device = report;
    sendMasterVolume();
    renewStatusLine(s_, s_.language.LangNo);
}

}  // namespace vornel
