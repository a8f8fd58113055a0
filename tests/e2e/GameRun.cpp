#include "tests/e2e/GameRun.h"

#include "tests/e2e/ProgramCopy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>

QString WindowManager()
{
    return qEnvironmentVariable("TANGRIX_E2E_WM");
}

QString ArtefactFolder(const QString& run)
{
    const QString folder = WindowManager().isEmpty() ? run : WindowManager() + u'/' + run;
    return QDir(QStringLiteral(TANGRIX_E2E_ARTIFACTS)).filePath(folder);
}

QString StartDisplay(XDisplay& x, QSize screen, const QString& logName)
{
    QString error = x.Start(screen);
    if (!error.isEmpty() || WindowManager().isEmpty())
        return error;
    QDir().mkpath(ArtefactFolder(QString()));
    return x.StartWindowManager(WindowManager(), ArtefactFolder(logName));
}

bool WriteStore(const QString& configHome, bool sound, bool music, int tongue)
{
    QDir(configHome).mkpath(QStringLiteral("Orvane"));
    QFile store(QDir(configHome).filePath(QStringLiteral("Orvane/Tangrix V2.conf")));
    return store.open(QIODevice::WriteOnly) &&
           store.write(QStringLiteral("[common]\ntongue=%1\nsound=%2\nmusic=%3\n")
                           .arg(tongue)
                           .arg(int(sound))
                           .arg(int(music))
                           .toUtf8()) > 0;
}

MainLayout MainLayout::For(QSize client)
{
    MainLayout l;
    l.clientWidth = client.width();
    l.clientHeight = client.height();
    const int boxW = client.width();
    const int boxH = client.height() - StripHeight;
    l.c = std::max(1, std::min(boxW / 19, boxH / 16));
    l.boardLeft = (boxW - 17 * l.c - 12) / 2;
    l.boardTop = (boxH - 14 * l.c - 12) / 2;
    l.previewLeft = l.boardLeft + 15 * l.c + 12;
    return l;
}

GameRun::GameRun(XDisplay& x, QString artefacts, QString configHome)
    : x_(x), artefacts_(std::move(artefacts)), configHome_(std::move(configHome))
{
    QDir().mkpath(artefacts_);
    // Pictures of an earlier run would only confuse.
    for (const QFileInfo& old : QDir(artefacts_).entryInfoList({QStringLiteral("*.png")}, QDir::Files))
        QFile::remove(old.absoluteFilePath());
}

GameRun::~GameRun()
{
    if (Running()) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

QString GameRun::Start()
{
    if (!programDir_.isValid() || !runtimeDir_.isValid())
        return QStringLiteral("no temporary directory");
    QString program = installedProgram_;
    if (program.isEmpty()) {
        // A portable copy: the help file and the music beside the program.
        if (const QString error = CopyProgram(programDir_.path()); !error.isEmpty())
            return error;
        program = programDir_.filePath(QStringLiteral("tangrix"));
    }

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // Only a test that brings its own sound server gives the game one.
    env.remove(QStringLiteral("PULSE_SERVER"));
    env.insert(QStringLiteral("DISPLAY"), x_.Name());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome_);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir_.path());
    env.insert(QStringLiteral("TANGRIX_NO_SHOW_EFFECT"), QStringLiteral("1"));
    env.remove(QStringLiteral("TANGRIX_TEST_STORE"));
    env.insert(extraEnvironment_);
    process_.setProcessEnvironment(env);
    process_.setWorkingDirectory(programDir_.path());
    process_.setProcessChannelMode(QProcess::MergedChannels);
    process_.setStandardOutputFile(QDir(artefacts_).filePath(QStringLiteral("game-output.txt")));
    if (launcher_.isEmpty())
        process_.start(program, {});
    else
        process_.start(launcher_.first(), launcher_.mid(1) << program);
    if (!process_.waitForStarted(20000))
        return QStringLiteral("the game did not start: ") + process_.errorString();
    return {};
}

bool GameRun::WaitForExit(int ms)
{
    return !Running() || process_.waitForFinished(ms);
}

std::optional<XWindowInfo> GameRun::FindMainWindow() const
{
    for (const XWindowInfo& w : x_.VisibleWindows())
        if (w.name.startsWith(QStringLiteral("Tangrix V2.1")))
            return w;
    return std::nullopt;
}

QString GameRun::StartAndWaitForMainWindow(int ms)
{
    if (QString error = Start(); !error.isEmpty())
        return error;
    return WaitForMainWindow(ms);
}

QString GameRun::WaitForMainWindow(int ms)
{
    std::optional<XWindowInfo> found;
    if (!Poll([&] { return (found = FindMainWindow()).has_value() || !Running(); }, ms) || !found)
        return Running() ? QStringLiteral("no main window") : QStringLiteral("the game ended: ") + GameOutput();
    main_ = *found;
    layout_ = MainLayout::For(main_.geometry.size());
    // Wait for the first frame: the tool strip is drawn, not black.
    if (!Poll([&] { return Pixels::BlackShare(Shot(), QRect(0, 0, 150, 57)) < 0.5; }, ms))
        return QStringLiteral("the main window stays black");
    return {};
}

std::optional<XWindowInfo> GameRun::FindDialog(QSize size) const
{
    for (const XWindowInfo& w : x_.VisibleWindows())
        if (w.geometry.size() == size && w.id != main_.id)
            return w;
    return std::nullopt;
}

std::optional<XWindowInfo> GameRun::WaitForDialog(QSize size, int ms) const
{
    std::optional<XWindowInfo> found;
    // Shown is not yet drawn: a click on a window still black may be lost.
    Poll(
        [&] {
            found = FindDialog(size);
            return (found && Pixels::BlackShare(x_.Grab(), found->geometry) < 0.5) || !Running();
        },
        ms);
    return found;
}

bool GameRun::WaitUntilDialogGone(QSize size, int ms) const
{
    return Poll([&] { return !FindDialog(size); }, ms);
}

std::optional<XWindowInfo> GameRun::WaitForWindowNamed(const QString& part, int ms) const
{
    std::optional<XWindowInfo> found;
    Poll(
        [&] {
            for (const XWindowInfo& w : x_.VisibleWindows())
                if (w.name.contains(part) && w.id != main_.id) {
                    found = w;
                    return true;
                }
            return !Running();
        },
        ms);
    return found;
}

QImage GameRun::Shot() const
{
    return x_.Grab().copy(main_.geometry);
}

void GameRun::Keep(const QImage& image, const QString& step)
{
    ++step_;
    image.save(QDir(artefacts_).filePath(QStringLiteral("%1-%2.png").arg(step_, 2, 10, QLatin1Char('0')).arg(step)));
}

QImage GameRun::KeepScreen(const QString& step)
{
    const QImage screen = x_.Grab();
    Keep(screen, step);
    return screen;
}

QString GameRun::SettingsFile() const
{
    return QDir(configHome_).filePath(QStringLiteral("Orvane/Tangrix V2.conf"));
}

QString GameRun::GameOutput() const
{
    QFile f(QDir(artefacts_).filePath(QStringLiteral("game-output.txt")));
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}
