// The toolbar of a painted plot, clicked at its button centres: commands,
// button states, drawing and hints. The Qt application is the test
// program's (iPlotObjectsTest.cpp).

#include "plot/iPlotToolBar.h"
#include "plot/iPlot.h"
#include "plot/iPlotAxis.h"
#include "plot/iPlotDataCursor.h"
#include "plot/iPlotDataView.h"
#include "plot/iPlotEditor.h"
#include "plot/iPlotManagers.h"
#include "plot/iPlotTranslation.h"

#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/SystemColors.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <gtest/gtest.h>

#include <vector>

namespace {

using Item = TiPlotToolBarItem;

constexpr TColor PlayGreen = 0x009600; // the Resume glyph
constexpr TColor PauseNavy = 0x800000; // the Pause glyph

class ToolBar : public ::testing::Test {
  protected:
    ToolBar() {
        Plot.SetBounds(0, 0, 1000, 600);
        Bar.SetOnButtonClick([this](int ButtonType) { Clicks.push_back(ButtonType); });
        Paint();
    }
    void Paint() { Plot.Paint(Picture.Canvas()); }
    static TPoint Centre(const TRect& R) {
        return Point((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
    }
    TPoint Centre(Item Which) const { return Centre(Bar.Button(Which).Rect()); }
    void Click(Item Which) {
        Bar.MouseDown(Centre(Which));
        Bar.MouseUp(Centre(Which));
    }
    std::vector<TiPlotAxis*> Axes() {
        return {Plot.XAxis(0), Plot.YAxis(0), Plot.XAxis(Plot.NewXAxis()),
                Plot.YAxis(Plot.NewYAxis())};
    }
    bool Seen(const TRect& R, TColor Colour) {
        for (int Y = R.Top; Y < R.Bottom; ++Y)
            for (int X = R.Left; X < R.Right; ++X)
                if (Picture.Canvas().Pixel(X, Y) == Colour)
                    return true;
        return false;
    }

    TiPlot Plot;
    TBitmap Picture{1000, 600};
    TiPlotToolBar& Bar = *Plot.ToolBar(0);
    std::vector<int> Clicks;
};

TEST_F(ToolBar, ZoomInAndOutHandTheFactorToEveryAxisAfterPausing) {
    struct Case {
        Item Button;
        double Factor;
        double LinearSpan; // times the span before
        double LogSpan;
        std::vector<int> Clicks;
    };
    for (const Case& C :
         {Case{Item::ZoomIn, 2, 0.5, 0.1, {1, 7}}, Case{Item::ZoomOut, 2, 2, 10, {1, 6}},
          Case{Item::ZoomIn, 4, 0.25, 0.1, {1, 7}}, Case{Item::ZoomIn, 0.5, 1, 0.1, {1, 7}}}) {
        TiPlot P;
        P.SetBounds(0, 0, 1000, 600);
        TBitmap Pic{1000, 600};
        TiPlotToolBar& B = *P.ToolBar(0);
        std::vector<int> Got;
        B.SetOnButtonClick([&](int T) { Got.push_back(T); });
        B.SetZoomInOutFactor(C.Factor);
        TiPlotAxis& X = *P.XAxis(0);
        TiPlotAxis& Y = *P.YAxis(0);
        Y.SetScaleType(ipstLog10);
        Y.SetMin(1);
        Y.SetSpan(1000);
        const double XSpan = X.Span(), YSpan = Y.Span();
        P.Paint(Pic.Canvas());
        const TPoint At = Centre(B.Button(C.Button).Rect());
        B.MouseDown(At);
        B.MouseUp(At);
        EXPECT_DOUBLE_EQ(X.Span(), XSpan * C.LinearSpan) << C.Factor;
        EXPECT_NEAR(Y.Span(), YSpan * C.LogSpan, 1e-9 * YSpan) << C.Factor;
        EXPECT_FALSE(X.TrackingEnabled());
        EXPECT_FALSE(Y.TrackingEnabled());
        EXPECT_EQ(Got, C.Clicks);
    }
}

TEST_F(ToolBar, AxesModeButtonsStayExclusiveAndRepeatTheirReport) {
    EXPECT_TRUE(Bar.Button(Item::Scroll).Down());
    Click(Item::Zoom);
    EXPECT_TRUE(Bar.Button(Item::Zoom).Down());
    EXPECT_FALSE(Bar.Button(Item::Scroll).Down());
    EXPECT_EQ(Plot.XAxis(0)->MouseMode(), TiPlotAxisMouseMode::Zoom);
    EXPECT_EQ(Plot.YAxis(0)->MouseMode(), TiPlotAxisMouseMode::Zoom);
    Click(Item::Scroll);
    Click(Item::Scroll);
    EXPECT_TRUE(Bar.Button(Item::Scroll).Down()) << "a second click keeps it down";
    EXPECT_FALSE(Bar.Button(Item::Zoom).Down());
    EXPECT_EQ(Plot.XAxis(0)->MouseMode(), TiPlotAxisMouseMode::Scroll);
    EXPECT_EQ(Clicks, (std::vector<int>{3, 2, 2}));
}

TEST_F(ToolBar, PauseAndResumeEveryAxis) {
    const std::vector<TiPlotAxis*> All = Axes();
    Paint();
    Click(Item::Pause);
    for (TiPlotAxis* Axis : All)
        EXPECT_FALSE(Axis->TrackingEnabled()) << Axis->Name();
    Paint();
    EXPECT_FALSE(Bar.Button(Item::Pause).Enabled()) << "nothing left to pause";
    EXPECT_TRUE(Bar.Button(Item::Resume).Enabled());
    Click(Item::Pause);
    Click(Item::Resume);
    for (TiPlotAxis* Axis : All)
        EXPECT_TRUE(Axis->TrackingEnabled()) << Axis->Name();
    EXPECT_EQ(Clicks, (std::vector<int>{1, 0})) << "the greyed Pause ignores the mouse";
}

TEST_F(ToolBar, ResumeReleasesTheCursorFirst) {
    Plot.DataView(0)->SetFocused(true);
    Click(Item::Cursor);
    EXPECT_TRUE(Bar.Button(Item::Cursor).Down());
    EXPECT_TRUE(Bar.DataCursorMode());
    EXPECT_FALSE(Plot.XAxis(0)->TrackingEnabled()) << "the cursor pauses tracking";
    EXPECT_TRUE(Plot.DataCursor(0)->Focused());
    Paint();
    Click(Item::Resume);
    EXPECT_FALSE(Bar.Button(Item::Cursor).Down());
    EXPECT_FALSE(Bar.DataCursorMode());
    EXPECT_TRUE(Plot.XAxis(0)->TrackingEnabled());
    EXPECT_FALSE(Plot.DataCursor(0)->Focused()) << "Resume takes every focus";
    EXPECT_FALSE(Plot.DataView(0)->Focused());
    EXPECT_EQ(Clicks, (std::vector<int>{8, 8, 0}));
}

TEST_F(ToolBar, SelectAndZoomBoxExcludeEachOther) {
    Bar.SetShowSelectButton(true);
    Paint();
    Click(Item::Select);
    EXPECT_TRUE(Bar.SelectDown());
    EXPECT_TRUE(Bar.SelectionMode());
    EXPECT_FALSE(Plot.YAxis(0)->TrackingEnabled());
    Click(Item::ZoomBox);
    EXPECT_FALSE(Bar.SelectDown());
    EXPECT_FALSE(Bar.SelectionMode());
    EXPECT_TRUE(Bar.ZoomBoxDown());
    Click(Item::ZoomBox);
    EXPECT_FALSE(Bar.ZoomBoxDown());
    Click(Item::Select);
    Click(Item::Select);
    EXPECT_FALSE(Bar.SelectDown());
    EXPECT_EQ(Clicks, (std::vector<int>{4, 5, 5, 4, 4}));
}

TEST_F(ToolBar, ReleaseOutsideTheButtonRunsNothing) {
    Bar.MouseDown(Centre(Item::Pause));
    EXPECT_TRUE(Bar.Button(Item::Pause).Pressed());
    Bar.MouseUp(Centre(Item::Zoom));
    EXPECT_FALSE(Bar.Button(Item::Pause).Pressed());
    EXPECT_TRUE(Plot.XAxis(0)->TrackingEnabled());
    EXPECT_FALSE(Bar.Button(Item::Zoom).Down());
    EXPECT_TRUE(Clicks.empty());
}

TEST_F(ToolBar, OutputCommandsRunThePlotsOperations) {
    Bar.SetShowPreviewButton(true);
    Paint();
    QObject* EditorPage = nullptr;
    Plot.SetEditorShown([&](TiPlotEditor& Editor) {
        EditorPage = Editor.CurrentObject();
        Editor.reject();
    });
    Click(Item::Properties);
    EXPECT_EQ(EditorPage, &Plot) << "the editor opens on the plot's page";
    EXPECT_FALSE(Bar.Button(Item::Properties).Pressed());

    QGuiApplication::clipboard()->clear();
    Click(Item::Copy);
    EXPECT_TRUE(QGuiApplication::clipboard()->mimeData()->hasFormat("image/png"));
    bool Asked = false;
    Plot.SetSaveImageChooser([&](const std::string&, std::string&) { return !(Asked = true); });
    Click(Item::Save);
    EXPECT_TRUE(Asked);
    EXPECT_EQ(Clicks, (std::vector<int>{9, 10, 11}));
}

TEST_F(ToolBar, GreyedResumeAndTransparentGlyphs) {
    const TRect& Resume = Bar.Button(Item::Resume).Rect();
    const TRect& Pause = Bar.Button(Item::Pause).Rect();
    EXPECT_FALSE(Bar.Button(Item::Resume).Enabled()) << "every axis is tracking";
    EXPECT_FALSE(Seen(Resume, PlayGreen));
    EXPECT_TRUE(Seen(Resume, ColorToRGB(clBtnShadow)));
    EXPECT_TRUE(Seen(Pause, PauseNavy));
    EXPECT_FALSE(Seen(Bar.LayoutRect(), 0x808000)) << "the glyph background is left out";

    Click(Item::Resume);
    EXPECT_TRUE(Clicks.empty()) << "a greyed button ignores the mouse";
    Plot.XAxis(0)->SetTrackingEnabled(false);
    Paint();
    EXPECT_TRUE(Bar.Button(Item::Resume).Enabled());
    EXPECT_TRUE(Seen(Resume, PlayGreen));
}

TEST_F(ToolBar, SeparatorsFollowTheirButtons) {
    const int Left = Bar.LayoutRect().Left + 3;
    EXPECT_EQ(Bar.Button(Item::Scroll).Rect().Left, Left + 30 + 30 + 10);
    EXPECT_FALSE(Bar.ShowSelectButton());
    EXPECT_FALSE(Bar.ShowPreviewButton());

    Bar.SetShowResumeButton(false);
    EXPECT_TRUE(Bar.Button(Item::Separator1).Visible()) << "Pause still shown";
    Bar.SetShowPauseButton(false);
    EXPECT_FALSE(Bar.Button(Item::Separator1).Visible());
    Bar.SetShowZoomBoxButton(false);
    Bar.SetShowCursorButton(false);
    EXPECT_FALSE(Bar.Button(Item::Separator4).Visible());
    Bar.SetShowEditButton(false);
    EXPECT_FALSE(Bar.Button(Item::Separator5).Visible());
    Bar.SetShowAxesModeButtons(false);
    EXPECT_FALSE(Bar.Button(Item::Zoom).Visible());
    EXPECT_FALSE(Bar.Button(Item::Separator2).Visible());
    EXPECT_TRUE(Bar.Button(Item::Separator3).Visible());
    Paint();
    EXPECT_EQ(Bar.Button(Item::ZoomOut).Rect().Left, Left) << "hidden items take no room";
    EXPECT_EQ(Bar.Button(Item::Copy).Rect().Left, Left + 30 + 30 + 10);
}

TEST_F(ToolBar, SmallButtons) {
    Bar.SetSmallButtons(true);
    Paint();
    EXPECT_EQ(Bar.Thickness(Picture.Canvas()), 28);
    EXPECT_EQ(Bar.Button(Item::Pause).GlyphName(), "SMALLPAUSE");
    const TRect& Pause = Bar.Button(Item::Pause).Rect();
    EXPECT_EQ(Pause.Right - Pause.Left, 22);
    EXPECT_EQ(Pause.Bottom - Pause.Top, 22);
    EXPECT_TRUE(Seen(Pause, PauseNavy));
    Bar.SetSmallButtons(false);
    Paint();
    EXPECT_EQ(Bar.Button(Item::Pause).GlyphName(), "PAUSE");
    EXPECT_EQ(Bar.Button(Item::Pause).Rect().Right - Bar.Button(Item::Pause).Rect().Left, 30);
}

TEST_F(ToolBar, HintsAreTranslatedAndShownBelowTheButton) {
    TiPlotTranslationObject& Entry = Plot.Master().TranslationManager().NewEntry();
    Entry.SetOriginalString("Zoom In All Axes");
    Entry.SetReplacementString("Vergroessern");
    const TRect& ZoomIn = Bar.Button(Item::ZoomIn).Rect();
    EXPECT_EQ(Bar.Claim(Centre(ZoomIn).X, Centre(ZoomIn).Y), &Bar);
    Bar.MouseHover(Centre(ZoomIn));
    EXPECT_TRUE(Bar.Button(Item::ZoomIn).MouseOver());
    EXPECT_EQ(Plot.HintText(), "Vergroessern");
    EXPECT_EQ(Plot.HintPosition(), Point(ZoomIn.Left, ZoomIn.Bottom + 3));
    Bar.MouseHover(Centre(Item::Pause));
    EXPECT_FALSE(Bar.Button(Item::ZoomIn).MouseOver());
    EXPECT_EQ(Plot.HintText(), "Pause All (Tracking)");
}

TEST_F(ToolBar, FlatAndNormalButtonFaces) {
    const TColor Face = ColorToRGB(clBtnFace), Shadow = ColorToRGB(clBtnShadow),
                 Light = ColorToRGB(clBtnHighlight), DownFace = 0xEFEFEF;
    const auto At = [this](Item Which, int DX, int DY) {
        const TRect& R = Bar.Button(Which).Rect();
        return Picture.Canvas().Pixel(R.Left + DX, R.Top + DY);
    };
    EXPECT_EQ(At(Item::Scroll, 3, 3), DownFace) << "a normal button held down";
    EXPECT_NE(At(Item::Pause, 3, 3), DownFace);

    Bar.SetFlatButtons(true);
    Paint();
    EXPECT_EQ(At(Item::Scroll, 3, 3), DownFace);
    EXPECT_EQ(At(Item::Scroll, 0, 5), Shadow) << "sunken: shadow at the top left";
    EXPECT_EQ(At(Item::Pause, 0, 5), Face) << "no frame away from the mouse";
    EXPECT_EQ(At(Item::Pause, 3, 3), Face);
    Bar.MouseHover(Centre(Item::Pause));
    Paint();
    EXPECT_EQ(At(Item::Pause, 0, 5), Light) << "raised under the mouse";
    EXPECT_EQ(At(Item::Pause, 29, 5), Shadow);
}
} // namespace
