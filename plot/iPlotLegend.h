#pragma once
// Lists the channels with their colours and statistics.

#include "plot/iPlotObjects.h"

#include "platform/GraphicsObjects.h"

class TiPlotLegend : public TiPlotLayoutObject {
    Q_OBJECT
    Q_PROPERTY(double MarginLeft READ MarginLeft WRITE SetMarginLeft)
    Q_PROPERTY(double MarginTop READ MarginTop WRITE SetMarginTop)
    Q_PROPERTY(double MarginRight READ MarginRight WRITE SetMarginRight)
    Q_PROPERTY(double MarginBottom READ MarginBottom WRITE SetMarginBottom)
    Q_PROPERTY(TColor BackGroundColor READ BackGroundColor WRITE SetBackGroundColor)
    Q_PROPERTY(bool BackGroundTransparent READ BackGroundTransparent WRITE SetBackGroundTransparent)
    Q_PROPERTY(bool ShowColumnLine READ ShowColumnLine WRITE SetShowColumnLine)
    Q_PROPERTY(std::string CaptionColumnTitle READ CaptionColumnTitle WRITE SetCaptionColumnTitle)
    Q_PROPERTY(TFont Font READ Font WRITE SetFont)
    Q_PROPERTY(double ColumnSpacing READ ColumnSpacing WRITE SetColumnSpacing)
    Q_PROPERTY(bool ColumnTitlesVisible READ ColumnTitlesVisible WRITE SetColumnTitlesVisible)
    Q_PROPERTY(TFont ColumnTitlesFont READ ColumnTitlesFont WRITE SetColumnTitlesFont)

  public:
    static constexpr TiPlotKind StaticKind = TiPlotKind::Legend;
    TiPlotKind Kind() const override { return StaticKind; }

    explicit TiPlotLegend(TiPlotHost* Host);

    // In widths (left, right) or heights (top, bottom) of "0" of Font.
    double MarginLeft() const { return FMarginLeft; }
    void SetMarginLeft(double Value) { Change(FMarginLeft, Value); }
    double MarginTop() const { return FMarginTop; }
    void SetMarginTop(double Value) { Change(FMarginTop, Value); }
    double MarginRight() const { return FMarginRight; }
    void SetMarginRight(double Value) { Change(FMarginRight, Value); }
    double MarginBottom() const { return FMarginBottom; }
    void SetMarginBottom(double Value) { Change(FMarginBottom, Value); }
    TColor BackGroundColor() const { return FBackGroundColor; }
    void SetBackGroundColor(TColor Value) { Change(FBackGroundColor, Value); }
    bool BackGroundTransparent() const { return FBackGroundTransparent; }
    void SetBackGroundTransparent(bool Value) { Change(FBackGroundTransparent, Value); }
    bool ShowColumnLine() const { return FShowColumnLine; }
    void SetShowColumnLine(bool Value) { Change(FShowColumnLine, Value); }
    const std::string& CaptionColumnTitle() const { return FCaptionColumnTitle; }
    void SetCaptionColumnTitle(const std::string& Value) { Change(FCaptionColumnTitle, Value); }
    const TFont& Font() const { return FFont; }
    void SetFont(const TFont& Value) { Change(FFont, Value); }
    // In widths of "0": the gap between the cells of an entry.
    double ColumnSpacing() const { return FColumnSpacing; }
    void SetColumnSpacing(double Value) { Change(FColumnSpacing, Value); }
    bool ColumnTitlesVisible() const { return FColumnTitlesVisible; }
    void SetColumnTitlesVisible(bool Value) { Change(FColumnTitlesVisible, Value); }
    const TFont& ColumnTitlesFont() const { return FColumnTitlesFont; }
    void SetColumnTitlesFont(const TFont& Value) { Change(FColumnTitlesFont, Value); }

    // A data cursor reads all channels: the value columns show its texts.
    // Decided by the plot at every paint, not stored.
    bool ShowAllChannels() const { return FShowAllChannels; }
    void SetShowAllChannels(bool Value) { FShowAllChannels = Value; }

    // One column of entries: line sample and channel name, with margins;
    // the width of a vertical legend, the height of a horizontal one.
    int Thickness(TCanvas& Canvas) override;
    // The background where it is not transparent; the entries come later.
    void Draw(TCanvas& Canvas, TColor BackGroundColor) override;

  private:
    // The channel names as the legend lists them.
    std::vector<std::string> EntryNames();

    double FMarginLeft = 1, FMarginTop = 1, FMarginRight = 1, FMarginBottom = 1;
    TColor FBackGroundColor = 0x808080;
    bool FBackGroundTransparent = true;
    bool FShowColumnLine = true;
    std::string FCaptionColumnTitle = "Title";
    TFont FFont;
    double FColumnSpacing = 0.5;
    bool FColumnTitlesVisible = false;
    TFont FColumnTitlesFont;
    bool FShowAllChannels = false;
};
