#pragma once

#include "app/PageRegistry.h"
#include "platform/InstallationFinder.h"
#include "platform/InstallerRegistry.h"
#include "platform/ShellStart.h"

#include <QDate>

#include <functional>
#include <memory>
#include <string>

class QWidget;
class SettingsPage;
struct PageContext;

// Builds the content of a page in place of the registry's, or nullptr for a
// page without one (tests).
using PageFactory = std::function<SettingsPage*(PageId, const PageContext&)>;

// What the main window is built over: where the program runs from and the
// services of the system. main() passes the real ones; tests pass a temporary
// directory and recorders.
struct Environment {
    std::string executableDir;
    std::shared_ptr<InstallerRegistry> registry;
    std::shared_ptr<ShellStarter> shell;
    // The installations the setup dialog lists.
    std::function<std::vector<platform::FoundInstallation>()> installations;
    std::function<QDate()> today = [] { return QDate::currentDate(); };
    // Whether the game runs now (its process found in the process table).
    std::function<bool()> gameRunning;
    PageFactory pages; // empty: the program's own pages

    static Environment system(const std::string& executableDir);
    // The system's own services where none is named.
    Environment& completed();
};
