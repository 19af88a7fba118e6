#include "plot/iPlotComponent.h"

#include "plot/iPlotAnnotation.h"
#include "plot/iPlotAxis.h"
#include "plot/iPlotChannel.h"
#include "plot/iPlotDataCursor.h"
#include "plot/iPlotDataView.h"
#include "plot/iPlotEditor.h"
#include "plot/iPlotLabel.h"
#include "plot/iPlotLayoutManager.h"
#include "plot/iPlotLegend.h"
#include "plot/iPlotLimit.h"
#include "plot/iPlotTable.h"
#include "plot/iPlotToolBar.h"

#include "platform/Exception.h"

#include <algorithm>

TiPlotComponent::TiPlotComponent(QWidget* Parent)
    : TiPlotComponent(Parent, [](TiPlotHost* Host) { return new TiPlotChannel(Host); }) {}

TiPlotComponent::TiPlotComponent(QWidget* Parent, TiPlotMasterManager::TCreateChannel CreateChannel)
    : TiCustomComponent(Parent) {
    SetBounds(Left(), Top(), 500, 200);
    SetBackGroundColor(clBlack);
    SetBorderStyle(ibsLowered);
    SetAutoFrameRate(true);
    SetUpdateFrameRate(60);
    FMaster = std::make_unique<TiPlotMasterManager>(this, std::move(CreateChannel));
    FMaster->SetUserCanEdit(FUserCanEditObjects);
    FAnnotationDefaultFont.SetColor(clWhite);
    FHintTimer.setSingleShot(true);
    connect(&FHintTimer, &QTimer::timeout, this, [this] { HintTimerFired(); });
}

TiPlotComponent::~TiPlotComponent() {
    // The objects go with their managers and tell nobody.
    FDestroying = true;
    // An open editor goes first, while everything it shows is still whole.
    delete FEditor;
    FMaster.reset();
}

TiPlotObject* TiPlotComponent::FindObject(TiPlotKind Kind, const std::string& Name) {
    return Listening() ? FMaster->Find(Kind, Name) : nullptr;
}

std::vector<TiPlotObject*> TiPlotComponent::Objects(TiPlotKind Kind) {
    std::vector<TiPlotObject*> Result;
    if (TiPlotObjectOwnedManager* Manager = Listening() ? FMaster->KindManager(Kind) : nullptr)
        for (int I = 0; I < Manager->Count(); ++I)
            Result.push_back(Manager->Items(I));
    return Result;
}

void TiPlotComponent::ObjectInserted(TiPlotObject* Object) {
    TiPlotMasterManager* Master = Listening();
    if (!Master)
        return;
    Master->Insert(Object);
    if (IsAxisKind(Object->Kind()))
        ConnectAxis(static_cast<TiPlotAxis*>(Object));
    if (Object->Kind() == TiPlotKind::ToolBar) {
        auto* ToolBar = static_cast<TiPlotToolBar*>(Object);
        ToolBar->SetOnButtonClick([this, ToolBar](int ButtonType) {
            Raise(FEvents.OnToolBarButtonClick, *ToolBar, ButtonType);
        });
        ToolBar->SetOnCustomizeHint([this, ToolBar](std::string& Text) {
            Raise(FEvents.OnToolBarCustomizeHint, *ToolBar, Text);
        });
    }
    if (Object->Kind() == TiPlotKind::Limit) {
        auto* Limit = static_cast<TiPlotLimit*>(Object);
        Limit->SetOnPositionChange([this, Limit](int Line, double Old, double New) {
            Raise(Line == 1 ? FEvents.OnLimitLine1PositionChange
                            : FEvents.OnLimitLine2PositionChange,
                  *Limit, Old, New);
        });
    }
    if (Object->Kind() == TiPlotKind::DataCursor) {
        auto* Cursor = static_cast<TiPlotDataCursor*>(Object);
        Cursor->SetOnBeforeUpdate(
            [this, Cursor] { Raise(FEvents.OnBeforeDataCursorUpdate, *Cursor); });
        Cursor->SetOnChange([this, Cursor] { Raise(FEvents.OnDataCursorChange, *Cursor); });
        Cursor->SetOnCustomizeHint([this, Cursor](std::string& Text) {
            Raise(FEvents.OnDataCursorCustomizeHint, *Cursor, Text);
        });
    }
    if (Object->Kind() == TiPlotKind::DataView)
        static_cast<TiPlotDataView*>(Object)->SetOnBeforeZoomBox([this](TRect& R, bool& Cancel) {
            if (FEvents.OnBeforeZoomBox && !IsLoading())
                FEvents.OnBeforeZoomBox(R, Cancel);
        });
    EditorObjectsChanged();
}

