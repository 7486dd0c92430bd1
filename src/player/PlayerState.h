#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "midi/MasterVolume.h"
#include "platform/Control.h"
#include "platform/Dialogs.h"
#include "platform/Timer.h"
#include "playback/Engine.h"
#include "playback/EngineWindow.h"
#include "player/StatusReports.h"
#include "style/ChordType.h"
#include "style/PartButtons.h"

namespace vornel {

class MidifileComponent;
class MIDIOutputComponent;
class StyleData;
struct Language;

// The window's fixed colours, set when it is created; no setting changes them.
// (The unselected part button's grey, kInitialColNormal, lives with the buttons.)
inline constexpr Rgb kInitialColSelected{255, 128, 128};  // light red
inline constexpr Rgb kInitialColBlink{255, 192, 128};     // light orange
inline constexpr Rgb kInitialColOn{0, 255, 0};            // green
inline constexpr Rgb kInitialColOff{255, 0, 0};           // red
// Own colours of chord labels i and i + 12, C to B: the white and black keys.
inline constexpr Rgb kWhiteKey{255, 255, 255};
inline constexpr Rgb kBlackKey{0, 0, 0};
inline constexpr std::array<Rgb, 12> kInitialKeyColors{kWhiteKey, kBlackKey, kWhiteKey, kBlackKey,
                                                       kWhiteKey, kWhiteKey, kBlackKey, kWhiteKey,
                                                       kBlackKey, kWhiteKey, kBlackKey, kWhiteKey};

// Meter lengths are in twips of the window's design: full scale 1980 stands for
// velocity 127 (132 pixels of the meter picture at 15 twips per pixel).
inline constexpr float kMeterFullScale = 1980.0f;
inline constexpr int kFirstMeterChannel = 9;
inline constexpr int kLastMeterChannel = 16;

// The player window's state: every control's record and every variable that
// loading and the window's handlers share, and the engine the window plays
// through. It is one plain record on purpose: all of them run on the UI
// thread, one handler at a time, and read and write it directly; the Qt
// window only mirrors it.
//
// The engine keeps its own state (`engine`) and reaches the window only
// through the EngineWindow side of this record (PlayerEngineWindow.cpp). The
// window writes the engine's choices (part, chord, tempo shift, chord change)
// and reads what it shows from there.
struct PlayerState final : EngineWindow {
    PlayerState(MidifileComponent& reader, MIDIOutputComponent& output, StyleData& style, const Language& language,
                Dialogs& dialogs, Timer& timer1, Timer& timer2, Timer& timer3);
    PlayerState(const PlayerState&) = delete;
    PlayerState& operator=(const PlayerState&) = delete;

    // The two components, the style tables, the language and the screen.
    MidifileComponent& Midifile1;
    MIDIOutputComponent& MIDIOutput1;
    StyleData& style;
    const Language& language;
    Dialogs& dialogs;
    Timer& Timer1;  // 250 ms: blink of a pending part button
    Timer& Timer2;  // 55 ms: fall of the level meters
    Timer& Timer3;  // 250 ms: blink of a pending chord label

    // Colours; fixed when the window is created.
    Rgb ColNormal = kInitialColNormal;
    Rgb ColSelected = kInitialColSelected;
    Rgb ColBlink = kInitialColBlink;
    Rgb ColOn = kInitialColOn;
    Rgb ColOff = kInitialColOff;
    std::array<Rgb, 12> KeyColors = kInitialKeyColors;  // own colour of chord labels i and i + 12

    // The engine, with the part, chord and tempo shift chosen.
    Engine engine;

    // Window variables.
    std::int16_t MetersOff = 0;  // 0 on, -1 off
    std::int16_t PartBlink = 0;
    std::int16_t ChordBlink = 0;

    // The window itself.
    Control window;  // caption "Vornel"; visible

    // Command bar.
    Control Cmd_Open, Cmd_Panic, Cmd_Settings, mnuMap, Cmd_About, Cmd_Help, Cmd_Exit, Cmd_Play, Cmd_Stop;

