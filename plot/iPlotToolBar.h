#pragma once
// The row of buttons that control tracking, zooming and output.

#include "plot/iPlotObjects.h"

class TiPlotToolBar : public TiPlotLayoutObject {
    Q_OBJECT
  public:
    static constexpr TiPlotKind StaticKind = TiPlotKind::ToolBar;
    TiPlotKind Kind() const override { return StaticKind; }

    explicit TiPlotToolBar(TiPlotHost* Host) : TiPlotLayoutObject(Host) { SetHorizontal(true); }
};
