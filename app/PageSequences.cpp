// The fixed sequences over the pages and the commands that run them, with the
// prompts that protect unsaved edits.

#include "app/fMain.h"

#include <algorithm>

#include "dialogs/Guard.h"
#include "dialogs/MessageBox.h"
#include "dialogs/fProgress.h"
#include "pages/SettingsPage.h"

#include <QCloseEvent>
#include <QSignalBlocker>
#include <QTabWidget>

namespace {
const QString ChangesQuestion = QStringLiteral("You have made some changes\nDo you want to save your changes first?");
}

bool TfrmMain::AnyPageChanged() const
{
    for (PageId id : PageRegistry::changedOrder())
        if (SettingsPage* p = page(id); p && p->changed()) return true;
    return false;
}

bool TfrmMain::SaveAllPages(TfrmProgress* progress)
{
    int step = 0;
    for (PageId id : PageRegistry::saveOrder()) {
        if (SettingsPage* p = page(id); p && !p->save()) return false;
        if (progress && ++step <= 4) progress->step(step);
    }
    return true;
}

void TfrmMain::tellSaveNotices()
{
    for (PageId id : PageRegistry::saveOrder())
        if (SettingsPage* p = page(id))
            if (const QString notice = p->takeSaveNotice(); !notice.isEmpty()) MessageBox::warning(notice);
}

void TfrmMain::LoadAllPages()
{
    for (PageId id : PageRegistry::reloadOrder())
        loadPage(id);
    rememberProfiles();
}

void TfrmMain::Save1Click()
{
    if (!pagesEnabled() || !mayOverwriteProfiles()) return;
    bool saved = false;
    {
        TfrmProgress progress(QStringLiteral("Saving...."), 5, this);
        progress.showCentred();
        try {
            saved = SaveAllPages(&progress);
        } catch (const std::exception& e) {
            // The remaining pages are not saved; the failure must not pass
            // for a successful save.
            MessageBox::error(Guard::failureText(e));
        }
        // On the raw text page its own save follows (it asks first; a file
        // it cannot write stops the command); elsewhere the raw text page
        // shows the files as just saved.
        const Page* active = pageAt(PageCtrl->currentIndex());
        if (active && active->id == PageId::IniFiles) {
            if (active->content) active->content->save();
        } else {
            Guard::run([this] { loadPage(PageId::IniFiles); });
        }
    }
    if (saved) rememberProfiles();
    if (saved) MessageBox::information(QStringLiteral("The changes has been succesfully saved!"));
    tellSaveNotices();
}

void TfrmMain::Reload1Click()
{
    if (!pagesEnabled()) return;
    if (AnyPageChanged() &&
        !MessageBox::confirm(QStringLiteral("Some fields have changed, Loading will undo these changes\n"
                                            "Are you sure you want to Load?")))
        return;
    LoadAllPages();
    MessageBox::information(QStringLiteral("The settings have been reloaded"));
}

void TfrmMain::Exit1Click()
{
    if (!pagesEnabled() || !AnyPageChanged() || !MessageBox::confirm(ChangesQuestion)) {
        endProgram();
        return;
    }
    // A page that could not save has said so; the program stays open with
    // the edits rather than claiming they were saved.
    const bool saved = mayOverwriteProfiles() && SaveAllPages();
    tellSaveNotices();
    if (!saved) return;
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
    if (!m_exiting && pagesEnabled() && AnyPageChanged() && MessageBox::confirm(ChangesQuestion)) {
        bool saved = false;
        try {
            saved = mayOverwriteProfiles() && SaveAllPages();
        } catch (const std::exception& e) {
            MessageBox::error(QString::fromLocal8Bit(e.what()));
        }
        tellSaveNotices();
        if (!saved) {
            // Keep the window and its edits: nothing may be lost silently.
            m_exiting = false;
            event->ignore();
            return;
        }
    }
    releaseProfiles();
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
        const Page* leaving = pageAt(oldIndex);
        const bool settingsPage =
            leaving && leaving->content && std::ranges::count(PageRegistry::changedOrder(), leaving->id) > 0;
        if (settingsPage && leaving->content->changed()) {
            if (MessageBox::confirm(QStringLiteral("Do you want to save the changes u made?"))) {
                if (mayOverwriteProfiles() && leaving->content->save()) tellSaveNotices();
            } else if (MessageBox::confirm(QStringLiteral("Do you want to undo changes?")))
                leaving->content->load();
        }
    }
    if (const Page* entering = pageAt(newIndex); entering && entering->id == PageId::IniFiles)
        loadPage(PageId::IniFiles);
}

void TfrmMain::ToolButton12Click()
{
    if (!MessageBox::confirm(QStringLiteral("Your current settings on this tab will be restore to your old values\n"
                                            "Do you want to continue?")))
        return;
    if (const Page* active = pageAt(PageCtrl->currentIndex())) loadPage(active->id);
}
