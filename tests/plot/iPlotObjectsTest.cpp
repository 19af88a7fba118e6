#include "plot/iPlot.h"
#include "plot/iPlotAxis.h"
#include "plot/iPlotChannel.h"
#include "plot/iPlotDataCursor.h"
#include "plot/iPlotDataView.h"
#include "plot/iPlotLabel.h"
#include "plot/iPlotLayoutManager.h"
#include "plot/iPlotLegend.h"
#include "plot/iPlotLimit.h"
#include "plot/iPlotToolBar.h"
#include "tests/support/MessageOf.h"

#include "components/iGPFunctions.h"
#include "platform/Arith.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Exception.h"
#include "platform/SystemColors.h"
#include "platform/Text.h"
#include "tests/support/QtTestEnvironment.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

[[maybe_unused]] testing::Environment* const Environment =
    testing::AddGlobalTestEnvironment(new TQtTestEnvironment<QApplication>);

// An empty plot component: no default objects.
class EmptyPlot : public ::testing::Test {
  protected:
    TiPlotComponent Plot;
};

TEST_F(EmptyPlot, ChannelsGetNamesAndPaletteColours) {
    Plot.NewChannel();
    Plot.NewChannel();
    Plot.NewChannel();
    EXPECT_EQ(Plot.Channel(0)->Name(), "Channel 1");
    EXPECT_EQ(Plot.Channel(1)->Name(), "Channel 2");
    EXPECT_EQ(Plot.Channel(0)->TitleText(), "Channel 1");
    EXPECT_EQ(Plot.Channel(0)->Color(), clRed);
    EXPECT_EQ(Plot.Channel(1)->Color(), clYellow);
    EXPECT_EQ(Plot.Channel(2)->Color(), clBlue);
    EXPECT_TRUE(Plot.Channel(0)->XAxisName().empty()) << "no axis existed";
}

TEST_F(EmptyPlot, NumbersAreNotReused) {
    Plot.NewChannel();
    Plot.NewChannel();
    Plot.DeleteChannel(0);
    EXPECT_EQ(Plot.Channel(Plot.NewChannel())->Name(), "Channel 3");
    Plot.Channel(0)->SetName("channel  9");
    EXPECT_EQ(Plot.Channel(Plot.NewChannel())->Name(), "Channel 10");
    Plot.Channel(0)->SetName("Channel 9b");
    Plot.Channel(1)->SetName("Channelx");
    Plot.Channel(2)->SetName("Channel 1");
    EXPECT_EQ(Plot.Master().ChannelManager().NextName(), "Channel 2");
}

TEST_F(EmptyPlot, DefaultsOfTheOtherKinds) {
    Plot.NewXAxis();
    Plot.NewYAxis();
    Plot.NewChannel();
    Plot.NewDataView();
    Plot.NewDataCursor();
    Plot.NewLimit();
    Plot.NewLabel();
    EXPECT_EQ(Plot.XAxis(0)->Title(), "X-Axis 1");
    EXPECT_EQ(Plot.YAxis(0)->Title(), "Y-Axis 1");
    EXPECT_EQ(Plot.Channel(0)->XAxisName(), "X-Axis 1");
    EXPECT_EQ(Plot.Channel(0)->YAxisName(), "Y-Axis 1");
    EXPECT_EQ(Plot.DataView(0)->Name(), "Data View 1");
    EXPECT_EQ(Plot.DataView(0)->GridXAxisName(), "X-Axis 1");
    EXPECT_EQ(Plot.DataCursor(0)->Name(), "Cursor 1");
    EXPECT_EQ(Plot.DataCursor(0)->ChannelName(), "Channel 1");
    EXPECT_EQ(Plot.DataCursor(0)->DataView(), Plot.DataView(0));
    EXPECT_EQ(Plot.Limit(0)->YAxisName(), "Y-Axis 1");
    EXPECT_EQ(Plot.Label(0)->Caption(), "Label 1");
    EXPECT_EQ(Plot.Channel(0)->XAxis(), Plot.XAxis(0));
}

TEST_F(EmptyPlot, AnObjectWithANameKeepsIt) {
    auto& Manager = Plot.Master().ChannelManager();
    TiPlotObject* Channel = Manager.CreateObject();
    Channel->SetName("Loaded");
    Channel->NotifyInserted();
    EXPECT_EQ(Plot.Channel(0)->Name(), "Loaded");
    EXPECT_TRUE(Plot.Channel(0)->TitleText().empty());
}

TEST_F(EmptyPlot, ReferencesFollowRenamesAndSurviveDeletion) {
    Plot.NewXAxis();
    Plot.NewYAxis();
    Plot.NewChannel();
    Plot.NewChannel();
    EXPECT_EQ(Plot.Channel(0)->XAxis(), Plot.XAxis(0)); // resolved
    Plot.XAxis(0)->SetName("Time");
    EXPECT_EQ(Plot.Channel(0)->XAxisName(), "Time");
    EXPECT_EQ(Plot.Channel(1)->XAxisName(), "Time") << "not looked up yet, follows by name";
    Plot.YAxis(0)->SetName("Time");
    Plot.YAxis(0)->SetName("Level");
    EXPECT_EQ(Plot.Channel(1)->XAxisName(), "Time") << "a Y axis is not followed";
    EXPECT_EQ(Plot.Channel(1)->YAxisName(), "Level");
    EXPECT_EQ(Plot.FindXAxis("TIME"), Plot.XAxis(0));
    EXPECT_EQ(Plot.FindXAxis("nothing"), nullptr);

    Plot.DeleteXAxis(0);
    EXPECT_EQ(Plot.Channel(0)->XAxisName(), "Time");
    EXPECT_EQ(Plot.Channel(0)->XAxis(), nullptr);
    Plot.XAxis(Plot.NewXAxis())->SetName("time");
    EXPECT_EQ(Plot.Channel(0)->XAxis(), Plot.XAxis(0)) << "found again by name";
}

TEST_F(EmptyPlot, AnEmptyReferenceStaysEmpty) {
    Plot.NewChannel();
    Plot.NewDataView();
    Plot.NewDataCursor();
    EXPECT_TRUE(Plot.Channel(0)->XAxisName().empty());
    EXPECT_TRUE(Plot.DataView(0)->GridYAxisName().empty());
    Plot.DataCursor(0)->SetChannelName("");
    Plot.NewXAxis();
    Plot.NewYAxis();
    Plot.NewChannel();
    EXPECT_TRUE(Plot.Channel(0)->XAxisName().empty()) << "taken by the new X axis";
    EXPECT_TRUE(Plot.Channel(0)->YAxisName().empty());
    EXPECT_TRUE(Plot.DataView(0)->GridXAxisName().empty());
    EXPECT_TRUE(Plot.DataView(0)->GridYAxisName().empty());
    EXPECT_TRUE(Plot.DataCursor(0)->ChannelName().empty()) << "taken by the new channel";
    // A reference that named the renamed object still follows it.
    Plot.Channel(1)->SetName("Outside");
    Plot.DataCursor(0)->SetChannelName("Outside");
    Plot.Channel(1)->SetName("Inside");
    EXPECT_EQ(Plot.DataCursor(0)->ChannelName(), "Inside");
}

