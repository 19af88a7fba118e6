// The axis as an object of the plot: its properties, the mapping it keeps
// current, its measures for the layout and its pixels. The Qt application
// the canvas needs is the test program's (iPlotObjectsTest.cpp).

#include "plot/iPlotAxis.h"
#include "plot/iPlotLabel.h"

#include "platform/Bitmap.h"
#include "platform/Canvas.h"

#include <QVariant>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A plot that only counts what its objects tell it.
class TCountingHost : public TiPlotHost {
  public:
    TiPlotObject* FindObject(TiPlotKind, const std::string&) override { return nullptr; }
    std::vector<TiPlotObject*> Objects(TiPlotKind) override { return {}; }
    void ObjectInserted(TiPlotObject*) override {}
    void ObjectChanged(TiPlotObject*) override { ++Changes; }
    void LayoutChanged(TiPlotObject*) override { ++LayoutChanges; }
    void ObjectRenamed(TiPlotObject*) override {}
    void ObjectRemoving(TiPlotObject*) override {}
    void FocusChanged(TiPlotObject*) override {}
    void SetHint(const std::string& Text, TPoint P) override {
        HintText = Text;
        HintPosition = P;
    }

    int Changes = 0;
    int LayoutChanges = 0;
    std::string HintText;
    TPoint HintPosition{};
};

constexpr TColor Black = 0;
constexpr TColor White = 0xFFFFFF;

class AxisTest : public ::testing::Test {
  protected:
    AxisTest() { Clear(); }
    void Clear() {
        Canvas.Brush().SetStyle(bsSolid);
        Canvas.Brush().SetColor(Black);
        Canvas.FillRect(Rect(0, 0, 600, 400));
    }
    // Lays the axis out in R and builds its ticks, as a paint does.
    void Place(TiPlotAxis& Axis, const TRect& R) {
        Axis.SetLayoutRect(R);
        Axis.CalcTicks(Canvas);
    }
    std::vector<double> Values(const TiPlotAxis& Axis, bool Minor) const {
        std::vector<double> Result;
        for (const TiPlotTick& Tick : Axis.Ticks())
            if (Tick.Minor == Minor)
                Result.push_back(Tick.Value);
        return Result;
    }

    TCountingHost Host;
    TBitmap Picture{600, 400};
    TCanvas& Canvas = Picture.Canvas();
    TiPlotXAxis X{&Host};
    TiPlotYAxis Y{&Host};
};

// ---- Properties ----

