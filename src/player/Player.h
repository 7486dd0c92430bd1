#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "player/ChordRecognition.h"
#include "player/LiveInputSettings.h"
#include "player/PlayerLabels.h"
#include "player/PlayerState.h"
#include "settings/TextTable.h"

namespace vornel {

class Clock;
class LiveInput;
class MidiInputProvider;
class SettingsStore;

// The player window as a presentation model: it owns the window's state and
// answers every click, key and timer tick with the handler of that name. The
// Qt window draws `state()` and forwards input here; it never decides
// anything itself.
class Player {
public:
    // Windows the command bar opens; set by whoever owns those windows. A
    // command whose window does not exist leaves the player window in view.
    struct Windows {
        std::function<void()> showFileChooser;  // Open
        std::function<void()> showSettings;     // Settings
        std::function<void()> showKeyMap;       // Key map
        std::function<void()> showAbout;        // About
        std::function<void()> showHelp;         // Help
    };

    Player(MidifileComponent& reader, MIDIOutputComponent& output, StyleData& style, const Language& language,
           Dialogs& dialogs, Timer& timer1, Timer& timer2, Timer& timer3);
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    PlayerState& state() { return s_; }
    const PlayerState& state() const { return s_; }
    Windows windows;

    // Creation: colours, key colours, no style, full meters; wires the
    // component's events and the timers' ticks to their handlers.
    void Form_Load();
    // The user closes the window; returns Cancel (true keeps it open).
    bool Form_Unload();
    void Cmd_Exit_Click();

    // Command bar.
    void Cmd_Open_Click();
    void Cmd_Settings_Click();
    void mnuMap_Click();
    void Cmd_About_Click();
    void Cmd_Help_Click();
    void Cmd_Play_Click();
    void Cmd_Stop_Click();
    void Cmd_Panic_Click();

    // Style frame.
    void Cmd_Part_Click(int Index);

    // Chords and the keyboard. Shift: 1 Shift, 2 Ctrl, 4 Alt; KeyCode is the
    // Windows virtual-key code of the physical key (65 'A' .. 120 F9).
    void Lbl_Chord_Click(int Index);
    void Picture1_KeyDown(int KeyCode, int Shift);

    // Channel panel.
    void Cmd_DisCh_Click(int Index);
    void Command1_Click();
    void HScroll1_Change(int value);
    void HScroll1_Scroll(int value);
    void Label1_Click();
    void ShowVUMeter(int VNo, int Vel);

    // Timers.
    void Timer1_Timer();
    void Timer2_Timer();
    void Timer3_Timer();

    // Loading, called by the file chooser's OK.
    void LoadFile(const std::string& CdFL);

    // Texts of language `lang` of `table` (relabelPlayer).
    void relabel(const TextTable& table, int lang) {
        relabelPlayer(s_, table, lang);
        labelLive(table, lang);
    }

    // ---- A MIDI keyboard (PlayerLiveInput.cpp) ----
    // Gives the window the keyboard's input path, the store of its settings
    // and the clock taps are timed on; applies the stored settings. Without
    // it the keyboard's handlers below do nothing.
    void attachLive(LiveInput& input, SettingsStore& store, const Clock& clock);
    // Opens input device `device` of `inputs` (-1: none) and stores the
    // choice; a device that cannot be opened gets a message and none is used.
    bool openLiveInput(MidiInputProvider& inputs, int device);
    const LiveInputSettings& liveSettings() const { return live_; }
    // The left hand named a chord: as a click on its chord label.
    void liveChord(const RecognisedChord& chord);
    void liveSplitKey(int key);
    void liveLost();
    void Cmd_Split_Click();
    void Cmd_ChordMode_Click();
    // Chord change: at once, then next beat, then next bar line, and round
    // again; for the next chord chosen.
    void Cmd_ChordChange_Click();
    void Cmd_Sync_Click();
    // Auto fill on or off (AutoFill.h); stored.
    void Cmd_AutoFill_Click();
    void Cmd_Tap_Click();
    void setVoice(int program);

    // ---- The master volume (PlayerMasterVolume.cpp) ----
    // A new value of its scroll bar (Page Up / Page Down step it): sent at
    // once as a Master Volume message, shown and stored.
    void Scr_Master_Change(int value);
    void Lbl_Master_Click();

    // The setup window's OK has opened, or failed to open, the output device.
    // The new device gets the master volume.
    void deviceApplied(const DeviceReport& report);

    // Show and hide the window (its state and playback do not change).
    void Show() { s_.window.visible = true; }
    void Hide() { s_.window.visible = false; }

private:
    // Asks whether to end the program; true for Yes.
    bool askToEnd();
    // The right hand's channel and the carriers' channel and key for the
    // loaded style; whether the whole keyboard is the right hand.
    void applyLiveChannels();
    // Sync start: the chord just chosen starts Play when it is armed.
    void syncStart();
    void chooseChord(int Index, int type);
    // The name of chord label `Index` ("C", "F#m").
    static std::string labelChordName(int Index);
    // The keyboard controls' captions in language `lang` of `table`.
    void labelLive(const TextTable& table, int lang);
    // To whatever plays: after a style's set-up messages, which may carry a
    // master volume of their own, and to a newly opened device.
    void sendMasterVolume();
    // A MIDI keyboard's text in the current language.
    const std::string& liveText(KeyboardText entry) const;
    bool styleLoaded() const { return s_.Cmd_Play.enabled || s_.Cmd_Stop.enabled; }
    PlayerState s_;
    LiveInput* input_ = nullptr;
    SettingsStore* store_ = nullptr;
    const Clock* clock_ = nullptr;
    LiveInputSettings live_;
};

}  // namespace vornel