TEST_F(EmptyPlot, LabelZeroIsTheTitle) {
    Plot.NewLabel();
    Plot.NewLabel();
    Plot.NewLabel();
    EXPECT_EQ(MessageOf([&] { Plot.DeleteLabel(0); }),
              "Label Index 0 can not be Deleted (Resevered for Title)");
    Plot.ClearLabels();
    EXPECT_EQ(Plot.LabelCount(), 1);
    EXPECT_EQ(Plot.Label(0)->Name(), "Label 1");
    Plot.SetTitleText("Hello");
    EXPECT_EQ(Plot.TitleText(), "Hello");
}

TEST_F(EmptyPlot, ClearDestroysEveryObjectOfTheKind) {
    for (int K = 0; K < 3; ++K)
        Plot.NewChannel();
    Plot.NewLegend();
    Plot.ClearChannels();
    EXPECT_EQ(Plot.ChannelCount(), 0);
    EXPECT_EQ(Plot.LegendCount(), 1);
    EXPECT_EQ(Plot.Master().ObjectManager().Count(), 1);
    EXPECT_NE(MessageOf([&] { Plot.Channel(0); }), "no exception");
}

TEST_F(EmptyPlot, APlotIsRequired) {
    EXPECT_EQ(MessageOf([&] { TiPlotChannel(nullptr); }), "Owner must be assigned");
    EXPECT_EQ(MessageOf([&] { TiPlotLegendManager(nullptr, "Legend"); }), "Owner must be Assigned");
    EXPECT_EQ(MessageOf([&] { Plot.Master().ObjectManager().CreateObject(); }),
              "Object Manager does not support creation of objects");
}

TEST_F(EmptyPlot, PercentSpanStaysAtLeastFivePercentWide) {
    Plot.NewLegend();
    TiPlotLegend* L = Plot.Legend(0);
    L->SetStartPercent(98);
    EXPECT_EQ(std::vector<double>({L->StartPercent(), L->StopPercent()}),
              std::vector<double>({95, 100}));
    L->SetStartStopPercent(0, 100);
    L->SetStopPercent(3);
    EXPECT_EQ(std::vector<double>({L->StartPercent(), L->StopPercent()}),
              std::vector<double>({0, 5}));
    L->SetStartPercent(-10);
    EXPECT_EQ(L->StartPercent(), 0);
    L->SetStartStopPercent(20, 100);
    L->SetStopPercent(22);
    EXPECT_EQ(std::vector<double>({L->StartPercent(), L->StopPercent()}),
              std::vector<double>({17, 22}));
}

TEST_F(EmptyPlot, FocusMovesBetweenObjects) {
    Plot.NewChannel();
    Plot.NewChannel();
    // Channels drop their focus when another object takes it.
    Plot.Channel(0)->SetFocused(true);
    EXPECT_TRUE(Plot.Channel(0)->Focused());
    Plot.Master().ClearAllFocus();
    EXPECT_FALSE(Plot.Channel(0)->Focused());
    Plot.Channel(1)->SetFocused(true);
    Plot.Channel(1)->SetEnabled(false);
    EXPECT_FALSE(Plot.Channel(1)->Focused()) << "disabling removes the focus";
}

// ---- side assignment on the default plot

std::vector<std::string> Names(const std::vector<TiPlotLayoutObject*>& Objects) {
    std::vector<std::string> Result;
    for (TiPlotLayoutObject* O : Objects)
        Result.push_back(O->Name());
    return Result;
}

class DefaultPlot : public ::testing::Test {
  protected:
    TiPlot Plot;
    TiPlotLayoutManager& Layout = Plot.Master().LayoutManager();
};

TEST_F(DefaultPlot, HoldsTheDefaultObjectsInOrder) {
    std::vector<std::string> All;
    for (int I = 0; I < Plot.Master().ObjectManager().Count(); ++I)
        All.push_back(Plot.Master().ObjectManager().Items(I)->Name());
    EXPECT_EQ(All, (std::vector<std::string>{"Toolbar 1", "Legend 1", "X-Axis 1", "Y-Axis 1",
                                             "Channel 1", "Data View 1", "Cursor 1", "Title"}));
    EXPECT_EQ(Plot.TitleText(), "Untitled");
    EXPECT_EQ(Plot.Channel(0)->YAxis(), Plot.YAxis(0));
    EXPECT_NE(dynamic_cast<TiPlotChannel*>(Plot.Channel(0)), nullptr);
}

TEST_F(DefaultPlot, SidesFollowOrientationAndZOrder) {
    EXPECT_EQ(Names(Layout.TopList()), (std::vector<std::string>{"Title", "Toolbar 1"}));
    EXPECT_EQ(Names(Layout.BottomList()), (std::vector<std::string>{"X-Axis 1"}));
    EXPECT_EQ(Names(Layout.LeftList()), (std::vector<std::string>{"Y-Axis 1"}));
    EXPECT_EQ(Names(Layout.RightList()), (std::vector<std::string>{"Legend 1"}));
    EXPECT_EQ(Layout.TopRows(), 2);
    EXPECT_TRUE(Plot.ToolBar(0)->BeyondDataView());
    EXPECT_FALSE(Plot.XAxis(0)->BeyondDataView());
}

TEST_F(DefaultPlot, DataViewZHorzBelowTheAxisMovesItToTheTop) {
    Plot.SetDataViewZHorz(-1);
    EXPECT_EQ(Names(Layout.TopList()),
              (std::vector<std::string>{"X-Axis 1", "Title", "Toolbar 1"}));
    EXPECT_TRUE(Layout.BottomList().empty());
}

TEST_F(DefaultPlot, NewXAxisTakesTheBottomRow) {
    Plot.NewXAxis();
    EXPECT_EQ(Plot.XAxis(1)->ZOrder(), 0);
    EXPECT_EQ(Plot.XAxis(0)->ZOrder(), 1);
    EXPECT_EQ(Plot.DataViewZHorz(), 2);
    EXPECT_EQ(Plot.Label(0)->ZOrder(), 3);
    EXPECT_EQ(Plot.ToolBar(0)->ZOrder(), 4);
    EXPECT_EQ(Names(Layout.BottomList()), (std::vector<std::string>{"X-Axis 2", "X-Axis 1"}));
    Plot.DeleteXAxis(1);
    EXPECT_EQ(Plot.XAxis(0)->ZOrder(), 0) << "the empty row closes";
    EXPECT_EQ(Plot.ToolBar(0)->ZOrder(), 3);
}