namespace {

// The axis reports to the plot only what the plot's user listens to, so that
// a scale change nobody listens to costs no call.
template <typename TAxisHandler, typename TEvent, typename TRaise>
TAxisHandler IfHandled(const TEvent& Event, TRaise Raise) {
    return Event ? TAxisHandler(std::move(Raise)) : TAxisHandler();
}

} // namespace

void TiPlotComponent::ConnectAxis(TiPlotAxis* Axis) {
    const bool X = Axis->Kind() == TiPlotKind::XAxis;
    const TiPlotEvents& E = FEvents;
    Axis->SetOnMinChange(IfHandled<TiPlotAxis::TValueChangeEvent>(
        X ? E.OnXAxisMinChange : E.OnYAxisMinChange,
        [=, this](TiPlotAxis& A, double Old, double New) {
            Raise(X ? FEvents.OnXAxisMinChange : FEvents.OnYAxisMinChange, A, Old, New);
        }));
    Axis->SetOnSpanChange(IfHandled<TiPlotAxis::TValueChangeEvent>(
        X ? E.OnXAxisSpanChange : E.OnYAxisSpanChange,
        [=, this](TiPlotAxis& A, double Old, double New) {
            Raise(X ? FEvents.OnXAxisSpanChange : FEvents.OnYAxisSpanChange, A, Old, New);
        }));
    Axis->SetOnMinSpanChange(IfHandled<TiPlotAxis::TMinSpanChangeEvent>(
        X ? E.OnXAxisMinSpanChange : E.OnYAxisMinSpanChange,
        [=, this](TiPlotAxis& A, double OldMin, double OldSpan, double NewMin, double NewSpan) {
            Raise(X ? FEvents.OnXAxisMinSpanChange : FEvents.OnYAxisMinSpanChange, A, OldMin,
                  OldSpan, NewMin, NewSpan);
        }));
    Axis->SetOnCustomizeLabel(IfHandled<TiPlotAxis::TCustomizeLabelEvent>(
        X ? E.OnXAxisCustomizeLabel : E.OnYAxisCustomizeLabel,
        [=, this](TiPlotAxis& A, double Value, std::string& Text) {
            Raise(X ? FEvents.OnXAxisCustomizeLabel : FEvents.OnYAxisCustomizeLabel, A, Value,
                  Text);
        }));
    Axis->SetOnCustomizeHint(IfHandled<TiPlotAxis::TCustomizeHintEvent>(
        X ? E.OnXAxisCustomizeHint : E.OnYAxisCustomizeHint,
        [=, this](TiPlotAxis& A, std::string& Text) {
            Raise(X ? FEvents.OnXAxisCustomizeHint : FEvents.OnYAxisCustomizeHint, A, Text);
        }));
    // Labels of axes crossing the data view avoid each other.
    Axis->SetTryRegisterRect([this](const TRect& R) { return TryRegisterRect(R); });
}

void TiPlotComponent::ConnectAxes() {
    for (int I = 0; I < XAxisCount(); ++I)
        ConnectAxis(XAxis(I));
    for (int I = 0; I < YAxisCount(); ++I)
        ConnectAxis(YAxis(I));
}

int TiPlotComponent::IndexOf(const TiPlotObject& Object) const {
    return FMaster->KindManager(Object.Kind())->IndexOf(&Object);
}

