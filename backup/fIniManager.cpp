#include "backup/fIniManager.h"

#include "backup/BackupFiles.h"
#include "backup/BackupProfiles.h"
#include "core/ProfileState.h"
#include "dialogs/MessageBox.h"
#include "dialogs/ModalRunner.h"
#include "dialogs/fChanges.h"
#include "platform/DateText.h"
#include "platform/Files.h"
#include "platform/Paths.h"

#include <QByteArray>
#include <QFile>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <vector>

namespace {

// A row shows its date text; the bytes of the file name it came from are kept
// with it, so that a name the locale cannot spell still finds its files.
constexpr int DateBytesRole = Qt::UserRole;

template <class T> T* named(T* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QString shown(const std::string& date) { return QFile::decodeName(QByteArray::fromStdString(date)); }

} // namespace

TfrmIniManager::TfrmIniManager(const BackupPlace& place, std::function<void()> reloadPages, QWidget* parent)
    : QDialog(parent)
    , treelist(named(new QTreeWidget, "treelist"))
    , btnRestore(named(new QPushButton(QStringLiteral("Restore the settings from selected date")), "btnRestore"))
    , btnCompare(named(new QPushButton(QStringLiteral("Compare")), "btnCompare"))
    , btnDel(named(new QPushButton(QStringLiteral("Delete the backup from selected date")), "btnDel"))
    , btnBAK(named(new QPushButton(QStringLiteral("Restore the .BAK files")), "btnBAK"))
    , btnBackup(named(new QPushButton(QStringLiteral("Make a backup of the current settings")), "btnBackup"))
    , GroupBox1(named(new QGroupBox, "GroupBox1"))
    , Label1(named(new QLabel(QStringLiteral("Backups found: (showing date)")), "Label1"))
    , m_place(place)
    , m_reloadPages(std::move(reloadPages))
{
    setObjectName(QStringLiteral("TfrmIniManager"));
    setWindowTitle(QStringLiteral("Backupped Ini Manager"));
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    // A flat list: one level, no expand buttons, whole rows selected by any
    // mouse button.
    treelist->setColumnCount(1);
    treelist->setHeaderHidden(true);
    treelist->setRootIsDecorated(false);
    treelist->setItemsExpandable(false);
    treelist->setSelectionMode(QAbstractItemView::SingleSelection);
    treelist->setSelectionBehavior(QAbstractItemView::SelectRows);
    treelist->setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(treelist, &QTreeWidget::itemDoubleClicked, this, [this] { btnRestoreClick(); });

    Label1->setBuddy(treelist);
    treelist->setAccessibleName(Label1->text()); // an item view does not ask its buddy
    auto* group = new QVBoxLayout(GroupBox1);
    group->addWidget(Label1);
    group->addWidget(treelist);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(GroupBox1);
    const std::pair<QPushButton*, void (TfrmIniManager::*)()> buttons[] = {
        {btnRestore, &TfrmIniManager::btnRestoreClick},
        {btnDel, &TfrmIniManager::btnDelClick},
        {btnBAK, &TfrmIniManager::btnBAKClick},
        {btnBackup, &TfrmIniManager::btnBackupClick},
    };
    for (const auto& [button, handler] : buttons) {
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, handler = handler] { (this->*handler)(); });
        if (button != btnRestore) {
            layout->addWidget(button);
            continue;
        }
        // Beside it, what restoring the date would change.
        auto* row = new QHBoxLayout;
        row->addWidget(btnRestore, 1);
        row->addWidget(btnCompare);
        layout->addLayout(row);
    }
    btnCompare->setAutoDefault(false);
    btnCompare->setToolTip(QStringLiteral("What restoring the selected date would change in the current files"));
    connect(btnCompare, &QPushButton::clicked, this, &TfrmIniManager::btnCompareClick);

    FormCreate();
    resize(300, 330);
    setFixedSize(size().expandedTo(minimumSizeHint()));
}

void TfrmIniManager::FormCreate()
{
    treelist->clear();
    const std::vector<std::string> names =
        m_place.systemDir.empty() ? std::vector<std::string>() : platform::findFiles(m_place.systemDir, "USER_*.INI");
    for (const std::string& name : names) {
        const std::string date = name.substr(5, name.size() - 9); // between "User_" and ".INI"
        auto* row = new QTreeWidgetItem(treelist, {shown(date)});
        row->setData(0, DateBytesRole, QByteArray::fromStdString(date));
    }
    RefreshBakButton();
}

void TfrmIniManager::RefreshBakButton()
{
    const std::string bak = systemFile(m_place.systemDir, UserBakName);
    const auto modified = platform::fileExists(bak) ? platform::lastModified(bak) : std::nullopt;
    if (!modified) {
        btnBAK->setEnabled(false);
        return;
    }
    // The caption only: a button disabled at opening stays so until the next opening.
    btnBAK->setText(QStringLiteral("Restore the .BAK files (") + platform::todayText(modified->date()) +
                    QLatin1Char(')'));
}

