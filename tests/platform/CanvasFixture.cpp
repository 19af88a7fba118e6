#include "tests/platform/CanvasFixture.h"

#include "tests/support/Pixels.h"

#include <QImage>

#include <algorithm>

TRect CanvasFixture::InkBox(const TBitmap& B, TColor Ground) {
    TRect Box{B.Width(), B.Height(), 0, 0};
    const QImage& Image = B.Image();
    for (int Y = 0; Y < B.Height(); ++Y)
        for (int X = 0; X < B.Width(); ++X) {
            if (PixelOf(Image, X, Y) == Ground)
                continue;
            Box = {std::min(Box.Left, X), std::min(Box.Top, Y), std::max(Box.Right, X + 1),
                   std::max(Box.Bottom, Y + 1)};
        }
    return Box.IsEmpty() ? TRect{} : Box;
}

int CanvasFixture::Count(TColor C, const TRect& R) {
    int N = 0;
    for (int Y = R.Top; Y < R.Bottom; ++Y)
        for (int X = R.Left; X < R.Right; ++X)
            N += At(X, Y) == C;
    return N;
}

bool SamePixels(const TBitmap& A, const TBitmap& B) {
    return A.Image() == B.Image();
}
