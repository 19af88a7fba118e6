#include "plot/iPlotLegend.h"
#include "plot/iPlot.h"
#include "plot/iPlotAxis.h"
#include "plot/iPlotChannelCustom.h"

#include "components/iGPFunctions.h"
#include "platform/Arith.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/SystemColors.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

// The Qt application comes from the environment iPlotObjectsTest.cpp registers.

namespace {

using TColumn = TiPlotLegendColumn;

// The default plot, tall enough for seven entries in its vertical legend.
class LegendTest : public ::testing::Test {
  protected:
    LegendTest() { Plot.SetBounds(0, 0, 500, 400); }

    void Paint() { Plot.Paint(Picture.Canvas()); }
    TColor Pixel(int X, int Y) { return Picture.Canvas().Pixel(X, Y); }
    void AddChannels(int Count) {
        while (Plot.ChannelCount() < Count)
            Plot.NewChannel();
    }
    // Width and height of "0" in a font.
    std::pair<int, int> CharSize(const TFont& Font) {
        TCanvas& C = Measure.Canvas();
        C.Font() = Font;
        return {GetTextMaxLineWidth(C, "0"), GetTextHeight(C, "0")};
    }
    int CountPixels(const TRect& R, TColor Color) {
        int Count = 0;
        for (int Y = R.Top; Y < R.Bottom; ++Y)
            for (int X = R.Left; X < R.Right; ++X)
                Count += Pixel(X, Y) == Color;
        return Count;
    }
    // Presses a scroll button and lets go of it inside.
    void Click(TiPlotLegendButton& Button) {
        const TRect R = Button.Rect();
        L.MouseDown(Point(R.Left + 8, R.Top + 8));
        L.MouseUp(Point(R.Left + 8, R.Top + 8));
    }
    // Runs the event loop until Done or the time is up; the milliseconds it took.
    qint64 RunUntil(const std::function<bool()>& Done, int MSec, bool PaintEachTurn = false) {
        QElapsedTimer Clock;
        Clock.start();
        while (!Done() && Clock.elapsed() < MSec) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            if (PaintEachTurn)
                Paint();
        }
        return Clock.elapsed();
    }

    TiPlot Plot;
    TiPlotLegend& L = *Plot.Legend(0);
    TBitmap Picture{500, 400};
    TBitmap Measure{10, 10};
};

// ---- properties

TEST_F(LegendTest, PublishedDefaults) {
    const std::vector<std::pair<const char*, QVariant>> Defaults = {
        {"MarginLeft", 1.0},
        {"BackGroundColor", QVariant::fromValue(TColor(0x808080))},
        {"BackGroundTransparent", true},
        {"SelectedItemBackGroundColor", QVariant::fromValue(TColor(clYellow))},
        {"ShowColumnLine", true},
        {"ShowColumnMarker", false},
        {"ShowColumnYMean", false},
        {"CaptionColumnTitle", QVariant::fromValue(std::string("Title"))},
        {"CaptionColumnXAxisTitle", QVariant::fromValue(std::string("X-Axis"))},
        {"CaptionColumnYMean", QVariant::fromValue(std::string("Y-Mean"))},
        {"ColumnSpacing", 0.5},
        {"RowSpacing", 0.25},
        {"WrapColDesiredCount", 1},
        {"WrapRowDesiredCount", 5},
        {"WrapColAutoCountEnabled", false},
        {"WrapRowAutoCountEnabled", true},
        {"WrapColAutoCountMax", 100},
        {"WrapRowAutoCountMax", 100},
        {"WrapColSpacingMin", 2.0},
        {"WrapColSpacingAuto", true},
        {"WrapRowSpacingAuto", false},
        {"ColumnTitlesVisible", false},
        {"ChannelNameMaxWidth", 0.0},
        {"ChannelNameColorStyle", QVariant::fromValue(iplcncsFont)},
        {"Horizontal", false},
    };
    for (const auto& [Name, Value] : Defaults)
        EXPECT_EQ(L.property(Name), Value) << Name;
    EXPECT_EQ(L.Font().Color(), clWhite);
    EXPECT_EQ(L.SelectedItemFont().Color(), clBlack);
    EXPECT_EQ(L.ColumnTitlesFont().Color(), clAqua);
    EXPECT_TRUE(L.ColumnTitlesFont().Style().Contains(fsBold));
}

