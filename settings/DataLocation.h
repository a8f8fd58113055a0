#pragma once
// Where the program finds its own data (help file, music) from where it runs.
#include <QString>

#include <optional>

// programDir and the result end in '/'. An installed game keeps its data
// apart from the program, in <prefix>/share/tangrix/ beside <prefix>/games/
// (or bin/); a build tree or a portable copy keeps it beside the program.
QString DataDirFor(const QString& programDir);

// The program's folder with a trailing '/', from the path the system reports
// for it; nothing when that is no existing folder. A folder whose name cannot
// be decoded in the current locale comes back empty (or as a name that does
// not exist), and the program must then look neither in '/' nor in the
// current folder for its files.
std::optional<QString> ProgramDirFrom(const QString& applicationDirPath);
