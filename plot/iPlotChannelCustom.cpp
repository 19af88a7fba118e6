#include "plot/iPlotChannelCustom.h"

#include "plot/iPlotAxis.h"
#include "plot/iPlotToolBar.h"

#include "platform/Exception.h"

#include <algorithm>
#include <cmath>

namespace {

std::unique_ptr<TiPlotDataCustomList> NewStorage(TiPlotDataStyle Style) {
    switch (Style) {
    case ipdsCompact:
        return std::make_unique<TiPlotDataCompactList>();
    case ipdsCompactInterval:
        return std::make_unique<TiPlotDataCompactIntervalList>();
    case ipdsFullFeature:
        return std::make_unique<TiPlotDataFullList>();
    case ipdsStandard:
        break;
    }
    return std::make_unique<TiPlotDataNullList>();
}

} // namespace

TiPlotChannelCustom::TiPlotChannelCustom(TiPlotHost* Host)
    : TiPlotManagerObject(Host), FData(NewStorage(ipdsStandard)), FAxes(Host) {
    TiPlotDrawAttributes& A = InitialAttributes();
    A.Color = clRed;
    A.TraceLineStyle = iplsSolid;
    A.TraceLineWidth = 1;
    A.MarkersVisible = false;
    A.MarkersStyle = ipmsCircle;
    A.MarkersSize = 3;
    A.MarkersPenColor = clRed;
    A.MarkersPenWidth = 0;
    A.MarkersPenStyle = psSolid;
    A.MarkersBrushColor = clRed;
    A.MarkersBrushStyle = bsSolid;
    FMarkersFont.SetColor(clWhite);
    FMarkersFont.SetStyle({fsBold});
    ResetStatistics();
}

TiPlotChannelCustom::~TiPlotChannelCustom() {
    // The points still pending reach the log; a failure has nobody to tell.
    try {
        if (FLoggingActive)
            LogDeactivate();
    } catch (const std::exception&) {
    }
}

void TiPlotChannelCustom::ObjectNameChanged(TiPlotObject* Object) {
    FAxes.ObjectNameChanged(Object);
}

void TiPlotChannelCustom::SetRingBufferSize(int Value) {
    FData->SetRingBufferSize(Value);
    DoChange();
}

void TiPlotChannelCustom::SetDataStyle(TiPlotDataStyle Value) {
    if (FDataStyle == Value)
        return;
    const TiPlotDrawAttributes Defaults = FData->Defaults();
    const int RingSize = FData->GetRingBufferSize();
    std::unique_ptr<TiPlotDataCustomList> Data = NewStorage(Value);
    Data->Defaults() = Defaults;
    Data->SetRingBufferSize(RingSize);
    FData = std::move(Data);
    FDataStyle = Value;
    DoChange();
}

void TiPlotChannelCustom::ResetStatistics() {
    FStatCount = 0;
    FXMin = FYMin = 1e300;
    FXMax = FYMax = -1e300;
    FXSum = FYSum = {};
}

// A host that keeps no log of its own only repaints.
void TiPlotHost::PointAdded(TiPlotChannelCustom* Channel) {
    ObjectChanged(Channel);
}

int TiPlotChannelCustom::AddXY(double X, double Y) {
    int Index = FData->AddXY(X, Y);
    CountInStatistics(X, Y);
    ReportToAxes(FData->Count() - 1, X, Y);
    if (FLoggingActive && (++FLogPendingCount >= FLogBufferSize || FLogBufferSize < 2)) {
        // Asked for before a write that may fail.
        DoChange();
        LogFlush();
    }
    // Also the repaint request for the point.
    if (Host())
        Host()->PointAdded(this);
    return Index;
}

void TiPlotChannelCustom::ReportToAxes(int Newest, double X, double Y) {
    TiPlotAxis* XAxis = FXAxisTrackingEnabled ? this->XAxis() : nullptr;
    TiPlotAxis* YAxis = FYAxisTrackingEnabled ? this->YAxis() : nullptr;
    if (!MarkersVisible()) {
        if (XAxis)
            XAxis->NewTrackingData(X);
        if (YAxis)
            YAxis->NewTrackingData(Y);
        return;
    }
    // A visible marker never sticks out of a tracked axis.
    if (XAxis) {
        XAxis->NewTrackingData(MarkerXHigh(Newest));
        XAxis->NewTrackingData(MarkerXLow(Newest));
    }
    if (YAxis) {
        YAxis->NewTrackingData(MarkerYHigh(Newest));
        YAxis->NewTrackingData(MarkerYLow(Newest));
    }
}

