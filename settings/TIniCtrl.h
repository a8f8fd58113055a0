#pragma once
// The settings component of the main window ("ini"): typed reads and writes
// of named text values grouped in sections, kept in the current user's
// settings store (registry on Windows, an ini file elsewhere).
//
// Every operation opens the store afresh and writes through at once, so a
// value written is seen by the next read, also by another TIniCtrl, and a
// killed process loses nothing that was written before.
//
// Something other than a plain file in the store's place (a FIFO, a device, a
// directory, a file of absurd size) or in place of its lock would block or
// flood the store's reader; such a store is left alone: reads give their
// defaults and writes fail, as for a store that cannot be read or written.
// A store in which a hand edit left values the reader must not decode is
// read without them and never written, so that the player can mend it.
#include <QList>
#include <QSettings>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <utility>

class StoreLock;

class TIniCtrl
{
public:
    // Where the game keeps its values; other names only for tests and tools.
    explicit TIniCtrl(QString organization = QStringLiteral("Orvane"),
                      QString application = QStringLiteral("Tangrix V2"));

    // Reads never create anything; a missing or unreadable value gives def.
    // A boolean reads "true" and "false" (as other tools write them) as well
    // as numbers, any non-zero number being true.
    bool ReadBool(const QString& section, const QString& key, bool def) const;
    int ReadInteger(const QString& section, const QString& key, int def) const;
    QString ReadString(const QString& section, const QString& key, const QString& def) const;

    // Every value is stored as text: "1"/"0", decimal numbers, the string.
    // The first trouble of a run (a store that cannot be read, or a failed
    // write) is told in the game's language, naming the store's file; later
    // ones stay silent, since a store that cannot be used fails every
    // operation and one notice is enough.
    void WriteBool(const QString& section, const QString& key, bool value);
    void WriteInteger(const QString& section, const QString& key, int value);
    void WriteString(const QString& section, const QString& key, const QString& value);
    void DeleteKey(const QString& section, const QString& key);
    // Several values in one write: a crash or a kill leaves the store with
    // all of them or none, never with a part (the high-score table's rows
    // belong together).
    void WriteStrings(const QString& section, const QList<std::pair<QString, QString>>& values);
    // Values written, or deleted where there is none, in one write; values
    // the store already holds as they are cost no write at all.
    using Change = std::pair<QString, std::optional<QString>>;
    void WriteChanges(const QString& section, const QList<Change>& changes);

    // Reads `keys` (a missing one as empty text), lets `decide` say from them
    // what to write, and writes that in one write. Another copy of the game
    // doing the same waits meanwhile, so that neither writes over a value the
    // other has just stored. No lock, the game's or the store library's, is
    // waited for beyond LockWaitMs. False when nothing could be stored; the
    // player is then told `failure` (given the store's file), whatever was
    // told before, since this is what the player has just asked for.
    using Decision = std::function<QList<std::pair<QString, QString>>(const QStringList& stored)>;
    using FailureText = std::function<QString(const QString& storeFile)>;
    bool UpdateStrings(const QString& section, const QStringList& keys, const Decision& decide,
                       const FailureText& failure = {});
    static constexpr int LockWaitMs = 3000;

    // The file (or registry path) the values live in. Never opens it.
    QString StoreLocation() const;

    // Lets the next failure be shown again, as at the start of a run.
    static void ResetFailureNotice();

private:
    // The store to read from, or nothing if it must not be read (the player
    // is told why). A store with values the reader must not see is read from
    // a copy without them.
    std::unique_ptr<QSettings> OpenForReading() const;
    std::optional<QString> ReadText(const QString& section, const QString& key) const;

    // Writes the changes in one write of the store, under the game's lock
    // (taken here unless `held`); a failure is taken back. False when nothing
    // was stored.
    bool Store(const QString& section, const QList<Change>& changes, StoreLock* held);
    QString GameLockPath() const;
    QString LibraryLockPath() const;

    QString organization_;
    QString application_;
};
