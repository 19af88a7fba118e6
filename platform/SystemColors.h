#pragma once
// System colours resolve to the fixed values of a classic light desktop
// theme, so that pictures do not depend on the desktop's theme.

#include "platform/Types.h"

// The value of a system colour index (COLOR_BTNFACE and the rest); black
// for an unknown index.
TColor GetSysColor(int Index);
// System colours (high byte 0x80) become their value; every other colour
// keeps its three low bytes (palette-relative colours included).
TColor ColorToRGB(TColor Color);
