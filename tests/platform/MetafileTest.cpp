#include "platform/Metafile.h"
#include "platform/Bitmap.h"
#include "tests/platform/CanvasFixture.h"
#include "tests/platform/EmfReader.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace {

constexpr int W = 120;
constexpr int H = 90;

enum : std::uint32_t {
    EMR_HEADER = 1,
    EMR_POLYLINE = 4,
    EMR_SELECTOBJECT = 37,
    EMR_CREATEPEN = 38,
    EMR_CREATEBRUSHINDIRECT = 39,
    EMR_DELETEOBJECT = 40,
    EMR_RECTANGLE = 43,
    EMR_EXTCREATEFONTINDIRECTW = 82,
    EMR_EXTTEXTOUTW = 84,
};

// Every kind of call the canvas records, with changing pens, brushes and
// fonts.
void DrawScene(TCanvas& C, const TBitmap& Glyph) {
    C.Brush().SetColor(clSilver);
    C.FillRect({0, 0, W, H});
    C.Pen().SetColor(clRed);
    C.Pen().SetStyle(psDash);
    const TPoint Zigzag[] = {{2, 2}, {60, 30}, {5, 60}, {110, 85}};
    C.Polyline(Zigzag);
    C.Pen().SetStyle(psSolid);
    C.Pen().SetWidth(3);
    C.Brush().SetStyle(bsCross);
    C.Brush().SetColor(clBlue);
    C.Rectangle(10, 10, 50, 40);
    C.Pen().SetWidth(1);
    C.Brush().SetStyle(bsSolid);
    C.Brush().SetColor(clYellow);
    C.Ellipse(60, 5, 100, 35);
    const TPoint Triangle[] = {{70, 50}, {115, 50}, {90, 80}};
    C.Polygon(Triangle);
    C.Font().SetName("Arial");
    C.Font().SetHeight(-12);
    C.TextOut(5, 45, "Opaque");
    C.Brush().SetStyle(bsClear);
    TRect Box{5, 60, 60, 75};
    C.DrawText(std::string("Clipped centred text"), Box, DT_CENTER | DT_SINGLELINE);
    C.Font().SetEscapement(900);
    C.TextOut(100, 88, "Up");
    C.Font().SetEscapement(0);
    C.DrawEdge({62, 38, 118, 48}, EDGE_SUNKEN, BF_RECT);
    C.IntersectClipRect({0, 80, 30, 90});
    C.Brush().SetStyle(bsSolid);
    C.Brush().SetColor(clGreen);
    C.FillRect({0, 0, W, H});
    C.ResetClip();
    C.SetPixel(115, 2, clFuchsia);
    C.Draw(40, 70, Glyph);
    C.DrawFocusRect({30, 20, 90, 60});
    C.Pen().SetMode(pmXor);
    C.Pen().SetColor(clWhite);
    C.MoveTo(0, 88);
    C.LineTo(W, 88);
}

class Metafile : public testing::Test {
  protected:
    Metafile() : Glyph(6, 5) {
        Glyph.Canvas().Brush().SetColor(clTeal);
        Glyph.Canvas().FillRect({1, 1, 5, 4});
        Picture.SetSize(W, H);
    }

    void Record(void (*Draw)(TCanvas&, const TBitmap&)) {
        TMetafileCanvas Canvas(Picture, "Kestrel", "Strip Chart");
        Draw(Canvas, Glyph);
    }

    std::vector<TEmfRecord> Emf() const { return ReadEmf(Picture.EmfData()); }

    TBitmap Glyph;
    TMetafile Picture;
};

TEST_F(Metafile, ReplayingGivesTheSamePixelsAsDrawingDirectly) {
    Record(DrawScene);
    TBitmap Direct(W, H), Played(W, H);
    DrawScene(Direct.Canvas(), Glyph);
    Played.Canvas().StretchDraw({0, 0, W, H}, Picture);
    EXPECT_TRUE(SamePixels(Direct, Played));
    // The target's own pen, brush, font and clip are back afterwards.
    EXPECT_EQ(Played.Canvas().Pen(), TPen());
    EXPECT_EQ(Played.Canvas().Font(), TFont());
    EXPECT_EQ(Played.Canvas().ClipRect(), (TRect{0, 0, W, H}));
}

TEST_F(Metafile, ReplayIsScaledIntoTheTargetRectangle) {
    Record([](TCanvas& C, const TBitmap&) {
        C.Brush().SetColor(clRed);
        C.FillRect({10, 10, 20, 30});
    });
    TBitmap Big(2 * W + 10, 2 * H + 10);
    Picture.Play(Big.Canvas(), {10, 10, 10 + 2 * W, 10 + 2 * H});
    EXPECT_EQ(CanvasFixture::InkBox(Big), (TRect{30, 30, 50, 70}));
}

