#include "support/EngineSession.h"

#include <algorithm>
#include <array>
#include <map>
#include <utility>

#include "midi/file/CasmTable.h"
#include "support/NoteLedger.h"
#include "support/PlayerRig.h"

namespace vornel::test {

std::uint32_t Choices::next() {
    // xorshift32: small, and the same sequence on every machine.
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
}

int Choices::pick(int lo, int hi) {
    if (hi <= lo) return lo;
    const auto span = static_cast<std::uint32_t>(hi - lo + 1);
    std::uint32_t r = 0;
    if (fromBytes_) {
        r = used_ < size_ ? data_[used_++] : 0;
        if (span > 256 && used_ < size_) r = (r << 8) | data_[used_++];
    } else {
        r = next();
    }
    return lo + static_cast<int>(r % span);
}

namespace {

constexpr int kResolution = 96;
constexpr std::uint32_t kTempo = 96000;  // 1 ms per tick
constexpr int kMsPerVelocity = 4;

struct Meter {
    int num, denExp;
};
constexpr std::array<Meter, 7> kMeters{{{3, 3}, {6, 3}, {7, 3}, {10, 3}, {4, 2}, {6, 2}, {3, 2}}};

struct Section {
    int button;  // part button index; part number button + 1
    int minBars, maxBars;
};
// Intro A, Main A, Fill In AA, Ending A, Main B.
constexpr std::array<Section, 5> kSections{{{0, 1, 2}, {1, 1, 4}, {2, 1, 1}, {3, 1, 3}, {6, 1, 2}}};

struct Event {
    int tick, order, mes, d1, d2;
};

// Notes whose written end is their velocity × 4 ms; pitched keys only from
// C, D, F, G and A, which the chord rule moves alike. One in four sessions
// lets notes of one channel and key overlap, as a part that strikes a key
// again before its note-off does.
std::vector<Event> generateNotes(Choices& c, int length) {
    std::vector<Event> events;
    std::map<std::pair<int, int>, std::vector<std::pair<int, int>>> taken;
    const bool overlapping = c.pick(0, 3) == 0;
    const int count = c.pick(1, 14);
    for (int i = 0; i < count * 3 && static_cast<int>(events.size()) < count * 2; ++i) {
        const int channel = c.pick(9, 16);
        static constexpr std::array<int, 5> kClasses{0, 2, 5, 7, 9};
        const int key = channel <= 10 ? c.pick(35, 83) : 12 * c.pick(3, 7) + kClasses[static_cast<std::size_t>(c.pick(0, 4))];
        const int tick = c.pick(0, length - 1);
        const int room = std::min(127, (length - tick) / kMsPerVelocity);
        if (room < 1) continue;
        const int velocity = c.pick(1, room);
        const int end = tick + velocity * kMsPerVelocity;
        auto& spans = taken[{channel, key}];
        const bool overlaps =
            std::any_of(spans.begin(), spans.end(), [&](auto s) { return tick < s.second && s.first < end; });
        if (overlaps && !overlapping) continue;
        spans.push_back({tick, end});
        const int on = 0x90 + channel - 1;
        const bool noteOff = c.pick(0, 1) == 1;
        events.push_back({tick, c.pick(0, 9), on, key, velocity});
        events.push_back({end, c.pick(0, 9), noteOff ? on - 0x10 : on, key, noteOff ? 64 : 0});
    }
    // Time order; within a tick a random order, so a note ending where
    // another starts on its key is stored either way round.
    std::stable_sort(events.begin(), events.end(),
                     [](const Event& a, const Event& b) { return a.tick != b.tick ? a.tick < b.tick : a.order < b.order; });
    return events;
}

class Session {
public:
    explicit Session(Choices& c) : c_(c) {}

