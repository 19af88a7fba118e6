#pragma once
// The base classes of everything the plot draws. Objects never hold
// pointers to each other in stored state: they store names and resolve them
// through the plot. They do not know their managers either; they report
// insertion, removal, renaming and changes to their host, the plot, which
// fans these out.

#include "components/iInput.h"
#include "platform/Types.h"
#include "plot/iPlotHost.h"

#include <QObject>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TCanvas;
class QTimer;

// Compares two names as the plot does: ignoring letter case.
bool SameName(const std::string& A, const std::string& B);
// Orders the text keys of the plot's sorted lists, ignoring letter case.
bool KeyLess(const std::string& A, const std::string& B);
// Nothing but blanks and line breaks: such a title or caption counts as none.
bool IsBlank(const std::string& Text);

// Margins given in characters of the canvas font, in pixels: left and right
// in widths of "0", top and bottom in heights of "0" (halves to even).
struct TiPlotPixelMargins {
    int Left, Top, Right, Bottom;
};
TiPlotPixelMargins CharacterMargins(TCanvas& Canvas, double Left, double Top, double Right,
                                    double Bottom);

// Destroys a plot object: the managers hear of it while the object is still
// whole, then it is freed. The plot destroys its objects only this way.
void DestroyPlotObject(TiPlotObject* Object);

// One entry of an object's popup menu, its caption as the plot shows it.
struct TiPlotPopupItem {
    std::string Caption;
    bool Checked = false;
    bool Enabled = true;
    std::function<void()> OnClick = {};
    // A submenu's entries.
    std::vector<TiPlotPopupItem> Items = {};
};

class TiPlotObject : public QObject {
    Q_OBJECT
    Q_PROPERTY(std::string Name READ Name WRITE SetName)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(int Layer READ Layer WRITE SetLayer)
    Q_PROPERTY(bool PopupEnabled READ PopupEnabled WRITE SetPopupEnabled)

  public:
    static constexpr TiPlotKind StaticKind = TiPlotKind::Object;

    explicit TiPlotObject(TiPlotHost* Host);
    // Tells the host unless DestroyPlotObject already did.
    ~TiPlotObject() override;

    TiPlotHost* Host() const { return FHost; }
    virtual TiPlotKind Kind() const { return StaticKind; }

    const std::string& Name() const { return FName; }
    void SetName(const std::string& Value);
    const std::string& OldName() const { return FOldName; }
    bool Visible() const { return FVisible; }
    virtual void SetVisible(bool Value);
    // Drawn and answering the mouse; most objects are while Visible.
    virtual bool Shown() const { return FVisible; }
    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool Value);
    int Layer() const { return FLayer; }
    void SetLayer(int Value);
    bool PopupEnabled() const { return FPopupEnabled; }
    void SetPopupEnabled(bool Value);

    bool Focused() const { return FFocused; }
    void SetFocused(bool Value);
    bool UserCanEdit() const { return FUserCanEdit; }
    void SetUserCanEdit(bool Value) { FUserCanEdit = Value; }
    bool XYSwap() const { return FXYSwap; }
    virtual void SetXYSwap(bool Value) { FXYSwap = Value; }
    bool DrawReady() const { return FDrawReady; }
    // A fixed English text through the plot's translation table.
    std::string Translate(const std::string& Text) const {
        return FHost ? FHost->Translate(Text) : Text;
    }

    // A repaint request.
    void DoChange() {
        if (FHost)
            FHost->ObjectChanged(this);
    }
    virtual void DoLayoutChange();
    // Another object is about to be destroyed: drop cached references to it.
    virtual void ObjectRemoved(TiPlotObject* Object);
    // Another object got a new name: follow it where it is referenced.
    virtual void ObjectNameChanged(TiPlotObject* Object);
    // Another object took the focus.
    virtual void ObjectFocused(TiPlotObject* Object);
    // Called once the object is complete; reports it to the host.
    virtual void NotifyInserted();

    // Per-paint preparation; only objects that are ready get drawn.
    virtual void PrepareDraw(TCanvas& Canvas);
    virtual void Draw(TCanvas& Canvas, TColor BackGroundColor);
    virtual bool HitTest(TPoint Point);
    virtual bool MouseWheel(int WheelDelta, TShiftState Shift, TPoint Point);
    virtual void MouseHover(TPoint Point);
    // The mouse moved off the object, or out of the plot.
    virtual void MouseLeave() {}
    virtual void MouseDown(TPoint Point);
    virtual void MouseMove(TPoint Point);
    virtual void MouseUp(TPoint Point);
    // Makes the object the one answering for the mouse at X, Y.
    virtual TiPlotObject* Claim(int X, int Y);
    // 0: no opinion.
    virtual int GetMouseCursor();
    virtual void KeyDown(std::uint16_t& Key, TShiftState Shift);
    // The object's own entries of its popup menu.
    virtual void AddPopupItems(std::vector<TiPlotPopupItem>& Items);

    // The shift state of the last mouse event, handed over before dispatch.
    TShiftState ShiftState() const { return FShiftState; }
    void SetShiftState(TShiftState Value) { FShiftState = Value; }
    TiPlotObject* MouseOwner() const {
        return FMouseOwner ? FMouseOwner : const_cast<TiPlotObject*>(this);
    }
    void SetMouseOwner(TiPlotObject* Value) { FMouseOwner = Value; }
    bool Pressed() const { return FPressed; }
    void SetPressed(bool Value) { FPressed = Value; }

  protected:
    void SetDrawReady(bool Value) { FDrawReady = Value; }
    // A reference name was set: repaint when it changed.
    void ReferenceChanged(bool Changed) {
        if (Changed)
            DoChange();
    }
    // Stores a changed value and requests a repaint.
    template <typename T> void Change(T& Field, const T& Value) {
        if (Field == Value)
            return;
        Field = Value;
        DoChange();
    }

  private:
    friend void DestroyPlotObject(TiPlotObject* Object);
    // The removal, then a repaint request; once.
    void AnnounceRemoval();

    TiPlotHost* FHost;
    bool FRemovalAnnounced = false;
    std::string FName, FOldName;
    bool FVisible = true;
    bool FEnabled = true;
    int FLayer = 100;
    bool FPopupEnabled = true;
    bool FFocused = false;
    bool FUserCanEdit = false;
    bool FXYSwap = false;
    bool FDrawReady = false;
    TShiftState FShiftState;
    TiPlotObject* FMouseOwner = nullptr;
    bool FPressed = false;
};

