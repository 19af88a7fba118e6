// The data cursor on a painted plot: what it reads at its pointers, how it
// draws its hint, and how the mouse, the keys and its menu move it. The Qt
// application is the test program's (iPlotObjectsTest.cpp).

#include "plot/iPlotDataCursor.h"
#include "plot/iPlot.h"
#include "plot/iPlotAxis.h"
#include "plot/iPlotChannel.h"
#include "plot/iPlotDataView.h"
#include "plot/iPlotLegend.h"
#include "plot/iPlotManagers.h"
#include "plot/iPlotToolBar.h"
#include "plot/iPlotTranslation.h"

#include "platform/Bitmap.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

class DataCursorTest : public ::testing::Test {
  protected:
    DataCursorTest() {
        Plot.SetBounds(0, 0, 1000, 600);
        Paint();
        // Ten pixels per unit, so that whole and half values sit on pixels.
        for (TiPlotAxis* Axis : {&X, &Y}) {
            Axis->SetTrackingEnabled(false);
            Axis->SetCursorUseDefaultFormat(false);
        }
        X.SetMinSpan(0, X.PixelLength() / 10.0);
        Y.SetMinSpan(0, 100);
        for (int I = 0; I <= 10; ++I)
            Channel.AddXY(I, 10 * I);
        Cursor.SetVisible(true);
        Paint();
    }
    void Paint() {
        TBitmap Picture(1000, 600);
        Plot.Paint(Picture.Canvas());
    }
    // The pointer position that puts a pointer on an X value.
    double PercentAtX(double Value) const { return View.PixelToPercentX(X.ValueToPixel(Value)); }
    int PixelOf(double Percent) const { return View.PercentToPixelX(Percent); }
    int MiddleY() const { return (View.LayoutRect().Top + View.LayoutRect().Bottom) / 2; }
    std::string Read() {
        Paint();
        return Cursor.Text();
    }
    void Mouse(QEvent::Type Type, QPoint At, Qt::MouseButton Button = Qt::LeftButton) {
        const Qt::MouseButtons Held = Type == QEvent::MouseButtonRelease ? Qt::NoButton : Button;
        QMouseEvent Event(Type, At, Plot.mapToGlobal(At), Button, Held, Qt::NoModifier);
        QApplication::sendEvent(&Plot, &Event);
    }
    void Key(int Code, Qt::KeyboardModifiers Modifiers = Qt::NoModifier) {
        QKeyEvent Event(QEvent::KeyPress, Code, Modifiers);
        QApplication::sendEvent(&Plot, &Event);
    }

    TiPlot Plot;
    TiPlotAxis& X = *Plot.XAxis(0);
    TiPlotAxis& Y = *Plot.YAxis(0);
    TiPlotDataView& View = *Plot.DataView(0);
    TiPlotChannel& Channel = static_cast<TiPlotChannel&>(*Plot.Channel(0));
    TiPlotDataCursor& Cursor = *Plot.DataCursor(0);
};

TEST_F(DataCursorTest, DefaultsAndPositionClamps) {
    TiPlot Fresh;
    TiPlotDataCursor& C = *Fresh.DataCursor(0);
    EXPECT_FALSE(C.Visible());
    EXPECT_EQ(C.ChannelName(), "Channel 1");
    EXPECT_EQ(C.Style(), ipcsValueXY);
    EXPECT_EQ(C.Color(), TColor(65535));
    EXPECT_EQ(std::make_tuple(C.Pointer1Position(), C.Pointer2Position(), C.HintPosition()),
              std::make_tuple(50.0, 60.0, 50.0));
    EXPECT_EQ(C.MenuItemCaptionInverseDeltaX(), "Frequency");
    C.SetPointer1Position(150);
    EXPECT_EQ(C.Pointer1Position(), 100);
    C.SetPointer1Position(-3);
    EXPECT_EQ(C.Pointer1Position(), 0);
    C.SetPointer2Position(NAN);
    EXPECT_EQ(C.Pointer2Position(), 0);
    C.SetHintPosition(101);
    EXPECT_EQ(C.HintPosition(), 100);
}

struct TReadCase {
    TiPlotDataCursorStyle Style;
    double At1, At2; // X values of the two pointers
    const char* Text;
};

