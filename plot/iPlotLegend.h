#pragma once
// Lists the channels: one entry per channel shown in the legend, a row of
// cells (line and marker samples, name, axis titles, last values and the Y
// statistics), wrapped into columns and rows, with two scroll buttons when
// not every entry fits.

#include "plot/iPlotObjects.h"

#include "platform/GraphicsObjects.h"

#include <QObject>

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

class TiPlotAxis;
class TiPlotChannelCustom;

namespace iPlotLegend {
Q_NAMESPACE

enum TiPlotLegendChannelNameColorStyle : std::uint8_t {
    iplcncsFont,
    iplcncsChannelColor,
    iplcncsXAxisFontColor,
    iplcncsYAxisFontColor
};
Q_ENUM_NS(TiPlotLegendChannelNameColorStyle)

} // namespace iPlotLegend

using namespace iPlotLegend;

// The cells of an entry, in the order they stand side by side.
enum class TiPlotLegendColumn {
    Line,
    Marker,
    Name,
    XAxisTitle,
    YAxisTitle,
    XValue,
    YValue,
    YMax,
    YMin,
    YMean
};
constexpr int TiPlotLegendColumnCount = 10;

// One listed channel and where its entry was placed by the last layout.
struct TiPlotLegendItem {
    TiPlotChannelCustom* Channel = nullptr;
    int Height = 0;
    // 1-based; 0 while the entry is scrolled out of view.
    int Row = 0, Col = 0;
    int X = 0, Y = 0;
};

// A scroll button: a small raised square with a triangle pointing up or down.
class TiPlotLegendButton : public TiPlotButton {
    Q_OBJECT
  public:
    explicit TiPlotLegendButton(bool PointsUp) : FPointsUp(PointsUp) {}

    static constexpr int Size = 17;
    void Draw(TCanvas& Canvas);

  private:
    bool FPointsUp;
};

