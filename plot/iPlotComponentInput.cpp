// The mouse, the wheel and the keys routed to the plot's objects: the hit
// test, the focus rules, dispatch to the focused objects, popup menus and
// hints.

#include "plot/iPlotComponent.h"

#include "plot/iPlotAxis.h"
#include "plot/iPlotChannelCustom.h"
#include "plot/iPlotManagers.h"

#include <QCursor>
#include <QMenu>

#include <array>
#include <utility>

namespace {

Qt::CursorShape CursorShapeOf(int Cursor) {
    switch (Cursor) {
    case crHandPoint:
        return Qt::PointingHandCursor;
    case crSizeWE:
        return Qt::SizeHorCursor;
    case crSizeNS:
        return Qt::SizeVerCursor;
    case crDrag:
        return Qt::DragMoveCursor;
    default:
        return Qt::ArrowCursor;
    }
}

bool IsDataViewOrLegend(TiPlotKind Kind) {
    return Kind == TiPlotKind::DataView || Kind == TiPlotKind::Legend ||
           Kind == TiPlotKind::DataViewLayout;
}

// The kinds that have events of their own, in the order of the tables below.
int EventSlot(TiPlotKind Kind) {
    switch (Kind) {
    case TiPlotKind::Channel:
        return 0;
    case TiPlotKind::XAxis:
        return 1;
    case TiPlotKind::YAxis:
        return 2;
    case TiPlotKind::DataView:
        return 3;
    case TiPlotKind::Legend:
        return 4;
    case TiPlotKind::Limit:
        return 5;
    case TiPlotKind::DataCursor:
        return 6;
    case TiPlotKind::Annotation:
        return 7;
    default:
        return -1;
    }
}

template <typename THandler> using TFamily = std::array<THandler TiPlotEvents::*, 8>;
constexpr TFamily<TiPlotObjectMouseEvent> MouseDownEvents{
    &TiPlotEvents::OnMouseDownChannel,    &TiPlotEvents::OnMouseDownXAxis,
    &TiPlotEvents::OnMouseDownYAxis,      &TiPlotEvents::OnMouseDownDataView,
    &TiPlotEvents::OnMouseDownLegend,     &TiPlotEvents::OnMouseDownLimit,
    &TiPlotEvents::OnMouseDownDataCursor, &TiPlotEvents::OnMouseDownAnnotation};
constexpr TFamily<TiPlotObjectMouseEvent> MouseUpEvents{
    &TiPlotEvents::OnMouseUpChannel,    &TiPlotEvents::OnMouseUpXAxis,
    &TiPlotEvents::OnMouseUpYAxis,      &TiPlotEvents::OnMouseUpDataView,
    &TiPlotEvents::OnMouseUpLegend,     &TiPlotEvents::OnMouseUpLimit,
    &TiPlotEvents::OnMouseUpDataCursor, &TiPlotEvents::OnMouseUpAnnotation};
constexpr TFamily<TiPlotObjectMouseMoveEvent> MouseMoveEvents{
    &TiPlotEvents::OnMouseMoveChannel,    &TiPlotEvents::OnMouseMoveXAxis,
    &TiPlotEvents::OnMouseMoveYAxis,      &TiPlotEvents::OnMouseMoveDataView,
    &TiPlotEvents::OnMouseMoveLegend,     &TiPlotEvents::OnMouseMoveLimit,
    &TiPlotEvents::OnMouseMoveDataCursor, &TiPlotEvents::OnMouseMoveAnnotation};
constexpr TFamily<TiPlotObjectEvent> ClickEvents{
    &TiPlotEvents::OnClickChannel,    &TiPlotEvents::OnClickXAxis,     &TiPlotEvents::OnClickYAxis,
    &TiPlotEvents::OnClickDataView,   &TiPlotEvents::OnClickLegend,    &TiPlotEvents::OnClickLimit,
    &TiPlotEvents::OnClickDataCursor, &TiPlotEvents::OnClickAnnotation};
constexpr TFamily<TiPlotObjectEvent> DblClickEvents{
    &TiPlotEvents::OnDblClickChannel,    &TiPlotEvents::OnDblClickXAxis,
    &TiPlotEvents::OnDblClickYAxis,      &TiPlotEvents::OnDblClickDataView,
    &TiPlotEvents::OnDblClickLegend,     &TiPlotEvents::OnDblClickLimit,
    &TiPlotEvents::OnDblClickDataCursor, &TiPlotEvents::OnDblClickAnnotation};
constexpr TFamily<TiPlotPopupMenuEvent> PopupMenuEvents{
    &TiPlotEvents::OnPopupMenuChannel,    &TiPlotEvents::OnPopupMenuXAxis,
    &TiPlotEvents::OnPopupMenuYAxis,      &TiPlotEvents::OnPopupMenuDataView,
    &TiPlotEvents::OnPopupMenuLegend,     &TiPlotEvents::OnPopupMenuLimit,
    &TiPlotEvents::OnPopupMenuDataCursor, &TiPlotEvents::OnPopupMenuAnnotation};
// Limits have no focus events.
constexpr TFamily<TiPlotObjectEvent> GotFocusEvents{
    &TiPlotEvents::OnGotFocusChannel,    &TiPlotEvents::OnGotFocusXAxis,
    &TiPlotEvents::OnGotFocusYAxis,      &TiPlotEvents::OnGotFocusDataView,
    &TiPlotEvents::OnGotFocusLegend,     nullptr,
    &TiPlotEvents::OnGotFocusDataCursor, &TiPlotEvents::OnGotFocusAnnotation};
constexpr TFamily<TiPlotObjectEvent> LostFocusEvents{
    &TiPlotEvents::OnLostFocusChannel,    &TiPlotEvents::OnLostFocusXAxis,
    &TiPlotEvents::OnLostFocusYAxis,      &TiPlotEvents::OnLostFocusDataView,
    &TiPlotEvents::OnLostFocusLegend,     nullptr,
    &TiPlotEvents::OnLostFocusDataCursor, &TiPlotEvents::OnLostFocusAnnotation};

} // namespace

