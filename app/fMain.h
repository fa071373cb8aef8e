#pragma once

#include "app/Environment.h"
#include "app/OpenProfiles.h"
#include "app/OutsideChangeGuard.h"
#include "app/PageRegistry.h"
#include "app/PageSet.h"
#include "pages/PageContext.h"
#include "core/RunTime.h"

#include <QMainWindow>

#include <memory>
#include <vector>

class QAction;
class QLabel;
class QTabWidget;
class QTimer;
class SettingsPage;
class TfrmProgress;
class UpdateCheck;
struct BackupPlace;

// The main window: a frame (menu, tool bar, status strip, the pages in their
// tabs) whose commands are thin handlers over three parts: the open profiles
// (OpenProfiles), the pages and their fixed orders (PageSet) and the guard
// against changes made outside the editor (OutsideChangeGuard).
class TfrmMain : public QMainWindow {
    Q_OBJECT
public:
    // Runs the start-up sequence: setup on the first start, opening the
    // profiles, loading every page.
    explicit TfrmMain(Environment env, QWidget* parent = nullptr);
    ~TfrmMain() override;

    void LoadAll(bool forceSetup);

    // The fixed sequences over the pages.
    bool AnyPageChanged() const { return m_pages.AnyPageChanged(); }
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
    void Openfiles1Click();
    void SaveINIfilesAS1Click();
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

    RunTime& runTime() { return m_profiles.rt(); }
    UpdateCheck& updateCheck() { return *m_update; }
    SettingsPage* page(PageId id) const { return m_pages.page(id); }
    QWidget* tab(PageId id) const;
    bool exitRequested() const { return m_exiting; }
    // Whether the profiles are open (the page area is enabled then).
    bool pagesEnabled() const { return m_profiles.isOpen(); }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void FormCreate();
    void wireCommands();
    void buildStatusStrip(QWidget* central);
    void buildPages();
    void PageCtrlChanging(int newIndex);
    PageId pageAt(int tabIndex) const;
    void endProgram();
    void setProgress(int position);
    QAction* action(const char* name) const;
    BackupPlace backupPlace() const;
    // Reloads the pages of `order` and takes the files as they now are.
    void reloadPages(std::span<const PageId> order);
    bool mayOverwriteProfiles() { return m_guard.mayOverwrite(); }
    // The question before the program ends with unsaved edits (closing the
    // window, an update's restart): Yes saves first. False when the edits
    // could not be saved: the program must not end then.
    bool offerToSave();
    // Once a Save is over: what the pages' saves left undone, one warning each.
    void tellSaveNotices(const QStringList& notices);
    // Unsaved edits a reload would drop: a page's, or text typed on the raw
    // text page.
    bool anyEdits() const;

    Environment m_env;
    OpenProfiles m_profiles;
    PageContext m_context;
    PageSet m_pages;
    OutsideChangeGuard m_guard;
    std::unique_ptr<UpdateCheck> m_update;
    QTimer* m_gameTimer;
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
    std::vector<std::pair<PageId, QWidget*>> m_tabs; // in tab order
    std::vector<QAction*> m_actions;
};