class TiPlotLegend : public TiPlotLayoutObject {
    Q_OBJECT
    Q_PROPERTY(double MarginLeft READ MarginLeft WRITE SetMarginLeft)
    Q_PROPERTY(double MarginTop READ MarginTop WRITE SetMarginTop)
    Q_PROPERTY(double MarginRight READ MarginRight WRITE SetMarginRight)
    Q_PROPERTY(double MarginBottom READ MarginBottom WRITE SetMarginBottom)
    Q_PROPERTY(TColor BackGroundColor READ BackGroundColor WRITE SetBackGroundColor)
    Q_PROPERTY(bool BackGroundTransparent READ BackGroundTransparent WRITE SetBackGroundTransparent)
    Q_PROPERTY(TColor SelectedItemBackGroundColor READ SelectedItemBackGroundColor WRITE
                   SetSelectedItemBackGroundColor)
    Q_PROPERTY(TFont SelectedItemFont READ SelectedItemFont WRITE SetSelectedItemFont)
    Q_PROPERTY(bool ShowColumnLine READ ShowColumnLine WRITE SetShowColumnLine)
    Q_PROPERTY(bool ShowColumnMarker READ ShowColumnMarker WRITE SetShowColumnMarker)
    Q_PROPERTY(bool ShowColumnXAxisTitle READ ShowColumnXAxisTitle WRITE SetShowColumnXAxisTitle)
    Q_PROPERTY(bool ShowColumnYAxisTitle READ ShowColumnYAxisTitle WRITE SetShowColumnYAxisTitle)
    Q_PROPERTY(bool ShowColumnXValue READ ShowColumnXValue WRITE SetShowColumnXValue)
    Q_PROPERTY(bool ShowColumnYValue READ ShowColumnYValue WRITE SetShowColumnYValue)
    Q_PROPERTY(bool ShowColumnYMax READ ShowColumnYMax WRITE SetShowColumnYMax)
    Q_PROPERTY(bool ShowColumnYMin READ ShowColumnYMin WRITE SetShowColumnYMin)
    Q_PROPERTY(bool ShowColumnYMean READ ShowColumnYMean WRITE SetShowColumnYMean)
    Q_PROPERTY(std::string CaptionColumnTitle READ CaptionColumnTitle WRITE SetCaptionColumnTitle)
    Q_PROPERTY(std::string CaptionColumnXAxisTitle READ CaptionColumnXAxisTitle WRITE
                   SetCaptionColumnXAxisTitle)
    Q_PROPERTY(std::string CaptionColumnYAxisTitle READ CaptionColumnYAxisTitle WRITE
                   SetCaptionColumnYAxisTitle)
    Q_PROPERTY(
        std::string CaptionColumnXValue READ CaptionColumnXValue WRITE SetCaptionColumnXValue)
    Q_PROPERTY(
        std::string CaptionColumnYValue READ CaptionColumnYValue WRITE SetCaptionColumnYValue)
    Q_PROPERTY(std::string CaptionColumnYMax READ CaptionColumnYMax WRITE SetCaptionColumnYMax)
    Q_PROPERTY(std::string CaptionColumnYMin READ CaptionColumnYMin WRITE SetCaptionColumnYMin)
    Q_PROPERTY(std::string CaptionColumnYMean READ CaptionColumnYMean WRITE SetCaptionColumnYMean)
    Q_PROPERTY(TFont Font READ Font WRITE SetFont)
    Q_PROPERTY(double ColumnSpacing READ ColumnSpacing WRITE SetColumnSpacing)
    Q_PROPERTY(double RowSpacing READ RowSpacing WRITE SetRowSpacing)
    Q_PROPERTY(double WrapRowSpacingMin READ WrapRowSpacingMin WRITE SetWrapRowSpacingMin)
    Q_PROPERTY(int WrapColDesiredCount READ WrapColDesiredCount WRITE SetWrapColDesiredCount)
    Q_PROPERTY(int WrapRowDesiredCount READ WrapRowDesiredCount WRITE SetWrapRowDesiredCount)
    Q_PROPERTY(
        bool WrapColAutoCountEnabled READ WrapColAutoCountEnabled WRITE SetWrapColAutoCountEnabled)
    Q_PROPERTY(
        bool WrapRowAutoCountEnabled READ WrapRowAutoCountEnabled WRITE SetWrapRowAutoCountEnabled)
    Q_PROPERTY(int WrapColAutoCountMax READ WrapColAutoCountMax WRITE SetWrapColAutoCountMax)
    Q_PROPERTY(int WrapRowAutoCountMax READ WrapRowAutoCountMax WRITE SetWrapRowAutoCountMax)
    Q_PROPERTY(double WrapColSpacingMin READ WrapColSpacingMin WRITE SetWrapColSpacingMin)
    Q_PROPERTY(bool WrapColSpacingAuto READ WrapColSpacingAuto WRITE SetWrapColSpacingAuto)
    Q_PROPERTY(bool WrapRowSpacingAuto READ WrapRowSpacingAuto WRITE SetWrapRowSpacingAuto)
    Q_PROPERTY(bool ColumnTitlesVisible READ ColumnTitlesVisible WRITE SetColumnTitlesVisible)
    Q_PROPERTY(TFont ColumnTitlesFont READ ColumnTitlesFont WRITE SetColumnTitlesFont)
    Q_PROPERTY(double ChannelNameMaxWidth READ ChannelNameMaxWidth WRITE SetChannelNameMaxWidth)
    Q_PROPERTY(TiPlotLegendChannelNameColorStyle ChannelNameColorStyle READ ChannelNameColorStyle
                   WRITE SetChannelNameColorStyle)

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
    // The name cell of the channel that has the focus.
    TColor SelectedItemBackGroundColor() const { return FSelectedItemBackGroundColor; }
    void SetSelectedItemBackGroundColor(TColor Value) {
        Change(FSelectedItemBackGroundColor, Value);
    }
    const TFont& SelectedItemFont() const { return FSelectedItemFont; }
    void SetSelectedItemFont(const TFont& Value) { Change(FSelectedItemFont, Value); }

