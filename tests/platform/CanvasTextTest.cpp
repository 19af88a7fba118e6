#include "platform/Bitmap.h"
#include "platform/QtGraphics.h"
#include "tests/platform/CanvasFixture.h"

#include <QImage>
#include <QPainter>

#include <string>

namespace {

class CanvasText : public CanvasFixture {
  protected:
    static constexpr int TW = 200;
    static constexpr int TH = 120;

    CanvasText() { Bitmap.SetSize(TW, TH); }

    static void UseFont(TCanvas& C) {
        C.Font().SetName("Arial");
        C.Font().SetHeight(-14);
        C.Font().SetColor(clBlack);
        C.Brush().SetStyle(bsClear);
    }

    // The ink of one DrawText call on a fresh bitmap.
    static TRect InkOf(const std::string& Text, TRect R, unsigned Flags) {
        TBitmap B(TW, TH);
        UseFont(B.Canvas());
        B.Canvas().DrawText(Text, R, Flags);
        return InkBox(B);
    }
};

TEST_F(CanvasText, TextOutPutsTheCellTopLeftAtThePoint) {
    UseFont(Canvas());
    const TSize Cell = Canvas().TextExtent("Hg");
    EXPECT_GT(Cell.cx, 10);
    EXPECT_GE(Cell.cy, 14);
    Canvas().TextOut(20, 30, "Hg");
    const TRect Ink = InkBox();
    EXPECT_GE(Ink.Left, 20);
    EXPECT_GE(Ink.Top, 30);
    EXPECT_LE(Ink.Right, 20 + Cell.cx + 1);
    EXPECT_LE(Ink.Bottom, 30 + Cell.cy);
    EXPECT_GT(Ink.Height(), Cell.cy / 2);
}

// Text on pixels is shaped once and kept; drawn again, from the kept
// shapes, it must be Qt's own drawing of the line, pixel for pixel.
TEST_F(CanvasText, KeptShapesDrawAsQtDrawsTheLine) {
    struct {
        const char* Name;
        int Height;
        TFontStyles Style;
        const char* Text;
    } Cases[] = {
        {"Arial", -14, {}, "0.5 1.0 -2.5E-3 Hg"},
        {"Arial", -11, {fsBold}, "Channel 1: 23.45"},
        {"Arial", 16, {fsItalic, fsUnderline}, "AVWA fi ffl"},
        {"Times New Roman", -20, {}, "Wave (s)"},
        {"Arial", -13, {}, "实时温度(°C)"},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Text);
        TBitmap Drawn(TW, TH);
        TCanvas& Canvas = Drawn.Canvas();
        Canvas.Brush().SetColor(clWhite);
        Canvas.FillRect({0, 0, TW, TH});
        Canvas.Font().SetName(C.Name);
        Canvas.Font().SetHeight(C.Height);
        Canvas.Font().SetStyle(C.Style);
        Canvas.Font().SetColor(clNavy);
        Canvas.Brush().SetStyle(bsClear);
        for (int Twice = 0; Twice < 2; ++Twice) // the second from the kept shapes
            Canvas.TextOut(7, 11 + 40 * Twice, C.Text);

        QImage Expected(TW, TH, Drawn.Image().format());
        Expected.fill(Qt::white);
        QPainter P(&Expected);
        P.setFont(ToQFont(Canvas.Font()));
        P.setPen(ToQColor(clNavy));
        const int Ascent = FontMetrics(Canvas.Font()).ascent();
        for (int Twice = 0; Twice < 2; ++Twice)
            P.drawText(7, 11 + 40 * Twice + Ascent, ToQString(C.Text));
        P.end();
        EXPECT_TRUE(Drawn.Image() == Expected);
    }
}

TEST_F(CanvasText, SolidBrushFillsTheTextCell) {
    UseFont(Canvas());
    Canvas().Brush().SetStyle(bsSolid);
    Canvas().Brush().SetColor(clYellow);
    Canvas().TextOut(10, 10, "abc");
    const TSize Cell = Canvas().TextExtent("abc");
    EXPECT_EQ(InkBox(), (TRect{10, 10, 10 + Cell.cx, 10 + Cell.cy}));
    EXPECT_EQ(At(10, 10), clYellow);
}

TEST_F(CanvasText, TextIsDrawnWithoutAntialiasing) {
    UseFont(Canvas());
    Canvas().Font().SetColor(clRed);
    Canvas().TextOut(5, 5, "Smooth? No.");
    const QImage& Image = Bitmap.Image();
    for (int Y = 0; Y < TH; ++Y)
        for (int X = 0; X < TW; ++X) {
            const QRgb P = Image.pixel(X, Y);
            ASSERT_TRUE(P == qRgb(255, 255, 255) || P == qRgb(255, 0, 0)) << X << "," << Y;
        }
}

