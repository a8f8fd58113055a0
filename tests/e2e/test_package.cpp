// The game as its Debian package installs it: the package built from this
// tree is unpacked into a scratch root, and the program is started there,
// under the private X server and a private PulseAudio, as a player starts it.
// It must find its data where the package puts it and play its music; every
// library it loads must come with the package's dependencies or
// recommendations; its window must match its launcher; and without the
// synthesiser library the player must be told.
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include <unistd.h>

#include "tests/e2e/DebianPackages.h"
#include "tests/e2e/GameRun.h"
#include "tests/e2e/SoundServer.h"

namespace {
const QSize ScreenSize{1280, 1024};
constexpr int Patience = 30000;
const QString AppId = QStringLiteral("org.orvane.Tangrix");

// Output and success of a tool run to the end.
QString RunTool(const QString& program, const QStringList& args, bool* ok = nullptr)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    const bool finished = p.waitForStarted(10000) && p.waitForFinished(120000);
    if (ok)
        *ok = finished && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    return QString::fromUtf8(p.readAll());
}

// Every shared object mapped into a running process.
QStringList SharedObjects(qint64 pid)
{
    QFile maps(QStringLiteral("/proc/%1/maps").arg(pid));
    if (!maps.open(QIODevice::ReadOnly))
        return {};
    static const QRegularExpression sharedObject(QStringLiteral("/[^/]*\\.so(\\.[0-9.]+)?$"));
    QStringList found;
    for (const QByteArray& raw : maps.readAll().split('\n')) {
        // "address perms offset device inode   path"
        const QString line = QString::fromUtf8(raw);
        const qsizetype slash = line.indexOf(u'/');
        if (slash < 0)
            continue;
        const QString path = line.mid(slash).remove(QStringLiteral(" (deleted)"));
        if (sharedObject.match(path).hasMatch() && !found.contains(path))
            found << path;
    }
    return found;
}

// The value of a key in the [Desktop Entry] group.
QString DesktopKey(const QString& file, const QString& key)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(key.toUtf8() + '='))
            return QString::fromUtf8(line.mid(key.size() + 1)).trimmed();
    return {};
}

// The strings of an xprop line: WM_CLASS(STRING) = "tangrix", "Tangrix".
QStringList QuotedStrings(const QString& line)
{
    static const QRegularExpression quoted(QStringLiteral("\"([^\"]*)\""));
    QStringList strings;
    for (const QRegularExpressionMatch& m : quoted.globalMatch(line))
        strings << m.captured(1);
    return strings;
}

// Where the dynamic linker finds a library, as the real file.
QString LibraryFile(const QString& soname)
{
    for (const QString& line : RunTool(QStringLiteral("/sbin/ldconfig"), {QStringLiteral("-p")}).split(u'\n'))
        if (line.trimmed().startsWith(soname + QStringLiteral(" ")))
            return QFileInfo(line.section(QStringLiteral("=> "), 1).trimmed()).canonicalFilePath();
    return {};
}
} // namespace

class TestInstalledPackage : public QObject {
    Q_OBJECT

    XDisplay x_;
    SoundServer sound_;
    QTemporaryDir root_;
    QTemporaryDir store_;
    QList<QStringList> declared_;
    std::unique_ptr<GameRun> run_;
    std::unique_ptr<SoundRecording> recording_;

    QString Program() const { return root_.filePath(QStringLiteral("usr/games/tangrix")); }

    // What cannot run here fails in CI, where everything must be tried, and
    // is skipped with its reason elsewhere.
    static bool InCi() { return qEnvironmentVariableIsSet("CI"); }

