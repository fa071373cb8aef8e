#include "platform/VirtualKeys.h"

#include <QKeyEvent>

namespace platform {
namespace {

struct KeyCode {
    int key;
    int code;
};

// Keys of the main block and the control keys.
constexpr KeyCode MainKeys[] = {
    {Qt::Key_Backspace, 0x08},
    {Qt::Key_Tab, 0x09},
    {Qt::Key_Backtab, 0x09},
    {Qt::Key_Clear, 0x0C},
    {Qt::Key_Return, 0x0D},
    {Qt::Key_Enter, 0x0D},
    {Qt::Key_Shift, 0x10},
    {Qt::Key_Control, 0x11},
    {Qt::Key_Alt, 0x12},
    {Qt::Key_AltGr, 0x12},
    {Qt::Key_Pause, 0x13},
    {Qt::Key_CapsLock, 0x14},
    {Qt::Key_Escape, 0x1B},
    {Qt::Key_Space, 0x20},
    {Qt::Key_PageUp, 0x21},
    {Qt::Key_PageDown, 0x22},
    {Qt::Key_End, 0x23},
    {Qt::Key_Home, 0x24},
    {Qt::Key_Left, 0x25},
    {Qt::Key_Up, 0x26},
    {Qt::Key_Right, 0x27},
    {Qt::Key_Down, 0x28},
    {Qt::Key_Print, 0x2C},
    {Qt::Key_SysReq, 0x2C},
    {Qt::Key_Insert, 0x2D},
    {Qt::Key_Delete, 0x2E},
    {Qt::Key_Meta, 0x5B},
    {Qt::Key_Super_L, 0x5B},
    {Qt::Key_Super_R, 0x5C},
    {Qt::Key_Menu, 0x5D},
    {Qt::Key_NumLock, 0x90},
    {Qt::Key_ScrollLock, 0x91},
    // US layout punctuation, unshifted and shifted
    {Qt::Key_Semicolon, 0xBA},
    {Qt::Key_Colon, 0xBA},
    {Qt::Key_Equal, 0xBB},
    {Qt::Key_Plus, 0xBB},
    {Qt::Key_Comma, 0xBC},
    {Qt::Key_Less, 0xBC},
    {Qt::Key_Minus, 0xBD},
    {Qt::Key_Underscore, 0xBD},
    {Qt::Key_Period, 0xBE},
    {Qt::Key_Greater, 0xBE},
    {Qt::Key_Slash, 0xBF},
    {Qt::Key_Question, 0xBF},
    {Qt::Key_QuoteLeft, 0xC0},
    {Qt::Key_AsciiTilde, 0xC0},
    {Qt::Key_BracketLeft, 0xDB},
    {Qt::Key_BraceLeft, 0xDB},
    {Qt::Key_Backslash, 0xDC},
    {Qt::Key_Bar, 0xDC},
    {Qt::Key_BracketRight, 0xDD},
    {Qt::Key_BraceRight, 0xDD},
    {Qt::Key_Apostrophe, 0xDE},
    {Qt::Key_QuoteDbl, 0xDE},
    // Shift with a digit of the main block (US layout): the digit's own code
    {Qt::Key_Exclam, 0x31},
    {Qt::Key_At, 0x32},
    {Qt::Key_NumberSign, 0x33},
    {Qt::Key_Dollar, 0x34},
    {Qt::Key_Percent, 0x35},
    {Qt::Key_AsciiCircum, 0x36},
    {Qt::Key_Ampersand, 0x37},
    {Qt::Key_Asterisk, 0x38},
    {Qt::Key_ParenLeft, 0x39},
    {Qt::Key_ParenRight, 0x30},
};

// Keys of the numeric pad whose code differs from the main block's key.
constexpr KeyCode KeypadKeys[] = {
    {Qt::Key_Asterisk, 0x6A}, {Qt::Key_Plus, 0x6B},   {Qt::Key_Comma, 0x6C},
    {Qt::Key_Minus, 0x6D},    {Qt::Key_Period, 0x6E}, {Qt::Key_Slash, 0x6F},
};

// The keys of a PC keyboard by position, as X11 and Wayland number them
// (evdev code + 8), with the code Windows gives the key at that place on the
// US layout. The number row and the punctuation keep their code whatever the
// layout types there, as on Windows; the letters are looked up here only when
// the layout types no Latin letter (Cyrillic, Greek...).
constexpr KeyCode Positions[] = {
    {10, 0x31}, {11, 0x32}, {12, 0x33}, {13, 0x34}, {14, 0x35}, {15, 0x36}, {16, 0x37}, {17, 0x38},
    {18, 0x39}, {19, 0x30}, {20, 0xBD}, {21, 0xBB}, {24, 'Q'},  {25, 'W'},  {26, 'E'},  {27, 'R'},
    {28, 'T'},  {29, 'Y'},  {30, 'U'},  {31, 'I'},  {32, 'O'},  {33, 'P'},  {34, 0xDB}, {35, 0xDD},
    {38, 'A'},  {39, 'S'},  {40, 'D'},  {41, 'F'},  {42, 'G'},  {43, 'H'},  {44, 'J'},  {45, 'K'},
    {46, 'L'},  {47, 0xBA}, {48, 0xDE}, {49, 0xC0}, {51, 0xDC}, {52, 'Z'},  {53, 'X'},  {54, 'C'},
    {55, 'V'},  {56, 'B'},  {57, 'N'},  {58, 'M'},  {59, 0xBC}, {60, 0xBE}, {61, 0xBF}, {94, 0xE2},
};

int lookUp(const auto& table, int key)
{
    for (const KeyCode& entry : table)
        if (entry.key == key) return entry.code;
    return 0;
}

} // namespace

int virtualKeyFromQt(int key, Qt::KeyboardModifiers modifiers)
{
    const bool keypad = modifiers.testFlag(Qt::KeypadModifier);
    if (keypad && key >= Qt::Key_0 && key <= Qt::Key_9) return 0x60 + (key - Qt::Key_0);
    if (keypad)
        if (const int code = lookUp(KeypadKeys, key)) return code;
    // Qt's letter and digit keys carry the code of the upper-case character,
    // which is the virtual-key code.
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9)) return key;
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return 0x70 + (key - Qt::Key_F1);
    return lookUp(MainKeys, key);
}

int virtualKeyOf(const QKeyEvent& event)
{
    const int key = event.key();
    const bool keypad = event.modifiers().testFlag(Qt::KeypadModifier);
    const bool letter = key >= Qt::Key_A && key <= Qt::Key_Z;
    if (!keypad && !letter)
        if (const int code = lookUp(Positions, int(event.nativeScanCode()))) return code;
    return virtualKeyFromQt(key, event.modifiers());
}

} // namespace platform
