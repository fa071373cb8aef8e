#pragma once

#include <vector>

class QAction;
class QMainWindow;

// Builds the menu bar and the tool bar of the main window from their tables:
// captions with access letters, hints, shortcuts and pictures. Returns every
// command, the restore button's included, each named after its item.
std::vector<QAction*> buildMainMenu(QMainWindow& window);
