#include "plot/iPlotManagers.h"

#include "plot/iPlotAnnotation.h"
#include "plot/iPlotAxis.h"
#include "plot/iPlotChannelCustom.h"
#include "plot/iPlotDataCursor.h"
#include "plot/iPlotDataView.h"
#include "plot/iPlotLabel.h"
#include "plot/iPlotLayoutManager.h"
#include "plot/iPlotLegend.h"
#include "plot/iPlotLimit.h"
#include "plot/iPlotTable.h"
#include "plot/iPlotToolBar.h"

#include "platform/Exception.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace {

const TColor ChannelPalette[] = {
    0x0000FF, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0x00FF00, 0xFFFFFF, 0x000080,
    0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0x808080, 0x0000C0, 0x00C000,
    0x00C0C0, 0xC00000, 0xC000C0, 0xC0C000, 0xC0C0C0, 0x0080FF, 0x8000FF, 0x8080FF,
    0xFF0080, 0xFF8000, 0xFF8080, 0x00FF80, 0x80FF00, 0x80FF80,
};

// The number after a default name's base: leading blanks, digits, nothing after.
bool NameNumber(const std::string& Rest, long long& Number) {
    std::size_t Start = 0;
    while (Start < Rest.size() && Rest[Start] == ' ')
        ++Start;
    const char* First = Rest.data() + Start;
    const char* Last = Rest.data() + Rest.size();
    if (First != Last && *First == '+')
        ++First;
    auto [End, Error] = std::from_chars(First, Last, Number);
    return Error == std::errc() && End == Last;
}

bool StartsWithName(const std::string& Name, const std::string& Base) {
    return Name.size() >= Base.size() && SameName(Name.substr(0, Base.size()), Base);
}

} // namespace

// ---- TiPlotObjectManagerCustom

TiPlotObjectManagerCustom::TiPlotObjectManagerCustom(TiPlotHost* Host) : FHost(Host) {
    if (!Host)
        throw Exception("Owner must be Assigned");
}

TiPlotObject* TiPlotObjectManagerCustom::CreateObject() {
    throw Exception("Object Manager does not support creation of objects");
}

void TiPlotObjectManagerCustom::ObjectDeleted(TiPlotObject*) {}

void TiPlotObjectManagerCustom::RemoveObject(TiPlotObject* Object) {
    int Index = IndexOf(Object);
    if (Index < 0)
        return;
    Delete(Index);
    ObjectDeleted(Object);
    FHost->ObjectChanged(Object);
}

void TiPlotObjectManagerCustom::InsertObject(TiPlotObject* Object) {
    Add(Object);
    if (Object->Name().empty())
        NameNewObject(Object);
}

void TiPlotObjectManagerCustom::NameNewObject(TiPlotObject* Object) {
    Object->SetName(NextName());
}

void TiPlotObjectManagerCustom::BroadcastNameChanged(TiPlotObject* Object) {
    for (TiPlotObject* Item : std::vector<TiPlotObject*>(FItems))
        Item->ObjectNameChanged(Object);
}

void TiPlotObjectManagerCustom::BroadcastFocus(TiPlotObject* Object) {
    for (TiPlotObject* Item : std::vector<TiPlotObject*>(FItems))
        Item->ObjectFocused(Object);
}

void TiPlotObjectManagerCustom::Clear() {}

void TiPlotObjectManagerCustom::Delete(int Index) {
    Items(Index);
    FItems.erase(FItems.begin() + Index);
}

TiPlotObject* TiPlotObjectManagerCustom::Items(int Index) const {
    if (Index < 0 || Index >= Count())
        throw Exception("List index out of bounds (" + std::to_string(Index) + ")");
    return FItems[Index];
}

TiPlotObject* TiPlotObjectManagerCustom::Find(const std::string& Name) const {
    for (TiPlotObject* Item : FItems)
        if (SameName(Item->Name(), Name))
            return Item;
    return nullptr;
}

