#include "plot/iPlotSummaryIndex.h"

#include "plot/iPlotDataCustomList.h"

#include <algorithm>

namespace {

// Sizes a vector to exactly N elements: the nodes are a fixed share of the
// points' memory, which a doubling growth would not keep.
void SetExactSize(std::vector<TiPlotDataSummary>& Nodes, std::size_t N) {
    if (N > Nodes.capacity())
        Nodes.reserve(N);
    Nodes.resize(N);
    if (Nodes.capacity() > N)
        Nodes.shrink_to_fit();
}

} // namespace

void TiPlotSummaryIndex::CatchUp() const {
    const int Count = FList.Count();
    // Of more points than the storage holds, only the kept ones matter.
    const int N = int(std::min<long long>(FPending, Count));
    FPending = 0;
    if (N == 0 || FLevels.empty())
        return;
    // The newest point is in the slot before the write position.
    int First = WritePosition() - N;
    Replay(First < 0 ? First + Count : First, N);
}

void TiPlotSummaryIndex::Replay(int Slot, int N) const {
    const int Count = FList.Count();
    while (N > 0) {
        // Up to the end of the first-level node, or of the points.
        const int Run = std::min({N, Fanout - (Slot & (Fanout - 1)), Count - Slot});
        Append(Slot, Run, FList.SumSlots(Slot, Run));
        N -= Run;
        Slot = Slot + Run == Count ? 0 : Slot + Run;
    }
}

void TiPlotSummaryIndex::Append(int Slot, int N, const TiPlotDataSummary& Points) const {
    const int Levels = int(FLevels.size());
    const long long Next = (long long)Slot + N;
    // The first slot under a node starts it afresh: it may hold the sums
    // of the points this ring overwrites.
    for (int L = 0; L < Levels && (Slot & ((1LL << SpanShift(L)) - 1)) == 0; ++L)
        FLevels[L][std::size_t(Slot) >> SpanShift(L)] = {};
    FLevels[0][std::size_t(Slot) >> Shift].Take(Points);
    // The last slot under a node completes it: it goes into its parent.
    for (int L = 0; L + 1 < Levels && (Next & ((1LL << SpanShift(L)) - 1)) == 0; ++L)
        FLevels[L + 1][std::size_t(Slot) >> SpanShift(L + 1)].Take(
            FLevels[L][std::size_t(Slot) >> SpanShift(L)]);
}

int TiPlotSummaryIndex::WritePosition() const {
    return FList.RingStart() != 0 ? FList.RingStart() : FList.Count();
}

bool TiPlotSummaryIndex::UnderConstruction(int Level, int Node, int Position) const {
    return (Position & ((1LL << SpanShift(Level)) - 1)) != 0 &&
           Node == Position >> SpanShift(Level);
}

void TiPlotSummaryIndex::Refresh(int Slot) {
    CatchUp();
    // It may be the newest point's X.
    FNewestXKnown = false;
    const int Position = WritePosition();
    for (int L = 0; L < int(FLevels.size()); ++L)
        Recompute(L, Slot >> SpanShift(L), Position);
}

void TiPlotSummaryIndex::Recompute(int Level, int Node, int Position) {
    const long long First = (long long)Node << Shift;
    long long End = First + Fanout;
    // Of a node under construction, only the part before the write position.
    if (UnderConstruction(Level, Node, Position))
        End = Level == 0 ? Position : Position >> SpanShift(Level - 1);
    End = std::min<long long>(End, Level == 0 ? FList.Count() : FLevels[Level - 1].size());
    TiPlotDataSummary Sum;
    Fold(Level - 1, First, End, Sum);
    FLevels[Level][std::size_t(Node)] = Sum;
}

void TiPlotSummaryIndex::Fold(int Level, long long First, long long End,
                              TiPlotDataSummary& Into) const {
    if (Level >= 0) {
        const std::vector<TiPlotDataSummary>& Nodes = FLevels[Level];
        for (long long N = First; N < End; ++N)
            Into.Take(Nodes[std::size_t(N)]);
        return;
    }
    if (First < End)
        Into.Take(FList.SumSlots(int(First), int(End - First)));
}

void TiPlotSummaryIndex::Allocate() {
    try {
        std::size_t Levels = 0;
        for (long long Below = FList.Capacity(); Below >= MinUnitsBelow; ++Levels) {
            Below = (Below + Fanout - 1) / Fanout;
            if (FLevels.size() == Levels)
                FLevels.emplace_back();
            SetExactSize(FLevels[Levels], std::size_t(Below));
        }
        FLevels.resize(Levels);
    } catch (...) {
        // Without levels the index reads the points themselves.
        FLevels.clear();
        throw;
    }
}

void TiPlotSummaryIndex::Grow() {
    CatchUp();
    const std::size_t OldLevels = FLevels.size();
    Allocate();
    // A new level over nodes that all exist already.
    const int Position = WritePosition();
    for (std::size_t L = OldLevels; L < FLevels.size(); ++L)
        for (std::size_t N = 0; N < FLevels[L].size(); ++N)
            Recompute(int(L), int(N), Position);
}

void TiPlotSummaryIndex::Shrink() {
    Allocate();
    Moved();
}

TiPlotDataSummary TiPlotSummaryIndex::Query(int First, int Last) const {
    CatchUp();
    TiPlotDataSummary Head, Tail;
    long long Low = First, High = (long long)Last + 1;
    // Low .. High - 1 are units of Level (points at -1). Each step folds the
    // units at both ends that do not fill a node of the level above, then
    // goes up to the whole nodes between them.
    int Level = -1;
    for (; Level + 1 < int(FLevels.size()); ++Level) {
        const long long Up = (Low + Fanout - 1) >> Shift, Down = High >> Shift;
        if (Up >= Down)
            break;
        Fold(Level, Low, Up << Shift, Head);
        TiPlotDataSummary End;
        Fold(Level, Down << Shift, High, End);
        End.Take(Tail);
        Tail = End;
        Low = Up;
        High = Down;
    }
    Fold(Level, Low, High, Head);
    Head.Take(Tail);
    return Head;
}

long long TiPlotSummaryIndex::MemoryUsed() const {
    long long Bytes = 0;
    for (const std::vector<TiPlotDataSummary>& Nodes : FLevels)
        Bytes += (long long)(Nodes.capacity() * sizeof(TiPlotDataSummary));
    return Bytes;
}