TEST_F(LegendTest, WrapCountsStoreAtLeastOneAndRowSpacingHasTwoNames) {
    for (int Given : {0, -3}) {
        L.SetWrapColDesiredCount(Given);
        L.SetWrapRowDesiredCount(Given);
        EXPECT_EQ(L.WrapColDesiredCount(), 1) << Given;
        EXPECT_EQ(L.WrapRowDesiredCount(), 1) << Given;
    }
    L.SetWrapColDesiredCount(4);
    EXPECT_EQ(L.WrapColDesiredCount(), 4);
    L.SetRowSpacing(0.75);
    EXPECT_EQ(L.WrapRowSpacingMin(), 0.75);
    L.setProperty("WrapRowSpacingMin", 1.5);
    EXPECT_EQ(L.RowSpacing(), 1.5);
}

// ---- layout

TEST_F(LegendTest, NothingListedDrawsNothingNotEvenTheBackground) {
    L.SetBackGroundTransparent(false);
    L.SetBackGroundColor(clTeal);
    Plot.Channel(0)->SetVisibleInLegend(false);
    Paint();
    const TRect R = L.LayoutRect();
    ASSERT_FALSE(R.IsEmpty());
    EXPECT_EQ(L.ItemCount(), 0);
    EXPECT_EQ(CountPixels(R, clTeal), 0);
    Plot.Channel(0)->SetVisibleInLegend(true);
    Paint();
    EXPECT_EQ(Pixel(L.LayoutRect().Left + 1, L.LayoutRect().Bottom - 2), clTeal);
}

TEST_F(LegendTest, TwoChannelsTakeOneColumnOfTwoRows) {
    AddChannels(2);
    Paint();
    const auto [CharWidth, CharHeight] = CharSize(L.Font());
    ASSERT_EQ(L.ItemCount(), 2);
    EXPECT_EQ(L.WrapColCount(), 1);
    EXPECT_EQ(L.WrapRowCount(), 2);
    EXPECT_FALSE(L.ScrollButtonsShown());
    EXPECT_EQ(L.LastVisibleIndex(), 1);
    for (int I = 0; I < 2; ++I) {
        EXPECT_EQ(L.Item(I).Col, 1);
        EXPECT_EQ(L.Item(I).Row, I + 1);
        EXPECT_EQ(L.Item(I).X, L.LayoutRect().Left + int(Round(CharWidth * 1.0)));
    }
    EXPECT_EQ(L.Item(0).Y, L.LayoutRect().Top + CharHeight);
    EXPECT_EQ(L.Item(1).Y - L.Item(0).Y, CharHeight + int(Round(CharHeight * 0.25)));
    // The line sample, the spacing, then the name.
    EXPECT_EQ(L.ColumnOffset(TColumn::Name), 16 + int(Round(CharWidth * 0.5)));
}