    SessionReport run(int steps) {
        const Meter meter = kMeters[static_cast<std::size_t>(c_.pick(0, kMeters.size() - 1))];
        rig_.loadTiming(kResolution, meter.num, meter.denExp, kTempo);
        report_.script += "meter " + std::to_string(meter.num) + "/" + std::to_string(1 << meter.denExp) + "\n";
        const int bar = kResolution * 4 * meter.num >> meter.denExp;
        std::int32_t start = 0;
        for (const Section& sec : kSections) {
            int length = bar * c_.pick(sec.minBars, sec.maxBars);
            if (sec.button == 1 && c_.pick(0, 3) == 0) length += bar / 2;  // a part of fractional length
            store(sec.button + 1, start, length, generateNotes(c_, length));
            start += length;
        }
        if (c_.pick(0, 1) == 1) channelTable();
        static constexpr std::array<ChordChangeMode, 3> kModes{ChordChangeMode::AtOnce, ChordChangeMode::NextBeat,
                                                               ChordChangeMode::NextBarLine};
        const int mode = c_.pick(0, 2);
        rig_.player.state().engine.ChordChange = kModes[static_cast<std::size_t>(mode)];
        report_.script += "chord change mode " + std::to_string(mode) + "\n";
        player_.Cmd_Part_Click(1);

        for (int i = 0; i < steps; ++i) step();
        runFor(12000);  // an ending picked last plays out
        const double endMs = rig_.clock.nowMs();
        player_.Cmd_Stop_Click();
        const auto sent = rig_.ports.log->snapshot();
        report_.faults = noteLifecycleFaults(
            sent, [](const SentMessage& on) { return on.atMs + on.message.data2 * kMsPerVelocity; }, endMs);
        for (const SentMessage& m : sent)
            if ((m.message.status & 0xF0) == 0x90 && m.message.data2 > 0) ++report_.notesPlayed;
        return report_;
    }

private:
    void store(int part, std::int32_t start, int length, const std::vector<Event>& events) {
        rig_.storePart(part, start, start + length, [&](StyleData& style, int p) {
            for (const Event& e : events)
                style.storeEvent(p, static_cast<std::int16_t>(e.mes), static_cast<std::int16_t>(e.d1),
                                 static_cast<std::int16_t>(e.d2), e.tick, "", "");
        });
        report_.script += "part " + std::to_string(part) + ": " + std::to_string(length) + " ticks, " +
                          std::to_string(events.size()) + " events\n";
    }

    // Half the sessions play by a channel table: every channel a record of
    // its own, muted under major or minor chords or never, following the
    // root or fixed, and stopping or striking its held notes again at a
    // chord change. (A table that moves notes by chord type, or to the root,
    // can put two notes on one key, as a real instrument does; the ledger
    // could not tell them apart.)
    void channelTable() {
        static constexpr std::array<std::uint64_t, 3> kMasks{(std::uint64_t{1} << 34) - 1, 0x3FFFFFFFFull & ~0x7FF00ull,
                                                            0x7FF00ull};
        static constexpr std::array<int, 3> kRtr{0, 1, 3};
        CasmSegment segment{{"Intro A", "Main A", "Fill In AA", "Ending A", "Main B"}, {}};
        for (int source = 8; source < 16; ++source) {
            ChannelRecord r;
            r.sourceChannel = static_cast<std::uint8_t>(source);
            r.destination = static_cast<std::uint8_t>(source);
            r.chordMask = kMasks[static_cast<std::size_t>(c_.pick(0, 2))];
            r.blocks[1].ntr = static_cast<std::uint8_t>(c_.pick(0, 1));
            r.blocks[1].rtr = static_cast<std::uint8_t>(kRtr[static_cast<std::size_t>(c_.pick(0, 2))]);
            segment.records.push_back(r);
        }
        rig_.style.channels.fill(CasmTable{{segment}});
        report_.script += "channel table\n";
    }

    void runFor(int ms) {
        const double until = rig_.clock.nowMs() + ms;
        while (rig_.clock.nowMs() < until) {
            rig_.clock.advance(1.0);
            rig_.output.pump();
            ui_.drain();
        }
    }

    void step() {
        const int what = c_.pick(0, 9);
        std::string line = std::to_string(rig_.clock.nowMs()) + " ms: ";
        if (what <= 3) {
            const int ms = c_.pick(1, 2500);
            line += "run " + std::to_string(ms);
            runFor(ms);
        } else if (what <= 5) {
            const int chord = c_.pick(0, 23);
            line += "chord " + std::to_string(chord);
            player_.Lbl_Chord_Click(chord);
            if (c_.pick(0, 3) == 0) {  // a second chord soon after, as a hand that corrects itself
                const int ms = c_.pick(1, 40);
                runFor(ms);
                const int second = c_.pick(0, 23);
                line += ", " + std::to_string(ms) + " ms later chord " + std::to_string(second);
                player_.Lbl_Chord_Click(second);
            }
        } else if (what <= 7) {
            const int button = kSections[static_cast<std::size_t>(c_.pick(0, kSections.size() - 1))].button;
            line += "part button " + std::to_string(button);
            player_.Cmd_Part_Click(button);
        } else if (what == 8) {
            const bool panic = c_.pick(0, 1) == 0;
            line += panic ? "panic" : "stop";
            if (panic)
                player_.Cmd_Panic_Click();
            else
                player_.Cmd_Stop_Click();
        } else {
            line += "play";
            player_.Cmd_Play_Click();
        }
        report_.script += line + "\n";
    }

    Choices& c_;
    QueueDispatcher ui_;
    PlayerRig rig_{ui_};
    Player& player_ = rig_.player;
    SessionReport report_;
};

}  // namespace

SessionReport playRandomSession(Choices& choices, int steps) {
    Session session(choices);
    return session.run(steps);
}

}  // namespace vornel::test
