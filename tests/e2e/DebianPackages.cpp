#include "tests/e2e/DebianPackages.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>

namespace DebianPackages {
namespace {

struct CommandRun {
    bool started = false;
    QString out;
};

CommandRun Run(const QString& program, const QStringList& args)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // Field names and messages as the parsers here expect them.
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    p.setProcessEnvironment(env);
    p.start(program, args);
    CommandRun run;
    run.started = p.waitForStarted(10000) && p.waitForFinished(120000);
    run.out = QString::fromUtf8(p.readAllStandardOutput());
    return run;
}

// Fields of a control paragraph, continuation lines joined.
QHash<QString, QString> Fields(const QString& paragraph)
{
    QHash<QString, QString> fields;
    QString last;
    for (const QString& line : paragraph.split(u'\n')) {
        if (line.startsWith(u' ') && !last.isEmpty()) {
            fields[last] += u' ' + line.trimmed();
            continue;
        }
        const qsizetype colon = line.indexOf(u':');
        if (colon <= 0)
            continue;
        last = line.left(colon);
        fields[last] = line.mid(colon + 1).trimmed();
    }
    return fields;
}

struct Package {
    QList<QStringList> relations; // Depends, Pre-Depends and Recommends
};

// apt-cache's candidate of each name; names it has no candidate for
// (virtual ones) are missing from the result.
QHash<QString, Package> Describe(const QStringList& names, QString* error)
{
    QHash<QString, Package> found;
    if (names.isEmpty())
        return found;
    const CommandRun run = Run(QStringLiteral("apt-cache"), QStringList{QStringLiteral("show"), QStringLiteral("--no-all-versions")} + names);
    if (!run.started) {
        *error = QStringLiteral("apt-cache show did not run");
        return found;
    }
    for (const QString& paragraph : run.out.split(QStringLiteral("\n\n"), Qt::SkipEmptyParts)) {
        const QHash<QString, QString> fields = Fields(paragraph);
        const QString name = fields.value(QStringLiteral("Package"));
        if (name.isEmpty() || found.contains(name))
            continue;
        Package& package = found[name];
        for (const char* field : {"Depends", "Pre-Depends", "Recommends"})
            package.relations += ParseRelations(fields.value(QString::fromLatin1(field)));
    }
    return found;
}

// The installed packages, and for each name they provide, its installed providers.
struct Installed {
    QSet<QString> packages;
    QHash<QString, QString> providerOf;
};

Installed ReadInstalled()
{
    Installed installed;
    const CommandRun run = Run(QStringLiteral("dpkg-query"),
                         {QStringLiteral("-W"), QStringLiteral("-f=${Package}\t${db:Status-Abbrev}\t${Provides}\n")});
    for (const QString& line : run.out.split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList fields = line.split(u'\t');
        if (fields.size() < 3 || !fields[1].startsWith(QStringLiteral("ii")))
            continue;
        installed.packages.insert(fields[0]);
        for (const QStringList& provided : ParseRelations(fields[2]))
            installed.providerOf.insert(provided.first(), fields[0]);
    }
    return installed;
}

// The first package apt lists as providing a purely virtual name.
QString FirstProvider(const QString& name)
{
    const QString out = Run(QStringLiteral("apt-cache"), {QStringLiteral("showpkg"), name}).out;
    const qsizetype at = out.indexOf(QStringLiteral("Reverse Provides:"));
    if (at < 0)
        return {};
    for (const QString& line : out.mid(at).split(u'\n').mid(1))
        if (const QString provider = line.section(u' ', 0, 0).trimmed(); !provider.isEmpty())
            return provider;
    return {};
}

} // namespace

