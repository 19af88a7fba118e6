// The plot as a picture: files of every format read back by their own
// decoders and by real readers, and the clipboard's forms. The Qt
// application is the test program's (iPlotObjectsTest.cpp).

#include "components/iComponent.h"
#include "plot/iPlot.h"
#include "plot/iPlotAxis.h"
#include "plot/iPlotChannelCustom.h"
#include "plot/iPlotManagers.h"
#include "plot/iPlotToolBar.h"

#include "platform/Bitmap.h"
#include "platform/Exception.h"
#include "platform/PictureCodecs.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QPageLayout>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

class PlotOutput : public ::testing::Test {
  protected:
    PlotOutput() {
        Plot.SetBounds(0, 0, 600, 400);
        for (int I = 0; I < 50; ++I)
            Plot.Channel(0)->AddXY(I, 50 + 40 * ((I / 5) % 2));
        Plot.XAxis(0)->SetFocused(true);
    }
    std::string Path(const char* Name) const { return Dir.filePath(Name).toStdString(); }
    static QByteArray Bytes(const std::string& FileName) {
        QFile File(QString::fromStdString(FileName));
        return File.open(QIODevice::ReadOnly) ? File.readAll() : QByteArray();
    }
    // The same picture as the plot paints it on screen.
    QImage Screen() {
        TBitmap Bitmap(600, 400);
        Plot.Paint(Bitmap.Canvas());
        return Bitmap.Image().convertToFormat(QImage::Format_RGB32);
    }
    // Runs a reader of the system; false when it is not installed.
    static bool Run(const char* Program, const QStringList& Arguments,
                    QByteArray* Output = nullptr) {
        const QString Found = QStandardPaths::findExecutable(Program);
        if (Found.isEmpty())
            return false;
        QProcess Process;
        Process.start(Found, Arguments);
        EXPECT_TRUE(Process.waitForFinished(60000)) << Program;
        EXPECT_EQ(Process.exitCode(), 0) << Program << Process.readAllStandardError().toStdString();
        if (Output)
            *Output = Process.readAllStandardOutput();
        return true;
    }

    QTemporaryDir Dir;
    TiPlot Plot;
};

TEST_F(PlotOutput, RasterFilesHoldThePlotAsDrawn) {
    for (const char* Name : {"plot.bmp", "plot.png"}) {
        Plot.XAxis(0)->SetFocused(true);
        Plot.SaveImageToFile(Path(Name));
        EXPECT_FALSE(Plot.XAxis(0)->Focused()) << "no focus frame in the picture";
        const QImage Read(QString::fromStdString(Path(Name)));
        EXPECT_TRUE(Read.convertToFormat(QImage::Format_RGB32) == Screen()) << Name;
    }
    const QImage Expected = Screen();

    Plot.SaveImageToFile(Path("plot.jpg"));
    const QByteArray Jpeg = Bytes(Path("plot.jpg"));
    EXPECT_TRUE(Jpeg.contains("\xFF\xC2")) << "progressive";
    const QImage Read = QImage::fromData(Jpeg, "JPG");
    ASSERT_EQ(Read.size(), Expected.size());
    // Quality 100: every pixel within a few steps of the original.
    int Worst = 0;
    for (int Y = 0; Y < 400; Y += 7)
        for (int X = 0; X < 600; X += 7) {
            const QRgb A = Read.pixel(X, Y), B = Expected.pixel(X, Y);
            Worst = std::max({Worst, std::abs(qRed(A) - qRed(B)), std::abs(qGreen(A) - qGreen(B)),
                              std::abs(qBlue(A) - qBlue(B))});
        }
    EXPECT_LT(Worst, 40);
}

TEST_F(PlotOutput, OnlyTheKnownLowerCaseEndingsWriteAFile) {
    for (const char* Name : {"upper.BMP", "plot.gif", "plot"}) {
        Plot.SaveImageToFile(Path(Name));
        EXPECT_FALSE(QFile::exists(QString::fromStdString(Path(Name)))) << Name;
    }
    EXPECT_THROW(Plot.SaveImageToFile(Dir.path().toStdString() + "/no/such/folder/plot.png"),
                 Exception);
}

