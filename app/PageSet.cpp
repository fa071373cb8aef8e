#include "app/PageSet.h"

#include "dialogs/Guard.h"
#include "pages/PageContext.h"
#include "core/SaveBatch.h"
#include "pages/SettingsPage.h"

#include <algorithm>

PageSet::PageSet(const PageContext& context, const Factory& factory)
    : m_rt(context.rt)
{
    for (const PageInfo& info : PageRegistry::pages())
        m_pages.emplace_back(info.id, factory ? factory(info.id, context) : info.create(context));
}

PageSet::~PageSet()
{
    // Pages the window did not take into a tab are still ours.
    for (auto& [id, content] : m_pages)
        if (content && !content->parent()) delete content;
}

SettingsPage* PageSet::page(PageId id) const
{
    for (const auto& [pageId, content] : m_pages)
        if (pageId == id) return content;
    return nullptr;
}

bool PageSet::AnyPageChanged() const
{
    for (PageId id : PageRegistry::changedOrder())
        if (SettingsPage* p = page(id); p && p->changed()) return true;
    return false;
}

bool PageSet::SaveAllPages(const std::function<void(int)>& step)
{
    SaveBatch batch(m_rt);
    std::vector<SettingsPage*> collected;
    bool complete = true;
    int done = 0;
    for (PageId id : PageRegistry::saveOrder()) {
        SettingsPage* p = page(id);
        if (!p) continue;
        if (!p->collect(batch)) {
            complete = false;
            break;
        }
        collected.push_back(p);
        if (step && ++done <= 4) step(done);
    }
    try {
        batch.commit();
    } catch (const std::exception& failure) {
        Guard::showFailure(failure);
        return false;
    }
    for (SettingsPage* p : collected) {
        p->saved();
        if (const QString notice = p->saveNotice(); !notice.isEmpty()) m_notices << notice;
    }
    return complete;
}

void PageSet::loadPage(PageId id)
{
    if (SettingsPage* p = page(id)) p->load();
}

void PageSet::loadPages(std::span<const PageId> order)
{
    for (PageId id : order)
        loadPage(id);
}

void PageSet::LoadAllPages() { loadPages(PageRegistry::reloadOrder()); }

std::vector<PendingWrite> PageSet::pendingWrites() const
{
    SaveBatch batch(m_rt);
    for (PageId id : PageRegistry::saveOrder())
        if (const SettingsPage* p = page(id)) p->collectPending(batch);
    return batch.pending();
}
