#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "midi/output/LiveSink.h"
#include "midi/output/MIDIOutputComponent.h"
#include "midi/output/MessageQueue.h"
#include "midi/output/MidiPort.h"
#include "midi/output/QueueTimeline.h"
#include "midi/output/StruckKeys.h"
#include "platform/Clock.h"
#include "platform/Dispatcher.h"

namespace vornel {

// The MIDI output component: sends messages at once, plays a queue of
// time-stamped messages by itself and reports the tagged ones back.
//
// A message is prepared in StatusByte, DataByte1, DataByte2 (for the queue also
// CueTime and CueTag), then a command is written to PortCommand. All property
// calls belong to the UI thread; CueReached and QueueDone are delivered on it
// through the Dispatcher, one at a time, in stamp order.
//
// Inside, the queue is a plain ordered structure under one mutex. With
// Drive::Thread a scheduling thread sleeps to each message's absolute deadline
// and sends it (or, for the built-in synthesizer, hands it over a little ahead
// of time so the audio callback places it on its exact sample frame). With
// Drive::Manual nothing runs by itself: pump() does one pass at the clock's
// present time, which lets tests run the component on a virtual clock.
//
// A cue carrier (a queued Note On of velocity 0 with a non-zero CueTag) is
// there only for its CueReached: no port is sent it. A timed port is handed a
// silent stand-in instead, so that its cue still comes back in order with the
// messages around it.
class MIDIOutput final : public MIDIOutputComponent, public LiveSink {
public:
    enum class Drive { Thread, Manual };

    struct Stats {
        std::uint64_t sent = 0;     // messages that reached a port
        std::uint64_t refused = 0;  // not valid MIDI: never sent
        std::uint64_t unsent = 0;   // valid, but no port was open or it took none
        std::uint64_t carried = 0;  // cue carriers: cued, sent to no port, in none of the above
        std::uint64_t withdrawn = 0;  // taken back by WithdrawQueued before they were played
    };

    MIDIOutput(PortProvider& ports, Dispatcher& ui, const Clock& clock, Drive drive = Drive::Thread);
    ~MIDIOutput() override;
    MIDIOutput(const MIDIOutput&) = delete;
    MIDIOutput& operator=(const MIDIOutput&) = delete;

    void PortCommand(int code) override;
    void PortNumber(int device) override;
    int PortNumber() const override { return portNumber_; }
    std::string PortName() const override;
    void StatusByte(int value) override { status_ = value; }
    void DataByte1(int value) override { data1_ = value; }
    int DataByte1() const override { return data1_; }
    void DataByte2(int value) override { data2_ = value; }
    void CueTime(double ms) override { cueTime_ = ms; }
    void SysExData(const std::string& data) override;
    int PortCount() const override;
    int PortIsOpen() const override;
    void CueTag(std::int32_t tag) override { cueTag_ = tag; }
    void TempoShift(int shift) override;
    double QueueTime() const override { return queueTimeMs(); }
    // Any thread: to the open port at once, beside the queue.
    void sendLive(int status, int data1, int data2) override;

    // Access by dispatch number, for the component's narrow entry point. A
    // property of the other kind, or an unknown number, reads 0 or empty and
    // writes nothing.
    double getNumber(int dispId) const;
    std::string getString(int dispId) const;
    void set(int dispId, double value);
    void set(int dispId, const std::string& value);

    // Drive::Manual only: sends or hands over everything due now, and forwards
    // what a timed port reports as played.
    void pump();

    Stats stats() const;
    // Queue time now (ms since StartQueue, scaled by the tempo shift).
    double queueTimeMs() const { return timeline_.read().queueAt(clock_.nowMs()); }
    std::size_t queuedCount() const;

private:
    struct Posted;
    void openPort();
    void closePort();
    void queuePrepared();
    void sendPrepared();
    MidiMessage takePrepared();
    void startQueue();
    void stopQueue();
    void discardQueue();
    void withdrawQueued();
    // Caller holds portMutex_: releases at once, on a MIDI port, the keys struck
    // from the queue at or after `fromMs`.
    void releaseStruckLocked(double fromMs);
    // Caller holds queueMutex_: empties the queue and writes `next` as the
    // timeline of a new generation.
    void dropQueuedLocked(TimelineState next);

