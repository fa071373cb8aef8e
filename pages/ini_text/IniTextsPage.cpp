#include "pages/ini_text/IniTextsPage.h"

#include "pages/PageContext.h"

IniTextsPage::IniTextsPage(const PageContext& context, QWidget* parent) : SettingsPage(parent), m_rt(context.rt)
{
    setObjectName(QStringLiteral("IniTextsPage"));
}

bool IniTextsPage::LoadIniTexts() { return true; }
bool IniTextsPage::SaveIniTexts() { return true; }
bool IniTextsPage::IniTextsChanged() const { return false; }