TEST_F(Metafile, CanvasIsAMetafileDeviceOfThePictureSize) {
    TMetafileCanvas Canvas(Picture, "Kestrel", "");
    EXPECT_EQ(Canvas.Technology(), dtMetaFile);
    EXPECT_EQ(Canvas.DeviceRect(), (TRect{0, 0, W, H}));
    EXPECT_EQ(Canvas.Pixel(1, 1), CLR_INVALID);
    EXPECT_TRUE(Canvas.PtVisible({W - 1, H - 1}));
    EXPECT_FALSE(Canvas.PtVisible({W, 0}));
    TBitmap Screen(10, 10);
    Canvas.Font().SetName("Arial");
    Screen.Canvas().Font().SetName("Arial");
    EXPECT_EQ(Canvas.TextWidth("Same width"), Screen.Canvas().TextWidth("Same width"));
    EXPECT_THROW(Screen.Canvas().CopyRect({0, 0, 5, 5}, Canvas, {0, 0, 5, 5}), Exception);
}

TEST_F(Metafile, NewCanvasStartsANewRecording) {
    Record(DrawScene);
    EXPECT_FALSE(Picture.Empty());
    { TMetafileCanvas Canvas(Picture, "Kestrel", ""); }
    EXPECT_TRUE(Picture.Empty());
    EXPECT_EQ(Picture.Description(), "");
    TBitmap Played(W, H);
    Played.Canvas().StretchDraw({0, 0, W, H}, Picture);
    EXPECT_TRUE(CanvasFixture::InkBox(Played).IsEmpty());
}

TEST_F(Metafile, PlayingIntoItsOwnRecordingAppendsACopy) {
    TMetafileCanvas Canvas(Picture, "Kestrel", "");
    Canvas.Brush().SetColor(clRed);
    Canvas.FillRect({0, 0, 10, 10});
    Canvas.StretchDraw({20, 0, 30, 10}, Picture);
    TBitmap Played(W, H);
    Picture.Play(Played.Canvas(), {0, 0, W, H});
    EXPECT_EQ(CanvasFixture::InkBox(Played), (TRect{0, 0, 21, 10})); // scaled down
}

TEST_F(Metafile, FileHeaderCarriesSizeAndCreatorComment) {
    Record(DrawScene);
    const std::vector<TEmfRecord> Records = Emf();
    const TEmfRecord& Header = Records.front();
    EXPECT_EQ(Header.I32(16), W - 1); // inclusive bounds
    EXPECT_EQ(Header.I32(20), H - 1);
    EXPECT_EQ(Header.I32(32), W * 2540 / 96);
    const std::uint32_t Chars = Header.U32(60);
    EXPECT_EQ(Header.Utf16(Header.U32(64), Chars), std::string("Kestrel\0Strip Chart\0\0", 21));
    EXPECT_EQ(Header.I32(72) * 254 / 10 / 96, Header.I32(80)); // 96 dpi reference
}

TEST_F(Metafile, CallsBecomeTheirRecords) {
    Record([](TCanvas& C, const TBitmap&) {
        C.Pen().SetColor(clRed);
        C.Pen().SetStyle(psDot);
        const TPoint Line[] = {{1, 2}, {30, 4}, {50, 60}};
        C.Polyline(Line);
        C.Brush().SetColor(clBlue);
        C.FillRect({5, 6, 15, 16});
        C.Font().SetName("Arial");
        C.Font().SetHeight(-14);
        C.TextOut(7, 8, "Hello");
    });
    const std::vector<TEmfRecord> Records = Emf();

    const auto Lines = RecordsOf(Records, EMR_POLYLINE);
    ASSERT_EQ(Lines.size(), 1u);
    EXPECT_EQ(Lines[0].U32(24), 3u);
    EXPECT_EQ(Lines[0].I32(28 + 8), 30);
    EXPECT_EQ(Lines[0].I32(28 + 20), 60);
    const auto Pens = RecordsOf(Records, EMR_CREATEPEN);
    ASSERT_GE(Pens.size(), 1u);
    EXPECT_EQ(Pens[0].U32(12), 2u); // dotted
    EXPECT_EQ(Pens[0].U32(24), clRed);

    // A filled box is a rectangle without outline, one pixel larger.
    const auto Boxes = RecordsOf(Records, EMR_RECTANGLE);
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].I32(8), 5);
    EXPECT_EQ(Boxes[0].I32(16), 16);
    EXPECT_EQ(Pens.back().U32(12), 5u); // the null pen
    const auto Brushes = RecordsOf(Records, EMR_CREATEBRUSHINDIRECT);
    ASSERT_GE(Brushes.size(), 1u);
    EXPECT_EQ(Brushes.back().U32(16), clBlue);

    const auto Texts = RecordsOf(Records, EMR_EXTTEXTOUTW);
    ASSERT_EQ(Texts.size(), 1u);
    EXPECT_EQ(Texts[0].I32(36), 7);
    EXPECT_EQ(Texts[0].I32(40), 8);
    EXPECT_EQ(Texts[0].Utf16(Texts[0].U32(48), Texts[0].U32(44)), "Hello");
    const auto Fonts = RecordsOf(Records, EMR_EXTCREATEFONTINDIRECTW);
    ASSERT_EQ(Fonts.size(), 1u);
    EXPECT_EQ(Fonts[0].I32(12), -14);
    EXPECT_EQ(Fonts[0].Utf16(12 + 28, 15), "Liberation Sans");
}

