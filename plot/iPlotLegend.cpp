#include "plot/iPlotLegend.h"

#include "components/iGPFunctions.h"
#include "platform/Arith.h"
#include "platform/Canvas.h"
#include "plot/iPlotAxis.h"
#include "plot/iPlotChannelCustom.h"

#include <utility>

namespace {

using TColumn = TiPlotLegendColumn;

constexpr int SampleMinWidth = 16;
// Room kept beside the entries for the scroll buttons.
constexpr int ButtonsRoom = 25;

constexpr TColumn CaptionedColumns[] = {TColumn::Name,   TColumn::XAxisTitle, TColumn::YAxisTitle,
                                        TColumn::XValue, TColumn::YValue,     TColumn::YMax,
                                        TColumn::YMin,   TColumn::YMean};
// The cells drawn after the name, in Font, one text line high.
constexpr TColumn TextColumns[] = {TColumn::XAxisTitle, TColumn::YAxisTitle, TColumn::XValue,
                                   TColumn::YValue,     TColumn::YMax,       TColumn::YMin,
                                   TColumn::YMean};

bool IsAxisTitle(TColumn Column) {
    return Column == TColumn::XAxisTitle || Column == TColumn::YAxisTitle;
}

// Rounded up; a count of nothing never divides by zero.
int CeilDiv(int A, int B) {
    B = std::max(B, 1);
    return (A + B - 1) / B;
}

void Widen(int& Width, int Value) {
    Width = std::max(Width, Value);
}

// The pieces of the line sample, from its left end, end points excluded.
std::vector<std::pair<int, int>> LineSamplePieces(TiPlotLineStyle Style) {
    switch (Style) {
    case iplsDash:
        return {{0, 5}, {8, 13}};
    case iplsDot:
        return {{0, 2}, {4, 6}, {8, 10}};
    case iplsDashDot:
        return {{0, 5}, {7, 9}};
    case iplsDashDotDot:
        return {{0, 5}, {7, 9}, {11, 13}};
    case iplsSolid:
    default:
        return {{0, 13}};
    }
}

} // namespace

// ---- TiPlotLegendButton

void TiPlotLegendButton::Draw(TCanvas& Canvas) {
    const TRect& R = Rect();
    Canvas.Brush().SetStyle(bsSolid);
    Canvas.Brush().SetColor(clBtnFace);
    Canvas.FillRect(R);
    iDrawEdge(Canvas, R, Pressed() ? 0 : 1);
    const TColor Color = Enabled() ? clBlack : clGray;
    Canvas.Pen().SetStyle(psSolid);
    Canvas.Pen().SetWidth(1);
    Canvas.Pen().SetColor(Color);
    Canvas.Brush().SetColor(Color);
    const int Cx = R.Left + Size / 2, Cy = R.Top + Size / 2;
    const int Base = FPointsUp ? Cy + 2 : Cy - 2;
    const int Tip = FPointsUp ? Cy - 2 : Cy + 2;
    const TPoint Triangle[] = {Point(Cx - 4, Base), Point(Cx + 4, Base), Point(Cx, Tip)};
    Canvas.Polygon(Triangle);
}

// ---- TiPlotLegend

TiPlotLegend::TiPlotLegend(TiPlotHost* Host) : TiPlotLayoutObject(Host) {
    SetHorizontal(false);
    FSelectedItemFont.SetColor(clBlack);
    FFont.SetColor(clWhite);
    FColumnTitlesFont.SetColor(clAqua);
    FColumnTitlesFont.SetStyle({fsBold});
    FShowColumn[int(TColumn::Line)] = true;
    FCaptions[int(TColumn::Name)] = "Title";
    FCaptions[int(TColumn::XAxisTitle)] = "X-Axis";
    FCaptions[int(TColumn::YAxisTitle)] = "Y-Axis";
    FCaptions[int(TColumn::XValue)] = "X";
    FCaptions[int(TColumn::YValue)] = "Y";
    FCaptions[int(TColumn::YMax)] = "Y-Max";
    FCaptions[int(TColumn::YMin)] = "Y-Min";
    FCaptions[int(TColumn::YMean)] = "Y-Mean";
    for (TiPlotLegendButton* Button : {&FUpButton, &FDownButton}) {
        Button->SetAutoRepeat(true);
        Button->SetOnInvalidate([this](TiPlotButton*) { DoChange(); });
    }
    FUpButton.SetOnClick([this](TiPlotButton*) { ScrollUp(); });
    FDownButton.SetOnClick([this](TiPlotButton*) { ScrollDown(); });
}

