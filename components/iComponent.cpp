#include "components/iComponent.h"

#include "components/iPropertyFile.h"
#include "platform/Arith.h"
#include "platform/Bitmap.h"
#include "platform/Exception.h"
#include "platform/PainterCanvas.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLoggingCategory>
#include <QMouseEvent>
#include <QScopeGuard>
#include <QWheelEvent>

#include <cmath>

namespace {

// Failures of drawn components that no caller sees.
Q_LOGGING_CATEGORY(ComponentsLog, "sm.components")

// Runs a hook whose exceptions must not reach the event loop; they leave a
// trace in the log.
template <typename F> void Swallowed(F&& Hook) {
    try {
        Hook();
    } catch (const std::exception& E) {
        qCWarning(ComponentsLog, "An input or metafile paint hook failed: %s", E.what());
    }
}

std::function<void(const std::string&)>& FailureReporter() {
    static std::function<void(const std::string&)> Reporter;
    return Reporter;
}

// An input hook acts for the user: its failure is logged and shown to them.
template <typename F> void Reported(F&& Hook) {
    std::string Message;
    Swallowed([&] {
        try {
            Hook();
        } catch (const std::exception& E) {
            Message = E.what();
            throw;
        }
    });
    if (!Message.empty() && FailureReporter())
        FailureReporter()(Message);
}

void PaintMessage(TCanvas& Canvas, const std::string& Message, const TRect& Client) {
    Canvas.ResetClip();
    Canvas.Brush().SetStyle(bsSolid);
    Canvas.Brush().SetColor(clBlack);
    Canvas.FillRect(Client);
    Canvas.Font().SetColor(clWhite);
    TRect R = Client;
    iDrawText(Canvas, Message, R, {itfWordBreak});
}

TShiftState KeyShift(const QKeyEvent& Event) {
    return ShiftStateOf(Event.modifiers(), Qt::NoButton);
}

TShiftState MouseShift(const QMouseEvent& Event) {
    return ShiftStateOf(Event.modifiers(), Event.buttons());
}

} // namespace

void iSetFailureReporter(std::function<void(const std::string&)> Reporter) {
    FailureReporter() = std::move(Reporter);
}

void iRunUserCommand(const std::function<void()>& Command) {
    Reported(Command);
}

TiComponent::TiComponent(QWidget* Parent) : QWidget(Parent) {
    // Every pixel is painted by the cycle: no background erase.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
    FThrottleTimer.setSingleShot(true);
    connect(&FThrottleTimer, &QTimer::timeout, this, [this] {
        FThrottleArmed = false;
        if (!FUpdateLocked && RepaintPending())
            ThrottledInvalidate();
    });
}

TiComponent::~TiComponent() = default;

void TiComponent::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    setGeometry(ALeft, ATop, AWidth, AHeight);
}

void TiComponent::SetAutoFrameRate(bool V) {
    if (FAutoFrameRate == V)
        return;
    FAutoFrameRate = V;
    if (V)
        InvalidateFullChange();
    else
        EndUpdate();
}

TPoint TiComponent::GetCenterPoint() const {
    return Point(Div(Width(), 2), Div(Height(), 2));
}

void TiComponent::InvalidateFullChange() {
    Request(FPendingFullRepaint);
}

void TiComponent::Request(bool& Pending) {
    if (FUpdateLocked) {
        Pending = true;
    } else if (FAutoFrameRate) {
        Pending = true;
        // A scheduled repaint takes this request along; no clock needed.
        if (!FThrottleArmed)
            ThrottledInvalidate();
    } else {
        InvalidateNow();
    }
}

void TiComponent::ThrottledInvalidate() {
    if (FAutoFrameRate && FUpdateFrameRate > 0) {
        const auto Due =
            FLastRepaintTime + std::chrono::duration_cast<TClock::duration>(
                                   std::chrono::duration<double>(1.0 / FUpdateFrameRate));
        const auto Now = TClock::now();
        if (Now <= Due) {
            if (!FThrottleArmed)
                FThrottleTimer.start(std::chrono::ceil<std::chrono::milliseconds>(Due - Now) +
                                     std::chrono::milliseconds(1));
            FThrottleArmed = true;
            return;
        }
    }
    InvalidateNow();
}

void TiComponent::InvalidateNow() {
    FPendingRepaint = false;
    FPendingFullRepaint = false;
    FLastRepaintTime = TClock::now();
    FThrottleTimer.stop();
    FThrottleArmed = false;
    update();
}

void TiComponent::BeginUpdate() {
    FUpdateLocked = true;
}

void TiComponent::EndUpdate() {
    FUpdateLocked = false;
    if (RepaintPending())
        ThrottledInvalidate();
}

void TiComponent::Paint(TCanvas& Canvas) {
    Lock();
    const auto ReleaseLock = qScopeGuard([this] { Unlock(); });
    if (Canvas.Technology() == dtMetaFile)
        Swallowed([&] { iPaintTo(Canvas); });
    else if (Canvas.Raster() && Canvas.ClipRect() == Rect(0, 0, Width(), Height()))
        PaintDirect(Canvas);
    else
        PaintBuffered(Canvas);
}

