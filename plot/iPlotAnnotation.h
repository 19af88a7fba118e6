#pragma once
// A free text or shape drawn in the data view.

#include "plot/iPlotObjects.h"

class TiPlotAnnotation : public TiPlotObject {
    Q_OBJECT
  public:
    using TiPlotObject::TiPlotObject;
};
