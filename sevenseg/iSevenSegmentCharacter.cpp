#include "sevenseg/iSevenSegmentCharacter.h"

#include "platform/Arith.h"
#include "platform/Canvas.h"
#include "platform/SystemColors.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace {

// The marks in the order of their values from sscPeriod on; '\0' stands
// for sscBlank, which any unknown character becomes.
constexpr std::string_view Marks{".:+-\0_<>;,", 10};

// Bit 0 = segment A ... bit 6 = segment G, for ssc0 ... sscF.
constexpr std::uint8_t HexSegmentBits[16] = {63,  6,   91,  79,  102, 109, 125, 7,
                                             127, 103, 119, 124, 57,  94,  121, 113};

constexpr TColor PaletteMarker = 0x02000000;

using TPolygon = std::vector<TPoint>;

struct TPart {
    TPolygon Points;
    bool Lit;
};

// A glyph's cell in its own coordinates with the segment settings:
// M margin, S separation, Z segment size.
struct TCell {
    int W, H, M, S, Z;

    int Middle() const { return Div(H - 1, 2); }
    int CenterX() const { return Div(W, 2); }
    // N / 18 of the height, rounded.
    int Eighteenths(double N) const { return int(Round(N * H / 18.0)); }
};

TPolygon Box(int Left, int Top, int Right, int Bottom) {
    return {{Left, Top}, {Right, Top}, {Right, Bottom}, {Left, Bottom}};
}

int Rounded(double V) {
    return int(Round(V));
}

TPolygon SegmentPolygon(const TCell& C, int Segment) {
    const int W = C.W, H = C.H, M = C.M, S = C.S, Z = C.Z, h = C.Middle();
    switch (Segment) {
    case 0:
        return {{M + S, M},
                {W - M - S - 1, M},
                {W - M - S - 2 * Z - 1, M + 2 * Z},
                {M + S + 2 * Z, M + 2 * Z}};
    case 1:
        return {{W - M - 1, M + S},
                {W - M - 1, h - S},
                {W - M - 2 * Z - 1, h - S - 2 * Z},
                {W - M - 2 * Z - 1, M + S + 2 * Z}};
    case 2:
        return {{W - M - 1, h + S},
                {W - M - 1, H - 1 - M - S},
                {W - M - 2 * Z - 1, H - 1 - M - S - 2 * Z},
                {W - M - 2 * Z - 1, h + S + 2 * Z}};
    case 3:
        return {{M + S, H - M - 1},
                {W - M - S - 1, H - M - 1},
                {W - M - S - 2 * Z - 1, H - M - 2 * Z - 1},
                {M + S + 2 * Z, H - M - 2 * Z - 1}};
    case 4:
        return {{M, h + S},
                {M, H - 1 - M - S},
                {M + 2 * Z, H - 1 - M - S - 2 * Z},
                {M + 2 * Z, h + S + 2 * Z}};
    case 5:
        return {{M, M + S}, {M, h - S}, {M + 2 * Z, h - S - 2 * Z}, {M + 2 * Z, M + S + 2 * Z}};
    default:
        return {{M + S, h},         {M + S + Z, h - Z},         {W - M - S - Z - 1, h - Z},
                {W - M - S - 1, h}, {W - M - S - Z - 1, h + Z}, {M + S + Z, h + Z}};
    }
}

// Lit segments always; unlit ones only when off segments are shown.
std::vector<TPart> PatternParts(const TCell& C, std::uint8_t Bits, bool ShowOffSegments) {
    std::vector<TPart> Parts;
    for (int Segment = 0; Segment < 7; ++Segment) {
        const bool Lit = (Bits >> Segment & 1) != 0;
        if (Lit || ShowOffSegments)
            Parts.push_back({SegmentPolygon(C, Segment), Lit});
    }
    return Parts;
}