// ---- Cell texts

std::string TiPlotLegend::CellText(TiPlotChannelCustom& Channel, TColumn Column) {
    switch (Column) {
    case TColumn::Name:
        return NameText(Channel);
    case TColumn::XAxisTitle:
        return AxisTitleText(Channel.XAxis());
    case TColumn::YAxisTitle:
        return AxisTitleText(Channel.YAxis());
    case TColumn::XValue:
    case TColumn::YValue:
        return ValueText(Channel, Column);
    case TColumn::YMax:
        return StatisticText(Channel, Channel.YMax());
    case TColumn::YMin:
        return StatisticText(Channel, Channel.YMin());
    case TColumn::YMean:
        return StatisticText(Channel, Channel.YMean());
    case TColumn::Line:
    case TColumn::Marker:
        break;
    }
    return {};
}

std::string TiPlotLegend::NameText(TiPlotChannelCustom& Channel) {
    return IsBlank(Channel.TitleText()) ? Channel.Name() : Channel.TitleText();
}

std::string TiPlotLegend::AxisTitleText(TiPlotAxis* Axis) {
    if (!Axis)
        return Translate("None");
    return IsBlank(Axis->Title()) ? Axis->Name() : Axis->Title();
}

std::string TiPlotLegend::ValueText(TiPlotChannelCustom& Channel, TColumn Column) {
    const bool X = Column == TColumn::XValue;
    if (FShowAllChannels)
        return X ? Channel.CursorXText() : Channel.CursorYText();
    if (Channel.Count() == 0)
        return Translate("Empty");
    TiPlotAxis* Axis = X ? Channel.XAxis() : Channel.YAxis();
    if (!Axis)
        return Translate("N/A");
    const int Last = Channel.Count() - 1;
    return Axis->LegendText(X ? Channel.GetX(Last) : Channel.GetY(Last));
}

// Statistics that count no point hold only their sentinels.
std::string TiPlotLegend::StatisticText(TiPlotChannelCustom& Channel, double Value) {
    if (Channel.Count() == 0 || Channel.StatCount() == 0)
        return Translate("Empty");
    if (!Channel.YAxis())
        return Translate("N/A");
    return Channel.YAxis()->LegendText(Value);
}

// ---- Layout

void TiPlotLegend::Layout(TCanvas& Canvas) {
    StartLayout(Canvas);
    ListItems();
    MeasureNames(Canvas);
    MeasureCaptions(Canvas);
    MeasureCells(Canvas);
    PlaceCells();
    CountWraps();
    PlaceItems();
    MeasureRequiredSize();
    PlaceScrollButtons();
    SpreadColumns();
    SpreadRows();
    FUpButton.SetEnabled(FFirstVisible > 0);
    FDownButton.SetEnabled(FLastVisible + 1 < ItemCount());
}

int TiPlotLegend::Thickness(TCanvas& Canvas) {
    Layout(Canvas);
    return Horizontal() ? FRequiredHeight : FRequiredWidth;
}

void TiPlotLegend::StartLayout(TCanvas& Canvas) {
    Canvas.Font() = FFont;
    FCharWidth = GetTextMaxLineWidth(Canvas, "0");
    FCharHeight = GetTextHeight(Canvas, "0");
    FMargins = CharacterMargins(Canvas, FMarginLeft, FMarginTop, FMarginRight, FMarginBottom);
    const TRect& R = LayoutRect();
    FInnerRect = Rect(R.Left + FMargins.Left, R.Top + FMargins.Top, R.Right - FMargins.Right,
                      R.Bottom - FMargins.Bottom);
    FColumnSpacingPixels = int(Round(FCharWidth * FColumnSpacing));
    FRowSpacingPixels = int(Round(FCharHeight * FRowSpacing));
    FWrapColSpacingPixels = int(Round(FCharHeight * FWrapColSpacingMin));
    FItemHeight = FCharHeight;
    FWidths.fill(0);
    FCaptionHeight = FCaptionGap = 0;
    FColumnOn = FShowColumn;
    FColumnOn[int(TColumn::Name)] = true;
    if (FShowAllChannels)
        FColumnOn[int(TColumn::XValue)] = FColumnOn[int(TColumn::YValue)] = true;
}

