#pragma once
// The base of every drawn component. A component paints its whole picture in
// iPaintTo; the base decides when that runs, composes it off-screen, fills
// the background and border, merges and throttles repaint requests, turns
// Qt's input events into the input hooks and saves and loads the published
// properties (Q_PROPERTY) as a property file.

#include "components/iGPFunctions.h"
#include "components/iInput.h"
#include "components/iPropertyFile.h"
#include "platform/Types.h"

#include <QTimer>
#include <QVariant>
#include <QWidget>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TBitmap;
class TCanvas;

using TNotifyEvent = std::function<void(QObject* Sender)>;

// Where failures of what the user does on a component (a click, a key, a
// menu choice) are shown; the application sets its message box. They are
// logged as well, and never thrown into the event loop.
void iSetFailureReporter(std::function<void(const std::string&)> Reporter);
// Runs a command the user gave, reporting its failure as above.
void iRunUserCommand(const std::function<void()>& Command);

// Which of the two repaint requests a setter issues.
enum TiRepaintKind { irkChange, irkFullChange };

class TiComponent : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int Left READ Left WRITE SetLeft)
    Q_PROPERTY(int Top READ Top WRITE SetTop)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(int UpdateFrameRate READ UpdateFrameRate WRITE SetUpdateFrameRate)
    Q_PROPERTY(TColor BackGroundColor READ BackGroundColor WRITE SetBackGroundColor)
    Q_PROPERTY(TiBevelStyle BorderStyle READ BorderStyle WRITE SetBorderStyle)
    Q_PROPERTY(bool AutoFrameRate READ AutoFrameRate WRITE SetAutoFrameRate)
    Q_PROPERTY(
        bool OptionSaveAllProperties READ OptionSaveAllProperties WRITE SetOptionSaveAllProperties)

  public:
    explicit TiComponent(QWidget* Parent = nullptr);
    ~TiComponent() override;

    int Left() const { return x(); }
    void SetLeft(int V) { SetBounds(V, Top(), Width(), Height()); }
    int Top() const { return y(); }
    void SetTop(int V) { SetBounds(Left(), V, Width(), Height()); }
    int Width() const { return width(); }
    void SetWidth(int V) { SetBounds(Left(), Top(), V, Height()); }
    int Height() const { return height(); }
    void SetHeight(int V) { SetBounds(Left(), Top(), Width(), V); }
    virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);

    int UpdateFrameRate() const { return FUpdateFrameRate; }
    void SetUpdateFrameRate(int V) { SetProperty(FUpdateFrameRate, V, irkFullChange); }
    TColor BackGroundColor() const { return FBackGroundColor; }
    virtual void SetBackGroundColor(TColor V) { SetProperty(FBackGroundColor, V, irkFullChange); }
    TiBevelStyle BorderStyle() const { return FBorderStyle; }
    virtual void SetBorderStyle(TiBevelStyle V) { SetProperty(FBorderStyle, V, irkFullChange); }
    bool AutoFrameRate() const { return FAutoFrameRate; }
    void SetAutoFrameRate(bool V);
    bool OptionSaveAllProperties() const { return FOptionSaveAllProperties; }
    void SetOptionSaveAllProperties(bool V) { FOptionSaveAllProperties = V; }

    virtual TPoint GetCenterPoint() const;
    bool Focused() const { return FFocused; }

    // The only ways setters ask for a repaint: plain, and with a change of
    // size, layout, frame or background.
    void InvalidateChange() {
        // The common case first: a throttled repaint is already due.
        if (FThrottleArmed && FAutoFrameRate && !FUpdateLocked)
            FPendingRepaint = true;
        else
            Request(FPendingRepaint);
    }
    void InvalidateFullChange();
    // A request that waits for EndUpdate or the frame-rate limit.
    bool RepaintPending() const { return FPendingRepaint || FPendingFullRepaint; }

    // Not nested: the first EndUpdate unlocks.
    virtual void BeginUpdate();
    virtual void EndUpdate();
    bool UpdateLocked() const { return FUpdateLocked; }

    // The paint lock, held during every paint.
    virtual void Lock() = 0;
    virtual void Unlock() = 0;

    bool IsLoading() const { return FLoadingProperties; }

    // The painting cycle onto the window's canvas (or a metafile's).
    void Paint(TCanvas& Canvas);

    void SaveImageToBitmap(const std::string& FileName);
    // The property file; unless a component has a file of its own, the
    // stored design below.
    virtual void SavePropertiesToFile(const std::string& FileName);
    virtual void LoadPropertiesFromFile(const std::string& FileName);
    // The stored design: the published properties and the component's
    // extra stored values, loaded without events.
    void SaveDesignToFile(const std::string& FileName);
    void LoadDesignFromFile(const std::string& FileName);

    // Data binding is not built: no bound item takes the value.
    virtual bool SetOPCProperty(const std::string& Name, const QVariant& Value);

    virtual void BackGroundChange() { InvalidateFullChange(); }

    virtual bool TimerRunning() const = 0;
    virtual void TimerStart(int InitialDelay, int RepeatInterval) = 0;
    virtual void TimerStop() = 0;

  protected:
    // Stores Value and asks for a repaint of the given kind, unless Field
    // already holds it.
    template <typename T> void SetProperty(T& Field, T Value, TiRepaintKind Kind) {
        if (Field == Value)
            return;
        Field = Value;
        if (Kind == irkChange)
            InvalidateChange();
        else
            InvalidateFullChange();
    }

    // The published names a property file leaves out.
    std::vector<std::string> ExcludedProperties() const;
    // Stored values beyond the published properties (a plot's object lists):
    // appended when saving; when loading, a component takes the lines that
    // are its own out of Lines before the rest is applied.
    virtual void WriteExtraProperties(std::vector<TPropertyLine>& Lines) const;
    virtual void ReadExtraProperties(std::vector<TPropertyLine>& Lines);

    virtual void iPaintTo(TCanvas& Canvas) = 0;
    // The fill and border; descendants call it first in iPaintTo.
    virtual void iPaintBackGround(TCanvas& Canvas, TColor Color);
    virtual void iPaintBorder(TCanvas& Canvas);

    virtual void iDoSetFocus();
    virtual void iDoKillFocus();
    // Set Result to take a key before the window's shortcuts do.
    virtual void iWantSpecialKey(std::uint16_t& CharCode, bool& Result);
    virtual void iKeyUp(std::uint16_t& Key, TShiftState Shift);
    virtual void iKeyDown(std::uint16_t& Key, TShiftState Shift);
    virtual void iKeyPress(char& Key);
    virtual void iMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void iMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void iMouseMove(TShiftState Shift, int X, int Y);
    virtual void iDoubleClick();
    // MousePos in screen coordinates; true when the wheel was used.
    virtual bool iMouseWheel(int WheelDelta, TShiftState Shift, TPoint MousePos);

    bool event(QEvent* Event) override;
    void paintEvent(QPaintEvent* Event) override;
    void keyPressEvent(QKeyEvent* Event) override;
    void keyReleaseEvent(QKeyEvent* Event) override;
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;
    void mouseMoveEvent(QMouseEvent* Event) override;
    void mouseDoubleClickEvent(QMouseEvent* Event) override;
    void wheelEvent(QWheelEvent* Event) override;
    void focusInEvent(QFocusEvent* Event) override;
    void focusOutEvent(QFocusEvent* Event) override;
    void changeEvent(QEvent* Event) override;
    // Tab reaches the component's keys instead of moving the focus.
    bool focusNextPrevChild(bool Next) override;

  private:
    using TClock = std::chrono::steady_clock;
    using TButtonHook = std::function<void(TMouseButton, TShiftState, int X, int Y)>;

    void Request(bool& Pending);
    void ThrottledInvalidate();
    void InvalidateNow();
    void PaintBuffered(TCanvas& Canvas);
    void PaintDirect(TCanvas& Canvas);
    // The paint on default tools and no clip, as on a fresh buffer; a
    // failure is painted as its message.
    void PaintFresh(TCanvas& Canvas);
    static void ResetTools(TCanvas& Canvas);
    // Runs Hook for a left, right or middle button, its failures swallowed;
    // false for other buttons.
    bool ButtonHook(const QMouseEvent& Event, const TButtonHook& Hook);

    // Kept between paints to save its allocation and clearing only.
    std::unique_ptr<TBitmap> FPaintBuffer;
    bool FUpdateLocked = false;
    bool FPendingRepaint = false;
    bool FPendingFullRepaint = false;
    int FUpdateFrameRate = 60;
    // Steady, so that a change of the wall clock cannot hold repaints back.
    TClock::time_point FLastRepaintTime = TClock::now();
    TColor FBackGroundColor = clBtnFace;
    TiBevelStyle FBorderStyle = ibsNone;
    bool FAutoFrameRate = false;
    bool FLoadingProperties = false;
    bool FOptionSaveAllProperties = false;
    bool FFocused = false;
    // Paints a throttled request once the frame-rate limit allows it.
    QTimer FThrottleTimer;
    // The throttle timer runs: read on every repaint request, so kept here
    // rather than asked of the timer.
    bool FThrottleArmed = false;
};