int TiPlotObjectManagerCustom::IndexOf(const TiPlotObject* Object) const {
    auto It = std::find(FItems.begin(), FItems.end(), Object);
    return It == FItems.end() ? -1 : int(It - FItems.begin());
}

void TiPlotObjectManagerCustom::Add(TiPlotObject* Object) {
    if (IndexOf(Object) < 0)
        FItems.push_back(Object);
}

std::string TiPlotObjectManagerCustom::NextName() const {
    const std::string Base = BaseName();
    long long Highest = 0;
    for (TiPlotObject* Item : FItems) {
        long long Number = 0;
        if (StartsWithName(Item->Name(), Base) &&
            NameNumber(Item->Name().substr(Base.size()), Number) && Number > Highest)
            Highest = Number;
    }
    return Base + " " + std::to_string(Highest + 1);
}

// ---- TiPlotObjectOwnedManager

TiPlotObjectOwnedManager::TiPlotObjectOwnedManager(TiPlotHost* Host, TiPlotKind Kind)
    : TiPlotObjectManagerCustom(Host), FKind(Kind) {}

void TiPlotObjectOwnedManager::InsertObject(TiPlotObject* Object) {
    Object->setParent(&FObjects);
    TiPlotObjectManagerCustom::InsertObject(Object);
}

void TiPlotObjectOwnedManager::RemoveObject(TiPlotObject* Object) {
    for (int I = 0; I < Count(); ++I)
        if (Items(I) != Object)
            Items(I)->ObjectRemoved(Object);
    TiPlotObjectManagerCustom::RemoveObject(Object);
}

void TiPlotObjectOwnedManager::Clear() {
    while (Count() > 0) {
        TiPlotObject* Object = Items(Count() - 1);
        DestroyPlotObject(Object);
        // A silenced plot does not hear of the removal: the entry goes here.
        if (Count() > 0 && Items(Count() - 1) == Object)
            Delete(Count() - 1);
    }
}

// ---- TiPlotChannelManager

TiPlotChannelManager::TiPlotChannelManager(TiPlotHost* Host, TCreate CreateChannel,
                                           TDefaults Defaults)
    : TiPlotObjectOwnedManager(Host, TiPlotKind::Channel), FCreateChannel(std::move(CreateChannel)),
      FDefaults(std::move(Defaults)) {}

TiPlotObject* TiPlotChannelManager::CreateObject() {
    return FCreateChannel(Host());
}

TiPlotChannelCustom* TiPlotChannelManager::Item(int Index) const {
    return static_cast<TiPlotChannelCustom*>(Items(Index));
}

TColor TiPlotChannelManager::NextChannelColor() const {
    if (Count() < 2)
        return clRed;
    int Fewest = Count();
    int Uses[std::size(ChannelPalette)] = {};
    for (std::size_t P = 0; P < std::size(ChannelPalette); ++P) {
        for (int I = 0; I < Count(); ++I)
            Uses[P] += Item(I)->Color() == ChannelPalette[P];
        Fewest = std::min(Fewest, Uses[P]);
    }
    for (std::size_t P = 0; P < std::size(ChannelPalette); ++P)
        if (Uses[P] == Fewest)
            return ChannelPalette[P];
    return clRed;
}

void TiPlotChannelManager::NameNewObject(TiPlotObject* Object) {
    TiPlotObjectOwnedManager::NameNewObject(Object);
    auto* Channel = static_cast<TiPlotChannelCustom*>(Object);
    Channel->SetTitleText(Channel->Name());
    Channel->SetColor(NextChannelColor());
    FDefaults(*Channel);
}

TiPlotAnnotationManager::TiPlotAnnotationManager(TiPlotHost* Host)
    : TiPlotKindManager(Host, "Annotation") {}

// ---- TiPlotMasterManager

