#pragma once
// Point storage of a plot channel: a contiguous, growable block of fixed-size
// records with an optional ring-buffer mode, in four variants that trade
// features for memory. Points are addressed by index in insertion order.

#include "platform/Types.h"
#include "plot/iPlotSummaryIndex.h"
#include "plot/iPlotTypes.h"

#include <algorithm>
#include <cstdint>
#include <vector>

// The channel-wide drawing settings, kept by the storage (the channel's
// properties of the same names read and write them here). The full-feature
// variant keeps a copy of them in every point.
struct TiPlotDrawAttributes {
    TColor Color = 0;
    std::int32_t TraceLineWidth = 0;
    TiPlotLineStyle TraceLineStyle = iplsSolid;
    bool MarkersVisible = false;
    std::int32_t MarkersSize = 0;
    TiPlotMarkerStyle MarkersStyle = ipmsCircle;
    TColor MarkersPenColor = 0;
    std::int32_t MarkersPenWidth = 0;
    TPenStyle MarkersPenStyle = psSolid;
    TColor MarkersBrushColor = 0;
    TBrushStyle MarkersBrushStyle = bsSolid;
    char MarkersCharacter = 0;
    bool BarVisible = true;
    double BarReference = 0;
    double BarWidth = 0;
    TColor BarPenColor = 0;
    std::int32_t BarPenWidth = 0;
    TPenStyle BarPenStyle = psSolid;
    TColor BarBrushColor = 0;
    TBrushStyle BarBrushStyle = bsSolid;
};

class TiPlotDataCustomList {
  public:
    virtual ~TiPlotDataCustomList();
    TiPlotDataCustomList(const TiPlotDataCustomList&) = delete;
    TiPlotDataCustomList& operator=(const TiPlotDataCustomList&) = delete;

    int Count() const { return FCount; }
    int Capacity() const { return FCapacity; }
    int RingStart() const { return FRingStart; }
    bool RingEnabled() const { return FRingEnabled; }
    int ItemSize() const { return FItemSize; }
    int MaxCapacity() const { return FMaxCapacity; }
    // Capacity x ItemSize.
    long long MemoryUsed() const { return (long long)FCapacity * FItemSize; }

    TiPlotDrawAttributes& Defaults() { return FDefaults; }
    const TiPlotDrawAttributes& Defaults() const { return FDefaults; }

    virtual double X(int Index) const = 0;
    virtual double Y(int Index) const = 0;
    virtual bool Empty(int Index) const;
    virtual bool Null(int Index) const;
    virtual double High(int Index) const;
    virtual double Low(int Index) const;
    virtual double Open(int Index) const;
    virtual double Close(int Index) const;
    virtual void SetX(int Index, double Value) = 0;
    virtual void SetY(int Index, double Value) = 0;
    virtual void SetEmpty(int Index, bool Value);
    virtual void SetNull(int Index, bool Value);
    virtual void SetHigh(int Index, double Value);
    virtual void SetLow(int Index, double Value);
    virtual void SetOpen(int Index, double Value);
    virtual void SetClose(int Index, double Value);
    // The drawing attributes that apply to one point.
    virtual TiPlotDrawAttributes PointAttributes(int Index) const;
    virtual void SetPointAttributes(int Index, const TiPlotDrawAttributes& Value);

    // Appends a point and returns its index (Count - 1 afterwards, also when
    // a full ring buffer overwrote its oldest point).
    virtual int AddXY(double X, double Y);
    virtual void Clear();
    void SetCapacity(int NewCapacity);
    // Removes the N oldest points.
    virtual void DeleteFirst(int N);
    // One-call read for the trace drawing.
    virtual void GetPoint(int Index, double& X, bool& Null, bool& Empty, double& Y) const = 0;

    // 0 switches ring mode off.
    void SetRingBufferSize(int N);
    int GetRingBufferSize() const { return FRingEnabled ? FCapacity : 0; }

    // The read of the drawing: calls Visit(Index, X, Y, Null, Empty) for the
    // points First .. Last in index order straight from the records. The
    // variant and the range are checked once per call, not per point, and a
    // wrapped ring is read as two contiguous runs. Nothing is visited when
    // Last < First; otherwise both ends must be points ("Index out of Bounds").
    // Visit must not change the list: an added point may move the block.
    template <typename F> void ForEachPoint(int First, int Last, F&& Visit) const;
    // The same read while Visit returns true; the number of points visited
    // with true. A run of points is scanned this way without leaving the loop.
    template <typename F> int VisitWhile(int First, int Last, F&& Visit) const;

