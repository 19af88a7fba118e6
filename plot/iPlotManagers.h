#pragma once
// The managers keep the plot's objects in lists per kind, hand out default
// names and defaults, and tell the other objects when one they may
// reference is destroyed or renamed. The master manager owns them all and
// fans the objects' events out to them.

#include "plot/iPlotObjects.h"
#include "plot/iPlotTranslation.h"

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
class TiPlotMasterManager;

// An unsorted list of objects in insertion order.
class TiPlotObjectManagerCustom {
  public:
    TiPlotObjectManagerCustom(TiPlotComponent* Owner, const TiPlotObjectEvents& Events);
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

    TiPlotComponent* Owner() const { return FOwner; }
    const TiPlotObjectEvents& Events() const { return FEvents; }

  protected:
    virtual bool Owning() const { return false; }
    // Gives a newly inserted object without a name its name and the kind's defaults.
    virtual void NameNewObject(TiPlotObject* Object);

  private:
    TiPlotComponent* FOwner;
    TiPlotObjectEvents FEvents;
    std::vector<TiPlotObject*> FItems;
};

// A manager that owns its objects and destroys them.
class TiPlotObjectOwnedManager : public TiPlotObjectManagerCustom {
  public:
    using TiPlotObjectManagerCustom::TiPlotObjectManagerCustom;
    ~TiPlotObjectOwnedManager() override;
    void RemoveObject(TiPlotObject* Object) override;
    void Clear() override;
    // Whether the object is of this manager's kind.
    virtual bool Accepts(const TiPlotObject* Object) const = 0;

  protected:
    bool Owning() const override { return true; }
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
template <typename Kind> class TiPlotKindManager : public TiPlotObjectOwnedManager {
  public:
    using TDefaults = std::function<void(Kind&)>;
    TiPlotKindManager(TiPlotComponent* Owner, const TiPlotObjectEvents& Events,
                      const char* BaseName, TDefaults Defaults = nullptr)
        : TiPlotObjectOwnedManager(Owner, Events), FBaseName(BaseName),
          FDefaults(std::move(Defaults)) {}
    TiPlotObject* CreateObject() override { return new Kind(Owner(), Events()); }
    std::string BaseName() const override { return FBaseName; }
    bool Accepts(const TiPlotObject* Object) const override {
        return dynamic_cast<const Kind*>(Object) != nullptr;
    }
    Kind* Item(int Index) const { return static_cast<Kind*>(Items(Index)); }

  protected:
    void NameNewObject(TiPlotObject* Object) override {
        TiPlotObjectOwnedManager::NameNewObject(Object);
        if (FDefaults)
            FDefaults(static_cast<Kind&>(*Object));
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
    using TCreate =
        std::function<TiPlotChannelCustom*(TiPlotComponent*, const TiPlotObjectEvents&)>;
    using TDefaults = std::function<void(TiPlotChannelCustom&)>;
    TiPlotChannelManager(TiPlotComponent* Owner, const TiPlotObjectEvents& Events,
                         TCreate CreateChannel, TDefaults Defaults);
    TiPlotObject* CreateObject() override;
    std::string BaseName() const override { return "Channel"; }
    bool Accepts(const TiPlotObject* Object) const override;
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
    TiPlotAnnotationManager(TiPlotComponent* Owner, const TiPlotObjectEvents& Events);

  protected:
    void NameNewObject(TiPlotObject*) override {}
};

// The hooks of the plot component that the master calls.
struct TiPlotComponentHooks {
    TiPlotObjectEvent ObjectRemoved; // forget cached pointers to it
    TiPlotObjectEvent ObjectChanged; // repaint request
    TiPlotObjectEvent FocusChanged;  // immediate repaint
};

class TiPlotMasterManager {
  public:
    using TCreateChannel = TiPlotChannelManager::TCreate;
    TiPlotMasterManager(TiPlotComponent* Owner, TiPlotComponentHooks Hooks,
                        TCreateChannel CreateChannel);
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

    const TiPlotObjectEvents& Events() const { return FEvents; }

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
    // Drops every object's handlers before the plot goes away.
    void ClearAllHandlers();

  private:
    void CreateKindManagers(TCreateChannel CreateChannel);
    void DoInsert(TiPlotObject* Object);
    void DoRemove(TiPlotObject* Object);
    void DoRename(TiPlotObject* Object);
    void DoChange(TiPlotObject* Object);
    void DoGotFocus(TiPlotObject* Object);
    std::vector<TiPlotObjectManagerCustom*> AllManagers() const;

    TiPlotComponent* FOwner;
    TiPlotComponentHooks FHooks;
    TiPlotObjectEvents FEvents;
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
