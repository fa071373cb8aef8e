#include "app/Environment.h"

#include "pages/RunTime.h"
#include "pages/SettingsPage.h"
#include "pages/player/GeneralSettingsPage.h"

SettingsPage* CreateProgramPage(PageId id, RunTime& rt)
{
    switch (id) {
    case PageId::General: return new GeneralSettingsPage(rt);
    default: return nullptr;
    }
}