TEST_F(DataCursorTest, ReadsTheFollowedChannelByStyle) {
    const TReadCase Cases[] = {
        {ipcsValueXY, 2.5, 0, "2.5, 25"},
        {ipcsValueX, 2.5, 0, "2.5"},
        {ipcsValueY, 2.5, 0, "25"},
        {ipcsDeltaX, 2.0, 2.5, "0.5"},
        {ipcsInverseDeltaX, 2.0, 2.5, "2.0"},
        {ipcsInverseDeltaX, 3.0, 3.0, "Infinite"},
        {ipcsValueXY, 11.5, 0, "11.5, Empty"},
    };
    for (const TReadCase& C : Cases) {
        Cursor.SetStyle(C.Style);
        Cursor.SetPointer1Position(PercentAtX(C.At1));
        Cursor.SetPointer2Position(PercentAtX(C.At2));
        EXPECT_EQ(Read(), C.Text) << int(C.Style) << " at " << C.At1;
    }
    // The distance scaled by the axis' cursor scaler.
    X.SetCursorScaler(1000);
    Cursor.SetStyle(ipcsDeltaX);
    Cursor.SetPointer1Position(PercentAtX(2.0));
    Cursor.SetPointer2Position(PercentAtX(2.5));
    EXPECT_EQ(Read(), "500.0");
    EXPECT_EQ(Cursor.Status(), 0);
}

TEST_F(DataCursorTest, PeakToPeakMeasuresBetweenTwoHorizontalPointers) {
    Cursor.SetStyle(ipcsDeltaY);
    Cursor.SetPointer1Position(20);
    Cursor.SetPointer2Position(70);
    Paint();
    const double Y1 = Y.PixelToValue(View.PercentToPixelY(20));
    const double Y2 = Y.PixelToValue(View.PercentToPixelY(70));
    EXPECT_DOUBLE_EQ(Cursor.ValueY(), std::abs(Y1 - Y2));
    EXPECT_NEAR(Cursor.ValueY(), 50, 0.5);
    // Both pointers lie across the view, at their heights.
    const int Pixel = View.PercentToPixelY(20);
    EXPECT_TRUE(Cursor.HitTest(Point(View.LayoutRect().Left + 3, Pixel + 5)));
    EXPECT_FALSE(Cursor.HitTest(Point(View.LayoutRect().Left + 3, Pixel + 6)));
}

TEST_F(DataCursorTest, LeftOfTheDataIsEmptyAndANullGapIsNull) {
    X.SetMinSpan(-5, X.Span());
    Cursor.SetPointer1Position(PercentAtX(-1));
    EXPECT_EQ(Read(), "-1.0, Empty");
    EXPECT_EQ(Cursor.Status(), 2);
    Channel.SetNull(4, true);
    Cursor.SetPointer1Position(PercentAtX(3.5));
    EXPECT_EQ(Read(), "3.5, Null");
    EXPECT_EQ(Cursor.Status(), 1);
}

TEST_F(DataCursorTest, InterpolationStylesAnswerTheirOwnWay) {
    Cursor.SetStyle(ipcsValueY);
    // A digital channel holds each point's level up to the next point.
    Channel.Clear();
    for (int I = 0; I <= 10; ++I)
        Channel.AddXY(I, I % 2);
    Channel.SetDigitalEnabled(true);
    Cursor.SetPointer1Position(PercentAtX(1.5));
    EXPECT_EQ(Read(), "High");
    Cursor.SetPointer1Position(PercentAtX(2.5));
    EXPECT_EQ(Read(), "Low");

    // Steps hold the last value beyond the last point, unless terminated.
    Channel.SetDigitalEnabled(false);
    Channel.SetInterpolationStyle(ipistDifferential);
    X.SetMinSpan(0, X.Span()); // 0 … about 80
    Cursor.SetPointer1Position(PercentAtX(12));
    EXPECT_EQ(Read(), "0");
    EXPECT_EQ(Cursor.Status(), 0);
    Cursor.SetPointer1Position(PercentAtX(3.5));
    EXPECT_EQ(Read(), "1");
    Channel.SetInterpolationStyle(ipistDifferentialTerminated);
    Cursor.SetPointer1Position(PercentAtX(12));
    EXPECT_EQ(Read(), "Null");

    // A curve answers with what it drew in the pointer's pixel column.
    Channel.SetInterpolationStyle(ipistCubicSpline);
    Cursor.SetPointer1Position(PercentAtX(4.5));
    Paint(); // the curve records its columns, then the cursor reads them
    const int Column = X.ValueToPixel(X.PixelToValue(PixelOf(Cursor.Pointer1Position())));
    ASSERT_GE(Column, Channel.PixelListFirst());
    const auto& Record = Channel.PixelList()[Column - Channel.PixelListFirst()];
    ASSERT_FALSE(Record.Empty);
    EXPECT_EQ(Cursor.ValueY(), Record.Y);
}

