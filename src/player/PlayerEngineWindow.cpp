// The player window's side of the engine: what the engine asks of the window
// (EngineWindow), answered on this record.

#include "player/LevelMeters.h"
#include "player/PartChoice.h"
#include "player/PlayerState.h"
#include "settings/Language.h"
#include "settings/TextTable.h"

namespace vornel {

namespace {

// The sequencing's own error message; these texts are not in the text table.
constexpr const char* kUnknownErrorTurkish = "Bilinmeyen bir hata oluştu.";
constexpr const char* kUnknownErrorEnglish = "Sorry. Unknown error !";
constexpr int kNoDataMessage = 1;

void setPlaying(PlayerState& s, bool playing) {
    s.Cmd_Play.enabled = !playing;
    s.Cmd_Open.enabled = !playing;
    s.Cmd_Settings.enabled = !playing;
    s.Cmd_Exit.enabled = !playing;
    s.Cmd_Stop.enabled = playing;
}

}  // namespace

void PlayerState::showPlaying() {
    setPlaying(*this, true);
}

void PlayerState::showStopped() {
    showChosen();
    setPlaying(*this, false);
}

// The blinking ends and the part button and chord label chosen show it.
void PlayerState::showChosen() {
    Timer1.stop();
    Timer3.stop();
    if (engine.CurPart >= 1 && engine.CurPart <= kPartCount)
        Cmd_Part[static_cast<std::size_t>(engine.CurPart - 1)].colour = ColSelected;
    if (engine.ChordIdx >= 0 && engine.ChordIdx < static_cast<int>(Lbl_Chord.size()))
        Lbl_Chord[static_cast<std::size_t>(engine.ChordIdx)].colour = ColSelected;
}

// A part the window does not offer (no marker of it in the style) cannot be
// pressed.
bool PlayerState::pressPart(int button) {
    if (button < 0 || button >= kPartCount || !Cmd_Part[static_cast<std::size_t>(button)].enabled) return false;
    Cmd_Part_Click(*this, button);
    return true;
}

// A meter rises to a louder note only, and not while the meters or the
// channel are switched off.
void PlayerState::raiseMeter(int channel, int velocity) {
    if (channel < kFirstMeterChannel || channel > kLastMeterChannel) return;
    if (MetersOff != 0) return;
    if (!(Cmd_DisCh[static_cast<std::size_t>(channel - kFirstMeterChannel)].colour == ColOn)) return;
    const double level = velocity * kMeterFullScale / 127.0;
    if (level > ProgressBar2[static_cast<std::size_t>(channel)]) ShowVUMeter(*this, channel, velocity);
}

void PlayerState::reportNoData() {
    dialogs.messageBox(text(kGroupMessages, kNoDataMessage), kAppTitle, MessageIcon::Exclamation);
}

void PlayerState::reportUnknownError() {
    const char* message = language.LangNo == kLangEnglish ? kUnknownErrorEnglish : kUnknownErrorTurkish;
    dialogs.messageBox(message, kAppTitle, MessageIcon::None);
}

}  // namespace vornel
