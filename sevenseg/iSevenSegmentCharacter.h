#pragma once
// One seven-segment character cell: a component of its own and the glyph
// painter of the multi-digit displays, which stamp their digits through
// DrawCharacter.

#include "components/iCustomComponent.h"

#include <QObject>

#include <algorithm>
#include <cstdint>

namespace iSevenSegmentCharacter {
Q_NAMESPACE

enum TSevenSegmentCharacter {
    ssc0,
    ssc1,
    ssc2,
    ssc3,
    ssc4,
    ssc5,
    ssc6,
    ssc7,
    ssc8,
    ssc9,
    sscA,
    sscB,
    sscC,
    sscD,
    sscE,
    sscF,
    sscPeriod,
    sscColon,
    sscPlus,
    sscMinus,
    sscBlank,
    sscLine,
    sscUpArrow,
    sscDownArrow,
    sscSemiColon,
    sscComma
};
Q_ENUM_NS(TSevenSegmentCharacter)

} // namespace iSevenSegmentCharacter

using namespace iSevenSegmentCharacter;

// Hex digits in either case and the marks . : + - _ < > ; , have a value;
// every other character is sscBlank.
TSevenSegmentCharacter CharacterToValue(char Character);
// Hex digits in lower case; '?' for a value outside the enumeration.
char ValueToCharacter(TSevenSegmentCharacter Value);

class TiSevenSegmentCharacter : public TiCustomComponent {
    Q_OBJECT
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
    Q_PROPERTY(char Character READ Character WRITE SetCharacter)
    Q_PROPERTY(bool PowerOff READ PowerOff WRITE SetPowerOff)
    Q_PROPERTY(TColor SegmentColor READ SegmentColor WRITE SetSegmentColor)
    Q_PROPERTY(int SegmentMargin READ SegmentMargin WRITE SetSegmentMargin)
    Q_PROPERTY(int SegmentSeperation READ SegmentSeperation WRITE SetSegmentSeperation)
    Q_PROPERTY(int SegmentSize READ SegmentSize WRITE SetSegmentSize)
    Q_PROPERTY(bool ShowOffSegments READ ShowOffSegments WRITE SetShowOffSegments)
    Q_PROPERTY(std::uint8_t SegmentBits READ SegmentBits WRITE SetSegmentBits)
    Q_PROPERTY(bool UseSegmentBits READ UseSegmentBits WRITE SetUseSegmentBits)
    Q_PROPERTY(bool SegAOn READ SegAOn WRITE SetSegAOn)
    Q_PROPERTY(bool SegBOn READ SegBOn WRITE SetSegBOn)
    Q_PROPERTY(bool SegCOn READ SegCOn WRITE SetSegCOn)
    Q_PROPERTY(bool SegDOn READ SegDOn WRITE SetSegDOn)
    Q_PROPERTY(bool SegEOn READ SegEOn WRITE SetSegEOn)
    Q_PROPERTY(bool SegFOn READ SegFOn WRITE SetSegFOn)
    Q_PROPERTY(bool SegGOn READ SegGOn WRITE SetSegGOn)
    Q_PROPERTY(TSevenSegmentCharacter Value READ Value WRITE SetValue)
    Q_PROPERTY(TColor SegmentOffColor READ SegmentOffColor WRITE SetSegmentOffColor)
    Q_PROPERTY(bool AutoSegmentOffColor READ AutoSegmentOffColor WRITE SetAutoSegmentOffColor)

