#pragma once
// Reads values off the traces at one or two pointer lines that the user
// drags over the data view, and shows them in a hint box (or, reading all
// channels, in the legend).

#include "plot/iPlotObjects.h"
#include "plot/iPlotReference.h"

#include "platform/GraphicsObjects.h"

#include <QObject>

#include <cstdint>
#include <functional>
#include <string>

namespace iPlotDataCursor {
Q_NAMESPACE

// What the cursor measures: a value at pointer 1, or the distance (or its
// inverse) between the two pointers.
enum TiPlotDataCursorStyle : std::uint8_t {
    ipcsValueXY,
    ipcsValueX,
    ipcsValueY,
    ipcsDeltaX,
    ipcsDeltaY,
    ipcsInverseDeltaX
};
Q_ENUM_NS(TiPlotDataCursorStyle)

// The side of its pointer on which the hint box sits.
enum TiOrientationSide : std::uint8_t { iosBottomRight, iosTopLeft };
Q_ENUM_NS(TiOrientationSide)

} // namespace iPlotDataCursor

using namespace iPlotDataCursor;

class TiPlotChannelCustom;
class TiPlotDataView;

class TiPlotDataCursor : public TiPlotManagerObject {
    Q_OBJECT
    Q_PROPERTY(std::string ChannelName READ ChannelName WRITE SetChannelName)
    Q_PROPERTY(bool ChannelAllowAll READ ChannelAllowAll WRITE SetChannelAllowAll)
    Q_PROPERTY(
        bool ChannelShowAllInLegend READ ChannelShowAllInLegend WRITE SetChannelShowAllInLegend)
    Q_PROPERTY(TiPlotDataCursorStyle Style READ Style WRITE SetStyle)
    Q_PROPERTY(TFont Font READ Font WRITE SetFont)
    Q_PROPERTY(TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(bool UseChannelColor READ UseChannelColor WRITE SetUseChannelColor)
    Q_PROPERTY(bool HintShow READ HintShow WRITE SetHintShow)
    Q_PROPERTY(bool HintHideOnRelease READ HintHideOnRelease WRITE SetHintHideOnRelease)
    Q_PROPERTY(
        TiOrientationSide HintOrientationSide READ HintOrientationSide WRITE SetHintOrientationSide)
    Q_PROPERTY(double HintPosition READ HintPosition WRITE SetHintPosition)
    Q_PROPERTY(double Pointer1Position READ Pointer1Position WRITE SetPointer1Position)
    Q_PROPERTY(double Pointer2Position READ Pointer2Position WRITE SetPointer2Position)
    Q_PROPERTY(int PointerPenWidth READ PointerPenWidth WRITE SetPointerPenWidth)
    Q_PROPERTY(bool MenuUserCanChangeOptions READ MenuUserCanChangeOptions WRITE
                   SetMenuUserCanChangeOptions)
    Q_PROPERTY(
        bool MenuItemVisibleValueXY READ MenuItemVisibleValueXY WRITE SetMenuItemVisibleValueXY)
    Q_PROPERTY(bool MenuItemVisibleValueX READ MenuItemVisibleValueX WRITE SetMenuItemVisibleValueX)
    Q_PROPERTY(bool MenuItemVisibleValueY READ MenuItemVisibleValueY WRITE SetMenuItemVisibleValueY)
    Q_PROPERTY(bool MenuItemVisibleDeltaX READ MenuItemVisibleDeltaX WRITE SetMenuItemVisibleDeltaX)
    Q_PROPERTY(bool MenuItemVisibleDeltaY READ MenuItemVisibleDeltaY WRITE SetMenuItemVisibleDeltaY)
    Q_PROPERTY(bool MenuItemVisibleInverseDeltaX READ MenuItemVisibleInverseDeltaX WRITE
                   SetMenuItemVisibleInverseDeltaX)
    Q_PROPERTY(std::string MenuItemCaptionValueXY READ MenuItemCaptionValueXY WRITE
                   SetMenuItemCaptionValueXY)
    Q_PROPERTY(
        std::string MenuItemCaptionValueX READ MenuItemCaptionValueX WRITE SetMenuItemCaptionValueX)
    Q_PROPERTY(
        std::string MenuItemCaptionValueY READ MenuItemCaptionValueY WRITE SetMenuItemCaptionValueY)
    Q_PROPERTY(
        std::string MenuItemCaptionDeltaX READ MenuItemCaptionDeltaX WRITE SetMenuItemCaptionDeltaX)
    Q_PROPERTY(
        std::string MenuItemCaptionDeltaY READ MenuItemCaptionDeltaY WRITE SetMenuItemCaptionDeltaY)
    Q_PROPERTY(std::string MenuItemCaptionInverseDeltaX READ MenuItemCaptionInverseDeltaX WRITE
                   SetMenuItemCaptionInverseDeltaX)

  public:
    static constexpr TiPlotKind StaticKind = TiPlotKind::DataCursor;
    TiPlotKind Kind() const override { return StaticKind; }

    explicit TiPlotDataCursor(TiPlotHost* Host);

    // A channel's name, or "<All>" to read every channel.
    const std::string& ChannelName() const { return FChannel.Name(); }
    void SetChannelName(const std::string& Value);
    TiPlotChannelCustom* Channel();
    bool FollowsAll() const { return SameName(ChannelName(), "<All>"); }
    bool ChannelAllowAll() const { return FChannelAllowAll; }
    void SetChannelAllowAll(bool Value) { Change(FChannelAllowAll, Value); }
    // Reading "<All>" channels, the legend shows the cursor's texts.
    bool ChannelShowAllInLegend() const { return FChannelShowAllInLegend; }
    void SetChannelShowAllInLegend(bool Value) { Change(FChannelShowAllInLegend, Value); }
    TiPlotDataCursorStyle Style() const { return FStyle; }
    void SetStyle(TiPlotDataCursorStyle Value) { Change(FStyle, Value); }
    const TFont& Font() const { return FFont; }
    void SetFont(const TFont& Value) { Change(FFont, Value); }
    TColor Color() const { return FColor; }
    void SetColor(TColor Value) { Change(FColor, Value); }
    bool UseChannelColor() const { return FUseChannelColor; }
    void SetUseChannelColor(bool Value) { Change(FUseChannelColor, Value); }
    bool HintShow() const { return FHintShow; }
    void SetHintShow(bool Value) { Change(FHintShow, Value); }
    bool HintHideOnRelease() const { return FHintHideOnRelease; }
    void SetHintHideOnRelease(bool Value) { Change(FHintHideOnRelease, Value); }
    TiOrientationSide HintOrientationSide() const { return FHintOrientationSide; }
    void SetHintOrientationSide(TiOrientationSide Value) { Change(FHintOrientationSide, Value); }
    // Percent of the data view along the pointers; 0 … 100, not-a-number
    // taken as 0.
    double HintPosition() const { return FHintPosition; }
    void SetHintPosition(double Value) { Change(FHintPosition, Clamped(Value)); }
    double Pointer1Position() const { return FPointer1Position; }
    void SetPointer1Position(double Value) { Change(FPointer1Position, Clamped(Value)); }
    double Pointer2Position() const { return FPointer2Position; }
    void SetPointer2Position(double Value) { Change(FPointer2Position, Clamped(Value)); }
    // The width of a pointer that is not being dragged.
    int PointerPenWidth() const { return FPointerPenWidth; }
    void SetPointerPenWidth(int Value) { Change(FPointerPenWidth, Value); }
    bool MenuUserCanChangeOptions() const { return FMenuUserCanChangeOptions; }
    void SetMenuUserCanChangeOptions(bool Value) { Change(FMenuUserCanChangeOptions, Value); }

#define SM_CURSOR_MENU_ITEM(Name, Style)                                                           \
    bool MenuItemVisible##Name() const {                                                           \
        return FMenuItems[Style].Visible;                                                          \
    }                                                                                              \
    void SetMenuItemVisible##Name(bool Value) {                                                    \
        Change(FMenuItems[Style].Visible, Value);                                                  \
    }                                                                                              \
    const std::string& MenuItemCaption##Name() const {                                             \
        return FMenuItems[Style].Caption;                                                          \
    }                                                                                              \
    void SetMenuItemCaption##Name(const std::string& Value) {                                      \
        Change(FMenuItems[Style].Caption, Value);                                                  \
    }
    SM_CURSOR_MENU_ITEM(ValueXY, ipcsValueXY)
    SM_CURSOR_MENU_ITEM(ValueX, ipcsValueX)
    SM_CURSOR_MENU_ITEM(ValueY, ipcsValueY)
    SM_CURSOR_MENU_ITEM(DeltaX, ipcsDeltaX)
    SM_CURSOR_MENU_ITEM(DeltaY, ipcsDeltaY)
    SM_CURSOR_MENU_ITEM(InverseDeltaX, ipcsInverseDeltaX)
