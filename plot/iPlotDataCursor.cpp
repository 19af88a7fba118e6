#include "plot/iPlotDataCursor.h"

#include "components/iGPFunctions.h"
#include "plot/iPlotChannelCustom.h"
#include "plot/iPlotDataView.h"
#include "plot/iPlotToolBar.h"

#include "platform/Canvas.h"

#include <algorithm>
#include <cmath>

TiPlotDataCursor::TiPlotDataCursor(TiPlotHost* Host) : TiPlotManagerObject(Host) {
    SetVisible(false);
    const char* Captions[] = {"Value X-Y", "Value X",   "Value Y",
                              "Period",    "Peak-Peak", "Frequency"};
    for (int I = 0; I < 6; ++I)
        FMenuItems[I].Caption = Captions[I];
}

void TiPlotDataCursor::SetChannelName(const std::string& Value) {
    ReferenceChanged(FChannel.SetName(Value));
}

TiPlotChannelCustom* TiPlotDataCursor::Channel() {
    return FChannel.Resolve(Host());
}

TiPlotDataView* TiPlotDataCursor::DataView() const {
    return FDataView;
}

void TiPlotDataCursor::SetDataView(TiPlotDataView* Value) {
    FDataView = Value;
}

bool TiPlotDataCursor::Shown() const {
    return Visible() || PlotDataCursorMode(*Host());
}

double TiPlotDataCursor::Clamped(double Value) {
    return std::isnan(Value) ? 0 : std::clamp(Value, 0.0, 100.0);
}

bool TiPlotDataCursor::DeltaStyle() const {
    return FStyle == ipcsDeltaX || FStyle == ipcsDeltaY || FStyle == ipcsInverseDeltaX;
}

TiPlotDataCursor::TLayout TiPlotDataCursor::Layout() const {
    TLayout L{true, DeltaStyle(), false, false, false};
    if (FStyle == ipcsDeltaY)
        L = {true, true, true, true, true};
    // With X and Y exchanged, every item turns by a quarter.
    if (XYSwap()) {
        L.Horizontal1 = !L.Horizontal1;
        L.Horizontal2 = !L.Horizontal2;
        L.HintMovesHorizontally = !L.HintMovesHorizontally;
    }
    return L;
}

// A vertical pointer moves horizontally, and a horizontal one vertically.
int TiPlotDataCursor::PercentPixel(double Percent, bool MovesHorizontally) const {
    return MovesHorizontally ? FDataView->PercentToPixelX(Percent)
                             : FDataView->PercentToPixelY(Percent);
}

double TiPlotDataCursor::PixelPercent(int Pixel, bool MovesHorizontally) const {
    return MovesHorizontally ? FDataView->PixelToPercentX(Pixel)
                             : FDataView->PixelToPercentY(Pixel);
}

double TiPlotDataCursor::PixelStep(bool MovesHorizontally) const {
    const TRect& R = FDataView->LayoutRect();
    const int Pixels = MovesHorizontally ? R.Right - R.Left : R.Bottom - R.Top;
    return Pixels > 0 ? 100.0 / Pixels : 0;
}

double& TiPlotDataCursor::Position(TItem Item) {
    switch (Item) {
    case TItem::Pointer2:
        return FPointer2Position;
    case TItem::Hint:
        return FHintPosition;
    default:
        return FPointer1Position;
    }
}

bool TiPlotDataCursor::MovesHorizontally(TItem Item) {
    const TLayout L = Layout();
    switch (Item) {
    case TItem::Pointer2:
        return !L.Horizontal2;
    case TItem::Hint:
        return L.HintMovesHorizontally;
    default:
        return !L.Horizontal1;
    }
}

int TiPlotDataCursor::PointerPixel(int Pointer) {
    const TItem Item = Pointer == 1 ? TItem::Pointer1 : TItem::Pointer2;
    return PercentPixel(Position(Item), MovesHorizontally(Item));
}

// ---- Values

void TiPlotDataCursor::RefreshValues() {
    if (!FDataView)
        return;
    if (FOnBeforeUpdate)
        FOnBeforeUpdate();
    const int Pixel1 = PointerPixel(1), Pixel2 = PointerPixel(2);
    bool Changed = false;
    if (FollowsAll()) {
        for (TiPlotObject* Object : Host()->Objects(TiPlotKind::Channel))
            Changed = static_cast<TiPlotChannelCustom*>(Object)
                          ->DataCursorQuery(FStyle, Pixel1, Pixel2)
                          .Changed ||
                      Changed;
    } else if (TiPlotChannelCustom* C = Channel()) {
        const TiPlotCursorReading R = C->DataCursorQuery(FStyle, Pixel1, Pixel2);
        Changed = R.X != FValueX || R.Y != FValueY || R.Status != FStatus;
        FValueX = R.X;
        FValueY = R.Y;
        FStatus = R.Status;
        FText = R.Text;
    }
    if (Changed && FOnChange)
        FOnChange();
}

