// The summary index of the point storage against a walk through the points,
// through random sequences of everything that changes the points.

#include "plot/iPlotDataCustomList.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <random>
#include <string>

namespace {

// What a walk through the points finds.
TiPlotDataSummary Walk(const TiPlotDataCustomList& L, int First, int Last) {
    TiPlotDataSummary Sum;
    for (int I = First; I <= Last; ++I) {
        const bool Hole = L.Null(I) || L.Empty(I);
        const bool Descent = I > 0 && !(L.X(I) >= L.X(I - 1));
        Sum.Take(TiPlotDataSummary::OfPoint(L.Y(I), Hole, Descent));
    }
    return Sum;
}

// Bit for bit: of equal values the walk keeps the first, -0 or +0.
::testing::AssertionResult SameSummary(const TiPlotDataSummary& A, const TiPlotDataSummary& B) {
    if (std::bit_cast<std::uint64_t>(A.Min) == std::bit_cast<std::uint64_t>(B.Min) &&
        std::bit_cast<std::uint64_t>(A.Max) == std::bit_cast<std::uint64_t>(B.Max) &&
        A.Flags == B.Flags)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "{" << A.Min << ", " << A.Max << ", " << int(A.Flags) << "} but the walk finds {"
           << B.Min << ", " << B.Max << ", " << int(B.Flags) << "}";
}

class TRandomList {
  public:
    TRandomList(std::unique_ptr<TiPlotDataCustomList> L, bool ComputedX, unsigned Seed)
        : List(std::move(L)), ComputedX(ComputedX), Coarse(Seed % 2 == 0), Random(Seed) {}

    int Pick(int N) { return int(Random() % unsigned(N)); }
    bool OneIn(int N) { return Pick(N) == 0; }

    // Mostly ascending X, with the odd step back or NaN.
    void Add(int N) {
        for (int K = 0; K < N; ++K) {
            X += OneIn(5000) ? -3 : OneIn(9000) ? std::nan("") : 1;
            if (std::isnan(X))
                X = 0;
            List->AddXY(OneIn(9000) ? std::nan("") : X, Value());
        }
    }
    // Ordinary Y with the odd NaN, infinity and signed zero; or sparse
    // signed zeros among NaN, where the order of equal values shows.
    double Value() {
        if (Coarse)
            return OneIn(50) ? (OneIn(2) ? -0.0 : 0.0) : std::nan("");
        switch (Pick(2000)) {
        case 0:
            return std::nan("");
        case 1:
            return std::numeric_limits<double>::infinity();
        case 2:
            return -0.0;
        case 3:
            return 0.0;
        default:
            return std::uniform_real_distribution<double>(-1e3, 1e3)(Random);
        }
    }
    // Changes a few points and the shape of the storage.
    void Change() {
        const int Count = List->Count();
        if (Count > 0)
            for (int K = Pick(4); K > 0; --K) {
                // Often the last point of a node, whose X the first point
                // of the next one is compared with, or the newest point,
                // whose X the next one added is compared with.
                const int Where = Pick(3);
                const int I = Where == 0   ? Pick(Count)
                              : Where == 1 ? std::min(Count - 1, 64 * Pick(Count / 64 + 1) + 63)
                                           : Count - 1;
                switch (Pick(5)) {
                case 0:
                    List->SetNull(I, !List->Null(I));
                    break;
                case 1:
                    List->SetEmpty(I, !List->Empty(I));
                    break;
                case 2:
                    List->SetY(I, Value());
                    break;
                default:
                    // A computed X is set through the first point's only.
                    if (!ComputedX || I == 0)
                        List->SetX(I, List->X(I) + (OneIn(2) ? -2.5 : 2.5));
                }
            }
        switch (Pick(40)) {
        case 0:
            if (Count > 1)
                List->DeleteFirst(Pick(Count));
            break;
        case 1:
            List->SetRingBufferSize(OneIn(3) ? 0 : 500 + Pick(40000));
            break;
        case 2:
            List->SetCapacity(std::max(List->Count(), List->Capacity() + Pick(3000)));
            break;
        case 3:
        case 4:
            List->Clear();
            break;
        }
    }
    // Ranges of every order of length, and all points.
    void ExpectSummariesOfTheWalk(const std::string& Where) {
        const int Count = List->Count();
        EXPECT_LE(List->IndexMemoryUsed() * 8, List->MemoryUsed()) << Where;
        if (Count == 0)
            return;
        for (int K = 0; K < 6; ++K) {
            const int Length = std::min(
                Count, int(std::exp(std::uniform_real_distribution<double>(0, 13)(Random))));
            int First = Pick(Count - Length + 1), Last = First + Length - 1;
            if (K == 0)
                First = 0, Last = Count - 1;
            ASSERT_TRUE(SameSummary(List->Summary(First, Last), Walk(*List, First, Last)))
                << Where << ": " << First << " .. " << Last << " of " << Count;
        }
    }

