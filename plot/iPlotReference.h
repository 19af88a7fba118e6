#pragma once
// A reference to another plot object by name, resolved on first use and
// cached until the object goes away; a rename of the cached object is
// followed.

#include "plot/iPlotObjects.h"

#include <functional>
#include <string>

template <typename T> class TiPlotReference {
  public:
    using TLookup = std::function<T*(const std::string&)>;

    const std::string& Name() const { return FName; }
    // Returns true when the name changed (the cache is then dropped).
    bool SetName(const std::string& Value) {
        if (FName == Value)
            return false;
        FName = Value;
        FCached = nullptr;
        return true;
    }
    T* Resolve(const TLookup& Lookup) {
        if (!FCached && !FName.empty())
            FCached = Lookup(FName);
        return FCached;
    }
    void ObjectRemoved(const TiPlotObject* Object) {
        if (FCached && static_cast<const TiPlotObject*>(FCached) == Object)
            FCached = nullptr;
    }
    // Follows a rename of the referenced object; returns true when it did.
    // A reference not looked up yet follows an object of its kind that had
    // its name, so that renaming before the first paint keeps the binding.
    bool ObjectNameChanged(const TiPlotObject* Object) {
        const bool Cached = FCached && static_cast<const TiPlotObject*>(FCached) == Object;
        const bool Named =
            !FCached && dynamic_cast<const T*>(Object) && SameName(FName, Object->OldName());
        if (!Cached && !Named)
            return false;
        FName = Object->Name();
        return true;
    }

  private:
    std::string FName;
    T* FCached = nullptr;
};

class TiPlotAxis;
class TiPlotXAxis;
class TiPlotYAxis;

// The X and Y axis an object refers to by name.
class TiPlotAxisReferences {
  public:
    explicit TiPlotAxisReferences(TiPlotComponent* Owner) : FOwner(Owner) {}

    const std::string& XName() const { return FX.Name(); }
    const std::string& YName() const { return FY.Name(); }
    bool SetXName(const std::string& Value) { return FX.SetName(Value); }
    bool SetYName(const std::string& Value) { return FY.SetName(Value); }
    TiPlotAxis* X();
    TiPlotAxis* Y();
    void ObjectRemoved(const TiPlotObject* Object);
    void ObjectNameChanged(const TiPlotObject* Object);

  private:
    TiPlotComponent* FOwner;
    TiPlotReference<TiPlotXAxis> FX;
    TiPlotReference<TiPlotYAxis> FY;
};