    // Binary searches for the points of a visible X range, to be passed to
    // ForEachPoint. Their answers hold only when X ascends with the index, as
    // the sample counter of the polling cycle does; for other X they still
    // return an index of the stated range, but not the first or last match.
    // The first index whose X >= the given X; Count when there is none.
    int FirstIndexAtOrAfter(double X) const;
    // The last index whose X <= the given X; -1 when there is none.
    int LastIndexAtOrBefore(double X) const;
    // The same within First .. Last for a run whose first point has
    // X(First) <= X, searched outwards from Guess: a good guess (the length
    // of the run before) costs a few reads near it instead of a bisection
    // of the whole range.
    int LastIndexAtOrBefore(double X, int First, int Last, int Guess) const;

    // The extremes of the good Y values of the points First .. Last and
    // whether they hold Null or Empty points or an X that does not ascend,
    // from the summary index (an empty summary when Last < First; otherwise
    // both ends must be points).
    TiPlotDataSummary Summary(int First, int Last) const;
    long long IndexMemoryUsed() const { return FIndex.MemoryUsed(); }

  protected:
    TiPlotDataCustomList(int ItemSize, TiPlotDataStyle Style);

    // Maps a point index to its record slot; fails outside 0 .. Count - 1.
    int SlotOf(int Index) const;
    // SlotOf for an index already known to be a point.
    int RingSlot(int Index) const {
        const int Slot = Index + FRingStart;
        return Slot > FCount - 1 ? Slot - FCount : Slot;
    }
    template <typename TRecord> TRecord* Records() const { return static_cast<TRecord*>(FBlock); }
    // Fills the record of a new point. True when a read gives back X and Y
    // as they are, so that the summary index can take them as given.
    virtual bool WriteNewPoint(int Slot, double X, double Y) = 0;
    // Fails with the variant's message when N points cannot be deleted.
    virtual void CheckDeleteCount(int N) const;
    // Tell the summary index that the point's Y or flags, or its X, changed.
    void PointChanged(int Index) { FIndex.Refresh(RingSlot(Index)); }
    void XChanged(int Index);
    // Every X changed (a computed X).
    void XValuesMoved() { FIndex.Moved(); }

  private:
    friend class TiPlotSummaryIndex;
    // Points First .. Last (both must be points) lie in slots Slot ..
    // Slot + Head - 1 and, where a wrapped ring runs on from slot 0, in
    // slots 0 .. N - Head - 1.
    struct TSlotRange {
        int Slot, N, Head;
    };
    TSlotRange SlotRange(int First, int Last) const {
        SlotOf(Last);
        const int Slot = SlotOf(First);
        const int N = Last - First + 1;
        return {Slot, N, std::min(N, FCount - Slot)};
    }
    // The summary of the points in slots Slot .. Slot + N - 1, for the
    // index.
    TiPlotDataSummary SumSlots(int Slot, int N) const;
    // Calls Do with this list as its concrete variant, so that the reads
    // inside are direct rather than virtual.
    template <typename F> decltype(auto) WithVariant(F&& Do) const;
    // The number of leading points whose X satisfies Before, by bisection.
    template <typename TBefore> int CountLeading(TBefore Before) const;
    void SetItemSize(int Size);
    void Grow();
    // Moves the points of a wrapped ring into index order, so that the
    // block can be cut or shifted.
    void Unwrap();
    void ReleaseStorage();

    int FCount = 0;
    int FCapacity = 0;
    int FRingStart = 0;
    bool FRingEnabled = false;
    int FItemSize = 0;
    int FMaxCapacity = 0;
    TiPlotDataStyle FStyle;
    TiPlotDrawAttributes FDefaults;
    void* FBlock = nullptr;
    TiPlotSummaryIndex FIndex{*this};
};