TiPlotMasterManager::TiPlotMasterManager(TiPlotHost* Host, TCreateChannel CreateChannel) {
    FObjectManager = std::make_unique<TiPlotObjectManager>(Host);
    CreateKindManagers(Host, std::move(CreateChannel));
    FLayoutManager = std::make_unique<TiPlotLayoutManager>(Host);
}

// The defaults of new objects that name objects of other kinds: the first X
// axis, Y axis, channel or data view.
void TiPlotMasterManager::CreateKindManagers(TiPlotHost* Host, TCreateChannel CreateChannel) {
    auto FirstName = [](const TiPlotObjectManagerCustom& M) { return M.Items(0)->Name(); };
    auto FirstAxes = [this, FirstName](auto& Object, auto SetX, auto SetY) {
        if (FXAxisManager->Count() > 0)
            (Object.*SetX)(FirstName(*FXAxisManager));
        if (FYAxisManager->Count() > 0)
            (Object.*SetY)(FirstName(*FYAxisManager));
    };
    FToolBarManager = std::make_unique<TiPlotToolBarManager>(Host, "Toolbar");
    FLegendManager = std::make_unique<TiPlotLegendManager>(Host, "Legend");
    FTableManager = std::make_unique<TiPlotTableManager>(Host, "Table");
    FXAxisManager = std::make_unique<TiPlotXAxisManager>(
        Host, "X-Axis", [](TiPlotXAxis& A) { A.SetTitle(A.Name()); });
    FYAxisManager = std::make_unique<TiPlotYAxisManager>(
        Host, "Y-Axis", [](TiPlotYAxis& A) { A.SetTitle(A.Name()); });
    FChannelManager = std::make_unique<TiPlotChannelManager>(
        Host, std::move(CreateChannel), [FirstAxes](TiPlotChannelCustom& C) {
            FirstAxes(C, &TiPlotChannelCustom::SetXAxisName, &TiPlotChannelCustom::SetYAxisName);
        });
    FDataViewManager =
        std::make_unique<TiPlotDataViewManager>(Host, "Data View", [FirstAxes](TiPlotDataView& D) {
            FirstAxes(D, &TiPlotDataView::SetGridXAxisName, &TiPlotDataView::SetGridYAxisName);
        });
    FDataCursorManager = std::make_unique<TiPlotDataCursorManager>(
        Host, "Cursor", [this, FirstName](TiPlotDataCursor& C) {
            if (FDataViewManager->Count() > 0)
                C.SetDataView(FDataViewManager->Item(0));
            if (FChannelManager->Count() > 0)
                C.SetChannelName(FirstName(*FChannelManager));
        });
    FLimitManager =
        std::make_unique<TiPlotLimitManager>(Host, "Limit", [FirstAxes](TiPlotLimit& L) {
            FirstAxes(L, &TiPlotLimit::SetXAxisName, &TiPlotLimit::SetYAxisName);
        });
    FLabelManager = std::make_unique<TiPlotLabelManager>(
        Host, "Label", [](TiPlotLabel& L) { L.SetCaption(L.Name()); });
    FAnnotationManager = std::make_unique<TiPlotAnnotationManager>(Host);
}

TiPlotMasterManager::~TiPlotMasterManager() {
    // The kind managers take their objects with them; the lists that only
    // refer to objects go last.
    FToolBarManager.reset();
    FLegendManager.reset();
    FTableManager.reset();
    FXAxisManager.reset();
    FYAxisManager.reset();
    FChannelManager.reset();
    FDataViewManager.reset();
    FDataCursorManager.reset();
    FLimitManager.reset();
    FLabelManager.reset();
    FAnnotationManager.reset();
    FObjectManager.reset();
    FLayoutManager.reset();
}

std::vector<TiPlotObjectOwnedManager*> TiPlotMasterManager::KindManagers() const {
    return {FToolBarManager.get(),  FLegendManager.get(),     FTableManager.get(),
            FXAxisManager.get(),    FYAxisManager.get(),      FChannelManager.get(),
            FDataViewManager.get(), FDataCursorManager.get(), FLimitManager.get(),
            FLabelManager.get(),    FAnnotationManager.get()};
}

