#pragma once
// A reference to another plot object by name, resolved through the plot on
// first use and cached until the object goes away; a rename of the cached
// object is followed.

#include "plot/iPlotObjects.h"

#include <QPointer>

#include <string>

template <typename T> class TiPlotReference {
  public:
    const std::string& Name() const { return FName; }
    // Returns true when the name changed (the cache is then dropped).
    bool SetName(const std::string& Value) {
        if (FName == Value)
            return false;
        FName = Value;
        FCached.clear();
        return true;
    }
    T* Resolve(TiPlotHost* Host) {
        if (FCached.isNull() && !FName.empty() && Host)
            FCached = static_cast<T*>(Host->FindObject(T::StaticKind, FName));
        return FCached;
    }
    // The object Resolve returned last is still there.
    bool Cached() const { return !FCached.isNull(); }
    // Follows a rename of the referenced object; returns true when it did.
    // A reference not looked up yet follows an object of its kind that had
    // its name, so that renaming before the first paint keeps the binding.
    // An empty reference names nothing and stays empty.
    bool ObjectNameChanged(const TiPlotObject* Object) {
        const bool Cached = !FCached.isNull() && FCached.data() == Object;
        const bool Named = FCached.isNull() && !FName.empty() && Object->Kind() == T::StaticKind &&
                           SameName(FName, Object->OldName());
        if (!Cached && !Named)
            return false;
        FName = Object->Name();
        return true;
    }

  private:
    std::string FName;
    // Cleared by Qt when the object is destroyed.
    QPointer<T> FCached;
};

class TiPlotAxis;
class TiPlotXAxis;
class TiPlotYAxis;

// The X and Y axis an object refers to by name.
class TiPlotAxisReferences {
  public:
    explicit TiPlotAxisReferences(TiPlotHost* Host) : FHost(Host) {}

    const std::string& XName() const { return FX.Name(); }
    const std::string& YName() const { return FY.Name(); }
    bool SetXName(const std::string& Value) { return FX.SetName(Value); }
    bool SetYName(const std::string& Value) { return FY.SetName(Value); }
    // Inline for the cached axis: every point added asks for both.
    TiPlotAxis* X() { return FX.Cached() ? FXAxis : ResolveX(); }
    TiPlotAxis* Y() { return FY.Cached() ? FYAxis : ResolveY(); }
    void ObjectNameChanged(const TiPlotObject* Object);

  private:
    TiPlotAxis* ResolveX();
    TiPlotAxis* ResolveY();

    TiPlotHost* FHost;
    TiPlotReference<TiPlotXAxis> FX;
    TiPlotReference<TiPlotYAxis> FY;
    // What FX and FY resolved to, valid while they hold it.
    TiPlotAxis* FXAxis = nullptr;
    TiPlotAxis* FYAxis = nullptr;
};
