// The whole settings file as bytes, read through the store the way the game
// reads it at start-up and when the high-score table opens: every read gives
// a value or its default, a number read agrees with the text read, and a
// write afterwards changes only the value written. A store the game cannot
// read whole is left untouched.
#include "cipher/qt/ChiffreQString.h"
#include "settings/Globals.h"
#include "settings/IntegerText.h"
#include "settings/ProgramSettings.h"
#include "settings/TIniCtrl.h"
#include "settings/WindowPlacement.h"
#include "tests/fuzz/FuzzCheck.h"
#include "ui/HighscoreTable.h"
#include "settings/ErrorReport.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

namespace {

QStringList GameKeys()
{
    QStringList keys = {QStringLiteral("tongue"), QStringLiteral("sound"), QStringLiteral("music"),
                        QStringLiteral("backmode"), QStringLiteral("MainForm"), QStringLiteral("player")};
    for (int row = 0; row < HighscoreTable::RowCount; ++row)
        keys << QStringLiteral("hs%1").arg(row);
    return keys;
}

// Whether the store told the player it could not be used.
bool storeRefused = false;

// A folder of its own for the store, set before the first store is opened
// (the store looks its folder up once per process); in memory where there is
// such a file system, since every write is synced to disk.
const QString& StoreFolder()
{
    static QTemporaryDir home(QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm/tangrix-fuzz-XXXXXX")
                                                                        : QDir::tempPath() + QStringLiteral("/tangrix-fuzz-XXXXXX"));
    static const QString folder = [] {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path()));
        // A refused store is part of what is tried here, not a reason to stop.
        SetErrorReporter([](const QString&) { storeRefused = true; });
        QDir().mkpath(home.path() + QStringLiteral("/Orvane"));
        return home.path() + QStringLiteral("/Orvane");
    }();
    return folder;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const QStringList keys = GameKeys();
    static const QString missing = QStringLiteral("\x01missing");
    static int run = 0;
    const QString application = QStringLiteral("store");
    const QString path = StoreFolder() + u'/' + application + QStringLiteral(".conf");
    {
        QFile file(path);
        FuzzRequire(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "the fuzz store can be written");
        file.write(reinterpret_cast<const char*>(data), qint64(size));
        // The store notices a changed file by its size and time stamp; a time
        // stamp of its own for every input, long past, so that no two inputs
        // (nor the store's own last write) look alike.
        file.setFileTime(QDateTime::fromSecsSinceEpoch(1000000000LL + run++), QFileDevice::FileModificationTime);
    }

    TIniCtrl::ResetFailureNotice();
    storeRefused = false;
    TIniCtrl ini(QStringLiteral("Orvane"), application);
    const QString section = CommonSection();
    QStringList before;
    for (const QString& key : keys) {
        const QString text = ini.ReadString(section, key, missing);
        before << text;
        const int number = ini.ReadInteger(section, key, -77);
        FuzzRequire(number == (text == missing ? -77 : StrToIntDef(text, -77)),
                    "a number read is the number of the text read");
    }

    int backMode = -1;
    ReadProgramSettings(ini, backMode);
    FuzzRequire(backMode >= 0 && backMode < BackModeCount, "the background variant is one that exists");
    if (const auto placement = ParsePlacement(before[4]))
        FuzzRequire(placement->NormalRect().isValid(), "a restored placement has a size");
    QStringList rows;
    for (int row = 0; row < HighscoreTable::RowCount; ++row)
        rows << Decipher(ScoreCipher, before[6 + row] == missing ? QString() : before[6 + row]);
    HighscoreTable::FromStoredRows(rows);

    // A store the player was told about (one the game cannot read, or one
    // with values it passes over) is never written.
    if (storeRefused) {
        ini.WriteInteger(section, QStringLiteral("backmode"), 3);
        QFile file(path);
        FuzzRequire(file.open(QIODevice::ReadOnly) && file.readAll() == QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)),
                    "a refused store is left as it was");
        return 0;
    }

    // The game writes its settings into whatever it found; what it does not
    // write must read the same afterwards.
    ini.WriteInteger(section, QStringLiteral("backmode"), 3);
    FuzzRequire(ini.ReadInteger(section, QStringLiteral("backmode"), -1) == 3, "a written value reads back");
    for (int i = 0; i < keys.size(); ++i) {
        if (keys[i] != QStringLiteral("backmode"))
            FuzzRequire(ini.ReadString(section, keys[i], missing) == before[i], "other values are left alone");
    }
    return 0;
}
