#include "plot/iPlotDataCustomList.h"

#include "platform/Exception.h"
#include "platform/MemoryBlock.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>

namespace {

constexpr int MaxListBytes = INT_MAX;

[[noreturn]] void IndexError() {
    throw Exception("Index out of Bounds");
}

} // namespace

// ---- TiPlotDataCustomList

TiPlotDataCustomList::TiPlotDataCustomList(int ItemSize, TiPlotDataStyle Style) : FStyle(Style) {
    SetItemSize(ItemSize);
}

TiPlotDataCustomList::~TiPlotDataCustomList() {
    ReleaseStorage();
}

void TiPlotDataCustomList::SetItemSize(int Size) {
    FItemSize = Size;
    FMaxCapacity = MaxListBytes / Size;
}

void TiPlotDataCustomList::ReleaseStorage() {
    ResizeBlock(FBlock, std::size_t(FCapacity) * FItemSize, 0);
    FBlock = nullptr;
}

int TiPlotDataCustomList::SlotOf(int Index) const {
    if (Index < 0 || Index >= FCount)
        IndexError();
    return RingSlot(Index);
}

bool TiPlotDataCustomList::Empty(int Index) const {
    return SlotOf(Index), false;
}
bool TiPlotDataCustomList::Null(int Index) const {
    return SlotOf(Index), false;
}
double TiPlotDataCustomList::High(int Index) const {
    return SlotOf(Index), 0.0;
}
double TiPlotDataCustomList::Low(int Index) const {
    return SlotOf(Index), 0.0;
}
double TiPlotDataCustomList::Open(int Index) const {
    return SlotOf(Index), 0.0;
}
double TiPlotDataCustomList::Close(int Index) const {
    return SlotOf(Index), 0.0;
}
void TiPlotDataCustomList::SetEmpty(int Index, bool) {
    SlotOf(Index);
}
void TiPlotDataCustomList::SetNull(int Index, bool) {
    SlotOf(Index);
}
void TiPlotDataCustomList::SetHigh(int Index, double) {
    SlotOf(Index);
}
void TiPlotDataCustomList::SetLow(int Index, double) {
    SlotOf(Index);
}
void TiPlotDataCustomList::SetOpen(int Index, double) {
    SlotOf(Index);
}
void TiPlotDataCustomList::SetClose(int Index, double) {
    SlotOf(Index);
}

TiPlotDrawAttributes TiPlotDataCustomList::PointAttributes(int Index) const {
    SlotOf(Index);
    return FDefaults;
}

void TiPlotDataCustomList::SetPointAttributes(int Index, const TiPlotDrawAttributes&) {
    SlotOf(Index);
}

int TiPlotDataCustomList::AddXY(double X, double Y) {
    int Slot = FCount;
    if (!FRingEnabled || FCount < FCapacity) {
        if (FCount == FCapacity)
            Grow();
        ++FCount;
    } else {
        // A full ring: the slot of the oldest point takes the new one.
        if (++FRingStart == FCount)
            FRingStart = 0;
        Slot = FRingStart == 0 ? FCount - 1 : FRingStart - 1;
    }
    const bool AsGiven = WriteNewPoint(Slot, X, Y);
    FIndex.Added(Slot, X, Y, FCount > 1, AsGiven);
    return FCount - 1;
}

void TiPlotDataCustomList::Grow() {
    int Delta = FCapacity > 64 ? FCapacity / 4 : FCapacity > 8 ? 16 : 4;
    SetCapacity(FCapacity + Delta);
}

void TiPlotDataCustomList::Clear() {
    FCount = 0;
    FRingStart = 0;
    if (!FRingEnabled)
        SetCapacity(0);
}

