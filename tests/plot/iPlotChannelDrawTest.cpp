// The channels' drawing on a painted plot: trace styles, clipping, markers
// and the pixel-column reduction of the fast trace. The Qt application is
// the test program's (iPlotObjectsTest.cpp).

#include "plot/iPlot.h"
#include "plot/iPlotAxis.h"
#include "plot/iPlotChannel.h"
#include "plot/iPlotDataView.h"
#include "plot/iPlotInterpolation.h"
#include "plot/iPlotLegend.h"

#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Exception.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <random>
#include <vector>

namespace {

constexpr TColor Trace = clRed;

// Keeps the shapes drawn on it, for counting lines and markers.
struct TRecords {
    struct TLine {
        TPoint From, To;
    };
    std::vector<TLine> Lines;
    std::vector<TRect> Ellipses, Rectangles;
    int Polygons = 0;
};

class TRecorder : public TCanvas, public TRecords {
  public:
    TDeviceTechnology Technology() const override { return dtRasDisplay; }
    TRect DeviceRect() const override { return {0, 0, 1000, 600}; }
    void FillRect(const TRect&) override {}
    void Polygon(std::span<const TPoint>) override { ++Polygons; }
    void Polyline(std::span<const TPoint> Points) override {
        for (std::size_t I = 1; I < Points.size(); ++I)
            Lines.push_back({Points[I - 1], Points[I]});
    }
    void Rectangle(const TRect& R) override { Rectangles.push_back(R); }
    using TCanvas::Rectangle;
    void Ellipse(const TRect& R) override { Ellipses.push_back(R); }
    using TCanvas::Ellipse;
    void SetPixel(int, int, TColor) override {}
    TColor Pixel(int, int) const override { return CLR_INVALID; }
    void TextOut(int, int, const std::string&) override {}
    void DrawFocusRect(const TRect&) override {}

  protected:
    void ClipChanged() override {}
    void DrawImage(const TRect&, const QImage&, const TRect&) override {}
};

class ChannelDraw : public ::testing::Test {
  protected:
    ChannelDraw() {
        Plot.SetBounds(0, 0, 1000, 600);
        Channel.SetXAxisTrackingEnabled(false);
        Channel.SetYAxisTrackingEnabled(false);
        X.SetMinSpan(0, 100);
        Y.SetMinSpan(0, 100);
    }
    void Paint() { Plot.Paint(Picture.Canvas()); }
    bool IsTrace(TPoint P) { return Picture.Canvas().Pixel(P.X, P.Y) == Trace; }
    // A trace pixel at P or beside it: sloped lines round either way.
    bool NearTrace(TPoint P) {
        for (int D = -1; D <= 1; ++D)
            if (IsTrace(Point(P.X + D, P.Y)) || IsTrace(Point(P.X, P.Y + D)))
                return true;
        return false;
    }
    // The screen pixel of a value pair, as the channel orients it.
    TPoint At(double VX, double VY) {
        const int PX = X.ValueToPixel(VX), PY = Y.ValueToPixel(VY);
        return Plot.XYAxesReverse() ? Point(PY, PX) : Point(PX, PY);
    }
    // Paints, then records the channel's drawing alone.
    TRecords Record(TiPlotChannelCustom& Which) {
        Paint();
        TRecorder R;
        Which.Draw(R, clBlack);
        return static_cast<const TRecords&>(R);
    }
    void Add(std::initializer_list<std::pair<double, double>> Points) {
        for (auto [VX, VY] : Points)
            Channel.AddXY(VX, VY);
    }

