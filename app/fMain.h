#pragma once

#include "app/Environment.h"
#include "pages/RunTime.h"

#include <QMainWindow>

#include <array>
#include <vector>

class QAction;
class QLabel;
class QTabWidget;
class QToolButton;
class SettingsPage;
class TfrmProgress;

// The main window: tool bar, menu, status strip and the six pages, the
// start-up sequence, and the prompts that protect unsaved edits.
class TfrmMain : public QMainWindow {
    Q_OBJECT
public:
    // Runs the start-up sequence: setup on the first start, opening the
    // profiles, loading every page.
    explicit TfrmMain(Environment env, QWidget* parent = nullptr);
    ~TfrmMain() override;

    void LoadAll(bool forceSetup);

    // The fixed sequences over the settings pages.
    bool AnyPageChanged() const;
    bool SaveAllPages(TfrmProgress* progress = nullptr); // false when a page reported a failure
    void LoadAllPages();

    // Commands.
    void Save1Click();
    void Reload1Click();
    void Exit1Click();
    void ToolButton12Click();
    void Image1Click();
    void Showreadmetxt1Click();

    RunTime& runTime() { return m_rt; }
    SettingsPage* page(PageId id) const { return m_pages[static_cast<int>(id)]; }
    QWidget* tab(PageId id) const { return m_tabs[static_cast<int>(id)]; }
    bool exitRequested() const { return m_exiting; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    void buildMenuAndToolBar();
    void buildStatusStrip(QWidget* central);
    void buildPages();
    void setupLoop();
    bool openProfiles();
    void loadPage(PageId id);
    void PageCtrlChanging(int newIndex);
    void endProgram();
    void releaseProfiles();
    void setProgress(int position);
    QAction* action(const char* name) const;

    Environment m_env;
    RunTime m_rt;
    TfrmProgress* m_startupProgress = nullptr;
    bool m_exiting = false;
    int m_currentPage = 0;

    QTabWidget* PageCtrl = nullptr;
    QLabel* lblDir = nullptr;
    QLabel* lblCurrUserIni = nullptr;
    QLabel* lblCurrUt2003ini = nullptr;
    QLabel* Image1 = nullptr;
    std::array<QWidget*, 6> m_tabs{};
    std::array<SettingsPage*, 6> m_pages{};
    std::vector<QAction*> m_actions;
};
