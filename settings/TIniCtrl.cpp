#include "settings/TIniCtrl.h"

#include "settings/BoundedFile.h"
#include "settings/ConfigHome.h"
#include "settings/ErrorReport.h"
#include "settings/Globals.h"
#include "settings/IniValueScan.h"
#include "settings/IntegerText.h"
#include "settings/StoreLock.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>

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

QString Quoted(const QString& file)
{
    return Lang(QString::fromUtf8("„%1“"), QStringLiteral("\"%1\"")).arg(QDir::toNativeSeparators(file));
}

void ReportUnreadable(const QString& file)
{
    ReportOnce(Lang(QString::fromUtf8("Die Einstellungen in %1 können nicht gelesen werden. "
                                      "Das Spiel beginnt mit seinen Vorgaben."),
                    QStringLiteral("The settings in %1 cannot be read. The game starts with its defaults."))
                   .arg(Quoted(file)));
}

void ReportPartlyUnreadable(const QString& file)
{
    ReportOnce(Lang(QString::fromUtf8("In den Einstellungen %1 stehen Werte, die das Spiel nicht sicher lesen "
                                      "kann. Es übergeht sie, lässt die Datei, wie sie ist, und speichert nichts "
                                      "darin, bis sie berichtigt ist."),
                    QStringLiteral("The settings in %1 hold values the game cannot read safely. It passes over "
                                   "them, leaves the file as it is, and stores nothing in it until it is mended."))
                   .arg(Quoted(file)));
}

void ReportUnwritable(const QString& file)
{
    ReportOnce(Lang(QString::fromUtf8("Die Einstellungen konnten nicht in %1 gespeichert werden."),
                    QStringLiteral("The settings could not be saved in %1."))
                   .arg(Quoted(file)));
}

QString ValuePath(const QString& section, const QString& key)
{
    return section + u'/' + key;
}

#ifndef Q_OS_WIN

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

// A folder on the way to the store that this user may not look into hides
// the store: it is not missing, it cannot be read.
bool HiddenByFolder(const QString& path)
{
    QFileInfo folder(QFileInfo(path).path());
    while (!folder.exists()) {
        const QString parent = folder.path();
        if (parent == folder.filePath())
            return false;
        folder.setFile(parent);
    }
    return folder.isDir() && !folder.isExecutable();
}

enum class Condition {
    Readable,       // also a store that does not exist yet
    PartlyReadable, // read from a copy without the values that must not be decoded
    Unreadable,     // not to be read, nor written
};

struct Examined {
    Condition condition = Condition::Readable;
    QString readFrom; // the file to give the reader
};

// The store's file with the values that must not be decoded left out, in a
// private folder of this run.
QString ReadableCopy(const QByteArray& content)
{
    static QTemporaryDir folder;
    static int generation = 0;
    if (!folder.isValid())
        return QString();
    QFile::remove(folder.filePath(QStringLiteral("store-%1.conf").arg(generation)));
    const QString copy = folder.filePath(QStringLiteral("store-%1.conf").arg(++generation));
    QFile file(copy);
    if (!file.open(QIODevice::WriteOnly) || file.write(WithoutBinaryValues(content)) < 0)
        return QString();
    return copy;
}

// Whether the store's reader may be given this file, or a copy of it. Every
// read and write opens the store, so the verdict is kept while the file
// stays as it is (told by its size and time stamp, as the store itself
// tells it).
Examined ExamineContent(const QString& path)
{
    struct Verdict {
        QString path;
        qint64 size = -1;
        QDateTime modified;
        Examined examined;
    };
    static Verdict last;
    const QFileInfo info(path);
    if (info.size() > MaxStoreBytes)
        return {Condition::Unreadable, QString()};
    if (last.path == path && last.size == info.size() && last.modified == info.lastModified())
        return last.examined;
    const BoundedRead read = ReadRegularFile(path, MaxStoreBytes);
    Examined examined{Condition::Readable, path};
    if (!read.data) {
        // A file that vanished meanwhile is an empty store.
        if (read.refusal != ReadRefusal::Missing)
            examined = {Condition::Unreadable, QString()};
    } else if (HoldsBinaryValue(*read.data)) {
        const QString copy = ReadableCopy(*read.data);
        examined = copy.isEmpty() ? Examined{Condition::Unreadable, QString()}
                                  : Examined{Condition::PartlyReadable, copy};
    }
    last = {path, info.size(), info.lastModified(), examined};
    return examined;
}

// What the store's reader and writer would open, checked without opening it
// in a way that could block.
Examined Examine(const QString& path)
{
    if (!LockUsable(path + QStringLiteral(".lock")))
        return {Condition::Unreadable, QString()};
    switch (KindOf(path)) {
    case FileKind::Missing:
        if (HiddenByFolder(path))
            return {Condition::Unreadable, QString()};
        return {Condition::Readable, path};
    case FileKind::Other:
        return {Condition::Unreadable, QString()};
    case FileKind::Regular:
        break;
    }
    return ExamineContent(path);
}

#endif

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
    : organization_(std::move(organization))
    , application_(std::move(application))
{
}