    TiPlot Plot;
    TBitmap Picture{1000, 600};
    TiPlotChannel& Channel = static_cast<TiPlotChannel&>(*Plot.Channel(0));
    TiPlotAxis& X = *Plot.XAxis(0);
    TiPlotAxis& Y = *Plot.YAxis(0);
};

TEST(CubicSpline, ThroughThePointsWithTheEndChordsAsSlopes) {
    const TiPlotCubicSpline S({0, 1, 2}, {0, 10, 0});
    EXPECT_NEAR(S(0), 0, 1e-12);
    EXPECT_NEAR(S(1), 10, 1e-12);
    EXPECT_NEAR(S(2), 0, 1e-12);
    const double H = 1e-6;
    EXPECT_NEAR((S(H) - S(0)) / H, 10, 1e-4);
    EXPECT_NEAR((S(2) - S(2 - H)) / H, -10, 1e-4);
    EXPECT_GT(S(0.5), 5) << "bends above the chord";

    const TiPlotCubicSpline Chord({2, 6}, {1, 9});
    for (double V : {2.0, 3.0, 4.5, 6.0})
        EXPECT_NEAR(Chord(V), 1 + 2 * (V - 2), 1e-12) << V;

    try {
        TiPlotCubicSpline({0, 1, 1, 2}, {0, 1, 2, 3});
        FAIL() << "equal X accepted";
    } catch (const Exception& E) {
        EXPECT_STREQ(E.what(), "Splint Error - xa's must be distinct");
    }
}

TEST(Interpolation, PolynomialAndRationalThroughTheirSamples) {
    const std::vector<double> XA{0, 1, 2, 4}, YA{1, 3, 2, 5};
    for (std::size_t I = 0; I < XA.size(); ++I) {
        EXPECT_NEAR(iPlotPolynomialInterpolate(XA, YA, XA[I]), YA[I], 1e-9) << I;
        EXPECT_NEAR(iPlotRationalInterpolate(XA, YA, XA[I]), YA[I], 1e-9) << I;
    }
    // The cubic through four points of y = x^3 is that cubic.
    const std::vector<double> Cube{0, 1, 8, 27};
    EXPECT_NEAR(iPlotPolynomialInterpolate(std::vector<double>{0, 1, 2, 3}, Cube, 2.5), 15.625,
                1e-9);
    // A rational function of matching degree is reproduced.
    const std::vector<double> RX{1, 2, 3}, RY{1, 0.5, 1.0 / 3};
    EXPECT_NEAR(iPlotRationalInterpolate(RX, RY, 2.5), 0.4, 1e-9);

    try {
        iPlotPolynomialInterpolate(std::vector<double>{1, 1}, std::vector<double>{0, 1}, 0.5);
        FAIL() << "equal X accepted";
    } catch (const Exception& E) {
        EXPECT_STREQ(E.what(), "Polynomial Interpolation Error - Pause in Routine Data");
    }
}

TEST_F(ChannelDraw, OneVisiblePointDrawsItsMarkerButNoLine) {
    Channel.SetMarkersVisible(true);
    Add({{50, 50}});
    for (bool Fast : {true, false}) {
        Channel.SetFastDrawEnabled(Fast);
        const TRecords R = Record(Channel);
        EXPECT_TRUE(R.Lines.empty()) << Fast;
        ASSERT_EQ(R.Ellipses.size(), 1u) << Fast;
        const TPoint C = At(50, 50);
        EXPECT_EQ(R.Ellipses[0], Rect(C.X - 3, C.Y - 3, C.X + 3, C.Y + 3));
    }
}

TEST_F(ChannelDraw, SplinePassesThroughItsPointsAndRecordsItsColumns) {
    X.SetMinSpan(0, 2);
    Y.SetMinSpan(-5, 20);
    Channel.SetInterpolationStyle(ipistCubicSpline);
    Add({{0, 0}, {1, 10}, {2, 0}});
    Paint();
    for (auto [VX, VY] : {std::pair(0.0, 0.0), {1.0, 10.0}, {2.0 - 2.0 / 900, 0.0}}) {
        const TPoint P = At(VX, VY);
        bool Near = false;
        for (int D = -1; D <= 1; ++D)
            Near = Near || IsTrace(Point(P.X, P.Y + D));
        EXPECT_TRUE(Near) << VX;
    }
    const auto& List = Channel.PixelList();
    const int Middle = X.ValueToPixel(1) - Channel.PixelListFirst();
    ASSERT_FALSE(List[Middle].Empty);
    EXPECT_NEAR(List[Middle].Y, 10, 0.01);
    EXPECT_GT(Channel.PixelListLast(), Channel.PixelListFirst());
}

TEST_F(ChannelDraw, NullSplitsASplineAndEmptyIsLeftOut) {
    X.SetMinSpan(0, 6);
    Channel.SetInterpolationStyle(ipistCubicSpline);
    for (int I = 0; I <= 6; ++I)
        Channel.AddXY(I, 50 + 10 * (I % 2));
    struct TCase {
        bool Null;
        bool GapAtThree;
    } Cases[] = {{true, true}, {false, false}};
    for (const TCase& C : Cases) {
        Channel.SetNull(3, C.Null);
        Channel.SetEmpty(3, !C.Null);
        Paint();
        const int Column = X.ValueToPixel(3) - Channel.PixelListFirst();
        EXPECT_EQ(Channel.PixelList()[Column].Empty, C.GapAtThree) << C.Null;
        EXPECT_FALSE(Channel.PixelList()[X.ValueToPixel(1) - Channel.PixelListFirst()].Empty);
        EXPECT_FALSE(Channel.PixelList()[X.ValueToPixel(5) - Channel.PixelListFirst()].Empty);
        if (!C.Null) { // the neighbours are joined through X = 3
            EXPECT_NEAR(Channel.PixelList()[Column].Y, 50, 10);
        }
    }
}

TEST_F(ChannelDraw, EqualXInASplineRunStopsOnlyThatChannel) {
    Channel.SetInterpolationStyle(ipistCubicSpline);
    Channel.SetMarkersVisible(true);
    Add({{10, 10}, {20, 20}, {20, 30}, {30, 10}});
    auto& Other = static_cast<TiPlotChannel&>(*Plot.Channel(Plot.NewChannel()));
    Other.SetXAxisTrackingEnabled(false);
    Other.SetYAxisTrackingEnabled(false);
    Other.SetColor(clLime);
    Other.AddXY(0, 80);
    Other.AddXY(100, 80);
    Paint();
    EXPECT_EQ(Picture.Canvas().Pixel(At(50, 80).X, At(50, 80).Y), clLime);
    EXPECT_FALSE(IsTrace(At(10, 10))) << "the markers after the trace are not drawn";
    TRecorder R;
    EXPECT_NO_THROW(Channel.Draw(R, clBlack));
    EXPECT_TRUE(R.Ellipses.empty());
    Channel.SetInterpolationStyle(ipistStraightLine);
    EXPECT_FALSE(Record(Channel).Ellipses.empty()) << "the next paint draws again";
}

// A run beside the X axis has no columns in view; the runs after it and
// the markers still draw.
TEST_F(ChannelDraw, SplineRunOutsideTheAxisIsPassedOver) {
    Channel.SetInterpolationStyle(ipistCubicSpline);
    Channel.SetMarkersVisible(true);
    X.SetMinSpan(50, 50);
    Add({{0, 10}, {10, 20}, {20, 10}, {30, 0}, {60, 40}, {70, 60}, {80, 40}});
    Channel.SetNull(3, true);
    const TRecords R = Record(Channel);
    EXPECT_EQ(R.Ellipses.size(), 3u);
    EXPECT_TRUE(NearTrace(At(70, 60)));
}

// Percent levels are percent of the Y axis for the fill too.
TEST_F(ChannelDraw, DigitalFillReachesPercentLevels) {
    X.SetMinSpan(-1, 6);
    Y.SetMinSpan(0, 1000);
    Channel.SetDigitalEnabled(true);
    Channel.SetDigitalReferenceStyle(ipdrPercent);
    Channel.SetFillEnabled(true);
    for (double V : {1, 1, 1})
        Channel.AddXY(Channel.Count(), V);
    Paint();
    EXPECT_TRUE(IsTrace(At(1, 500))) << "filled up to 90 percent";
    EXPECT_FALSE(IsTrace(At(1, 950)));
}

// 1000 points in 10 neighbouring columns, 100 each; column 4 flat.
TEST_F(ChannelDraw, FastTraceDrawsOneLinePerColumnAndOneJoinBetween) {
    Paint();
    const int First = X.ValueToPixel(40);
    std::mt19937 Random(7);
    for (int C = 0; C < 10; ++C)
        for (int K = 0; K < 100; ++K) {
            const double V = X.PixelToValue(First + C - 0.4 + 0.8 * K / 100.0);
            ASSERT_EQ(X.ValueToPixel(V), First + C);
            Channel.AddXY(V, C == 4 ? 50 : 20 + Random() % 60);
        }
    const TRecords R = Record(Channel);
    int Joins = 0, Verticals = 0;
    for (const TRecords::TLine& L : R.Lines)
        (L.From.X == L.To.X ? Verticals : Joins)++;
    EXPECT_EQ(Joins, 9);
    EXPECT_EQ(Verticals, 9) << "none for the flat column";
    for (const TRecords::TLine& L : R.Lines)
        if (L.From.X == L.To.X) {
            EXPECT_NE(L.From.X, First + 4) << "flat column";
        }
}

struct TStepCase {
    const char* Name;
    bool Swap;
    TiPlotInterpolationStyle Style;
};

class Steps : public ChannelDraw, public ::testing::WithParamInterface<TStepCase> {};

TEST_P(Steps, LevelRiseAndContinuation) {
    const TStepCase& C = GetParam();
    Plot.SetXYAxesReverse(C.Swap);
    Y.SetMinSpan(0, 10);
    Channel.SetInterpolationStyle(C.Style);
    Add({{0, 1}, {10, 5}});
    Paint();
    EXPECT_TRUE(IsTrace(At(5, 1))) << "level at 1";
    EXPECT_TRUE(IsTrace(At(0, 1)));
    EXPECT_TRUE(IsTrace(At(10, 3))) << "rise at 10";
    EXPECT_FALSE(IsTrace(At(5, 5)));
    const bool Continues = C.Style == ipistDifferential;
    EXPECT_EQ(IsTrace(At(50, 5)), Continues);
    EXPECT_EQ(IsTrace(At(99, 5)), Continues);
}

INSTANTIATE_TEST_SUITE_P(
    Styles, Steps,
    ::testing::Values(TStepCase{"Differential", false, ipistDifferential},
                      TStepCase{"Terminated", false, ipistDifferentialTerminated},
                      TStepCase{"DifferentialSwapped", true, ipistDifferential},
                      TStepCase{"TerminatedSwapped", true, ipistDifferentialTerminated}),
    [](const auto& Info) { return std::string(Info.param.Name); });

TEST_F(ChannelDraw, DigitalTraceIsASquareWave) {
    X.SetMinSpan(-1, 6);
    Channel.SetDigitalEnabled(true);
    Channel.SetInterpolationStyle(ipistCubicSpline); // ignored
    for (double V : {0, 0, 1, 1, 0})
        Channel.AddXY(Channel.Count(), V);
    Paint();
    EXPECT_TRUE(IsTrace(At(1, 10))) << "low from 0 to 2";
    EXPECT_TRUE(IsTrace(At(2, 50))) << "rise at 2";
    EXPECT_TRUE(IsTrace(At(3, 90))) << "high from 2 to 4";
    EXPECT_TRUE(IsTrace(At(4, 50))) << "fall at 4";
    EXPECT_FALSE(IsTrace(At(1, 90)));
    EXPECT_FALSE(IsTrace(At(3, 10)));
    EXPECT_FALSE(IsTrace(At(4.5, 10))) << "a last point alone draws nothing";

    Channel.SetDigitalReferenceStyle(ipdrPercent);
    Y.SetMinSpan(0, 1000);
    Paint();
    EXPECT_TRUE(IsTrace(At(3, 900))) << "percent of the height";
}

TEST_F(ChannelDraw, MarkersTurnOffAboveTheLimit) {
    Channel.SetMarkersVisible(true);
    Channel.SetMarkersTurnOffLimit(50);
    for (int I = 0; I < 100; ++I)
        Channel.AddXY(I, 50);
    struct TCase {
        double Span;
        bool Markers;
    } Cases[] = {{48.5, true}, {49.5, true}, {50.5, false}, {99, false}};
    for (const TCase& C : Cases) {
        X.SetMinSpan(0.5, C.Span); // the range takes one point beyond each end
        const TRecords R = Record(Channel);
        EXPECT_EQ(!R.Ellipses.empty(), C.Markers) << C.Span;
    }
    Channel.SetMarkersTurnOffLimit(0);
    EXPECT_EQ(Record(Channel).Ellipses.size(), 99u) << "every point in range";
}

TEST_F(ChannelDraw, ClippedSegmentStartsWhereItEntersTheAxis) {
    Paint();
    struct TCase {
        double X1, Y1, X2, Y2;
        bool Drawn;
        double FromX, FromY, ToX, ToY;
    } Cases[] = {
        {-10, 0, 10, 20, true, 0, 10, 10, 20},     {10, 20, -10, 0, true, 0, 10, 10, 20},
        {90, 50, 110, 250, true, 90, 50, 95, 100}, {-20, 0, -10, 20, false, 0, 0, 0, 0},
        {10, 120, 20, 130, false, 0, 0, 0, 0},     {-10, 50, 110, 50, true, 0, 50, 100, 50},
    };
    for (const TCase& C : Cases) {
        TRecorder R;
        Channel.DrawClippedLine(R, false, C.X1, C.Y1, C.X2, C.Y2);
        ASSERT_EQ(R.Lines.size(), C.Drawn ? 1u : 0u) << C.X1 << "," << C.Y1;
        if (!C.Drawn)
            continue;
        EXPECT_EQ(R.Lines[0].From, At(C.FromX, C.FromY)) << C.X1 << "," << C.Y1;
        EXPECT_EQ(R.Lines[0].To, At(C.ToX, C.ToY)) << C.X1 << "," << C.Y1;
    }
}

TEST_F(ChannelDraw, LegendSampleIsAtMostSix) {
    Channel.SetMarkersVisible(true);
    Channel.SetMarkersSize(10);
    TRecorder R;
    Channel.DrawMarker(R, -1, Point(50, 50));
    EXPECT_EQ(R.Ellipses.at(0), Rect(44, 44, 56, 56));
    Channel.SetMarkersSize(4);
    Channel.DrawMarker(R, -1, Point(50, 50));
    EXPECT_EQ(R.Ellipses.at(1), Rect(46, 46, 54, 54));

    // The legend's marker column shows the sample.
    const auto RedInLegend = [&] {
        Paint();
        const TRect L = Plot.Legend(0)->LayoutRect();
        int N = 0;
        for (int Y0 = L.Top; Y0 < L.Bottom; ++Y0)
            for (int X0 = L.Left; X0 < L.Right; ++X0)
                N += Picture.Canvas().Pixel(X0, Y0) == Trace;
        return N;
    };
    const int LineOnly = RedInLegend();
    Plot.Legend(0)->SetShowColumnMarker(true);
    const int Size4 = RedInLegend() - LineOnly;
    Channel.SetMarkersSize(6);
    const int Size6 = RedInLegend() - LineOnly;
    Channel.SetMarkersSize(10);
    EXPECT_GT(Size4, 40);
    EXPECT_GT(Size6, Size4);
    EXPECT_EQ(RedInLegend() - LineOnly, Size6);
}

// The box of a shape's pixels around (20, 20) with size 3.
TEST(MarkerShapes, PixelsOfEachShape) {
    TiPlot Plot;
    auto& Channel = *Plot.Channel(0);
    Channel.SetMarkersVisible(true);
    Channel.SetMarkersBrushStyle(bsClear);
    struct TCase {
        TiPlotMarkerStyle Style;
        TRect Box; // inclusive
    } Cases[] = {
        {ipmsCircle, {17, 17, 22, 22}},         {ipmsSquare, {17, 17, 22, 22}},
        {ipmsDiamond, {17, 17, 23, 23}},        {ipmsCross, {18, 17, 23, 23}},
        {ipmsPlus, {18, 18, 23, 23}},           {ipmsTriangleUp, {17, 20, 23, 23}},
        {ipmsTriangleDown, {17, 17, 23, 20}},   {ipmsTriangleLeft, {20, 17, 23, 23}},
        {ipmsTriangleRight, {17, 17, 20, 23}},  {ipmsVerticalLine, {20, 17, 20, 22}},
        {ipmsHorizontalLine, {17, 20, 22, 20}},
    };
    for (const TCase& C : Cases) {
        TBitmap Picture(40, 40);
        Picture.Canvas().Brush().SetColor(clBlack);
        Picture.Canvas().FillRect(Rect(0, 0, 40, 40));
        Channel.SetMarkersStyle(C.Style);
        Channel.DrawMarker(Picture.Canvas(), 0, Point(20, 20));
        TRect Box{40, 40, -1, -1};
        for (int Y = 0; Y < 40; ++Y)
            for (int X = 0; X < 40; ++X)
                if (Picture.Canvas().Pixel(X, Y) == Trace)
                    Box = {std::min(Box.Left, X), std::min(Box.Top, Y), std::max(Box.Right, X),
                           std::max(Box.Bottom, Y)};
        EXPECT_EQ(Box, C.Box) << int(C.Style);
    }
}

// The fast trace without its shortcuts: every point's column converted.
void DrawPlainFastTrace(TiPlotChannel& C, TCanvas& Canvas, bool Swap) {
    TiPlotAxis& XA = *C.XAxis();
    TiPlotMinMaxPoint P, Q, R;
    const auto Flush = [&] {
        if (!P.Empty && P.Max != P.Min)
            C.DrawClippedLine(Canvas, Swap, P.X, P.Min, P.X, P.Max);
        if (!Q.Empty && Q.Max != Q.Min)
            C.DrawClippedLine(Canvas, Swap, Q.X, Q.Min, Q.X, Q.Max);
        if (!P.Empty && !Q.Empty)
            C.DrawClippedLine(Canvas, Swap, P.X, P.Last, Q.X, Q.First);
        if (!Q.Empty && !R.Empty)
            C.DrawClippedLine(Canvas, Swap, Q.X, Q.Last, R.X, R.First);
    };
    if (C.VisibleStart() == C.VisibleStop())
        return;
    for (int I = C.VisibleStart(); I <= C.VisibleStop(); ++I) {
        double VX, VY;
        bool Null, Empty;
        C.Data().GetPoint(I, VX, Null, Empty, VY);
        if (Empty)
            continue;
        if (Null) {
            Flush();
            P.Reset();
            Q.Reset();
            R.Reset();
            continue;
        }
        const int Col = XA.ValueToPixel(VX);
        if (P.Empty || Col == P.XPixel)
            P.Add(Col, VX, VY);
        else if (Q.Empty || Col == Q.XPixel)
            Q.Add(Col, VX, VY);
        else {
            R.Add(Col, VX, VY);
            Flush();
            P.Assign(R);
            Q.Reset();
            R.Reset();
        }
    }
    Flush();
}

struct TFastCase {
    int Count;
    double Min, Span;
    bool Swap;
    TiPlotScaleType Scale;
    int Ring = 0; // a ring of this size, wrapped by the points beyond it
    // One point in so many has a Null, an Empty or an X moved by up to
    // Moved (none at 0); beyond 0.5 X steps back.
    int NullEvery = 50, EmptyEvery = 40, MovedXEvery = 3;
    TiPlotDataStyle Style = ipdsStandard;
    double Moved = 0.3;
};

void PrintTo(const TFastCase& C, std::ostream* Out) {
    *Out << C.Count << " points in " << C.Min << " + " << C.Span << ", ring " << C.Ring
         << ", style " << int(C.Style) << ", Null, Empty, moved X every " << C.NullEvery << ", "
         << C.EmptyEvery << ", " << C.MovedXEvery;
}

class FastTrace : public ChannelDraw {
  protected:
    // InView: the case is made to show the trace.
    void ExpectItsPlainRendering(const TFastCase& C, bool InView = true) {
        SCOPED_TRACE(::testing::PrintToString(C));
        std::uniform_real_distribution<double> Noise(-0.3, 0.3), Move(-C.Moved, C.Moved);
        const auto OneIn = [&](int N) { return N > 0 && Random() % unsigned(N) == 0; };
        Channel.SetDataStyle(C.Style);
        Channel.Clear();
        Channel.SetRingBufferSize(C.Ring);
        Plot.SetXYAxesReverse(C.Swap);
        X.SetScaleType(C.Scale);
        X.SetMinSpan(C.Min, C.Span);
        Y.SetMinSpan(-1.2, 2.4);
        for (int I = 0; I < C.Count; ++I) {
            const double V = I + (OneIn(C.MovedXEvery) ? Move(Random) : 0);
            Channel.AddXY(V, std::sin(I * 0.01) + Noise(Random) * (I % 7));
            const int Newest = Channel.Count() - 1;
            if (OneIn(C.NullEvery))
                Channel.SetNull(Newest, true);
            if (OneIn(C.EmptyEvery))
                Channel.SetEmpty(Newest, true);
        }
        Paint();
        const TRect& V = Plot.DataView(0)->LayoutRect();
        TBitmap Fast(1000, 600), Plain(1000, 600);
        for (TBitmap* B : {&Fast, &Plain}) {
            B->Canvas().Brush().SetColor(clBlack);
            B->Canvas().FillRect(Rect(0, 0, 1000, 600));
            B->Canvas().IntersectClipRect(Rect(V.Left, V.Top, V.Right + 1, V.Bottom + 1));
        }
        Channel.DrawTrace(Fast.Canvas(), C.Swap);
        Channel.DrawTrace(Plain.Canvas(), C.Swap); // sets the pen
        Plain.Canvas().FillRect(Rect(0, 0, 1000, 600));
        Plain.Canvas().Pen().SetColor(Trace);
        DrawPlainFastTrace(Channel, Plain.Canvas(), C.Swap);
        EXPECT_TRUE(Fast.Image() == Plain.Image());
        if (!InView)
            return;
        int Drawn = 0;
        for (int Y0 = V.Top; Y0 <= V.Bottom; Y0 += 3)
            for (int X0 = V.Left; X0 <= V.Right; X0 += 3)
                Drawn += Fast.Canvas().Pixel(X0, Y0) == Trace;
        EXPECT_GT(Drawn, 10) << "the trace is in view";
    }

