#include "playback/CommandBar.h"

namespace vornel {

namespace {
void setPlaying(PlayerState& s, bool playing) {
    s.Cmd_Play.enabled = !playing;
    s.Cmd_Open.enabled = !playing;
    s.Cmd_Settings.enabled = !playing;
    s.Cmd_Exit.enabled = !playing;
    s.Cmd_Stop.enabled = playing;
}
}  // namespace

void showPlaying(PlayerState& s) { setPlaying(s, true); }
void showStopped(PlayerState& s) { setPlaying(s, false); }

}  // namespace vornel
