#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "midi/output/MIDIOutput.h"
#include "support/OutputCalls.h"
#include "support/RecordingPort.h"

namespace vornel {
namespace {

using test::RecordingPortProvider;
using test::SentMessage;

// The component on a virtual clock with a recording port: time moves only when
// the test says, events arrive only when the test drains the dispatcher.
class OutputFixture : public ::testing::Test {
protected:
    OutputFixture() {
        out.CueReached = [this](std::int32_t tag) { cues.push_back({clock.nowMs(), tag}); };
        out.QueueDone = [this] { doneAt.push_back(clock.nowMs()); };
    }

    void open(int device = 0) {
        out.PortNumber(device);
        out.PortCommand(MIDIOutput::OpenPort);
    }
    void queue(double at, int status, int d1, int d2, std::int32_t tag = 0) {
        test::queueMessage(out, at, status, d1, d2, tag);
    }
    void sendNow(int status, int d1, int d2) { test::sendNow(out, status, d1, d2); }
    void withdraw(double fromMs) {
        out.CueTime(fromMs);
        out.PortCommand(MIDIOutput::WithdrawQueued);
    }
    // Advances the clock in 1 ms steps, pumping and delivering events at each.
    void runTo(double ms) {
        out.pump();
        ui.drain();
        while (clock.nowMs() < ms) {
            clock.advance(std::min(1.0, ms - clock.nowMs()));
            out.pump();
            ui.drain();
        }
    }
    std::vector<SentMessage> sent() { return ports.log->snapshot(); }

    struct Cue {
        double atMs;
        std::int32_t tag;
    };

