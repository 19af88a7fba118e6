#pragma once
// A free text or shape drawn in the data view.

#include "plot/iPlotDataView.h"
#include "plot/iPlotObjects.h"

#include "platform/GraphicsObjects.h"

#include <QPointer>

// What a new annotation takes over from the plot.
struct TiPlotAnnotationDefaults {
    TFont Font;
    TBrushStyle BrushStyle = bsSolid;
    TColor BrushColor = clWhite;
    TPenStyle PenStyle = psSolid;
    TColor PenColor = clWhite;
    int PenWidth = 1;
};

class TiPlotAnnotation : public TiPlotObject {
    Q_OBJECT
  public:
    static constexpr TiPlotKind StaticKind = TiPlotKind::Annotation;
    TiPlotKind Kind() const override { return StaticKind; }

    using TiPlotObject::TiPlotObject;

    const TiPlotAnnotationDefaults& Defaults() const { return FDefaults; }
    void SetDefaults(const TiPlotAnnotationDefaults& Value) {
        FDefaults = Value;
        DoChange();
    }

    // The data view it is placed in; bound by the plot, not stored.
    TiPlotDataView* DataView() const { return FDataView; }
    void SetDataView(TiPlotDataView* Value) { FDataView = Value; }

  private:
    TiPlotAnnotationDefaults FDefaults;
    QPointer<TiPlotDataView> FDataView;
};
