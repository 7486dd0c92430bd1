#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace vornel {

// One MIDI input device. Implementations never throw: a device that cannot be
// opened answers open() with false; one that disappears calls `lost` once (on
// any thread) and reports isOpen() == false from then on.
class MidiInputPort {
public:
    // Raw bytes as the device delivered them, on the device's own thread; a
    // call may hold one message, several, or part of one.
    using Receiver = std::function<void(const std::uint8_t* bytes, std::size_t size)>;
    using Lost = std::function<void()>;

    virtual ~MidiInputPort() = default;
    virtual bool open(Receiver receive, Lost lost) = 0;
    // After close() returns, the receiver is never called again.
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
};

// The input devices the program can open, numbered 0 .. count()-1.
class MidiInputProvider {
public:
    virtual ~MidiInputProvider() = default;
    virtual int count() = 0;
    virtual std::string name(int device) = 0;
    // A new, unopened port for the device; nullptr when the number is unknown.
    virtual std::unique_ptr<MidiInputPort> create(int device) = 0;
};

}  // namespace vornel
