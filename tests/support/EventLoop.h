#pragma once
// Runs the Qt event loop in widget tests: until a condition holds, or for
// a while, so that timers and posted paints happen.

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>

#include <functional>

inline bool WaitUntil(const std::function<bool()>& Condition, int TimeoutMs = 2000) {
    QElapsedTimer Clock;
    Clock.start();
    while (!Condition()) {
        if (Clock.elapsed() > TimeoutMs)
            return false;
        QApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return true;
}

inline void Settle(int Ms) {
    QElapsedTimer Clock;
    Clock.start();
    while (Clock.elapsed() < Ms) {
        QApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
}
