// Limits on a painted plot: where their lines and bands are drawn, whether
// before or after the grid, and dragging them with the mouse in selection
// mode. The Qt application is the test program's (iPlotObjectsTest.cpp).

#include "plot/iPlotLimit.h"
#include "plot/iPlot.h"
#include "plot/iPlotAxis.h"
#include "plot/iPlotDataView.h"
#include "plot/iPlotToolBar.h"

#include "platform/Bitmap.h"

#include <QApplication>
#include <QMouseEvent>
#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr TColor Grid = 0x1B1B1B;

class LimitTest : public ::testing::Test {
  protected:
    LimitTest() {
        Plot.SetBounds(0, 0, 1000, 600);
        Paint();
        for (TiPlotAxis* Axis : {&X, &Y})
            Axis->SetTrackingEnabled(false);
        // One unit per pixel on both axes.
        X.SetMinSpan(0, X.PixelLength());
        Y.SetMinSpan(0, Y.PixelLength());
        View.SetGridLineColor(Grid);
        Limit = Plot.Limit(Plot.NewLimit());
        Paint();
    }
    void Paint() { Plot.Paint(Picture.Canvas()); }
    TColor At(double XValue, double YValue) {
        return Picture.Canvas().Pixel(X.ValueToPixel(XValue), Y.ValueToPixel(YValue));
    }
    void Mouse(QEvent::Type Type, QPoint At) {
        const Qt::MouseButtons Held =
            Type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent Event(Type, At, Plot.mapToGlobal(At), Qt::LeftButton, Held, Qt::NoModifier);
        QApplication::sendEvent(&Plot, &Event);
    }
    // Presses on X value From (at the view's middle height) and moves by DX.
    void Drag(double From, int DX) {
        const QPoint Start(X.ValueToPixel(From), Y.ValueToPixel(Y.Span() / 2));
        Mouse(QEvent::MouseButtonPress, Start);
        Mouse(QEvent::MouseMove, Start + QPoint(DX, 0));
        Mouse(QEvent::MouseButtonRelease, Start + QPoint(DX, 0));
    }

    TiPlot Plot;
    TBitmap Picture{1000, 600};
    TiPlotAxis& X = *Plot.XAxis(0);
    TiPlotAxis& Y = *Plot.YAxis(0);
    TiPlotDataView& View = *Plot.DataView(0);
    TiPlotLimit* Limit = nullptr;
};

TEST_F(LimitTest, ANewLimitIsARedHorizontalLineAtFifty) {
    EXPECT_EQ(Limit->Name(), "Limit 1");
    EXPECT_EQ(Limit->Style(), iplsLineY);
    EXPECT_EQ(Limit->Color(), clRed);
    EXPECT_EQ(Limit->XAxisName(), X.Name());
    EXPECT_EQ(At(100, 50), clRed);
    EXPECT_EQ(At(300, 50), clRed);
    EXPECT_NE(At(100, 60), clRed);
    EXPECT_TRUE(Limit->LineDrawn(0));
    EXPECT_FALSE(Limit->LineDrawn(1));
}

TEST_F(LimitTest, ALineOutsideItsAxisIsNeitherDrawnNorGrabbed) {
    Limit->SetStyle(iplsLineX);
    Limit->SetLine1Position(X.Span() + 20);
    Paint();
    EXPECT_FALSE(Limit->LineDrawn(0));
    EXPECT_FALSE(Limit->HitTest(Point(X.ValueToPixel(X.Span()), Y.ValueToPixel(50))));
    Limit->SetLine1Position(120);
    Paint();
    EXPECT_EQ(At(120, 10), clRed);
    EXPECT_TRUE(Limit->HitTest(Point(X.ValueToPixel(120) + 4, Y.ValueToPixel(50))));
}

TEST_F(LimitTest, FilledBandsLieUnderTheGridAndClearOnesOverIt) {
    Limit->SetStyle(iplsBandX);
    Limit->SetLine1Position(100);
    Limit->SetLine2Position(300);
    Limit->SetColor(clYellow);
    // A grid line at X 200, inside the band; none at Y 63.
    X.SetDesiredIncrement(200);
    Paint();
    EXPECT_TRUE(Limit->DrawnBehindGrid());
    EXPECT_EQ(At(150, 63), clYellow) << "filled";
    EXPECT_EQ(At(200, 63), Grid) << "the grid over the band";

    Limit->SetFillStyle(bsClear);
    Paint();
    EXPECT_FALSE(Limit->DrawnBehindGrid());
    EXPECT_NE(At(150, 63), clYellow) << "only the two lines";
    EXPECT_EQ(At(100, 63), clYellow);
    EXPECT_EQ(At(300, 63), clYellow);
    EXPECT_TRUE(Limit->LineDrawn(0) && Limit->LineDrawn(1));
}

TEST_F(LimitTest, DraggingInSelectionModeMovesALineAndReportsIt) {
    Limit->SetStyle(iplsBandX);
    Limit->SetLine1Position(100);
    Limit->SetLine2Position(300);
    Limit->SetUserCanMove(true);
    Paint();
    std::vector<std::vector<double>> Heard;
    Plot.SetEvent(&TiPlotEvents::OnLimitLine2PositionChange,
                  [&](int Index, double Old, double New) {
                      Heard.push_back({double(Index), Old, New});
                  });

    EXPECT_EQ(Limit->GetMouseCursor(), 0) << "not outside selection mode";
    Drag(300, 10);
    EXPECT_EQ(Limit->Line2Position(), 300) << "not outside selection mode";

    Plot.ToolBar(0)->SetSelectDown(true);
    EXPECT_EQ(Limit->GetMouseCursor(), crSizeWE);
    Drag(300, 10);
    EXPECT_EQ(Limit->Line2Position(), 310);
    EXPECT_EQ(Limit->Line1Position(), 100);
    EXPECT_EQ(Heard, (std::vector<std::vector<double>>{{0, 300, 310}}));

    Plot.SetXYAxesReverse(true);
    Paint();
    EXPECT_EQ(Limit->GetMouseCursor(), crSizeNS) << "the cursors exchange with the axes";
}

TEST_F(LimitTest, APolyBandNeedsTwoVerticesInOrder) {
    Limit->SetStyle(iplsPolyBandY);
    Limit->SetColor(clLime);
    Limit->AddPolyBandPoint(300, 40, 80);
    Paint();
    EXPECT_NE(At(200, 60), clLime) << "one vertex draws nothing";
    Limit->AddPolyBandPoint(100, 20, 60);
    Limit->AddPolyBandPoint(200, 30, 70);
    EXPECT_EQ(Limit->PolyBand().Position(1), 200) << "kept in position order";
    Paint();
    EXPECT_TRUE(Limit->DrawnBehindGrid());
    EXPECT_EQ(At(150, 45), clLime) << "between the bounds";
    EXPECT_NE(At(150, 70), clLime) << "above the high bound";
    EXPECT_EQ(Limit->GetMouseCursor(), 0);
}

} // namespace