void TiPlotComponent::SetHint(const std::string& Text, TPoint Position) {
    FHint.Text = Text;
    FHint.Position = Position;
}

void TiPlotComponent::ShowHint() {
    if (FHint.Showing || FHint.Text.empty())
        return;
    FHint.Showing = true;
    update();
}

void TiPlotComponent::HideHint() {
    if (!FHint.Showing)
        return;
    FHint.Showing = false;
    update();
}

bool TiPlotComponent::TryRegisterRect(const TRect& R) {
    auto Overlap = [&R](const TRect& O) {
        return R.Left < O.Right && O.Left < R.Right && R.Top < O.Bottom && O.Top < R.Bottom;
    };
    if (std::any_of(FOccupied.begin(), FOccupied.end(), Overlap))
        return false;
    if (!FOccupied.empty() && DataViewCount() > 0) {
        const TRect& View = DataView(0)->LayoutRect();
        if (R.Left < View.Left || R.Top < View.Top || R.Right > View.Right + 1 ||
            R.Bottom > View.Bottom + 1)
            return false;
    }
    RegisterRect(R);
    return true;
}

void TiPlotComponent::Loaded() {
    FMaster->LayoutManager().SetEnabled(true);
    EndUpdate();
}

void TiPlotComponent::ObjectChanged(TiPlotObject*) {
    if (!FDestroying)
        InvalidateChange();
}

void TiPlotComponent::LayoutChanged(TiPlotObject* Object) {
    if (TiPlotMasterManager* Master = Listening())
        Master->LayoutChanged(Object);
}

void TiPlotComponent::ObjectRenamed(TiPlotObject* Object) {
    if (TiPlotMasterManager* Master = Listening())
        Master->Rename(Object);
    EditorObjectsChanged();
}

void TiPlotComponent::ObjectRemoving(TiPlotObject* Object) {
    if (TiPlotMasterManager* Master = Listening())
        Master->Remove(Object);
    EditorObjectsChanged(Object);
}

void TiPlotComponent::FocusChanged(TiPlotObject* Object) {
    TiPlotMasterManager* Master = Listening();
    if (!Master)
        return;
    // The focus frame shows at once; the others then let go of theirs.
    update();
    RaiseFocusEvent(*Object);
    if (Object->Focused())
        Master->GotFocus(Object);
}

void TiPlotComponent::DeleteObject(TiPlotObjectManagerCustom& Manager, int Index) {
    DestroyPlotObject(Manager.Items(Index));
    InvalidateChange();
}

int TiPlotComponent::NewChannel() {
    return FMaster->NewObject(FMaster->ChannelManager());
}
void TiPlotComponent::DeleteChannel(int Index) {
    DeleteObject(FMaster->ChannelManager(), Index);
}
void TiPlotComponent::ClearChannels() {
    FMaster->ChannelManager().Clear();
}
int TiPlotComponent::ChannelCount() const {
    return FMaster->ChannelManager().Count();
}
TiPlotChannelCustom* TiPlotComponent::Channel(int Index) const {
    return FMaster->ChannelManager().Item(Index);
}

int TiPlotComponent::NewXAxis() {
    return FMaster->NewObject(FMaster->XAxisManager());
}
void TiPlotComponent::DeleteXAxis(int Index) {
    DeleteObject(FMaster->XAxisManager(), Index);
}
void TiPlotComponent::ClearXAxes() {
    FMaster->XAxisManager().Clear();
}
int TiPlotComponent::XAxisCount() const {
    return FMaster->XAxisManager().Count();
}
TiPlotXAxis* TiPlotComponent::XAxis(int Index) const {
    return FMaster->XAxisManager().Item(Index);
}

int TiPlotComponent::NewYAxis() {
    return FMaster->NewObject(FMaster->YAxisManager());
}
void TiPlotComponent::DeleteYAxis(int Index) {
    DeleteObject(FMaster->YAxisManager(), Index);
}
void TiPlotComponent::ClearYAxes() {
    FMaster->YAxisManager().Clear();
}
int TiPlotComponent::YAxisCount() const {
    return FMaster->YAxisManager().Count();
}
TiPlotYAxis* TiPlotComponent::YAxis(int Index) const {
    return FMaster->YAxisManager().Item(Index);
}

