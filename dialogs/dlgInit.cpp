#include "dialogs/dlgInit.h"

#include "dialogs/ToolSettings.h"

#include "dialogs/DirectoryEdit.h"
#include "platform/InstallerRegistry.h"
#include "profile/IniFiles.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
template <class T> T* named(T* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}
} // namespace

TfrmInit::TfrmInit(const InstallerRegistry& registry, const TCustomIniFile& config, QWidget* parent)
    : QDialog(parent)
    , dirEdit(named(new DirectoryEdit(this), "dirEdit"))
    , cbAutoBackup(named(new QCheckBox(QStringLiteral("Auto backup INI files on startup"), this), "cbAutoBackup"))
    , cbAskBackup(named(new QCheckBox(QStringLiteral("Ask if you want to make backup"), this), "cbAskBackup"))
    , cbShowReadme(named(new QCheckBox(QStringLiteral("Show the readme.txt"), this), "cbShowReadme"))
    , cbUpdates(named(new QCheckBox(QStringLiteral("Check for updates on startup"), this), "cbUpdates"))
    , OKBtn(named(new QPushButton(QStringLiteral("OK"), this), "OKBtn"))
    , CancelBtn(named(new QPushButton(QStringLiteral("Cancel"), this), "CancelBtn"))
    , Label1(named(new QLabel(QStringLiteral("Enter the path to the Unreal tournament 2003 dir"), this), "Label1"))
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
    try {
        cbAskBackup->setChecked(ToolSettings::read(config, ToolSettings::AskBackup));
        cbAutoBackup->setChecked(ToolSettings::read(config, ToolSettings::AutoBackup));
        cbUpdates->setChecked(ToolSettings::read(config, ToolSettings::CheckOnStartup));
        cbShowReadme->setChecked(ToolSettings::read(config, ToolSettings::ShowReadme));
    } catch (...) {
    }
    setFixedSize(sizeHint());
}