void TiPlotLegend::ListItems() {
    FItems.clear();
    for (TiPlotObject* Object : Host()->Objects(TiPlotKind::Channel)) {
        auto* Channel = static_cast<TiPlotChannelCustom*>(Object);
        if (Channel->VisibleInLegend())
            FItems.push_back({Channel});
    }
    FFirstVisible = std::clamp(FFirstVisible, 0, std::max(ItemCount() - 1, 0));
}

// The name column and the height of every entry: one line each, or the
// names wrapped at a fixed width.
void TiPlotLegend::MeasureNames(TCanvas& Canvas) {
    int& NameWidth = FWidths[int(TColumn::Name)];
    const bool Wrapped = FChannelNameMaxWidth != 0;
    if (Wrapped)
        NameWidth = int(Round(FCharWidth * FChannelNameMaxWidth));
    for (TiPlotLegendItem& Item : FItems) {
        const std::string Text = NameText(*Item.Channel);
        Item.Height = Wrapped ? 0 : FCharHeight;
        for (const TFont* Font : {&FFont, &FSelectedItemFont}) {
            Canvas.Font() = *Font;
            if (Wrapped)
                Widen(Item.Height, GetWrappedTextHeight(Canvas, Text, NameWidth));
            else
                Widen(NameWidth, Canvas.TextWidth(Text));
        }
        Widen(FItemHeight, Item.Height);
    }
}

void TiPlotLegend::MeasureCaptions(TCanvas& Canvas) {
    if (!FColumnTitlesVisible)
        return;
    Canvas.Font() = FColumnTitlesFont;
    FCaptionHeight = GetTextHeight(Canvas, "0");
    FCaptionGap = FCaptionHeight / 4;
    for (TColumn Column : CaptionedColumns)
        if (Shown(FColumnOn, Column))
            Widen(FWidths[int(Column)], Canvas.TextWidth(Translate(Caption(Column))));
}

void TiPlotLegend::MeasureCells(TCanvas& Canvas) {
    for (TColumn Sample : {TColumn::Line, TColumn::Marker})
        if (Shown(FColumnOn, Sample))
            Widen(FWidths[int(Sample)], SampleMinWidth);
    for (const TiPlotLegendItem& Item : FItems)
        for (TColumn Column : TextColumns) {
            if (!Shown(FColumnOn, Column))
                continue;
            if (Column == TColumn::XValue || Column == TColumn::YValue) {
                WidenValueColumn(Canvas, *Item.Channel, Column);
                continue;
            }
            Canvas.Font() = FFont;
            Widen(FWidths[int(Column)], Canvas.TextWidth(CellText(*Item.Channel, Column)));
        }
}

// At least the axis' own least width for such texts; the cursor's texts
// are counted in characters.
void TiPlotLegend::WidenValueColumn(TCanvas& Canvas, TiPlotChannelCustom& Channel, TColumn Column) {
    int& Width = FWidths[int(Column)];
    TiPlotAxis* Axis = Column == TColumn::XValue ? Channel.XAxis() : Channel.YAxis();
    if (FShowAllChannels) {
        if (Axis)
            Widen(Width, Axis->CursorMinWidth(Canvas, FFont));
        Widen(Width, int(Round(double(CellText(Channel, Column).size()) * FCharWidth)));
        return;
    }
    if (Axis)
        Widen(Width, Axis->LegendMinWidth(Canvas, FFont));
    Canvas.Font() = FFont;
    Widen(Width, Canvas.TextWidth(CellText(Channel, Column)));
}

// Each shown cell follows the previous one after the column spacing.
void TiPlotLegend::PlaceCells() {
    int Start = 0;
    FEntryWidth = 0;
    for (int Column = 0; Column < TiPlotLegendColumnCount; ++Column) {
        FOffsets[Column] = Start;
        if (!FColumnOn[Column])
            continue;
        FEntryWidth = Start + FWidths[Column];
        Start = FEntryWidth + FColumnSpacingPixels;
    }
    FCaptionRect =
        Rect(FInnerRect.Left, FInnerRect.Top, FInnerRect.Right, FInnerRect.Top + FCaptionHeight);
    FItemArea = Rect(FInnerRect.Left, FCaptionRect.Bottom + FCaptionGap, FInnerRect.Right,
                     FInnerRect.Bottom);
}

