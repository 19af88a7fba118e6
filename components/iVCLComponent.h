#pragma once
// The component base with its paint lock, its timer and transparency over
// the parent.

#include "components/iComponent.h"

#include <QTimer>

#include <memory>
#include <mutex>

class TBitmap;

class TiVCLComponent : public TiComponent {
    Q_OBJECT
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)

  public:
    explicit TiVCLComponent(QWidget* Parent = nullptr);
    ~TiVCLComponent() override;

    // Also SetBounds with the current values does nothing.
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    // A transparent component shows what its parent paints beneath it,
    // taken while the component is fully visible; until then it shows
    // BackGroundColor.
    bool Transparent() const { return FTransparent; }
    virtual void SetTransparent(bool V);

    void BackGroundChange() override;

    void Lock() override;
    void Unlock() override;

    // The first tick after InitialDelay (or RepeatInterval when the delay is
    // 0), then every RepeatInterval; a delay without an interval ticks once.
    // Nothing while a timer runs.
    bool TimerRunning() const override { return FTimer.isActive(); }
    void TimerStart(int InitialDelay, int RepeatInterval) override;
    void TimerStop() override;
    void SetOnTimer(TNotifyEvent Hook) { FOnTimer = std::move(Hook); }

  protected:
    void iPaintBackGround(TCanvas& Canvas, TColor Color) override;
    void moveEvent(QMoveEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;

  private:
    void TimerTick();
    void RequestSnapshot();
    void TakeSnapshot();
    bool FullyVisible() const;

    std::recursive_mutex FPaintLock;
    bool FDestroying = false;
    QTimer FTimer;
    int FRepeatInterval = 0;
    bool FRearmPending = false;
    TNotifyEvent FOnTimer;
    bool FTransparent = false;
    std::unique_ptr<TBitmap> FSnapshot;
    bool FSnapshotNeeded = false;
};
