#pragma once
// The drawing surface every drawn component paints on. It keeps the pixel
// rules of the classic drawing service that the components' coordinates
// assume:
// - lines and polylines of thin pens do not paint their end point;
// - FillRect, Rectangle and Ellipse given (l, t, r, b) cover the pixels
//   l .. r - 1 and t .. b - 1, the outline included;
// - polygons are filled with the brush and outlined with the pen;
// - text is drawn with its cell's top-left corner at the given point and,
//   while the brush is solid, on a cell filled with the brush colour;
//   dashed thin pens fill their gaps with the brush colour in the same case;
// - fonts are chosen by their height in pixels; text is UTF-8.
// Concrete canvases: TPainterCanvas (images, windows, printers) and
// TMetafileCanvas (a recording).

#include "platform/GraphicsObjects.h"
#include "platform/Types.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

class QImage;
class QString;
class TBitmap;
class TMetafile;

struct TSize {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const TSize&, const TSize&) = default;
};

// The common part of two boxes (empty when they do not meet).
constexpr TRect IntersectRect(const TRect& A, const TRect& B) {
    return {A.Left > B.Left ? A.Left : B.Left, A.Top > B.Top ? A.Top : B.Top,
            A.Right < B.Right ? A.Right : B.Right, A.Bottom < B.Bottom ? A.Bottom : B.Bottom};
}

// Flags of TCanvas::DrawText.
constexpr unsigned DT_LEFT = 0x0;
constexpr unsigned DT_TOP = 0x0;
constexpr unsigned DT_CENTER = 0x1;
constexpr unsigned DT_RIGHT = 0x2;
constexpr unsigned DT_VCENTER = 0x4; // with DT_SINGLELINE only
constexpr unsigned DT_BOTTOM = 0x8;  // with DT_SINGLELINE only
constexpr unsigned DT_WORDBREAK = 0x10;
constexpr unsigned DT_SINGLELINE = 0x20;
constexpr unsigned DT_EXPANDTABS = 0x40;
constexpr unsigned DT_NOCLIP = 0x100;
constexpr unsigned DT_CALCRECT = 0x400;
constexpr unsigned DT_NOPREFIX = 0x800;
constexpr unsigned DT_PATH_ELLIPSIS = 0x4000;
constexpr unsigned DT_END_ELLIPSIS = 0x8000;
constexpr unsigned DT_MODIFYSTRING = 0x10000;
constexpr unsigned DT_WORD_ELLIPSIS = 0x40000;

// Edge kinds and border flags of TCanvas::DrawEdge.
constexpr unsigned BDR_RAISEDOUTER = 0x1;
constexpr unsigned BDR_SUNKENOUTER = 0x2;
constexpr unsigned BDR_RAISEDINNER = 0x4;
constexpr unsigned BDR_SUNKENINNER = 0x8;
constexpr unsigned EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER;
constexpr unsigned EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER;
constexpr unsigned EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER;
constexpr unsigned EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER;
constexpr unsigned BF_LEFT = 0x1;
constexpr unsigned BF_TOP = 0x2;
constexpr unsigned BF_RIGHT = 0x4;
constexpr unsigned BF_BOTTOM = 0x8;
constexpr unsigned BF_RECT = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM;
constexpr unsigned BF_MIDDLE = 0x800;

// The TECHNOLOGY device capability.
enum TDeviceTechnology : std::int32_t { dtRasDisplay = 1, dtRasPrinter = 2, dtMetaFile = 5 };

// What Pixel answers where no pixel can be read.
constexpr TColor CLR_INVALID = 0xFFFFFFFF;

class TCanvas {
  public:
    TCanvas() = default;
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;
    virtual ~TCanvas() = default;

    TPen& Pen() { return FPen; }
    const TPen& Pen() const { return FPen; }
    TBrush& Brush() { return FBrush; }
    const TBrush& Brush() const { return FBrush; }
    TFont& Font() { return FFont; }
    const TFont& Font() const { return FFont; }

    virtual TDeviceTechnology Technology() const = 0;
    // The drawable area in device pixels, (0, 0, width, height).
    virtual TRect DeviceRect() const = 0;
    // True for a canvas over pixels in memory (a bitmap's).
    bool Raster() const { return RasterImage() != nullptr; }