    std::mt19937 Random{11};
};

TEST_F(FastTrace, MatchesItsPlainRendering) {
    const TFastCase Cases[] = {{300, 0, 300, false, ipstLinear},
                               {20000, 0, 20000, false, ipstLinear},
                               {20000, 3000.3, 777, true, ipstLinear},
                               {100000, 0, 100000, true, ipstLinear},
                               {5000, 1, 5000, false, ipstLog10},
                               {50000, -5, 1e4, false, ipstLinear},
                               {30000, 10000, 20000, false, ipstLinear, 17777}};
    for (const TFastCase& C : Cases)
        ExpectItsPlainRendering(C);
}

// Hundreds of points per column, where the summary index answers for a
// column unless it holds Null or Empty points or an X that steps back:
// random ranges of X, rings, styles and rates of such points.
TEST_F(FastTrace, FromTheSummaryIndexMatchesItsPlainRendering) {
    const TiPlotDataStyle Styles[] = {ipdsStandard, ipdsCompact, ipdsCompactInterval,
                                      ipdsFullFeature};
    const int Rates[] = {0, 0, 300, 5000};
    std::mt19937 Choose(5);
    const auto Pick = [&](int N) { return int(Choose() % unsigned(N)); };
    for (int K = 0; K < 14; ++K) {
        TFastCase C{100000 + Pick(500000), 0, 0, Pick(4) == 0,
                    Pick(6) == 0 ? ipstLog10 : ipstLinear};
        const double Known = C.Count; // about the X range of the points kept
        C.Span = Known * (0.02 + 1.1 * std::uniform_real_distribution<double>()(Choose));
        C.Min = Known * (std::uniform_real_distribution<double>(-0.1, 1)(Choose)) - C.Span / 2;
        if (C.Scale == ipstLog10)
            C.Min = 1 + Pick(1000);
        C.Ring = Pick(3) == 0 ? C.Count / 2 + Pick(C.Count / 2) : 0;
        C.NullEvery = Rates[Pick(4)];
        C.EmptyEvery = Rates[Pick(4)];
        C.MovedXEvery = Rates[Pick(4)];
        C.Style = Styles[Pick(4)];
        C.Moved = C.Count / 1000.0; // about a column's width
        ExpectItsPlainRendering(C, false);
    }
}

TEST_F(ChannelDraw, ReversedAxesDrawTheTraceTransposed) {
    Channel.SetMarkersVisible(true);
    Channel.SetMarkersStyle(ipmsSquare);
    Add({{20, 30}, {60, 70}});
    for (bool Swap : {false, true}) {
        Plot.SetXYAxesReverse(Swap);
        Paint();
        EXPECT_TRUE(NearTrace(At(40, 50))) << Swap;
        EXPECT_TRUE(IsTrace(At(60, 70))) << Swap;
        EXPECT_FALSE(IsTrace(At(40, 70))) << Swap;
        const TPoint M = At(20, 30);
        EXPECT_TRUE(IsTrace(Point(M.X - 3, M.Y - 3))) << Swap << ": the marker's corner";
    }
}

// A page of every trace style and marker shape, written when
// SM_TRACE_STYLES_PNG names the file.
TEST(TraceStylesPage, Written) {
    const char* File = std::getenv("SM_TRACE_STYLES_PNG");
    if (!File)
        GTEST_SKIP() << "SM_TRACE_STYLES_PNG not set";
    constexpr int W = 400, H = 260;
    TBitmap Page(4 * W, 6 * H);
    int Cell = 0;
    const auto Place = [&](TiPlot& Plot) {
        TBitmap One(W, H);
        Plot.Paint(One.Canvas());
        Page.Canvas().Draw(Cell % 4 * W, Cell / 4 * H, One);
        ++Cell;
    };
    const auto Setup = [](TiPlot& Plot, const std::string& Title) {
        Plot.SetBounds(0, 0, W, H);
        auto& C = static_cast<TiPlotChannel&>(*Plot.Channel(0));
        C.SetTitleText(Title);
        C.SetXAxisTrackingEnabled(false);
        C.SetYAxisTrackingEnabled(false);
        Plot.XAxis(0)->SetMinSpan(-0.5, 10);
        Plot.YAxis(0)->SetMinSpan(-1.5, 3);
        return &C;
    };
    const char* Styles[] = {"Straight", "Spline",       "Polynomial", "Rational",
                            "Steps",    "Steps ending", "Digital",    "Fill",
                            "Bars",     "Open-close",   "Candles",    "Reversed"};
    for (int S = 0; S < 12; ++S) {
        TiPlot Plot;
        TiPlotChannel* C = Setup(Plot, Styles[S]);
        if (S < 6)
            C->SetInterpolationStyle(TiPlotInterpolationStyle(S));
        C->SetDigitalEnabled(S == 6);
        C->SetFillEnabled(S == 7);
        C->SetFillColor(clNavy);
        C->SetFillUseChannelColor(false);
        C->SetBarEnabled(S == 8);
        C->SetBarWidth(0.6);
        C->SetHighLowEnabled(S == 9 || S == 10);
        C->SetHighLowStyle(S == 10 ? iphlsCandleStick : iphlsOpenClose);
        Plot.SetXYAxesReverse(S == 11);
        if (S == 6)
            Plot.YAxis(0)->SetMinSpan(0, 100);
        if (S == 9 || S == 10)
            C->SetDataStyle(ipdsFullFeature);
        for (int I = 0; I < 10; ++I)
            C->AddXY(I, S == 6 ? (I / 2) % 2 : std::sin(I * 0.8));
        // The channel offers no setters for these values; the page needs some.
        auto& Data = const_cast<TiPlotDataCustomList&>(C->Data());
        if (S == 9 || S == 10)
            for (int I = 0; I < 10; ++I) {
                const double Mid = std::sin(I * 0.8);
                Data.SetHigh(I, Mid + 0.5);
                Data.SetLow(I, Mid - 0.5);
                Data.SetOpen(I, Mid + (I % 2 ? 0.3 : -0.3));
                Data.SetClose(I, Mid - (I % 2 ? 0.3 : -0.3));
            }
        Place(Plot);
    }
    for (int M = 0; M <= int(ipmsHorizontalLine); ++M) {
        TiPlot Plot;
        TiPlotChannel* C = Setup(Plot, "Marker");
        C->SetMarkersVisible(true);
        C->SetMarkersStyle(TiPlotMarkerStyle(M));
        C->SetMarkersSize(5);
        C->SetMarkersBrushColor(clYellow);
        C->SetMarkersBrushUseChannelColor(false);
        Plot.Legend(0)->SetShowColumnMarker(true);
        for (int I = 0; I < 10; ++I)
            C->AddXY(I, std::sin(I * 0.8));
        Place(Plot);
    }
    ASSERT_TRUE(Page.Image().save(File));
}

} // namespace
