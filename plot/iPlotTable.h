#pragma once
// A table of texts placed by the layout.

#include "plot/iPlotObjects.h"

class TiPlotTable : public TiPlotLayoutObject {
    Q_OBJECT
  public:
    static constexpr TiPlotKind StaticKind = TiPlotKind::Table;
    TiPlotKind Kind() const override { return StaticKind; }

    using TiPlotLayoutObject::TiPlotLayoutObject;
};
