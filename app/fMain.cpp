#include "app/fMain.h"

#include "app/CustomUserFile.h"
#include "app/MainMenu.h"
#include "app/PendingChanges.h"
#include "app/StatusStrip.h"
#include "backup/fIniManager.h"
#include "core/BackupProfiles.h"
#include "core/ProfileRestore.h"
#include "dialogs/CorvaneHelp.h"
#include "dialogs/Guard.h"
#include "dialogs/MessageBox.h"
#include "dialogs/ModalRunner.h"
#include "dialogs/OutcomeBoxes.h"
#include "dialogs/UpdateDialogs.h"
#include "dialogs/dlgInit.h"
#include "dialogs/fAbout.h"
#include "dialogs/fHistory.h"
#include "dialogs/fProgress.h"
#include "dialogs/fReadme.h"
#include "dialogs/fTaunts.h"
#include "pages/SettingsPage.h"
#include "platform/Paths.h"
#include "update/UpdateCheck.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>


namespace {

const QString LoadQuestion =
    QStringLiteral("Some fields have changed, Loading will undo these changes\nAre you sure you want to Load?");

// A load, save or download under way, or a dialog up.
bool busy()
{
    if (QApplication::activeModalWidget()) return true;
    for (const QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<const TfrmProgress*>(w)) return true;
    return false;
}

} // namespace

TfrmMain::TfrmMain(Environment env, QWidget* parent)
    : QMainWindow(parent)
    , m_env(std::move(env.completed()))
    , m_profiles(m_env.executableDir,
                 {[this](const TCustomIniFile& config) {
                      return TfrmInit::ask(*m_env.registry, config, m_env.installations(), this);
                  },
                  [this] { Showreadmetxt1Click(); }, [](const Notice& notice) { boxQuestions().tell(notice); }})
    , m_guard(m_profiles.rt(), m_env.gameRunning, this)
    , m_context{m_profiles.rt(), *m_env.shell, [&guard = m_guard] { return guard.mayOverwrite(boxQuestions()); }}
    , m_pages(m_context, m_env.pages,
              {[&guard = m_guard] { return guard.mayOverwrite(boxQuestions()); }, [&guard = m_guard] { guard.remember(); }})
{
    setObjectName(QStringLiteral("TfrmMain"));
    m_gameTimer = new QTimer(this);
    m_update = std::make_unique<UpdateCheck>(RunTime::Version, platform::AddBackslash(m_env.executableDir),
                                             runTime().ManualUpdateCheck, *m_env.shell,
                                             std::make_unique<UpdateDialogs>(this));
    m_update->FinishInterruptedUpdate(); // before anything reads the program's files
    // Unsaved edits get the closing question before an update ends the program.
    m_update->beforeRestart = [this] { return offerToSave(); };

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    setCentralWidget(central);
    m_actions = buildMainMenu(*this);
    wireCommands();
    m_strip = new StatusStrip([this] { Image1Click(); }, central);
    layout->addWidget(m_strip);
    buildPages();
    layout->addWidget(PageCtrl, 1);

    setMinimumSize(800, 580);
    resize(800, 600);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect r(QPoint(), size());
        r.moveCenter(screen->availableGeometry().center());
        move(r.topLeft());
    }
    connect(&m_guard, &OutsideChangeGuard::touched, this, [this] {
        if (isActiveWindow()) QTimer::singleShot(0, this, [this] { Guard::run([this] { checkOutsideChanges(); }); });
    });
    connect(m_gameTimer, &QTimer::timeout, this, &TfrmMain::checkGameRunning);
    m_gameTimer->start(3000);
    // Start-up runs here, outside the application's own error net.
    Guard::run([this] { FormCreate(); });
}

TfrmMain::~TfrmMain() { m_profiles.release(); }

QAction* TfrmMain::action(const char* name) const
{
    for (QAction* a : m_actions)
        if (a->objectName() == QLatin1String(name)) return a;
    return nullptr;
}

