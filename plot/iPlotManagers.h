#pragma once
// The managers keep the plot's objects in lists per kind, hand out default
// names and defaults, and tell the other objects when one they may
// reference is destroyed or renamed. The master manager owns them all; the
// plot, as the objects' host, hands their reports to it.

#include "plot/iPlotObjects.h"
#include "plot/iPlotTranslation.h"

#include <QObject>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TiPlotAxis;
class TiPlotXAxis;
class TiPlotYAxis;
class TiPlotChannelCustom;
class TiPlotDataView;
class TiPlotDataCursor;
class TiPlotLegend;
class TiPlotToolBar;
class TiPlotTable;
class TiPlotLimit;
class TiPlotLabel;
class TiPlotAnnotation;
class TiPlotLayoutManager;

// An unsorted list of objects in insertion order.
class TiPlotObjectManagerCustom {
  public:
    explicit TiPlotObjectManagerCustom(TiPlotHost* Host);
    virtual ~TiPlotObjectManagerCustom() = default;
    TiPlotObjectManagerCustom(const TiPlotObjectManagerCustom&) = delete;
    TiPlotObjectManagerCustom& operator=(const TiPlotObjectManagerCustom&) = delete;

    // A new object of the kind, not yet inserted (NotifyInserted does that).
    virtual TiPlotObject* CreateObject();
    virtual std::string BaseName() const = 0;
    virtual void ObjectDeleted(TiPlotObject* Object);
    virtual void RemoveObject(TiPlotObject* Object);
    virtual void InsertObject(TiPlotObject* Object);
    virtual void BroadcastNameChanged(TiPlotObject* Object);
    virtual void BroadcastFocus(TiPlotObject* Object);
    // Owning managers destroy their objects; others keep them.
    virtual void Clear();
    // Removes the list entry only.
    virtual void Delete(int Index);

    int Count() const { return int(FItems.size()); }
    TiPlotObject* Items(int Index) const;
    TiPlotObject* Find(const std::string& Name) const;
    int IndexOf(const TiPlotObject* Object) const;
    void Add(TiPlotObject* Object);
    std::string NextName() const;

    TiPlotHost* Host() const { return FHost; }

  protected:
    virtual bool Owning() const { return false; }
    // Gives a newly inserted object without a name its name and the kind's defaults.
    virtual void NameNewObject(TiPlotObject* Object);

  private:
    TiPlotHost* FHost;
    std::vector<TiPlotObject*> FItems;
};

// A manager that owns the objects of one kind and destroys them.
class TiPlotObjectOwnedManager : public TiPlotObjectManagerCustom {
  public:
    TiPlotObjectOwnedManager(TiPlotHost* Host, TiPlotKind Kind);
    void InsertObject(TiPlotObject* Object) override;
    void RemoveObject(TiPlotObject* Object) override;
    void Clear() override;
    TiPlotKind Kind() const { return FKind; }
    // Whether the object is of this manager's kind.
    bool Accepts(const TiPlotObject* Object) const { return Object->Kind() == FKind; }

  protected:
    bool Owning() const override { return true; }

  private:
    TiPlotKind FKind;
    // The parent of the objects: what is still listed goes with the manager.
    QObject FObjects;
};

// Every plot object; creates none.
class TiPlotObjectManager : public TiPlotObjectManagerCustom {
  public:
    using TiPlotObjectManagerCustom::TiPlotObjectManagerCustom;
    std::string BaseName() const override { return "n/a"; }

  protected:
    void NameNewObject(TiPlotObject*) override {}
};

// One manager of a kind. A newly inserted object without a name gets the
// next default name, then the kind's defaults.
template <typename TKind> class TiPlotKindManager : public TiPlotObjectOwnedManager {
  public:
    using TDefaults = std::function<void(TKind&)>;
    TiPlotKindManager(TiPlotHost* Host, const char* BaseName, TDefaults Defaults = nullptr)
        : TiPlotObjectOwnedManager(Host, TKind::StaticKind), FBaseName(BaseName),
          FDefaults(std::move(Defaults)) {}
    TiPlotObject* CreateObject() override { return new TKind(Host()); }
    std::string BaseName() const override { return FBaseName; }
    TKind* Item(int Index) const { return static_cast<TKind*>(Items(Index)); }

  protected:
    void NameNewObject(TiPlotObject* Object) override {
        TiPlotObjectOwnedManager::NameNewObject(Object);
        if (FDefaults)
            FDefaults(static_cast<TKind&>(*Object));
    }

  private:
    std::string FBaseName;
    TDefaults FDefaults;
};

using TiPlotToolBarManager = TiPlotKindManager<TiPlotToolBar>;
using TiPlotLegendManager = TiPlotKindManager<TiPlotLegend>;
using TiPlotTableManager = TiPlotKindManager<TiPlotTable>;
using TiPlotXAxisManager = TiPlotKindManager<TiPlotXAxis>;
using TiPlotYAxisManager = TiPlotKindManager<TiPlotYAxis>;
using TiPlotDataViewManager = TiPlotKindManager<TiPlotDataView>;
using TiPlotDataCursorManager = TiPlotKindManager<TiPlotDataCursor>;
using TiPlotLimitManager = TiPlotKindManager<TiPlotLimit>;
using TiPlotLabelManager = TiPlotKindManager<TiPlotLabel>;

