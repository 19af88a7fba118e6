// The plot's configuration file and its annotation file: the published
// properties of the plot and of its objects, each object's lines under its
// kind and index ("Channel0.Color = $000000FF").
//
// Loading replaces every object. The whole file is therefore taken apart,
// checked and turned into new objects, still outside the plot, before the
// first old object goes: a file that fails anywhere leaves the user's plot,
// its objects and their data as they were.

#include "plot/iPlotComponent.h"

#include "plot/iPlotAnnotation.h"
#include "plot/iPlotLabel.h"
#include "plot/iPlotLayoutManager.h"

#include "platform/Exception.h"
#include "platform/Text.h"

#include <QScopeGuard>

#include <charconv>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <set>

namespace {

const char* const ConfigFileType = "Plot Config";
const char* const AnnotationPrefix = "Annotation";
// More objects of one kind than any plot holds: a larger count is a damaged
// file, not a request for millions of objects.
constexpr int MaxObjectCount = 10000;

struct TConfigKind {
    TiPlotKind Kind;
    const char* Prefix;
};

// The order of the count lines and of the objects in the file.
constexpr TConfigKind SavedKinds[] = {
    {TiPlotKind::Channel, "Channel"},       {TiPlotKind::XAxis, "XAxis"},
    {TiPlotKind::YAxis, "YAxis"},           {TiPlotKind::ToolBar, "ToolBar"},
    {TiPlotKind::Legend, "Legend"},         {TiPlotKind::Table, "Table"},
    {TiPlotKind::Label, "Label"},           {TiPlotKind::DataView, "DataView"},
    {TiPlotKind::DataCursor, "DataCursor"}, {TiPlotKind::Limit, "Limit"}};

// The order the objects are made in when loading.
constexpr TConfigKind LoadedKinds[] = {
    {TiPlotKind::ToolBar, "ToolBar"},       {TiPlotKind::Legend, "Legend"},
    {TiPlotKind::Table, "Table"},           {TiPlotKind::Label, "Label"},
    {TiPlotKind::XAxis, "XAxis"},           {TiPlotKind::YAxis, "YAxis"},
    {TiPlotKind::DataView, "DataView"},     {TiPlotKind::Channel, "Channel"},
    {TiPlotKind::DataCursor, "DataCursor"}, {TiPlotKind::Limit, "Limit"}};

// The kinds a loaded configuration replaces, in the order they go.
constexpr TiPlotKind ReplacedKinds[] = {
    TiPlotKind::ToolBar,    TiPlotKind::Legend,     TiPlotKind::Table,    TiPlotKind::Label,
    TiPlotKind::XAxis,      TiPlotKind::YAxis,      TiPlotKind::DataView, TiPlotKind::Channel,
    TiPlotKind::Annotation, TiPlotKind::DataCursor, TiPlotKind::Limit};

// The ZOrders of the data view's two place-holders, written after the counts.
const char* const ZOrderNames[] = {"DataViewZHorz", "DataViewZVert"};

std::string CountName(const std::string& Prefix) {
    return Prefix + "Count";
}

// A count or index: plain decimal digits.
bool ReadIndex(const std::string& Text, int& Value) {
    const char* End = Text.data() + Text.size();
    auto [Stop, Error] = std::from_chars(Text.data(), End, Value);
    return Error == std::errc() && Stop == End && Value >= 0;
}

std::string FileText(const std::vector<TPropertyLine>& Lines) {
    std::string Text;
    for (const TPropertyLine& Line : Lines)
        Text += iJoinPropertyLine(Line) + "\n";
    return Text;
}

// Every line ends with a line break: a file cut short in the middle of a
// line (an interrupted copy) is refused rather than partly applied. A path
// given twice has no single meaning and is refused as well.
std::vector<TPropertyLine> ReadLines(const std::string& FileName) {
    const std::string Text = iReadTextFile(FileName);
    if (!Text.empty() && Text.back() != '\n')
        throw Exception("The file \"" + FileName + "\" ends in the middle of a line");
    std::vector<TPropertyLine> Lines = iParsePropertyText(Text);
    std::set<std::string> Paths;
    for (const TPropertyLine& Line : Lines)
        if (!Paths.insert(UpperCase(Line.Path)).second)
            throw Exception("The line \"" + Line.Path + " = \" appears twice");
    return Lines;
}

// Takes the line of that path out of Lines.
std::optional<std::string> TakeValue(std::vector<TPropertyLine>& Lines, const std::string& Path) {
    for (auto Line = Lines.begin(); Line != Lines.end(); ++Line)
        if (SameText(Line->Path, Path)) {
            std::string Value = std::move(Line->Value);
            Lines.erase(Line);
            return Value;
        }
    return std::nullopt;
}

std::string TakeRequiredValue(std::vector<TPropertyLine>& Lines, const std::string& Path) {
    std::optional<std::string> Value = TakeValue(Lines, Path);
    if (!Value)
        throw Exception("The line \"" + Path + " = \" is missing");
    return *Value;
}

int TakeCount(std::vector<TPropertyLine>& Lines, const std::string& Path) {
    const std::string Text = TakeRequiredValue(Lines, Path);
    int Count = 0;
    if (!ReadIndex(Text, Count) || Count > MaxObjectCount)
        throw Exception("Invalid value '" + Text + "' for " + Path);
    return Count;
}

// The index of an object line "Prefix" + index + "." + property, or none.
std::optional<int> ObjectIndex(const std::string& Path, const std::string& Prefix) {
    const std::size_t Dot = Path.find('.');
    int Index = 0;
    if (Dot == std::string::npos || !SameText(Path.substr(0, Prefix.size()), Prefix) ||
        !ReadIndex(Path.substr(Prefix.size(), Dot - Prefix.size()), Index))
        return std::nullopt;
    return Index;
}

// Takes the count line and the object lines of a kind out of Lines: per
// object its lines, their paths without the prefix.
std::vector<std::vector<TPropertyLine>> TakeObjects(std::vector<TPropertyLine>& Lines,
                                                    const std::string& Prefix) {
    std::vector<std::vector<TPropertyLine>> Objects(TakeCount(Lines, CountName(Prefix)));
    std::vector<TPropertyLine> Rest;
    for (TPropertyLine& Line : Lines) {
        const std::optional<int> Index = ObjectIndex(Line.Path, Prefix);
        if (!Index) {
            Rest.push_back(std::move(Line));
            continue;
        }
        if (*Index >= int(Objects.size()))
            throw Exception("The line \"" + Line.Path + "\" names an object beyond " +
                            CountName(Prefix));
        Objects[*Index].push_back({Line.Path.substr(Line.Path.find('.') + 1), Line.Value});
    }
    Lines = std::move(Rest);
    return Objects;
}

void AddObjectLines(const TiPlotObjectManagerCustom& Manager, const std::string& Prefix,
                    std::vector<TPropertyLine>& Lines) {
    for (int I = 0; I < Manager.Count(); ++I)
        for (TPropertyLine& Line : iPublishedProperties(
                 *Manager.Items(I), TiPlotObject::staticMetaObject, {}, Prefix + IntToStr(I) + "."))
            Lines.push_back(std::move(Line));
}

// An object made and given its lines, not yet in the plot.
struct TBuiltObject {
    std::vector<TPropertyLine> Lines;
    std::unique_ptr<TiPlotObject> Object;
};
using TBuiltObjects = std::vector<TBuiltObject>;

TBuiltObjects BuildObjects(TiPlotObjectManagerCustom& Manager, const std::string& Prefix,
                           std::vector<std::vector<TPropertyLine>> ObjectLines,
                           const std::function<void(TiPlotObject&)>& Prepare = nullptr) {
    TBuiltObjects Built;
    for (std::vector<TPropertyLine>& Lines : ObjectLines) {
        std::unique_ptr<TiPlotObject> Object(Manager.CreateObject());
        if (Prepare)
            Prepare(*Object);
        try {
            iApplyProperties(*Object, TiPlotObject::staticMetaObject, Lines);
        } catch (const std::exception& E) {
            throw Exception(std::string(E.what()) + " of " + Prefix + IntToStr(int(Built.size())));
        }
        Built.push_back({std::move(Lines), std::move(Object)});
    }
    return Built;
}

// Puts a built object into the plot. Insertion gives it the plot's
// settings (a default name, the axes' orientation); its lines then go over
// them as over those of any new object.
void Insert(TBuiltObject& Built) {
    TiPlotObject* Object = Built.Object.release();
    Object->NotifyInserted();
    iApplyProperties(*Object, TiPlotObject::staticMetaObject, Built.Lines);
}

void RejectRest(const std::vector<TPropertyLine>& Lines) {
    if (!Lines.empty())
        throw Exception("Unknown property " + Lines.front().Path);
}

// A configuration file taken apart and checked against the plot.
struct TConfig {
    std::vector<TPropertyLine> ZOrders;
    std::vector<TPropertyLine> Own;
    // In the order they are made.
    std::vector<std::pair<TiPlotKind, TBuiltObjects>> Objects;
};

TConfig ReadConfig(TiPlotComponent& Plot, const std::string& FileName) {
    std::vector<TPropertyLine> Lines = ReadLines(FileName);
    const std::optional<std::string> Type = TakeValue(Lines, "File Type");
    if (!Type || !SameText(*Type, ConfigFileType))
        throw Exception("Incompatible Plot Configuration File Type");
    TConfig Config;
    for (const char* Name : ZOrderNames)
        Config.ZOrders.push_back({Name, TakeRequiredValue(Lines, Name)});
    for (const TConfigKind& Kind : LoadedKinds)
        Config.Objects.emplace_back(Kind.Kind,
                                    BuildObjects(*Plot.Master().KindManager(Kind.Kind), Kind.Prefix,
                                                 TakeObjects(Lines, Kind.Prefix)));
    iCheckProperties(Plot, TiComponent::staticMetaObject, Config.ZOrders);
    iCheckProperties(Plot, TiComponent::staticMetaObject, Lines);
    Config.Own = std::move(Lines);
    return Config;
}

} // namespace