void TiPlotDataCustomList::SetCapacity(int NewCapacity) {
    if (FMaxCapacity < NewCapacity)
        throw Exception("Exceed Maximum List Size");
    if (NewCapacity < 0)
        throw Exception("List Size can not be negative");
    if (NewCapacity == FCapacity)
        return;
    Unwrap();
    const bool Shrinks = NewCapacity < FCapacity;
    if (NewCapacity == 0) {
        ReleaseStorage();
    } else {
        void* Block = ResizeBlock(FBlock, std::size_t(FCapacity) * FItemSize,
                                  std::size_t(NewCapacity) * FItemSize);
        if (!Block)
            throw std::bad_alloc();
        FBlock = Block;
    }
    FCapacity = NewCapacity;
    FCount = std::min(FCount, NewCapacity);
    if (Shrinks)
        FIndex.Shrink();
    else
        FIndex.Grow();
}

void TiPlotDataCustomList::CheckDeleteCount(int N) const {
    if (N < 0 || N >= FCount)
        throw Exception("Delete size out of Range");
}

void TiPlotDataCustomList::DeleteFirst(int N) {
    CheckDeleteCount(N);
    Unwrap();
    FCount -= N;
    if (FCount > 0 && N > 0) {
        auto* Bytes = static_cast<char*>(FBlock);
        std::memmove(Bytes, Bytes + std::size_t(N) * FItemSize, std::size_t(FCount) * FItemSize);
    }
    if (N > 0)
        FIndex.Moved();
}

void TiPlotDataCustomList::Unwrap() {
    if (FRingStart == 0)
        return;
    auto* Bytes = static_cast<char*>(FBlock);
    std::rotate(Bytes, Bytes + std::size_t(FRingStart) * FItemSize,
                Bytes + std::size_t(FCount) * FItemSize);
    FRingStart = 0;
    FIndex.Moved();
}

template <typename TBefore> int TiPlotDataCustomList::CountLeading(TBefore Before) const {
    // A binary search over the indices, written out: clang 14 (the fuzz
    // build's compiler) cannot compile libstdc++ 12's iota views.
    return WithVariant([&](const auto& List) {
        int Low = 0, High = FCount;
        while (Low < High) {
            const int Middle = Low + (High - Low) / 2;
            if (Before(List.XAt(Middle, RingSlot(Middle))))
                Low = Middle + 1;
            else
                High = Middle;
        }
        return Low;
    });
}

int TiPlotDataCustomList::FirstIndexAtOrAfter(double X) const {
    return CountLeading([X](double PointX) { return PointX < X; });
}

int TiPlotDataCustomList::LastIndexAtOrBefore(double X) const {
    return CountLeading([X](double PointX) { return PointX <= X; }) - 1;
}

int TiPlotDataCustomList::LastIndexAtOrBefore(double X, int First, int Last, int Guess) const {
    SlotOf(First);
    SlotOf(Last);
    return WithVariant([&](const auto& List) {
        const auto AtOrBefore = [&](int Index) { return List.XAt(Index, RingSlot(Index)) <= X; };
        // Low is known at or before X, High after it (Last + 1 stands for
        // "after"); strides that double from the guess close in on the end,
        // then a bisection finds it.
        int Low = First, High = Last + 1;
        const int Start = std::clamp(Guess, First, Last);
        long long Stride = 1;
        if (AtOrBefore(Start)) {
            Low = Start;
            while (Low + Stride <= Last && AtOrBefore(int(Low + Stride))) {
                Low = int(Low + Stride);
                Stride *= 2;
            }
            High = int(std::min<long long>(Low + Stride, Last + 1));
        } else {
            High = Start;
            while (High - Stride > First && !AtOrBefore(int(High - Stride))) {
                High = int(High - Stride);
                Stride *= 2;
            }
            Low = int(std::max<long long>(High - Stride, First));
        }
        while (High - Low > 1) {
            const int Middle = Low + (High - Low) / 2;
            if (AtOrBefore(Middle))
                Low = Middle;
            else
                High = Middle;
        }
        return Low;
    });
}

TiPlotDataSummary TiPlotDataCustomList::Summary(int First, int Last) const {
    if (Last < First)
        return {};
    const auto [Slot, N, Head] = SlotRange(First, Last);
    TiPlotDataSummary Sum = FIndex.Query(Slot, Slot + Head - 1);
    if (Head < N)
        Sum.Take(FIndex.Query(0, N - Head - 1));
    return Sum;
}

