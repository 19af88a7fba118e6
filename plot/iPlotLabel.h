#pragma once
// A line of text placed by the layout; label 0 is the plot's title.

#include "plot/iPlotObjects.h"

class TiPlotLabel : public TiPlotLayoutObject {
    Q_OBJECT
    Q_PROPERTY(std::string Caption READ Caption WRITE SetCaption)

  public:
    TiPlotLabel(TiPlotComponent* Owner, const TiPlotObjectEvents& Events)
        : TiPlotLayoutObject(Owner, Events) {
        SetHorizontal(true);
    }
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& Value) { Change(FCaption, Value); }

  private:
    std::string FCaption;
};