TEST_F(LegendTest, SevenChannelsInFiveDesiredRowsScrollOneEntryAtATime) {
    AddChannels(7);
    Paint();
    EXPECT_EQ(L.WrapRowCount(), 7) << "the automatic rows show all when they fit";
    EXPECT_FALSE(L.ScrollButtonsShown());
    const int WidthAll = L.Thickness(Picture.Canvas());

    L.SetWrapRowAutoCountEnabled(false);
    Paint();
    EXPECT_EQ(L.WrapRowCount(), 5);
    EXPECT_EQ(L.WrapColCount(), 1);
    ASSERT_TRUE(L.ScrollButtonsShown());
    EXPECT_EQ(L.Thickness(Picture.Canvas()), WidthAll + 25) << "room for the buttons";
    const TRect Up = L.UpButton().Rect(), Down = L.DownButton().Rect();
    EXPECT_EQ(Up.Width(), 17);
    EXPECT_EQ(Up.Height(), 17);
    EXPECT_EQ(Up.Top, L.Item(0).Y);
    EXPECT_EQ(Down.Left, Up.Left);
    EXPECT_GT(Down.Top, Up.Bottom);
    // The up arrow is greyed at the top of the list, the down arrow is not.
    EXPECT_EQ(Pixel(Up.Left + 8, Up.Top + 8), clGray);
    EXPECT_EQ(Pixel(Down.Left + 8, Down.Top + 8), clBlack);
    EXPECT_EQ(Pixel(Down.Left + 2, Down.Top + 2), ColorToRGB(clBtnFace));

    struct TStep {
        TiPlotLegendButton* Button;
        int First, Last;
    } Steps[] = {{&L.DownButton(), 1, 5},
                 {&L.DownButton(), 2, 6},
                 {&L.DownButton(), 2, 6}, // greyed: the last entry shows
                 {&L.UpButton(), 1, 5}};
    for (const TStep& S : Steps) {
        Click(*S.Button);
        Paint();
        EXPECT_EQ(L.FirstVisibleIndex(), S.First);
        EXPECT_EQ(L.LastVisibleIndex(), S.Last);
        EXPECT_EQ(L.Item(S.First).Row, 1);
        EXPECT_EQ(L.Item(S.First).Y, Up.Top);
        EXPECT_EQ(Plot.Channel(0)->LegendRect().IsEmpty(), S.First > 0) << "scrolled out";
    }
    EXPECT_TRUE(L.UpButton().Enabled());
    EXPECT_TRUE(L.DownButton().Enabled());

    L.SetWrapRowAutoCountEnabled(true);
    Paint();
    EXPECT_EQ(L.FirstVisibleIndex(), 0) << "everything fits again";
    EXPECT_EQ(L.LastVisibleIndex(), 6);
}

TEST_F(LegendTest, HorizontalLegendSpreadsItsWrapColumns) {
    AddChannels(6);
    L.SetHorizontal(true);
    L.SetWrapColAutoCountEnabled(true);
    Paint();
    const int D = L.WrapColCount(), F = L.WrapRowCount();
    ASSERT_GE(D, 3) << "six short entries side by side across 500 pixels";
    EXPECT_EQ(F, (6 + D - 1) / D) << "no more rows than the columns need";
    EXPECT_FALSE(L.ScrollButtonsShown());
    EXPECT_EQ(L.Thickness(Picture.Canvas()), L.RequiredHeight());
    // Filled top-down, column by column, the columns at equal steps that
    // spread them over the width less the buttons' room.
    std::vector<int> ColumnX;
    for (int I = 0; I < L.ItemCount(); ++I) {
        EXPECT_EQ(L.Item(I).Col, I / F + 1) << I;
        EXPECT_EQ(L.Item(I).Row, I % F + 1) << I;
        if (L.Item(I).Row == 1)
            ColumnX.push_back(L.Item(I).X);
    }
    ASSERT_EQ(int(ColumnX.size()), D);
    const int Step = ColumnX[1] - ColumnX[0];
    for (int I = 1; I < D; ++I)
        EXPECT_EQ(ColumnX[I] - ColumnX[I - 1], Step);
    const int CharWidth = CharSize(L.Font()).first;
    const int InnerRight = L.LayoutRect().Right - CharWidth;
    const int Entry = L.ColumnOffset(TColumn::Name) + L.ColumnWidth(TColumn::Name);
    const int LastEnd = ColumnX[D - 1] + Entry;
    EXPECT_LE(LastEnd, InnerRight - 25);
    EXPECT_GT(LastEnd, InnerRight - 25 - D);
}

TEST_F(LegendTest, AutomaticRowSpacingFillsTheHeight) {
    AddChannels(4);
    L.SetWrapRowSpacingAuto(true);
    Paint();
    const auto [CharWidth, CharHeight] = CharSize(L.Font());
    const int AreaBottom = L.LayoutRect().Bottom - CharHeight;
    const int LastBottom = L.Item(3).Y + CharHeight;
    EXPECT_LE(LastBottom, AreaBottom);
    EXPECT_GT(LastBottom, AreaBottom - 3) << "three gaps share the rest";
    EXPECT_EQ(L.Item(2).Y - L.Item(1).Y, L.Item(1).Y - L.Item(0).Y);
}

