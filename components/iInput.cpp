#include "components/iInput.h"

#include <utility>

namespace {

struct TKeyCode {
    int QtKey;
    std::uint16_t Code;
};

constexpr TKeyCode SpecialKeys[] = {
    {Qt::Key_Backspace, VK_BACK},   {Qt::Key_Tab, VK_TAB},           {Qt::Key_Backtab, VK_TAB},
    {Qt::Key_Return, VK_RETURN},    {Qt::Key_Enter, VK_RETURN},      {Qt::Key_Shift, VK_SHIFT},
    {Qt::Key_Control, VK_CONTROL},  {Qt::Key_Alt, VK_MENU},          {Qt::Key_Pause, VK_PAUSE},
    {Qt::Key_CapsLock, VK_CAPITAL}, {Qt::Key_Escape, VK_ESCAPE},     {Qt::Key_Space, VK_SPACE},
    {Qt::Key_PageUp, VK_PRIOR},     {Qt::Key_PageDown, VK_NEXT},     {Qt::Key_End, VK_END},
    {Qt::Key_Home, VK_HOME},        {Qt::Key_Left, VK_LEFT},         {Qt::Key_Up, VK_UP},
    {Qt::Key_Right, VK_RIGHT},      {Qt::Key_Down, VK_DOWN},         {Qt::Key_Print, VK_SNAPSHOT},
    {Qt::Key_Insert, VK_INSERT},    {Qt::Key_Delete, VK_DELETE},     {Qt::Key_Menu, VK_APPS},
    {Qt::Key_NumLock, VK_NUMLOCK},  {Qt::Key_ScrollLock, VK_SCROLL},
};

constexpr TKeyCode KeypadKeys[] = {
    {Qt::Key_Asterisk, VK_MULTIPLY}, {Qt::Key_Plus, VK_ADD},      {Qt::Key_Minus, VK_SUBTRACT},
    {Qt::Key_Period, VK_DECIMAL},    {Qt::Key_Comma, VK_DECIMAL}, {Qt::Key_Slash, VK_DIVIDE},
};

// The VK_OEM codes of a US keyboard, for the key and its shifted character.
constexpr TKeyCode PunctuationKeys[] = {
    {Qt::Key_Semicolon, 0xBA},    {Qt::Key_Colon, 0xBA},      {Qt::Key_Equal, 0xBB},
    {Qt::Key_Plus, 0xBB},         {Qt::Key_Comma, 0xBC},      {Qt::Key_Less, 0xBC},
    {Qt::Key_Minus, 0xBD},        {Qt::Key_Underscore, 0xBD}, {Qt::Key_Period, 0xBE},
    {Qt::Key_Greater, 0xBE},      {Qt::Key_Slash, 0xBF},      {Qt::Key_Question, 0xBF},
    {Qt::Key_QuoteLeft, 0xC0},    {Qt::Key_AsciiTilde, 0xC0}, {Qt::Key_BracketLeft, 0xDB},
    {Qt::Key_BraceLeft, 0xDB},    {Qt::Key_Backslash, 0xDC},  {Qt::Key_Bar, 0xDC},
    {Qt::Key_BracketRight, 0xDD}, {Qt::Key_BraceRight, 0xDD}, {Qt::Key_Apostrophe, 0xDE},
    {Qt::Key_QuoteDbl, 0xDE},
};

template <std::size_t N> std::uint16_t Lookup(const TKeyCode (&Table)[N], int QtKey) {
    for (const TKeyCode& Entry : Table)
        if (Entry.QtKey == QtKey)
            return Entry.Code;
    return 0;
}

} // namespace

TShiftState ShiftStateOf(Qt::KeyboardModifiers Modifiers, Qt::MouseButtons Buttons) {
    const std::pair<bool, TShiftStateItem> States[] = {
        {Modifiers.testFlag(Qt::ShiftModifier), ssShift},
        {Modifiers.testFlag(Qt::AltModifier), ssAlt},
        {Modifiers.testFlag(Qt::ControlModifier), ssCtrl},
        {Buttons.testFlag(Qt::LeftButton), ssLeft},
        {Buttons.testFlag(Qt::RightButton), ssRight},
        {Buttons.testFlag(Qt::MiddleButton), ssMiddle},
    };
    TShiftState Shift;
    for (const auto& [Held, Item] : States)
        if (Held)
            Shift.Include(Item);
    return Shift;
}

std::uint16_t VirtualKeyOf(int QtKey, Qt::KeyboardModifiers Modifiers) {
    const bool Keypad = Modifiers.testFlag(Qt::KeypadModifier);
    if (QtKey >= Qt::Key_A && QtKey <= Qt::Key_Z)
        return std::uint16_t(QtKey);
    if (QtKey >= Qt::Key_0 && QtKey <= Qt::Key_9)
        return std::uint16_t(Keypad ? VK_NUMPAD0 + (QtKey - Qt::Key_0) : QtKey);
    if (QtKey >= Qt::Key_F1 && QtKey <= Qt::Key_F24)
        return std::uint16_t(VK_F1 + (QtKey - Qt::Key_F1));
    if (const std::uint16_t Code = Lookup(SpecialKeys, QtKey))
        return Code;
    if (Keypad)
        if (const std::uint16_t Code = Lookup(KeypadKeys, QtKey))
            return Code;
    return Lookup(PunctuationKeys, QtKey);
}

bool MouseButtonOf(Qt::MouseButton Button, TMouseButton& Result) {
    switch (Button) {
    case Qt::LeftButton:
        Result = mbLeft;
        return true;
    case Qt::RightButton:
        Result = mbRight;
        return true;
    case Qt::MiddleButton:
        Result = mbMiddle;
        return true;
    default:
        return false;
    }
}
