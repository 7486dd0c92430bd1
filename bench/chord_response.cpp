// Chord response: how soon after a chord is chosen does the built-in
// synthesizer play it, and does anything of the old chord sound after that?
//
// The whole player model (Player, the output component, FluidSynthPort) plays a
// generated one-bar Main part (4/4, 1,920 ticks per quarter: a bass on each
// beat, a triad on every eighth, a pad held through the bar, so that something
// sounds at every moment) into the built-in synthesizer, rendered offline at
// 44.1 kHz in audio periods of 64, 256 and 1024 frames, at 60, 120 and
// 200 bpm, for each way of taking a chord: AtOnce, NextBeat, and NextBarLine
// (the old rule, the anchor). From bar 2 on two chords a bar are chosen, one in
// each half at phases spread over it, each a semitone above the one before.
// A chord is chosen between two audio periods at its own moment on the
// render's clock, and the component is pumped at once, as its scheduling
// thread would wake.
//
// Every stored note has a velocity of its own, which the chord rule leaves
// alone, so each note the synthesizer starts tells the chord it was played
// under (its key minus the stored key). From the frame the synthesizer reports
// for each message (FluidSynthPort::takeAppliedAt), one line per mode, tempo
// and period:
//  - heard: chords played before the next one was chosen (the old rule skips
//    a chord that another replaces before its bar line);
//  - delay: from the moment the chord was chosen to the first frame at which
//    a note of it takes effect in the synthesizer: median, 90th percentile and
//    max, in ms, over the chords heard;
//  - in new: of the notes started in the periods rendered after the choice
//    (the period playing at that moment is made already) until the next
//    choice, the share played in the chosen chord. AtOnce: 100 %. NextBeat
//    plays the old chord up to the beat, NextBarLine up to the bar line;
//  - held: notes of another chord still sounding at the frame the chosen one
//    is first heard, counting the keys the synthesizer releases itself when
//    queued notes it has already struck are taken back (0 expected).
// The engine's promise for AtOnce: a delay of at most one audio period plus one
// 64-frame block (2.9, 7.3 and 24.7 ms at the three periods); "bound" says
// whether every AtOnce chord kept it. A benchmark, not a test: it prints its
// figures and exits 0 unless it cannot run. With -v it names the first notes
// AtOnce played in another chord and the notes held over, when there are any.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "midi/file/Midifile.h"
#include "midi/output/MIDIOutput.h"
#include "midi/output/synth/FluidLog.h"
#include "midi/output/synth/FluidSynthPort.h"
#include "midi/output/synth/OfflineRender.h"
#include "midi/output/synth/SoundFontLocator.h"
#include "platform/Clock.h"
#include "platform/Dispatcher.h"
#include "platform/Timer.h"
#include "player/Player.h"
#include "settings/Language.h"
#include "style/StyleData.h"
#include "support/RecordingDialogs.h"
#include "support/SmfBuilder.h"

using namespace vornel;

