#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "midi/file/Midifile.h"
#include "midi/output/MIDIOutput.h"
#include "platform/Clock.h"
#include "platform/Dispatcher.h"
#include "platform/Timer.h"
#include "player/PlayerState.h"
#include "settings/Language.h"
#include "style/StyleData.h"
#include "support/RecordingDialogs.h"
#include "support/RecordingPort.h"
#include "support/SmfBuilder.h"
#include "support/TempDir.h"

namespace vornel::test {

// A complete player state on a virtual clock, as the player window owns it:
// the output component runs on Drive::Manual with device -1 (a recording
// port) open, its events wait in `ui` until the test drains them, the
// language is Turkish, the screen is a RecordingDialogs and the three window
// timers are ManualTimers (Timer2 running, as the window starts it).
//
// Use it as a member, or as a base beside ::testing::Test:
//   class MyTest : public ::testing::Test, protected test::PlayerFixture {};
class PlayerFixture {
public:
    PlayerFixture() {
        output.PortNumber(-1);
        output.PortCommand(MIDIOutput::OpenPort);
    }
    PlayerFixture(const PlayerFixture&) = delete;
    PlayerFixture& operator=(const PlayerFixture&) = delete;

    // Everything that left the port so far, with its clock time.
    std::vector<SentMessage> sent() { return ports.log->snapshot(); }
    void clearSent() {
        std::lock_guard lock(ports.log->mutex);
        ports.log->sent.clear();
    }

    // Pumps the component and delivers its events, then advances the clock
    // in 1 ms steps to `ms`, doing the same at each step.
    void runTo(double ms) {
        output.pump();
        ui.drain();
        while (clock.nowMs() < ms) {
            clock.advance(std::min(1.0, ms - clock.nowMs()));
            output.pump();
            ui.drain();
        }
    }

    // Writes a built file into this fixture's temporary folder; returns its path.
    std::string writeFile(const SmfBuilder& file, const std::string& name = "style.sty") {
        return file.writeTo(files.file(name)).string();
    }

    static Language turkish() {
        Language lang;
        lang.table.SetTheLangsQuery();
        lang.LangNo = kLangTurkish;
        return lang;
    }

    ManualClock clock;
    QueueDispatcher ui;
    RecordingPortProvider ports{clock};
    MIDIOutput output{ports, ui, clock, MIDIOutput::Drive::Manual};
    Midifile reader;
    StyleData style;
    Language language = turkish();
    RecordingDialogs dialogs;
    ManualTimer timer1{250};
    ManualTimer timer2{55, true};
    ManualTimer timer3{250};
    PlayerState state{reader, output, style, language, dialogs, timer1, timer2, timer3};
    TempDir files;
};

}  // namespace vornel::test