TEST_F(DefaultPlot, ObjectsWithDisjointSpansShareARow) {
    Plot.ClearXAxes();
    Plot.NewXAxis();
    Plot.XAxis(0)->SetStartStopPercent(0, 50);
    Plot.NewXAxis();
    EXPECT_EQ(Plot.XAxis(0)->ZOrder(), 1) << "an overlapping span pushes";
    Plot.XAxis(1)->SetStartStopPercent(50, 100);
    Plot.XAxis(0)->SetZOrder(0);
    EXPECT_EQ(Names(Layout.BottomList()), (std::vector<std::string>{"X-Axis 1", "X-Axis 2"}));
    EXPECT_EQ(Layout.BottomRows(), 1);
}

TEST_F(DefaultPlot, XYAxesReverseTurnsTheAxes) {
    Plot.SetXYAxesReverse(true);
    EXPECT_FALSE(Plot.XAxis(0)->Horizontal());
    EXPECT_TRUE(Plot.YAxis(0)->Horizontal());
    EXPECT_EQ(Plot.XAxis(0)->ZOrder(), 0);
    EXPECT_EQ(Plot.YAxis(0)->ZOrder(), 0);
    EXPECT_TRUE(Plot.Channel(0)->XYSwap());
}

// The layout needs no widget: a host that hands the objects' reports to it.
class TLayoutOnlyHost : public TiPlotHost {
  public:
    TiPlotObject* FindObject(TiPlotKind Kind, const std::string& Name) override {
        for (TiPlotObject* O : Inserted)
            if (O->Kind() == Kind && SameName(O->Name(), Name))
                return O;
        return nullptr;
    }
    std::vector<TiPlotObject*> Objects(TiPlotKind) override { return {}; }
    void ObjectInserted(TiPlotObject* O) override {
        Inserted.push_back(O);
        Layout.InsertObject(O);
    }
    void ObjectChanged(TiPlotObject*) override {}
    void LayoutChanged(TiPlotObject* O) override { Layout.ObjectLayoutChanged(O); }
    void ObjectRenamed(TiPlotObject*) override {}
    void ObjectRemoving(TiPlotObject* O) override {
        Inserted.erase(std::remove(Inserted.begin(), Inserted.end(), O), Inserted.end());
        Layout.RemoveObject(O);
    }
    void FocusChanged(TiPlotObject*) override {}
    void SetHint(const std::string&, TPoint) override {}

    std::vector<TiPlotObject*> Inserted;
    TiPlotLayoutManager Layout{this};
};

TEST(Layout, PlacesObjectsWithoutAWidget) {
    TLayoutOnlyHost Host;
    // Made and destroyed as the plot does: the removal is told while whole.
    auto* X = new TiPlotXAxis(&Host);
    X->SetName("X");
    X->NotifyInserted();
    auto* Bar = new TiPlotToolBar(&Host);
    Bar->SetName("Bar");
    Bar->NotifyInserted();
    // Each new object took row 0 and pushed the rows of its orientation,
    // the data view's among them, one outwards.
    EXPECT_EQ(std::vector<int>({X->ZOrder(), Bar->ZOrder(), Host.Layout.DataViewHorz().ZOrder()}),
              std::vector<int>({1, 0, 2}));
    Bar->SetZOrder(3);
    EXPECT_EQ(Names(Host.Layout.BottomList()), (std::vector<std::string>{"X"}));
    EXPECT_EQ(Names(Host.Layout.TopList()), (std::vector<std::string>{"Bar"}));
    Host.Layout.DataViewHorz().SetZOrder(0);
    EXPECT_EQ(Names(Host.Layout.TopList()), (std::vector<std::string>{"X", "Bar"}));
    DestroyPlotObject(X);
    DestroyPlotObject(Bar);
    EXPECT_TRUE(Host.Layout.TopList().empty());
}

// A layout object of a kind with a fixed band and end margin.
template <typename TKind> class TSized : public TKind {
  public:
    TSized(TiPlotHost* Host, const char* Name, int Thickness, int EndMargin = 0)
        : TKind(Host), FThickness(Thickness), FEndMargin(EndMargin) {
        this->SetName(Name);
    }
    int Thickness(TCanvas&) override { return FThickness; }
    int EndMargin(TCanvas&) override { return FEndMargin; }

  private:
    int FThickness, FEndMargin;
};

// The default plot's objects at 500 x 200 with a lowered border, made as
// the default plot makes them.
class LayoutOf500x200 : public ::testing::Test {
  protected:
    LayoutOf500x200() {
        Host.Layout.SetEnabled(false);
        Add(ToolBar)->SetZOrder(3);
        Add(Legend)->SetZOrder(2);
        Add(X);
        Add(Y);
        Add(Title)->SetZOrder(2);
        Host.Layout.SetEnabled(true);
    }
    ~LayoutOf500x200() override {
        for (TiPlotLayoutObject* O : Objects)
            DestroyPlotObject(O);
    }
    template <typename T> T* Add(T* Object) {
        Object->NotifyInserted();
        Objects.push_back(Object);
        return Object;
    }
    TRect Layout(int Width = 500, int Height = 200) {
        TiPlotLayoutFrame Frame{Width, Height, 2, 5, 5, 5, 5};
        return Host.Layout.Layout(Picture.Canvas(), Frame);
    }

    TLayoutOnlyHost Host;
    TBitmap Picture{10, 10};
    std::vector<TiPlotLayoutObject*> Objects;
    TSized<TiPlotToolBar>* ToolBar = new TSized<TiPlotToolBar>(&Host, "Toolbar", 20);
    TSized<TiPlotLegend>* Legend = new TSized<TiPlotLegend>(&Host, "Legend", 60);
    TSized<TiPlotXAxis>* X = new TSized<TiPlotXAxis>(&Host, "X", 30);
    TSized<TiPlotYAxis>* Y = new TSized<TiPlotYAxis>(&Host, "Y", 40);
    TSized<TiPlotLabel>* Title = new TSized<TiPlotLabel>(&Host, "Title", 25);
};