TEST_F(LegendTest, CaptionsAndWrappedNamesSizeTheCells) {
    Plot.Master().TranslationManager().NewEntry().SetOriginalString("Y-Max");
    Plot.Master().TranslationManager().Item(0).SetReplacementString("The largest value of all");
    L.SetShowColumnYMax(true);
    L.SetColumnTitlesVisible(true);
    Paint();
    const auto [CharWidth, CharHeight] = CharSize(L.Font());
    TCanvas& C = Measure.Canvas();
    C.Font() = L.ColumnTitlesFont();
    EXPECT_EQ(L.ColumnWidth(TColumn::YMax), C.TextWidth("The largest value of all"));
    const int CaptionHeight = GetTextHeight(C, "0");
    EXPECT_EQ(L.Item(0).Y, L.LayoutRect().Top + CharHeight + CaptionHeight + CaptionHeight / 4);

    Plot.Channel(0)->SetTitleText("A rather long channel title that wraps");
    L.SetChannelNameMaxWidth(6);
    Paint();
    EXPECT_EQ(L.ColumnWidth(TColumn::Name), int(Round(CharWidth * 6.0)));
    EXPECT_GT(L.Item(0).Height, 2 * CharHeight);
    EXPECT_EQ(Plot.Channel(0)->LegendRect().Height(), L.Item(0).Height);
}

// ---- cell texts

TEST_F(LegendTest, CellTextsOfAnEntry) {
    TiPlotChannelCustom& Ch = *Plot.Channel(0);
    TiPlotAxis& Y = *Plot.YAxis(0);
    // A legend format of its own, unlike the labels and the cursor.
    Y.SetLegendUseDefaultFormat(false);
    Y.SetLegendPrecisionStyle(ipsFixedDecimalPoints);
    Y.SetLegendPrecision(2);
    Ch.SetTitleText("  ");
    for (TColumn Column :
         {TColumn::XValue, TColumn::YValue, TColumn::YMax, TColumn::YMin, TColumn::YMean})
        EXPECT_EQ(L.CellText(Ch, Column), "Empty") << int(Column);
    Ch.AddXY(1, 20);
    Ch.AddXY(2, 30);
    Ch.AddXY(3, 10);
    Plot.XAxis(0)->SetTitle("");
    struct TCase {
        TColumn Column;
        std::string Text;
    } Cases[] = {
        {TColumn::Name, "Channel 1"},        {TColumn::XAxisTitle, "X-Axis 1"},
        {TColumn::YAxisTitle, "Y-Axis 1"},   {TColumn::XValue, Plot.XAxis(0)->LegendText(3)},
        {TColumn::YValue, Y.LegendText(10)}, {TColumn::YMax, Y.LegendText(30)},
        {TColumn::YMin, Y.LegendText(10)},   {TColumn::YMean, Y.LegendText(20)}};
    for (const TCase& C : Cases)
        EXPECT_EQ(L.CellText(Ch, C.Column), C.Text) << int(C.Column);
    EXPECT_NE(Y.LegendText(30), Y.LabelText(30));

    // Without axes.
    Ch.SetXAxisName("Nowhere");
    Ch.SetYAxisName("Nowhere");
    for (auto [Column, Text] :
         {std::pair{TColumn::XAxisTitle, "None"}, std::pair{TColumn::YAxisTitle, "None"},
          std::pair{TColumn::XValue, "N/A"}, std::pair{TColumn::YMean, "N/A"}})
        EXPECT_EQ(L.CellText(Ch, Column), Text) << int(Column);

    // The cursor's texts while it reads all channels.
    Ch.SetCursorXText("12:00:01");
    Ch.SetCursorYText("Null");
    L.SetShowAllChannels(true);
    EXPECT_EQ(L.CellText(Ch, TColumn::XValue), "12:00:01");
    EXPECT_EQ(L.CellText(Ch, TColumn::YValue), "Null");
}

TEST_F(LegendTest, FixedWordsAndCaptionsPassTheTranslationTable) {
    TiPlotTranslationObject& Entry = Plot.Master().TranslationManager().NewEntry();
    Entry.SetOriginalString("Empty");
    Entry.SetReplacementString("Leer");
    EXPECT_EQ(L.CellText(*Plot.Channel(0), TColumn::YMin), "Leer");
    Entry.SetOriginalString("None");
    Entry.SetReplacementString("Keine");
    Plot.Channel(0)->SetXAxisName("");
    EXPECT_EQ(L.CellText(*Plot.Channel(0), TColumn::XAxisTitle), "Keine");
}

