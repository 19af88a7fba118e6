#pragma once
// Lists the channels with their colours and statistics.

#include "plot/iPlotObjects.h"

class TiPlotLegend : public TiPlotLayoutObject {
    Q_OBJECT
  public:
    static constexpr TiPlotKind StaticKind = TiPlotKind::Legend;
    TiPlotKind Kind() const override { return StaticKind; }

    using TiPlotLayoutObject::TiPlotLayoutObject;
};
