#include "sevenseg/iSevenSegmentCharacter.h"

#include "platform/Bitmap.h"
#include "tests/platform/CanvasFixture.h"
#include "tests/sevenseg/GlyphRecorder.h"

#include <QImage>

#include <gtest/gtest.h>

#include <set>

namespace {

constexpr TColor Marker = 0x02000000;
constexpr TColor DimLime = 0x005500; // lime with each channel divided by 3

TColor PixelOf(const QImage& Image, int X, int Y) {
    const QRgb P = Image.pixel(X, Y);
    return RGB(qRed(P), qGreen(P), qBlue(P));
}

std::set<TColor> ColoursOf(const QImage& Image) {
    std::set<TColor> Colours;
    for (int Y = 0; Y < Image.height(); ++Y)
        for (int X = 0; X < Image.width(); ++X)
            Colours.insert(PixelOf(Image, X, Y));
    return Colours;
}

// A cell drawing on a black bitmap of W x H with margin M, separation S and
// segment size Z, off segments hidden unless asked for.
struct TGlyphCase {
    int W, H, M, S, Z;
};

class GlyphTest : public testing::Test {
  protected:
    void Configure(const TGlyphCase& Case) {
        Cell.SetSegmentMargin(Case.M);
        Cell.SetSegmentSeperation(Case.S);
        Cell.SetSegmentSize(Case.Z);
        Cell.SetShowOffSegments(false);
        Size = Case;
    }
    TBitmap& Drawn(TSevenSegmentCharacter Value) {
        Bitmap.SetSize(Size.W, Size.H);
        Bitmap.Canvas().Brush().SetColor(clBlack);
        Bitmap.Canvas().FillRect(Rect(0, 0, Size.W, Size.H));
        Cell.DrawCharacter(Bitmap.Canvas(), Point(0, 0), Value, Size.H, Size.W);
        return Bitmap;
    }
    std::vector<TRecordedPolygon> Recorded(TSevenSegmentCharacter Value, TPoint Origin = {}) {
        TGlyphRecorder Recorder;
        Cell.DrawCharacter(Recorder, Origin, Value, Size.H, Size.W);
        return Recorder.Polygons;
    }