// A bar 1 / 4 to 3 / 4 across the cell, centred N / 18 of the height down.
TPolygon Bar(const TCell& C, double N) {
    const double Half = C.Z / 2.0;
    return Box(Rounded(2.5 * C.W / 10), Rounded(N * C.H / 18 - Half), Rounded(7.5 * C.W / 10),
               Rounded(N * C.H / 18 + Half));
}

TPolygon PlusBar(const TCell& C) {
    return Bar(C, 4.5);
}

TPolygon PlusStem(const TCell& C) {
    const double Half = C.Z / 2.0;
    return Box(Rounded(C.W / 2.0 - Half), C.Eighteenths(2), Rounded(C.W / 2.0 + Half),
               C.Eighteenths(7));
}

TPolygon MinusBar(const TCell& C) {
    return Bar(C, 13.5);
}

// A colon dot between N1 / 18 and N2 / 18 of the height.
TPolygon Dot(const TCell& C, int N1, int N2) {
    return Box(C.CenterX() - C.Z, C.Eighteenths(N1), C.CenterX() + C.Z, C.Eighteenths(N2));
}

TPolygon Tail(const TCell& C) {
    return Box(C.CenterX(), C.Eighteenths(13), C.CenterX() + C.Z, C.Eighteenths(16));
}

// The triangle's tip lies Direction (-1 up, 1 down) from the middle.
TPolygon Arrow(const TCell& C, int Direction) {
    const int Center = Div(C.W - 1, 2), Side = Div(C.W - 1 - 2 * C.M, 2), Middle = Div(C.H, 2);
    const int Tip =
        Direction < 0 ? std::max(Middle - Side, C.M) : std::min(Middle + Side, C.H - C.M - 1);
    return {{Center + Side, Middle}, {Center - Side, Middle}, {Center, Tip}};
}

// Both sign positions: the active one lit, the other unlit if shown.
std::vector<TPart> SignParts(const TCell& C, bool Plus, bool ShowOffSegments) {
    std::vector<TPart> Lit = Plus ? std::vector<TPart>{{PlusBar(C), true}, {PlusStem(C), true}}
                                  : std::vector<TPart>{{MinusBar(C), true}};
    if (ShowOffSegments) {
        if (Plus)
            Lit.push_back({MinusBar(C), false});
        else
            Lit.insert(Lit.end(), {{PlusBar(C), false}, {PlusStem(C), false}});
    }
    return Lit;
}

std::vector<TPart> GlyphParts(const TCell& C, TSevenSegmentCharacter Value, bool ShowOffSegments) {
    switch (Value) {
    case sscPeriod:
        return {{Box(C.CenterX() - C.Z, C.H - 2 * C.Z, C.CenterX() + C.Z, C.H), true}};
    case sscColon:
        return {{Dot(C, 5, 7), true}, {Dot(C, 11, 13), true}};
    case sscSemiColon:
        return {{Dot(C, 5, 7), true}, {Dot(C, 11, 13), true}, {Tail(C), true}};
    case sscComma:
        return {{Dot(C, 11, 13), true}, {Tail(C), true}};
    case sscPlus:
        return SignParts(C, true, ShowOffSegments);
    case sscMinus:
        return SignParts(C, false, ShowOffSegments);
    case sscLine:
        return {
            {Box(C.M, C.Middle() - Div(C.Z, 2), C.W - C.M - 1, C.Middle() + Div(C.Z, 2)), true}};
    case sscUpArrow:
        return {{Arrow(C, -1), true}};
    case sscDownArrow:
        return {{Arrow(C, 1), true}};
    default:
        const bool Hex = Value >= ssc0 && Value <= sscF;
        return PatternParts(C, Hex ? HexSegmentBits[Value] : 0, ShowOffSegments);
    }
}

// The colour with the palette marker; a system colour is resolved first,
// since the marker would otherwise turn its index into a colour.
TColor PaletteColor(TColor Color) {
    return ColorToRGB(Color) | PaletteMarker;
}

} // namespace

