#pragma once
// An off-screen picture with its own canvas (32-bit RGB pixels).

#include "platform/Canvas.h"
#include "platform/Exception.h"

#include <memory>
#include <optional>
#include <string>

class QImage;
class TPainterCanvas;

// A resource the program does not carry.
class EResNotFound : public Exception {
  public:
    using Exception::Exception;
};

class TBitmap {
  public:
    TBitmap();
    TBitmap(int Width, int Height);
    ~TBitmap();
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    int Width() const;
    int Height() const;
    void SetWidth(int V);
    void SetHeight(int V);
    // Keeps the pixels that still fit; new pixels are white.
    void SetSize(int Width, int Height);
    bool Empty() const;

    // The same canvas for the bitmap's whole life: it keeps its pen, brush
    // and font when the size changes or a picture is loaded (the clip is
    // reset then). An empty bitmap's canvas draws nothing.
    TCanvas& Canvas();

    // Drawn through a canvas, pixels of TransparentColor are left out.
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool V) { FTransparent = V; }
    // By default the colour of the bottom-left pixel.
    TColor TransparentColor() const;
    void SetTransparentColor(TColor V) { FTransparentColor = V; }

    // Windows bitmap file; failures raise Exception with the file name.
    void SaveToFile(const std::string& FileName) const;
    void LoadFromFile(const std::string& FileName);
    // A glyph of the program's resources, ":/bitmaps/<Name>.bmp" (or .png)
    // in its Qt resources; EResNotFound when absent.
    void LoadFromResourceName(const std::string& Name);

    const QImage& Image() const;

  private:
    void Assign(const QImage& Image);

    std::unique_ptr<QImage> FImage;
    std::unique_ptr<TPainterCanvas> FCanvas;
    bool FTransparent = false;
    std::optional<TColor> FTransparentColor;
};
