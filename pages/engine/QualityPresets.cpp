#include "pages/engine/QualityPresets.h"

#include "core/BackupProfiles.h"
#include "dialogs/MessageBox.h"
#include "dialogs/OutcomeBoxes.h"
#include "pages/Binding.h"

void ApplyQualityPreset(const Binding::Table& rows, Quality quality, const BackupPlace& place)
{
    const QString question =
        quality == Quality::Low
            ? QStringLiteral("This will put your UT2003 into Low Quality mode.\n"
                             "It will change the settings to the recommended values.\n"
                             "It will switch to OpenGL mode. If the game doesnt run anymore try switching back to "
                             "Direct3D\nDo you want to continue?")
            : QStringLiteral("This will put your UT2003 into High Quality mode.\n"
                             "It will change the settings to the recommended values.\n"
                             "Do you want to continue?");
    if (!MessageBox::confirm(question)) return;
    tellOutcome(BackupProfiles(place, true, boxQuestions(), true));
    // A device chosen by the preset is clicked, so the page shows its group.
    for (const Binding::Row& row : rows.rows())
        if (row.preset) Binding::putText(row, quality == Quality::Low ? row.preset->low : row.preset->high);
}