TEST_F(PlotOutput, CodecsCheckTheirCompression) {
    const QImage Image(4, 4, QImage::Format_RGB32);
    for (int Level : {-1, 10})
        try {
            iEncodePng(Image, Level);
            ADD_FAILURE() << Level;
        } catch (const Exception& E) {
            EXPECT_STREQ(E.what(), "Compression must be in the range of 0-9");
        }
    for (int Quality : {0, 101})
        try {
            iEncodeJpeg(Image, Quality, false);
            ADD_FAILURE() << Quality;
        } catch (const Exception& E) {
            EXPECT_STREQ(E.what(), "Compression must be in the range of 1-100");
        }
    EXPECT_FALSE(iEncodePng(Image, 0).empty());
    EXPECT_FALSE(iEncodeJpeg(Image, 1, true).empty());
}

TEST_F(PlotOutput, VectorFilesKeepTheirTextAndReadersDrawThem) {
    Plot.SaveImageToFile(Path("plot.emf"));
    const QByteArray Emf = Bytes(Path("plot.emf"));
    ASSERT_GT(Emf.size(), 100);
    EXPECT_EQ(Emf[0], 1) << "it opens with the metafile header";
    EXPECT_TRUE(Emf.contains(QByteArray("K\0e\0s\0t\0r\0e\0l\0", 14))) << "the creator comment";

    Plot.SaveImageToFile(Path("plot.svg"));
    const QByteArray Svg = Bytes(Path("plot.svg"));
    EXPECT_TRUE(Svg.contains("<text")) << "text stays text";
    EXPECT_TRUE(Svg.contains("Untitled"));

    Plot.SaveImageToFile(Path("plot.pdf"));
    EXPECT_TRUE(Bytes(Path("plot.pdf")).startsWith("%PDF"));
    QByteArray Text;
    if (Run("pdftotext", {QString::fromStdString(Path("plot.pdf")), "-"}, &Text)) {
        EXPECT_TRUE(Text.contains("Untitled")) << "text stays text";
    }

    // Real readers draw the same chart: the title's white and the trace's red.
    const std::string Rendered = Path("svg.png");
    if (Run("rsvg-convert",
            {"-o", QString::fromStdString(Rendered), QString::fromStdString(Path("plot.svg"))})) {
        const QImage Read(QString::fromStdString(Rendered));
        EXPECT_EQ(Read.size(), QSize(600, 400));
        EXPECT_EQ(Read.pixelColor(2, 200).rgb() & 0xFFFFFF, Screen().pixel(2, 200) & 0xFFFFFF);
    }
    const QString EmfPng = QString::fromStdString(Path("emf.png"));
    if (Run("inkscape", {QString::fromStdString(Path("plot.emf")), "--export-type=png",
                         "--export-filename=" + EmfPng})) {
        const QImage Read(EmfPng);
        EXPECT_EQ(Read.size(), QSize(600, 400));
        int Red = 0;
        for (int Y = 0; Y < Read.height(); ++Y)
            for (int X = 0; X < Read.width(); ++X)
                Red += qRed(Read.pixel(X, Y)) > 150 && qGreen(Read.pixel(X, Y)) < 80 &&
                       qBlue(Read.pixel(X, Y)) < 80;
        EXPECT_GT(Red, 50) << "the trace";
    }
    if (Run("pdftoppm",
            {"-png", "-r", "96", "-singlefile", QString::fromStdString(Path("plot.pdf")),
             QString::fromStdString(Path("pdf"))})) {
        const QImage Read(QString::fromStdString(Path("pdf.png")));
        EXPECT_EQ(Read.size(), QSize(600, 400));
    }
}

TEST_F(PlotOutput, TheClipboardGetsThePlotWithoutToolbarsInEveryForm) {
    QClipboard& Clipboard = *QGuiApplication::clipboard();
    struct TCase {
        TiPlotExportFormat Format;
        const char* Own; // the format's own form beside PNG
    } Cases[] = {
        {ipefMetaFile, "image/x-emf"}, {ipefBitmap, "image/bmp"}, {ipefJPEG, "image/jpeg"}};
    for (const TCase& C : Cases) {
        Clipboard.clear();
        Plot.SetCopyToClipBoardFormat(C.Format);
        Plot.CopyToClipboard();
        const QMimeData& Data = *Clipboard.mimeData();
        ASSERT_TRUE(Data.hasFormat("image/png")) << C.Own;
        EXPECT_TRUE(Data.hasFormat(C.Own)) << C.Own;
        const QImage Png = QImage::fromData(Data.data("image/png"), "PNG");
        EXPECT_EQ(Png.size(), QSize(600, 400));
        const TRect Bar = Plot.ToolBar(0)->LayoutRect();
        EXPECT_NE(Png.pixel(Bar.Left + 5, Bar.Top + 5) & 0xFFFFFF,
                  Screen().pixel(Bar.Left + 5, Bar.Top + 5) & 0xFFFFFF)
            << "the toolbar is left out";
    }
    EXPECT_TRUE(Clipboard.mimeData()->data("image/jpeg").contains("\xFF\xC0")) << "baseline";
    EXPECT_TRUE(Plot.ToolBar(0)->Visible()) << "the toolbar shows again";
    Plot.ToolBar(0)->SetVisible(false);
    Plot.CopyToClipboard();
    EXPECT_FALSE(Plot.ToolBar(0)->Visible()) << "a hidden toolbar stays hidden";
    EXPECT_FALSE(Plot.XAxis(0)->Focused());
}

