#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace vornel {

// How a source channel's notes follow the chord: one block of a channel
// record (SFF1 Ctab has one, SFF2 Ctb2 three, for notes below, inside and
// above its middle range).
struct TranspositionBlock {
    static constexpr std::uint8_t kRootTrans = 0;
    static constexpr std::uint8_t kRootFixed = 1;
    static constexpr std::uint8_t kGuitar = 2;
    static constexpr std::uint8_t kBassOn = 0x80;

    // The note transposition tables, NTT without its Bass On bit.
    enum Table : std::uint8_t {
        kBypass = 0,
        kMelody = 1,
        kChord = 2,
        kMelodicMinor = 3,
        kMelodicMinor5th = 4,
        kHarmonicMinor = 5,
        kHarmonicMinor5th = 6,
        kNaturalMinor = 7,
        kNaturalMinor5th = 8,
        kDorian = 9,
        kDorian5th = 10,
    };
    // What a sounding note does when the chord changes (RTR).
    enum Retrigger : std::uint8_t {
        kStop = 0,
        kPitchShift = 1,
        kPitchShiftToRoot = 2,
        kRetrigger = 3,
        kRetriggerToRoot = 4,
        kNoteGenerator = 5,
    };

    std::uint8_t ntr = kRootTrans;
    // Always in the SFF2 numbering (0 Bypass .. 10 Dorian 5th Var.); bit 7 is
    // Bass On. SFF1 tables are converted when read.
    std::uint8_t ntt = 0;
    std::uint8_t highKey = 11;  // pitch class 0..11
    std::uint8_t lowLimit = 0;
    std::uint8_t highLimit = 127;
    std::uint8_t rtr = kPitchShift;  // a Retrigger rule

    std::uint8_t table() const { return ntt & 0x7F; }
    bool bassOn() const { return (ntt & kBassOn) != 0; }
    friend bool operator==(const TranspositionBlock&, const TranspositionBlock&) = default;
};

// One record of a style's channel table: what one source channel of the
// file's track does in the sections of its CSEG. Every value has been checked
// when read, so the ranges in the comments hold.
struct ChannelRecord {
    std::uint8_t sourceChannel = 0;              // 0..15
    std::string name;                            // trailing spaces dropped; unprintable bytes as '?'
    std::uint8_t destination = 8;                // 8..15: channels 9..16, the accompaniment parts
    std::uint16_t noteMask = 0x0FFF;             // bit n: plays when the chord root is pitch class n
    std::uint64_t chordMask = 0;                 // bit n: plays under chord type n (0..33); bit 34 auto-start
    std::uint8_t sourceRoot = 0;                 // 0..11, the chord the pattern was written over
    std::uint8_t sourceType = 2;                 // 0..33
    std::uint8_t middleLow = 0;                  // notes below use blocks[0]
    std::uint8_t middleHigh = 127;               // notes above use blocks[2]
    std::array<TranspositionBlock, 3> blocks{};  // low, middle, high
    bool sff2 = false;                           // read from a Ctb2 record
    bool hasBreakDrum = false;                   // the special feature: one extra drum note at a break
    std::uint8_t breakDrumNote = 0;
    std::uint8_t breakDrumVolume = 0;

    static constexpr int kAutoStartBit = 34;

    // The block that applies to a note as written in the source channel.
    const TranspositionBlock& blockFor(int note) const {
        if (note < middleLow) return blocks[0];
        if (note > middleHigh) return blocks[2];
        return blocks[1];
    }
    bool autoStart() const { return ((chordMask >> kAutoStartBit) & 1u) != 0; }
};

}  // namespace vornel
