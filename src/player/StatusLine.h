#pragma once

#include <string>

#include "player/StatusReports.h"

namespace vornel {

struct PlayerState;

// The status line's text in language `lang`, one line: the last file's
// problem, then no sound and why, or the open device's name.
// Empty while nothing is known.
std::string statusLineText(const DeviceReport& device, const LoadReport& load, int lang);

// Puts the text for the state's reports in language `lang` into its
// StatusLine control; a line that reports a problem is drawn in red.
void renewStatusLine(PlayerState& s, int lang);

// After loading `path`: what the file's framing and track 1 tell about it.
void reportLoadProblems(PlayerState& s, const std::string& path);

}  // namespace vornel
