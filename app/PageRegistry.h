#pragma once

#include <span>

class SettingsPage;
struct PageContext;

// The pages of the main window, in tab order.
enum class PageId { KeyBinds, General, GameSettings, Aliases, InstantAction, IniFiles };

// One page: its tab, its caption, and how its content is made. Adding a page
// is one row here and the page's own folder.
struct PageInfo {
    PageId id;
    const char* tabName; // objectName of the tab
    const char* caption;
    SettingsPage* (*create)(const PageContext& context);
};

namespace PageRegistry {

std::span<const PageInfo> pages(); // in tab order
const PageInfo& info(PageId id);

// The fixed orders in which the window goes over its pages.
std::span<const PageId> changedOrder();       // AnyPageChanged: the settings pages
std::span<const PageId> saveOrder();          // SaveAllPages
std::span<const PageId> reloadOrder();        // LoadAllPages
std::span<const PageId> resetReloadOrder();   // after the game's defaults replaced the profiles

// LoadAll's order, with the start-up progress position set before a page.
struct StartupStep {
    PageId id;
    int progress; // 0: none
};
std::span<const StartupStep> startupOrder();

} // namespace PageRegistry
