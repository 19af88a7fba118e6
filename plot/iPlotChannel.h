#pragma once
// The channels of the two plot kinds: TiPlotChannel expects ordered X values
// and adds interpolation; TiXYPlotChannel takes X values in any order.

#include "plot/iPlotChannelCustom.h"

class TiPlotChannel : public TiPlotChannelCustom {
    Q_OBJECT
    Q_PROPERTY(TiPlotInterpolationStyle InterpolationStyle READ InterpolationStyle WRITE
                   SetInterpolationStyle)

  public:
    using TiPlotChannelCustom::TiPlotChannelCustom;

    TiPlotInterpolationStyle InterpolationStyle() const { return FInterpolationStyle; }
    void SetInterpolationStyle(TiPlotInterpolationStyle Value) {
        Change(FInterpolationStyle, Value);
    }

  private:
    TiPlotInterpolationStyle FInterpolationStyle = ipistStraightLine;
};

class TiXYPlotChannel : public TiPlotChannelCustom {
    Q_OBJECT
  public:
    using TiPlotChannelCustom::TiPlotChannelCustom;
};
