#pragma once
// A white bitmap to draw on and the pixel questions the canvas tests ask.

#include "platform/Bitmap.h"

#include <gtest/gtest.h>

#include <functional>

class CanvasFixture : public testing::Test {
  public:
    // The smallest box (l, t, r, b) holding every pixel that is not Ground;
    // empty when there is none.
    static TRect InkBox(const TBitmap& B, TColor Ground = clWhite);

  protected:
    static constexpr int W = 64;
    static constexpr int H = 48;

    CanvasFixture() : Bitmap(W, H) {}

    TCanvas& Canvas() { return Bitmap.Canvas(); }
    TColor At(int X, int Y) { return Canvas().Pixel(X, Y); }

    TRect InkBox(TColor Ground = clWhite) const { return InkBox(Bitmap, Ground); }
    // The number of pixels of colour C inside R.
    int Count(TColor C, const TRect& R);

    TBitmap Bitmap;
};

// Two bitmaps with the same drawing done by Draw must come out equal.
bool SamePixels(const TBitmap& A, const TBitmap& B);