// ---- Drawing

TColor TiPlotDataCursor::PointerColor() {
    TiPlotChannelCustom* C = FollowsAll() ? nullptr : Channel();
    return FUseChannelColor && C ? C->Color() : FColor;
}

void TiPlotDataCursor::Draw(TCanvas& Canvas, TColor) {
    FHintDrawn = false;
    FPointer1Rect = FPointer2Rect = TRect{};
    if (!FDataView || !Shown())
        return;
    RefreshValues();
    const TLayout L = Layout();
    if (L.Shown1)
        DrawPointer(Canvas, TItem::Pointer1, L.Horizontal1, FPointer1Rect);
    if (L.Shown2)
        DrawPointer(Canvas, TItem::Pointer2, L.Horizontal2, FPointer2Rect);
    if (HintVisible())
        DrawHint(Canvas, L);
}

void TiPlotDataCursor::DrawPointer(TCanvas& Canvas, TItem Item, bool Horizontal, TRect& HitRect) {
    const TRect& V = FDataView->LayoutRect();
    const int P = PercentPixel(Position(Item), !Horizontal);
    Canvas.Pen().SetStyle(psSolid);
    Canvas.Pen().SetColor(PointerColor());
    Canvas.Pen().SetWidth(FDragging == Item ? 0 : FPointerPenWidth);
    if (Horizontal) {
        Canvas.MoveTo(V.Left, P);
        Canvas.LineTo(V.Right, P);
        HitRect = Rect(V.Left, P - 5, V.Right, P + 6);
    } else {
        Canvas.MoveTo(P, V.Top);
        Canvas.LineTo(P, V.Bottom);
        HitRect = Rect(P - 5, V.Top, P + 6, V.Bottom);
    }
}

bool TiPlotDataCursor::HintVisible() const {
    if (!FHintShow || FollowsAll())
        return false;
    return !FHintHideOnRelease || FDragging != TItem::None;
}

// The box beside pointer 1 (pointer 2 when 1 is hidden), on the side that
// keeps it in the view, or centred between the pointers for a distance.
TRect TiPlotDataCursor::HintBox(TCanvas& Canvas, const TLayout& L, const std::string& Text) {
    const TRect& V = FDataView->LayoutRect();
    const int TextWidth = GetTextMaxLineWidth(Canvas, Text);
    const int TextHeight = GetWrappedTextHeight(Canvas, Text, TextWidth);
    const int A = Canvas.TextWidth("A");
    const int Height = A / 2 + TextHeight, Width = TextWidth + A;
    const bool Along = L.HintMovesHorizontally; // the hint's own direction
    const TRect& Pointer = L.Shown1 ? FPointer1Rect : FPointer2Rect;
    // Across: the pointers' direction of travel; along: the hint's.
    const int R = Along ? (Pointer.Top + Pointer.Bottom) / 2 : (Pointer.Left + Pointer.Right) / 2;
    const int Extent = Along ? Height : Width;
    const int Low = Along ? V.Top : V.Left, High = Along ? V.Bottom : V.Right;
    TiOrientationSide Side = FHintOrientationSide;
    if (R + Extent + 5 > High)
        Side = iosTopLeft;
    if (R - Extent - 5 < Low)
        Side = iosBottomRight;
    const int E = PercentPixel(FHintPosition, Along);
    int Start;
    if (DeltaStyle()) {
        const int Centre = Along ? (FPointer1Rect.Top + FPointer1Rect.Bottom + FPointer2Rect.Top +
                                    FPointer2Rect.Bottom) /
                                       4
                                 : (FPointer1Rect.Left + FPointer1Rect.Right + FPointer2Rect.Left +
                                    FPointer2Rect.Right) /
                                       4;
        Start = Centre - Extent / 2;
    } else {
        Start = Side == iosBottomRight ? R + 5 : R - Extent - 5;
    }
    const int AlongExtent = Along ? Width : Height;
    const int AlongStart = E - AlongExtent / 2;
    TRect Box = Along ? Rect(AlongStart, Start, AlongStart + Width, Start + Height)
                      : Rect(Start, AlongStart, Start + Width, AlongStart + Height);
    // Kept inside the data view.
    const int DX = std::max(0, V.Left - Box.Left) - std::max(0, Box.Right - V.Right);
    const int DY = std::max(0, V.Top - Box.Top) - std::max(0, Box.Bottom - V.Bottom);
    return Rect(Box.Left + DX, Box.Top + DY, Box.Right + DX, Box.Bottom + DY);
}

