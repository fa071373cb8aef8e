#include "app/fMain.h"

#include "dialogs/DirectoryEdit.h"
#include "dialogs/Logo.h"
#include "dialogs/MessageBox.h"
#include "dialogs/ModalRunner.h"
#include "dialogs/dlgInit.h"
#include "dialogs/fAbout.h"
#include "dialogs/fProgress.h"
#include "dialogs/fReadme.h"
#include "pages/SettingsPage.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/ProgramDir.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int PageCount = 6;

struct PageRow {
    PageId id;
    const char* tabName;
    const char* caption;
};
// The pages in tab order.
constexpr PageRow Pages[PageCount] = {
    {PageId::KeyBinds, "tabMain", "Key binds"},
    {PageId::General, "tabGeneral", "General Settings"},
    {PageId::GameSettings, "tabUT2k3", "UT2k3 Settings"},
    {PageId::Aliases, "tabAliases", "Aliases"},
    {PageId::InstantAction, "tabFrontEnd", "Instant Action"},
    {PageId::IniFiles, "tabIniFiles", "Inifiles"},
};

// The fixed orders in which the window asks, saves and loads the pages.
constexpr PageId ChangedOrder[] = {PageId::KeyBinds, PageId::Aliases, PageId::General, PageId::GameSettings,
                                   PageId::InstantAction};
constexpr PageId SaveOrder[] = {PageId::KeyBinds, PageId::Aliases, PageId::General, PageId::InstantAction,
                                PageId::GameSettings};
constexpr PageId ReloadOrder[] = {PageId::KeyBinds, PageId::Aliases, PageId::IniFiles, PageId::General,
                                  PageId::InstantAction, PageId::GameSettings};

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
    {"&File", nullptr, nullptr, nullptr, nullptr, NoPicture},
    {"&File", "Openfiles1", "&Open custom user.ini..", nullptr, "Ctrl+Shift+O", NoPicture},
    {"&File", "SaveINIfilesAS1", "S&ave custom user.ini as..", nullptr, "Ctrl+Shift+S", NoPicture},
    {"&File", nullptr, nullptr, nullptr, nullptr, NoPicture},
    {"&File", "Exit1", "&Exit Corvane2003", "Exit Corvane 2003", "Alt+F4", QStyle::SP_TitleBarCloseButton},
    {"&Corvane 2003", "UT2k3Dir1", "&Re-run Initialization", "Re-run the setup", "Ctrl+Alt+S",
     QStyle::SP_ComputerIcon},
    {"&Corvane 2003", "Checkforupdates1", "&Check for updates", "Check if there is a new version available",
     "Ctrl+U", QStyle::SP_ArrowDown},
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

QString failureText(const std::exception& e) { return QStringLiteral("Error occured:") + QString::fromLocal8Bit(e.what()); }

} // namespace

TfrmMain::TfrmMain(Environment env, QWidget* parent)
    : QMainWindow(parent)
    , m_env(std::move(env))
{
    setObjectName(QStringLiteral("TfrmMain"));
    if (!m_env.registry) m_env.registry = std::make_shared<WineInstallerRegistry>();
    if (!m_env.shell) m_env.shell = std::make_shared<ProcessShellStarter>();
    if (!m_env.pages) m_env.pages = CreateProgramPage;

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    setCentralWidget(central);
    buildMenuAndToolBar();
    buildStatusStrip(central);
    buildPages();
    layout->addWidget(PageCtrl, 1);

    setMinimumSize(800, 580);
    resize(800, 600);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect r(QPoint(), size());
        r.moveCenter(screen->availableGeometry().center());
        move(r.topLeft());
    }
    FormCreate();
}

TfrmMain::~TfrmMain() { releaseProfiles(); }

QAction* TfrmMain::action(const char* name) const
{
    for (QAction* a : m_actions)
        if (a->objectName() == QLatin1String(name)) return a;
    return nullptr;
}