TEST_F(PlotOutput, PrintingPutsThePlotWithinTheMarginsOfOnePage) {
    const std::string Pdf = Path("printed.pdf");
    std::vector<std::string> Heard;
    Plot.SetEvent(&TiPlotEvents::OnBeforePrint, [&] { Heard.push_back("before"); });
    Plot.SetEvent(&TiPlotEvents::OnAfterPrint, [&] { Heard.push_back("after"); });
    Plot.SetPrintDialog([&](QPrinter& Printer) {
        EXPECT_EQ(Printer.pageLayout().orientation(), QPageLayout::Landscape);
        EXPECT_EQ(Printer.docName(), "Untitled");
        Printer.setOutputFormat(QPrinter::PdfFormat);
        Printer.setOutputFileName(QString::fromStdString(Pdf));
        Printer.setPageSize(QPageSize(QPageSize::A4));
        return true;
    });
    Plot.Print();
    if (const char* Keep = std::getenv("SM_PRINTED_PDF"))
        QFile::copy(QString::fromStdString(Pdf), Keep);
    EXPECT_EQ(Heard, (std::vector<std::string>{"before", "after"}));
    EXPECT_TRUE(Plot.ToolBar(0)->Visible()) << "the toolbar shows again";
    EXPECT_FALSE(Plot.XAxis(0)->Focused());
    ASSERT_TRUE(Bytes(Pdf).startsWith("%PDF"));
    // At 20 pixels per inch the A4 landscape page is 234 x 165 pixels; the
    // plot's 3 : 2 fills the width between the one-inch margins (194 wide)
    // and begins one inch from the top.
    if (!Run("pdftoppm", {"-png", "-r", "20", "-singlefile", QString::fromStdString(Pdf),
                          QString::fromStdString(Path("page"))}))
        GTEST_SKIP() << "pdftoppm is not installed (scripts/install-deps installs it)";
    const QImage Page(QString::fromStdString(Path("page.png")));
    ASSERT_EQ(Page.width(), 234);
    ASSERT_NEAR(Page.height(), 165, 1);
    auto Ink = [&](int X, int Y) { return (Page.pixel(X, Y) & 0xFFFFFF) != 0xFFFFFF; };
    EXPECT_FALSE(Ink(10, 80)) << "the left margin stays blank";
    EXPECT_TRUE(Ink(30, 80)) << "the plot starts after it";
    EXPECT_TRUE(Ink(200, 80));
    EXPECT_FALSE(Ink(225, 80)) << "the right margin stays blank";
    EXPECT_FALSE(Ink(117, 10)) << "the top margin stays blank";

    Plot.SetPrintDialog([](QPrinter&) { return false; });
    Heard.clear();
    Plot.Print();
    EXPECT_TRUE(Heard.empty()) << "cancelled in the dialog";

    Plot.SetPrintShowDialog(false);
    Plot.SetEvent(&TiPlotEvents::OnBeforePrint, [] { throw Exception("no paper"); });
    try {
        Plot.Print();
        ADD_FAILURE();
    } catch (const Exception& E) {
        EXPECT_STREQ(E.what(), "Error Printing : no paper");
    }
}

TEST_F(PlotOutput, ThePreviewShowsThePageInAModalWindow) {
    std::vector<std::string> Failures;
    iSetFailureReporter([&](const std::string& Message) { Failures.push_back(Message); });
    bool Shown = false;
    QTimer::singleShot(0, [&] {
        auto* Preview = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
        Shown = Preview != nullptr;
        if (Preview)
            Preview->reject();
    });
    Plot.PrintPreview();
    iSetFailureReporter(nullptr);
    EXPECT_TRUE(Shown);
    EXPECT_TRUE(Failures.empty()) << Failures.front();
    EXPECT_TRUE(Plot.ToolBar(0)->Visible());
}

} // namespace