    bool ShowColumnLine() const { return Shown(FShowColumn, TiPlotLegendColumn::Line); }
    void SetShowColumnLine(bool Value) { SetShowColumn(TiPlotLegendColumn::Line, Value); }
    bool ShowColumnMarker() const { return Shown(FShowColumn, TiPlotLegendColumn::Marker); }
    void SetShowColumnMarker(bool Value) { SetShowColumn(TiPlotLegendColumn::Marker, Value); }
    bool ShowColumnXAxisTitle() const { return Shown(FShowColumn, TiPlotLegendColumn::XAxisTitle); }
    void SetShowColumnXAxisTitle(bool Value) {
        SetShowColumn(TiPlotLegendColumn::XAxisTitle, Value);
    }
    bool ShowColumnYAxisTitle() const { return Shown(FShowColumn, TiPlotLegendColumn::YAxisTitle); }
    void SetShowColumnYAxisTitle(bool Value) {
        SetShowColumn(TiPlotLegendColumn::YAxisTitle, Value);
    }
    bool ShowColumnXValue() const { return Shown(FShowColumn, TiPlotLegendColumn::XValue); }
    void SetShowColumnXValue(bool Value) { SetShowColumn(TiPlotLegendColumn::XValue, Value); }
    bool ShowColumnYValue() const { return Shown(FShowColumn, TiPlotLegendColumn::YValue); }
    void SetShowColumnYValue(bool Value) { SetShowColumn(TiPlotLegendColumn::YValue, Value); }
    bool ShowColumnYMax() const { return Shown(FShowColumn, TiPlotLegendColumn::YMax); }
    void SetShowColumnYMax(bool Value) { SetShowColumn(TiPlotLegendColumn::YMax, Value); }
    bool ShowColumnYMin() const { return Shown(FShowColumn, TiPlotLegendColumn::YMin); }
    void SetShowColumnYMin(bool Value) { SetShowColumn(TiPlotLegendColumn::YMin, Value); }
    bool ShowColumnYMean() const { return Shown(FShowColumn, TiPlotLegendColumn::YMean); }
    void SetShowColumnYMean(bool Value) { SetShowColumn(TiPlotLegendColumn::YMean, Value); }

    const std::string& CaptionColumnTitle() const { return Caption(TiPlotLegendColumn::Name); }
    void SetCaptionColumnTitle(const std::string& Value) {
        SetCaption(TiPlotLegendColumn::Name, Value);
    }
    const std::string& CaptionColumnXAxisTitle() const {
        return Caption(TiPlotLegendColumn::XAxisTitle);
    }
    void SetCaptionColumnXAxisTitle(const std::string& Value) {
        SetCaption(TiPlotLegendColumn::XAxisTitle, Value);
    }
    const std::string& CaptionColumnYAxisTitle() const {
        return Caption(TiPlotLegendColumn::YAxisTitle);
    }
    void SetCaptionColumnYAxisTitle(const std::string& Value) {
        SetCaption(TiPlotLegendColumn::YAxisTitle, Value);
    }
    const std::string& CaptionColumnXValue() const { return Caption(TiPlotLegendColumn::XValue); }
    void SetCaptionColumnXValue(const std::string& Value) {
        SetCaption(TiPlotLegendColumn::XValue, Value);
    }
    const std::string& CaptionColumnYValue() const { return Caption(TiPlotLegendColumn::YValue); }
    void SetCaptionColumnYValue(const std::string& Value) {
        SetCaption(TiPlotLegendColumn::YValue, Value);
    }
    const std::string& CaptionColumnYMax() const { return Caption(TiPlotLegendColumn::YMax); }
    void SetCaptionColumnYMax(const std::string& Value) {
        SetCaption(TiPlotLegendColumn::YMax, Value);
    }
    const std::string& CaptionColumnYMin() const { return Caption(TiPlotLegendColumn::YMin); }
    void SetCaptionColumnYMin(const std::string& Value) {
        SetCaption(TiPlotLegendColumn::YMin, Value);
    }
    const std::string& CaptionColumnYMean() const { return Caption(TiPlotLegendColumn::YMean); }
    void SetCaptionColumnYMean(const std::string& Value) {
        SetCaption(TiPlotLegendColumn::YMean, Value);
    }

