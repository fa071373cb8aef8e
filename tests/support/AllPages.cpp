#include "tests/support/AllPages.h"

#include "app/PageRegistry.h"
#include "pages/Binding.h"
#include "pages/SettingsPage.h"
#include "pages/player/WeaponPriority.h"
#include "profile/IniFiles.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>
#include <QTableWidget>

namespace TestSupport {

AllPages::AllPages() { loadAll(); }

AllPages::AllPages(const QByteArray& userIni, const QByteArray& gameIni)
{
    if (!userIni.isEmpty()) writeFile(demo.game.userIni(), userIni);
    if (!gameIni.isEmpty()) writeFile(demo.game.gameIni(), gameIni);
    // As LoadAll reads them from the profile it opens.
    RunTime defaults;
    demo.rt.ViewportManagerClass =
        demo.rt.GameProfile->ReadString("Engine.Engine", "ViewportManager", defaults.ViewportManagerClass);
    demo.rt.RenderDeviceClass =
        demo.rt.GameProfile->ReadString("Engine.Engine", "RenderDevice", defaults.RenderDeviceClass);
    loadAll();
}

void AllPages::loadAll()
{
    for (const PageRegistry::StartupStep& step : PageRegistry::startupOrder())
        pages.loadPage(step.id);
    demo.rt.PagesLoaded = true;
}

std::vector<const Binding::Row*> AllPages::rows() const
{
    std::vector<const Binding::Row*> all;
    for (PageId id : PageRegistry::saveOrder())
        if (const SettingsPage* page = pages.page(id); page && page->bindings())
            for (const Binding::Row& row : page->bindings()->rows())
                all.push_back(&row);
    return all;
}

void editRandomly(const Binding::Row& row, std::mt19937& random)
{
    const auto pick = [&](int n) { return n > 0 ? int(random() % unsigned(n)) : 0; };
    // A value among the first `most` of [low, high]; a range may span all of int.
    const auto within = [&](int low, int high, qint64 most) {
        const qint64 span = std::min(qint64(high) - low + 1, most);
        return int(low + qint64(random() % quint64(span)));
    };
    QWidget* control = row.control;
    if (row.form == Binding::Form::Choice && !row.options.empty() && row.options.front().button) {
        row.options[std::size_t(pick(int(row.options.size())))].button->click();
    } else if (auto* box = qobject_cast<QAbstractButton*>(control)) {
        box->setChecked(!box->isChecked());
    } else if (auto* slider = qobject_cast<QAbstractSlider*>(control)) {
        slider->setValue(within(slider->minimum(), slider->maximum(), 1000000));
    } else if (auto* spin = qobject_cast<QSpinBox*>(control)) {
        spin->setValue(within(spin->minimum(), spin->maximum(), 1000));
    } else if (auto* field = qobject_cast<QLineEdit*>(control)) {
        field->setText(pick(4) == 0 ? QString() : QStringLiteral("v%1 x").arg(pick(100)));
    } else if (auto* list = qobject_cast<QComboBox*>(control)) {
        if (list->count() > 0) list->setCurrentIndex(pick(list->count()));
        if (list->isEditable() && pick(4) == 0) list->setEditText(QStringLiteral("typed %1").arg(pick(9)));
    } else if (auto* maps = qobject_cast<QListWidget*>(control); maps && maps->count() > 0) {
        maps->setCurrentRow(pick(maps->count()));
    } else if (auto* weapons = qobject_cast<WeaponPriority*>(control)) {
        weapons->selectRow(2 + pick(weapons->rowCount() - 3));
        weapons->sbtnUpClick();
    } else if (auto* aliases = qobject_cast<QTableWidget*>(control)) {
        aliases->item(pick(46), 1)->setText(QStringLiteral("(Command=\"say %1\",Alias=\"A%1\")").arg(pick(100)));
    }
}

} // namespace TestSupport