namespace {

constexpr double kRate = 44100.0;
constexpr int kBlock = 64;  // FluidSynth's block
constexpr int kResolution = 1920;
constexpr int kBarTicks = kResolution * 4;
constexpr int kBars = 32;  // with chords; one bar before them and two after
constexpr int kMainPart = 2;

constexpr int kBass = 10;  // MIDI channels 11, 12 and 14
constexpr int kChordChannel = 11;
constexpr int kPad = 13;

// The stored notes (over C major), each with the velocity that names it.
struct Voice {
    int channel, key, velocity;
};
constexpr std::array<Voice, 7> kVoices{{
    {kBass, 36, 100},
    {kChordChannel, 60, 80},
    {kChordChannel, 64, 81},
    {kChordChannel, 67, 82},
    {kPad, 72, 60},
    {kPad, 76, 61},
    {kPad, 79, 62},
}};

// The root (0..11) of the chord a started note was played under, or -1 for
// a note no voice stores.
int rootOf(int channel, int key, int velocity) {
    for (const Voice& v : kVoices)
        if (v.channel == channel && v.velocity == velocity) return ((key - v.key) % 12 + 12) % 12;
    return -1;
}

void storeMain(StyleData& style) {
    struct Ev {
        int tick, status, key, velocity;
    };
    std::vector<Ev> evs;
    const auto note = [&](const Voice& v, int on, int length) {
        evs.push_back({on, 0x90 | v.channel, v.key, v.velocity});
        evs.push_back({on + length, 0x80 | v.channel, v.key, 0});
    };
    for (int beat = 0; beat < 4; ++beat) note(kVoices[0], beat * kResolution, kResolution * 3 / 4);
    for (int eighth = 0; eighth < 8; ++eighth)
        for (int i = 1; i <= 3; ++i) note(kVoices[i], eighth * kResolution / 2, kResolution * 3 / 8);
    // The pad's ending falls on the bar line, where the next pass ends it: no
    // rest anywhere, so a chord chosen at any moment has notes to move.
    for (int i = 4; i <= 6; ++i) note(kVoices[i], 0, kBarTicks);
    // Within a tick the endings first, as a style file writes them.
    std::stable_sort(evs.begin(), evs.end(), [](const Ev& a, const Ev& b) {
        if (a.tick != b.tick) return a.tick < b.tick;
        return (a.status & 0xF0) == 0x80 && (b.status & 0xF0) != 0x80;
    });
    style.PartStart(kMainPart) = 0;
    style.PartEnd(kMainPart) = kBarTicks;
    style.PartEvCount(kMainPart) = 0;
    for (const Ev& e : evs)
        style.storeEvent(kMainPart, static_cast<std::int16_t>(e.status), static_cast<std::int16_t>(e.key),
                         static_cast<std::int16_t>(e.velocity), e.tick, "", "");
}

// What the synthesizer did, in the order it did it: within one block the
// messages sent at once come first, then withdraws, then queued messages.
struct SynthEvent {
    enum Kind { AtOnce, Withdraw, Queued };
    std::int64_t frame = 0;
    Kind kind = Queued;
    std::size_t seq = 0;
    int status = 0, data1 = 0, data2 = 0;
    double stampMs = 0.0;  // a withdraw: its stamp; at once: NaN
};

// The built-in synthesizer opened offline, noting every message with the frame
// it took effect at. Its reports go on to the component as they would without
// it. The bench's one thread plays every part here: the component is pumped
// by hand on it, and it renders the audio.
class ProbePort final : public TimedPort {
public:
    FluidSynthPort& synth() { return synth_; }
    // The first frame of the period rendered next: where a message sent now,
    // or a withdraw, takes effect.
    std::int64_t nextPeriodFrame = 0;
    std::vector<SynthEvent> events;