    const TFont& Font() const { return FFont; }
    void SetFont(const TFont& Value) { Change(FFont, Value); }
    // In widths of "0": the gap between the cells of an entry.
    double ColumnSpacing() const { return FColumnSpacing; }
    void SetColumnSpacing(double Value) { Change(FColumnSpacing, Value); }
    // In heights of "0": the gap between entry rows. One value, two names.
    double RowSpacing() const { return FRowSpacing; }
    void SetRowSpacing(double Value) { Change(FRowSpacing, Value); }
    double WrapRowSpacingMin() const { return FRowSpacing; }
    void SetWrapRowSpacingMin(double Value) { Change(FRowSpacing, Value); }
    // At least 1.
    int WrapColDesiredCount() const { return FWrapColDesiredCount; }
    void SetWrapColDesiredCount(int Value) { Change(FWrapColDesiredCount, std::max(Value, 1)); }
    int WrapRowDesiredCount() const { return FWrapRowDesiredCount; }
    void SetWrapRowDesiredCount(int Value) { Change(FWrapRowDesiredCount, std::max(Value, 1)); }
    bool WrapColAutoCountEnabled() const { return FWrapColAutoCountEnabled; }
    void SetWrapColAutoCountEnabled(bool Value) { Change(FWrapColAutoCountEnabled, Value); }
    bool WrapRowAutoCountEnabled() const { return FWrapRowAutoCountEnabled; }
    void SetWrapRowAutoCountEnabled(bool Value) { Change(FWrapRowAutoCountEnabled, Value); }
    int WrapColAutoCountMax() const { return FWrapColAutoCountMax; }
    void SetWrapColAutoCountMax(int Value) { Change(FWrapColAutoCountMax, Value); }
    int WrapRowAutoCountMax() const { return FWrapRowAutoCountMax; }
    void SetWrapRowAutoCountMax(int Value) { Change(FWrapRowAutoCountMax, Value); }
    // In heights of "0": the least gap between wrap columns.
    double WrapColSpacingMin() const { return FWrapColSpacingMin; }
    void SetWrapColSpacingMin(double Value) { Change(FWrapColSpacingMin, Value); }
    // Spread the columns of a horizontal legend, the rows of a vertical one.
    bool WrapColSpacingAuto() const { return FWrapColSpacingAuto; }
    void SetWrapColSpacingAuto(bool Value) { Change(FWrapColSpacingAuto, Value); }
    bool WrapRowSpacingAuto() const { return FWrapRowSpacingAuto; }
    void SetWrapRowSpacingAuto(bool Value) { Change(FWrapRowSpacingAuto, Value); }
    bool ColumnTitlesVisible() const { return FColumnTitlesVisible; }
    void SetColumnTitlesVisible(bool Value) { Change(FColumnTitlesVisible, Value); }
    const TFont& ColumnTitlesFont() const { return FColumnTitlesFont; }
    void SetColumnTitlesFont(const TFont& Value) { Change(FColumnTitlesFont, Value); }
    // In widths of "0"; 0 fits the column to the widest name, otherwise
    // names wrap at this width.
    double ChannelNameMaxWidth() const { return FChannelNameMaxWidth; }
    void SetChannelNameMaxWidth(double Value) { Change(FChannelNameMaxWidth, Value); }
    TiPlotLegendChannelNameColorStyle ChannelNameColorStyle() const {
        return FChannelNameColorStyle;
    }
    void SetChannelNameColorStyle(TiPlotLegendChannelNameColorStyle Value) {
        Change(FChannelNameColorStyle, Value);
    }

    // A data cursor reads all channels: the value columns show its texts.
    // Decided by the plot at every paint, not stored.
    bool ShowAllChannels() const { return FShowAllChannels; }
    void SetShowAllChannels(bool Value) { FShowAllChannels = Value; }

    // Lists the channels and places their entries in the layout rectangle.
    void Layout(TCanvas& Canvas);
    // The required width of a vertical legend, the height of a horizontal one.
    int Thickness(TCanvas& Canvas) override;
    void Draw(TCanvas& Canvas, TColor BackGroundColor) override;

    // A scroll button answers through the legend; a name cell through its
    // channel.
    TiPlotObject* Claim(int X, int Y) override;
    void MouseDown(TPoint Point) override;
    void MouseUp(TPoint Point) override;
    void ObjectFocused(TiPlotObject* Object) override;
    void ObjectRemoved(TiPlotObject* Object) override;

    // What the last layout found.
    int ItemCount() const { return int(FItems.size()); }
    const TiPlotLegendItem& Item(int Index) const { return FItems.at(Index); }
    int FirstVisibleIndex() const { return FFirstVisible; }
    int LastVisibleIndex() const { return FLastVisible; }
    int WrapColCount() const { return FWrapColCount; }
    int WrapRowCount() const { return FWrapRowCount; }
    int RequiredWidth() const { return FRequiredWidth; }
    int RequiredHeight() const { return FRequiredHeight; }
    int ColumnOffset(TiPlotLegendColumn Column) const { return Cell(FOffsets, Column); }
    int ColumnWidth(TiPlotLegendColumn Column) const { return Cell(FWidths, Column); }
    bool ScrollButtonsShown() const { return FScrolling; }
    TiPlotLegendButton& UpButton() { return FUpButton; }
    TiPlotLegendButton& DownButton() { return FDownButton; }

    // The text of one cell of a channel's entry (none for the samples).
    std::string CellText(TiPlotChannelCustom& Channel, TiPlotLegendColumn Column);

