#include "components/iInput.h"

#include <gtest/gtest.h>

namespace {

TEST(VirtualKeyOf, Table) {
    struct TCase {
        int QtKey;
        Qt::KeyboardModifiers Modifiers;
        std::uint16_t Code;
    };
    const TCase Cases[] = {
        {Qt::Key_A, Qt::NoModifier, 'A'},
        {Qt::Key_Z, Qt::ShiftModifier, 'Z'},
        {Qt::Key_0, Qt::NoModifier, '0'},
        {Qt::Key_7, Qt::KeypadModifier, VK_NUMPAD0 + 7},
        {Qt::Key_F1, Qt::NoModifier, VK_F1},
        {Qt::Key_F12, Qt::NoModifier, VK_F1 + 11},
        {Qt::Key_Left, Qt::NoModifier, 37},
        {Qt::Key_Up, Qt::NoModifier, 38},
        {Qt::Key_Right, Qt::NoModifier, 39},
        {Qt::Key_Down, Qt::KeypadModifier, 40},
        {Qt::Key_PageUp, Qt::NoModifier, VK_PRIOR},
        {Qt::Key_PageDown, Qt::NoModifier, VK_NEXT},
        {Qt::Key_Home, Qt::NoModifier, VK_HOME},
        {Qt::Key_End, Qt::NoModifier, VK_END},
        {Qt::Key_Backtab, Qt::ShiftModifier, VK_TAB},
        {Qt::Key_Enter, Qt::KeypadModifier, VK_RETURN},
        {Qt::Key_Escape, Qt::NoModifier, VK_ESCAPE},
        {Qt::Key_Delete, Qt::NoModifier, VK_DELETE},
        {Qt::Key_Control, Qt::ControlModifier, VK_CONTROL},
        {Qt::Key_Plus, Qt::KeypadModifier, VK_ADD},
        {Qt::Key_Plus, Qt::ShiftModifier, 0xBB},
        {Qt::Key_Minus, Qt::NoModifier, 0xBD},
        {Qt::Key_Slash, Qt::KeypadModifier, VK_DIVIDE},
        {Qt::Key_Question, Qt::ShiftModifier, 0xBF},
        {Qt::Key_Eacute, Qt::NoModifier, 0},
        {Qt::Key_unknown, Qt::NoModifier, 0},
    };
    for (const TCase& C : Cases)
        EXPECT_EQ(VirtualKeyOf(C.QtKey, C.Modifiers), C.Code) << std::hex << C.QtKey;
}

TEST(ShiftStateOf, ModifiersAndButtons) {
    EXPECT_EQ(ShiftStateOf(Qt::NoModifier, Qt::NoButton), TShiftState());
    EXPECT_EQ(ShiftStateOf(Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier,
                           Qt::LeftButton | Qt::RightButton | Qt::MiddleButton),
              TShiftState({ssShift, ssCtrl, ssAlt, ssLeft, ssRight, ssMiddle}));
    EXPECT_EQ(ShiftStateOf(Qt::MetaModifier | Qt::KeypadModifier, Qt::BackButton), TShiftState());
}

TEST(MouseButtonOf, ThreeButtons) {
    TMouseButton B = mbMiddle;
    EXPECT_TRUE(MouseButtonOf(Qt::LeftButton, B));
    EXPECT_EQ(B, mbLeft);
    EXPECT_TRUE(MouseButtonOf(Qt::RightButton, B));
    EXPECT_EQ(B, mbRight);
    EXPECT_TRUE(MouseButtonOf(Qt::MiddleButton, B));
    EXPECT_EQ(B, mbMiddle);
    EXPECT_FALSE(MouseButtonOf(Qt::BackButton, B));
}

} // namespace
