#include "tests/e2e/XDisplay.h"

#include <QProcessEnvironment>
#include <QThread>


XDisplay::~XDisplay()
{
    if (windowManager_.state() != QProcess::NotRunning) {
        windowManager_.terminate();
        if (!windowManager_.waitForFinished(5000))
            windowManager_.kill();
        windowManager_.waitForFinished(2000);
    }
    if (server_.state() != QProcess::NotRunning) {
        server_.terminate();
        if (!server_.waitForFinished(5000))
            server_.kill();
        server_.waitForFinished(2000);
    }
}

QString XDisplay::Start(QSize screen)
{
    screen_ = screen;
    // -displayfd 1: the server chooses a free number and writes it to its
    // standard output once it accepts clients. -noreset: without a window
    // manager the game is often the only client, and a server that resets
    // when it leaves can turn away the next game started at that moment.
    server_.setProcessChannelMode(QProcess::SeparateChannels);
    server_.start(QStringLiteral("Xvfb"),
                  {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"), QStringLiteral("0"),
                   QStringLiteral("%1x%2x24").arg(screen.width()).arg(screen.height()), QStringLiteral("-nolisten"),
                   QStringLiteral("tcp"), QStringLiteral("-noreset")});
    if (!server_.waitForStarted(10000))
        return QStringLiteral("Xvfb did not start: ") + server_.errorString();
    QByteArray out;
    while (!out.contains('\n')) {
        if (!server_.waitForReadyRead(30000))
            return QStringLiteral("Xvfb gave no display number: ") + QString::fromLocal8Bit(server_.readAllStandardError());
        out += server_.readAllStandardOutput();
    }
    display_ = QLatin1Char(':') + QString::fromLatin1(out.trimmed());
    return {};
}

QString XDisplay::StartWindowManager(const QString& program, const QString& logFile)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display_);
    windowManager_.setProcessEnvironment(env);
    windowManager_.setProcessChannelMode(QProcess::MergedChannels);
    windowManager_.setStandardOutputFile(logFile);
    // No session manager: there is none on the private server.
    windowManager_.start(program, {QStringLiteral("--sm-disable")});
    if (!windowManager_.waitForStarted(10000))
        return program + QStringLiteral(" did not start: ") + windowManager_.errorString();
    // It manages windows once it has announced itself on the root window.
    for (int attempt = 0; attempt < 300; ++attempt) {
        if (XProp({QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")}).contains(u'#'))
            return {};
        if (windowManager_.state() == QProcess::NotRunning)
            return program + QStringLiteral(" ended at once");
        QThread::msleep(100);
    }
    return program + QStringLiteral(" does not announce itself");
}

QMargins XDisplay::FrameExtents(const QString& id) const
{
    // "_NET_FRAME_EXTENTS(CARDINAL) = left, right, top, bottom"
    const QString line = XProp({QStringLiteral("-id"), id, QStringLiteral("_NET_FRAME_EXTENTS")});
    const QStringList parts = line.section(u'=', 1).split(u',', Qt::SkipEmptyParts);
    if (parts.size() != 4)
        return {};
    return QMargins(parts[0].trimmed().toInt(), parts[2].trimmed().toInt(), parts[1].trimmed().toInt(),
                    parts[3].trimmed().toInt());
}

QString XDisplay::TransientFor(const QString& id) const
{
    // "WM_TRANSIENT_FOR(WINDOW): window id # 0x1200007"
    const QString line = XProp({QStringLiteral("-id"), id, QStringLiteral("WM_TRANSIENT_FOR")});
    bool ok = false;
    const qulonglong window = line.section(u'#', 1).trimmed().toULongLong(&ok, 16);
    return ok ? QString::number(window) : QString();
}

QString XDisplay::XProp(const QStringList& args) const
{
    return QString::fromUtf8(Run(QStringLiteral("xprop"), args));
}

QString XDisplay::XWinInfo(const QStringList& args) const
{
    return QString::fromUtf8(Run(QStringLiteral("xwininfo"), args));
}

QByteArray XDisplay::Run(const QString& program, const QStringList& args, bool* ok) const
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display_);
    p.setProcessEnvironment(env);
    p.start(program, args);
    const bool finished = p.waitForFinished(20000);
    if (ok)
        *ok = finished && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    return finished ? p.readAllStandardOutput() : QByteArray();
}

QString XDisplay::XDo(const QStringList& args, bool* ok) const
{
    return QString::fromUtf8(Run(QStringLiteral("xdotool"), args, ok));
}

