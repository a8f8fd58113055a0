#include "tests/e2e/SoundServer.h"

#include "tests/e2e/Poll.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QThread>
#include <algorithm>
#include <csignal>
#include <cstdlib>

namespace {
constexpr const char* SinkName = "tangrix_null";
constexpr int Patience = 20000;

template <class Condition>
bool WaitFor(Condition condition, int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > ms)
            return false;
        QThread::msleep(20);
    }
    return true;
}

void Stop(QProcess& process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(5000))
        process.kill();
    process.waitForFinished(2000);
}
} // namespace

SoundServer::~SoundServer()
{
    Resume();
    Stop(server_);
}

void SoundServer::Pause()
{
    if (Running())
        ::kill(pid_t(server_.processId()), SIGSTOP);
}

void SoundServer::Resume()
{
    if (Running())
        ::kill(pid_t(server_.processId()), SIGCONT);
}

void SoundServer::Kill()
{
    if (!Running())
        return;
    server_.kill();
    server_.waitForFinished(5000);
}

QString SoundServer::Missing()
{
    for (const char* tool : {"pulseaudio", "parec", "pactl"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            return QStringLiteral("%1 is not installed (Debian packages pulseaudio and pulseaudio-utils)")
                .arg(QString::fromLatin1(tool));
    return {};
}

QString SoundServer::Address() const
{
    return QStringLiteral("unix:") + dir_.filePath(QStringLiteral("native"));
}

QString SoundServer::Start()
{
    if (!dir_.isValid())
        return QStringLiteral("no temporary directory");
    // A home, runtime and configuration of its own: nothing of the user's
    // server or settings is read, and nothing of theirs is touched.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"HOME", "XDG_RUNTIME_DIR", "XDG_CONFIG_HOME"})
        env.insert(QString::fromLatin1(name), dir_.path());
    for (const char* name : {"PULSE_SERVER", "PULSE_SINK", "PULSE_SOURCE", "PULSE_CONFIG"})
        env.remove(QString::fromLatin1(name));
    server_.setProcessEnvironment(env);
    server_.setProcessChannelMode(QProcess::MergedChannels);
    server_.setStandardOutputFile(dir_.filePath(QStringLiteral("server.log")));
    // -n: no default script; the two modules are all there is. Never exits
    // by itself while the test runs.
    server_.start(QStringLiteral("pulseaudio"),
                  {QStringLiteral("--daemonize=no"), QStringLiteral("-n"), QStringLiteral("--use-pid-file=no"),
                   QStringLiteral("--exit-idle-time=-1"), QStringLiteral("--log-target=stderr"),
                   QStringLiteral("-L"), QStringLiteral("module-null-sink sink_name=%1").arg(QLatin1String(SinkName)),
                   QStringLiteral("-L"),
                   QStringLiteral("module-native-protocol-unix auth-anonymous=1 socket=%1")
                       .arg(dir_.filePath(QStringLiteral("native")))});
    if (!server_.waitForStarted(Patience))
        return QStringLiteral("pulseaudio did not start: ") + server_.errorString();
    bool ok = false;
    if (!WaitFor([&] { return (Pactl({QStringLiteral("info")}, &ok), ok) || server_.state() == QProcess::NotRunning; },
                 Patience) ||
        !ok) {
        QFile log(dir_.filePath(QStringLiteral("server.log")));
        log.open(QIODevice::ReadOnly);
        return QStringLiteral("pulseaudio does not answer: ") + QString::fromLocal8Bit(log.readAll());
    }
    return {};
}

QString SoundServer::Pactl(const QStringList& args, bool* ok) const
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PULSE_SERVER"), Address());
    p.setProcessEnvironment(env);
    p.start(QStringLiteral("pactl"), args);
    const bool finished = p.waitForFinished(Patience);
    if (ok)
        *ok = finished && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    return QString::fromUtf8(p.readAllStandardOutput());
}

int SoundServer::PlayingStreams() const
{
    return int(Pactl({QStringLiteral("list"), QStringLiteral("short"), QStringLiteral("sink-inputs")})
                   .split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                   .size());
}

SoundRecording::SoundRecording(const SoundServer& server) : server_(server) {}

SoundRecording::~SoundRecording()
{
    Stop(recorder_);
}

QString SoundRecording::Start()
{
    if (!dir_.isValid())
        return QStringLiteral("no temporary directory");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PULSE_SERVER"), server_.Address());
    recorder_.setProcessEnvironment(env);
    recorder_.setStandardOutputFile(dir_.filePath(QStringLiteral("monitor.raw")));
    recorder_.start(QStringLiteral("parec"),
                    {QStringLiteral("-d"), QStringLiteral("%1.monitor").arg(QLatin1String(SinkName)),
                     QStringLiteral("--raw"), QStringLiteral("--format=s16le"), QStringLiteral("--channels=2"),
                     QStringLiteral("--rate=%1").arg(Rate), QStringLiteral("--latency-msec=10")});
    if (!recorder_.waitForStarted(Patience))
        return QStringLiteral("parec did not start: ") + recorder_.errorString();
    // The null sink's monitor delivers silence steadily once it records.
    if (!WaitFor([&] { return Now() > Rate / 10 || recorder_.state() == QProcess::NotRunning; }, Patience) ||
        recorder_.state() == QProcess::NotRunning)
        return QStringLiteral("parec records nothing: ") + QString::fromLocal8Bit(recorder_.readAllStandardError());
    return {};
}

qint64 SoundRecording::Now() const
{
    return QFileInfo(dir_.filePath(QStringLiteral("monitor.raw"))).size() / 4;
}

namespace {
// The loudest channel of each frame in [from, to).
QList<int> Levels(const QString& file, qint64 from, qint64 to)
{
    QList<int> levels;
    QFile f(file);
    if (to <= from || !f.open(QIODevice::ReadOnly) || !f.seek(from * 4))
        return levels;
    const QByteArray bytes = f.read((to - from) * 4);
    const auto* samples = reinterpret_cast<const qint16*>(bytes.constData());
    levels.reserve(bytes.size() / 4);
    for (qsizetype i = 0; i + 1 < bytes.size() / 2; i += 2)
        levels.append(std::max(std::abs(int(samples[i])), std::abs(int(samples[i + 1]))));
    return levels;
}
} // namespace

QList<int> SoundRecording::FrameLevels(qint64 from, qint64 to) const
{
    return Levels(dir_.filePath(QStringLiteral("monitor.raw")), from, to);
}

int SoundRecording::Peak(qint64 from, qint64 to) const
{
    const QList<int> levels = FrameLevels(from, to);
    return levels.isEmpty() ? 0 : *std::max_element(levels.begin(), levels.end());
}

std::optional<qint64> SoundRecording::FirstSound(qint64 from, qint64 to) const
{
    const QList<int> levels = FrameLevels(from, to);
    for (qsizetype i = 0; i < levels.size(); ++i)
        if (levels[i] > Audible)
            return from + i;
    return std::nullopt;
}

qint64 SoundRecording::SoundingMs(qint64 from, qint64 to) const
{
    const std::optional<qint64> start = FirstSound(from, to);
    if (!start)
        return 0;
    const QList<int> levels = FrameLevels(*start, to);
    const qint64 allowedPause = Rate / 20;
    qint64 last = 0;
    for (qsizetype i = 0; i < levels.size() && i - last <= allowedPause; ++i)
        if (levels[i] > Audible)
            last = i;
    return Ms(last);
}

qint64 SoundRecording::LongestSilenceMs(qint64 from, qint64 to) const
{
    qint64 longest = 0;
    qint64 run = 0;
    for (const int level : FrameLevels(from, to)) {
        run = level > Audible ? 0 : run + 1;
        longest = std::max(longest, run);
    }
    return Ms(longest);
}

std::optional<qint64> SoundRecording::WaitForSound(qint64 from, int ms) const
{
    std::optional<qint64> onset;
    Poll([&] { return (onset = FirstSound(from, Now())).has_value(); }, ms);
    return onset;
}