    bool open() override { return synth_.openOffline(kRate); }
    void close() override { synth_.close(); }
    bool isOpen() const override { return synth_.isOpen(); }
    void send(const MidiMessage& m) override {
        events.push_back({nextPeriodFrame, SynthEvent::AtOnce, events.size(), m.status, m.data1, m.data2,
                          std::numeric_limits<double>::quiet_NaN()});
        synth_.send(m);
    }
    void attach(const QueueTimeline* timeline, const Clock* clock) override { synth_.attach(timeline, clock); }
    double leadMs() const override { return synth_.leadMs(); }
    bool schedule(const MidiMessage& m, double dueQueueMs, const TimedTag& tag) override {
        if (!synth_.schedule(m, dueQueueMs, tag)) return false;
        handed_[tag.serial] = Handed{m.status, m.data1, m.data2, dueQueueMs};
        return true;
    }
    bool withdraw(double fromQueueMs, std::uint64_t beforeSerial, std::uint32_t generation) override {
        if (!synth_.withdraw(fromQueueMs, beforeSerial, generation)) return false;
        std::erase_if(handed_,
                      [&](const auto& h) { return h.first < beforeSerial && h.second.stampMs >= fromQueueMs; });
        events.push_back({nextPeriodFrame, SynthEvent::Withdraw, events.size(), 0, 0, 0, fromQueueMs});
        return true;
    }
    std::size_t takeApplied(TimedTag* out, std::size_t max) override {
        scratch_.resize(max);
        const std::size_t n = synth_.takeAppliedAt(scratch_.data(), max);
        for (std::size_t i = 0; i < n; ++i) {
            out[i] = scratch_[i].tag;
            const auto h = handed_.find(scratch_[i].tag.serial);
            if (h == handed_.end()) continue;
            events.push_back({scratch_[i].frame, SynthEvent::Queued, events.size(), h->second.status, h->second.data1,
                              h->second.data2, h->second.stampMs});
            handed_.erase(h);
        }
        return n;
    }

private:
    struct Handed {
        int status, data1, data2;
        double stampMs;
    };
    FluidSynthPort synth_;
    std::unordered_map<std::uint64_t, Handed> handed_;
    std::vector<AppliedEvent> scratch_;
};

class ProbeProvider final : public PortProvider {
public:
    int count() override { return 0; }
    std::string name(int device) override { return device == -1 ? "Probed synthesizer" : std::string(); }
    std::unique_ptr<MidiPort> create(int device) override {
        if (device != -1) return nullptr;
        auto port = std::make_unique<ProbePort>();
        last = port.get();
        return port;
    }
    ProbePort* last = nullptr;
};

struct Choice {
    double atMs;                   // on the render's clock
    int root;                      // 0..11, major
    double frame = 0;              // the moment, as a frame
    std::int64_t firstPeriod = 0;  // the first frame rendered after the handler ran
};

struct Result {
    bool ran = false;
    int chosen = 0;
    std::vector<double> delays;  // frames, one per chord heard
    long struck = 0, inNew = 0;
    int held = 0;
    std::vector<std::string> details;
};

std::vector<Choice> plan(double barMs) {
    std::vector<Choice> chords;
    for (int k = 1; k <= kBars; ++k) {
        const double phase = 0.5 * std::fmod(k * 0.6180339887, 1.0);
        for (double half : {0.0, 0.5}) {
            const int root = static_cast<int>(chords.size() + 1) % 12;  // C is played first
            chords.push_back({(k + phase + half) * barMs, root});
        }
    }
    return chords;
}

const char* modeName(ChordChangeMode m) {
    switch (m) {
        case ChordChangeMode::AtOnce:
            return "AtOnce";
        case ChordChangeMode::NextBeat:
            return "NextBeat";
        case ChordChangeMode::NextBarLine:
            return "NextBarLine";
    }
    return "?";
}

// A note of another chord than `c`, struck by `e`, seen at `frame`.
std::string describe(const char* what, const SynthEvent& e, int root, const Choice& c, std::int64_t frame) {
    static const char* names[] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};
    char line[240];
    std::snprintf(line, sizeof line,
                  "%s: channel %d key %d (%s chord, struck at frame %lld) at frame %lld, %.2f ms after %s was chosen",
                  what, (e.status & 0x0F) + 1, e.data1, root < 0 ? "no" : names[root], static_cast<long long>(e.frame),
                  static_cast<long long>(frame), (static_cast<double>(frame) - c.frame) * 1000.0 / kRate,
                  names[c.root]);
    return line;
}

