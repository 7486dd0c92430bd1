#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "midi/input/MidiInputPort.h"

namespace vornel::test {

// Input devices the test plays into: whatever the test "plays" reaches the
// receiver the program gave the port, on the test's thread.
class FakeMidiInputs final : public MidiInputProvider {
public:
    struct Device {
        std::string name;
        bool opens = true;
        bool open = false;
        MidiInputPort::Receiver receive;
        MidiInputPort::Lost lost;
    };

    explicit FakeMidiInputs(std::vector<std::string> names) {
        for (auto& n : names) {
            auto d = std::make_shared<Device>();
            d->name = std::move(n);
            devices.push_back(std::move(d));
        }
    }

    int count() override { return static_cast<int>(devices.size()); }
    std::string name(int device) override {
        return device >= 0 && device < count() ? devices[static_cast<std::size_t>(device)]->name : std::string();
    }
    std::unique_ptr<MidiInputPort> create(int device) override {
        if (device < 0 || device >= count()) return nullptr;
        return std::make_unique<Port>(devices[static_cast<std::size_t>(device)]);
    }

    // Bytes from device `device`, as its driver would deliver them.
    void play(int device, std::vector<std::uint8_t> bytes) {
        Device& d = *devices[static_cast<std::size_t>(device)];
        if (d.open) d.receive(bytes.data(), bytes.size());
    }
    // The device is unplugged: it says so, as RtMidi's error callback does.
    void unplug(int device) {
        Device& d = *devices[static_cast<std::size_t>(device)];
        const bool wasOpen = d.open;
        d.open = false;
        d.opens = false;
        if (wasOpen && d.lost) d.lost();
    }

    std::vector<std::shared_ptr<Device>> devices;

private:
    class Port final : public MidiInputPort {
    public:
        explicit Port(std::shared_ptr<Device> d) : d_(std::move(d)) {}
        ~Port() override { close(); }
        bool open(Receiver receive, Lost lost) override {
            if (!d_->opens) return false;
            d_->receive = std::move(receive);
            d_->lost = std::move(lost);
            d_->open = true;
            return true;
        }
        void close() override { d_->open = false; }
        bool isOpen() const override { return d_->open; }

    private:
        std::shared_ptr<Device> d_;
    };
};

}  // namespace vornel::test
