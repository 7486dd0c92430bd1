#pragma once

#include <functional>
#include <memory>
#include <string>

#include "midi/output/MidiPort.h"
#include "midi/output/ports/RtMidiPort.h"

namespace vornel {

// The devices of this machine: -1 is the built-in synthesizer, 0 .. n-1 the
// system's MIDI output ports in RtMidi's order.
class SystemPortProvider final : public PortProvider {
public:
    using SynthFactory = std::function<std::unique_ptr<MidiPort>()>;

    SystemPortProvider(std::string synthName, SynthFactory makeSynth)
        : synthName_(std::move(synthName)), makeSynth_(std::move(makeSynth)) {}

    int count() override { return ports_.count(); }
    std::string name(int device) override {
        if (device == -1) return synthName_;
        return ports_.name(device);
    }
    std::unique_ptr<MidiPort> create(int device) override {
        if (device == -1) return makeSynth_ ? makeSynth_() : nullptr;
        if (device < 0 || device >= ports_.count()) return nullptr;
        return std::make_unique<RtMidiPort>(device, ports_.name(device));
    }

private:
    std::string synthName_;
    SynthFactory makeSynth_;
    SystemMidiPorts ports_;
};

}  // namespace vornel
