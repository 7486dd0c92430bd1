#pragma once

#include <string>

namespace vornel {

class MidifileComponent;

enum class StyleFileState { Whole, Unreadable, NotMidi, Truncated };

// Looks at a file's framing only: a Standard MIDI File starts with an "MThd"
// chunk, and the chunks up to its last declared track must fit in the file. A
// chunk that runs past the end, or a track missing at the end, means the file
// was cut short (a broken download or copy).
StyleFileState checkStyleFile(const std::string& path);

// The section name of the last section marker in track 1 of the file the
// reader holds ("Main B"); empty when there is none.
std::string lastSectionMarker(MidifileComponent& file);

}  // namespace vornel