TEST_F(DataCursorTest, AllChannelsShowTheirReadingsInTheLegendInsteadOfTheHint) {
    Plot.NewChannel();
    TiPlotChannelCustom& Second = *Plot.Channel(1);
    for (int I = 0; I <= 10; ++I)
        Second.AddXY(I, 5);
    Cursor.SetPointer1Position(PercentAtX(3));
    Paint();
    EXPECT_TRUE(Cursor.HintDrawn());
    EXPECT_FALSE(Plot.Legend(0)->ShowAllChannels());

    Cursor.SetChannelName("<All>");
    Paint();
    EXPECT_FALSE(Cursor.HintDrawn());
    EXPECT_TRUE(Plot.Legend(0)->ShowAllChannels());
    EXPECT_EQ(Channel.CursorYText(), "30");
    EXPECT_EQ(Second.CursorYText(), "5");
    EXPECT_EQ(Second.CursorXText(), "3.0");

    Cursor.SetChannelShowAllInLegend(false);
    Paint();
    EXPECT_FALSE(Plot.Legend(0)->ShowAllChannels());
}

TEST_F(DataCursorTest, TheHintSitsBesideThePointerAndFlipsAtTheEdge) {
    const TRect& V = View.LayoutRect();
    Cursor.SetPointer1Position(30);
    Paint();
    ASSERT_TRUE(Cursor.HintDrawn());
    const int Pointer = PixelOf(30);
    EXPECT_EQ(Cursor.HintRect().Left, Pointer + 5) << "right of the pointer";
    EXPECT_NEAR((Cursor.HintRect().Top + Cursor.HintRect().Bottom) / 2, View.PercentToPixelY(50),
                1);
    Cursor.SetPointer1Position(99);
    Paint();
    EXPECT_EQ(Cursor.HintRect().Right, PixelOf(99) - 5) << "no room: left of it";
    Cursor.SetHintPosition(100);
    Paint();
    EXPECT_EQ(Cursor.HintRect().Top, V.Top) << "kept inside the view";
    Cursor.SetHintOrientationSide(iosTopLeft);
    Cursor.SetPointer1Position(30);
    Paint();
    EXPECT_EQ(Cursor.HintRect().Right, Pointer - 5);
    Cursor.SetHintHideOnRelease(true);
    Paint();
    EXPECT_FALSE(Cursor.HintDrawn()) << "only while a pointer is dragged";

    // Without a channel the hint says so, in the table's words.
    TiPlotTranslationObject& Entry = Plot.Master().TranslationManager().NewEntry();
    Entry.SetOriginalString("No Channel");
    Entry.SetReplacementString("Kein Kanal");
    std::string Hint;
    Plot.SetEvent(&TiPlotEvents::OnDataCursorCustomizeHint,
                  [&](int, std::string& Text) { Hint = Text; });
    Cursor.SetHintHideOnRelease(false);
    Cursor.SetChannelName("nothing");
    Paint();
    EXPECT_EQ(Hint, "Kein Kanal");
}

