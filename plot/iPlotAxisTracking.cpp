// How an axis follows the data and the user: tracking, pausing and
// resuming, zoom to fit, and scrolling and zooming by mouse, wheel and keys.

#include "plot/iPlotAxis.h"

#include "plot/iPlotChannelCustom.h"

#include "platform/Exception.h"
#include "platform/Text.h"

#include <algorithm>
#include <cmath>
#include <utility>

void TiPlotAxis::Track(double V) {
    double NewMin = FMin, NewSpan = FSpan;
    if (!FFirstPointDone) {
        FFirstPointDone = true;
        switch (FTrackingAlignFirstStyle) {
        case ipafsMin:
            NewMin = V;
            break;
        case ipafsMax:
            NewMin = V - FSpan;
            break;
        case ipafsAuto:
            if (V < FMin || V > FMin + FSpan)
                NewMin = V;
            break;
        case ipafsNone:
            break;
        }
    }
    const double Top = NewMin + FSpan;
    switch (FTrackingStyle) {
    case iptsScaleMinMax:
        if (V > Top)
            NewSpan = V - NewMin;
        // The span stays: the upper end moves down with the lower one.
        if (V < NewMin)
            NewMin = V;
        break;
    case iptsScaleMax:
        if (V > Top)
            NewSpan = V - NewMin;
        break;
    case iptsScaleMin:
        if (V < NewMin)
            NewMin = V;
        break;
    case iptsScrollSmooth:
    case iptsScrollPage:
        if (V > Top) {
            // Widen to keep everything since the start in view, until the
            // span passes the compress maximum; then scroll with that span.
            // A span at the maximum stays there, or it would widen again by
            // every new value and flicker between two widths.
            if (FTrackingScrollCompressMax != 0) {
                NewSpan = std::max(NewSpan, V - NewMin);
                if (FSpan >= FTrackingScrollCompressMax)
                    NewSpan = FTrackingScrollCompressMax;
            }
            NewMin = FTrackingStyle == iptsScrollSmooth ? V - NewSpan : NewMin + NewSpan;
        } else if (V < FMin) {
            NewMin = FTrackingStyle == iptsScrollSmooth ? V : NewMin - NewSpan;
        }
        break;
    case iptsExpandCollapse:
        ZoomToFit();
        return;
    case iptsExpandCollapseFast:
        ZoomToFitFast();
        return;
    }
    // Most values leave the scale as it is.
    if (NewMin != FMin || NewSpan != FSpan)
        SetMinSpan(NewMin, NewSpan);
}

void TiPlotAxis::SetTrackingEnabled(bool Value) {
    if (FTrackingEnabled == Value)
        return;
    FTrackingEnabled = Value;
    if (FRestoreValuesOnResume) {
        if (Value) {
            SetMinSpan(FResumeMin, FResumeSpan);
            FLabelsMinLength = FResumeLabelsMinLength;
        } else {
            SaveResumeValues();
        }
    }
    DoChange();
}

void TiPlotAxis::SaveResumeValues() {
    FResumeMin = FMin;
    FResumeSpan = FSpan;
    FResumeLabelsMinLength = FLabelsMinLength;
}

template <typename TVisit> void TiPlotAxis::ForEachBoundChannel(TVisit Visit) {
    const bool X = Kind() == TiPlotKind::XAxis;
    const std::string Name = UpperCase(this->Name());
    for (TiPlotObject* Object : Host()->Objects(TiPlotKind::Channel)) {
        auto* Channel = static_cast<TiPlotChannelCustom*>(Object);
        if (UpperCase(X ? Channel->XAxisName() : Channel->YAxisName()) == Name)
            Visit(*Channel, X);
    }
}

// Lowest and highest of what Extent (Low, High) gives for the bound
// channels; nothing changes without data.
template <typename TExtent> void TiPlotAxis::FitTo(TExtent Extent) {
    double Hi = -1e300, Lo = 1e300;
    ForEachBoundChannel([&](TiPlotChannelCustom& C, bool X) {
        const auto [Low, High] = Extent(C, X);
        Hi = std::max(Hi, High);
        Lo = std::min(Lo, Low);
    });
    if (Hi > -1e299 && Lo < 1e299 && Hi != Lo)
        SetMinSpan(Lo, Hi - Lo);
}

void TiPlotAxis::ZoomToFit() {
    FitTo([](TiPlotChannelCustom& C, bool X) {
        return X ? std::pair(C.GetXMinExtent(), C.GetXMaxExtent())
                 : std::pair(C.GetYMinExtent(), C.GetYMaxExtent());
    });
}

// The running statistics: no point is looked at.
void TiPlotAxis::ZoomToFitFast() {
    FitTo([](TiPlotChannelCustom& C, bool X) {
        return X ? std::pair(C.XMin(), C.XMax()) : std::pair(C.YMin(), C.YMax());
    });
}

