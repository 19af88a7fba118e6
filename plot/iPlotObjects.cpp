#include "plot/iPlotObjects.h"

#include "components/iGPFunctions.h"
#include "platform/Arith.h"
#include "platform/Exception.h"

#include <QTimer>

#include <algorithm>
#include <cctype>

namespace {

constexpr int FirstRepeatMSec = 500;
constexpr int RepeatMSec = 50;
constexpr double MinimumSpan = 5.0;

} // namespace

bool SameName(const std::string& A, const std::string& B) {
    return A.size() == B.size() && std::equal(A.begin(), A.end(), B.begin(), [](char X, char Y) {
               return std::tolower((unsigned char)X) == std::tolower((unsigned char)Y);
           });
}

bool KeyLess(const std::string& A, const std::string& B) {
    return std::lexicographical_compare(A.begin(), A.end(), B.begin(), B.end(), [](char X, char Y) {
        return std::tolower((unsigned char)X) < std::tolower((unsigned char)Y);
    });
}

bool IsBlank(const std::string& Text) {
    return Text.find_first_not_of(" \t\r\n") == std::string::npos;
}

TiPlotPixelMargins CharacterMargins(TCanvas& Canvas, double Left, double Top, double Right,
                                    double Bottom) {
    const double CharWidth = GetTextMaxLineWidth(Canvas, "0");
    const double CharHeight = GetTextHeight(Canvas, "0");
    return {int(Round(CharWidth * Left)), int(Round(CharHeight * Top)),
            int(Round(CharWidth * Right)), int(Round(CharHeight * Bottom))};
}

// ---- TiPlotObject

TiPlotObject::TiPlotObject(TiPlotHost* Host) : FHost(Host) {}

void DestroyPlotObject(TiPlotObject* Object) {
    Object->AnnounceRemoval();
    delete Object;
}

TiPlotObject::~TiPlotObject() {
    AnnounceRemoval();
}

void TiPlotObject::AnnounceRemoval() {
    if (FRemovalAnnounced)
        return;
    FRemovalAnnounced = true;
    if (FHost)
        FHost->ObjectRemoving(this);
    DoChange();
}

void TiPlotObject::SetName(const std::string& Value) {
    if (FName == Value)
        return;
    FOldName = FName;
    FName = Value;
    if (FHost)
        FHost->ObjectRenamed(this);
    DoChange();
}

void TiPlotObject::SetVisible(bool Value) {
    Change(FVisible, Value);
}

void TiPlotObject::SetEnabled(bool Value) {
    if (FEnabled == Value)
        return;
    FEnabled = Value;
    if (!Value)
        SetFocused(false);
    DoChange();
}

void TiPlotObject::SetLayer(int Value) {
    Change(FLayer, Value);
}

void TiPlotObject::SetPopupEnabled(bool Value) {
    Change(FPopupEnabled, Value);
}

void TiPlotObject::SetFocused(bool Value) {
    if (FFocused == Value)
        return;
    FFocused = Value;
    if (FHost)
        FHost->FocusChanged(this);
}

void TiPlotObject::DoLayoutChange() {
    if (FHost)
        FHost->LayoutChanged(this);
    DoChange();
}

void TiPlotObject::ObjectRemoved(TiPlotObject*) {}

void TiPlotObject::ObjectNameChanged(TiPlotObject*) {}

void TiPlotObject::ObjectFocused(TiPlotObject*) {}

void TiPlotObject::NotifyInserted() {
    if (FHost)
        FHost->ObjectInserted(this);
}

void TiPlotObject::PrepareDraw(TCanvas&) {
    FDrawReady = true;
}

void TiPlotObject::Draw(TCanvas&, TColor) {}

bool TiPlotObject::HitTest(TPoint) {
    return false;
}

bool TiPlotObject::MouseWheel(int, TShiftState, TPoint) {
    return false;
}

void TiPlotObject::MouseHover(TPoint) {}

void TiPlotObject::MouseDown(TPoint) {}

void TiPlotObject::MouseMove(TPoint) {}

void TiPlotObject::MouseUp(TPoint) {}

