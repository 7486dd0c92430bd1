#include "app/ChannelVoicesText.h"

#include <array>
#include <cstdio>

#include "midi/output/synth/DrumChannels.h"
#include "midi/output/synth/SynthMessage.h"

namespace vornel {

namespace {

struct Asked {
    int msb = 0, lsb = 0, program = 0;
    bool drum = false;
    bool named = false;  // a bank select or program change seen
};

// The drum-channel effect of a set-up message, read as the synthesizer reads it.
DrumChannels::Decision drumEffect(int status, int data1, int data2, const std::string& sysex) {
    SynthMessage m;
    if (status == 0xF0) {
        // F0 and the stored bytes, F7 included: the synthesizer takes neither.
        std::size_t n = sysex.size() >= 2 ? sysex.size() - 2 : 0;
        if (n == 0 || n > m.sysex.size()) return {};
        m.kind = SynthMessage::Kind::SysEx;
        m.sysexLength = static_cast<std::uint16_t>(n);
        for (std::size_t i = 0; i < n; ++i) m.sysex[i] = sysex[i + 1];
    } else {
        m.kind = SynthMessage::Kind::Channel;
        m.status = static_cast<std::uint8_t>(status);
        m.data1 = static_cast<std::uint8_t>(data1);
        m.data2 = static_cast<std::uint8_t>(data2);
    }
    return DrumChannels::read(m);
}

}  // namespace

std::string channelVoicesText(Midifile& file, const VoiceMap& voices) {
    std::array<Asked, 16> asked{};
    asked[DrumChannels::kRhythmChannel].drum = true;
    file.Track(1);
    for (int e = 1; e <= file.EventCount(); ++e) {
        file.EventIndex(e);
        const int status = file.EvStatus(), data1 = file.EvData1(), data2 = file.EvData2();
        if ((status & 0xF0) == 0x90 && data2 > 0) break;
        if (status != 0xF0 && (status < 0x80 || status > 0xEF)) continue;
        const DrumChannels::Decision d = drumEffect(status, data1, data2, status == 0xF0 ? file.EvSysEx() : "");
        using Action = DrumChannels::Action;
        if (d.action == Action::SetDrum || d.action == Action::SetMelodic) {
            Asked& a = asked[static_cast<std::size_t>(d.channel)];
            a.drum = d.action == Action::SetDrum;
            if (!a.drum && a.msb >= DrumChannels::kFirstDrumBankMsb) a.msb = 0;
        }
        if (status == 0xF0 || d.action == Action::Drop) continue;
        Asked& a = asked[static_cast<std::size_t>(status & 0x0F)];
        if ((status & 0xF0) == 0xC0) {
            a.program = data1;
            a.named = true;
        } else if ((status & 0xF0) == 0xB0 && data1 == 0) {
            a.msb = data2;
            a.drum = data2 >= DrumChannels::kFirstDrumBankMsb;
            a.named = true;
        } else if ((status & 0xF0) == 0xB0 && data1 == 32) {
            a.lsb = data2;
            a.named = true;
        }
    }
    std::string text = "  voices (channel: bank MSB/LSB, program asked -> the SoundFont's preset)\n";
    for (std::size_t ch = 0; ch < asked.size(); ++ch) {
        const Asked& a = asked[ch];
        if (!a.named) continue;
        const VoiceMap::Choice c = voices.choose(a.msb, a.lsb, a.program, a.drum);
        char line[160];
        if (c.found()) {
            std::snprintf(line, sizeof line, "    %2zu: %3d/%3d %3d%s -> %d:%d %s\n", ch + 1, a.msb, a.lsb, a.program,
                          a.drum ? " kit" : "", c.bank, c.program, std::string(voices.nameOf(c)).c_str());
        } else {
            std::snprintf(line, sizeof line, "    %2zu: %3d/%3d %3d%s -> none\n", ch + 1, a.msb, a.lsb, a.program,
                          a.drum ? " kit" : "");
        }
        text += line;
    }
    return text;
}

}  // namespace vornel
