#include "sevenseg/iSevenSegmentDisplay.h"

TiSevenSegmentDisplay::TiSevenSegmentDisplay(QWidget* Parent)
    : TiCustomComponent(Parent), FCharacter(std::make_unique<TiSevenSegmentCharacter>()) {
    resize(15, 15);
    SetBackGroundColor(clBlack);
    FCharacter->BeginUpdate();
    FCharacter->SetSegmentMargin(0);
    FCharacter->SetAutoSize(false);
}

TiSevenSegmentDisplay::~TiSevenSegmentDisplay() = default;

void TiSevenSegmentDisplay::DoAutoSize() {
    if (IsLoading() || !FAutoSize)
        return;
    int AutoWidth = 0, AutoHeight = 0;
    iGetAutoSize(AutoWidth, AutoHeight);
    SetBounds(Left(), Top(), AutoWidth, AutoHeight);
}

TiSevenSegmentCharacter& TiSevenSegmentDisplay::Character() {
    TiSevenSegmentCharacter& C = *FCharacter;
    C.SetSegmentMargin(0);
    C.SetSegmentColor(FSegmentColor);
    C.SetSegmentOffColor(FSegmentOffColor);
    C.SetAutoSegmentOffColor(FAutoSegmentOffColor);
    C.SetSegmentSize(FSegmentSize);
    C.SetSegmentSeperation(FSegmentSeperation);
    C.SetShowOffSegments(FShowOffSegments);
    C.SetPowerOff(FPowerOff);
    return C;
}