TEST_F(LegendTest, CursorValuesShowTheValueColumnsAtTheirTextsWidth) {
    TiPlotChannelCustom& Ch = *Plot.Channel(0);
    Ch.SetCursorXText(std::string(20, '9'));
    L.SetShowAllChannels(true);
    L.Thickness(Picture.Canvas());
    const auto [CharWidth, CharHeight] = CharSize(L.Font());
    EXPECT_EQ(L.ColumnWidth(TColumn::XValue), 20 * CharWidth);
    EXPECT_EQ(L.ColumnWidth(TColumn::YValue),
              Plot.YAxis(0)->CursorMinWidth(Measure.Canvas(), L.Font()));
    EXPECT_GT(L.ColumnOffset(TColumn::YValue), L.ColumnOffset(TColumn::XValue));
    L.SetShowAllChannels(false);
    L.Thickness(Picture.Canvas());
    EXPECT_EQ(L.ColumnWidth(TColumn::XValue), 0) << "hidden again";
}

// ---- drawing

TEST_F(LegendTest, LineSamplesInTheChannelColourAndStyle) {
    const TiPlotLineStyle Styles[] = {iplsSolid, iplsDash, iplsDot, iplsDashDot, iplsDashDotDot};
    const char* Patterns[] = {"1111111111111000", "1111100011111000", "1100110011000000",
                              "1111100110000000", "1111100110011000"};
    AddChannels(5);
    for (int I = 0; I < 5; ++I)
        Plot.Channel(I)->SetTraceLineStyle(Styles[I]);
    Paint();
    const int CharHeight = CharSize(L.Font()).second;
    for (int I = 0; I < 5; ++I) {
        const TColor Color = Plot.Channel(I)->Color();
        const TiPlotLegendItem& Item = L.Item(I);
        const int Middle = Item.Y + CharHeight / 2;
        for (int Y : {Middle - 2, Middle - 1, Middle, Middle + 1, Middle + 2}) {
            std::string Row;
            for (int X = 0; X < 16; ++X)
                Row += Pixel(Item.X + X, Y) == Color ? '1' : '0';
            const bool Inside = Y >= Middle - 1 && Y <= Middle + 1;
            EXPECT_EQ(Row, Inside ? Patterns[I] : "0000000000000000") << I << " row " << Y;
        }
    }
}

TEST_F(LegendTest, NameColoursFollowTheStyleAndTheFocus) {
    Plot.XAxis(0)->SetLabelsFont([] {
        TFont F;
        F.SetColor(clLime);
        return F;
    }());
    Plot.YAxis(0)->SetLabelsFont([] {
        TFont F;
        F.SetColor(clFuchsia);
        return F;
    }());
    struct TCase {
        TiPlotLegendChannelNameColorStyle Style;
        TColor Text;
    } Cases[] = {{iplcncsFont, clWhite},
                 {iplcncsChannelColor, clRed},
                 {iplcncsXAxisFontColor, clLime},
                 {iplcncsYAxisFontColor, clFuchsia}};
    for (const TCase& C : Cases) {
        L.SetChannelNameColorStyle(C.Style);
        Paint();
        const TRect Cell = Plot.Channel(0)->LegendRect();
        EXPECT_GT(CountPixels(Cell, C.Text), 3) << int(C.Style);
    }
    L.SetChannelNameColorStyle(iplcncsFont);
    Plot.Channel(0)->SetFocused(true);
    Paint();
    const TRect Cell = Plot.Channel(0)->LegendRect();
    EXPECT_EQ(Pixel(Cell.Left, Cell.Top), clYellow);
    EXPECT_EQ(Pixel(Cell.Right - 1, Cell.Bottom - 1), clYellow);
    EXPECT_GT(CountPixels(Cell, clBlack), 3) << "the selected item's font";
    EXPECT_EQ(CountPixels(Cell, clWhite), 0);
}