    // One pass of the scheduler; returns the real time (ms) it next needs to run.
    // The scheduling thread (the UI thread with Drive::Manual) runs these; they
    // may take the two mutexes for a moment but never wait on the UI thread.
    double runDue(std::uint64_t* wakeSeen);
    // Sends or hands over a batch of due messages; stops at the first one a
    // stop or a discard has voided.
    void dispatch(std::vector<QueuedMessage>& batch, std::uint32_t generation);
    void settleReports();
    void checkDone(std::uint32_t generation);
    // Called with portMutex_ held, or on the UI thread: either way no withdraw
    // runs at the same time, so the withdraw epoch read is the cue's.
    void postCue(std::int32_t tag, std::uint32_t generation, double stampMs);
    // UI thread: whether a withdraw made after `epoch` took back the message,
    // stamped `stampMs`, whose cue arrives now; forgets the withdraws that no
    // cue still to come can answer to.
    bool cueWithdrawn(std::uint64_t epoch, double stampMs);
    void schedulerLoop();
    void wake();

    PortProvider& ports_;
    Dispatcher& ui_;
    const Clock& clock_;
    const Drive drive_;

    // UI-thread state (the prepared message).
    int portNumber_ = -1;
    int status_ = 0, data1_ = 0, data2_ = 0;
    double cueTime_ = 0.0;
    std::int32_t cueTag_ = 0;
    std::string sysex_;
    bool sysexFresh_ = false;
    int tempoShift_ = 0;

    QueueTimeline timeline_;
    std::atomic<std::uint32_t> generation_{0};
    // Bumped by every withdraw, under both mutexes; a posted cue carries the
    // epoch it was posted in.
    std::atomic<std::uint64_t> withdrawEpoch_{0};
    // UI thread: the withdraws a cue still on its way may have to answer to,
    // oldest first. Each one's stamp is earlier than those after it (a withdraw
    // from the same stamp or a later one than a newer withdraw's adds nothing to
    // it), so the first one newer than a cue's epoch decides.
    struct Withdrawal {
        std::uint64_t epoch;
        double fromMs;
    };
    std::vector<Withdrawal> withdrawals_;

    // The queue and everything the scheduler shares with the UI thread.
    mutable std::mutex queueMutex_;
    std::condition_variable queueChanged_;
    MessageQueue queue_;
    // Messages handed to a timed port and not yet reported, by serial.
    struct Handed {
        double stampMs;
        std::int32_t cueTag;
        bool carrier;
    };
    std::map<std::uint64_t, Handed> handed_;
    bool doneReported_ = true;        // QueueDone already posted for this run-out
    bool quit_ = false;
    // The earliest stamp withdrawn since runDue() last took a batch: what of
    // that batch is stamped at or after it is not sent.
    double batchWithdrawnFrom_ = std::numeric_limits<double>::infinity();
    std::uint64_t wakeSeq_ = 0;       // bumped by every change the scheduler must see

    // The port; its own mutex so a long SendNow burst never holds up queuing.
    mutable std::mutex portMutex_;
    std::unique_ptr<MidiPort> port_;
    int portDevice_ = -1;
    // The port closed last, kept for a reopen of the same device (UI thread).
    std::unique_ptr<MidiPort> parked_;
    int parkedDevice_ = -1;
    TimedPort* timedPort_ = nullptr;  // port_ when it keeps its own time
    // What queued notes left sounding on a port that does not keep its own
    // time (a timed port keeps its own), in the generation they were sent in.
    StruckKeys struck_;
    std::uint32_t struckGeneration_ = 0;
    std::atomic<bool> hasTimedPort_{false};

    std::atomic<std::uint64_t> sent_{0}, refused_{0}, unsent_{0}, carried_{0}, withdrawn_{0};
    std::vector<QueuedMessage> batch_;
    std::vector<TimedTag> applied_;

    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
    std::thread scheduler_;
};

}  // namespace vornel
