#include "app/PageSet.h"

#include "core/SaveBatch.h"
#include "dialogs/Guard.h"
#include "dialogs/MessageBox.h"
#include "dialogs/fProgress.h"
#include "pages/SettingsPage.h"
#include "pages/engine/QualityPresets.h"

#include <algorithm>

namespace {

const QString ChangesQuestion = QStringLiteral("You have made some changes\nDo you want to save your changes first?");

} // namespace

PageSet::PageSet(const PageContext& context, const Factory& factory, OutsideChanges guard)
    : m_rt(context.rt)
    , m_guard(std::move(guard))
{
    for (const PageInfo& info : PageRegistry::pages()) {
        SettingsPage* content = factory ? factory(info.id, context) : info.create(context);
        m_pages.emplace_back(info.id, content);
        if (!content) continue;
        Guard::connect(content, &SettingsPage::filesReplaced, this, [this, content] { followReplacedFiles(content); });
        Guard::connect(content, &SettingsPage::reloadRequested, this, [this] { LoadAllPages(); });
    }
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

bool PageSet::anyUnsavedEdits() const
{
    return AnyPageChanged() || std::ranges::any_of(m_pages, [](const auto& entry) {
               return entry.second && entry.second->editsWholeFiles() && entry.second->hasUnsavedEdits();
           });
}

bool PageSet::SaveAllPages(const std::function<void(int)>& step, bool withEditedFiles)
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
    // The raw text as typed, with the other pages' keys on top of it.
    std::map<const TIniFile*, std::string> base;
    try {
        for (const auto& [id, p] : m_pages) {
            if (!withEditedFiles || !p || !p->editsWholeFiles()) continue;
            if (const auto files = p->editedFiles())
                for (const auto& [file, bytes] : *files)
                    base[&m_rt.openAccessor(file)] = bytes;
        }
        batch.commit(base);
    } catch (const std::exception& failure) {
        Guard::showFailure(failure);
        return false;
    }
    for (SettingsPage* p : collected)
        if (const QString notice = p->saveNotice(); !notice.isEmpty()) m_notices << notice;
    // The files now hold what the raw text page held too: every page shows them.
    if (!base.empty())
        LoadAllPages();
    else
        for (SettingsPage* p : collected)
            p->saved();
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
    if (m_guard.filesTaken) m_guard.filesTaken();
}

void PageSet::LoadAllPages() { loadPages(PageRegistry::reloadOrder()); }

std::vector<PendingWrite> PageSet::pendingWrites() const
{
    SaveBatch batch(m_rt);
    for (PageId id : PageRegistry::saveOrder())
        if (const SettingsPage* p = page(id)) p->collectPending(batch);
    return batch.pending();
}

void PageSet::saveCommand()
{
    if (m_guard.mayOverwrite && !m_guard.mayOverwrite()) return;
    // Text typed on the raw text page is written only after its question.
    const bool rawEdited = std::ranges::any_of(m_pages, [](const auto& entry) {
        return entry.second && entry.second->editsWholeFiles() && entry.second->hasUnsavedEdits();
    });
    const bool withRaw = rawEdited && MessageBox::confirm(QStringLiteral("Are you sure you want to save the ini files?"));
    bool saved = false;
    {
        TfrmProgress progress(QStringLiteral("Saving...."), 5);
        progress.showCentred();
        try {
            saved = SaveAllPages([&progress](int step) { progress.step(step); }, withRaw);
        } catch (const std::exception& e) {
            // The remaining pages are not saved; the failure must not pass
            // for a successful save.
            MessageBox::error(Guard::failureText(e));
        }
        // The raw text page shows the files as they now are, unless it holds
        // text that was not written.
        for (const auto& [id, p] : m_pages)
            if (p && p->editsWholeFiles() && !p->hasUnsavedEdits()) Guard::run([p = p] { p->load(); });
    }
    if (saved && m_guard.filesTaken) m_guard.filesTaken();
    if (saved) MessageBox::information(QStringLiteral("The changes has been succesfully saved!"));
    tellNotices(takeNotices());
}

bool PageSet::offerToSave()
{
    if (!anyUnsavedEdits() || !MessageBox::confirm(ChangesQuestion)) return true;
    bool saved = false;
    try {
        saved = (!m_guard.mayOverwrite || m_guard.mayOverwrite()) && SaveAllPages({}, true);
    } catch (const std::exception& e) {
        MessageBox::error(QString::fromLocal8Bit(e.what()));
    }
    if (saved && m_guard.filesTaken) m_guard.filesTaken();
    tellNotices(takeNotices());
    return saved;
}

bool PageSet::exitCommand()
{
    if (!anyUnsavedEdits() || !MessageBox::confirm(ChangesQuestion)) return true;
    // A page that could not save has said so; the program stays open with
    // the edits rather than claiming they were saved.
    const bool saved = (!m_guard.mayOverwrite || m_guard.mayOverwrite()) && SaveAllPages({}, true);
    if (saved && m_guard.filesTaken) m_guard.filesTaken();
    tellNotices(takeNotices());
    if (!saved) return false;
    return MessageBox::show(MessageBox::Kind::Confirm, QStringLiteral("Your changes have been saved, press OK to exit"),
                            MessageBox::Buttons::OkCancel) == MessageBox::Answer::Ok;
}

void PageSet::leavePage(PageId leaving)
{
    SettingsPage* content = page(leaving);
    if (!content) return;
    const bool settingsPage = std::ranges::count(PageRegistry::changedOrder(), leaving) > 0;
    if (settingsPage ? !content->changed() : !(content->editsWholeFiles() && content->hasUnsavedEdits())) return;
    if (MessageBox::confirm(QStringLiteral("Do you want to save the changes u made?"))) {
        if ((!m_guard.mayOverwrite || m_guard.mayOverwrite()) && content->save()) {
            if (m_guard.filesTaken) m_guard.filesTaken();
            tellNotices({content->saveNotice()});
        }
    } else if (MessageBox::confirm(QStringLiteral("Do you want to undo changes?"))) {
        content->load();
    }
}

void PageSet::enterPage(PageId entered)
{
    SettingsPage* content = page(entered);
    if (content && content->editsWholeFiles() && !content->hasUnsavedEdits()) content->load();
}

void PageSet::applyPreset(bool highQuality, const BackupPlace& place)
{
    if (SettingsPage* engine = page(PageId::GameSettings); engine && engine->bindings())
        ApplyQualityPreset(*engine->bindings(), highQuality ? Quality::High : Quality::Low, place);
}

void PageSet::tellNotices(const QStringList& notices)
{
    for (const QString& notice : notices)
        if (!notice.isEmpty()) MessageBox::warning(notice);
}

void PageSet::followReplacedFiles(const SettingsPage* replacer)
{
    for (PageId id : PageRegistry::reloadOrder())
        if (SettingsPage* p = page(id); p && p != replacer && !p->hasUnsavedEdits()) p->load();
    if (m_guard.filesTaken) m_guard.filesTaken();
}
