#include "platform/Bitmap.h"

#include "platform/PainterCanvas.h"

#include <QImage>

TBitmap::TBitmap() : FImage(new QImage) {}
TBitmap::TBitmap(int Width, int Height) : TBitmap() {
    SetSize(Width, Height);
}
TBitmap::~TBitmap() = default;
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
void TBitmap::SetSize(int W, int H) {
    ReleaseCanvas();
    QImage Image(W, H, QImage::Format_RGB32);
    Image.fill(Qt::white);
    *FImage = Image;
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
    return FTransparentColor.value_or(clNone);
}
void TBitmap::SaveToFile(const std::string&) const {}
void TBitmap::LoadFromFile(const std::string&) {}
void TBitmap::LoadFromResourceName(const std::string&) {}
const QImage& TBitmap::Image() const {
    return *FImage;
}
void TBitmap::ReleaseCanvas() {
    FCanvas.reset();
}
void TBitmap::Assign(const QImage& Image) {
    ReleaseCanvas();
    *FImage = Image;
}
