#include "plot/iPlotDataCustomList.h"
#include "tests/support/MessageOf.h"

#include "platform/Exception.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

namespace {

using TListFactory = std::function<std::unique_ptr<TiPlotDataCustomList>()>;

struct TVariant {
    const char* Name;
    TListFactory Make;
    int ItemSize;
    const char* DeleteMessage;
    bool DeletesAllPoints; // DeleteFirst(Count) is allowed
};

void PrintTo(const TVariant& V, std::ostream* Out) {
    *Out << V.Name;
}

const TVariant Variants[] = {
    {"Full", [] { return std::make_unique<TiPlotDataFullList>(); }, 136, "Delete Size Out Of Range",
     false},
    {"Standard", [] { return std::make_unique<TiPlotDataNullList>(); }, 24,
     "Delete size out of Range", false},
    {"Compact", [] { return std::make_unique<TiPlotDataCompactList>(); }, 8,
     "Delete size out of Range", false},
    {"CompactInterval", [] { return std::make_unique<TiPlotDataCompactIntervalList>(); }, 4,
     "Delete size out of Range", true},
};

std::vector<double> Ys(const TiPlotDataCustomList& L) {
    std::vector<double> Result;
    for (int I = 0; I < L.Count(); ++I)
        Result.push_back(L.Y(I));
    return Result;
}

// Adds points (K, K) for K in From .. To; integers are exact in every variant.
void AddRange(TiPlotDataCustomList& L, int From, int To) {
    for (int K = From; K <= To; ++K)
        L.AddXY(K, K);
}

class DataList : public ::testing::TestWithParam<TVariant> {
  protected:
    std::unique_ptr<TiPlotDataCustomList> List = GetParam().Make();
};

TEST_P(DataList, StartsEmptyAndGrowsInSteps) {
    TiPlotDataCustomList& L = *List;
    EXPECT_EQ(L.ItemSize(), GetParam().ItemSize);
    EXPECT_EQ(L.MaxCapacity(), 2147483647 / GetParam().ItemSize);
    EXPECT_EQ(L.Capacity(), 0);
    EXPECT_TRUE(L.Defaults().BarVisible);
    std::vector<int> Capacities;
    for (int K = 0; K < 118; ++K) {
        EXPECT_EQ(L.AddXY(K, K), K);
        if (Capacities.empty() || Capacities.back() != L.Capacity())
            Capacities.push_back(L.Capacity());
    }
    EXPECT_EQ(Capacities, (std::vector<int>{4, 8, 12, 28, 44, 60, 76, 95, 118}));
    EXPECT_EQ(L.MemoryUsed(), 118LL * GetParam().ItemSize);
    L.AddXY(118, 118);
    EXPECT_EQ(L.Capacity(), 147);
    EXPECT_DOUBLE_EQ(L.Y(118), 118);
}

TEST_P(DataList, IndexOutsideThePointsFails) {
    TiPlotDataCustomList& L = *List;
    AddRange(L, 1, 2);
    for (int Index : {-1, 2, 100}) {
        EXPECT_EQ(MessageOf([&] { L.Y(Index); }), "Index out of Bounds");
        EXPECT_EQ(MessageOf([&] { L.Null(Index); }), "Index out of Bounds");
        EXPECT_EQ(MessageOf([&] { L.SetY(Index, 0); }), "Index out of Bounds");
        EXPECT_EQ(MessageOf([&] { L.PointAttributes(Index); }), "Index out of Bounds");
        double X, Y;
        bool N, E;
        EXPECT_EQ(MessageOf([&] { L.GetPoint(Index, X, N, E, Y); }), "Index out of Bounds");
    }
}

TEST_P(DataList, RingBufferKeepsTheNewestPoints) {
    TiPlotDataCustomList& L = *List;
    L.SetRingBufferSize(3);
    for (int K = 1; K <= 5; ++K)
        EXPECT_EQ(L.AddXY(K, K), std::min(K - 1, 2)) << "the index of the new point";
    EXPECT_EQ(L.Count(), 3);
    EXPECT_EQ(Ys(L), (std::vector<double>{3, 4, 5}));
    EXPECT_EQ(L.GetRingBufferSize(), 3);
    AddRange(L, 6, 9);
    EXPECT_EQ(Ys(L), (std::vector<double>{7, 8, 9}));
    L.Clear();
    EXPECT_EQ(L.Count(), 0);
    EXPECT_EQ(L.Capacity(), 3) << "ring mode keeps its block";
    AddRange(L, 1, 2);
    EXPECT_EQ(Ys(L), (std::vector<double>{1, 2}));
}

TEST_P(DataList, SwitchingTheRingOff) {
    TiPlotDataCustomList& L = *List;
    L.SetRingBufferSize(3);
    AddRange(L, 1, 2);
    L.SetRingBufferSize(0);
    EXPECT_EQ(Ys(L), (std::vector<double>{1, 2})) << "a ring that never wrapped keeps its points";
    EXPECT_EQ(L.GetRingBufferSize(), 0);
    AddRange(L, 3, 5);
    EXPECT_EQ(L.Count(), 5);

    L.SetRingBufferSize(3);
    EXPECT_EQ(Ys(L), (std::vector<double>{3, 4, 5})) << "shrinking keeps the newest";
    L.AddXY(6, 6);
    L.SetRingBufferSize(0);
    EXPECT_EQ(L.Count(), 0) << "a wrapped ring is emptied";
    EXPECT_EQ(L.Capacity(), 0);
}

TEST_P(DataList, ClearFreesTheBlockOutsideRingMode) {
    TiPlotDataCustomList& L = *List;
    AddRange(L, 1, 10);
    L.Clear();
    EXPECT_EQ(L.Count(), 0);
    EXPECT_EQ(L.Capacity(), 0);
    EXPECT_EQ(L.MemoryUsed(), 0);
}

TEST_P(DataList, DeleteFirstAndItsRange) {
    TiPlotDataCustomList& L = *List;
    AddRange(L, 1, 6);
    L.DeleteFirst(2);
    EXPECT_EQ(Ys(L), (std::vector<double>{3, 4, 5, 6}));
    EXPECT_EQ(MessageOf([&] { L.DeleteFirst(-1); }), GetParam().DeleteMessage);
    EXPECT_EQ(MessageOf([&] { L.DeleteFirst(5); }), GetParam().DeleteMessage);
    EXPECT_EQ(L.Count(), 4);
    EXPECT_EQ(MessageOf([&] { L.SetRingBufferSize(-1); }), GetParam().DeleteMessage);
    EXPECT_FALSE(L.RingEnabled()) << "a refused ring size changes nothing";
}

TEST_P(DataList, DeleteFirstAtItsBounds) {
    TiPlotDataCustomList& L = *List;
    AddRange(L, 1, 4);
    L.DeleteFirst(0);
    EXPECT_EQ(Ys(L), (std::vector<double>{1, 2, 3, 4}));
    const int Most = GetParam().DeletesAllPoints ? 4 : 3;
    EXPECT_EQ(MessageOf([&] { L.DeleteFirst(Most + 1); }), GetParam().DeleteMessage);
    EXPECT_EQ(L.Count(), 4);
    L.DeleteFirst(Most);
    EXPECT_EQ(L.Count(), 4 - Most);
}

TEST_P(DataList, DeleteFirstOnAWrappedRingRemovesTheOldest) {
    TiPlotDataCustomList& L = *List;
    L.SetRingBufferSize(4);
    AddRange(L, 1, 6);
    L.DeleteFirst(1);
    EXPECT_EQ(Ys(L), (std::vector<double>{4, 5, 6}));
    L.AddXY(7, 7);
    L.AddXY(8, 8);
    EXPECT_EQ(Ys(L), (std::vector<double>{5, 6, 7, 8}));
}

TEST_P(DataList, SetCapacityLimits) {
    TiPlotDataCustomList& L = *List;
    AddRange(L, 1, 5);
    EXPECT_EQ(MessageOf([&] { L.SetCapacity(L.MaxCapacity() + 1); }), "Exceed Maximum List Size");
    EXPECT_EQ(L.Count(), 5);
    L.SetCapacity(3);
    EXPECT_EQ(Ys(L), (std::vector<double>{1, 2, 3}));
    EXPECT_NE(MessageOf([&] { L.SetCapacity(-1); }), "no exception");
}

INSTANTIATE_TEST_SUITE_P(Variants, DataList, ::testing::ValuesIn(Variants),
                         [](const auto& Info) { return std::string(Info.param.Name); });

// How the points of a list lie in its block.
struct TLayout {
    const char* Name;
    int RingSize;
    std::vector<double> Xs; // added in this order
};

std::vector<double> Steps(int From, int To) {
    std::vector<double> Result;
    for (int K = From; K <= To; ++K)
        Result.push_back(K);
    return Result;
}

void PrintTo(const TLayout& Layout, std::ostream* Out) {
    *Out << Layout.Name;
}

const TLayout Layouts[] = {
    {"NoPoints", 0, {}},
    {"SinglePoint", 0, {5}},
    {"Plain", 0, Steps(1, 10)},
    {"FullRingNotWrapped", 10, Steps(1, 10)},
    {"WrappedRing", 7, Steps(1, 10)},
    {"Ties", 0, {1, 2, 2, 2, 3}},
    {"AllTied", 0, {5, 5, 5}}, // a zero interval in the compact-interval variant
    {"WrappedRingWithTies", 4, {1, 2, 3, 3, 3, 4}},
};

// A list of a variant holding the X values of a layout, with Y values and
// flags that differ from point to point.
std::unique_ptr<TiPlotDataCustomList> MakeList(const TVariant& V, const TLayout& Layout) {
    auto L = V.Make();
    L->SetRingBufferSize(Layout.RingSize);
    for (double X : Layout.Xs)
        L->AddXY(X, X * 1.5 - 4);
    for (int Index = 2; Index < L->Count(); Index += 3)
        L->SetNull(Index, true);
    for (int Index = 3; Index < L->Count(); Index += 2)
        L->SetEmpty(Index, true);
    return L;
}

struct TPointRead {
    int Index;
    double X, Y;
    bool Null, Empty;
    bool operator==(const TPointRead&) const = default;
};

void PrintTo(const TPointRead& P, std::ostream* Out) {
    *Out << "{" << P.Index << ", " << P.X << ", " << P.Y << ", " << P.Null << ", " << P.Empty
         << "}";
}

std::vector<TPointRead> ReadByAccessors(const TiPlotDataCustomList& L, int First, int Last) {
    std::vector<TPointRead> Result;
    for (int I = First; I <= Last; ++I)
        Result.push_back({I, L.X(I), L.Y(I), L.Null(I), L.Empty(I)});
    return Result;
}

std::vector<TPointRead> ReadByVisit(const TiPlotDataCustomList& L, int First, int Last) {
    std::vector<TPointRead> Result;
    L.ForEachPoint(First, Last, [&](int Index, double X, double Y, bool Null, bool Empty) {
        Result.push_back({Index, X, Y, Null, Empty});
    });
    return Result;
}

class DataListRead : public ::testing::TestWithParam<std::tuple<TVariant, TLayout>> {
  protected:
    std::unique_ptr<TiPlotDataCustomList> List =
        MakeList(std::get<0>(GetParam()), std::get<1>(GetParam()));
};

TEST_P(DataListRead, VisitGivesWhatTheAccessorsGive) {
    const TiPlotDataCustomList& L = *List;
    const int Count = L.Count();
    // Every range, the empty ones (Last = First - 1) included.
    for (int First = 0; First <= Count; ++First)
        for (int Last = First - 1; Last < Count; ++Last)
            EXPECT_EQ(ReadByVisit(L, First, Last), ReadByAccessors(L, First, Last))
                << First << " .. " << Last;
}

TEST_P(DataListRead, VisitChecksBothEndsBeforeVisiting) {
    const TiPlotDataCustomList& L = *List;
    int Visited = 0;
    auto CountVisit = [&](int, double, double, bool, bool) { ++Visited; };
    EXPECT_EQ(MessageOf([&] { L.ForEachPoint(-1, L.Count() - 1, CountVisit); }),
              "Index out of Bounds");
    EXPECT_EQ(MessageOf([&] { L.ForEachPoint(0, L.Count(), CountVisit); }), "Index out of Bounds");
    EXPECT_EQ(Visited, 0);
}

// The answers of a linear scan over the per-point X.
int FirstAtOrAfterByScan(const TiPlotDataCustomList& L, double X) {
    int Index = 0;
    while (Index < L.Count() && L.X(Index) < X)
        ++Index;
    return Index;
}

int LastAtOrBeforeByScan(const TiPlotDataCustomList& L, double X) {
    int Index = L.Count() - 1;
    while (Index >= 0 && L.X(Index) > X)
        --Index;
    return Index;
}

TEST_P(DataListRead, SearchAgreesWithAScan) {
    const TiPlotDataCustomList& L = *List;
    std::vector<double> Queries = {-1e9, 1e9};
    for (int I = 0; I < L.Count(); ++I)
        for (double Offset : {-0.25, 0.0, 0.25})
            Queries.push_back(L.X(I) + Offset);
    for (double X : Queries) {
        EXPECT_EQ(L.FirstIndexAtOrAfter(X), FirstAtOrAfterByScan(L, X)) << X;
        EXPECT_EQ(L.LastIndexAtOrBefore(X), LastAtOrBeforeByScan(L, X)) << X;
    }
}

std::string ReadCaseName(const ::testing::TestParamInfo<std::tuple<TVariant, TLayout>>& Info) {
    return std::string(std::get<0>(Info.param).Name) + "_" + std::get<1>(Info.param).Name;
}

INSTANTIATE_TEST_SUITE_P(Layouts, DataListRead,
                         ::testing::Combine(::testing::ValuesIn(Variants),
                                            ::testing::ValuesIn(Layouts)),
                         ReadCaseName);

TEST(DataListSearch, TiesAndTheEnds) {
    TiPlotDataNullList L;
    for (double X : {1, 2, 2, 2, 3})
        L.AddXY(X, 0);
    struct TCase {
        double X;
        int First, Last;
    };
    const TCase Cases[] = {{0.5, 0, -1}, {1, 0, 0}, {2, 1, 3}, {2.5, 4, 3}, {3, 4, 4}, {9, 5, 4}};
    for (const TCase& C : Cases) {
        EXPECT_EQ(L.FirstIndexAtOrAfter(C.X), C.First) << C.X;
        EXPECT_EQ(L.LastIndexAtOrBefore(C.X), C.Last) << C.X;
    }
}

TEST(DataListFlags, OnlyFullAndStandardKeepNullAndEmpty) {
    for (const TVariant& V : Variants) {
        auto L = V.Make();
        AddRange(*L, 1, 3);
        L->SetNull(1, true);
        L->SetEmpty(2, true);
        const bool Kept = L->ItemSize() >= 24;
        EXPECT_EQ(L->Null(1), Kept) << V.Name;
        EXPECT_EQ(L->Empty(2), Kept) << V.Name;
        EXPECT_FALSE(L->Null(2)) << V.Name;
        double X, Y;
        bool Null, Empty;
        L->GetPoint(1, X, Null, Empty, Y);
        EXPECT_EQ(Null, Kept) << V.Name;
        EXPECT_FALSE(Empty) << V.Name;
        EXPECT_DOUBLE_EQ(Y, 2) << V.Name;
        L->SetNull(1, false);
        EXPECT_FALSE(L->Null(1)) << V.Name;
    }
}

TEST(DataListFlags, HighLowOpenCloseOnlyInFull) {
    TiPlotDataFullList Full;
    TiPlotDataNullList Standard;
    for (TiPlotDataCustomList* L :
         {(TiPlotDataCustomList*)&Full, (TiPlotDataCustomList*)&Standard}) {
        L->AddXY(1, 1);
        L->SetHigh(0, 5);
        L->SetLow(0, 1);
        L->SetOpen(0, 2);
        L->SetClose(0, 4);
    }
    EXPECT_EQ(std::vector<double>({Full.High(0), Full.Low(0), Full.Open(0), Full.Close(0)}),
              std::vector<double>({5, 1, 2, 4}));
    EXPECT_EQ(Standard.High(0), 0.0);
    EXPECT_EQ(Standard.Close(0), 0.0);
}

TEST(DataListAttributes, FullFreezesThemStandardFollowsTheChannel) {
    TiPlotDataFullList Full;
    TiPlotDataNullList Standard;
    for (TiPlotDataCustomList* L :
         {(TiPlotDataCustomList*)&Full, (TiPlotDataCustomList*)&Standard}) {
        L->Defaults().Color = clRed;
        L->Defaults().MarkersVisible = true;
        L->Defaults().MarkersStyle = ipmsDiamond;
        L->AddXY(1, 1);
        L->Defaults().Color = clBlue;
        L->Defaults().MarkersVisible = false;
        L->Defaults().MarkersStyle = ipmsCharacter;
    }
    EXPECT_EQ(Full.PointAttributes(0).Color, clRed);
    EXPECT_EQ(Standard.PointAttributes(0).Color, clBlue);
    // The standard style keeps marker visibility and shape per point.
    EXPECT_TRUE(Standard.PointAttributes(0).MarkersVisible);
    EXPECT_EQ(Standard.PointAttributes(0).MarkersStyle, ipmsDiamond);
    Standard.SetNull(0, true);
    TiPlotDrawAttributes A = Standard.PointAttributes(0);
    A.MarkersStyle = ipmsHorizontalLine;
    A.MarkersVisible = false;
    Standard.SetPointAttributes(0, A);
    EXPECT_EQ(Standard.PointAttributes(0).MarkersStyle, ipmsHorizontalLine);
    EXPECT_FALSE(Standard.PointAttributes(0).MarkersVisible);
    EXPECT_TRUE(Standard.Null(0)) << "the point flags survive";
}

TEST(DataListCompact, RoundsToSinglePrecision) {
    TiPlotDataCompactList L;
    L.AddXY(0.1, 0.1);
    EXPECT_EQ(L.X(0), double(0.1f));
    EXPECT_EQ(L.Y(0), double(0.1f));
    EXPECT_NE(L.Y(0), 0.1);
}

TEST(DataListCompactInterval, LearnsTheIntervalFromTheFirstTwoPoints) {
    TiPlotDataCompactIntervalList L;
    L.AddXY(10, 1);
    L.AddXY(12.5, 2);
    L.AddXY(99, 3);
    EXPECT_EQ(std::vector<double>({L.X(0), L.X(1), L.X(2)}), std::vector<double>({10, 12.5, 15}));
    L.SetX(0, 20);
    EXPECT_DOUBLE_EQ(L.X(2), 25);
    const char* Refused = "Data Style does not support setting individual X-Value with the "
                          "exception of the first X-Value";
    EXPECT_EQ(MessageOf([&] { L.SetX(1, 0); }), Refused);
    L.Clear();
    EXPECT_EQ(L.Interval(), -1.0);
    EXPECT_EQ(MessageOf([&] { L.SetX(0, 0); }), Refused);
    L.AddXY(100, 0);
    L.AddXY(101, 0);
    EXPECT_DOUBLE_EQ(L.X(1), 101);
}

TEST(DataListCompactInterval, FullRingMovesTheComputedX) {
    TiPlotDataCompactIntervalList L;
    L.SetRingBufferSize(3);
    for (int K = 0; K < 5; ++K)
        L.AddXY(10 + 2 * K, K);
    EXPECT_EQ(std::vector<double>({L.X(0), L.X(1), L.X(2)}), std::vector<double>({14, 16, 18}));
    EXPECT_EQ(Ys(L), (std::vector<double>{2, 3, 4}));
}

TEST(PlotMinMaxPoint, CollectsOnePixelColumn) {
    TiPlotMinMaxPoint P;
    P.Reset();
    EXPECT_TRUE(P.Empty);
    P.Add(7, 1.5, 3);
    P.Add(8, 2.5, -1);
    P.Add(9, 3.5, 2);
    EXPECT_FALSE(P.Empty);
    EXPECT_EQ(P.XPixel, 7);
    EXPECT_EQ(P.X, 1.5);
    EXPECT_EQ(std::vector<double>({P.First, P.Max, P.Min, P.Last}),
              std::vector<double>({3, 3, -1, 2}));
    TiPlotMinMaxPoint Copy;
    Copy.Assign(P);
    EXPECT_EQ(Copy.Min, -1);
    P.Reset();
    EXPECT_EQ(P.Max, -1e301);
    EXPECT_EQ(P.Min, 1e301);
}

TEST(LimitDataList, ReadsItsEntries) {
    TiLimitDataList L;
    L.Add(1, 2, 3);
    L.Add(4, 5, 6);
    EXPECT_EQ(L.Count(), 2);
    EXPECT_EQ(std::vector<double>({L.Position(1), L.Low(1), L.High(1)}),
              std::vector<double>({4, 5, 6}));
    EXPECT_EQ(MessageOf([&] { L.Low(2); }), "Index out of Bounds");
    EXPECT_EQ(MessageOf([&] { L.High(-1); }), "Index out of Bounds");
}

} // namespace
