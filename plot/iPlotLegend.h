#pragma once
// Lists the channels with their colours and statistics.

#include "plot/iPlotObjects.h"

class TiPlotLegend : public TiPlotLayoutObject {
    Q_OBJECT
  public:
    using TiPlotLayoutObject::TiPlotLayoutObject;
};
