#include "settings/ProgramSettings.h"

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

void WriteProgramSettings(TIniCtrl& ini, int backMode)
{
    ini.WriteBool(CommonSection(), SettingKey::Sound(), SoundOn);
    ini.WriteBool(CommonSection(), SettingKey::Music(), MusicOn);
    ini.WriteInteger(CommonSection(), SettingKey::Tongue(), Tongue);
    ini.WriteInteger(CommonSection(), SettingKey::BackMode(), backMode);
}

int ReadStoredTongue(const TIniCtrl& ini)
{
    return ini.ReadInteger(CommonSection(), SettingKey::Tongue(), SettingDefault::Tongue);
}