template <typename TFamilyTable, typename... TArgs>
void TiPlotComponent::RaiseFor(const TFamilyTable& Family, const TiPlotObject& Object,
                               TArgs&&... Args) {
    const int Slot = EventSlot(Object.Kind());
    if (Slot >= 0 && Family[Slot])
        Raise(FEvents.*Family[Slot], Object, std::forward<TArgs>(Args)...);
}

std::vector<TiPlotObject*> TiPlotComponent::AllObjects() const {
    std::vector<TiPlotObject*> All;
    TiPlotObjectManager& Objects = FMaster->ObjectManager();
    for (int I = 0; I < Objects.Count(); ++I)
        All.push_back(Objects.Items(I));
    return All;
}

std::vector<TiPlotObject*> TiPlotComponent::FocusedObjects() const {
    std::vector<TiPlotObject*> Focused;
    for (TiPlotObject* Object : AllObjects())
        if (Object->Focused())
            Focused.push_back(Object);
    return Focused;
}

// Three passes in creation order: focused objects first, then any object,
// then the data views and legends that lie under everything else.
TiPlotObject* TiPlotComponent::ObjectAt(int X, int Y) {
    const TPoint P = Point(X, Y);
    auto Pass = [&](auto Wanted) -> TiPlotObject* {
        for (TiPlotObject* Object : AllObjects())
            if (Object->Enabled() && Object->Shown() && Wanted(*Object) && Object->HitTest(P))
                return Object->Claim(X, Y);
        return nullptr;
    };
    if (TiPlotObject* Hit =
            Pass([](TiPlotObject& O) { return O.Focused() && !IsDataViewOrLegend(O.Kind()); }))
        return Hit;
    if (TiPlotObject* Hit = Pass([](TiPlotObject& O) { return !IsDataViewOrLegend(O.Kind()); }))
        return Hit;
    return Pass([](TiPlotObject& O) {
        return O.Kind() == TiPlotKind::DataView || O.Kind() == TiPlotKind::Legend;
    });
}

void TiPlotComponent::HandShiftState(TShiftState Shift) {
    for (TiPlotObject* Object : AllObjects())
        Object->SetShiftState(Shift);
}

void TiPlotComponent::iMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    HandShiftState(Shift);
    FPressInProgress = true;
    setFocus(Qt::MouseFocusReason);
    HideHint();
    if (Button == mbRight)
        FMaster->ClearAllFocus();
    TiPlotObject* Hit = ObjectAt(X, Y);
    FPressed = Hit;
    if (!Hit) {
        FMaster->ClearAllFocus();
        return;
    }
    TakeFocus(*Hit, Shift);
    const TiPlotKind Kind = Hit->Kind();
    // These take the press alone; others share it with every focused object.
    const bool Alone = Button == mbRight || Kind == TiPlotKind::Annotation ||
                       Kind == TiPlotKind::Legend || Kind == TiPlotKind::Table ||
                       Kind == TiPlotKind::ToolBar || Kind == TiPlotKind::Limit;
    if (Alone) {
        DispatchMouseDown(*Hit, Button, X, Y);
        return;
    }
    for (TiPlotObject* Object : FocusedObjects())
        DispatchMouseDown(*Object, Button, X, Y);
}