TEST_F(DataCursorTest, DraggingAPointerStopsAtTheEdgesAndReportsChanges) {
    int Changes = 0, Updates = 0;
    Plot.SetEvent(&TiPlotEvents::OnDataCursorChange, [&](int) { ++Changes; });
    Plot.SetEvent(&TiPlotEvents::OnBeforeDataCursorUpdate, [&](int) { ++Updates; });
    const QPoint On(PixelOf(50) + 4, MiddleY() + 100);
    Mouse(QEvent::MouseButtonPress, On);
    EXPECT_TRUE(Cursor.Focused());
    EXPECT_TRUE(Channel.Focused()) << "the followed channel is focused with its cursor";
    Mouse(QEvent::MouseMove, On + QPoint(30, 0));
    EXPECT_NEAR(Cursor.Pointer1Position(), View.PixelToPercentX(PixelOf(50) + 30), 1e-9);
    Mouse(QEvent::MouseMove, On + QPoint(2000, 0));
    EXPECT_EQ(Cursor.Pointer1Position(), 100);
    Mouse(QEvent::MouseMove, On - QPoint(2000, 0));
    EXPECT_EQ(Cursor.Pointer1Position(), 0);
    Mouse(QEvent::MouseButtonRelease, On - QPoint(2000, 0));
    EXPECT_GE(Changes, 2);
    EXPECT_GE(Updates, Changes);

    // The hint box drags along its pointer.
    Paint();
    const TRect H = Cursor.HintRect();
    const QPoint OnHint((H.Left + H.Right) / 2, (H.Top + H.Bottom) / 2);
    Mouse(QEvent::MouseButtonPress, OnHint);
    Mouse(QEvent::MouseMove, OnHint + QPoint(0, 2000));
    Mouse(QEvent::MouseButtonRelease, OnHint + QPoint(0, 2000));
    EXPECT_EQ(Cursor.HintPosition(), 0);
    EXPECT_EQ(Cursor.Pointer1Position(), 0);
}