QList<XWindowInfo> XDisplay::VisibleWindows() const
{
    const QString ids = XDo({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--class"),
                             QStringLiteral(".")});
    // xwininfo rather than xdotool's geometry: for a window that a window
    // manager has put into a frame, xdotool adds the frame's offset once more.
    // Windows that vanish in between are simply not listed.
    QList<XWindowInfo> windows;
    for (const QString& id : ids.split(u'\n', Qt::SkipEmptyParts)) {
        const QString info = XWinInfo({QStringLiteral("-id"), id.trimmed()});
        XWindowInfo w{id.trimmed(), {}, {}};
        int found = 0;
        for (const QString& line : info.split(u'\n', Qt::SkipEmptyParts)) {
            const QString key = line.section(u':', 0, 0).trimmed();
            const QString value = line.section(u':', 1).trimmed();
            if (line.startsWith(QLatin1String("xwininfo: Window id:"))) {
                const qsizetype open = line.indexOf(u'"');
                if (open >= 0)
                    w.name = line.mid(open + 1, line.lastIndexOf(u'"') - open - 1);
                ++found;
            } else if (key == QLatin1String("Absolute upper-left X")) {
                w.geometry.moveLeft(value.toInt());
                ++found;
            } else if (key == QLatin1String("Absolute upper-left Y")) {
                w.geometry.moveTop(value.toInt());
                ++found;
            } else if (key == QLatin1String("Width")) {
                w.geometry.setWidth(value.toInt());
                ++found;
            } else if (key == QLatin1String("Height")) {
                w.geometry.setHeight(value.toInt());
                ++found;
            }
        }
        if (found == 5)
            windows.append(w);
    }
    return windows;
}

void XDisplay::MoveTo(QPoint p) const
{
    XDo({QStringLiteral("mousemove"), QString::number(p.x()), QString::number(p.y())});
}

void XDisplay::Click(QPoint p, int button) const
{
    XDo({QStringLiteral("mousemove"), QString::number(p.x()), QString::number(p.y()), QStringLiteral("click"),
         QString::number(button)});
}

void XDisplay::ClickHere(int button) const
{
    XDo({QStringLiteral("click"), QString::number(button)});
}

void XDisplay::Drag(QPoint from, QPoint to) const
{
    // Pauses for a window manager that takes the move over after the press.
    QStringList args{QStringLiteral("mousemove"), QString::number(from.x()), QString::number(from.y()),
                     QStringLiteral("mousedown"), QStringLiteral("1"), QStringLiteral("sleep"), QStringLiteral("0.3")};
    constexpr int Steps = 5;
    for (int step = 1; step <= Steps; ++step) {
        const QPoint at = from + (to - from) * step / Steps;
        args << QStringLiteral("mousemove") << QString::number(at.x()) << QString::number(at.y())
             << QStringLiteral("sleep") << QStringLiteral("0.05");
    }
    args << QStringLiteral("sleep") << QStringLiteral("0.2") << QStringLiteral("mouseup") << QStringLiteral("1");
    XDo(args);
}

void XDisplay::Key(const QString& keys) const
{
    XDo({QStringLiteral("key"), keys});
}

QString XDisplay::ActiveWindow() const
{
    return XDo({QStringLiteral("getactivewindow")}).trimmed();
}

void XDisplay::Keys(const QStringList& keys) const
{
    XDo(QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("15")} + keys);
}

void XDisplay::Type(const QString& text) const
{
    XDo({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("40"), text});
}

void XDisplay::MoveWindow(const QString& id, QPoint p) const
{
    XDo({QStringLiteral("windowmove"), id, QString::number(p.x()), QString::number(p.y())});
}

void XDisplay::ResizeWindow(const QString& id, QSize size) const
{
    XDo({QStringLiteral("windowsize"), id, QString::number(size.width()), QString::number(size.height())});
}

void XDisplay::RaiseWindow(const QString& id) const
{
    XDo({QStringLiteral("windowraise"), id});
}

QImage XDisplay::Grab() const
{
    // Window by window, as "import" does: a plain read of the root window
    // leaves windows of another depth (the translucent dialogs) black.
    const QByteArray picture = Run(QStringLiteral("import"), {QStringLiteral("-silent"), QStringLiteral("-window"),
                                                             QStringLiteral("root"), QStringLiteral("-depth"),
                                                             QStringLiteral("8"), QStringLiteral("ppm:-")});
    return QImage::fromData(picture, "PPM").convertToFormat(QImage::Format_RGB32);
}
