#pragma once
// A caption placed by the layout; label 0 is the plot's title.

#include "components/iGPFunctions.h"
#include "plot/iPlotObjects.h"

#include "platform/GraphicsObjects.h"

class TiPlotLabel : public TiPlotLayoutObject {
    Q_OBJECT
    Q_PROPERTY(std::string Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(TiAlignmentHorizontal Alignment READ Alignment WRITE SetAlignment)
    Q_PROPERTY(TFont Font READ Font WRITE SetFont)
    Q_PROPERTY(double MarginLeft READ MarginLeft WRITE SetMarginLeft)
    Q_PROPERTY(double MarginTop READ MarginTop WRITE SetMarginTop)
    Q_PROPERTY(double MarginRight READ MarginRight WRITE SetMarginRight)
    Q_PROPERTY(double MarginBottom READ MarginBottom WRITE SetMarginBottom)

  public:
    static constexpr TiPlotKind StaticKind = TiPlotKind::Label;
    TiPlotKind Kind() const override { return StaticKind; }

    explicit TiPlotLabel(TiPlotHost* Host);

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& Value) { Change(FCaption, Value); }
    TiAlignmentHorizontal Alignment() const { return FAlignment; }
    void SetAlignment(TiAlignmentHorizontal Value) { Change(FAlignment, Value); }
    const TFont& Font() const { return FFont; }
    void SetFont(const TFont& Value) { Change(FFont, Value); }
    // In widths (left, right) or heights (top, bottom) of "0".
    double MarginLeft() const { return FMarginLeft; }
    void SetMarginLeft(double Value) { Change(FMarginLeft, Value); }
    double MarginTop() const { return FMarginTop; }
    void SetMarginTop(double Value) { Change(FMarginTop, Value); }
    double MarginRight() const { return FMarginRight; }
    void SetMarginRight(double Value) { Change(FMarginRight, Value); }
    double MarginBottom() const { return FMarginBottom; }
    void SetMarginBottom(double Value) { Change(FMarginBottom, Value); }

    // The band a caption needs: its text height and the top and bottom
    // margins, across a horizontal band and along a vertical one.
    int Thickness(TCanvas& Canvas) override;
    // A horizontal caption across the band, a vertical one reading upward.
    void Draw(TCanvas& Canvas, TColor BackGroundColor) override;

  private:
    // In pixels of the label's font, which is selected into the canvas.
    TiPlotPixelMargins PixelMargins(TCanvas& Canvas) const;
    void DrawVertical(TCanvas& Canvas, const TiPlotPixelMargins& M);

    std::string FCaption;
    TiAlignmentHorizontal FAlignment = iahCenter;
    TFont FFont;
    double FMarginLeft = 0, FMarginTop = 0, FMarginRight = 0, FMarginBottom = 0;
};
