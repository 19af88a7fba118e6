#pragma once
// The base of the multi-digit seven-segment displays: the row geometry, the
// segment settings and the hidden character cell that paints every glyph.

#include "components/iCustomComponent.h"
#include "sevenseg/iSevenSegmentCharacter.h"

#include <QObject>

#include <algorithm>
#include <memory>

namespace iSevenSegmentDisplay {
Q_NAMESPACE

enum TiLeadingStyle { ilsNone, ilsZeros, ilsSpaces };
Q_ENUM_NS(TiLeadingStyle)

} // namespace iSevenSegmentDisplay

using namespace iSevenSegmentDisplay;

class TiSevenSegmentDisplay : public TiCustomComponent {
    Q_OBJECT
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
    Q_PROPERTY(int DigitSpacing READ DigitSpacing WRITE SetDigitSpacing)
    Q_PROPERTY(int SegmentMargin READ SegmentMargin WRITE SetSegmentMargin)
    Q_PROPERTY(TColor SegmentColor READ SegmentColor WRITE SetSegmentColor)
    Q_PROPERTY(int SegmentSeperation READ SegmentSeperation WRITE SetSegmentSeperation)
    Q_PROPERTY(int SegmentSize READ SegmentSize WRITE SetSegmentSize)
    Q_PROPERTY(bool ShowOffSegments READ ShowOffSegments WRITE SetShowOffSegments)
    Q_PROPERTY(bool PowerOff READ PowerOff WRITE SetPowerOff)
    Q_PROPERTY(bool AutoSegmentOffColor READ AutoSegmentOffColor WRITE SetAutoSegmentOffColor)
    Q_PROPERTY(TColor SegmentOffColor READ SegmentOffColor WRITE SetSegmentOffColor)

  public:
    explicit TiSevenSegmentDisplay(QWidget* Parent = nullptr);
    ~TiSevenSegmentDisplay() override;

    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool V) { SetSizing(FAutoSize, V); }
    // At least 1, at most 32 cells.
    int DigitCount() const { return FDigitCount; }
    void SetDigitCount(int V) { SetSizing(FDigitCount, std::clamp(V, 1, 32)); }
    int DigitSpacing() const { return FDigitSpacing; }
    void SetDigitSpacing(int V) { SetSizing(FDigitSpacing, V); }
    TiLeadingStyle LeadingStyle() const { return FLeadingStyle; }
    void SetLeadingStyle(TiLeadingStyle V) { SetProperty(FLeadingStyle, V, irkChange); }
    // Around the whole row.
    int SegmentMargin() const { return FSegmentMargin; }
    void SetSegmentMargin(int V) { SetSizing(FSegmentMargin, std::max(V, 0)); }
    TColor SegmentColor() const { return FSegmentColor; }
    void SetSegmentColor(TColor V) { SetProperty(FSegmentColor, V, irkChange); }
    int SegmentSeperation() const { return FSegmentSeperation; }
    void SetSegmentSeperation(int V) { SetProperty(FSegmentSeperation, std::max(V, 0), irkChange); }
    int SegmentSize() const { return FSegmentSize; }
    void SetSegmentSize(int V) { SetSizing(FSegmentSize, std::clamp(V, 1, 100)); }
    bool ShowOffSegments() const { return FShowOffSegments; }
    void SetShowOffSegments(bool V) { SetProperty(FShowOffSegments, V, irkChange); }
    bool PowerOff() const { return FPowerOff; }
    void SetPowerOff(bool V) { SetProperty(FPowerOff, V, irkChange); }
    const TNotifyEvent& OnValueChange() const { return FOnValueChange; }
    void SetOnValueChange(TNotifyEvent V) { FOnValueChange = std::move(V); }
    bool AutoSegmentOffColor() const { return FAutoSegmentOffColor; }
    void SetAutoSegmentOffColor(bool V) { SetProperty(FAutoSegmentOffColor, V, irkChange); }
    TColor SegmentOffColor() const { return FSegmentOffColor; }
    void SetSegmentOffColor(TColor V) { SetProperty(FSegmentOffColor, V, irkChange); }

  protected:
    // The size the row needs for its settings.
    virtual void iGetAutoSize(int& AWidth, int& AHeight) = 0;
    // Takes the size of iGetAutoSize, except while loading or without AutoSize.
    void DoAutoSize();
    // Stores a value that changes the row's size, then resizes and repaints.
    template <typename T> void SetSizing(T& Field, T V) {
        if (Field == V)
            return;
        Field = V;
        DoAutoSize();
        InvalidateChange();
    }

    // The glyph painter with the row's segment settings and no margin of its own.
    TiSevenSegmentCharacter& Character();

  private:
    bool FAutoSize = true;
    int FDigitCount = 4;
    int FDigitSpacing = 6;
    TiLeadingStyle FLeadingStyle = ilsSpaces;
    int FSegmentMargin = 5;
    TColor FSegmentColor = clWhite;
    int FSegmentSeperation = 1;
    int FSegmentSize = 1;
    bool FShowOffSegments = true;
    bool FPowerOff = false;
    TNotifyEvent FOnValueChange;
    bool FAutoSegmentOffColor = true;
    TColor FSegmentOffColor = clGray;
    // Never shown and always update-locked: it requests no repaints.
    std::unique_ptr<TiSevenSegmentCharacter> FCharacter;
};
