#include "settings/TIniCtrl.h"

#include "settings/BoundedFile.h"
#include "settings/ErrorReport.h"
#include "settings/IniValueScan.h"
#include "settings/IntegerText.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>
#include <QStringList>

namespace {

#ifdef Q_OS_WIN
// Tests name a store of their own in TANGRIX_TEST_STORE; elsewhere they move
// XDG_CONFIG_HOME, which the registry ignores. Here that store becomes a key
// of its own beside the game's, so that a test run never reads or writes the
// player's settings.
QString RegistryApplication(const QString& application)
{
    const QString testStore = qEnvironmentVariable("TANGRIX_TEST_STORE");
    if (testStore.isEmpty())
        return application;
    return application + QStringLiteral(" test ") + QString::number(qHash(QDir::cleanPath(testStore)), 16);
}
#endif

// Shared by every TIniCtrl of the process: the program has one store, and
// the player needs to hear about it once per run, not once per component.
bool failureShown = false;

// The game's own store holds a few hundred bytes; a hand-edited one may hold
// much more and is still read, but the reader takes the file whole.
constexpr qint64 MaxStoreBytes = 32 * 1024 * 1024;
// A lock holds a process number, a host and a program name.
constexpr qint64 MaxLockBytes = 64 * 1024;

void ReportOnce(const QString& message)
{
    if (failureShown)
        return;
    failureShown = true;
    ReportError(message);
}

QString ValuePath(const QString& section, const QString& key)
{
    return section + u'/' + key;
}

// A lock is waited on until whoever wrote it is gone; one that is a link,
// not a plain file, or absurdly large is never given up and never ends the
// wait, so it must not be used.
bool LockUsable(const QString& path)
{
    const QFileInfo lock(path);
    if (lock.isSymLink())
        return false;
    return !lock.exists() || (lock.isFile() && lock.size() <= MaxLockBytes);
}

// Whether the store's reader may be given this file: not absurdly large, and
// no value in it that the reader would decode as binary data. Every read and
// write opens the store, so the verdict is kept while the file stays as it
// is (told by its size and time stamp, as the store itself tells it).
bool ContentUsable(const QString& path)
{
    struct Verdict {
        QString path;
        qint64 size = -1;
        QDateTime modified;
        bool usable = false;
    };
    static Verdict last;
    const QFileInfo info(path);
    if (info.size() > MaxStoreBytes)
        return false;
    if (last.path == path && last.size == info.size() && last.modified == info.lastModified())
        return last.usable;
    const BoundedRead read = ReadRegularFile(path, MaxStoreBytes);
    // A file that vanished meanwhile is an empty store; one that cannot be
    // read is left to the reader, which reports it like any unreadable store.
    const bool usable = read.data ? !HoldsBinaryValue(*read.data)
                                  : read.refusal == ReadRefusal::Missing || read.refusal == ReadRefusal::Unreadable;
    last = {path, info.size(), info.lastModified(), usable};
    return usable;
}

// What the store's reader and writer open, checked without opening it.
bool StoreUsable(const QString& path)
{
    switch (KindOf(path)) {
    case FileKind::Missing:
        break;
    case FileKind::Other:
        return false;
    case FileKind::Regular:
        if (!ContentUsable(path))
            return false;
        break;
    }
    return LockUsable(path + QStringLiteral(".lock"));
}

// The store's text for a value, or nothing if it is missing or holds
// something that is not text (a hand-edited line the store cannot parse).
std::optional<QString> StoredText(const QSettings& store, const QString& path)
{
    if (!store.contains(path))
        return std::nullopt;
    const QVariant value = store.value(path);
    // An ini line "a,b,c" without quotes comes back as a list; its text is
    // the parts joined again.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(u',');
    if (!value.isValid() || !value.canConvert<QString>())
        return std::nullopt;
    return value.toString();
}

} // namespace

TIniCtrl::TIniCtrl(QString organization, QString application)
    : m_organization(std::move(organization))
    , m_application(std::move(application))
{
}

std::unique_ptr<QSettings> TIniCtrl::OpenStore(const QString& key, bool forWriting) const
{
#ifdef Q_OS_WIN
    Q_UNUSED(key);
    Q_UNUSED(forWriting);
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, m_organization,
                                       RegistryApplication(m_application));
#else
    const QString path = StoreLocation();
    if (!StoreUsable(path)) {
        ReportOnce((forWriting ? QString::fromUtf8("Fehler beim Setzen der Daten für '%1'")
                               : QString::fromUtf8("Fehler beim Holen der Daten für '%1'"))
                       .arg(key));
        return nullptr;
    }
    // The store is this one file: the per-user and system-wide files that
    // the store would otherwise read as well are none of the game's.
    return std::make_unique<QSettings>(path, QSettings::IniFormat);
