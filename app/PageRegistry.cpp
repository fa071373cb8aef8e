#include "app/PageRegistry.h"

#include "pages/PageContext.h"
#include "pages/engine/GameSettingsPage.h"
#include "pages/ini_text/IniTextsPage.h"
#include "pages/instant_action/InstantActionPage.h"
#include "pages/keys/AliasesPage.h"
#include "pages/keys/KeyBindsPage.h"
#include "pages/player/GeneralSettingsPage.h"

#include <stdexcept>
#include <type_traits>

namespace {

// A page is handed only what it uses: the run-time values, or the whole
// context when it also needs the window's services.
template <class Page> SettingsPage* make(const PageContext& context)
{
    if constexpr (std::is_constructible_v<Page, const PageContext&>)
        return new Page(context);
    else
        return new Page(context.rt);
}

const PageInfo Pages[] = {
    {PageId::KeyBinds, "tabMain", "Key binds", make<KeyBindsPage>},
    {PageId::General, "tabGeneral", "General Settings", make<GeneralSettingsPage>},
    {PageId::GameSettings, "tabUT2k3", "UT2k3 Settings", make<GameSettingsPage>},
    {PageId::Aliases, "tabAliases", "Aliases", make<AliasesPage>},
    {PageId::InstantAction, "tabFrontEnd", "Instant Action", make<InstantActionPage>},
    {PageId::IniFiles, "tabIniFiles", "Inifiles", make<IniTextsPage>},
};

constexpr PageId ChangedOrder[] = {PageId::KeyBinds, PageId::Aliases, PageId::General, PageId::GameSettings,
                                   PageId::InstantAction};
constexpr PageId SaveOrder[] = {PageId::KeyBinds, PageId::Aliases, PageId::General, PageId::InstantAction,
                                PageId::GameSettings};
constexpr PageId ReloadOrder[] = {PageId::KeyBinds, PageId::Aliases,       PageId::IniFiles,
                                  PageId::General,  PageId::InstantAction, PageId::GameSettings};
constexpr PageId ResetReloadOrder[] = {PageId::KeyBinds,      PageId::Aliases,      PageId::General,
                                       PageId::InstantAction, PageId::GameSettings, PageId::IniFiles};
constexpr PageRegistry::StartupStep StartupOrder[] = {
    {PageId::KeyBinds, 2},      {PageId::Aliases, 0},  {PageId::General, 3},
    {PageId::InstantAction, 0}, {PageId::IniFiles, 0}, {PageId::GameSettings, 4},
};

} // namespace

namespace PageRegistry {

std::span<const PageInfo> pages() { return Pages; }

const PageInfo& info(PageId id)
{
    for (const PageInfo& page : Pages)
        if (page.id == id) return page;
    throw std::logic_error("page without a registry row");
}

std::span<const PageId> changedOrder() { return ChangedOrder; }
std::span<const PageId> saveOrder() { return SaveOrder; }
std::span<const PageId> reloadOrder() { return ReloadOrder; }
std::span<const PageId> resetReloadOrder() { return ResetReloadOrder; }
std::span<const StartupStep> startupOrder() { return StartupOrder; }

} // namespace PageRegistry
