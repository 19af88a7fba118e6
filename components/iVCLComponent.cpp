#include "components/iVCLComponent.h"

#include "platform/Bitmap.h"
#include "platform/PainterCanvas.h"

#include <QPainter>

#include <algorithm>

TiVCLComponent::TiVCLComponent(QWidget* Parent) : TiComponent(Parent) {
    connect(&FTimer, &QTimer::timeout, this, &TiVCLComponent::TimerTick);
}

TiVCLComponent::~TiVCLComponent() {
    FDestroying = true;
    TimerStop();
}

void TiVCLComponent::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    if (ALeft == Left() && ATop == Top() && AWidth == Width() && AHeight == Height())
        return;
    TiComponent::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (FSnapshot && AWidth > 0 && AHeight > 0)
        FSnapshot->SetSize(AWidth, AHeight);
    RequestSnapshot();
    InvalidateFullChange();
}

void TiVCLComponent::SetTransparent(bool V) {
    if (FTransparent == V)
        return;
    FTransparent = V;
    if (V) {
        if (!FSnapshot)
            FSnapshot = std::make_unique<TBitmap>(std::max(Width(), 1), std::max(Height(), 1));
        RequestSnapshot();
    } else {
        FSnapshot.reset();
        FSnapshotNeeded = false;
    }
    InvalidateFullChange();
}

void TiVCLComponent::BackGroundChange() {
    TiComponent::BackGroundChange();
    RequestSnapshot();
}

void TiVCLComponent::Lock() {
    if (!FDestroying)
        FPaintLock.lock();
}

void TiVCLComponent::Unlock() {
    if (!FDestroying)
        FPaintLock.unlock();
}

void TiVCLComponent::TimerStart(int InitialDelay, int RepeatInterval) {
    if (TimerRunning())
        return;
    FRepeatInterval = std::max(RepeatInterval, 0);
    if (InitialDelay <= 0) {
        if (FRepeatInterval == 0)
            return;
        FRearmPending = false;
        FTimer.start(FRepeatInterval);
    } else {
        FRearmPending = true;
        FTimer.start(InitialDelay);
    }
}

void TiVCLComponent::TimerStop() {
    FTimer.stop();
    FRearmPending = false;
}

void TiVCLComponent::TimerTick() {
    if (FRearmPending) {
        FRearmPending = false;
        if (FRepeatInterval > 0)
            FTimer.start(FRepeatInterval);
        else
            FTimer.stop();
    }
    if (FOnTimer)
        FOnTimer(this);
}

void TiVCLComponent::iPaintBackGround(TCanvas& Canvas, TColor Color) {
    if (!FTransparent)
        return TiComponent::iPaintBackGround(Canvas, Color);
    if (FSnapshotNeeded)
        TakeSnapshot();
    Canvas.Draw(0, 0, *FSnapshot);
}

void TiVCLComponent::moveEvent(QMoveEvent* Event) {
    TiComponent::moveEvent(Event);
    RequestSnapshot();
}

void TiVCLComponent::resizeEvent(QResizeEvent* Event) {
    TiComponent::resizeEvent(Event);
    RequestSnapshot();
}

void TiVCLComponent::RequestSnapshot() {
    if (!FTransparent || FSnapshotNeeded)
        return;
    FSnapshotNeeded = true;
    InvalidateFullChange();
}

bool TiVCLComponent::FullyVisible() const {
    const QRegion Visible = visibleRegion();
    const int W = Width(), H = Height();
    return Visible.contains(QPoint(5, 5)) && Visible.contains(QPoint(W - 5, 5)) &&
           Visible.contains(QPoint(5, H - 5)) && Visible.contains(QPoint(W - 5, H - 5));
}

// The parent's own painting under the component, its other children left
// out, stands for the screen content beneath it.
void TiVCLComponent::TakeSnapshot() {
    FSnapshot->SetSize(std::max(Width(), 1), std::max(Height(), 1));
    QWidget* Parent = parentWidget();
    if (Parent && FullyVisible()) {
        auto& Target = dynamic_cast<TPainterCanvas&>(FSnapshot->Canvas());
        Parent->render(&Target.Painter(), QPoint(0, 0), QRegion(geometry()),
                       QWidget::DrawWindowBackground);
        FSnapshotNeeded = false;
        return;
    }
    TCanvas& Canvas = FSnapshot->Canvas();
    Canvas.Brush().SetStyle(bsSolid);
    Canvas.Brush().SetColor(BackGroundColor());
    Canvas.FillRect(Rect(0, 0, Width(), Height()));
}
