// The plot's property editor: its object list, its property grid with an
// editor per type, channels added and removed, and how the plot opens it.
// The Qt application is the test program's (iPlotObjectsTest.cpp).

#include "plot/iPlotEditor.h"

#include "plot/iPlot.h"
#include "plot/iPlotAxis.h"
#include "plot/iPlotChannelCustom.h"
#include "plot/iPlotLabel.h"

#include "platform/Bitmap.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

class PlotEditor : public ::testing::Test {
  protected:
    PlotEditor() { Plot.SetBounds(0, 0, 600, 400); }

    // The plot's own editor, beside the plot so that the test goes on.
    TiPlotEditor& Open(TiPlotObject* Object = nullptr) {
        Plot.SetEditorFormStyle(ipfsStayOnTop);
        Plot.ShowEditor(Object);
        return *Plot.Editor();
    }

    // Types into the row's text field and leaves it, as a user does.
    static void Type(TiPlotEditor& Editor, const std::string& Path, const QString& Text) {
        QWidget* Row = Editor.ValueEditor(Path);
        ASSERT_NE(Row, nullptr) << Path;
        auto* Edit = qobject_cast<QLineEdit*>(Row) ? qobject_cast<QLineEdit*>(Row)
                                                   : Row->findChild<QLineEdit*>();
        ASSERT_NE(Edit, nullptr) << Path;
        Edit->setText(Text);
        emit Edit->editingFinished();
    }
    static QString Shown(TiPlotEditor& Editor, const std::string& Path) {
        QWidget* Row = Editor.ValueEditor(Path);
        auto* Edit = qobject_cast<QLineEdit*>(Row) ? qobject_cast<QLineEdit*>(Row)
                                                   : Row->findChild<QLineEdit*>();
        return Edit->text();
    }
    bool Painted(TColor Colour) {
        TBitmap Picture(600, 400);
        Plot.Paint(Picture.Canvas());
        for (int Y = 0; Y < 400; ++Y)
            for (int X = 0; X < 600; ++X)
                if (Picture.Canvas().Pixel(X, Y) == Colour)
                    return true;
        return false;
    }

    TiPlot Plot;
    TiPlotChannelCustom& Channel = *Plot.Channel(0);
};

TEST_F(PlotEditor, ListsThePlotFirstAndEveryObjectOfEveryKind) {
    Plot.NewLimit();
    Plot.NewAnnotation();
    Plot.NewTable();
    Plot.NewLabel();
    Plot.NewChannel();
    TiPlotEditor& Editor = Open();
    const QTreeWidget& List = Editor.ObjectList();
    ASSERT_GT(List.topLevelItemCount(), 0);
    EXPECT_EQ(List.topLevelItem(0)->text(0), "Plot");
    EXPECT_EQ(Editor.CurrentObject(), &Plot);

    std::set<QObject*> Listed;
    for (int G = 1; G < List.topLevelItemCount(); ++G)
        for (int I = 0; I < List.topLevelItem(G)->childCount(); ++I) {
            const QTreeWidgetItem* Item = List.topLevelItem(G)->child(I);
            auto* Object = Item->data(0, Qt::UserRole).value<QObject*>();
            Listed.insert(Object);
            EXPECT_EQ(Item->text(0).toStdString(), static_cast<TiPlotObject*>(Object)->Name());
        }
    std::set<QObject*> All;
    for (TiPlotKind Kind :
         {TiPlotKind::ToolBar, TiPlotKind::Legend, TiPlotKind::Table, TiPlotKind::XAxis,
          TiPlotKind::YAxis, TiPlotKind::Channel, TiPlotKind::DataView, TiPlotKind::DataCursor,
          TiPlotKind::Limit, TiPlotKind::Label, TiPlotKind::Annotation})
        for (TiPlotObject* Object : Plot.Objects(Kind)) {
            All.insert(Object);
            EXPECT_NE(Object->Kind(), TiPlotKind::Object);
        }
    EXPECT_EQ(Listed, All);
    EXPECT_EQ(All.size(), 13u);
}

TEST_F(PlotEditor, TheListFollowsObjectsAddedRenamedAndRemoved) {
    TiPlotEditor& Editor = Open();
    const int Added = Plot.NewChannel();
    TiPlotChannelCustom& Second = *Plot.Channel(Added);
    Editor.SelectObject(&Second);
    ASSERT_EQ(Editor.CurrentObject(), &Second) << "a new channel is listed at once";
    Type(Editor, "Name", "Pressure");
    EXPECT_EQ(Editor.ObjectList().currentItem()->text(0), "Pressure");
    EXPECT_EQ(Editor.CurrentObject(), &Second) << "renaming keeps the page";
    Plot.DeleteChannel(Added);
    EXPECT_EQ(Editor.CurrentObject(), &Plot) << "the page of a removed object goes";
    EXPECT_TRUE(Editor.ObjectList().findItems("Pressure", Qt::MatchRecursive).isEmpty());
}

