#pragma once
// The plot's events for its user. Handlers of an object's event receive the
// object's index within its kind. None is raised while the plot is being
// loaded.

#include "components/iComponent.h"
#include "components/iInput.h"
#include "platform/Types.h"

#include <functional>
#include <string>

using TiPlotObjectMouseEvent =
    std::function<void(int Index, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TiPlotObjectMouseMoveEvent = std::function<void(int Index, TShiftState Shift, int X, int Y)>;
using TiPlotObjectEvent = std::function<void(int Index)>;
// Cancel set to true keeps the menu closed.
using TiPlotPopupMenuEvent = std::function<void(int Index, bool& Cancel, int ScreenX, int ScreenY)>;
using TiPlotClickDataPointEvent = std::function<void(int ChannelIndex, int DataIndex)>;
using TiPlotObjectDoubleValueChangeEvent =
    std::function<void(int Index, double OldValue, double NewValue)>;
using TiPlotAxesMinSpanChangeEvent =
    std::function<void(int Index, double OldMin, double OldSpan, double NewMin, double NewSpan)>;
using TiPlotAxesCustomizeLabelEvent =
    std::function<void(int Index, double Value, std::string& ALabel)>;
using TiPlotObjectCustomizeTextEvent = std::function<void(int Index, std::string& AText)>;
using TiPlotNotifyEvent = std::function<void()>;
// The button's number of a toolbar command.
using TiPlotToolBarButtonEvent = std::function<void(int Index, int ButtonType)>;
// May change the rectangle of a zoom box, or cancel the zoom.
using TiPlotZoomBoxEvent = std::function<void(TRect& ZoomRect, bool& Cancel)>;

struct TiPlotEvents {
    TiPlotObjectMouseEvent OnMouseDownChannel, OnMouseDownXAxis, OnMouseDownYAxis,
        OnMouseDownDataView, OnMouseDownLegend, OnMouseDownLimit, OnMouseDownDataCursor,
        OnMouseDownAnnotation;
    TiPlotObjectMouseEvent OnMouseUpChannel, OnMouseUpXAxis, OnMouseUpYAxis, OnMouseUpDataView,
        OnMouseUpLegend, OnMouseUpLimit, OnMouseUpDataCursor, OnMouseUpAnnotation;
    TiPlotObjectMouseMoveEvent OnMouseMoveChannel, OnMouseMoveXAxis, OnMouseMoveYAxis,
        OnMouseMoveDataView, OnMouseMoveLegend, OnMouseMoveLimit, OnMouseMoveDataCursor,
        OnMouseMoveAnnotation;
    TiPlotObjectEvent OnClickChannel, OnClickXAxis, OnClickYAxis, OnClickDataView, OnClickLegend,
        OnClickLimit, OnClickDataCursor, OnClickAnnotation;
    TiPlotObjectEvent OnDblClickChannel, OnDblClickXAxis, OnDblClickYAxis, OnDblClickDataView,
        OnDblClickLegend, OnDblClickLimit, OnDblClickDataCursor, OnDblClickAnnotation;
    TiPlotPopupMenuEvent OnPopupMenuChannel, OnPopupMenuXAxis, OnPopupMenuYAxis,
        OnPopupMenuDataView, OnPopupMenuLegend, OnPopupMenuLimit, OnPopupMenuDataCursor,
        OnPopupMenuAnnotation;
    TiPlotObjectEvent OnGotFocusChannel, OnGotFocusXAxis, OnGotFocusYAxis, OnGotFocusDataCursor,
        OnGotFocusDataView, OnGotFocusLegend, OnGotFocusAnnotation;
    TiPlotObjectEvent OnLostFocusChannel, OnLostFocusXAxis, OnLostFocusYAxis, OnLostFocusDataCursor,
        OnLostFocusDataView, OnLostFocusLegend, OnLostFocusAnnotation;
    TiPlotClickDataPointEvent OnClickDataPoint, OnDblClickDataPoint;
    TiPlotObjectDoubleValueChangeEvent OnXAxisMinChange, OnXAxisSpanChange;
    TiPlotObjectDoubleValueChangeEvent OnYAxisMinChange, OnYAxisSpanChange;
    TiPlotObjectDoubleValueChangeEvent OnLimitLine1PositionChange, OnLimitLine2PositionChange;
    TiPlotAxesMinSpanChangeEvent OnXAxisMinSpanChange, OnYAxisMinSpanChange;
    TiPlotAxesCustomizeLabelEvent OnXAxisCustomizeLabel, OnYAxisCustomizeLabel;
    TiPlotObjectCustomizeTextEvent OnXAxisCustomizeHint, OnYAxisCustomizeHint;
    TiPlotObjectCustomizeTextEvent OnDataCursorCustomizeHint, OnToolBarCustomizeHint;
    // Before a data cursor reads its channels, and when a reading changed.
    TiPlotObjectEvent OnBeforeDataCursorUpdate, OnDataCursorChange;
    TiPlotZoomBoxEvent OnBeforeZoomBox;
    TiPlotToolBarButtonEvent OnToolBarButtonClick;
    // After a data file was read or written.
    TiPlotNotifyEvent OnAfterLoadData, OnAfterSaveData;
    TiPlotNotifyEvent OnBeforePrint, OnAfterPrint;
    TiPlotNotifyEvent OnAfterOpenEditor, OnAfterCloseEditor;

    // ---- Configuration files
    TiPlotNotifyEvent OnBeforeLoadProperties, OnAfterLoadProperties, OnAfterSaveProperties;
};