void TfrmMain::wireCommands()
{
    const auto on = [this](const char* name, auto handler) {
        Guard::connect(action(name), &QAction::triggered, this, handler);
    };
    on("Reload1", &TfrmMain::Reload1Click);
    on("Save1", &TfrmMain::Save1Click);
    on("Exit1", &TfrmMain::Exit1Click);
    on("UT2k3Dir1", [this] { LoadAll(true); });
    on("ToolButton12", &TfrmMain::ToolButton12Click);
    on("Showreadmetxt1", &TfrmMain::Showreadmetxt1Click);
    on("Abouty1", &TfrmMain::Image1Click);
    on("BackupINIs1", &TfrmMain::BackupINIs1Click);
    on("Backuppedinismanager1", &TfrmMain::Backuppedinismanager1Click);
    on("Checkforupdates1", &TfrmMain::Checkforupdates1Click);
    on("auntlist1", &TfrmMain::auntlist1Click);
    on("Corvane2k3help1", &TfrmMain::Corvane2k3help1Click);
    on("Highquality1", &TfrmMain::Highquality1Click);
    on("Lowquality1", &TfrmMain::Lowquality1Click);
    on("Resettodefault", &TfrmMain::ResettodefaultClick);
    on("Showpendingchanges1", &TfrmMain::Showpendingchanges1Click);
    on("History1", &TfrmMain::History1Click);
    on("Openfiles1", &TfrmMain::Openfiles1Click);
    on("SaveINIfilesAS1", &TfrmMain::SaveINIfilesAS1Click);
}

void TfrmMain::buildPages()
{
    PageCtrl = new QTabWidget(this);
    PageCtrl->setObjectName(QStringLiteral("PageCtrl"));
    PageCtrl->setDocumentMode(false);
    for (const PageInfo& info : PageRegistry::pages()) {
        auto* tab = new QWidget(PageCtrl);
        tab->setObjectName(QString::fromLatin1(info.tabName));
        auto* layout = new QVBoxLayout(tab);
        layout->setContentsMargins(2, 2, 2, 2);
        if (SettingsPage* content = m_pages.page(info.id)) layout->addWidget(content);
        m_tabs.emplace_back(info.id, tab);
        PageCtrl->addTab(tab, QString::fromLatin1(info.caption));
    }
    Guard::connect(PageCtrl, &QTabWidget::currentChanged, this, &TfrmMain::PageCtrlChanging);
}

PageId TfrmMain::pageAt(int tabIndex) const
{
    const QWidget* tab = PageCtrl->widget(tabIndex);
    for (const auto& [id, t] : m_tabs)
        if (t == tab) return id;
    return PageId::KeyBinds;
}

QWidget* TfrmMain::tab(PageId id) const
{
    for (const auto& [pageId, t] : m_tabs)
        if (pageId == id) return t;
    return nullptr;
}

// ---- Start-up and the open profiles ----------------------------------------

void TfrmMain::FormCreate()
{
    TfrmProgress progress(QStringLiteral("Loading...."), 5);
    progress.showCentred();
    m_startupProgress = &progress;
    struct Forget {
        TfrmProgress*& progress;
        ~Forget() { progress = nullptr; }
    } forget{m_startupProgress};

    RunTime& rt = runTime();
    rt.StartupComplete = false;
    rt.ManualUpdateCheck = false;
    setWindowTitle(QStringLiteral("Corvane 2003 v%1").arg(QString::fromLatin1(RunTime::Version)));
    {
        const QSignalBlocker block(PageCtrl);
        PageCtrl->setCurrentIndex(0);
        m_currentPage = 0;
    }

    setProgress(1);
    LoadAll(false);
    setProgress(4);
    if (rt.CheckOnStartup && m_update->check(false)) {
        endProgram(); // updated and started again
        return;
    }
    // Only profiles that were found and loaded are worth a copy.
    if (rt.AutoBackup && rt.PagesLoaded) tellOutcome(BackupProfiles(backupPlace(), false, boxQuestions()));
    setProgress(5);
}

void TfrmMain::setProgress(int position)
{
    if (m_startupProgress) m_startupProgress->step(position);
}

