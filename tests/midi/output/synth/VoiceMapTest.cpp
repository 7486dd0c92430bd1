#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "midi/output/synth/VoiceMap.h"

namespace vornel {
namespace {

using Choice = VoiceMap::Choice;
using Preset = VoiceMap::Preset;
constexpr int kKits = VoiceMap::kDrumBank;

std::vector<Preset> bank0() {
    std::vector<Preset> set;
    for (int p = 0; p < 128; ++p) set.push_back({0, p, "GM " + std::to_string(p)});
    return set;
}

// Shaped like MuseScore General: GM, a few GS variations, a controller-driven
// bank, and kits in groups of eight.
VoiceMap generalSet() {
    std::vector<Preset> set = bank0();
    set.push_back({8, 25, "12-String Guitar"});
    set.push_back({16, 25, "Mandolin"});
    set.push_back({8, 48, "Orchestral Pad"});
    set.push_back({17, 73, "Flute Expr."});
    for (int kit : {0, 1, 8, 16, 24, 25, 32, 40, 48}) set.push_back({kKits, kit, "Kit " + std::to_string(kit)});
    return VoiceMap(set);
}

struct Case {
    const char* what;
    int msb, lsb, program;
    bool drum;
    Choice want;
};

TEST(VoiceMap, ChoosesAPresetOfTheSetForEachKindOfRequest) {
    const VoiceMap map = generalSet();
    const std::vector<Case> cases = {
        {"no bank select", 0, 0, 25, false, {0, 25}},
        {"XG variation the set has", 0, 8, 25, false, {8, 25}},
        {"XG variation, another bank", 0, 16, 25, false, {16, 25}},
        {"GS variation", 8, 0, 48, false, {8, 48}},
        {"variation bank without the program", 0, 8, 26, false, {0, 26}},
        {"variation the set lacks", 0, 35, 25, false, {0, 25}},
        {"controller-driven preset", 0, 17, 73, false, {0, 73}},
        {"another maker's voice bank", 104, 2, 66, false, {0, 66}},
        {"GS MSB with an LSB", 8, 3, 25, false, {0, 25}},
        {"XG kit the set has", 127, 0, 25, false, {kKits, 25}},
        {"XG kit missing, its group's", 127, 0, 27, false, {kKits, 24}},
        {"XG kit, LSB ignored", 127, 5, 40, false, {kKits, 40}},
        {"XG kit of a group the set lacks", 127, 0, 56, false, {kKits, 0}},
        {"XG SFX kit", 126, 0, 0, false, {kKits, 0}},
        {"drum channel, no bank select", 0, 0, 32, true, {kKits, 32}},
        {"drum channel, melodic variation asked", 0, 8, 25, true, {kKits, 25}},
        {"MSB 121 is a kit, as FluidSynth reads it", 121, 0, 0, false, {kKits, 0}},
        {"XG SFX voice: string noises", 64, 0, 0, false, {0, 120}},
        {"XG SFX voice: nature", 64, 0, 33, false, {0, 122}},
        {"XG SFX voice: weapons", 64, 0, 127, false, {0, 127}},
        {"out of range MSB and LSB", 200, -1, 25, false, {0, 25}},
        {"out of range program", 0, 0, 128, false, {0, 0}},
        {"negative program on a drum channel", 0, 0, -3, true, {kKits, 0}},
    };
    for (const Case& c : cases) EXPECT_EQ(map.choose(c.msb, c.lsb, c.program, c.drum), c.want) << c.what;
    EXPECT_EQ(map.nameOf({8, 25}), "12-String Guitar");
    EXPECT_EQ(map.nameOf({3, 3}), "");
}

// What scripts/make-style.py writes: MSB 127 kits and MSB 0 voices.
TEST(VoiceMap, GeneratedStylesGetTheirOwnPrograms) {
    const VoiceMap map = generalSet();
    for (int kit : {0, 16, 25}) EXPECT_EQ(map.choose(127, 0, kit, false), (Choice{kKits, kit})) << kit;
    for (int p : {33, 34, 38, 0, 4, 5, 24, 25, 27, 48, 49, 89, 61, 62, 65, 56, 71, 73})
        EXPECT_EQ(map.choose(0, 0, p, false), (Choice{0, p})) << p;
}

// Over every request: something plays, a kit for drums, the family kept.
TEST(VoiceMap, NoRequestFallsSilentOrLeavesItsFamily) {
    std::vector<Preset> set;
    for (int p = 0; p < 128; p += 3) set.push_back({0, p, "GM"});  // a sparse set: not every program
    set.push_back({8, 25, "12-String Guitar"});
    set.push_back({kKits, 0, "Standard"});
    const VoiceMap map(set);
    for (int msb = 0; msb < 128; ++msb)
        for (int lsb = 0; lsb < 128; ++lsb)
            for (int p = 0; p < 128; ++p)
                for (bool drum : {false, true}) {
                    const Choice c = map.choose(msb, lsb, p, drum);
                    ASSERT_TRUE(c.found()) << msb << " " << lsb << " " << p;
                    if (drum || msb >= VoiceMap::kFirstKitMsb) {
                        ASSERT_EQ(c.bank, kKits) << msb << " " << p;
                    } else {
                        const int asked = msb == VoiceMap::kSfxMsb ? 120 + p / 16 : p;
                        ASSERT_EQ(c.program / 8, asked / 8) << msb << " " << lsb << " " << p;
                        ASSERT_FALSE(map.nameOf(c).empty());
                    }
                }
}

TEST(VoiceMap, SetsWithoutKitsOrWithoutTheFamilyStillSound) {
    const VoiceMap noKits(bank0());
    EXPECT_EQ(noKits.choose(127, 0, 25, false), (Choice{0, 116})) << "a drum of the percussive family";
    const VoiceMap piano({{0, 0, "Piano"}});
    EXPECT_EQ(piano.choose(0, 8, 25, false), (Choice{0, 0})) << "the set's one sound, not silence";
    EXPECT_FALSE(piano.choose(127, 0, 0, false).found()) << "drum notes on a piano would be wrong notes";
    const VoiceMap kitsOnly({{kKits, 0, "Standard"}});
    EXPECT_FALSE(kitsOnly.choose(0, 0, 0, false).found());
    EXPECT_FALSE(VoiceMap().choose(0, 0, 0, true).found());
}

TEST(VoiceMap, ASetOfThousandsOfPresetsIsIndexedWhole) {
    std::vector<Preset> set;
    for (int bank = 0; bank <= kKits; ++bank)
        for (int p = 0; p < 128; ++p) set.push_back({bank, p, "P"});
    set.push_back({0, 5, "a duplicate"});
    set.push_back({300, 1, "a bank beyond MIDI"});
    const VoiceMap map(set);
    EXPECT_EQ(map.presetCount(), 129u * 128u);
    EXPECT_EQ(map.choose(0, 100, 5, false), (Choice{100, 5}));
    EXPECT_EQ(map.choose(127, 0, 99, false), (Choice{kKits, 99}));
    EXPECT_EQ(map.nameOf({0, 5}), "P");
}

}  // namespace
}  // namespace vornel
