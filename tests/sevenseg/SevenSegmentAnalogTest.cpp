#include "sevenseg/iSevenSegmentAnalog.h"

#include "platform/Bitmap.h"
#include "tests/sevenseg/GlyphRecorder.h"
#include "tests/support/LocaleScope.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <functional>
#include <limits>

namespace {

// Paints on any canvas and counts the paints of its window.
class TProbeDisplay : public TiSevenSegmentAnalog {
  public:
    void PaintOn(TCanvas& Canvas) { iPaintTo(Canvas); }
    int Paints = 0;
    double PaintedValue = 0;

  protected:
    void iPaintTo(TCanvas& Canvas) override {
        ++Paints;
        PaintedValue = Value();
        TiSevenSegmentAnalog::iPaintTo(Canvas);
    }
};

TColor PixelOf(const QImage& Image, int X, int Y) {
    const QRgb P = Image.pixel(X, Y);
    return RGB(qRed(P), qGreen(P), qBlue(P));
}

void Settle(int Ms) {
    QElapsedTimer Clock;
    Clock.start();
    while (Clock.elapsed() < Ms) {
        QApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
}

bool WaitUntil(const std::function<bool()>& Condition) {
    QElapsedTimer Clock;
    Clock.start();
    while (!Condition()) {
        if (Clock.elapsed() > 2000)
            return false;
        QApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return true;
}

// The polygons of a default 84 x 28 row whose cells show Glyphs from the
// left: cells of 10 x 18 at x = 5, 21, 37, 53, 69 and y = 5; a '.' or ','
// is the decimal mark, 2 wide, 4 pixels before the next cell.
std::vector<TRecordedPolygon> ExpectedRow(const std::string& Glyphs) {
    constexpr int CellX[] = {5, 21, 37, 53, 69};
    TiSevenSegmentCharacter Reference;
    Reference.SetSegmentMargin(0);
    Reference.SetSegmentColor(clWhite);
    TGlyphRecorder Recorder;
    std::size_t Cell = 0;
    for (char G : Glyphs) {
        const bool Mark = G == '.' || G == ',';
        const int X = Mark ? CellX[Cell] - 4 : CellX[Cell++];
        Reference.DrawCharacter(Recorder, Point(X, 5), CharacterToValue(G), 18, Mark ? 2 : 10);
    }
    return Recorder.Polygons;
}

std::vector<TRecordedPolygon> PaintedRow(TProbeDisplay& Display) {
    TGlyphRecorder Recorder;
    Display.PaintOn(Recorder);
    return Recorder.Polygons;
}

TEST(SevenSegmentAnalog, Defaults) {
    TiSevenSegmentAnalog D;
    EXPECT_EQ(D.Width(), 84);
    EXPECT_EQ(D.Height(), 28);
    EXPECT_EQ(D.DigitCount(), 4);
    EXPECT_EQ(D.Precision(), 2);
    EXPECT_TRUE(D.ShowSign());
    EXPECT_EQ(D.LeadingStyle(), ilsSpaces);
    EXPECT_EQ(D.DigitSpacing(), 6);
    EXPECT_EQ(D.SegmentMargin(), 5);
    EXPECT_EQ(D.SegmentColor(), clWhite);
    EXPECT_EQ(D.SegmentOffColor(), clGray);
    EXPECT_EQ(D.BackGroundColor(), clBlack);
    EXPECT_EQ(D.BorderStyle(), ibsNone);
    EXPECT_EQ(D.Value(), 0.0);
}

TEST(SevenSegmentAnalog, SettersClamp) {
    TiSevenSegmentAnalog D;
    const std::pair<int, int> Precisions[] = {{20, 13}, {-1, 0}, {7, 7}};
    for (const auto& [Set, Stored] : Precisions) {
        D.SetPrecision(Set);
        EXPECT_EQ(D.Precision(), Stored) << Set;
    }
    const std::pair<int, int> Counts[] = {{50, 32}, {0, 1}, {-4, 1}, {32, 32}};
    for (const auto& [Set, Stored] : Counts) {
        D.SetDigitCount(Set);
        EXPECT_EQ(D.DigitCount(), Stored) << Set;
    }
    const std::pair<int, int> Sizes[] = {{500, 100}, {0, 1}, {3, 3}};
    for (const auto& [Set, Stored] : Sizes) {
        D.SetSegmentSize(Set);
        EXPECT_EQ(D.SegmentSize(), Stored) << Set;
    }
    D.SetSegmentMargin(-1);
    D.SetSegmentSeperation(-1);
    D.SetDigitSpacing(-2);
    EXPECT_EQ(D.SegmentMargin(), 0);
    EXPECT_EQ(D.SegmentSeperation(), 0);
    EXPECT_EQ(D.DigitSpacing(), -2);

    D.SetValue(1e20);
    EXPECT_EQ(D.Value(), 1e15);
    D.SetValue(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(D.Value(), 1e15);
    D.SetValue(-1e20);
    EXPECT_EQ(D.Value(), -1e20);
}

TEST(SevenSegmentAnalog, AutoSizeCountsCellsSpacingAndMargin) {
    TiSevenSegmentAnalog D;
    D.SetDigitCount(6);
    EXPECT_EQ(D.Width(), 16 * 7 + 10 - 6);
    D.SetShowSign(false);
    EXPECT_EQ(D.Width(), 16 * 6 + 10 - 6);
    D.SetSegmentSize(2);
    EXPECT_EQ(D.Width(), 26 * 6 + 10 - 6);
    EXPECT_EQ(D.Height(), 36 + 10);
    D.SetAutoSize(false);
    D.SetDigitCount(2);
    EXPECT_EQ(D.Width(), 160);
    D.SetAutoSize(true);
    EXPECT_EQ(D.Width(), 26 * 2 + 10 - 6);
}

TEST(SevenSegmentAnalog, LoadedSizeStaysUntilAutoSizingSetter) {
    QTemporaryDir Dir;
    const std::string File = Dir.filePath("display.txt").toStdString();
    std::ofstream(File) << "Width = 119\nHeight = 43\nPrecision = 0\nAutoSize = True\n";
    TiSevenSegmentAnalog D;
    D.LoadPropertiesFromFile(File);
    EXPECT_EQ(D.Precision(), 0);
    EXPECT_EQ(D.Width(), 119);
    EXPECT_EQ(D.Height(), 43);
    D.SetPrecision(1);
    EXPECT_EQ(D.Width(), 84);
    EXPECT_EQ(D.Height(), 28);
}

TEST(SevenSegmentAnalog, PropertiesSaveAndLoadBack) {
    QTemporaryDir Dir;
    const std::string File = Dir.filePath("display.txt").toStdString();
    TiSevenSegmentAnalog Saved;
    Saved.SetLeadingStyle(ilsZeros);
    Saved.SetSegmentColor(clLime);
    Saved.SetPrecision(1);
    Saved.SetValue(-7.25);
    Saved.SavePropertiesToFile(File);
    TiSevenSegmentAnalog Loaded;
    Loaded.LoadPropertiesFromFile(File);
    EXPECT_EQ(Loaded.LeadingStyle(), ilsZeros);
    EXPECT_EQ(Loaded.SegmentColor(), clLime);
    EXPECT_EQ(Loaded.Precision(), 1);
    EXPECT_EQ(Loaded.Value(), -7.25);
}

TEST(SevenSegmentAnalog, CellsShowSignDigitsMarkOrArrows) {
    const double Infinity = std::numeric_limits<double>::infinity();
    struct {
        int Precision;
        double Value;
        std::string Glyphs;
    } const Cases[] = {
        {2, 3.14159, "+ 3.14"}, {1, -7.2, "-  7.2"}, {1, 999.9, "+999.9"},    {1, 1000, "+<<<<"},
        {1, -1000, "->>>>"},    {0, 9999, "+9999"},  {0, 10000, "+<<<<"},     {0, 1e20, "+<<<<"},
        {0, -1e20, "->>>>"},    {4, 0, "+<<<<"},     {1, -Infinity, "->>>>"}, {1, 0, "+  0.0"},
    };
    for (const auto& Case : Cases) {
        TProbeDisplay D;
        D.SetPrecision(Case.Precision);
        D.SetValue(Case.Value);
        ASSERT_EQ(D.Width(), 84);
        EXPECT_EQ(PaintedRow(D), ExpectedRow(Case.Glyphs)) << Case.Glyphs;
    }
}

TEST(SevenSegmentAnalog, LeadingStylesAndHiddenSign) {
    struct {
        TiLeadingStyle Style;
        bool ShowSign;
        std::string Glyphs;
    } const Cases[] = {
        {ilsZeros, true, "-007.2"},
        {ilsNone, true, "-7.2"},
        // Without the sign cell the row of four keeps the same cell positions.
        {ilsSpaces, false, "  7.2"},
    };
    for (const auto& Case : Cases) {
        TProbeDisplay D;
        D.SetPrecision(1);
        D.SetLeadingStyle(Case.Style);
        D.SetShowSign(Case.ShowSign);
        D.SetValue(-7.2);
        EXPECT_EQ(PaintedRow(D), ExpectedRow(Case.Glyphs)) << Case.Glyphs;
    }
}

TEST(SevenSegmentAnalog, DecimalCommaLocaleDrawsTheCommaGlyph) {
    TLocaleScope Comma(CommaLocale);
    TProbeDisplay D;
    D.SetPrecision(1);
    D.SetValue(-7.2);
    EXPECT_EQ(PaintedRow(D), ExpectedRow("-  7,2"));
}

TEST(SevenSegmentAnalog, CellAndMarkPixelsAtTheDefaultSize) {
    TProbeDisplay D;
    D.SetPrecision(1);
    D.SetShowOffSegments(false);
    D.SetValue(888.8);
    const QImage Image = D.grab().toImage();
    ASSERT_EQ(Image.size(), QSize(84, 28));
    // Segment A of each digit cell: from x + 1 to x + 8 on the row's top line.
    for (int X : {21, 37, 53, 69}) {
        EXPECT_EQ(PixelOf(Image, X + 1, 5), clWhite) << X;
        EXPECT_EQ(PixelOf(Image, X + 8, 5), clWhite) << X;
        EXPECT_EQ(PixelOf(Image, X, 5), clBlack) << X;
        EXPECT_EQ(PixelOf(Image, X + 9, 5), clBlack) << X;
    }
    // The sign cell at 5 shows the plus bar; the mark covers 65 .. 67.
    EXPECT_EQ(PixelOf(Image, 7, 9), clWhite);
    for (int X = 64; X <= 68; ++X)
        EXPECT_EQ(PixelOf(Image, X, 22), X == 64 || X == 68 ? clBlack : clWhite) << X;
}

TEST(SevenSegmentAnalog, ValueChangeIsNotifiedOnlyOnChange) {
    TiSevenSegmentAnalog D;
    int Changes = 0;
    D.SetOnValueChange([&](QObject* Sender) {
        EXPECT_EQ(Sender, &D);
        ++Changes;
    });
    D.SetValue(0);
    EXPECT_EQ(Changes, 0);
    D.SetValue(2.5);
    D.SetValue(2.5);
    EXPECT_EQ(Changes, 1);
    D.SetValue(1e20);
    D.SetValue(1e16);
    EXPECT_EQ(Changes, 2);
}

TEST(SevenSegmentAnalog, ValuesBetweenTwoPaintsArePaintedOnceWithTheLast) {
    QWidget Window;
    Window.resize(200, 100);
    TProbeDisplay* D = new TProbeDisplay;
    D->setParent(&Window);
    Window.show();
    ASSERT_TRUE(WaitUntil([&] { return D->Paints > 0; }));
    Settle(50);
    const int Before = D->Paints;
    for (double V : {1.5, 2.5, 3.5})
        D->SetValue(V);
    EXPECT_EQ(D->Paints, Before);
    ASSERT_TRUE(WaitUntil([&] { return D->Paints > Before; }));
    Settle(50);
    EXPECT_EQ(D->Paints, Before + 1);
    EXPECT_EQ(D->PaintedValue, 3.5);
}

} // namespace
