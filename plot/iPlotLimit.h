#pragma once
// A limit line or band drawn in the data view.

#include "plot/iPlotDataCustomList.h"
#include "plot/iPlotObjects.h"
#include "plot/iPlotReference.h"

#include "platform/GraphicsObjects.h"

#include <cstdint>
#include <functional>

namespace iPlotLimit {
Q_NAMESPACE

// X kinds mark positions on the X axis, Y kinds on the Y axis.
enum TiPlotLimitStyle : std::uint8_t {
    iplsLineX,
    iplsLineY,
    iplsBandX,
    iplsBandY,
    iplsPolyBandX,
    iplsPolyBandY
};
Q_ENUM_NS(TiPlotLimitStyle)

} // namespace iPlotLimit

using namespace iPlotLimit;

class TiPlotLimit : public TiPlotObject {
    Q_OBJECT
    Q_PROPERTY(TiPlotLimitStyle Style READ Style WRITE SetStyle)
    Q_PROPERTY(TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(int LineWidth READ LineWidth WRITE SetLineWidth)
    Q_PROPERTY(TPenStyle LineStyle READ LineStyle WRITE SetLineStyle)
    Q_PROPERTY(TBrushStyle FillStyle READ FillStyle WRITE SetFillStyle)
    Q_PROPERTY(std::string XAxisName READ XAxisName WRITE SetXAxisName)
    Q_PROPERTY(std::string YAxisName READ YAxisName WRITE SetYAxisName)
    Q_PROPERTY(double Line1Position READ Line1Position WRITE SetLine1Position)
    Q_PROPERTY(double Line2Position READ Line2Position WRITE SetLine2Position)
    Q_PROPERTY(bool UserCanMove READ UserCanMove WRITE SetUserCanMove)

  public:
    static constexpr TiPlotKind StaticKind = TiPlotKind::Limit;
    TiPlotKind Kind() const override { return StaticKind; }

    explicit TiPlotLimit(TiPlotHost* Host);

    TiPlotLimitStyle Style() const { return FStyle; }
    void SetStyle(TiPlotLimitStyle Value) { Change(FStyle, Value); }
    TColor Color() const { return FColor; }
    void SetColor(TColor Value) { Change(FColor, Value); }
    int LineWidth() const { return FLineWidth; }
    void SetLineWidth(int Value) { Change(FLineWidth, Value); }
    TPenStyle LineStyle() const { return FLineStyle; }
    void SetLineStyle(TPenStyle Value) { Change(FLineStyle, Value); }
    TBrushStyle FillStyle() const { return FFillStyle; }
    void SetFillStyle(TBrushStyle Value) { Change(FFillStyle, Value); }
    const std::string& XAxisName() const { return FAxes.XName(); }
    void SetXAxisName(const std::string& Value) { ReferenceChanged(FAxes.SetXName(Value)); }
    const std::string& YAxisName() const { return FAxes.YName(); }
    void SetYAxisName(const std::string& Value) { ReferenceChanged(FAxes.SetYName(Value)); }
    TiPlotAxis* XAxis() { return FAxes.X(); }
    TiPlotAxis* YAxis() { return FAxes.Y(); }
    // In units of the axis the limit marks; a change is reported to the
    // plot with the old and the new value.
    double Line1Position() const { return FLinePositions[0]; }
    void SetLine1Position(double Value) { SetLinePosition(0, Value); }
    double Line2Position() const { return FLinePositions[1]; }
    void SetLine2Position(double Value) { SetLinePosition(1, Value); }
    // The lines follow the mouse while toolbar 0 is in selection mode.
    bool UserCanMove() const { return FUserCanMove; }
    void SetUserCanMove(bool Value) { Change(FUserCanMove, Value); }

    // The vertices of the poly-band styles, by ascending position.
    const TiLimitDataList& PolyBand() const { return FPolyBand; }
    // Adds a vertex in its place by position (after those at the same one).
    void AddPolyBandPoint(double Position, double Low, double High);
    void ClearPolyBand();

    // The plot's report of a moved line: line 1 or 2, old and new value.
    using TPositionChangeEvent = std::function<void(int Line, double OldValue, double NewValue)>;
    void SetOnPositionChange(TPositionChangeEvent Handler) {
        FOnPositionChange = std::move(Handler);
    }

    void ObjectNameChanged(TiPlotObject* Object) override;
    void ObjectFocused(TiPlotObject* Object) override;
    void Draw(TCanvas& Canvas, TColor BackGroundColor) override;
    bool HitTest(TPoint Point) override;
    int GetMouseCursor() override;
    void MouseDown(TPoint Point) override;
    void MouseMove(TPoint Point) override;
    void MouseUp(TPoint Point) override;

    // Filled bands go under the grid, so that its lines stay visible.
    bool DrawnBehindGrid() const;
    // What the last Draw drew of lines 1 and 2, and where they are grabbed.
    bool LineDrawn(int Line) const { return FLines[Line].Drawn; }
    const TRect& GrabRect(int Line) const { return FLines[Line].Grab; }

  private:
    struct TLine {
        bool Drawn = false;
        bool Dragging = false;
        TRect Grab;
    };
    // The geometry of one paint: positions on one axis, lines across the
    // other, in pixels; points are built as (along, across) and exchanged
    // as the screen needs.
    struct TFrame {
        TiPlotAxis* Along;
        TiPlotAxis* Across;
        int AcrossMin, AcrossMax;
        bool Exchange;
        TPoint At(int Position, int AcrossPixel) const {
            return Exchange ? Point(AcrossPixel, Position) : Point(Position, AcrossPixel);
        }
    };
    bool XKind() const;
    void SetLinePosition(int Line, double Value);
    TFrame Frame(TiPlotAxis* Along, TiPlotAxis* Across) const;
    void SetPen(TCanvas& Canvas, TPenStyle Style, int Width) const;
    void SetGrab(const TFrame& F, int Line, int Position);
    void DrawLine(TCanvas& Canvas, const TFrame& F, int Line, int Position);
    void DrawBand(TCanvas& Canvas, const TFrame& F);
    void DrawPolyBand(TCanvas& Canvas, const TFrame& F);

    TiPlotLimitStyle FStyle = iplsLineY;
    TColor FColor = clRed;
    int FLineWidth = 0;
    TPenStyle FLineStyle = psSolid;
    TBrushStyle FFillStyle = bsSolid;
    TiPlotAxisReferences FAxes;
    double FLinePositions[2] = {50, 50};
    bool FUserCanMove = false;
    TiLimitDataList FPolyBand;
    TPoint FMouseDownPoint;
    double FPositionAtPress = 0;
    TLine FLines[2];
    TPositionChangeEvent FOnPositionChange;
};
