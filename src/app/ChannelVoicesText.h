#pragma once

#include <string>

#include "midi/file/Midifile.h"
#include "midi/output/synth/VoiceMap.h"

namespace vornel {

// For vornel_render --info: what each channel asks for in the set-up at the
// start of the file's first track (its messages before the first note), and
// the preset `voices` gives it. Selects the file's track 1.
std::string channelVoicesText(Midifile& file, const VoiceMap& voices);

}  // namespace vornel
