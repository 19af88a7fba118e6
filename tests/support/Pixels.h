#pragma once
// A pixel of a Qt image as the program's colour value.

#include "platform/Types.h"

#include <QImage>

inline TColor PixelOf(const QImage& Image, int X, int Y) {
    const QRgb P = Image.pixel(X, Y);
    return RGB(qRed(P), qGreen(P), qBlue(P));
}
