// Timing probe for the built-in synthesizer: how far from its ideal sample
// frame each queued message of a style-like stream takes effect, at audio
// periods of 64, 256 and 1024 frames, for
//  - ours: FluidSynthPort, messages handed over through schedule() leadMs()
//    ahead as the output component does, the audio callback run once per period
//    with a manual clock standing at the period's real time;
//  - the anchor: the same messages scheduled through FluidSynth's own
//    sequencer, driven by the synth's sample timer
//    (fluid_sequencer_register_fluidsynth), which counts in whole milliseconds.
// Error = frame the message takes effect at - its ideal frame (stamp × rate).
// A probe, not a test: it prints a table and always exits 0 unless it cannot run.

#include <fluidsynth.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "midi/output/MidiMessage.h"
#include "midi/output/QueueTimeline.h"
#include "midi/output/synth/FluidChannelMessage.h"
#include "midi/output/synth/FluidLog.h"
#include "midi/output/synth/FluidSynthPort.h"
#include "midi/output/synth/OfflineRender.h"
#include "midi/output/synth/SoundFontLocator.h"
#include "platform/Clock.h"

namespace {

using namespace vornel;

constexpr double kRate = 44100.0;
constexpr double kSeconds = 30.0;
constexpr double kTailSeconds = 0.5;

struct Event {
    double dueMs;
    MidiMessage message;
};

// 120 bpm, sixteenth notes of 125 ms, the eight accompaniment channels
// (MIDI channels 9..16) busy as in a dense style, every event humanised by up to
// ±8 ms so that ideal frames fall anywhere within a block.
std::vector<Event> styleLikeStream() {
    std::vector<Event> events;
    std::mt19937 rng(20240501);
    std::uniform_real_distribution<double> human(-8.0, 8.0);
    const auto add = [&](double ms, int status, int d1, int d2) {
        const double t = std::max(0.0, ms + human(rng));
        if (t < kSeconds * 1000.0) events.push_back({t, MidiMessage{status, d1, d2, {}}});
    };
    const auto note = [&](double ms, double lengthMs, int ch, int key, int vel) {
        add(ms, 0x90 | ch, key, vel);
        add(ms + lengthMs, 0x90 | ch, key, 0);
    };
    const double step = 125.0;  // one sixteenth at 120 bpm
    const int steps = static_cast<int>(kSeconds * 1000.0 / step);
    const int chord[4] = {60, 64, 67, 72};
    for (int s = 0; s < steps; ++s) {
        const double t = s * step;
        note(t, 60.0, 9, 42, 90);  // closed hi-hat, 16ths
        note(t, 30.0, 8, 70, 70);  // shaker, 32nds
        note(t + step / 2, 30.0, 8, 70, 60);
        if (s % 4 == 0) note(t, 100.0, 9, 36, 110);                 // kick on the beat
        if (s % 8 == 4) note(t, 100.0, 9, 38, 105);                 // snare on 2 and 4
        if (s % 2 == 0) note(t, 220.0, 10, 36 + (s / 8) % 5, 100);  // bass, 8ths
        if (s % 2 == 0)
            for (int k : chord) note(t, 200.0, 11, k, 80);                  // chord 1, 8ths
        for (int k = 0; k < 3; ++k) note(t, 100.0, 12, chord[k] + 12, 70);  // chord 2, 16ths
        for (int k = 0; k < 4; ++k)
            add(t + k * step / 4, 0xB0 | 13, 11, 64 + (s + k) % 64);  // pad swell
        note(t, 50.0, 14, 72 + s % 12, 85);                           // phrase 1, 32nd arpeggio
        note(t + step / 2, 50.0, 14, 79 - s % 12, 85);
        for (int k = 0; k < 12; ++k) {  // phrase 2 bend, ~10 ms apart
            const int bend = 8192 + static_cast<int>(2000 * std::sin((s * 12 + k) / 9.0));
            add(t + k * step / 12, 0xE0 | 15, bend & 0x7F, bend >> 7);
        }
        for (int k = 0; k < 4; ++k)
            add(t + k * step / 4, 0xB0 | 15, 1, (s * 4 + k) % 128);  // vibrato
    }
    std::stable_sort(events.begin(), events.end(),
                     [](const Event& a, const Event& b) { return a.dueMs < b.dueMs; });
    return events;
}

struct Figures {
    std::vector<double> errors;  // signed, frames, one per applied message
    std::size_t expected = 0;
    double leadMs = 0.0;  // how far ahead messages were handed over
};

// --- Ours --------------------------------------------------------------------

Figures runOurs(const std::vector<Event>& events, int period) {
    Figures f;
    f.expected = events.size();
    ManualClock clock;
    QueueTimeline timeline;
    timeline.write(TimelineState{0.0, 0.0, 1.0, true, 0});
    FluidSynthPort port;
    port.attach(&timeline, &clock);
    if (!port.openOffline(kRate)) return f;

    OfflineRender render(port, clock, period);
    std::size_t next = 0;
    std::vector<AppliedEvent> applied(4096);
    const auto collect = [&] {
        while (std::size_t n = port.takeAppliedAt(applied.data(), applied.size()))
            for (std::size_t i = 0; i < n; ++i)
                f.errors.push_back(double(applied[i].frame) -
                                   events[applied[i].tag.serial].dueMs * kRate / 1000.0);
    };
    // Hand-over as the component's scheduling thread does it: everything due
    // within leadMs() of now, stamped in queue time (= real time here).
    render.onPeriod([&](double nowMs) {
        collect();
        const double lead = port.leadMs();
        f.leadMs = std::max(f.leadMs, lead);
        for (; next < events.size() && events[next].dueMs <= nowMs + lead; ++next)
            port.schedule(events[next].message, events[next].dueMs, TimedTag{next, 0, 0});
    });
    std::vector<float> left, right;
    const std::size_t total = static_cast<std::size_t>((kSeconds + kTailSeconds) * kRate);
    for (std::size_t done = 0; done < total; done += 44100) {  // a second at a time
        left.clear();
        right.clear();
        render.renderFrames(std::min<std::size_t>(44100, total - done), left, right);
    }
    collect();
    return f;
}

// --- The anchor: FluidSynth's sequencer -------------------------------------


struct AnchorClient {
    fluid_synth_t* synth = nullptr;
    const std::vector<Event>* events = nullptr;
    std::int64_t blockStart = 0;  // the block being rendered
    std::vector<std::int64_t> dispatchedAt;
};

// The sequencer hands every event to this client at the block where it
// dispatches it. A timer event carrying the event's index lets us record that
// block and apply the message there, exactly as the sequencer's own synth
// client (seqbind) would apply a note event dispatched at the same tick.
void anchorCallback(unsigned int /*time*/, fluid_event_t* event, fluid_sequencer_t* /*seq*/,
                    void* data) {
    if (fluid_event_get_type(event) != FLUID_SEQ_TIMER) return;
    auto* client = static_cast<AnchorClient*>(data);
    const auto index = reinterpret_cast<std::uintptr_t>(fluid_event_get_data(event));
    const MidiMessage& m = (*client->events)[index].message;
    applyChannelMessage(client->synth, m.status, m.data1, m.data2);
    client->dispatchedAt[index] = client->blockStart;
}

Figures runAnchor(const std::vector<Event>& events, int period, const std::string& soundFont,
                  double leadMs) {
    Figures f;
    f.expected = events.size();
    f.leadMs = leadMs;
    fluid_settings_t* settings = new_fluid_settings();
    fluid_settings_setint(settings, "synth.threadsafe-api", 0);
    fluid_settings_setstr(settings, "synth.midi-bank-select", "xg");
    fluid_settings_setnum(settings, "synth.sample-rate", kRate);
    fluid_synth_t* synth = new_fluid_synth(settings);
    fluid_synth_sfload(synth, soundFont.c_str(), 1);
    // Not the system timer: the synth's sample timer drives the sequencer, one
    // call per 64-frame block with the block's start in whole milliseconds.
    fluid_sequencer_t* seq = new_fluid_sequencer2(0);
    fluid_sequencer_register_fluidsynth(seq, synth);
    AnchorClient client;
    client.synth = synth;
    client.events = &events;
    client.dispatchedAt.assign(events.size(), -1);
    const fluid_seq_id_t dest =
        fluid_sequencer_register_client(seq, "probe", anchorCallback, &client);
    fluid_event_t* ev = new_fluid_event();
    fluid_event_set_source(ev, -1);
    fluid_event_set_dest(ev, dest);

    std::vector<float> left(period), right(period);
    const std::int64_t total = static_cast<std::int64_t>((kSeconds + kTailSeconds) * kRate);
    std::size_t next = 0;
    for (std::int64_t frame = 0; frame < total;) {
        const double nowMs = frame * 1000.0 / kRate;
        for (; next < events.size() && events[next].dueMs <= nowMs + leadMs; ++next) {
            fluid_event_timer(ev, reinterpret_cast<void*>(static_cast<std::uintptr_t>(next)));
            fluid_sequencer_send_at(seq, ev,
                                    static_cast<unsigned int>(std::lround(events[next].dueMs)), 1);
        }
        // One period, rendered in FluidSynth's 64-frame blocks so the client
        // knows which block it is called in. FluidSynth's own driver renders the
        // period in one call, which processes the sample timer block by block
        // all the same: the dispatch frames do not change.
        const int n = static_cast<int>(std::min<std::int64_t>(period, total - frame));
        for (int pos = 0; pos < n; pos += 64) {
            const int len = std::min(64, n - pos);
            client.blockStart = frame + pos;
            float* out[2] = {left.data() + pos, right.data() + pos};
            float* fx[4] = {out[0], out[1], out[0], out[1]};
            fluid_synth_process(synth, len, 4, fx, 2, out);
        }
        frame += n;
    }
    for (std::size_t i = 0; i < events.size(); ++i)
        if (client.dispatchedAt[i] >= 0)
            f.errors.push_back(double(client.dispatchedAt[i]) - events[i].dueMs * kRate / 1000.0);

    delete_fluid_event(ev);
    delete_fluid_sequencer(seq);
    delete_fluid_synth(synth);
    delete_fluid_settings(settings);
    return f;
}

// --- Report ------------------------------------------------------------------

double percentile(std::vector<double> sorted, double p) {
    if (sorted.empty()) return 0.0;
    const std::size_t i = std::min(sorted.size() - 1, static_cast<std::size_t>(p * sorted.size()));
    return sorted[i];
}

double maxAbs(const Figures& f) {
    double m = 0.0;
    for (double e : f.errors) m = std::max(m, std::fabs(e));
    return m;
}

void printRow(int period, const char* who, const Figures& f) {
    std::vector<double> abs;
    double sum = 0.0;
    for (double e : f.errors) {
        abs.push_back(std::fabs(e));
        sum += e;
    }
    std::sort(abs.begin(), abs.end());
    const double mean = f.errors.empty() ? 0.0 : sum / f.errors.size();
    std::printf("%6d  %-26s %5zu/%-5zu %8.1f %7.1f %7.1f %7.1f %8.1f %8.3f\n", period, who,
                f.errors.size(), f.expected, maxAbs(f), percentile(abs, 0.5), percentile(abs, 0.9),
                percentile(abs, 0.99), mean, maxAbs(f) * 1000.0 / kRate);
}

void printHistogram(const char* who, const Figures& f) {
    // Signed error in 16-frame bins.
    const int lo = -64, hi = 112, width = 16;
    std::vector<std::size_t> bins((hi - lo) / width + 2, 0);
    for (double e : f.errors) {
        std::size_t b;
        if (e < lo)
            b = 0;
        else if (e >= hi)
            b = bins.size() - 1;
        else
            b = 1 + static_cast<std::size_t>((e - lo) / width);
        ++bins[b];
    }
    std::printf("        %-26s", who);
    for (std::size_t i = 0; i < bins.size(); ++i) std::printf(" %6zu", bins[i]);
    std::printf("\n");
}

}  // namespace