void TfrmMain::LoadAll(bool forceSetup)
{
    const bool opened = tellOutcome(m_profiles.open(forceSetup));
    if (!opened) {
        PageCtrl->setEnabled(false);
        return;
    }
    const RunTime& rt = runTime();
    if (rt.History) rt.History->onFailure([this](const QString& why) { m_strip->showNotice(why); });
    m_strip->showPlaces(QString::fromStdString(m_profiles.configuredDir()),
                        QString::fromStdString(rt.UserProfile->FileName()),
                        QString::fromStdString(rt.GameProfile->FileName()));
    // A failure escaping one page's load is shown and the other pages still
    // load.
    for (const PageRegistry::StartupStep& step : PageRegistry::startupOrder()) {
        if (step.progress) setProgress(step.progress);
        Guard::run([&] { m_pages.loadPage(step.id); });
    }
    runTime().PagesLoaded = true;
    m_guard.remember();
    PageCtrl->setEnabled(true);
    runTime().StartupComplete = true;
}

// ---- The commands over the pages: the page set holds their sequences -------

void TfrmMain::LoadAllPages() { m_pages.LoadAllPages(); }

void TfrmMain::Save1Click()
{
    if (pagesEnabled()) m_pages.saveCommand();
}

void TfrmMain::Reload1Click()
{
    if (!pagesEnabled()) return;
    if (m_pages.anyUnsavedEdits() && !MessageBox::confirm(LoadQuestion)) return;
    LoadAllPages();
    MessageBox::information(QStringLiteral("The settings have been reloaded"));
}

void TfrmMain::Exit1Click()
{
    if (!pagesEnabled() || m_pages.exitCommand()) endProgram();
}

void TfrmMain::endProgram()
{
    m_exiting = true;
    close();
}

bool TfrmMain::offerToSave() { return !pagesEnabled() || m_pages.offerToSave(); }

void TfrmMain::closeEvent(QCloseEvent* event)
{
    if (!m_exiting && !offerToSave()) {
        // Keep the window and its edits: nothing may be lost silently.
        event->ignore();
        return;
    }
    m_profiles.release(); // releasing an accessor makes its writes durable
    event->accept();
}

void TfrmMain::PageCtrlChanging(int newIndex)
{
    const int oldIndex = m_currentPage;
    if (oldIndex == newIndex) return;
    const auto showPage = [this](int index) {
        const QSignalBlocker block(PageCtrl);
        PageCtrl->setCurrentIndex(index);
        m_currentPage = index;
    };
    // The questions are asked while the page being left is still shown; the
    // switch always goes ahead, a failure is shown after it.
    showPage(oldIndex);
    struct Switch {
        decltype(showPage)& show;
        int index;
        ~Switch() { show(index); }
    };
    {
        const Switch goAhead{showPage, newIndex};
        m_pages.leavePage(pageAt(oldIndex));
    }
    m_pages.enterPage(pageAt(newIndex));
}

void TfrmMain::ToolButton12Click()
{
    if (!MessageBox::confirm(QStringLiteral("Your current settings on this tab will be restore to your old values\n"
                                            "Do you want to continue?")))
        return;
    m_pages.loadPage(pageAt(PageCtrl->currentIndex()));
}

// ---- Profiles changed outside the editor ------------------------------------

bool TfrmMain::event(QEvent* e)
{
    if (e->type() == QEvent::WindowActivate)
        QTimer::singleShot(0, this, [this] {
            Guard::run([this] {
                checkOutsideChanges();
                checkGameRunning();
            });
        });
    return QMainWindow::event(e);
}

void TfrmMain::checkOutsideChanges()
{
    // Not while a load, save or dialog is under way: it runs again on the
    // next activation.
    if (!pagesEnabled() || busy()) return;
    QString notice;
    if (!m_guard.shouldReload(m_pages.anyUnsavedEdits(), boxQuestions(), notice)) return;
    LoadAllPages();
    m_strip->showNotice(notice);
}

void TfrmMain::checkGameRunning() { m_strip->showGameStatus(m_guard.gameStatus()); }

void TfrmMain::Showpendingchanges1Click()
{
    if (!pagesEnabled()) return;
    TfrmPendingChanges dialog(m_pages.pendingWrites(), this);
    ModalRunner::exec(dialog);
}