TEST_F(LayoutOf500x200, RowsAroundTheDataView) {
    EXPECT_EQ(Layout(),
              Rect(5 + 2 + 40, 5 + 2 + 25 + 20, 500 - (2 + 60 + 5) - 1, 200 - (2 + 30 + 5) - 1));
    const std::pair<TiPlotLayoutObject*, TRect> Places[] = {
        {ToolBar, Rect(2, 2, 497, 22)}, // forced to the top edge, across the control
        {Title, Rect(7, 27, 495, 52)},  {X, Rect(47, 162, 432, 192)},
        {Y, Rect(7, 52, 47, 162)},      {Legend, Rect(432, 52, 492, 162)},
    };
    for (auto [Object, Place] : Places)
        EXPECT_EQ(Object->LayoutRect(), Place) << Object->Name();
}

TEST_F(LayoutOf500x200, EndMarginsWidenTheFrameWhereNoRowIsThicker) {
    auto* Wide = Add(new TSized<TiPlotXAxis>(&Host, "Wide", 10, 70));
    const TRect DataView = Layout();
    EXPECT_EQ(DataView.Left, 5 + 2 + 70) << "the X axes' end margin beats the Y axis row";
    EXPECT_EQ(DataView.Right, 500 - (2 + 70 + 5) - 1);
    EXPECT_EQ(Wide->LayoutRect().Top, DataView.Bottom + 30) << "a new axis takes the outer row";
}

TEST_F(LayoutOf500x200, ALoneToolBarLeavesRoomForTheVerticalEndMargins) {
    Title->SetVisible(false);
    auto* Tall = Add(new TSized<TiPlotYAxis>(&Host, "Tall", 10, 30));
    const TRect DataView = Layout();
    // Top: the larger of the toolbar row (20) and the vertical end stop
    // (30), and the end stop once more above the lone toolbar.
    EXPECT_EQ(DataView.Top, 5 + 2 + 30 + 30);
    EXPECT_EQ(ToolBar->LayoutRect(), Rect(2, 2, 497, 22));
    EXPECT_EQ(Tall->LayoutRect().Right, DataView.Left - 40) << "outside the first Y axis";
}

TEST_F(LayoutOf500x200, CartesianAxesCrossTheDataViewAndTakeNoRow) {
    const TRect Plain = Layout();
    auto* Master = Add(new TSized<TiPlotXAxis>(&Host, "Master", 30));
    Master->SetCartesianStyle(ipcsMaster);
    auto* Child = Add(new TSized<TiPlotXAxis>(&Host, "Child", 30));
    Child->SetCartesianStyle(ipcsChild);
    Child->SetCartesianChildRefAxisName("Y");
    Child->SetCartesianChildRefValue(25);
    auto* Orphan = Add(new TSized<TiPlotYAxis>(&Host, "Orphan", 30));
    Orphan->SetCartesianStyle(ipcsChild);
    const TRect DataView = Layout();
    EXPECT_EQ(DataView, Plain);
    const int Middle = (DataView.Top + DataView.Bottom) / 2;
    EXPECT_EQ(Master->LayoutRect(), Rect(DataView.Left, Middle, DataView.Right, Middle));
    const int At = Y->ValueToPixel(25);
    EXPECT_EQ(Child->LayoutRect(), Rect(DataView.Left, At, DataView.Right, At));
    EXPECT_EQ(Orphan->LayoutRect(), TRect()) << "no reference axis";
}

TEST_F(LayoutOf500x200, AnAlignedAxisTakesTheExtentOfItsReference) {
    X->SetStartStopPercent(20, 60);
    auto* Aligned = Add(new TSized<TiPlotXAxis>(&Host, "Aligned", 30));
    Aligned->SetAlignRefAxisName("x");
    Layout();
    EXPECT_EQ(Aligned->LayoutRect().Left, X->LayoutRect().Left);
    EXPECT_EQ(Aligned->LayoutRect().Right, X->LayoutRect().Right);
    EXPECT_NE(Aligned->LayoutRect().Top, X->LayoutRect().Top) << "in its own row";
}

TEST_F(LayoutOf500x200, ObjectsSharingARowAreStackedAgainstEachOther) {
    X->SetStartStopPercent(0, 50);
    auto* Second = Add(new TSized<TiPlotXAxis>(&Host, "Second", 30));
    Second->SetStartStopPercent(50, 100);
    Second->SetZOrder(X->ZOrder());
    const TRect DataView = Layout();
    EXPECT_TRUE(X->StackedAfter());
    EXPECT_FALSE(X->StackedBefore());
    EXPECT_TRUE(Second->StackedBefore());
    EXPECT_FALSE(Second->StackedAfter());
    const int Half = DataView.Left + int(Round((DataView.Right - DataView.Left) * 0.5));
    EXPECT_EQ(X->LayoutRect(), Rect(DataView.Left, DataView.Bottom, Half, DataView.Bottom + 30));
    EXPECT_EQ(Second->LayoutRect(),
              Rect(Half, DataView.Bottom, DataView.Right, DataView.Bottom + 30));
}

// ---- channels

TEST_F(DefaultPlot, ChannelStatistics) {
    TiPlotChannelCustom* C = Plot.Channel(0);
    C->AddXY(1, 20);
    C->AddXY(2, 30);
    C->AddXY(3, 10);
    EXPECT_EQ(
        std::vector<double>({C->XMin(), C->XMax(), C->YMin(), C->YMax(), C->YMean(), C->XMean()}),
        std::vector<double>({1, 3, 10, 30, 20, 2}));
    C->Clear();
    C->AddXY(5, 7);
    EXPECT_EQ(
        std::vector<double>({C->XMin(), C->XMax(), C->XMean(), C->YMin(), C->YMax(), C->YMean()}),
        std::vector<double>({5, 5, 5, 7, 7, 7}));
}

TEST_F(DefaultPlot, ANewChannelHoldsTheSentinels) {
    TiPlotChannelCustom* C = Plot.Channel(0);
    EXPECT_EQ(
        std::vector<double>({C->XMin(), C->XMax(), C->YMin(), C->YMax(), C->XMean(), C->YMean()}),
        std::vector<double>({1e300, -1e300, 1e300, -1e300, 0, 0}));
    EXPECT_EQ(C->StatCount(), 0);
}

TEST_F(DefaultPlot, RecalculateSkipsNullAndEmptyPoints) {
    TiPlotChannelCustom* C = Plot.Channel(0);
    for (double Y : {4.0, 100.0, 8.0, -50.0})
        C->AddXY(C->Count(), Y);
    C->SetNull(1, true);
    C->SetEmpty(3, true);
    EXPECT_EQ(C->YMax(), 100) << "kept until recalculated";
    C->RecalculateStatistics();
    EXPECT_EQ(C->StatCount(), 2);
    EXPECT_EQ(C->YMax(), 8);
    EXPECT_EQ(C->YMin(), 4);
    EXPECT_EQ(C->YMean(), 6);
}

