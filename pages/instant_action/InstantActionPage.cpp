#include "pages/instant_action/InstantActionPage.h"

#include "pages/PageContext.h"

InstantActionPage::InstantActionPage(const PageContext& context, QWidget* parent) : SettingsPage(parent), m_rt(context.rt)
{
    setObjectName(QStringLiteral("InstantActionPage"));
}

bool InstantActionPage::LoadInstantAction() { return true; }
bool InstantActionPage::SaveInstantAction() { return true; }
bool InstantActionPage::InstantActionChanged() const { return false; }
