#pragma once

#include "pages/SettingsPage.h"

struct PageContext;
struct RunTime;

// The page captioned "Instant Action": game-type rules, maps, mutators and the game start.
class InstantActionPage : public SettingsPage {
    Q_OBJECT
public:
    explicit InstantActionPage(const PageContext& context, QWidget* parent = nullptr);

    bool LoadInstantAction();
    bool SaveInstantAction();
    bool InstantActionChanged() const;

    bool load() override { return LoadInstantAction(); }
    bool save() override { return SaveInstantAction(); }
    bool changed() const override { return InstantActionChanged(); }

private:
    const RunTime& m_rt;
};
