// Benchmark of a MIDI keyboard played through Vornel (not a test; prints
// figures and exits 0 unless it cannot run).
//
// 1. Right-hand latency through the built-in synthesizer, rendered offline at
//    audio periods of 64, 256 and 1024 frames. Input at performance density
//    (a left-hand chord on every beat and a right-hand melody of sixteenths
//    at 200 bpm, every message at a random moment of its period) goes through
//    the whole input path: bytes -> parser -> LiveInput -> the synthesizer's
//    live ring (BlockScheduler::pushLive) -> FluidSynth, rendered block by
//    block as the port's audio callback renders. Figure: frames from the
//    message's arrival to the block it sounds in.
//    Anchor: the same notes given to fluid_synth_noteon from another thread
//    between two callbacks; FluidSynth starts them with the next period it
//    renders, anywhere from 0 to a whole period late.
// 2. A burst of 1,000 messages in 10 ms into the built-in synthesizer while a
//    dense accompaniment plays through the queue (FluidSynthPort offline):
//    how many were applied, how many dropped, and the accompaniment's frame
//    error with and without the burst. Also the input thread's cost per
//    message.

#include <fluidsynth.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <mutex>
#include <random>
#include <string>
#include <vector>

#include "midi/output/LiveSink.h"
#include "midi/output/MidiMessage.h"
#include "midi/output/QueueTimeline.h"
#include "midi/output/synth/BlockScheduler.h"
#include "midi/output/synth/FluidChannelMessage.h"
#include "midi/output/synth/FluidLog.h"
#include "midi/output/synth/FluidSynthPort.h"
#include "midi/output/synth/OfflineRender.h"
#include "midi/output/synth/SoundFontLocator.h"
#include "platform/Clock.h"
#include "platform/Dispatcher.h"
#include "player/LiveInput.h"

