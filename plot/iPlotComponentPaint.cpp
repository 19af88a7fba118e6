// The painting order of the plot.

#include "plot/iPlotComponent.h"

#include "components/iGPFunctions.h"
#include "platform/Canvas.h"
#include "plot/iPlotAnnotation.h"
#include "plot/iPlotAxis.h"
#include "plot/iPlotChannelCustom.h"
#include "plot/iPlotDataCursor.h"
#include "plot/iPlotDataView.h"
#include "plot/iPlotLabel.h"
#include "plot/iPlotLayoutManager.h"
#include "plot/iPlotLegend.h"
#include "plot/iPlotLimit.h"
#include "plot/iPlotTable.h"
#include "plot/iPlotToolBar.h"

#include "platform/Text.h"

#include <algorithm>

void TiPlotComponent::Layout(TCanvas& Canvas) {
    TiPlotLayoutFrame Frame;
    Frame.Width = Width();
    Frame.Height = Height();
    Frame.Border = BorderStyle() != ibsNone ? 2 : 0;
    Frame.MarginLeft = FOuterMarginLeft;
    Frame.MarginTop = FOuterMarginTop;
    Frame.MarginRight = FOuterMarginRight;
    Frame.MarginBottom = FOuterMarginBottom;
    const TRect DataViewRect = FMaster->LayoutManager().Layout(Canvas, Frame);
    if (DataViewCount() > 0)
        DataView(0)->SetLayoutRect(FitToAxes(Canvas, DataViewRect));
}

TRect TiPlotComponent::FitToAxes(TCanvas& Canvas, TRect R) {
    // The extent of the axes along the data view's width (or height): their
    // boxes' smallest start and largest end. Without axes of a kind the data
    // view keeps its extent in that direction.
    auto Fit = [&](bool AlongWidth, int& Start, int& End) {
        const bool X = AlongWidth != FXYAxesReverse;
        const int Count = X ? XAxisCount() : YAxisCount();
        if (Count == 0)
            return;
        Start = AlongWidth ? Width() : Height();
        End = 0;
        for (int I = 0; I < Count; ++I) {
            TiPlotAxis* Axis = X ? static_cast<TiPlotAxis*>(XAxis(I)) : YAxis(I);
            Axis->CalcPixelRange(Canvas);
            const TRect& Box = Axis->Box();
            Start = std::min(Start, AlongWidth ? Box.Left : Box.Top);
            End = std::max(End, AlongWidth ? Box.Right : Box.Bottom);
        }
    };
    Fit(false, R.Top, R.Bottom);
    Fit(true, R.Left, R.Right);
    return R;
}

void TiPlotComponent::CalcAxesTicks(TCanvas& Canvas) {
    for (int I = 0; I < XAxisCount(); ++I)
        XAxis(I)->CalcTicks(Canvas);
    for (int I = 0; I < YAxisCount(); ++I)
        YAxis(I)->CalcTicks(Canvas);
}

void TiPlotComponent::iPaintTo(TCanvas& Canvas) {
    // Without a toolbar, a legend or a data view the plot stays blank.
    if (ToolBarCount() == 0 || LegendCount() == 0 || DataViewCount() == 0) {
        Canvas.Brush().SetStyle(bsSolid);
        Canvas.Brush().SetColor(clWhite);
        Canvas.FillRect(Rect(0, 0, Width(), Height()));
        return;
    }
    FOccupied.clear();
    ShowAllChannelsInLegend();
    // Twice: the second pass sees the sizes the first one settled; the
    // ticks follow the final scales.
    CalcAxesTicks(Canvas);
    Layout(Canvas);
    Layout(Canvas);
    CalcAxesTicks(Canvas);
    for (int I = 0; I < ChannelCount(); ++I)
        Channel(I)->PrepareDraw(Canvas);
    for (int I = 0; I < XAxisCount(); ++I)
        XAxis(I)->PrepareDraw(Canvas);
    for (int I = 0; I < YAxisCount(); ++I)
        YAxis(I)->PrepareDraw(Canvas);
    for (int I = 0; I < AnnotationCount(); ++I) {
        Annotation(I)->SetDataView(DataView(0));
        Annotation(I)->SetXYSwap(FXYAxesReverse);
    }
    for (int I = 0; I < DataCursorCount(); ++I) {
        DataCursor(I)->SetDataView(DataView(0));
        DataCursor(I)->SetXYSwap(FXYAxesReverse);
    }
    if (FBackGroundGradientEnabled)
        iGradientFill(Canvas, Rect(0, 0, Width(), Height()), FBackGroundGradientDirection,
                      FBackGroundGradientStartColor, FBackGroundGradientStopColor);
    else
        iPaintBackGround(Canvas, BackGroundColor());
    DataView(0)->PaintBackground(Canvas);
    DrawDataViewLayer(Canvas);
    DrawFrameLayer(Canvas);
    for (int I = 0; I < DataCursorCount(); ++I)
        DataCursor(I)->Draw(Canvas, BackGroundColor());
    for (int I = 0; I < LegendCount(); ++I)
        Legend(I)->Draw(Canvas, BackGroundColor());
    for (int I = 0; I < TableCount(); ++I)
        Table(I)->Draw(Canvas, BackGroundColor());
    DrawHint(Canvas);
}