// How many wrap columns (D) and rows (F) the entries take.
void TiPlotLegend::CountWraps() {
    const int N = ItemCount();
    const int RS = FRowSpacingPixels, WS = FWrapColSpacingPixels;
    const int ButtonsWidth = Horizontal() ? ButtonsRoom : 0;
    const int RowsFit = std::max(1, (FItemArea.Height() + RS) / std::max(1, FItemHeight + RS));
    const int ColumnsFit =
        std::max(1, (FItemArea.Width() - ButtonsWidth + WS) / std::max(1, FEntryWidth + WS));
    int D = FWrapColAutoCountEnabled ? FWrapColAutoCountMax : FWrapColDesiredCount;
    const int RowsMax = FWrapRowAutoCountEnabled ? FWrapRowAutoCountMax : FWrapRowDesiredCount;
    int F;
    if (Horizontal()) {
        D = std::max(std::min(D, ColumnsFit), 1);
        F = FWrapRowAutoCountEnabled ? CeilDiv(N, D) : RowsMax;
        F = std::min(F, RowsMax);
        if (F < 3 && F * D < N)
            F = 3;
        if (FWrapColAutoCountEnabled)
            D = std::min(D, CeilDiv(N, F));
    } else {
        if (FWrapColAutoCountEnabled)
            D = CeilDiv(N, RowsFit);
        D = std::min(D, FWrapColAutoCountMax);
        F = std::min({RowsFit, N, RowsMax});
        if (F < 3 && F * D < N)
            F = 3;
    }
    FWrapColCount = std::max(D, 1);
    FWrapRowCount = F;
    FScrolling = FWrapRowCount * FWrapColCount < N;
    // Everything fits: the list starts at its first entry again.
    if (!FScrolling)
        FFirstVisible = 0;
}

int TiPlotLegend::ColumnLeft(int Col, int Spacing) const {
    return FInnerRect.Left + (FEntryWidth + Spacing) * (Col - 1);
}

// From the first visible entry, column by column, top down, until the
// wrap columns are full.
void TiPlotLegend::PlaceItems() {
    for (TiPlotLegendItem& Item : FItems)
        Item.Row = Item.Col = 0;
    FColumnX.clear();
    FLastVisible = -1;
    if (FItems.empty())
        return;
    int Row = 1, Col = 1;
    FColumnX.push_back(ColumnLeft(Col, FWrapColSpacingPixels));
    for (int I = FFirstVisible; I < ItemCount(); ++I) {
        TiPlotLegendItem& Item = FItems[I];
        Item.Row = Row;
        Item.Col = Col;
        Item.X = FColumnX.back();
        Item.Y = FItemArea.Top + (Row - 1) * (FItemHeight + FRowSpacingPixels);
        FLastVisible = I;
        if (++Row <= FWrapRowCount || I == ItemCount() - 1)
            continue;
        Row = 1;
        if (++Col > FWrapColCount)
            break;
        FColumnX.push_back(ColumnLeft(Col, FWrapColSpacingPixels));
    }
}

void TiPlotLegend::MeasureRequiredSize() {
    const int D = FWrapColCount;
    FRequiredWidth =
        D * FEntryWidth + (D - 1) * FWrapColSpacingPixels + FMargins.Left + FMargins.Right;
    FRequiredHeight = FMargins.Top + FCaptionHeight + FCaptionGap +
                      (FItemHeight + FRowSpacingPixels) * FWrapRowCount + FMargins.Bottom -
                      FRowSpacingPixels;
}

void TiPlotLegend::PlaceScrollButtons() {
    if (!FScrolling)
        return;
    const int Size = TiPlotLegendButton::Size;
    const int Left = FItemArea.Right - Size;
    FUpButton.SetRect(Rect(Left, FItemArea.Top, FItemArea.Right, FItemArea.Top + Size));
    FDownButton.SetRect(Rect(Left, FItemArea.Bottom - Size, FItemArea.Right, FItemArea.Bottom));
    FRequiredWidth += ButtonsRoom;
}

// A horizontal legend spreads its wrap columns over its width.
void TiPlotLegend::SpreadColumns() {
    const int D = FWrapColCount;
    if (!FWrapColSpacingAuto || !Horizontal() || D < 2)
        return;
    const int Spacing =
        int(Trunc(double(FItemArea.Width() - ButtonsRoom - D * FEntryWidth) / (D - 1)));
    for (int Col = 1; Col <= int(FColumnX.size()); ++Col)
        FColumnX[Col - 1] = ColumnLeft(Col, Spacing);
    for (TiPlotLegendItem& Item : FItems)
        if (Item.Col > 0)
            Item.X = ColumnLeft(Item.Col, Spacing);
}