// Objects are created before they are selected and never deleted while
// selected.
TEST_F(Metafile, ObjectHandlesAreUsedConsistently) {
    Record(DrawScene);
    const std::vector<TEmfRecord> Records = Emf();
    const std::uint32_t Handles = Records.front().U16(56);
    std::map<std::uint32_t, std::uint32_t> Kind;     // handle -> creating record type
    std::map<std::uint32_t, std::uint32_t> Selected; // creating record type -> handle
    for (const TEmfRecord& R : Records) {
        if (R.Type == EMR_CREATEPEN || R.Type == EMR_CREATEBRUSHINDIRECT ||
            R.Type == EMR_EXTCREATEFONTINDIRECTW) {
            const std::uint32_t H = R.U32(8);
            EXPECT_LT(H, Handles);
            EXPECT_FALSE(Kind.count(H)) << "handle " << H << " reused while alive";
            Kind[H] = R.Type;
        } else if (R.Type == EMR_SELECTOBJECT) {
            ASSERT_TRUE(Kind.count(R.U32(8)));
            Selected[Kind[R.U32(8)]] = R.U32(8);
        } else if (R.Type == EMR_DELETEOBJECT) {
            const std::uint32_t H = R.U32(8);
            ASSERT_TRUE(Kind.count(H));
            EXPECT_NE(Selected[Kind[H]], H) << "deleting a selected object";
            Kind.erase(H);
        }
    }
}

TEST_F(Metafile, EmptyPictureIsAValidFile) {
    EXPECT_NO_THROW(Emf());
}

TEST_F(Metafile, SaveToFileWritesTheBytesAndReportsFailure) {
    Record(DrawScene);
    QTemporaryDir Dir;
    const std::string Name = Dir.filePath("picture.emf").toStdString();
    Picture.SaveToFile(Name);
    std::ifstream In(Name, std::ios::binary);
    std::stringstream Bytes;
    Bytes << In.rdbuf();
    EXPECT_EQ(Bytes.str(), Picture.EmfData());
    EXPECT_THROW(Picture.SaveToFile(Dir.filePath("missing/picture.emf").toStdString()), Exception);
}

// Inkscape's importer reads the file as another program would.
TEST_F(Metafile, InkscapeRendersTheFile) {
    const QString Inkscape = QStandardPaths::findExecutable("inkscape");
    if (Inkscape.isEmpty())
        GTEST_SKIP() << "inkscape is not installed (scripts/install-deps installs it); the check "
                        "of EMF files with a real reader is skipped";
    Record([](TCanvas& C, const TBitmap&) {
        C.Brush().SetColor(clWhite);
        C.FillRect({0, 0, W, H});
        C.Brush().SetColor(clBlue);
        C.FillRect({10, 10, 50, 60});
        C.Pen().SetColor(clRed);
        C.Brush().SetColor(clRed);
        C.Ellipse(60, 10, 110, 60);
        C.Pen().SetColor(clBlack);
        C.Pen().SetWidth(3);
        C.MoveTo(10, 68);
        C.LineTo(110, 68);
        C.Font().SetName("Arial");
        C.Font().SetHeight(-12);
        C.Brush().SetStyle(bsClear);
        C.TextOut(5, 74, "EMF text");
    });
    QTemporaryDir Dir;
    const QString Emf = Dir.filePath("picture.emf");
    const QString Png = Dir.filePath("picture.png");
    Picture.SaveToFile(Emf.toStdString());
    QProcess Run;
    QProcessEnvironment Env = QProcessEnvironment::systemEnvironment();
    Env.insert("HOME", Dir.path()); // Inkscape writes its preferences there
    Run.setProcessEnvironment(Env);
    Run.start(Inkscape, {Emf, "--export-type=png", "--export-filename=" + Png,
                         "--export-background=white", "--export-background-opacity=1"});
    ASSERT_TRUE(Run.waitForFinished(120000));
    ASSERT_EQ(Run.exitCode(), 0) << Run.readAllStandardError().toStdString();
    const QImage Image(Png);
    ASSERT_FALSE(Image.isNull());
    EXPECT_NEAR(Image.width(), W, 2);
    EXPECT_NEAR(Image.height(), H, 2);
    auto At = [&](int X, int Y) {
        return Image.pixel(X * Image.width() / W, Y * Image.height() / H) & RGB_MASK;
    };
    const QRgb White = qRgb(255, 255, 255) & RGB_MASK;
    EXPECT_EQ(At(30, 35), qRgb(0, 0, 255) & RGB_MASK);
    EXPECT_EQ(At(85, 35), qRgb(255, 0, 0) & RGB_MASK);
    EXPECT_EQ(At(55, 35), White);
    EXPECT_LT(qGray(At(60, 68)), 64); // the wide line
    int Ink = 0;
    for (int Y = 74; Y < H; ++Y)
        for (int X = 5; X < 60; ++X)
            Ink += qGray(At(X, Y)) < 128;
    EXPECT_GT(Ink, 20); // the text
    EXPECT_EQ(At(100, 85), White);
}

} // namespace