// Every feature per point: flags, high-low values and the drawing attributes.
class TiPlotDataFullList : public TiPlotDataCustomList {
  public:
    TiPlotDataFullList();
    double X(int Index) const override;
    double Y(int Index) const override;
    bool Empty(int Index) const override;
    bool Null(int Index) const override;
    double High(int Index) const override;
    double Low(int Index) const override;
    double Open(int Index) const override;
    double Close(int Index) const override;
    void SetX(int Index, double Value) override;
    void SetY(int Index, double Value) override;
    void SetEmpty(int Index, bool Value) override;
    void SetNull(int Index, bool Value) override;
    void SetHigh(int Index, double Value) override;
    void SetLow(int Index, double Value) override;
    void SetOpen(int Index, double Value) override;
    void SetClose(int Index, double Value) override;
    TiPlotDrawAttributes PointAttributes(int Index) const override;
    void SetPointAttributes(int Index, const TiPlotDrawAttributes& Value) override;
    void GetPoint(int Index, double& X, bool& Null, bool& Empty, double& Y) const override;

  protected:
    bool WriteNewPoint(int Slot, double X, double Y) override;
    void CheckDeleteCount(int N) const override;

  private:
    friend class TiPlotDataCustomList;
    struct TRecord {
        double X, Y;
        bool Null, Empty;
        double High, Low, Open, Close;
        TiPlotDrawAttributes Attributes;
    };
    TRecord& At(int Index) const;
    double XAt(int, int Slot) const { return Records<TRecord>()[Slot].X; }
    template <typename F> int VisitRun(int Index, int Slot, int N, F& Visit) const {
        const TRecord* R = Records<TRecord>() + Slot;
        int K = 0;
        while (K < N && Visit(Index + K, R[K].X, R[K].Y, R[K].Null, R[K].Empty))
            ++K;
        return K;
    }
};

// X and Y with the Null and Empty flags and per-point marker visibility and
// shape; the channel's standard storage.
class TiPlotDataNullList : public TiPlotDataCustomList {
  public:
    TiPlotDataNullList();
    double X(int Index) const override;
    double Y(int Index) const override;
    bool Empty(int Index) const override;
    bool Null(int Index) const override;
    void SetX(int Index, double Value) override;
    void SetY(int Index, double Value) override;
    void SetEmpty(int Index, bool Value) override;
    void SetNull(int Index, bool Value) override;
    TiPlotDrawAttributes PointAttributes(int Index) const override;
    void SetPointAttributes(int Index, const TiPlotDrawAttributes& Value) override;
    void GetPoint(int Index, double& X, bool& Null, bool& Empty, double& Y) const override;

  protected:
    bool WriteNewPoint(int Slot, double X, double Y) override;

  private:
    friend class TiPlotDataCustomList;
    struct TRecord {
        double X, Y;
        std::uint16_t Flags;
    };
    static constexpr std::uint16_t NullFlag = 1 << 0;
    static constexpr std::uint16_t EmptyFlag = 1 << 1;
    static constexpr std::uint16_t MarkersVisibleFlag = 1 << 2;
    static constexpr int MarkersStyleShift = 3;
    static constexpr std::uint16_t MarkersStyleMask = 15 << MarkersStyleShift;

    TRecord& At(int Index) const;
    void SetFlag(int Index, std::uint16_t Bit, bool Value);
    double XAt(int, int Slot) const { return Records<TRecord>()[Slot].X; }
    template <typename F> int VisitRun(int Index, int Slot, int N, F& Visit) const {
        const TRecord* R = Records<TRecord>() + Slot;
        int K = 0;
        while (K < N && Visit(Index + K, R[K].X, R[K].Y, (R[K].Flags & NullFlag) != 0,
                              (R[K].Flags & EmptyFlag) != 0))
            ++K;
        return K;
    }
};

// X and Y at single precision.
class TiPlotDataCompactList : public TiPlotDataCustomList {
  public:
    TiPlotDataCompactList();
    double X(int Index) const override;
    double Y(int Index) const override;
    void SetX(int Index, double Value) override;
    void SetY(int Index, double Value) override;
    void GetPoint(int Index, double& X, bool& Null, bool& Empty, double& Y) const override;

  protected:
    bool WriteNewPoint(int Slot, double X, double Y) override;

  private:
    friend class TiPlotDataCustomList;
    struct TRecord {
        float X, Y;
    };
    TRecord& At(int Index) const;
    double XAt(int, int Slot) const { return Records<TRecord>()[Slot].X; }
    template <typename F> int VisitRun(int Index, int Slot, int N, F& Visit) const {
        const TRecord* R = Records<TRecord>() + Slot;
        int K = 0;
        while (K < N && Visit(Index + K, double(R[K].X), double(R[K].Y), false, false))
            ++K;
        return K;
    }
};

