#include "midi/output/MIDIOutput.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

#include "midi/output/ThreadTuning.h"
#include "platform/IntegerValue.h"

namespace vornel {

namespace {
constexpr double kNever = std::numeric_limits<double>::infinity();
// While a timed port holds messages it has not reported yet, the scheduler
// looks for its reports this often. Cue events only need to reach the UI well
// within the half bar between a cue and the next chunk (and a meter moves
// within a frame of the screen), so 5 ms is plenty.
constexpr double kReportPollMs = 5.0;
constexpr std::size_t kReportBatch = 256;
constexpr double kSpinMs = 0.25;

// The engine queues a Note On of velocity 0 with a tag only to be told when
// its time comes. On a wire it would be a note-off: an external sound module
// would cut whatever plays on that key at every cue.
bool isCueCarrier(const QueuedMessage& q) {
    return q.cueTag != 0 && (q.message.status & 0xF0) == 0x90 && q.message.data2 == 0;
}
}  // namespace

MIDIOutput::MIDIOutput(PortProvider& ports, Dispatcher& ui, const Clock& clock, Drive drive)
    : ports_(ports), ui_(ui), clock_(clock), drive_(drive) {
    batch_.reserve(1024);
    applied_.resize(kReportBatch);
    if (drive_ == Drive::Thread) scheduler_ = std::thread([this] { schedulerLoop(); });
}

MIDIOutput::~MIDIOutput() {
    {
        std::lock_guard lock(queueMutex_);
        quit_ = true;
    }
    queueChanged_.notify_all();
    if (scheduler_.joinable()) scheduler_.join();
    closePort();
    parked_.reset();
}

void MIDIOutput::PortCommand(int code) {
    switch (code) {
        case OpenPort: openPort(); break;
        case ClosePort: closePort(); break;
        case StartQueue: startQueue(); break;
        case StopQueue: stopQueue(); break;
        case QueueMessage: queuePrepared(); break;
        case SendNow: sendPrepared(); break;
        case DiscardQueue: discardQueue(); break;
        case WithdrawQueued: withdrawQueued(); break;
        default: break;  // unknown commands do nothing, as a control would
    }
}

void MIDIOutput::PortNumber(int device) { portNumber_ = device; }

double MIDIOutput::getNumber(int dispId) const {
    switch (dispId) {
        case kPortNumber: return PortNumber();
        case kDataByte1: return DataByte1();
        case kPortCount: return PortCount();
        case kPortIsOpen: return PortIsOpen();
        case kQueueTime: return QueueTime();
        default: return 0;
    }
}

std::string MIDIOutput::getString(int dispId) const { return dispId == kPortName ? PortName() : std::string(); }

void MIDIOutput::set(int dispId, double value) {
    const std::optional<std::int32_t> whole = integerValue(value);
    const int v = whole.value_or(0);
    switch (dispId) {
        case kCueTime: CueTime(value); return;
        case kPortCommand: if (whole) PortCommand(v); return;
        case kPortNumber: if (whole) PortNumber(v); return;
        case kStatusByte: if (whole) StatusByte(v); return;
        case kDataByte1: if (whole) DataByte1(v); return;
        case kDataByte2: if (whole) DataByte2(v); return;
        case kCueTag: if (whole) CueTag(v); return;
        case kTempoShift: if (whole) TempoShift(v); return;
        case kLiveMessage: if (whole) sendLive(statusOf(v), data1Of(v), data2Of(v)); return;
        default: return;
    }
}

void MIDIOutput::set(int dispId, const std::string& value) {
    if (dispId == kSysExData) SysExData(value);
}

std::string MIDIOutput::PortName() const {
    try {
        return ports_.name(portNumber_);
    } catch (...) {
        return {};
    }
}

int MIDIOutput::PortCount() const {
    try {
        return std::max(0, ports_.count());
    } catch (...) {
        return 0;
    }
}

int MIDIOutput::PortIsOpen() const {
    std::lock_guard lock(portMutex_);
    return port_ && port_->isOpen() ? 1 : 0;
}

// The data is consumed by the one message that carries it. Loading hands every
// system-exclusive event over twice, once with its data and once as a bare
// three-byte 240; sending the data again for the second would repeat every
// set-up message, so a 240 without fresh data is refused instead.
void MIDIOutput::SysExData(const std::string& data) {
    sysex_ = data;
    sysexFresh_ = true;
}

void MIDIOutput::TempoShift(int shift) {
    tempoShift_ = std::clamp(shift, -100, 100);
    {
        std::lock_guard lock(queueMutex_);
        TimelineState tl = timeline_.read();
        const double now = clock_.nowMs();
        tl.anchorQueueMs = tl.queueAt(now);
        tl.anchorRealMs = now;
        tl.rate = rateForShift(tempoShift_);
        timeline_.write(tl);
    }
    wake();
}

MidiMessage MIDIOutput::takePrepared() {
    MidiMessage m{status_, data1_, data2_, {}};
    if (status_ == 0xF0 && sysexFresh_) {
        m.sysex = std::move(sysex_);
        sysex_.clear();
        sysexFresh_ = false;
    }
    return m;
}

void MIDIOutput::sendPrepared() {
    MidiMessage m = takePrepared();
    if (!isSendable(m)) {
        ++refused_;
        return;
    }
    std::lock_guard lock(portMutex_);
    if (port_ && port_->isOpen()) {
        port_->send(m);
        ++sent_;
    } else {
        ++unsent_;
    }
}

// The port mutex is the only lock taken: the UI and scheduling threads hold
// it only while handing messages to the port, never while waiting, and the
// audio thread never takes it.
void MIDIOutput::sendLive(int status, int data1, int data2) {
    const MidiMessage m{status, data1, data2, {}};
    if (!isSendable(m) || status == 0xF0) {
        ++refused_;
        return;
    }
    std::lock_guard lock(portMutex_);
    if (port_ && port_->isOpen()) {
        port_->sendLive(m);
        ++sent_;
    } else {
        ++unsent_;
    }
}

void MIDIOutput::queuePrepared() {
    MidiMessage m = takePrepared();
    if (!isSendable(m) || !std::isfinite(cueTime_)) {
        ++refused_;
        return;
    }
    bool earliest;
    {
        std::lock_guard lock(queueMutex_);
        earliest = queue_.empty() || cueTime_ < queue_.nextStamp();
        queue_.push(cueTime_, cueTag_, std::move(m));
        doneReported_ = false;
        if (earliest) ++wakeSeq_;
    }
    if (earliest) queueChanged_.notify_one();
}

void MIDIOutput::startQueue() {
    {
        std::lock_guard lock(queueMutex_);
        TimelineState tl = timeline_.read();
        if (tl.running) return;  // playing on: the clock keeps running
        tl.running = true;
        tl.anchorRealMs = clock_.nowMs();
        tl.anchorQueueMs = 0.0;
        tl.rate = rateForShift(tempoShift_);
        timeline_.write(tl);
    }
    wake();
}

void MIDIOutput::stopQueue() {
    {
        std::lock_guard lock(queueMutex_);
        TimelineState tl = timeline_.read();
        tl.running = false;
        tl.anchorQueueMs = 0.0;
        tl.anchorRealMs = clock_.nowMs();
        dropQueuedLocked(tl);
    }
    wake();
}

// Only the generation moves: the anchor, the rate and the running state stay,
// so queue time goes on exactly where it was.
void MIDIOutput::discardQueue() {
    {
        std::lock_guard lock(queueMutex_);
        dropQueuedLocked(timeline_.read());
    }
    wake();
}

// The new generation voids, wherever they are, the messages of the old one:
// in the queue (cleared here), in dispatch() (which stops at the next message),
// in the timed port (which drops them unplayed as soon as it sees the new
// generation, so that none plays after what is sent after this) and on their
// way to the UI thread (postCue and checkDone drop them on arrival).
void MIDIOutput::dropQueuedLocked(TimelineState next) {
    queue_.clear();
    ++next.generation;
    timeline_.write(next);
    generation_.store(next.generation);
    handed_.clear();
    doneReported_ = true;  // what was dropped has not run out
    // (On the UI thread, as both callers are.) Every cue on its way is void
    // now, and those posted from here on are newer than every withdraw so far.
    withdrawals_.clear();
}

// Decided with both mutexes held. The scheduling thread sends and hands over
// only while it holds portMutex_, so a message stamped at or after CueTime that
// it is dealing with at this moment has either gone out before (a note struck
// by it is released below, its cue is voided on arrival) or is still in the
// queue, the ledger or the batch taken from the queue, and is taken back. A
// timed port is told in order with its hand-overs: it takes back what it was
// handed before, by serial, not what comes after.
void MIDIOutput::withdrawQueued() {
    const double from = cueTime_;
    if (!std::isfinite(from)) return;
    std::uint64_t epoch;
    {
        std::lock_guard portLock(portMutex_);
        std::uint32_t generation;
        std::uint64_t queuedBefore;
        {
            std::lock_guard lock(queueMutex_);
            generation = generation_.load();
            queuedBefore = queue_.queuedSoFar();
            std::size_t taken = queue_.removeFrom(from);
            taken += std::erase_if(handed_, [from](const auto& entry) { return entry.second.stampMs >= from; });
            withdrawn_ += taken;
            batchWithdrawnFrom_ = std::min(batchWithdrawnFrom_, from);
            epoch = withdrawEpoch_.fetch_add(1) + 1;
            // A queue the withdraw leaves with nothing to play has not run out:
            // what is queued next raises QueueDone when it does.
            if (queue_.empty() && handed_.empty()) doneReported_ = true;
            ++wakeSeq_;
        }
        if (timedPort_) {
            // A port that cannot take it (its buffer full) plays what it was
            // handed as queued, note-offs included, but uncued: it has left the
            // ledger.
            if (timedPort_->isOpen()) timedPort_->withdraw(from, queuedBefore, generation);
        } else {
            releaseStruckLocked(from);
        }
    }
    queueChanged_.notify_one();
    while (!withdrawals_.empty() && withdrawals_.back().fromMs >= from) withdrawals_.pop_back();
    withdrawals_.push_back(Withdrawal{epoch, from});
}

void MIDIOutput::releaseStruckLocked(double fromMs) {
    if (struckGeneration_ != generation_.load()) {
        // Struck before a stop or a discard, which the player follows with
        // note-offs of its own.
        struck_.clear();
        return;
    }
    if (!port_ || !port_->isOpen()) return;
    struck_.releaseFrom(fromMs, [this](int channel, int key) {
        port_->send(MidiMessage{0x80 | channel, key, 0, {}});
        ++sent_;
    });
}

void MIDIOutput::openPort() {
    closePort();
    std::unique_ptr<MidiPort> port;
    try {
        // Loading a style closes and reopens the same device; the closed port
        // is kept so that reopening it costs no new SoundFont or MIDI client.
        if (parked_ && parkedDevice_ == portNumber_) {
            port = std::move(parked_);
        } else {
            parked_.reset();
            port = ports_.create(portNumber_);
        }
        if (!port) return;
        TimedPort* timed = dynamic_cast<TimedPort*>(port.get());
        if (timed) timed->attach(&timeline_, &clock_);
        if (!port->open()) {
            parked_ = std::move(port);
            parkedDevice_ = portNumber_;
            return;
        }
    } catch (...) {
        return;  // a device that fails shows only as PortIsOpen = 0
    }
    {
        std::lock_guard lock(portMutex_);
        port_ = std::move(port);
        portDevice_ = portNumber_;
        struck_.clear();
        timedPort_ = dynamic_cast<TimedPort*>(port_.get());
        hasTimedPort_.store(timedPort_ != nullptr);
    }
    wake();
}

void MIDIOutput::closePort() {
    std::unique_ptr<MidiPort> old;
    std::vector<Handed> orphans;
    std::uint32_t generation;
    {
        std::lock_guard lock(portMutex_);
        if (!port_) return;
        // What the port played before it closes is reported as usual...
        settleReports();
        old = std::move(port_);
        struck_.clear();
        timedPort_ = nullptr;
        hasTimedPort_.store(false);
        try {
            old->close();
        } catch (...) {
        }
        // ...and what it still held is cued now, in stamp order, as for a
        // message sent to a closed port: the sequencing runs on its cues.
        std::lock_guard queueLock(queueMutex_);
        generation = generation_.load();
        for (const auto& [serial, h] : handed_) orphans.push_back(h);
        handed_.clear();
    }
    std::stable_sort(orphans.begin(), orphans.end(),
                     [](const Handed& a, const Handed& b) { return a.stampMs < b.stampMs; });
    for (const Handed& h : orphans)
        if (h.cueTag != 0) postCue(h.cueTag, generation, h.stampMs);
    parked_ = std::move(old);
    parkedDevice_ = portDevice_;
    wake();
}

double MIDIOutput::runDue(std::uint64_t* wakeSeen) {
    std::uint32_t generation;
    double next = kNever;
    double now;
    double lead = 0.0;
    {
        // Asked on every pass: a port whose audio driver renders larger periods
        // than it asked for needs its messages earlier.
        std::lock_guard lock(portMutex_);
        if (timedPort_) lead = std::max(0.0, timedPort_->leadMs());
    }
    {
        std::lock_guard lock(queueMutex_);
        if (wakeSeen) *wakeSeen = wakeSeq_;
        const TimelineState tl = timeline_.read();
        generation = tl.generation;
        now = clock_.nowMs();
        batchWithdrawnFrom_ = kNever;
        if (tl.running && !queue_.empty()) {
            queue_.popDue(tl.queueAt(now + lead), batch_);
            if (!queue_.empty()) next = tl.realAt(queue_.nextStamp()) - lead;
        }
    }
    dispatch(batch_, generation);
    batch_.clear();
    {
        std::lock_guard lock(portMutex_);
        settleReports();
    }
    checkDone(generation);
    {
        std::lock_guard lock(queueMutex_);
        if (!handed_.empty()) next = std::min(next, now + kReportPollMs);
    }
    return next;
}

void MIDIOutput::dispatch(std::vector<QueuedMessage>& batch, std::uint32_t generation) {
    if (batch.empty()) return;
    std::lock_guard lock(portMutex_);
    double withdrawnFrom;
    {
        // A withdraw needs portMutex_ too, so none comes while the batch goes
        // out: one look is enough.
        std::lock_guard queueLock(queueMutex_);
        withdrawnFrom = batchWithdrawnFrom_;
    }
    if (struckGeneration_ != generation) {
        struck_.clear();
        struckGeneration_ = generation;
    }
    for (QueuedMessage& q : batch) {
        // A stop or a discard between taking the batch and sending it voids
        // the rest: it is followed by note-offs that must not be overtaken.
        if (generation_.load() != generation) break;
        // A withdraw in the same gap takes back its share.
        if (q.stampMs >= withdrawnFrom) {
            ++withdrawn_;
            continue;
        }
        const bool carrier = isCueCarrier(q);
        if (timedPort_) {
            // A carrier goes over as a message no port can play, which a timed
            // port keeps silently to report at its time.
            const TimedTag tag{q.serial, q.cueTag, generation};
            if (timedPort_->isOpen() && timedPort_->schedule(carrier ? MidiMessage{} : q.message, q.stampMs, tag)) {
                // Entered while the port is still held, so a close can never
                // miss a message that was handed over.
                std::lock_guard queueLock(queueMutex_);
                if (generation_.load() == generation) handed_[q.serial] = Handed{q.stampMs, q.cueTag, carrier};
                continue;  // cued once the port has played it
            }
            if (carrier)
                ++carried_;
            else
                ++unsent_;
        } else if (carrier) {
            ++carried_;
        } else if (port_ && port_->isOpen()) {
            port_->send(q.message);
            struck_.played(q.message.status, q.message.data1, q.message.data2, q.stampMs);
            ++sent_;
        } else {
            ++unsent_;
        }
        if (q.cueTag != 0) postCue(q.cueTag, generation, q.stampMs);
    }
}

// Caller holds portMutex_. A report counts only for a message still in the
// ledger: a stop or a close has already dealt with the others.
void MIDIOutput::settleReports() {
    if (!timedPort_) return;
    for (;;) {
        const std::size_t n = timedPort_->takeApplied(applied_.data(), applied_.size());
        {
            std::lock_guard queueLock(queueMutex_);
            const std::uint32_t generation = generation_.load();
            for (std::size_t i = 0; i < n; ++i) {
                if (applied_[i].generation != generation) continue;
                const auto h = handed_.find(applied_[i].serial);
                if (h == handed_.end()) continue;
                if (h->second.carrier)
                    ++carried_;
                else
                    ++sent_;
                const double stampMs = h->second.stampMs;
                handed_.erase(h);
                if (applied_[i].cueTag != 0) postCue(applied_[i].cueTag, generation, stampMs);
            }
        }
        if (n < applied_.size()) break;
    }
}

void MIDIOutput::checkDone(std::uint32_t generation) {
    std::uint64_t queuedSoFar;
    {
        std::lock_guard lock(queueMutex_);
        if (doneReported_ || !queue_.empty() || !handed_.empty()) return;
        const TimelineState tl = timeline_.read();
        if (!tl.running || tl.generation != generation) return;
        doneReported_ = true;
        queuedSoFar = queue_.queuedSoFar();
    }
    std::weak_ptr<int> alive = alive_;
    ui_.post([this, alive, generation, queuedSoFar] {
        if (alive.expired() || generation_.load() != generation) return;
        {
            // Something queued after the run-out (a cue handler that ran first)
            // means playback has not run out after all.
            std::lock_guard lock(queueMutex_);
            if (queue_.queuedSoFar() != queuedSoFar) return;
        }
        if (QueueDone) QueueDone();
    });
}

void MIDIOutput::postCue(std::int32_t tag, std::uint32_t generation, double stampMs) {
    std::weak_ptr<int> alive = alive_;
    const std::uint64_t epoch = withdrawEpoch_.load();
    ui_.post([this, alive, tag, generation, epoch, stampMs] {
        // Cues of a stopped queue must not start new chunks, nor those of
        // messages the program has taken back (and queued again).
        if (alive.expired() || generation_.load() != generation || cueWithdrawn(epoch, stampMs)) return;
        if (CueReached) CueReached(tag);
    });
}

bool MIDIOutput::cueWithdrawn(std::uint64_t epoch, double stampMs) {
    // Cues arrive in the order they were posted, in which epochs never go
    // down: the withdraws this cue is not older than concern no cue to come.
    const auto newer = std::find_if(withdrawals_.begin(), withdrawals_.end(),
                                    [epoch](const Withdrawal& w) { return w.epoch > epoch; });
    withdrawals_.erase(withdrawals_.begin(), newer);
    return !withdrawals_.empty() && withdrawals_.front().fromMs <= stampMs;
}

void MIDIOutput::pump() {
    if (drive_ == Drive::Manual) runDue(nullptr);
}

void MIDIOutput::wake() {
    {
        std::lock_guard lock(queueMutex_);
        ++wakeSeq_;
    }
    queueChanged_.notify_one();
}

void MIDIOutput::schedulerLoop() {
    tuneSchedulingThread();
    std::unique_lock lock(queueMutex_);
    while (!quit_) {
        lock.unlock();
        std::uint64_t wakeSeen = 0;
        const double next = runDue(&wakeSeen);
        lock.lock();
        // Anything that changed the queue's head, the timeline or the port
        // since runDue() looked bumped wakeSeq_, so no wake-up is lost.
        auto changed = [&] { return quit_ || wakeSeq_ != wakeSeen; };
        if (next == kNever) {
            queueChanged_.wait(lock, changed);
            continue;
        }
        // Sleep to just before the deadline, then spin the rest: waking from
        // a sleep takes longest on an idle machine, when the processor has
        // gone to rest, and a spin of a fraction of a millisecond per wake is
        // the cheap cure. A timed port gets its messages ahead of time and
        // needs no such precision.
        const double spin = hasTimedPort_.load() ? 0.0 : kSpinMs;
        if (queueChanged_.wait_until(lock, SteadyClock::fromMs(next - spin), changed) || spin == 0.0) continue;
        lock.unlock();
        while (clock_.nowMs() < next) {
        }
        lock.lock();
    }
}

MIDIOutput::Stats MIDIOutput::stats() const {
    return Stats{sent_.load(), refused_.load(), unsent_.load(), carried_.load(), withdrawn_.load()};
}

std::size_t MIDIOutput::queuedCount() const {
    std::lock_guard lock(queueMutex_);
    return queue_.size();
}

}  // namespace vornel
