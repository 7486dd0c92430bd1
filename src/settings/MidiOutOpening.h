#pragma once

#include <cstdint>

#include "platform/Dialogs.h"

namespace vornel {

class MIDIOutputComponent;

// The port message: the same text in both languages.
inline constexpr const char* kCannotOpenPortText = "Cannot open MIDI Output port";
inline constexpr const char* kCannotOpenPortTitle = "Open MIDI Output port";

// Closes the output port if it is open, then opens the device of device list
// position `listPosition` (device number listPosition - 1; position 0 is the
// built-in synthesizer, device -1). `MidiOutIndex` is the position the last
// OK applied; a negative one (nothing chosen) opens nothing. Returns 1 when
// nothing had to be opened or the port is open afterwards; 0 when a device at
// a position above 0 failed to open, after the port message was shown.
std::int16_t ApplyMidiOut(MIDIOutputComponent& output, Dialogs& dialogs, std::int16_t MidiOutIndex,
                          int listPosition);

// Selects the device of device list position `listPosition` and opens it; a
// negative position only closes. Failure shows only in PortIsOpen.
void OpenMidiOut(MIDIOutputComponent& output, int listPosition);

}  // namespace vornel