void TiComponent::ResetTools(TCanvas& Canvas) {
    Canvas.ResetClip();
    Canvas.Pen() = TPen();
    Canvas.Brush() = TBrush();
    Canvas.Font() = TFont();
    Canvas.MoveTo(0, 0);
    Canvas.Brush().SetStyle(bsSolid);
    Canvas.Pen().SetStyle(psSolid);
}

// Every paint starts as on a new buffer: default pen, brush and font, no
// clip. Only the pixels' memory is kept; the paint covers every pixel.
void TiComponent::PaintBuffered(TCanvas& Canvas) {
    if (!FPaintBuffer)
        FPaintBuffer = std::make_unique<TBitmap>();
    if (FPaintBuffer->Width() != Width() || FPaintBuffer->Height() != Height())
        FPaintBuffer->SetSize(Width(), Height());
    TCanvas& Off = FPaintBuffer->Canvas();
    PaintFresh(Off);
    Canvas.Draw(0, 0, *FPaintBuffer);
}

// A picture in memory of exactly our size needs no buffer in between: the
// paint covers every pixel and nobody sees it half done. The caller's
// tools are given back as they were.
void TiComponent::PaintDirect(TCanvas& Canvas) {
    const TPen Pen = Canvas.Pen();
    const TBrush Brush = Canvas.Brush();
    const TFont Font = Canvas.Font();
    const TPoint PenPos = Canvas.PenPos();
    const auto Restore = qScopeGuard([&] {
        Canvas.ResetClip();
        Canvas.Pen() = Pen;
        Canvas.Brush() = Brush;
        Canvas.Font() = Font;
        Canvas.MoveTo(PenPos.X, PenPos.Y);
    });
    PaintFresh(Canvas);
}

void TiComponent::PaintFresh(TCanvas& Canvas) {
    ResetTools(Canvas);
    try {
        iPaintTo(Canvas);
    } catch (const std::exception& E) {
        PaintMessage(Canvas, E.what(), Rect(0, 0, Width(), Height()));
    }
}

void TiComponent::SaveImageToBitmap(const std::string& FileName) {
    TBitmap Bitmap(Width(), Height());
    iPaintTo(Bitmap.Canvas());
    Bitmap.SaveToFile(FileName);
}

std::vector<std::string> TiComponent::ExcludedProperties() const {
    if (FOptionSaveAllProperties)
        return {"Name"};
    return {"Name",     "Left", "Top",     "Width",   "Height", "Align",      "Cursor",
            "ShowHint", "Tag",  "Visible", "Enabled", "Hint",   "HelpContext"};
}

void TiComponent::SavePropertiesToFile(const std::string& FileName) {
    SaveDesignToFile(FileName);
}

void TiComponent::LoadPropertiesFromFile(const std::string& FileName) {
    LoadDesignFromFile(FileName);
}

void TiComponent::SaveDesignToFile(const std::string& FileName) {
    try {
        std::vector<TPropertyLine> Lines{{"File Type", metaObject()->className()}};
        for (TPropertyLine& Line :
             iPublishedProperties(*this, TiComponent::staticMetaObject, ExcludedProperties()))
            Lines.push_back(std::move(Line));
        WriteExtraProperties(Lines);
        iWritePropertyFile(FileName, Lines);
    } catch (const std::exception& E) {
        throw Exception("Error Saving Properties - " + std::string(E.what()));
    }
}

void TiComponent::LoadDesignFromFile(const std::string& FileName) {
    try {
        std::vector<TPropertyLine> Lines;
        for (TPropertyLine& Line : iReadPropertyFile(FileName))
            if (!SameText(Line.Path, "File Type"))
                Lines.push_back(std::move(Line));
        // The loading state and the update lock for the time the file is applied.
        FLoadingProperties = true;
        BeginUpdate();
        const auto EndLoading = qScopeGuard([this] {
            EndUpdate();
            FLoadingProperties = false;
        });
        ReadExtraProperties(Lines);
        iApplyProperties(*this, TiComponent::staticMetaObject, Lines);
    } catch (const std::exception& E) {
        throw Exception("Error Loading Properties - " + std::string(E.what()));
    }
}

void TiComponent::WriteExtraProperties(std::vector<TPropertyLine>&) const {}

void TiComponent::ReadExtraProperties(std::vector<TPropertyLine>&) {}

bool TiComponent::SetOPCProperty(const std::string&, const QVariant&) {
    return false;
}

void TiComponent::iPaintBackGround(TCanvas& Canvas, TColor Color) {
    Canvas.Brush().SetStyle(bsSolid);
    Canvas.Brush().SetColor(Color);
    Canvas.FillRect(Rect(0, 0, Width(), Height()));
    iPaintBorder(Canvas);
}

void TiComponent::iPaintBorder(TCanvas& Canvas) {
    const TRect Client = Rect(0, 0, Width(), Height());
    if (FBorderStyle == ibsRaised)
        iDrawEdge(Canvas, Client, 1);
    else if (FBorderStyle == ibsLowered)
        iDrawEdge(Canvas, Client, 0);
}

