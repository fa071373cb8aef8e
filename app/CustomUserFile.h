#pragma once

#include <optional>
#include <string>

class QWidget;

// The two commands that switch the program to another user file. Only the
// file's name is remembered; the file is always looked up in the game's
// System directory. The game's own files (UT2003.ini, Default.ini,
// DefUser.ini) are refused with a warning.

// "&Open custom user.ini..": the existing file chosen, starting in the
// directory of `currentUserFile`; nothing when cancelled or refused.
std::optional<std::string> chooseUserFileToOpen(const std::string& currentUserFile, QWidget* parent);

// "S&ave custom user.ini as..": the name chosen, with the current user file
// (as last saved) copied there; nothing when cancelled, refused or when the
// copy failed (said in a warning).
std::optional<std::string> copyUserFileAs(const std::string& currentUserFile, QWidget* parent);
