#pragma once
// Point storage of a plot channel: a contiguous, growable block of fixed-size
// records with an optional ring-buffer mode, in four variants that trade
// features for memory. Points are addressed by index in insertion order.

#include "platform/Types.h"
#include "plot/iPlotTypes.h"

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

  protected:
    explicit TiPlotDataCustomList(int ItemSize);

    // Maps a point index to its record slot; fails outside 0 .. Count - 1.
    int SlotOf(int Index) const;
    template <typename TRecord> TRecord* Records() const { return static_cast<TRecord*>(FBlock); }
    // Fills the record of a new point.
    virtual void WriteNewPoint(int Slot, double X, double Y) = 0;
    // Fails with the variant's message when N points cannot be deleted.
    virtual void CheckDeleteCount(int N) const;

  private:
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
    TiPlotDrawAttributes FDefaults;
    void* FBlock = nullptr;
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
    void WriteNewPoint(int Slot, double X, double Y) override;
    void CheckDeleteCount(int N) const override;

  private:
    struct TRecord;
    TRecord& At(int Index) const;
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
    void WriteNewPoint(int Slot, double X, double Y) override;

  private:
    struct TRecord;
    TRecord& At(int Index) const;
    void SetFlag(int Index, std::uint16_t Bit, bool Value);
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
    void WriteNewPoint(int Slot, double X, double Y) override;

  private:
    struct TRecord;
    TRecord& At(int Index) const;
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
    void WriteNewPoint(int Slot, double X, double Y) override;
    void CheckDeleteCount(int N) const override;

  private:
    float& At(int Index) const;
    double FInterval = -1.0; // -1: not yet known
    double FFirstX = 0.0;
};

// Collects the points that fall into one pixel column of a trace.
struct TiPlotMinMaxPoint {
    bool Empty = true;
    std::int32_t XPixel = 0;
    double X = 0; // of the first point taken
    double Max = -1e301;
    double Min = 1e301;
    double First = 0;
    double Last = 0;

    void Reset();
    void Add(std::int32_t APixel, double AX, double AY);
    void Assign(const TiPlotMinMaxPoint& Source) { *this = Source; }
};

// The vertices of a poly-band limit: position, low bound, high bound.
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
