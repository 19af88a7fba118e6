#include "plot/iPlotLayoutManager.h"

#include "plot/iPlotAxis.h"
#include "plot/iPlotDataView.h"
#include "plot/iPlotLabel.h"
#include "plot/iPlotLegend.h"
#include "plot/iPlotToolBar.h"

#include "platform/Arith.h"
#include "platform/Text.h"

#include <algorithm>
#include <cctype>

namespace {

// ZOrder and StartPercent, three digits each, compared as text.
std::string SideKey(const TiPlotLayoutObject* Object) {
    return FormatDecimal(Object->ZOrder(), 3) + FormatDecimal(Round(Object->StartPercent()), 3);
}

bool KeyLess(const std::string& A, const std::string& B) {
    return std::lexicographical_compare(A.begin(), A.end(), B.begin(), B.end(), [](char X, char Y) {
        return std::tolower((unsigned char)X) < std::tolower((unsigned char)Y);
    });
}

bool SpansOverlap(const TiPlotLayoutObject* A, const TiPlotLayoutObject* B) {
    bool Equal = A->StartPercent() == B->StartPercent() && A->StopPercent() == B->StopPercent();
    return Equal || (A->StartPercent() < B->StopPercent() && B->StartPercent() < A->StopPercent());
}

bool FollowsLayout(const TiPlotObject* Object) {
    return dynamic_cast<const TiPlotAxis*>(Object) || dynamic_cast<const TiPlotToolBar*>(Object) ||
           dynamic_cast<const TiPlotLegend*>(Object) ||
           dynamic_cast<const TiPlotDataView*>(Object) || dynamic_cast<const TiPlotLabel*>(Object);
}

} // namespace

TiPlotDataViewLayout::TiPlotDataViewLayout(TiPlotComponent* Owner, const TiPlotObjectEvents& Events,
                                           bool Horizontal)
    : TiPlotLayoutObject(Owner, Events) {
    SetName("Data View");
    SetHorizontal(Horizontal);
    SetZOrder(1);
}

TiPlotLayoutManager::TiPlotLayoutManager(TiPlotComponent* Owner, const TiPlotObjectEvents& Events)
    : TiPlotObjectManagerCustom(Owner, Events) {
    // The place-holders only ask for repaints; they are never renamed or inserted.
    TiPlotObjectEvents Quiet{[](TiPlotObject*) {}, [](TiPlotObject*) {}, [](TiPlotObject*) {},
                             Events.OnChange};
    FDataViewHorz = std::make_unique<TiPlotDataViewHorz>(Owner, Quiet);
    FDataViewVert = std::make_unique<TiPlotDataViewVert>(Owner, Quiet);
    for (TiPlotLayoutObject* Holder :
         {(TiPlotLayoutObject*)FDataViewHorz.get(), (TiPlotLayoutObject*)FDataViewVert.get()}) {
        Add(Holder);
        Holder->SetOnLayoutChange([this](TiPlotObject*) { Rebuild(); });
    }
    Rebuild();
}

TiPlotLayoutManager::~TiPlotLayoutManager() {
    FDataViewHorz->ClearHandlers();
    FDataViewVert->ClearHandlers();
}

std::vector<TiPlotLayoutObject*> TiPlotLayoutManager::LayoutObjects() const {
    std::vector<TiPlotLayoutObject*> Objects;
    for (int I = 0; I < Count(); ++I)
        Objects.push_back(static_cast<TiPlotLayoutObject*>(Items(I)));
    return Objects;
}

bool TiPlotLayoutManager::IsDataView(const TiPlotLayoutObject* Object) {
    return dynamic_cast<const TiPlotDataView*>(Object) != nullptr;
}

bool TiPlotLayoutManager::InSideLists(const TiPlotLayoutObject* Object) {
    return !IsDataView(Object) && !dynamic_cast<const TiPlotDataViewLayout*>(Object);
}

void TiPlotLayoutManager::InsertObject(TiPlotObject* Object) {
    auto* LayoutObject = static_cast<TiPlotLayoutObject*>(Object);
    Add(LayoutObject);
    if (FollowsLayout(Object))
        LayoutObject->SetOnLayoutChange([this](TiPlotObject*) { Rebuild(); });
    if (dynamic_cast<TiPlotXAxis*>(Object))
        LayoutObject->SetHorizontal(!FXYSwap);
    else if (dynamic_cast<TiPlotYAxis*>(Object))
        LayoutObject->SetHorizontal(FXYSwap);
    if (FEnabled)
        PlaceAtZero(LayoutObject);
    Rebuild();
}