std::vector<TPropertyLine> TiPlotComponent::ConfigLines() const {
    std::vector<std::string> Excluded = ExcludedProperties();
    Excluded.insert(Excluded.end(), std::begin(ZOrderNames), std::end(ZOrderNames));
    std::vector<TPropertyLine> Lines{{"File Type", ConfigFileType}};
    for (TPropertyLine& Line : iPublishedProperties(*this, TiComponent::staticMetaObject, Excluded))
        Lines.push_back(std::move(Line));
    for (const TConfigKind& Kind : SavedKinds)
        Lines.push_back(
            {CountName(Kind.Prefix), IntToStr(FMaster->KindManager(Kind.Kind)->Count())});
    Lines.push_back({ZOrderNames[0], IntToStr(DataViewZHorz())});
    Lines.push_back({ZOrderNames[1], IntToStr(DataViewZVert())});
    for (const TConfigKind& Kind : SavedKinds)
        AddObjectLines(*FMaster->KindManager(Kind.Kind), Kind.Prefix, Lines);
    return Lines;
}

void TiPlotComponent::SavePropertiesToFile(const std::string& FileName) {
    try {
        iWriteTextFile(FileName, FileText(ConfigLines()));
    } catch (const std::exception& E) {
        throw Exception("Error Saving Properties - " + std::string(E.what()));
    }
    FPropertiesFileName = FileName;
    RaiseNotify(FEvents.OnAfterSaveProperties);
}