QTreeWidgetItem* TfrmIniManager::selectedRow() const
{
    const QList<QTreeWidgetItem*> selected = treelist->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

std::string TfrmIniManager::dateOf(const QTreeWidgetItem* row)
{
    return row->data(0, DateBytesRole).toByteArray().toStdString();
}

void TfrmIniManager::btnRestoreClick()
{
    const QTreeWidgetItem* row = selectedRow();
    if (!row) return;
    const std::string date = dateOf(row);
    if (!MessageBox::confirm(QStringLiteral("The current settings will be backupped\n") +
                             QStringLiteral("Are you sure you want to restore the ") + shown(date) +
                             QStringLiteral(" settings?")))
        return;
    const std::string& dir = m_place.systemDir;
    const QString failed = QStringLiteral("Could not copy the files\nSettings have not been restored");
    const std::initializer_list<FileCopy> copies = {
        {systemFile(dir, datedUserFileName(date)), systemFile(dir, UserIniName)},
        {systemFile(dir, datedGameFileName(date)), systemFile(dir, GameIniName)}};
    // A dated pair that cannot be read whole changes nothing.
    if (!sourcesReadable(copies)) {
        MessageBox::warning(failed);
        return;
    }
    if (makeBakCopies(dir, UserIniName))
        RefreshBakButton();
    else if (MessageBox::show(MessageBox::Kind::Warning,
                              QStringLiteral("Could not backup the current INI files\nWant to continue anyway?"),
                              MessageBox::Buttons::YesNo) != MessageBox::Answer::Yes)
        return;
    // Both profiles are restored or neither.
    if (!copyAllOrNothing(copies)) {
        MessageBox::warning(failed);
        return;
    }
    if (m_reloadPages) m_reloadPages();
    MessageBox::information(QStringLiteral("The settings are restored\nYour previous settings are now in the "
                                           "User.BAK and UT2003.BAK files"));
}

void TfrmIniManager::btnCompareClick()
{
    const QTreeWidgetItem* row = selectedRow();
    if (!row) return;
    const std::string date = dateOf(row);
    const std::string& dir = m_place.systemDir;
    const auto pair = [&](const std::string& user, const std::string& game, QString* failure) {
        return ProfileState::read(dir, platform::fileNamePart(systemFile(dir, user)),
                                  platform::fileNamePart(systemFile(dir, game)), failure);
    };
    QString failure;
    const std::optional<ProfileState> now = pair(UserIniName, GameIniName, &failure);
    const std::optional<ProfileState> dated =
        now ? pair(datedUserFileName(date), datedGameFileName(date), &failure) : std::nullopt;
    for (std::size_t i = 0; dated && i < 2 && failure.isEmpty(); ++i) {
        if (!dated->files[i].bytes) failure = QStringLiteral("Cannot read ") + shown(dated->files[i].name);
    }
    if (!failure.isEmpty()) {
        MessageBox::warning(failure);
        return;
    }
    std::vector<KeyChanges> changes;
    for (std::size_t i = 0; i < 2; ++i)
        changes.push_back(KeyChanges::between(now->files[i].name, now->files[i].bytes, dated->files[i].bytes));
    TfrmChanges window(QStringLiteral("The ") + shown(date) + QStringLiteral(" settings and the current ones"), changes,
                       QStringLiteral("Current"), shown(date), this);
    ModalRunner::exec(window);
}

void TfrmIniManager::btnBAKClick()
{
    // Both profiles are overwritten and no copy of them is kept: ask first.
    if (!MessageBox::confirm(QStringLiteral("Your current settings will be replaced by those in the .BAK files\n"
                                            "Are you sure you want to restore the .BAK files?")))
        return;
    const std::string& dir = m_place.systemDir;
    if (!copyAllOrNothing({{systemFile(dir, UserBakName), systemFile(dir, UserIniName)},
                           {systemFile(dir, GameBakName), systemFile(dir, GameIniName)}})) {
        MessageBox::warning(QStringLiteral("Could not copy the files\nSettings have not been restored"));
        return;
    }
    if (m_reloadPages) m_reloadPages();
    MessageBox::information(
        QStringLiteral("The settings are restored\nYour old settings are now in the User.BAK and UT2003.BAK files"));
}

void TfrmIniManager::btnDelClick()
{
    QTreeWidgetItem* row = selectedRow();
    if (!row) return;
    const std::string date = dateOf(row);
    if (!MessageBox::confirm(QStringLiteral("Are you sure you want to delete the backup from ") + shown(date))) return;
    for (const std::string& name : {datedUserFileName(date), datedGameFileName(date)})
        platform::deleteFile(systemFile(m_place.systemDir, name));
    delete row;
}

void TfrmIniManager::btnBackupClick()
{
    BackupProfiles(m_place, true);
    FormCreate();
}