// Channels: the class to create is the plot's; new ones get palette colours.
class TiPlotChannelManager : public TiPlotObjectOwnedManager {
  public:
    using TCreate = std::function<TiPlotChannelCustom*(TiPlotHost*)>;
    using TDefaults = std::function<void(TiPlotChannelCustom&)>;
    TiPlotChannelManager(TiPlotHost* Host, TCreate CreateChannel, TDefaults Defaults);
    TiPlotObject* CreateObject() override;
    std::string BaseName() const override { return "Channel"; }
    TiPlotChannelCustom* Item(int Index) const;
    // Red for the first channel, then the palette colour fewest channels have.
    TColor NextChannelColor() const;

  protected:
    void NameNewObject(TiPlotObject* Object) override;

  private:
    TCreate FCreateChannel;
    TDefaults FDefaults;
};

// Annotations are listed but never named.
class TiPlotAnnotationManager : public TiPlotKindManager<TiPlotAnnotation> {
  public:
    explicit TiPlotAnnotationManager(TiPlotHost* Host);

  protected:
    void NameNewObject(TiPlotObject*) override {}
};

class TiPlotMasterManager {
  public:
    using TCreateChannel = TiPlotChannelManager::TCreate;
    TiPlotMasterManager(TiPlotHost* Host, TCreateChannel CreateChannel);
    ~TiPlotMasterManager();

    TiPlotObjectManager& ObjectManager() { return *FObjectManager; }
    TiPlotLayoutManager& LayoutManager() { return *FLayoutManager; }
    TiPlotToolBarManager& ToolBarManager() { return *FToolBarManager; }
    TiPlotLegendManager& LegendManager() { return *FLegendManager; }
    TiPlotTableManager& TableManager() { return *FTableManager; }
    TiPlotXAxisManager& XAxisManager() { return *FXAxisManager; }
    TiPlotYAxisManager& YAxisManager() { return *FYAxisManager; }
    TiPlotChannelManager& ChannelManager() { return *FChannelManager; }
    TiPlotDataViewManager& DataViewManager() { return *FDataViewManager; }
    TiPlotDataCursorManager& DataCursorManager() { return *FDataCursorManager; }
    TiPlotLimitManager& LimitManager() { return *FLimitManager; }
    TiPlotLabelManager& LabelManager() { return *FLabelManager; }
    TiPlotAnnotationManager& AnnotationManager() { return *FAnnotationManager; }
    TiPlotTranslationManager& TranslationManager() { return FTranslationManager; }
    // The eleven kind managers, in the order their lists are stored.
    std::vector<TiPlotObjectOwnedManager*> KindManagers() const;
    // The manager of the kind; none for the layout place-holders.
    TiPlotObjectOwnedManager* KindManager(TiPlotKind Kind) const;

    // Creates an object with the manager, inserts it and returns its index.
    int NewObject(TiPlotObjectManagerCustom& Manager);

    bool UserCanEdit() const { return FUserCanEdit; }
    void SetUserCanEdit(bool Value);
    bool XYSwap() const { return FXYSwap; }
    void SetXYSwap(bool Value);
    void ClearAllFocus();
    // Empties every channel.
    void ClearAllData();
    void SetToolBarsVisible(bool Value);

    // What the plot hears from its objects, fanned out to the managers.
    TiPlotObject* Find(TiPlotKind Kind, const std::string& Name) const;
    void Insert(TiPlotObject* Object);
    void Remove(TiPlotObject* Object);
    void Rename(TiPlotObject* Object);
    void LayoutChanged(TiPlotObject* Object);
    void GotFocus(TiPlotObject* Object);

  private:
    void CreateKindManagers(TiPlotHost* Host, TCreateChannel CreateChannel);
    std::vector<TiPlotObjectManagerCustom*> AllManagers() const;

    bool FUserCanEdit = false;
    bool FXYSwap = false;
    std::unique_ptr<TiPlotObjectManager> FObjectManager;
    std::unique_ptr<TiPlotLayoutManager> FLayoutManager;
    std::unique_ptr<TiPlotToolBarManager> FToolBarManager;
    std::unique_ptr<TiPlotLegendManager> FLegendManager;
    std::unique_ptr<TiPlotTableManager> FTableManager;
    std::unique_ptr<TiPlotXAxisManager> FXAxisManager;
    std::unique_ptr<TiPlotYAxisManager> FYAxisManager;
    std::unique_ptr<TiPlotChannelManager> FChannelManager;
    std::unique_ptr<TiPlotDataViewManager> FDataViewManager;
    std::unique_ptr<TiPlotDataCursorManager> FDataCursorManager;
    std::unique_ptr<TiPlotLimitManager> FLimitManager;
    std::unique_ptr<TiPlotLabelManager> FLabelManager;
    std::unique_ptr<TiPlotAnnotationManager> FAnnotationManager;
    TiPlotTranslationManager FTranslationManager;
};
