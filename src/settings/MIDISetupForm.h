#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/Control.h"
#include "platform/Dialogs.h"
#include "platform/SettingsStore.h"
#include "settings/Language.h"

namespace vornel {

class MIDIOutputComponent;
class MidiInputProvider;

// A drop-down list as the setup window keeps it. ListIndex -1: no selection.
struct ComboList {
    Control control;
    std::vector<std::string> entries;
    int ListIndex = -1;
};

// The setup window MIDISetupForm as a presentation model: the language list,
// the output device list, the MIDI keyboard's input list, OK and Exit. It owns the language (text table and
// LangNo) in the sense that it fills the table and is the only one to change
// the language; every other window is relabelled through `relabellers`.
// The Qt window mirrors these records and forwards input to the handlers of
// the same names.
class MIDISetupForm {
public:
    // Where the choices are stored.
    static constexpr const char* kSection = "Setup";
    static constexpr const char* kLangKey = "Lang";
    static constexpr const char* kDevKey = "Dev";
    static constexpr std::size_t kLanguageCount = 2;

    // The language the last choice stored: 0 Turkish or 1 English; -1 when
    // none is stored.
    static int storedLanguage(const SettingsStore& settings);

    // The window is created hidden, with its Turkish texts and the two fixed
    // language entries; the device list stays empty until Form_Load.
    MIDISetupForm(Language& language, SettingsStore& settings, MIDIOutputComponent& output,
                  Dialogs& dialogs);
    MIDISetupForm(const MIDISetupForm&) = delete;
    MIDISetupForm& operator=(const MIDISetupForm&) = delete;

    // Controls.
    Control window;  // caption = title
    Control Label1;
    ComboList Combo1;  // language list
    Control Label2;
    ComboList ComboMidiOut;  // device list: position p is device number p - 1
    Control Label3;
    ComboList ComboMidiIn;  // input list: "none", then input device p - 1 at position p
    Control CmdOk;
    Control CmdCancel;

    // What the last OK applied: the device list entry's text and position.
    std::string MidiOutName;
    std::int16_t MidiOutIndex = 0;
    // The input list position the last OK left open; 0 (none) until then.
    std::int16_t MidiInIndex = 0;

    // How many times the window has been loaded. The window on screen centres
    // itself when it is first shown after a load, and only then.
    int loads = 0;

    // Collaborators, set by the owner; an unset one is skipped.
    // Every other window's relabelling, in the order added: each gets the
    // text table and the language number 0 or 1.
    std::vector<std::function<void(const TextTable&, int lang)>> relabellers;
    std::function<void()> prepareHelp;              // help document of the current language
    std::function<void()> showPlayer;               // shows the player window
    // What SetUp opened: the device list position, its entry's text and
    // whether the port is open now.
    std::function<void(int position, const std::string& name, bool open)> deviceApplied;
    // The MIDI keyboard: the input devices to list (none listed while unset),
    // the device the player keeps from the last run (-1: none), and opening
    // the device OK chose (-1: none), true when it is open.
    MidiInputProvider* inputs = nullptr;
    std::function<int()> storedInput;
    std::function<bool(int device)> inputApplied;

    // Loading: builds the device list, selects the stored language (which
    // stores and applies it) and the stored device, fills the text table and
    // applies the language again. Does not show the window.
    void Form_Load();

    // The language list: a choice stores and applies the language at once.
    // A position outside the list runs nothing.
    void Combo1_Click(int position);
    void Combo1_Scroll(int position);
    // The device list: only the selection changes until OK.
    void ComboMidiOut_Click(int position);
    // The input list, likewise.
    void ComboMidiIn_Click(int position);

    // OK: stores both choices, then SetUp.
    void CmdOk_Click();
    // Applies the chosen device, then the chosen input (a device that does
    // not open leaves the list at "none"), hides this window, prepares the
    // help document and shows the player window.
    void SetUp();
    // Exit: ends the program, nothing stored; at once at the first start,
    // after a Yes once the player is shown.
    void CmdCancel_Click();
    // Closing through the window frame, or Escape: Exit at the first start;
    // once an OK has shown the player, Cancel (BackToPlayer).
    void Form_QueryUnload();
    // Leaves the window without applying anything: the device and input
    // lists go back to what the last OK applied, and the player window comes
    // back.
    void BackToPlayer();
    // True once an OK has run: the player window exists on screen.
    bool playerShown() const { return setUpRuns_ > 0; }

    // Relabels this window and every window in `relabellers` in the stored
    // language (LangNo when none is stored).
    void SetTheLang();
    // Fills the text table.
    void SetTheLangsQuery();

    void Show() { window.visible = true; }
    void Hide() { window.visible = false; }

private:
    void buildDeviceList();
    void buildInputList();
    void applyInput();
    void relabel(int lang);

    Language& language_;
    SettingsStore& settings_;
    MIDIOutputComponent& output_;
    Dialogs& dialogs_;
    int setUpRuns_ = 0;
    bool noAudioTold_ = false;
};

}  // namespace vornel