double TiPlotChannelCustom::HalfMarker(int Index, TiPlotAxis* Axis, const char* MissingAxis) {
    if (FData->Null(Index))
        throw Exception("Data Point Null");
    return HalfMarker(Axis, MissingAxis);
}

double TiPlotChannelCustom::HalfMarker(TiPlotAxis* Axis, const char* MissingAxis) {
    if (!MarkersVisible())
        return 0;
    if (!Axis)
        throw Exception(MissingAxis);
    return std::abs(Axis->PixelToValue(2 * MarkersSize()) - Axis->PixelToValue(0)) / 2;
}

double TiPlotChannelCustom::MarkerXHigh(int Index) {
    return FData->X(Index) + HalfMarker(Index, XAxis(), "X-Axis not assigned");
}

double TiPlotChannelCustom::MarkerXLow(int Index) {
    return FData->X(Index) - HalfMarker(Index, XAxis(), "X-Axis not assigned");
}

double TiPlotChannelCustom::MarkerYHigh(int Index) {
    return FData->Y(Index) + HalfMarker(Index, YAxis(), "Y-Axis not assigned");
}

double TiPlotChannelCustom::MarkerYLow(int Index) {
    return FData->Y(Index) - HalfMarker(Index, YAxis(), "Y-Axis not assigned");
}

TiPlotChannelCustom::TExtent TiPlotChannelCustom::MarkerExtent(int First, int Last, bool X) {
    TExtent E;
    if (!X) {
        // The Y extremes from the summary index, the half marker added once:
        // adding one value to all keeps their order.
        const TiPlotDataSummary Sum = FData->Summary(First, Last);
        if (Sum.HasValues()) {
            const double Half = HalfMarker(YAxis(), "Y-Axis not assigned");
            E.High = std::max(E.High, Sum.Max + Half);
            E.Low = std::min(E.Low, Sum.Min - Half);
        }
        return E;
    }
    for (int I = First; I <= Last; ++I) {
        if (FData->Null(I) || FData->Empty(I))
            continue;
        E.High = std::max(E.High, MarkerXHigh(I));
        E.Low = std::min(E.Low, MarkerXLow(I));
    }
    return E;
}

void TiPlotChannelCustom::Clear() {
    if (FLoggingActive)
        LogDeactivate();
    ResetStatistics();
    SetVisibleRange(-1, -1);
    FData->Clear();
    DoChange();
}

void TiPlotChannelCustom::SetNull(int Index, bool Value) {
    FData->SetNull(Index, Value);
    DoChange();
}

void TiPlotChannelCustom::SetEmpty(int Index, bool Value) {
    FData->SetEmpty(Index, Value);
    DoChange();
}

void TiPlotChannelCustom::RecalculateStatistics() {
    ResetStatistics();
    for (int I = 0; I < FData->Count(); ++I)
        if (!FData->Null(I) && !FData->Empty(I))
            CountInStatistics(FData->X(I), FData->Y(I));
}

// ---- Files, logging and the mouse

void TiPlotChannelCustom::ObjectFocused(TiPlotObject* Object) {
    if (Object == this || Object->Kind() == TiPlotKind::Legend)
        return;
    if (Object->Kind() == TiPlotKind::DataCursor &&
        static_cast<TiPlotDataCursor*>(Object)->Channel() == this)
        return;
    SetFocused(false);
}

TPoint TiPlotChannelCustom::MarkerPixel(int Index) {
    const int X = XAxis()->ValueToPixel(GetX(Index));
    const int Y = YAxis()->ValueToPixel(GetY(Index));
    return XYSwap() ? Point(Y, X) : Point(X, Y);
}

