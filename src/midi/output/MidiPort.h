#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "midi/output/MidiMessage.h"

namespace vornel {

class Clock;
class QueueTimeline;

// One MIDI output device. Implementations never throw: a device that cannot be
// opened answers open() with false, a device that disappears reports
// isOpen() == false from then on. send() is only given messages for which
// isSendable() holds.
class MidiPort {
public:
    virtual ~MidiPort() = default;
    virtual bool open() = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // Puts the message on the wire as soon as possible. Called on the UI thread
    // (messages sent at once) or on the output component's scheduling thread
    // (queued messages whose time has come), never on both at the same moment.
    virtual void send(const MidiMessage& m) = 0;
    // A message a musician plays now, from the MIDI input's thread; callers
    // hold the same lock as for send(). A port that keeps its own time may
    // place it more steadily than send() does.
    virtual void sendLive(const MidiMessage& m) { send(m); }
};

// Identifies a queued message handed to a TimedPort ahead of its time, and
// comes back once the port has applied it.
struct TimedTag {
    std::uint64_t serial = 0;      // order of hand-over, unique per component
    std::int32_t cueTag = 0;       // the CueTag the message was queued with
    std::uint32_t generation = 0;  // QueueTimeline generation at hand-over
};

// A port that keeps its own sample-accurate time (the built-in synthesizer).
// The output component hands it queued messages `leadMs()` before they are due,
// stamped in queue time; the port converts queue time to its own time through
// the shared QueueTimeline at the moment it renders, so a tempo change reaches
// messages already handed over. The port applies each message at its due time
// and reports it back through takeApplied(). Messages of a generation other
// than the timeline's current one are dropped without a report (the queue was
// stopped after they were handed over).
class TimedPort : public MidiPort {
public:
    // Called once, before open(), by the output component that owns the port.
    virtual void attach(const QueueTimeline* timeline, const Clock* clock) = 0;
    // How long before its due time a queued message must be handed over.
    virtual double leadMs() const = 0;
    // Called with the owner's port lock held (on the scheduling thread, or the
    // UI thread when the owner is pumped by hand), so that no two calls of
    // schedule() and withdraw() overlap. False when the port cannot take the
    // message (closed, or its buffer is full); the component then treats the
    // message as played.
    virtual bool schedule(const MidiMessage& m, double dueQueueMs, const TimedTag& tag) = 0;
    // Called as schedule() is, in order with it: takes back every message
    // handed over before it (all have serials below `beforeSerial`) that is due
    // at or after `fromQueueMs` and not yet applied; none of them is reported.
    // Messages handed over after it are untouched, whatever their due time.
    // A note struck from the queue at or after `fromQueueMs` that has already
    // been applied is released at once. Ignored when `generation` is no longer
    // the timeline's. False when the port cannot take it (closed, or its buffer
    // is full): then nothing is taken back.
    virtual bool withdraw(double fromQueueMs, std::uint64_t beforeSerial, std::uint32_t generation) = 0;
    // Called on the scheduling thread only: copies up to `max` tags of messages
    // applied since the last call, in the order applied; returns how many.
    virtual std::size_t takeApplied(TimedTag* out, std::size_t max) = 0;
};

// The devices the component can open: number -1 is the built-in synthesizer,
// 0 .. count()-1 the system's MIDI output ports.
class PortProvider {
public:
    virtual ~PortProvider() = default;
    virtual int count() = 0;
    virtual std::string name(int device) = 0;
    // A new, unopened port for the device; nullptr when the number is unknown.
    virtual std::unique_ptr<MidiPort> create(int device) = 0;
};

}  // namespace vornel