// A vertical legend spreads the rows of its first column over its height.
void TiPlotLegend::SpreadRows() {
    if (!FWrapRowSpacingAuto || Horizontal())
        return;
    const int Rows = int(std::count_if(FItems.begin(), FItems.end(),
                                       [](const TiPlotLegendItem& Item) { return Item.Col == 1; }));
    if (Rows < 2)
        return;
    FRowSpacingPixels = int(Trunc(double(FItemArea.Height() - FItemHeight * Rows) / (Rows - 1)));
    for (TiPlotLegendItem& Item : FItems)
        if (Item.Row > 0)
            Item.Y = FItemArea.Top + (Item.Row - 1) * (FItemHeight + FRowSpacingPixels);
}

// ---- Drawing

void TiPlotLegend::Draw(TCanvas& Canvas, TColor) {
    Layout(Canvas);
    ClearLegendRects();
    if (!Visible() || FItems.empty())
        return;
    if (!FBackGroundTransparent) {
        Canvas.Brush().SetStyle(bsSolid);
        Canvas.Brush().SetColor(FBackGroundColor);
        Canvas.FillRect(LayoutRect());
    }
    if (FColumnTitlesVisible)
        DrawCaptions(Canvas);
    for (int I = FFirstVisible; I <= FLastVisible; ++I)
        DrawItem(Canvas, FItems[I]);
    if (FScrolling) {
        FUpButton.Draw(Canvas);
        FDownButton.Draw(Canvas);
    }
    if (Focused())
        DrawFocus(Canvas);
}

// Hit tests find only the entries drawn now.
void TiPlotLegend::ClearLegendRects() {
    for (const TiPlotLegendItem& Item : FItems)
        Item.Channel->SetLegendRect(TRect{});
}

void TiPlotLegend::DrawCaptions(TCanvas& Canvas) {
    Canvas.Font() = FColumnTitlesFont;
    Canvas.Brush().SetStyle(bsClear);
    for (int X : FColumnX)
        for (TColumn Column : CaptionedColumns) {
            if (!Shown(FColumnOn, Column))
                continue;
            const int Left = X + ColumnOffset(Column);
            TRect R = Rect(Left, FCaptionRect.Top, Left + ColumnWidth(Column), FCaptionRect.Bottom);
            const TiTextFormatOption Along = Column == TColumn::Name ? itfLeft
                                             : IsAxisTitle(Column)   ? itfCenter
                                                                     : itfRight;
            iDrawText(Canvas, Translate(Caption(Column)), R,
                      {Along, itfVCenter, itfSingleLine, itfNoClip});
        }
}

void TiPlotLegend::DrawItem(TCanvas& Canvas, const TiPlotLegendItem& Item) {
    const int NameLeft = Item.X + ColumnOffset(TColumn::Name);
    const TRect NameCell =
        Rect(NameLeft, Item.Y, NameLeft + ColumnWidth(TColumn::Name) + 1, Item.Y + Item.Height);
    Item.Channel->SetLegendRect(NameCell);
    if (Shown(FColumnOn, TColumn::Line))
        DrawLineSample(Canvas, Item);
    if (Shown(FColumnOn, TColumn::Marker))
        Item.Channel->DrawMarker(
            Canvas, -1,
            Point(Item.X + ColumnOffset(TColumn::Marker) + ColumnWidth(TColumn::Marker) / 2,
                  Item.Y + FCharHeight / 2));
    DrawName(Canvas, Item, NameCell);
    DrawValueCells(Canvas, Item);
}

// Three rows of the channel's line style in its colour.
void TiPlotLegend::DrawLineSample(TCanvas& Canvas, const TiPlotLegendItem& Item) {
    const TiPlotChannelCustom& Channel = *Item.Channel;
    Canvas.Pen().SetStyle(psSolid);
    Canvas.Pen().SetWidth(1);
    Canvas.Pen().SetColor(Channel.Color());
    const int Left = Item.X + ColumnOffset(TColumn::Line);
    const int Middle = Item.Y + FCharHeight / 2;
    for (int Y = Middle - 1; Y <= Middle + 1; ++Y)
        for (auto [From, To] : LineSamplePieces(Channel.TraceLineStyle())) {
            Canvas.MoveTo(Left + From, Y);
            Canvas.LineTo(Left + To, Y);
        }
}

