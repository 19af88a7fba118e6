#pragma once
// A canvas that keeps the polygons drawn on it with their brush and pen
// colours, so that tests can read a glyph's corners and colours exactly.

#include "platform/Canvas.h"

#include <ostream>
#include <vector>

struct TRecordedPolygon {
    std::vector<TPoint> Points;
    TColor BrushColor;
    TColor PenColor;
    friend bool operator==(const TRecordedPolygon&, const TRecordedPolygon&) = default;
};

inline void PrintTo(const TRecordedPolygon& P, std::ostream* Out) {
    for (const TPoint& Corner : P.Points)
        *Out << "(" << Corner.X << "," << Corner.Y << ")";
    *Out << " in " << std::hex << P.BrushColor << std::dec;
}

class TGlyphRecorder : public TCanvas {
  public:
    std::vector<TRecordedPolygon> Polygons;

    TDeviceTechnology Technology() const override { return dtRasDisplay; }
    TRect DeviceRect() const override { return Rect(0, 0, 1000, 1000); }
    void Polygon(std::span<const TPoint> Points) override {
        Polygons.push_back({{Points.begin(), Points.end()}, Brush().Color(), Pen().Color()});
    }
    void FillRect(const TRect&) override {}
    void Polyline(std::span<const TPoint>) override {}
    void Rectangle(const TRect&) override {}
    void Ellipse(const TRect&) override {}
    void SetPixel(int, int, TColor) override {}
    TColor Pixel(int, int) const override { return CLR_INVALID; }
    void TextOut(int, int, const std::string&) override {}
    void DrawFocusRect(const TRect&) override {}

  protected:
    void ClipChanged() override {}
    void DrawImage(const TRect&, const QImage&, const TRect&) override {}
};