int TiPlotComponent::NewDataView() {
    return FMaster->NewObject(FMaster->DataViewManager());
}
void TiPlotComponent::DeleteDataView(int Index) {
    DeleteObject(FMaster->DataViewManager(), Index);
}
void TiPlotComponent::ClearDataViews() {
    FMaster->DataViewManager().Clear();
}
int TiPlotComponent::DataViewCount() const {
    return FMaster->DataViewManager().Count();
}
TiPlotDataView* TiPlotComponent::DataView(int Index) const {
    return FMaster->DataViewManager().Item(Index);
}

int TiPlotComponent::NewDataCursor() {
    return FMaster->NewObject(FMaster->DataCursorManager());
}
void TiPlotComponent::DeleteDataCursor(int Index) {
    DeleteObject(FMaster->DataCursorManager(), Index);
}
void TiPlotComponent::ClearDataCursors() {
    FMaster->DataCursorManager().Clear();
}
int TiPlotComponent::DataCursorCount() const {
    return FMaster->DataCursorManager().Count();
}
TiPlotDataCursor* TiPlotComponent::DataCursor(int Index) const {
    return FMaster->DataCursorManager().Item(Index);
}

int TiPlotComponent::NewLegend() {
    return FMaster->NewObject(FMaster->LegendManager());
}
void TiPlotComponent::DeleteLegend(int Index) {
    DeleteObject(FMaster->LegendManager(), Index);
}
void TiPlotComponent::ClearLegends() {
    FMaster->LegendManager().Clear();
}
int TiPlotComponent::LegendCount() const {
    return FMaster->LegendManager().Count();
}
TiPlotLegend* TiPlotComponent::Legend(int Index) const {
    return FMaster->LegendManager().Item(Index);
}

int TiPlotComponent::NewToolBar() {
    return FMaster->NewObject(FMaster->ToolBarManager());
}
void TiPlotComponent::DeleteToolBar(int Index) {
    DeleteObject(FMaster->ToolBarManager(), Index);
}
void TiPlotComponent::ClearToolBars() {
    FMaster->ToolBarManager().Clear();
}
int TiPlotComponent::ToolBarCount() const {
    return FMaster->ToolBarManager().Count();
}
TiPlotToolBar* TiPlotComponent::ToolBar(int Index) const {
    return FMaster->ToolBarManager().Item(Index);
}

int TiPlotComponent::NewTable() {
    return FMaster->NewObject(FMaster->TableManager());
}
void TiPlotComponent::DeleteTable(int Index) {
    DeleteObject(FMaster->TableManager(), Index);
}
void TiPlotComponent::ClearTables() {
    FMaster->TableManager().Clear();
}
int TiPlotComponent::TableCount() const {
    return FMaster->TableManager().Count();
}
TiPlotTable* TiPlotComponent::Table(int Index) const {
    return FMaster->TableManager().Item(Index);
}

int TiPlotComponent::NewLimit() {
    return FMaster->NewObject(FMaster->LimitManager());
}
void TiPlotComponent::DeleteLimit(int Index) {
    DeleteObject(FMaster->LimitManager(), Index);
}
void TiPlotComponent::ClearLimits() {
    FMaster->LimitManager().Clear();
}
int TiPlotComponent::LimitCount() const {
    return FMaster->LimitManager().Count();
}
TiPlotLimit* TiPlotComponent::Limit(int Index) const {
    return FMaster->LimitManager().Item(Index);
}

int TiPlotComponent::NewLabel() {
    return FMaster->NewObject(FMaster->LabelManager());
}
int TiPlotComponent::LabelCount() const {
    return FMaster->LabelManager().Count();
}
TiPlotLabel* TiPlotComponent::Label(int Index) const {
    return FMaster->LabelManager().Item(Index);
}