void TfrmMain::buildMenuAndToolBar()
{
    QMenuBar* bar = menuBar();
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
        if (row.picture != NoPicture) a->setIcon(style()->standardIcon(row.picture));
        m_actions.push_back(a);
    }

    // The restore button belongs to no menu item.
    auto* restore = new QAction(style()->standardIcon(QStyle::SP_DialogResetButton),
                                QStringLiteral("Restore"), this);
    restore->setObjectName(QStringLiteral("ToolButton12"));
    restore->setToolTip(QStringLiteral("Restore your previous settings on the current tab"));
    restore->setStatusTip(restore->toolTip());
    m_actions.push_back(restore);

    QToolBar* tools = addToolBar(QStringLiteral("Tools"));
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

    const auto on = [this](const char* name, auto handler) {
        connect(action(name), &QAction::triggered, this, handler);
    };
    on("Reload1", &TfrmMain::Reload1Click);
    on("Save1", &TfrmMain::Save1Click);
    on("Exit1", &TfrmMain::Exit1Click);
    on("UT2k3Dir1", [this] { LoadAll(true); });
    on("ToolButton12", &TfrmMain::ToolButton12Click);
    on("Showreadmetxt1", &TfrmMain::Showreadmetxt1Click);
    on("Abouty1", &TfrmMain::Image1Click);

    // Commands whose windows the program does not have yet.
    for (const char* later : {"BackupINIs1", "Backuppedinismanager1", "Openfiles1", "SaveINIfilesAS1",
                              "Checkforupdates1", "auntlist1", "Resettodefault", "Highquality1", "Lowquality1",
                              "Corvane2k3help1"})
        action(later)->setEnabled(false);
}

namespace {
// The logo, which opens the about box when clicked.
class ClickableLabel : public QLabel {
public:
    ClickableLabel(std::function<void()> onClick, QWidget* parent)
        : QLabel(parent)
        , m_onClick(std::move(onClick))
    {
        setCursor(Qt::PointingHandCursor);
    }

protected:
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        QLabel::mouseReleaseEvent(event);
        if (m_onClick) m_onClick();
    }

private:
    std::function<void()> m_onClick;
};
} // namespace

void TfrmMain::buildStatusStrip(QWidget* central)
{
    auto* panel = new QWidget(central);
    panel->setObjectName(QStringLiteral("Panel2"));
    panel->setFixedHeight(49);
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(6, 1, 4, 1);
    auto* labels = new QVBoxLayout;
    labels->setSpacing(0);
    lblDir = new QLabel(QStringLiteral("UT2k3 Dir:"), panel);
    lblCurrUserIni = new QLabel(QStringLiteral("Current User.Ini:"), panel);
    lblCurrUt2003ini = new QLabel(QStringLiteral("Current UT2003.Ini:"), panel);
    lblDir->setObjectName(QStringLiteral("lblDir"));
    lblCurrUserIni->setObjectName(QStringLiteral("lblCurrUserIni"));
    lblCurrUt2003ini->setObjectName(QStringLiteral("lblCurrUt2003ini"));
    for (QLabel* label : {lblDir, lblCurrUserIni, lblCurrUt2003ini}) {
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        labels->addWidget(label);
    }
    row->addLayout(labels, 1);
    Image1 = new ClickableLabel([this] { Image1Click(); }, panel);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(CorvaneLogo(QSize(120, 44)));
    Image1->setToolTip(QStringLiteral("About Corvane 2003"));
    row->addWidget(Image1, 0, Qt::AlignRight | Qt::AlignVCenter);
    central->layout()->addWidget(panel);
}

void TfrmMain::buildPages()
{
    PageCtrl = new QTabWidget(this);
    PageCtrl->setObjectName(QStringLiteral("PageCtrl"));
    PageCtrl->setDocumentMode(false);
    for (const PageRow& row : Pages) {
        auto* tab = new QWidget(PageCtrl);
        tab->setObjectName(QString::fromLatin1(row.tabName));
        auto* layout = new QVBoxLayout(tab);
        layout->setContentsMargins(2, 2, 2, 2);
        SettingsPage* content = m_env.pages(row.id, m_rt);
        if (content) layout->addWidget(content);
        m_tabs[static_cast<int>(row.id)] = tab;
        m_pages[static_cast<int>(row.id)] = content;
        PageCtrl->addTab(tab, QString::fromLatin1(row.caption));
    }
    connect(PageCtrl, &QTabWidget::currentChanged, this, &TfrmMain::PageCtrlChanging);
}