TEST_F(DefaultPlot, MeanKeepsExtendedPrecision) {
    TiPlotChannelCustom* C = Plot.Channel(0);
    C->AddXY(0, 1e16);
    for (int K = 0; K < 10; ++K)
        C->AddXY(0, 1);
    // In double precision each +1 on 1e16 would be lost.
    EXPECT_DOUBLE_EQ(C->YMean(), double((1e16L + 10) / 11));
}

TEST_F(DefaultPlot, DataStyleKeepsAttributesAndRingSize) {
    TiPlotChannelCustom* C = Plot.Channel(0);
    C->SetColor(clAqua);
    C->SetTraceLineWidth(3);
    C->SetRingBufferSize(10);
    C->AddXY(1, 1);
    C->SetDataStyle(ipdsStandard);
    EXPECT_EQ(C->Count(), 1) << "the same style keeps the points";
    C->SetDataStyle(ipdsFullFeature);
    EXPECT_EQ(C->Count(), 0);
    EXPECT_EQ(C->ItemSize(), 136);
    EXPECT_EQ(C->Color(), clAqua);
    EXPECT_EQ(C->TraceLineWidth(), 3);
    EXPECT_EQ(C->RingBufferSize(), 10);
    C->AddXY(1, 1);
    C->SetColor(clLime);
    EXPECT_EQ(C->PointAttributes(0).Color, clAqua) << "full feature points keep their colour";
}

// The plot as host, counting repaint requests.
class TCountingHost : public TiPlotHost {
  public:
    explicit TCountingHost(TiPlotHost& Plot) : FPlot(Plot) {}
    TiPlotObject* FindObject(TiPlotKind Kind, const std::string& Name) override {
        return FPlot.FindObject(Kind, Name);
    }
    std::vector<TiPlotObject*> Objects(TiPlotKind Kind) override { return FPlot.Objects(Kind); }
    void ObjectInserted(TiPlotObject* O) override { FPlot.ObjectInserted(O); }
    void ObjectChanged(TiPlotObject* O) override {
        ++Changes;
        FPlot.ObjectChanged(O);
    }
    void LayoutChanged(TiPlotObject* O) override { FPlot.LayoutChanged(O); }
    void ObjectRenamed(TiPlotObject* O) override { FPlot.ObjectRenamed(O); }
    void ObjectRemoving(TiPlotObject* O) override { FPlot.ObjectRemoving(O); }
    void FocusChanged(TiPlotObject* O) override { FPlot.FocusChanged(O); }
    void SetHint(const std::string& Text, TPoint P) override { FPlot.SetHint(Text, P); }

    int Changes = 0;

  private:
    TiPlotHost& FPlot;
};

TEST_F(DefaultPlot, ChannelRepaintsThroughThePlot) {
    TCountingHost Host(Plot);
    int& Changes = Host.Changes;
    TiPlotChannel Channel(&Host);
    Channel.AddXY(1, 1);
    Channel.SetColor(clRed); // unchanged
    Channel.SetColor(clBlue);
    EXPECT_EQ(Changes, 2);
}

// ---- labels

TEST_F(DefaultPlot, LabelBandIsItsTextHeightAndMargins) {
    TBitmap Picture(10, 10);
    TCanvas& Canvas = Picture.Canvas();
    TiPlotLabel& L = *Plot.Label(0);
    const int OneLine = L.Thickness(Canvas);
    ASSERT_GT(OneLine, 0);
    L.SetCaption("Untitled\nSecond line");
    EXPECT_EQ(L.Thickness(Canvas), 2 * OneLine);
    L.SetCaption("Untitled");
    L.SetMarginTop(1.5);
    L.SetMarginBottom(0.5);
    Canvas.Font() = L.Font();
    const int CharHeight = GetTextHeight(Canvas, "0");
    EXPECT_EQ(L.Thickness(Canvas),
              OneLine + int(Round(CharHeight * 1.5)) + int(Round(CharHeight * 0.5)));
}

TEST_F(DefaultPlot, LabelAlignmentUnchangedAsksNoRepaint) {
    TCountingHost Host(Plot);
    TiPlotLabel Label(&Host);
    Host.Changes = 0;
    Label.SetAlignment(iahCenter);
    EXPECT_EQ(Host.Changes, 0);
    Label.SetAlignment(iahLeft);
    EXPECT_EQ(Host.Changes, 1);
}

// The rows of white pixels of a picture: first and last.
std::pair<int, int> WhiteRows(TBitmap& Picture) {
    int First = -1, Last = -1;
    for (int Y = 0; Y < Picture.Height(); ++Y)
        for (int X = 0; X < Picture.Width(); ++X)
            if (Picture.Canvas().Pixel(X, Y) == clWhite) {
                First = First < 0 ? Y : First;
                Last = Y;
            }
    return {First, Last};
}

TEST_F(DefaultPlot, AVerticalLabelReadsUpwardFromItsAlignedEnd) {
    TiPlotLabel& L = *Plot.Label(0);
    L.SetHorizontal(false);
    L.SetLayoutRect(Rect(10, 10, 40, 390));
    for (auto [Alignment, NearBottom] : {std::pair{iahLeft, true}, std::pair{iahRight, false}}) {
        TBitmap Picture(50, 400);
        Picture.Canvas().Brush().SetColor(clBlack);
        Picture.Canvas().FillRect(Rect(0, 0, 50, 400));
        L.SetAlignment(Alignment);
        L.Draw(Picture.Canvas(), clBlack);
        auto [First, Last] = WhiteRows(Picture);
        ASSERT_GE(First, 0) << Alignment;
        EXPECT_EQ(NearBottom, First > 200) << First << ".." << Last;
        EXPECT_EQ(NearBottom, Last > 300) << First << ".." << Last;
    }
}

// ---- toolbar and legend bands

TEST_F(DefaultPlot, ToolBarBandAndZoomFactor) {
    TBitmap Picture(10, 10);
    TiPlotToolBar& Bar = *Plot.ToolBar(0);
    EXPECT_EQ(Bar.Thickness(Picture.Canvas()), 36);
    Bar.SetSmallButtons(true);
    EXPECT_EQ(Bar.Thickness(Picture.Canvas()), 28);
    for (auto [Given, Stored] :
         {std::pair{0.5, 1.0}, std::pair{std::nan(""), 1.0}, std::pair{3.0, 3.0}}) {
        Bar.SetZoomInOutFactor(Given);
        EXPECT_EQ(Bar.ZoomInOutFactor(), Stored) << Given;
    }
}

