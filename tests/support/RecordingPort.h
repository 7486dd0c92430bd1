#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "midi/output/MidiPort.h"
#include "platform/Clock.h"

namespace vornel::test {

// What left a port, and when (by the clock the port was given).
struct SentMessage {
    double atMs = 0.0;
    MidiMessage message;
};

// Notes still sounding after a recorded stream, as (channel 1..16, note). A
// Note On of velocity 0 and a Note Off both end a note.
inline std::set<std::pair<int, int>> soundingNotes(const std::vector<SentMessage>& sent) {
    std::set<std::pair<int, int>> on;
    for (const SentMessage& m : sent) {
        const int kind = m.message.status & 0xF0;
        const int channel = (m.message.status & 0x0F) + 1;
        if (kind == 0x90 && m.message.data2 > 0)
            on.insert({channel, m.message.data1});
        else if (kind == 0x90 || kind == 0x80)
            on.erase({channel, m.message.data1});
    }
    return on;
}

// Shared record of everything sent through the ports of one provider, so a test
// can look at it after the component has destroyed or replaced its port.
struct PortLog {
    std::mutex mutex;
    std::vector<SentMessage> sent;
    int opens = 0;
    int closes = 0;

    std::vector<SentMessage> snapshot() {
        std::lock_guard lock(mutex);
        return sent;
    }
};

class RecordingPort final : public MidiPort {
public:
    RecordingPort(std::shared_ptr<PortLog> log, const Clock& clock, bool opens)
        : log_(std::move(log)), clock_(clock), opens_(opens) {}
    bool open() override {
        std::lock_guard lock(log_->mutex);
        ++log_->opens;
        open_ = opens_;
        return open_;
    }
    void close() override {
        std::lock_guard lock(log_->mutex);
        ++log_->closes;
        open_ = false;
    }
    bool isOpen() const override { return open_; }
    void send(const MidiMessage& m) override {
        std::lock_guard lock(log_->mutex);
        log_->sent.push_back({clock_.nowMs(), m});
    }

private:
    std::shared_ptr<PortLog> log_;
    const Clock& clock_;
    bool opens_;
    bool open_ = false;
};

// Devices -1 .. count-1, all recording into one log. Devices listed in
// `failing` refuse to open, as a device that is busy or gone would.
class RecordingPortProvider final : public PortProvider {
public:
    RecordingPortProvider(const Clock& clock, int count = 2) : clock_(clock), count_(count) {}
    int count() override { return count_; }
    std::string name(int device) override {
        if (device < -1 || device >= count_) return {};
        return device == -1 ? "Test Synth" : "Test Port " + std::to_string(device + 1);
    }
    std::unique_ptr<MidiPort> create(int device) override {
        if (device < -1 || device >= count_) return nullptr;
        lastCreated = device;
        return std::make_unique<RecordingPort>(log, clock_, !failing.count(device));
    }

    std::shared_ptr<PortLog> log = std::make_shared<PortLog>();
    std::map<int, bool> failing;
    int lastCreated = -2;

private:
    const Clock& clock_;
    int count_;
};

}  // namespace vornel::test
