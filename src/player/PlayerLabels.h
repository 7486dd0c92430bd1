#pragma once

namespace vornel {

struct PlayerState;
class TextTable;

// Puts the player window's language-dependent texts in place for language
// `lang` of `table`: the command bar, the three frame titles, the five file
// information headings, the meters switch's tool tip and the tool tip of all
// eight channel switches, the status line and the tempo readout. The file
// frame keeps the name of a loaded style.
// Texts read at the moment they are shown (messages, the loading progress)
// are not touched.
void relabelPlayer(PlayerState& state, const TextTable& table, int lang);

}  // namespace vornel
