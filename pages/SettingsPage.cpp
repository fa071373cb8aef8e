#include "pages/SettingsPage.h"

#include "core/SaveBatch.h"
#include "dialogs/Guard.h"

#include <exception>

SettingsPage::SettingsPage(const RunTime& rt, QWidget* parent)
    : QWidget(parent)
    , m_rt(rt)
{
}

SettingsPage::~SettingsPage() = default;

void SettingsPage::setRows(std::vector<Binding::Row> rows)
{
    m_table = std::make_unique<Binding::Table>(m_rt, std::move(rows));
}

bool SettingsPage::load()
{
    try {
        loadPage();
    } catch (const std::exception& failure) {
        Guard::showFailure(failure);
        return false;
    }
    takeSnapshot();
    return true;
}

bool SettingsPage::save()
{
    try {
        Binding::Writes writes;
        savePage(writes);
        SaveBatch batch(m_rt);
        batch.add(std::move(writes));
        batch.commit();
    } catch (const std::exception& failure) {
        if (!showsSaveFailures()) throw;
        Guard::showFailure(failure);
        return false;
    }
    takeSnapshot();
    return true;
}

bool SettingsPage::changed() const { return m_table && m_table->changed(); }

bool SettingsPage::collect(SaveBatch& batch) const
{
    try {
        Binding::Writes writes;
        savePage(writes);
        batch.add(std::move(writes));
    } catch (const std::exception& failure) {
        if (!showsSaveFailures()) throw;
        Guard::showFailure(failure);
        return false;
    }
    return true;
}

void SettingsPage::collectPending(SaveBatch& batch) const
{
    Binding::Writes writes;
    writes.lenient = true;
    try {
        savePage(writes);
    } catch (const std::exception&) {
        // Nothing to list of a page that cannot say what it would write (its
        // file is not open); the Save says why.
        return;
    }
    batch.add(std::move(writes));
}

void SettingsPage::loadPage()
{
    if (m_table) m_table->readAll();
}

void SettingsPage::savePage(Binding::Writes& out) const
{
    if (m_table) m_table->collectAll(out);
}

void SettingsPage::takeSnapshot()
{
    if (m_table) m_table->takeSnapshot();
}
