#pragma once

#include <string>

namespace vornel {

// Texts the player's status line and the no-audio message add to the
// program's own text table, one per language like the table's. They are kept
// beside the table rather than in it: the table's entries are numbered and
// other windows address them by number.
enum class StatusText {
    Device,          // "Device: " before the open device's name
    BuiltInSynth,    // the name of device list position 0
    NoSoundBuiltIn,  // the built-in synthesizer could not start
    NoSoundPort,     // a port could not be opened; {name} is its name
    NotMidi,
    Unreadable,
    DamagedAfter,  // {section} is the last section read
    DamagedNoSection,
    NoAudioMessage,  // the message box of the setup window's OK
    Bpm,             // unit after the tempo readout's beats per minute
};

// The text in language `lang` (0 Turkish, 1 English; any other reads as
// English, which every user of a third language can at least look up).
const std::string& statusText(int lang, StatusText which);

// `text` with its one "{name}" or "{section}" placeholder replaced by `value`.
std::string fillPlaceholder(const std::string& text, const std::string& value);

}  // namespace vornel