Result session(ChordChangeMode mode, double bpm, int period) {
    Result r;
    ManualClock clock;
    QueueDispatcher ui;
    ProbeProvider ports;
    MIDIOutput out(ports, ui, clock, MIDIOutput::Drive::Manual);
    Midifile reader;
    StyleData style;
    Language language;
    language.table.SetTheLangsQuery();
    language.LangNo = kLangEnglish;
    test::RecordingDialogs dialogs;
    ManualTimer timer1(250), timer2(55, true), timer3(250);
    Player player(reader, out, style, language, dialogs, timer1, timer2, timer3);
    player.Form_Load();

    test::SmfBuilder file(1, kResolution);
    file.addTrack()
        .timeSignature(0, 4, 2)
        .tempo(0, static_cast<std::uint32_t>(std::lround(60e6 / bpm)))
        .programChange(0, kBass, 33)
        .programChange(0, kChordChannel, 4)
        .programChange(0, kPad, 89)
        .endOfTrack(0);
    const test::Bytes bytes = file.build();
    reader.loadFromMemory(bytes.data(), bytes.size());
    storeMain(style);
    PlayerState& s = player.state();
    s.Cmd_Part[kMainPart - 1].enabled = true;
    s.Cmd_Play.enabled = true;
    for (Control& label : s.Lbl_Chord) label.enabled = true;
    s.engine.ChordChange = mode;

    out.PortNumber(-1);
    out.PortCommand(MIDIOutput::OpenPort);
    if (!out.PortIsOpen() || !ports.last) return r;
    ProbePort& port = *ports.last;
    player.Cmd_Part_Click(kMainPart - 1);

    const double barMs = 4 * 60000.0 / bpm;
    std::vector<Choice> chords = plan(barMs);
    std::size_t next = 0;
    OfflineRender render(port.synth(), clock, period);
    render.onPeriod([&](double nowMs) {
        port.nextPeriodFrame = render.framesRendered();
        // The chords chosen while the last period played, each at its moment.
        for (; next < chords.size() && chords[next].atMs <= nowMs; ++next) {
            Choice& c = chords[next];
            clock.set(c.atMs);
            out.pump();
            ui.drain();
            player.Lbl_Chord_Click(c.root);
            out.pump();
            ui.drain();
            c.frame = render.frameAtMs(c.atMs);
            c.firstPeriod = render.framesRendered();
        }
        clock.set(nowMs);
        out.pump();
        ui.drain();
    });
    player.Cmd_Play_Click();
    const auto total = static_cast<std::size_t>(((kBars + 3) * barMs / 1000.0) * kRate);
    // About a second at a time, in whole periods: a driver never renders a
    // shorter one.
    const std::size_t chunk = static_cast<std::size_t>(period) * (44100 / static_cast<std::size_t>(period));
    std::vector<float> left, right;
    for (std::size_t done = 0; done < total; done += chunk) {
        left.clear();
        right.clear();
        render.renderFrames(chunk, left, right);
    }
    r.ran = true;
    r.chosen = static_cast<int>(chords.size());

    std::vector<SynthEvent> events = port.events;
    std::stable_sort(events.begin(), events.end(), [](const SynthEvent& a, const SynthEvent& b) {
        if (a.frame != b.frame) return a.frame < b.frame;
        if (a.kind != b.kind) return a.kind < b.kind;
        return a.seq < b.seq;
    });
    const auto isStrike = [](const SynthEvent& e) {
        return e.kind != SynthEvent::Withdraw && (e.status & 0xF0) == 0x90 && e.data2 > 0;
    };
    const auto rootOfEvent = [](const SynthEvent& e) { return rootOf(e.status & 0x0F, e.data1, e.data2); };

    // Sounding notes, as the synthesizer holds them: a withdraw releases what
    // was struck from the queue at or after its stamp.
    struct Sounding {
        bool on = false;
        double stampMs = 0.0;
        int root = -1;
        SynthEvent strike;
    };
    std::array<Sounding, 16 * 128> sounding{};
    std::size_t applied = 0;
    const auto applyUntil = [&](std::int64_t frame) {
        for (; applied < events.size() && events[applied].frame <= frame; ++applied) {
            const SynthEvent& e = events[applied];
            if (e.kind == SynthEvent::Withdraw) {
                for (Sounding& n : sounding)
                    if (n.on && n.stampMs >= e.stampMs) n.on = false;
                continue;
            }
            const int kind = e.status & 0xF0;
            if (kind != 0x80 && kind != 0x90) continue;
            Sounding& n = sounding[static_cast<std::size_t>((e.status & 0x0F) * 128 + (e.data1 & 0x7F))];
            n.on = isStrike(e);
            n.stampMs = e.stampMs;
            n.root = rootOfEvent(e);
            n.strike = e;
        }
    };

    // Before the beat or the bar line the other two modes play the old chord
    // by design: only AtOnce's are worth naming.
    const bool nameOld = mode == ChordChangeMode::AtOnce;
    for (std::size_t j = 0; j < chords.size(); ++j) {
        const Choice& c = chords[j];
        const std::int64_t until =
            j + 1 < chords.size() ? chords[j + 1].firstPeriod : std::numeric_limits<std::int64_t>::max();
        std::int64_t heard = -1;
        for (const SynthEvent& e : events) {
            if (e.frame >= until) break;
            if (!isStrike(e) || static_cast<double>(e.frame) < c.frame) continue;
            const int root = rootOfEvent(e);
            if (heard < 0 && root == c.root) heard = e.frame;
            if (e.frame < c.firstPeriod) continue;
            ++r.struck;
            if (root == c.root)
                ++r.inNew;
            else if (nameOld && r.details.size() < 6)
                r.details.push_back(describe("old chord", e, root, c, e.frame));
        }
        if (heard < 0) continue;
        r.delays.push_back(static_cast<double>(heard) - c.frame);
        applyUntil(heard);
        for (const Sounding& n : sounding) {
            if (!n.on || n.root == c.root) continue;
            ++r.held;
            if (r.details.size() < 6) r.details.push_back(describe("held over", n.strike, n.root, c, heard));
        }
    }
    std::sort(r.delays.begin(), r.delays.end());
    return r;
}

