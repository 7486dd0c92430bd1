#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace vornel {

// What the program sees of the MIDI output component (MIDIOutput1): a message
// is prepared in its properties and a command written to PortCommand; the
// component plays its queue by itself and reports tagged messages back through
// CueReached and QueueDone, on the UI thread. The program holds it through
// this interface because the component normally lives in its own loadable
// module (Midiio32); tests and tools use the in-process MIDIOutput directly.
class MIDIOutputComponent {
public:
    enum Command {
        OpenPort = 1,
        ClosePort = 2,
        StartQueue = 4,
        StopQueue = 5,
        QueueMessage = 6,
        SendNow = 7,
        // Drops every queued message not yet played, as StopQueue does, but
        // leaves the queue's clock running where it was, at the same tempo, so
        // that queuing can go on at once (after a Panic while playing). No cue
        // of what it dropped arrives, not even one already on its way to the
        // UI thread, and it raises no QueueDone (what is queued after it raises
        // one when it runs out). Like StopQueue, it goes before the note-offs
        // that silence what was sounding.
        DiscardQueue = 8,
        // Takes back every message queued so far that is stamped at or after
        // CueTime and has not been played: from the queue, and from what the
        // built-in synthesizer was handed ahead of time. Earlier messages play
        // on with their cues, and what is queued after the command plays as
        // usual, whatever its stamp: the rest of a bar can be queued again at
        // once, in a new chord. No cue of a message stamped at or after CueTime
        // and queued before the command arrives after it, not even one already
        // on its way to the UI thread, and the command raises no QueueDone: when
        // it leaves nothing to play, only what is queued after it raises one.
        // A note struck at or after CueTime that has already sounded (it went
        // out just before, or the synthesizer was rendering it) is released at
        // once, since its note-off is among what was taken back.
        WithdrawQueued = 9,
    };

    // Dispatch numbers of the properties, by which the component's narrow
    // entry point addresses them.
    enum DispId {
        kPortCommand = 1,
        kPortNumber = 2,
        kPortName = 6,
        kStatusByte = 15,
        kDataByte1 = 16,
        kDataByte2 = 17,
        kCueTime = 18,
        kSysExData = 19,
        kPortCount = 20,
        kPortIsOpen = 21,
        kCueTag = 22,
        kTempoShift = 23,
        // Written from any thread: a played message, packed (LiveSink::pack).
        kLiveMessage = 24,
        // Read-only: QueueTime.
        kQueueTime = 25,
    };

    virtual ~MIDIOutputComponent() = default;

    virtual void PortCommand(int code) = 0;
    virtual void PortNumber(int device) = 0;
    virtual int PortNumber() const = 0;
    virtual std::string PortName() const = 0;
    virtual void StatusByte(int value) = 0;
    virtual void DataByte1(int value) = 0;
    virtual int DataByte1() const = 0;
    virtual void DataByte2(int value) = 0;
    virtual void CueTime(double ms) = 0;
    virtual void SysExData(const std::string& data) = 0;
    virtual int PortCount() const = 0;
    virtual int PortIsOpen() const = 0;
    virtual void CueTag(std::int32_t tag) = 0;
    virtual void TempoShift(int shift) = 0;
    // The queue's clock now, in ms: where a message queued now with this
    // CueTime would be due at once. 0 while stopped, and for a stand-in that
    // keeps no queue.
    virtual double QueueTime() const { return 0.0; }

    // The component's events; set by the owner, called on the UI thread.
    std::function<void(std::int32_t tag)> CueReached;
    std::function<void()> QueueDone;
};

}  // namespace vornel