// ---------------------------------------------------------------------------
// Start-up

void TfrmMain::FormCreate()
{
    TfrmProgress progress(QStringLiteral("Loading...."), 5);
    progress.showCentred();
    m_startupProgress = &progress;

    m_rt.StartupComplete = false;
    m_rt.ManualUpdateCheck = false;
    setWindowTitle(QStringLiteral("Corvane 2003 v%1").arg(QString::fromLatin1(RunTime::Version)));
    {
        const QSignalBlocker block(PageCtrl);
        PageCtrl->setCurrentIndex(0);
        m_currentPage = 0;
    }

    setProgress(1);
    LoadAll(false);
    setProgress(4);
    // The update check and the start-up backup join here when the program
    // has them.
    setProgress(5);
    m_startupProgress = nullptr;
}

void TfrmMain::setProgress(int position)
{
    if (m_startupProgress) m_startupProgress->step(position);
}

void TfrmMain::setupLoop()
{
    for (;;) {
        TfrmInit dialog(*m_env.registry, *m_rt.ToolConfig, this);
        if (ModalRunner::exec(dialog) != QDialog::Accepted) return;

        TIniFile& config = *m_rt.ToolConfig;
        config.WriteBool("Corvane", "Init", false);
        config.WriteBool("Corvane", "AutoBackup", dialog.cbAutoBackup->isChecked());
        config.WriteBool("Corvane", "AskBackup", dialog.cbAskBackup->isChecked());
        config.WriteBool("Corvane", "CheckOnStartup", dialog.cbUpdates->isChecked());
        config.WriteBool("Corvane", "ShowReadme", dialog.cbShowReadme->isChecked());
        m_rt.AutoBackup = dialog.cbAutoBackup->isChecked();
        m_rt.CheckOnStartup = dialog.cbUpdates->isChecked();

        const std::string dir = dialog.dirEdit->text().toStdString();
        if (!platform::DirectoryExists(dir)) {
            MessageBox::error(QStringLiteral("Directory does not exist!"));
            continue;
        }
        config.WriteString("UT2k3", "Dir", dir);
        config.WriteString("UT2k3", "System", platform::AddBackslash(dir) + "System");
        if (dialog.cbShowReadme->isChecked()) {
            TfrmReadme readme(QString::fromStdString(m_rt.ProgramDir), this);
            ModalRunner::exec(readme);
        }
        return;
    }
}

bool TfrmMain::openProfiles()
{
    const std::string wanted = m_rt.ToolConfig->ReadString("UT2k3", "CurrentUserIni", "User.ini");
    std::string userPath = platform::ResolveNoCase(m_rt.SystemDir, wanted);
    if (wanted.empty() || !platform::FileExists(userPath)) {
        userPath = platform::ResolveNoCase(m_rt.SystemDir, "User.ini");
        if (!platform::FileExists(userPath)) {
            MessageBox::error(QStringLiteral("User.ini not found in: ") + QString::fromStdString(m_rt.SystemDir));
            PageCtrl->setEnabled(false);
            return false;
        }
    }
    m_rt.GameProfile = std::make_unique<TIniFile>(platform::ResolveNoCase(m_rt.SystemDir, "UT2003.ini"));
    m_rt.UserProfile = std::make_unique<TIniFile>(userPath);
    return true;
}

