#include "help/HelpTrace.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSysInfo>
#include <QTextStream>

#ifdef Q_OS_UNIX
#include <sys/utsname.h>
#endif

namespace {

bool g_traceOn = false;
QString g_traceFile;

// The trace goes beside the program unless that folder cannot be written.
QString TraceFolder(const QString& programDir)
{
    // Made new or not at all: whatever already bears the name (a file, or a
    // link to someone else's file) is neither followed, truncated nor deleted.
    QFile probe(QDir(programDir).filePath(QStringLiteral("$_Temp_$.$$$")));
    if (probe.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        probe.close();
        probe.remove();
        return programDir;
    }
    const QString temp = QDir::tempPath();
    if (QFileInfo(temp).isDir())
        return temp;
#ifdef Q_OS_WIN
    return QStringLiteral("c:");
#else
    return QStringLiteral("/");
#endif
}

bool SwitchedOn(const QStringList& args, const QString& programDir)
{
    if (QFileInfo::exists(QDir(programDir).filePath(QStringLiteral("debug.debug"))))
        return true;
    for (const QString& arg : args.mid(1)) {
        if (arg.compare(QStringLiteral("/debug"), Qt::CaseInsensitive) == 0
            || arg.compare(QStringLiteral("-debug"), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

// The locale's long time format, without the time zone that Qt adds to it.
QString TimeOfDay()
{
    const QLocale locale = QLocale::system();
    QString format;
    bool quoted = false;
    for (const QChar c : locale.timeFormat(QLocale::LongFormat)) {
        if (c == u'\'')
            quoted = !quoted;
        if (quoted || c != u't')
            format += c;
    }
    return locale.toString(QTime::currentTime(), format.trimmed());
}

QString OperatingSystem()
{
    QString name = QSysInfo::kernelType();
    QString release = QSysInfo::kernelVersion();
#ifdef Q_OS_UNIX
    utsname uts{};
    if (uname(&uts) == 0) {
        name = QString::fromLocal8Bit(uts.sysname);
        release = QString::fromLocal8Bit(uts.release);
    }
#endif
    // "6.1.0-13-amd64": major, minor, and the third number as the build.
    const QStringList parts = release.split(u'.');
    auto number = [&](int i) {
        if (i >= parts.size())
            return 0;
        QString digits;
        for (const QChar c : parts[i]) {
            if (!c.isDigit())
                break;
            digits += c;
        }
        return digits.toInt();
    };
    return QStringLiteral("%1 %2.%3 (Build %4) %5")
        .arg(name)
        .arg(number(0))
        .arg(number(1))
        .arg(number(2))
        .arg(QSysInfo::prettyProductName());
}

QString ExecutablePath()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationFilePath();
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
}

QString ExecutableVersion()
{
    const QString version = QCoreApplication::applicationVersion();
    return version.isEmpty() ? QStringLiteral("(none)") : version;
}

QString YesNo(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

void WriteHeader(const QStringList& args, const QString& programDir, const HelpTraceFacts& facts)
{
    const QLocale locale = QLocale::system();
    const QString exe = ExecutablePath();
    DebugOut(QStringLiteral("="));
    DebugOut(QStringLiteral("!Log File:             %1").arg(QDir::toNativeSeparators(g_traceFile)));
    DebugOut(QStringLiteral("!Date:                 %1").arg(locale.toString(QDateTime::currentDateTime(), QLocale::ShortFormat)));
    DebugOut(QStringLiteral("!Operating System:      %1").arg(OperatingSystem()));
    DebugOut(QStringLiteral("!SysLocale.DefaultLCID: %1 (%2)").arg(locale.name(), locale.nativeLanguageName()));
    DebugOut(QStringLiteral("!SysLocale.PriLangID:   %1 (%2)")
                 .arg(QLocale::languageToCode(locale.language()), QLocale::languageToString(locale.language())));
    DebugOut(QStringLiteral("!SysLocale.SubLangID:   %1 (%2)")
                 .arg(QLocale::territoryToCode(locale.territory()), QLocale::territoryToString(locale.territory())));
    DebugOut(QStringLiteral("!DecimalSeparator:      %1").arg(locale.decimalPoint()));
    DebugOut(QStringLiteral("-"));
    DebugOut(QStringLiteral("!EXE Path =          %1").arg(QDir::toNativeSeparators(exe)));
    DebugOut(QStringLiteral("!EXE Version =       %1").arg(ExecutableVersion()));
    DebugOut(QStringLiteral("!Cmdline Param(s) =  %1").arg(args.mid(1).join(QStringLiteral(" | "))));
    DebugOut(QStringLiteral("!Actual CmdLine =  %1").arg(args.join(u' ')));
    DebugOut(QStringLiteral("!_RunDir =           %1").arg(QDir::toNativeSeparators(QDir::currentPath())));
    // The help layer is linked into the program, so its module is the program.
    DebugOut(QStringLiteral("!_ModuleName =       %1").arg(QFileInfo(exe).fileName()));
    DebugOut(QStringLiteral("!_ModuleDir =        %1").arg(QDir::toNativeSeparators(programDir)));
    DebugOut(QStringLiteral("!_ModulePath =        %1").arg(QDir::toNativeSeparators(exe)));
    DebugOut(QStringLiteral("!Module Version =       %1").arg(ExecutableVersion()));
    DebugOut(QStringLiteral("!_hhInstalled =      %1").arg(YesNo(facts.viewerInstalled)));
    DebugOut(QStringLiteral("!_hhVerStr =         %1").arg(facts.viewerVersion));
    DebugOut(QStringLiteral("!_hhFriendlyVerStr = %1").arg(facts.viewerFriendlyVersion));
    DebugOut(QStringLiteral("!_ieInstalled =      %1").arg(YesNo(facts.browserInstalled)));
    DebugOut(QStringLiteral("!_ieVerStr =         %1").arg(facts.browserVersion));
    DebugOut(QStringLiteral("!_ieFriendlyVerStr = %1").arg(facts.browserFriendlyVersion));
}

// A trace this game wrote: a plain file that opens with the header's rule
// and names itself as the log file.
bool IsOwnTrace(const QString& path)
{
    const QFileInfo info(path);
    if (info.isSymLink() || !info.isFile())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    const QString rule = QString::fromUtf8(file.readLine()).trimmed();
    const QString logFile = QString::fromUtf8(file.readLine()).trimmed();
    return rule == QString(80, u'=')
        && logFile == QStringLiteral("Log File:             %1").arg(QDir::toNativeSeparators(path));
}

} // namespace

void InitHelpTrace(const QStringList& args, const QString& programDir, const HelpTraceFacts& facts)
{
    g_traceOn = false;
    const QString folder = TraceFolder(programDir);
    g_traceFile = QDir(folder).filePath(QStringLiteral("HHDebug.txt"));
    // Beside the program the name is the game's. In the temporary folder,
    // which everyone shares, only a trace of the game's own is deleted;
    // another program's file of that name stays, and the trace is given up.
    if (folder == programDir || IsOwnTrace(g_traceFile))
        QFile::remove(g_traceFile);
    if (!SwitchedOn(args, programDir))
        return;
    // A trace that cannot be created is given up silently.
    // The old trace was deleted above; what stands there now is not ours.
    QFile file(g_traceFile);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return;
    file.close();
    g_traceOn = true;
    WriteHeader(args, programDir, facts);
}

bool HelpTraceOn()
{
    return g_traceOn;
}

QString HelpTraceFile()
{
    return g_traceFile;
}

void DebugOut(const QString& text)
{
    if (!g_traceOn)
        return;
    QString line;
    if (text == u"-" || text == u"=")
        line = QString(80, text[0]);
    else if (text.startsWith(u'!') || text.startsWith(u'-') || text.startsWith(u'='))
        line = text.mid(1);
    else
        line = TimeOfDay() + QStringLiteral("   ") + text;

    QFile file(g_traceFile);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
        return;
    QTextStream out(&file);
    out << line << '\n';
}
