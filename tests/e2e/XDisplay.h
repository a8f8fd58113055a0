#pragma once
// A private X server (Xvfb) for one test program, optionally with a window
// manager (openbox) on it, and everything the tests do to it from outside, as
// a player would: list the windows that are shown, move and click the
// pointer, press keys, and take a picture of the screen.
#include <QImage>
#include <QList>
#include <QMargins>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>

struct XWindowInfo {
    QString id;
    QString name;
    QRect geometry;
};

class XDisplay {
public:
    XDisplay() = default;
    ~XDisplay();
    XDisplay(const XDisplay&) = delete;
    XDisplay& operator=(const XDisplay&) = delete;

    // Starts Xvfb on the first free display number (the server picks it
    // itself, so parallel test programs never collide). Empty on success,
    // otherwise what went wrong.
    QString Start(QSize screen);
    QString Name() const { return display_; }
    QSize ScreenSize() const { return screen_; }

    // Starts the window manager on the server and waits until it manages
    // windows. Its output goes to logFile. Empty on success.
    QString StartWindowManager(const QString& program, const QString& logFile);
    bool HasWindowManager() const { return windowManager_.state() != QProcess::NotRunning; }

    // What the window manager's frame adds on each side of a window; nothing
    // without a window manager or for a window it does not frame.
    QMargins FrameExtents(const QString& id) const;
    // The window this one is kept over (WM_TRANSIENT_FOR), with its id
    // written as the window list writes it; empty for none.
    QString TransientFor(const QString& id) const;

    // A window's property as xprop prints it ("WM_CLASS(STRING) = ..."), or
    // its message when the window lacks it.
    QString Property(const QString& id, const QString& name) const { return XProp({QStringLiteral("-id"), id, name}).trimmed(); }

    // Every mapped window of a program (it has a class), with its name and
    // its place on the screen.
    QList<XWindowInfo> VisibleWindows() const;

    void MoveTo(QPoint p) const;
    void Click(QPoint p, int button = 1) const;
    void ClickHere(int button = 1) const;
    // Presses the left button, moves the pointer in a few steps and lets go.
    void Drag(QPoint from, QPoint to) const;
    void Key(const QString& keys) const;
    // The window that has the keyboard (_NET_ACTIVE_WINDOW), as the window list writes its id.
    QString ActiveWindow() const;
    // Several keys, one after the other, in one go.
    void Keys(const QStringList& keys) const;
    void Type(const QString& text) const;
    void MoveWindow(const QString& id, QPoint p) const;
    void ResizeWindow(const QString& id, QSize size) const;
    void RaiseWindow(const QString& id) const;

    // The whole screen, as it shows.
    QImage Grab() const;

private:
    QString XDo(const QStringList& args, bool* ok = nullptr) const;
    QString XProp(const QStringList& args) const;
    QString XWinInfo(const QStringList& args) const;
    // Runs an X client on this server; gives its standard output.
    QByteArray Run(const QString& program, const QStringList& args, bool* ok = nullptr) const;

    QProcess server_;
    QProcess windowManager_;
    QString display_;
    QSize screen_;
};

