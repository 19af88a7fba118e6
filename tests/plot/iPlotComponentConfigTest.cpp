#include "plot/iPlot.h"
#include "plot/iPlotAnnotation.h"
#include "plot/iPlotAxis.h"
#include "plot/iPlotChannel.h"
#include "plot/iPlotLabel.h"
#include "plot/iPlotLimit.h"
#include "tests/support/MessageOf.h"

#include "components/iPropertyFile.h"
#include "platform/Exception.h"
#include "platform/Text.h"

#include <QPointer>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <algorithm>
#include <charconv>
#include <csignal>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>

namespace {

std::string ReadFile(const std::string& Name) {
    std::ifstream File(Name, std::ios::binary);
    return {std::istreambuf_iterator<char>(File), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::string& Name, const std::string& Text) {
    std::ofstream(Name, std::ios::binary) << Text;
}

std::vector<std::string> Joined(const std::vector<TPropertyLine>& Lines) {
    std::vector<std::string> Out;
    for (const TPropertyLine& Line : Lines)
        Out.push_back(iJoinPropertyLine(Line));
    return Out;
}

// Every published property of the plot and of all its objects, and the
// points each channel holds: what a load must restore, or keep when it fails.
std::vector<std::string> Snapshot(TiPlotComponent& Plot) {
    std::vector<std::string> Lines =
        Joined(iPublishedProperties(Plot, TiComponent::staticMetaObject, {}));
    for (TiPlotObjectOwnedManager* Manager : Plot.Master().KindManagers())
        for (int I = 0; I < Manager->Count(); ++I) {
            const std::string Prefix = Manager->BaseName() + IntToStr(I) + ".";
            for (std::string& Line : Joined(iPublishedProperties(
                     *Manager->Items(I), TiPlotObject::staticMetaObject, {}, Prefix)))
                Lines.push_back(std::move(Line));
        }
    for (int I = 0; I < Plot.ChannelCount(); ++I)
        Lines.push_back("Channel" + IntToStr(I) +
                        " points = " + IntToStr(Plot.Channel(I)->Count()));
    return Lines;
}

// The property a path names, through the sub-objects.
QMetaProperty PropertyAt(const QObject& Object, const std::string& Path) {
    const QMetaObject* Meta = Object.metaObject();
    QMetaProperty Property;
    std::istringstream Names(Path);
    for (std::string Name; std::getline(Names, Name, '.'); Meta = Property.metaType().metaObject())
        Property = Meta->property(Meta->indexOfProperty(Name.c_str()));
    return Property;
}

std::string NumberText(double V, bool Integer) {
    if (Integer)
        return std::to_string((long long)V);
    char Buffer[64];
    return std::string(Buffer, std::to_chars(Buffer, Buffer + sizeof Buffer, V).ptr);
}

// Texts to try for a property, most of them differing from Current.
std::vector<std::string> Candidates(const QMetaProperty& Property, const std::string& Current) {
    const QMetaEnum Enum = iEnumeratorOf(Property);
    std::vector<std::string> Texts;
    if (Enum.isValid()) {
        for (int I = 0; I < Enum.keyCount(); ++I)
            Texts.push_back(Enum.key(I));
        if (Enum.isFlag())
            Texts.push_back("");
        return Texts;
    }
    switch (Property.metaType().id()) {
    case QMetaType::Bool:
        return {"True", "False"};
    case QMetaType::UInt:
        return {"$00123456", "$00654321"};
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::UChar:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::LongLong: {
        const bool Integer = Property.metaType().id() != QMetaType::Double &&
                             Property.metaType().id() != QMetaType::Float;
        const double V = std::stod(Current);
        for (double Candidate : {V + 1, V - 1, V * 2, V / 2, 1.0, 2.0, 0.0, 10.0, 50.0})
            Texts.push_back(NumberText(Candidate, Integer));
        return Texts;
    }
    default:
        return {"Changed text", ""};
    }
}

// Gives every published property of Object a value other than the one it
// has; returns the paths no candidate could change. A second round changes
// what a later property set back (the axes' swap moves the place-holders).
std::vector<std::string> ChangeEveryProperty(QObject& Object, const QMetaObject& From) {
    auto ValueOf = [&](const std::string& Path) {
        for (const TPropertyLine& Line : iPublishedProperties(Object, From, {}))
            if (Line.Path == Path)
                return Line.Value;
        return std::string();
    };
    const std::vector<TPropertyLine> Before = iPublishedProperties(Object, From, {});
    for (int Round = 0; Round < 2; ++Round)
        for (const TPropertyLine& Line : Before)
            for (const std::string& Candidate :
                 Candidates(PropertyAt(Object, Line.Path), Line.Value)) {
                if (ValueOf(Line.Path) != Line.Value)
                    break;
                try {
                    iApplyProperties(Object, From, {{Line.Path, Candidate}});
                } catch (const Exception&) {
                }
            }
    std::vector<std::string> Unchanged;
    for (const TPropertyLine& Line : Before)
        if (ValueOf(Line.Path) == Line.Value)
            Unchanged.push_back(Line.Path);
    return Unchanged;
}

class PlotConfig : public ::testing::Test {
  protected:
    std::string File(const char* Name) const { return Dir.filePath(Name).toStdString(); }
    // The default plot with one object of every kind, a point in its channel.
    static void FillAllKinds(TiPlotComponent& Plot) {
        Plot.NewTable();
        Plot.NewLimit();
        Plot.Channel(0)->AddXY(1, 2);
    }

    QTemporaryDir Dir;
    TiPlot Plot;
};

TEST_F(PlotConfig, RestoresEveryPublishedPropertyOfEveryKind) {
    FillAllKinds(Plot);
    EXPECT_EQ(ChangeEveryProperty(Plot, TiComponent::staticMetaObject), std::vector<std::string>{});
    for (TiPlotObjectOwnedManager* Manager : Plot.Master().KindManagers())
        if (Manager->Count() > 0) {
            EXPECT_EQ(ChangeEveryProperty(*Manager->Items(0), TiPlotObject::staticMetaObject),
                      std::vector<std::string>{})
                << Manager->BaseName();
        }
    Plot.SavePropertiesToFile(File("plot.txt"));

    TiPlot Loaded;
    Loaded.LoadPropertiesFromFile(File("plot.txt"));
    std::vector<std::string> Expected = Snapshot(Plot);
    // Points are not part of a configuration.
    Expected.back() = "Channel0 points = 0";
    EXPECT_EQ(Snapshot(Loaded), Expected);
}

TEST_F(PlotConfig, WritesTypeOwnPropertiesCountsAndObjectPrefixes) {
    FillAllKinds(Plot);
    Plot.SavePropertiesToFile(File("plot.txt"));
    std::vector<std::string> Lines;
    std::istringstream Text(ReadFile(File("plot.txt")));
    for (std::string Line; std::getline(Text, Line);)
        Lines.push_back(Line);

    ASSERT_FALSE(Lines.empty());
    EXPECT_EQ(Lines.front(), "File Type = Plot Config");
    EXPECT_EQ(Lines[1], "UpdateFrameRate = 60") << "the plot's own properties follow";
    const auto Counts = std::find(Lines.begin(), Lines.end(), "ChannelCount = 1");
    ASSERT_NE(Counts, Lines.end());
    const std::vector<std::string> Expected{"ChannelCount = 1",
                                            "XAxisCount = 1",
                                            "YAxisCount = 1",
                                            "ToolBarCount = 1",
                                            "LegendCount = 1",
                                            "TableCount = 1",
                                            "LabelCount = 1",
                                            "DataViewCount = 1",
                                            "DataCursorCount = 1",
                                            "LimitCount = 1",
                                            "DataViewZHorz = " + IntToStr(Plot.DataViewZHorz()),
                                            "DataViewZVert = " + IntToStr(Plot.DataViewZVert())};
    EXPECT_EQ(std::vector<std::string>(Counts, Counts + 12), Expected);
    EXPECT_EQ(*(Counts + 12), "Channel0.Name = " + Plot.Channel(0)->Name());
    EXPECT_NE(std::find(Lines.begin(), Lines.end(), "Limit0.Name = " + Plot.Limit(0)->Name()),
              Lines.end());
    for (const char* Start : {"Name = ", "Left = ", "Width = ", "DataViewZHorz = "})
        EXPECT_EQ(std::count_if(Lines.begin(), Counts,
                                [&](const std::string& L) { return L.rfind(Start, 0) == 0; }),
                  0)
            << Start << " is not among the plot's own lines";

    Plot.SetOptionSaveAllProperties(true);
    Plot.SavePropertiesToFile(File("all.txt"));
    EXPECT_NE(ReadFile(File("all.txt")).find("\nLeft = "), std::string::npos);
}

TEST_F(PlotConfig, ObjectsReferringByNameFindEachOtherAfterLoading) {
    Plot.YAxis(Plot.NewYAxis())->SetName("Pressure");
    Plot.Channel(0)->SetYAxisName("Pressure");
    Plot.Label(0)->SetCaption("Boiler");
    Plot.SavePropertiesToFile(File("plot.txt"));

    TiPlot Loaded;
    Loaded.NewChannel();
    Loaded.NewLabel();
    const QPointer<TiPlotLabel> Title = Loaded.Label(0);
    Loaded.LoadPropertiesFromFile(File("plot.txt"));
    ASSERT_EQ(Loaded.YAxisCount(), 2);
    EXPECT_EQ(Loaded.Channel(0)->YAxis(), Loaded.YAxis(1));
    EXPECT_EQ(Loaded.ChannelCount(), 1) << "the plot's own objects are replaced";
    EXPECT_EQ(Loaded.LabelCount(), 1);
    EXPECT_EQ(Loaded.Label(0), Title.data()) << "the title label is kept";
    EXPECT_EQ(Loaded.Label(0)->Caption(), "Boiler");
}

TEST_F(PlotConfig, RaisesItsEventsAndRemembersTheFile) {
    std::vector<std::string> Raised;
    Plot.SetEvent(&TiPlotEvents::OnBeforeLoadProperties, [&] { Raised.push_back("before"); });
    Plot.SetEvent(&TiPlotEvents::OnAfterLoadProperties, [&] { Raised.push_back("load"); });
    Plot.SetEvent(&TiPlotEvents::OnAfterSaveProperties, [&] { Raised.push_back("save"); });
    Plot.SavePropertiesToFile(File("saved.txt"));
    EXPECT_EQ(Plot.PropertiesFileName(), File("saved.txt"));
    Plot.LoadPropertiesFromFile(File("saved.txt"));
    WriteFile(File("other.txt"), "File Type = Plot Channel Config\n");
    EXPECT_THROW(Plot.LoadPropertiesFromFile(File("other.txt")), Exception);
    EXPECT_EQ(Raised, (std::vector<std::string>{"save", "before", "load", "before"}));
    EXPECT_EQ(Plot.PropertiesFileName(), File("saved.txt")) << "a failed load is not remembered";
}

TEST_F(PlotConfig, RefusesOtherFileTypes) {
    for (const char* Text :
         {"File Type = Plot Channel Config\n", "File Type = TiPlot\n", "ChannelCount = 0\n", ""}) {
        WriteFile(File("other.txt"), Text);
        EXPECT_EQ(MessageOf([&] { Plot.LoadPropertiesFromFile(File("other.txt")); }),
                  "Error Loading Properties - Incompatible Plot Configuration File Type")
            << Text;
    }
    WriteFile(File("upper.txt"), "File Type = PLOT CONFIG\n");
    EXPECT_NE(MessageOf([&] { Plot.LoadPropertiesFromFile(File("upper.txt")); }),
              "Error Loading Properties - Incompatible Plot Configuration File Type")
        << "the type ignores letter case";
}

// A saved configuration with the value of one line replaced.
std::string WithValue(const std::string& Text, const std::string& Path, const std::string& Value) {
    const std::size_t Start = Text.find("\n" + Path + " = ");
    EXPECT_NE(Start, std::string::npos) << Path;
    const std::size_t End = Text.find('\n', Start + 1);
    return Text.substr(0, Start + 1) + Path + " = " + Value + Text.substr(End);
}

std::string WithoutLine(const std::string& Text, const std::string& Path) {
    const std::size_t Start = Text.find("\n" + Path + " = ");
    EXPECT_NE(Start, std::string::npos) << Path;
    return Text.substr(0, Start) + Text.substr(Text.find('\n', Start + 1));
}

TEST_F(PlotConfig, BadFilesFailAndLeaveThePlotAsItWas) {
    TiPlot Source;
    FillAllKinds(Source);
    Source.NewChannel();
    Source.Channel(1)->SetTitleText("From the file");
    Source.SavePropertiesToFile(File("good.txt"));
    const std::string Good = ReadFile(File("good.txt"));
    std::string Junk;
    for (int I = 0; I < 4096; ++I)
        Junk += char(I * 131 % 256);
    std::string Truncated = Good.substr(0, Good.size() * 2 / 3);
    if (Truncated.back() == '\n')
        Truncated.pop_back();

    const struct {
        const char* Case;
        std::string Text;
    } Cases[] = {
        {"truncated in the middle of a line", Truncated},
        {"binary junk", Junk + "\n"},
        {"binary junk after the type", "File Type = Plot Config\n" + Junk + "\n"},
        {"1e999 in a real", WithValue(Good, "Channel1.BarWidth", "1e999")},
        {"a word in an integer", WithValue(Good, "Limit0.Layer", "Blue")},
        {"a colour too large", WithValue(Good, "Channel1.Color", "$100000000")},
        {"an unknown enumeration value", WithValue(Good, "Limit0.FillStyle", "bsWavy")},
        {"invalid UTF-8", WithValue(Good, "Channel1.TitleText", "Temp\xC3\x28rature")},
        {"a zero byte", WithValue(Good, "Channel1.TitleText", std::string("A\0B", 3))},
        {"a huge count", WithValue(Good, "LimitCount", "2000000000")},
        {"a count beyond int", WithValue(Good, "ChannelCount", "99999999999999999999")},
        {"a negative count", WithValue(Good, "ChannelCount", "-1")},
        {"an object beyond its count", Good + "Channel2.Visible = False\n"},
        {"an unknown property", Good + "Channel1.Wobble = True\n"},
        {"an unknown plot property", Good + "Wobble = True\n"},
        {"a missing count", WithoutLine(Good, "LimitCount")},
        {"a setter refusing its value", WithValue(Good, "Channel1.RingBufferSize", "-5")},
        {"a line without =", Good + "Channel0.Visible\n"},
        {"a property given twice", Good + "channel1.name = Other\n"},
    };
    Plot.Channel(0)->AddXY(1, 2);
    Plot.Channel(0)->SetTitleText("The user's");
    Plot.NewAnnotation();
    const std::vector<std::string> Before = Snapshot(Plot);
    for (const auto& C : Cases) {
        WriteFile(File("bad.txt"), C.Text);
        EXPECT_EQ(MessageOf([&] {
                      Plot.LoadPropertiesFromFile(File("bad.txt"));
                  }).rfind("Error Loading Properties - ", 0),
                  0u)
            << C.Case;
        EXPECT_EQ(Snapshot(Plot), Before) << C.Case;
        EXPECT_EQ(Plot.AnnotationCount(), 1) << C.Case;
        EXPECT_FALSE(Plot.UpdateLocked()) << C.Case;
    }
}

TEST_F(PlotConfig, AnnotationsRoundTripInTheirOwnFile) {
    Plot.NewAnnotation();
    Plot.NewAnnotation();
    EXPECT_EQ(ChangeEveryProperty(*Plot.Annotation(1), TiPlotObject::staticMetaObject),
              std::vector<std::string>{});
    Plot.SaveAnnotationsToFile(File("notes.txt"));
    const std::string Text = ReadFile(File("notes.txt"));
    EXPECT_EQ(Text.rfind("AnnotationCount = 2\nAnnotation0.", 0), 0u);
    EXPECT_NE(Text.find("\nAnnotation1.Visible = False\n"), std::string::npos);

    TiPlot Loaded;
    Loaded.SetAnnotationDefaultPenWidth(3);
    Loaded.NewAnnotation();
    Loaded.LoadAnnotationsFromFile(File("notes.txt"));
    ASSERT_EQ(Loaded.AnnotationCount(), 2);
    for (int I = 0; I < 2; ++I)
        EXPECT_EQ(
            Joined(iPublishedProperties(*Loaded.Annotation(I), TiPlotObject::staticMetaObject, {})),
            Joined(iPublishedProperties(*Plot.Annotation(I), TiPlotObject::staticMetaObject, {})));
    EXPECT_EQ(Loaded.Annotation(1)->Defaults().PenWidth, 3)
        << "new annotations take the plot's defaults";
}

TEST_F(PlotConfig, BadAnnotationFilesKeepTheAnnotations) {
    Plot.NewAnnotation();
    Plot.Annotation(0)->SetLayer(7);
    Plot.SaveAnnotationsToFile(File("notes.txt"));
    const std::string Good = ReadFile(File("notes.txt"));
    Plot.SavePropertiesToFile(File("plot.txt"));
    for (const std::string& Text :
         {WithValue(Good, "Annotation0.Layer", "Blue"), Good.substr(0, Good.size() - 3),
          Good + "Annotation1.Layer = 2\n", ReadFile(File("plot.txt"))}) {
        WriteFile(File("bad.txt"), Text);
        EXPECT_EQ(MessageOf([&] {
                      Plot.LoadAnnotationsFromFile(File("bad.txt"));
                  }).rfind("Error Loading Annotations - ", 0),
                  0u)
            << Text;
        ASSERT_EQ(Plot.AnnotationCount(), 1);
        EXPECT_EQ(Plot.Annotation(0)->Layer(), 7);
    }
}

TEST_F(PlotConfig, FailingSavesReportAndKeepTheEarlierFile) {
    Plot.NewAnnotation();
    const struct {
        const char* Prefix;
        std::function<void(const std::string&)> Save;
    } Savers[] = {
        {"Error Saving Properties - ", [&](const std::string& F) { Plot.SavePropertiesToFile(F); }},
        {"Error Saving Annotations - ",
         [&](const std::string& F) { Plot.SaveAnnotationsToFile(F); }},
    };
    for (const auto& Saver : Savers) {
        EXPECT_EQ(MessageOf([&] { Saver.Save(Dir.path().toStdString()); }).rfind(Saver.Prefix, 0),
                  0u)
            << "a directory as the name";
        WriteFile(File("earlier.txt"), "earlier");
        // A file size limit fails the writes as a full disk would.
        rlimit Old{};
        getrlimit(RLIMIT_FSIZE, &Old);
        const auto OldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit Small = Old;
        Small.rlim_cur = 16;
        setrlimit(RLIMIT_FSIZE, &Small);
        const std::string Message = MessageOf([&] { Saver.Save(File("earlier.txt")); });
        setrlimit(RLIMIT_FSIZE, &Old);
        std::signal(SIGXFSZ, OldHandler);
        EXPECT_EQ(Message.rfind(Saver.Prefix, 0), 0u) << Message;
        EXPECT_EQ(ReadFile(File("earlier.txt")), "earlier");
    }
}

} // namespace
