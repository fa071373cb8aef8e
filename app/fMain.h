#pragma once

#include "app/Environment.h"
#include "app/PageRegistry.h"
#include "pages/PageContext.h"
#include "pages/RunTime.h"

#include <QMainWindow>

#include <memory>
#include <vector>

class QAction;
class QLabel;
class QTabWidget;
class SettingsPage;
class TfrmProgress;
class ProfileWatch;
class QTimer;
class UpdateCheck;
struct BackupPlace;

// The main window: a frame (menu, tool bar, status strip, the pages of the
// registry) that wires each command to its handler. Start-up and the open
// profiles live in Startup.cpp, the page sequences and the prompts that
// protect unsaved edits in PageSequences.cpp; a feature's command lives with
// its feature.
class TfrmMain : public QMainWindow {
    Q_OBJECT
public:
    // Runs the start-up sequence: setup on the first start, opening the
    // profiles, loading every page.
    explicit TfrmMain(Environment env, QWidget* parent = nullptr);
    ~TfrmMain() override;

    void LoadAll(bool forceSetup);

    // The fixed sequences over the pages.
    bool AnyPageChanged() const;
    bool SaveAllPages(TfrmProgress* progress = nullptr); // false when a page reported a failure
    void tellSaveNotices();                              // once a Save is over: what a page's save could not do
    void LoadAllPages();

    // Commands.
    void Save1Click();
    void Reload1Click();
    void Exit1Click();
    void ToolButton12Click();
    void Image1Click();
    void Showreadmetxt1Click();
    void BackupINIs1Click();
    void Backuppedinismanager1Click();
    void Checkforupdates1Click();
    void auntlist1Click();
    void Corvane2k3help1Click();
    void Openfiles1Click();      // ProfileFileCommands.cpp
    void SaveINIfilesAS1Click(); // ProfileFileCommands.cpp
    void Highquality1Click();
    void Lowquality1Click();
    void ResettodefaultClick();
    void Showpendingchanges1Click();

    // Profiles changed outside the editor: checked when the window becomes
    // active again (reload, or a question when pages have edits), and
    // before every Save.
    void checkOutsideChanges();
    // The status strip's line about a running game, brought up to date.
    void checkGameRunning();

    RunTime& runTime() { return m_rt; }
    SettingsPage* page(PageId id) const;
    QWidget* tab(PageId id) const;
    bool exitRequested() const { return m_exiting; }
    bool pagesEnabled() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    struct Page {
        PageId id;
        QWidget* tab;
        SettingsPage* content; // nullptr: an empty page
    };

    void FormCreate();
    void wireCommands();
    void buildStatusStrip(QWidget* central);
    void buildPages();
    void setupLoop();
    bool openProfiles();
    void loadPage(PageId id);
    void PageCtrlChanging(int newIndex);
    const Page* pageAt(int tabIndex) const;
    void endProgram();
    void releaseProfiles();
    void setProgress(int position);
    QAction* action(const char* name) const;
    BackupPlace backupPlace() const;
    void rememberProfiles();
    bool mayOverwriteProfiles();
    bool gameRunning() const;

    Environment m_env;
    RunTime m_rt;
    PageContext m_context;
    std::unique_ptr<UpdateCheck> m_update;
    ProfileWatch* m_watch;
    QTimer* m_gameTimer;
    bool m_gameWarned = false; // Save warns once per run that a running game may overwrite it
    TfrmProgress* m_startupProgress = nullptr;
    bool m_exiting = false;
    int m_currentPage = 0;

    QTabWidget* PageCtrl = nullptr;
    QLabel* lblDir = nullptr;
    QLabel* lblCurrUserIni = nullptr;
    QLabel* lblCurrUt2003ini = nullptr;
    QLabel* lblGameRunning = nullptr; // shown while the game runs
    QLabel* lblNotice = nullptr;      // what the program did on its own (a reload)
    QLabel* Image1 = nullptr;
    std::vector<Page> m_pages; // in tab order
    std::vector<QAction*> m_actions;
};
