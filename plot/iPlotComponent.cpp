#include "plot/iPlotComponent.h"

#include "plot/iPlotAnnotation.h"
#include "plot/iPlotAxis.h"
#include "plot/iPlotChannel.h"
#include "plot/iPlotDataCursor.h"
#include "plot/iPlotDataView.h"
#include "plot/iPlotLabel.h"
#include "plot/iPlotLayoutManager.h"
#include "plot/iPlotLegend.h"
#include "plot/iPlotLimit.h"
#include "plot/iPlotTable.h"
#include "plot/iPlotToolBar.h"

#include "platform/Exception.h"
#include "platform/Text.h"

#include <charconv>
#include <map>

namespace {

// A count or index of an object list: plain decimal digits.
bool ReadIndex(const std::string& Text, int& Value) {
    const char* End = Text.data() + Text.size();
    auto [Stop, Error] = std::from_chars(Text.data(), End, Value);
    return Error == std::errc() && Stop == End && Value >= 0;
}

} // namespace

TiPlotComponent::TiPlotComponent(QWidget* Parent)
    : TiPlotComponent(Parent, [](TiPlotComponent* Owner, const TiPlotObjectEvents& Events) {
          return new TiPlotChannel(Owner, Events);
      }) {}

TiPlotComponent::TiPlotComponent(QWidget* Parent, TiPlotMasterManager::TCreateChannel CreateChannel)
    : TiCustomComponent(Parent) {
    SetBounds(Left(), Top(), 500, 200);
    SetBackGroundColor(clBlack);
    SetBorderStyle(ibsLowered);
    SetAutoFrameRate(true);
    SetUpdateFrameRate(60);
    TiPlotComponentHooks Hooks;
    Hooks.ObjectChanged = [this](TiPlotObject*) { InvalidateChange(); };
    Hooks.FocusChanged = [this](TiPlotObject*) { update(); };
    FMaster =
        std::make_unique<TiPlotMasterManager>(this, std::move(Hooks), std::move(CreateChannel));
    FMaster->SetUserCanEdit(FUserCanEditObjects);
    FAnnotationDefaultFont.SetColor(clWhite);
}

TiPlotComponent::~TiPlotComponent() {
    FMaster.reset();
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
    Annotation(Index)->SetDefaults({FAnnotationDefaultFont, FAnnotationDefaultBrushStyle,
                                    FAnnotationDefaultBrushColor, FAnnotationDefaultPenStyle,
                                    FAnnotationDefaultPenColor, FAnnotationDefaultPenWidth});
    return Index;
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
    return static_cast<TiPlotChannelCustom*>(FMaster->ChannelManager().Find(Name));
}

TiPlotXAxis* TiPlotComponent::FindXAxis(const std::string& Name) const {
    return static_cast<TiPlotXAxis*>(FMaster->XAxisManager().Find(Name));
}

TiPlotYAxis* TiPlotComponent::FindYAxis(const std::string& Name) const {
    return static_cast<TiPlotYAxis*>(FMaster->YAxisManager().Find(Name));
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

void TiPlotComponent::iPaintTo(TCanvas& Canvas) {
    // Without a toolbar, a legend or a data view the plot stays blank.
    if (ToolBarCount() == 0 || LegendCount() == 0 || DataViewCount() == 0)
        return;
    iPaintBackGround(Canvas, BackGroundColor());
}

std::vector<std::pair<const char*, TiPlotObjectOwnedManager*>>
TiPlotComponent::StoredManagers() const {
    TiPlotMasterManager& M = *FMaster;
    return {
        {"ToolBarManager", &M.ToolBarManager()},   {"LegendManager", &M.LegendManager()},
        {"TableManager", &M.TableManager()},       {"XAxisManager", &M.XAxisManager()},
        {"YAxisManager", &M.YAxisManager()},       {"ChannelManager", &M.ChannelManager()},
        {"DataViewManager", &M.DataViewManager()}, {"DataCursorManager", &M.DataCursorManager()},
        {"LimitManager", &M.LimitManager()},       {"LabelManager", &M.LabelManager()}};
}

void TiPlotComponent::WriteExtraProperties(std::vector<TPropertyLine>& Lines) const {
    for (auto [Name, Manager] : StoredManagers()) {
        if (Manager->Count() == 0)
            continue;
        const std::string Prefix = std::string(Name) + ".";
        Lines.push_back({Prefix + "Count", IntToStr(Manager->Count())});
        for (int I = 0; I < Manager->Count(); ++I)
            for (TPropertyLine& Line :
                 iPublishedProperties(*Manager->Items(I), TiPlotObject::staticMetaObject, {},
                                      Prefix + "Item" + IntToStr(I) + "."))
                Lines.push_back(std::move(Line));
    }
}

void TiPlotComponent::ReadExtraProperties(std::vector<TPropertyLine>& Lines) {
    BeginUpdate();
    FMaster->LayoutManager().SetEnabled(false);
    struct TRestore {
        TiPlotComponent& Plot;
        ~TRestore() {
            Plot.FMaster->LayoutManager().SetEnabled(true);
            Plot.EndUpdate();
        }
    } Restore{*this};
    for (auto [Name, Manager] : StoredManagers()) {
        const std::string Prefix = std::string(Name) + ".";
        std::vector<TPropertyLine> Own;
        auto Mine = [&](const TPropertyLine& L) { return L.Path.rfind(Prefix, 0) == 0; };
        std::copy_if(Lines.begin(), Lines.end(), std::back_inserter(Own), Mine);
        Lines.erase(std::remove_if(Lines.begin(), Lines.end(), Mine), Lines.end());
        if (!Own.empty())
            ReadObjectList(*Manager, Prefix, std::move(Own));
    }
    // A toolbar sharing the title's row goes above it.
    if (ToolBarCount() > 0 && LabelCount() > 0 &&
        ToolBar(0)->Horizontal() == Label(0)->Horizontal() &&
        ToolBar(0)->ZOrder() == Label(0)->ZOrder())
        ToolBar(0)->SetZOrder(ToolBar(0)->ZOrder() + 1);
}

void TiPlotComponent::ReadObjectList(TiPlotObjectOwnedManager& Manager, const std::string& Prefix,
                                     std::vector<TPropertyLine> Lines) {
    int Count = -1;
    std::map<int, std::vector<TPropertyLine>> Items;
    for (TPropertyLine& Line : Lines) {
        const std::string Path = Line.Path.substr(Prefix.size());
        const std::size_t Dot = Path.find('.');
        int Index = -1;
        if (Path == "Count" && ReadIndex(Line.Value, Count))
            continue;
        if (Path.rfind("Item", 0) != 0 || Dot == std::string::npos ||
            !ReadIndex(Path.substr(4, Dot - 4), Index))
            throw Exception("Invalid object list entry \"" + Line.Path + "\"");
        Items[Index].push_back({Path.substr(Dot + 1), Line.Value});
    }
    if (Count < 0 || (!Items.empty() && Items.rbegin()->first >= Count))
        throw Exception("Invalid object list \"" + Prefix + "Count\"");
    Manager.Clear();
    for (int I = 0; I < Count; ++I) {
        std::unique_ptr<TiPlotObject> Object(Manager.CreateObject());
        iApplyProperties(*Object, TiPlotObject::staticMetaObject, Items[I]);
        Object.release()->NotifyInserted();
    }
}