TEST_F(AxisTest, PublishedDefaults) {
    const std::pair<const char*, QVariant> Defaults[] = {
        {"Span", 100.0},
        {"Min", 0.0},
        {"ReverseScale", false},
        {"InnerMargin", 5},
        {"OuterMargin", 5},
        {"StackingEndsMargin", 0.5},
        {"MinorLength", 3},
        {"MajorLength", 7},
        {"MinorCount", 1},
        {"LabelsVisible", true},
        {"LabelsMargin", 0.25},
        {"LabelsPrecision", 3},
        {"LabelsPrecisionStyle", QVariant::fromValue(ipsSignificantDigits)},
        {"LabelsMinLength", 5.0},
        {"LabelsMinLengthAutoAdjust", false},
        {"LabelSeparation", 2.0},
        {"TitleMargin", 0.25},
        {"TitleShow", false},
        {"TitleRotated", false},
        {"ScaleLineShow", true},
        {"ScaleLinesColor", QVariant::fromValue(White)},
        {"TrackingEnabled", true},
        {"TrackingScrollCompressMax", 0.0},
        {"ScaleType", QVariant::fromValue(ipstLinear)},
        {"DateTimeFormat", QVariant::fromValue(std::string("hh:nn:ss"))},
        {"LabelsFormatStyle", QVariant::fromValue(iptfValue)},
        {"DesiredIncrement", 0.0},
        {"CursorScaler", 1.0},
        {"RestoreValuesOnResume", true},
        {"ScrollMin", 0.0},
        {"ScrollMax", 100.0},
        {"ScrollMinMaxEnabled", false},
        {"DesiredStart", 0.0},
        {"CartesianStyle", QVariant::fromValue(ipcsNone)},
        {"CartesianChildRefAxisName", QVariant::fromValue(std::string("<None>"))},
        {"GridLinesVisible", true},
        {"ScaleLinesShow", true},
        {"CursorUseDefaultFormat", true},
        {"CursorDateTimeFormat", QVariant::fromValue(std::string("hh:nn:ss"))},
        {"CursorFormatStyle", QVariant::fromValue(iptfValue)},
        {"CursorPrecisionStyle", QVariant::fromValue(ipsSignificantDigits)},
        {"CursorPrecision", 3},
        {"CursorMinLength", 5.0},
        {"LegendUseDefaultFormat", true},
        {"LegendFormatStyle", QVariant::fromValue(iptfValue)},
        {"LegendDateTimeFormat", QVariant::fromValue(std::string("hh:nn:ss"))},
        {"LegendPrecisionStyle", QVariant::fromValue(ipsSignificantDigits)},
        {"LegendPrecision", 3},
        {"LegendMinLength", 5.0},
        {"AlignRefAxisName", QVariant::fromValue(std::string("<None>"))},
        {"LabelsRotation", QVariant::fromValue(ira000)},
    };
    for (const auto& [Name, Value] : Defaults)
        EXPECT_EQ(Y.property(Name), Value) << Name;
    EXPECT_EQ(Y.TitleFont().Name(), "Arial");
    EXPECT_EQ(Y.TitleFont().Size(), 10);
    EXPECT_EQ(Y.TitleFont().Color(), clWhite);
    EXPECT_EQ(Y.LabelsFont().Color(), clWhite);
    EXPECT_EQ(std::pair(X.TrackingStyle(), X.TrackingAlignFirstStyle()),
              std::pair(iptsScrollSmooth, ipafsAuto));
    EXPECT_EQ(std::pair(Y.TrackingStyle(), Y.TrackingAlignFirstStyle()),
              std::pair(iptsScaleMinMax, ipafsNone));
}

TEST_F(AxisTest, ScaleSettersClamp) {
    struct Case {
        void (TiPlotAxis::*Set)(double);
        double (TiPlotAxis::*Get)() const;
        double Value, Stored;
    } Cases[] = {
        {&TiPlotAxis::SetSpan, &TiPlotAxis::Span, 0, 1e-300},
        {&TiPlotAxis::SetSpan, &TiPlotAxis::Span, -5, 1e-300},
        {&TiPlotAxis::SetSpan, &TiPlotAxis::Span, 1e305, 1e300},
        {&TiPlotAxis::SetMin, &TiPlotAxis::Min, 1e305, 1e300},
        {&TiPlotAxis::SetMin, &TiPlotAxis::Min, -1e305, -1e300},
        {&TiPlotAxis::SetDesiredIncrement, &TiPlotAxis::DesiredIncrement, -1, 0},
        {&TiPlotAxis::SetDesiredIncrement, &TiPlotAxis::DesiredIncrement, 1e305, 1e300},
    };
    for (const Case& C : Cases) {
        (Y.*C.Set)(C.Value);
        EXPECT_EQ((Y.*C.Get)(), C.Stored) << C.Value;
    }
}

TEST_F(AxisTest, SettersRepaintOnlyOnChange) {
    const int Before = Host.Changes;
    const int LayoutBefore = Host.LayoutChanges;
    Y.SetMajorLength(7);
    Y.SetMin(0);
    Y.SetSpan(100);
    EXPECT_EQ(Host.Changes, Before);
    Y.SetMajorLength(9);
    Y.SetTitle("Level");
    Y.SetReverseScale(true);
    EXPECT_EQ(Host.Changes, Before + 3);
    Y.SetForceStacking(true);
    EXPECT_EQ(Host.LayoutChanges, LayoutBefore + 1) << "stacking moves rows";
}

