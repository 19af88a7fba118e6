#pragma once
// The summary index of a channel's point storage: for any run of points, the
// extremes of their good Y values and whether they hold Null or Empty points
// or an X that steps back, in time that grows with the logarithm of the run
// rather than its length.
// It is what lets a trace of millions of points be drawn per pixel column
// and an axis be fitted to them without reading every point.

#include <cstdint>
#include <limits>
#include <vector>

class TiPlotDataCustomList;

// What is known of a run of points.
struct TiPlotDataSummary {
    // The run holds Null or Empty points.
    static constexpr std::uint8_t Holes = 1;
    // The X of some point of the run is below the X of the point before it
    // (or is not a number): the run's X values do not ascend. The first point
    // of a run is compared with the point before the run.
    static constexpr std::uint8_t Descents = 2;

    double Min = std::numeric_limits<double>::infinity();
    double Max = -std::numeric_limits<double>::infinity();
    std::uint8_t Flags = 0;

    static TiPlotDataSummary OfPoint(double Y, bool Hole, bool Descent) {
        TiPlotDataSummary S;
        if (!Hole)
            S.Min = S.Max = Y;
        S.Flags = std::uint8_t((Hole ? Holes : 0) | (Descent ? Descents : 0));
        return S;
    }
    // Some good point has a Y that is a number.
    bool HasValues() const { return Min <= Max; }
    // Folds in the run that follows this one. The strict comparisons keep the
    // earlier of equal values and pass over NaN, as a walk through the
    // points does, so a folded run equals the walk of its points.
    void Take(const TiPlotDataSummary& Next) {
        Max = Next.Max > Max ? Next.Max : Max;
        Min = Next.Min < Min ? Next.Min : Min;
        Flags |= Next.Flags;
    }
};

// Levels of nodes over the storage's slots: a node of the first level sums
// up 64 slots, a node of each level above 64 nodes of the level below. The
// slots are summed up in the order AddXY writes them (in order, a ring from
// slot 0 again), a node being started afresh when its first slot comes and
// passed to its parent with its last. A node under construction is one that
// the write position lies strictly inside; a run of points never covers it
// whole, so its stale part is never read.
//
// AddXY sums up a point at once, from the values it was given, while the
// index is up to date and the storage keeps the values as given. Otherwise
// it only counts its points: they are summed up when the index is next read
// or changed, in a batch, and reading them back then costs less than when
// they were just written. Each point is summed up once, however many were
// added in between. Summing up the kept points again in the order they were
// written, from the oldest, puts every node right whatever it held.
class TiPlotSummaryIndex {
  public:
    explicit TiPlotSummaryIndex(const TiPlotDataCustomList& List) : FList(List) {}

    // AddXY wrote Slot, the newest point, which follows another point when
    // HasBefore; AsGiven: the storage gives back X and Y as they are.
    void Added(int Slot, double X, double Y, bool HasBefore, bool AsGiven) {
        const bool Now = FPending == 0 && FNewestXKnown && AsGiven && !FLevels.empty();
        const bool Descent = Now && HasBefore && !(X >= FNewestX);
        FNewestX = X;
        FNewestXKnown = AsGiven;
        if (!Now) {
            ++FPending;
            return;
        }
        const TiPlotDataSummary Point = TiPlotDataSummary::OfPoint(Y, false, Descent);
        // Inside a node, the point is only folded in; its first slot starts
        // the node and its last passes it up.
        if (((Slot + 1) & (Fanout - 1)) > 1)
            FLevels[0][std::size_t(Slot) >> Shift].Take(Point);
        else
            Append(Slot, 1, Point);
    }
    // The point in Slot changed its Y, its flags or its X.
    void Refresh(int Slot);
    // The points moved to other slots, or their X values all changed, or
    // the newest were cut: all of them are summed up again when the index
    // is next read.
    void Moved() {
        FPending = AllPending;
        FNewestXKnown = false;
    }
    // The storage's capacity grew; every point kept its slot.
    void Grow();
    // The storage's capacity shrank.
    void Shrink();
    // The points of slots First .. Last, which must be in index order (not
    // across the slot of the oldest point of a wrapped ring).
    TiPlotDataSummary Query(int First, int Last) const;
    long long MemoryUsed() const;

  private:
    static constexpr int Shift = 6;
    static constexpr int Fanout = 1 << Shift;
    // A level is made only over at least this many nodes (or points) below
    // it: over fewer, reading them is as quick, and for a small list the
    // index would cost more memory than a small part of the points'.
    static constexpr long long MinUnitsBelow = 8 * Fanout;

    // Level L's nodes each cover 2^SpanShift(L) slots.
    static int SpanShift(int Level) { return Shift * (Level + 1); }
    // Sums up the points added since the index was last brought up to date.
    void CatchUp() const;
    // Sums up N slots from Slot in the order AddXY wrote them, running on
    // from slot 0 after the last point's.
    void Replay(int Slot, int N) const;
    // Points, the sum of the N slots from Slot, all under one first-level
    // node, as they come.
    void Append(int Slot, int N, const TiPlotDataSummary& Points) const;
    // The slot the next AddXY writes; a node containing it strictly inside
    // is under construction.
    int WritePosition() const;
    bool UnderConstruction(int Level, int Node, int Position) const;
    // Node N of Level summed up again from the level below.
    void Recompute(int Level, int Node, int Position);
    // Units First .. End - 1 of Level folded into Into; level -1 is the
    // points (slots).
    void Fold(int Level, long long First, long long End, TiPlotDataSummary& Into) const;
    // Sizes the levels for the storage's capacity; new nodes are empty.
    // When memory runs out the levels are dropped and the failure passed on.
    void Allocate();

    const TiPlotDataCustomList& FList;
    // Brought up to date when read, hence mutable. FLevels[L] holds the
    // nodes of level L, level 0 being the one over the points.
    mutable std::vector<std::vector<TiPlotDataSummary>> FLevels;
    // Points added since the last catch-up; more than any storage holds
    // when all are to be summed up again.
    static constexpr long long AllPending = 1LL << 62;
    mutable long long FPending = 0;
    // The X of the newest point as AddXY gave it, while that is its X.
    double FNewestX = 0;
    bool FNewestXKnown = false;
};