TiPlotDataSummary TiPlotDataCustomList::SumSlots(int Slot, int N) const {
    // The slot of the oldest point starts a new run of indices.
    if (Slot < FRingStart && Slot + N > FRingStart) {
        TiPlotDataSummary Sum = SumSlots(Slot, FRingStart - Slot);
        Sum.Take(SumSlots(FRingStart, Slot + N - FRingStart));
        return Sum;
    }
    const int Index = Slot >= FRingStart ? Slot - FRingStart : Slot + FCount - FRingStart;
    return WithVariant([&](const auto& List) {
        TiPlotDataSummary Sum;
        bool HasBefore = Index > 0;
        double Before = HasBefore ? List.XAt(Index - 1, RingSlot(Index - 1)) : 0.0;
        auto Take = [&](int, double X, double Y, bool Null, bool Empty) {
            Sum.Take(TiPlotDataSummary::OfPoint(Y, Null || Empty, HasBefore && !(X >= Before)));
            HasBefore = true;
            Before = X;
            return true;
        };
        List.VisitRun(Index, Slot, N, Take);
        return Sum;
    });
}

void TiPlotDataCustomList::XChanged(int Index) {
    // The point's X is compared with the one before and the one after it.
    PointChanged(Index);
    if (Index + 1 < FCount)
        PointChanged(Index + 1);
}

void TiPlotDataCustomList::SetRingBufferSize(int N) {
    // A negative size asks to delete more points than there are: refused
    // with the variant's message before anything changes.
    if (N < 0)
        CheckDeleteCount(FCount - N);
    if (N == 0) {
        if (FRingEnabled) {
            FRingEnabled = false;
            if (FRingStart != 0)
                Clear();
        }
        return;
    }
    FRingEnabled = true;
    if (N == FCapacity)
        return;
    if (FRingStart != 0)
        Clear();
    if (N < FCapacity && N < FCount)
        DeleteFirst(FCount - N);
    SetCapacity(N);
}

// ---- TiPlotDataFullList

static_assert(sizeof(TiPlotDrawAttributes) == 80);

TiPlotDataFullList::TiPlotDataFullList() : TiPlotDataCustomList(136, ipdsFullFeature) {
    static_assert(sizeof(TRecord) == 136);
}

TiPlotDataFullList::TRecord& TiPlotDataFullList::At(int Index) const {
    return Records<TRecord>()[SlotOf(Index)];
}

double TiPlotDataFullList::X(int Index) const {
    return At(Index).X;
}
double TiPlotDataFullList::Y(int Index) const {
    return At(Index).Y;
}
bool TiPlotDataFullList::Empty(int Index) const {
    return At(Index).Empty;
}
bool TiPlotDataFullList::Null(int Index) const {
    return At(Index).Null;
}
double TiPlotDataFullList::High(int Index) const {
    return At(Index).High;
}
double TiPlotDataFullList::Low(int Index) const {
    return At(Index).Low;
}
double TiPlotDataFullList::Open(int Index) const {
    return At(Index).Open;
}
double TiPlotDataFullList::Close(int Index) const {
    return At(Index).Close;
}
void TiPlotDataFullList::SetX(int Index, double Value) {
    At(Index).X = Value;
    XChanged(Index);
}
void TiPlotDataFullList::SetY(int Index, double Value) {
    At(Index).Y = Value;
    PointChanged(Index);
}
void TiPlotDataFullList::SetEmpty(int Index, bool Value) {
    At(Index).Empty = Value;
    PointChanged(Index);
}
void TiPlotDataFullList::SetNull(int Index, bool Value) {
    At(Index).Null = Value;
    PointChanged(Index);
}
void TiPlotDataFullList::SetHigh(int Index, double Value) {
    At(Index).High = Value;
}
void TiPlotDataFullList::SetLow(int Index, double Value) {
    At(Index).Low = Value;
}
void TiPlotDataFullList::SetOpen(int Index, double Value) {
    At(Index).Open = Value;
}
void TiPlotDataFullList::SetClose(int Index, double Value) {
    At(Index).Close = Value;
}

