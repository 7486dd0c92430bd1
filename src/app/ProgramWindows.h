#pragma once

#include <string>
#include <vector>

#include "platform/Dialogs.h"
#include "platform/SettingsStore.h"
#include "platform/Timer.h"
#include "player/Player.h"
#include "settings/Language.h"
#include "settings/MIDISetupForm.h"
#include "style/StyleData.h"
#include "windows/AboutForm.h"
#include "windows/FileChooser.h"
#include "windows/HelpForm.h"
#include "windows/KeyMapForm.h"

namespace vornel {

class MidifileComponent;
class MIDIOutputComponent;
class MidiInputProvider;

// What the program's windows are made from: the two components, the screen,
// the settings store, the player's three timers, the folder the help
// documents sit in and the file chooser's drives.
struct ProgramParts {
    MidifileComponent& reader;
    MIDIOutputComponent& output;
    Dialogs& dialogs;
    SettingsStore& settings;
    Timer& timer1;
    Timer& timer2;
    Timer& timer3;
    std::string programFolder;
    std::vector<std::string> roots;
    HelpForm::DocumentReader helpReader = readRtfFile;
};

// Every window of the program as a model, created once and wired to each
// other: the player's commands open the other windows, their OK buttons bring
// the player back, and the setup window relabels them all. The Qt windows are
// put on top of these by main(); tests drive them directly.
class ProgramWindows {
public:
    explicit ProgramWindows(const ProgramParts& parts);
    ProgramWindows(const ProgramWindows&) = delete;
    ProgramWindows& operator=(const ProgramWindows&) = delete;

    // Start-up: the player window is created hidden, the file chooser goes to
    // where the user left it, and the setup window loads (which labels every
    // window in the stored language) and shows itself. Nothing else is on
    // screen until its OK.
    void start();

    // A MIDI keyboard: the setup window lists `inputs`, preselects the one
    // the player kept and has the player open the one its OK applies. Call
    // after the player's attachLive and before start().
    void attachInputs(MidiInputProvider& inputs);

    StyleData style;
    Language language;
    Player player;
    FileChooser chooser;
    HelpForm help;
    AboutForm about;
    KeyMapForm keyMap;
    MIDISetupForm setup;

private:
    SettingsStore& settings_;
};

}  // namespace vornel