namespace {

using namespace vornel;

constexpr double kRate = 44100.0;
constexpr double kSeconds = 20.0;

struct Input {
    double atMs;
    std::uint8_t status, key, velocity;
};

// 200 bpm: a sixteenth is 75 ms. The right hand plays every sixteenth (held
// for 60 ms) from key 67 up; the left hand strikes a triad below the split on
// every beat. Every message moves by up to +-5 ms, so arrivals fall anywhere
// within a period.
std::vector<Input> performance() {
    std::vector<Input> in;
    std::mt19937 rng(12);
    std::uniform_real_distribution<double> human(-5.0, 5.0);
    const double sixteenth = 75.0;
    for (int s = 0; s * sixteenth < kSeconds * 1000.0 - 200.0; ++s) {
        const double t = 50.0 + s * sixteenth + human(rng);
        const auto key = static_cast<std::uint8_t>(67 + (s * 5) % 17);
        in.push_back({t, 0x90, key, 90});
        in.push_back({t + 60.0, 0x80, key, 0});
        if (s % 4 == 0) {
            const auto root = static_cast<std::uint8_t>(43 + (s / 4) % 5);
            for (std::uint8_t k : {root, static_cast<std::uint8_t>(root + 4), static_cast<std::uint8_t>(root + 7)}) {
                in.push_back({t + human(rng) / 5.0, 0x90, k, 70});
                in.push_back({t + 250.0, 0x80, k, 0});
            }
        }
    }
    std::stable_sort(in.begin(), in.end(), [](const Input& a, const Input& b) { return a.atMs < b.atMs; });
    return in;
}

// What MIDIOutput::sendLive does for the synthesizer, without the component
// around it: the port lock, then the port's live ring.
class SchedulerSink final : public LiveSink {
public:
    explicit SchedulerSink(BlockScheduler& s) : sched_(s) {}
    void sendLive(int status, int data1, int data2) override {
        SynthMessage m;
        std::lock_guard lock(mutex_);
        if (!SynthMessage::encode(MidiMessage{status, data1, data2, {}}, m) || !sched_.pushLive(m)) ++dropped;
    }
    int dropped = 0;

private:
    BlockScheduler& sched_;
    std::mutex mutex_;
};

class PortSink final : public LiveSink {
public:
    explicit PortSink(FluidSynthPort& p) : port_(p) {}
    void sendLive(int status, int data1, int data2) override {
        std::lock_guard lock(mutex_);
        port_.sendLive(MidiMessage{status, data1, data2, {}});
    }

private:
    FluidSynthPort& port_;
    std::mutex mutex_;
};

// Applies to FluidSynth and notes the block each right-hand Note On starts in.
class TimingSink final : public MessageSink {
public:
    explicit TimingSink(fluid_synth_t* s) : synth_(s) {}
    void apply(const SynthMessage& m) override {
        applyChannelMessage(synth_, m.status, m.data1, m.data2);
        if ((m.status & 0xF0) == 0x90 && m.data2 > 0) startFrames.push_back(frame);
    }
    std::int64_t frame = 0;
    std::vector<std::int64_t> startFrames;

private:
    fluid_synth_t* synth_;
};

fluid_synth_t* newSynth(const std::string& soundFont, bool threadSafe) {
    fluid_settings_t* settings = new_fluid_settings();
    fluid_settings_setint(settings, "synth.threadsafe-api", threadSafe ? 1 : 0);
    fluid_settings_setnum(settings, "synth.sample-rate", kRate);
    fluid_synth_t* synth = new_fluid_synth(settings);
    fluid_synth_sfload(synth, soundFont.c_str(), 1);
    return synth;
}

void freeSynth(fluid_synth_t* synth) {
    fluid_settings_t* settings = fluid_synth_get_settings(synth);
    delete_fluid_synth(synth);
    delete_fluid_settings(settings);
}

void renderBlock(fluid_synth_t* synth, std::vector<float>& l, std::vector<float>& r) {
    float* out[2] = {l.data(), r.data()};
    float* fx[4] = {out[0], out[1], out[0], out[1]};
    fluid_synth_process(synth, BlockScheduler::kBlockFrames, 4, fx, 2, out);
}

struct Latency {
    std::vector<double> frames;  // arrival to first frame, one per right-hand note
    std::size_t expected = 0;
};

Latency runOurs(const std::vector<Input>& in, int period, const std::string& soundFont) {
    Latency f;
    ManualClock clock;
    QueueTimeline timeline;
    BlockScheduler sched;
    sched.attach(&timeline, &clock);
    sched.setSampleRate(kRate);
    SchedulerSink out(sched);
    QueueDispatcher ui;
    LiveInput live(out, ui);
    live.setWholeKeyboard(false);
    fluid_synth_t* synth = newSynth(soundFont, false);
    TimingSink sink(synth);
    std::vector<double> arrivals;
    std::vector<float> l(64), r(64);
    std::size_t next = 0;
    const auto total = static_cast<std::int64_t>((kSeconds + 0.5) * kRate);
    for (std::int64_t frame = 0; frame < total; frame += period) {
        const double now = frame * 1000.0 / kRate;
        for (; next < in.size() && in[next].atMs <= now; ++next) {
            clock.set(in[next].atMs);
            const std::uint8_t bytes[3] = {in[next].status, in[next].key, in[next].velocity};
            live.receive(bytes, 3);
            if (in[next].status == 0x90 && in[next].key >= live.split()) arrivals.push_back(in[next].atMs);
        }
        ui.drain();
        clock.set(now);
        sched.beginPeriod(frame, period);
        for (int pos = 0; pos < period; pos += BlockScheduler::kBlockFrames) {
            sink.frame = frame + pos;
            sched.beforeBlock(frame + pos, sink);
            renderBlock(synth, l, r);
        }
    }
    f.expected = arrivals.size();
    for (std::size_t i = 0; i < std::min(arrivals.size(), sink.startFrames.size()); ++i)
        f.frames.push_back(static_cast<double>(sink.startFrames[i]) - arrivals[i] * kRate / 1000.0);
    freeSynth(synth);
    return f;
}

Latency runAnchor(const std::vector<Input>& in, int period, const std::string& soundFont) {
    Latency f;
    fluid_synth_t* synth = newSynth(soundFont, true);
    std::vector<float> l(64), r(64);
    std::size_t next = 0;
    const auto total = static_cast<std::int64_t>((kSeconds + 0.5) * kRate);
    for (std::int64_t frame = 0; frame < total; frame += period) {
        const double now = frame * 1000.0 / kRate;
        // Everything that arrived since the last callback reaches the synth
        // now, from the input's thread; it sounds from the period rendered next.
        for (; next < in.size() && in[next].atMs <= now; ++next) {
            const Input& m = in[next];
            if (m.key < 54) continue;
            if (m.status == 0x90) {
                fluid_synth_noteon(synth, 0, m.key, m.velocity);
                f.frames.push_back(static_cast<double>(frame) - m.atMs * kRate / 1000.0);
                ++f.expected;
            } else {
                fluid_synth_noteoff(synth, 0, m.key);
            }
        }
        for (int pos = 0; pos < period; pos += BlockScheduler::kBlockFrames) renderBlock(synth, l, r);
    }
    freeSynth(synth);
    return f;
}

double percentile(std::vector<double> v, double p) {
    if (v.empty()) return 0.0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, static_cast<std::size_t>(p * v.size()))];
}

