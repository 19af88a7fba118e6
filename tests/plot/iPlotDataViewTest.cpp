// The data view of a painted plot: its grid and frame, and what a press, a
// drag and the wheel inside it do to the axes. The Qt application is the
// test program's (iPlotObjectsTest.cpp).

#include "plot/iPlotDataView.h"
#include "plot/iPlot.h"
#include "plot/iPlotAxis.h"
#include "plot/iPlotToolBar.h"

#include "platform/Bitmap.h"
#include "platform/Canvas.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

constexpr TColor Grid = 1776411;

class DataView : public ::testing::Test {
  protected:
    DataView() {
        Plot.SetBounds(0, 0, 1000, 600);
        View.SetGridLineColor(Grid);
        Paint();
    }
    void Paint() { Plot.Paint(Picture.Canvas()); }
    TColor Pixel(int X, int Y) { return Picture.Canvas().Pixel(X, Y); }
    // A major tick of the axis well inside the data view.
    int MajorPixel(const TiPlotAxis& Axis) const {
        const TRect& B = Axis.Box();
        const int From = Axis.Horizontal() ? B.Left : B.Top;
        const int To = Axis.Horizontal() ? B.Right : B.Bottom;
        for (const TiPlotTick& Tick : Axis.Ticks())
            if (!Tick.Minor && Tick.Visible && Tick.Pixel > From + 5 && Tick.Pixel < To - 5)
                return Tick.Pixel;
        ADD_FAILURE() << "no major tick inside";
        return 0;
    }
    std::pair<double, double> Scale(const TiPlotAxis& A) const { return {A.Min(), A.Span()}; }
    void Drag(TPoint From, TPoint To, TShiftState Shift = {}) {
        View.SetShiftState(Shift);
        for (TiPlotObject* Axis : {static_cast<TiPlotObject*>(&X), static_cast<TiPlotObject*>(&Y)})
            Axis->SetShiftState(Shift);
        View.MouseDown(From);
        View.MouseMove(To);
        View.MouseUp(To);
    }

    TiPlot Plot;
    TBitmap Picture{1000, 600};
    TiPlotDataView& View = *Plot.DataView(0);
    TiPlotAxis& X = *Plot.XAxis(0);
    TiPlotAxis& Y = *Plot.YAxis(0);
    const TRect& R = View.LayoutRect();
};

TEST_F(DataView, GridLinesAtTheTicksAndTheFrame) {
    const int Column = MajorPixel(X), Row = MajorPixel(Y);
    EXPECT_EQ(Pixel(Column, R.Top + 3), Grid);
    EXPECT_EQ(Pixel(Column, R.Bottom - 3), Grid);
    EXPECT_EQ(Pixel(R.Left + 3, Row), Grid);
    EXPECT_NE(Pixel(Column + 1, R.Top + 3), Grid) << "width 0 is one pixel";
    for (TPoint Frame : {Point(R.Left, R.Top + 7), Point(R.Right, R.Top + 7),
                         Point(R.Left + 7, R.Top), Point(R.Left + 7, R.Bottom)})
        EXPECT_EQ(Pixel(Frame.X, Frame.Y), Grid) << Frame.X << "," << Frame.Y;

    View.SetGridYAxisName("no such axis");
    Paint();
    EXPECT_NE(Pixel(R.Left + 3, Row), Grid) << "no horizontal lines without the axis";
    EXPECT_EQ(Pixel(R.Left, Row), Grid) << "the frame stays";

    View.SetGridShow(false);
    Paint();
    EXPECT_NE(Pixel(Column, R.Top + 3), Grid);
    EXPECT_NE(Pixel(R.Left, R.Top + 7), Grid);
}

