#pragma once
// Decides on which side of the data view each layout object lives, from its
// orientation and its ZOrder, and keeps ZOrders packed as objects come and go.

#include "plot/iPlotManagers.h"

#include <memory>
#include <string>
#include <vector>

// Where the data view sits among the horizontal or the vertical objects.
class TiPlotDataViewLayout : public TiPlotLayoutObject {
    Q_OBJECT
  public:
    TiPlotDataViewLayout(TiPlotComponent* Owner, const TiPlotObjectEvents& Events, bool Horizontal);
};

class TiPlotDataViewHorz : public TiPlotDataViewLayout {
    Q_OBJECT
  public:
    TiPlotDataViewHorz(TiPlotComponent* Owner, const TiPlotObjectEvents& Events)
        : TiPlotDataViewLayout(Owner, Events, true) {}
};

class TiPlotDataViewVert : public TiPlotDataViewLayout {
    Q_OBJECT
  public:
    TiPlotDataViewVert(TiPlotComponent* Owner, const TiPlotObjectEvents& Events)
        : TiPlotDataViewLayout(Owner, Events, false) {}
};

class TiPlotLayoutManager : public TiPlotObjectManagerCustom {
  public:
    TiPlotLayoutManager(TiPlotComponent* Owner, const TiPlotObjectEvents& Events);
    ~TiPlotLayoutManager() override;

    std::string BaseName() const override { return "Layout Object"; }
    void InsertObject(TiPlotObject* Object) override;
    void ObjectDeleted(TiPlotObject* Object) override;

    bool Enabled() const { return FEnabled; }
    // Enabling rebuilds the side lists.
    void SetEnabled(bool Value);
    bool XYSwap() const { return FXYSwap; }
    // Turns every axis and places it anew at ZOrder 0.
    void SetXYSwap(bool Value);
    void Rebuild();

    TiPlotDataViewHorz& DataViewHorz() { return *FDataViewHorz; }
    TiPlotDataViewVert& DataViewVert() { return *FDataViewVert; }

    // The objects of each side, sorted by their keys.
    const std::vector<TiPlotLayoutObject*>& TopList() const { return FSides[Top].Objects; }
    const std::vector<TiPlotLayoutObject*>& BottomList() const { return FSides[Bottom].Objects; }
    const std::vector<TiPlotLayoutObject*>& LeftList() const { return FSides[Left].Objects; }
    const std::vector<TiPlotLayoutObject*>& RightList() const { return FSides[Right].Objects; }
    int TopRows() const { return FSides[Top].Rows; }
    int BottomRows() const { return FSides[Bottom].Rows; }
    int LeftRows() const { return FSides[Left].Rows; }
    int RightRows() const { return FSides[Right].Rows; }

  protected:
    void NameNewObject(TiPlotObject*) override {}

  private:
    enum TSide { Top, Bottom, Left, Right };
    struct TSideList {
        std::vector<std::string> Keys;
        std::vector<TiPlotLayoutObject*> Objects;
        int Rows = 0;
    };

    std::vector<TiPlotLayoutObject*> LayoutObjects() const;
    // Data views are placed through their place-holders.
    static bool IsDataView(const TiPlotLayoutObject* Object);
    static bool InSideLists(const TiPlotLayoutObject* Object);
    void PlaceAtZero(TiPlotLayoutObject* Object);
    void CloseRow(TiPlotLayoutObject* Object);
    void AddToSide(TSide Side, TiPlotLayoutObject* Object);

    bool FEnabled = true;
    bool FXYSwap = false;
    std::unique_ptr<TiPlotDataViewHorz> FDataViewHorz;
    std::unique_ptr<TiPlotDataViewVert> FDataViewVert;
    TSideList FSides[4];
};