    ManualClock clock;
    QueueDispatcher ui;
    RecordingPortProvider ports{clock};
    MIDIOutput out{ports, ui, clock, MIDIOutput::Drive::Manual};
    std::vector<Cue> cues;
    std::vector<double> doneAt;
};

TEST_F(OutputFixture, PlaysByStampWithEqualStampsInQueuingOrder) {
    open();
    queue(200, 0x90, 62, 100);
    queue(100, 0x90, 60, 100);
    queue(100, 0x90, 61, 100);
    queue(0, 0xB0, 7, 90);
    out.PortCommand(MIDIOutput::StartQueue);
    runTo(99);
    ASSERT_EQ(sent().size(), 1u);  // only the stamp-0 message so far
    runTo(300);
    auto s = sent();
    ASSERT_EQ(s.size(), 4u);
    EXPECT_EQ(s[0].message.status, 0xB0);
    EXPECT_DOUBLE_EQ(s[1].atMs, 100);
    EXPECT_EQ(s[1].message.data1, 60);
    EXPECT_EQ(s[2].message.data1, 61);
    EXPECT_DOUBLE_EQ(s[3].atMs, 200);
}

TEST_F(OutputFixture, StartWhilePlayingKeepsTheClockAndStopRestartsAtZero) {
    open();
    out.PortCommand(MIDIOutput::StartQueue);
    runTo(500);
    out.PortCommand(MIDIOutput::StartQueue);  // already playing: no restart
    queue(600, 0x90, 60, 1);
    runTo(700);
    ASSERT_EQ(sent().size(), 1u);
    EXPECT_DOUBLE_EQ(sent()[0].atMs, 600);

    queue(1000, 0x90, 61, 1);
    out.PortCommand(MIDIOutput::StopQueue);  // discards the queued message
    runTo(2000);
    EXPECT_EQ(sent().size(), 1u);

    queue(100, 0x90, 62, 1);
    out.PortCommand(MIDIOutput::StartQueue);  // queue time starts at 0 again
    runTo(2200);
    ASSERT_EQ(sent().size(), 2u);
    EXPECT_DOUBLE_EQ(sent()[1].atMs, 2100);
}

TEST_F(OutputFixture, TempoShiftActsAtOnceWithoutJump) {
    open();
    queue(2000, 0x90, 60, 1);
    queue(3000, 0x90, 61, 1);
    out.PortCommand(MIDIOutput::StartQueue);
    runTo(1000);
    EXPECT_DOUBLE_EQ(out.queueTimeMs(), 1000);
    out.TempoShift(100);  // double speed from here on
    EXPECT_DOUBLE_EQ(out.queueTimeMs(), 1000);
    runTo(1500);
    ASSERT_EQ(sent().size(), 1u);
    EXPECT_DOUBLE_EQ(sent()[0].atMs, 1500);
    out.TempoShift(-100);  // half speed: the remaining 1000 queue ms take 2000 ms
    runTo(4000);
    ASSERT_EQ(sent().size(), 2u);
    EXPECT_DOUBLE_EQ(sent()[1].atMs, 3500);

    queue(4000, 0x90, 62, 1);
    out.TempoShift(250);  // beyond the scroll bar's range: taken as +100
    runTo(4400);
    ASSERT_EQ(sent().size(), 3u);
    // At real 4000 the queue stood at 3250; 750 queue ms at double speed.
    EXPECT_DOUBLE_EQ(sent()[2].atMs, 4375);
}

TEST_F(OutputFixture, CuesArriveOnTheUiThreadInStampOrderThenQueueDone) {
    open();
    queue(300, 0x90, 36, 0, -6);
    queue(100, 0x90, 36, 0, 1);
    queue(200, 0x99, 38, 100, 10100);
    queue(250, 0xB0, 7, 100, 0);  // untagged: no event
    out.PortCommand(MIDIOutput::StartQueue);
    clock.set(1000);
    out.pump();
    EXPECT_TRUE(cues.empty()) << "events wait for the UI thread";
    ui.drain();
    ASSERT_EQ(cues.size(), 3u);
    EXPECT_EQ(cues[0].tag, 1);
    EXPECT_EQ(cues[1].tag, 10100);
    EXPECT_EQ(cues[2].tag, -6);
    ASSERT_EQ(doneAt.size(), 1u);
    out.pump();
    ui.drain();
    EXPECT_EQ(doneAt.size(), 1u) << "QueueDone once per run-out";
}

// On an external sound module a carrier would be a note-off: every cue would
// cut the right hand's C2.
TEST_F(OutputFixture, ACueCarrierReachesNoPortButStillCuesAtItsTime) {
    open();
    queue(100, 0x90, 36, 0, 7);       // a cue carrier
    queue(150, 0x90, 36, 0);          // untagged: a note-off like any other
    queue(200, 0x90, 36, 90, 12100);  // tagged for the meter, but a note
    out.PortCommand(MIDIOutput::StartQueue);
    runTo(300);
    const auto s = sent();
    ASSERT_EQ(s.size(), 2u);
    EXPECT_DOUBLE_EQ(s[0].atMs, 150);
    EXPECT_EQ(s[1].message.data2, 90);
    ASSERT_EQ(cues.size(), 2u);
    EXPECT_DOUBLE_EQ(cues[0].atMs, 100);
    EXPECT_EQ(cues[0].tag, 7);
    const MIDIOutput::Stats stats = out.stats();
    EXPECT_EQ(stats.sent, 2u);
    EXPECT_EQ(stats.carried, 1u);
    EXPECT_EQ(stats.refused + stats.unsent, 0u);
    EXPECT_EQ(doneAt.size(), 1u);
}

// After a Panic while playing, the engine drops what it had queued and queues
// afresh on the same clock.
TEST_F(OutputFixture, DiscardDropsWhatWasQueuedAndTheClockRunsOn) {
    open();
    out.TempoShift(100);  // double speed: queue time is twice real time
    queue(100, 0x90, 60, 100);
    queue(300, 0x90, 61, 100, 5);  // dropped: neither sent nor cued
    out.PortCommand(MIDIOutput::StartQueue);
    runTo(100);
    ASSERT_EQ(sent().size(), 1u);
    out.PortCommand(MIDIOutput::DiscardQueue);
    EXPECT_DOUBLE_EQ(out.queueTimeMs(), 200);
    EXPECT_EQ(out.queuedCount(), 0u);
    runTo(120);
    EXPECT_TRUE(doneAt.empty()) << "a discard is no run-out";
    queue(250, 0x90, 62, 100, 6);
    out.PortCommand(MIDIOutput::StartQueue);  // still playing: no restart
    runTo(400);
    const auto s = sent();
    ASSERT_EQ(s.size(), 2u);
    EXPECT_EQ(s[1].message.data1, 62);
    EXPECT_DOUBLE_EQ(s[1].atMs, 125);  // 50 queue ms after 200, still at double speed
    ASSERT_EQ(cues.size(), 1u);
    EXPECT_EQ(cues[0].tag, 6);
    EXPECT_EQ(doneAt, (std::vector<double>{125}));
}

// The engine queues the rest of a bar again in a new chord: once from a stamp
// the queue has passed already, once from one still ahead.
TEST_F(OutputFixture, WithdrawTakesBackWhatIsStampedFromCueTimeOnAndWhatIsQueuedAfterPlays) {
    open();
    queue(100, 0x90, 60, 100, 1);
    queue(110, 0x90, 62, 100, 2);  // out before the withdraw, its cue still on its way: kept
    queue(118, 0x90, 64, 100, 3);  // out before it too, but stamped after: cue void, key released
    queue(150, 0x90, 36, 0, 4);    // a cue carrier
    queue(200, 0x80, 64, 0);
    queue(400, 0x80, 60, 0);  // the program knows it struck 60 before and releases it anew
    out.PortCommand(MIDIOutput::StartQueue);
    runTo(100);
    clock.set(120);
    out.pump();
    withdraw(115);
    EXPECT_EQ(out.queuedCount(), 0u);
    out.pump();
    ui.drain();
    EXPECT_TRUE(doneAt.empty()) << "a withdraw is no run-out";
    queue(115, 0x90, 65, 100, 5);  // at the withdrawn stamp, already passed: out at once
    queue(300, 0x80, 65, 0, 6);
    queue(500, 0x80, 65, 0, 7);
    runTo(200);
    withdraw(400);
    runTo(600);

    struct Out {
        double atMs;
        int status, key;
        bool operator==(const Out&) const = default;
    };
    std::vector<Out> played;
    for (const SentMessage& m : sent()) played.push_back({m.atMs, m.message.status, m.message.data1});
    EXPECT_EQ(
        played,
        (std::vector<Out>{
            {100, 0x90, 60}, {120, 0x90, 62}, {120, 0x90, 64}, {120, 0x80, 64}, {120, 0x90, 65}, {300, 0x80, 65}}));
    std::vector<std::pair<double, std::int32_t>> cued;
    for (const Cue& c : cues) cued.push_back({c.atMs, c.tag});
    EXPECT_EQ(cued, (std::vector<std::pair<double, std::int32_t>>{{100, 1}, {120, 2}, {120, 5}, {300, 6}}));
    EXPECT_EQ(doneAt, (std::vector<double>{300})) << "what was left ran out";
    EXPECT_EQ(out.stats().withdrawn, 4u);
}

TEST_F(OutputFixture, CueHandlerCanQueueTheNextChunk) {
    open();
    int chunks = 1;
    out.CueReached = [&](std::int32_t tag) {
        cues.push_back({clock.nowMs(), tag});
        if (tag == 1 && chunks < 3) {
            const double base = chunks * 1000.0;
            ++chunks;
            queue(base + 500, 0x90, 36, 0, 1);
            queue(base, 0x90, 60, 100);
            out.PortCommand(MIDIOutput::StartQueue);
        }
    };
    queue(500, 0x90, 36, 0, 1);
    queue(0, 0x90, 60, 100);
    out.PortCommand(MIDIOutput::StartQueue);
    runTo(3000);
    EXPECT_EQ(chunks, 3);
    ASSERT_EQ(cues.size(), 3u);
    EXPECT_DOUBLE_EQ(cues[2].atMs, 2500);
    auto s = sent();
    std::vector<double> noteTimes;
    for (auto& m : s)
        if (m.message.data1 == 60) noteTimes.push_back(m.atMs);
    EXPECT_EQ(noteTimes, (std::vector<double>{0, 1000, 2000}));
    ASSERT_EQ(doneAt.size(), 1u);
    EXPECT_DOUBLE_EQ(doneAt[0], 2500);
}

TEST_F(OutputFixture, QueueDoneWaitsWhenTheLastCueQueuedMore) {
    open();
    bool requeued = false;
    out.CueReached = [&](std::int32_t) {
        if (!requeued) {
            requeued = true;
            queue(200, 0x80, 60, 0);
        }
    };
    queue(100, 0x90, 60, 100, 12100);
    out.PortCommand(MIDIOutput::StartQueue);
    clock.set(150);
    out.pump();  // posts the cue and, the queue being empty, a QueueDone
    ui.drain();  // the cue's handler queues more: that QueueDone is void
    EXPECT_TRUE(doneAt.empty());
    runTo(250);
    EXPECT_EQ(doneAt.size(), 1u);
}

TEST_F(OutputFixture, EventsOfAStoppedQueueAreNotDelivered) {
    open();
    queue(100, 0x90, 36, 0, 1);
    out.PortCommand(MIDIOutput::StartQueue);
    clock.set(200);
    out.pump();                              // cue and QueueDone posted...
    out.PortCommand(MIDIOutput::StopQueue);  // ...but the user stopped first
    ui.drain();
    EXPECT_TRUE(cues.empty());
    EXPECT_TRUE(doneAt.empty());
}

TEST_F(OutputFixture, OnlyValidMidiReachesThePort) {
    open();
    sendNow(0x90, 132, 100);  // a note transposed past 127
    sendNow(0x90, -6, 100);
    sendNow(0x90, 60, 128);
    sendNow(0xFF, 3, 0);  // a meta event handed over as a message
    sendNow(0xF0, 0, 0);  // 240 without data
    sendNow(0xF8, 0, 0);  // system real-time
    sendNow(0x7F, 0, 0);  // not a status byte
    EXPECT_TRUE(sent().empty());
    EXPECT_EQ(out.stats().refused, 7u);

    sendNow(0xC9, 25, 200);  // program change: the second data byte is not sent
    out.SysExData(std::string("\xF0\x7E\x7F\x09\x01\xF7", 6));
    sendNow(0xF0, 0, 0);
    sendNow(0xF0, 0, 0);                                // the same data is not sent twice
    out.SysExData(std::string("\xF0\x43\x90\xF7", 4));  // 0x90 inside: not 7-bit
    sendNow(0xF0, 0, 0);
    auto s = sent();
    ASSERT_EQ(s.size(), 2u);
    EXPECT_EQ(s[0].message.status, 0xC9);
    EXPECT_EQ(s[1].message.sysex.size(), 6u);

    queue(10, 0x91, 200, 1, 1);  // refused before it is queued: no cue either
    out.PortCommand(MIDIOutput::StartQueue);
    runTo(50);
    EXPECT_TRUE(cues.empty());
    EXPECT_EQ(sent().size(), 2u);
}

TEST_F(OutputFixture, PortsOpenCloseAndFailWithoutThrowing) {
    EXPECT_EQ(out.PortCount(), 2);
    EXPECT_EQ(out.PortIsOpen(), 0);
    sendNow(0x90, 60, 100);  // nothing open: dropped quietly
    EXPECT_EQ(out.stats().unsent, 1u);

    out.PortNumber(1);
    EXPECT_EQ(out.PortName(), "Test Port 2");
    ports.failing[1] = true;
    out.PortCommand(MIDIOutput::OpenPort);
    EXPECT_EQ(out.PortIsOpen(), 0);

    out.PortNumber(7);  // no such device
    out.PortCommand(MIDIOutput::OpenPort);
    EXPECT_EQ(out.PortIsOpen(), 0);

    open(-1);
    EXPECT_EQ(out.PortIsOpen(), 1);
    EXPECT_EQ(out.PortName(), "Test Synth");
    out.PortCommand(MIDIOutput::ClosePort);
    EXPECT_EQ(out.PortIsOpen(), 0);
    out.PortCommand(MIDIOutput::ClosePort);  // twice is harmless
    out.PortCommand(99);                     // unknown command
    EXPECT_EQ(out.PortIsOpen(), 0);
}

TEST_F(OutputFixture, QueuedMessagesWithoutAPortStillCue) {
    // The engine's sequencing runs on cues; a closed port must not stall it.
    queue(100, 0x90, 36, 0, 1);
    out.PortCommand(MIDIOutput::StartQueue);
    runTo(200);
    ASSERT_EQ(cues.size(), 1u);
    EXPECT_EQ(doneAt.size(), 1u);
}

TEST_F(OutputFixture, DispatchNumbersReachTheSameProperties) {
    out.set(MIDIOutput::kPortNumber, 1);
    out.set(MIDIOutput::kPortCommand, MIDIOutput::OpenPort);
    EXPECT_EQ(out.getNumber(MIDIOutput::kPortIsOpen), 1);
    EXPECT_EQ(out.getString(MIDIOutput::kPortName), "Test Port 2");
    EXPECT_EQ(out.getNumber(MIDIOutput::kPortCount), 2);
    out.set(MIDIOutput::kSysExData, std::string("\xF0\x7E\x7F\x09\x01\xF7", 6));
    out.set(MIDIOutput::kStatusByte, 0xF0);
    out.set(MIDIOutput::kPortCommand, MIDIOutput::SendNow);
    out.set(MIDIOutput::kStatusByte, 0x90);
    out.set(MIDIOutput::kDataByte1, 60.7);  // fraction dropped
    out.set(MIDIOutput::kDataByte2, 100);
    out.set(MIDIOutput::kCueTime, 12.5);
    out.set(MIDIOutput::kCueTag, 11100);
    out.set(MIDIOutput::kPortCommand, MIDIOutput::QueueMessage);
    out.set(MIDIOutput::kPortCommand, 1e300);  // no such command: nothing
    out.set(MIDIOutput::kPortName, 3);         // read-only: nothing
    EXPECT_EQ(out.getNumber(MIDIOutput::kDataByte1), 60);
    out.set(MIDIOutput::kPortCommand, MIDIOutput::StartQueue);
    runTo(20);
    EXPECT_DOUBLE_EQ(out.getNumber(MIDIOutput::kQueueTime), 20);
    auto s = sent();
    ASSERT_EQ(s.size(), 2u);
    EXPECT_EQ(s[0].message.sysex.size(), 6u);
    EXPECT_DOUBLE_EQ(s[1].atMs, 13);
    ASSERT_EQ(cues.size(), 1u);
    EXPECT_EQ(cues[0].tag, 11100);
}

// A port that keeps its own time, like the built-in synthesizer: it applies
// handed-over messages when the test "renders" up to a moment.
class FakeTimedPort final : public TimedPort {
public:
    struct Item {
        MidiMessage m;
        double due;
        TimedTag tag;
    };
    void attach(const QueueTimeline* tl, const Clock* clock) override {
        timeline = tl;
        clock_ = clock;
    }
    double leadMs() const override { return 20.0; }
    bool open() override { return open_ = true; }
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }
    void send(const MidiMessage& m) override { immediate.push_back(m); }
    bool schedule(const MidiMessage& m, double due, const TimedTag& tag) override {
        handedAt.push_back(clock_->nowMs());
        pending.push_back({m, due, tag});
        return true;
    }
    bool withdraw(double from, std::uint64_t beforeSerial, std::uint32_t) override {
        std::erase_if(pending, [&](const Item& i) { return i.tag.serial < beforeSerial && i.due >= from; });
        return true;
    }
    std::size_t takeApplied(TimedTag* out, std::size_t max) override {
        std::size_t n = std::min(max, applied.size());
        std::copy(applied.begin(), applied.begin() + n, out);
        applied.erase(applied.begin(), applied.begin() + n);
        return n;
    }
    void render() {
        const TimelineState tl = timeline->read();
        for (auto it = pending.begin(); it != pending.end();) {
            if (it->tag.generation != tl.generation) {
                it = pending.erase(it);  // stale: dropped without a report
            } else if (tl.realAt(it->due) <= clock_->nowMs()) {
                played.push_back({clock_->nowMs(), it->m});
                applied.push_back(it->tag);
                it = pending.erase(it);
            } else {
                ++it;
            }
        }
    }

