#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "midi/output/MidiPort.h"

class RtMidiOut;

namespace vornel {

// A system MIDI output port (ALSA sequencer, JACK, CoreMIDI, WinMM) through
// RtMidi. RtMidi reports trouble by exceptions or through an error callback;
// both end here, so nothing escapes and a failing device shows as closed.
class RtMidiPort final : public MidiPort {
public:
    RtMidiPort(int index, std::string expectedName);
    ~RtMidiPort() override;

    bool open() override;
    void close() override;
    bool isOpen() const override { return open_.load(); }
    void send(const MidiMessage& m) override;

private:
    static void onError(int type, const std::string& text, void* self);

    int index_;
    std::string expectedName_;
    std::unique_ptr<RtMidiOut> out_;
    std::atomic<bool> open_{false};
    std::vector<unsigned char> bytes_;
};

// Lists the system's MIDI output ports. Only a machine that has a MIDI
// sequencer lists any: without one (no /dev/snd/seq) there is nothing to
// enumerate, and asking RtMidi anyway would only fill the terminal with the
// sound library's complaints.
class SystemMidiPorts {
public:
    SystemMidiPorts();
    ~SystemMidiPorts();
    int count();
    std::string name(int index);

private:
    bool ensureClient();
    std::unique_ptr<RtMidiOut> lister_;
};

}  // namespace vornel
