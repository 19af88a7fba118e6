// The object lists stored with the plot's properties: "ChannelManager.Count
// = 2", then the published properties of each object as
// "ChannelManager.Item0.TitleText = ...".

#include "plot/iPlotComponent.h"

#include "plot/iPlotLabel.h"
#include "plot/iPlotLayoutManager.h"
#include "plot/iPlotToolBar.h"

#include "platform/Exception.h"
#include "platform/Text.h"

#include <QScopeGuard>

#include <algorithm>
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

std::vector<TiPlotComponent::TStoredList> TiPlotComponent::StoredLists() const {
    TiPlotMasterManager& M = *FMaster;
    auto Objects = [](const char* Name, TiPlotObjectOwnedManager* Manager) {
        return TStoredList{Name,
                           &TiPlotObject::staticMetaObject,
                           [Manager] { return Manager->Count(); },
                           [Manager](int I) -> const QObject& { return *Manager->Items(I); },
                           [Manager] { Manager->Clear(); },
                           [Manager](const std::vector<TPropertyLine>& Properties) {
                               std::unique_ptr<TiPlotObject> Object(Manager->CreateObject());
                               iApplyProperties(*Object, TiPlotObject::staticMetaObject,
                                                Properties);
                               Object.release()->NotifyInserted();
                           }};
    };
    TiPlotTranslationManager* Table = &M.TranslationManager();
    return {Objects("ToolBarManager", &M.ToolBarManager()),
            Objects("LegendManager", &M.LegendManager()),
            Objects("TableManager", &M.TableManager()),
            Objects("XAxisManager", &M.XAxisManager()),
            Objects("YAxisManager", &M.YAxisManager()),
            Objects("ChannelManager", &M.ChannelManager()),
            Objects("DataViewManager", &M.DataViewManager()),
            Objects("DataCursorManager", &M.DataCursorManager()),
            Objects("LimitManager", &M.LimitManager()),
            Objects("LabelManager", &M.LabelManager()),
            {"TranslationManager", &TiPlotTranslationObject::staticMetaObject,
             [Table] { return Table->Count(); },
             [Table](int I) -> const QObject& { return Table->Item(I); },
             [Table] { Table->Clear(); },
             [Table](const std::vector<TPropertyLine>& Properties) {
                 TiPlotTranslationObject Entry;
                 iApplyProperties(Entry, TiPlotTranslationObject::staticMetaObject, Properties);
                 TiPlotTranslationObject& Added = Table->NewEntry();
                 Added.SetOriginalString(Entry.OriginalString());
                 Added.SetReplacementString(Entry.ReplacementString());
             }}};
}

void TiPlotComponent::WriteExtraProperties(std::vector<TPropertyLine>& Lines) const {
    for (const TStoredList& List : StoredLists()) {
        if (List.Count() == 0)
            continue;
        const std::string Prefix = List.Name + ".";
        Lines.push_back({Prefix + "Count", IntToStr(List.Count())});
        for (int I = 0; I < List.Count(); ++I)
            for (TPropertyLine& Line : iPublishedProperties(List.Item(I), *List.Base, {},
                                                            Prefix + "Item" + IntToStr(I) + "."))
                Lines.push_back(std::move(Line));
    }
}

void TiPlotComponent::ReadExtraProperties(std::vector<TPropertyLine>& Lines) {
    BeginUpdate();
    FMaster->LayoutManager().SetEnabled(false);
    const auto Restore = qScopeGuard([this] { Loaded(); });
    for (const TStoredList& List : StoredLists()) {
        const std::string Prefix = List.Name + ".";
        std::vector<TPropertyLine> Own;
        auto Mine = [&](const TPropertyLine& L) { return L.Path.rfind(Prefix, 0) == 0; };
        std::copy_if(Lines.begin(), Lines.end(), std::back_inserter(Own), Mine);
        Lines.erase(std::remove_if(Lines.begin(), Lines.end(), Mine), Lines.end());
        if (!Own.empty())
            ReadStoredList(List, std::move(Own));
    }
    // A toolbar sharing the title's row goes above it.
    if (ToolBarCount() > 0 && LabelCount() > 0 &&
        ToolBar(0)->Horizontal() == Label(0)->Horizontal() &&
        ToolBar(0)->ZOrder() == Label(0)->ZOrder())
        ToolBar(0)->SetZOrder(ToolBar(0)->ZOrder() + 1);
}

void TiPlotComponent::ReadStoredList(const TStoredList& List, std::vector<TPropertyLine> Lines) {
    const std::string Prefix = List.Name + ".";
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
    List.Clear();
    for (int I = 0; I < Count; ++I)
        List.Add(Items[I]);
}
