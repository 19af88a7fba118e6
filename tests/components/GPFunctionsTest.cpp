#include "components/iGPFunctions.h"

#include "platform/Bitmap.h"
#include "platform/Metafile.h"
#include "platform/SystemColors.h"
#include "tests/platform/CanvasFixture.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

namespace {

TEST(DimColor, Table) {
    struct TCase {
        TColor Color;
        int Divisor;
        TColor Expected;
    };
    const TCase Cases[] = {
        {RGB(64, 128, 255), 3, RGB(21, 42, 85)},
        {RGB(128, 128, 128), -2, RGB(255, 255, 255)},
        {RGB(64, 128, 255), 0, clBlack},
        {RGB(64, 128, 255), 1, RGB(64, 128, 255)},
        {RGB(10, 20, 30), -1, RGB(10, 20, 30)},
        // The high byte is dropped, a system colour is not looked up.
        {clBtnFace, 1, 0x0F},
        {0x02804020, 2, RGB(16, 32, 64)},
        {RGB(100, 0, 1), INT_MIN, RGB(255, 0, 255)},
        {RGB(100, 0, 1), INT_MAX, clBlack},
    };
    for (const TCase& C : Cases)
        EXPECT_EQ(DimColor(C.Color, C.Divisor), C.Expected)
            << std::hex << C.Color << " / " << std::dec << C.Divisor;
}

TEST(GetDecimalPlaces, Table) {
    struct TCase {
        int Precision;
        TiPrecisionStyle Style;
        double A, B;
        int Expected;
    };
    const double Inf = std::numeric_limits<double>::infinity();
    const TCase Cases[] = {
        {3, ipsSignificantDigits, 0, 0.5, 3},   {3, ipsSignificantDigits, 0, 250, 0},
        {3, ipsSignificantDigits, 5, 5, 1},     {5, ipsSignificantDigits, 0, 1000, 1},
        {5, ipsSignificantDigits, 1000, 0, 1},  {3, ipsSignificantDigits, 0, 0.001, 6},
        {3, ipsSignificantDigits, 0, 99999, 0}, {0, ipsSignificantDigits, 0, 0.5, 0},
        {3, ipsSignificantDigits, 0, Inf, 0},   {3, ipsSignificantDigits, 0, std::nan(""), 0},
        {2, ipsFixedDecimalPoints, 0, 1000, 2},
    };
    for (const TCase& C : Cases)
        EXPECT_EQ(GetDecimalPlaces(C.Precision, C.Style, C.A, C.B), C.Expected)
            << C.Precision << " " << C.Style << " " << C.A << " " << C.B;
}

TEST(Geometry, NormalizedAndSwapped) {
    EXPECT_EQ(NormalizedRect(5, 9, 1, 2), Rect(1, 2, 5, 9));
    EXPECT_EQ(SwappedRect(false, 5, 9, 1, 2), Rect(1, 2, 5, 9));
    EXPECT_EQ(SwappedRect(true, 5, 9, 1, 2), Rect(2, 1, 9, 5));
    EXPECT_EQ(SwappedPoint(false, 1, 2), Point(1, 2));
    EXPECT_EQ(SwappedPoint(true, 1, 2), Point(2, 1));
}

TEST(Arithmetic, LogarithmAndPowerAreExactWhereTheyCanBe) {
    EXPECT_EQ(Log10(1000), 3.0);
    EXPECT_EQ(Log10(1e-3), -3.0);
    EXPECT_EQ(Power(3, 2), 9.0);
    EXPECT_EQ(Power(5, 1), 5.0);
    EXPECT_DOUBLE_EQ(Power(2, 0.5), std::sqrt(2.0));
}

TEST(DateTimeCounts, WholeDaysPlusTimeOfDay) {
    const TDateTime V = 2 + EncodeTime(13, 45, 30, 250);
    EXPECT_EQ(DateTimeToMilliseconds(V), 2 * 86400000 + ((13 * 60 + 45) * 60 + 30) * 1000 + 250);
    EXPECT_EQ(DateTimeToSeconds(V), 2 * 86400 + (13 * 60 + 45) * 60 + 30);
    EXPECT_EQ(DateTimeToMinutes(V), 2 * 1440 + 13 * 60 + 45);
    EXPECT_EQ(DateTimeToHours(V), 2 * 24 + 13);
}

TEST(DateTimeCounts, OutOfRangeGivesTheOverflowValue) {
    // 50 days of milliseconds would wrap round to a positive 32-bit value.
    for (TDateTime V : {30.0, 50.0, -1.5, 1e300, std::nan("")})
        EXPECT_EQ(DateTimeToMilliseconds(V), 2147483647) << V;
    EXPECT_EQ(DateTimeToSeconds(30000), 2147483647);
    EXPECT_EQ(DateTimeToMinutes(2e6), 10000);
    EXPECT_EQ(DateTimeToMinutes(-2), 10000);
    EXPECT_EQ(DateTimeToHours(-1.25), 2147483647);
    EXPECT_EQ(DateTimeToHours(45000.5), 45000 * 24 + 12);
}

class GradientTest : public CanvasFixture {
  protected:
    static constexpr TColor Start = RGB(10, 20, 30);
    static constexpr TColor Stop = RGB(200, 150, 100);
};

TEST_F(GradientTest, TopBottomRunsFromStartToStopLine) {
    TBitmap B(100, 50);
    iGradientFill(B.Canvas(), Rect(0, 0, 100, 50), ifdTopBottom, Start, Stop);
    for (int X : {0, 50, 99}) {
        EXPECT_EQ(B.Canvas().Pixel(X, 0), Start) << X;
        EXPECT_EQ(B.Canvas().Pixel(X, 49), Stop) << X;
    }
    // Line 25 of 49 steps: Round(25/49 * 200 + 24/49 * 10) = 107 and so on.
    EXPECT_EQ(B.Canvas().Pixel(7, 25), RGB(107, 86, 66));
    for (int Y = 1; Y < 50; ++Y)
        EXPECT_GE(GetRValue(B.Canvas().Pixel(3, Y)), GetRValue(B.Canvas().Pixel(3, Y - 1)));
}

TEST_F(GradientTest, SwappedAndSidewaysDirections) {
    TBitmap B(100, 50);
    iGradientFill(B.Canvas(), Rect(0, 0, 100, 50), ifdBottomTop, Start, Stop);
    EXPECT_EQ(B.Canvas().Pixel(0, 0), Stop);
    EXPECT_EQ(B.Canvas().Pixel(0, 49), Start);
    iGradientFill(B.Canvas(), Rect(0, 0, 100, 50), ifdLeftRight, Start, Stop);
    EXPECT_EQ(B.Canvas().Pixel(0, 10), Start);
    EXPECT_EQ(B.Canvas().Pixel(99, 10), Stop);
}

TEST_F(GradientTest, OneStepTakesTheStartColour) {
    for (TiFillDirection D : {ifdTopBottom, ifdBottomTop}) {
        TBitmap B(10, 1);
        iGradientFill(B.Canvas(), Rect(0, 0, 10, 1), D, Start, Stop);
        for (int X = 0; X < 10; ++X)
            EXPECT_EQ(B.Canvas().Pixel(X, 0), Start) << D << " " << X;
    }
}

TEST_F(GradientTest, SystemColoursAreTakenAsTheirLowBytes) {
    TBitmap B(10, 5);
    iGradientFill(B.Canvas(), Rect(0, 0, 10, 5), ifdTopBottom, clBtnFace, clBtnShadow);
    EXPECT_EQ(B.Canvas().Pixel(0, 0), RGB(0x0F, 0, 0));
    EXPECT_EQ(B.Canvas().Pixel(0, 4), RGB(0x10, 0, 0));
}

TEST_F(GradientTest, RectangleFillsSetTheCentrePixel) {
    TBitmap B(100, 50);
    iGradientFill(B.Canvas(), Rect(0, 0, 100, 50), ifdRectangleOut, Start, Stop);
    EXPECT_EQ(B.Canvas().Pixel(49, 24), Start);
    iGradientFill(B.Canvas(), Rect(0, 0, 100, 50), ifdRectangleIn, Start, Stop);
    EXPECT_EQ(B.Canvas().Pixel(49, 24), Stop);
}

TEST_F(GradientTest, EmptyRectanglesDrawNothing) {
    for (int D = ifdTopBottom; D <= ifdCircleIn; ++D) {
        TBitmap B(8, 8);
        iGradientFill(B.Canvas(), Rect(0, 0, 0, 0), TiFillDirection(D), clBlack, clBlack);
        EXPECT_TRUE(InkBox(B).IsEmpty()) << D;
    }
}

class TextHelpersTest : public CanvasFixture {
  protected:
    TextHelpersTest() { Canvas().Font().SetColor(clBlack); }
};

TEST_F(TextHelpersTest, AmpersandIsPrintedWithoutShowPrefix) {
    TRect Plain = Rect(0, 0, 0, 0), Prefixed = Rect(0, 0, 0, 0);
    iDrawText(Canvas(), "&File", Plain, {itfSingleLine, itfCalcRect});
    iDrawText(Canvas(), "&File", Prefixed, {itfSingleLine, itfCalcRect, itfShowPrefix});
    EXPECT_EQ(Plain.Width(), Canvas().TextWidth("&File"));
    EXPECT_EQ(Prefixed.Width(), Canvas().TextWidth("File"));
}

TEST_F(TextHelpersTest, CentredOptionsPlaceTheText) {
    TRect R = Rect(0, 0, W, H);
    iDrawText(Canvas(), "ab", R, {itfCenter, itfVCenter, itfSingleLine});
    const TRect Ink = InkBox();
    ASSERT_FALSE(Ink.IsEmpty());
    EXPECT_NEAR((Ink.Left + Ink.Right) / 2.0, W / 2.0, 2);
    EXPECT_NEAR((Ink.Top + Ink.Bottom) / 2.0, H / 2.0, 4);
}

TEST_F(TextHelpersTest, MaxLineWidthSplitsAtEveryLineEnd) {
    const int Wide = Canvas().TextWidth("abcd");
    EXPECT_EQ(GetTextMaxLineWidth(Canvas(), "ab\r\nabcd"), Wide);
    EXPECT_EQ(GetTextMaxLineWidth(Canvas(), "abcd\rab"), Wide);
    EXPECT_EQ(GetTextMaxLineWidth(Canvas(), "ab\nabcd\n"), Wide);
    EXPECT_EQ(GetTextMaxLineWidth(Canvas(), "ab\r\n\r\nab"), Canvas().TextWidth("ab"));
    EXPECT_EQ(GetTextMaxLineWidth(Canvas(), ""), 0);
    EXPECT_EQ(GetTextMaxLineWidth(Canvas(), "\r\n"), 0);
}

TEST_F(TextHelpersTest, HeightsWithoutDrawing) {
    const int Line = Canvas().TextHeight("A");
    EXPECT_EQ(GetTextHeight(Canvas(), "A"), Line);
    EXPECT_EQ(GetTextHeight(Canvas(), "A\nB"), 2 * Line);
    EXPECT_EQ(GetWrappedTextHeight(Canvas(), "aa bb cc", 1), 3 * Line);
    EXPECT_EQ(GetWrappedTextHeight(Canvas(), "aa bb cc", 1000), Line);
    EXPECT_TRUE(InkBox().IsEmpty());
}

TEST_F(TextHelpersTest, WrappedHeightLeavesNothingInARecording) {
    TMetafile Metafile;
    Metafile.SetSize(W, H);
    {
        TMetafileCanvas Recording(Metafile, "test", "wrapped");
        GetWrappedTextHeight(Recording, "aa bb cc", 1);
    }
    EXPECT_TRUE(Metafile.Empty());
}

TEST_F(TextHelpersTest, RotatedTextStaysInsideItsBounds) {
    const TRect Box = Rect(10, 6, 54, 42);
    for (TiRotationAngle Angle : {ira000, ira090, ira180, ira270}) {
        TBitmap B(W, H);
        B.Canvas().Font().SetColor(clBlack);
        B.Canvas().Font().SetHeight(-12);
        TRect Bounds;
        iDrawRotatedText(B.Canvas(), "Tg", Box, Angle, Bounds);
        const TRect Ink = InkBox(B);
        ASSERT_FALSE(Ink.IsEmpty()) << Angle;
        EXPECT_GE(Ink.Left, Bounds.Left - 1) << Angle;
        EXPECT_GE(Ink.Top, Bounds.Top - 1) << Angle;
        EXPECT_LE(Ink.Right, Bounds.Right + 1) << Angle;
        EXPECT_LE(Ink.Bottom, Bounds.Bottom + 1) << Angle;
        const int Wd = B.Canvas().TextWidth("Tg"), Ht = B.Canvas().TextHeight("Tg");
        const bool Upright = Angle == ira000 || Angle == ira180;
        EXPECT_EQ(Bounds.Width(), 2 * ((Upright ? Wd : Ht) / 2)) << Angle;
        EXPECT_EQ(Bounds.Height(), 2 * ((Upright ? Ht : Wd) / 2)) << Angle;
        EXPECT_EQ(B.Canvas().Font().Escapement(), 0) << Angle;
    }
}

TEST_F(TextHelpersTest, UprightTextKeepsItsLineBreaks) {
    TRect Bounds;
    iDrawRotatedText(Canvas(), "ab\ncd", Rect(0, 0, W, H), ira000, Bounds);
    EXPECT_GT(InkBox().Height(), Canvas().TextHeight("ab"));
}

TEST_F(TextHelpersTest, RotationKeepsTheCanvasFont) {
    Canvas().Font().SetEscapement(450);
    Canvas().Font().SetName("Arial");
    TRect Bounds;
    iDrawRotatedText(Canvas(), "x", Rect(0, 0, W, H), ira270, Bounds);
    EXPECT_EQ(Canvas().Font().Escapement(), 450);
    EXPECT_EQ(Canvas().Font().Name(), "Arial");
}

TEST_F(CanvasFixture, FlatEdgeIsAShadowOutlineAroundTheBrush) {
    Canvas().Brush().SetStyle(bsClear);
    iDrawEdge(Canvas(), Rect(2, 2, 12, 12), 2);
    const TColor Shadow = ColorToRGB(clBtnShadow);
    for (TPoint P : {Point(2, 2), Point(11, 2), Point(11, 11), Point(2, 11), Point(6, 2)})
        EXPECT_EQ(At(P.X, P.Y), Shadow) << P.X << "," << P.Y;
    EXPECT_EQ(At(6, 6), clWhite);
    EXPECT_EQ(At(12, 12), clWhite);
    Canvas().Brush().SetStyle(bsSolid);
    Canvas().Brush().SetColor(clRed);
    iDrawEdge(Canvas(), Rect(2, 2, 12, 12), 2);
    EXPECT_EQ(At(6, 6), clRed);
}

TEST_F(CanvasFixture, RaisedAndSunkenEdgesAndUnknownStyles) {
    for (int Style : {3, -1, 100})
        iDrawEdge(Canvas(), Rect(0, 0, W, H), Style);
    EXPECT_TRUE(InkBox().IsEmpty());
    iDrawEdge(Canvas(), Rect(0, 0, W, H), 1);
    const TColor RaisedCorner = At(0, 0);
    iDrawEdge(Canvas(), Rect(0, 0, W, H), 0);
    EXPECT_NE(At(0, 0), RaisedCorner);
    EXPECT_EQ(At(0, 0), ColorToRGB(clBtnShadow));
    EXPECT_EQ(At(W / 2, H / 2), clWhite);
}

} // namespace
