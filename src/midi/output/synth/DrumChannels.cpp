#include "midi/output/synth/DrumChannels.h"

namespace vornel {

namespace {

using Action = DrumChannels::Action;
using Decision = DrumChannels::Decision;

int byteAt(const SynthMessage& m, int i) {
    return static_cast<unsigned char>(m.sysex[static_cast<std::size_t>(i)]);
}

// 7E dd 09 01: GM System On; 09 03: GM2 System On.
Decision universal(const SynthMessage& m) {
    if (m.sysexLength == 4 && byteAt(m, 2) == 0x09 && (byteAt(m, 3) == 0x01 || byteAt(m, 3) == 0x03))
        return {Action::Reset};
    return {};
}

// A GS parameter of one byte: 41 dd 42 12, three address bytes, the value and
// a checksum that brings address, value and itself to a multiple of 128.
Decision roland(const SynthMessage& m) {
    if (m.sysexLength != 9 || byteAt(m, 2) != 0x42 || byteAt(m, 3) != 0x12) return {};
    int sum = 0;
    for (int i = 4; i < 9; ++i) sum += byteAt(m, i);
    if (sum % 128 != 0) return {};
    const int a1 = byteAt(m, 4), a2 = byteAt(m, 5), a3 = byteAt(m, 6), value = byteAt(m, 7);
    // GS reset (0) or its leaving GS for GM (7F): both reset every part.
    if (a1 == 0x40 && a2 == 0x00 && a3 == 0x7F && (value == 0x00 || value == 0x7F)) return {Action::Reset};
    // Use for rhythm part: off, map 1, map 2. The address names a block, not a
    // channel: block 0 is channel 10, 1..9 channels 1..9, A..F channels 11..16.
    if (a1 == 0x40 && (a2 & 0xF0) == 0x10 && a3 == 0x15 && value <= 2) {
        const int block = a2 & 0x0F;
        const int channel = block == 0 ? DrumChannels::kRhythmChannel : (block < 10 ? block - 1 : block);
        return {value == 0 ? Action::SetMelodic : Action::SetDrum, channel};
    }
    return {};
}

// An XG parameter of one byte: 43 1n 4C, three address bytes, the value.
Decision yamaha(const SynthMessage& m) {
    if (m.sysexLength != 7 || (byteAt(m, 1) & 0xF0) != 0x10 || byteAt(m, 2) != 0x4C) return {};
    const int a1 = byteAt(m, 3), a2 = byteAt(m, 4), a3 = byteAt(m, 5), value = byteAt(m, 6);
    // XG System On and All Parameter Reset.
    if (a1 == 0x00 && a2 == 0x00 && (a3 == 0x7E || a3 == 0x7F) && value == 0) return {Action::Reset};
    // Part mode of part a2: 0 normal, 1 drum, 2..5 drum set-ups. Each part
    // receives on its own channel; styles never reassign them.
    if (a1 == 0x08 && a2 < 16 && a3 == 0x07 && value <= 5)
        return {value == 0 ? Action::SetMelodic : Action::SetDrum, a2};
    return {};
}

}  // namespace

DrumChannels::Decision DrumChannels::read(const SynthMessage& m) {
    if (m.kind == SynthMessage::Kind::Channel) {
        const bool bankMsb = (m.status & 0xF0) == 0xB0 && m.data1 == 0;
        // In "xg" a bank MSB only chooses the channel type, and FluidSynth would
        // make channel 10 melodic: the message can go.
        if (bankMsb && (m.status & 0x0F) == kRhythmChannel && m.data2 < kFirstDrumBankMsb) return {Action::Drop};
        return {};
    }
    if (m.kind != SynthMessage::Kind::SysEx || m.sysexLength < 4) return {};
    // The device number is not checked: whatever a style addresses, it means
    // the one synthesizer that plays it.
    switch (byteAt(m, 0)) {
        case 0x7E:
            return universal(m);
        case 0x41:
            return roland(m);
        case 0x43:
            return yamaha(m);
        default:
            return {};
    }
}

}  // namespace vornel
