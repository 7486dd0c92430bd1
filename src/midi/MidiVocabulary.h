#pragma once

// The words of MIDI that the program speaks: status kinds, channels,
// controllers, notes and pitch classes. Every file that reads or writes a
// message spells them from here, not as numbers of its own.

namespace vornel::midi {

// The kind of a channel message: its status with the channel taken out.
enum Kind : int {
    kNoteOff = 0x80,
    kNoteOn = 0x90,
    kPolyPressure = 0xA0,
    kControlChange = 0xB0,
    kProgramChange = 0xC0,
    kChannelPressure = 0xD0,
    kPitchBend = 0xE0,
};

inline constexpr int kSysEx = 0xF0;     // system exclusive, and the first system status
inline constexpr int kSysExEnd = 0xF7;  // its end, or a continued packet in a file
inline constexpr int kMeta = 0xFF;      // a file's meta event (never sent)
inline constexpr int kChannels = 16;
inline constexpr int kKeys = 128;
inline constexpr int kDataMax = 127;

constexpr int kindOf(int status) {
    return status & 0xF0;
}
constexpr int channelOf(int status) {
    return status & 0x0F;
}
constexpr int statusOf(int kind, int channel) {
    return (kind & 0xF0) | (channel & 0x0F);
}
constexpr bool isChannelMessage(int status) {
    return status >= kNoteOff && status < kSysEx;
}
// A Note On that sounds (velocity 0 is a note-off by another name).
constexpr bool isNoteOn(int status, int velocity) {
    return kindOf(status) == kNoteOn && velocity > 0;
}
// A Note Off, or a Note On of velocity 0: either ends a note.
constexpr bool isSwitchOff(int status, int velocity) {
    return kindOf(status) == kNoteOff || (kindOf(status) == kNoteOn && velocity == 0);
}
constexpr bool isControlChange(int status) {
    return kindOf(status) == kControlChange;
}
constexpr bool isProgramChange(int status) {
    return kindOf(status) == kProgramChange;
}
constexpr bool isDataByte(int value) {
    return value >= 0 && value <= kDataMax;
}

// A key's place in the octave, C = 0 .. B = 11, for any integer.
constexpr int pitchClass(int key) {
    return ((key % 12) + 12) % 12;
}

// Channel 10 (0-based 9): General MIDI's drum channel.
inline constexpr int kDrumChannel = 9;

// Controller numbers.
namespace cc {
inline constexpr int kBankSelectMsb = 0;
inline constexpr int kModulation = 1;
inline constexpr int kVolume = 7;
inline constexpr int kPan = 10;
inline constexpr int kExpression = 11;
inline constexpr int kBankSelectLsb = 32;
inline constexpr int kSustain = 64;
inline constexpr int kReverbSend = 91;
inline constexpr int kChorusSend = 93;
inline constexpr int kAllSoundOff = 120;
inline constexpr int kResetAllControllers = 121;
inline constexpr int kAllNotesOff = 123;
}  // namespace cc

// The pitch-bend wheel at rest: 8192, as data bytes 0 and 64.
inline constexpr int kBendCentreLsb = 0;
inline constexpr int kBendCentreMsb = 64;

}  // namespace vornel::midi