TEST_F(DataView, AllAxesOfAKindDrawTheirGrid) {
    TiPlotAxis& Second = *Plot.XAxis(Plot.NewXAxis());
    Second.SetMinSpan(3, 7); // ticks between the first axis' ones
    Second.SetGridLinesVisible(true);
    Paint();
    const int Column = MajorPixel(Second);
    ASSERT_NE(Pixel(Column, R.Top + 3), Grid) << "only the named axis draws";
    View.SetGridXAxisName("<all>");
    Paint();
    EXPECT_EQ(Pixel(MajorPixel(Second), R.Top + 3), Grid);
    EXPECT_EQ(Pixel(MajorPixel(X), R.Top + 3), Grid);
}

TEST_F(DataView, CustomMajorLinesOfOneDirection) {
    View.SetGridLineXMajorCustom(true);
    View.SetGridLineXMajorWidth(3);
    View.SetGridLineXMajorColor(clYellow);
    Paint();
    const int Column = MajorPixel(X), Row = MajorPixel(Y);
    for (int Dx = -1; Dx <= 1; ++Dx)
        EXPECT_EQ(Pixel(Column + Dx, R.Top + 20), clYellow) << Dx;
    EXPECT_EQ(Pixel(R.Left + 20, Row), Grid);
    EXPECT_NE(Pixel(R.Left + 20, Row + 1), Grid) << "the other direction keeps width 0";
}

TEST_F(DataView, PercentOfItsRectangle) {
    EXPECT_EQ(View.PercentToPixelY(0), R.Bottom);
    EXPECT_EQ(View.PercentToPixelY(100), R.Top);
    EXPECT_EQ(View.PercentToPixelX(0), R.Left);
    EXPECT_EQ(View.PercentToPixelX(100), R.Right);
    EXPECT_DOUBLE_EQ(View.PixelToPercentX(R.Right), 100);
    EXPECT_DOUBLE_EQ(View.PixelToPercentY(R.Bottom), 0);
    EXPECT_NEAR(View.PixelToPercentY(View.PercentToPixelY(30)), 30, 100.0 / (R.Bottom - R.Top));
}

TEST_F(DataView, ModeByToolBarAndAxesControl) {
    TiPlotToolBar& Bar = *Plot.ToolBar(0);
    struct TCase {
        bool Select, ZoomBox, AxesControl;
        TiPlotViewMode Mode;
        int Cursor;
    } Cases[] = {{false, false, false, TiPlotViewMode::None, crDefault},
                 {false, false, true, TiPlotViewMode::AxesControl, crHandPoint},
                 {false, true, true, TiPlotViewMode::ZoomBox, crDrag},
                 {true, true, true, TiPlotViewMode::Select, crDefault}};
    for (const TCase& C : Cases) {
        Bar.SetSelectDown(C.Select);
        Bar.SetZoomBoxDown(C.ZoomBox);
        View.SetAxesControlEnabled(C.AxesControl);
        EXPECT_EQ(View.ViewMode(), C.Mode) << int(C.Mode);
        EXPECT_EQ(View.GetMouseCursor(), C.Cursor) << int(C.Mode);
    }
}

