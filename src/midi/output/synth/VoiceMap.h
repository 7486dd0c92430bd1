#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vornel {

// Which preset of the loaded SoundFont a channel plays for the bank and
// program a style asks for.
//
// Style files select voices by XG numbers (bank MSB 0 with a variation in the
// LSB, MSB 64 sound effects, MSB 126/127 kits) that no free SoundFont
// carries; left to FluidSynth, a missing bank falls to whatever it finds, at
// times nothing, at times another instrument. The map is built once from the
// SoundFont's preset list and answers every request with a preset the set
// has, by these rules (banks as FluidSynth numbers them: melodic 0..127, kits
// in 128; "family": the program's group of eight in General MIDI):
//
//   request                              SoundFont bank wanted
//   drum channel, or MSB 120..127        kit: 128:p, else 128:(p & ~7) (the kit's
//                                        group: standard, room, power, electronic,
//                                        jazz, brush, orchestra), else 128:0, else
//                                        the lowest kit, else the percussive
//                                        family's drums (116..118), else the rest
//                                        of that family, else none
//   MSB 64 (XG sound effects)            bank 0, program 120 + p / 16: XG's eight
//                                        groups of sixteen effects are GM's eight
//                                        effects in the same order (string noises,
//                                        breath, nature, animals, telephone and
//                                        doors, vehicles, people, weapons)
//   MSB 0, LSB n                         bank n (XG variation), else bank 0
//   MSB n (1..63), LSB 0                 bank n (GS variation), else bank 0
//   any other MSB/LSB (another maker's   bank 0
//   voice banks)
//
// and where the melodic bank wanted lacks the program: bank 0 of the program,
// then the lowest bank that has it, then the family's first program the set
// has (bank 0 first), then the lowest melodic preset at all (none in a set of
// kits only), so that a part never falls silent and keeps its family whenever
// the set has the family.
// Values outside 0..127 count as 0, the power-on value.
//
// A preset named "... Expr." plays only under a breath or expression
// controller that styles do not send (MuseScore General's banks 17 and 18 sit
// near -115 dBFS at the default controllers, against -39 dBFS for bank 0): it
// is never chosen while the set has anything else.
//
// Built on the thread that loads the SoundFont; choose() allocates nothing and
// takes no lock, for the audio thread.
class VoiceMap {
public:
    struct Preset {
        int bank = 0;  // kDrumBank: a kit
        int program = 0;
        std::string name;
    };
    struct Choice {
        int bank = -1;  // -1: the set has nothing fit to play
        int program = -1;
        bool found() const { return bank >= 0; }
        friend bool operator==(const Choice&, const Choice&) = default;
    };

    static constexpr int kDrumBank = 128;
    // FluidSynth's "xg" threshold, as DrumChannels keeps it.
    static constexpr int kFirstKitMsb = 120;
    static constexpr int kSfxMsb = 64;

    // Empty: every choice is not found.
    VoiceMap() = default;
    // Presets outside banks 0..128 or programs 0..127 are left out; of two with
    // the same bank and program the first counts.
    explicit VoiceMap(std::vector<Preset> presets);

    // Any thread, the audio thread included.
    Choice choose(int bankMsb, int bankLsb, int program, bool drumChannel) const noexcept;
    // The name of the set's preset at `c`; empty when it has none. Not for the
    // audio thread only because nothing there needs it.
    std::string_view nameOf(Choice c) const;
    std::size_t presetCount() const { return presets_.size(); }

private:
    struct Entry {
        std::int16_t bank = -1;
        std::uint8_t program = 0;
    };
    static constexpr int kRows = kDrumBank + 1;  // one per melodic bank wanted, then the kits
    static constexpr int kPrograms = 128;

    class Builder;

    std::vector<Preset> presets_;  // sorted by bank, then program
    std::vector<Entry> table_;     // kRows x kPrograms, filled when built
};

}  // namespace vornel
