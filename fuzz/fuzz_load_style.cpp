// libFuzzer target for loading and playing a style: the input is written to a
// file and opened as the file chooser would, then played on a virtual clock
// for a while with a chord change and a part pick, and stopped. Besides the
// sanitizers' findings it stops when a handler runs away (a cue that keeps
// queuing more cues at the same moment) or a note is left sounding after Stop.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <string>

#include "midi/file/Midifile.h"
#include "midi/output/MIDIOutput.h"
#include "platform/Clock.h"
#include "platform/SilentDialogs.h"
#include "platform/Dispatcher.h"
#include "platform/Timer.h"
#include "player/Player.h"
#include "settings/Language.h"
#include "style/StyleData.h"
#include "support/RecordingPort.h"

namespace {

using namespace vornel;

void check(bool ok) {
    if (!ok) std::abort();
}

std::string stylePath() {
    static const std::string path = "/tmp/vornel-fuzz-style-" + std::to_string(getpid()) + ".sty";
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FILE* f = std::fopen(stylePath().c_str(), "wb");
    if (!f) return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);

    ManualClock clock;
    QueueDispatcher ui;
    test::RecordingPortProvider ports(clock);
    MIDIOutput out(ports, ui, clock, MIDIOutput::Drive::Manual);
    out.PortNumber(-1);
    out.PortCommand(MIDIOutput::OpenPort);
    Midifile reader;
    static StyleData style;  // 19 x 10001 slots: made once, as the program does
    Language language;
    language.table.SetTheLangsQuery();
    SilentDialogs dialogs;
    ManualTimer timer1(250), timer2(55, true), timer3(250);
    Player player(reader, out, style, language, dialogs, timer1, timer2, timer3);
    player.Form_Load();

    player.LoadFile(stylePath());
    const PlayerState& s = player.state();
    if (!s.Cmd_Play.enabled) return 0;

    // Above 6,000 beats a minute a file is not music: every cue and meter
    // report of hundreds of bars falls into one step, which says nothing
    // about cues that stop moving forward.
    if (reader.Tempo() > 0 && reader.Tempo() < 10000) return 0;

    player.Cmd_Play_Click();
    for (int step = 1; step <= 400 && s.engine.Playing; ++step) {
        clock.advance(25.0);
        out.pump();
        // A chunk is queued per cue, a cue at most every half bar: thousands
        // within one 25 ms step mean the cues no longer move forward in time.
        check(ui.drain() < 5000);
        if (step == 40) player.Picture1_KeyDown('H', 1);  // A minor
        if (step == 80)
            for (int b = 17; b >= 0; --b)
                if (s.Cmd_Part[static_cast<std::size_t>(b)].enabled) {
                    player.Cmd_Part_Click(b);
                    break;
                }
        if (step % 3 == 0) player.Timer2_Timer();
    }
    if (s.Cmd_Stop.enabled) player.Cmd_Stop_Click();
    check(test::soundingNotes(ports.log->snapshot()).empty());
    return 0;
}
