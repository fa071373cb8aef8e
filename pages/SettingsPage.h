#pragma once

#include "pages/PendingWrites.h"

#include <QString>
#include <QWidget>

#include <vector>

namespace Binding {
class Table;
}

// The contract of a settings page: a load fills the controls from the
// profiles and takes a snapshot; a save writes every key of the page and takes
// a new snapshot; the changed test compares the controls with the snapshot and
// has no side effects. Each page also offers the same operations under the
// names the rest of the program knows them by (LoadKeyBinds, ...).
//
// load() and save() return false when they failed and have already told the
// user ("Error occured:..."); a failure they do not catch themselves escapes
// as an exception.
class SettingsPage : public QWidget {
public:
    using QWidget::QWidget;
    virtual bool load() = 0;
    virtual bool save() = 0;
    virtual bool changed() const = 0;
    // What the last save() that went through could not do, for the user once
    // the Save is over (empty for nothing); taking it clears it.
    virtual QString takeSaveNotice() { return {}; }
    // The rows that tie the page's controls to profile keys, where the page
    // has them (the page-contract checks run over them).
    virtual const Binding::Table* bindings() const { return nullptr; }
    // The keys whose value a save would change (from the rows, where the
    // page has them). Reads, never writes.
    virtual std::vector<PendingWrite> pendingWrites() const;
};