struct TEvents {
    std::vector<std::vector<double>> Min, Span, MinSpan;

    void Attach(TiPlotAxis& Axis) {
        Axis.SetOnMinChange([this](TiPlotAxis&, double Old, double New) {
            Min.push_back({Old, New});
        });
        Axis.SetOnSpanChange([this](TiPlotAxis&, double Old, double New) {
            Span.push_back({Old, New});
        });
        Axis.SetOnMinSpanChange(
            [this](TiPlotAxis&, double OldMin, double OldSpan, double NewMin, double NewSpan) {
                MinSpan.push_back({OldMin, OldSpan, NewMin, NewSpan});
            });
    }
};

TEST_F(AxisTest, MinAndSpanEvents) {
    TEvents Events;
    Events.Attach(Y);
    Y.SetMin(10);
    Y.SetSpan(50);
    Y.SetSpan(50);
    using V = std::vector<std::vector<double>>;
    EXPECT_EQ(Events.Min, (V{{0, 10}}));
    EXPECT_EQ(Events.Span, (V{{100, 50}}));
    EXPECT_EQ(Events.MinSpan, (V{{0, 100, 10, 100}, {10, 100, 10, 50}}));

    Events = {};
    Events.Attach(Y);
    Y.SetMinSpan(20, 40);
    Y.SetMinSpan(20, 40);
    EXPECT_EQ(Events.Min, (V{{10, 20}}));
    EXPECT_EQ(Events.Span, (V{{50, 40}}));
    EXPECT_EQ(Events.MinSpan, (V{{10, 50, 20, 40}})) << "one event for both";

    Y.SetMinSpan(1e305, 40);
    Events = {};
    Events.Attach(Y);
    Y.SetMinSpan(1e305, 40);
    EXPECT_TRUE(Events.MinSpan.empty()) << "the clamped value is already stored";
}

TEST_F(AxisTest, LogarithmicScaleStartsAboveZero) {
    Y.SetScaleType(ipstLog10);
    EXPECT_EQ(Y.Min(), 1);
    Y.SetMinSpan(-3, 0);
    EXPECT_EQ(std::pair(Y.Min(), Y.Span()), std::pair(1.0, 1.0));
    Y.SetMinSpan(10, 990);
    EXPECT_EQ(std::pair(Y.Min(), Y.Span()), std::pair(10.0, 990.0));
}

TEST_F(AxisTest, MouseCursorAndHint) {
    struct TCase {
        TiPlotAxis* Axis;
        TiPlotAxisMouseMode Mode;
        int Cursor;
    } Cases[] = {{&X, TiPlotAxisMouseMode::Scroll, crHandPoint},
                 {&Y, TiPlotAxisMouseMode::Scroll, crHandPoint},
                 {&X, TiPlotAxisMouseMode::Zoom, crSizeWE},
                 {&Y, TiPlotAxisMouseMode::Zoom, crSizeNS}};
    for (const TCase& C : Cases) {
        C.Axis->SetMouseMode(C.Mode);
        EXPECT_EQ(C.Axis->GetMouseCursor(), C.Cursor) << C.Axis->Name() << int(C.Mode);
    }

    Y.SetTitle("Temperature");
    Y.SetOnCustomizeHint([](TiPlotAxis&, std::string& Text) { Text += " (C)"; });
    Y.MouseHover(Point(30, 100));
    EXPECT_EQ(Host.HintText, "Temperature (C)");
    EXPECT_EQ(Host.HintPosition, Point(30, 80)) << "20 pixels above the mouse";
    Host.HintText.clear();
    Y.SetTitleShow(true);
    Y.MouseHover(Point(30, 100));
    EXPECT_EQ(Host.HintText, "") << "a shown title needs no hint";
}

