#include "backup/fIniManager.h"

#include "core/BackupNames.h"
#include "core/BackupProfiles.h"
#include "core/ProfileRestore.h"
#include "core/ProfileState.h"
#include "dialogs/MessageBox.h"
#include "dialogs/ModalRunner.h"
#include "dialogs/OutcomeBoxes.h"
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
    const std::string bak = systemFile(m_place.systemDir, bakFileNameOf(m_place.currentUserFileName));
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

void TfrmIniManager::restore(const RestoreRequest& request)
{
    const RestoreOutcome outcome = restoreProfiles(m_place, request, boxQuestions());
    if (outcome.bakCopiesMade) RefreshBakButton();
    if (outcome.done && m_reloadPages) m_reloadPages();
    tellOutcome(outcome);
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
    const std::optional<ProfileState> now = pair(m_place.currentUserFileName.empty() ? std::string(UserIniName) : m_place.currentUserFileName, GameIniName, &failure);
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

void TfrmIniManager::btnRestoreClick()
{
    if (const QTreeWidgetItem* row = selectedRow()) restore(datedRestore(m_place, dateOf(row)));
}

void TfrmIniManager::btnBAKClick() { restore(bakRestore(m_place)); }

void TfrmIniManager::btnDelClick()
{
    QTreeWidgetItem* row = selectedRow();
    if (!row) return;
    const std::string date = dateOf(row);
    const std::string files[] = {systemFile(m_place.systemDir, datedUserFileName(date)),
                                 systemFile(m_place.systemDir, datedGameFileName(date))};
    // A dated backup opened as the user file is the file being edited: say so.
    QString editing;
    for (const std::string& file : files)
        if (platform::sameFile(file, userFileOf(m_place)))
            editing = QString::fromStdString(platform::fileNamePart(file)) +
                      QStringLiteral(" is the user file you are editing now.\n");
    if (!MessageBox::confirm(editing + QStringLiteral("Are you sure you want to delete the backup from ") + shown(date)))
        return;
    for (const std::string& file : files)
        platform::deleteFile(file);
    delete row;
}

void TfrmIniManager::btnBackupClick()
{
    tellOutcome(BackupProfiles(m_place, true, boxQuestions()));
    FormCreate();
}