  private:
    using TColumnFlags = std::array<bool, TiPlotLegendColumnCount>;
    using TColumnPixels = std::array<int, TiPlotLegendColumnCount>;
    static bool Shown(const TColumnFlags& Flags, TiPlotLegendColumn Column) {
        return Flags[int(Column)];
    }
    static int Cell(const TColumnPixels& Pixels, TiPlotLegendColumn Column) {
        return Pixels[int(Column)];
    }
    void SetShowColumn(TiPlotLegendColumn Column, bool Value) {
        Change(FShowColumn[int(Column)], Value);
    }
    const std::string& Caption(TiPlotLegendColumn Column) const { return FCaptions[int(Column)]; }
    void SetCaption(TiPlotLegendColumn Column, const std::string& Value) {
        Change(FCaptions[int(Column)], Value);
    }

    // The layout, step by step.
    void StartLayout(TCanvas& Canvas);
    void ListItems();
    void MeasureNames(TCanvas& Canvas);
    void MeasureCaptions(TCanvas& Canvas);
    void MeasureCells(TCanvas& Canvas);
    void PlaceCells();
    void CountWraps();
    void PlaceItems();
    void MeasureRequiredSize();
    void PlaceScrollButtons();
    void SpreadColumns();
    void SpreadRows();
    // The X or Y column of an entry: its text and the least width of its axis.
    void WidenValueColumn(TCanvas& Canvas, TiPlotChannelCustom& Channel, TiPlotLegendColumn Column);

    // The x of a wrap column (1-based) with that spacing between columns.
    int ColumnLeft(int Col, int Spacing) const;

    std::string NameText(TiPlotChannelCustom& Channel);
    std::string AxisTitleText(TiPlotAxis* Axis);
    std::string ValueText(TiPlotChannelCustom& Channel, TiPlotLegendColumn Column);
    std::string StatisticText(TiPlotChannelCustom& Channel, double Value);

    void DrawCaptions(TCanvas& Canvas);
    void DrawItem(TCanvas& Canvas, const TiPlotLegendItem& Item);
    void DrawLineSample(TCanvas& Canvas, const TiPlotLegendItem& Item);
    TColor NameColor(TiPlotChannelCustom& Channel, TColor FontColor);
    void DrawName(TCanvas& Canvas, const TiPlotLegendItem& Item, TRect NameCell);
    void DrawValueCells(TCanvas& Canvas, const TiPlotLegendItem& Item);
    void DrawFocus(TCanvas& Canvas);
    void ClearLegendRects();

    TiPlotLegendButton* ButtonAt(TPoint Point);
    void ScrollUp();
    void ScrollDown();

    double FMarginLeft = 1, FMarginTop = 1, FMarginRight = 1, FMarginBottom = 1;
    TColor FBackGroundColor = 0x808080;
    bool FBackGroundTransparent = true;
    TColor FSelectedItemBackGroundColor = clYellow;
    TFont FSelectedItemFont;
    TColumnFlags FShowColumn{};
    std::array<std::string, TiPlotLegendColumnCount> FCaptions;
    TFont FFont;
    double FColumnSpacing = 0.5;
    double FRowSpacing = 0.25;
    int FWrapColDesiredCount = 1, FWrapRowDesiredCount = 5;
    bool FWrapColAutoCountEnabled = false, FWrapRowAutoCountEnabled = true;
    int FWrapColAutoCountMax = 100, FWrapRowAutoCountMax = 100;
    double FWrapColSpacingMin = 2;
    bool FWrapColSpacingAuto = true, FWrapRowSpacingAuto = false;
    bool FColumnTitlesVisible = false;
    TFont FColumnTitlesFont;
    double FChannelNameMaxWidth = 0;
    TiPlotLegendChannelNameColorStyle FChannelNameColorStyle = iplcncsFont;
    bool FShowAllChannels = false;

    // Layout state, kept from the layout for drawing and hit tests.
    std::vector<TiPlotLegendItem> FItems;
    int FFirstVisible = 0, FLastVisible = -1;
    TColumnFlags FColumnOn{};
    TRect FInnerRect, FCaptionRect, FItemArea;
    int FCaptionHeight = 0, FCaptionGap = 0;
    int FCharWidth = 0, FCharHeight = 0;
    TiPlotPixelMargins FMargins{};
    TColumnPixels FWidths{}, FOffsets{};
    int FEntryWidth = 0, FItemHeight = 0;
    int FColumnSpacingPixels = 0, FRowSpacingPixels = 0, FWrapColSpacingPixels = 0;
    std::vector<int> FColumnX;
    int FWrapColCount = 1, FWrapRowCount = 0;
    bool FScrolling = false;
    int FRequiredWidth = 0, FRequiredHeight = 0;

    TiPlotLegendButton FUpButton{true}, FDownButton{false};
    TiPlotLegendButton* FPressedButton = nullptr;
};
