#include "platform/GraphicsObjects.h"

#include <cmath>

// Points and pixels convert with rounding, as MulDiv does.
static int MulDiv(int Value, int Numerator, int Denominator) {
    return int(std::lround(double(Value) * Numerator / Denominator));
}

int TFont::Size() const {
    return -MulDiv(FHeight, 72, PixelsPerInch);
}

void TFont::SetSize(int Points) {
    FHeight = -MulDiv(Points, PixelsPerInch, 72);
}
