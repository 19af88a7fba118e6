#pragma once
// The plot with ordered X values and its default objects: toolbar, legend,
// X axis, Y axis, channel, data view, data cursor and title label.

#include "plot/iPlotComponent.h"

class TiPlot : public TiPlotComponent {
    Q_OBJECT
  public:
    explicit TiPlot(QWidget* Parent = nullptr);
};