    // Starts the unpacked game with its own settings store (and a launcher
    // around it when given), heard by the private sound server.
    void StartInstalled(const QString& name, bool music, int tongue, const QStringList& launcher = {})
    {
        QVERIFY(store_.isValid());
        QVERIFY(WriteStore(store_.path(), false, music, tongue));
        recording_ = std::make_unique<SoundRecording>(sound_);
        QString error = recording_->Start();
        QVERIFY2(error.isEmpty(), qPrintable(error));
        run_ = std::make_unique<GameRun>(x_, ArtefactFolder(name), store_.path());
        run_->UseInstalledProgram(Program());
        run_->SetLauncher(launcher);
        run_->SetEnvironment(QStringLiteral("PULSE_SERVER"), sound_.Address());
        error = run_->StartAndWaitForMainWindow(Patience);
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }

private slots:
    void initTestCase()
    {
        QStringList missing;
        for (const char* tool : {"dpkg-deb", "dpkg-query", "apt-cache"})
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                missing << QString::fromLatin1(tool);
        if (const QString noSound = SoundServer::Missing(); !noSound.isEmpty())
            missing << noSound;
        if (!missing.isEmpty()) {
            const QByteArray why = "cannot run here: " + missing.join(QStringLiteral(", ")).toUtf8();
            if (InCi())
                QFAIL(why.constData());
            QSKIP(why.constData());
        }

        // The package the fixture built from this tree, unpacked.
        const QDir packages(QStringLiteral(TANGRIX_PACKAGE_DIR));
        const QStringList debs = packages.entryList({QStringLiteral("*.deb")}, QDir::Files);
        QVERIFY2(debs.size() == 1, qPrintable(QStringLiteral("not one package in %1: %2")
                                                  .arg(packages.path(), debs.join(QStringLiteral(", ")))));
        const QString deb = packages.filePath(debs.first());
        QVERIFY(root_.isValid());
        bool ok = false;
        QString out = RunTool(QStringLiteral("dpkg-deb"), {QStringLiteral("-x"), deb, root_.path()}, &ok);
        QVERIFY2(ok, qPrintable(out));
        QVERIFY2(QFileInfo(Program()).isExecutable(), "the package has no usr/games/tangrix");

        // What the package makes apt install with it.
        for (const char* field : {"Depends", "Pre-Depends", "Recommends"}) {
            out = RunTool(QStringLiteral("dpkg-deb"), {QStringLiteral("-f"), deb, QString::fromLatin1(field)}, &ok);
            QVERIFY2(ok, qPrintable(out));
            declared_ += DebianPackages::ParseRelations(out);
        }
        QVERIFY2(!declared_.isEmpty(), "the package declares no dependencies");

        QString error = x_.Start(ScreenSize);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        error = sound_.Start();
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }

    void cleanup()
    {
        run_.reset();
        recording_.reset();
    }

