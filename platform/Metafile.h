#pragma once
// A recording of drawing calls: replayed, scaled, onto any canvas (printer,
// picture export) and written as an Enhanced Metafile (.emf).

#include "platform/Canvas.h"

#include <memory>
#include <string>
#include <vector>

struct TMetafileRecord;

class TMetafile {
  public:
    TMetafile();
    ~TMetafile();
    TMetafile(const TMetafile&) = delete;
    TMetafile& operator=(const TMetafile&) = delete;

    // The picture's size in pixels at 96 pixels per inch.
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetSize(int Width, int Height);
    void SetWidth(int V) { SetSize(V, FHeight); }
    void SetHeight(int V) { SetSize(FWidth, V); }

    // The comment of the file header: the creating program and the picture.
    const std::string& CreatedBy() const { return FCreatedBy; }
    const std::string& Description() const { return FDescription; }

    bool Empty() const;
    void Clear();

    // Draws the recording scaled from (0, 0, Width, Height) into R.
    void Play(TCanvas& Canvas, const TRect& R) const;

    // The Enhanced Metafile bytes, and the same written to a file
    // (Exception naming the file on failure).
    std::string EmfData() const;
    void SaveToFile(const std::string& FileName) const;

  private:
    friend class TMetafileCanvas;

    int FWidth = 0;
    int FHeight = 0;
    std::string FCreatedBy;
    std::string FDescription;
    std::vector<TMetafileRecord> FRecords;
};

// Records into a metafile: creating the canvas starts a new recording (the
// old one is dropped) and sets the header comment. Technology is
// dtMetaFile; text is measured as on a 96 dpi screen.
class TMetafileCanvas : public TCanvas {
  public:
    TMetafileCanvas(TMetafile& Metafile, const std::string& CreatedBy,
                    const std::string& Description);
    ~TMetafileCanvas() override;

    TDeviceTechnology Technology() const override { return dtMetaFile; }
    TRect DeviceRect() const override;

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

  protected:
    void ClipChanged() override;
    void DrawImage(const TRect& Dest, const QImage& Image, const TRect& Source) override;

  private:
    friend class TMetafile; // recognises a recording into itself

    // A new record with the current pen, brush and font (a
    // TMetafileRecord::TKind).
    TMetafileRecord& Record(int Kind);

    TMetafile& FMetafile;
};
