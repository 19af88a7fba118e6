#pragma once
// The row of buttons that control tracking, zooming and output.

#include "plot/iPlotObjects.h"

class TiPlotToolBar : public TiPlotLayoutObject {
    Q_OBJECT
  public:
    TiPlotToolBar(TiPlotComponent* Owner, const TiPlotObjectEvents& Events)
        : TiPlotLayoutObject(Owner, Events) {
        SetHorizontal(true);
    }
};
