#include "components/iCustomComponent.h"
#include "components/iPropertyFile.h"
#include "tests/support/EventLoop.h"
#include "tests/support/LoggedWarnings.h"
#include "tests/support/Pixels.h"

#include "platform/Bitmap.h"
#include "platform/Metafile.h"
#include "platform/PainterCanvas.h"
#include "platform/SystemColors.h"
#include "tests/components/DemoComponent.h"
#include "tests/platform/CanvasFixture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QThread>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <thread>

namespace {

QImage Grabbed(QWidget& Widget) {
    return Widget.grab().toImage();
}

std::vector<std::string> FileLines(const std::string& Name) {
    std::ifstream File(Name);
    std::vector<std::string> Lines;
    for (std::string Line; std::getline(File, Line);)
        Lines.push_back(Line);
    return Lines;
}

TEST(PaintCycle, BackgroundBorderAndMark) {
    TiDemoComponent C;
    QImage Image = Grabbed(C);
    ASSERT_EQ(Image.size(), QSize(40, 30));
    EXPECT_EQ(PixelOf(Image, 30, 25), ColorToRGB(clBtnFace));
    EXPECT_EQ(PixelOf(Image, 0, 0), ColorToRGB(clBtnFace));
    EXPECT_EQ(PixelOf(Image, 12, 12), clRed);
    EXPECT_EQ(PixelOf(Image, 18, 18), ColorToRGB(clBtnFace));

    C.SetBackGroundColor(clBlue);
    C.SetBorderStyle(ibsRaised);
    Image = Grabbed(C);
    EXPECT_EQ(PixelOf(Image, 30, 25), clBlue);
    EXPECT_EQ(PixelOf(Image, 0, 0), ColorToRGB(cl3DLight));
    EXPECT_EQ(PixelOf(Image, 39, 29), ColorToRGB(cl3DDkShadow));
    C.SetBorderStyle(ibsLowered);
    EXPECT_EQ(PixelOf(Grabbed(C), 0, 0), ColorToRGB(clBtnShadow));
}

TEST(PaintCycle, ShownComponentPaintsThroughItsWindow) {
    TiDemoComponent C;
    C.show();
    EXPECT_TRUE(WaitUntil([&] { return C.Paints > 0; }));
    const int Before = C.Paints;
    C.SetMarkSize(12);
    EXPECT_TRUE(WaitUntil([&] { return C.Paints > Before; }));
}

TEST(PaintCycle, ExceptionMessageIsDrawnWhiteOnBlack) {
    TiDemoComponent C;
    C.resize(120, 80);
    C.FailWith = "Broken value: no data in the channel at all";
    const QImage Image = Grabbed(C);
    int White = 0, Other = 0, LowestWhite = 0;
    for (int Y = 0; Y < Image.height(); ++Y)
        for (int X = 0; X < Image.width(); ++X) {
            const TColor P = PixelOf(Image, X, Y);
            White += P == clWhite;
            Other += P != clWhite && P != clBlack;
            if (P == clWhite)
                LowestWhite = Y;
        }
    EXPECT_GT(White, 20);
    EXPECT_EQ(Other, 0);
    EXPECT_EQ(PixelOf(Image, 119, 79), clBlack);
    // The message is wrapped onto several lines.
    TBitmap Probe(1, 1);
    EXPECT_GT(LowestWhite, Probe.Canvas().TextHeight("B"));

    C.FailWith.clear();
    EXPECT_EQ(PixelOf(Grabbed(C), 12, 12), clRed);
}

TEST(PaintCycle, MetafilesArePaintedDirectlyAndSwallowFailures) {
    TiDemoComponent C;
    TMetafile Metafile;
    Metafile.SetSize(40, 30);
    {
        TMetafileCanvas Recording(Metafile, "test", "demo");
        C.Paint(Recording);
    }
    EXPECT_EQ(C.Paints, 1);
    TBitmap Replay(40, 30);
    Metafile.Play(Replay.Canvas(), Rect(0, 0, 40, 30));
    EXPECT_EQ(Replay.Canvas().Pixel(12, 12), clRed);

    C.FailWith = "fails";
    TMetafileCanvas Recording(Metafile, "test", "demo");
    EXPECT_NO_THROW(C.Paint(Recording));
    EXPECT_EQ(C.Paints, 2);
}

TEST(PaintCycle, PaintWaitsForThePaintLock) {
    TiDemoComponent C;
    QImage Surface(40, 30, QImage::Format_RGB32);
    C.Lock();
    std::thread Painter([&] {
        TPainterCanvas Window(Surface);
        C.Paint(Window);
    });
    Settle(30);
    EXPECT_EQ(C.Paints, 0);
    C.Unlock();
    Painter.join();
    EXPECT_EQ(C.Paints, 1);
    // A failed paint leaves the lock free.
    C.FailWith = "fails";
    TPainterCanvas Window(Surface);
    C.Paint(Window);
    std::thread([&] {
        C.Lock();
        C.Unlock();
    }).join();
    EXPECT_EQ(C.Paints, 2);
}

TEST(PaintCycle, SaveImageToBitmap) {
    QTemporaryDir Dir;
    const std::string Name = Dir.filePath("demo.bmp").toStdString();
    TiDemoComponent C;
    C.SaveImageToBitmap(Name);
    const QImage Image(QString::fromStdString(Name));
    ASSERT_EQ(Image.size(), QSize(40, 30));
    EXPECT_EQ(PixelOf(Image, 12, 12), clRed);
    C.FailWith = "not swallowed here";
    EXPECT_THROW(C.SaveImageToBitmap(Name), Exception);
}

TEST(RepaintRequests, SameValueRequestsNothing) {
    TiDemoComponent C;
    C.BeginUpdate();
    C.SetMarkColor(C.MarkColor());
    C.SetMarkSize(C.MarkSize());
    C.SetBackGroundColor(C.BackGroundColor());
    C.SetBorderStyle(C.BorderStyle());
    C.SetUpdateFrameRate(C.UpdateFrameRate());
    C.SetFont(C.Font());
    C.SetGroup(C.Group());
    C.SetBounds(C.Left(), C.Top(), C.Width(), C.Height());
    EXPECT_FALSE(C.RepaintPending());
    C.SetMarkSize(9);
    EXPECT_TRUE(C.RepaintPending());
}

TEST(RepaintRequests, UpdateLockIsAFlagNotACounter) {
    TiDemoComponent C;
    C.BeginUpdate();
    C.BeginUpdate();
    C.SetMarkSize(3);
    C.SetBackGroundColor(clBlack);
    EXPECT_TRUE(C.RepaintPending());
    C.EndUpdate();
    EXPECT_FALSE(C.UpdateLocked());
    EXPECT_FALSE(C.RepaintPending());
}

TEST(RepaintRequests, FrameRateMergesQuickChangesAndPaintsTheLastLater) {
    TiDemoComponent C;
    C.show();
    C.SetAutoFrameRate(true);
    ASSERT_TRUE(WaitUntil([&] { return !C.RepaintPending(); }));
    Settle(40);
    const int Before = C.Paints;
    C.SetMarkSize(10);
    EXPECT_FALSE(C.RepaintPending());
    C.SetMarkSize(11);
    EXPECT_TRUE(C.RepaintPending());
    Settle(1);
    EXPECT_TRUE(WaitUntil([&] { return !C.RepaintPending(); }));
    EXPECT_TRUE(WaitUntil([&] { return C.Paints >= Before + 2; }));
}

TEST(RepaintRequests, ZeroFrameRateTurnsThrottlingOff) {
    TiDemoComponent C;
    C.SetUpdateFrameRate(0);
    C.SetAutoFrameRate(true);
    C.SetMarkSize(10);
    C.SetMarkSize(11);
    EXPECT_FALSE(C.RepaintPending());
}

TEST(RepaintRequests, TurningAutoFrameRateOffFlushes) {
    TiDemoComponent C;
    C.SetUpdateFrameRate(1);
    C.SetAutoFrameRate(true);
    C.SetMarkSize(10);
    EXPECT_TRUE(C.RepaintPending());
    C.SetAutoFrameRate(false);
    EXPECT_FALSE(C.RepaintPending());
}

TEST(RepaintRequests, EndUpdateIsThrottledToo) {
    TiDemoComponent C;
    C.SetUpdateFrameRate(20);
    C.SetAutoFrameRate(true);
    C.BeginUpdate();
    C.SetMarkSize(10);
    C.EndUpdate();
    EXPECT_TRUE(C.RepaintPending());
    EXPECT_TRUE(WaitUntil([&] { return !C.RepaintPending(); }));
}

TEST(Bounds, UnchangedBoundsDoNothing) {
    QWidget Parent;
    TiDemoComponent C(&Parent);
    C.SetBounds(5, 6, 40, 30);
    C.BeginUpdate();
    C.SetBounds(5, 6, 40, 30);
    EXPECT_FALSE(C.RepaintPending());
    C.SetWidth(41);
    EXPECT_TRUE(C.RepaintPending());
    EXPECT_EQ(C.geometry(), QRect(5, 6, 41, 30));
    C.SetHeight(31);
    EXPECT_EQ(C.GetCenterPoint(), Point(20, 15));
}

class InputHooks : public testing::Test {
  protected:
    void Send(QEvent& Event) { QApplication::sendEvent(&C, &Event); }
    void Mouse(QEvent::Type Type, Qt::MouseButton Button, Qt::MouseButtons Buttons,
               Qt::KeyboardModifiers Modifiers = Qt::NoModifier) {
        QMouseEvent Event(Type, QPointF(5, 6), QPointF(105, 206), Button, Buttons, Modifiers);
        Send(Event);
    }