void TfrmMain::LoadAll(bool forceSetup)
{
    const platform::ProgramDirs dirs = platform::LocateProgramDirs(m_env.executableDir);
    m_rt.ProgramDir = dirs.data;
    m_rt.ConfigDir = dirs.config;
    m_rt.ToolConfig = std::make_unique<TIniFile>(dirs.config + "Corvane2003.ini");
    TIniFile& config = *m_rt.ToolConfig;
    m_rt.AutoBackup = config.ReadBool("Corvane", "AutoBackup", true);
    m_rt.CheckOnStartup = config.ReadBool("Corvane", "CheckOnStartup", true);
    m_rt.AskBackup = config.ReadBool("Corvane", "AskBackup", true);
    const bool init = config.ReadBool("Corvane", "Init", true);

    try {
        if (forceSetup || init) setupLoop();
        for (;;) {
            m_rt.SystemDir = platform::AddBackslash(config.ReadString("UT2k3", "System", ""));
            if (!m_rt.SystemDir.empty()) break;
            setupLoop();
        }
        // Profiles of an earlier load stay valid until the new ones are open.
        if (!openProfiles()) return;
        m_rt.ViewportManagerClass =
            m_rt.GameProfile->ReadString("Engine.Engine", "ViewportManager", "WinDrv.WindowsClient");
        m_rt.RenderDeviceClass = m_rt.GameProfile->ReadString("Engine.Engine", "RenderDevice", "D3DDrv.D3DRenderDevice");
        lblDir->setText(QStringLiteral("UT2k3 dir: ") + QString::fromStdString(config.ReadString("UT2k3", "Dir", "")));
        lblCurrUserIni->setText(QStringLiteral("Current User.Ini: ") +
                                QString::fromStdString(m_rt.UserProfile->FileName()));
        lblCurrUt2003ini->setText(QStringLiteral("Current UT2003.Ini: ") +
                                  QString::fromStdString(m_rt.GameProfile->FileName()));
        m_rt.CurrentUserFileName = platform::FileNamePart(m_rt.UserProfile->FileName());
        config.WriteString("UT2k3", "CurrentUserIni", m_rt.CurrentUserFileName);
    } catch (...) {
        // Dropped without a message; loading goes on with what is open.
    }
    // Without open profiles there is nothing to load the pages from (a
    // configuration that could not be written, for one): keep the pages
    // disabled instead of loading them from nowhere.
    if (!m_rt.UserProfile || !m_rt.GameProfile) {
        PageCtrl->setEnabled(false);
        return;
    }

    setProgress(2);
    loadPage(PageId::KeyBinds);
    loadPage(PageId::Aliases);
    setProgress(3);
    loadPage(PageId::General);
    loadPage(PageId::InstantAction);
    loadPage(PageId::IniFiles);
    setProgress(4);
    loadPage(PageId::GameSettings);
    m_rt.PagesLoaded = true;
    PageCtrl->setEnabled(true);
    m_rt.StartupComplete = true;
}

void TfrmMain::loadPage(PageId id)
{
    if (SettingsPage* p = page(id)) p->load();
}

// ---------------------------------------------------------------------------
// Page sequences

bool TfrmMain::AnyPageChanged() const
{
    for (PageId id : ChangedOrder)
        if (SettingsPage* p = page(id); p && p->changed()) return true;
    return false;
}

bool TfrmMain::SaveAllPages(TfrmProgress* progress)
{
    int step = 0;
    for (PageId id : SaveOrder) {
        if (SettingsPage* p = page(id); p && !p->save()) return false;
        if (progress && ++step <= 4) progress->step(step);
    }
    return true;
}

void TfrmMain::LoadAllPages()
{
    for (PageId id : ReloadOrder) loadPage(id);
}

// ---------------------------------------------------------------------------
// Commands

void TfrmMain::Save1Click()
{
    if (!PageCtrl->isEnabled()) return;
    bool saved = false;
    {
        TfrmProgress progress(QStringLiteral("Saving...."), 5, this);
        progress.showCentred();
        try {
            saved = SaveAllPages(&progress);
        } catch (const std::exception& e) {
            // The remaining pages are not saved; the failure must not pass
            // for a successful save.
            MessageBox::error(failureText(e));
        }
        // The raw text page refreshes from disk here when the program has it.
    }
    if (saved) MessageBox::information(QStringLiteral("The changes has been succesfully saved!"));
}

