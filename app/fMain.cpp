#include "app/fMain.h"

#include "app/MainMenu.h"
#include "app/ProfileWatch.h"
#include "backup/BackupProfiles.h"
#include "backup/ResetToDefaults.h"
#include "backup/fIniManager.h"
#include "dialogs/CorvaneHelp.h"
#include "dialogs/Guard.h"
#include "dialogs/Logo.h"
#include "dialogs/ModalRunner.h"
#include "dialogs/fAbout.h"
#include "dialogs/fReadme.h"
#include "dialogs/fTaunts.h"
#include "pages/SettingsPage.h"
#include "pages/engine/QualityPresets.h"
#include "platform/Paths.h"
#include "update/UpdateCheck.h"

#include <QAction>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {
// The system's own services where the environment names none.
Environment& completed(Environment& env)
{
    if (!env.registry) env.registry = std::make_shared<WineInstallerRegistry>();
    if (!env.shell) env.shell = std::make_shared<ProcessShellStarter>();
    if (!env.installations)
        env.installations = [] { return platform::FindInstallations(platform::SearchPlaces::ofThisUser()); };
    return env;
}
} // namespace

TfrmMain::TfrmMain(Environment env, QWidget* parent)
    : QMainWindow(parent)
    , m_env(std::move(completed(env)))
    , m_context{m_rt, *m_env.shell, [this] { LoadAllPages(); }, [this](bool forceSetup) { LoadAll(forceSetup); }}
{
    setObjectName(QStringLiteral("TfrmMain"));
    m_watch = new ProfileWatch(this);
    m_gameTimer = new QTimer(this);
    m_update = std::make_unique<UpdateCheck>(RunTime::Version, platform::AddBackslash(m_env.executableDir),
                                             m_rt.ManualUpdateCheck, *m_env.shell, this);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    setCentralWidget(central);
    m_actions = BuildMainMenu(*this);
    wireCommands();
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
    connect(m_watch, &ProfileWatch::touched, this, [this] {
        if (isActiveWindow()) QTimer::singleShot(0, this, [this] { Guard::run([this] { checkOutsideChanges(); }); });
    });
    connect(m_gameTimer, &QTimer::timeout, this, &TfrmMain::checkGameRunning);
    m_gameTimer->start(3000);
    // Start-up runs here, outside the application's own error net.
    Guard::run([this] { FormCreate(); });
}

TfrmMain::~TfrmMain() { releaseProfiles(); }

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
    on("Openfiles1", &TfrmMain::Openfiles1Click);
    on("SaveINIfilesAS1", &TfrmMain::SaveINIfilesAS1Click);
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
        if (m_onClick) Guard::run(m_onClick);
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
    auto* notes = new QVBoxLayout;
    notes->setSpacing(0);
    lblGameRunning = new QLabel(panel);
    lblNotice = new QLabel(panel);
    lblGameRunning->setObjectName(QStringLiteral("lblGameRunning"));
    lblNotice->setObjectName(QStringLiteral("lblNotice"));
    for (QLabel* label : {lblGameRunning, lblNotice}) {
        label->setWordWrap(true);
        notes->addWidget(label);
    }
    lblGameRunning->setStyleSheet(QStringLiteral("color: #a00000"));
    row->addLayout(notes, 1);
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
    for (const PageInfo& info : PageRegistry::pages()) {
        auto* tab = new QWidget(PageCtrl);
        tab->setObjectName(QString::fromLatin1(info.tabName));
        auto* layout = new QVBoxLayout(tab);
        layout->setContentsMargins(2, 2, 2, 2);
        SettingsPage* content = m_env.pages ? m_env.pages(info.id, m_context) : info.create(m_context);
        if (content) layout->addWidget(content);
        m_pages.push_back({info.id, tab, content});
        PageCtrl->addTab(tab, QString::fromLatin1(info.caption));
    }
    Guard::connect(PageCtrl, &QTabWidget::currentChanged, this, &TfrmMain::PageCtrlChanging);
}

const TfrmMain::Page* TfrmMain::pageAt(int tabIndex) const
{
    const QWidget* tab = PageCtrl->widget(tabIndex);
    for (const Page& p : m_pages)
        if (p.tab == tab) return &p;
    return nullptr;
}

SettingsPage* TfrmMain::page(PageId id) const
{
    for (const Page& p : m_pages)
        if (p.id == id) return p.content;
    return nullptr;
}

QWidget* TfrmMain::tab(PageId id) const
{
    for (const Page& p : m_pages)
        if (p.id == id) return p.tab;
    return nullptr;
}

bool TfrmMain::pagesEnabled() const { return PageCtrl->isEnabled(); }

void TfrmMain::Image1Click()
{
    TfrmAbout about(*m_env.shell, QString::fromLatin1(RunTime::Version), this);
    ModalRunner::exec(about);
}

BackupPlace TfrmMain::backupPlace() const
{
    return {m_rt.ProfileDir, m_rt.CurrentUserFileName, m_rt.AskBackup, m_env.today()};
}

// The commands that copy or change the profile files do nothing while no
// profiles are open (the page area is disabled): there is no System
// directory to work in.
void TfrmMain::BackupINIs1Click()
{
    if (pagesEnabled()) BackupProfiles(backupPlace(), true);
}

void TfrmMain::Backuppedinismanager1Click()
{
    TfrmIniManager manager(
        backupPlace(),
        [this] {
            for (PageId id : PageRegistry::restoreReloadOrder())
                loadPage(id);
            rememberProfiles();
        },
        this);
    ModalRunner::exec(manager);
}

void TfrmMain::Checkforupdates1Click()
{
    if (m_update->Checkforupdates1Click()) endProgram();
}

void TfrmMain::auntlist1Click() { TfrmTaunts::showNew(this); }

void TfrmMain::Corvane2k3help1Click() { ShowCorvaneHelp(); }

void TfrmMain::Highquality1Click()
{
    if (pagesEnabled()) ApplyQualityPreset(*page(PageId::GameSettings), Quality::High, backupPlace());
}

void TfrmMain::Lowquality1Click()
{
    if (pagesEnabled()) ApplyQualityPreset(*page(PageId::GameSettings), Quality::Low, backupPlace());
}

void TfrmMain::ResettodefaultClick()
{
    if (!pagesEnabled()) return;
    ResetToDefaults(m_rt.ProfileDir, m_rt.SystemDir, m_rt.CurrentUserFileName, [this] {
        for (PageId id : PageRegistry::resetReloadOrder())
            loadPage(id);
        rememberProfiles();
    });
}

void TfrmMain::Showreadmetxt1Click()
{
    TfrmReadme readme(QString::fromStdString(m_rt.ProgramDir), this);
    ModalRunner::exec(readme);
}
