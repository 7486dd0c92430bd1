#pragma once

#include <cstdint>

#include "midi/file/Midifile.h"
#include "midi/output/MIDIOutput.h"
#include "platform/Clock.h"
#include "platform/Dispatcher.h"
#include "platform/Timer.h"
#include "player/Player.h"
#include "settings/Language.h"
#include "style/StyleData.h"
#include "support/RecordingDialogs.h"
#include "support/RecordingPort.h"
#include "support/SmfBuilder.h"

namespace vornel::test {

// A whole player window's model on a virtual clock, created as the program
// creates it (Form_Load), English, with a recording port open. The output
// component posts its events to `ui`, which the owner runs when it likes
// (at once, or late, as a busy UI thread would).
struct PlayerRig {
    explicit PlayerRig(Dispatcher& ui) : output(ports, ui, clock, MIDIOutput::Drive::Manual) {
        output.PortNumber(-1);
        output.PortCommand(MIDIOutput::OpenPort);
        language.table.SetTheLangsQuery();
        language.LangNo = kLangEnglish;
        player.Form_Load();
        PlayerState& s = player.state();
        s.Cmd_Play.enabled = true;
        for (Control& label : s.Lbl_Chord) label.enabled = true;
    }
    PlayerRig(const PlayerRig&) = delete;
    PlayerRig& operator=(const PlayerRig&) = delete;

    // A style file of one track that holds only its meter and tempo.
    void loadTiming(int resolution, int num, int denExp, std::uint32_t tempo) {
        SmfBuilder file(1, resolution);
        file.addTrack().timeSignature(0, num, denExp).tempo(0, tempo).endOfTrack(0);
        const Bytes bytes = file.build();
        reader.loadFromMemory(bytes.data(), bytes.size());
    }
    // Part `part` as loading leaves it, its button enabled; events are
    // stored with `store(style, part)`.
    template <typename Store>
    void storePart(int part, std::int32_t start, std::int32_t end, Store store) {
        style.PartStart(part) = start;
        style.PartEnd(part) = end;
        style.PartEvCount(part) = 0;
        store(style, part);
        player.state().Cmd_Part[static_cast<std::size_t>(part - 1)].enabled = true;
    }

    ManualClock clock;
    RecordingPortProvider ports{clock};
    MIDIOutput output;
    Midifile reader;
    StyleData style;
    Language language;
    RecordingDialogs dialogs;
    ManualTimer timer1{250};
    ManualTimer timer2{55, true};
    ManualTimer timer3{250};
    Player player{reader, output, style, language, dialogs, timer1, timer2, timer3};
};

}  // namespace vornel::test
