#include "plot/iPlotLayoutManager.h"

#include "plot/iPlotAxis.h"
#include "plot/iPlotDataView.h"
#include "plot/iPlotLabel.h"
#include "plot/iPlotLegend.h"
#include "plot/iPlotToolBar.h"

#include "platform/Arith.h"
#include "platform/Canvas.h"
#include "platform/Text.h"

#include <algorithm>
#include <cctype>

namespace {

// ZOrder and StartPercent, three digits each, compared as text.
std::string SideKey(const TiPlotLayoutObject* Object) {
    return FormatDecimal(Object->ZOrder(), 3) + FormatDecimal(Round(Object->StartPercent()), 3);
}

// Axes crossing the data view take no row.
bool InRows(const TiPlotLayoutObject* Object) {
    return !IsAxisKind(Object->Kind()) ||
           static_cast<const TiPlotAxis*>(Object)->CartesianStyle() == ipcsNone;
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

// ---- the rectangles

std::vector<TiPlotLayoutManager::TRow> TiPlotLayoutManager::Rows(TCanvas& Canvas,
                                                                 TSide Side) const {
    std::vector<TRow> Rows;
    for (TiPlotLayoutObject* Object : FSides[Side].Objects) {
        if (!Object->Visible() || !InRows(Object))
            continue;
        if (Rows.empty() || Rows.back().Objects.front()->ZOrder() != Object->ZOrder())
            Rows.emplace_back();
        Rows.back().Objects.push_back(Object);
        Rows.back().Thickness = std::max(Rows.back().Thickness, Object->Thickness(Canvas));
    }
    return Rows;
}

// Objects sharing a row are stacked against each other; a forced one
// against both neighbours.
void TiPlotLayoutManager::SetStackingFlags(const std::vector<TRow>& Rows) {
    TiPlotLayoutObject* Previous = nullptr;
    for (const TRow& Row : Rows)
        for (TiPlotLayoutObject* Object : Row.Objects) {
            Object->SetStacked(Object->ForceStacking(), Object->ForceStacking());
            if (!Object->ForceStacking() && Previous && Previous->ZOrder() == Object->ZOrder()) {
                Previous->SetStacked(Previous->StackedBefore(), true);
                Object->SetStacked(true, Object->StackedAfter());
            }
            Previous = Object;
        }
}

// What the objects need beyond the start and the stop of their spans,
// where no stacked neighbour takes it.
TiPlotLayoutManager::TEndMargins
TiPlotLayoutManager::SideEndMargins(TCanvas& Canvas, const std::vector<TRow>& Rows) {
    TEndMargins Ends;
    for (const TRow& Row : Rows)
        for (TiPlotLayoutObject* Object : Row.Objects) {
            const int Margin = std::max(Object->EndMargin(Canvas), 0);
            if (!Object->StackedBefore())
                Ends.Start = std::max(Ends.Start, Margin);
            if (!Object->StackedAfter())
                Ends.Stop = std::max(Ends.Stop, Margin);
        }
    return Ends;
}

TRect TiPlotLayoutManager::Layout(TCanvas& Canvas, const TiPlotLayoutFrame& Frame) {
    std::vector<TRow> Sides[4];
    int Thickness[4] = {};
    TEndMargins Ends[4];
    for (TSide Side : {Top, Bottom, Left, Right}) {
        Sides[Side] = Rows(Canvas, Side);
        SetStackingFlags(Sides[Side]);
        Ends[Side] = SideEndMargins(Canvas, Sides[Side]);
        for (const TRow& Row : Sides[Side])
            Thickness[Side] += Row.Thickness;
    }
    const TEndMargins Vertical{std::max(Ends[Left].Start, Ends[Right].Start),
                               std::max(Ends[Left].Stop, Ends[Right].Stop)};
    const TEndMargins Horizontal{std::max(Ends[Top].Start, Ends[Bottom].Start),
                                 std::max(Ends[Top].Stop, Ends[Bottom].Stop)};
    // A toolbar alone on top leaves room above the data view for what the
    // vertical objects need beyond their stop.
    const bool LoneToolBar = Sides[Top].size() == 1 && Sides[Top][0].Objects.size() == 1 &&
                             Sides[Top][0].Objects[0]->Kind() == TiPlotKind::ToolBar;
    const int TopExtra = LoneToolBar ? Vertical.Stop : 0;
    const int D = Frame.Border;
    const TRect DataView = Rect(
        Frame.MarginLeft + D + std::max(Thickness[Left], Horizontal.Start),
        Frame.MarginTop + D + std::max(Thickness[Top], Vertical.Stop) + TopExtra,
        Frame.Width - (D + std::max(Thickness[Right], Horizontal.Stop) + Frame.MarginRight) - 1,
        Frame.Height - (D + std::max(Thickness[Bottom], Vertical.Start) + Frame.MarginBottom) - 1);
    for (TSide Side : {Top, Bottom, Left, Right})
        PlaceRows(Sides[Side], Side, DataView, TopExtra);
    for (TRow& Row : Sides[Top])
        for (TiPlotLayoutObject* Object : Row.Objects)
            if (Object->Kind() == TiPlotKind::ToolBar) {
                TRect R = Object->LayoutRect();
                R.Top = D;
                R.Bottom = D + Object->Thickness(Canvas);
                Object->SetLayoutRect(R);
            }
    PlaceAlongRows(Frame, DataView);
    PlaceCartesianAxes(Canvas, DataView);
    AlignAxes(Canvas);
    return DataView;
}

// Rows are placed outwards from the data view's edge on their side, the
// innermost first.
void TiPlotLayoutManager::PlaceRows(const std::vector<TRow>& Rows, TSide Side,
                                    const TRect& DataView, int TopExtra) {
    const bool Inward = Side == Left || Side == Bottom; // walked from the last row
    int Edge = Side == Top      ? DataView.Top
               : Side == Bottom ? DataView.Bottom
               : Side == Left   ? DataView.Left
                                : DataView.Right;
    bool ExtraTaken = false;
    for (std::size_t K = 0; K < Rows.size(); ++K) {
        const TRow& Row = Rows[Inward ? Rows.size() - 1 - K : K];
        if (Side == Top && !ExtraTaken &&
            std::any_of(Row.Objects.begin(), Row.Objects.end(),
                        [](TiPlotLayoutObject* O) { return !IsAxisKind(O->Kind()); })) {
            Edge -= TopExtra;
            ExtraTaken = true;
        }
        const int Outer = Side == Top || Side == Left ? Edge - Row.Thickness : Edge + Row.Thickness;
        for (TiPlotLayoutObject* Object : Row.Objects) {
            TRect R = Object->LayoutRect();
            if (Side == Top || Side == Bottom) {
                R.Top = std::min(Edge, Outer);
                R.Bottom = std::max(Edge, Outer);
            } else {
                R.Left = std::min(Edge, Outer);
                R.Right = std::max(Edge, Outer);
            }
            Object->SetLayoutRect(R);
        }
        Edge = Outer;
    }
}

// The extent of every object along its row, from its percent span.
void TiPlotLayoutManager::PlaceAlongRows(const TiPlotLayoutFrame& Frame, const TRect& DataView) {
    const int D = Frame.Border;
    const double Across = Frame.Width - 2 * D;
    const double LabelAcross = Frame.Width - D - Frame.MarginLeft - Frame.MarginRight;
    const double DW = DataView.Right - DataView.Left;
    const double DH = DataView.Bottom - DataView.Top;
    for (TiPlotLayoutObject* Object : LayoutObjects()) {
        const TiPlotKind Kind = Object->Kind();
        if (!InSideLists(Object))
            continue;
        const double Start = Object->StartPercent() / 100, Stop = Object->StopPercent() / 100;
        TRect R = Object->LayoutRect();
        const bool Spanned =
            IsAxisKind(Kind) || Kind == TiPlotKind::Legend || Kind == TiPlotKind::Table;
        if (Object->Horizontal() && Kind == TiPlotKind::ToolBar) {
            R.Left = D + int(Round(Start * Across));
            R.Right = D + int(Round(Stop * Across)) - 1;
        } else if (Object->Horizontal() && Kind == TiPlotKind::Label) {
            R.Left = int(Round(Start * LabelAcross)) + D + Frame.MarginLeft;
            R.Right = int(Round(Stop * LabelAcross)) + D + Frame.MarginLeft;
        } else if (Object->Horizontal() && Spanned) {
            R.Left = DataView.Left + int(Round(DW * Start));
            R.Right = DataView.Left + int(Round(DW * Stop));
        } else if (!Object->Horizontal() && (Spanned || Kind == TiPlotKind::Label)) {
            R.Top = DataView.Bottom - int(Round(DH * Stop));
            R.Bottom = DataView.Bottom - int(Round(DH * Start));
        }
        Object->SetLayoutRect(R);
    }
}

TiPlotAxis* TiPlotLayoutManager::ReferenceAxis(const std::string& Name,
                                               const TiPlotLayoutObject* Object,
                                               bool Across) const {
    if (Name.empty())
        return nullptr;
    for (TiPlotKind Kind : {TiPlotKind::XAxis, TiPlotKind::YAxis}) {
        auto* Axis = static_cast<TiPlotAxis*>(Host()->FindObject(Kind, Name));
        if (Axis && Axis != Object && (Axis->Horizontal() != Object->Horizontal()) == Across)
            return Axis;
    }
    return nullptr;
}

// A master axis crosses the middle of the data view; a child crosses it at
// a value of its reference axis, and has no place without one.
void TiPlotLayoutManager::PlaceCartesianAxes(TCanvas& Canvas, const TRect& DataView) {
    for (TiPlotLayoutObject* Object : LayoutObjects()) {
        if (!IsAxisKind(Object->Kind()))
            continue;
        auto* Axis = static_cast<TiPlotAxis*>(Object);
        int At;
        if (Axis->CartesianStyle() == ipcsMaster) {
            At = Axis->Horizontal() ? (DataView.Top + DataView.Bottom) / 2
                                    : (DataView.Left + DataView.Right) / 2;
        } else if (Axis->CartesianStyle() == ipcsChild) {
            TiPlotAxis* Reference = ReferenceAxis(Axis->CartesianChildRefAxisName(), Axis, true);
            if (!Reference) {
                Axis->SetLayoutRect(TRect());
                continue;
            }
            Reference->CalcPixelRange(Canvas);
            At = Reference->ValueToPixel(Axis->CartesianChildRefValue());
        } else {
            continue;
        }
        Axis->SetLayoutRect(Axis->Horizontal() ? Rect(DataView.Left, At, DataView.Right, At)
                                               : Rect(At, DataView.Top, At, DataView.Bottom));
    }
}

// An aligned axis takes the extent and the stacking of its reference.
void TiPlotLayoutManager::AlignAxes(TCanvas& Canvas) {
    for (TiPlotLayoutObject* Object : LayoutObjects()) {
        if (!IsAxisKind(Object->Kind()))
            continue;
        auto* Axis = static_cast<TiPlotAxis*>(Object);
        const TiPlotAxis* Reference = ReferenceAxis(Axis->AlignRefAxisName(), Axis, false);
        if (!Reference)
            continue;
        TRect R = Axis->LayoutRect();
        const TRect& Ref = Reference->LayoutRect();
        if (Axis->Horizontal()) {
            R.Left = Ref.Left;
            R.Right = Ref.Right;
        } else {
            R.Top = Ref.Top;
            R.Bottom = Ref.Bottom;
        }
        Axis->SetLayoutRect(R);
        Axis->SetStacked(Reference->StackedBefore(), Reference->StackedAfter());
        Axis->CalcPixelRange(Canvas);
    }
}