void TiPlotAxis::ScrollBy(double F) {
    if (FScaleType == ipstLog10) {
        // A shift by the fraction F of the decades shown.
        const double G = std::pow(10, F * (std::log10(Max()) - std::log10(FMin)));
        SetMinSpan(FMin * G, Max() * G - FMin * G);
        return;
    }
    double NewMin = FMin + F * FSpan;
    if (FScrollMinMaxEnabled) {
        if (NewMin <= FScrollMin)
            NewMin = FScrollMin;
        else if (NewMin + FSpan >= FScrollMax)
            NewMin = FScrollMax - FSpan;
    }
    SetMinSpan(NewMin, FSpan);
}

void TiPlotAxis::ZoomBy(double E) {
    const double G = std::pow(10, E);
    if (FScaleType == ipstLog10) {
        SetMinSpan(FMin * G, FSpan / G);
        return;
    }
    const double NewSpan = FSpan / G;
    SetMinSpan((FMin + Max()) / 2 - NewSpan / 2, NewSpan);
}

void TiPlotAxis::Zoom(double Factor) {
    if (FScaleType == ipstLog10) {
        const double G = std::pow(10, Factor);
        SetMinSpan(FMin / G, G * FSpan);
        return;
    }
    if (Factor <= 0)
        throw Exception("Linear Scale Zoom Factor must be Greater than Zero");
    const double NewSpan = Factor * FSpan;
    SetMinSpan((FMin + Max()) / 2 - NewSpan / 2, NewSpan);
}

void TiPlotAxis::ZoomToRect(const TRect& R) {
    int A = Horizontal() ? R.Left : R.Bottom;
    int B = Horizontal() ? R.Right : R.Top;
    if (FReverseScale)
        std::swap(A, B);
    const double From = PixelToValue(A);
    SetMinSpan(From, PixelToValue(B) - From);
}

TiPlotAxisMouseMode TiPlotAxis::EffectiveMouseMode(TShiftState Shift) const {
    if (!Shift.Contains(ssCtrl))
        return FMouseMode;
    return FMouseMode == TiPlotAxisMouseMode::Scroll ? TiPlotAxisMouseMode::Zoom
                                                     : TiPlotAxisMouseMode::Scroll;
}

void TiPlotAxis::MouseDown(TPoint P) {
    FDragging = true;
    FLastMouse = P;
}

void TiPlotAxis::MouseMove(TPoint P) {
    // The second press of a double click does not drag the scale.
    if (!FDragging || Host()->DoubleClickInProgress())
        return;
    DoChange();
    SetTrackingEnabled(false);
    const int Length = std::max(PixelLength(), 1);
    double F =
        Horizontal() ? double(P.X - FLastMouse.X) / Length : double(FLastMouse.Y - P.Y) / Length;
    if (FReverseScale)
        F = -F;
    // The scale follows the mouse.
    if (EffectiveMouseMode(ShiftState()) == TiPlotAxisMouseMode::Scroll)
        ScrollBy(-F);
    else
        ZoomBy(FScaleType == ipstLog10 ? F * 2 : F / 4);
    FLastMouse = P;
}

void TiPlotAxis::MouseUp(TPoint P) {
    if (FDragging && HitTest(P))
        Host()->ObjectClicked(this);
    FDragging = false;
}

bool TiPlotAxis::MouseWheel(int WheelDelta, TShiftState Shift, TPoint) {
    if (WheelDelta == 0)
        return true;
    SetTrackingEnabled(false);
    const double S = WheelDelta > 0 ? 1 : -1;
    if (EffectiveMouseMode(Shift) == TiPlotAxisMouseMode::Scroll)
        ScrollBy(S * 0.05);
    else
        ZoomBy(S * (FScaleType == ipstLog10 ? 0.05 : 0.025));
    return true;
}

void TiPlotAxis::KeyDown(std::uint16_t& Key, TShiftState) {
    SetTrackingEnabled(false);
    double Step;
    switch (Key) {
    case VK_PRIOR:
    case VK_END:
        Step = 1;
        break;
    case VK_NEXT:
    case VK_HOME:
        Step = -1;
        break;
    case VK_UP:
    case VK_RIGHT:
        Step = 0.01;
        break;
    case VK_LEFT:
    case VK_DOWN:
        Step = -0.01;
        break;
    default:
        return;
    }
    DoChange();
    if (FMouseMode == TiPlotAxisMouseMode::Scroll)
        ScrollBy(Step);
    else
        ZoomBy(Step);
}

void TiPlotAxis::AddPopupItems(std::vector<TiPlotPopupItem>& Items) {
    const bool Moved = FMin != FResumeMin || FSpan != FResumeSpan;
    Items.insert(Items.begin(), {{Translate("Tracking Enabled"), FTrackingEnabled, true,
                                  [this] { SetTrackingEnabled(!FTrackingEnabled); }},
                                 {Translate("Update Resume Values"), false,
                                  !FTrackingEnabled && Moved, [this] { SaveResumeValues(); }},
                                 {Translate("Zoom to Fit"), false, true, [this] { ZoomToFit(); }}});
}
