#include "plot/iPlotLabel.h"

#include "platform/Canvas.h"

TiPlotLabel::TiPlotLabel(TiPlotHost* Host) : TiPlotLayoutObject(Host) {
    SetHorizontal(true);
    FFont.SetName("Arial");
    FFont.SetSize(14);
    FFont.SetStyle({fsBold});
    FFont.SetColor(clWhite);
}

TiPlotPixelMargins TiPlotLabel::PixelMargins(TCanvas& Canvas) const {
    Canvas.Font() = FFont;
    return CharacterMargins(Canvas, FMarginLeft, FMarginTop, FMarginRight, FMarginBottom);
}

int TiPlotLabel::Thickness(TCanvas& Canvas) {
    const TiPlotPixelMargins M = PixelMargins(Canvas);
    return GetTextHeight(Canvas, FCaption) + M.Top + M.Bottom;
}

void TiPlotLabel::Draw(TCanvas& Canvas, TColor) {
    if (!Visible())
        return;
    const TiPlotPixelMargins M = PixelMargins(Canvas);
    Canvas.Brush().SetStyle(bsClear);
    if (!Horizontal()) {
        DrawVertical(Canvas, M);
        return;
    }
    const TRect& R = LayoutRect();
    TRect Box = Rect(R.Left + M.Left, R.Top + M.Top, R.Right - M.Right, R.Bottom - M.Bottom);
    // No single-line option: a caption with line breaks takes several lines.
    const TiTextFormatOption Along = FAlignment == iahLeft    ? itfLeft
                                     : FAlignment == iahRight ? itfRight
                                                              : itfCenter;
    iDrawText(Canvas, FCaption, Box, {Along, itfVCenter});
}

// The caption reads upward: its start lies toward the bottom of the band,
// and the top and bottom margins lie across it.
void TiPlotLabel::DrawVertical(TCanvas& Canvas, const TiPlotPixelMargins& M) {
    const TRect& R = LayoutRect();
    const int Width = GetTextMaxLineWidth(Canvas, FCaption);
    int Top, Bottom;
    switch (FAlignment) {
    case iahLeft:
        Top = Bottom = R.Bottom - Width / 2 - M.Left;
        break;
    case iahRight:
        Top = Bottom = R.Top + Width / 2 + M.Right;
        break;
    case iahCenter:
    default: {
        const int Centre = (R.Top + R.Bottom) / 2;
        Top = Centre - Width / 2;
        Bottom = Centre + Width / 2;
    }
    }
    TRect Bounds;
    iDrawRotatedText(Canvas, FCaption, Rect(R.Left + M.Top, Top, R.Right - M.Bottom, Bottom),
                     ira090, Bounds);
}