QList<QStringList> ParseRelations(const QString& field)
{
    static const QRegularExpression qualifiers(QStringLiteral(R"(\([^)]*\)|\[[^\]]*\]|<[^>]*>)"));
    QList<QStringList> groups;
    for (const QString& group : QString(field).remove(qualifiers).split(u',', Qt::SkipEmptyParts)) {
        QStringList names;
        for (const QString& alternative : group.split(u'|', Qt::SkipEmptyParts)) {
            const QString name = alternative.trimmed().section(u':', 0, 0);
            if (!name.isEmpty())
                names << name;
        }
        if (!names.isEmpty())
            groups << names;
    }
    return groups;
}

QHash<QString, QString> Owners(const QStringList& paths)
{
    // Each path with the names the package database may know it by.
    QHash<QString, QStringList> candidates;
    QStringList all;
    for (const QString& path : paths) {
        QStringList names{path};
        if (path.startsWith(QStringLiteral("/usr/")))
            names << path.mid(4);
        else
            names << QStringLiteral("/usr") + path;
        const QString canonical = QFileInfo(path).canonicalFilePath();
        if (!canonical.isEmpty() && !names.contains(canonical))
            names << canonical;
        candidates[path] = names;
        all += names;
    }
    QHash<QString, QString> ownerOf;
    const CommandRun run = Run(QStringLiteral("dpkg-query"), QStringList{QStringLiteral("-S")} + all);
    for (const QString& line : run.out.split(u'\n', Qt::SkipEmptyParts)) {
        if (line.startsWith(QStringLiteral("diversion by")))
            continue;
        const qsizetype at = line.indexOf(QStringLiteral(": /"));
        if (at < 0)
            continue;
        // "libfoo1:amd64: /path" or "a, b: /path": the first owner will do.
        const QString owner = line.left(at).section(u',', 0, 0).trimmed().section(u':', 0, 0);
        ownerOf.insert(line.mid(at + 2), owner);
    }
    QHash<QString, QString> owners;
    for (const QString& path : paths)
        for (const QString& name : candidates[path])
            if (ownerOf.contains(name)) {
                owners.insert(path, ownerOf[name]);
                break;
            }
    return owners;
}

QSet<QString> Closure(const QList<QStringList>& relations, QString* error)
{
    const Installed installed = ReadInstalled();
    if (installed.packages.isEmpty()) {
        *error = QStringLiteral("dpkg-query lists no installed package");
        return {};
    }
    QSet<QString> taken;
    QHash<QString, Package> known;
    QSet<QString> virtualNames;
    QSet<QString> providersAskedFor;
    QList<QStringList> pending = relations;
    while (!pending.isEmpty() && error->isEmpty()) {
        // Every name still unknown, asked for in one go.
        QStringList unknown;
        for (const QStringList& group : pending)
            for (const QString& name : group)
                if (!known.contains(name) && !virtualNames.contains(name) && !unknown.contains(name))
                    unknown << name;
        const QHash<QString, Package> described = Describe(unknown, error);
        for (const QString& name : unknown) {
            if (described.contains(name))
                known.insert(name, described[name]);
            else
                virtualNames.insert(name);
        }

        QList<QStringList> next;
        for (const QStringList& group : pending) {
            // An alternative that is installed already satisfies the group,
            // as apt sees it; otherwise apt installs the first real package.
            QString chosen;
            for (const QString& name : group) {
                if (installed.packages.contains(name) && known.contains(name))
                    chosen = name;
                else if (installed.providerOf.contains(name))
                    chosen = installed.providerOf[name];
                if (!chosen.isEmpty())
                    break;
            }
            for (const QString& name : group)
                if (chosen.isEmpty() && known.contains(name))
                    chosen = name;
            if (chosen.isEmpty() && !providersAskedFor.contains(group.first())) {
                providersAskedFor.insert(group.first());
                chosen = FirstProvider(group.first());
            }
            if (chosen.isEmpty() || taken.contains(chosen))
                continue;
            if (!known.contains(chosen)) {
                // A provider: its own relations are asked for with the next round.
                next << QStringList{chosen};
                continue;
            }
            taken.insert(chosen);
            next += known[chosen].relations;
        }
        pending = next;
    }
    return taken;
}

} // namespace DebianPackages