TEST_F(AxisTest, FocusSharedOnlyWithAxesPickedWithShiftOrCtrl) {
    TiPlotLabel Label(&Host);
    struct Case {
        TiPlotObject* Other;
        TShiftState Shift;
        bool Keeps;
    } Cases[] = {
        {&X, {ssShift}, true}, {&X, {ssCtrl}, true}, {&X, {}, false}, {&Label, {ssShift}, false}};
    for (const Case& C : Cases) {
        Y.SetFocused(true);
        Y.SetShiftState(C.Shift);
        Y.ObjectFocused(C.Other);
        EXPECT_EQ(Y.Focused(), C.Keeps) << int(C.Other->Kind()) << " " << int(C.Shift.ToBits());
    }
}

// ---- Mapping and side ----

TEST_F(AxisTest, MappingFollowsTheScaleWithoutANewLayout) {
    X.SetLayoutRect(Rect(0, 0, 600, 30));
    X.CalcPixelRange(Canvas);
    EXPECT_EQ(X.ValueToPixel(50), 300);
    X.SetMin(50);
    EXPECT_EQ(X.ValueToPixel(50), 0);
    X.SetSpan(50);
    EXPECT_EQ(X.ValueToPixel(75), 300);
    EXPECT_DOUBLE_EQ(X.PixelToValue(600), 100);
    X.SetReverseScale(true);
    EXPECT_EQ(X.ValueToPixel(50), 600) << "Min at the right end";
    X.SetMinSpan(1, 999);
    X.SetScaleType(ipstLog10);
    EXPECT_EQ(X.ValueToPixel(10), 400);

    Y.SetLayoutRect(Rect(0, 0, 40, 200));
    Y.CalcPixelRange(Canvas);
    EXPECT_EQ(Y.ValueToPixel(0), 200);
    EXPECT_EQ(Y.ValueToPixel(100), 0);
}

TEST_F(AxisTest, StackedEndsShortenTheBoxEvenly) {
    X.SetLayoutRect(Rect(0, 0, 600, 30));
    X.SetStacked(true, true);
    X.CalcPixelRange(Canvas);
    const int E = X.Box().Left;
    EXPECT_GT(E, 0);
    EXPECT_EQ(X.Box(), Rect(E, 0, 600 - E, 30));
    EXPECT_EQ(X.MouseRect(), Rect(0, 2, 600, 28));
    EXPECT_EQ(X.ValueToPixel(0), E);
    X.SetCartesianStyle(ipcsMaster);
    X.CalcPixelRange(Canvas);
    EXPECT_EQ(X.Box(), Rect(0, 0, 600, 30)) << "no end margin inside the data view";
}

TEST_F(AxisTest, SideFromOrientationAndPlace) {
    struct Case {
        bool Horizontal, Beyond;
        TiPlotCartesianStyle Cartesian;
        TiPlotAxisSide Side;
    } Cases[] = {
        {true, false, ipcsNone, TiPlotAxisSide::Below},
        {true, true, ipcsNone, TiPlotAxisSide::Above},
        {false, false, ipcsNone, TiPlotAxisSide::Left},
        {false, true, ipcsNone, TiPlotAxisSide::Right},
        {true, true, ipcsMaster, TiPlotAxisSide::Below},
        {false, false, ipcsChild, TiPlotAxisSide::Right},
    };
    for (const Case& C : Cases) {
        Y.SetHorizontal(C.Horizontal);
        Y.SetBeyondDataView(C.Beyond);
        Y.SetCartesianStyle(C.Cartesian);
        EXPECT_EQ(Y.AxisSide(), C.Side) << C.Horizontal << C.Beyond << int(C.Cartesian);
    }
}

// ---- Ticks and texts ----

TEST_F(AxisTest, TicksOfASpanOf100) {
    Place(X, Rect(0, 0, 600, 30));
    EXPECT_EQ(Values(X, false), (std::vector<double>{0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100}));
    EXPECT_EQ(Values(X, true), (std::vector<double>{5, 15, 25, 35, 45, 55, 65, 75, 85, 95}));
    EXPECT_EQ(X.Ticks().front().Text, "0");
    EXPECT_EQ(X.Ticks().back().Text, "100");
    EXPECT_EQ(X.Ticks()[2].Pixel, 60);
}