void TfrmMain::Reload1Click()
{
    if (!PageCtrl->isEnabled()) return;
    if (AnyPageChanged() &&
        !MessageBox::confirm(QStringLiteral("Some fields have changed, Loading will undo these changes\n"
                                            "Are you sure you want to Load?")))
        return;
    LoadAllPages();
    MessageBox::information(QStringLiteral("The settings have been reloaded"));
}

void TfrmMain::Exit1Click()
{
    if (!PageCtrl->isEnabled() || !AnyPageChanged()) {
        endProgram();
        return;
    }
    if (!MessageBox::confirm(QStringLiteral("You have made some changes\nDo you want to save your changes first?"))) {
        endProgram();
        return;
    }
    // A page that could not save has said so; the program stays open with
    // the edits rather than claiming they were saved.
    if (!SaveAllPages()) return;
    if (MessageBox::show(MessageBox::Kind::Confirm, QStringLiteral("Your changes have been saved, press OK to exit"),
                         MessageBox::Buttons::OkCancel) == MessageBox::Answer::Ok)
        endProgram();
}

void TfrmMain::endProgram()
{
    m_exiting = true;
    close();
}

void TfrmMain::releaseProfiles()
{
    // Releasing an accessor makes its writes durable.
    m_rt.GameProfile.reset();
    m_rt.UserProfile.reset();
    m_rt.ToolConfig.reset();
}

void TfrmMain::closeEvent(QCloseEvent* event)
{
    if (!m_exiting && PageCtrl->isEnabled() && AnyPageChanged()) {
        if (MessageBox::confirm(QStringLiteral("You have made some changes\nDo you want to save your changes first?"))) {
            bool saved = false;
            try {
                saved = SaveAllPages();
            } catch (const std::exception& e) {
                MessageBox::error(QString::fromLocal8Bit(e.what()));
            }
            if (!saved) {
                // Keep the window and its edits: nothing may be lost
                // silently.
                m_exiting = false;
                event->ignore();
                return;
            }
        }
    }
    releaseProfiles();
    event->accept();
}

void TfrmMain::PageCtrlChanging(int newIndex)
{
    const int oldIndex = m_currentPage;
    if (oldIndex == newIndex) return;
    // The questions are asked while the page being left is still shown.
    {
        const QSignalBlocker block(PageCtrl);
        PageCtrl->setCurrentIndex(oldIndex);
    }
    const auto leaving = static_cast<PageId>(oldIndex);
    SettingsPage* p = page(leaving);
    try {
        if (p && leaving != PageId::IniFiles && p->changed()) {
            if (MessageBox::confirm(QStringLiteral("Do you want to save the changes u made?")))
                p->save();
            else if (MessageBox::confirm(QStringLiteral("Do you want to undo changes?")))
                p->load();
        }
    } catch (...) {
        // The switch always goes ahead; the failure is shown after it.
        {
            const QSignalBlocker block(PageCtrl);
            PageCtrl->setCurrentIndex(newIndex);
            m_currentPage = newIndex;
        }
        throw;
    }
    {
        const QSignalBlocker block(PageCtrl);
        PageCtrl->setCurrentIndex(newIndex);
        m_currentPage = newIndex;
    }
    if (static_cast<PageId>(newIndex) == PageId::IniFiles) loadPage(PageId::IniFiles);
}

void TfrmMain::ToolButton12Click()
{
    if (!MessageBox::confirm(QStringLiteral("Your current settings on this tab will be restore to your old values\n"
                                            "Do you want to continue?")))
        return;
    loadPage(static_cast<PageId>(PageCtrl->currentIndex()));
}

void TfrmMain::Image1Click()
{
    TfrmAbout about(this);
    ModalRunner::exec(about);
}

void TfrmMain::Showreadmetxt1Click()
{
    TfrmReadme readme(QString::fromStdString(m_rt.ProgramDir), this);
    ModalRunner::exec(readme);
}
