#pragma once

#include <string>

#include "player/Player.h"
#include "support/PlayerFixture.h"

namespace vornel::test {

// A player window model beside the window under test, on the fixture's
// language and recorded screen, shown as after the setup window's OK. Its
// menu commands open the windows the test wires to them.
class PlayerBeside : protected PlayerFixture {
protected:
    PlayerBeside() { player.Show(); }

    bool playerVisible() const { return player.state().window.visible; }
    // The player's language step, for the one caption a test needs.
    void relabelHelpCommand() {
        player.state().Cmd_Help.caption = language.text(kGroupCaptions, 15);
    }

    Player player{reader, output, style, language, dialogs, timer1, timer2, timer3};
};

}  // namespace vornel::test