bool TiPlotChannelCustom::HitTest(TPoint P) {
    const bool Inherited = TiPlotManagerObject::HitTest(P);
    // A hit index from an earlier test must not make a later press a marker press.
    FHitIndex = -1;
    if (FVisibleInLegend && FLegendRect.Contains(P))
        return true;
    if (!PlotSelectionMode(*Host()) || !MarkersVisible() || Count() == 0)
        return Inherited;
    const int Start = CalcVisibleStart(), Stop = CalcVisibleStop();
    if (Start < 0 || Stop < 0)
        return Inherited;
    const int Size = MarkersSize();
    for (int I = Start; I <= Stop; ++I) {
        if (!MarkerDrawable(I))
            continue;
        const TPoint M = MarkerPixel(I);
        const TRect R{M.X - Size, M.Y - Size, M.X + Size, M.Y + Size};
        if (R.Contains(P)) {
            FHitIndex = I;
            FHitRect = R;
            return true;
        }
    }
    return Inherited;
}

void TiPlotChannelCustom::MouseDown(TPoint P) {
    if (FHitIndex == -1 || !FHitRect.Contains(P))
        return;
    FMarkerPressed = true;
    FPressedIndex = FHitIndex;
    FPressedRect = FHitRect;
}

void TiPlotChannelCustom::MouseUp(TPoint P) {
    if (FMarkerPressed) {
        FMarkerPressed = false;
        if (FPressedRect.Contains(P))
            Host()->DataPointClicked(this, FPressedIndex);
    } else if (Pressed() && FLegendRect.Contains(P)) {
        Host()->ObjectClicked(this);
    }
}

std::string TiPlotChannelCustom::GetXText(double Value) {
    TiPlotAxis* Axis = XAxis();
    return Axis ? Axis->CursorText(Value) : Translate("No X-Axis");
}

std::string TiPlotChannelCustom::GetYText(double Value) {
    TiPlotAxis* Axis = YAxis();
    return Axis ? Axis->CursorText(Value) : Translate("No Y-Axis");
}

TiPlotCursorReading TiPlotChannelCustom::DataCursorQuery(TiPlotDataCursorStyle Style, int Pixel1,
                                                         int Pixel2) {
    TiPlotCursorReading R;
    if (const TiPlotAxis* X = XAxis()) {
        const double X1 = X->PixelToValue(Pixel1), X2 = X->PixelToValue(Pixel2);
        switch (Style) {
        case ipcsValueXY:
        case ipcsValueY:
            R.Status = CursorYAtX(X1, Pixel2, R.Y);
            if (R.Status != 0)
                R.Y = 0;
            if (Style == ipcsValueXY)
                R.X = X1;
            break;
        case ipcsValueX:
            R.X = X1;
            break;
        case ipcsDeltaX:
            R.X = std::abs(X1 - X2) * X->CursorScaler();
            break;
        case ipcsDeltaY:
            if (const TiPlotAxis* Y = YAxis())
                R.Y = std::abs(Y->PixelToValue(Pixel1) - Y->PixelToValue(Pixel2));
            else
                R.Status = 1;
            break;
        case ipcsInverseDeltaX: {
            const double Period = X->CursorScaler() * (X1 - X2);
            R.X = Period == 0 ? HUGE_VAL : std::abs(1 / Period);
            break;
        }
        }
    }
    R.Changed = R.X != FCursorX || R.Y != FCursorY || R.Status != FCursorStatus;
    R.Text = DataCursorText(Style, R.Status, R.Y, R.X);
    return R;
}

std::string TiPlotChannelCustom::DataCursorText(TiPlotDataCursorStyle Style, int Status, double Y,
                                                double X) {
    FCursorX = X;
    FCursorY = Y;
    FCursorStatus = Status;
    FCursorXText = GetXText(X);
    if (!YAxis())
        FCursorYText = Translate("No Y-Axis");
    else if (Status == 1)
        FCursorYText = Translate("Null");
    else if (Status == 2)
        FCursorYText = Translate("Empty");
    else if (DigitalTrace())
        FCursorYText = Translate(Y != 0 ? "High" : "Low");
    else
        FCursorYText = GetYText(Y);
    if (!XAxis())
        return Translate("No X-Axis");
    switch (Style) {
    case ipcsValueXY:
        return FCursorXText + ", " + FCursorYText;
    case ipcsValueX:
    case ipcsDeltaX:
        return FCursorXText;
    case ipcsValueY:
        return FCursorYText;
    case ipcsDeltaY:
        return GetYText(Y);
    case ipcsInverseDeltaX:
        return X >= 1e301 ? Translate("Infinite") : InverseDeltaXText(X);
    }
    return FCursorXText;
}
