// Port path timing probe: how late does a queued message leave for a system
// MIDI port? Plays a style-like stream (chord clusters, drums and bass on a
// 5 ms grid) through the output component's scheduling thread into a port that
// notes the moment each message arrives, idle and with two busy threads.
//
// The anchor is the common alternative design: a sequencer advanced in whole
// milliseconds by a polling thread (FluidSynth's own sequencer driven by
// fluid_sequencer_process once per millisecond), given the same thread
// priority, delivering the same messages to a client callback.
//
// Prints min, median, p99 and max lateness (send time minus due time) in ms;
// a negative figure is a message sent early.

#include <fluidsynth.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <random>
#include <thread>
#include <vector>

#include "midi/output/MIDIOutput.h"
#include "midi/output/ThreadTuning.h"

using namespace vornel;

namespace {

struct Stream {
    std::vector<double> stamps;  // sorted
    std::vector<MidiMessage> messages;
};

// About 10,000 messages: every 5.2083 ms (one tick at 96 ticks per quarter
// and 120 bpm: stamps fall between whole milliseconds, as real ones do) a
// cluster of 1..7 messages, as a dense accompaniment bar looks when chords,
// drums and bass start together.
Stream makeStream(int total) {
    Stream s;
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> cluster(1, 7);
    double t = 50.0;
    while (static_cast<int>(s.stamps.size()) < total) {
        const int n = cluster(rng);
        for (int i = 0; i < n && static_cast<int>(s.stamps.size()) < total; ++i) {
            s.stamps.push_back(t);
            s.messages.push_back(MidiMessage{0x90 + (i % 8), 40 + i, 90, {}});
        }
        t += 500.0 / 96.0;
    }
    return s;
}

struct Summary {
    double min, median, p99, max;
};

Summary summarize(std::vector<double> late) {
    std::sort(late.begin(), late.end());
    const auto over1 = std::count_if(late.begin(), late.end(), [](double x) { return x > 1.0; });
    if (over1 > 0) std::printf("  (%ld of %zu messages more than 1 ms late)\n", static_cast<long>(over1), late.size());
    auto at = [&](double q) { return late[static_cast<std::size_t>(q * (late.size() - 1))]; };
    return {late.front(), at(0.5), at(0.99), late.back()};
}

class BusyLoad {
public:
    explicit BusyLoad(int threads) {
        for (int i = 0; i < threads; ++i)
            workers_.emplace_back([this] {
                volatile double x = 1.0;
                while (!stop_.load(std::memory_order_relaxed)) x = x * 1.0000001 + 1e-9;
            });
    }
    ~BusyLoad() {
        stop_ = true;
        for (auto& w : workers_) w.join();
    }

private:
    std::atomic<bool> stop_{false};
    std::vector<std::thread> workers_;
};

// Notes the queue time at which each message arrives.
class StampingPort final : public MidiPort {
public:
    StampingPort(const MIDIOutput*& out, std::vector<double>& arrivals, std::atomic<std::size_t>& count)
        : out_(out), arrivals_(arrivals), count_(count) {}
    bool open() override { return true; }
    void close() override {}
    bool isOpen() const override { return true; }
    void send(const MidiMessage&) override {
        arrivals_.push_back(out_->queueTimeMs());
        count_.fetch_add(1, std::memory_order_release);
    }

private:
    const MIDIOutput*& out_;
    std::vector<double>& arrivals_;
    std::atomic<std::size_t>& count_;
};

class StampingProvider final : public PortProvider {
public:
    StampingProvider(const MIDIOutput*& out, std::vector<double>& arrivals, std::atomic<std::size_t>& count)
        : out_(out), arrivals_(arrivals), count_(count) {}
    int count() override { return 1; }
    std::string name(int) override { return "stamping"; }
    std::unique_ptr<MidiPort> create(int) override {
        return std::make_unique<StampingPort>(out_, arrivals_, count_);
    }

private:
    const MIDIOutput*& out_;
    std::vector<double>& arrivals_;
    std::atomic<std::size_t>& count_;
};

Summary runOurs(const Stream& s) {
    SteadyClock clock;
    QueueDispatcher ui;
    std::vector<double> arrivals;
    arrivals.reserve(s.stamps.size());
    std::atomic<std::size_t> count{0};
    const MIDIOutput* self = nullptr;
    StampingProvider provider(self, arrivals, count);
    MIDIOutput out(provider, ui, clock);
    self = &out;
    out.PortNumber(0);
    out.PortCommand(MIDIOutput::OpenPort);
    for (std::size_t i = 0; i < s.stamps.size(); ++i) {
        const MidiMessage& m = s.messages[i];
        out.StatusByte(m.status);
        out.DataByte1(m.data1);
        out.DataByte2(m.data2);
        out.CueTime(s.stamps[i]);
        out.CueTag(0);
        out.PortCommand(MIDIOutput::QueueMessage);
    }
    out.PortCommand(MIDIOutput::StartQueue);
    while (count.load(std::memory_order_acquire) < s.stamps.size()) {
        ui.drain();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    std::vector<double> late(s.stamps.size());
    for (std::size_t i = 0; i < late.size(); ++i) late[i] = arrivals[i] - s.stamps[i];
    return summarize(late);
}

struct AnchorState {
    std::chrono::steady_clock::time_point start;
    std::vector<double> late;
    const std::vector<double>* stamps;
};

// Each event carries its index in key and velocity (velocity 1..127: a note-on
// of velocity 0 would become a note-off), so lateness is measured against its
// own stamp whatever order equal stamps come out in.
void anchorCallback(unsigned int, fluid_event_t* ev, fluid_sequencer_t*, void* data) {
    if (fluid_event_get_type(ev) != FLUID_SEQ_NOTEON) return;  // e.g. the client's unregistering
    auto* st = static_cast<AnchorState*>(data);
    const double now = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - st->start).count();
    const std::size_t index = static_cast<std::size_t>(fluid_event_get_key(ev)) * 127 + (fluid_event_get_velocity(ev) - 1);
    st->late.push_back(now - (*st->stamps)[index]);
}

Summary runAnchor(const Stream& s) {
    fluid_sequencer_t* seq = new_fluid_sequencer2(0);
    AnchorState st;
    st.stamps = &s.stamps;
    st.late.reserve(s.stamps.size());
    const fluid_seq_id_t client = fluid_sequencer_register_client(seq, "probe", anchorCallback, &st);
    fluid_event_t* ev = new_fluid_event();
    fluid_event_set_source(ev, -1);
    fluid_event_set_dest(ev, client);
    // The sequencer's own clock starts at 0 with fluid_sequencer_process(seq, 0).
    fluid_sequencer_process(seq, 0);
    for (std::size_t i = 0; i < s.stamps.size(); ++i) {
        fluid_event_noteon(ev, s.messages[i].status & 0x0F, static_cast<short>(i / 127), static_cast<short>(i % 127 + 1));
        fluid_sequencer_send_at(seq, ev, static_cast<unsigned int>(s.stamps[i]), 1);
    }
    std::thread poller([&] {
        tuneSchedulingThread();
        st.start = std::chrono::steady_clock::now();
        auto next = st.start;
        const auto giveUp = st.start + std::chrono::milliseconds(static_cast<long>(s.stamps.back()) + 5000);
        while (st.late.size() < s.stamps.size() && next < giveUp) {
            next += std::chrono::milliseconds(1);
            std::this_thread::sleep_until(next);
            const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - st.start);
            fluid_sequencer_process(seq, static_cast<unsigned int>(ms.count()));
        }
    });
    poller.join();
    delete_fluid_event(ev);
    delete_fluid_sequencer(seq);
    return summarize(st.late);
}