#endif
}

std::optional<QString> TIniCtrl::ReadText(const QString& section, const QString& key) const
{
    const std::unique_ptr<QSettings> store = OpenStore(key, false);
    if (!store)
        return std::nullopt;
    return StoredText(*store, ValuePath(section, key));
}

bool TIniCtrl::ReadBool(const QString& section, const QString& key, bool def) const
{
    const std::optional<QString> text = ReadText(section, key);
    if (!text)
        return def;
    if (text->compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    if (text->compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return false;
    return StrToIntDef(*text, def ? 1 : 0) != 0;
}

int TIniCtrl::ReadInteger(const QString& section, const QString& key, int def) const
{
    const std::optional<QString> text = ReadText(section, key);
    return text ? StrToIntDef(*text, def) : def;
}

QString TIniCtrl::ReadString(const QString& section, const QString& key, const QString& def) const
{
    return ReadText(section, key).value_or(def);
}

void TIniCtrl::WriteBool(const QString& section, const QString& key, bool value)
{
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void TIniCtrl::WriteInteger(const QString& section, const QString& key, int value)
{
    WriteString(section, key, QString::number(value));
}

void TIniCtrl::WriteString(const QString& section, const QString& key, const QString& value)
{
    ChangeValues(section, {{key, value}});
}

void TIniCtrl::DeleteKey(const QString& section, const QString& key)
{
    ChangeValues(section, {{key, std::nullopt}});
}

void TIniCtrl::WriteStrings(const QString& section, const QList<std::pair<QString, QString>>& values)
{
    QList<Change> changes;
    for (const auto& [key, value] : values)
        changes.append({key, value});
    ChangeValues(section, changes);
}

void TIniCtrl::UpdateStrings(const QString& section, const QStringList& keys, const Decision& decide)
{
    // The store's own lock only covers a single write; this one covers the
    // read before it as well.
#ifdef Q_OS_WIN
    const QString lockPath = QDir::temp().filePath(m_application + QStringLiteral(".update.lock"));
#else
    const QString lockPath = StoreLocation() + QStringLiteral(".update.lock");
#endif
    QDir().mkpath(QFileInfo(lockPath).path());
    QLockFile lock(lockPath);
    // Without the lock the update is still made: losing the player's entry
    // would be worse than the rare race the lock is there for.
    if (LockUsable(lockPath))
        lock.tryLock(LockWaitMs);

    QStringList stored;
    for (const QString& key : keys)
        stored << ReadString(section, key, QString());
    WriteStrings(section, decide(stored));
}

void TIniCtrl::ChangeValues(const QString& section, const QList<Change>& changes)
{
    if (changes.isEmpty())
        return;
    const std::unique_ptr<QSettings> opened = OpenStore(changes.first().first, true);
    if (!opened)
        return;
    QSettings& store = *opened;
    struct Previous {
        QString key;
        QString path;
        bool existed = false;
        QVariant value;
    };
    QList<Previous> previous;
    for (const auto& [key, value] : changes) {
        const QString path = ValuePath(section, key);
        const bool existed = store.contains(path);
        // Nothing to do, and nothing to fail, when deleting a value that is not there.
        if (!value && !existed)
            continue;
        previous.append({key, path, existed, store.value(path)});
        if (value)
            store.setValue(path, QVariant(*value)); // always a QString: the store holds text
        else
            store.remove(path);
    }
    if (previous.isEmpty())
        return;
    // One sync writes every change in a single replacement of the file.
    store.sync();

    // A file that could not be parsed completely reports FormatError, yet the
    // write went through; only AccessError means the change was not stored.
    if (store.status() != QSettings::AccessError)
        return;
    // QSettings keeps unsaved changes in a cache shared by the whole process;
    // take them back (the last first) so that later reads show what the
    // store really holds.
    for (auto it = previous.crbegin(); it != previous.crend(); ++it) {
        if (it->existed)
            store.setValue(it->path, it->value);
        else
            store.remove(it->path);
    }
    store.sync();
    ReportOnce(QString::fromUtf8("Fehler beim Setzen der Daten für '%1'").arg(previous.first().key));
}

void TIniCtrl::ResetFailureNotice()
{
    failureShown = false;
}

QString TIniCtrl::StoreLocation() const
{
#ifdef Q_OS_WIN
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, m_organization, RegistryApplication(m_application))
        .fileName();
#else
    // Where the store's native format keeps a user's values on this system.
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u'/' + m_organization + u'/'
        + m_application + QStringLiteral(".conf");
#endif
}
