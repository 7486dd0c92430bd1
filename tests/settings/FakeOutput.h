#pragma once

#include <set>
#include <string>
#include <vector>

#include "midi/output/MIDIOutputComponent.h"

namespace vornel::test {

// An output component that only knows devices: `names[d + 1]` is the name of
// device number d (so names[0] is device -1), PortCount reports `count`, and
// opening succeeds for every device number from -1 to count - 1 that is not
// in `failing`. Every PortNumber and PortCommand write is logged in order.
class FakeOutput final : public MIDIOutputComponent {
public:
    struct Write {
        enum class Kind { Number, Command } kind;
        int value;
        friend bool operator==(const Write&, const Write&) = default;
    };

    void PortCommand(int code) override {
        log.push_back({Write::Kind::Command, code});
        if (code == OpenPort) open = number >= -1 && number < count && !failing.contains(number);
        if (code == ClosePort) open = false;
    }
    void PortNumber(int device) override {
        log.push_back({Write::Kind::Number, device});
        number = device;
    }
    int PortNumber() const override { return number; }
    std::string PortName() const override {
        const int i = number + 1;
        return i >= 0 && i < static_cast<int>(names.size()) ? names[static_cast<std::size_t>(i)]
                                                            : std::string();
    }
    void StatusByte(int) override {}
    void DataByte1(int) override {}
    int DataByte1() const override { return 0; }
    void DataByte2(int) override {}
    void CueTime(double) override {}
    void SysExData(const std::string&) override {}
    int PortCount() const override { return count; }
    int PortIsOpen() const override { return open ? 1 : 0; }
    void CueTag(std::int32_t) override {}
    void TempoShift(int) override {}

    // The commands written, in order.
    std::vector<int> commands() const {
        std::vector<int> out;
        for (const Write& w : log)
            if (w.kind == Write::Kind::Command) out.push_back(w.value);
        return out;
    }
    // The device number the last OpenPort was written for; -2 when none was.
    int openedDevice() const {
        int selected = -2, opened = -2;
        for (const Write& w : log) {
            if (w.kind == Write::Kind::Number) selected = w.value;
            if (w.kind == Write::Kind::Command && w.value == OpenPort) opened = selected;
        }
        return opened;
    }

    std::vector<std::string> names{"Built-in Synth", "USB Keyboard", "Virtual Port"};
    int count = 2;
    std::set<int> failing;
    bool open = false;
    int number = 0;
    std::vector<Write> log;
};

}  // namespace vornel::test