TiPlotObjectOwnedManager* TiPlotMasterManager::KindManager(TiPlotKind Kind) const {
    for (TiPlotObjectOwnedManager* M : KindManagers())
        if (M->Kind() == Kind)
            return M;
    return nullptr;
}

std::vector<TiPlotObjectManagerCustom*> TiPlotMasterManager::AllManagers() const {
    std::vector<TiPlotObjectManagerCustom*> All{FObjectManager.get(), FLayoutManager.get()};
    for (TiPlotObjectOwnedManager* M : KindManagers())
        All.push_back(M);
    return All;
}

int TiPlotMasterManager::NewObject(TiPlotObjectManagerCustom& Manager) {
    TiPlotObject* Object = Manager.CreateObject();
    Object->NotifyInserted();
    return Manager.Count() - 1;
}

TiPlotObject* TiPlotMasterManager::Find(TiPlotKind Kind, const std::string& Name) const {
    TiPlotObjectOwnedManager* Manager = KindManager(Kind);
    return Manager ? Manager->Find(Name) : nullptr;
}

void TiPlotMasterManager::Insert(TiPlotObject* Object) {
    FObjectManager->InsertObject(Object);
    if (IsLayoutKind(Object->Kind()))
        FLayoutManager->InsertObject(Object);
    if (TiPlotObjectOwnedManager* Manager = KindManager(Object->Kind()))
        Manager->InsertObject(Object);
    Object->SetUserCanEdit(FUserCanEdit);
    Object->SetXYSwap(FXYSwap);
}

void TiPlotMasterManager::Remove(TiPlotObject* Object) {
    for (TiPlotObjectManagerCustom* M : AllManagers())
        M->RemoveObject(Object);
}

void TiPlotMasterManager::Rename(TiPlotObject* Object) {
    for (TiPlotObjectOwnedManager* M : KindManagers())
        M->BroadcastNameChanged(Object);
    FLayoutManager->BroadcastNameChanged(Object);
}

void TiPlotMasterManager::LayoutChanged(TiPlotObject* Object) {
    FLayoutManager->ObjectLayoutChanged(Object);
}

void TiPlotMasterManager::GotFocus(TiPlotObject* Object) {
    for (TiPlotObjectOwnedManager* M : KindManagers())
        M->BroadcastFocus(Object);
}

void TiPlotMasterManager::SetUserCanEdit(bool Value) {
    FUserCanEdit = Value;
    for (int I = 0; I < FObjectManager->Count(); ++I)
        FObjectManager->Items(I)->SetUserCanEdit(Value);
}

void TiPlotMasterManager::SetXYSwap(bool Value) {
    FXYSwap = Value;
    FLayoutManager->SetXYSwap(Value);
    for (int I = 0; I < FObjectManager->Count(); ++I)
        FObjectManager->Items(I)->SetXYSwap(Value);
}

void TiPlotMasterManager::ClearAllFocus() {
    for (int I = 0; I < FObjectManager->Count(); ++I)
        FObjectManager->Items(I)->SetFocused(false);
}

void TiPlotMasterManager::ClearAllData() {
    for (int I = 0; I < FChannelManager->Count(); ++I)
        FChannelManager->Item(I)->Clear();
    for (int I = 0; I < FXAxisManager->Count(); ++I)
        FXAxisManager->Item(I)->ResetTracking();
    for (int I = 0; I < FYAxisManager->Count(); ++I)
        FYAxisManager->Item(I)->ResetTracking();
}

void TiPlotMasterManager::SetToolBarsVisible(bool Value) {
    for (int I = 0; I < FToolBarManager->Count(); ++I)
        FToolBarManager->Items(I)->SetVisible(Value);
}
