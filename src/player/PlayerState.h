#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/Control.h"
#include "platform/Dialogs.h"
#include "platform/Timer.h"
#include "playback/ChordTimeline.h"
#include "playback/ChunkHistory.h"
#include "playback/NoteEntry.h"
#include "playback/StrikeCounts.h"
#include "player/StatusReports.h"
#include "style/ChordType.h"
#include "style/PartButtons.h"

namespace vornel {

class MidifileComponent;
class MIDIOutputComponent;
class StyleData;
struct Language;

// How long before a bar line the engine queues that bar, in real
// milliseconds. A chord or part chosen up to this lead before a bar line is
// heard from it. It must cover the cue's way back to the UI thread (one audio
// period of the built-in synthesizer, up to 23 ms at 1024 frames, plus the
// scheduler's 5 ms look and the dispatcher), the longest handler or repaint
// that can run while playing, and the hand-over of the bar's messages to the
// device before they are due. 150 ms covers all of them several times over
// while still feeling immediate to a player who changes chords just before
// the bar line.
inline constexpr double kChordLeadMs = 150.0;
// How far ahead of the music the engine keeps the queue filled, in real ms:
// a window that stalls this long (a slow repaint, a dialog, a file list)
// makes no note late. A change takes back what it makes wrong.
inline constexpr double kQueueAheadMs = 1500.0;
inline constexpr double kQueueEverything = -1.0e300;

// The window's fixed colours, set when it is created; no setting changes them.
// (The unselected part button's grey, kInitialColNormal, lives with the buttons.)
inline constexpr Rgb kInitialColSelected{255, 128, 128};  // light red
inline constexpr Rgb kInitialColBlink{255, 192, 128};     // light orange
inline constexpr Rgb kInitialColOn{0, 255, 0};            // green
inline constexpr Rgb kInitialColOff{255, 0, 0};           // red
// Own colours of chord labels i and i + 12, C to B: the white and black keys.
inline constexpr Rgb kWhiteKey{255, 255, 255};
inline constexpr Rgb kBlackKey{0, 0, 0};
inline constexpr std::array<Rgb, 12> kInitialKeyColors{kWhiteKey, kBlackKey, kWhiteKey, kBlackKey, kWhiteKey, kWhiteKey,
                                                       kBlackKey, kWhiteKey, kBlackKey, kWhiteKey, kBlackKey, kWhiteKey};

// Meter lengths are in twips of the window's design: full scale 1980 stands for
// velocity 127 (132 pixels of the meter picture at 15 twips per pixel).
inline constexpr float kMeterFullScale = 1980.0f;
inline constexpr int kFirstMeterChannel = 9;
inline constexpr int kLastMeterChannel = 16;

// The player window's state: every control's record and every variable that
// loading, the engine and the window's handlers share. It is one plain record
// on purpose: all of them run on the UI thread, one handler at a time, and
// read and write it directly; the Qt window only mirrors it.
//
// Loading and the engine sit below the window, so the two window handlers
// they must call (pressing a part button, raising a meter) are free functions
// on this record (PartChoice.h, LevelMeters.h).
struct PlayerState {
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

    // Window variables.
    std::int16_t CurPart = -1;  // 1..18, or -1 for none
    std::string PartName;
    std::int16_t Transpose = 0;
    std::int16_t ChordIdx = 0;
    std::int16_t IsMinor = 0;
    // The chord type (a channel-table number) of the chord chosen: Maj or min
    // from a chord label, anything a MIDI keyboard's left hand recognises.
    int ChordTypeNo = chord::kMaj;
    PlayedChord playedChord() const { return {((ChordIdx % 12) + 12) % 12, ChordTypeNo}; }
    std::int16_t Playing = 0;
    std::int16_t MetersOff = 0;  // 0 on, -1 off
    std::int16_t PartBlink = 0;
    std::int16_t ChordBlink = 0;
    double PartBars = 0.0;

    // Engine counters.
    std::int32_t QueuedTicks = 0;
    double QueuedMs = 0.0;  // the stamp of QueuedTicks: where the next chunk starts
    double LeadMs = kChordLeadMs;
    double QueueAheadMs = kQueueAheadMs;
    std::int32_t PartOffset = 0;
    std::int16_t CurBar = 0;
    std::int16_t LastPart = 0;
    std::int16_t ClosedChord = 0;
    // The cue that queues what follows the last chunk queued, and its stamp:
    // a Panic that drops the queue puts it back, so playback goes on.
    std::int32_t NextCueTag = 0;
    double NextCueMs = 0.0;

    // The engine's note lists: List1 the most recent chunk's Note Ons, List2
    // those of earlier chunks; in both, only notes whose switch-off has not
    // been queued yet.
    std::vector<NoteEntry> List1;
    std::vector<NoteEntry> List2;
    // The notes a part holds unheard because the chord mutes it (a version
    // of a part written for the other kind of chord): a chord that lets the
    // part sound brings them in at once.
    std::vector<NoteEntry> Muted;
    // The strikes of the listed notes per channel and key, as they go out.
    StrikeCounts Strikes;
    // When a chord chosen while playing is heard, and the chord of each
    // moment of what is queued.
    ChordChangeMode ChordChange = ChordChangeMode::AtOnce;
    ChordTimeline Chords;
    // The chunks queued that have not ended, oldest first, to queue again
    // from a chord change on.
    std::vector<ChunkMark> Chunks;
    // While a chunk is queued again from a chord change: what is stamped
    // before this is queued already, and only its effect on the lists is
    // taken again.
    double SendFromMs = kQueueEverything;

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
    Control Label1;    // "Tempo Modify"
    int HScroll1 = 0;  // tempo modification, -100..+100
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
    Control Lbl_LiveChord;    // the chord the left hand named last ("Am7"), beside the chord labels
    Control Lbl_LiveStatus;   // the input device's name, or why it is gone
    Control Cmd_Split;        // "Split": the next key played becomes the split point
    Control Cmd_ChordMode;    // single finger / fingered
    Control Cmd_ChordChange;  // when a chosen chord is heard (ChordChange); for every chord, not only played ones
    Control Cmd_Sync;         // sync start; coloured ColOn while armed
    Control Cmd_Tap;          // tap tempo
    Control Cmb_Voice;        // the right hand's voice; its tool tip names it
    bool SplitLearning = false;
    bool SyncArmed = false;
    // The right hand's channel (0-based) and where the cue carriers go: a
    // channel and key that no played note uses, so a carrier (a velocity-0
    // Note On) can never end a note the player holds.
    int VoiceChannel = 0;
    std::int16_t CarrierStatus = 144;
    std::int16_t CarrierKey = 36;
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
};

}  // namespace vornel
