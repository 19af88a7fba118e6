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
    static constexpr TiPlotKind StaticKind = TiPlotKind::DataViewLayout;
    TiPlotKind Kind() const override { return StaticKind; }

    TiPlotDataViewLayout(TiPlotHost* Host, bool Horizontal);
};

class TiPlotDataViewHorz : public TiPlotDataViewLayout {
    Q_OBJECT
  public:
    explicit TiPlotDataViewHorz(TiPlotHost* Host) : TiPlotDataViewLayout(Host, true) {}
};

class TiPlotDataViewVert : public TiPlotDataViewLayout {
    Q_OBJECT
  public:
    explicit TiPlotDataViewVert(TiPlotHost* Host) : TiPlotDataViewLayout(Host, false) {}
};

// The control's frame around the layout: its size, the border's pixels on
// every side and the outer margins.
struct TiPlotLayoutFrame {
    int Width = 0, Height = 0;
    int Border = 0;
    int MarginLeft = 0, MarginTop = 0, MarginRight = 0, MarginBottom = 0;
};

class TiPlotAxis;

class TiPlotLayoutManager : public TiPlotObjectManagerCustom {
  public:
    explicit TiPlotLayoutManager(TiPlotHost* Host);
    ~TiPlotLayoutManager() override;

    std::string BaseName() const override { return "Layout Object"; }
    void InsertObject(TiPlotObject* Object) override;
    void ObjectDeleted(TiPlotObject* Object) override;
    // An object's orientation or row changed.
    void ObjectLayoutChanged(TiPlotObject* Object);

    bool Enabled() const { return FEnabled; }
    // Enabling rebuilds the side lists.
    void SetEnabled(bool Value);
    bool XYSwap() const { return FXYSwap; }
    // Turns every axis and places it anew at ZOrder 0.
    void SetXYSwap(bool Value);
    void Rebuild();
    // Gives every visible layout object its rectangle around the data view
    // and returns the data view's rectangle.
    TRect Layout(TCanvas& Canvas, const TiPlotLayoutFrame& Frame);

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
    // The host of the two place-holders: they are never inserted, renamed
    // or removed, only repainted and moved among the rows.
    class TPlaceHolderHost : public TiPlotHost {
      public:
        explicit TPlaceHolderHost(TiPlotLayoutManager& Layout) : FLayout(Layout) {}
        TiPlotObject* FindObject(TiPlotKind Kind, const std::string& Name) override {
            return FLayout.Host()->FindObject(Kind, Name);
        }
        std::vector<TiPlotObject*> Objects(TiPlotKind Kind) override {
            return FLayout.Host()->Objects(Kind);
        }
        void ObjectInserted(TiPlotObject*) override {}
        void ObjectChanged(TiPlotObject* Object) override { FLayout.Host()->ObjectChanged(Object); }
        void LayoutChanged(TiPlotObject*) override { FLayout.Rebuild(); }
        void ObjectRenamed(TiPlotObject*) override {}
        void ObjectRemoving(TiPlotObject*) override {}
        void FocusChanged(TiPlotObject*) override {}
        void SetHint(const std::string&, TPoint) override {}

      private:
        TiPlotLayoutManager& FLayout;
    };

    enum TSide { Top, Bottom, Left, Right };
    struct TSideList {
        std::vector<std::string> Keys;
        std::vector<TiPlotLayoutObject*> Objects;
        int Rows = 0;
    };
    // The visible objects of one ZOrder on a side, and the row's thickness.
    struct TRow {
        std::vector<TiPlotLayoutObject*> Objects;
        int Thickness = 0;
    };
    struct TEndMargins {
        int Start = 0, Stop = 0;
    };

    std::vector<TRow> Rows(TCanvas& Canvas, TSide Side) const;
    static void SetStackingFlags(const std::vector<TRow>& Rows);
    static TEndMargins SideEndMargins(TCanvas& Canvas, const std::vector<TRow>& Rows);
    static void PlaceRows(const std::vector<TRow>& Rows, TSide Side, const TRect& DataView,
                          int TopExtra);
    void PlaceAlongRows(const TiPlotLayoutFrame& Frame, const TRect& DataView);
    // Axes crossing the data view, and axes aligned to another axis.
    void PlaceCartesianAxes(TCanvas& Canvas, const TRect& DataView);
    void AlignAxes(TCanvas& Canvas);
    // The axis of that name, of either kind, lying across or along Object.
    TiPlotAxis* ReferenceAxis(const std::string& Name, const TiPlotLayoutObject* Object,
                              bool Across) const;

    std::vector<TiPlotLayoutObject*> LayoutObjects() const;
    // Data views are placed through their place-holders.
    static bool IsDataView(const TiPlotLayoutObject* Object);
    static bool InSideLists(const TiPlotLayoutObject* Object);
    void PlaceAtZero(TiPlotLayoutObject* Object);
    void CloseRow(TiPlotLayoutObject* Object);
    void AddToSide(TSide Side, TiPlotLayoutObject* Object);

    bool FEnabled = true;
    bool FXYSwap = false;
    TPlaceHolderHost FPlaceHolderHost{*this};
    std::unique_ptr<TiPlotDataViewHorz> FDataViewHorz;
    std::unique_ptr<TiPlotDataViewVert> FDataViewVert;
    TSideList FSides[4];
};
