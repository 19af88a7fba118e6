#include "platform/Bitmap.h"

#include "platform/PainterCanvas.h"
#include "platform/QtGraphics.h"

#include <QFile>
#include <QImage>

namespace {

QImage WhiteImage(int Width, int Height) {
    QImage Image(std::max(Width, 0), std::max(Height, 0), QImage::Format_RGB32);
    Image.fill(Qt::white);
    return Image;
}

} // namespace

TBitmap::TBitmap() : FImage(new QImage) {}

TBitmap::TBitmap(int Width, int Height) : TBitmap() {
    SetSize(Width, Height);
}

// The canvas ends its painting before the image goes.
TBitmap::~TBitmap() {
    FCanvas.reset();
}

int TBitmap::Width() const {
    return FImage->width();
}

int TBitmap::Height() const {
    return FImage->height();
}

void TBitmap::SetWidth(int V) {
    SetSize(V, Height());
}

void TBitmap::SetHeight(int V) {
    SetSize(Width(), V);
}

void TBitmap::SetSize(int Width, int Height) {
    if (Width == this->Width() && Height == this->Height())
        return;
    QImage Image = WhiteImage(Width, Height);
    if (!FImage->isNull() && !Image.isNull())
        for (int Y = 0; Y < std::min(Image.height(), FImage->height()); ++Y)
            std::copy_n(FImage->constScanLine(Y),
                        std::min(Image.width(), FImage->width()) * sizeof(QRgb), Image.scanLine(Y));
    Assign(Image);
}

bool TBitmap::Empty() const {
    return FImage->isNull();
}

TCanvas& TBitmap::Canvas() {
    if (!FCanvas)
        FCanvas = std::make_unique<TPainterCanvas>(*FImage);
    return *FCanvas;
}

TColor TBitmap::TransparentColor() const {
    if (FTransparentColor)
        return *FTransparentColor;
    if (Empty())
        return clWhite;
    return FromQRgb(FImage->pixel(0, Height() - 1));
}

void TBitmap::SaveToFile(const std::string& FileName) const {
    if (!FImage->save(ToQString(FileName), "BMP"))
        throw Exception("Cannot create file \"" + FileName + "\"");
}

void TBitmap::LoadFromFile(const std::string& FileName) {
    QImage Image;
    if (!Image.load(ToQString(FileName)))
        throw Exception("Cannot open file \"" + FileName + "\"");
    Assign(Image.convertToFormat(QImage::Format_RGB32));
}

void TBitmap::LoadFromResourceName(const std::string& Name) {
    QString Path = ":/bitmaps/" + ToQString(Name) + ".bmp";
    if (!QFile::exists(Path))
        Path.replace(Path.size() - 3, 3, "png");
    QImage Image;
    if (!QFile::exists(Path) || !Image.load(Path))
        throw EResNotFound("Resource " + Name + " not found");
    Assign(Image.convertToFormat(QImage::Format_RGB32));
}

const QImage& TBitmap::Image() const {
    return *FImage;
}

void TBitmap::Assign(const QImage& Image) {
    if (FCanvas)
        FCanvas->EndDevice();
    *FImage = Image;
    if (FCanvas)
        FCanvas->BeginDevice();
}
