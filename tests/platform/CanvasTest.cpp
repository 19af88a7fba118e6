#include "platform/Bitmap.h"
#include "platform/PainterCanvas.h"
#include "platform/SystemColors.h"
#include "tests/platform/CanvasFixture.h"

#include <QImage>
#include <QPdfWriter>
#include <QPixmap>
#include <QRegion>
#include <QTemporaryDir>

#include <string>
#include <vector>

namespace {

using CanvasGeometry = CanvasFixture;

struct TLineCase {
    const char* Name;
    std::vector<TPoint> Points;
    std::vector<TPoint> Painted;
};

TEST_F(CanvasGeometry, ThinLinesLeaveTheirEndPointUnpainted) {
    const TLineCase Cases[] = {
        {"horizontal", {{2, 5}, {10, 5}}, {{2, 5}, {9, 5}}},
        {"vertical", {{4, 3}, {4, 12}}, {{4, 3}, {4, 11}}},
        {"diagonal", {{2, 2}, {8, 8}}, {{2, 2}, {7, 7}}},
        {"leftwards", {{20, 9}, {12, 9}}, {{20, 9}, {13, 9}}},
        {"upwards", {{30, 30}, {30, 20}}, {{30, 30}, {30, 21}}},
        {"steep up-left", {{50, 40}, {45, 25}}, {{50, 40}}},
        {"polyline corner", {{2, 20}, {12, 20}, {12, 30}}, {{2, 20}, {12, 20}, {12, 29}}},
    };
    for (const TLineCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        Canvas().Brush().SetColor(clWhite);
        Canvas().FillRect({0, 0, W, H});
        Canvas().Pen().SetColor(clRed);
        Canvas().Polyline(C.Points);
        for (TPoint P : C.Painted)
            EXPECT_EQ(At(P.X, P.Y), clRed) << P.X << "," << P.Y;
        const TPoint End = C.Points.back();
        EXPECT_EQ(At(End.X, End.Y), clWhite);
    }
}

TEST_F(CanvasGeometry, LineToMovesThePenAndSkipsTheEndPoint) {
    Canvas().Pen().SetColor(clBlue);
    Canvas().MoveTo(3, 3);
    Canvas().LineTo(13, 3);
    Canvas().LineTo(13, 13);
    EXPECT_EQ(Canvas().PenPos(), (TPoint{13, 13}));
    EXPECT_EQ(At(3, 3), clBlue);
    EXPECT_EQ(At(13, 3), clBlue);
    EXPECT_EQ(At(13, 12), clBlue);
    EXPECT_EQ(At(13, 13), clWhite);
}

TEST_F(CanvasGeometry, BoxesCoverLeftToRightMinusOne) {
    const TRect Boxes[] = {{5, 6, 25, 20}, {10, 10, 13, 12}, {0, 0, W, H}, {30, 4, 61, 45}};
    struct TOp {
        const char* Name;
        void (*Draw)(TCanvas&, const TRect&);
    };
    const TOp Ops[] = {
        {"FillRect", [](TCanvas& C, const TRect& R) { C.FillRect(R); }},
        {"Rectangle", [](TCanvas& C, const TRect& R) { C.Rectangle(R); }},
        {"Ellipse", [](TCanvas& C, const TRect& R) { C.Ellipse(R); }},
    };
    for (const TOp& Op : Ops)
        for (const TRect& R : Boxes) {
            SCOPED_TRACE(std::string(Op.Name) + " " + std::to_string(R.Left) + "," +
                         std::to_string(R.Top) + "," + std::to_string(R.Right) + "," +
                         std::to_string(R.Bottom));
            TBitmap B(W, H);
            B.Canvas().Pen().SetColor(clNavy);
            B.Canvas().Brush().SetColor(clYellow);
            Op.Draw(B.Canvas(), R);
            EXPECT_EQ(InkBox(B), R);
        }
}

TEST_F(CanvasGeometry, RectangleIsOutlinedWithThePenAndFilledWithTheBrush) {
    Canvas().Pen().SetColor(clRed);
    Canvas().Brush().SetColor(clLime);
    Canvas().Rectangle(10, 10, 20, 16);
    for (TPoint P :
         {TPoint{10, 10}, TPoint{19, 10}, TPoint{10, 15}, TPoint{19, 15}, TPoint{15, 10}})
        EXPECT_EQ(At(P.X, P.Y), clRed);
    EXPECT_EQ(Count(clLime, {11, 11, 19, 15}), 8 * 4);
}

TEST_F(CanvasGeometry, EllipseTouchesTheMiddleOfEachSide) {
    Canvas().Pen().SetColor(clRed);
    Canvas().Brush().SetColor(clLime);
    Canvas().Ellipse(10, 10, 31, 25);
    EXPECT_EQ(At(20, 10), clRed);
    EXPECT_EQ(At(20, 24), clRed);
    EXPECT_EQ(At(10, 17), clRed);
    EXPECT_EQ(At(30, 17), clRed);
    EXPECT_EQ(At(20, 17), clLime);
    EXPECT_EQ(At(10, 10), clWhite);
}

TEST_F(CanvasGeometry, PolygonIsFilledWithTheBrushAndOutlinedWithThePen) {
    Canvas().Pen().SetColor(clRed);
    Canvas().Brush().SetColor(clLime);
    const TPoint Triangle[] = {{10, 10}, {40, 10}, {10, 40}};
    Canvas().Polygon(Triangle);
    for (TPoint P : Triangle)
        EXPECT_EQ(At(P.X, P.Y), clRed);
    EXPECT_EQ(At(25, 10), clRed);
    EXPECT_EQ(At(10, 25), clRed);
    EXPECT_EQ(At(25, 25), clRed); // on the slanted side
    EXPECT_EQ(At(15, 15), clLime);
    EXPECT_EQ(At(30, 30), clWhite);
}

TEST_F(CanvasGeometry, ClearBrushLeavesTheInside) {
    Canvas().Brush().SetColor(clBlue);
    Canvas().FillRect({0, 0, W, H});
    Canvas().Brush().SetStyle(bsClear);
    Canvas().Pen().SetColor(clRed);
    Canvas().Rectangle(5, 5, 30, 30);
    const TPoint Shape[] = {{35, 5}, {60, 5}, {60, 40}};
    Canvas().Polygon(Shape);
    Canvas().Ellipse(5, 32, 30, 47);
    EXPECT_EQ(At(5, 5), clRed);
    EXPECT_EQ(Count(clBlue, {6, 6, 29, 29}), 23 * 23);
    EXPECT_EQ(At(55, 15), clBlue);
    EXPECT_EQ(At(17, 40), clBlue);
}

TEST_F(CanvasGeometry, ClearPenFillsOnePixelLessAsTheClassicServiceDoes) {
    Canvas().Pen().SetStyle(psClear);
    Canvas().Brush().SetColor(clLime);
    Canvas().Rectangle(10, 10, 30, 24);
    EXPECT_EQ(InkBox(), (TRect{10, 10, 29, 23}));
    TBitmap Round(W, H);
    Round.Canvas().Pen().SetStyle(psClear);
    Round.Canvas().Brush().SetColor(clLime);
    Round.Canvas().Ellipse(10, 10, 30, 24);
    const TRect Ink = InkBox(Round);
    EXPECT_EQ(Ink.Left, 10);
    EXPECT_EQ(Ink.Right, 29);
    EXPECT_GE(Ink.Top, 10);
    EXPECT_LE(Ink.Bottom, 23);
    EXPECT_GE(Ink.Height(), 12);
}

TEST_F(CanvasGeometry, PenWidthsZeroAndOneDrawTheSameLine) {
    TBitmap Thin0(W, H), Thin1(W, H);
    const TPoint Zigzag[] = {{1, 1}, {30, 20}, {5, 40}, {60, 44}, {60, 2}};
    Thin0.Canvas().Pen().SetWidth(0);
    Thin1.Canvas().Pen().SetWidth(1);
    for (TBitmap* B : {&Thin0, &Thin1}) {
        B->Canvas().Pen().SetStyle(psDash);
        B->Canvas().Polyline(Zigzag);
        B->Canvas().Rectangle(3, 3, 20, 20);
    }
    EXPECT_TRUE(SamePixels(Thin0, Thin1));
    EXPECT_FALSE(InkBox(Thin0).IsEmpty());
}

TEST_F(CanvasGeometry, WidePenPaintsItsWidthAndEndPoint) {
    Canvas().Pen().SetWidth(5);
    Canvas().Pen().SetStyle(psDash); // wide pens are always solid
    Canvas().Pen().SetColor(clRed);
    Canvas().MoveTo(10, 20);
    Canvas().LineTo(50, 20);
    EXPECT_EQ(Count(clRed, {12, 18, 49, 23}), 37 * 5);
    EXPECT_EQ(At(50, 20), clRed);
    EXPECT_EQ(At(30, 17), clWhite);
    EXPECT_EQ(At(30, 23), clWhite);
}

TEST_F(CanvasGeometry, NarrowWidePensHaveTheirWidthAndARoundEnd) {
    for (int Width : {2, 3, 4}) {
        SCOPED_TRACE(Width);
        TBitmap B(W, H);
        B.Canvas().Pen().SetWidth(Width);
        B.Canvas().MoveTo(10, 20);
        B.Canvas().LineTo(40, 20);
        const TRect Ink = InkBox(B);
        EXPECT_EQ(Ink.Height(), Width);
        EXPECT_EQ(Ink.Width(), 31 + Width - 1); // the end point and the tips
        EXPECT_EQ(B.Canvas().Pixel(40, 20), clBlack);
        const TPoint Slant[] = {{10, 30}, {40, 45}};
        B.Canvas().Polyline(Slant);
        EXPECT_EQ(B.Canvas().Pixel(25, 37), clBlack);
    }
}

TEST_F(CanvasGeometry, InsideFramePenStaysInsideTheBox) {
    Canvas().Pen().SetWidth(4);
    Canvas().Pen().SetStyle(psInsideFrame);
    Canvas().Brush().SetStyle(bsClear);
    Canvas().Rectangle(10, 10, 40, 30);
    EXPECT_EQ(InkBox(), (TRect{10, 10, 40, 30}));
    EXPECT_EQ(At(13, 20), clBlack);
    EXPECT_EQ(At(14, 20), clWhite);
}

TEST_F(CanvasGeometry, HatchBrushPaintsOnlyItsPattern) {
    struct TCase {
        TBrushStyle Style;
        bool Rows; // horizontal lines: whole rows, else whole columns
    };
    for (TCase C : {TCase{bsHorizontal, true}, TCase{bsVertical, false}}) {
        TBitmap B(W, H);
        B.Canvas().Brush().SetStyle(C.Style);
        B.Canvas().Brush().SetColor(clRed);
        B.Canvas().FillRect({0, 0, 32, 32});
        const QImage& Image = B.Image();
        int Lines = 0;
        for (int I = 0; I < 32; ++I) {
            int Red = 0;
            for (int J = 0; J < 32; ++J)
                Red += (C.Rows ? Image.pixel(J, I) : Image.pixel(I, J)) == qRgb(255, 0, 0);
            EXPECT_TRUE(Red == 0 || Red == 32) << I;
            Lines += Red == 32;
        }
        EXPECT_EQ(Lines, 4); // one line in eight
        EXPECT_LE(InkBox(B).Right, 32);
        EXPECT_GE(InkBox(B).Right, 25);
    }
    TBitmap Cross(W, H);
    Cross.Canvas().Brush().SetStyle(bsDiagCross);
    Cross.Canvas().Brush().SetColor(clRed);
    Cross.Canvas().FillRect({0, 0, 32, 32});
    int Red = 0;
    for (int Y = 0; Y < 32; ++Y)
        for (int X = 0; X < 32; ++X)
            Red += Cross.Canvas().Pixel(X, Y) == clRed;
    EXPECT_GT(Red, 0);
    EXPECT_LT(Red, 32 * 32 / 2);
}

TEST_F(CanvasGeometry, DottedPenFillsItsGapsWithASolidBrushOnly) {
    Canvas().Pen().SetStyle(psDot);
    Canvas().Pen().SetColor(clRed);
    Canvas().Brush().SetColor(clBlue);
    const TPoint Solid[] = {{0, 5}, {30, 5}};
    Canvas().Polyline(Solid);
    Canvas().Brush().SetStyle(bsClear);
    const TPoint Clear[] = {{0, 10}, {30, 10}};
    Canvas().Polyline(Clear);
    for (int X = 0; X < 12; ++X) {
        const bool Dot = X % 6 < 3;
        EXPECT_EQ(At(X, 5), Dot ? clRed : clBlue) << X;
        EXPECT_EQ(At(X, 10), Dot ? clRed : clWhite) << X;
    }
}

TEST_F(CanvasGeometry, NotXorPenDrawnTwiceRestoresThePicture) {
    Canvas().Brush().SetColor(clTeal);
    Canvas().FillRect({0, 0, 30, H});
    const QImage Before = Bitmap.Image().copy();
    Canvas().Pen().SetMode(pmNotXor);
    Canvas().Pen().SetColor(clBlack);
    const TPoint Line[] = {{0, 20}, {60, 20}};
    Canvas().Polyline(Line);
    EXPECT_EQ(At(10, 20), ColorToRGB(~clTeal));
    EXPECT_EQ(At(40, 20), clBlack);
    Canvas().Polyline(Line);
    EXPECT_TRUE(Bitmap.Image() == Before);
}

TEST_F(CanvasGeometry, PixelsAreSetAndReadInsideTheDeviceOnly) {
    Canvas().SetPixel(3, 4, clFuchsia);
    Canvas().SetPixel(-1, 4, clFuchsia);
    Canvas().SetPixel(W, 0, clFuchsia);
    EXPECT_EQ(At(3, 4), clFuchsia);
    EXPECT_EQ(At(-1, 4), CLR_INVALID);
    EXPECT_EQ(At(W, H), CLR_INVALID);
    EXPECT_EQ(Count(clFuchsia, {0, 0, W, H}), 1);
}

TEST_F(CanvasGeometry, ClipRectangleStopsDrawingOutsideIt) {
    Canvas().IntersectClipRect({10, 10, 30, 20});
    Canvas().IntersectClipRect({20, 0, 40, 40});
    EXPECT_EQ(Canvas().ClipRect(), (TRect{20, 10, 30, 20}));
    Canvas().Brush().SetColor(clRed);
    Canvas().FillRect({0, 0, W, H});
    Canvas().Pen().SetColor(clRed);
    Canvas().Ellipse(0, 0, W, H);
    Canvas().TextOut(0, 0, "Clipped text");
    Canvas().SetPixel(5, 5, clRed);
    EXPECT_EQ(InkBox(), (TRect{20, 10, 30, 20}));
    EXPECT_TRUE(Canvas().PtVisible({25, 15}));
    EXPECT_FALSE(Canvas().PtVisible({5, 5}));
    Canvas().ResetClip();
    EXPECT_TRUE(Canvas().PtVisible({5, 5}));
    EXPECT_FALSE(Canvas().PtVisible({W, 5}));
    Canvas().FillRect({0, 0, 5, 5});
    EXPECT_EQ(At(0, 0), clRed);
}

// Vertical lines are written as runs, not walked: their ends must still
// fall where the walk puts them, also at the clip and the device's edges.
TEST_F(CanvasGeometry, VerticalLinesAreCutToTheClipAndTheDevice) {
    struct {
        TPoint From, To;
        int Top, Bottom; // painted rows inside the clip, Bottom excluded
    } Cases[] = {
        {{25, 0}, {25, 40}, 10, 20},  {{25, 40}, {25, 0}, 10, 20},
        {{25, 12}, {25, 15}, 12, 15}, {{25, 15}, {25, 12}, 13, 16},
        {{25, 19}, {25, 30}, 19, 20}, {{25, 30}, {25, 20}, 0, 0},
        {{25, 20}, {25, 30}, 0, 0},   {{25, -9000}, {25, 9000}, 10, 20},
        {{35, 0}, {35, 40}, 0, 0}, // beside the clip
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(testing::Message() << C.From.Y << " to " << C.To.Y << " at " << C.From.X);
        Canvas().ResetClip();
        Canvas().Brush().SetColor(clWhite);
        Canvas().FillRect({0, 0, W, H});
        Canvas().IntersectClipRect({20, 10, 30, 20});
        Canvas().Pen().SetColor(clRed);
        Canvas().Polyline(std::vector<TPoint>{C.From, C.To});
        Canvas().ResetClip();
        for (int Y = 0; Y < H; ++Y)
            EXPECT_EQ(At(C.From.X, Y), Y >= C.Top && Y < C.Bottom ? clRed : clWhite) << Y;
    }
    Canvas().Brush().SetColor(clWhite);
    Canvas().FillRect({0, 0, W, H});
    Canvas().Polyline(std::vector<TPoint>{{5, -20}, {5, H + 20}});
    Canvas().Polyline(std::vector<TPoint>{{W, 0}, {W, H}});
    Canvas().Polyline(std::vector<TPoint>{{-1, 0}, {-1, H}});
    EXPECT_EQ(InkBox(), (TRect{5, 0, 6, H}));
}

TEST_F(CanvasGeometry, FocusRectangleDrawnTwiceRestoresEveryPixel) {
    Canvas().Brush().SetColor(clOlive);
    Canvas().FillRect({8, 8, 40, 30});
    const QImage Before = Bitmap.Image().copy();
    const TRect Focus{5, 5, 30, 25};
    Canvas().DrawFocusRect(Focus);
    int Changed = 0;
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X)
            if (Bitmap.Image().pixel(X, Y) != Before.pixel(X, Y)) {
                ++Changed;
                const bool OnFrame = X == Focus.Left || X == Focus.Right - 1 || Y == Focus.Top ||
                                     Y == Focus.Bottom - 1;
                EXPECT_TRUE(OnFrame && Focus.Contains({X, Y})) << X << "," << Y;
            }
    EXPECT_EQ(Changed, (2 * 25 + 2 * 18) / 2); // every other frame pixel
    EXPECT_EQ(At(5, 5), ColorToRGB(~clWhite));
    Canvas().DrawFocusRect(Focus);
    EXPECT_TRUE(Bitmap.Image() == Before);
}