void print(const char* what, const Summary& ours, const Summary& anchor) {
    std::printf("%-8s | %7.3f %7.3f %7.3f %7.3f | %7.3f %7.3f %7.3f %7.3f\n", what, ours.min, ours.median, ours.p99,
                ours.max, anchor.min, anchor.median, anchor.p99, anchor.max);
}

}  // namespace

int main() {
    const Stream stream = makeStream(10000);
    std::atomic<bool> rt{false};
    std::thread([&] { rt = tuneSchedulingThread(); }).join();
    std::printf("Port path lateness, %zu messages over %.1f s (real-time priority %s)\n", stream.stamps.size(),
                stream.stamps.back() / 1000.0, rt ? "granted" : "not granted: timer slack 1 ns");
    std::printf("target: p99 <= 0.3 ms idle, <= 1 ms loaded\n");
    std::printf("%-8s | %-31s | %-31s\n", "", "Vornel (ms): min median p99 max", "ms-polled sequencer (anchor)");
    const Summary oursIdle = runOurs(stream);
    const Summary anchorIdle = runAnchor(stream);
    print("idle", oursIdle, anchorIdle);
    Summary oursLoaded, anchorLoaded;
    {
        BusyLoad load(2);
        oursLoaded = runOurs(stream);
        anchorLoaded = runAnchor(stream);
    }
    print("loaded", oursLoaded, anchorLoaded);
    return 0;
}