TSevenSegmentCharacter CharacterToValue(char Character) {
    if (Character >= '0' && Character <= '9')
        return TSevenSegmentCharacter(ssc0 + (Character - '0'));
    if (Character >= 'a' && Character <= 'f')
        return TSevenSegmentCharacter(sscA + (Character - 'a'));
    if (Character >= 'A' && Character <= 'F')
        return TSevenSegmentCharacter(sscA + (Character - 'A'));
    const std::size_t Mark = Character == '\0' ? std::string_view::npos : Marks.find(Character);
    return Mark == std::string_view::npos ? sscBlank
                                          : TSevenSegmentCharacter(sscPeriod + int(Mark));
}

char ValueToCharacter(TSevenSegmentCharacter Value) {
    if (Value >= ssc0 && Value <= ssc9)
        return char('0' + (Value - ssc0));
    if (Value >= sscA && Value <= sscF)
        return char('a' + (Value - sscA));
    if (Value == sscBlank)
        return ' ';
    if (Value >= sscPeriod && Value <= sscComma)
        return Marks[std::size_t(Value - sscPeriod)];
    return '?';
}

TiSevenSegmentCharacter::TiSevenSegmentCharacter(QWidget* Parent) : TiCustomComponent(Parent) {
    SetBackGroundColor(clBlack);
    DoAutoSize();
}

void TiSevenSegmentCharacter::SetSegmentBits(std::uint8_t V) {
    SetProperty(FSegmentBits, std::uint8_t(V & 0x7F), irkChange);
}

void TiSevenSegmentCharacter::SetSegmentOn(int Segment, bool V) {
    const std::uint8_t Bit = std::uint8_t(1 << Segment);
    SetSegmentBits(V ? FSegmentBits | Bit : FSegmentBits & ~Bit);
}

int TiSevenSegmentCharacter::GetCharacterWidth() const {
    const bool Narrow =
        FValue == sscPeriod || FValue == sscColon || FValue == sscSemiColon || FValue == sscComma;
    return 2 * FSegmentMargin + (Narrow ? 2 : 10) * FSegmentSize;
}

int TiSevenSegmentCharacter::GetCharacterHeight() const {
    return 2 * FSegmentMargin + 18 * FSegmentSize;
}

void TiSevenSegmentCharacter::DoAutoSize() {
    if (IsLoading() || !FAutoSize)
        return;
    SetBounds(Left(), Top(), GetCharacterWidth() + 1, GetCharacterHeight() + 1);
}

void TiSevenSegmentCharacter::iPaintTo(TCanvas& Canvas) {
    iPaintBackGround(Canvas, BackGroundColor());
    DrawCharacter(Canvas, Point(0, 0), FValue, Height(), Width());
}

void TiSevenSegmentCharacter::DrawCharacter(TCanvas& Canvas, TPoint Origin,
                                            TSevenSegmentCharacter Value, int CellHeight,
                                            int CellWidth) {
    const TColor OffColor = FAutoSegmentOffColor
                                ? PaletteColor(DimColor(ColorToRGB(FSegmentColor), 3))
                                : FSegmentOffColor;
    const TColor OnColor = FPowerOff ? OffColor : PaletteColor(FSegmentColor);
    const TCell Cell{CellWidth, CellHeight, FSegmentMargin, FSegmentSeperation, FSegmentSize};
    const std::vector<TPart> Parts = FUseSegmentBits
                                         ? PatternParts(Cell, FSegmentBits, FShowOffSegments)
                                         : GlyphParts(Cell, Value, FShowOffSegments);
    for (const TPart& Part : Parts) {
        const TColor Color = Part.Lit ? OnColor : OffColor;
        Canvas.Brush().SetColor(Color);
        Canvas.Pen().SetColor(Color);
        TPolygon Points = Part.Points;
        for (TPoint& P : Points)
            P = Point(P.X + Origin.X, P.Y + Origin.Y);
        Canvas.Polygon(Points);
    }
}
