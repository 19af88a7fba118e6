#pragma once
// The arithmetic of a plot axis, free of the widget: the value-to-pixel
// mapping, the axis box, the ticks and the label texts.

#include "components/iGPFunctions.h"
#include "platform/Arith.h"
#include "platform/Types.h"

#include <QObject>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace iPlotAxisScale {
Q_NAMESPACE

enum TiPlotScaleType : std::uint8_t { ipstLinear, ipstLog10 };
Q_ENUM_NS(TiPlotScaleType)

enum TiPlotTextFormat : std::uint8_t {
    iptfValue,
    iptfExponent,
    iptfPrefix,
    iptfDateTime,
    iptfPrice32nds,
    iptfThousands
};
Q_ENUM_NS(TiPlotTextFormat)

} // namespace iPlotAxisScale

using namespace iPlotAxisScale;

// What the scale setters store.
inline double ClampAxisMin(double Value) {
    return std::clamp(Value, -1e300, 1e300);
}
inline double ClampAxisSpan(double Value) {
    return std::clamp(Value, 1e-300, 1e300);
}
double ClampDesiredIncrement(double Value);

// Pixel0 - round(Offset) within -Limit .. Limit. The offset is bounded
// first so that rounding it cannot overflow; NaN counts as the upper bound.
// Comparisons rather than fmin and fmax, which are calls.
inline int PixelAtOffset(int Pixel0, double Offset, std::int64_t Limit) {
    const double Bounded = Offset < 4e9 ? (Offset > -4e9 ? Offset : -4e9) : 4e9;
    return int(std::clamp<std::int64_t>(Pixel0 - Round(Bounded), -Limit, Limit));
}

// The mapping between values and pixels along an axis. Pixel0 is the pixel
// of Min, Pixel1 that of Min + Span; the axis box lies between them.
struct TiPlotAxisScale {
    int Pixel0 = 0;
    int Pixel1 = 0;
    double Min = 0;
    double Span = 100;
    TiPlotScaleType ScaleType = ipstLinear;
    double PixelsPerUnit = 0; // (Pixel0 - Pixel1) / Span

    double Max() const { return Min + Span; }
    int PixelLength() const;
    // Linear: limited to -32000 .. 32000; logarithmic: 1 stands in for
    // values that are not positive. Inline for the linear scale: every
    // point of a trace comes through here.
    int ValueToPixel(double Value) const {
        if (ScaleType == ipstLinear && Pixel0 != Pixel1 && Span > SmallestSpan)
            return LinearPixel(Value);
        return OtherPixel(Value);
    }
    double PixelToValue(double Pixel) const;
    int LengthToPixels(double Length) const;
    // The value's pixel lies in the axis box, ends included.
    bool InRange(double Value) const;
    bool PixelInRange(int Pixel) const;

    static constexpr double SmallestSpan = 1e-300;

  private:
    int LinearPixel(double Value) const {
        return PixelAtOffset(Pixel0, (Value - Min) * PixelsPerUnit, 32000);
    }
    int OtherPixel(double Value) const;
};

TiPlotAxisScale MakeAxisScale(int Pixel0, int Pixel1, double Min, double Span,
                              TiPlotScaleType ScaleType);
// Min sits at the left or bottom end of Box, at the other end when reversed.
TiPlotAxisScale MakeAxisScale(const TRect& Box, bool Horizontal, bool ReverseScale, double Min,
                              double Span, TiPlotScaleType ScaleType);

// How far the axis box is shortened at a stacked end, so that the label at
// that end stays clear of the neighbouring axis. LabelLength is the label's
// size along the axis, ZeroSize the width (horizontal axis) or height
// (vertical axis) of "0".
int AxisEndsMargin(bool Horizontal, bool LabelsVisible, int LabelLength, int ZeroSize,
                   double StackingEndsMargin);

struct TiPlotAxisBox {
    TRect Box;
    TRect MouseRect;
};
TiPlotAxisBox CalcAxisBox(const TRect& LayoutRect, bool Horizontal, int EndsMargin,
                          bool StackedBefore, bool StackedAfter);

// Pixels one label needs along the axis, separation included.
int LabelPitch(bool Horizontal, TiRotationAngle Rotation, int MaxLabelWidth, int ZeroWidth,
               int ZeroHeight, double LabelSeparation);

struct TiPlotLabelFormat {
    TiPlotTextFormat Style = iptfValue;
    std::string DateTimeFormat = "hh:nn:ss";
    int Precision = 3;
    TiPrecisionStyle PrecisionStyle = ipsSignificantDigits;
};

// The text of Value on an axis of Span; "Unknown" when the style has no text
// for it, "Error" when a conversion fails.
std::string FormatAxisValue(const TiPlotLabelFormat& Format, double Value, double Span,
                            TiPlotScaleType ScaleType);

struct TiPlotTick {
    bool Minor = false;
    double Value = 0;
    int Pixel = 0;
    std::string Text; // label of a major tick
    bool Visible = false;
};

// Visible and Pixel of every tick for the scale.
void PlaceTicks(std::vector<TiPlotTick>& Ticks, const TiPlotAxisScale& Scale);

struct TiPlotTickSettings {
    int LabelPitch = 1;
    double DesiredIncrement = 0;
    double DesiredStart = 0;
    int MinorCount = 1;
    bool LabelsVisible = true;
    TiPlotLabelFormat Labels;
};

struct TiPlotTicks {
    std::vector<TiPlotTick> Ticks;
    // The scale the ticks were placed on: month and year ticks limit Min and
    // Span to the calendar's range, and the axis takes these values over.
    TiPlotAxisScale Scale;
    bool MonthTicks = false;
    bool YearTicks = false;
};

TiPlotTicks CalcTicks(const TiPlotAxisScale& Scale, const TiPlotTickSettings& Settings);
