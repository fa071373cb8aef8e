#pragma once

#include "app/PageRegistry.h"
#include "core/PendingWrites.h"
#include "pages/PageContext.h"

#include <QObject>
#include <QStringList>

#include <functional>
#include <span>
#include <utility>
#include <vector>

class SettingsPage;
struct BackupPlace;
struct RunTime;

// The pages of the main window and the fixed orders and sequences in which
// the window goes over them: the change test, the Save of every page (one
// batch: both profiles replaced as one operation, with the raw text page's
// edited text under the other pages' keys), the questions before a page is
// left and before the program ends, and the reloads.
class PageSet : public QObject {
    Q_OBJECT
public:
    // Builds the content of a page, or nullptr for an empty page.
    using Factory = std::function<SettingsPage*(PageId, const PageContext&)>;

    // What the page set asks of the window's guard against changes made
    // outside: whether a Save may write over the files now, and that the
    // files as they now are are the ones the pages show.
    struct OutsideChanges {
        std::function<bool()> mayOverwrite;
        std::function<void()> filesTaken;
    };

    // `factory` empty: the program's own pages. The pages have no parent
    // until the window takes them into its tabs.
    PageSet(const PageContext& context, const Factory& factory, OutsideChanges guard = {});
    ~PageSet() override;
    PageSet(const PageSet&) = delete;
    PageSet& operator=(const PageSet&) = delete;

    SettingsPage* page(PageId id) const;

    bool AnyPageChanged() const;
    // A settings page's edits, or text typed on the raw text page: what a
    // reload would drop.
    bool anyUnsavedEdits() const;
    // Collects the keys of every page in the save order and writes both
    // profiles as one operation, with the raw text page's edited text under
    // them when `withEditedFiles`; the pages whose keys were written take new
    // snapshots. A page that cannot give its keys says so and ends the
    // collection (the pages before it are still saved); files that cannot be
    // written are said ("Error occured:...") and no page counts as saved.
    // `step` runs after each page's keys (1 to 4). False on any failure.
    bool SaveAllPages(const std::function<void(int)>& step = {}, bool withEditedFiles = false);
    // What the pages of the last SaveAllPages left undone (a page's
    // saveNotice()); taking them clears them.
    QStringList takeNotices() { return std::exchange(m_notices, {}); }
    void LoadAllPages();
    // The load of one page; an empty page has nothing to load.
    void loadPage(PageId id);
    // Loads the pages of `order`, then takes the files as they now are.
    void loadPages(std::span<const PageId> order);
    // Every key a Save of all pages would change, file by file.
    std::vector<PendingWrite> pendingWrites() const;

    // The window's commands over the pages.
    // Save: behind the "Saving...." window; the raw text page's edits after
    // its question; "The changes has been succesfully saved!" when done.
    void saveCommand();
    // The question before the program ends with unsaved edits (closing the
    // window, an update's restart): Yes saves first. False when the edits
    // could not be saved: the program must not end then.
    bool offerToSave();
    // Exit: the same question, then "Your changes have been saved, press OK
    // to exit". True when the program is to end.
    bool exitCommand();
    // The questions when the user leaves page `leaving` with edits: save them,
    // else undo them.
    void leavePage(PageId leaving);
    // The page just entered: the raw text page shows the files as they are on
    // disk now, unless it holds typed text.
    void enterPage(PageId entered);
    // The high or low quality preset, over the game settings page's rows.
    void applyPreset(bool highQuality, const BackupPlace& place);

private:
    // Once a Save is over: what the pages' saves left undone, one warning each.
    void tellNotices(const QStringList& notices);
    // A page replaced the files on its own: the others follow them, but for
    // those with unsaved edits, which keep them (a Save writes only the keys
    // their edits changed).
    void followReplacedFiles(const SettingsPage* replacer);

    const RunTime& m_rt;
    OutsideChanges m_guard;
    std::vector<std::pair<PageId, SettingsPage*>> m_pages; // in tab order
    QStringList m_notices;
};
