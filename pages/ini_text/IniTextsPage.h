#pragma once

#include "pages/SettingsPage.h"

struct PageContext;
struct RunTime;

// The page captioned "Inifiles": both profile files as raw text.
class IniTextsPage : public SettingsPage {
    Q_OBJECT
public:
    explicit IniTextsPage(const PageContext& context, QWidget* parent = nullptr);

    bool LoadIniTexts();
    bool SaveIniTexts();
    bool IniTextsChanged() const;

    bool load() override { return LoadIniTexts(); }
    bool save() override { return SaveIniTexts(); }
    bool changed() const override { return IniTextsChanged(); }

private:
    const RunTime& m_rt;
};
