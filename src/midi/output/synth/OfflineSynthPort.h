#pragma once

#include <functional>
#include <memory>

#include "midi/output/synth/FluidSynthPort.h"

namespace vornel {

// The built-in synthesizer as a device that opens without an audio driver, so
// the output component can play into it while its owner renders the samples
// (to a WAV file, or to look at them in a test) on a manual clock.
class OfflineSynthPort final : public TimedPort {
public:
    explicit OfflineSynthPort(double sampleRate = 44100.0, FluidSynthPort::Options options = {})
        : synth_(std::make_unique<FluidSynthPort>(std::move(options))), sampleRate_(sampleRate) {}

    FluidSynthPort& synth() { return *synth_; }
    // Sees every message on its way in: its queue time when it was queued,
    // -1 when it is played at once (a cue carrier is none). For a tool that
    // logs the stream.
    std::function<void(const MidiMessage&, double dueQueueMs)> observe;

    bool open() override { return synth_->openOffline(sampleRate_); }
    void close() override { synth_->close(); }
    bool isOpen() const override { return synth_->isOpen(); }
    void send(const MidiMessage& m) override {
        if (observe) observe(m, -1.0);
        synth_->send(m);
    }
    void attach(const QueueTimeline* timeline, const Clock* clock) override { synth_->attach(timeline, clock); }
    double leadMs() const override { return synth_->leadMs(); }
    bool schedule(const MidiMessage& m, double dueQueueMs, const TimedTag& tag) override {
        // A cue carrier comes as a message no port can play: nothing goes in.
        if (observe && isSendable(m)) observe(m, dueQueueMs);
        return synth_->schedule(m, dueQueueMs, tag);
    }
    bool withdraw(double fromQueueMs, std::uint64_t beforeSerial, std::uint32_t generation) override {
        return synth_->withdraw(fromQueueMs, beforeSerial, generation);
    }
    std::size_t takeApplied(TimedTag* out, std::size_t max) override { return synth_->takeApplied(out, max); }

private:
    std::unique_ptr<FluidSynthPort> synth_;
    double sampleRate_;
};

// A provider of that one device, as number -1.
class OfflineSynthProvider final : public PortProvider {
public:
    explicit OfflineSynthProvider(double sampleRate = 44100.0, FluidSynthPort::Options options = {})
        : sampleRate_(sampleRate), options_(std::move(options)) {}
    int count() override { return 0; }
    std::string name(int device) override { return device == -1 ? "Offline synthesizer" : std::string(); }
    std::unique_ptr<MidiPort> create(int device) override {
        if (device != -1) return nullptr;
        auto port = std::make_unique<OfflineSynthPort>(sampleRate_, options_);
        last = port.get();
        return port;
    }
    // The port made last (owned by the component that opened it).
    OfflineSynthPort* last = nullptr;

private:
    double sampleRate_;
    FluidSynthPort::Options options_;
};

}  // namespace vornel
