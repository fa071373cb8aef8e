#include "app/Environment.h"

#include "pages/RunTime.h"
#include "pages/SettingsPage.h"

SettingsPage* CreateProgramPage(PageId id, RunTime& rt)
{
    (void)rt;
    switch (id) {
    default: return nullptr;
    }
}