    TiDemoComponent C;
};

TEST_F(InputHooks, KeysArriveAsVirtualKeyCodes) {
    QKeyEvent Left(QEvent::KeyPress, Qt::Key_Left, Qt::ShiftModifier);
    Send(Left);
    QKeyEvent A(QEvent::KeyPress, Qt::Key_A, Qt::ControlModifier, "a");
    Send(A);
    QKeyEvent Up(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, "a");
    Send(Up);
    const std::vector<THookCall> Expected = {
        {"KeyDown", VK_LEFT, {ssShift}},
        {"KeyDown", 'A', {ssCtrl}},
        {"KeyPress", 'a'},
        {"KeyUp", 'A', {}},
    };
    EXPECT_EQ(C.Calls, Expected);
}

TEST_F(InputHooks, SpecialKeysAreTakenBeforeShortcuts) {
    QKeyEvent Left(QEvent::ShortcutOverride, Qt::Key_Left, Qt::NoModifier);
    Send(Left);
    EXPECT_TRUE(Left.isAccepted());
    QKeyEvent Right(QEvent::ShortcutOverride, Qt::Key_Right, Qt::NoModifier);
    Right.ignore();
    Send(Right);
    EXPECT_FALSE(Right.isAccepted());
}

TEST_F(InputHooks, MouseButtonsWithShiftStates) {
    Mouse(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, Qt::ControlModifier);
    Mouse(QEvent::MouseMove, Qt::NoButton, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, Qt::ControlModifier);
    Mouse(QEvent::MouseButtonDblClick, Qt::LeftButton, Qt::LeftButton);
    Mouse(QEvent::MouseButtonDblClick, Qt::RightButton, Qt::RightButton, Qt::AltModifier);
    const std::vector<THookCall> Expected = {
        {"MouseDown", mbLeft, {ssCtrl, ssLeft}, 5, 6},
        {"MouseMove", 0, {ssLeft}, 5, 6},
        {"MouseUp", mbLeft, {ssCtrl}, 5, 6},
        {"DoubleClick"},
        {"MouseDown", mbLeft, {ssLeft, ssDouble}, 5, 6},
        {"MouseDown", mbRight, {ssAlt, ssRight, ssDouble}, 5, 6},
    };
    EXPECT_EQ(C.Calls, Expected);
}

TEST_F(InputHooks, KeyAndButtonHookFailuresAreSwallowed) {
    const TLoggedWarnings Warnings("sm.components");
    C.HooksThrow = true;
    QKeyEvent Key(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ");
    Send(Key);
    QKeyEvent Release(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, " ");
    Send(Release);
    Mouse(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton);
    Mouse(QEvent::MouseButtonDblClick, Qt::LeftButton, Qt::LeftButton);
    QFocusEvent Out(QEvent::FocusOut);
    Send(Out);
    EXPECT_EQ(C.Calls.size(), 7u);
    // Swallowed, but not without a trace.
    EXPECT_EQ(Warnings.Messages().size(), 7u);
}

TEST_F(InputHooks, WheelReportsWhetherItWasUsed) {
    QWheelEvent Turn(QPointF(5, 6), QPointF(105, 206), QPoint(), QPoint(0, 120), Qt::NoButton,
                     Qt::ShiftModifier, Qt::NoScrollPhase, false);
    Send(Turn);
    EXPECT_TRUE(Turn.isAccepted());
    C.WheelUsed = false;
    Send(Turn);
    EXPECT_FALSE(Turn.isAccepted());
    ASSERT_EQ(C.Calls.size(), 2u);
    EXPECT_EQ(C.Calls[0], (THookCall{"MouseWheel", 120, {ssShift}}));
}

TEST_F(InputHooks, LosingTheFocusReleasesTheLeftButton) {
    QFocusEvent In(QEvent::FocusIn);
    Send(In);
    EXPECT_TRUE(C.Focused());
    QFocusEvent Out(QEvent::FocusOut);
    Send(Out);
    EXPECT_FALSE(C.Focused());
    EXPECT_EQ(C.Calls, (std::vector<THookCall>{{"MouseUp", mbLeft, {}, 0, 0}}));
}

TEST(Timer, DelayThenRepeatUntilStopped) {
    TiDemoComponent C;
    int Ticks = 0;
    C.SetOnTimer([&](QObject* Sender) {
        EXPECT_EQ(Sender, &C);
        ++Ticks;
    });
    C.TimerStart(10, 5);
    EXPECT_TRUE(C.TimerRunning());
    EXPECT_TRUE(WaitUntil([&] { return Ticks >= 3; }));
    C.TimerStop();
    EXPECT_FALSE(C.TimerRunning());
    const int Stopped = Ticks;
    Settle(30);
    EXPECT_EQ(Ticks, Stopped);
}

TEST(Timer, DelayWithoutIntervalTicksOnce) {
    TiDemoComponent C;
    int Ticks = 0;
    C.SetOnTimer([&](QObject*) { ++Ticks; });
    C.TimerStart(5, 0);
    EXPECT_TRUE(WaitUntil([&] { return Ticks == 1; }));
    Settle(40);
    EXPECT_EQ(Ticks, 1);
    EXPECT_FALSE(C.TimerRunning());
}

TEST(Timer, NothingToTimeAndNoRestartWhileRunning) {
    TiDemoComponent C;
    int Ticks = 0;
    C.SetOnTimer([&](QObject*) { ++Ticks; });
    C.TimerStart(0, 0);
    EXPECT_FALSE(C.TimerRunning());
    C.TimerStart(0, 5);
    EXPECT_TRUE(WaitUntil([&] { return Ticks >= 2; }));
    C.TimerStop();
    Ticks = 0;
    C.TimerStart(5000, 5000);
    C.TimerStart(1, 1);
    Settle(30);
    EXPECT_EQ(Ticks, 0);
}

TEST(Transparency, ParentShowsThroughOnceFullyVisible) {
    QWidget Parent;
    Parent.resize(100, 80);
    QPalette Palette = Parent.palette();
    Palette.setColor(QPalette::Window, QColor(0, 128, 0));
    Parent.setPalette(Palette);
    Parent.setAutoFillBackground(true);
    TiDemoComponent C(&Parent);
    C.SetBounds(10, 10, 40, 30);
    C.SetBackGroundColor(clBlue);
    C.SetOptions({});
    QWidget Cover(&Parent);
    Cover.setGeometry(30, 20, 40, 40);
    Cover.setAutoFillBackground(true);
    Cover.raise();
    Parent.show();

    C.SetTransparent(true);
    EXPECT_EQ(PixelOf(Grabbed(C), 5, 5), clBlue);
    Cover.hide();
    EXPECT_EQ(PixelOf(Grabbed(C), 5, 5), RGB(0, 128, 0));
    C.SetTransparent(false);
    EXPECT_EQ(PixelOf(Grabbed(C), 5, 5), clBlue);
}

class ComponentPropertyFile : public testing::Test {
  protected:
    std::string File(const char* Name) { return Dir.filePath(Name).toStdString(); }
    std::string LoadError(TiDemoComponent& C, const std::string& Name) {
        try {
            C.LoadPropertiesFromFile(Name);
        } catch (const Exception& E) {
            return E.Message();
        }
        return "no error";
    }
    void Write(const std::string& Name, const std::string& Text) {
        std::ofstream(Name, std::ios::binary) << Text;
    }

    QTemporaryDir Dir;
};

TEST_F(ComponentPropertyFile, SavedFileRestoresEveryPublishedProperty) {
    TiDemoComponent A;
    A.SetBackGroundColor(RGB(1, 2, 3));
    A.SetBorderStyle(ibsLowered);
    A.SetUpdateFrameRate(25);
    A.SetAutoFrameRate(true);
    A.SetTransparent(true);
    A.SetMarkColor(clLime);
    A.SetOptions({doCaption});
    A.SetShape(dsCircle);
    TFont Font = A.Font();
    Font.SetName("Arial");
    Font.SetStyle({fsUnderline});
    A.SetFont(Font);
    TDemoGroup Group;
    Group.Font.SetHeight(-30);
    A.SetGroup(Group);
    A.SavePropertiesToFile(File("a.txt"));

    const std::vector<std::string> Lines = FileLines(File("a.txt"));
    ASSERT_FALSE(Lines.empty());
    EXPECT_EQ(Lines.front(), "File Type = TiDemoComponent");
    EXPECT_EQ(std::count(Lines.begin(), Lines.end(), "Width = 40"), 0);
    EXPECT_EQ(std::count(Lines.begin(), Lines.end(), "BorderStyle = ibsLowered"), 1);

    TiDemoComponent B;
    B.LoadPropertiesFromFile(File("a.txt"));
    EXPECT_EQ(iPublishedProperties(B, TiComponent::staticMetaObject, {}),
              iPublishedProperties(A, TiComponent::staticMetaObject, {}));
    EXPECT_TRUE(B.LoadingSeen);
    EXPECT_FALSE(B.IsLoading());
    EXPECT_FALSE(B.UpdateLocked());
}

TEST_F(ComponentPropertyFile, SaveAllAddsTheBounds) {
    TiDemoComponent C;
    C.SetOptionSaveAllProperties(true);
    C.SavePropertiesToFile(File("all.txt"));
    const std::vector<std::string> Lines = FileLines(File("all.txt"));
    EXPECT_EQ(std::count(Lines.begin(), Lines.end(), "Width = 40"), 1);
    EXPECT_EQ(std::count(Lines.begin(), Lines.end(), "Left = 0"), 1);
}

TEST_F(ComponentPropertyFile, FailuresCarryTheirPrefix) {
    TiDemoComponent C;
    Write(File("bad.txt"), "File Type = TiDemoComponent\nMarkColor = $00FF0000\nMarkSize = big\n");
    EXPECT_EQ(LoadError(C, File("bad.txt")),
              "Error Loading Properties - Invalid value 'big' for property MarkSize");
    EXPECT_EQ(C.MarkColor(), clRed);
    EXPECT_FALSE(C.UpdateLocked());
    EXPECT_FALSE(C.IsLoading());

    EXPECT_EQ(LoadError(C, File("missing.txt")),
              "Error Loading Properties - Cannot open file \"" + File("missing.txt") + "\"");
    try {
        C.SavePropertiesToFile(File("no/dir.txt"));
        FAIL();
    } catch (const Exception& E) {
        EXPECT_EQ(E.Message(),
                  "Error Saving Properties - Cannot write file \"" + File("no/dir.txt") + "\"");
    }
}

TEST_F(ComponentPropertyFile, FileTypeLineIsSkippedInAnyCase) {
    TiDemoComponent C;
    Write(File("t.txt"), "file type = Something Else\nMarkSize = 3\n");
    C.LoadPropertiesFromFile(File("t.txt"));
    EXPECT_EQ(C.MarkSize(), 3);
}

} // namespace