TEST_F(DefaultPlot, LegendWidthFollowsTheLongestListedName) {
    TBitmap Picture(10, 10);
    TCanvas& Canvas = Picture.Canvas();
    TiPlotLegend& Legend = *Plot.Legend(0);
    const int Short = Legend.Thickness(Canvas);
    Plot.Channel(0)->SetTitleText("A much longer channel title");
    const int Long = Legend.Thickness(Canvas);
    Canvas.Font() = Legend.Font();
    EXPECT_EQ(Long - Short,
              Canvas.TextWidth("A much longer channel title") - Canvas.TextWidth("Channel 1"));
    Plot.Channel(0)->SetVisibleInLegend(false);
    EXPECT_LT(Legend.Thickness(Canvas), Short) << "no name listed";
}

TEST_F(DefaultPlot, DataViewBackgroundFillsItsRectangleUnlessTransparent) {
    TBitmap Picture(500, 200);
    Plot.SetBackGroundColor(clNavy);
    Plot.DataView(0)->SetGridShow(false); // the frame would cover the edges
    Plot.Paint(Picture.Canvas());
    const TRect View = Plot.DataView(0)->LayoutRect();
    EXPECT_EQ(Picture.Canvas().Pixel(View.Left + 20, View.Top + 20), clNavy) << "transparent";
    Plot.DataView(0)->SetBackgroundTransparent(false);
    Plot.DataView(0)->SetBackgroundColor(clTeal);
    Plot.Paint(Picture.Canvas());
    EXPECT_EQ(Picture.Canvas().Pixel(View.Left + 20, View.Top + 20), clTeal);
    EXPECT_EQ(Picture.Canvas().Pixel(View.Right, View.Bottom - 20), clTeal) << "right edge";
    EXPECT_EQ(Picture.Canvas().Pixel(View.Right + 1, View.Bottom - 20), clNavy);
}

TEST_F(DefaultPlot, ToolBarFaceSpansTheTopOfThePlot) {
    TBitmap Picture(500, 200);
    Plot.Paint(Picture.Canvas());
    const TRect Bar = Plot.ToolBar(0)->LayoutRect();
    EXPECT_EQ(Bar, Rect(2, 2, 497, 38));
    EXPECT_EQ(Picture.Canvas().Pixel(450, 20), Picture.Canvas().Pixel(10, 20));
    EXPECT_NE(Picture.Canvas().Pixel(450, 20), Picture.Canvas().Pixel(250, 100));
}

// ---- painting what is built so far

TEST_F(DefaultPlot, PaintsItsBackgroundOnlyWithToolbarLegendAndDataView) {
    TBitmap Picture(500, 200);
    Plot.SetBackGroundColor(clNavy);
    Plot.Paint(Picture.Canvas());
    EXPECT_EQ(Picture.Canvas().Pixel(250, 100), clNavy);

    // The border and the toolbar band would cover the gradient's first row.
    Plot.SetBackGroundGradientEnabled(true);
    Plot.SetBorderStyle(ibsNone);
    Plot.ToolBar(0)->SetVisible(false);
    Plot.Paint(Picture.Canvas());
    EXPECT_EQ(Picture.Canvas().Pixel(250, 0), clBlue) << "the gradient starts blue at the top";
    EXPECT_EQ(Picture.Canvas().Pixel(250, 199), clBlack);

    // The border is drawn over the gradient, with the frame.
    Plot.SetBorderStyle(ibsLowered);
    Plot.Paint(Picture.Canvas());
    EXPECT_NE(Picture.Canvas().Pixel(250, 0), clBlue);

    Plot.DeleteToolBar(0);
    Picture.Canvas().Brush().SetColor(clWhite);
    Picture.Canvas().FillRect(Rect(0, 0, 500, 200));
    Plot.Paint(Picture.Canvas());
    EXPECT_EQ(Picture.Canvas().Pixel(250, 100), clWhite) << "blank without a toolbar";
}

// Channels that note when they are drawn.
class TRecordingChannel : public TiPlotChannel {
  public:
    TRecordingChannel(TiPlotHost* Host, std::vector<std::string>& Drawn)
        : TiPlotChannel(Host), FDrawn(Drawn) {}
    void Draw(TCanvas&, TColor) override { FDrawn.push_back(Name()); }

  private:
    std::vector<std::string>& FDrawn;
};

class TRecordingPlot : public TiPlotComponent {
  public:
    TRecordingPlot()
        : TiPlotComponent(nullptr,
                          [this](TiPlotHost* Host) { return new TRecordingChannel(Host, Drawn); }) {
    }
    std::vector<std::string> Drawn;
};

TEST(PaintOrder, ByLayerThenTheFirstChannelOnTop) {
    TRecordingPlot Plot;
    Plot.NewToolBar();
    Plot.NewLegend();
    Plot.NewDataView();
    Plot.NewXAxis();
    Plot.NewYAxis();
    // Only channels with axes and points in view are drawn.
    for (int I = 0; I < 3; ++I)
        Plot.Channel(Plot.NewChannel())->AddXY(50, 50);
    Plot.Channel(2)->SetLayer(50);
    TBitmap Picture(500, 200);
    Plot.Paint(Picture.Canvas());
    EXPECT_EQ(Plot.Drawn, (std::vector<std::string>{"Channel 3", "Channel 2", "Channel 1"}));
    const std::vector<TiPlotObject*> List = Plot.DrawList();
    ASSERT_EQ(List.size(), 4u);
    EXPECT_EQ(List[1], Plot.DataView(0)) << "the data view under the channels of its layer";
}

TEST_F(DefaultPlot, FilledBandsGoUnderTheGridOtherLimitsOverIt) {
    struct TCase {
        TiPlotLimitStyle Style;
        TBrushStyle Fill;
        bool Behind;
    } Cases[] = {{iplsLineX, bsSolid, false},   {iplsLineY, bsSolid, false},
                 {iplsBandX, bsSolid, true},    {iplsBandY, bsDiagCross, true},
                 {iplsBandY, bsClear, false},   {iplsPolyBandX, bsClear, true},
                 {iplsPolyBandY, bsSolid, true}};
    TiPlotLimit* Limit = Plot.Limit(Plot.NewLimit());
    for (const TCase& C : Cases) {
        Limit->SetStyle(C.Style);
        Limit->SetFillStyle(C.Fill);
        const std::vector<TiPlotObject*> List = Plot.DrawList();
        const auto Before = [&](TiPlotObject* A, TiPlotObject* B) {
            return std::find(List.begin(), List.end(), A) < std::find(List.begin(), List.end(), B);
        };
        EXPECT_EQ(Before(Limit, Plot.DataView(0)), C.Behind) << int(C.Style) << " " << int(C.Fill);
        EXPECT_TRUE(Before(Limit, Plot.Channel(0))) << "under the traces either way";
    }
}