    TiSevenSegmentCharacter Cell;
    TGlyphCase Size{16, 18, 0, 1, 1};
    TBitmap Bitmap;
};

TEST(SevenSegmentCharacter, CharactersMapToValuesAndReadBack) {
    struct {
        char Written;
        TSevenSegmentCharacter Value;
        char Read;
    } const Cases[] = {
        {'0', ssc0, '0'},       {'9', ssc9, '9'},         {'B', sscB, 'b'},
        {'f', sscF, 'f'},       {'.', sscPeriod, '.'},    {':', sscColon, ':'},
        {'+', sscPlus, '+'},    {'-', sscMinus, '-'},     {'_', sscLine, '_'},
        {'<', sscUpArrow, '<'}, {'>', sscDownArrow, '>'}, {';', sscSemiColon, ';'},
        {',', sscComma, ','},   {'x', sscBlank, ' '},     {' ', sscBlank, ' '},
        {'\0', sscBlank, ' '},  {'G', sscBlank, ' '},
    };
    TiSevenSegmentCharacter Cell;
    for (const auto& Case : Cases) {
        Cell.SetCharacter(Case.Written);
        EXPECT_EQ(Cell.Value(), Case.Value) << Case.Written;
        EXPECT_EQ(Cell.Character(), Case.Read) << Case.Written;
    }
    EXPECT_EQ(ValueToCharacter(TSevenSegmentCharacter(26)), '?');
}

TEST(SevenSegmentCharacter, DefaultsAndClamps) {
    TiSevenSegmentCharacter Cell;
    EXPECT_EQ(Cell.Width(), 15);
    EXPECT_EQ(Cell.Height(), 23);
    EXPECT_EQ(Cell.SegmentColor(), clLime);
    EXPECT_EQ(Cell.SegmentOffColor(), clGreen);
    EXPECT_EQ(Cell.BackGroundColor(), clBlack);
    EXPECT_EQ(Cell.Value(), ssc0);
    EXPECT_TRUE(Cell.ShowOffSegments());

    Cell.SetSegmentSize(0);
    Cell.SetSegmentMargin(-3);
    Cell.SetSegmentSeperation(-1);
    EXPECT_EQ(Cell.SegmentSize(), 1);
    EXPECT_EQ(Cell.SegmentMargin(), 0);
    EXPECT_EQ(Cell.SegmentSeperation(), 0);
}

TEST(SevenSegmentCharacter, AutoSizeFollowsValueMarginAndSize) {
    TiSevenSegmentCharacter Cell;
    Cell.SetValue(sscPeriod);
    EXPECT_EQ(Cell.Width(), 2 * 2 + 2 * 1 + 1);
    EXPECT_EQ(Cell.Height(), 23);
    Cell.SetCharacter(';');
    EXPECT_EQ(Cell.Width(), 7);
    Cell.SetCharacter('8');
    EXPECT_EQ(Cell.Width(), 15);
    Cell.SetSegmentSize(2);
    EXPECT_EQ(Cell.Width(), 2 * 2 + 10 * 2 + 1);
    EXPECT_EQ(Cell.Height(), 2 * 2 + 18 * 2 + 1);
    // The separation does not change the size.
    Cell.SetSegmentSeperation(4);
    EXPECT_EQ(Cell.Width(), 25);

    Cell.SetAutoSize(false);
    Cell.SetSegmentMargin(6);
    EXPECT_EQ(Cell.Width(), 25);
    Cell.SetAutoSize(true);
    EXPECT_EQ(Cell.Width(), 2 * 6 + 10 * 2 + 1);
}

TEST(SevenSegmentCharacter, SegmentBitsSetTheSevenFlags) {
    TiSevenSegmentCharacter Cell;
    Cell.SetSegmentBits(0x86);
    EXPECT_EQ(Cell.SegmentBits(), 6);
    EXPECT_FALSE(Cell.SegAOn());
    EXPECT_TRUE(Cell.SegBOn());
    EXPECT_TRUE(Cell.SegCOn());
    EXPECT_FALSE(Cell.SegDOn() || Cell.SegEOn() || Cell.SegFOn() || Cell.SegGOn());
    Cell.SetSegGOn(true);
    Cell.SetSegBOn(false);
    EXPECT_EQ(Cell.SegmentBits(), 0x44);
}

TEST_F(GlyphTest, SegmentPolygonsHaveTheirCorners) {
    Configure({16, 18, 0, 1, 1});
    Cell.SetShowOffSegments(true);
    const auto Polygons = Recorded(ssc8, Point(100, 200));
    ASSERT_EQ(Polygons.size(), 7u);
    const auto Moved = [](std::vector<TPoint> Points) {
        for (TPoint& P : Points)
            P = Point(P.X - 100, P.Y - 200);
        return Points;
    };
    EXPECT_EQ(Moved(Polygons[0].Points), (std::vector<TPoint>{{1, 0}, {14, 0}, {12, 2}, {3, 2}}));
    // h = 8: B ends and C starts one separation away from it, G lies on it.
    EXPECT_EQ(Moved(Polygons[1].Points), (std::vector<TPoint>{{15, 1}, {15, 7}, {13, 5}, {13, 3}}));
    EXPECT_EQ(Moved(Polygons[2].Points),
              (std::vector<TPoint>{{15, 9}, {15, 16}, {13, 14}, {13, 11}}));
    EXPECT_EQ(Moved(Polygons[3].Points),
              (std::vector<TPoint>{{1, 17}, {14, 17}, {12, 15}, {3, 15}}));
    EXPECT_EQ(Moved(Polygons[4].Points), (std::vector<TPoint>{{0, 9}, {0, 16}, {2, 14}, {2, 11}}));
    EXPECT_EQ(Moved(Polygons[5].Points), (std::vector<TPoint>{{0, 1}, {0, 7}, {2, 5}, {2, 3}}));
    EXPECT_EQ(Moved(Polygons[6].Points),
              (std::vector<TPoint>{{1, 8}, {2, 7}, {13, 7}, {14, 8}, {13, 9}, {2, 9}}));
}

TEST_F(GlyphTest, SegmentAPixelsReachItsCorners) {
    Configure({16, 18, 0, 1, 1});
    Cell.SetUseSegmentBits(true);
    Cell.SetSegmentBits(1);
    const TBitmap& B = Drawn(ssc0);
    EXPECT_EQ(CanvasFixture::InkBox(B, clBlack), Rect(1, 0, 15, 3));
    for (const TPoint Corner : {Point(1, 0), Point(14, 0), Point(12, 2), Point(3, 2)})
        EXPECT_EQ(PixelOf(B.Image(), Corner.X, Corner.Y), clLime) << Corner.X << "," << Corner.Y;
    for (const TPoint Outside : {Point(0, 0), Point(15, 0), Point(2, 2), Point(13, 2), Point(1, 1)})
        EXPECT_EQ(PixelOf(B.Image(), Outside.X, Outside.Y), clBlack)
            << Outside.X << "," << Outside.Y;
}

// Ink boxes of the marks in a 10 x 18 cell (the display's default cell).
TEST_F(GlyphTest, SpecialGlyphsCoverTheirBoxes) {
    Configure({10, 18, 0, 1, 1});
    struct {
        TSevenSegmentCharacter Value;
        TRect Ink;
    } const Cases[] = {
        // The period's lower edge lies on the cell's bottom line, outside it.
        {sscPeriod, Rect(4, 16, 7, 18)},   {sscColon, Rect(4, 5, 7, 14)},
        {sscSemiColon, Rect(4, 5, 7, 17)}, {sscComma, Rect(4, 11, 7, 17)},
        {sscPlus, Rect(2, 2, 9, 8)},       {sscMinus, Rect(2, 13, 9, 15)},
        {sscLine, Rect(0, 8, 10, 9)},      {sscUpArrow, Rect(0, 5, 9, 10)},
        {sscDownArrow, Rect(0, 9, 9, 14)},
    };
    for (const auto& Case : Cases)
        EXPECT_EQ(CanvasFixture::InkBox(Drawn(Case.Value), clBlack), Case.Ink) << Case.Value;
}

TEST_F(GlyphTest, SignCellsShowTheOtherSignInTheOffColour) {
    Configure({10, 18, 0, 1, 1});
    Cell.SetShowOffSegments(true);
    const QImage Plus = Drawn(sscPlus).Image();
    EXPECT_EQ(PixelOf(Plus, 5, 3), clLime);
    EXPECT_EQ(PixelOf(Plus, 5, 14), DimLime);
    const QImage Minus = Drawn(sscMinus).Image();
    EXPECT_EQ(PixelOf(Minus, 5, 3), DimLime);
    EXPECT_EQ(PixelOf(Minus, 5, 14), clLime);
    // Marks have no off parts.
    EXPECT_EQ(ColoursOf(Drawn(sscColon).Image()), (std::set<TColor>{clBlack, clLime}));
}

TEST_F(GlyphTest, SegmentBitsOverrideTheValue) {
    Configure({10, 18, 0, 1, 1});
    Cell.SetUseSegmentBits(true);
    Cell.SetSegGOn(true);
    EXPECT_EQ(CanvasFixture::InkBox(Drawn(sscPeriod), clBlack), Rect(1, 7, 9, 10));
}

TEST_F(GlyphTest, ColoursCarryThePaletteMarker) {
    Configure({10, 18, 0, 1, 1});
    Cell.SetShowOffSegments(true);
    auto Polygons = Recorded(ssc1);
    ASSERT_EQ(Polygons.size(), 7u);
    EXPECT_EQ(Polygons[1].BrushColor, clLime | Marker);
    EXPECT_EQ(Polygons[1].PenColor, clLime | Marker);
    EXPECT_EQ(Polygons[0].BrushColor, DimLime | Marker);

    Cell.SetAutoSegmentOffColor(false);
    Cell.SetSegmentOffColor(clRed);
    EXPECT_EQ(Recorded(ssc1)[0].BrushColor, clRed);

    // Lit and unlit alike in the automatic off colour.
    Cell.SetAutoSegmentOffColor(true);
    Cell.SetPowerOff(true);
    Polygons = Recorded(ssc1);
    for (const TRecordedPolygon& P : Polygons)
        EXPECT_EQ(P.BrushColor, RGB(0, 85, 0) | Marker);
}

// The marker added to a system colour's index would make a colour of the
// index; the colour is resolved first.
TEST_F(GlyphTest, SystemSegmentColourIsResolvedBeforeTheMarker) {
    Configure({10, 18, 0, 1, 1});
    Cell.SetSegmentColor(clBtnShadow);
    const QImage Image = Drawn(ssc1).Image();
    const TColor Shadow = PixelOf(Image, 9, 4);
    EXPECT_NE(Shadow, TColor(clBtnShadow & 0xFF));
    EXPECT_EQ(Recorded(ssc1)[1].BrushColor, Shadow | Marker);
}

TEST(SevenSegmentCharacter, PaintsBackgroundAndGlyphInItsWindow) {
    TiSevenSegmentCharacter Cell;
    Cell.SetPowerOff(true);
    Cell.SetCharacter('8');
    EXPECT_EQ(ColoursOf(Cell.grab().toImage()), (std::set<TColor>{clBlack, RGB(0, 85, 0)}));

    Cell.SetPowerOff(false);
    Cell.SetShowOffSegments(false);
    Cell.SetCharacter(' ');
    Cell.SetBackGroundColor(clNavy);
    EXPECT_EQ(ColoursOf(Cell.grab().toImage()), std::set<TColor>{clNavy});
    Cell.SetShowOffSegments(true);
    EXPECT_EQ(ColoursOf(Cell.grab().toImage()), (std::set<TColor>{clNavy, DimLime}));
}

} // namespace