int main() {
    FluidLog::install();
    const std::string soundFont = SoundFontLocator::findDefault().string();
    if (soundFont.empty()) {
        std::printf(
            "synth_timing: no General MIDI SoundFont installed (timgm6mb-soundfont); nothing "
            "measured\n");
        return 0;
    }
    const std::vector<Event> events = styleLikeStream();
    std::printf(
        "Built-in synthesizer event timing: %zu messages (style-like stream, 120 bpm, %.0f s), "
        "%.0f Hz, SoundFont %s\n",
        events.size(), kSeconds, kRate, soundFont.c_str());
    std::printf(
        "error = frame the message takes effect at - its ideal frame; 1 frame = %.1f us; "
        "FluidSynth block = 64 frames\n\n",
        1e6 / kRate);
    std::printf("%6s  %-26s %11s %8s %7s %7s %7s %8s %8s\n", "period", "scheduler", "applied",
                "max|err|", "p50", "p90", "p99", "mean", "max ms");

    struct Row {
        int period;
        Figures ours, anchor;
    };
    std::vector<Row> rows;
    for (int period : {64, 256, 1024}) {
        Row r{period, runOurs(events, period), {}};
        // The anchor gets the same hand-over lead as ours.
        r.anchor = runAnchor(events, period, soundFont, r.ours.leadMs);
        printRow(period, "FluidSynthPort (ours)", r.ours);
        printRow(period, "fluid_sequencer (anchor)", r.anchor);
        rows.push_back(std::move(r));
    }

    std::printf("\nSigned error histogram, 16-frame bins: <-64 [-64,-48) ... [96,112) >=112\n");
    for (const Row& r : rows) {
        std::printf("period %d\n", r.period);
        printHistogram("FluidSynthPort (ours)", r.ours);
        printHistogram("fluid_sequencer (anchor)", r.anchor);
    }

    bool met = true;
    for (const Row& r : rows)
        met = met && r.ours.errors.size() == r.ours.expected && maxAbs(r.ours) < 64.0;
    std::printf("\nTarget for ours, |error| < 64 frames for every message at every period: %s\n",
                met ? "met" : "NOT met");
    return 0;
}
