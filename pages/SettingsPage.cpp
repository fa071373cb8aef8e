#include "pages/SettingsPage.h"

#include "pages/Binding.h"

std::vector<PendingWrite> SettingsPage::pendingWrites() const
{
    // The rows know the run-time state they were built over.
    return bindings() ? bindings()->pendingWrites() : std::vector<PendingWrite>();
}
