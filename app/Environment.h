#pragma once

#include "platform/InstallerRegistry.h"
#include "platform/ShellStart.h"

#include <QDate>

#include <functional>
#include <memory>
#include <string>

class QWidget;
class SettingsPage;
struct RunTime;

// The pages of the main window, in tab order.
enum class PageId { KeyBinds, General, GameSettings, Aliases, InstantAction, IniFiles };

// Builds the content of a settings page, or nullptr for a page without one.
using PageFactory = std::function<SettingsPage*(PageId, RunTime&)>;

// What the main window is built over: where the program runs from and the
// services of the system. main() passes the real ones; tests pass a temporary
// directory and recorders.
struct Environment {
    std::string executableDir;
    std::shared_ptr<InstallerRegistry> registry;
    std::shared_ptr<ShellStarter> shell;
    std::function<QDate()> today = [] { return QDate::currentDate(); };
    PageFactory pages; // empty: the program's own pages

    static Environment system(const std::string& executableDir);
};

// The program's own pages.
SettingsPage* CreateProgramPage(PageId id, RunTime& rt);
