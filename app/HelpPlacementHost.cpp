#include "app/HelpPlacementHost.h"

#include "settings/ProgramSettings.h"

namespace {
// Beside "MainForm", in the same format.
const QString HelpPlacementKey = QStringLiteral("HelpForm");
} // namespace

QString HelpPlacementHost::HelpPlacement() { return ini_.ReadString(CommonSection(), HelpPlacementKey, QString()); }

void HelpPlacementHost::SetHelpPlacement(const QString& value)
{
    ini_.WriteString(CommonSection(), HelpPlacementKey, value);
}
