#pragma once
// SIGINT and SIGTERM as events of the Qt event loop: while the object
// lives, these signals no longer end the program at once; OnSignal runs on
// the loop's thread instead, where the program can close its port and
// flush its output. One object at a time.

#include <QSocketNotifier>

#include <csignal>
#include <functional>
#include <memory>

class TStopSignals {
  public:
    explicit TStopSignals(std::function<void(int Signal)> OnSignal);
    ~TStopSignals();
    TStopSignals(const TStopSignals&) = delete;
    TStopSignals& operator=(const TStopSignals&) = delete;

  private:
    void Take();

    std::function<void(int)> FOnSignal;
    int FPipe[2] = {-1, -1};
    std::unique_ptr<QSocketNotifier> FNotifier;
    struct sigaction FOldInt {
    }, FOldTerm{};
};