int TiPlotComponent::NewAnnotation() {
    int Index = FMaster->NewObject(FMaster->AnnotationManager());
    Annotation(Index)->SetDefaults(AnnotationDefaults());
    return Index;
}
TiPlotAnnotationDefaults TiPlotComponent::AnnotationDefaults() const {
    return {FAnnotationDefaultFont,     FAnnotationDefaultBrushStyle, FAnnotationDefaultBrushColor,
            FAnnotationDefaultPenStyle, FAnnotationDefaultPenColor,   FAnnotationDefaultPenWidth};
}
void TiPlotComponent::DeleteAnnotation(int Index) {
    DeleteObject(FMaster->AnnotationManager(), Index);
}
void TiPlotComponent::ClearAnnotations() {
    FMaster->AnnotationManager().Clear();
}
int TiPlotComponent::AnnotationCount() const {
    return FMaster->AnnotationManager().Count();
}
TiPlotAnnotation* TiPlotComponent::Annotation(int Index) const {
    return FMaster->AnnotationManager().Item(Index);
}

void TiPlotComponent::DeleteLabel(int Index) {
    if (Index == 0)
        throw Exception("Label Index 0 can not be Deleted (Resevered for Title)");
    DeleteObject(FMaster->LabelManager(), Index);
}

void TiPlotComponent::ClearLabels() {
    while (LabelCount() > 1)
        DeleteLabel(1);
}

TiPlotChannelCustom* TiPlotComponent::FindChannel(const std::string& Name) const {
    return static_cast<TiPlotChannelCustom*>(FMaster->Find(TiPlotKind::Channel, Name));
}

TiPlotXAxis* TiPlotComponent::FindXAxis(const std::string& Name) const {
    return static_cast<TiPlotXAxis*>(FMaster->Find(TiPlotKind::XAxis, Name));
}

TiPlotYAxis* TiPlotComponent::FindYAxis(const std::string& Name) const {
    return static_cast<TiPlotYAxis*>(FMaster->Find(TiPlotKind::YAxis, Name));
}

int TiPlotComponent::DataViewZHorz() const {
    return FMaster->LayoutManager().DataViewHorz().ZOrder();
}

void TiPlotComponent::SetDataViewZHorz(int Value) {
    FMaster->LayoutManager().DataViewHorz().SetZOrder(Value);
}

int TiPlotComponent::DataViewZVert() const {
    return FMaster->LayoutManager().DataViewVert().ZOrder();
}

void TiPlotComponent::SetDataViewZVert(int Value) {
    FMaster->LayoutManager().DataViewVert().SetZOrder(Value);
}

void TiPlotComponent::SetXYAxesReverse(bool Value) {
    if (FXYAxesReverse == Value)
        return;
    FXYAxesReverse = Value;
    FMaster->SetXYSwap(Value);
    InvalidateChange();
}

void TiPlotComponent::SetUserCanEditObjects(bool Value) {
    FUserCanEditObjects = Value;
    FMaster->SetUserCanEdit(Value);
}

std::string TiPlotComponent::TitleText() const {
    return LabelCount() > 0 ? Label(0)->Caption() : std::string();
}

void TiPlotComponent::SetTitleText(const std::string& Value) {
    if (LabelCount() > 0)
        Label(0)->SetCaption(Value);
}

bool TiPlotComponent::TitleVisible() const {
    return LabelCount() > 0 && Label(0)->Visible();
}

void TiPlotComponent::SetTitleVisible(bool Value) {
    if (LabelCount() > 0)
        Label(0)->SetVisible(Value);
}

TFont TiPlotComponent::TitleFont() const {
    return LabelCount() > 0 ? Label(0)->Font() : TFont();
}

void TiPlotComponent::SetTitleFont(const TFont& Value) {
    if (LabelCount() > 0)
        Label(0)->SetFont(Value);
}

double TiPlotComponent::TitleMargin() const {
    return LabelCount() > 0 ? Label(0)->MarginBottom() : 0;
}

void TiPlotComponent::SetTitleMargin(double Value) {
    if (LabelCount() > 0)
        Label(0)->SetMarginBottom(Value);
}
