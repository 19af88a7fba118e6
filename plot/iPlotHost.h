#pragma once
// What a plot object needs of its plot, and nothing more: another object by
// kind and name, and a way to report its own changes. Objects reach their
// plot only through this interface, never through the component's class.

#include "platform/Types.h"

#include <string>
#include <vector>

class TiPlotObject;
class TiPlotChannelCustom;

// The kind of a plot object, told by TiPlotObject::Kind() (no dynamic_cast).
enum class TiPlotKind {
    Object,
    DataViewLayout, // a place-holder of the data view among the layout rows
    ToolBar,
    Legend,
    Table,
    XAxis,
    YAxis,
    Channel,
    DataView,
    DataCursor,
    Limit,
    Label,
    Annotation,
};

// Kinds placed by the layout around (or as) the data view.
constexpr bool IsLayoutKind(TiPlotKind Kind) {
    return Kind == TiPlotKind::DataViewLayout || Kind == TiPlotKind::ToolBar ||
           Kind == TiPlotKind::Legend || Kind == TiPlotKind::Table || Kind == TiPlotKind::XAxis ||
           Kind == TiPlotKind::YAxis || Kind == TiPlotKind::DataView || Kind == TiPlotKind::Label;
}

constexpr bool IsAxisKind(TiPlotKind Kind) {
    return Kind == TiPlotKind::XAxis || Kind == TiPlotKind::YAxis;
}

class TiPlotHost {
  public:
    // The first object of the kind with that name, ignoring letter case.
    virtual TiPlotObject* FindObject(TiPlotKind Kind, const std::string& Name) = 0;
    // Every object of the kind, in the plot's order.
    virtual std::vector<TiPlotObject*> Objects(TiPlotKind Kind) = 0;
    // The object is complete and joins the plot's lists.
    virtual void ObjectInserted(TiPlotObject* Object) = 0;
    // Something visible changed: a repaint request.
    virtual void ObjectChanged(TiPlotObject* Object) = 0;
    // Its place among the layout rows may have changed.
    virtual void LayoutChanged(TiPlotObject* Object) = 0;
    // Name changed; OldName holds the previous one.
    virtual void ObjectRenamed(TiPlotObject* Object) = 0;
    // The object is about to be destroyed and is still whole.
    virtual void ObjectRemoving(TiPlotObject* Object) = 0;
    // Focused changed.
    virtual void FocusChanged(TiPlotObject* Object) = 0;
    // The hint the object under the mouse offers, at a client position; an
    // empty text offers none.
    virtual void SetHint(const std::string& Text, TPoint Position) = 0;
    // A fixed English text as the plot shows it; unchanged by default.
    virtual std::string Translate(const std::string& Text) { return Text; }
    // A click on the object, and on one data point of a channel; the plot
    // raises its click events from these.
    virtual void ObjectClicked(TiPlotObject*) {}
    virtual void DataPointClicked(TiPlotChannelCustom*, int /*Index*/) {}
    // Between the second press of a double click and its release.
    virtual bool DoubleClickInProgress() const { return false; }
    // The plot's output commands, run from its toolbar.
    enum class TiPlotOutput { Copy, Save, Print, Preview };
    virtual void RunOutput(TiPlotOutput) {}
    // Opens the property editor on the object (on the plot for none).
    virtual void ShowEditor(TiPlotObject*) {}
    // The column separator of the data files and logs the channels write.
    virtual char DataFileSeparatorChar() const { return '\t'; }
    // A point was added to the channel (after its own log saw it): a
    // repaint request.
    virtual void PointAdded(TiPlotChannelCustom* Channel);

  protected:
    ~TiPlotHost() = default;
};
