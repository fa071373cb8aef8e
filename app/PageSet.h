#pragma once

#include "app/PageRegistry.h"
#include "core/PendingWrites.h"

#include <QStringList>

#include <functional>
#include <utility>
#include <vector>

class SettingsPage;
struct PageContext;
struct RunTime;

// The pages of the main window and the fixed orders in which the window goes
// over them: the change test, the Save of every page (one batch: each
// profile file replaced once), the reload of every page and a page's load.
class PageSet {
public:
    // Builds the content of a page, or nullptr for an empty page.
    using Factory = std::function<SettingsPage*(PageId, const PageContext&)>;

    // `factory` empty: the program's own pages. The pages have no parent
    // until the window takes them into its tabs.
    PageSet(const PageContext& context, const Factory& factory);
    ~PageSet();
    PageSet(const PageSet&) = delete;
    PageSet& operator=(const PageSet&) = delete;

    SettingsPage* page(PageId id) const;

    bool AnyPageChanged() const;
    // Collects the keys of every page in the save order and writes each
    // profile file once; the pages whose keys were written take new
    // snapshots. A page that cannot give its keys says so and ends the
    // collection (the pages before it are still saved); a file that cannot be
    // written is said ("Error occured:...") and no page is counted as saved.
    // `step` runs after each page's keys (1 to 4). False on any failure.
    bool SaveAllPages(const std::function<void(int)>& step = {});
    // What the pages of the last SaveAllPages left undone (a page's
    // saveNotice()); taking them clears them.
    QStringList takeNotices() { return std::exchange(m_notices, {}); }
    void LoadAllPages();
    // The load of one page; an empty page has nothing to load.
    void loadPage(PageId id);
    // Loads the pages of `order`.
    void loadPages(std::span<const PageId> order);
    // Every key a Save of all pages would change, file by file.
    std::vector<PendingWrite> pendingWrites() const;

private:
    const RunTime& m_rt;
    std::vector<std::pair<PageId, SettingsPage*>> m_pages; // in tab order
    QStringList m_notices;
};
