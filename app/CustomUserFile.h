#pragma once

#include <optional>
#include <string>

class QWidget;

struct RunTime;

// The two commands that switch the program to another user file. Only the
// file's name is remembered; the file is always looked up in the game's
// System directory. The game's own files (UT2003.ini, Default.ini,
// DefUser.ini) are refused with a warning, whether named so or reached
// under another name (a link, another letter case).

// "&Open custom user.ini..": the existing file chosen, starting in the
// directory of the current user file; nothing when cancelled or refused.
std::optional<std::string> chooseUserFileToOpen(const RunTime& rt, QWidget* parent);

// "S&ave custom user.ini as..": the file chosen (an existing one in the
// letter case the directory spells it), with the current user file (as last
// saved) copied there; nothing when cancelled, refused or when the copy
// failed (said in a warning).
std::optional<std::string> copyUserFileAs(const RunTime& rt, QWidget* parent);
