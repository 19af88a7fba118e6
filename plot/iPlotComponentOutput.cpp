// The plot as a picture: on the clipboard, in picture files and on paper.

#include "plot/iPlotComponent.h"

#include "components/iPropertyFile.h"
#include "plot/iPlotManagers.h"
#include "plot/iPlotToolBar.h"

#include "platform/Bitmap.h"
#include "platform/Exception.h"
#include "platform/Metafile.h"
#include "platform/PainterCanvas.h"
#include "platform/PictureCodecs.h"
#include "platform/Text.h"

#include <QBuffer>
#include <QClipboard>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMimeData>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScopeGuard>
#include <QSvgGenerator>

#include <algorithm>
#include <cmath>

namespace {

// The creator named in the metafiles the plot writes.
const char* const MetafileCreator = "Kestrel";

std::string BmpBytes(const QImage& Image) {
    QByteArray Bytes;
    QBuffer Buffer(&Bytes);
    Buffer.open(QIODevice::WriteOnly);
    if (!Image.save(&Buffer, "BMP"))
        throw Exception("The picture could not be encoded as BMP");
    return Bytes.toStdString();
}

// The recording replayed onto a vector device: lines, fills and text stay
// what they are.
void Replay(const TMetafile& Metafile, QPaintDevice& Device) {
    TPainterCanvas Canvas(Device, dtRasPrinter);
    Metafile.Play(Canvas, Rect(0, 0, Metafile.Width(), Metafile.Height()));
}

std::string SvgBytes(const TMetafile& Metafile) {
    QByteArray Bytes;
    QBuffer Buffer(&Bytes);
    QSvgGenerator Svg;
    Svg.setOutputDevice(&Buffer);
    Svg.setSize(QSize(Metafile.Width(), Metafile.Height()));
    Svg.setViewBox(QRect(0, 0, Metafile.Width(), Metafile.Height()));
    Svg.setResolution(96);
    Svg.setTitle("Strip Chart");
    Replay(Metafile, Svg);
    return Bytes.toStdString();
}

// One page the size of the picture, at 96 pixels per inch.
std::string PdfBytes(const TMetafile& Metafile) {
    QByteArray Bytes;
    QBuffer Buffer(&Bytes);
    Buffer.open(QIODevice::WriteOnly);
    QPdfWriter Pdf(&Buffer);
    Pdf.setCreator(MetafileCreator);
    Pdf.setResolution(96);
    Pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    Pdf.setPageSize(QPageSize(QSizeF(Metafile.Width() * 72.0 / 96, Metafile.Height() * 72.0 / 96),
                              QPageSize::Point, QString(), QPageSize::ExactMatch));
    Replay(Metafile, Pdf);
    return Bytes.toStdString();
}

// The paper in inches by its kind; any other kind counts as letter.
QSizeF PaperInches(const QPageSize& Page, bool Landscape) {
    QSizeF Size(8.5, 11);
    switch (Page.id()) {
    case QPageSize::Legal:
        Size = QSizeF(8.5, 14);
        break;
    case QPageSize::A3:
        Size = QSizeF(297 / 25.4, 420 / 25.4);
        break;
    case QPageSize::A4:
        Size = QSizeF(210 / 25.4, 297 / 25.4);
        break;
    case QPageSize::A5:
        Size = QSizeF(148 / 25.4, 210 / 25.4);
        break;
    default:
        break;
    }
    return Landscape ? Size.transposed() : Size;
}

bool EndsWith(const std::string& Text, const char* End) {
    const std::string Tail(End);
    return Text.size() >= Tail.size() &&
           Text.compare(Text.size() - Tail.size(), Tail.size(), Tail) == 0;
}

} // namespace

void TiPlotComponent::RunOutput(TiPlotOutput Command) {
    switch (Command) {
    case TiPlotOutput::Copy:
        CopyToClipboard();
        return;
    case TiPlotOutput::Save:
        SaveImage();
        return;
    case TiPlotOutput::Print:
        Print();
        return;
    case TiPlotOutput::Preview:
        PrintPreview();
        return;
    }
}

void TiPlotComponent::PaintMetafile(TMetafile& Metafile, const std::string& Description) {
    TMetafileCanvas Canvas(Metafile, MetafileCreator, Description);
    Metafile.SetSize(Width(), Height());
    iPaintTo(Canvas);
}

QImage TiPlotComponent::Picture() {
    TBitmap Bitmap(Width(), Height());
    Paint(Bitmap.Canvas());
    return Bitmap.Image();
}

void TiPlotComponent::CopyToClipboard() {
    BeginUpdate();
    const bool ToolBarShown = ToolBarCount() > 0 && ToolBar(0)->Visible();
    const auto Restore = qScopeGuard([this, ToolBarShown] {
        FMaster->SetToolBarsVisible(ToolBarShown);
        EndUpdate();
    });
    FMaster->SetToolBarsVisible(false);
    FMaster->ClearAllFocus();
    auto Data = std::make_unique<QMimeData>();
    const QImage Image = Picture();
    Data->setData("image/png", QByteArray::fromStdString(iEncodePng(Image, 9)));
    switch (FCopyToClipBoardFormat) {
    case ipefMetaFile: {
        TMetafile Metafile;
        PaintMetafile(Metafile, "Strip Chart");
        const QByteArray Emf = QByteArray::fromStdString(Metafile.EmfData());
        Data->setData("image/emf", Emf);
        Data->setData("image/x-emf", Emf);
        Data->setData("image/svg+xml", QByteArray::fromStdString(SvgBytes(Metafile)));
        break;
    }
    case ipefBitmap:
        Data->setData("image/bmp", QByteArray::fromStdString(BmpBytes(Image)));
        break;
    case ipefJPEG:
        Data->setData("image/jpeg", QByteArray::fromStdString(iEncodeJpeg(Image, 100, false)));
        break;
    }
    QGuiApplication::clipboard()->setMimeData(Data.release());
}

