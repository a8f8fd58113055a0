#pragma once
// A private Wayland compositor for one test program: weston with its headless
// backend and no configuration of the user's, in a runtime directory of its
// own, with our driver module (WestonDriver.c) loaded. Through the driver the
// test presses keys and moves the pointer as a player would, and asks the
// compositor which windows it shows, whose children they are and which one
// has the keyboard.
#include <QList>
#include <QPoint>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QTemporaryDir>

#include <initializer_list>
#include <optional>

struct WestonWindow {
    QString id;
    QString kind;   // "toplevel" or "popup"
    QString parent; // the parent window's id, "0" for none
    QRect geometry; // on the desktop, without shadows
    bool hasKeyboard = false;
    QString appId;
    QString title;

    bool HasParent() const { return parent != QLatin1String("0"); }
};

struct WestonPointer {
    QPoint at;
    int buttonsHeld = 0;
    bool heldByShell = false; // a move or resize of the shell's is under way
    QString over;             // the id of the window under it, "0" for none
};

class WestonSession {
public:
    WestonSession() = default;
    ~WestonSession();
    WestonSession(const WestonSession&) = delete;
    WestonSession& operator=(const WestonSession&) = delete;

    // Starts weston and waits until its driver answers. Its log goes to
    // logFile. Empty on success, otherwise what went wrong.
    QString Start(QSize screen, const QString& logFile);
    bool Running() const { return weston_.state() != QProcess::NotRunning; }

    // What a client needs to reach this compositor.
    QString RuntimeDir() const { return runtimeDir_.path(); }
    QString SocketName() const { return socketName_; }

    // Keys by their Linux input codes (linux/input-event-codes.h).
    bool Key(int code, bool down);
    // Pressed and released, modifiers first and released last: {KEY_LEFTCTRL, KEY_N}.
    bool Keys(std::initializer_list<int> codes);
    bool MovePointer(QPoint to);
    bool Button(int code, bool down);

    std::optional<WestonPointer> Pointer();
    QList<WestonWindow> Windows();

private:
    // Sends one command; fills lines with what came before "ok".
    bool Command(const QString& command, QStringList* lines = nullptr);
    bool Connect(const QString& path);

    QTemporaryDir runtimeDir_;
    QString socketName_;
    QProcess weston_;
    int driver_ = -1;
    QByteArray pending_;
};