TEST_F(AxisTest, LabelTextsFollowTheSettingsAndTheCustomizer) {
    Y.SetSpan(40);
    Y.SetOnCustomizeLabel([](TiPlotAxis&, double Value, std::string& Text) {
        if (Value == 20)
            Text = "twenty\r\nC";
    });
    Place(Y, Rect(0, 0, 60, 300));
    std::vector<std::string> Texts;
    for (const TiPlotTick& Tick : Y.Ticks())
        if (!Tick.Minor)
            Texts.push_back(Tick.Text);
    EXPECT_EQ(Texts.front(), "0.0");
    EXPECT_NE(std::find(Texts.begin(), Texts.end(), "twenty\r\nC"), Texts.end());
    EXPECT_EQ(Y.LegendText(20), "twenty C") << "legend and cursor show one line";
    Y.SetCursorUseDefaultFormat(false);
    Y.SetCursorFormatStyle(iptfExponent);
    Y.SetCursorPrecisionStyle(ipsFixedDecimalPoints);
    Y.SetCursorPrecision(1);
    EXPECT_EQ(Y.CursorText(1500), "1.5E+003");
    EXPECT_EQ(Y.PlainText(1500), "1500.0") << "a plain value, with the cursor's precision";
}

TEST_F(AxisTest, MeasuringWidensTheMinimumLength) {
    Canvas.Font() = Y.LabelsFont();
    const int Zero = Canvas.TextWidth("0");
    EXPECT_EQ(Y.MaxLabelWidth(Canvas, Y.LabelsFont()), 5 * Zero) << "five widths of 0 at least";
    Y.SetSpan(123456789);
    EXPECT_GT(Y.MaxLabelWidth(Canvas, Y.LabelsFont()), 5 * Zero);
    EXPECT_EQ(Y.LabelsMinLength(), 5) << "without auto adjust";
    Y.SetLabelsMinLengthAutoAdjust(true);
    Y.MaxLabelWidth(Canvas, Y.LabelsFont());
    EXPECT_EQ(Y.LabelsMinLength(), 9) << "the text 123456789";
    Y.LabelText(1e15);
    EXPECT_EQ(Y.LabelsMinLength(), 9) << "only measuring widens";
}

// ---- Measures for the layout ----

TEST_F(AxisTest, ThicknessOfMarginsAndMarks) {
    struct Case {
        bool ScaleLines;
        int Major, Minor, Thickness;
    } Cases[] = {{false, 7, 3, 10}, {true, 7, 3, 17}, {true, 7, 9, 19}, {true, -3, 2, 12}};
    Y.SetLabelsVisible(false);
    for (const Case& C : Cases) {
        Y.SetScaleLinesShow(C.ScaleLines);
        Y.SetMajorLength(C.Major);
        Y.SetMinorLength(C.Minor);
        EXPECT_EQ(Y.Thickness(Canvas), C.Thickness) << C.ScaleLines << C.Major << C.Minor;
    }
}

TEST_F(AxisTest, ThicknessGrowsWithLabelsAndTitle) {
    for (TiPlotAxis* Axis : {static_cast<TiPlotAxis*>(&X), static_cast<TiPlotAxis*>(&Y)}) {
        const int Plain = Axis->Thickness(Canvas);
        EXPECT_GT(Plain, 17);
        TFont Big = Axis->LabelsFont();
        Big.SetSize(24);
        Axis->SetLabelsFont(Big);
        const int BigLabels = Axis->Thickness(Canvas);
        EXPECT_GT(BigLabels, Plain);
        Axis->SetTitle("Level");
        Axis->SetTitleShow(true);
        const int Titled = Axis->Thickness(Canvas);
        EXPECT_GT(Titled, BigLabels);
        Axis->SetCartesianStyle(ipcsMaster);
        EXPECT_EQ(Axis->Thickness(Canvas), BigLabels) << "no title inside the data view";
    }
}

