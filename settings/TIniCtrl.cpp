#include "settings/TIniCtrl.h"

#include "settings/IntegerText.h"
#include "ui/StandardErrorBox.h"

#include <QStringList>

#include <memory>

namespace {

// Shared by every TIniCtrl of the process: the program has one store, and
// the player needs to hear about it once per run, not once per component.
bool failureShown = false;

QString ValuePath(const QString& section, const QString& key)
{
    return section + u'/' + key;
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

bool TIniCtrl::ReadBool(const QString& section, const QString& key, bool def) const
{
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

int TIniCtrl::ReadInteger(const QString& section, const QString& key, int def) const
{
    const QSettings store(QSettings::NativeFormat, QSettings::UserScope, m_organization, m_application);
    const std::optional<QString> text = StoredText(store, ValuePath(section, key));
    return text ? StrToIntDef(*text, def) : def;
}

QString TIniCtrl::ReadString(const QString& section, const QString& key, const QString& def) const
{
    const QSettings store(QSettings::NativeFormat, QSettings::UserScope, m_organization, m_application);
    return StoredText(store, ValuePath(section, key)).value_or(def);
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

void TIniCtrl::ChangeValues(const QString& section, const QList<Change>& changes)
{
    QSettings store(QSettings::NativeFormat, QSettings::UserScope, m_organization, m_application);
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
    if (failureShown)
        return;
    failureShown = true;
    ShowStandardError(QString::fromUtf8("Fehler beim Setzen der Daten für '%1'").arg(previous.first().key));
}

void TIniCtrl::ResetFailureNotice()
{
    failureShown = false;
}

QString TIniCtrl::StoreLocation() const
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, m_organization, m_application).fileName();
}