void TiComponent::iDoSetFocus() {
    FFocused = true;
    update();
}

void TiComponent::iDoKillFocus() {
    FFocused = false;
    Reported([this] { iMouseUp(mbLeft, {}, 0, 0); });
    update();
}

void TiComponent::iWantSpecialKey(std::uint16_t&, bool&) {}
void TiComponent::iKeyUp(std::uint16_t&, TShiftState) {}
void TiComponent::iKeyDown(std::uint16_t&, TShiftState) {}
void TiComponent::iKeyPress(char&) {}
void TiComponent::iMouseDown(TMouseButton, TShiftState, int, int) {}
void TiComponent::iMouseUp(TMouseButton, TShiftState, int, int) {}
void TiComponent::iMouseMove(TShiftState, int, int) {}
void TiComponent::iDoubleClick() {}

bool TiComponent::iMouseWheel(int, TShiftState, TPoint) {
    return false;
}

bool TiComponent::event(QEvent* Event) {
    if (Event->type() == QEvent::ShortcutOverride) {
        const auto* Key = static_cast<QKeyEvent*>(Event);
        std::uint16_t Code = VirtualKeyOf(Key->key(), Key->modifiers());
        bool Wanted = false;
        iWantSpecialKey(Code, Wanted);
        if (Wanted) {
            Event->accept();
            return true;
        }
    }
    return QWidget::event(Event);
}

void TiComponent::paintEvent(QPaintEvent*) {
    TPainterCanvas Canvas(*this);
    Paint(Canvas);
}

void TiComponent::keyPressEvent(QKeyEvent* Event) {
    std::uint16_t Key = VirtualKeyOf(Event->key(), Event->modifiers());
    if (Key != 0)
        Reported([&] { iKeyDown(Key, KeyShift(*Event)); });
    const std::string Text = Event->text().toStdString();
    if (Text.size() == 1) {
        char Character = Text[0];
        Reported([&] { iKeyPress(Character); });
    }
    Event->accept();
}

void TiComponent::keyReleaseEvent(QKeyEvent* Event) {
    std::uint16_t Key = VirtualKeyOf(Event->key(), Event->modifiers());
    if (Key != 0 && !Event->isAutoRepeat())
        Reported([&] { iKeyUp(Key, KeyShift(*Event)); });
    Event->accept();
}

void TiComponent::mousePressEvent(QMouseEvent* Event) {
    if (!ButtonHook(*Event, [this](TMouseButton Button, TShiftState Shift, int X, int Y) {
            iMouseDown(Button, Shift, X, Y);
        }))
        QWidget::mousePressEvent(Event);
}

void TiComponent::mouseReleaseEvent(QMouseEvent* Event) {
    if (!ButtonHook(*Event, [this](TMouseButton Button, TShiftState Shift, int X, int Y) {
            iMouseUp(Button, Shift, X, Y);
        }))
        QWidget::mouseReleaseEvent(Event);
}

void TiComponent::mouseMoveEvent(QMouseEvent* Event) {
    const QPoint P = Event->position().toPoint();
    iMouseMove(MouseShift(*Event), P.x(), P.y());
}

// As on the classic platform: the double click of the left button, then a
// button-down with ssDouble.
void TiComponent::mouseDoubleClickEvent(QMouseEvent* Event) {
    if (!ButtonHook(*Event, [this](TMouseButton Button, TShiftState Shift, int X, int Y) {
            if (Button == mbLeft)
                iDoubleClick();
            iMouseDown(Button, Shift.Include(ssDouble), X, Y);
        }))
        QWidget::mouseDoubleClickEvent(Event);
}

bool TiComponent::ButtonHook(const QMouseEvent& Event, const TButtonHook& Hook) {
    TMouseButton Button;
    if (!MouseButtonOf(Event.button(), Button))
        return false;
    const QPoint P = Event.position().toPoint();
    Reported([&] { Hook(Button, MouseShift(Event), P.x(), P.y()); });
    return true;
}

// Only the vertical wheel, as on the classic platform.
void TiComponent::wheelEvent(QWheelEvent* Event) {
    const int Delta = Event->angleDelta().y();
    if (Delta == 0)
        return QWidget::wheelEvent(Event);
    const QPoint Screen = Event->globalPosition().toPoint();
    const bool Used = iMouseWheel(Delta, ShiftStateOf(Event->modifiers(), Event->buttons()),
                                  Point(Screen.x(), Screen.y()));
    Event->setAccepted(Used);
}

void TiComponent::focusInEvent(QFocusEvent* Event) {
    iDoSetFocus();
    QWidget::focusInEvent(Event);
}

void TiComponent::focusOutEvent(QFocusEvent* Event) {
    if (QApplication::focusWidget() != this)
        iDoKillFocus();
    QWidget::focusOutEvent(Event);
}

void TiComponent::changeEvent(QEvent* Event) {
    QWidget::changeEvent(Event);
    if (Event->type() == QEvent::PaletteChange || Event->type() == QEvent::StyleChange)
        InvalidateFullChange();
}

bool TiComponent::focusNextPrevChild(bool) {
    return false;
}
