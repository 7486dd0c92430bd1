#include "player/TempoReadout.h"

#include <cmath>
#include <cstdio>

#include "midi/file/MidifileComponent.h"
#include "player/PlayerState.h"
#include "settings/Language.h"
#include "settings/StatusTexts.h"

namespace vornel {

namespace {

std::string signedShift(int shift) {
    return (shift > 0 ? "+" : "") + std::to_string(shift);
}

}  // namespace

std::string tempoReadout(std::int32_t fileTempo, int shift, int lang) {
    if (fileTempo <= 0) return signedShift(shift);
    const double bpm = 60000000.0 / fileTempo * std::exp2(shift / 100.0);
    char digits[32];
    std::snprintf(digits, sizeof digits, "%.1f", bpm);
    std::string text = digits;
    if (lang == kLangTurkish)
        for (char& c : text)
            if (c == '.') c = ',';
    return text + statusText(lang, StatusText::Bpm);
}

// Only a loaded style has a tempo of its own: the reader still holds a
// rejected file's (or its made-up default), which would be no tempo at all.
void renewTempoReadout(PlayerState& s, int lang) {
    const bool styleLoaded = s.Cmd_Play.enabled || s.Cmd_Stop.enabled;
    const std::int32_t tempo = styleLoaded ? s.Midifile1.Tempo() : 0;
    s.TempoReadout.caption = tempoReadout(tempo, s.engine.TempoShift, lang);
    s.TempoReadout.toolTip = "Tempo Modify " + signedShift(s.engine.TempoShift);
}

}  // namespace vornel
