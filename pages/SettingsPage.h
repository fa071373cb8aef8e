#pragma once

#include "core/PendingWrites.h"
#include "pages/Binding.h"

#include <QWidget>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class SaveBatch;

// The contract of a settings page: a load fills the controls from the
// profiles and takes a snapshot; a save writes the keys of the controls the
// user changed since the last load or save (every other key keeps its bytes)
// and takes a new snapshot; the changed test compares the controls with the
// snapshot and has no side effects.
//
// A page declares its settings once, as binding rows in the order of its
// save, each with its place in the load; the load and the save run over
// them, and the guard around them, the snapshot and the change test are
// here, once for every page.
class SettingsPage : public QWidget {
    Q_OBJECT
public:
    explicit SettingsPage(const RunTime& rt, QWidget* parent = nullptr);
    ~SettingsPage() override;

    // Reads the page (loadPage), then takes a new snapshot. A failure is
    // shown ("Error occured:...") and the old snapshot kept; false then.
    virtual bool load();
    // Writes the page's changed keys on their own, each file replaced once
    // (neither when nothing changed), then takes a new snapshot. A failure is
    // shown (or, for a page whose failures escape, passed on) and the old
    // snapshot kept; false then.
    virtual bool save();
    // Whether a compared row differs from the snapshot.
    virtual bool changed() const;
    // Edits a reload would drop: a changed row, or for a page that edits
    // whole files, text typed since they were loaded.
    virtual bool hasUnsavedEdits() const { return changed(); }
    // For a page that edits whole files (the raw text page), their edited
    // content, which a Save of every page writes with the other pages' keys
    // on top; nothing while there is no edit. Throws when a text cannot be
    // stored in the game's files.
    virtual std::optional<std::map<ProfileFile, std::string>> editedFiles() const { return std::nullopt; }
    // Whether the page edits whole files rather than keys.
    virtual bool editsWholeFiles() const { return false; }
    // What a save of the page as it stands leaves undone, for the user once
    // the Save is over (empty for nothing).
    virtual QString saveNotice() const { return {}; }

    // For a Save of several pages: adds the page's changed keys to `batch`. A
    // key the game's files cannot hold adds none of them: the failure is shown
    // (or passed on) and the result is false.
    bool collect(SaveBatch& batch) const;
    // For the list of pending changes: adds the page's keys to `batch`, a row
    // the files cannot hold with the reason in place of its value. Reads only.
    void collectPending(SaveBatch& batch) const;
    // The batch holding the page's keys was written: the new snapshot.
    void saved() { takeSnapshot(); }

    // The rows that tie the page's controls to profile keys (the page-contract
    // checks and the presets run over them).
    const Binding::Table* bindings() const { return m_table.get(); }

signals:
    // The page replaced the profiles on its own (the raw text page's save):
    // the other pages follow the files.
    void filesReplaced();
    // The page asks for every page to be loaded again from the files (the
    // raw text page's Reload, which has asked the user already).
    void reloadRequested();

protected:
    // The page's settings, in the order of its save.
    void setRows(std::vector<Binding::Row> rows);
    Binding::Table& table() const { return *m_table; }

    // The page's reads: its rows in the order of its load; may throw.
    virtual void loadPage();
    // The page's keys: its edited rows in the order of its save; may throw
    // (a text the files cannot hold).
    virtual void savePage(Binding::Writes& out) const;
    virtual void takeSnapshot();
    // Whether the page's save failures are shown as "Error occured:..." or
    // escape to the caller (the alias page's do).
    virtual bool showsSaveFailures() const { return true; }

private:
    const RunTime& m_rt;
    std::unique_ptr<Binding::Table> m_table;
};
