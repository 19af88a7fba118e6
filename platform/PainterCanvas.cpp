#include "platform/PainterCanvas.h"

#include <QImage>
#include <QPainter>
#include <QRegion>

struct TPainterCanvas::TState {
    QPaintDevice& Device;
    QPainter Painter;
    std::optional<QRegion> Visible;
};

TPainterCanvas::TPainterCanvas(QPaintDevice& Device, TDeviceTechnology Technology)
    : F(new TState{Device, QPainter(&Device), {}}), FTechnology(Technology) {}
TPainterCanvas::~TPainterCanvas() = default;
TRect TPainterCanvas::DeviceRect() const {
    return {0, 0, F->Device.width(), F->Device.height()};
}
void TPainterCanvas::SetVisibleRegion(const QRegion& Region) {
    F->Visible = Region;
}
void TPainterCanvas::FillRect(const TRect&) {}
void TPainterCanvas::Polygon(std::span<const TPoint>) {}
void TPainterCanvas::Polyline(std::span<const TPoint>) {}
void TPainterCanvas::Rectangle(const TRect&) {}
void TPainterCanvas::Ellipse(const TRect&) {}
void TPainterCanvas::SetPixel(int, int, TColor) {}
TColor TPainterCanvas::Pixel(int, int) const {
    return CLR_INVALID;
}
void TPainterCanvas::StretchDraw(const TRect&, const TBitmap&) {}
void TPainterCanvas::TextOut(int, int, const std::string&) {}
void TPainterCanvas::DrawFocusRect(const TRect&) {}
bool TPainterCanvas::PtVisible(TPoint P) const {
    return TCanvas::PtVisible(P) && (!F->Visible || F->Visible->contains(QPoint(P.X, P.Y)));
}
QPainter& TPainterCanvas::Painter() {
    return F->Painter;
}
void TPainterCanvas::ClipChanged() {}