TEST_F(DataCursorTest, KeysStepPointerOneWithCtrlAndPointerTwoWithout) {
    const double Step = 100.0 / (View.LayoutRect().Right - View.LayoutRect().Left);
    Mouse(QEvent::MouseButtonPress, QPoint(PixelOf(50), MiddleY() + 100));
    Mouse(QEvent::MouseButtonRelease, QPoint(PixelOf(50), MiddleY() + 100));
    ASSERT_TRUE(Cursor.Focused());
    Key(Qt::Key_Right);
    EXPECT_EQ(Cursor.Pointer1Position(), 50) << "no pointer 2 to move";
    Key(Qt::Key_Right, Qt::ControlModifier);
    EXPECT_NEAR(Cursor.Pointer1Position(), 50 + Step, 1e-9);
    Key(Qt::Key_Up, Qt::ControlModifier);
    EXPECT_NEAR(Cursor.HintPosition(),
                50 + 100.0 / (View.LayoutRect().Bottom - View.LayoutRect().Top), 1e-9)
        << "the hint moves up its pointer";
    Key(Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_NEAR(Cursor.Pointer1Position(), 50 - 4 * Step, 1e-9);
    Key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(Cursor.Pointer1Position(), 100);
    Key(Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(Cursor.Pointer1Position(), 100) << "clamped";

    Cursor.SetStyle(ipcsDeltaX);
    Key(Qt::Key_Home);
    EXPECT_EQ(Cursor.Pointer2Position(), 0);
    EXPECT_EQ(Cursor.Pointer1Position(), 100);
}

TEST_F(DataCursorTest, ToolbarCursorButtonShowsAndFocusesTheHiddenCursor) {
    Cursor.SetVisible(false);
    Paint();
    EXPECT_FALSE(Cursor.HintDrawn());
    TiPlotToolBar& Bar = *Plot.ToolBar(0);
    Bar.Button(TiPlotToolBarItem::Cursor).SetDown(true);
    Paint();
    EXPECT_TRUE(Cursor.Focused());
    EXPECT_TRUE(Cursor.HintDrawn());
    EXPECT_FALSE(X.TrackingEnabled());
    EXPECT_FALSE(Cursor.Visible()) << "the stored design is left alone";
    const QPoint On(PixelOf(50), MiddleY() + 100);
    Mouse(QEvent::MouseButtonPress, On);
    Mouse(QEvent::MouseMove, On + QPoint(20, 0));
    Mouse(QEvent::MouseButtonRelease, On + QPoint(20, 0));
    EXPECT_GT(Cursor.Pointer1Position(), 50) << "the mouse drags it too";
    Bar.Button(TiPlotToolBarItem::Cursor).SetDown(false);
    Paint();
    EXPECT_FALSE(Cursor.HintDrawn());
}

TEST_F(DataCursorTest, FocusFollowsChannelsAndOtherObjectsTakeIt) {
    Plot.NewChannel();
    TiPlotChannelCustom& Second = *Plot.Channel(1);
    Cursor.SetFocused(true);
    Second.SetFocused(true);
    EXPECT_EQ(Cursor.ChannelName(), Second.Name()) << "a focused cursor follows the channel";
    EXPECT_TRUE(Cursor.Focused());
    EXPECT_FALSE(Channel.Focused()) << "the channel it left lets go";
    Plot.Legend(0)->SetFocused(true);
    EXPECT_TRUE(Second.Focused()) << "a channel keeps the focus for its legend";
    EXPECT_FALSE(Cursor.Focused());
    Cursor.SetFocused(true);
    Second.SetName("Renamed");
    EXPECT_EQ(Cursor.ChannelName(), "Renamed");
    X.SetFocused(true);
    EXPECT_FALSE(Cursor.Focused());
}

TEST_F(DataCursorTest, PopupMenuChoosesChannelStyleAndOptions) {
    Plot.SetUserCanEditObjects(false);
    Channel.SetTitleText("Line\r\none");
    Mouse(QEvent::MouseButtonPress, QPoint(PixelOf(50), MiddleY() + 100), Qt::RightButton);
    Mouse(QEvent::MouseButtonRelease, QPoint(PixelOf(50), MiddleY() + 100), Qt::RightButton);
    ASSERT_NE(Plot.PopupMenu(), nullptr);
    const QList<QAction*> Top = Plot.PopupMenu()->actions();
    ASSERT_EQ(Top.size(), 4);
    EXPECT_EQ(Top[0]->text(), "Channel");
    EXPECT_EQ(Top[2]->text(), "Options");
    EXPECT_EQ(Top[3]->text(), "Flip Alignment");
    EXPECT_TRUE(Top[3]->isEnabled());
    const QList<QAction*> Channels = Top[0]->menu()->actions();
    ASSERT_EQ(Channels.size(), 2);
    EXPECT_EQ(Channels[0]->text(), "<All>");
    EXPECT_EQ(Channels[1]->text(), "Lineone");
    EXPECT_TRUE(Channels[1]->isChecked());
    Channels[0]->trigger();
    EXPECT_EQ(Cursor.ChannelName(), "<All>");

    const QList<QAction*> Styles = Top[1]->menu()->actions();
    ASSERT_EQ(Styles.size(), 6);
    EXPECT_TRUE(Styles[0]->isChecked());
    EXPECT_EQ(Styles[3]->text(), "Period");
    Styles[3]->trigger();
    EXPECT_EQ(Cursor.Style(), ipcsDeltaX);
    Top[2]->menu()->actions()[1]->trigger();
    EXPECT_TRUE(Cursor.HintHideOnRelease());
    Top[3]->trigger();
    EXPECT_EQ(Cursor.HintOrientationSide(), iosTopLeft);
    Plot.PopupMenu()->close();

    // Hidden style items and options stay out of the menu.
    Cursor.SetMenuItemVisibleDeltaY(false);
    Cursor.SetMenuUserCanChangeOptions(false);
    Cursor.SetChannelAllowAll(false);
    std::vector<TiPlotPopupItem> Items;
    Cursor.AddPopupItems(Items);
    ASSERT_EQ(Items.size(), 3u);
    EXPECT_EQ(Items[0].Items.size(), 1u);
    EXPECT_EQ(Items[1].Items.size(), 5u);
    EXPECT_FALSE(Items[2].Enabled) << "no flip for a distance";
}

TEST_F(DataCursorTest, ExchangedAxesTurnThePointers) {
    Plot.SetXYAxesReverse(true);
    Paint();
    // Pointer 1 now lies across the view at its height, reading the X axis
    // upward.
    const int Pixel = View.PercentToPixelY(50);
    EXPECT_TRUE(Cursor.HitTest(Point(View.LayoutRect().Left + 3, Pixel)));
    EXPECT_FALSE(Cursor.HitTest(Point(PixelOf(50), View.LayoutRect().Top + 3)));
    EXPECT_DOUBLE_EQ(Cursor.ValueX(), X.PixelToValue(Pixel));
}

} // namespace
