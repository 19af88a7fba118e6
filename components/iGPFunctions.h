#pragma once
// Drawing helpers shared by every drawn component, and the enumerations the
// components publish.
//
// How a module publishes its enumerations and sets (later modules follow it):
// - The enumerations go into a namespace named after the module, marked
//   Q_NAMESPACE, each one followed by Q_ENUM_NS, so the property files and
//   the property editor know their value names. A `using namespace` after the
//   namespace keeps the names unqualified everywhere, Q_PROPERTY included
//   (generic code finds the enumeration with iEnumeratorOf, iPropertyFile.h).
// - A set is a TSet<E> in code. Its Q_PROPERTY carries the flags type declared
//   beside E with Q_DECLARE_FLAGS and Q_FLAG_NS, whose int value is exactly
//   the TSet's bits (bit i = the element of ordinal i, not a mask value),
//   through a pair of accessors PFlags()/SetPFlags(v) written with ToFlags and
//   FromFlags. P() and SetP(v) stay the TSet accessors.
// - Colours are the only 32-bit unsigned (TColor) properties.

#include "platform/DateTime.h"
#include "platform/TSet.h"
#include "platform/Types.h"

#include <QFlags>
#include <QObject>

#include <cstdint>
#include <string>

class TCanvas;

namespace iGPFunctions {
Q_NAMESPACE

enum TiBevelStyle { ibsNone, ibsRaised, ibsLowered };
Q_ENUM_NS(TiBevelStyle)

// Counter-clockwise.
enum TiRotationAngle { ira000, ira090, ira180, ira270 };
Q_ENUM_NS(TiRotationAngle)

enum TiFillDirection {
    ifdTopBottom,
    ifdBottomTop,
    ifdLeftRight,
    ifdRightLeft,
    ifdTopLeftBottomRight,
    ifdBottomRightTopLeft,
    ifdBottomLeftTopRight,
    ifdTopRightBottomLeft,
    ifdRectangleOut,
    ifdRectangleIn,
    ifdCircleOut,
    ifdCircleIn
};
Q_ENUM_NS(TiFillDirection)

enum TiPrecisionStyle { ipsSignificantDigits, ipsFixedDecimalPoints };
Q_ENUM_NS(TiPrecisionStyle)

enum TiAlignmentHorizontal { iahCenter, iahLeft, iahRight };
Q_ENUM_NS(TiAlignmentHorizontal)

// The options of iDrawText, one bit each in this order.
enum TiTextFormatOption {
    itfLeft,
    itfCenter,
    itfRight,
    itfTop,
    itfVCenter,
    itfBottom,
    itfWordBreak,
    itfSingleLine,
    itfExpandTabs,
    itfNoClip,
    itfShowPrefix,
    itfCalcRect,
    itfEndEllipsis,
    itfPathEllipsis,
    itfWordEllipsis,
    itfModifyString
};
Q_ENUM_NS(TiTextFormatOption)

} // namespace iGPFunctions

using namespace iGPFunctions;

using TiTextFormatOptions = TSet<TiTextFormatOption, std::uint16_t>;

template <typename E, typename Bits> QFlags<E> ToFlags(TSet<E, Bits> Set) {
    return QFlags<E>::fromInt(int(Set.ToBits()));
}
template <typename Set, typename E> Set FromFlags(QFlags<E> Flags) {
    using Bits = decltype(Set().ToBits());
    return Set::FromBits(Bits(Flags.toInt()));
}

// Each channel divided by Divisor (>= 1) or multiplied by -Divisor (< 1),
// clamped to 0..255; the high byte is dropped.
TColor DimColor(TColor Color, int Divisor);

// The platform text call with the options mapped to its flags; returns the
// height of the text. With itfCalcRect only Rect is updated.
int iDrawText(TCanvas& Canvas, const std::string& Text, TRect& Rect, TiTextFormatOptions Options);
// Centred on the centre of Rect; Bounds receives the box the text covers.
void iDrawRotatedText(TCanvas& Canvas, const std::string& Text, const TRect& Rect,
                      TiRotationAngle Angle, TRect& Bounds);
// The widest of the lines split at CR, LF or CR LF; 0 for no text.
int GetTextMaxLineWidth(TCanvas& Canvas, const std::string& Text);
int GetTextHeight(TCanvas& Canvas, const std::string& Text);
int GetWrappedTextHeight(TCanvas& Canvas, const std::string& Text, int Width);
// Style 0 sunken, 1 raised, 2 flat (a polygon in clBtnShadow filled with the
// current brush); other values draw nothing.
void iDrawEdge(TCanvas& Canvas, const TRect& Rect, int Style);
// Inverting: drawing it twice restores the pixels.
void iDrawFocusRect(TCanvas& Canvas, const TRect& Rect);
void iGradientFill(TCanvas& Canvas, const TRect& Rect, TiFillDirection Direction, TColor StartColor,
                   TColor StopColor);

// Decimal places of numeric labels for the span between A and B.
int GetDecimalPlaces(int Precision, TiPrecisionStyle Style, double A, double B);

TRect NormalizedRect(int X1, int Y1, int X2, int Y2);
// Swap exchanges the roles of the a and b coordinates (X and Y of the plot).
TRect SwappedRect(bool Swap, int A1, int B1, int A2, int B2);
TPoint SwappedPoint(bool Swap, int A, int B);

double Log10(double X);
double Power(double Base, double Exponent);

// Whole days plus the time of day in the unit; a value beyond the 32-bit
// range or before 1899-12-30 gives 2147483647 (DateTimeToMinutes: 10000).
std::int32_t DateTimeToMilliseconds(TDateTime Value);
std::int32_t DateTimeToSeconds(TDateTime Value);
std::int32_t DateTimeToMinutes(TDateTime Value);
std::int32_t DateTimeToHours(TDateTime Value);
