#pragma once
// Where the program finds its own data (help file, music) from where it runs.
#include <QString>

// programDir and the result end in '/'. An installed game keeps its data
// apart from the program, in <prefix>/share/tangrix/ beside <prefix>/games/
// (or bin/); a build tree or a portable copy keeps it beside the program.
QString DataDirFor(const QString& programDir);
