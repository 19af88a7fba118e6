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

// Tables keep their rows until the layout is rebuilt for another reason.
bool FollowsLayout(TiPlotKind Kind) {
    return IsAxisKind(Kind) || Kind == TiPlotKind::ToolBar || Kind == TiPlotKind::Legend ||
           Kind == TiPlotKind::DataView || Kind == TiPlotKind::Label ||
           Kind == TiPlotKind::DataViewLayout;
}

} // namespace

TiPlotDataViewLayout::TiPlotDataViewLayout(TiPlotHost* Host, bool Horizontal)
    : TiPlotLayoutObject(Host) {
    SetName("Data View");
    SetHorizontal(Horizontal);
    SetZOrder(1);
}

TiPlotLayoutManager::TiPlotLayoutManager(TiPlotHost* Host) : TiPlotObjectManagerCustom(Host) {
    FDataViewHorz = std::make_unique<TiPlotDataViewHorz>(&FPlaceHolderHost);
    FDataViewVert = std::make_unique<TiPlotDataViewVert>(&FPlaceHolderHost);
    Add(FDataViewHorz.get());
    Add(FDataViewVert.get());
    Rebuild();
}

TiPlotLayoutManager::~TiPlotLayoutManager() = default;

std::vector<TiPlotLayoutObject*> TiPlotLayoutManager::LayoutObjects() const {
    std::vector<TiPlotLayoutObject*> Objects;
    for (int I = 0; I < Count(); ++I)
        Objects.push_back(static_cast<TiPlotLayoutObject*>(Items(I)));
    return Objects;
}

bool TiPlotLayoutManager::IsDataView(const TiPlotLayoutObject* Object) {
    return Object->Kind() == TiPlotKind::DataView;
}

bool TiPlotLayoutManager::InSideLists(const TiPlotLayoutObject* Object) {
    return !IsDataView(Object) && Object->Kind() != TiPlotKind::DataViewLayout;
}

void TiPlotLayoutManager::InsertObject(TiPlotObject* Object) {
    auto* LayoutObject = static_cast<TiPlotLayoutObject*>(Object);
    Add(LayoutObject);
    if (Object->Kind() == TiPlotKind::XAxis)
        LayoutObject->SetHorizontal(!FXYSwap);
    else if (Object->Kind() == TiPlotKind::YAxis)
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

void TiPlotLayoutManager::ObjectLayoutChanged(TiPlotObject* Object) {
    if (FollowsLayout(Object->Kind()) && IndexOf(Object) >= 0)
        Rebuild();
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
        if (IsAxisKind(Object->Kind()))
            Axes.push_back(Object);
    std::stable_sort(Axes.begin(), Axes.end(), [](TiPlotLayoutObject* A, TiPlotLayoutObject* B) {
        return KeyLess(FormatDecimal(A->ZOrder(), 3), FormatDecimal(B->ZOrder(), 3));
    });
    for (TiPlotLayoutObject* Axis : Axes) {
        CloseRow(Axis);
        Axis->SetHorizontal(Axis->Kind() == TiPlotKind::XAxis ? !Value : Value);
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
    // The place-holders move while they are made.
    if (!FEnabled || !FDataViewHorz || !FDataViewVert)
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