void printLatency(int period, const char* who, const Latency& f) {
    const double lo = f.frames.empty() ? 0.0 : *std::min_element(f.frames.begin(), f.frames.end());
    const double hi = f.frames.empty() ? 0.0 : *std::max_element(f.frames.begin(), f.frames.end());
    std::printf("%6d  %-28s %5zu/%-5zu %7.0f %7.0f %7.0f %7.0f %7.0f %8.2f %8.2f\n", period, who, f.frames.size(),
                f.expected, lo, percentile(f.frames, 0.5), percentile(f.frames, 0.99), hi, hi - lo, hi * 1000.0 / kRate,
                (hi - lo) * 1000.0 / kRate);
}

// --- The burst ----------------------------------------------------------------

struct Burst {
    std::vector<double> accompanimentErrors;
    std::uint64_t liveApplied = 0;
    std::uint64_t dropped = 0;
    double nsPerMessage = 0.0;
};

Burst runBurst(bool withBurst, int period) {
    Burst b;
    ManualClock clock;
    QueueTimeline timeline;
    timeline.write(TimelineState{0.0, 0.0, 1.0, true, 0});
    FluidSynthPort port;
    port.attach(&timeline, &clock);
    if (!port.openOffline(kRate)) return b;
    PortSink out(port);
    QueueDispatcher ui;
    LiveInput live(out, ui);
    live.setWholeKeyboard(false);

    // The accompaniment: eight channels of sixteenths at 120 bpm.
    struct Queued {
        double dueMs;
        MidiMessage m;
    };
    std::vector<Queued> acc;
    for (int s = 0; s < 80; ++s)
        for (int ch = 8; ch < 16; ++ch) {
            acc.push_back({s * 125.0 + ch, MidiMessage{0x90 | ch, 48 + ch, 90, {}}});
            acc.push_back({s * 125.0 + ch + 100.0, MidiMessage{0x80 | ch, 48 + ch, 0, {}}});
        }
    std::stable_sort(acc.begin(), acc.end(), [](const Queued& a, const Queued& c) { return a.dueMs < c.dueMs; });
    // 1,000 messages between 5,000 and 5,010 ms: 500 right-hand notes struck
    // and released.
    std::vector<Input> burst;
    for (int i = 0; i < 500; ++i) {
        const auto key = static_cast<std::uint8_t>(60 + i % 40);
        burst.push_back({5000.0 + i * 0.02, 0x90, key, 100});
        burst.push_back({5000.0 + i * 0.02, 0x80, key, 0});
    }
    std::size_t nextAcc = 0, nextBurst = 0;
    double inputNs = 0.0;
    std::vector<AppliedEvent> applied(4096);
    OfflineRender render(port, clock, period);
    render.onPeriod([&](double nowMs) {
        while (std::size_t n = port.takeAppliedAt(applied.data(), applied.size()))
            for (std::size_t i = 0; i < n; ++i)
                b.accompanimentErrors.push_back(double(applied[i].frame) -
                                                acc[applied[i].tag.serial].dueMs * kRate / 1000.0);
        for (; nextAcc < acc.size() && acc[nextAcc].dueMs <= nowMs + port.leadMs(); ++nextAcc)
            port.schedule(acc[nextAcc].m, acc[nextAcc].dueMs, TimedTag{nextAcc, 0, 0});
        if (!withBurst) return;
        for (; nextBurst < burst.size() && burst[nextBurst].atMs <= nowMs; ++nextBurst) {
            const std::uint8_t bytes[3] = {burst[nextBurst].status, burst[nextBurst].key, burst[nextBurst].velocity};
            const auto t0 = std::chrono::steady_clock::now();
            live.receive(bytes, 3);
            inputNs += std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - t0).count();
        }
    });
    std::vector<float> l, r;
    render.renderFrames(static_cast<std::size_t>(11.0 * kRate), l, r);
    while (std::size_t n = port.takeAppliedAt(applied.data(), applied.size()))
        for (std::size_t i = 0; i < n; ++i)
            b.accompanimentErrors.push_back(double(applied[i].frame) -
                                            acc[applied[i].tag.serial].dueMs * kRate / 1000.0);
    b.liveApplied = port.liveApplied();
    b.dropped = port.droppedMessages();
    b.nsPerMessage = withBurst ? inputNs / static_cast<double>(burst.size()) : 0.0;
    return b;
}