TiPlotDrawAttributes TiPlotDataFullList::PointAttributes(int Index) const {
    return At(Index).Attributes;
}

void TiPlotDataFullList::SetPointAttributes(int Index, const TiPlotDrawAttributes& Value) {
    At(Index).Attributes = Value;
}

void TiPlotDataFullList::GetPoint(int Index, double& X, bool& Null, bool& Empty, double& Y) const {
    const TRecord& R = At(Index);
    X = R.X;
    Null = R.Null;
    Empty = R.Empty;
    Y = R.Y;
}

bool TiPlotDataFullList::WriteNewPoint(int Slot, double X, double Y) {
    Records<TRecord>()[Slot] = TRecord{X, Y, false, false, 0, 0, 0, 0, Defaults()};
    return true;
}

void TiPlotDataFullList::CheckDeleteCount(int N) const {
    if (N < 0 || N >= Count())
        throw Exception("Delete Size Out Of Range");
}

// ---- TiPlotDataNullList

TiPlotDataNullList::TiPlotDataNullList() : TiPlotDataCustomList(24, ipdsStandard) {
    static_assert(sizeof(TRecord) == 24);
}

TiPlotDataNullList::TRecord& TiPlotDataNullList::At(int Index) const {
    return Records<TRecord>()[SlotOf(Index)];
}

double TiPlotDataNullList::X(int Index) const {
    return At(Index).X;
}
double TiPlotDataNullList::Y(int Index) const {
    return At(Index).Y;
}
bool TiPlotDataNullList::Empty(int Index) const {
    return At(Index).Flags & EmptyFlag;
}
bool TiPlotDataNullList::Null(int Index) const {
    return At(Index).Flags & NullFlag;
}
void TiPlotDataNullList::SetX(int Index, double Value) {
    At(Index).X = Value;
    XChanged(Index);
}
void TiPlotDataNullList::SetY(int Index, double Value) {
    At(Index).Y = Value;
    PointChanged(Index);
}
void TiPlotDataNullList::SetEmpty(int Index, bool Value) {
    SetFlag(Index, EmptyFlag, Value);
}
void TiPlotDataNullList::SetNull(int Index, bool Value) {
    SetFlag(Index, NullFlag, Value);
}

void TiPlotDataNullList::SetFlag(int Index, std::uint16_t Bit, bool Value) {
    std::uint16_t& Flags = At(Index).Flags;
    Flags = Value ? Flags | Bit : Flags & ~Bit;
    PointChanged(Index);
}

TiPlotDrawAttributes TiPlotDataNullList::PointAttributes(int Index) const {
    std::uint16_t Flags = At(Index).Flags;
    TiPlotDrawAttributes A = Defaults();
    A.MarkersVisible = Flags & MarkersVisibleFlag;
    A.MarkersStyle = TiPlotMarkerStyle((Flags & MarkersStyleMask) >> MarkersStyleShift);
    return A;
}

void TiPlotDataNullList::SetPointAttributes(int Index, const TiPlotDrawAttributes& Value) {
    std::uint16_t& Flags = At(Index).Flags;
    Flags = (Flags & (NullFlag | EmptyFlag)) | ((Value.MarkersStyle & 15) << MarkersStyleShift) |
            (Value.MarkersVisible ? MarkersVisibleFlag : 0);
}

void TiPlotDataNullList::GetPoint(int Index, double& X, bool& Null, bool& Empty, double& Y) const {
    const TRecord& R = At(Index);
    X = R.X;
    Null = R.Flags & NullFlag;
    Empty = R.Flags & EmptyFlag;
    Y = R.Y;
}

bool TiPlotDataNullList::WriteNewPoint(int Slot, double X, double Y) {
    std::uint16_t Flags = std::uint16_t((Defaults().MarkersStyle & 15) << MarkersStyleShift);
    if (Defaults().MarkersVisible)
        Flags |= MarkersVisibleFlag;
    Records<TRecord>()[Slot] = TRecord{X, Y, Flags};
    return true;
}

// ---- TiPlotDataCompactList

