#include "pages/keys/KeyTable.h"

#include <stdexcept>

namespace {

using enum KeyGroup;

// Group, entry name, field, label, column, line (and the written spelling
// where it differs). The numbers are the rows in read and write order.
constexpr std::array<KeyRow, KeyRowCount> Rows{{
    {Alpha, "A", "edtA", "A:", 0, 0},                                      // 1
    {Alpha, "B", "edtB", "B:", 0, 1},                                      // 2
    {Alpha, "C", "edtC", "C:", 0, 2},                                      // 3
    {Alpha, "D", "edtD", "D:", 0, 3},                                      // 4
    {Alpha, "E", "edtE", "E:", 0, 4},                                      // 5
    {Alpha, "F", "edtF", "F:", 0, 5},                                      // 6
    {Alpha, "G", "edtG", "G:", 0, 6},                                      // 7
    {Alpha, "H", "edtH", "H:", 0, 7},                                      // 8
    {Alpha, "I", "edtI", "I:", 0, 8},                                      // 9
    {Alpha, "J", "edtJ", "J:", 0, 9},                                      // 10
    {Alpha, "K", "edtK", "K:", 1, 0},                                      // 11
    {Alpha, "L", "edtL", "L:", 1, 1},                                      // 12
    {Alpha, "M", "edtM", "M:", 1, 2},                                      // 13
    {Alpha, "N", "edtN", "N:", 1, 3},                                      // 14
    {Alpha, "O", "edtO", "O:", 1, 4},                                      // 15
    {Alpha, "P", "edtP", "P:", 1, 5},                                      // 16
    {Alpha, "Q", "edtQ", "Q:", 1, 6},                                      // 17
    {Alpha, "R", "edtR", "R:", 1, 7},                                      // 18
    {Alpha, "S", "edtS", "S:", 1, 8},                                      // 19
    {Alpha, "T", "edtT", "T:", 1, 9},                                      // 20
    {Alpha, "U", "edtU", "U:", 2, 0},                                      // 21
    {Alpha, "V", "edtV", "V:", 2, 1},                                      // 22
    {Alpha, "W", "edtW", "W:", 2, 2},                                      // 23
    {Alpha, "X", "edtX", "X:", 2, 3},                                      // 24
    {Alpha, "Y", "edtY", "Y:", 2, 4},                                      // 25
    {Alpha, "Z", "edtZ", "Z:", 2, 5},                                      // 26
    {Number, "1", "edt1", "1:", 0, 0},                                     // 27
    {Number, "2", "edt2", "2:", 0, 1},                                     // 28
    {Number, "3", "edt3", "3:", 0, 2},                                     // 29
    {Number, "4", "edt4", "4:", 0, 3},                                     // 30
    {Number, "5", "edt5", "5:", 0, 4},                                     // 31
    {Number, "6", "edt6", "6:", 0, 5},                                     // 32
    {Number, "7", "edt7", "7:", 0, 6},                                     // 33
    {Number, "8", "edt8", "8:", 0, 7},                                     // 34
    {Number, "9", "edt9", "9:", 0, 8},                                     // 35
    {Number, "0", "edt0", "0:", 0, 9},                                     // 36
    {Function, "F1", "edtF1", "F1:", 0, 0},                                // 37
    {Function, "F2", "edtF2", "F2:", 0, 1},                                // 38
    {Function, "F3", "edtF3", "F3:", 0, 2},                                // 39
    {Function, "F4", "edtF4", "F4:", 0, 3},                                // 40
    {Function, "F5", "edtF5", "F5:", 0, 4},                                // 41
    {Function, "F6", "edtF6", "F6:", 0, 5},                                // 42
    {Function, "F7", "edtF7", "F7:", 0, 6},                                // 43
    {Function, "F8", "edtF8", "F8:", 0, 7},                                // 44
    {Function, "F9", "edtF9", "F9:", 0, 8},                                // 45
    {Function, "F10", "edtF10", "F10:", 0, 9},                             // 46
    {Function, "F11", "edtF11", "F11:", 0, 10},                            // 47
    {Function, "F12", "edtF12", "F12:", 0, 11},                            // 48
    {Numeric, "NumPad1", "edtNumpad1", "Numpad1:", 0, 0},                  // 49
    {Numeric, "NumPad2", "edtNumpad2", "Numpad2:", 0, 1},                  // 50
    {Numeric, "NumPad3", "edtNumpad3", "Numpad3:", 0, 2},                  // 51
    {Numeric, "NumPad4", "edtNumpad4", "Numpad4:", 0, 3},                  // 52
    {Numeric, "NumPad5", "edtNumpad5", "Numpad5:", 0, 4},                  // 53
    {Numeric, "NumPad6", "edtNumpad6", "Numpad6:", 0, 5},                  // 54
    {Numeric, "NumPad7", "edtNumpad7", "Numpad7:", 0, 6},                  // 55
    {Numeric, "NumPad8", "edtNumpad8", "Numpad8:", 0, 7},                  // 56
    {Numeric, "NumPad9", "edtNumpad9", "Numpad9:", 1, 0},                  // 57
    {Numeric, "NumPad0", "edtNumpad0", "Numpad0:", 1, 1},                  // 58
    {Numeric, "NumPadPeriod", "edtNumpadPeriod", "NumpadPeriod:", 1, 2},   // 59
    {Numeric, "GreySlash", "edtGreySlash", "GreySlash:", 1, 3},            // 60
    {Numeric, "GreyStar", "edtGreystar", "GreyStar:", 1, 4},               // 61
    {Numeric, "GreyMinus", "edtGreyMinus", "GreyMinus:", 1, 5},            // 62
    {Numeric, "GreyPlus", "edtGreyplus", "GreyPlus:", 1, 6},               // 63
    {Numeric, "NumLock", "edtNumlock", "NumLock:", 1, 7},                  // 64
    {Other, "Left", "edtLeft", "Left:", 0, 0},                             // 65
    {Other, "Up", "edtUp", "Up:", 0, 1},                                   // 66
    {Other, "Down", "edtDown", "Down:", 0, 3},                             // 67
    {Other, "Right", "edtRight", "Right:", 0, 2},                          // 68
    {Other, "Tab", "edtTab", "Tab:", 0, 4},                                // 69
    {Other, "Enter", "edtEnter", "Enter:", 0, 5},                          // 70
    {Other, "Shift", "edtShift", "Shift:", 0, 6},                          // 71
    {Other, "Ctrl", "edtCtrl", "Ctrl:", 0, 7},                             // 72
    {Other, "Alt", "edtAlt", "Alt:", 0, 8},                                // 73
    {Other, "Pause", "edtPause", "Pause:", 0, 9},                          // 74
    {Other, "Period", "edtPeriod", "Period:", 0, 10},                      // 75
    {Other, "Escape", "edtEscape", "Escape:", 0, 11},                      // 76
    {Other, "LeftMouse", "edtLeftMouse", "LetMouse:", 1, 0},               // 77
    {Other, "RightMouse", "edtRightMouse", "RightMouse:", 1, 1},           // 78
    {Other, "MiddleMouse", "edtMiddleMouse", "MiddleMouse:", 1, 2},        // 79
    {Other, "CapsLock", "edtCapsLock", "CapsLock:", 1, 3},                 // 80
    {Other, "Backspace", "edtBackSpace", "Backspace:", 1, 4, "BackSpace"}, // 81
    {Other, "RightBracket", "edtRightBracket", "RightBracket:", 1, 5},     // 82
    {Other, "LeftBracket", "edtLeftBracket", "LeftBracket:", 1, 6},        // 83
    {Other, "Separator", "edtSeparator", "Separator:", 1, 7},              // 84
    {Other, "PrintScrn", "edtPrintScrn", "PrintScrn:", 1, 8},              // 85
    {Other, "ScrollLock", "edtScrollLock", "ScrollLock:", 1, 9},           // 86
    {Other, "Minus", "edtMinus", "Minus:", 1, 10},                         // 87
    {Other, "Equals", "edtEquals", "Equals:", 1, 11},                      // 88
    {Other, "Insert", "edtInsert", "Insert:", 2, 0},                       // 89
    {Other, "Delete", "edtDelete", "Delete:", 2, 1},                       // 90
    {Other, "Home", "edtHome", "Home:", 2, 2},                             // 91
    {Other, "End", "edtEnd", "End:", 2, 3},                                // 92
    {Other, "PageUp", "edtPageUp", "PageUp:", 2, 4},                       // 93
    {Other, "PageDown", "edtPageDown", "PageDown:", 2, 5},                 // 94
    {Other, "BackSlash", "edtBackSlash", "BackSlash:", 2, 6},              // 95
    {Other, "Slash", "edtSlash", "Slash:", 2, 7},                          // 96
    {Other, "Space", "edtSpace", "Space:", 2, 8},                          // 97
    {Other, "Comma", "edtComma", "Comma:", 2, 9},                          // 98
    {Other, "Semicolon", "edtSemicolon", "Semicolon:", 2, 10},             // 99
    {Other, "Tilde", "edtTilde", "Tilde:", 2, 11},                         // 100
    {Other, "MouseX", "edtMouseX", "MouseX:", 3, 0},                       // 101
    {Other, "MouseY", "edtMouseY", "MouseY:", 3, 1},                       // 102
    {Other, "MouseW", "edtMouseW", "MouseW:", 3, 2},                       // 103
    {Other, "LShift", "edtLShift", "Left Shift:", 3, 3},                   // 104
    {Other, "RShift", "edtRShift", "Right Shift:", 3, 4},                  // 105
    {Other, "SingleQuote", "edtSingleQuote", "SingleQuote:", 3, 5},        // 106
    {Other, "MouseWheelUp", "edtMWheelUp", "MWheelUp:", 3, 6},             // 107
    {Other, "MouseWheelDown", "edtMWheelDown", "MWheelDwn:", 3, 7},        // 108
    {Joystick, "JoyX", "edtJoyx", "JoyX:", 0, 0},                          // 109
    {Joystick, "JoyY", "edtJoyY", "JoyY:", 0, 1},                          // 110
    {Joystick, "JoyZ", "edtJoyZ", "JoyZ:", 0, 2},                          // 111
    {Joystick, "JoyR", "edtJoyR", "JoyR:", 0, 3},                          // 112
    {Joystick, "JoyU", "edtJoyU", "JoyU:", 0, 4},                          // 113
    {Joystick, "JoyV", "edtJoyV", "JoyV:", 0, 5},                          // 114
    {Joystick, "Joy1", "edtJoy1", "Button1:", 1, 0},                       // 115
    {Joystick, "Joy2", "edtJoy2", "Button2:", 1, 1},                       // 116
    {Joystick, "Joy3", "edtJoy3", "Button3:", 1, 2},                       // 117
    {Joystick, "Joy4", "edtJoy4", "Button4:", 1, 3},                       // 118
    {Joystick, "Joy5", "edtJoy5", "Button5:", 1, 4},                       // 119
    {Joystick, "Joy6", "edtJoy6", "Button6:", 1, 5},                       // 120
    {Joystick, "Joy7", "edtJoy7", "Button7:", 1, 6},                       // 121
    {Joystick, "Joy8", "edtJoy8", "Button8:", 1, 7},                       // 122
    {Joystick, "Joy9", "edtJoy9", "Button9:", 2, 0},                       // 123
    {Joystick, "Joy10", "edtJoy10", "Button10:", 2, 1},                    // 124
    {Joystick, "Joy11", "edtJoy11", "Button11:", 2, 2},                    // 125
    {Joystick, "Joy12", "edtJoy12", "Button12:", 2, 3},                    // 126
    {Joystick, "Joy13", "edtJoy13", "Button13:", 2, 4},                    // 127
    {Joystick, "Joy14", "edtJoy14", "Button14:", 2, 5},                    // 128
    {Joystick, "Joy15", "edtJoy15", "Button15:", 2, 6},                    // 129
    {Joystick, "Joy16", "edtJoy16", "Button16:", 2, 7},                    // 130
}};

constexpr UnboundField Sliders[] = {
    {Joystick, "edtJoySlider1", "Slider1:", 0, 6},
    {Joystick, "edtJoySlider2", "Slider2:", 0, 7},
};

constexpr KeyGroupInfo Groups[] = {
    {Alpha, "Alpha keys", "SpeedButton1", "Clear all the Alpha keys"},
    {Number, "Number keys", "SpeedButton3", "Clear all the Number keys"},
    {Function, "Function keys", "SpeedButton4", "Clear all the Function keys"},
    {Numeric, "Numeric keys", "SpeedButton2", "Clear all the Numeric keys"},
    {Other, "Other keys", "SpeedButton5", "Clear all the Other keys"},
    {Joystick, "Joystick", "SpeedButton6", "Clear all the Joystick keys"},
};

} // namespace

std::span<const KeyRow, KeyRowCount> keyTable() { return Rows; }
std::span<const UnboundField> unboundFields() { return Sliders; }
std::span<const KeyGroupInfo> keyGroups() { return Groups; }

const KeyGroupInfo& keyGroupInfo(KeyGroup group)
{
    for (const KeyGroupInfo& info : Groups)
        if (info.group == group) return info;
    throw std::logic_error("unknown key group");
}
