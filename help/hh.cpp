#include "help/hh.h"

#include <QThread>
#include <QWidget>

#include "help/HelpTrace.h"
#include "help/HelpViewer.h"

#ifdef Q_OS_WIN
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <string>
#include <windows.h>
#else
#include "help/ChmHelpViewer.h"
#endif

#include <memory>

#ifdef Q_OS_WIN
bool HHInstalled = false;
#else
// The game's own viewer is built in, so it is there even before InitHelpLayer.
bool HHInstalled = true;
#endif

namespace {

// The viewer in place of the platform's: the game's own, installed by the
// program, or a test's stand-in.
HelpViewer* g_standIn = nullptr;
#ifdef Q_OS_WIN
bool g_controlLoaded = false;
#else
bool g_controlLoaded = true;
#endif

#ifdef Q_OS_WIN

using HtmlHelpAProc = HWND(WINAPI*)(HWND caller, LPCSTR file, UINT command, DWORD_PTR data);
using HtmlHelpWProc = HWND(WINAPI*)(HWND caller, LPCWSTR file, UINT command, DWORD_PTR data);

HMODULE g_control = nullptr;
HtmlHelpAProc g_HtmlHelpA = nullptr;
HtmlHelpWProc g_HtmlHelpW = nullptr;
QString g_controlVersion;
// The viewer's window of the last topic shown, while it is open.
HWND g_topicWindow = nullptr;

// Releases the control when the program ends.
struct ControlRelease {
    ~ControlRelease()
    {
        if (g_control)
            FreeLibrary(g_control);
    }
} g_release;

QString WindowsDirectory()
{
    wchar_t buffer[MAX_PATH];
    const UINT length = GetWindowsDirectoryW(buffer, MAX_PATH);
    return length > 0 && length < MAX_PATH ? QString::fromWCharArray(buffer, int(length)) : QString();
}

QString SystemDirectory()
{
    wchar_t buffer[MAX_PATH];
    const UINT length = GetSystemDirectoryW(buffer, MAX_PATH);
    return length > 0 && length < MAX_PATH ? QString::fromWCharArray(buffer, int(length)) : QString();
}

// Where the registry says the control lives, or else the system folder.
QString ControlFile()
{
    const QSettings registry(
        QStringLiteral("HKEY_CLASSES_ROOT\\CLSID\\{adb880a6-d8ff-11cf-9377-00aa003b7a11}\\InprocServer32"),
        QSettings::NativeFormat);
    QString path = registry.value(QStringLiteral("Default")).toString();
    const QString placeholder = QStringLiteral("%SystemRoot%");
    if (path.left(placeholder.size()).compare(placeholder, Qt::CaseInsensitive) == 0)
        path = WindowsDirectory() + path.mid(placeholder.size());
    if (path.isEmpty() || !QFileInfo::exists(path))
        path = SystemDirectory() + QStringLiteral("\\hhctrl.ocx");
    return path;
}

QString FileVersion(const QString& path)
{
    const std::wstring file = path.toStdWString();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
    if (size == 0)
        return {};
    QByteArray info(int(size), '\0');
    if (!GetFileVersionInfoW(file.c_str(), 0, size, info.data()))
        return {};
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) || !fixed)
        return {};
    return QStringLiteral("%1.%2.%3.%4")
        .arg(HIWORD(fixed->dwFileVersionMS))
        .arg(LOWORD(fixed->dwFileVersionMS))
        .arg(HIWORD(fixed->dwFileVersionLS))
        .arg(LOWORD(fixed->dwFileVersionLS));
}

