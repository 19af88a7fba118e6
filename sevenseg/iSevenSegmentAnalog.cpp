#include "sevenseg/iSevenSegmentAnalog.h"

#include "platform/Arith.h"
#include "platform/Text.h"

#include <cmath>
#include <string>

namespace {

constexpr double MaxValue = 1e15;

// The fixed-point text split at its decimal separator (period or comma).
struct TFixedText {
    std::string Integer, Fraction;
    char Separator = '\0';
};

TFixedText SplitFixed(const std::string& Text) {
    for (char Separator : {'.', ','}) {
        const std::size_t At = Text.find(Separator);
        if (At != std::string::npos)
            return {Text.substr(0, At), Text.substr(At + 1), Separator};
    }
    return {Text, "", '\0'};
}

// Places the cells of the row from left to right.
class TRowPainter {
  public:
    TRowPainter(TCanvas& Canvas, TiSevenSegmentCharacter& Character, int X, int Y, int CellWidth,
                int CellHeight, int Spacing)
        : FCanvas(Canvas), FCharacter(Character), FX(X), FY(Y), FCellWidth(CellWidth),
          FCellHeight(CellHeight), FSpacing(Spacing) {}

    void Cell(TSevenSegmentCharacter Value) {
        FCharacter.DrawCharacter(FCanvas, Point(FX, FY), Value, FCellHeight, FCellWidth);
        FX += FCellWidth + FSpacing;
    }
    void Cells(const std::string& Text) {
        for (char C : Text)
            Cell(CharacterToValue(C));
    }
    // In the gap before the next cell, which stays where it is.
    void DecimalMark(TSevenSegmentCharacter Value) {
        const int X = FX - int(Round(FCellWidth / 10.0 + FSpacing / 2.0));
        FCharacter.DrawCharacter(FCanvas, Point(X, FY), Value, FCellHeight, Div(FCellWidth, 5));
    }

  private:
    TCanvas& FCanvas;
    TiSevenSegmentCharacter& FCharacter;
    int FX, FY, FCellWidth, FCellHeight, FSpacing;
};

} // namespace

TiSevenSegmentAnalog::TiSevenSegmentAnalog(QWidget* Parent) : TiSevenSegmentDisplay(Parent) {
    DoAutoSize();
}

void TiSevenSegmentAnalog::SetValue(double V) {
    if (V > MaxValue || std::isnan(V))
        V = MaxValue;
    if (V == FValue)
        return;
    FValue = V;
    InvalidateChange();
    if (OnValueChange())
        OnValueChange()(this);
}

void TiSevenSegmentAnalog::iGetAutoSize(int& AWidth, int& AHeight) {
    TiSevenSegmentCharacter& C = Character();
    C.SetCharacter('0');
    AWidth = (C.GetCharacterWidth() + DigitSpacing()) * CellCount() + 2 * SegmentMargin() -
             DigitSpacing();
    AHeight = C.GetCharacterHeight() + 2 * SegmentMargin();
}

void TiSevenSegmentAnalog::iPaintTo(TCanvas& Canvas) {
    TiSevenSegmentCharacter& C = Character();
    iPaintBackGround(Canvas, BackGroundColor());
    const int N = CellCount(), Margin = SegmentMargin(), Spacing = DigitSpacing();
    const int CellWidth = int(Trunc(double(Width() - 2 * Margin - (N - 1) * Spacing) / N));
    const int CellHeight = Height() - 2 * Margin;
    const int X = Div(Width() + Spacing - N * (CellWidth + Spacing), 2);
    TRowPainter Row(Canvas, C, X, Margin, CellWidth, CellHeight, Spacing);

    const std::string Text = FormatFixed(std::fabs(FValue), FPrecision);
    TFixedText Fixed = SplitFixed(Text);
    if (FShowSign)
        Row.Cell(FValue >= 0 ? sscPlus : sscMinus);

    const int Digits = DigitCount();
    const int Room = FPrecision != 0 ? Digits + 1 : Digits;
    // Minus infinity has no digits to show.
    if (int(Text.size()) > Room || !std::isfinite(FValue)) {
        for (int I = 0; I < Digits; ++I)
            Row.Cell(FValue >= 0 ? sscUpArrow : sscDownArrow);
        return;
    }

    if (LeadingStyle() != ilsNone && int(Fixed.Integer.size()) < Digits - FPrecision)
        Fixed.Integer.insert(0, std::size_t(Digits - FPrecision - int(Fixed.Integer.size())),
                             LeadingStyle() == ilsZeros ? '0' : ' ');
    Row.Cells(Fixed.Integer);

    if (FPrecision > 0 && Digits > 1) {
        Row.DecimalMark(Fixed.Separator == '.' ? sscPeriod : sscComma);
        const std::size_t Decimals = std::size_t(FPrecision);
        if (Fixed.Fraction.size() > Decimals)
            Fixed.Fraction.resize(Decimals);
        else
            Fixed.Fraction.insert(0, Decimals - Fixed.Fraction.size(), '0');
        Row.Cells(Fixed.Fraction.substr(0, std::size_t(std::min(FPrecision, Digits - 1))));
    }
}
