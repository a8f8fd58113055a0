#include "tests/e2e/XDisplay.h"

#include <QProcessEnvironment>


TXDisplay::~TXDisplay()
{
    if (server_.state() != QProcess::NotRunning) {
        server_.terminate();
        if (!server_.waitForFinished(5000))
            server_.kill();
        server_.waitForFinished(2000);
    }
}

QString TXDisplay::Start(QSize screen)
{
    screen_ = screen;
    // -displayfd 1: the server chooses a free number and writes it to its
    // standard output once it accepts clients.
    server_.setProcessChannelMode(QProcess::SeparateChannels);
    server_.start(QStringLiteral("Xvfb"),
                  {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"), QStringLiteral("0"),
                   QStringLiteral("%1x%2x24").arg(screen.width()).arg(screen.height()), QStringLiteral("-nolisten"),
                   QStringLiteral("tcp")});
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

QString TXDisplay::XDo(const QStringList& args, bool* ok) const
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display_);
    p.setProcessEnvironment(env);
    p.start(QStringLiteral("xdotool"), args);
    const bool finished = p.waitForFinished(20000);
    if (ok)
        *ok = finished && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    return QString::fromUtf8(p.readAllStandardOutput());
}

QList<XWindowInfo> TXDisplay::VisibleWindows() const
{
    bool ok = false;
    // One call for the geometries and one for the names; windows that vanish
    // in between are simply not listed.
    const QString shell = XDo({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--class"),
                               QStringLiteral("."), QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"),
                               QStringLiteral("%@")},
                              &ok);
    QList<XWindowInfo> windows;
    XWindowInfo w;
    for (const QString& line : shell.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QString key = line.section(QLatin1Char('='), 0, 0);
        const QString value = line.section(QLatin1Char('='), 1);
        if (key == QLatin1String("WINDOW"))
            w = XWindowInfo{value, {}, {}};
        else if (key == QLatin1String("X"))
            w.geometry.moveLeft(value.toInt());
        else if (key == QLatin1String("Y"))
            w.geometry.moveTop(value.toInt());
        else if (key == QLatin1String("WIDTH"))
            w.geometry.setWidth(value.toInt());
        else if (key == QLatin1String("HEIGHT"))
            w.geometry.setHeight(value.toInt());
        else if (key == QLatin1String("SCREEN"))
            windows.append(w);
    }
    for (XWindowInfo& window : windows)
        window.name = XDo({QStringLiteral("getwindowname"), window.id}).trimmed();
    return windows;
}

void TXDisplay::MoveTo(QPoint p) const
{
    XDo({QStringLiteral("mousemove"), QString::number(p.x()), QString::number(p.y())});
}

void TXDisplay::Click(QPoint p, int button) const
{
    XDo({QStringLiteral("mousemove"), QString::number(p.x()), QString::number(p.y()), QStringLiteral("click"),
         QString::number(button)});
}

void TXDisplay::ClickHere(int button) const
{
    XDo({QStringLiteral("click"), QString::number(button)});
}

void TXDisplay::Key(const QString& keys) const
{
    XDo({QStringLiteral("key"), keys});
}

void TXDisplay::Type(const QString& text) const
{
    XDo({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("40"), text});
}

void TXDisplay::MoveWindow(const QString& id, QPoint p) const
{
    XDo({QStringLiteral("windowmove"), id, QString::number(p.x()), QString::number(p.y())});
}

void TXDisplay::ResizeWindow(const QString& id, QSize size) const
{
    XDo({QStringLiteral("windowsize"), id, QString::number(size.width()), QString::number(size.height())});
}

void TXDisplay::RaiseWindow(const QString& id) const
{
    XDo({QStringLiteral("windowraise"), id});
}

QImage TXDisplay::Grab() const
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display_);
    p.setProcessEnvironment(env);
    // Window by window, as "import" does: a plain read of the root window
    // leaves windows of another depth (the translucent dialogs) black.
    p.start(QStringLiteral("import"), {QStringLiteral("-silent"), QStringLiteral("-window"), QStringLiteral("root"),
                                       QStringLiteral("-depth"), QStringLiteral("8"), QStringLiteral("ppm:-")});
    if (!p.waitForFinished(20000))
        return {};
    return QImage::fromData(p.readAllStandardOutput(), "PPM").convertToFormat(QImage::Format_RGB32);
}