TEST_F(DataView, DragsAndWheelMoveTheAxesOnlyUnderAxesControl) {
    const TPoint Middle = Point((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
    Drag(Middle, Point(Middle.X + 50, Middle.Y + 50));
    EXPECT_FALSE(View.MouseWheel(120, {}, Middle)) << "not handled";
    EXPECT_EQ(Scale(X), std::pair(0.0, 100.0));
    EXPECT_EQ(Scale(Y), std::pair(0.0, 100.0));

    View.SetAxesControlEnabled(true);
    struct TCase {
        const char* Name;
        TiPlotAxesControlStyle Style;
        TShiftState Shift;
        TPoint To;
        bool XMoves, YMoves;
    } Cases[] = {
        {"both at once", ipacsBoth, {}, Point(Middle.X + 5, Middle.Y + 2), true, true},
        {"Shift locks to the first wide move",
         ipacsBoth,
         {ssShift},
         Point(Middle.X + 5, Middle.Y + 2),
         true,
         false},
        {"the vertical wins", ipacsBoth, {ssShift}, Point(Middle.X + 5, Middle.Y + 5), false, true},
        {"X style", ipacsXAxis, {}, Point(Middle.X + 5, Middle.Y + 5), true, false},
        {"X style with Shift",
         ipacsXAxis,
         {ssShift},
         Point(Middle.X + 5, Middle.Y + 5),
         false,
         true},
        {"Y style", ipacsYAxis, {}, Point(Middle.X + 5, Middle.Y + 5), false, true},
    };
    for (const TCase& C : Cases) {
        X.SetMinSpan(0, 100);
        Y.SetMinSpan(0, 100);
        View.SetAxesControlMouseStyle(C.Style);
        Drag(Middle, C.To, C.Shift);
        EXPECT_EQ(X.Min() != 0, C.XMoves) << C.Name;
        EXPECT_EQ(Y.Min() != 0, C.YMoves) << C.Name;
        if (C.XMoves) {
            EXPECT_LT(X.Min(), 0) << C.Name << ": the scale follows the mouse";
        }
    }

    struct TWheel {
        TiPlotAxesControlStyle Style;
        TShiftState Shift;
        bool XMoves, YMoves;
    } Wheels[] = {{ipacsXAxis, {}, true, false},
                  {ipacsXAxis, {ssShift}, false, true},
                  {ipacsYAxis, {}, false, true},
                  {ipacsBoth, {ssShift}, true, true}};
    for (const TWheel& W : Wheels) {
        X.SetMinSpan(0, 100);
        Y.SetMinSpan(0, 100);
        View.SetAxesControlWheelStyle(W.Style);
        EXPECT_TRUE(View.MouseWheel(120, W.Shift, Middle));
        EXPECT_EQ(Scale(X) == std::pair(5.0, 100.0), W.XMoves) << int(W.Style);
        EXPECT_EQ(Scale(Y) == std::pair(5.0, 100.0), W.YMoves) << int(W.Style);
    }
}

TEST_F(DataView, ZoomBoxDrawnTowardsTheLowerRight) {
    Plot.ToolBar(0)->SetZoomBoxDown(true);
    const TPoint From = Point(X.ValueToPixel(20), Y.ValueToPixel(80));
    const TPoint To = Point(X.ValueToPixel(60), Y.ValueToPixel(30));
    View.MouseDown(From);
    View.MouseMove(To);
    EXPECT_TRUE(View.ZoomBoxShowing());
    Paint();
    EXPECT_NE(Pixel(From.X + 10, From.Y), Pixel(From.X + 10, From.Y + 5)) << "the box is drawn";

    TRect Asked{};
    bool CancelIt = true;
    Plot.SetEvent(&TiPlotEvents::OnBeforeZoomBox, [&](TRect& Box, bool& Cancel) {
        Asked = Box;
        Cancel = CancelIt;
    });
    View.MouseUp(To);
    EXPECT_EQ(Asked, Rect(From.X, From.Y, To.X, To.Y));
    EXPECT_EQ(Scale(X), std::pair(0.0, 100.0)) << "cancelled";

    CancelIt = false;
    Drag(To, From); // towards the upper left
    EXPECT_EQ(Scale(X), std::pair(0.0, 100.0)) << "a box drawn the other way zooms nothing";
    Drag(From, To);
    EXPECT_NEAR(X.Min(), 20, 0.2);
    EXPECT_NEAR(X.Max(), 60, 0.2);
    EXPECT_NEAR(Y.Min(), 30, 0.3);
    EXPECT_NEAR(Y.Max(), 80, 0.3);
    EXPECT_FALSE(View.ZoomBoxShowing());
}

TEST_F(DataView, FocusGoesWhenAnotherObjectTakesIt) {
    View.SetFocused(true);
    View.ObjectFocused(&View);
    EXPECT_TRUE(View.Focused());
    View.ObjectFocused(&X);
    EXPECT_FALSE(View.Focused());
}

} // namespace