// Shift adds to the focus, Ctrl toggles an axis; a plain click focuses the
// object alone (a toolbar never takes the focus that way).
void TiPlotComponent::TakeFocus(TiPlotObject& Hit, TShiftState Shift) {
    const bool Axis = IsAxisKind(Hit.Kind());
    if (Shift.Contains(ssShift)) {
        Hit.SetFocused(true);
        FAxisSelection = Axis;
    } else if (Shift.Contains(ssCtrl)) {
        Hit.SetFocused(Axis ? !Hit.Focused() : true);
        FAxisSelection = Axis;
    } else if (Hit.Kind() != TiPlotKind::ToolBar) {
        Hit.SetFocused(true);
    }
}

void TiPlotComponent::DispatchMouseDown(TiPlotObject& Object, TMouseButton Button, int X, int Y) {
    if (!Object.Enabled())
        return;
    const TPoint P = Point(X, Y);
    if (Button == mbRight) {
        if (Object.PopupEnabled()) {
            const QPoint Screen = mapToGlobal(QPoint(X, Y));
            bool Cancel = false;
            RaiseFor(PopupMenuEvents, Object, Cancel, Screen.x(), Screen.y());
            if (!Cancel)
                ShowPopupMenu(Object, Screen);
        }
    } else {
        Object.SetPressed(true);
        Object.MouseDown(P);
    }
    if (Object.HitTest(P))
        RaiseFor(MouseDownEvents, Object, Button, Object.ShiftState(), X, Y);
}

namespace {

void AddMenuItems(QMenu& Menu, const std::vector<TiPlotPopupItem>& Items) {
    for (const TiPlotPopupItem& Item : Items) {
        const QString Caption = QString::fromStdString(Item.Caption);
        if (!Item.Items.empty()) {
            AddMenuItems(*Menu.addMenu(Caption), Item.Items);
            continue;
        }
        QAction* Action = Menu.addAction(Caption);
        Action->setCheckable(Item.Checked);
        Action->setChecked(Item.Checked);
        Action->setEnabled(Item.Enabled);
        if (Item.OnClick)
            QObject::connect(Action, &QAction::triggered, &Menu,
                             [Click = Item.OnClick] { iRunUserCommand(Click); });
    }
}

} // namespace

void TiPlotComponent::ShowPopupMenu(TiPlotObject& Object, QPoint Screen) {
    std::vector<TiPlotPopupItem> Items;
    Object.AddPopupItems(Items);
    if (Object.UserCanEdit())
        Items.push_back(
            {Translate("Edit..."), false, true, [this, Target = QPointer<TiPlotObject>(&Object)] {
                 if (Target)
                     ShowEditor(Target);
             }});
    if (Items.empty())
        return;
    FPopupMenu = std::make_unique<QMenu>(this);
    AddMenuItems(*FPopupMenu, Items);
    FPopupMenu->popup(Screen);
}

void TiPlotComponent::DispatchMouseUp(TiPlotObject& Object, const TPoint& P) {
    Object.MouseUp(P);
    if (!Object.Pressed())
        return;
    Object.SetPressed(false);
    if (Object.HitTest(P))
        RaiseFor(MouseUpEvents, Object, FReleaseButton, Object.ShiftState(), P.X, P.Y);
}

void TiPlotComponent::ObjectClicked(TiPlotObject* Object) {
    RaiseFor(FDoubleClick ? DblClickEvents : ClickEvents, *Object);
    FDoubleClick = false;
}

void TiPlotComponent::DataPointClicked(TiPlotChannelCustom* Channel, int Index) {
    const TiPlotClickDataPointEvent& Event =
        FDoubleClick ? FEvents.OnDblClickDataPoint : FEvents.OnClickDataPoint;
    FDoubleClick = false;
    if (Event && !IsLoading())
        Event(IndexOf(*Channel), Index);
}

void TiPlotComponent::RaiseFocusEvent(TiPlotObject& Object) {
    RaiseFor(Object.Focused() ? GotFocusEvents : LostFocusEvents, Object);
}

