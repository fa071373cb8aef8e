#include "pages/engine/GameSettingsPage.h"

#include "pages/PageContext.h"

GameSettingsPage::GameSettingsPage(const PageContext& context, QWidget* parent) : SettingsPage(parent), m_rt(context.rt)
{
    setObjectName(QStringLiteral("GameSettingsPage"));
}

bool GameSettingsPage::LoadGameSettings() { return true; }
bool GameSettingsPage::SaveGameSettings() { return true; }
bool GameSettingsPage::GameSettingsChanged() const { return false; }