// The object takes the outermost row; the objects of its orientation move
// one row inwards when that row is taken where the new one goes.
void TiPlotLayoutManager::PlaceAtZero(TiPlotLayoutObject* Object) {
    const std::vector<TiPlotLayoutObject*> Objects = LayoutObjects();
    bool Taken = std::any_of(Objects.begin(), Objects.end(), [&](TiPlotLayoutObject* Other) {
        return Other != Object && !IsDataView(Other) &&
               Other->Horizontal() == Object->Horizontal() && Other->ZOrder() == 0 &&
               SpansOverlap(Other, Object);
    });
    if (Taken)
        for (TiPlotLayoutObject* Other : Objects)
            if (!IsDataView(Other) && Other->Horizontal() == Object->Horizontal() &&
                Other->ZOrder() >= 0)
                Other->SetZOrder(Other->ZOrder() + 1);
    Object->SetZOrder(0);
}

void TiPlotLayoutManager::ObjectDeleted(TiPlotObject* Object) {
    auto* LayoutObject = static_cast<TiPlotLayoutObject*>(Object);
    if (FEnabled)
        CloseRow(LayoutObject);
    Rebuild();
}

// When the object was alone in its row, the rows beyond it move one inwards.
void TiPlotLayoutManager::CloseRow(TiPlotLayoutObject* Object) {
    const std::vector<TiPlotLayoutObject*> Objects = LayoutObjects();
    bool Shared = std::any_of(Objects.begin(), Objects.end(), [&](TiPlotLayoutObject* Other) {
        return Other != Object && !IsDataView(Other) &&
               Other->Horizontal() == Object->Horizontal() && Other->ZOrder() == Object->ZOrder();
    });
    if (Shared)
        return;
    for (TiPlotLayoutObject* Other : Objects)
        if (Other != Object && Other->Horizontal() == Object->Horizontal() &&
            Other->ZOrder() > Object->ZOrder() && !IsDataView(Other))
            Other->SetZOrder(Other->ZOrder() - 1);
}

void TiPlotLayoutManager::SetEnabled(bool Value) {
    FEnabled = Value;
    if (Value)
        Rebuild();
}

void TiPlotLayoutManager::SetXYSwap(bool Value) {
    if (FXYSwap == Value)
        return;
    FXYSwap = Value;
    if (!FEnabled)
        return;
    std::vector<TiPlotLayoutObject*> Axes;
    for (TiPlotLayoutObject* Object : LayoutObjects())
        if (dynamic_cast<TiPlotAxis*>(Object))
            Axes.push_back(Object);
    std::stable_sort(Axes.begin(), Axes.end(), [](TiPlotLayoutObject* A, TiPlotLayoutObject* B) {
        return KeyLess(FormatDecimal(A->ZOrder(), 3), FormatDecimal(B->ZOrder(), 3));
    });
    for (TiPlotLayoutObject* Axis : Axes) {
        CloseRow(Axis);
        Axis->SetHorizontal(dynamic_cast<TiPlotXAxis*>(Axis) ? !Value : Value);
        PlaceAtZero(Axis);
    }
    Rebuild();
}

void TiPlotLayoutManager::AddToSide(TSide Side, TiPlotLayoutObject* Object) {
    TSideList& List = FSides[Side];
    const std::string Key = SideKey(Object);
    // Before the entries with an equal key.
    auto At = std::lower_bound(List.Keys.begin(), List.Keys.end(), Key, KeyLess);
    auto Offset = At - List.Keys.begin();
    List.Keys.insert(At, Key);
    List.Objects.insert(List.Objects.begin() + Offset, Object);
}

void TiPlotLayoutManager::Rebuild() {
    if (!FEnabled)
        return;
    for (TSideList& List : FSides)
        List = TSideList();
    for (TiPlotLayoutObject* Object : LayoutObjects()) {
        if (!InSideLists(Object))
            continue;
        if (Object->Horizontal()) {
            Object->SetBeyondDataView(Object->ZOrder() > FDataViewHorz->ZOrder());
            AddToSide(Object->BeyondDataView() ? Top : Bottom, Object);
        } else {
            Object->SetBeyondDataView(Object->ZOrder() > FDataViewVert->ZOrder());
            AddToSide(Object->BeyondDataView() ? Right : Left, Object);
        }
    }
    for (TSideList& List : FSides) {
        List.Rows = List.Keys.empty() ? 0 : 1;
        for (std::size_t I = 1; I < List.Keys.size(); ++I)
            if (List.Keys[I].substr(0, 3) != List.Keys[I - 1].substr(0, 3))
                ++List.Rows;
    }
}
