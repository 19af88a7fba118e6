#pragma once
// A canvas over QPainter, without antialiasing: off-screen images, windows
// and printers.

#include "platform/Canvas.h"

#include <memory>
#include <vector>

class QPaintDevice;
class QPoint;
class QPainter;
class QRegion;

class TPainterCanvas : public TCanvas {
  public:
    // Paints on Device until the canvas is destroyed. A QImage device is
    // raster and can be read back with Pixel and used as a CopyRect source.
    explicit TPainterCanvas(QPaintDevice& Device, TDeviceTechnology Technology = dtRasDisplay);
    ~TPainterCanvas() override;

    TDeviceTechnology Technology() const override { return FTechnology; }
    TRect DeviceRect() const override;

    // A window canvas limits PtVisible to the part of the window that is
    // not covered (QWidget::visibleRegion).
    void SetVisibleRegion(const QRegion& Region);

    void FillRect(const TRect& R) override;
    void Polygon(std::span<const TPoint> Points) override;
    void Polyline(std::span<const TPoint> Points) override;
    void Rectangle(const TRect& R) override;
    using TCanvas::Rectangle;
    void Ellipse(const TRect& R) override;
    using TCanvas::Ellipse;
    void SetPixel(int X, int Y, TColor Color) override;
    TColor Pixel(int X, int Y) const override;
    void TextOut(int X, int Y, const std::string& Text) override;
    void DrawFocusRect(const TRect& R) override;
    bool PtVisible(TPoint P) const override;

    // The underlying painter, for the few callers that hand the surface on
    // to Qt (copying a picture to a window).
    QPainter& Painter();

  protected:
    void ClipChanged() override;
    void DrawImage(const TRect& Dest, const QImage& Image, const TRect& Source) override;
    void DrawKeyed(const TRect& Dest, const QImage& Image, TColor Key) override;
    const QImage* RasterImage() const override;

  private:
    friend class TBitmap; // keeps its canvas while its pixels are replaced

    void BeginDevice();
    void EndDevice();
    bool Painting() const;
    // The clip within the device.
    TRect VisibleRect() const;
    // Runs Fill with the brush and Outline with the pen, in the pen's mode;
    // a thin pen strokes ThinPath pixel by pixel instead, when there is one.
    template <typename FillFn, typename OutlineFn>
    void Shape(FillFn Fill, OutlineFn Outline, std::span<const TPoint> ThinPath);
    template <typename OutlineFn> void StrokeOutline(QPainter& P, OutlineFn Outline);
    void StrokeThin(std::span<const TPoint> Path);
    bool SolidThinOnPixels() const;
    bool Stampable() const;
    void StrokeStamped(std::span<const TPoint> Path);
    void DrawDots(const std::vector<QPoint>& Dots, TColor Color);
    void ApplyPenMode();
    void ApplyCopyMode();

    struct TState;
    std::unique_ptr<TState> F;
    TDeviceTechnology FTechnology;
};