TEST_F(PlotEditor, TheColourValueChangesTheChannelAndThePaintedTrace) {
    Channel.AddXY(0, 0);
    Channel.AddXY(10, 10);
    Channel.AddXY(20, 5);
    struct TCase {
        const char* How;
        TColor Colour;
        bool ByButton;
    };
    for (const TCase& C : {TCase{"chosen with the button", 0x00345678, true},
                           TCase{"typed as text", 0x0012AB34, false}}) {
        ASSERT_FALSE(Painted(C.Colour)) << C.How;
        TiPlotEditor& Editor = Open(&Channel);
        if (C.ByButton) {
            Editor.SetColorChooser([&C](TColor& Colour) {
                Colour = C.Colour;
                return true;
            });
            Editor.ValueEditor("Color")->findChild<QPushButton*>()->click();
        } else
            Type(Editor, "Color", QString::asprintf("$%08X", C.Colour));
        EXPECT_EQ(Channel.Color(), C.Colour) << C.How;
        EXPECT_EQ(Shown(Editor, "Color"), QString::asprintf("$%08X", C.Colour)) << C.How;
        EXPECT_TRUE(Painted(C.Colour)) << C.How;
    }
}

TEST_F(PlotEditor, AChooserCancelledChangesNothing) {
    TiPlotEditor& Editor = Open(&Channel);
    const TColor Before = Channel.Color();
    TColor Offered = 0;
    Editor.SetColorChooser([&](TColor& Colour) {
        Offered = Colour;
        Colour = 0x00ABCDEF;
        return false;
    });
    Editor.ValueEditor("Color")->findChild<QPushButton*>()->click();
    EXPECT_EQ(Offered, Before) << "the chooser starts at the current colour";
    EXPECT_EQ(Channel.Color(), Before);
}

TEST_F(PlotEditor, EachTypeHasItsEditor) {
    TiPlotEditor& Editor = Open(&Channel);

    auto* Visible = qobject_cast<QCheckBox*>(Editor.ValueEditor("TraceVisible"));
    ASSERT_NE(Visible, nullptr);
    EXPECT_TRUE(Visible->isChecked());
    Visible->setChecked(false);
    EXPECT_FALSE(Channel.TraceVisible());

    auto* Style = qobject_cast<QComboBox*>(Editor.ValueEditor("TraceLineStyle"));
    ASSERT_NE(Style, nullptr);
    EXPECT_EQ(Style->count(), 5) << "every name of the enumeration";
    EXPECT_EQ(Style->currentText(), "iplsSolid");
    Style->setCurrentText("iplsDashDot");
    EXPECT_EQ(Channel.TraceLineStyle(), iplsDashDot);

    Type(Editor, "TraceLineWidth", "3");
    EXPECT_EQ(Channel.TraceLineWidth(), 3);
    Type(Editor, "TitleText", "Temperature");
    EXPECT_EQ(Channel.TitleText(), "Temperature");
    Type(Editor, "MarkersFont.Height", "17");
    EXPECT_EQ(Channel.MarkersFont().Height(), 17) << "a font's parts are rows of their own";
    ASSERT_NE(Editor.ValueEditor("MarkersFont.Color"), nullptr);
    EXPECT_NE(Editor.ValueEditor("MarkersFont.Color")->findChild<QPushButton*>(), nullptr);
    EXPECT_TRUE(Editor.Message().isEmpty());
}

TEST_F(PlotEditor, RefusedValuesLeaveThePropertyAndTellWhy) {
    QTemporaryDir Dir;
    Plot.SetLogFileName(QDir(Dir.path()).filePath("log.txt").toStdString());
    Plot.LogActivate(false);
    const std::string LogName = Plot.LogFileName();
    TiPlotEditor& Editor = Open();

    Type(Editor, "LogFileName", "other.txt");
    EXPECT_EQ(Plot.LogFileName(), LogName) << "the setter refuses while logging";
    EXPECT_EQ(Editor.Message(), "Log File Name can not be changed while logging is active.");
    EXPECT_EQ(Shown(Editor, "LogFileName").toStdString(), LogName);
    Plot.LogDeactivate();

    Editor.SelectObject(&Channel);
    EXPECT_TRUE(Editor.Message().isEmpty()) << "another page starts without the message";
    for (const char* Bad : {"abc", "", "2.5", "99999999999"}) {
        Type(Editor, "TraceLineWidth", Bad);
        EXPECT_EQ(Channel.TraceLineWidth(), 1) << Bad;
        EXPECT_EQ(Editor.Message().toStdString(),
                  "Invalid value '" + std::string(Bad) + "' for property TraceLineWidth");
        EXPECT_EQ(Shown(Editor, "TraceLineWidth"), "1") << Bad;
    }
    Type(Editor, "Color", "red");
    EXPECT_EQ(Editor.Message(), "Invalid value 'red' for property Color");
    Type(Editor, "TraceLineWidth", "2");
    EXPECT_EQ(Channel.TraceLineWidth(), 2);
    EXPECT_TRUE(Editor.Message().isEmpty()) << "a change that applies clears the message";
}

