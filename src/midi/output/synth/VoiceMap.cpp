#include "midi/output/synth/VoiceMap.h"

#include <algorithm>
#include <array>

namespace vornel {

namespace {

constexpr int kMelodicBanks = 128;
constexpr int kPercussive = 112;  // GM's percussive family: 112..119
constexpr int kTaiko = 116;       // its drums: Taiko, Melodic Tom, Synth Drum
constexpr int kFirstEffect = 120;

bool controllerDriven(std::string_view name) {
    while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
    return name.ends_with("Expr.") || name.ends_with("Expr");
}

int midiValue(int v) {
    return v >= 0 && v <= 127 ? v : 0;
}

}  // namespace

// Which (bank, program) pairs the set has, and has fit to play.
class VoiceMap::Builder {
public:
    explicit Builder(const std::vector<Preset>& presets) {
        for (const Preset& p : presets) {
            const std::size_t i = index(p.bank, p.program);
            present_[i] = true;
            playable_[i] = !controllerDriven(p.name);
        }
    }

    bool playable(int bank, int program) const { return playable_[index(bank, program)]; }

    // The lowest melodic bank with a playable `program`; -1 if none.
    int lowestBankOf(int program) const {
        for (int b = 0; b < kMelodicBanks; ++b)
            if (playable(b, program)) return b;
        return -1;
    }

    // The first of programs first..last the set plays, bank 0 preferred.
    Entry anyOf(int first, int last) const {
        for (int q = first; q <= last; ++q)
            if (playable(0, q)) return at(0, q);
        for (int q = first; q <= last; ++q)
            if (const int b = lowestBankOf(q); b >= 0) return at(b, q);
        return {};
    }

    // What a melodic request for `program` falls back to when its own bank
    // lacks it: the same for every bank asked for.
    Entry melodicFallback(int program) const {
        if (playable(0, program)) return at(0, program);
        if (const int b = lowestBankOf(program); b >= 0) return at(b, program);
        const int family = program & ~7;
        if (const Entry e = anyOf(family, family + 7); e.bank >= 0) return e;
        if (const Entry e = anyOf(0, kPrograms - 1); e.bank >= 0) return e;
        // Nothing but controller-driven presets: better faint than nothing.
        for (int b = 0; b < kMelodicBanks; ++b)
            for (int q = 0; q < kPrograms; ++q)
                if (present_[index(b, q)]) return at(b, q);
        return {};
    }

    Entry kit(int program) const {
        for (const int q : {program, program & ~7, 0})
            if (playable(kDrumBank, q)) return at(kDrumBank, q);
        for (int q = 0; q < kPrograms; ++q)
            if (playable(kDrumBank, q)) return at(kDrumBank, q);
        if (const Entry e = anyOf(kTaiko, kTaiko + 2); e.bank >= 0) return e;
        return anyOf(kPercussive, kPercussive + 7);
    }

    static Entry at(int bank, int program) {
        return {static_cast<std::int16_t>(bank), static_cast<std::uint8_t>(program)};
    }

private:
    static std::size_t index(int bank, int program) { return static_cast<std::size_t>(bank * kPrograms + program); }

    std::vector<bool> present_ = std::vector<bool>(kRows * kPrograms);
    std::vector<bool> playable_ = std::vector<bool>(kRows * kPrograms);
};

VoiceMap::VoiceMap(std::vector<Preset> presets) {
    std::erase_if(presets, [](const Preset& p) {
        return p.bank < 0 || p.bank > kDrumBank || p.program < 0 || p.program >= kPrograms;
    });
    const auto order = [](const Preset& a, const Preset& b) {
        return a.bank != b.bank ? a.bank < b.bank : a.program < b.program;
    };
    std::stable_sort(presets.begin(), presets.end(), order);
    const auto same = [](const Preset& a, const Preset& b) { return a.bank == b.bank && a.program == b.program; };
    presets.erase(std::unique(presets.begin(), presets.end(), same), presets.end());
    presets_ = std::move(presets);

    const Builder set(presets_);
    std::array<Entry, kPrograms> fallback;
    for (int p = 0; p < kPrograms; ++p) fallback[p] = set.melodicFallback(p);
    table_.resize(kRows * kPrograms);
    for (int bank = 0; bank < kMelodicBanks; ++bank)
        for (int p = 0; p < kPrograms; ++p)
            table_[bank * kPrograms + p] = set.playable(bank, p) ? Builder::at(bank, p) : fallback[p];
    for (int p = 0; p < kPrograms; ++p) table_[kDrumBank * kPrograms + p] = set.kit(p);
}

VoiceMap::Choice VoiceMap::choose(int bankMsb, int bankLsb, int program, bool drumChannel) const noexcept {
    if (table_.empty()) return {};
    const int msb = midiValue(bankMsb), lsb = midiValue(bankLsb);
    int p = midiValue(program);
    int row = 0;
    if (drumChannel || msb >= kFirstKitMsb) {
        row = kDrumBank;
    } else if (msb == kSfxMsb) {
        p = kFirstEffect + p / 16;
    } else if (msb == 0) {
        row = lsb;
    } else if (lsb == 0 && msb < kSfxMsb) {
        row = msb;
    }
    const Entry e = table_[static_cast<std::size_t>(row * kPrograms + p)];
    if (e.bank < 0) return {};
    return {e.bank, e.program};
}

std::string_view VoiceMap::nameOf(Choice c) const {
    const auto it = std::lower_bound(presets_.begin(), presets_.end(), c, [](const Preset& p, const Choice& k) {
        return p.bank != k.bank ? p.bank < k.bank : p.program < k.program;
    });
    if (it == presets_.end() || it->bank != c.bank || it->program != c.program) return {};
    return it->name;
}

}  // namespace vornel
