#include "plot/iPlotLegend.h"

#include "components/iGPFunctions.h"
#include "platform/Arith.h"
#include "platform/Canvas.h"
#include "plot/iPlotChannelCustom.h"

#include <algorithm>

namespace {

constexpr int LineSampleWidth = 16;

} // namespace

TiPlotLegend::TiPlotLegend(TiPlotHost* Host) : TiPlotLayoutObject(Host) {
    SetHorizontal(false);
    FFont.SetColor(clWhite);
    FColumnTitlesFont.SetColor(clAqua);
    FColumnTitlesFont.SetStyle({fsBold});
}

std::vector<std::string> TiPlotLegend::EntryNames() {
    std::vector<std::string> Names;
    if (!Host())
        return Names;
    for (TiPlotObject* Object : Host()->Objects(TiPlotKind::Channel)) {
        auto* Channel = static_cast<TiPlotChannelCustom*>(Object);
        if (Channel->VisibleInLegend())
            Names.push_back(IsBlank(Channel->TitleText()) ? Channel->Name() : Channel->TitleText());
    }
    return Names;
}

int TiPlotLegend::Thickness(TCanvas& Canvas) {
    Canvas.Font() = FFont;
    const TiPlotPixelMargins M =
        CharacterMargins(Canvas, FMarginLeft, FMarginTop, FMarginRight, FMarginBottom);
    const int CharWidth = GetTextMaxLineWidth(Canvas, "0");
    const int CharHeight = GetTextHeight(Canvas, "0");
    int NameWidth = 0;
    for (const std::string& Name : EntryNames())
        NameWidth = std::max(NameWidth, Canvas.TextWidth(Name));
    int CaptionHeight = 0;
    if (FColumnTitlesVisible) {
        Canvas.Font() = FColumnTitlesFont;
        CaptionHeight = GetTextHeight(Canvas, "0");
        NameWidth = std::max(NameWidth, Canvas.TextWidth(FCaptionColumnTitle));
    }
    if (Horizontal())
        return M.Top + CaptionHeight + CaptionHeight / 4 + CharHeight + M.Bottom;
    const int Line = FShowColumnLine ? LineSampleWidth + int(Round(CharWidth * FColumnSpacing)) : 0;
    return M.Left + Line + NameWidth + M.Right;
}

void TiPlotLegend::Draw(TCanvas& Canvas, TColor) {
    if (!Visible() || EntryNames().empty() || FBackGroundTransparent)
        return;
    Canvas.Brush().SetStyle(bsSolid);
    Canvas.Brush().SetColor(FBackGroundColor);
    Canvas.FillRect(LayoutRect());
}
