#include "components/iPropertyFile.h"

#include "platform/Exception.h"
#include "tests/components/DemoComponent.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>
#include <map>

namespace {

std::map<std::string, std::string> ByPath(const std::vector<TPropertyLine>& Lines) {
    std::map<std::string, std::string> Map;
    for (const TPropertyLine& Line : Lines)
        Map[Line.Path] = Line.Value;
    return Map;
}

std::vector<TPropertyLine> DemoLines(const TiDemoComponent& C) {
    return iPublishedProperties(C, TiDemoComponent::staticMetaObject, {});
}

void Apply(TiDemoComponent& C, const std::vector<TPropertyLine>& Lines) {
    iApplyProperties(C, TiDemoComponent::staticMetaObject, Lines);
}

std::string ApplyError(TiDemoComponent& C, const std::vector<TPropertyLine>& Lines) {
    try {
        Apply(C, Lines);
    } catch (const Exception& E) {
        return E.Message();
    }
    return "no error";
}

TEST(PropertyFile, EveryKindOfValueAsText) {
    TiDemoComponent C;
    C.SetCaption("two\r\nlines \\ end");
    const std::vector<TPropertyLine> Lines = DemoLines(C);
    const std::vector<TPropertyLine> Scalars(Lines.begin(), Lines.begin() + 7);
    const std::vector<TPropertyLine> Expected = {
        {"MarkColor", "$000000FF"},
        {"MarkSize", "8"},
        {"Digits", "2"},
        {"Ratio", "0.1"},
        {"Caption", "two\\r\\nlines \\\\ end"},
        {"Shape", "dsSquare"},
        {"Options", "doFrame,doMark"},
    };
    EXPECT_EQ(Scalars, Expected);
    const auto Map = ByPath(Lines);
    EXPECT_EQ(Map.at("Font.Name"), "MS Sans Serif");
    EXPECT_EQ(Map.at("Font.Color"), "$00FFFFFF");
    EXPECT_EQ(Map.at("Group.Title"), "Group");
    EXPECT_EQ(Map.at("Group.Spacing"), "4");
    EXPECT_EQ(Map.at("Group.Font.Height"), "-11");
    // Read-only and unstored properties are not written.
    EXPECT_EQ(Map.count("Area"), 0u);
    EXPECT_EQ(Map.count("Font.Size"), 0u);
}

TEST(PropertyFile, ExclusionsApplyToTopLevelNamesOnly) {
    TiDemoComponent C;
    const auto Map = ByPath(iPublishedProperties(C, TiComponent::staticMetaObject,
                                                 {"Name", "Width", "Ratio"}, "Root."));
    EXPECT_EQ(Map.count("Root.Width"), 0u);
    EXPECT_EQ(Map.count("Root.Ratio"), 0u);
    EXPECT_EQ(Map.at("Root.Height"), "30");
    EXPECT_EQ(Map.at("Root.Font.Name"), "MS Sans Serif");
    EXPECT_EQ(Map.at("Root.BorderStyle"), "ibsNone");
    EXPECT_EQ(Map.at("Root.AutoFrameRate"), "False");
}

TEST(PropertyFile, AppliedLinesRestoreEveryValue) {
    TiDemoComponent A;
    A.SetMarkColor(clBtnFace);
    A.SetMarkSize(-0);
    A.SetDigits(255);
    A.SetRatio(1.0 / 3);
    A.SetCaption("a\\b\nc");
    A.SetShape(dsStar);
    A.SetOptions({});
    TFont Font;
    Font.SetName("Arial");
    Font.SetHeight(-19);
    Font.SetStyle({fsBold, fsItalic});
    Font.SetColor(RGB(1, 2, 3));
    A.SetFont(Font);
    TDemoGroup Group;
    Group.Title = "Title, with comma";
    Group.Spacing = -7;
    Group.Font.SetName("Liberation Serif");
    A.SetGroup(Group);

    TiDemoComponent B;
    Apply(B, DemoLines(A));
    EXPECT_EQ(B.MarkColor(), clBtnFace);
    EXPECT_EQ(B.MarkSize(), 0);
    EXPECT_EQ(B.Digits(), 255);
    EXPECT_EQ(B.Ratio(), 1.0 / 3);
    EXPECT_EQ(B.Caption(), "a\\b\nc");
    EXPECT_EQ(B.Shape(), dsStar);
    EXPECT_EQ(B.Options(), TDemoOptions());
    EXPECT_EQ(B.Font(), Font);
    EXPECT_EQ(B.Group(), Group);
    EXPECT_EQ(DemoLines(B), DemoLines(A));
}

TEST(PropertyFile, NamesAndValueNamesIgnoreCase) {
    TiDemoComponent C;
    Apply(C, {{"markcolor", "16711680"},
              {"SHAPE", "DSCIRCLE"},
              {"options", "domark , docaption"},
              {"font.name", "Arial"}});
    EXPECT_EQ(C.MarkColor(), clBlue);
    EXPECT_EQ(C.Shape(), dsCircle);
    EXPECT_EQ(C.Options(), TDemoOptions({doMark, doCaption}));
    EXPECT_EQ(C.Font().Name(), "Arial");
    iApplyProperties(C, TiComponent::staticMetaObject, {{"autoframerate", "true"}});
    EXPECT_TRUE(C.AutoFrameRate());
}

TEST(PropertyFile, BadLinesRaiseAndChangeNothing) {
    struct TCase {
        TPropertyLine Line;
        std::string Message;
    };
    const TCase Cases[] = {
        {{"MarkSize", "12a"}, "Invalid value '12a' for property MarkSize"},
        {{"MarkSize", ""}, "Invalid value '' for property MarkSize"},
        {{"MarkSize", "99999999999"}, "Invalid value '99999999999' for property MarkSize"},
        {{"Digits", "256"}, "Invalid value '256' for property Digits"},
        {{"Digits", "-1"}, "Invalid value '-1' for property Digits"},
        {{"Ratio", "1,5"}, "Invalid value '1,5' for property Ratio"},
        {{"Shape", "dsHexagon"}, "Invalid value 'dsHexagon' for property Shape"},
        {{"Options", "doFrame,doNothing"},
         "Invalid value 'doFrame,doNothing' for property Options"},
        {{"MarkColor", "$GG"}, "Invalid value '$GG' for property MarkColor"},
        {{"MarkColor", "$1FFFFFFFF"}, "Invalid value '$1FFFFFFFF' for property MarkColor"},
        {{"Font.Height", "tall"}, "Invalid value 'tall' for property Font.Height"},
        {{"Unknown", "1"}, "Unknown property Unknown"},
        {{"Font.Nope", "1"}, "Unknown property Font.Nope"},
        {{"MarkSize.Sub", "1"}, "Unknown property MarkSize.Sub"},
        {{"Area", "4"}, "Unknown property Area"},
        {{"Width", "4"}, "Unknown property Width"},
        {{"Font", "Arial"}, "Property Font is an object"},
    };
    for (const TCase& C : Cases) {
        TiDemoComponent Component;
        EXPECT_EQ(ApplyError(Component, {{"MarkSize", "20"}, C.Line}), C.Message);
        EXPECT_EQ(Component.MarkSize(), 8) << C.Line.Path;
    }
    TiDemoComponent Component;
    EXPECT_THROW(
        iApplyProperties(Component, TiComponent::staticMetaObject, {{"AutoFrameRate", "yes"}}),
        Exception);
}

TEST(PropertyFile, EnumerationsOfUnqualifiedPropertyTypesAreFound) {
    const QMetaObject& Meta = TiDemoComponent::staticMetaObject;
    const QMetaProperty Shape = Meta.property(Meta.indexOfProperty("Shape"));
    ASSERT_FALSE(Shape.isEnumType());
    EXPECT_STREQ(iEnumeratorOf(Shape).enumName(), "TDemoShape");
    const QMetaEnum Options = iEnumeratorOf(Meta.property(Meta.indexOfProperty("Options")));
    EXPECT_TRUE(Options.isFlag());
    EXPECT_STREQ(Options.enumName(), "TDemoOption");
    EXPECT_FALSE(iEnumeratorOf(Meta.property(Meta.indexOfProperty("MarkSize"))).isValid());
}

TEST(PropertyFile, LineSplitting) {
    EXPECT_EQ(iSplitPropertyLine("a = b = c"), (TPropertyLine{"a", "b = c"}));
    EXPECT_EQ(iSplitPropertyLine("  x=  \r"), (TPropertyLine{"x", ""}));
    EXPECT_EQ(iJoinPropertyLine({"Font.Name", "Arial"}), "Font.Name = Arial");
    try {
        iSplitPropertyLine("novalue");
        FAIL();
    } catch (const Exception& E) {
        EXPECT_EQ(E.Message(), "Missing '=' in the line \"novalue\"");
    }
}

TEST(PropertyFile, FilesSkipBlankLinesAndReadCrLf) {
    QTemporaryDir Dir;
    const std::string Name = Dir.filePath("p.txt").toStdString();
    {
        std::ofstream File(Name, std::ios::binary);
        File << "A = 1\r\n\r\n  \nB.C = x y\r\n";
    }
    EXPECT_EQ(iReadPropertyFile(Name), (std::vector<TPropertyLine>{{"A", "1"}, {"B.C", "x y"}}));
    iWritePropertyFile(Name, {{"File Type", "T"}, {"A", ""}});
    EXPECT_EQ(iReadPropertyFile(Name), (std::vector<TPropertyLine>{{"File Type", "T"}, {"A", ""}}));
    EXPECT_THROW(iReadPropertyFile(Dir.filePath("missing.txt").toStdString()), Exception);
    EXPECT_THROW(iWritePropertyFile(Dir.filePath("no/such/dir.txt").toStdString(), {}), Exception);
}

TEST(PropertyFile, TextThatIsNotUtf8IsRefused) {
    EXPECT_EQ(iParsePropertyText("A = Gr\xC3\xBC\xC3\x9F\n"),
              (std::vector<TPropertyLine>{{"A", "Gr\xC3\xBC\xC3\x9F"}}));
    for (const std::string& Text :
         {std::string("A = Gr\xFC\xDF\n"), std::string("A = \xC3\n"), std::string("A = 1\0\n", 7)})
        EXPECT_THROW(iParsePropertyText(Text), Exception) << Text;
}

} // namespace