void TiPlotDataCursor::DrawHint(TCanvas& Canvas, const TLayout& L) {
    TiPlotChannelCustom* C = Channel();
    std::string Text = C ? FText : Translate("No Channel");
    if (FOnCustomizeHint)
        FOnCustomizeHint(Text);
    Canvas.Font() = FFont;
    const TRect Box = HintBox(Canvas, L, Text);
    const TColor Color = PointerColor();
    if (DeltaStyle()) {
        Canvas.Pen().SetStyle(psDot);
        Canvas.Pen().SetWidth(0);
        Canvas.Pen().SetColor(Color);
        Canvas.Brush().SetStyle(bsClear);
        if (L.HintMovesHorizontally) {
            const int X = (Box.Left + Box.Right) / 2;
            Canvas.MoveTo(X, (FPointer1Rect.Top + FPointer1Rect.Bottom) / 2);
            Canvas.LineTo(X, (FPointer2Rect.Top + FPointer2Rect.Bottom) / 2);
        } else {
            const int Y = (Box.Top + Box.Bottom) / 2;
            Canvas.MoveTo((FPointer1Rect.Left + FPointer1Rect.Right) / 2, Y);
            Canvas.LineTo((FPointer2Rect.Left + FPointer2Rect.Right) / 2, Y);
        }
    }
    Canvas.Pen().SetStyle(psSolid);
    Canvas.Pen().SetWidth(1);
    Canvas.Pen().SetColor(FUseChannelColor && C ? C->Color() : clBlack);
    Canvas.Brush().SetStyle(bsSolid);
    Canvas.Brush().SetColor(clInfoBk);
    Canvas.Rectangle(Box);
    Canvas.Font().SetColor(clInfoText);
    Canvas.Brush().SetStyle(bsClear);
    TRect TextRect = Rect(Box.Left + 2, Box.Top + 1, Box.Right, Box.Bottom);
    iDrawText(Canvas, Text, TextRect, {itfLeft, itfVCenter});
    Canvas.Rectangle(Box);
    if (Focused())
        iDrawFocusRect(Canvas, Rect(Box.Left - 2, Box.Top - 2, Box.Right + 2, Box.Bottom + 2));
    FHintRect = Box;
    FHintDrawn = true;
}

// ---- The mouse and the keys

bool TiPlotDataCursor::HitTest(TPoint P) {
    if (!Shown())
        return false;
    const TLayout L = Layout();
    return (L.Shown1 && FPointer1Rect.Contains(P)) || (L.Shown2 && FPointer2Rect.Contains(P)) ||
           (FHintDrawn && FHintRect.Contains(P));
}

void TiPlotDataCursor::MouseDown(TPoint P) {
    if (!FDataView || !Shown())
        return;
    const TLayout L = Layout();
    if (FHintDrawn && FHintRect.Contains(P))
        FDragging = TItem::Hint;
    else if (L.Shown1 && FPointer1Rect.Contains(P))
        FDragging = TItem::Pointer1;
    else if (L.Shown2 && FPointer2Rect.Contains(P))
        FDragging = TItem::Pointer2;
    else
        return;
    FMouseDownPoint = P;
    const bool Horizontally = MovesHorizontally(FDragging);
    FDragStartPixel = PercentPixel(Position(FDragging), Horizontally);
    Moved();
}

void TiPlotDataCursor::MouseMove(TPoint P) {
    if (FDragging == TItem::None || !FDataView)
        return;
    const bool Horizontally = MovesHorizontally(FDragging);
    const int Offset = Horizontally ? P.X - FMouseDownPoint.X : P.Y - FMouseDownPoint.Y;
    Position(FDragging) = Clamped(PixelPercent(FDragStartPixel + Offset, Horizontally));
    Moved();
}

void TiPlotDataCursor::MouseUp(TPoint P) {
    const bool Dragged = FDragging != TItem::None;
    FDragging = TItem::None;
    if (Dragged)
        DoChange();
    if (Pressed() && HitTest(P))
        Host()->ObjectClicked(this);
}

void TiPlotDataCursor::Moved() {
    RefreshValues();
    DoChange();
}