TEST_F(AxisTest, EndMarginIsHalfALabelAlongTheAxis) {
    Canvas.Font() = Y.LabelsFont();
    const int Height = Canvas.TextHeight("XYZ");
    const int Width = X.MaxLabelWidth(Canvas, X.LabelsFont());
    EXPECT_EQ(X.EndMargin(Canvas), Width / 2);
    EXPECT_EQ(Y.EndMargin(Canvas), Height / 2);
    Y.SetLabelsRotation(ira090);
    EXPECT_EQ(Y.EndMargin(Canvas), Width / 2);
    X.SetLabelsRotation(ira270);
    EXPECT_EQ(X.EndMargin(Canvas), Height / 2);
    X.SetLabelsVisible(false);
    EXPECT_EQ(X.EndMargin(Canvas), 0);
}

// ---- Pixels ----

TEST_F(AxisTest, HorizontalScaleLineAndMarksBelowTheDataView) {
    Place(X, Rect(0, 100, 600, 160));
    X.Draw(Canvas, Black);
    // The line 5 pixels below the edge over the whole box.
    for (int Px : {0, 123, 599})
        EXPECT_EQ(Canvas.Pixel(Px, 105), White) << Px;
    EXPECT_EQ(Canvas.Pixel(123, 104), Black);
    EXPECT_EQ(Canvas.Pixel(123, 106), Black);
    // A major mark of 7 pixels at 50, a minor of 3 at 55.
    for (int Py = 105; Py < 112; ++Py)
        EXPECT_EQ(Canvas.Pixel(300, Py), White) << Py;
    EXPECT_EQ(Canvas.Pixel(300, 112), Black);
    EXPECT_EQ(Canvas.Pixel(330, 107), White);
    EXPECT_EQ(Canvas.Pixel(330, 108), Black);
}

TEST_F(AxisTest, VerticalScaleLineAndMarksLeftOfTheDataView) {
    Place(Y, Rect(0, 50, 80, 350));
    Y.Draw(Canvas, Black);
    for (int Py : {50, 123, 350})
        EXPECT_EQ(Canvas.Pixel(75, Py), White) << Py;
    // Majors every 20 here; the mark at 40 runs outwards, to the left.
    ASSERT_EQ(Values(Y, false), (std::vector<double>{0, 20, 40, 60, 80, 100}));
    const int P = Y.ValueToPixel(40);
    EXPECT_EQ(P, 230);
    for (int Px = 69; Px <= 75; ++Px)
        EXPECT_EQ(Canvas.Pixel(Px, P), White) << Px;
    EXPECT_EQ(Canvas.Pixel(68, P), Black);
    EXPECT_EQ(Canvas.Pixel(76, P), Black);
    EXPECT_EQ(Canvas.Pixel(73, Y.ValueToPixel(50)), White) << "a minor mark of 3";
    EXPECT_EQ(Canvas.Pixel(72, Y.ValueToPixel(50)), Black);
}

TEST_F(AxisTest, LabelsLieBeyondTheMarksWithoutOverlapping) {
    for (TiPlotAxis* Axis : {static_cast<TiPlotAxis*>(&X), static_cast<TiPlotAxis*>(&Y)}) {
        Place(*Axis, Axis->Horizontal() ? Rect(0, 100, 600, 160) : Rect(0, 50, 80, 350));
        Axis->Draw(Canvas, Black);
        std::vector<TRect> Rects;
        for (const TiPlotTick& Tick : Axis->Ticks())
            if (Tick.Visible && !Tick.Minor)
                Rects.push_back(Axis->LabelRect(Canvas, Tick));
        ASSERT_GT(Rects.size(), 2u);
        for (std::size_t I = 0; I < Rects.size(); ++I) {
            const TRect& R = Rects[I];
            if (Axis->Horizontal())
                EXPECT_GE(R.Top, 112) << "below the marks";
            else
                EXPECT_LE(R.Right, 68) << "left of the marks";
            for (std::size_t J = I + 1; J < Rects.size(); ++J) {
                const TRect& S = Rects[J];
                const bool Apart = R.Right <= S.Left || S.Right <= R.Left || R.Bottom <= S.Top ||
                                   S.Bottom <= R.Top;
                EXPECT_TRUE(Apart) << Axis->Name() << " labels " << I << " and " << J;
            }
        }
    }
}

