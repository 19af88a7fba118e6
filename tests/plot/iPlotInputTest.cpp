// The mouse, wheel and keys as the plot receives them from the platform,
// routed to its objects. The Qt application is the test program's
// (iPlotObjectsTest.cpp).

#include "plot/iPlot.h"
#include "plot/iPlotAxis.h"
#include "plot/iPlotDataView.h"
#include "plot/iPlotEditor.h"
#include "plot/iPlotToolBar.h"

#include "platform/Bitmap.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class PlotInput : public ::testing::Test {
  protected:
    PlotInput() {
        Plot.SetBounds(0, 0, 1000, 600);
        TBitmap Picture(1000, 600);
        Plot.Paint(Picture.Canvas()); // every object gets its place
    }
    QPoint Centre(const TRect& R) const {
        return QPoint((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
    }
    void Mouse(QEvent::Type Type, QPoint At, Qt::MouseButton Button,
               Qt::KeyboardModifiers Modifiers = Qt::NoModifier) {
        const Qt::MouseButtons Held = Type == QEvent::MouseButtonRelease ? Qt::NoButton : Button;
        QMouseEvent Event(Type, At, Plot.mapToGlobal(At), Button, Held, Modifiers);
        QApplication::sendEvent(&Plot, &Event);
    }
    void Click(QPoint At, Qt::MouseButton Button = Qt::LeftButton,
               Qt::KeyboardModifiers Modifiers = Qt::NoModifier) {
        Mouse(QEvent::MouseButtonPress, At, Button, Modifiers);
        Mouse(QEvent::MouseButtonRelease, At, Button, Modifiers);
    }
    void Key(int Code) {
        QKeyEvent Event(QEvent::KeyPress, Code, Qt::NoModifier);
        QApplication::sendEvent(&Plot, &Event);
    }

    TiPlot Plot;
    TiPlotAxis& X = *Plot.XAxis(0);
    TiPlotAxis& Y = *Plot.YAxis(0);
    TiPlotDataView& View = *Plot.DataView(0);
};

TEST_F(PlotInput, ClicksFocusObjectsByTheShiftAndCtrlRules) {
    const QPoint OnX = Centre(X.MouseRect()), OnY = Centre(Y.MouseRect());
    Click(OnY);
    EXPECT_TRUE(Y.Focused());
    Click(OnX);
    EXPECT_TRUE(X.Focused());
    EXPECT_FALSE(Y.Focused()) << "a plain click focuses one object";
    Click(OnY, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_TRUE(X.Focused() && Y.Focused()) << "Shift adds an axis";
    Click(OnY, Qt::LeftButton, Qt::ControlModifier);
    EXPECT_TRUE(X.Focused());
    EXPECT_FALSE(Y.Focused()) << "Ctrl toggles an axis";
    Click(Centre(View.LayoutRect()));
    EXPECT_TRUE(View.Focused());
    EXPECT_FALSE(X.Focused()) << "the data view takes the focus from the axes";
    Click(QPoint(2, 598));
    EXPECT_FALSE(View.Focused()) << "a click on nothing clears every focus";
}

TEST_F(PlotInput, ARightClickClearsTheFocusAndShowsTheObjectsMenu) {
    Click(Centre(X.MouseRect()));
    Click(Centre(Y.MouseRect()), Qt::RightButton);
    EXPECT_FALSE(X.Focused());
    ASSERT_NE(Plot.PopupMenu(), nullptr);
    const QList<QAction*> Actions = Plot.PopupMenu()->actions();
    ASSERT_EQ(Actions.size(), 4);
    EXPECT_EQ(Actions[0]->text(), "Tracking Enabled");
    EXPECT_TRUE(Actions[0]->isChecked());
    Actions[0]->trigger();
    EXPECT_FALSE(Y.TrackingEnabled());
    Plot.PopupMenu()->close();

    // The editor's entry comes last and opens the editor on the object.
    EXPECT_EQ(Actions[3]->text(), "Edit...");
    QObject* EditorPage = nullptr;
    Plot.SetEditorShown([&](TiPlotEditor& Editor) {
        EditorPage = Editor.CurrentObject();
        Editor.reject();
    });
    std::vector<std::string> Reported;
    iSetFailureReporter([&](const std::string& Message) { Reported.push_back(Message); });
    Actions[3]->trigger();
    iSetFailureReporter(nullptr);
    EXPECT_TRUE(Reported.empty());
    EXPECT_EQ(EditorPage, &Y);

    Y.SetPopupEnabled(false);
    Y.SetTrackingEnabled(true);
    Click(Centre(Y.MouseRect()), Qt::RightButton);
    EXPECT_FALSE(Plot.PopupMenu()->isVisible()) << "no menu for an object without one";
}

TEST_F(PlotInput, DragWheelAndKeysReachTheFocusedAxis) {
    const QPoint From = Centre(X.MouseRect());
    Mouse(QEvent::MouseButtonPress, From, Qt::LeftButton);
    Mouse(QEvent::MouseMove, From + QPoint(X.PixelLength() / 2, 0), Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, From + QPoint(X.PixelLength() / 2, 0), Qt::LeftButton);
    EXPECT_NEAR(X.Min(), -50, 1e-9) << "the scale follows the mouse";
    EXPECT_FALSE(X.TrackingEnabled());

    X.SetMinSpan(0, 100);
    QWheelEvent Wheel(QPointF(From), Plot.mapToGlobal(QPointF(From)), {}, QPoint(0, 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&Plot, &Wheel);
    EXPECT_NEAR(X.Min(), 5, 1e-9) << "a notch is 5 percent";

    Key(Qt::Key_PageUp);
    EXPECT_NEAR(X.Min(), 105, 1e-9) << "Page Up is a whole span";
    Key(Qt::Key_Left);
    EXPECT_NEAR(X.Min(), 104, 1e-9) << "the arrows reach the axis";
    EXPECT_EQ(Y.Min(), 0) << "the unfocused axis stays";
}

TEST_F(PlotInput, AnAxisTitleHintShowsAfterThePause) {
    Plot.SetHintsPause(10);
    Y.SetTitle("Temperature");
    Y.SetTitleShow(false);
    const QPoint On = Centre(Y.MouseRect());
    Mouse(QEvent::MouseMove, On, Qt::NoButton);
    EXPECT_FALSE(Plot.HintShowing()) << "not before the pause";
    QElapsedTimer Clock;
    Clock.start();
    while (!Plot.HintShowing() && Clock.elapsed() < 2000)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    EXPECT_TRUE(Plot.HintShowing());
    EXPECT_EQ(Plot.HintText(), "Temperature");
    EXPECT_EQ(Plot.HintPosition(), Point(On.x(), On.y() - 20));
    Click(On);
    EXPECT_FALSE(Plot.HintShowing()) << "a press hides it";

    // Leaving the plot hides a hint and cancels one about to show.
    Mouse(QEvent::MouseMove, On + QPoint(0, 1), Qt::NoButton);
    QEvent Leave(QEvent::Leave);
    QApplication::sendEvent(&Plot, &Leave);
    Clock.restart();
    while (Clock.elapsed() < 100)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    EXPECT_FALSE(Plot.HintShowing());
}

TEST_F(PlotInput, TheSecondPressOfADoubleClickDoesNotDragTheScale) {
    const QPoint From = Centre(X.MouseRect());
    Click(From);
    QMouseEvent Double(QEvent::MouseButtonDblClick, From, Plot.mapToGlobal(From), Qt::LeftButton,
                       Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&Plot, &Double);
    Mouse(QEvent::MouseMove, From + QPoint(100, 0), Qt::LeftButton);
    EXPECT_EQ(X.Min(), 0);
    Mouse(QEvent::MouseButtonRelease, From + QPoint(100, 0), Qt::LeftButton);
}

TEST_F(PlotInput, EventsOfTheObjectsByKind) {
    std::vector<std::string> Heard;
    Plot.SetEvent(&TiPlotEvents::OnMouseDownYAxis, [&](int Index, TMouseButton Button, TShiftState,
                                                       int, int) {
        Heard.push_back("down Y" + std::to_string(Index) + (Button == mbLeft ? " left" : " other"));
    });
    Plot.SetEvent(&TiPlotEvents::OnMouseUpYAxis,
                  [&](int, TMouseButton, TShiftState, int, int) { Heard.push_back("up Y"); });
    Plot.SetEvent(&TiPlotEvents::OnClickYAxis, [&](int) { Heard.push_back("click Y"); });
    Plot.SetEvent(&TiPlotEvents::OnGotFocusYAxis, [&](int) { Heard.push_back("got Y"); });
    Plot.SetEvent(&TiPlotEvents::OnLostFocusYAxis, [&](int) { Heard.push_back("lost Y"); });
    Plot.SetEvent(&TiPlotEvents::OnClickDataView, [&](int) { Heard.push_back("click view"); });
    Plot.SetEvent(&TiPlotEvents::OnDblClickDataView, [&](int) { Heard.push_back("double view"); });
    Plot.SetEvent(&TiPlotEvents::OnPopupMenuYAxis, [&](int, bool& Cancel, int, int) {
        Heard.push_back("popup Y");
        Cancel = true;
    });
    Click(Centre(Y.MouseRect()));
    Click(Centre(View.LayoutRect()));
    Mouse(QEvent::MouseButtonDblClick, Centre(View.LayoutRect()), Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, Centre(View.LayoutRect()), Qt::LeftButton);
    Click(Centre(Y.MouseRect()), Qt::RightButton);
    // A right press focuses the axis too, and is a mouse-down of its own.
    EXPECT_EQ(Heard, (std::vector<std::string>{"got Y", "down Y0 left", "click Y", "up Y", "lost Y",
                                               "click view", "double view", "got Y", "popup Y",
                                               "down Y0 other"}));
    EXPECT_EQ(Plot.PopupMenu(), nullptr) << "the handler cancelled the menu";
}

TEST_F(PlotInput, ToolBarButtonsAnswerThePlotsMouse) {
    std::vector<int> Clicks;
    Plot.SetEvent(&TiPlotEvents::OnToolBarButtonClick,
                  [&](int Index, int ButtonType) { Clicks.push_back(Index * 100 + ButtonType); });
    Click(Centre(Plot.ToolBar(0)->Button(TiPlotToolBarItem::Pause).Rect()));
    EXPECT_EQ(Clicks, std::vector<int>{1});
    EXPECT_FALSE(X.TrackingEnabled());
    EXPECT_FALSE(Y.TrackingEnabled());
    EXPECT_FALSE(Plot.ToolBar(0)->Focused()) << "a toolbar is not focused by a click";

    TiPlotToolBarButton& Zoom = Plot.ToolBar(0)->Button(TiPlotToolBarItem::ZoomIn);
    Mouse(QEvent::MouseMove, Centre(Zoom.Rect()), Qt::NoButton);
    EXPECT_TRUE(Zoom.MouseOver());
    Mouse(QEvent::MouseMove, Centre(View.LayoutRect()), Qt::NoButton);
    EXPECT_FALSE(Zoom.MouseOver()) << "the toolbar learns that the mouse left it";
    Mouse(QEvent::MouseMove, Centre(Zoom.Rect()), Qt::NoButton);
    QEvent Leave(QEvent::Leave);
    QApplication::sendEvent(&Plot, &Leave);
    EXPECT_FALSE(Zoom.MouseOver()) << "and that it left the plot";
}

TEST_F(PlotInput, PauseAndResumeEveryAxis) {
    Plot.NewXAxis();
    const std::vector<TiPlotAxis*> Axes{Plot.XAxis(0), Plot.XAxis(1), Plot.YAxis(0)};
    Plot.PauseTracking();
    for (TiPlotAxis* A : Axes)
        EXPECT_FALSE(A->TrackingEnabled());
    Plot.ResumeTracking();
    for (TiPlotAxis* A : Axes)
        EXPECT_TRUE(A->TrackingEnabled());
}

} // namespace
