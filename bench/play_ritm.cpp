// Chunk probe: how long does PlayRitm take to queue one bar of a dense Main
// part?
//
// A keyboard-style file (1920 ticks per quarter, 4/4, eight channels,
// about 1,700 events in its one track) is read by the real reader; Main A holds
// eight bars with 384 events each (every channel plays a note on every
// sixteenth triplet, switched off before the next, on the rhythm channels and
// the six pitched ones). Each call queues one bar into a real output
// component (Drive::Thread on the steady clock) whose port discards what it
// is given; the queue is stopped between calls so it never grows.
//
// The call covers the whole chunk: moving the note lists, the scan from slot 1
// (bar 8 skips the seven bars before it), the chord rule, queuing ~390
// messages under the component's lock, and the resend of the style's sound
// setup, which walks every event of track 1. A bar at 120 quarter notes a
// minute lasts 2,000 ms and is queued half a bar ahead, so anything in the
// low milliseconds leaves the music untouched; what matters is that the UI
// thread is not held up.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "midi/file/CasmTable.h"
#include "midi/file/Midifile.h"
#include "midi/output/MIDIOutput.h"
#include "playback/Engine.h"
#include "playback/PlaybackChunk.h"
#include "style/StyleData.h"
#include "support/StyleLike.h"

using namespace vornel;

namespace {

constexpr int kCalls = 2000;
constexpr int kWarmUp = 50;
constexpr int kBars = 8;
constexpr int kTicksPerBar = 1920 * 4;
constexpr int kNotesPerBar = 24;  // sixteenth triplets

class DiscardingPort final : public MidiPort {
public:
    bool open() override { return open_ = true; }
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }
    void send(const MidiMessage&) override {}

private:
    bool open_ = false;
};

// The engine alone: no window shows what it plays.
class NoWindow final : public EngineWindow {
public:
    void showPlaying() override {}
    void showStopped() override {}
    void showChosen() override {}
    bool pressPart(int) override { return false; }
    void raiseMeter(int, int) override {}
    void reportNoData() override {}
    void reportUnknownError() override {}
};

class DiscardingPorts final : public PortProvider {
public:
    int count() override { return 1; }
    std::string name(int) override { return "discard"; }
    std::unique_ptr<MidiPort> create(int) override { return std::make_unique<DiscardingPort>(); }
};

struct Summary {
    double median, p99, max;
};

Summary summarize(std::vector<double> us) {
    std::sort(us.begin(), us.end());
    const auto at = [&](double q) { return us[static_cast<std::size_t>(q * static_cast<double>(us.size() - 1) + 0.5)]; };
    return {at(0.5), at(0.99), us.back()};
}

void fillMainA(StyleData& style) {
    constexpr int part = 2;
    style.PartStart(part) = 0;
    style.PartEnd(part) = kBars * kTicksPerBar;
    const int step = kTicksPerBar / kNotesPerBar;
    for (int bar = 0; bar < kBars; ++bar) {
        for (int n = 0; n < kNotesPerBar; ++n) {
            const int tick = bar * kTicksPerBar + n * step;
            for (int ch = 8; ch < 16; ++ch) {
                const auto status = static_cast<std::int16_t>(0x90 + ch);
                const auto note = static_cast<std::int16_t>(ch < 10 ? 36 + n % 12 : 48 + (n * 7 + ch) % 36);
                style.storeEvent(part, status, note, 100, tick, "", "");
                style.storeEvent(part, status, note, 0, tick + step - 10, "", "");
            }
        }
    }
}

Summary timeBar(Engine& s, MIDIOutput& out, QueueDispatcher& ui, int bar) {
    std::vector<double> us;
    us.reserve(kCalls);
    for (int i = 0; i < kWarmUp + kCalls; ++i) {
        s.List1.clear();
        s.List2.clear();
        s.Chunks.clear();
        s.CurBar = static_cast<std::int16_t>(bar);
        s.PartOffset = 0;
        s.QueuedTicks = (bar - 1) * kTicksPerBar;
        const auto t0 = std::chrono::steady_clock::now();
        PlayRitm(s, 2);
        const auto t1 = std::chrono::steady_clock::now();
        out.PortCommand(MIDIOutput::StopQueue);
        ui.drain();
        if (i >= kWarmUp) us.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());
    }
    return summarize(std::move(us));
}

}  // namespace

int main() {
    test::StyleOptions options;
    options.division = 1920;
    options.channels = {8, 9, 10, 11, 12, 13, 14, 15};
    options.sections = {{"Intro A", 4}, {"Main A", 8}, {"Main B", 8}, {"Fill In AA", 1}, {"Ending A", 4}};
    const test::Bytes bytes = test::styleLike(options).build();

    Midifile reader;
    if (!reader.loadFromMemory(bytes.data(), bytes.size())) {
        std::fprintf(stderr, "the style file did not load\n");
        return 1;
    }
    reader.Track(1);
    const int trackEvents = reader.EventCount();

    SteadyClock clock;
    QueueDispatcher ui;
    DiscardingPorts ports;
    MIDIOutput out(ports, ui, clock, MIDIOutput::Drive::Thread);
    out.PortNumber(0);
    out.PortCommand(MIDIOutput::OpenPort);

    auto style = std::make_unique<StyleData>();
    fillMainA(*style);
    NoWindow window;
    Engine s(reader, out, *style, window);
    s.PartName = "Main A";
    s.CurPart = 2;
    s.PartBars = kBars;

    std::printf("PlayRitm, one bar of Main A: %d events in the part (%d a bar), %d events in track 1, %d calls\n",
                style->PartEvCount(2), style->PartEvCount(2) / kBars, trackEvents, kCalls);
    std::printf("%-34s %12s %12s %12s\n", "chunk", "median us", "p99 us", "max us");
    const Summary first = timeBar(s, out, ui, 1);
    std::printf("%-34s %12.1f %12.1f %12.1f\n", "bar 1 of 8 (C major)", first.median, first.p99, first.max);
    const Summary last = timeBar(s, out, ui, kBars);
    std::printf("%-34s %12.1f %12.1f %12.1f\n", "bar 8 of 8 (scan skips 7 bars)", last.median, last.p99, last.max);
    s.Transpose = -3;
    s.IsMinor = 1;
    const Summary minor = timeBar(s, out, ui, kBars);
    std::printf("%-34s %12.1f %12.1f %12.1f\n", "bar 8 of 8 in A minor", minor.median, minor.p99, minor.max);

    // Every channel by a channel table: routed, masked and transformed.
    CasmSegment segment{{"Main A"}, {}};
    for (int source = 8; source < 16; ++source) {
        ChannelRecord r;
        r.sourceChannel = static_cast<std::uint8_t>(source);
        r.destination = static_cast<std::uint8_t>(source);
        r.chordMask = (std::uint64_t{1} << 34) - 1;
        r.blocks[1].ntt = 2;  // Chord: the costliest transform
        segment.records.push_back(r);
    }
    style->channels.fill(CasmTable{{segment}});
    s.ChordIdx = 21;
    s.ChordTypeNo = chord::kMin7;
    const Summary table = timeBar(s, out, ui, kBars);
    std::printf("%-34s %12.1f %12.1f %12.1f\n", "bar 8 of 8, channel table, Am7", table.median, table.p99, table.max);
    return 0;
}
