#pragma once

#include "pages/SettingsPage.h"

#include <QString>

struct RunTime;
class QTableWidget;

// The page captioned "Aliases": the raw values of the alias slots
// "Aliases[0]" to "Aliases[45]" of section Engine.Input, one row each, edited
// in place. The values are never split or checked. A load failure shows
// "Error occured:..." and returns false; the rows after the failing slot keep
// their values and the snapshot stays. A refused save escapes to the caller;
// the snapshot stays.
class AliasesPage : public SettingsPage {
public:
    static constexpr int SlotCount = 46; // slots the page loads, saves and compares
    static constexpr int RowCount = 51;  // rows of the list
    static constexpr const char* EmptyAlias = "(Command=\"\",Alias=\"None\")";

    explicit AliasesPage(const RunTime& rt, QWidget* parent = nullptr);

protected:
    // Without a user file open both fail: "No user file is open".
    void loadPage() override;
    void savePage(Binding::Writes& out) const override;
    bool showsSaveFailures() const override { return false; }

private:
    QString value(int slot) const;

    const RunTime& m_rt;
    QTableWidget* m_list;
};
