#pragma once
// A window timer: while enabled it calls its handler every Interval
// milliseconds. An interval of 0 gives no ticks (a plain QTimer would fire
// at every pass of the event loop).

#include <QTimer>

#include <functional>

class TTimer {
  public:
    explicit TTimer(std::function<void()> OnTimer) {
        QObject::connect(&FTimer, &QTimer::timeout, &FTimer, std::move(OnTimer));
    }

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value) {
        FEnabled = Value;
        Apply();
    }
    int Interval() const { return FInterval; }
    void SetInterval(int Value) {
        FInterval = Value;
        Apply();
    }
    // True while ticks come.
    bool Ticking() const { return FTimer.isActive(); }

  private:
    void Apply() {
        if (FEnabled && FInterval > 0)
            FTimer.start(FInterval);
        else
            FTimer.stop();
    }

    QTimer FTimer;
    bool FEnabled = false;
    int FInterval = 1000;
};
