#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "player/PlayerState.h"

namespace vornel {

// Loads the style file CdFL: reads it, shows its information, recognises its
// section markers, checks for a Main section, extracts every offered section
// (sending the style's set-up messages) and readies the window for playing.
// Blocks the UI thread; progress is repainted explicitly.
void LoadFile(PlayerState& s, const std::string& CdFL);

// Fills the file information frame from track 1 and hands every marker to
// marker recognition.
void ShowAndLoadInfo(PlayerState& s);

// Preselects the first Main section the file offers, or rejects the file.
void CheckParts(PlayerState& s);

// Extracts every enabled section in load order.
void SetParts(PlayerState& s);

// Extracts one section: Part is its name, PartNo its button index (raised to
// the part number on the way, as the caller's variable).
void LoadPartData(PlayerState& s, std::string_view Part, std::int16_t& PartNo);

}  // namespace vornel
