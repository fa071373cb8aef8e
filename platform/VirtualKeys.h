#pragma once

#include <Qt>

class QKeyEvent;

// The Windows virtual-key code of a key, as the game's platform reports it in
// key-up events. Qt tells keys by the character they type, so the code is
// rebuilt from Qt's key and its keypad flag:
// - letters and main-block digits give their own code whatever Shift says
//   (Shift+1 typing "!" is still 0x31, on the US layout);
// - keypad keys give the numeric-pad codes (0x60 to 0x6F) while Num Lock is
//   on, and the codes of the navigation keys they stand for while it is off;
// - both Shift keys give 0x10, both Ctrl keys 0x11, both Alt keys 0x12;
// - punctuation gives the US layout's OEM codes (0xBA to 0xC0, 0xDB to 0xDE),
//   shifted or not.
// Keys without a code give 0.
namespace platform {

int virtualKeyFromQt(int key, Qt::KeyboardModifiers modifiers);

// The code of a pressed or released key on any keyboard layout, as Windows
// derives it: a letter from the letter the layout types, the number row,
// the punctuation and a letter key of a non-Latin layout from the key's
// place on the keyboard (its native scan code), everything else, and events
// without a scan code, as above.
int virtualKeyOf(const QKeyEvent& event);

} // namespace platform