std::unique_ptr<QSettings> TIniCtrl::OpenForReading() const
{
#ifdef Q_OS_WIN
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, organization_,
                                       RegistryApplication(application_));
#else
    const QString path = StoreLocation();
    const Examined examined = Examine(path);
    switch (examined.condition) {
    case Condition::Unreadable:
        ReportUnreadable(path);
        return nullptr;
    case Condition::PartlyReadable:
        ReportPartlyUnreadable(path);
        break;
    case Condition::Readable:
        break;
    }
    // The store is this one file: the per-user and system-wide files that
    // the store would otherwise read as well are none of the game's.
    auto store = std::make_unique<QSettings>(examined.readFrom, QSettings::IniFormat);
    // Checked again once read: the file may have become unreadable since.
    if (store->status() == QSettings::AccessError) {
        ReportUnreadable(path);
        return nullptr;
    }
    return store;
#endif
}

std::optional<QString> TIniCtrl::ReadText(const QString& section, const QString& key) const
{
    const std::unique_ptr<QSettings> store = OpenForReading();
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
    WriteChanges(section, {{key, value}});
}

void TIniCtrl::DeleteKey(const QString& section, const QString& key)
{
    WriteChanges(section, {{key, std::nullopt}});
}

void TIniCtrl::WriteStrings(const QString& section, const QList<std::pair<QString, QString>>& values)
{
    QList<Change> changes;
    for (const auto& [key, value] : values)
        changes.append({key, value});
    WriteChanges(section, changes);
}

void TIniCtrl::WriteChanges(const QString& section, const QList<Change>& changes)
{
    if (!Store(section, changes, nullptr))
        ReportUnwritable(StoreLocation());
}

QString TIniCtrl::GameLockPath() const
{
#ifdef Q_OS_WIN
    return QDir::temp().filePath(application_ + QStringLiteral(".update.lock"));
#else
    return StoreLocation() + QStringLiteral(".update.lock");
#endif
}

QString TIniCtrl::LibraryLockPath() const
{
#ifdef Q_OS_WIN
    return QString(); // the registry needs none
#else
    return StoreLocation() + QStringLiteral(".lock");
#endif
}

bool TIniCtrl::UpdateStrings(const QString& section, const QStringList& keys, const Decision& decide,
                             const FailureText& failure)
{
    // The store's own lock only covers a single write; the game's covers the
    // read before it as well.
    StoreLock lock(GameLockPath(), LibraryLockPath(), LockWaitMs);
    QStringList stored;
    for (const QString& key : keys)
        stored << ReadString(section, key, QString());
    QList<Change> changes;
    for (const auto& [key, value] : decide(stored))
        changes.append({key, value});
    if (Store(section, changes, &lock))
        return true;
    if (failure) {
        failureShown = true;
        ReportError(failure(StoreLocation()));
    } else {
        ReportUnwritable(StoreLocation());
    }
    return false;
}

bool TIniCtrl::Store(const QString& section, const QList<Change>& changes, StoreLock* held)
{
    if (changes.isEmpty())
        return true;
#ifdef Q_OS_WIN
    Q_UNUSED(held);
    QSettings store(QSettings::NativeFormat, QSettings::UserScope, organization_, application_);
#else
    const QString path = StoreLocation();
    // Only a store that can be read whole may be written: the writer keeps
    // every value it finds, and would have to decode them all.
    if (Examine(path).condition != Condition::Readable)
        return false;
    std::optional<StoreLock> ownLock;
    if (!held)
        held = &ownLock.emplace(GameLockPath(), LibraryLockPath(), LockWaitMs);
    QSettings store(path, QSettings::IniFormat);
    if (store.status() == QSettings::AccessError)
        return false;
#endif
    struct Previous {
        QString path;
        bool existed = false;
        QVariant value;
    };
    QList<Previous> previous;
    for (const auto& [key, value] : changes) {
        const QString path = ValuePath(section, key);
        const bool existed = store.contains(path);
        // Nothing to do, and nothing to fail, when the store holds it already.
        if (value ? existed && StoredText(store, path) == *value : !existed)
            continue;
        previous.append({path, existed, store.value(path)});
        if (value)
            store.setValue(path, QVariant(*value)); // always a QString: the store holds text
        else
            store.remove(path);
    }
    if (previous.isEmpty())
        return true;
#ifndef Q_OS_WIN
    held->ClearLibraryLock();
#endif
    // One sync writes every change in a single replacement of the file.
    store.sync();

    // A file that could not be parsed completely reports FormatError, yet the
    // write went through; only AccessError means the change was not stored.
    if (store.status() != QSettings::AccessError)
        return true;
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
    return false;
}

void TIniCtrl::ResetFailureNotice()
{
    failureShown = false;
}

QString TIniCtrl::StoreLocation() const
{
#ifdef Q_OS_WIN
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, organization_, RegistryApplication(application_))
        .fileName();
#else
    return UserConfigHome() + u'/' + organization_ + u'/' + application_ + QStringLiteral(".conf");
#endif
}
