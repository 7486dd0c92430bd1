#pragma once

#include <string>

#include "midi/MasterVolume.h"
#include "playback/ChordTimeline.h"
#include "player/ChordRecognition.h"

namespace vornel {

class SettingsStore;
class MidiInputProvider;

// What the player keeps of the MIDI keyboard between runs, in section "Setup"
// of the store, beside the output device.
struct LiveInputSettings {
    // The F sharp below middle C: the left hand's five fingers from there down
    // cover every chord shape, and the right hand keeps middle C.
    static constexpr int kDefaultSplit = 54;

    int device = -1;  // position in the system's input list; -1: none
    std::string deviceName;
    int split = kDefaultSplit;  // the lowest key of the right hand
    // Fingered by default: someone who brings a MIDI keyboard plays real chords.
    ChordMode mode = ChordMode::Fingered;
    int voice = 0;  // General MIDI program 0..127; 0 the acoustic grand piano
    // Kept here although it serves the computer keyboard and the mouse too:
    // it is part of how the player plays chords live. At once by default:
    // the accompaniment answers the hand without a wait.
    ChordChangeMode chordChange = ChordChangeMode::AtOnce;
    // Kept here for the same reason: the player's one level for everything
    // it plays, 0..127 (midi::masterVolumeSysEx).
    int masterVolume = midi::kDefaultMasterVolume;
    // Off by default: a Main part chosen while playing is taken straight, as
    // it always was, until the player asks for the fill first.
    bool autoFill = false;

    // A missing or malformed entry reads as its default.
    static LiveInputSettings load(const SettingsStore& store);
    void save(SettingsStore& store) const;
    // The device to open now: the stored position if it still carries the
    // stored name, else the port of that name wherever it moved, else none.
    int findDevice(MidiInputProvider& inputs) const;
};

}  // namespace vornel