TiPlotObject* TiPlotObject::Claim(int, int) {
    FMouseOwner = this;
    return this;
}

int TiPlotObject::GetMouseCursor() {
    TiPlotObject* Owner = MouseOwner();
    return Owner != this ? Owner->GetMouseCursor() : 0;
}

void TiPlotObject::KeyDown(std::uint16_t&, TShiftState) {}

void TiPlotObject::AddPopupItems(std::vector<TiPlotPopupItem>&) {}

// ---- TiPlotManagerObject

TiPlotManagerObject::TiPlotManagerObject(TiPlotHost* Host) : TiPlotObject(Host) {
    if (!Host)
        throw Exception("Owner must be assigned");
}

// ---- TiPlotLayoutObject

void TiPlotLayoutObject::SetStartPercent(double Value) {
    Value = std::clamp(Value, 0.0, 100.0);
    if (FStopPercent - Value < MinimumSpan) {
        FStopPercent = Value + MinimumSpan;
        if (FStopPercent > 100.0) {
            FStopPercent = 100.0;
            Value = 100.0 - MinimumSpan;
        }
    }
    Change(FStartPercent, Value);
}

void TiPlotLayoutObject::SetStopPercent(double Value) {
    Value = std::clamp(Value, 0.0, 100.0);
    if (Value - FStartPercent < MinimumSpan) {
        FStartPercent = Value - MinimumSpan;
        if (FStartPercent < 0.0) {
            FStartPercent = 0.0;
            Value = MinimumSpan;
        }
    }
    Change(FStopPercent, Value);
}

void TiPlotLayoutObject::SetStartStopPercent(double Start, double Stop) {
    FStartPercent = Start;
    FStopPercent = Stop;
    DoChange();
}

void TiPlotLayoutObject::SetZOrder(int Value) {
    if (FZOrder == Value)
        return;
    FZOrder = Value;
    DoLayoutChange();
}

void TiPlotLayoutObject::SetHorizontal(bool Value) {
    if (FHorizontal == Value)
        return;
    FHorizontal = Value;
    DoLayoutChange();
}

bool TiPlotLayoutObject::HitTest(TPoint Point) {
    return FLayoutRect.Contains(Point);
}

int TiPlotLayoutObject::Thickness(TCanvas&) {
    return 0;
}

int TiPlotLayoutObject::EndMargin(TCanvas&) {
    return 0;
}

void TiPlotLayoutObject::NotifyInserted() {
    TiPlotManagerObject::NotifyInserted();
    DoLayoutChange();
}

// ---- TiPlotButton

TiPlotButton::TiPlotButton() = default;

TiPlotButton::~TiPlotButton() = default;

void TiPlotButton::Call(const TEvent& Handler, TiPlotButton* Button) {
    if (Handler)
        Handler(Button);
}

void TiPlotButton::SetDown(bool Value) {
    if (FDown == Value)
        return;
    FDown = Value;
    Call(FOnInvalidate, this);
    Call(FOnDownChange, this);
}

void TiPlotButton::SetEnabled(bool Value) {
    FEnabled = Value;
    if (!Value)
        StopTimer();
}

void TiPlotButton::MouseDown(int, int) {
    FPressed = true;
    if (FAutoRepeat) {
        FTimer = std::make_unique<QTimer>();
        FTimer->setInterval(FirstRepeatMSec);
        QObject::connect(FTimer.get(), &QTimer::timeout, this, &TiPlotButton::RepeatTick);
        FTimer->start();
    }
    Call(FOnInvalidate, this);
}

void TiPlotButton::RepeatTick() {
    FRepeating = true;
    FTimer->setInterval(RepeatMSec);
    Call(FOnClick, this);
    Call(FOnInvalidate, this);
}

void TiPlotButton::MouseUp(int X, int Y) {
    if (!FPressed)
        return;
    FPressed = false;
    StopTimer();
    Call(FOnInvalidate, this);
    if (FRect.Contains({X, Y})) {
        if (FGroupIndex != 0)
            Call(FOnGroupClick, this);
        Call(FOnClick, this);
    }
}

void TiPlotButton::StopTimer() {
    FTimer.reset();
    FRepeating = false;
}
