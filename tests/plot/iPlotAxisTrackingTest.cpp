// How an axis follows the values its channels report and the user's scroll
// and zoom. The Qt application is the test program's (iPlotObjectsTest.cpp).

#include "plot/iPlot.h"
#include "plot/iPlotAxis.h"
#include "plot/iPlotChannel.h"
#include "plot/iPlotDataView.h"
#include "tests/support/MessageOf.h"

#include "platform/Bitmap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

#include <string>
#include <utility>
#include <vector>

namespace {

using TScale = std::pair<double, double>; // Min, Span

struct TTrackingCase {
    const char* Name;
    TiPlotTrackingStyle Style;
    TiPlotAlignFirstStyle AlignFirst;
    double Min, Span, CompressMax;
    // Each value reported, with the scale expected after it.
    std::vector<std::pair<double, TScale>> Steps;
};

class Tracking : public ::testing::TestWithParam<TTrackingCase> {};

TEST_P(Tracking, FollowsEachValue) {
    const TTrackingCase& C = GetParam();
    TiPlot Plot;
    TiPlotAxis& Axis = *Plot.XAxis(0);
    Axis.SetTrackingStyle(C.Style);
    Axis.SetTrackingAlignFirstStyle(C.AlignFirst);
    Axis.SetMinSpan(C.Min, C.Span);
    Axis.SetTrackingScrollCompressMax(C.CompressMax);
    for (const auto& [Value, Scale] : C.Steps) {
        Axis.NewTrackingData(Value);
        EXPECT_EQ(TScale(Axis.Min(), Axis.Span()), Scale) << "after " << Value;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Axis, Tracking,
    ::testing::Values(
        TTrackingCase{"ScrollSmooth",
                      iptsScrollSmooth,
                      ipafsAuto,
                      0,
                      100,
                      0,
                      {{1, {0, 100}}, {100, {0, 100}}, {101, {1, 100}}, {150, {50, 100}}}},
        TTrackingCase{
            "ScrollSmoothBack", iptsScrollSmooth, ipafsNone, 50, 100, 0, {{20, {20, 100}}}},
        TTrackingCase{
            "AlignFirstMin", iptsScrollSmooth, ipafsMin, 0, 100, 0, {{7, {7, 100}}, {8, {7, 100}}}},
        TTrackingCase{"AlignFirstMax", iptsScaleMinMax, ipafsMax, 0, 100, 0, {{70, {-30, 100}}}},
        TTrackingCase{
            "AlignFirstAutoOutside", iptsScaleMinMax, ipafsAuto, 0, 100, 0, {{500, {500, 100}}}},
        TTrackingCase{
            "ScaleMinMax", iptsScaleMinMax, ipafsNone, 0, 40, 0, {{55, {0, 55}}, {-5, {-5, 55}}}},
        TTrackingCase{
            "ScaleMax", iptsScaleMax, ipafsNone, 0, 40, 0, {{55, {0, 55}}, {-5, {0, 55}}}},
        TTrackingCase{
            "ScaleMin", iptsScaleMin, ipafsNone, 0, 40, 0, {{55, {0, 40}}, {-5, {-5, 40}}}},
        TTrackingCase{"ScrollPage",
                      iptsScrollPage,
                      ipafsNone,
                      0,
                      100,
                      0,
                      {{250, {100, 100}}, {50, {0, 100}}}},
        TTrackingCase{"Compress",
                      iptsScrollSmooth,
                      ipafsNone,
                      0,
                      100,
                      200,
                      {{150, {0, 150}}, {250, {0, 250}}, {260, {60, 200}}, {270, {70, 200}}}}),
    [](const ::testing::TestParamInfo<TTrackingCase>& Info) { return Info.param.Name; });

class AxisControl : public ::testing::Test {
  protected:
    AxisControl() {
        TBitmap Picture(1000, 600);
        Plot.SetBounds(0, 0, 1000, 600);
        Plot.Paint(Picture.Canvas()); // the axes get their pixels
    }
    TScale Scale(const TiPlotAxis& A) const { return {A.Min(), A.Span()}; }

    TiPlot Plot;
    TiPlotAxis& X = *Plot.XAxis(0);
    TiPlotAxis& Y = *Plot.YAxis(0);
};

TEST_F(AxisControl, NothingTrackedWhilePaused) {
    X.SetTrackingEnabled(false);
    X.NewTrackingData(1000);
    EXPECT_EQ(Scale(X), TScale(0, 100));
}

TEST_F(AxisControl, ResumeRestoresTheScaleOfThePause) {
    X.SetMinSpan(30, 100);
    X.SetLabelsMinLength(7);
    X.SetTrackingEnabled(false);
    X.Zoom(2);
    X.SetLabelsMinLength(9);
    EXPECT_EQ(Scale(X), TScale(-20, 200));
    X.SetTrackingEnabled(true);
    EXPECT_EQ(Scale(X), TScale(30, 100));
    EXPECT_EQ(X.LabelsMinLength(), 7);

    X.SetRestoreValuesOnResume(false);
    X.SetTrackingEnabled(false);
    X.Zoom(2);
    X.SetTrackingEnabled(true);
    EXPECT_EQ(Scale(X), TScale(-20, 200)) << "kept without RestoreValuesOnResume";
}

TEST_F(AxisControl, ScrollAndZoomOperations) {
    X.SetMinSpan(40, 50);
    X.SetScrollMinMaxEnabled(true);
    X.ScrollBy(0.5);
    EXPECT_EQ(Scale(X), TScale(50, 50)) << "held at ScrollMax";
    X.ScrollBy(-2);
    EXPECT_EQ(Scale(X), TScale(0, 50)) << "held at ScrollMin";
    X.SetScrollMinMaxEnabled(false);
    X.ScrollBy(-2);
    EXPECT_EQ(Scale(X), TScale(-100, 50));

    X.SetMinSpan(0, 100);
    X.ZoomBy(1);
    EXPECT_EQ(Scale(X), TScale(45, 10)) << "a tenth about the centre";
    X.Zoom(2);
    EXPECT_EQ(Scale(X), TScale(40, 20));
    for (double Bad : {0.0, -1.0})
        EXPECT_EQ(MessageOf([&] { X.Zoom(Bad); }),
                  "Linear Scale Zoom Factor must be Greater than Zero");
    EXPECT_EQ(Scale(X), TScale(40, 20));

    Y.SetScaleType(ipstLog10);
    Y.SetMinSpan(1, 999);
    Y.Zoom(1);
    EXPECT_DOUBLE_EQ(Y.Min(), 0.1);
    EXPECT_DOUBLE_EQ(Y.Span(), 9990);
    Y.SetMinSpan(10, 990);
    Y.ScrollBy(0.5);
    EXPECT_DOUBLE_EQ(Y.Min(), 100) << "half of the two decades shown";
    EXPECT_DOUBLE_EQ(Y.Max(), 10000);
}

TEST_F(AxisControl, ZoomToRectTakesThePixelsAlongTheAxis) {
    X.SetMinSpan(0, 100);
    Y.SetMinSpan(0, 100);
    const TRect Box =
        Rect(X.ValueToPixel(20), Y.ValueToPixel(80), X.ValueToPixel(60), Y.ValueToPixel(30));
    X.ZoomToRect(Box);
    Y.ZoomToRect(Box);
    EXPECT_NEAR(X.Min(), 20, 0.2);
    EXPECT_NEAR(X.Max(), 60, 0.2);
    EXPECT_NEAR(Y.Min(), 30, 0.3);
    EXPECT_NEAR(Y.Max(), 80, 0.3);

    X.SetMinSpan(0, 100);
    X.SetReverseScale(true);
    X.ZoomToRect(Rect(X.ValueToPixel(60), 0, X.ValueToPixel(20), 0));
    EXPECT_NEAR(X.Min(), 20, 0.2);
    EXPECT_NEAR(X.Max(), 60, 0.2);
}

TEST_F(AxisControl, ZoomToFitTakesTheBoundChannels) {
    TiPlotChannelCustom& C0 = *Plot.Channel(0);
    TiPlotChannelCustom& C1 = *Plot.Channel(Plot.NewChannel());
    Y.SetTrackingEnabled(false);
    X.SetTrackingEnabled(false);
    for (int I = 0; I <= 10; ++I)
        C0.AddXY(I, 10 + I);
    C1.AddXY(5, -4);
    C1.AddXY(12, 3);
    C0.AddXY(20, 1000); // outside the X range: no part of Y's fit
    C0.SetNull(C0.Count() - 1, true);
    Y.ZoomToFit();
    EXPECT_EQ(Scale(Y), TScale(-4, 24)) << "the Y of the points in view";
    X.ZoomToFit();
    EXPECT_EQ(Scale(X), TScale(0, 12)) << "the newest and oldest good points";
    Y.ZoomToFitFast();
    EXPECT_EQ(Scale(Y), TScale(-4, 1004)) << "the statistics, Null or not";

    C1.SetYAxisName("y-AXIS 1");
    C0.SetVisible(false);
    Y.ZoomToFit();
    EXPECT_EQ(Scale(Y), TScale(-4, 7)) << "names compared in upper case; hidden channels left out";
    C1.SetMarkersVisible(true);
    C1.SetMarkersSize(10);
    Y.ZoomToFit();
    EXPECT_GT(Y.Span(), 7) << "whole markers";

    TiPlot Empty;
    Empty.YAxis(0)->ZoomToFit();
    EXPECT_EQ(Scale(*Empty.YAxis(0)), TScale(0, 100)) << "nothing to fit";
}

// Over tens of thousands of points the Y extremes come from the summary
// index: the same fit as a walk through the good points, markers and a
// wrapped ring included.
TEST_F(AxisControl, ZoomToFitOverManyPointsIsTheWalksFit) {
    TiPlotChannelCustom& C = *Plot.Channel(0);
    Y.SetTrackingEnabled(false);
    X.SetTrackingEnabled(false);
    for (const bool Markers : {false, true}) {
        C.Clear();
        C.SetRingBufferSize(Markers ? 30000 : 0);
        C.SetMarkersVisible(Markers);
        C.SetMarkersSize(4);
        for (int I = 0; I < 50000; ++I) {
            C.AddXY(I, std::sin(I * 0.37) * (I % 101));
            if (I % 97 == 0)
                C.SetNull(C.Count() - 1, true);
            if (I % 89 == 0)
                C.SetEmpty(C.Count() - 1, true);
        }
        X.SetMinSpan(-1, 60000);
        Y.SetMinSpan(0, 1);
        double Low = 1e300, High = -1e300;
        const double Half =
            Markers ? std::abs(Y.PixelToValue(2 * C.MarkersSize()) - Y.PixelToValue(0)) / 2 : 0;
        for (int I = 0; I < C.Count(); ++I)
            if (!C.GetNull(I) && !C.GetEmpty(I)) {
                High = std::max(High, C.GetY(I) + Half);
                Low = std::min(Low, C.GetY(I) - Half);
            }
        Y.ZoomToFit();
        EXPECT_EQ(Y.Min(), Low) << Markers;
        EXPECT_EQ(Y.Span(), High - Low) << Markers;
    }
}

TEST_F(AxisControl, ChannelsReportTheirValuesAndMarkers) {
    TiPlotChannelCustom& C = *Plot.Channel(0);
    Y.SetTrackingStyle(iptsScaleMinMax);
    Y.SetMinSpan(0, 40);
    C.AddXY(150, 55);
    EXPECT_EQ(Scale(X), TScale(150, 100)) << "the first value outside aligns the X axis";
    EXPECT_EQ(Scale(Y), TScale(0, 55));

    C.SetMarkersVisible(true);
    // Half a marker in values of the scale the value meets.
    const double Half = std::abs(Y.PixelToValue(2 * C.MarkersSize()) - Y.PixelToValue(0)) / 2;
    EXPECT_GT(Half, 0);
    C.AddXY(160, 70);
    EXPECT_NEAR(Y.Max(), 70 + Half, 1e-9) << "the marker stays in view";

    C.SetYAxisName("none");
    C.AddXY(170, 1000); // no Y axis: nothing reported, nothing fails
    EXPECT_NEAR(Y.Max(), 70 + Half, 1e-9);
    EXPECT_EQ(MessageOf([&] { C.MarkerYHigh(0); }), "Y-Axis not assigned");
    C.SetNull(0, true);
    EXPECT_EQ(MessageOf([&] { C.MarkerXHigh(0); }), "Data Point Null");
}

TEST_F(AxisControl, MouseWheelAndKeys) {
    struct TCase {
        const char* Name;
        std::function<void()> Act;
        TScale Expected;
    } Cases[] = {
        {"wheel scrolls 5 percent", [&] { X.MouseWheel(120, {}, {}); }, {5, 100}},
        {"wheel back", [&] { X.MouseWheel(-120, {}, {}); }, {-5, 100}},
        {"Ctrl wheel zooms about the centre",
         [&] { X.MouseWheel(120, {ssCtrl}, {}); },
         {50 - 50 / std::pow(10, 0.025), 100 / std::pow(10, 0.025)}},
        {"Page Up a whole span",
         [&] {
             std::uint16_t Key = VK_PRIOR;
             X.KeyDown(Key, {});
         },
         {100, 100}},
        {"Home back a span",
         [&] {
             std::uint16_t Key = VK_HOME;
             X.KeyDown(Key, {});
         },
         {-100, 100}},
        {"Right one percent",
         [&] {
             std::uint16_t Key = VK_RIGHT;
             X.KeyDown(Key, {});
         },
         {1, 100}},
        {"drag right by half the axis scrolls back half a span",
         [&] {
             const int Y0 = X.Box().Top;
             X.MouseDown(Point(X.Box().Left, Y0));
             X.MouseMove(Point(X.Box().Left + X.PixelLength() / 2, Y0));
             X.MouseUp(Point(X.Box().Left + X.PixelLength() / 2, Y0));
         },
         {-50, 100}},
    };
    for (const TCase& C : Cases) {
        X.SetTrackingEnabled(true);
        X.SetMinSpan(0, 100);
        C.Act();
        EXPECT_NEAR(X.Min() + X.Span() / 2, C.Expected.first + C.Expected.second / 2, 1e-9)
            << C.Name;
        EXPECT_NEAR(X.Span(), C.Expected.second, 1e-9) << C.Name;
        EXPECT_FALSE(X.TrackingEnabled()) << C.Name << ": the user took over";
    }
    X.SetTrackingEnabled(true);
    EXPECT_TRUE(X.MouseWheel(0, {}, {}));
    EXPECT_TRUE(X.TrackingEnabled()) << "no turn, no pause";
    X.SetMouseMode(TiPlotAxisMouseMode::Zoom);
    X.SetTrackingEnabled(true);
    X.SetMinSpan(0, 100);
    std::uint16_t Key = VK_PRIOR;
    X.KeyDown(Key, {});
    EXPECT_DOUBLE_EQ(X.Span(), 10) << "Page Up zooms in tenfold in zoom mode";
}

TEST_F(AxisControl, PopupItems) {
    std::vector<TiPlotPopupItem> Items{{"Edit...", false, true, nullptr}};
    X.AddPopupItems(Items);
    ASSERT_EQ(Items.size(), 4u);
    EXPECT_EQ(Items[0].Caption, "Tracking Enabled");
    EXPECT_TRUE(Items[0].Checked);
    EXPECT_EQ(Items[1].Caption, "Update Resume Values");
    EXPECT_FALSE(Items[1].Enabled) << "tracking is on";
    EXPECT_EQ(Items[2].Caption, "Zoom to Fit");
    EXPECT_EQ(Items[3].Caption, "Edit...");

    Items[0].OnClick();
    EXPECT_FALSE(X.TrackingEnabled());
    X.ScrollBy(1);
    Items.clear();
    X.AddPopupItems(Items);
    EXPECT_FALSE(Items[0].Checked);
    ASSERT_TRUE(Items[1].Enabled) << "paused and moved";
    Items[1].OnClick();
    X.SetTrackingEnabled(true);
    EXPECT_EQ(Scale(X), TScale(100, 100)) << "resumes where the values were updated";
}

} // namespace
