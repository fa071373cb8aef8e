#pragma once

#include <string>

// The key name a captured key stands for in section Engine.Input, from its
// Windows virtual-key code: letters and main-block digits give themselves,
// 60 more codes give a fixed name. Empty when the code has no name (Tab, the
// Windows keys, F13 and above, ...).
//
// Some names differ from the key page's spelling in letter case only
// ("Numpad1" for "NumPad1"); the game matches keys without case.
std::string keyNameOfVirtualKey(int code);
