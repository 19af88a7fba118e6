#pragma once
// A small component painted through the base cycle: background and border,
// a square mark and a caption. It publishes one property of every kind the
// property files know and records what its input hooks receive.

#include "components/iCustomComponent.h"
#include "platform/Canvas.h"
#include "platform/Exception.h"
#include "platform/GraphicsObjects.h"

#include <QString>

#include <cstdint>
#include <string>
#include <vector>

namespace DemoComponent {
Q_NAMESPACE

enum TDemoShape { dsSquare, dsCircle, dsStar };
Q_ENUM_NS(TDemoShape)

enum TDemoOption { doFrame, doCaption, doMark };
Q_ENUM_NS(TDemoOption)
Q_DECLARE_FLAGS(TDemoOptionFlags, TDemoOption)
Q_FLAG_NS(TDemoOptionFlags)

} // namespace DemoComponent

using namespace DemoComponent;

using TDemoOptions = TSet<TDemoOption>;

// A settings group with a font of its own.
struct TDemoGroup {
    Q_GADGET
    Q_PROPERTY(QString Title MEMBER Title)
    Q_PROPERTY(int Spacing MEMBER Spacing)
    Q_PROPERTY(TFont Font MEMBER Font)

  public:
    QString Title = "Group";
    int Spacing = 4;
    TFont Font;
    friend bool operator==(const TDemoGroup&, const TDemoGroup&) = default;
};

// One call of an input hook.
struct THookCall {
    THookCall(std::string AHook, int ACode = 0, TShiftState AShift = {}, int AX = 0, int AY = 0)
        : Hook(std::move(AHook)), Code(ACode), Shift(AShift), X(AX), Y(AY) {}

    std::string Hook;
    int Code; // key code, character, button or wheel delta
    TShiftState Shift;
    int X, Y;
    friend bool operator==(const THookCall&, const THookCall&) = default;
};

class TiDemoComponent : public TiCustomComponent {
    Q_OBJECT
    Q_PROPERTY(TColor MarkColor READ MarkColor WRITE SetMarkColor)
    Q_PROPERTY(int MarkSize READ MarkSize WRITE SetMarkSize)
    Q_PROPERTY(std::uint8_t Digits READ Digits WRITE SetDigits)
    Q_PROPERTY(double Ratio READ Ratio WRITE SetRatio)
    Q_PROPERTY(std::string Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(TDemoShape Shape READ Shape WRITE SetShape)
    Q_PROPERTY(TDemoOptionFlags Options READ OptionsFlags WRITE SetOptionsFlags)
    Q_PROPERTY(TFont Font READ Font WRITE SetFont)
    Q_PROPERTY(TDemoGroup Group READ Group WRITE SetGroup)
    Q_PROPERTY(int Area READ Area)

  public:
    explicit TiDemoComponent(QWidget* Parent = nullptr) : TiCustomComponent(Parent) {
        FFont.SetColor(clWhite);
        resize(40, 30);
    }

    TColor MarkColor() const { return FMarkColor; }
    void SetMarkColor(TColor V) { SetProperty(FMarkColor, V, irkChange); }
    int MarkSize() const { return FMarkSize; }
    void SetMarkSize(int V) {
        LoadingSeen = IsLoading();
        SetProperty(FMarkSize, V < 0 ? 0 : V, irkChange);
    }
    std::uint8_t Digits() const { return FDigits; }
    void SetDigits(std::uint8_t V) { SetProperty(FDigits, V, irkChange); }
    double Ratio() const { return FRatio; }
    void SetRatio(double V) { SetProperty(FRatio, V, irkChange); }
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& V) { SetProperty(FCaption, V, irkChange); }
    TDemoShape Shape() const { return FShape; }
    void SetShape(TDemoShape V) { SetProperty(FShape, V, irkChange); }
    TDemoOptions Options() const { return FOptions; }
    void SetOptions(TDemoOptions V) { SetProperty(FOptions, V, irkChange); }
    TDemoOptionFlags OptionsFlags() const { return ToFlags(FOptions); }
    void SetOptionsFlags(TDemoOptionFlags V) { SetOptions(FromFlags<TDemoOptions>(V)); }
    const TFont& Font() const { return FFont; }
    void SetFont(const TFont& V) { SetProperty(FFont, V, irkChange); }
    const TDemoGroup& Group() const { return FGroup; }
    void SetGroup(const TDemoGroup& V) { SetProperty(FGroup, V, irkFullChange); }
    int Area() const { return FMarkSize * FMarkSize; }

    // iPaintTo raises Exception with this message when it is not empty.
    std::string FailWith;
    // Every hook raises Exception after recording its call.
    bool HooksThrow = false;
    bool WheelUsed = true;
    int Paints = 0;
    bool LoadingSeen = false;
    std::vector<THookCall> Calls;

  protected:
    void iPaintTo(TCanvas& Canvas) override {
        ++Paints;
        iPaintBackGround(Canvas, BackGroundColor());
        if (!FailWith.empty())
            throw Exception(FailWith);
        if (FOptions.Contains(doMark)) {
            Canvas.Brush().SetStyle(bsSolid);
            Canvas.Brush().SetColor(FMarkColor);
            Canvas.FillRect(Rect(10, 10, 10 + FMarkSize, 10 + FMarkSize));
        }
    }

    void iKeyDown(std::uint16_t& Key, TShiftState Shift) override {
        Record({"KeyDown", Key, Shift});
    }
    void iKeyUp(std::uint16_t& Key, TShiftState Shift) override { Record({"KeyUp", Key, Shift}); }
    void iKeyPress(char& Key) override { Record({"KeyPress", Key}); }
    void iMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override {
        Record({"MouseDown", Button, Shift, X, Y});
    }
    void iMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override {
        Record({"MouseUp", Button, Shift, X, Y});
    }
    void iMouseMove(TShiftState Shift, int X, int Y) override {
        Record({"MouseMove", 0, Shift, X, Y});
    }
    void iDoubleClick() override { Record({"DoubleClick"}); }
    bool iMouseWheel(int WheelDelta, TShiftState Shift, TPoint) override {
        Record({"MouseWheel", WheelDelta, Shift});
        return WheelUsed;
    }
    void iWantSpecialKey(std::uint16_t& CharCode, bool& Result) override {
        Result = CharCode == VK_LEFT;
    }

  private:
    void Record(const THookCall& Call) {
        Calls.push_back(Call);
        if (HooksThrow)
            throw Exception("hook failed");
    }

    TColor FMarkColor = clRed;
    int FMarkSize = 8;
    std::uint8_t FDigits = 2;
    double FRatio = 0.1;
    std::string FCaption = "Demo";
    TDemoShape FShape = dsSquare;
    TDemoOptions FOptions{doFrame, doMark};
    TFont FFont;
    TDemoGroup FGroup;
};