TEST_F(PlotEditor, ChannelsAreAddedAndRemovedOnlyWhenThePlotAllowsIt) {
    TiPlotEditor& Editor = Open();
    EXPECT_TRUE(Editor.AddChannelButton().isHidden());
    EXPECT_TRUE(Editor.RemoveChannelButton().isHidden());

    auto* Allow = qobject_cast<QCheckBox*>(Editor.ValueEditor("UserCanAddRemoveChannels"));
    ASSERT_NE(Allow, nullptr);
    Allow->setChecked(true);
    EXPECT_FALSE(Editor.AddChannelButton().isHidden());
    EXPECT_FALSE(Editor.RemoveChannelButton().isEnabled()) << "the plot's page is no channel";

    Editor.AddChannelButton().click();
    ASSERT_EQ(Plot.ChannelCount(), 2);
    EXPECT_EQ(Editor.CurrentObject(), Plot.Channel(1)) << "the new channel's page";
    EXPECT_TRUE(Editor.RemoveChannelButton().isEnabled());

    Editor.SelectObject(&Channel);
    TiPlotChannelCustom* Other = Plot.Channel(1);
    Editor.RemoveChannelButton().click();
    ASSERT_EQ(Plot.ChannelCount(), 1);
    EXPECT_EQ(Plot.Channel(0), Other);
    EXPECT_EQ(Editor.CurrentObject(), Other) << "the next channel's page";
    Editor.RemoveChannelButton().click();
    EXPECT_EQ(Plot.ChannelCount(), 0);
    EXPECT_EQ(Editor.CurrentObject(), &Plot);
}

class PlotEditorWindow : public PlotEditor {
  protected:
    PlotEditorWindow() {
        Plot.SetEvent(&TiPlotEvents::OnAfterOpenEditor, [this] { Events.push_back("open"); });
        Plot.SetEvent(&TiPlotEvents::OnAfterCloseEditor, [this] { Events.push_back("close"); });
    }
    std::vector<std::string> Events;
};

TEST_F(PlotEditorWindow, ModalOpensOnTheObjectsPageAndIsGoneOnceClosed) {
    struct TCase {
        TiPlotObject* Object;
        QObject* Page;
    };
    for (const TCase& C : {TCase{&Channel, &Channel}, TCase{nullptr, &Plot}}) {
        Events.clear();
        QObject* Shown = nullptr;
        bool Modal = false;
        Plot.SetEditorShown([&](TiPlotEditor& Editor) {
            Shown = Editor.CurrentObject();
            Modal = Editor.isModal() && Editor.isVisible();
            Events.push_back("shown");
            Editor.accept();
        });
        Plot.ShowEditor(C.Object);
        EXPECT_EQ(Shown, C.Page);
        EXPECT_TRUE(Modal);
        EXPECT_EQ(Plot.Editor(), nullptr);
        EXPECT_EQ(Events, (std::vector<std::string>{"open", "shown", "close"}));
    }
}

TEST_F(PlotEditorWindow, StayOnTopOpensOneWindowAndReusesIt) {
    Plot.SetEditorFormStyle(ipfsStayOnTop);
    Plot.ShowEditor(nullptr);
    QPointer<TiPlotEditor> Editor = Plot.Editor();
    ASSERT_NE(Editor, nullptr);
    EXPECT_TRUE(Editor->isVisible());
    EXPECT_FALSE(Editor->isModal());
    EXPECT_TRUE(Editor->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(Editor->windowTitle(), "Plot Editor");

    Plot.ShowEditor(Plot.YAxis(0));
    EXPECT_EQ(Plot.Editor(), Editor) << "the open window is reused";
    EXPECT_EQ(Editor->CurrentObject(), Plot.YAxis(0));
    EXPECT_EQ(Events, std::vector<std::string>{"open"});

    Editor->close();
    EXPECT_EQ(Events, (std::vector<std::string>{"open", "close"}));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(Editor, nullptr) << "a closed window is freed";
    EXPECT_EQ(Plot.Editor(), nullptr);
}

TEST_F(PlotEditorWindow, AnOpenEditorGoesWithThePlot) {
    auto* Owned = new TiPlot;
    Owned->SetEditorFormStyle(ipfsStayOnTop);
    Owned->ShowEditor(Owned->Channel(0));
    QPointer<TiPlotEditor> Editor = Owned->Editor();
    ASSERT_NE(Editor, nullptr);
    delete Owned;
    EXPECT_EQ(Editor, nullptr);
}

} // namespace