    std::unique_ptr<TiPlotDataCustomList> List;
    bool ComputedX;
    bool Coarse;
    std::mt19937 Random;
    double X = 0;
};

struct TStyle {
    const char* Name;
    std::function<std::unique_ptr<TiPlotDataCustomList>()> Make;
    bool ComputedX = false;
};

TEST(SummaryIndex, AgreesWithTheWalkThroughEveryChange) {
    const TStyle Styles[] = {
        {"Full", [] { return std::make_unique<TiPlotDataFullList>(); }},
        {"Standard", [] { return std::make_unique<TiPlotDataNullList>(); }},
        {"Compact", [] { return std::make_unique<TiPlotDataCompactList>(); }},
        {"CompactInterval", [] { return std::make_unique<TiPlotDataCompactIntervalList>(); }, true},
    };
    for (const TStyle& S : Styles)
        for (unsigned Seed = 1; Seed <= 2; ++Seed) {
            TRandomList R(S.Make(), S.ComputedX, Seed);
            for (int Step = 0; Step < 80; ++Step) {
                R.Add(R.Pick(3) == 0 ? R.Pick(40000) : R.Pick(300));
                R.Change();
                R.ExpectSummariesOfTheWalk(std::string(S.Name) + " seed " + std::to_string(Seed) +
                                           " step " + std::to_string(Step));
                if (HasFatalFailure())
                    return;
            }
        }
}

// Over two million points the index has its third level; a ring wraps
// through all of them.
TEST(SummaryIndex, ThreeLevelsInAWrappedRing) {
    TRandomList R(std::make_unique<TiPlotDataCompactIntervalList>(), true, 7);
    R.List->SetRingBufferSize(2'200'000);
    R.Add(3'000'000);
    for (int Step = 0; Step < 4; ++Step) {
        R.ExpectSummariesOfTheWalk("step " + std::to_string(Step));
        for (int K = 0; K < 50; ++K)
            R.List->SetY(R.Pick(R.List->Count()), R.Value());
        R.Add(700'000);
    }
}

// Of equal values the first one is kept, as in a walk, also where the
// range's end is summed up from a node and single points: -0 at 4100 (in
// a first-level node) before +0 at 4162 (beyond the last whole node).
TEST(SummaryIndex, EqualValuesKeepTheFirst) {
    TiPlotDataNullList L;
    for (int I = 0; I < 40000; ++I)
        L.AddXY(I, I == 4100 ? -0.0 : I == 4162 ? 0.0 : std::nan(""));
    const TiPlotDataSummary Sum = L.Summary(0, 4165);
    EXPECT_TRUE(std::signbit(Sum.Max));
    EXPECT_TRUE(SameSummary(Sum, Walk(L, 0, 4165)));
}

// A point added is compared with the newest point's X as it is now, also
// when that X was changed, or the newest points were cut, after the index
// was last read.
TEST(SummaryIndex, AnAddedPointFollowsTheNewestPointAsChanged) {
    const struct {
        const char* Change;
        std::function<void(TiPlotDataCustomList&)> Do;
        std::uint8_t Flags;
    } Cases[] = {
        {"newest X moved up", [](TiPlotDataCustomList& L) { L.SetX(999, 2000); },
         TiPlotDataSummary::Descents},
        {"newest points cut", [](TiPlotDataCustomList& L) { L.SetCapacity(900); }, 0},
    };
    for (const auto& C : Cases) {
        TiPlotDataNullList L;
        for (int I = 0; I < 1000; ++I)
            L.AddXY(I, I);
        L.Summary(0, L.Count() - 1);
        C.Do(L);
        L.Summary(0, L.Count() - 1);
        for (int I = 950; I < 1100; ++I)
            L.AddXY(I, I);
        const TiPlotDataSummary Sum = L.Summary(0, L.Count() - 1);
        EXPECT_EQ(Sum.Flags, C.Flags) << C.Change;
        EXPECT_TRUE(SameSummary(Sum, Walk(L, 0, L.Count() - 1))) << C.Change;
    }
}

// The end of a run from any guess, against a scan.
TEST(SummaryIndex, RunEndFromAnyGuess) {
    TiPlotDataNullList L;
    for (double X : {1, 2, 2, 2, 3, 5, 5, 8, 9, 9, 9, 9, 12})
        L.AddXY(X, 0);
    for (int First = 0; First < L.Count(); ++First)
        for (int Last = First; Last < L.Count(); ++Last)
            for (double X : {L.X(First), L.X(First) + 0.5, L.X(Last), 100.0}) {
                int Scan = First;
                while (Scan < Last && L.X(Scan + 1) <= X)
                    ++Scan;
                for (int Guess = First - 2; Guess <= Last + 2; ++Guess)
                    EXPECT_EQ(L.LastIndexAtOrBefore(X, First, Last, Guess), Scan)
                        << X << " in " << First << " .. " << Last << " from " << Guess;
            }
}

} // namespace
