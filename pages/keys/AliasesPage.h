#pragma once

#include "pages/SettingsPage.h"

#include <QString>

#include <array>

struct RunTime;
class QTableWidget;

// The page captioned "Aliases": the raw values of the alias slots
// "Aliases[0]" to "Aliases[45]" of section Engine.Input, one row each, edited
// in place. The values are never split or checked.
class AliasesPage : public SettingsPage {
public:
    static constexpr int SlotCount = 46; // slots the page loads, saves and compares
    static constexpr int RowCount = 51;  // rows of the list
    static constexpr const char* EmptyAlias = "(Command=\"\",Alias=\"None\")";

    explicit AliasesPage(const RunTime& rt, QWidget* parent = nullptr);

    // A load failure shows "Error occured:..." and returns false; the rows
    // after the failing slot keep their values and the snapshot stays.
    bool LoadAliases();
    // A refused write escapes to the caller; the snapshot stays.
    void SaveAliases();
    bool AliasesChanged() const;

    bool load() override { return LoadAliases(); }
    bool save() override
    {
        SaveAliases();
        return true;
    }
    bool changed() const override { return AliasesChanged(); }
    std::vector<PendingWrite> pendingWrites() const override;

private:
    QString value(int slot) const;
    void takeSnapshot();

    const RunTime& m_rt;
    QTableWidget* m_list;
    std::array<QString, SlotCount> m_snapshot;
};