TEST_F(LegendTest, FocusFrameInsetAtTheSidesAndLostToAnotherObject) {
    Paint();
    const TRect R = L.LayoutRect();
    auto Column = [&](int X) {
        std::vector<TColor> Pixels;
        for (int Y = R.Top; Y < R.Bottom; ++Y)
            Pixels.push_back(Pixel(X, Y));
        return Pixels;
    };
    const auto Outer = Column(R.Left + 1), Frame = Column(R.Left + 2);
    L.SetFocused(true);
    Paint();
    EXPECT_EQ(Column(R.Left + 1), Outer);
    const auto Framed = Column(R.Left + 2);
    int Changed = 0;
    for (size_t I = 0; I < Frame.size(); ++I)
        Changed += Framed[I] != Frame[I];
    EXPECT_GT(Changed, R.Height() / 3) << "every other pixel of the side is inverted";
    Plot.XAxis(0)->SetFocused(true);
    EXPECT_FALSE(L.Focused());
}

// ---- mouse

TEST_F(LegendTest, ClaimButtonsThenNameCellsThenItself) {
    AddChannels(7);
    L.SetWrapRowAutoCountEnabled(false);
    Paint();
    const TRect Name = Plot.Channel(1)->LegendRect();
    const TRect Down = L.DownButton().Rect();
    EXPECT_EQ(L.Claim(Name.Left + 1, Name.Top + 1), Plot.Channel(1));
    EXPECT_EQ(L.MouseOwner(), Plot.Channel(1));
    EXPECT_EQ(L.Claim(Down.Left + 1, Down.Top + 1), &L);
    EXPECT_EQ(L.MouseOwner(), &L);
    EXPECT_EQ(L.Claim(L.Item(0).X, L.Item(0).Y), &L) << "the line sample is no name cell";
    Plot.DeleteChannel(1);
    EXPECT_EQ(L.Claim(Name.Left + 1, Name.Top + 1), &L) << "a deleted channel is never answered";
}

TEST_F(LegendTest, HeldScrollButtonRepeatsAndReleaseStepsOnceMore) {
    AddChannels(20);
    L.SetWrapRowAutoCountEnabled(false);
    Paint();
    ASSERT_TRUE(L.ScrollButtonsShown());
    const TRect Down = L.DownButton().Rect();
    const TPoint Inside = Point(Down.Left + 5, Down.Top + 5);
    L.MouseDown(Inside);
    EXPECT_EQ(L.FirstVisibleIndex(), 0) << "nothing on the press";
    EXPECT_TRUE(L.DownButton().Pressed());
    RunUntil([] { return false; }, 300);
    EXPECT_EQ(L.FirstVisibleIndex(), 0) << "the first repeat waits 500 ms";
    const qint64 Took = RunUntil([&] { return L.FirstVisibleIndex() >= 3; }, 5000);
    EXPECT_GE(L.FirstVisibleIndex(), 3) << Took << " ms";
    EXPECT_EQ(L.DownButton().RepeatTimer()->interval(), 50);
    const int Held = L.FirstVisibleIndex();
    L.MouseUp(Inside);
    EXPECT_EQ(L.FirstVisibleIndex(), Held + 1);
    EXPECT_EQ(L.DownButton().RepeatTimer(), nullptr);
    L.MouseUp(Inside);
    EXPECT_EQ(L.FirstVisibleIndex(), Held + 1) << "released once";
}

TEST_F(LegendTest, RepeatStopsWhenTheLastEntryShows) {
    AddChannels(7);
    L.SetWrapRowAutoCountEnabled(false);
    Paint();
    const TRect Down = L.DownButton().Rect();
    L.MouseDown(Point(Down.Left + 5, Down.Top + 5));
    RunUntil([&] { return L.DownButton().RepeatTimer() == nullptr; }, 3000, true);
    EXPECT_EQ(L.FirstVisibleIndex(), 2);
    EXPECT_EQ(L.LastVisibleIndex(), 6);
    EXPECT_FALSE(L.DownButton().Enabled());
    L.MouseUp(Point(Down.Left + 5, Down.Top + 5));
    EXPECT_EQ(L.FirstVisibleIndex(), 2) << "greyed: no step on release either";
}

} // namespace