TEST_F(DefaultPlot, HintBoxOverEverythingInTooltipColours) {
    TBitmap Picture(500, 200);
    Plot.SetHint("Temperature", Point(100, 60));
    Plot.ShowHint();
    Plot.Paint(Picture.Canvas());
    EXPECT_TRUE(Plot.HintDrawn());
    TCanvas& C = Picture.Canvas();
    C.Font() = Plot.HintsFont();
    const TColor Back = ColorToRGB(clInfoBk);
    EXPECT_EQ(C.Pixel(100, 60), Back);
    EXPECT_EQ(C.Pixel(100 + C.TextWidth("Temperature") + 3, 60 + C.TextHeight("Temperature") + 3),
              Back);
    EXPECT_NE(C.Pixel(100 + C.TextWidth("Temperature") + 4, 60), Back);
    Plot.HideHint();
    Plot.Paint(Picture.Canvas());
    EXPECT_FALSE(Plot.HintDrawn());
    EXPECT_NE(Picture.Canvas().Pixel(100, 60), Back);
}

TEST_F(DefaultPlot, LegendShowsAllChannelsForAVisibleCursorReadingAll) {
    TBitmap Picture(500, 200);
    TiPlotDataCursor* Cursor = Plot.DataCursor(0);
    struct TCase {
        bool Visible;
        const char* Channel;
        bool InLegend;
        bool ShowAll;
    } Cases[] = {{true, "<all>", true, true},
                 {false, "<All>", true, false},
                 {true, "Channel 1", true, false},
                 {true, "<All>", false, false}};
    for (const TCase& C : Cases) {
        Cursor->SetVisible(C.Visible);
        Cursor->SetChannelName(C.Channel);
        Cursor->SetChannelShowAllInLegend(C.InLegend);
        Plot.Paint(Picture.Canvas());
        EXPECT_EQ(Plot.Legend(0)->ShowAllChannels(), C.ShowAll) << C.Visible << C.Channel;
    }
}

TEST_F(DefaultPlot, OccupiedRectanglesKeepLabelsApartInsideTheDataView) {
    TBitmap Picture(500, 200);
    Plot.Paint(Picture.Canvas());
    const TRect View = Plot.DataView(0)->LayoutRect();
    const TRect Outside = Rect(0, 0, 10, 10);
    const TRect First = Rect(View.Left + 10, View.Top + 10, View.Left + 40, View.Top + 20);
    struct TCase {
        TRect Rect;
        bool Taken;
    };
    const TCase Cases[] = {
        {First, true},
        {Rect(View.Left + 30, View.Top + 15, View.Left + 60, View.Top + 25), false}, // overlaps
        {Outside, false}, // leaves the data view once one is taken
        {Rect(View.Left + 40, View.Top + 10, View.Left + 70, View.Top + 20), true}, // touches
    };
    for (const TCase& C : Cases)
        EXPECT_EQ(Plot.TryRegisterRect(C.Rect), C.Taken) << C.Rect.Left << "," << C.Rect.Top;
    Plot.Paint(Picture.Canvas());
    EXPECT_TRUE(Plot.TryRegisterRect(Outside)) << "a paint starts with none taken";
}

// A plot that counts its paints.
class TCountingPlot : public TiPlot {
  public:
    int Paints = 0;

  protected:
    void iPaintTo(TCanvas& Canvas) override {
        ++Paints;
        TiPlot::iPaintTo(Canvas);
    }
};

