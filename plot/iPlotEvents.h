#pragma once
// The plot's events for its user. Handlers of an object's event receive the
// object's index within its kind. None is raised while the plot is being
// loaded.

#include "platform/Types.h"

#include <functional>
#include <string>

using TiPlotObjectDoubleValueChangeEvent =
    std::function<void(int Index, double OldValue, double NewValue)>;
using TiPlotAxesMinSpanChangeEvent =
    std::function<void(int Index, double OldMin, double OldSpan, double NewMin, double NewSpan)>;
using TiPlotAxesCustomizeLabelEvent =
    std::function<void(int Index, double Value, std::string& ALabel)>;
using TiPlotObjectCustomizeTextEvent = std::function<void(int Index, std::string& AText)>;
// May change the rectangle of a zoom box, or cancel the zoom.
using TiPlotZoomBoxEvent = std::function<void(TRect& ZoomRect, bool& Cancel)>;

struct TiPlotEvents {
    TiPlotObjectDoubleValueChangeEvent OnXAxisMinChange, OnXAxisSpanChange;
    TiPlotObjectDoubleValueChangeEvent OnYAxisMinChange, OnYAxisSpanChange;
    TiPlotAxesMinSpanChangeEvent OnXAxisMinSpanChange, OnYAxisMinSpanChange;
    TiPlotAxesCustomizeLabelEvent OnXAxisCustomizeLabel, OnYAxisCustomizeLabel;
    TiPlotObjectCustomizeTextEvent OnXAxisCustomizeHint, OnYAxisCustomizeHint;
    TiPlotZoomBoxEvent OnBeforeZoomBox;
};
