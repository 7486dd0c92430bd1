#include "midi/input/MidiInputParser.h"

#include "midi/MidiVocabulary.h"

namespace vornel {

namespace {
constexpr std::uint8_t kFirstRealTime = 0xF8;

bool hasTwoDataBytes(std::uint8_t status) {
    const int kind = midi::kindOf(status);
    return kind != midi::kProgramChange && kind != midi::kChannelPressure;
}
}  // namespace

void MidiInputParser::reset() {
    running_ = 0;
    haveFirst_ = false;
    inSysEx_ = false;
}

bool MidiInputParser::take(std::uint8_t b) {
    if (b >= kFirstRealTime) return false;  // clock, start, stop, active sensing: between any two bytes
    if (!midi::isDataByte(b)) {
        haveFirst_ = false;
        // Any status byte ends a system-exclusive message, its own end (0xF7)
        // or whatever a keyboard sends after a truncated one; System Common messages cancel running
        // status, and their data bytes then belong to nothing.
        inSysEx_ = b == midi::kSysEx;
        running_ = midi::isChannelMessage(b) ? b : 0;
        return false;
    }
    if (inSysEx_ || running_ == 0) return false;
    if (hasTwoDataBytes(running_) && !haveFirst_) {
        first_ = b;
        haveFirst_ = true;
        return false;
    }
    haveFirst_ = false;
    const bool twoBytes = hasTwoDataBytes(running_);
    message_.status = running_;
    message_.data1 = twoBytes ? first_ : b;
    message_.data2 = twoBytes ? b : 0;
    if (midi::kindOf(running_) == midi::kNoteOn && message_.data2 == 0)
        message_.status = static_cast<std::uint8_t>(midi::statusOf(midi::kNoteOff, midi::channelOf(running_)));
    return true;
}

}  // namespace vornel
