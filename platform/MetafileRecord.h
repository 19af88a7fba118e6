#pragma once
// One recorded drawing call with the pen, brush and font it was drawn with
// (for the metafile's implementation only).

#include "platform/GraphicsObjects.h"
#include "platform/Types.h"

#include <QImage>

#include <optional>
#include <string>
#include <vector>

struct TMetafileRecord {
    enum TKind {
        rkFillRect,
        rkPolygon,
        rkPolyline,
        rkRectangle,
        rkEllipse,
        rkPixel,
        rkImage,
        rkText,
        rkFocusRect,
        rkClip
    };

    TKind Kind;
    TPen Pen;
    TBrush Brush;
    TFont Font;
    std::vector<TPoint> Points; // polygon, polyline
    TRect Rect;                 // box; image destination; text and pixel at the top-left
    std::optional<TRect> Clip;  // rkClip: the new clip, none for the whole picture
    TColor Color = clBlack;     // pixel
    std::string Text;
    QImage Image;
};
