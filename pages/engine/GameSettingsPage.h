#pragma once

#include "pages/SettingsPage.h"

struct PageContext;
struct RunTime;

// The page captioned "UT2k3 Settings": engine, display and sound settings of UT2003.ini.
class GameSettingsPage : public SettingsPage {
    Q_OBJECT
public:
    explicit GameSettingsPage(const PageContext& context, QWidget* parent = nullptr);

    bool LoadGameSettings();
    bool SaveGameSettings();
    bool GameSettingsChanged() const;

    bool load() override { return LoadGameSettings(); }
    bool save() override { return SaveGameSettings(); }
    bool changed() const override { return GameSettingsChanged(); }

private:
    const RunTime& m_rt;
};
