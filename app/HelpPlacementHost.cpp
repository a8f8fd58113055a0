#include "app/HelpPlacementHost.h"

#include "settings/SettingKeys.h"

QString HelpPlacementHost::HelpPlacement() { return ini_.ReadString(CommonSection(), SettingKey::HelpPlacement(), QString()); }

void HelpPlacementHost::SetHelpPlacement(const QString& value)
{
    ini_.WriteString(CommonSection(), SettingKey::HelpPlacement(), value);
}
