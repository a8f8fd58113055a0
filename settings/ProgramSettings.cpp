#include "settings/ProgramSettings.h"

#include "settings/ErrorReport.h"
#include "settings/Globals.h"
#include "settings/TIniCtrl.h"

namespace {
const QString TongueKey = QStringLiteral("tongue");
const QString SoundKey = QStringLiteral("sound");
const QString MusicKey = QStringLiteral("music");
const QString BackModeKey = QStringLiteral("backmode");
} // namespace

void ReadProgramSettings(const TIniCtrl& ini, int& backMode)
{
    Tongue = ReadStoredTongue(ini);
    SoundOn = ini.ReadBool(CommonSection(), SoundKey, true);
    MusicOn = ini.ReadBool(CommonSection(), MusicKey, true);
    backMode = ini.ReadInteger(CommonSection(), BackModeKey, 0);
    if (backMode < 0 || backMode >= BackModeCount)
        backMode = 0;
}

QList<TIniCtrl::Change> ProgramSettingsChanges(int backMode)
{
    const auto flag = [](bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); };
    return {{SoundKey, flag(SoundOn)},
            {MusicKey, flag(MusicOn)},
            {TongueKey, QString::number(Tongue)},
            {BackModeKey, QString::number(backMode)}};
}

void WriteProgramSettings(TIniCtrl& ini, int backMode)
{
    ini.WriteChanges(CommonSection(), ProgramSettingsChanges(backMode));
}

int ReadStoredTongue(const TIniCtrl& ini)
{
    // The store's troubles are told in the player's language, which is one of
    // the values it holds: the language is read without telling, and the next
    // read tells, in that language.
    bool troubled = false;
    ErrorReporter telling = SetErrorReporter([&troubled](const QString&) { troubled = true; });
    const int tongue = ini.ReadInteger(CommonSection(), TongueKey, -1);
    SetErrorReporter(std::move(telling));
    if (troubled)
        TIniCtrl::ResetFailureNotice();
    return tongue;
}