HelpTraceFacts LoadHelpControl()
{
    if (!g_control) {
        g_control = LoadLibraryW(L"hhctrl.ocx");
        const QString registered = ControlFile();
        if (!g_control && QFileInfo::exists(registered))
            g_control = LoadLibraryW(registered.toStdWString().c_str());
        if (g_control) {
            g_HtmlHelpA = reinterpret_cast<HtmlHelpAProc>(GetProcAddress(g_control, "HtmlHelpA"));
            g_HtmlHelpW = reinterpret_cast<HtmlHelpWProc>(GetProcAddress(g_control, "HtmlHelpW"));
        }
        g_controlVersion = FileVersion(registered);
    }
    g_controlLoaded = g_control != nullptr && g_HtmlHelpW != nullptr;
    HHInstalled = !g_controlVersion.isEmpty();

    HelpTraceFacts facts;
    facts.viewerInstalled = HHInstalled;
    facts.viewerVersion = g_controlVersion;
    facts.viewerFriendlyVersion = QStringLiteral("HTML Help control %1").arg(g_controlVersion);
    const QString browser = FileVersion(SystemDirectory() + QStringLiteral("\\mshtml.dll"));
    facts.browserInstalled = !browser.isEmpty();
    facts.browserVersion = browser;
    facts.browserFriendlyVersion = QStringLiteral("Internet Explorer %1").arg(browser);
    return facts;
}

void PlatformShowTopic(const QString& path, quint32 context)
{
    if (!g_HtmlHelpW)
        return;
    // The wide call: a program folder whose name the ANSI code page cannot
    // spell would otherwise be asked for under a garbled name.
    const std::wstring file = QDir::toNativeSeparators(path).toStdWString();
    const HWND window = g_HtmlHelpW(GetDesktopWindow(), file.c_str(), kHtmlHelpShowContext, context);
    g_topicWindow = window;
    if (window)
        SetForegroundWindow(window);
}

void PlatformFollowTopic(const QString& path, quint32 context)
{
    // The control shows a topic in its open window, so asking again changes it.
    if (!g_HtmlHelpW || !g_topicWindow || !IsWindow(g_topicWindow) || !IsWindowVisible(g_topicWindow))
        return;
    const std::wstring file = QDir::toNativeSeparators(path).toStdWString();
    g_topicWindow = g_HtmlHelpW(GetDesktopWindow(), file.c_str(), kHtmlHelpShowContext, context);
}

void PlatformCloseAll()
{
    if (g_HtmlHelpW)
        g_HtmlHelpW(nullptr, nullptr, kHtmlHelpCloseAll, 0);
    g_topicWindow = nullptr;
}

#else

HelpTraceFacts LoadHelpControl()
{
    g_controlLoaded = true;
    HHInstalled = true;
    HelpTraceFacts facts;
    facts.viewerInstalled = true;
    facts.viewerVersion = QStringLiteral("chmlib");
    facts.viewerFriendlyVersion = QStringLiteral("Tangrix help viewer on chmlib");
    facts.browserInstalled = true;
    facts.browserVersion = QString::fromLatin1(qVersion());
    facts.browserFriendlyVersion = QStringLiteral("Qt %1 text browser").arg(QString::fromLatin1(qVersion()));
    return facts;
}

// Without a viewer installed there is nothing to show topics with.
void PlatformShowTopic(const QString&, quint32) {}

void PlatformFollowTopic(const QString&, quint32) {}

void PlatformCloseAll() {}

#endif

} // namespace

void InitHelpLayer(const QStringList& args, const QString& programDir)
{
    const HelpTraceFacts facts = LoadHelpControl();
    InitHelpTrace(args, programDir, facts);
}

bool HelpControlLoaded()
{
    return g_controlLoaded;
}

void HHShowTopic(const QString& path, quint32 context)
{
    if (g_standIn) {
        if (QWidget* window = g_standIn->ShowContext(path, context)) {
            window->raise();
            window->activateWindow();
        }
        return;
    }
    PlatformShowTopic(path, context);
}

void HHFollowTopic(const QString& path, quint32 context)
{
    if (g_standIn)
        g_standIn->FollowContext(path, context);
    else
        PlatformFollowTopic(path, context);
}

void HHCloseAll()
{
    if (g_standIn)
        g_standIn->CloseAll();
    else
        PlatformCloseAll();
    QThread::yieldCurrentThread();
}

HelpViewer* SetHelpViewer(HelpViewer* viewer)
{
    HelpViewer* previous = g_standIn;
    g_standIn = viewer;
    return previous;
}

std::unique_ptr<HelpViewer> MakeOwnHelpViewer(HelpWindowHost* host)
{
#ifdef Q_OS_WIN
    Q_UNUSED(host);
    return nullptr;
#else
    return std::make_unique<ChmHelpViewer>(host);
#endif
}