void TiPlotComponent::LoadPropertiesFromFile(const std::string& FileName) {
    RaiseNotify(FEvents.OnBeforeLoadProperties);
    try {
        TConfig Config = ReadConfig(*this, FileName);
        FMaster->LayoutManager().SetEnabled(false);
        BeginUpdate();
        const auto Restore = qScopeGuard([this] { Loaded(); });
        iApplyProperties(*this, TiComponent::staticMetaObject, Config.ZOrders);
        for (TiPlotKind Kind : ReplacedKinds)
            if (Kind == TiPlotKind::Label)
                ClearLabels();
            else
                FMaster->KindManager(Kind)->Clear();
        iApplyProperties(*this, TiComponent::staticMetaObject, Config.Own);
        for (auto& [Kind, Objects] : Config.Objects)
            for (std::size_t I = 0; I < Objects.size(); ++I)
                // The title label stays and takes the lines of label 0.
                if (Kind == TiPlotKind::Label && I == 0 && LabelCount() > 0)
                    iApplyProperties(*Label(0), TiPlotObject::staticMetaObject, Objects[I].Lines);
                else
                    Insert(Objects[I]);
    } catch (const std::exception& E) {
        throw Exception("Error Loading Properties - " + std::string(E.what()));
    }
    FPropertiesFileName = FileName;
    RaiseNotify(FEvents.OnAfterLoadProperties);
}

void TiPlotComponent::SaveAnnotationsToFile(const std::string& FileName) const {
    try {
        std::vector<TPropertyLine> Lines{
            {CountName(AnnotationPrefix), IntToStr(AnnotationCount())}};
        AddObjectLines(FMaster->AnnotationManager(), AnnotationPrefix, Lines);
        iWriteTextFile(FileName, FileText(Lines));
    } catch (const std::exception& E) {
        throw Exception("Error Saving Annotations - " + std::string(E.what()));
    }
}

void TiPlotComponent::LoadAnnotationsFromFile(const std::string& FileName) {
    try {
        std::vector<TPropertyLine> Lines = ReadLines(FileName);
        TBuiltObjects Annotations =
            BuildObjects(FMaster->AnnotationManager(), AnnotationPrefix,
                         TakeObjects(Lines, AnnotationPrefix), [this](TiPlotObject& A) {
                             static_cast<TiPlotAnnotation&>(A).SetDefaults(AnnotationDefaults());
                         });
        RejectRest(Lines);
        BeginUpdate();
        const auto Unlock = qScopeGuard([this] { EndUpdate(); });
        ClearAnnotations();
        for (TBuiltObject& Annotation : Annotations)
            Insert(Annotation);
    } catch (const std::exception& E) {
        throw Exception("Error Loading Annotations - " + std::string(E.what()));
    }
}