void TiPlotComponent::iMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    FPressInProgress = false;
    FReleaseButton = Button;
    HandShiftState(Shift);
    HideHint();
    FAxisSelection = false;
    const TPoint P = Point(X, Y);
    QPointer<TiPlotObject> Pressed = FPressed;
    if (Pressed)
        DispatchMouseUp(*Pressed, P);
    for (TiPlotObject* Object : FocusedObjects())
        if (Object != Pressed)
            DispatchMouseUp(*Object, P);
    FPressed = nullptr;
    FDoubleClick = false;
}

void TiPlotComponent::iDoubleClick() {
    FDoubleClick = true;
}

void TiPlotComponent::iMouseMove(TShiftState Shift, int X, int Y) {
    if (FAxisSelection)
        return;
    HandShiftState(Shift);
    const TPoint P = Point(X, Y);
    const bool Held = Shift.Contains(ssLeft) || Shift.Contains(ssRight);
    if (Held) {
        HideHint();
        // Annotations and toolbars are dragged alone.
        if (FPressed && (FPressed->Kind() == TiPlotKind::Annotation ||
                         FPressed->Kind() == TiPlotKind::ToolBar)) {
            FPressed->MouseMove(P);
            RaiseFor(MouseMoveEvents, *FPressed, Shift, X, Y);
        } else {
            for (TiPlotObject* Object : FocusedObjects())
                if (Object->Pressed()) {
                    Object->MouseMove(P);
                    if (Object->HitTest(P))
                        RaiseFor(MouseMoveEvents, *Object, Shift, X, Y);
                }
        }
        unsetCursor();
        return;
    }
    // A press released outside the control ends here.
    FReleaseButton = mbLeft;
    if (FPressed)
        DispatchMouseUp(*FPressed, P);
    for (TiPlotObject* Object : FocusedObjects())
        if (Object != FPressed)
            DispatchMouseUp(*Object, P);
    FPressed = nullptr;
    TiPlotObject* Hit = ObjectAt(X, Y);
    if (FHover && FHover != Hit)
        FHover->MouseLeave();
    if (!Hit) {
        FHover = nullptr;
        unsetCursor();
        return;
    }
    setCursor(CursorShapeOf(Hit->GetMouseCursor()));
    // The object offers its hint while the mouse rests on it.
    FHint.Text.clear();
    Hit->MouseHover(P);
    RaiseFor(MouseMoveEvents, *Hit, Shift, X, Y);
    if (FHintsShow && !FHint.Text.empty() && !FPressInProgress && Hit != FHover)
        FHintTimer.start(FHint.Showing ? FHintsHidePause : FHintsPause);
    FHover = Hit;
}

// The mouse left the control: no hint stays or appears for what it left.
void TiPlotComponent::leaveEvent(QEvent* Event) {
    FHintTimer.stop();
    HideHint();
    if (FHover)
        FHover->MouseLeave();
    FHover = nullptr;
    TiCustomComponent::leaveEvent(Event);
}

void TiPlotComponent::HintTimerFired() {
    FHintTimer.stop();
    if (FHint.Showing) {
        HideHint();
        return;
    }
    ShowHint();
    FHintTimer.start(FHintsHidePause);
}

bool TiPlotComponent::iMouseWheel(int WheelDelta, TShiftState Shift, TPoint MousePos) {
    const QPoint Client = mapFromGlobal(QPoint(MousePos.X, MousePos.Y));
    for (TiPlotObject* Object : FocusedObjects())
        Object->MouseWheel(WheelDelta, Shift, Point(Client.x(), Client.y()));
    return true;
}

void TiPlotComponent::iKeyDown(std::uint16_t& Key, TShiftState Shift) {
    for (TiPlotObject* Object : FocusedObjects())
        Object->KeyDown(Key, Shift);
}

void TiPlotComponent::iWantSpecialKey(std::uint16_t& CharCode, bool& Result) {
    if (CharCode >= VK_LEFT && CharCode <= VK_DOWN)
        Result = true;
}

void TiPlotComponent::PauseTracking() {
    for (int I = 0; I < XAxisCount(); ++I)
        XAxis(I)->SetTrackingEnabled(false);
    for (int I = 0; I < YAxisCount(); ++I)
        YAxis(I)->SetTrackingEnabled(false);
}

void TiPlotComponent::ResumeTracking() {
    for (int I = 0; I < XAxisCount(); ++I)
        XAxis(I)->SetTrackingEnabled(true);
    for (int I = 0; I < YAxisCount(); ++I)
        YAxis(I)->SetTrackingEnabled(true);
}

void TiPlotComponent::ClearAllData() {
    // The log takes its pending rows while their points are still there.
    if (FLoggingActive)
        LogDeactivate();
    FMaster->ClearAllData();
}
