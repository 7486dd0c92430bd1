#pragma once

#include "style/PartButtons.h"

namespace vornel {

// With auto fill on, choosing Main part button `to` while Main part button
// `from` sounds plays a fill first, as arranger keyboards do: the fill from
// one variation to the other where the style has it (A to B: Fill In AB),
// else the new variation's own fill (Fill In BB); to the same Main its own
// fill. Each of those fills leads into `to`. Returns the fill's button, or -1
// when either button is no Main part or the style has none of those fills
// (the Main part is then taken straight).
int autoFillButton(int from, int to, const PartButtons& buttons);

}  // namespace vornel