// Pixels of row Py between X0 and X1 that are not black.
int Lit(TCanvas& Canvas, int Py, int X0, int X1) {
    int Count = 0;
    for (int Px = X0; Px < X1; ++Px)
        Count += Canvas.Pixel(Px, Py) != Black;
    return Count;
}

TEST_F(AxisTest, TitleInItsBandAtTheOuterMargin) {
    X.SetTitle("Time");
    X.SetTitleShow(true);
    const int Thickness = X.Thickness(Canvas);
    Place(X, Rect(0, 100, 600, 100 + Thickness));
    X.Draw(Canvas, Black);
    Canvas.Font() = X.TitleFont();
    const int Band = Canvas.TextHeight("Time");
    const int Bottom = 100 + Thickness - 5;
    int InBand = 0;
    for (int Py = Bottom - Band; Py < Bottom; ++Py)
        InBand += Lit(Canvas, Py, 250, 350);
    EXPECT_GT(InBand, 0) << "centred over the axis";
    for (int Py = Bottom; Py < 100 + Thickness + 3; ++Py)
        EXPECT_EQ(Lit(Canvas, Py, 0, 600), 0) << "outer margin, row " << Py;
}

TEST_F(AxisTest, FocusRectangleAroundTheMouseRect) {
    Place(X, Rect(0, 100, 600, 160));
    X.Draw(Canvas, Black);
    EXPECT_EQ(Lit(Canvas, X.MouseRect().Top, 0, 600), 0);
    X.SetFocused(true);
    X.Draw(Canvas, Black);
    EXPECT_GT(Lit(Canvas, X.MouseRect().Top, 0, 600), 100);
    EXPECT_TRUE(X.HitTest({300, 102}));
    EXPECT_FALSE(X.HitTest({300, 101}));
}

TEST_F(AxisTest, CartesianLabelsNeedAFreePlace) {
    X.SetCartesianStyle(ipcsMaster);
    std::vector<TRect> Offered;
    X.SetTryRegisterRect([&Offered](const TRect& R) {
        Offered.push_back(R);
        return false;
    });
    Place(X, Rect(0, 200, 600, 200));
    X.Draw(Canvas, Black);
    EXPECT_EQ(Offered.size(), 11u) << "one per major tick";
    // Marks straddle the line; no label was drawn below them.
    EXPECT_EQ(Canvas.Pixel(300, 196), White);
    EXPECT_EQ(Canvas.Pixel(300, 203), White);
    for (int Py = 205; Py < 240; ++Py)
        for (int Px = 290; Px < 310; ++Px)
            ASSERT_EQ(Canvas.Pixel(Px, Py), Black) << Px << "," << Py;
}

TEST_F(AxisTest, GridLinesAtTheVisibleTicks) {
    Place(X, Rect(0, 300, 600, 360));
    const TRect View = Rect(0, 10, 599, 299);
    TiPlotGridLines Majors{true, 0x00FF00, 0, psSolid};
    TiPlotGridLines Minors{false, 0x0000FF, 0, psSolid};
    X.DrawGrid(Canvas, View, Majors, Minors);
    EXPECT_EQ(Canvas.Pixel(300, 10), 0x00FF00u);
    EXPECT_EQ(Canvas.Pixel(300, 299), 0x00FF00u) << "ends included";
    EXPECT_EQ(Canvas.Pixel(330, 150), Black) << "minors hidden";
    Minors.Show = true;
    X.DrawGrid(Canvas, View, Majors, Minors);
    EXPECT_EQ(Canvas.Pixel(330, 150), 0x0000FFu);
    Clear();
    X.SetGridLinesVisible(false);
    X.DrawGrid(Canvas, View, Majors, Minors);
    EXPECT_EQ(Canvas.Pixel(300, 150), Black);
}

} // namespace
