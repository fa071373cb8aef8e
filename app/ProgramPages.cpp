#include "app/Environment.h"

#include "pages/RunTime.h"
#include "pages/SettingsPage.h"
#include "pages/keys/AliasesPage.h"
#include "pages/keys/KeyBindsPage.h"
#include "pages/player/GeneralSettingsPage.h"

SettingsPage* CreateProgramPage(PageId id, RunTime& rt)
{
    switch (id) {
    case PageId::KeyBinds: return new KeyBindsPage(rt);
    case PageId::General: return new GeneralSettingsPage(rt);
    case PageId::Aliases: return new AliasesPage(rt);
    default: return nullptr;
    }
}
