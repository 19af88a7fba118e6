#pragma once
// The rectangle the channels are drawn in: its background, grid and frame,
// and the mouse and wheel inside it turned into scroll and zoom of the axes.

#include "plot/iPlotAxis.h"
#include "plot/iPlotObjects.h"
#include "plot/iPlotReference.h"

#include "platform/GraphicsObjects.h"

#include <cstdint>
#include <functional>

namespace iPlotDataView {
Q_NAMESPACE

enum TiPlotGridLineStyle : std::uint8_t { ipglsSolid, ipglsDash, ipglsDot };
Q_ENUM_NS(TiPlotGridLineStyle)

enum TiPlotAxesControlStyle : std::uint8_t { ipacsXAxis, ipacsYAxis, ipacsBoth };
Q_ENUM_NS(TiPlotAxesControlStyle)

} // namespace iPlotDataView

using namespace iPlotDataView;

// What a press in the data view does, by the toolbar's buttons.
enum class TiPlotViewMode : std::uint8_t { None, ZoomBox, Select, AxesControl };

// One kind of grid lines (X or Y majors or minors) as its custom switch and
// values give it.
struct TiPlotCustomGridLines {
    bool Custom = false;
    TColor Color = 0x008000;
    int Width = 0;
    TiPlotGridLineStyle Style = ipglsSolid;
};

#define SM_CUSTOM_GRID_LINES(Name, Field)                                                          \
    bool GridLine##Name##Custom() const {                                                          \
        return Field.Custom;                                                                       \
    }                                                                                              \
    void SetGridLine##Name##Custom(bool Value) {                                                   \
        Change(Field.Custom, Value);                                                               \
    }                                                                                              \
    TColor GridLine##Name##Color() const {                                                         \
        return Field.Color;                                                                        \
    }                                                                                              \
    void SetGridLine##Name##Color(TColor Value) {                                                  \
        Change(Field.Color, Value);                                                                \
    }                                                                                              \
    int GridLine##Name##Width() const {                                                            \
        return Field.Width;                                                                        \
    }                                                                                              \
    void SetGridLine##Name##Width(int Value) {                                                     \
        Change(Field.Width, Value);                                                                \
    }                                                                                              \
    TiPlotGridLineStyle GridLine##Name##Style() const {                                            \
        return Field.Style;                                                                        \
    }                                                                                              \
    void SetGridLine##Name##Style(TiPlotGridLineStyle Value) {                                     \
        Change(Field.Style, Value);                                                                \
    }

class TiPlotDataView : public TiPlotLayoutObject {
    Q_OBJECT
    Q_PROPERTY(std::string Title READ Title WRITE SetTitle)
    Q_PROPERTY(bool BackgroundTransparent READ BackgroundTransparent WRITE SetBackgroundTransparent)
    Q_PROPERTY(TColor BackgroundColor READ BackgroundColor WRITE SetBackgroundColor)
    Q_PROPERTY(bool GridShow READ GridShow WRITE SetGridShow)
    Q_PROPERTY(bool AxesControlEnabled READ AxesControlEnabled WRITE SetAxesControlEnabled)
    Q_PROPERTY(TiPlotAxesControlStyle AxesControlWheelStyle READ AxesControlWheelStyle WRITE
                   SetAxesControlWheelStyle)
    Q_PROPERTY(TiPlotAxesControlStyle AxesControlMouseStyle READ AxesControlMouseStyle WRITE
                   SetAxesControlMouseStyle)
    Q_PROPERTY(std::string GridYAxisName READ GridYAxisName WRITE SetGridYAxisName)
    Q_PROPERTY(std::string GridXAxisName READ GridXAxisName WRITE SetGridXAxisName)
    Q_PROPERTY(TColor GridLineColor READ GridLineColor WRITE SetGridLineColor)
    Q_PROPERTY(bool GridLineShowLeft READ GridLineShowLeft WRITE SetGridLineShowLeft)
    Q_PROPERTY(bool GridLineShowTop READ GridLineShowTop WRITE SetGridLineShowTop)
    Q_PROPERTY(bool GridLineShowRight READ GridLineShowRight WRITE SetGridLineShowRight)
    Q_PROPERTY(bool GridLineShowBottom READ GridLineShowBottom WRITE SetGridLineShowBottom)
    Q_PROPERTY(bool GridLineShowXMajors READ GridLineShowXMajors WRITE SetGridLineShowXMajors)
    Q_PROPERTY(bool GridLineShowXMinors READ GridLineShowXMinors WRITE SetGridLineShowXMinors)
    Q_PROPERTY(bool GridLineShowYMajors READ GridLineShowYMajors WRITE SetGridLineShowYMajors)
    Q_PROPERTY(bool GridLineShowYMinors READ GridLineShowYMinors WRITE SetGridLineShowYMinors)
    Q_PROPERTY(
        TiPlotGridLineStyle GridLineMajorStyle READ GridLineMajorStyle WRITE SetGridLineMajorStyle)
    Q_PROPERTY(
        TiPlotGridLineStyle GridLineMinorStyle READ GridLineMinorStyle WRITE SetGridLineMinorStyle)
    Q_PROPERTY(bool GridLineXMajorCustom READ GridLineXMajorCustom WRITE SetGridLineXMajorCustom)
    Q_PROPERTY(TColor GridLineXMajorColor READ GridLineXMajorColor WRITE SetGridLineXMajorColor)
    Q_PROPERTY(int GridLineXMajorWidth READ GridLineXMajorWidth WRITE SetGridLineXMajorWidth)
    Q_PROPERTY(TiPlotGridLineStyle GridLineXMajorStyle READ GridLineXMajorStyle WRITE
                   SetGridLineXMajorStyle)
    Q_PROPERTY(bool GridLineXMinorCustom READ GridLineXMinorCustom WRITE SetGridLineXMinorCustom)
    Q_PROPERTY(TColor GridLineXMinorColor READ GridLineXMinorColor WRITE SetGridLineXMinorColor)
    Q_PROPERTY(int GridLineXMinorWidth READ GridLineXMinorWidth WRITE SetGridLineXMinorWidth)
    Q_PROPERTY(TiPlotGridLineStyle GridLineXMinorStyle READ GridLineXMinorStyle WRITE
                   SetGridLineXMinorStyle)
    Q_PROPERTY(bool GridLineYMajorCustom READ GridLineYMajorCustom WRITE SetGridLineYMajorCustom)
    Q_PROPERTY(TColor GridLineYMajorColor READ GridLineYMajorColor WRITE SetGridLineYMajorColor)
    Q_PROPERTY(int GridLineYMajorWidth READ GridLineYMajorWidth WRITE SetGridLineYMajorWidth)
    Q_PROPERTY(TiPlotGridLineStyle GridLineYMajorStyle READ GridLineYMajorStyle WRITE
                   SetGridLineYMajorStyle)
    Q_PROPERTY(bool GridLineYMinorCustom READ GridLineYMinorCustom WRITE SetGridLineYMinorCustom)
    Q_PROPERTY(TColor GridLineYMinorColor READ GridLineYMinorColor WRITE SetGridLineYMinorColor)
    Q_PROPERTY(int GridLineYMinorWidth READ GridLineYMinorWidth WRITE SetGridLineYMinorWidth)
    Q_PROPERTY(TiPlotGridLineStyle GridLineYMinorStyle READ GridLineYMinorStyle WRITE
                   SetGridLineYMinorStyle)