    // Music on: it is heard, so the game found its music where the package
    // put it; then every shared object in the process must belong to a
    // package that installing this one brings in.
    void playsItsMusicAndDeclaresEveryLibraryItLoads()
    {
        StartInstalled(QStringLiteral("package-libraries"), true, 0);
        if (QTest::currentTestFailed())
            return;
        const std::optional<qint64> onset = recording_->WaitForSound(0, Patience);
        QVERIFY2(onset, "no music is heard from the installed game");
        QTest::qWait(1000);
        QVERIFY2(recording_->Peak(*onset, recording_->Now()) > 1000, "the installed game's music is hardly heard");

        QStringList loaded;
        for (const QString& path : SharedObjects(run_->ProcessId()))
            if (!path.startsWith(root_.path()))
                loaded << path;
        // A check that saw nothing would pass anything: these are loaded
        // for certain once the window shows and the music plays.
        for (const char* expected : {"/libQt6Core.so", "/libQt6Gui.so", "/platforms/libqxcb.so", "/libfluidsynth.so.3"})
            QVERIFY2(!loaded.filter(QString::fromLatin1(expected)).isEmpty(),
                     qPrintable(QStringLiteral("%1 not among the loaded libraries:\n").arg(QLatin1String(expected)) +
                                loaded.join(u'\n')));

        const QHash<QString, QString> owners = DebianPackages::Owners(loaded);
        QString error;
        const QSet<QString> installed = DebianPackages::Closure(declared_, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QStringList undeclared;
        for (const QString& path : loaded) {
            if (!owners.contains(path))
                undeclared << path + QStringLiteral(" (no package)");
            else if (!installed.contains(owners[path]))
                undeclared << QStringLiteral("%1 (%2)").arg(path, owners[path]);
        }
        QVERIFY2(undeclared.isEmpty(),
                 qPrintable(QStringLiteral("loaded, but not brought in by the package's dependencies or "
                                           "recommendations:\n") +
                            undeclared.join(u'\n')));
        qInfo("%lld shared objects loaded, all from %lld packages the package brings in",
              static_cast<long long>(loaded.size()), static_cast<long long>(installed.size()));
    }

    // Docks and task switchers match the running window to the desktop
    // entry: on X11 by the desktop-entry hints GNOME and KDE read, and by
    // its class, which the entry's StartupWMClass names.
    void windowMatchesItsLauncher()
    {
        const QString entry = root_.filePath(QStringLiteral("usr/share/applications/%1.desktop").arg(AppId));
        QVERIFY2(QFileInfo::exists(entry), qPrintable(entry));
        const QString wmClass = DesktopKey(entry, QStringLiteral("StartupWMClass"));
        QVERIFY2(!wmClass.isEmpty(), "the desktop entry names no StartupWMClass");
        QCOMPARE(DesktopKey(entry, QStringLiteral("Icon")), AppId);

        StartInstalled(QStringLiteral("package-identity"), false, 0);
        if (QTest::currentTestFailed())
            return;
        const QString property = x_.Property(run_->Main().id, QStringLiteral("WM_CLASS"));
        const QStringList instanceAndClass = QuotedStrings(property);
        QVERIFY2(instanceAndClass.size() == 2, qPrintable(property));
        QVERIFY2(instanceAndClass.contains(wmClass),
                 qPrintable(QStringLiteral("the window's %1 does not match StartupWMClass=%2").arg(property, wmClass)));
        for (const QString& hint : {QStringLiteral("_GTK_APPLICATION_ID"), QStringLiteral("_KDE_NET_WM_DESKTOP_FILE")}) {
            const QString line = x_.Property(run_->Main().id, hint);
            QVERIFY2(QuotedStrings(line) == QStringList{AppId},
                     qPrintable(QStringLiteral("%1 should name %2: %3").arg(hint, AppId, line)));
        }
    }

    void playerIsToldWhenTheSynthesiserIsMissing_data()
    {
        QTest::addColumn<int>("tongue");
        QTest::addColumn<QString>("told");
        QTest::newRow("English") << 0 << QStringLiteral("No music: the FluidSynth synthesiser cannot be loaded.");
        QTest::newRow("German") << 1 << QStringLiteral("Keine Musik: Der Synthesizer FluidSynth lässt sich nicht laden.");
    }

    // The synthesiser library made unloadable for the game alone: in a
    // mount namespace of its own, an empty file is laid over it.
    void playerIsToldWhenTheSynthesiserIsMissing()
    {
        QFETCH(int, tongue);
        QFETCH(QString, told);
        // As root a mount namespace is enough; otherwise a user namespace
        // in which the user is root.
        QStringList unshare{QStringLiteral("unshare")};
        if (geteuid() != 0)
            unshare << QStringLiteral("--user") << QStringLiteral("--map-root-user");
        unshare << QStringLiteral("--mount") << QStringLiteral("--propagation") << QStringLiteral("private");
        bool ok = false;
        const QString probe = RunTool(unshare.first(), unshare.mid(1) << QStringLiteral("true"), &ok);
        if (!ok) {
            const QByteArray why = "no mount namespace to hide the synthesiser in: " + probe.toUtf8();
            if (InCi())
                QFAIL(why.constData());
            QSKIP(why.constData());
        }
        const QString library = LibraryFile(QStringLiteral("libfluidsynth.so.3"));
        QVERIFY2(!library.isEmpty(), "libfluidsynth.so.3 is not installed (Debian package libfluidsynth3)");
        QTemporaryDir scratch;
        QFile empty(scratch.filePath(QStringLiteral("empty")));
        QVERIFY(empty.open(QIODevice::WriteOnly));
        empty.close();

        StartInstalled(QStringLiteral("package-no-synthesiser-%1").arg(tongue), true, tongue,
                       unshare + QStringList{QStringLiteral("--"), QStringLiteral("sh"), QStringLiteral("-c"),
                                             QStringLiteral("mount --bind \"$0\" \"$1\" && exec \"$2\""),
                                             empty.fileName(), library});
        if (QTest::currentTestFailed())
            return;
        // Told in the standard box, and on the error output.
        const bool inOutput = Poll([&] { return run_->GameOutput().split(u'\n').contains(told); }, Patience);
        const QStringList loaded = SharedObjects(run_->ProcessId());
        QVERIFY2(!loaded.filter(QStringLiteral("/libQt6Core.so")).isEmpty(), "the game is not running any more");
        QVERIFY2(loaded.filter(QStringLiteral("/libfluidsynth.so")).isEmpty(),
                 "the synthesiser was loaded after all: the empty file did not hide it");
        QVERIFY2(inOutput, qPrintable(QStringLiteral("the player is not told \"%1\"; the game said:\n%2")
                                          .arg(told, run_->GameOutput())));
        QVERIFY2(run_->WaitForWindowNamed(QStringLiteral("Tangrix"), Patience), "no message box is shown");
    }
};

QTEST_GUILESS_MAIN(TestInstalledPackage)
#include "test_package.moc"
