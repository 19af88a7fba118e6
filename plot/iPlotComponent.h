#pragma once
// The drawn control that owns and hosts every plot object.

#include "components/iCustomComponent.h"
#include "plot/iPlotManagers.h"

#include <memory>
#include <string>

class TiPlotChannelCustom;
class TiPlotXAxis;
class TiPlotYAxis;
class TiPlotDataView;
class TiPlotDataCursor;
class TiPlotLegend;
class TiPlotToolBar;
class TiPlotTable;
class TiPlotLimit;
class TiPlotLabel;
class TiPlotAnnotation;

class TiPlotComponent : public TiCustomComponent {
    Q_OBJECT
    Q_PROPERTY(int DataViewZHorz READ DataViewZHorz WRITE SetDataViewZHorz)
    Q_PROPERTY(int DataViewZVert READ DataViewZVert WRITE SetDataViewZVert)
    Q_PROPERTY(bool XYAxesReverse READ XYAxesReverse WRITE SetXYAxesReverse)
    Q_PROPERTY(bool UserCanEditObjects READ UserCanEditObjects WRITE SetUserCanEditObjects)
    Q_PROPERTY(std::string TitleText READ TitleText WRITE SetTitleText)

  public:
    explicit TiPlotComponent(QWidget* Parent = nullptr);
    ~TiPlotComponent() override;

    TiPlotMasterManager& Master() { return *FMaster; }

    int NewChannel();
    void DeleteChannel(int Index);
    void ClearChannels();
    int ChannelCount() const;
    TiPlotChannelCustom* Channel(int Index) const;
    int NewXAxis();
    void DeleteXAxis(int Index);
    void ClearXAxes();
    int XAxisCount() const;
    TiPlotXAxis* XAxis(int Index) const;
    int NewYAxis();
    void DeleteYAxis(int Index);
    void ClearYAxes();
    int YAxisCount() const;
    TiPlotYAxis* YAxis(int Index) const;
    int NewDataView();
    void DeleteDataView(int Index);
    void ClearDataViews();
    int DataViewCount() const;
    TiPlotDataView* DataView(int Index) const;
    int NewDataCursor();
    void DeleteDataCursor(int Index);
    void ClearDataCursors();
    int DataCursorCount() const;
    TiPlotDataCursor* DataCursor(int Index) const;
    int NewLegend();
    void DeleteLegend(int Index);
    void ClearLegends();
    int LegendCount() const;
    TiPlotLegend* Legend(int Index) const;
    int NewToolBar();
    void DeleteToolBar(int Index);
    void ClearToolBars();
    int ToolBarCount() const;
    TiPlotToolBar* ToolBar(int Index) const;
    int NewTable();
    void DeleteTable(int Index);
    void ClearTables();
    int TableCount() const;
    TiPlotTable* Table(int Index) const;
    int NewLimit();
    void DeleteLimit(int Index);
    void ClearLimits();
    int LimitCount() const;
    TiPlotLimit* Limit(int Index) const;
    int NewLabel();
    // Label 0 is the title and stays.
    void DeleteLabel(int Index);
    void ClearLabels();
    int LabelCount() const;
    TiPlotLabel* Label(int Index) const;
    int NewAnnotation();
    void DeleteAnnotation(int Index);
    void ClearAnnotations();
    int AnnotationCount() const;
    TiPlotAnnotation* Annotation(int Index) const;

    // The first object of the kind with that name, ignoring letter case.
    TiPlotChannelCustom* FindChannel(const std::string& Name) const;
    TiPlotXAxis* FindXAxis(const std::string& Name) const;
    TiPlotYAxis* FindYAxis(const std::string& Name) const;

    int DataViewZHorz() const;
    void SetDataViewZHorz(int Value);
    int DataViewZVert() const;
    void SetDataViewZVert(int Value);
    bool XYAxesReverse() const { return FXYAxesReverse; }
    void SetXYAxesReverse(bool Value);
    bool UserCanEditObjects() const { return FUserCanEditObjects; }
    void SetUserCanEditObjects(bool Value);
    // The caption of label 0; empty without labels.
    std::string TitleText() const;
    void SetTitleText(const std::string& Value);

  protected:
    TiPlotComponent(QWidget* Parent, TiPlotMasterManager::TCreateChannel CreateChannel);
    void iPaintTo(TCanvas& Canvas) override;
    // The object lists: "ChannelManager.Count = 2", then the published
    // properties of each object as "ChannelManager.Item0.TitleText = ...".
    void WriteExtraProperties(std::vector<TPropertyLine>& Lines) const override;
    void ReadExtraProperties(std::vector<TPropertyLine>& Lines) override;

  private:
    void DeleteObject(TiPlotObjectManagerCustom& Manager, int Index);
    // The stored object lists with their names, in the order they are stored.
    std::vector<std::pair<const char*, TiPlotObjectOwnedManager*>> StoredManagers() const;
    void ReadObjectList(TiPlotObjectOwnedManager& Manager, const std::string& Prefix,
                        std::vector<TPropertyLine> Lines);

    std::unique_ptr<TiPlotMasterManager> FMaster;
    bool FXYAxesReverse = false;
    bool FUserCanEditObjects = true;
};
