#include "dialogs/dlgInit.h"

#include "core/ToolSettings.h"

#include "dialogs/DirectoryEdit.h"
#include "dialogs/ModalRunner.h"
#include "platform/InstallerRegistry.h"
#include "profile/IniFiles.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {
template <class T> T* named(T* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}
} // namespace

TfrmInit::TfrmInit(const InstallerRegistry& registry, const TCustomIniFile& config,
                   const std::vector<platform::FoundInstallation>& found, QWidget* parent)
    : QDialog(parent)
    , dirEdit(named(new DirectoryEdit(this), "dirEdit"))
    , lbFound(named(new QListWidget(this), "lbFound"))
    , cbAutoBackup(named(new QCheckBox(QStringLiteral("Auto backup INI files on startup"), this), "cbAutoBackup"))
    , cbAskBackup(named(new QCheckBox(QStringLiteral("Ask if you want to make backup"), this), "cbAskBackup"))
    , cbShowReadme(named(new QCheckBox(QStringLiteral("Show the readme.txt"), this), "cbShowReadme"))
    , cbUpdates(named(new QCheckBox(QStringLiteral("Check for updates on startup"), this), "cbUpdates"))
    , OKBtn(named(new QPushButton(QStringLiteral("OK"), this), "OKBtn"))
    , CancelBtn(named(new QPushButton(QStringLiteral("Cancel"), this), "CancelBtn"))
    , Label1(named(new QLabel(QStringLiteral("Enter the path to the Unreal tournament 2003 dir"), this), "Label1"))
    , lblFound(named(new QLabel(tr("Installations found:"), this), "lblFound"))
{
    setObjectName(QStringLiteral("TfrmInit"));
    setWindowTitle(QStringLiteral("Corvane 2003 setup"));

    OKBtn->setDefault(true);
    OKBtn->setToolTip(QStringLiteral("Clicking OK automatically means you agree\nthat i am not responsible of anything "
                                     "that \npossible has caused any damage.\n"));
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    Label1->setBuddy(dirEdit);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(dirEdit);
    lblFound->setBuddy(lbFound);
    layout->addWidget(lblFound);
    layout->addWidget(lbFound);
    layout->addSpacing(6);
    for (QCheckBox* box : {cbAutoBackup, cbAskBackup, cbShowReadme, cbUpdates}) {
        box->setChecked(true);
        layout->addWidget(box);
    }
    layout->addSpacing(6);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    layout->addLayout(buttons);
    dirEdit->setMinimumWidth(360);

    // The demo's key first, then the full game's: when both are there, the
    // full game's folder is the one that stays.
    for (const char* key : {DemoKey, GameKey}) {
        try {
            if (auto folder = registry.ReadFolder(key)) dirEdit->setText(QString::fromStdString(*folder));
        } catch (...) {
        }
    }
    fillFound(found);
    try {
        cbAskBackup->setChecked(ToolSettings::read(config, ToolSettings::AskBackup));
        cbAutoBackup->setChecked(ToolSettings::read(config, ToolSettings::AutoBackup));
        cbUpdates->setChecked(ToolSettings::read(config, ToolSettings::CheckOnStartup));
        cbShowReadme->setChecked(ToolSettings::read(config, ToolSettings::ShowReadme));
    } catch (...) {
    }
    setFixedSize(sizeHint());
}

void TfrmInit::fillFound(const std::vector<platform::FoundInstallation>& found)
{
    for (const platform::FoundInstallation& installation : found) {
        const QString dir = QString::fromStdString(installation.gameDir);
        auto* item = new QListWidgetItem(QString::fromStdString(installation.kind) + QStringLiteral(": ") + dir);
        item->setData(Qt::UserRole, dir);
        item->setToolTip(dir);
        lbFound->addItem(item);
    }
    lblFound->setVisible(!found.empty());
    lbFound->setVisible(!found.empty());
    if (found.empty()) return;

    // Without an installer's entry in the default prefix, the first
    // installation found is proposed; the proposed one is the selected line.
    if (dirEdit->text().isEmpty()) dirEdit->setText(lbFound->item(0)->data(Qt::UserRole).toString());
    const QString proposed = QDir::cleanPath(dirEdit->text());
    for (int row = 0; row < lbFound->count(); ++row) {
        if (lbFound->item(row)->data(Qt::UserRole).toString() == proposed) {
            lbFound->setCurrentRow(row);
            break;
        }
    }
    // A line is chosen by a click or the arrow keys; Tab passing through
    // leaves the field as it is.
    connect(lbFound, &QListWidget::itemSelectionChanged, this, &TfrmInit::lbFoundClick);
    lbFound->setAccessibleName(tr("Installations found"));
    // Up to five lines show without scrolling; a long path is shortened in
    // its middle (its tool tip holds it whole).
    lbFound->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lbFound->setTextElideMode(Qt::ElideMiddle);
    const int rows = std::min(lbFound->count(), 5);
    lbFound->setFixedHeight(lbFound->sizeHintForRow(0) * rows + 2 * lbFound->frameWidth());
    lbFound->setMinimumWidth(std::min(lbFound->sizeHintForColumn(0) + 2 * lbFound->frameWidth() + 4, 600));
    setTabOrder(dirEdit, lbFound);
    setTabOrder(lbFound, cbAutoBackup);
}

void TfrmInit::lbFoundClick()
{
    const QList<QListWidgetItem*> chosen = lbFound->selectedItems();
    if (!chosen.isEmpty()) dirEdit->setText(chosen.front()->data(Qt::UserRole).toString());
}

std::optional<OpenProfiles::SetupAnswer> TfrmInit::ask(const InstallerRegistry& registry,
                                                       const TCustomIniFile& config,
                                                       const std::vector<platform::FoundInstallation>& found,
                                                       QWidget* parent)
{
    TfrmInit dialog(registry, config, found, parent);
    if (ModalRunner::exec(dialog) != QDialog::Accepted) return std::nullopt;
    return OpenProfiles::SetupAnswer{dialog.dirEdit->text().toStdString(), dialog.cbAutoBackup->isChecked(),
                                     dialog.cbAskBackup->isChecked(), dialog.cbUpdates->isChecked(),
                                     dialog.cbShowReadme->isChecked()};
}