// A plot object kept by a manager; refuses to exist without its plot.
class TiPlotManagerObject : public TiPlotObject {
    Q_OBJECT
  public:
    explicit TiPlotManagerObject(TiPlotHost* Host);
};

// An object placed around (or as) the data view by the layout.
class TiPlotLayoutObject : public TiPlotManagerObject {
    Q_OBJECT
    Q_PROPERTY(double StopPercent READ StopPercent WRITE SetStopPercent)
    Q_PROPERTY(double StartPercent READ StartPercent WRITE SetStartPercent)
    Q_PROPERTY(int ZOrder READ ZOrder WRITE SetZOrder)
    Q_PROPERTY(bool Horizontal READ Horizontal WRITE SetHorizontal)

  public:
    using TiPlotManagerObject::TiPlotManagerObject;

    double StopPercent() const { return FStopPercent; }
    // The span never gets narrower than 5 percent.
    void SetStopPercent(double Value);
    double StartPercent() const { return FStartPercent; }
    void SetStartPercent(double Value);
    // Both at once, unchecked.
    void SetStartStopPercent(double Start, double Stop);
    int ZOrder() const { return FZOrder; }
    void SetZOrder(int Value);
    bool Horizontal() const { return FHorizontal; }
    void SetHorizontal(bool Value);

    bool IsHorizontal() const { return FHorizontal; }
    bool IsVertical() const { return !FHorizontal; }
    bool BeyondDataView() const { return FBeyondDataView; }
    void SetBeyondDataView(bool Value) { FBeyondDataView = Value; }
    bool ForceStacking() const { return FForceStacking; }
    bool StackedBefore() const { return FStackedBefore; }
    bool StackedAfter() const { return FStackedAfter; }
    void SetStacked(bool Before, bool After) {
        FStackedBefore = Before;
        FStackedAfter = After;
    }
    const TRect& LayoutRect() const { return FLayoutRect; }
    void SetLayoutRect(const TRect& Value) { FLayoutRect = Value; }

    void NotifyInserted() override;
    // The point lies in the layout rectangle.
    bool HitTest(TPoint Point) override;
    // Pixels across the stacking direction, and beyond the ends of the span.
    virtual int Thickness(TCanvas& Canvas);
    virtual int EndMargin(TCanvas& Canvas);

  protected:
    void SetForceStackingField(bool Value) { FForceStacking = Value; }

  private:
    double FStopPercent = 100.0;
    double FStartPercent = 0.0;
    int FZOrder = 0;
    bool FHorizontal = false;
    bool FBeyondDataView = false;
    TRect FLayoutRect;
    bool FStackedBefore = false;
    bool FStackedAfter = false;
    bool FForceStacking = false;
};

// A clickable element of a legend, toolbar or table, with optional auto
// repeat while it is held down.
class TiPlotButton : public QObject {
    Q_OBJECT
  public:
    using TEvent = std::function<void(TiPlotButton*)>;

    TiPlotButton();
    ~TiPlotButton() override;

    const TRect& Rect() const { return FRect; }
    void SetRect(const TRect& Value) { FRect = Value; }
    bool Down() const { return FDown; }
    void SetDown(bool Value);
    bool Pressed() const { return FPressed; }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    bool AutoRepeat() const { return FAutoRepeat; }
    void SetAutoRepeat(bool Value) { FAutoRepeat = Value; }
    bool Repeating() const { return FRepeating; }
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int Value) { FGroupIndex = Value; }
    // The running repeat timer, if any.
    const QTimer* RepeatTimer() const { return FTimer.get(); }

    void SetOnClick(TEvent Handler) { FOnClick = std::move(Handler); }
    void SetOnGroupClick(TEvent Handler) { FOnGroupClick = std::move(Handler); }
    void SetOnInvalidate(TEvent Handler) { FOnInvalidate = std::move(Handler); }
    void SetOnDownChange(TEvent Handler) { FOnDownChange = std::move(Handler); }

    void MouseDown(int X, int Y);
    void MouseUp(int X, int Y);

  private:
    void RepeatTick();
    void StopTimer();
    static void Call(const TEvent& Handler, TiPlotButton* Button);

    TRect FRect;
    bool FDown = false;
    bool FPressed = false;
    bool FEnabled = true;
    bool FAutoRepeat = false;
    bool FRepeating = false;
    int FGroupIndex = 0;
    std::unique_ptr<QTimer> FTimer;
    TEvent FOnClick, FOnGroupClick, FOnInvalidate, FOnDownChange;
};