    virtual void FillRect(const TRect& R) = 0;
    virtual void Polygon(std::span<const TPoint> Points) = 0;
    virtual void Polyline(std::span<const TPoint> Points) = 0;
    virtual void Rectangle(const TRect& R) = 0;
    void Rectangle(int Left, int Top, int Right, int Bottom) {
        Rectangle(TRect{Left, Top, Right, Bottom});
    }
    virtual void Ellipse(const TRect& R) = 0;
    void Ellipse(int Left, int Top, int Right, int Bottom) {
        Ellipse(TRect{Left, Top, Right, Bottom});
    }
    virtual void SetPixel(int X, int Y, TColor Color) = 0;
    // CLR_INVALID outside the device, outside the clip or on a recording.
    virtual TColor Pixel(int X, int Y) const = 0;

    // The current position for LineTo; LineTo moves it to its end point.
    void MoveTo(int X, int Y) { FPenPos = {X, Y}; }
    void LineTo(int X, int Y);
    TPoint PenPos() const { return FPenPos; }

    void Draw(int X, int Y, const TBitmap& Bitmap);
    void StretchDraw(const TRect& R, const TBitmap& Bitmap);
    // Plays the recording scaled into R.
    void StretchDraw(const TRect& R, const TMetafile& Metafile);
    // Copies Source's pixels in SourceRect (scaled) into Dest. The source
    // must be a raster canvas (Exception otherwise).
    void CopyRect(const TRect& Dest, const TCanvas& Source, const TRect& SourceRect);

    // Measurement in the current font (escapement ignored): the width of
    // the text's advance and the cell height (ascent + descent).
    int TextWidth(const std::string& Text) const;
    int TextHeight(const std::string& Text) const;
    TSize TextExtent(const std::string& Text) const;
    // Draws one line with the cell's top-left corner at (X, Y), turned
    // counter-clockwise about that point by the font's escapement.
    virtual void TextOut(int X, int Y, const std::string& Text) = 0;
    // Formatted text in R with the DT_ flags; returns the height of the
    // text (with DT_VCENTER or DT_BOTTOM: from R.Top to the text's bottom).
    // DT_CALCRECT only sets R.Right and R.Bottom to the text's extent and
    // returns its height.
    // DT_MODIFYSTRING with an ellipsis flag writes the shortened text back.
    int DrawText(std::string& Text, TRect& R, unsigned Flags);
    int DrawText(const std::string& Text, TRect& R, unsigned Flags);

    // The 3D frame of the classic look (EDGE_ and BDR_ kinds, BF_ sides).
    void DrawEdge(const TRect& R, unsigned Edge, unsigned Flags);
    // Inverts every other pixel of R's frame: drawing it twice restores it.
    virtual void DrawFocusRect(const TRect& R) = 0;

    // Clipping is one rectangle: the device area at start, narrowed by
    // IntersectClipRect, restored by ResetClip.
    void IntersectClipRect(const TRect& R);
    void ResetClip();
    TRect ClipRect() const;
    // True when the point lies inside the device area, the clip and (for a
    // window) its visible part.
    virtual bool PtVisible(TPoint P) const;

  protected:
    // The clip changed: apply ClipRect() to the device.
    virtual void ClipChanged() = 0;
    bool HasClip() const { return FClip.has_value(); }
    // Source (in Image's pixels) scaled into Dest; alpha 0 leaves a pixel.
    virtual void DrawImage(const TRect& Dest, const QImage& Image, const TRect& Source) = 0;
    // The whole Image scaled into Dest, its pixels of colour Key left out.
    virtual void DrawKeyed(const TRect& Dest, const QImage& Image, TColor Key);
    // The pixels behind a raster canvas, for CopyRect; nullptr otherwise.
    virtual const QImage* RasterImage() const { return nullptr; }

  private:
    friend class TMetafile; // replays recorded pictures through DrawImage

    void SetClip(std::optional<TRect> Clip);
    void DrawPrefixUnderline(int X, int Y, const QString& Line, int Prefix);

    TPen FPen;
    TBrush FBrush;
    TFont FFont;
    TPoint FPenPos;
    std::optional<TRect> FClip;
};
