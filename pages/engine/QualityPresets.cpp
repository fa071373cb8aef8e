#include "pages/engine/QualityPresets.h"

#include "backup/BackupProfiles.h"
#include "dialogs/MessageBox.h"
#include "profile/ECorvaneError.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>

namespace {

// One control of a preset and its value in the low and the high set: "1"/"0"
// for a box, the text otherwise. A radio button set to "1" is clicked, so its
// page shows the option group of the chosen device.
struct PresetRow {
    const char* control;
    const char* low;
    const char* high;
};

constexpr PresetRow Rows[] = {
    {"pickInterface", "Low", "UltraHigh"},
    {"pickTerrain", "Low", "UltraHigh"},
    {"pickWeaponskin", "Low", "UltraHigh"},
    {"pickplayerskin", "Low", "UltraHigh"},
    {"pickworld", "Low", "UltraHigh"},
    {"pickrendermap", "Low", "UltraHigh"},
    {"picklightmap", "Low", "UltraHigh"},
    {"cbScrnFlash", "0", "1"},
    {"cbLighting", "0", "1"},
    {"cbDecals", "0", "1"},
    {"cbCoronas", "0", "1"},
    {"cbDeco", "0", "1"},
    {"cbProjectors", "0", "1"},
    {"cbDynamicLights", "0", "1"},
    {"cbDefaultDriver", "1", "1"},
    {"cbPrecache", "1", "1"},
    {"cbLowquality", "1", "0"},
    {"cbEAX", "0", "1"},
    {"cb3dsound", "0", "1"},
    {"cbRevStereo", "0", "0"},
    {"cbDisPitch", "0", "1"},
    {"edtFPS", "0", "0"},
    {"rbOpenGL", "1", "0"},
    {"rbDirect3d", "0", "1"},
    {"pickScreenmode", "640x480", "1024x768"},
    {"cbOpenDetailTex", "0", "1"},
    {"cbOpenHighDetailactors", "0", "1"},
    {"cbOpenSuperhighdetailactors", "0", "1"},
    {"cbOpenPrecaching", "1", "1"},
    {"cbOpenTrilinear", "0", "1"},
    {"cbOpenCompressedLightmaps", "1", "0"},
    {"cbOpenMouseLag", "0", "0"},
    {"cbUse16Bit", "1", "1"},
    {"cb16bittextures", "1", "1"},
    {"cbPrecaching", "1", "1"},
    {"cbCompressedLightmaps", "1", "0"},
    {"cbDetailText", "0", "1"},
    {"cbHighDetailActors", "0", "1"},
    {"cbSuperHighDetailActors", "0", "1"},
    {"cbTrilinear", "0", "1"},
    {"cbMouseLag", "0", "0"},
    {"cbTripleBuffering", "0", "0"},
    {"cbCubemaps", "0", "0"},
    {"cbVSync", "0", "0"},
    {"edtRefreshrate", "0", "0"},
};

void setControl(QWidget& page, const char* name, const QString& value)
{
    QWidget* control = page.findChild<QWidget*>(QString::fromLatin1(name));
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        const bool on = value == QLatin1String("1");
        if (button->autoExclusive()) {
            if (on) button->click(); // the device's click handler shows its group
        } else {
            button->setChecked(on);
        }
    } else if (auto* pick = qobject_cast<QComboBox*>(control)) {
        const int index = pick->findText(value, Qt::MatchFixedString);
        if (index >= 0)
            pick->setCurrentIndex(index);
        else if (pick->isEditable())
            pick->setEditText(value);
    } else if (auto* field = qobject_cast<QLineEdit*>(control)) {
        field->setText(value);
    } else if (auto* spin = qobject_cast<QSpinBox*>(control)) {
        spin->setValue(value.toInt());
    } else {
        throw ECorvaneError(std::string("The page has no control ") + name + " for the preset");
    }
}

} // namespace

void ApplyQualityPreset(QWidget& page, Quality quality, const BackupPlace& place)
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
    BackupProfiles(place, true, true);
    for (const PresetRow& row : Rows)
        setControl(page, row.control, QString::fromLatin1(quality == Quality::Low ? row.low : row.high));
}