double maxAbs(const std::vector<double>& v) {
    double m = 0.0;
    for (double e : v) m = std::max(m, std::fabs(e));
    return m;
}

}  // namespace

int main() {
    FluidLog::install();
    const std::string soundFont = SoundFontLocator::findDefault().string();
    if (soundFont.empty()) {
        std::printf("input_latency: no General MIDI SoundFont installed; nothing measured\n");
        return 0;
    }
    const std::vector<Input> in = performance();
    std::printf(
        "Right-hand latency, %zu input messages over %.0f s (melody of sixteenths at 200 bpm, a "
        "chord a beat),\n"
        "%.0f Hz; frames from the message's arrival to the block its note starts in (1 frame = "
        "%.1f us)\n\n",
        in.size(), kSeconds, kRate, 1e6 / kRate);
    std::printf("%6s  %-28s %11s %7s %7s %7s %7s %7s %8s %8s\n", "period", "path", "notes", "min", "p50", "p99", "max",
                "spread", "max ms", "jitter ms");
    bool met = true;
    for (int period : {64, 256, 1024}) {
        const Latency ours = runOurs(in, period, soundFont);
        const Latency anchor = runAnchor(in, period, soundFont);
        printLatency(period, "LiveInput -> live ring (ours)", ours);
        printLatency(period, "fluid_synth_noteon (anchor)", anchor);
        const double worst = ours.frames.empty() ? 1e9 : *std::max_element(ours.frames.begin(), ours.frames.end());
        met = met && ours.frames.size() == ours.expected && worst <= period + BlockScheduler::kBlockFrames;
    }
    std::printf("\nTarget, at most one period plus one 64-frame block for every note: %s\n\n", met ? "met" : "NOT met");

    std::printf("Burst of 1,000 messages in 10 ms while the accompaniment plays (period 256):\n");
    const Burst quiet = runBurst(false, 256);
    const Burst loud = runBurst(true, 256);
    std::printf(
        "  played messages applied %llu of 1001 (the 1,000 and the voice's program change before the first "
        "note), dropped %llu; input thread %.0f ns a message\n",
        static_cast<unsigned long long>(loud.liveApplied), static_cast<unsigned long long>(loud.dropped),
        loud.nsPerMessage);
    std::printf(
        "  accompaniment: %zu messages, max |frame error| %.0f without the burst, %zu messages, "
        "%.0f with it\n",
        quiet.accompanimentErrors.size(), maxAbs(quiet.accompanimentErrors), loud.accompanimentErrors.size(),
        maxAbs(loud.accompanimentErrors));
    return 0;
}