#undef SM_CURSOR_MENU_ITEM

    // The data view the cursor moves in; bound by the plot, not stored.
    TiPlotDataView* DataView() const;
    void SetDataView(TiPlotDataView* Value);

    // Drawn and answering the mouse: Visible, or while toolbar 0's Cursor
    // button is down (the stored design keeps the cursor hidden until then).
    bool Shown() const override;

    // The plot's events; set by the plot.
    void SetOnBeforeUpdate(std::function<void()> Handler) {
        FOnBeforeUpdate = std::move(Handler);
    }
    void SetOnChange(std::function<void()> Handler) {
        FOnChange = std::move(Handler);
    }
    void SetOnCustomizeHint(std::function<void(std::string&)> Handler) {
        FOnCustomizeHint = std::move(Handler);
    }

    // The followed channel (every channel with "<All>") measures at the
    // pointers and keeps its texts.
    void RefreshValues();
    // What the last refresh read of the followed channel: the values, the
    // status (0 a value, 1 Null, 2 Empty or out of range) and the text.
    double ValueX() const {
        return FValueX;
    }
    double ValueY() const {
        return FValueY;
    }
    int Status() const {
        return FStatus;
    }
    const std::string& Text() const {
        return FText;
    }
    // The hint box of the last paint, when it was drawn.
    bool HintDrawn() const {
        return FHintDrawn;
    }
    const TRect& HintRect() const {
        return FHintRect;
    }

    void Draw(TCanvas& Canvas, TColor BackGroundColor) override;
    bool HitTest(TPoint Point) override;
    int GetMouseCursor() override {
        return crHandPoint;
    }
    void MouseDown(TPoint Point) override;
    void MouseMove(TPoint Point) override;
    void MouseUp(TPoint Point) override;
    void KeyDown(std::uint16_t& Key, TShiftState Shift) override;
    void AddPopupItems(std::vector<TiPlotPopupItem>& Items) override;

    void ObjectFocused(TiPlotObject* Object) override;
    void ObjectNameChanged(TiPlotObject* Object) override;

  private:
    enum class TItem { None, Hint, Pointer1, Pointer2 };
    // Which pointers show and which way each item moves, by style and the
    // plot's orientation.
    struct TLayout {
        bool Shown1, Shown2;
        bool Horizontal1, Horizontal2; // a horizontal line, moving up and down
        bool HintMovesHorizontally;
    };
    static double Clamped(double Value);
    TLayout Layout() const;
    bool DeltaStyle() const;
    // The pixel of a position along an item's direction in the data view.
    int PercentPixel(double Percent, bool MovesHorizontally) const;
    double PixelPercent(int Pixel, bool MovesHorizontally) const;
    // The percentage between two neighbouring pixels of the data view.
    double PixelStep(bool MovesHorizontally) const;
    int PointerPixel(int Pointer);
    double& Position(TItem Item);
    bool MovesHorizontally(TItem Item);
    TColor PointerColor();
    void DrawPointer(TCanvas& Canvas, TItem Item, bool Horizontal, TRect& HitRect);
    bool HintVisible() const;
    void DrawHint(TCanvas& Canvas, const TLayout& L);
    TRect HintBox(TCanvas& Canvas, const TLayout& L, const std::string& Text);
    void StepKey(std::uint16_t Key, TItem Pointer, bool AlsoHint);
    void Moved();

    struct TMenuItem {
        bool Visible = true;
        std::string Caption;
    };

    TiPlotReference<TiPlotChannelCustom> FChannel;
    QPointer<TiPlotDataView> FDataView;
    bool FChannelAllowAll = true;
    bool FChannelShowAllInLegend = true;
    TiPlotDataCursorStyle FStyle = ipcsValueXY;
    TFont FFont;
    TColor FColor = 0x00FFFF;
    bool FUseChannelColor = true;
    bool FHintShow = true;
    bool FHintHideOnRelease = false;
    TiOrientationSide FHintOrientationSide = iosBottomRight;
    double FHintPosition = 50;
    double FPointer1Position = 50;
    double FPointer2Position = 60;
    int FPointerPenWidth = 1;
    bool FMenuUserCanChangeOptions = true;
    TMenuItem FMenuItems[6];

    TItem FDragging = TItem::None;
    TPoint FMouseDownPoint;
    int FDragStartPixel = 0;
    TRect FPointer1Rect, FPointer2Rect, FHintRect;
    bool FHintDrawn = false;
    double FValueX = 0, FValueY = 0;
    int FStatus = 2;
    std::string FText;
    std::function<void()> FOnBeforeUpdate, FOnChange;
    std::function<void(std::string&)> FOnCustomizeHint;
};
