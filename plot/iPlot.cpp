#include "plot/iPlot.h"

#include "plot/iPlotLabel.h"
#include "plot/iPlotLayoutManager.h"
#include "plot/iPlotLegend.h"
#include "plot/iPlotToolBar.h"

TiPlot::TiPlot(QWidget* Parent) : TiPlotComponent(Parent) {
    BeginUpdate();
    Master().LayoutManager().SetEnabled(false);
    ToolBar(NewToolBar())->SetZOrder(3);
    Legend(NewLegend())->SetZOrder(2);
    NewXAxis();
    NewYAxis();
    NewChannel();
    NewDataView();
    NewDataCursor();
    TiPlotLabel* Title = Label(NewLabel());
    Title->SetZOrder(2);
    Title->SetName("Title");
    Title->SetCaption("Untitled");
    Loaded();
}