    // Style frame and its eighteen part buttons.
    Control Frm_Style;
    PartButtons Cmd_Part;

    // Chords frame: labels 0..11 major C..B, 12..23 minor C..B.
    Control Frm_Chords;
    std::array<Control, 24> Lbl_Chord;

    // Channel panel, row i for MIDI channel 9 + i.
    std::array<Control, 8> Label6;     // channel names
    std::array<Control, 8> Cmd_DisCh;  // on/off switches; colour is the channel's state
    // ProgressBar2(9..16): meter lengths in twips; entries 0..8 are never used.
    std::array<float, kLastMeterChannel + 1> ProgressBar2{};
    Control Label1;    // "Tempo Modify"; the scroll bar's value is engine.TempoShift
    Control Command1;  // meters switch

    // Loading strip.
    Control Lbl_Loading, Label4;

    // File information frame. Once a style is loaded its title is followed
    // by " - [name]"; the name is kept apart so that a language change renews
    // the title and keeps the name.
    Control Frm_File;
    std::string FileFrameName;  // empty until a style is loaded
    Control Lbl_NameN, Lbl_CopyN, Lbl_TimeSignN, Lbl_TempoN, Lbl_SizeN, Lbl_DataCN;
    Control Lbl_Name, Lbl_Copy, Lbl_TimeSign, Lbl_Tempo, Lbl_Size, Lbl_DataC;
    Control Label7;  // full path of the file last clicked in the file chooser

    // ---- Playing from a MIDI keyboard -------------------------------------
    Control Lbl_LiveChord;    // the name of the chord chosen last ("Am7", "C"), beside the chord labels
    Control Lbl_LiveStatus;   // the input device's name, or why it is gone
    Control Cmd_Split;        // "Split": the next key played becomes the split point
    Control Cmd_ChordMode;    // single finger / fingered
    Control Cmd_ChordChange;  // when a chosen chord is heard (ChordChange); for every chord, not only played ones
    Control Cmd_Sync;         // sync start; coloured ColOn while armed
    Control Cmd_AutoFill;     // auto fill; coloured ColOn while on
    Control Cmd_Tap;          // tap tempo
    Control Cmb_Voice;        // the right hand's voice; its tool tip names it
    bool SplitLearning = false;
    bool SyncArmed = false;
    // The right hand's channel (0-based); the cue carriers keep off it
    // (engine.CarrierStatus, engine.CarrierKey).
    int VoiceChannel = 0;
    // Times (ms) of the last taps of the tempo, oldest first.
    std::vector<double> Taps;
    // -------------------------------------------------------------------------

    // The file frame's caption for `title`, with the loaded style's name.
    std::string fileFrameCaption(const std::string& title) const;
    // The text of the current language (LangText(LangNo, group, entry)).
    const std::string& text(int group, int entry) const;
    // The own colour (white or black key) of chord label 0..23.
    Rgb ownChordColour(int index) const { return KeyColors[static_cast<std::size_t>(index % 12)]; }

    // ---- What the window tells a user beyond the original controls ----
    // The status line below the file frame: the output device and the last
    // load's problem (StatusLine.h). Its caption is renewed with the language.
    DeviceReport device;
    LoadReport load;
    Control StatusLine;
    // Beside the tempo scroll bar: the beats per minute that play (TempoReadout.h).
    Control TempoReadout;

    // ---- The master volume, under the tempo (PlayerMasterVolume.cpp) ----
    Control Lbl_Master;     // "Master Volume"; a click sets the default again
    Control Scr_Master;     // its scroll bar, 0..127; the tool tip says how to reach it
    Control MasterReadout;  // the value
    int MasterVolume = midi::kDefaultMasterVolume;

    // ---- The engine's window (PlayerEngineWindow.cpp) ----
    void showPlaying() override;
    void showStopped() override;
    void showChosen() override;
    bool pressPart(int button) override;
    void raiseMeter(int channel, int velocity) override;
    void reportNoData() override;
    void reportUnknownError() override;
};

}  // namespace vornel
