#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <string>

#include "midi/input/MidiInputPort.h"

class RtMidiIn;

namespace vornel {

// A system MIDI input port through RtMidi. Its messages arrive on RtMidi's
// own thread. A device unplugged while open is noticed either by RtMidi's
// error callback or by isOpen(), which looks for the port in the system's list
// again (the ALSA sequencer reports nothing when a USB keyboard goes).
class RtMidiInputPort final : public MidiInputPort {
public:
    RtMidiInputPort(int index, std::string expectedName);
    ~RtMidiInputPort() override;

    bool open(Receiver receive, Lost lost) override;
    void close() override;
    bool isOpen() const override;

private:
    static void onMessage(double delta, std::vector<unsigned char>* message, void* self);
    void markLost() const;

    int index_;
    std::string expectedName_;
    std::unique_ptr<RtMidiIn> in_;
    std::unique_ptr<RtMidiIn> lister_;
    Receiver receive_;
    Lost lost_;
    mutable std::atomic<bool> open_{false};
};

// The system's MIDI input ports; none on a machine without a MIDI sequencer.
class SystemMidiInputs final : public MidiInputProvider {
public:
    SystemMidiInputs();
    ~SystemMidiInputs() override;
    int count() override;
    std::string name(int device) override;
    std::unique_ptr<MidiInputPort> create(int device) override;

private:
    bool ensureClient();
    std::unique_ptr<RtMidiIn> lister_;
};

}  // namespace vornel
