#pragma once

#include <cstdint>
#include <string>

namespace vornel {

struct PlayerState;

// The beats per minute that play: the file's tempo (`fileTempo` microseconds
// per quarter note) sped up by the tempo modification `shift` as the output
// component applies it, 2^(shift/100). One decimal, so that a single step of
// the scroll bar shows; a decimal comma in Turkish. Without a tempo (0) only
// the modification shows, signed.
std::string tempoReadout(std::int32_t fileTempo, int shift, int lang);

// Puts the readout for the loaded style and HScroll1, in language `lang`, into
// TempoReadout; its tool tip holds the modification itself.
void renewTempoReadout(PlayerState& s, int lang);

}  // namespace vornel
