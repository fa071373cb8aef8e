#pragma once

#include "app/Environment.h"
#include "core/OpenProfiles.h"
#include "core/OutsideChangeGuard.h"
#include "app/PageRegistry.h"
#include "app/PageSet.h"
#include "pages/PageContext.h"
#include "core/RunTime.h"

#include <QMainWindow>

#include <memory>
#include <vector>

class QAction;
class QLabel;
class StatusStrip;
class QTabWidget;
class QTimer;
class SettingsPage;
class TfrmProgress;
class UpdateCheck;
struct BackupPlace;
struct RestoreRequest;

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
    void History1Click();

    // Profiles changed outside the editor: checked when the window becomes
    // active again (reload, or a question when pages have edits), and
    // before every Save.
    void checkOutsideChanges();
    // The status strip's line about a running game, brought up to date.
    void checkGameRunning();

    RunTime& runTime() { return m_profiles.rt(); }
    UpdateCheck& updateCheck() { return *m_update; }
    SettingsPage* page(PageId id) const { return m_pages.page(id); }
    PageSet& pages() { return m_pages; }
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
    void buildPages();
    void PageCtrlChanging(int newIndex);
    PageId pageAt(int tabIndex) const;
    void endProgram();
    void setProgress(int position);
    QAction* action(const char* name) const;
    BackupPlace backupPlace() const;
    // Restores the open pair from the request's sources (the reset, a put
    // back), then loads the pages of `reload`; whether it was done.
    bool restorePair(const RestoreRequest& request, std::span<const PageId> reload);
    // The question before the program ends with unsaved edits (closing the
    // window, an update's restart): Yes saves first. False when the edits
    // could not be saved: the program must not end then.
    bool offerToSave();

    Environment m_env;
    OpenProfiles m_profiles;
    OutsideChangeGuard m_guard;
    PageContext m_context;
    PageSet m_pages;
    std::unique_ptr<UpdateCheck> m_update;
    QTimer* m_gameTimer;
    TfrmProgress* m_startupProgress = nullptr;
    bool m_exiting = false;
    int m_currentPage = 0;

    QTabWidget* PageCtrl = nullptr;
    StatusStrip* m_strip = nullptr;
    std::vector<std::pair<PageId, QWidget*>> m_tabs; // in tab order
    std::vector<QAction*> m_actions;
};
