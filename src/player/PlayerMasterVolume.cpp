#include <algorithm>
#include <string>

#include "midi/MasterVolume.h"
#include "midi/MidiVocabulary.h"
#include "midi/output/MIDIOutputComponent.h"
#include "platform/SettingsStore.h"
#include "player/Player.h"

namespace vornel {

// Like the tempo control, the scroll bar keeps the focus it was given.
void Player::Scr_Master_Change(int value) {
    s_.MasterVolume = std::clamp(value, 0, midi::kDataMax);
    s_.MasterReadout.caption = std::to_string(s_.MasterVolume);
    sendMasterVolume();
    if (live_.masterVolume == s_.MasterVolume) return;
    live_.masterVolume = s_.MasterVolume;
    if (store_) live_.save(*store_);
}

void Player::Lbl_Master_Click() {
    Scr_Master_Change(midi::kDefaultMasterVolume);
}

void Player::sendMasterVolume() {
    MIDIOutputComponent& out = s_.MIDIOutput1;
    out.StatusByte(midi::kSysEx);
    out.SysExData(midi::masterVolumeSysEx(s_.MasterVolume));
    out.PortCommand(MIDIOutputComponent::SendNow);
}

}  // namespace vornel