void TiPlotComponent::ShowAllChannelsInLegend() {
    bool ShowAll = false;
    for (int I = 0; I < DataCursorCount(); ++I) {
        TiPlotDataCursor* Cursor = DataCursor(I);
        ShowAll = ShowAll ||
                  (Cursor->Shown() && Cursor->FollowsAll() && Cursor->ChannelShowAllInLegend());
    }
    Legend(0)->SetShowAllChannels(ShowAll);
}

// Over everything, in the colours of the desktop's tooltips.
void TiPlotComponent::DrawHint(TCanvas& Canvas) {
    FHint.Drawn = FHint.Showing;
    if (!FHint.Showing)
        return;
    Canvas.Font() = FHintsFont;
    Canvas.Font().SetColor(clInfoText);
    Canvas.Brush().SetStyle(bsSolid);
    Canvas.Brush().SetColor(clInfoBk);
    const TPoint P = FHint.Position;
    const TRect Box = Rect(P.X, P.Y, P.X + Canvas.TextWidth(FHint.Text) + 4,
                           P.Y + Canvas.TextHeight(FHint.Text) + 4);
    Canvas.FillRect(Box);
    Canvas.TextOut(P.X + 2, P.Y + 2, FHint.Text);
}

// What lies around the data view, over the background and the traces.
void TiPlotComponent::DrawFrameLayer(TCanvas& Canvas) {
    Canvas.Brush().SetStyle(bsSolid);
    Canvas.Brush().SetColor(BackGroundColor());
    iPaintBorder(Canvas);
    for (int I = 0; I < XAxisCount(); ++I)
        if (XAxis(I)->CartesianStyle() == ipcsNone)
            XAxis(I)->Draw(Canvas, BackGroundColor());
    for (int I = 0; I < YAxisCount(); ++I)
        if (YAxis(I)->CartesianStyle() == ipcsNone)
            YAxis(I)->Draw(Canvas, BackGroundColor());
    for (int I = 0; I < LabelCount(); ++I)
        Label(I)->Draw(Canvas, BackGroundColor());
    for (int I = 0; I < ToolBarCount(); ++I)
        ToolBar(I)->Draw(Canvas, BackGroundColor());
}

std::vector<TiPlotObject*> TiPlotComponent::DrawList() const {
    std::vector<std::string> Keys;
    std::vector<TiPlotObject*> Objects;
    auto Enter = [&](TiPlotObject* Object, char Letter) {
        const std::string Key = FormatDecimal(Object->Layer(), 6) + Letter;
        // Before the entries with an equal key.
        const auto At = std::lower_bound(Keys.begin(), Keys.end(), Key, KeyLess);
        Objects.insert(Objects.begin() + (At - Keys.begin()), Object);
        Keys.insert(At, Key);
    };
    if (DataViewCount() > 0)
        Enter(DataView(0), 'B');
    for (int I = 0; I < LimitCount(); ++I)
        Enter(Limit(I), Limit(I)->DrawnBehindGrid() ? 'A' : 'C');
    for (int I = 0; I < YAxisCount(); ++I)
        if (YAxis(I)->CartesianStyle() != ipcsNone)
            Enter(YAxis(I), 'D');
    for (int I = 0; I < XAxisCount(); ++I)
        if (XAxis(I)->CartesianStyle() != ipcsNone)
            Enter(XAxis(I), 'E');
    for (int I = 0; I < ChannelCount(); ++I)
        if (Channel(I)->DrawReady())
            Enter(Channel(I), 'F');
    for (int I = 0; I < AnnotationCount(); ++I)
        Enter(Annotation(I), 'G');
    return Objects;
}

// Everything inside data view 0 is clipped to it, one object at a time.
void TiPlotComponent::DrawDataViewLayer(TCanvas& Canvas) {
    const TRect& View = DataView(0)->LayoutRect();
    for (TiPlotObject* Object : DrawList()) {
        Canvas.IntersectClipRect(Rect(View.Left, View.Top, View.Right + 1, View.Bottom + 1));
        Object->Draw(Canvas, BackGroundColor());
        Canvas.ResetClip();
    }
}