TEST(PlotRepaint, AThousandPointsASecondPaintAtMostTheFrameRate) {
    TCountingPlot Plot;
    Plot.show();
    QElapsedTimer Clock;
    Clock.start();
    while (Clock.elapsed() < 200)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    Plot.Paints = 0;
    int Added = 0;
    QTimer Adding;
    QObject::connect(&Adding, &QTimer::timeout, [&] {
        Plot.Channel(0)->AddXY(Added, Added);
        ++Added;
    });
    Adding.start(1);
    Clock.restart();
    while (Clock.elapsed() < 1000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    Adding.stop();
    EXPECT_GT(Added, 100);
    EXPECT_GE(Plot.Paints, 1);
    EXPECT_LE(Plot.Paints, Plot.UpdateFrameRate() + 1) << Added << " points added";
}

// ---- stored object lists

class StoredPlot : public DefaultPlot {
  protected:
    // One file per test: ctest runs the tests side by side.
    std::string FileName = ::testing::TempDir() + "plot-objects-" +
                           ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".txt";
    ~StoredPlot() override { std::remove(FileName.c_str()); }
};

TEST_F(StoredPlot, ObjectListsRoundTrip) {
    Plot.XAxis(0)->SetName("Time");
    Plot.XAxis(0)->SetSpan(250);
    Plot.Channel(0)->SetTitleText("Temperature 1");
    Plot.Channel(0)->SetColor(clLime);
    Plot.Channel(Plot.NewChannel())->SetTraceLineWidth(3);
    static_cast<TiPlotChannel*>(Plot.Channel(1))->SetInterpolationStyle(ipistCubicSpline);
    Plot.Channel(1)->SetDataStyle(ipdsCompact);
    Plot.Label(0)->SetCaption("Sensor");
    Plot.NewLimit();
    Plot.SaveDesignToFile(FileName);

    TiPlot Loaded;
    Loaded.NewChannel(); // replaced by the stored list
    Loaded.LoadDesignFromFile(FileName);
    ASSERT_EQ(Loaded.ChannelCount(), 2);
    EXPECT_EQ(Loaded.XAxis(0)->Name(), "Time");
    EXPECT_EQ(Loaded.XAxis(0)->Span(), 250);
    EXPECT_EQ(Loaded.XAxis(0)->Title(), "X-Axis 1") << "the stored title, not a new default";
    EXPECT_EQ(Loaded.Channel(0)->TitleText(), "Temperature 1");
    EXPECT_EQ(Loaded.Channel(0)->Color(), clLime);
    EXPECT_EQ(Loaded.Channel(0)->XAxisName(), "Time");
    EXPECT_EQ(Loaded.Channel(0)->XAxis(), Loaded.XAxis(0));
    EXPECT_EQ(Loaded.Channel(1)->TraceLineWidth(), 3);
    EXPECT_EQ(Loaded.Channel(1)->DataStyle(), ipdsCompact);
    EXPECT_EQ(static_cast<TiPlotChannel*>(Loaded.Channel(1))->InterpolationStyle(),
              ipistCubicSpline);
    EXPECT_EQ(Loaded.LimitCount(), 1);
    EXPECT_EQ(Loaded.TitleText(), "Sensor");
    EXPECT_EQ(Loaded.Label(0)->Name(), "Title");
    EXPECT_EQ(Loaded.ToolBar(0)->ZOrder(), Plot.ToolBar(0)->ZOrder());
    EXPECT_EQ(Loaded.DataViewZHorz(), 1);
    EXPECT_EQ(Names(Loaded.Master().LayoutManager().TopList()),
              (std::vector<std::string>{"Title", "Toolbar 1"}));
}

TEST_F(StoredPlot, TranslationTableRoundTrip) {
    TiPlotTranslationManager& Table = Plot.Master().TranslationManager();
    EXPECT_EQ(Table.Translate("Empty"), "Empty");
    EXPECT_EQ(Table.NewEntry().ReplacementString(), "Unknown");
    EXPECT_EQ(Table.Translate("Unknown"), "Unknown");
    Table.Delete(0);
    TiPlotTranslationObject& Entry = Table.NewEntry();
    Entry.SetOriginalString("Empty");
    Entry.SetReplacementString("Leer");
    EXPECT_EQ(Table.Translate("Empty"), "Leer");
    EXPECT_EQ(Table.Translate("empty"), "empty") << "case-sensitive";
    Plot.SaveDesignToFile(FileName);

    TiPlot Loaded;
    Loaded.LoadDesignFromFile(FileName);
    ASSERT_EQ(Loaded.Master().TranslationManager().Count(), 1);
    EXPECT_EQ(Loaded.Master().TranslationManager().Translate("Empty"), "Leer");
    Table.Delete(0);
    EXPECT_FALSE(Table.HasEntries());
    EXPECT_EQ(Table.Translate("Empty"), "Empty");
}

TEST_F(StoredPlot, ABadEntryFailsWithTheLoadingPrefix) {
    Plot.SaveDesignToFile(FileName);
    {
        std::ofstream File(FileName, std::ios::app);
        File << "ChannelManager.Item0.Color = green\r\n";
    }
    TiPlot Loaded;
    const std::string Message = MessageOf([&] { Loaded.LoadDesignFromFile(FileName); });
    EXPECT_EQ(Message.rfind("Error Loading Properties - ", 0), 0u) << Message;
    for (const char* Bad : {"ChannelManager.Items = 1", "ChannelManager.Item-1.Name = x",
                            "ChannelManager.Count = many"}) {
        std::ofstream(FileName) << "File Type = TiPlot\r\n" << Bad << "\r\n";
        EXPECT_EQ(MessageOf([&] {
                      Loaded.LoadDesignFromFile(FileName);
                  }).rfind("Error Loading Properties - ", 0),
                  0u)
            << Bad;
    }
}

TEST_F(StoredPlot, AxisEventsCarryTheIndexAndStayQuietWhileLoading) {
    Plot.NewXAxis();
    std::vector<std::vector<double>> Heard;
    Plot.SetEvent(&TiPlotEvents::OnXAxisMinChange, [&](int Index, double Old, double New) {
        Heard.push_back({1, double(Index), Old, New});
    });
    Plot.SetEvent(&TiPlotEvents::OnYAxisSpanChange, [&](int Index, double Old, double New) {
        Heard.push_back({2, double(Index), Old, New});
    });
    Plot.SetEvent(&TiPlotEvents::OnYAxisMinSpanChange,
                  [&](int Index, double OldMin, double OldSpan, double NewMin, double NewSpan) {
                      Heard.push_back({3, double(Index), OldMin, OldSpan, NewMin, NewSpan});
                  });
    Plot.SetEvent(&TiPlotEvents::OnXAxisCustomizeLabel,
                  [](int Index, double Value, std::string& Label) {
                      Label = std::to_string(Index) + ":" + FormatDecimal(int(Value), 1);
                  });
    Plot.XAxis(1)->SetMin(10);
    Plot.YAxis(0)->SetMinSpan(0, 40);
    using V = std::vector<std::vector<double>>;
    EXPECT_EQ(Heard, (V{{1, 1, 0, 10}, {2, 0, 100, 40}, {3, 0, 0, 100, 0, 40}}));
    EXPECT_EQ(Plot.XAxis(1)->LabelText(20), "1:20");

    // Older stored forms name the span "Span_2"; it is read, never written.
    Plot.SaveDesignToFile(FileName);
    std::string Text;
    {
        std::ifstream File(FileName);
        Text.assign(std::istreambuf_iterator<char>(File), {});
    }
    EXPECT_EQ(Text.find("Span_2"), std::string::npos);
    const std::string Line = "YAxisManager.Item0.Span = 40";
    ASSERT_NE(Text.find(Line), std::string::npos);
    Text.replace(Text.find(Line), Line.size(), "YAxisManager.Item0.Span_2 = 25");
    std::ofstream(FileName) << Text;
    Heard.clear();
    Plot.LoadDesignFromFile(FileName);
    EXPECT_EQ(Plot.YAxis(0)->Span(), 25);
    EXPECT_EQ(Plot.XAxis(1)->Min(), 10);
    EXPECT_TRUE(Heard.empty()) << "no events while loading";
    Plot.XAxis(1)->SetMin(5);
    EXPECT_EQ(Heard, (V{{1, 1, 10, 5}})) << "the loaded axes report again";
    Plot.XAxis(Plot.NewXAxis())->SetMin(7);
    EXPECT_EQ(Heard.back(), (std::vector<double>{1, 2, 0, 7})) << "and so does a new one";
}

// ---- buttons

TEST(PlotButton, ClickOnReleaseInside) {
    TiPlotButton B;
    B.SetRect({10, 10, 20, 20});
    B.SetGroupIndex(1);
    std::vector<std::string> Calls;
    B.SetOnClick([&](TiPlotButton*) { Calls.push_back("click"); });
    B.SetOnGroupClick([&](TiPlotButton*) { Calls.push_back("group"); });
    B.MouseDown(12, 12);
    B.MouseUp(15, 15);
    B.MouseDown(12, 12);
    B.MouseUp(20, 15);
    B.MouseUp(15, 15); // not pressed any more
    EXPECT_EQ(Calls, (std::vector<std::string>{"group", "click"}));
}

TEST(PlotButton, AutoRepeatWhileHeld) {
    TiPlotButton B;
    B.SetRect({0, 0, 10, 10});
    B.SetAutoRepeat(true);
    int Clicks = 0;
    B.SetOnClick([&](TiPlotButton*) { ++Clicks; });
    B.MouseDown(5, 5);
    ASSERT_NE(B.RepeatTimer(), nullptr);
    EXPECT_EQ(B.RepeatTimer()->interval(), 500);
    QTimer::singleShot(660, [] { QCoreApplication::quit(); });
    QCoreApplication::exec();
    EXPECT_TRUE(B.Repeating());
    EXPECT_EQ(B.RepeatTimer()->interval(), 50);
    EXPECT_GE(Clicks, 1);
    B.SetEnabled(false);
    EXPECT_EQ(B.RepeatTimer(), nullptr);
}

} // namespace