// One pixel step of the item along its direction, for the arrow keys.
void TiPlotDataCursor::StepKey(std::uint16_t Key, TItem Pointer, bool AlsoHint) {
    const bool Sideways = Key == VK_LEFT || Key == VK_RIGHT;
    const double Sign = Key == VK_RIGHT || Key == VK_UP ? 1 : -1;
    for (TItem Item : {Pointer, TItem::Hint}) {
        if (Item == TItem::Hint && !AlsoHint)
            continue;
        const bool Horizontally = MovesHorizontally(Item);
        if (Horizontally == Sideways)
            Position(Item) += Sign * PixelStep(Horizontally);
    }
}

void TiPlotDataCursor::KeyDown(std::uint16_t& Key, TShiftState Shift) {
    if (!FDataView || !Shown())
        return;
    const bool Ctrl = Shift.Contains(ssCtrl);
    if (!Ctrl && !Layout().Shown2)
        return;
    // Ctrl moves pointer 1 and the hint; without it the keys move pointer 2.
    const TItem Pointer = Ctrl ? TItem::Pointer1 : TItem::Pointer2;
    double& P = Position(Pointer);
    switch (Key) {
    case VK_PRIOR:
    case VK_NEXT:
        P += (Key == VK_PRIOR ? 5 : -5) * PixelStep(MovesHorizontally(Pointer));
        break;
    case VK_HOME:
        P = 0;
        break;
    case VK_END:
        P = 100;
        break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
        StepKey(Key, Pointer, Ctrl && FHintShow);
        break;
    default:
        return;
    }
    for (TItem Item : {TItem::Pointer1, TItem::Pointer2, TItem::Hint})
        Position(Item) = Clamped(Position(Item));
    Moved();
}

// ---- Focus and the popup menu

void TiPlotDataCursor::ObjectFocused(TiPlotObject* Object) {
    TiPlotChannelCustom* Followed = FollowsAll() ? nullptr : Channel();
    if (Object == this) {
        // The followed channel is focused with its cursor.
        if (Followed)
            Followed->SetFocused(true);
        return;
    }
    if (Object == Followed)
        return;
    if (Object->Kind() == TiPlotKind::Channel) {
        if (Focused())
            SetChannelName(Object->Name());
        return;
    }
    SetFocused(false);
}

void TiPlotDataCursor::ObjectNameChanged(TiPlotObject* Object) {
    FChannel.ObjectNameChanged(Object);
}

void TiPlotDataCursor::AddPopupItems(std::vector<TiPlotPopupItem>& Items) {
    TiPlotPopupItem Channels{Translate("Channel")};
    if (FChannelAllowAll)
        Channels.Items.push_back({Translate("<All>"), FollowsAll(), true, [this] {
                                      SetChannelName("<All>");
                                      for (TiPlotObject* C : Host()->Objects(TiPlotKind::Channel))
                                          C->SetFocused(false);
                                  }});
    for (TiPlotObject* Object : Host()->Objects(TiPlotKind::Channel)) {
        auto* C = static_cast<TiPlotChannelCustom*>(Object);
        if (!C->Visible())
            continue;
        std::string Title = C->TitleText();
        std::erase_if(Title, [](char Ch) { return Ch == '\r' || Ch == '\n'; });
        const bool Followed = !FollowsAll() && Channel() == C;
        QPointer<TiPlotChannelCustom> Target = C;
        Channels.Items.push_back({Title, Followed, true, [this, Target] {
                                      if (!Target)
                                          return;
                                      SetChannelName(Target->Name());
                                      Target->SetFocused(true);
                                  }});
    }
    Items.push_back(std::move(Channels));

    TiPlotPopupItem Styles{Translate("Style")};
    for (int S = 0; S < 6; ++S)
        if (FMenuItems[S].Visible)
            Styles.Items.push_back({Translate(FMenuItems[S].Caption), FStyle == S, true,
                                    [this, S] { SetStyle(TiPlotDataCursorStyle(S)); }});
    Items.push_back(std::move(Styles));

    if (FMenuUserCanChangeOptions) {
        TiPlotPopupItem Options{Translate("Options")};
        Options.Items.push_back({Translate("Use Channel Color"), FUseChannelColor, true,
                                 [this] { SetUseChannelColor(!FUseChannelColor); }});
        Options.Items.push_back({Translate("Hide Hint On Release"), FHintHideOnRelease, true,
                                 [this] { SetHintHideOnRelease(!FHintHideOnRelease); }});
        Items.push_back(std::move(Options));
    }
    const bool ValueStyle = !DeltaStyle();
    Items.push_back({Translate("Flip Alignment"), false, ValueStyle && Channel(), [this] {
                         SetHintOrientationSide(
                             FHintOrientationSide == iosBottomRight ? iosTopLeft : iosBottomRight);
                     }});
}
