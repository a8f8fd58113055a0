#include "settings/ProgramSettings.h"

#include "settings/ErrorReport.h"
#include "settings/Globals.h"
#include "settings/TIniCtrl.h"

void ReadProgramSettings(const TIniCtrl& ini, int& backMode)
{
    Tongue = ReadStoredTongue(ini);
    SoundOn = ini.ReadBool(CommonSection(), SettingKey::Sound(), SettingDefault::Sound);
    MusicOn = ini.ReadBool(CommonSection(), SettingKey::Music(), SettingDefault::Music);
    backMode = ini.ReadInteger(CommonSection(), SettingKey::BackMode(), SettingDefault::BackMode);
    if (backMode < 0 || backMode >= BackModeCount)
        backMode = SettingDefault::BackMode;
}

QList<TIniCtrl::Change> ProgramSettingsChanges(int backMode)
{
    const auto flag = [](bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); };
    return {{SettingKey::Sound(), flag(SoundOn)},
            {SettingKey::Music(), flag(MusicOn)},
            {SettingKey::Tongue(), QString::number(Tongue)},
            {SettingKey::BackMode(), QString::number(backMode)}};
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
    const int tongue = ini.ReadInteger(CommonSection(), SettingKey::Tongue(), SettingDefault::Tongue);
    SetErrorReporter(std::move(telling));
    if (troubled)
        TIniCtrl::ResetFailureNotice();
    return tongue;
}