// ---- Whole-file commands and the secondary windows -------------------------

void TfrmMain::History1Click()
{
    const RunTime& rt = m_profiles.rt();
    const std::optional<ProfileState> now = pagesEnabled() && rt.History ? rt.History->current() : std::nullopt;
    if (!now) return;
    const auto putBack = [this, &rt](const ProfileState& wanted, const QString& when) -> std::optional<ProfileState> {
        // Unsaved edits first, as Load asks; then the backup manager's question.
        if (m_pages.anyUnsavedEdits() && !MessageBox::confirm(LoadQuestion)) return std::nullopt;
        const RestoreRequest request{RestoreKind::History, when, {{}, wanted.files[0].bytes}, {{}, wanted.files[1].bytes}};
        return restorePair(request, PageRegistry::reloadOrder()) ? rt.History->current() : std::nullopt;
    };
    TfrmHistory window(rt.History->history(), *now, putBack, this);
    ModalRunner::exec(window);
}

bool TfrmMain::restorePair(const RestoreRequest& request, std::span<const PageId> reload)
{
    const RestoreOutcome outcome = restoreProfiles(backupPlace(), request, boxQuestions());
    if (outcome.done) m_pages.loadPages(reload);
    return tellOutcome(outcome);
}

void TfrmMain::Image1Click()
{
    TfrmAbout about(*m_env.shell, QString::fromLatin1(RunTime::Version), this);
    ModalRunner::exec(about);
}

BackupPlace TfrmMain::backupPlace() const
{
    const RunTime& rt = m_profiles.rt();
    return {rt.ProfileDir,   rt.CurrentUserFileName,
            rt.AskBackup,    m_env.today(),
            rt.JournalDir,   rt.History ? rt.History->observer() : ProfilePair::Observer{}};
}

// The commands that copy or change the profile files do nothing while no
// profiles are open: there is no System directory to work in.
void TfrmMain::BackupINIs1Click()
{
    if (pagesEnabled()) tellOutcome(BackupProfiles(backupPlace(), true, boxQuestions()));
}

void TfrmMain::Backuppedinismanager1Click()
{
    TfrmIniManager manager(
        backupPlace(),
        [this] {
            // Restored while no profiles were open (a lost User.ini brought
            // back): open them and load every page.
            if (!pagesEnabled())
                LoadAll(false);
            else
                LoadAllPages();
        },
        this);
    ModalRunner::exec(manager);
}

void TfrmMain::Checkforupdates1Click()
{
    if (m_update->Checkforupdates1Click()) endProgram();
}

void TfrmMain::auntlist1Click() { TfrmTaunts::showNew(this); }

void TfrmMain::Corvane2k3help1Click() { showCorvaneHelp(); }

void TfrmMain::Highquality1Click()
{
    if (pagesEnabled()) m_pages.applyPreset(true, backupPlace());
}

void TfrmMain::Lowquality1Click()
{
    if (pagesEnabled()) m_pages.applyPreset(false, backupPlace());
}

void TfrmMain::ResettodefaultClick()
{
    if (pagesEnabled()) restorePair(defaultsRestore(m_profiles.rt().SystemDir), PageRegistry::resetReloadOrder());
}

void TfrmMain::Showreadmetxt1Click()
{
    TfrmReadme readme(QString::fromStdString(m_profiles.rt().ProgramDir), this);
    ModalRunner::exec(readme);
}

void TfrmMain::Openfiles1Click()
{
    if (!pagesEnabled()) return;
    const std::optional<std::string> chosen = chooseUserFileToOpen(runTime(), this);
    if (!chosen) return;
    m_profiles.setCurrentUserIni(platform::fileNamePart(*chosen));
    LoadAll(false);
    MessageBox::information(QStringLiteral("Your current ini has now changed into: ") +
                            QString::fromStdString(*chosen));
}

void TfrmMain::SaveINIfilesAS1Click()
{
    if (!pagesEnabled()) return;
    const std::optional<std::string> chosen = copyUserFileAs(runTime(), this);
    if (!chosen) return;
    m_profiles.setCurrentUserIni(platform::fileNamePart(*chosen));
    LoadAll(false);
}