TEST_F(CanvasGeometry, EdgesUseTheClassicColours) {
    Canvas().DrawEdge({10, 10, 30, 30}, EDGE_RAISED, BF_RECT);
    EXPECT_EQ(At(10, 10), GetSysColor(22)); // 3D light
    EXPECT_EQ(At(11, 11), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(At(29, 29), GetSysColor(21)); // 3D dark shadow
    EXPECT_EQ(At(28, 28), ColorToRGB(clBtnShadow));
    EXPECT_EQ(At(29, 10), GetSysColor(21)); // top-right corner goes with the dark side
    EXPECT_EQ(At(20, 20), clWhite);
    Canvas().DrawEdge({40, 10, 60, 30}, EDGE_SUNKEN, BF_RECT | BF_MIDDLE);
    EXPECT_EQ(At(40, 10), ColorToRGB(clBtnShadow));
    EXPECT_EQ(At(41, 11), GetSysColor(21));
    EXPECT_EQ(At(59, 29), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(At(58, 28), GetSysColor(22));
    EXPECT_EQ(At(50, 20), ColorToRGB(clBtnFace));
    EXPECT_EQ(Canvas().Brush().Color(), clWhite); // the brush is left as it was
}

TEST_F(CanvasGeometry, BitmapsAreDrawnStretchedAndCopied) {
    TBitmap Glyph(4, 2);
    Glyph.Canvas().Brush().SetColor(clRed);
    Glyph.Canvas().FillRect({0, 0, 2, 2});
    Canvas().Draw(10, 10, Glyph);
    EXPECT_EQ(InkBox(), (TRect{10, 10, 12, 12}));
    Canvas().StretchDraw({20, 20, 28, 24}, Glyph);
    EXPECT_EQ(Count(clRed, {20, 20, 28, 24}), 16);
    TBitmap Copy(W, H);
    Copy.Canvas().CopyRect({0, 0, 10, 10}, Canvas(), {10, 10, 20, 20});
    EXPECT_EQ(InkBox(Copy), (TRect{0, 0, 2, 2}));
}

TEST_F(CanvasGeometry, TransparentBitmapLeavesItsKeyColourOut) {
    TBitmap Glyph(4, 4);
    Glyph.Canvas().Brush().SetColor(clFuchsia);
    Glyph.Canvas().FillRect({0, 0, 4, 4});
    Glyph.Canvas().SetPixel(1, 1, clBlue);
    Glyph.SetTransparent(true);
    EXPECT_EQ(Glyph.TransparentColor(), clFuchsia); // the bottom-left pixel
    Canvas().Draw(0, 0, Glyph);
    EXPECT_EQ(InkBox(), (TRect{1, 1, 2, 2}));
    // Unscaled glyphs are copied pixel by pixel, scaled ones by the painter;
    // both keep to the clip and the device.
    Canvas().Draw(W - 1, H - 1, Glyph);
    Canvas().Draw(-1, -1, Glyph);
    Canvas().IntersectClipRect({0, 0, 22, 30});
    Canvas().Draw(20, 20, Glyph);
    Canvas().Draw(21, 20, Glyph);
    Canvas().StretchDraw({10, 20, 18, 28}, Glyph);
    EXPECT_EQ(Count(clBlue, {0, 0, W, H}), 1 + 1 + 1 + 4);
    EXPECT_EQ(Count(clBlue, {20, 20, 22, 30}), 1); // (22, 21) is clipped
    EXPECT_EQ(Count(clBlue, {12, 22, 14, 24}), 4);
}

TEST_F(CanvasGeometry, CopyRectMayOverlapItsSource) {
    Canvas().Brush().SetColor(clRed);
    Canvas().FillRect({0, 0, 4, 4});
    Canvas().CopyRect({2, 0, 12, 10}, Canvas(), {0, 0, 10, 10});
    EXPECT_EQ(InkBox(), (TRect{0, 0, 6, 4}));
    EXPECT_EQ(Count(clRed, {0, 0, W, H}), 6 * 4);
}

// Coordinates far outside the picture (a zoomed plot) cost no more than a
// line across it, and the visible part is still drawn.
TEST_F(CanvasGeometry, FarAwayCoordinatesAreDrawnQuickly) {
    Canvas().Pen().SetColor(clRed);
    Canvas().Brush().SetStyle(bsClear); // dash gaps keep the solid line
    for (TPenStyle Style : {psSolid, psDash}) {
        Canvas().Pen().SetStyle(Style);
        const TPoint Across[] = {{-2000000000, 5}, {2000000000, 5}};
        Canvas().Polyline(Across);
        const TPoint Steep[] = {{10, -2000000000}, {10, 2000000000}};
        Canvas().Polyline(Steep);
    }
    EXPECT_EQ(At(0, 5), clRed);
    EXPECT_EQ(At(W - 1, 5), clRed);
    EXPECT_EQ(At(10, H - 1), clRed);
    Canvas().DrawFocusRect({-2000000000, -2000000000, 2000000000, 2000000000});
    Canvas().Font().SetHeight(-2000000000);
    Canvas().TextOut(0, 0, "Huge");
}

TEST_F(CanvasGeometry, BitmapKeepsItsCanvasWhenResized) {
    TCanvas& Kept = Canvas();
    Kept.Pen().SetColor(clRed);
    Kept.IntersectClipRect({0, 0, 2, 2});
    Bitmap.SetSize(100, 80);
    EXPECT_EQ(&Bitmap.Canvas(), &Kept);
    EXPECT_EQ(Kept.ClipRect(), (TRect{0, 0, 100, 80}));
    Kept.Rectangle(90, 70, 100, 80);
    EXPECT_EQ(Kept.Pixel(99, 79), clRed);
    TBitmap Empty;
    Empty.Canvas().FillRect({0, 0, 10, 10});
    Empty.Canvas().Rectangle(0, 0, 10, 10);
    Empty.Canvas().TextOut(0, 0, "nothing");
    EXPECT_EQ(Empty.Canvas().Pixel(0, 0), CLR_INVALID);
}

TEST_F(CanvasGeometry, TechnologyOfABitmapIsRasterDisplay) {
    EXPECT_EQ(Canvas().Technology(), dtRasDisplay);
    EXPECT_EQ(Canvas().DeviceRect(), (TRect{0, 0, W, H}));
}

// A window: pixels cannot be read back, and only its uncovered part is
// visible.
TEST_F(CanvasGeometry, WindowCanvasAnswersVisibilityFromItsVisibleRegion) {
    QPixmap Window(40, 30);
    TPainterCanvas Canvas(Window);
    Canvas.SetVisibleRegion(QRegion(0, 0, 20, 30));
    EXPECT_TRUE(Canvas.PtVisible({5, 5}));
    EXPECT_FALSE(Canvas.PtVisible({25, 5}));
    Canvas.SetPixel(5, 5, clRed);
    EXPECT_EQ(Canvas.Pixel(5, 5), CLR_INVALID);
    QTemporaryDir Dir;
    QPdfWriter Printer(Dir.filePath("page.pdf"));
    EXPECT_EQ(TPainterCanvas(Printer, dtRasPrinter).Technology(), dtRasPrinter);
}

} // namespace