// Y at single precision; X is FirstX + Index x Interval, the interval being
// learned from the first two points.
class TiPlotDataCompactIntervalList : public TiPlotDataCustomList {
  public:
    TiPlotDataCompactIntervalList();
    double Interval() const { return FInterval; }
    double FirstX() const { return FFirstX; }

    double X(int Index) const override;
    double Y(int Index) const override;
    // Only the first X can be set.
    void SetX(int Index, double Value) override;
    void SetY(int Index, double Value) override;
    void GetPoint(int Index, double& X, bool& Null, bool& Empty, double& Y) const override;
    int AddXY(double X, double Y) override;
    void Clear() override;

  protected:
    bool WriteNewPoint(int Slot, double X, double Y) override;
    void CheckDeleteCount(int N) const override;

  private:
    friend class TiPlotDataCustomList;
    // The one formula of the computed X, so that every read agrees.
    static double XOf(double FirstX, double Interval, int Index) {
        return FirstX + Index * Interval;
    }
    float& At(int Index) const;
    double XAt(int Index, int) const { return XOf(FFirstX, FInterval, Index); }
    template <typename F> int VisitRun(int Index, int Slot, int N, F& Visit) const {
        const float* Y = Records<float>() + Slot;
        const double FirstX = FFirstX;
        const double Interval = FInterval;
        int K = 0;
        while (K < N &&
               Visit(Index + K, XOf(FirstX, Interval, Index + K), double(Y[K]), false, false))
            ++K;
        return K;
    }
    double FInterval = -1.0; // -1: not yet known
    double FFirstX = 0.0;
};

template <typename F> decltype(auto) TiPlotDataCustomList::WithVariant(F&& Do) const {
    switch (FStyle) {
    case ipdsCompact:
        return Do(static_cast<const TiPlotDataCompactList&>(*this));
    case ipdsCompactInterval:
        return Do(static_cast<const TiPlotDataCompactIntervalList&>(*this));
    case ipdsFullFeature:
        return Do(static_cast<const TiPlotDataFullList&>(*this));
    case ipdsStandard:
        break;
    }
    return Do(static_cast<const TiPlotDataNullList&>(*this));
}

template <typename F> int TiPlotDataCustomList::VisitWhile(int First, int Last, F&& Visit) const {
    if (Last < First)
        return 0;
    // A named range: clang 14 cannot capture structured bindings.
    const TSlotRange R = SlotRange(First, Last);
    return WithVariant([&](const auto& List) {
        int Done = List.VisitRun(First, R.Slot, R.Head, Visit);
        if (Done == R.Head && R.Head < R.N)
            Done += List.VisitRun(First + R.Head, 0, R.N - R.Head, Visit);
        return Done;
    });
}

template <typename F>
void TiPlotDataCustomList::ForEachPoint(int First, int Last, F&& Visit) const {
    VisitWhile(First, Last, [&Visit](int Index, double X, double Y, bool Null, bool Empty) {
        Visit(Index, X, Y, Null, Empty);
        return true;
    });
}

// Collects the points that fall into one pixel column of a trace.
struct TiPlotMinMaxPoint {
    bool Empty = true;
    std::int32_t XPixel = 0;
    double X = 0; // of the first point taken
    double Max = -1e301;
    double Min = 1e301;
    double First = 0;
    double Last = 0;

    void Reset() {
        Empty = true;
        Max = -1e301;
        Min = 1e301;
    }
    // Inline: the fast trace calls it for every point in view.
    void Add(std::int32_t APixel, double AX, double AY) {
        if (Empty) {
            Empty = false;
            XPixel = APixel;
            X = AX;
            First = AY;
        }
        if (AY > Max)
            Max = AY;
        if (AY < Min)
            Min = AY;
        Last = AY;
    }
    void Assign(const TiPlotMinMaxPoint& Source) { *this = Source; }
};

// The vertices of a poly-band limit: position, low bound, high bound, kept
// in ascending order of position.
class TiLimitDataList {
  public:
    int Count() const { return int(FItems.size()); }
    void Add(double Position, double Low, double High);
    void Clear() { FItems.clear(); }
    double Position(int Index) const { return At(Index).Position; }
    double Low(int Index) const { return At(Index).Low; }
    double High(int Index) const { return At(Index).High; }

  private:
    struct TItem {
        double Position, Low, High;
    };
    const TItem& At(int Index) const;
    std::vector<TItem> FItems;
};
