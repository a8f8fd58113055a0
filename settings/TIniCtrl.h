#pragma once
// The settings component of the main window ("ini"): typed reads and writes
// of named text values grouped in sections, kept in the current user's
// settings store (registry on Windows, an ini file elsewhere).
//
// Every operation opens the store afresh and writes through at once, so a
// value written is seen by the next read, also by another TIniCtrl, and a
// killed process loses nothing that was written before.
#include <QList>
#include <QSettings>
#include <QString>

#include <optional>
#include <utility>

class TIniCtrl
{
public:
    // Where the game keeps its values; other names only for tests and tools.
    explicit TIniCtrl(QString organization = QStringLiteral("Orvane"),
                      QString application = QStringLiteral("Tangrix V2"));

    // Reads never create anything; a missing or unreadable value gives def.
    bool ReadBool(const QString& section, const QString& key, bool def) const;
    int ReadInteger(const QString& section, const QString& key, int def) const;
    QString ReadString(const QString& section, const QString& key, const QString& def) const;

    // Every value is stored as text: "1"/"0", decimal numbers, the string.
    // The first failed write of a run is shown in the standard error box;
    // later ones stay silent, since a store that cannot be written fails
    // every write (sixteen at a single high-score OK) and one notice is enough.
    void WriteBool(const QString& section, const QString& key, bool value);
    void WriteInteger(const QString& section, const QString& key, int value);
    void WriteString(const QString& section, const QString& key, const QString& value);
    void DeleteKey(const QString& section, const QString& key);
    // Several values in one write: a crash or a kill leaves the store with
    // all of them or none, never with a part (the high-score table's rows
    // belong together).
    void WriteStrings(const QString& section, const QList<std::pair<QString, QString>>& values);

    // The file (or registry path) the values live in.
    QString StoreLocation() const;

    // Lets the next failed write be shown again, as at the start of a run.
    static void ResetFailureNotice();

private:
    // Writes each value, or deletes it when there is none, in one write of
    // the store; a failure is taken back and reported (the first one of the
    // run only).
    using Change = std::pair<QString, std::optional<QString>>;
    void ChangeValues(const QString& section, const QList<Change>& changes);

    QString m_organization;
    QString m_application;
};