double percentile(const std::vector<double>& sorted, double p) {
    if (sorted.empty()) return 0.0;
    return sorted[std::min(sorted.size() - 1, static_cast<std::size_t>(p * static_cast<double>(sorted.size())))];
}

double ms(double frames) {
    return frames * 1000.0 / kRate;
}

}  // namespace

int main(int argc, char** argv) {
    const bool verbose = argc > 1 && std::strcmp(argv[1], "-v") == 0;
    FluidLog::install();
    if (SoundFontLocator::findDefault().empty()) {
        std::printf("chord_response: no General MIDI SoundFont installed; nothing measured\n");
        return 0;
    }
    std::printf("Chord response through the built-in synthesizer, %.0f Hz: %d chords, two a bar\n", kRate, 2 * kBars);
    std::printf("delay = chosen -> first frame a note of the chord takes effect; AtOnce bound = period + %d frames\n\n",
                kBlock);
    std::printf("%-30s %-26s\n", "", "delay after the choice, ms");
    std::printf("%4s %6s  %-11s %5s %8s %8s %8s %14s %9s %5s\n", "bpm", "period", "mode", "heard", "median", "p90",
                "max", "AtOnce bound", "in new", "held");
    bool allMet = true;
    for (double bpm : {60.0, 120.0, 200.0}) {
        for (int period : {64, 256, 1024}) {
            for (ChordChangeMode mode :
                 {ChordChangeMode::AtOnce, ChordChangeMode::NextBeat, ChordChangeMode::NextBarLine}) {
                const Result r = session(mode, bpm, period);
                if (!r.ran) {
                    std::printf("chord_response: the built-in synthesizer did not open\n");
                    return 1;
                }
                const double bound = period + kBlock;
                char boundText[32] = "";
                if (mode == ChordChangeMode::AtOnce) {
                    const bool met =
                        static_cast<int>(r.delays.size()) == r.chosen && (r.delays.empty() || r.delays.back() <= bound);
                    allMet = allMet && met;
                    std::snprintf(boundText, sizeof boundText, "%5.1f %s", ms(bound), met ? "met" : "MISSED");
                }
                std::printf("%4.0f %6d  %-11s %2zu/%-2d %8.2f %8.2f %8.2f %14s %8.1f%% %5d\n", bpm, period,
                            modeName(mode), r.delays.size(), r.chosen, ms(percentile(r.delays, 0.5)),
                            ms(percentile(r.delays, 0.9)), ms(r.delays.empty() ? 0.0 : r.delays.back()), boundText,
                            r.struck ? 100.0 * static_cast<double>(r.inNew) / static_cast<double>(r.struck) : 0.0,
                            r.held);
                if (verbose)
                    for (const std::string& d : r.details) std::printf("       %s\n", d.c_str());
            }
        }
        std::printf("\n");
    }
    std::printf("in new: notes started after the choice (from the next period) that play the chosen chord\n");
    std::printf("held: notes of another chord still sounding when the chosen one is first heard\n");
    std::printf("AtOnce within one period plus one block for every chord: %s\n", allMet ? "met" : "NOT met");
    return 0;
}