    const QueueTimeline* timeline = nullptr;
    const Clock* clock_ = nullptr;
    bool open_ = false;
    std::vector<MidiMessage> immediate;
    std::vector<Item> pending;
    std::vector<TimedTag> applied;
    std::vector<double> handedAt;
    std::vector<SentMessage> played;
};

class TimedProvider final : public PortProvider {
public:
    int count() override { return 0; }
    std::string name(int) override { return "timed"; }
    std::unique_ptr<MidiPort> create(int device) override {
        if (device != -1) return nullptr;
        ++created;
        auto p = std::make_unique<FakeTimedPort>();
        port = p.get();
        return p;
    }
    FakeTimedPort* port = nullptr;
    int created = 0;
};

TEST(MIDIOutputTimedPort, HandsOverAheadAndCuesWhenThePortHasPlayed) {
    ManualClock clock;
    QueueDispatcher ui;
    TimedProvider provider;
    MIDIOutput out(provider, ui, clock, MIDIOutput::Drive::Manual);
    std::vector<std::pair<double, std::int32_t>> cues;
    int done = 0;
    out.CueReached = [&](std::int32_t tag) { cues.push_back({clock.nowMs(), tag}); };
    out.QueueDone = [&] { ++done; };
    out.PortNumber(-1);
    out.PortCommand(MIDIOutput::OpenPort);
    ASSERT_NE(provider.port, nullptr);
    ASSERT_EQ(out.PortIsOpen(), 1);

    test::queueMessage(out, 100, 0x90, 36, 0, 1);
    test::queueMessage(out, 200, 0x90, 36, 0, -6);
    out.PortCommand(MIDIOutput::StartQueue);
    FakeTimedPort& port = *provider.port;
    for (int t = 1; t <= 300; ++t) {
        clock.set(t);
        out.pump();
        port.render();
        ui.drain();
    }
    ASSERT_EQ(port.handedAt.size(), 2u);
    EXPECT_DOUBLE_EQ(port.handedAt[0], 80);  // leadMs before its time
    ASSERT_EQ(port.played.size(), 2u);
    EXPECT_DOUBLE_EQ(port.played[0].atMs, 100);
    ASSERT_EQ(cues.size(), 2u);
    EXPECT_GE(cues[0].first, 100);  // reported once played, not when handed over
    EXPECT_EQ(cues[1].second, -6);
    EXPECT_EQ(done, 1);

    // Handed over, then stopped: the port drops it and nothing is reported.
    out.CueTime(350);
    out.CueTag(1);
    out.PortCommand(MIDIOutput::QueueMessage);
    out.PortCommand(MIDIOutput::StartQueue);
    clock.set(340);
    out.pump();
    ASSERT_EQ(port.pending.size(), 1u);
    out.PortCommand(MIDIOutput::StopQueue);
    clock.set(400);
    port.render();
    out.pump();
    ui.drain();
    EXPECT_EQ(port.played.size(), 2u);
    EXPECT_EQ(cues.size(), 2u);
}

// The port may play what a withdraw takes back before it learns of it: the
// program believes it withdrawn, so its cue must not come.
// The component on a virtual clock with a fake timed port open, its cues and
// run-outs counted.
struct TimedRig {
    TimedRig() {
        out.CueReached = [this](std::int32_t tag) { cues.push_back(tag); };
        out.QueueDone = [this] { ++done; };
        out.PortNumber(-1);
        out.PortCommand(MIDIOutput::OpenPort);
    }
    ManualClock clock;
    QueueDispatcher ui;
    TimedProvider provider;
    MIDIOutput out{provider, ui, clock, MIDIOutput::Drive::Manual};
    std::vector<std::int32_t> cues;
    int done = 0;
};

TEST(MIDIOutputTimedPort, AWithdrawVoidsTheCueOfWhatThePortPlayedBeforeItLearnedOfIt) {
    TimedRig rig;
    auto& [clock, ui, provider, out, cues, done] = rig;
    test::queueMessage(out, 100, 0x90, 60, 100, 1);
    test::queueMessage(out, 104, 0x90, 61, 100, 2);  // played, not yet reported
    test::queueMessage(out, 110, 0x90, 62, 100, 3);  // handed over, not played
    test::queueMessage(out, 300, 0x90, 63, 100, 4);  // still queued
    out.PortCommand(MIDIOutput::StartQueue);
    FakeTimedPort& port = *provider.port;
    auto play = [&](int from, int to) {
        for (int t = from; t <= to; ++t) {
            clock.set(t);
            out.pump();
            port.render();
            ui.drain();
        }
    };
    play(1, 104);
    ASSERT_EQ(port.pending.size(), 1u);
    out.CueTime(102);
    out.PortCommand(MIDIOutput::WithdrawQueued);
    EXPECT_TRUE(port.pending.empty());
    test::queueMessage(out, 102, 0x90, 64, 100, 5);
    play(105, 400);
    ASSERT_EQ(port.played.size(), 3u);
    EXPECT_EQ(port.played[2].message.data1, 64);
    EXPECT_EQ(cues, (std::vector<std::int32_t>{1, 5}));
    EXPECT_EQ(done, 1);
}

TEST(MIDIOutputTimedPort, ClosingMidPlayCuesWhatThePortStillHeldAndReopensTheSamePort) {
    // Loading a style closes and reopens the port while the music plays on;
    // a cue lost with the closed port would end the bar loop.
    TimedRig rig;
    auto& [clock, ui, provider, out, cues, done] = rig;
    test::queueMessage(out, 100, 0x90, 36, 0, -6);
    test::queueMessage(out, 90, 0x90, 36, 0, 1);
    test::queueMessage(out, 300, 0x90, 36, 0, -2);
    out.PortCommand(MIDIOutput::StartQueue);
    clock.set(85);
    out.pump();  // both early messages handed over, neither played
    ASSERT_EQ(provider.port->pending.size(), 2u);
    out.PortCommand(MIDIOutput::ClosePort);
    ui.drain();
    EXPECT_EQ(cues, (std::vector<std::int32_t>{1, -6})) << "in stamp order";

    out.PortCommand(MIDIOutput::OpenPort);
    EXPECT_EQ(provider.created, 1) << "the closed port is reopened, not made anew";
    EXPECT_EQ(out.PortIsOpen(), 1);
    for (int t = 86; t <= 400; ++t) {
        clock.set(t);
        out.pump();
        provider.port->render();
        ui.drain();
    }
    EXPECT_EQ(cues, (std::vector<std::int32_t>{1, -6, -2}));
    EXPECT_EQ(done, 1);

    out.PortNumber(5);
    out.PortCommand(MIDIOutput::OpenPort);  // another device: no reuse (and no such device)
    EXPECT_EQ(out.PortIsOpen(), 0);
    out.PortNumber(-1);
    out.PortCommand(MIDIOutput::OpenPort);
    EXPECT_EQ(provider.created, 2);
}

TEST(MIDIOutputThread, PlaysOnItsOwnOnTheSteadyClock) {
    SteadyClock clock;
    QueueDispatcher ui;
    RecordingPortProvider ports(clock);
    MIDIOutput out(ports, ui, clock);
    std::vector<std::int32_t> cues;
    bool done = false;
    out.CueReached = [&](std::int32_t tag) { cues.push_back(tag); };
    out.QueueDone = [&] { done = true; };
    out.PortNumber(0);
    out.PortCommand(MIDIOutput::OpenPort);
    for (int i = 0; i < 20; ++i) test::queueMessage(out, 40 - 2 * i, 0x90, 60 + i, 100, i + 1);  // latest first
    const double start = clock.nowMs();
    out.PortCommand(MIDIOutput::StartQueue);
    // A guard against a hang, not a timing check: 20 ms of music, 30 s allowed.
    while (!done && clock.nowMs() - start < 30000) {
        ui.drain();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_TRUE(done);
    auto s = ports.log->snapshot();
    ASSERT_EQ(s.size(), 20u);
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(s[i].message.data1, 79 - i) << "stamp order";
        EXPECT_GE(s[i].atMs - start, 2.0 * i) << "never early";
    }
    ASSERT_EQ(cues.size(), 20u);
    EXPECT_EQ(cues.front(), 20);
    EXPECT_EQ(cues.back(), 1);
}

}  // namespace
}  // namespace vornel
