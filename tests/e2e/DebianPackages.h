#pragma once
// What Debian's own tools know of packages: which installed package owns a
// file, and which packages an installation brings in for a set of relations
// (Depends, Pre-Depends and Recommends, followed all the way down, as apt
// installs them by default).
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

namespace DebianPackages {

// A relation field ("a (>= 1), b | c:any") as its groups of alternatives,
// each a list of bare package names.
QList<QStringList> ParseRelations(const QString& field);

// The installed package that owns each path (paths no package owns are left
// out). A path under /usr is also looked up without it and the other way
// round, since the package database may name the other half of a merged /usr.
QHash<QString, QString> Owners(const QStringList& paths);

// Every package an installation brings in for the relations (groups as
// ParseRelations gives them), transitively through Depends, Pre-Depends and
// Recommends. As apt sees it, an alternative that is installed already
// (itself, or a package that provides it) satisfies its group; otherwise
// apt takes the first real package, or the first provider of a purely
// virtual name. error is set when the package tools cannot be asked.
QSet<QString> Closure(const QList<QStringList>& relations, QString* error);

} // namespace DebianPackages