TColor TiPlotLegend::NameColor(TiPlotChannelCustom& Channel, TColor FontColor) {
    TiPlotAxis* Axis = nullptr;
    switch (FChannelNameColorStyle) {
    case iplcncsChannelColor:
        return Channel.Color();
    case iplcncsXAxisFontColor:
        Axis = Channel.XAxis();
        break;
    case iplcncsYAxisFontColor:
        Axis = Channel.YAxis();
        break;
    case iplcncsFont:
        break;
    }
    return Axis ? Axis->LabelsFont().Color() : FontColor;
}

// The channel with the focus is marked in the selected-item colours.
void TiPlotLegend::DrawName(TCanvas& Canvas, const TiPlotLegendItem& Item, TRect NameCell) {
    TiPlotChannelCustom& Channel = *Item.Channel;
    if (Channel.Focused()) {
        Canvas.Brush().SetStyle(bsSolid);
        Canvas.Brush().SetColor(FSelectedItemBackGroundColor);
        Canvas.FillRect(NameCell);
        Canvas.Font() = FSelectedItemFont;
    } else {
        Canvas.Font() = FFont;
    }
    Canvas.Brush().SetStyle(bsClear);
    Canvas.Font().SetColor(NameColor(Channel, Canvas.Font().Color()));
    iDrawText(Canvas, NameText(Channel), NameCell,
              {itfLeft, itfTop, itfWordBreak, itfWordEllipsis});
}

void TiPlotLegend::DrawValueCells(TCanvas& Canvas, const TiPlotLegendItem& Item) {
    Canvas.Font() = FFont;
    Canvas.Brush().SetStyle(bsClear);
    for (TColumn Column : TextColumns) {
        if (!Shown(FColumnOn, Column))
            continue;
        const int Left = Item.X + ColumnOffset(Column);
        TRect R = Rect(Left, Item.Y, Left + ColumnWidth(Column), Item.Y + FCharHeight);
        iDrawText(Canvas, CellText(*Item.Channel, Column), R,
                  {IsAxisTitle(Column) ? itfLeft : itfRight, itfVCenter});
    }
}

// Inset across the legend, so that the frame stays clear of its neighbours.
void TiPlotLegend::DrawFocus(TCanvas& Canvas) {
    TRect R = LayoutRect();
    if (Horizontal()) {
        R.Top += 2;
        R.Bottom -= 2;
    } else {
        R.Left += 2;
        R.Right -= 2;
    }
    iDrawFocusRect(Canvas, R);
}

// ---- Mouse and focus

TiPlotLegendButton* TiPlotLegend::ButtonAt(TPoint Point) {
    if (!FScrolling)
        return nullptr;
    for (TiPlotLegendButton* Button : {&FUpButton, &FDownButton})
        if (Button->Rect().Contains(Point))
            return Button;
    return nullptr;
}

TiPlotObject* TiPlotLegend::Claim(int X, int Y) {
    const TPoint P = Point(X, Y);
    if (!ButtonAt(P))
        for (const TiPlotLegendItem& Item : FItems)
            if (Item.Channel->LegendRect().Contains(P)) {
                SetMouseOwner(Item.Channel);
                return Item.Channel;
            }
    return TiPlotLayoutObject::Claim(X, Y);
}

// A greyed button ignores the mouse.
void TiPlotLegend::MouseDown(TPoint Point) {
    TiPlotLegendButton* Button = ButtonAt(Point);
    if (!Button || !Button->Enabled())
        return;
    FPressedButton = Button;
    Button->MouseDown(Point.X, Point.Y);
}

void TiPlotLegend::MouseUp(TPoint Point) {
    if (TiPlotLegendButton* Button = std::exchange(FPressedButton, nullptr))
        Button->MouseUp(Point.X, Point.Y);
}

// A greyed button does not step, not even when let go of.
void TiPlotLegend::ScrollUp() {
    if (FUpButton.Enabled() && FFirstVisible > 0)
        --FFirstVisible;
    DoChange();
}

void TiPlotLegend::ScrollDown() {
    if (FDownButton.Enabled() && FFirstVisible < ItemCount() - 1)
        ++FFirstVisible;
    DoChange();
}

void TiPlotLegend::ObjectFocused(TiPlotObject* Object) {
    if (Object != this)
        SetFocused(false);
}

// Entries never point at a channel that is gone.
void TiPlotLegend::ObjectRemoved(TiPlotObject* Object) {
    std::erase_if(FItems,
                  [Object](const TiPlotLegendItem& Item) { return Item.Channel == Object; });
    FLastVisible = std::min(FLastVisible, ItemCount() - 1);
}