  public:
    static constexpr TiPlotKind StaticKind = TiPlotKind::DataView;
    TiPlotKind Kind() const override { return StaticKind; }

    // May change the rectangle of a zoom box, or cancel it.
    using TBeforeZoomBoxEvent = std::function<void(TRect& ZoomRect, bool& Cancel)>;

    explicit TiPlotDataView(TiPlotHost* Host);

    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& Value) { Change(FTitle, Value); }
    bool BackgroundTransparent() const { return FBackgroundTransparent; }
    void SetBackgroundTransparent(bool Value) { Change(FBackgroundTransparent, Value); }
    TColor BackgroundColor() const { return FBackgroundColor; }
    void SetBackgroundColor(TColor Value) { Change(FBackgroundColor, Value); }
    bool GridShow() const { return FGridShow; }
    void SetGridShow(bool Value) { Change(FGridShow, Value); }
    bool AxesControlEnabled() const { return FAxesControlEnabled; }
    void SetAxesControlEnabled(bool Value) { Change(FAxesControlEnabled, Value); }
    TiPlotAxesControlStyle AxesControlWheelStyle() const { return FAxesControlWheelStyle; }
    void SetAxesControlWheelStyle(TiPlotAxesControlStyle Value) {
        Change(FAxesControlWheelStyle, Value);
    }
    TiPlotAxesControlStyle AxesControlMouseStyle() const { return FAxesControlMouseStyle; }
    void SetAxesControlMouseStyle(TiPlotAxesControlStyle Value) {
        Change(FAxesControlMouseStyle, Value);
    }
    // "<ALL>", in any case, draws the grid of every axis of the kind.
    const std::string& GridXAxisName() const { return FGridAxes.XName(); }
    void SetGridXAxisName(const std::string& Value) { ReferenceChanged(FGridAxes.SetXName(Value)); }
    const std::string& GridYAxisName() const { return FGridAxes.YName(); }
    void SetGridYAxisName(const std::string& Value) { ReferenceChanged(FGridAxes.SetYName(Value)); }
    // The grid's axes, looked up by name on first use; none when missing.
    TiPlotAxis* GridXAxis() { return FGridAxes.X(); }
    TiPlotAxis* GridYAxis() { return FGridAxes.Y(); }
    TColor GridLineColor() const { return FGridLineColor; }
    void SetGridLineColor(TColor Value) { Change(FGridLineColor, Value); }
    bool GridLineShowLeft() const { return FShowLeft; }
    void SetGridLineShowLeft(bool Value) { Change(FShowLeft, Value); }
    bool GridLineShowTop() const { return FShowTop; }
    void SetGridLineShowTop(bool Value) { Change(FShowTop, Value); }
    bool GridLineShowRight() const { return FShowRight; }
    void SetGridLineShowRight(bool Value) { Change(FShowRight, Value); }
    bool GridLineShowBottom() const { return FShowBottom; }
    void SetGridLineShowBottom(bool Value) { Change(FShowBottom, Value); }
    bool GridLineShowXMajors() const { return FShowXMajors; }
    void SetGridLineShowXMajors(bool Value) { Change(FShowXMajors, Value); }
    bool GridLineShowXMinors() const { return FShowXMinors; }
    void SetGridLineShowXMinors(bool Value) { Change(FShowXMinors, Value); }
    bool GridLineShowYMajors() const { return FShowYMajors; }
    void SetGridLineShowYMajors(bool Value) { Change(FShowYMajors, Value); }
    bool GridLineShowYMinors() const { return FShowYMinors; }
    void SetGridLineShowYMinors(bool Value) { Change(FShowYMinors, Value); }
    TiPlotGridLineStyle GridLineMajorStyle() const { return FMajorStyle; }
    void SetGridLineMajorStyle(TiPlotGridLineStyle Value) { Change(FMajorStyle, Value); }
    TiPlotGridLineStyle GridLineMinorStyle() const { return FMinorStyle; }
    void SetGridLineMinorStyle(TiPlotGridLineStyle Value) { Change(FMinorStyle, Value); }
    SM_CUSTOM_GRID_LINES(XMajor, FXMajor)
    SM_CUSTOM_GRID_LINES(XMinor, FXMinor)
    SM_CUSTOM_GRID_LINES(YMajor, FYMajor)
    SM_CUSTOM_GRID_LINES(YMinor, FYMinor)

    void SetOnBeforeZoomBox(TBeforeZoomBoxEvent Handler) { FOnBeforeZoomBox = std::move(Handler); }

    // Select, else Zoom Box, held down on toolbar 0; else axes control when
    // enabled.
    TiPlotViewMode ViewMode();

    // Under everything drawn inside the data view.
    void PaintBackground(TCanvas& Canvas);
    // Grid, frame, focus and zoom box.
    void Draw(TCanvas& Canvas, TColor BackGroundColor) override;

    // Percent of the width from the left, of the height from the bottom.
    int PercentToPixelX(double Percent) const;
    int PercentToPixelY(double Percent) const;
    double PixelToPercentX(int X) const;
    double PixelToPercentY(int Y) const;

    void MouseDown(TPoint Point) override;
    void MouseMove(TPoint Point) override;
    void MouseUp(TPoint Point) override;
    bool MouseWheel(int WheelDelta, TShiftState Shift, TPoint Point) override;
    int GetMouseCursor() override;
    // The zoom box being drawn, while the button is down in zoom box mode.
    bool ZoomBoxShowing() { return FViewPressed && ViewMode() == TiPlotViewMode::ZoomBox; }
    TRect ZoomBox() const { return Rect(FZoomStart.X, FZoomStart.Y, FZoomEnd.X, FZoomEnd.Y); }
    // Every X and Y axis zooms to the rectangle, unless the plot's handler
    // cancels it.
    void ApplyZoomBox(TRect Rect);

    void ObjectNameChanged(TiPlotObject* Object) override;
    void ObjectFocused(TiPlotObject* Object) override;

  private:
    // The grid lines of one kind, by its custom switch or the common values.
    TiPlotGridLines GridLines(const TiPlotCustomGridLines& Custom, TiPlotGridLineStyle Common,
                              bool Show) const;
    // The grid of the named axis, or of every axis of the kind for "<ALL>".
    void DrawAxesGrid(TCanvas& Canvas, TiPlotKind Kind, const TiPlotGridLines& Majors,
                      const TiPlotGridLines& Minors);
    void DrawFrame(TCanvas& Canvas);
    // Calls Action for every X axis (when X) and every Y axis (when Y).
    template <typename TAction> void ForEachAxis(bool X, bool Y, TAction Action);

    std::string FTitle;
    bool FBackgroundTransparent = true;
    TColor FBackgroundColor = 0x808000;
    bool FGridShow = true;
    bool FAxesControlEnabled = false;
    TiPlotAxesControlStyle FAxesControlWheelStyle = ipacsXAxis;
    TiPlotAxesControlStyle FAxesControlMouseStyle = ipacsBoth;
    TiPlotAxisReferences FGridAxes;
    TColor FGridLineColor = 0x008000;
    bool FShowLeft = true, FShowTop = true, FShowRight = true, FShowBottom = true;
    bool FShowXMajors = true, FShowXMinors = false, FShowYMajors = true, FShowYMinors = false;
    TiPlotGridLineStyle FMajorStyle = ipglsSolid, FMinorStyle = ipglsSolid;
    TiPlotCustomGridLines FXMajor, FXMinor, FYMajor, FYMinor;

    bool FViewPressed = false;
    TPoint FZoomStart{}, FZoomEnd{};
    bool FAxesDecided = false;
    bool FAxesToX = false;
    TBeforeZoomBoxEvent FOnBeforeZoomBox;
};

#undef SM_CUSTOM_GRID_LINES
