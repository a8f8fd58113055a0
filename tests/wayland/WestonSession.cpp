#include "tests/wayland/WestonSession.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcessEnvironment>

#include <algorithm>
#include <csignal>
#include <iterator>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "tests/e2e/Poll.h"

namespace {
constexpr int AnswerMs = 10000;
} // namespace

WestonSession::~WestonSession()
{
    if (driver_ >= 0)
        ::close(driver_);
    if (Running()) {
        weston_.terminate();
        if (!weston_.waitForFinished(5000))
            weston_.kill();
        weston_.waitForFinished(2000);
    }
}

QString WestonSession::Start(QSize screen, const QString& logFile)
{
    if (!runtimeDir_.isValid())
        return QStringLiteral("no temporary directory");
    // Clients refuse a runtime directory that others may enter.
    QFile::setPermissions(runtimeDir_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    socketName_ = QStringLiteral("tangrix-test-%1").arg(QCoreApplication::applicationPid());
    const QString driverSocket = QDir(runtimeDir_.path()).filePath(QStringLiteral("driver"));

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir_.path());
    env.insert(QStringLiteral("TANGRIX_WESTON_DRIVER"), driverSocket);
    // Nothing of a desktop this test may run in.
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("DISPLAY"));
    weston_.setProcessEnvironment(env);
    weston_.setProcessChannelMode(QProcess::MergedChannels);
    weston_.setStandardOutputFile(logFile);
    // Goes with the test program, also when that is killed or crashes.
    weston_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    weston_.start(QStringLiteral("weston"),
                  {QStringLiteral("--backend=headless-backend.so"), QStringLiteral("--use-pixman"),
                   QStringLiteral("--no-config"), QStringLiteral("--idle-time=0"),
                   QStringLiteral("--width=%1").arg(screen.width()), QStringLiteral("--height=%1").arg(screen.height()),
                   QStringLiteral("--socket=") + socketName_,
                   QStringLiteral("--modules=") + QStringLiteral(TANGRIX_WESTON_DRIVER_MODULE)});
    if (!weston_.waitForStarted(10000))
        return QStringLiteral("weston did not start: ") + weston_.errorString();
    const bool answers = Poll([&] { return !Running() || (Connect(driverSocket) && Command(QStringLiteral("pointer"))); },
                              30000);
    if (!Running())
        return QStringLiteral("weston ended at once (see %1)").arg(logFile);
    if (!answers)
        return QStringLiteral("the driver module does not answer (see %1)").arg(logFile);
    return {};
}

bool WestonSession::Connect(const QString& path)
{
    if (driver_ >= 0)
        return true;
    if (!QFile::exists(path))
        return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    if (fd < 0 || size_t(name.size()) >= sizeof address.sun_path) {
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    std::copy(name.begin(), name.end(), address.sun_path);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) < 0) {
        ::close(fd);
        return false;
    }
    driver_ = fd;
    return true;
}

bool WestonSession::Command(const QString& command, QStringList* lines)
{
    if (driver_ < 0)
        return false;
    const QByteArray out = command.toUtf8() + '\n';
    if (::write(driver_, out.constData(), size_t(out.size())) != out.size())
        return false;
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        qsizetype end;
        while ((end = pending_.indexOf('\n')) >= 0) {
            const QString line = QString::fromUtf8(pending_.left(end));
            pending_.remove(0, end + 1);
            if (line == QLatin1String("ok"))
                return true;
            if (line.startsWith(QLatin1String("error")))
                return false;
            if (lines)
                lines->append(line);
        }
        pollfd ready{driver_, POLLIN, 0};
        const int left = AnswerMs - int(clock.elapsed());
        if (left <= 0 || ::poll(&ready, 1, left) <= 0)
            return false;
        char buffer[4096];
        const ssize_t got = ::read(driver_, buffer, sizeof buffer);
        if (got <= 0)
            return false;
        pending_.append(buffer, got);
    }
}

bool WestonSession::Key(int code, bool down)
{
    return Command(QStringLiteral("key %1 %2").arg(code).arg(down ? 1 : 0));
}

bool WestonSession::Keys(std::initializer_list<int> codes)
{
    bool ok = true;
    for (const int code : codes)
        ok = Key(code, true) && ok;
    for (auto code = std::rbegin(codes); code != std::rend(codes); ++code)
        ok = Key(*code, false) && ok;
    return ok;
}

bool WestonSession::MovePointer(QPoint to)
{
    return Command(QStringLiteral("motion %1 %2").arg(to.x()).arg(to.y()));
}

bool WestonSession::Button(int code, bool down)
{
    return Command(QStringLiteral("button %1 %2").arg(code).arg(down ? 1 : 0));
}

std::optional<WestonPointer> WestonSession::Pointer()
{
    QStringList lines;
    if (!Command(QStringLiteral("pointer"), &lines) || lines.size() != 1)
        return std::nullopt;
    const QStringList parts = lines.front().split(u' ');
    if (parts.size() != 6)
        return std::nullopt;
    return WestonPointer{{parts[1].toInt(), parts[2].toInt()}, parts[3].toInt(), parts[4] == QLatin1String("1"), parts[5]};
}

QList<WestonWindow> WestonSession::Windows()
{
    QStringList lines;
    QList<WestonWindow> windows;
    if (!Command(QStringLiteral("windows"), &lines))
        return windows;
    for (const QString& line : lines) {
        const QStringList f = line.split(u'\t');
        if (f.size() != 11 || f[0] != QLatin1String("window"))
            continue;
        windows.append({f[1], f[2], f[3], QRect(f[4].toInt(), f[5].toInt(), f[6].toInt(), f[7].toInt()),
                        f[8] == QLatin1String("1"), f[9], f[10]});
    }
    return windows;
}