TEST_F(CanvasText, CentreAndVerticalCentreShiftTheTextByHalfTheSpareRoom) {
    UseFont(Canvas());
    const TRect R{10, 10, 190, 110};
    const TSize Cell = Canvas().TextExtent("Middle");
    const TRect Left = InkOf("Middle", R, DT_SINGLELINE);
    const TRect Centred = InkOf("Middle", R, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    const int DX = (R.Left + R.Right - Cell.cx) / 2 - R.Left;
    const int DY = (R.Top + R.Bottom - Cell.cy) / 2 - R.Top;
    EXPECT_EQ(Centred, (TRect{Left.Left + DX, Left.Top + DY, Left.Right + DX, Left.Bottom + DY}));
    const TRect Right = InkOf("Middle", R, DT_SINGLELINE | DT_RIGHT | DT_BOTTOM);
    EXPECT_EQ(Right.Left - Left.Left, R.Width() - Cell.cx);
    EXPECT_EQ(Right.Top - Left.Top, R.Height() - Cell.cy);
    // Vertical placement needs a single line.
    EXPECT_EQ(InkOf("Middle", R, DT_VCENTER).Top, Left.Top);
}

TEST_F(CanvasText, LinesBreakAtLineEndsUnlessSingleLine) {
    UseFont(Canvas());
    const int Line = Canvas().TextHeight("A");
    for (const char* Text : {"one\r\ntwo", "one\ntwo", "one\rtwo"}) {
        TRect R{0, 0, 150, 0};
        EXPECT_EQ(Canvas().DrawText(std::string(Text), R, DT_CALCRECT), 2 * Line) << Text;
        EXPECT_EQ(R.Bottom, 2 * Line);
        EXPECT_EQ(R.Right, Canvas().TextWidth("one") > Canvas().TextWidth("two")
                               ? Canvas().TextWidth("one")
                               : Canvas().TextWidth("two"));
    }
    TRect R{0, 0, 150, 0};
    EXPECT_EQ(Canvas().DrawText(std::string("one\ntwo"), R, DT_CALCRECT | DT_SINGLELINE), Line);
}

TEST_F(CanvasText, WordBreakWrapsAtBlanksAndKeepsLongWordsWhole) {
    UseFont(Canvas());
    const int Line = Canvas().TextHeight("A");
    const int Width = Canvas().TextWidth("alpha beta");
    TRect R{0, 0, Width, 0};
    EXPECT_EQ(
        Canvas().DrawText(std::string("alpha beta alpha beta"), R, DT_CALCRECT | DT_WORDBREAK),
        2 * Line);
    EXPECT_LE(R.Right, Width);
    TRect Narrow{0, 0, 5, 0};
    EXPECT_EQ(
        Canvas().DrawText(std::string("unbreakable word"), Narrow, DT_CALCRECT | DT_WORDBREAK),
        2 * Line);
    EXPECT_EQ(Narrow.Right, Canvas().TextWidth("unbreakable"));
}

TEST_F(CanvasText, CalculateRectangleMeasuresWithoutDrawing) {
    UseFont(Canvas());
    TRect R{10, 20, 10, 20};
    const int Height = Canvas().DrawText(std::string("Measure me"), R, DT_CALCRECT | DT_NOCLIP);
    EXPECT_EQ(Height, Canvas().TextHeight("M"));
    EXPECT_EQ(R, (TRect{10, 20, 10 + Canvas().TextWidth("Measure me"), 20 + Height}));
    EXPECT_TRUE(InkBox().IsEmpty());
    TRect Centred{0, 0, 0, 0};
    EXPECT_EQ(
        Canvas().DrawText(std::string("M"), Centred, DT_CALCRECT | DT_SINGLELINE | DT_VCENTER),
        Height);
    TRect Empty{0, 0, 0, 0};
    EXPECT_EQ(Canvas().DrawText(std::string(), Empty, DT_CALCRECT), 0);
}

TEST_F(CanvasText, EndEllipsisShortensTheTextToFit) {
    UseFont(Canvas());
    const int Width = Canvas().TextWidth("abcdef");
    std::string Text = "abcdefghijklmnop";
    TRect R{0, 0, Width, 30};
    Canvas().DrawText(Text, R, DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING);
    ASSERT_GE(Text.size(), 3u);
    EXPECT_EQ(Text.substr(Text.size() - 3), "...");
    EXPECT_EQ(Text.substr(0, 2), "ab");
    EXPECT_LE(Canvas().TextWidth(Text), Width);
    EXPECT_LE(InkBox().Right, Width + 1);
    std::string Short = "abc";
    Canvas().DrawText(Short, R, DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING);
    EXPECT_EQ(Short, "abc");
}

TEST_F(CanvasText, PathEllipsisKeepsTheLastComponent) {
    UseFont(Canvas());
    std::string Text = "/usr/share/some/long/folder/file.txt";
    TRect R{0, 0, Canvas().TextWidth("/usr/.../file.txt"), 30};
    Canvas().DrawText(Text, R, DT_SINGLELINE | DT_PATH_ELLIPSIS | DT_MODIFYSTRING);
    EXPECT_EQ(Text.substr(Text.size() - 12), ".../file.txt");
}

TEST_F(CanvasText, AmpersandIsPrintedWithNoPrefixAndUnderlinesOtherwise) {
    UseFont(Canvas());
    TBitmap Plain(TW, TH);
    UseFont(Plain.Canvas());
    Plain.Canvas().TextOut(10, 10, "&File");
    TRect R{10, 10, 190, 110};
    Canvas().DrawText(std::string("&File"), R, DT_NOPREFIX);
    EXPECT_TRUE(SamePixels(Bitmap, Plain));

    TRect Calc{0, 0, 0, 0};
    Canvas().DrawText(std::string("&File"), Calc, DT_CALCRECT);
    EXPECT_EQ(Calc.Right, Canvas().TextWidth("File"));
    TRect Doubled{0, 0, 0, 0};
    Canvas().DrawText(std::string("a&&b"), Doubled, DT_CALCRECT);
    EXPECT_EQ(Doubled.Right, Canvas().TextWidth("a&b"));

    TBitmap Underlined(TW, TH), File(TW, TH);
    UseFont(Underlined.Canvas());
    UseFont(File.Canvas());
    TRect U{10, 10, 190, 110};
    Underlined.Canvas().DrawText(std::string("&File"), U, 0);
    File.Canvas().TextOut(10, 10, "File");
    // They differ in one row only: the underline.
    int Row = -1;
    for (int Y = 0; Y < TH; ++Y)
        for (int X = 0; X < TW; ++X)
            if (Underlined.Image().pixel(X, Y) != File.Image().pixel(X, Y)) {
                EXPECT_TRUE(Row < 0 || Row == Y) << X << "," << Y;
                Row = Y;
            }
    EXPECT_GT(Row, 10);
}

TEST_F(CanvasText, TextOutsideTheRectangleIsClippedUnlessNoClip) {
    const std::string Long = "A rather long line of text";
    const TRect R{10, 10, 40, 60};
    const TRect Clipped = InkOf(Long, R, DT_SINGLELINE);
    EXPECT_LE(Clipped.Right, 40);
    EXPECT_GT(InkOf(Long, R, DT_SINGLELINE | DT_NOCLIP).Right, 40);
    // The canvas's own clip is back afterwards.
    TRect Again = R;
    Canvas().DrawText(Long, Again, DT_SINGLELINE);
    EXPECT_EQ(Canvas().ClipRect(), (TRect{0, 0, TW, TH}));
}

TEST_F(CanvasText, RotatedTextTurnsCounterClockwiseAboutItsPoint) {
    struct TCase {
        int Escapement;
        // The bounds relative to the point for a cell of w x h.
        TRect (*Bounds)(int X, int Y, int W, int H);
    };
    const TCase Cases[] = {
        {0,
         [](int X, int Y, int W, int H) {
             return TRect{X, Y, X + W, Y + H};
         }},
        {900,
         [](int X, int Y, int W, int H) {
             return TRect{X, Y - W, X + H, Y};
         }},
        {1800,
         [](int X, int Y, int W, int H) {
             return TRect{X - W, Y - H, X, Y};
         }},
        {2700,
         [](int X, int Y, int W, int H) {
             return TRect{X - H, Y, X, Y + W};
         }},
    };
    const std::string Text = "Rotate";
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Escapement);
        TBitmap B(TW, TH);
        UseFont(B.Canvas());
        B.Canvas().Font().SetEscapement(C.Escapement);
        const TSize Cell = B.Canvas().TextExtent(Text);
        B.Canvas().TextOut(100, 60, Text);
        const TRect Ink = InkBox(B);
        const TRect Box = C.Bounds(100, 60, Cell.cx, Cell.cy);
        EXPECT_GE(Ink.Left, Box.Left - 1);
        EXPECT_GE(Ink.Top, Box.Top - 1);
        EXPECT_LE(Ink.Right, Box.Right + 1);
        EXPECT_LE(Ink.Bottom, Box.Bottom + 1);
        // The long side of the ink runs along the text.
        const bool Upright = C.Escapement % 1800 == 0;
        EXPECT_GT(Upright ? Ink.Width() : Ink.Height(), Cell.cx * 3 / 4);
    }
}

TEST_F(CanvasText, FontSizeAndHeightConvertAt96Dpi) {
    TFont F;
    EXPECT_EQ(F.Height(), -11);
    EXPECT_EQ(F.Size(), 8);
    F.SetSize(12);
    EXPECT_EQ(F.Height(), -16);
    F.SetHeight(-13);
    EXPECT_EQ(F.Size(), 10);
    UseFont(Canvas());
    const int Small = Canvas().TextHeight("X");
    Canvas().Font().SetHeight(-28);
    EXPECT_GT(Canvas().TextHeight("X"), Small * 3 / 2);
    // A positive height is the whole cell.
    Canvas().Font().SetHeight(20);
    EXPECT_NEAR(Canvas().TextHeight("X"), 20, 1);
}

TEST_F(CanvasText, BoldTextIsWider) {
    UseFont(Canvas());
    const int Normal = Canvas().TextWidth("Wide words");
    Canvas().Font().SetStyle({fsBold});
    EXPECT_GT(Canvas().TextWidth("Wide words"), Normal);
}

} // namespace
