#pragma once
// A table of texts placed by the layout.

#include "plot/iPlotObjects.h"

class TiPlotTable : public TiPlotLayoutObject {
    Q_OBJECT
  public:
    using TiPlotLayoutObject::TiPlotLayoutObject;
};