TiPlotDataCompactList::TiPlotDataCompactList() : TiPlotDataCustomList(8, ipdsCompact) {
    static_assert(sizeof(TRecord) == 8);
}

TiPlotDataCompactList::TRecord& TiPlotDataCompactList::At(int Index) const {
    return Records<TRecord>()[SlotOf(Index)];
}

double TiPlotDataCompactList::X(int Index) const {
    return At(Index).X;
}
double TiPlotDataCompactList::Y(int Index) const {
    return At(Index).Y;
}
void TiPlotDataCompactList::SetX(int Index, double Value) {
    At(Index).X = float(Value);
    XChanged(Index);
}
void TiPlotDataCompactList::SetY(int Index, double Value) {
    At(Index).Y = float(Value);
    PointChanged(Index);
}

void TiPlotDataCompactList::GetPoint(int Index, double& X, bool& Null, bool& Empty,
                                     double& Y) const {
    const TRecord& R = At(Index);
    X = R.X;
    Null = Empty = false;
    Y = R.Y;
}

// Read back rounded to single precision.
bool TiPlotDataCompactList::WriteNewPoint(int Slot, double X, double Y) {
    Records<TRecord>()[Slot] = TRecord{float(X), float(Y)};
    return false;
}

// ---- TiPlotDataCompactIntervalList

TiPlotDataCompactIntervalList::TiPlotDataCompactIntervalList()
    : TiPlotDataCustomList(4, ipdsCompactInterval) {}

float& TiPlotDataCompactIntervalList::At(int Index) const {
    return Records<float>()[SlotOf(Index)];
}

double TiPlotDataCompactIntervalList::X(int Index) const {
    return XOf(FFirstX, FInterval, Index);
}
double TiPlotDataCompactIntervalList::Y(int Index) const {
    return At(Index);
}
void TiPlotDataCompactIntervalList::SetY(int Index, double Value) {
    At(Index) = float(Value);
    PointChanged(Index);
}

void TiPlotDataCompactIntervalList::SetX(int Index, double Value) {
    if (Count() == 0 || Index != 0)
        throw Exception("Data Style does not support setting individual X-Value with the "
                        "exception of the first X-Value");
    FFirstX = Value;
    XValuesMoved();
}

void TiPlotDataCompactIntervalList::GetPoint(int Index, double& X, bool& Null, bool& Empty,
                                             double& Y) const {
    Y = At(Index);
    X = XOf(FFirstX, FInterval, Index);
    Null = Empty = false;
}

int TiPlotDataCompactIntervalList::AddXY(double X, double Y) {
    if (Count() == 0)
        FFirstX = X;
    else if (Count() == 1 && FInterval == -1.0)
        FInterval = X - FFirstX;
    const bool Overwrites = RingEnabled() && Count() == Capacity() && Count() > 0;
    int Index = TiPlotDataCustomList::AddXY(X, Y);
    // The oldest point is gone: every computed X moves on by one interval.
    if (Overwrites && Count() > 1)
        FFirstX = this->X(1);
    return Index;
}

void TiPlotDataCompactIntervalList::Clear() {
    TiPlotDataCustomList::Clear();
    FInterval = -1.0;
}

// X is computed, and moves on when a full ring takes a point.
bool TiPlotDataCompactIntervalList::WriteNewPoint(int Slot, double, double Y) {
    Records<float>()[Slot] = float(Y);
    return false;
}

void TiPlotDataCompactIntervalList::CheckDeleteCount(int N) const {
    if (N < 0 || N > Count())
        throw Exception("Delete size out of Range");
}

// ---- TiLimitDataList

void TiLimitDataList::Add(double Position, double Low, double High) {
    const auto At = std::upper_bound(FItems.begin(), FItems.end(), Position,
                                     [](double P, const TItem& Item) { return P < Item.Position; });
    FItems.insert(At, {Position, Low, High});
}

const TiLimitDataList::TItem& TiLimitDataList::At(int Index) const {
    if (Index < 0 || Index >= Count())
        IndexError();
    return FItems[Index];
}
