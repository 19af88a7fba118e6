#pragma once
// A number on a row of seven-segment cells: an optional sign cell, the
// integer digits with leading blanks or zeros, the decimal mark in the gap
// before the decimals, and arrows instead of digits when the number does not
// fit.

#include "sevenseg/iSevenSegmentDisplay.h"

class TiSevenSegmentAnalog : public TiSevenSegmentDisplay {
    Q_OBJECT
    Q_PROPERTY(int DigitCount READ DigitCount WRITE SetDigitCount)
    Q_PROPERTY(TiLeadingStyle LeadingStyle READ LeadingStyle WRITE SetLeadingStyle)
    Q_PROPERTY(int Precision READ Precision WRITE SetPrecision)
    Q_PROPERTY(double Value READ Value WRITE SetValue)
    Q_PROPERTY(bool ShowSign READ ShowSign WRITE SetShowSign)

  public:
    explicit TiSevenSegmentAnalog(QWidget* Parent = nullptr);

    // Decimals shown, 0 to 13.
    int Precision() const { return FPrecision; }
    void SetPrecision(int V) { SetSizing(FPrecision, std::clamp(V, 0, 13)); }
    // Above 1e15 or not a number it becomes 1e15; OnValueChange follows a change.
    double Value() const { return FValue; }
    void SetValue(double V);
    bool ShowSign() const { return FShowSign; }
    void SetShowSign(bool V) { SetSizing(FShowSign, V); }

  protected:
    void iGetAutoSize(int& AWidth, int& AHeight) override;
    void iPaintTo(TCanvas& Canvas) override;

  private:
    int CellCount() const { return DigitCount() + (FShowSign ? 1 : 0); }

    int FPrecision = 2;
    double FValue = 0;
    bool FShowSign = true;
};