void TiPlotComponent::SaveImage() {
    const std::string Filter = "Bitmap (*.bmp);;Enhanced Metafile (*.emf);;JPEG File (*.jpg);;"
                               "PNG (*.png);;SVG (*.svg);;PDF (*.pdf)";
    std::string FileName = "Untitled";
    const bool Chosen = FSaveImageChooser ? FSaveImageChooser(Filter, FileName) : [&] {
        QFileDialog Dialog(this);
        Dialog.setOption(QFileDialog::DontUseNativeDialog);
        Dialog.setAcceptMode(QFileDialog::AcceptSave);
        Dialog.setNameFilter(QString::fromStdString(Filter));
        Dialog.selectFile(QString::fromStdString(FileName));
        if (Dialog.exec() != QDialog::Accepted || Dialog.selectedFiles().isEmpty())
            return false;
        FileName = Dialog.selectedFiles().first().toStdString();
        return true;
    }();
    if (Chosen)
        SaveImageToFile(FileName);
}

void TiPlotComponent::SaveImageToFile(const std::string& FileName) {
    FMaster->ClearAllFocus();
    std::string Bytes;
    if (EndsWith(FileName, "bmp")) {
        Bytes = BmpBytes(Picture());
    } else if (EndsWith(FileName, "jpg")) {
        Bytes = iEncodeJpeg(Picture(), 100, true);
    } else if (EndsWith(FileName, "png")) {
        Bytes = iEncodePng(Picture(), 9);
    } else if (EndsWith(FileName, "emf") || EndsWith(FileName, "svg") ||
               EndsWith(FileName, "pdf")) {
        TMetafile Metafile;
        PaintMetafile(Metafile, "");
        Bytes = EndsWith(FileName, "emf")   ? Metafile.EmfData()
                : EndsWith(FileName, "svg") ? SvgBytes(Metafile)
                                            : PdfBytes(Metafile);
    } else {
        return;
    }
    iWriteTextFile(FileName, Bytes);
}

void TiPlotComponent::SetUpPrinter(QPrinter& Printer) const {
    Printer.setPageOrientation(FPrintOrientation == poLandscape ? QPageLayout::Landscape
                                                                : QPageLayout::Portrait);
    Printer.setDocName(QString::fromStdString(FPrintDocumentName));
}

void TiPlotComponent::Print() {
    try {
        QPrinter Printer(QPrinter::HighResolution);
        SetUpPrinter(Printer);
        const QString Name = QString::fromStdString(Trim(FPrinterName));
        if (!Name.isEmpty() && QPrinterInfo::availablePrinterNames().contains(Name))
            Printer.setPrinterName(Name);
        if (FPrintShowDialog) {
            const bool Confirmed = FPrintDialog ? FPrintDialog(Printer) : [&] {
                QPrintDialog Dialog(&Printer, this);
                return Dialog.exec() == QDialog::Accepted;
            }();
            if (!Confirmed)
                return;
        }
        BeginUpdate();
        const auto Unlock = qScopeGuard([this] { EndUpdate(); });
        RaiseNotify(FEvents.OnBeforePrint);
        PrintPage(Printer);
        RaiseNotify(FEvents.OnAfterPrint);
    } catch (const std::exception& E) {
        throw Exception(std::string("Error Printing : ") + E.what());
    }
}

void TiPlotComponent::PrintPreview() {
    QPrinter Printer(QPrinter::HighResolution);
    SetUpPrinter(Printer);
    QPrintPreviewDialog Dialog(&Printer, this);
    connect(&Dialog, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* Target) { iRunUserCommand([&] { PrintPage(*Target); }); });
    Dialog.exec();
}

// The page's own corner is the origin: the margins are measured from the
// paper's edge, whatever the printer cannot reach.
void TiPlotComponent::PrintPage(QPrinter& Printer) {
    Printer.setFullPage(true);
    const QSizeF Paper = PaperInches(Printer.pageLayout().pageSize(),
                                     Printer.pageLayout().orientation() == QPageLayout::Landscape);
    const double DX = Printer.logicalDpiX(), DY = Printer.logicalDpiY();
    if (Width() <= 0 || Height() <= 0 || DX <= 0 || DY <= 0)
        throw Exception("Could not initialize printer DeviceMode Structure");
    const double PW = std::round(DX * Paper.width()), PH = std::round(DY * Paper.height());
    const double ML = FPrintMargins[0], MT = FPrintMargins[1], MR = FPrintMargins[2],
                 MB = FPrintMargins[3];
    const double Scale =
        std::min((PW - (ML + MR) * DX) / Width(), (PH - (MT + MB) * DY) / Height());
    const TRect Target = Rect(int(std::round(DX * ML)), int(std::round(DY * MT)),
                              int(std::round(DX * ML + Width() * Scale)),
                              int(std::round(DY * MT + Height() * Scale)));
    const bool ToolBarShown = ToolBarCount() > 0 && ToolBar(0)->Visible();
    const auto Restore =
        qScopeGuard([this, ToolBarShown] { FMaster->SetToolBarsVisible(ToolBarShown); });
    FMaster->ClearAllFocus();
    FMaster->SetToolBarsVisible(false);
    TMetafile Metafile;
    PaintMetafile(Metafile, "");
    TPainterCanvas Canvas(Printer, dtRasPrinter);
    Metafile.Play(Canvas, Target);
}
