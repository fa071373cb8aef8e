#include "app/MainMenu.h"

#include <QAction>
#include <QMainWindow>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

namespace {

struct MenuRow {
    const char* menu; // a new menu starts where this changes
    const char* name; // nullptr: separator
    const char* caption;
    const char* hint;
    const char* shortcut;
    QStyle::StandardPixmap picture;
};
constexpr QStyle::StandardPixmap NoPicture = QStyle::SP_CustomBase;
constexpr MenuRow Menu[] = {
    {"&File", "Reload1", "&Load", "Reload the settings", "Ctrl+O", QStyle::SP_BrowserReload},
    {"&File", "Save1", "&Save Changes", "Save your settings", "Ctrl+S", QStyle::SP_DialogSaveButton},
    {"&File", "BackupINIs1", "&Backup INI files", "Backup the ini files now", "Ctrl+Shift+B", QStyle::SP_DriveHDIcon},
    {"&File", "Backuppedinismanager1", "&Backup manager", "Open the backup manager", "Ctrl+Alt+B",
     QStyle::SP_FileDialogDetailedView},
    {"&File", "History1", "&History...", "See and undo every change to the profiles", "Ctrl+H", NoPicture},
    {"&File", "Showpendingchanges1", "Show &pending changes...", "List what a Save would change", nullptr, NoPicture},
    {"&File", nullptr, nullptr, nullptr, nullptr, NoPicture},
    {"&File", "Openfiles1", "&Open custom user.ini..", nullptr, "Ctrl+Shift+O", NoPicture},
    {"&File", "SaveINIfilesAS1", "S&ave custom user.ini as..", nullptr, "Ctrl+Shift+S", NoPicture},
    {"&File", nullptr, nullptr, nullptr, nullptr, NoPicture},
    {"&File", "Exit1", "&Exit Corvane2003", "Exit Corvane 2003", "Alt+F4", QStyle::SP_TitleBarCloseButton},
    {"&Corvane 2003", "UT2k3Dir1", "&Re-run Initialization", "Re-run the setup", "Ctrl+Alt+S", QStyle::SP_ComputerIcon},
    {"&Corvane 2003", "Checkforupdates1", "&Check for updates", "Check if there is a new version available", "Ctrl+U",
     QStyle::SP_ArrowDown},
    {"&Corvane 2003", nullptr, nullptr, nullptr, nullptr, NoPicture},
    {"&Corvane 2003", "auntlist1", "&Tauntlist", "Open the list with taunts", "Ctrl+T",
     QStyle::SP_FileDialogContentsView},
    {"&Corvane 2003", nullptr, nullptr, nullptr, nullptr, NoPicture},
    {"&Corvane 2003", "Resettodefault", "Reset settings to &default", nullptr, "Ctrl+Alt+D", NoPicture},
    {"Predefined Settings", "Highquality1", "High quality", nullptr, nullptr, NoPicture},
    {"Predefined Settings", "Lowquality1", "Low quality", nullptr, nullptr, NoPicture},
    {"&Help", "Corvane2k3help1", "&Corvane2003 help", nullptr, "F3", NoPicture},
    {"&Help", "Showreadmetxt1", "Show Readme.txt", nullptr, "F1", NoPicture},
    {"&Help", nullptr, nullptr, nullptr, nullptr, NoPicture},
    {"&Help", "Abouty1", "&About", nullptr, "F2", NoPicture},
};

// Tool bar, left to right; nullptr: separator.
struct ToolRow {
    const char* button;
    const char* action;
};
constexpr ToolRow Tools[] = {
    {nullptr, nullptr},
    {"ToolButton1", "Exit1"},
    {"ToolButton3", "Reload1"},
    {"ToolButton2", "Save1"},
    {nullptr, nullptr},
    {"ToolButton6", "BackupINIs1"},
    {"ToolButton9", "Backuppedinismanager1"},
    {"ToolButton8", "auntlist1"},
    {"ToolButton7", "Checkforupdates1"},
    {"ToolButton10", "UT2k3Dir1"},
    {nullptr, nullptr},
    {"ToolButton12", "ToolButton12"},
};

} // namespace

std::vector<QAction*> buildMainMenu(QMainWindow& window)
{
    std::vector<QAction*> actions;
    const auto action = [&](const char* name) -> QAction* {
        for (QAction* a : actions)
            if (a->objectName() == QLatin1String(name)) return a;
        return nullptr;
    };
    QMenuBar* bar = window.menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    QMenu* menu = nullptr;
    const char* menuCaption = nullptr;
    for (const MenuRow& row : Menu) {
        if (!menuCaption || qstrcmp(menuCaption, row.menu) != 0) {
            menuCaption = row.menu;
            menu = bar->addMenu(QString::fromLatin1(row.menu));
            menu->setToolTipsVisible(true); // the hints show over their items
        }
        if (!row.name) {
            menu->addSeparator();
            continue;
        }
        QAction* a = menu->addAction(QString::fromLatin1(row.caption));
        a->setObjectName(QString::fromLatin1(row.name));
        if (row.hint) {
            a->setStatusTip(QString::fromLatin1(row.hint));
            a->setToolTip(QString::fromLatin1(row.hint));
        }
        if (row.shortcut) a->setShortcut(QKeySequence(QString::fromLatin1(row.shortcut)));
        if (row.picture != NoPicture) a->setIcon(window.style()->standardIcon(row.picture));
        actions.push_back(a);
    }

    // The restore button belongs to no menu item.
    auto* restore =
        new QAction(window.style()->standardIcon(QStyle::SP_DialogResetButton), QStringLiteral("Restore"), &window);
    restore->setObjectName(QStringLiteral("ToolButton12"));
    restore->setToolTip(QStringLiteral("Restore your previous settings on the current tab"));
    restore->setStatusTip(restore->toolTip());
    actions.push_back(restore);

    QToolBar* tools = window.addToolBar(QStringLiteral("Tools"));
    tools->setObjectName(QStringLiteral("ToolBar1"));
    tools->setMovable(false);
    tools->setFloatable(false);
    tools->setContextMenuPolicy(Qt::PreventContextMenu);
    tools->toggleViewAction()->setVisible(false);
    for (const ToolRow& row : Tools) {
        if (!row.button) {
            tools->addSeparator();
            continue;
        }
        auto* button = new QToolButton(tools);
        button->setObjectName(QString::fromLatin1(row.button));
        button->setDefaultAction(action(row.action));
        button->setAutoRaise(true);
        tools->addWidget(button);
    }
    return actions;
}