  public:
    explicit TiSevenSegmentCharacter(QWidget* Parent = nullptr);

    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool V) { SetSizing(FAutoSize, V); }
    char Character() const { return ValueToCharacter(FValue); }
    void SetCharacter(char V) { SetValue(CharacterToValue(V)); }
    bool PowerOff() const { return FPowerOff; }
    void SetPowerOff(bool V) { SetProperty(FPowerOff, V, irkChange); }
    TColor SegmentColor() const { return FSegmentColor; }
    void SetSegmentColor(TColor V) { SetProperty(FSegmentColor, V, irkChange); }
    int SegmentMargin() const { return FSegmentMargin; }
    void SetSegmentMargin(int V) { SetSizing(FSegmentMargin, std::max(V, 0)); }
    int SegmentSeperation() const { return FSegmentSeperation; }
    void SetSegmentSeperation(int V) { SetProperty(FSegmentSeperation, V < 0 ? 0 : V, irkChange); }
    int SegmentSize() const { return FSegmentSize; }
    void SetSegmentSize(int V) { SetSizing(FSegmentSize, std::max(V, 1)); }
    bool ShowOffSegments() const { return FShowOffSegments; }
    void SetShowOffSegments(bool V) { SetProperty(FShowOffSegments, V, irkChange); }
    // Bit 0 is segment A, bit 6 segment G; bit 7 is ignored.
    std::uint8_t SegmentBits() const { return FSegmentBits; }
    void SetSegmentBits(std::uint8_t V);
    bool UseSegmentBits() const { return FUseSegmentBits; }
    void SetUseSegmentBits(bool V) { SetProperty(FUseSegmentBits, V, irkChange); }
    bool SegAOn() const { return SegmentOn(0); }
    void SetSegAOn(bool V) { SetSegmentOn(0, V); }
    bool SegBOn() const { return SegmentOn(1); }
    void SetSegBOn(bool V) { SetSegmentOn(1, V); }
    bool SegCOn() const { return SegmentOn(2); }
    void SetSegCOn(bool V) { SetSegmentOn(2, V); }
    bool SegDOn() const { return SegmentOn(3); }
    void SetSegDOn(bool V) { SetSegmentOn(3, V); }
    bool SegEOn() const { return SegmentOn(4); }
    void SetSegEOn(bool V) { SetSegmentOn(4, V); }
    bool SegFOn() const { return SegmentOn(5); }
    void SetSegFOn(bool V) { SetSegmentOn(5, V); }
    bool SegGOn() const { return SegmentOn(6); }
    void SetSegGOn(bool V) { SetSegmentOn(6, V); }
    TSevenSegmentCharacter Value() const { return FValue; }
    void SetValue(TSevenSegmentCharacter V) { SetSizing(FValue, V); }
    TColor SegmentOffColor() const { return FSegmentOffColor; }
    void SetSegmentOffColor(TColor V) { SetProperty(FSegmentOffColor, V, irkChange); }
    bool AutoSegmentOffColor() const { return FAutoSegmentOffColor; }
    void SetAutoSegmentOffColor(bool V) { SetProperty(FAutoSegmentOffColor, V, irkChange); }

    // Paints the glyph of Value in the cell of the given size whose top-left
    // corner is Origin, with this object's segment settings.
    void DrawCharacter(TCanvas& Canvas, TPoint Origin, TSevenSegmentCharacter Value, int CellHeight,
                       int CellWidth);
    // Of the current Value: the period, colon, semicolon and comma are narrow.
    int GetCharacterWidth() const;
    int GetCharacterHeight() const;

  protected:
    void iPaintTo(TCanvas& Canvas) override;

  private:
    bool SegmentOn(int Segment) const { return (FSegmentBits >> Segment & 1) != 0; }
    void SetSegmentOn(int Segment, bool V);
    void DoAutoSize();
    // Stores a value that changes the cell's size, then resizes and repaints.
    template <typename T> void SetSizing(T& Field, T V) {
        if (Field == V)
            return;
        Field = V;
        DoAutoSize();
        InvalidateChange();
    }

    bool FAutoSize = true;
    bool FPowerOff = false;
    TColor FSegmentColor = clLime;
    int FSegmentMargin = 2;
    int FSegmentSeperation = 1;
    int FSegmentSize = 1;
    bool FShowOffSegments = true;
    std::uint8_t FSegmentBits = 0;
    bool FUseSegmentBits = false;
    TSevenSegmentCharacter FValue = ssc0;
    TColor FSegmentOffColor = clGreen;
    bool FAutoSegmentOffColor = true;
};
