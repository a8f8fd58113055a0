#pragma once
// One run of the real game under the private X server: its own program
// directory (a copy of the executable, the help file and the music), its own
// settings store, and what a player finds on the screen: the main window, the
// dialogs, and the board's places computed from the window's size.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <optional>

#include "tests/e2e/Pixels.h"
#include "tests/e2e/Poll.h"
#include "tests/e2e/XDisplay.h"

// The sizes by which the dialogs are told apart on the screen.
namespace DialogSize {
inline constexpr QSize Language{408, 162};
inline constexpr QSize Message{319, 158};
inline constexpr QSize Options{497, 416};
inline constexpr QSize Highscore{320, 476};
inline constexpr QSize Info{360, 170};
} // namespace DialogSize

// Where things lie in the main window's client area.
struct MainLayout {
    static constexpr int StripHeight = 57; // the tool strip above the board

    int clientWidth = 0, clientHeight = 0;
    int c = 1, boardLeft = 0, boardTop = 0, previewLeft = 0;

    static MainLayout For(QSize client);

    // Board, in client pixels.
    int CellX(int column) const { return boardLeft + column * c + 2 * (column / 2); }
    int CellY(int row) const { return StripHeight + boardTop + row * c + 2 * (row / 2); }
    QRect Block(int column, int row) const { return {CellX(2 * column), CellY(2 * row), 2 * c, 2 * c}; }
    QPoint BlockCentre(int column, int row) const { return Block(column, row).center() + QPoint(1, 1); }
    QRect Board() const { return {CellX(0), CellY(0), 14 * c + 12, 14 * c + 12}; }

    // The side column: preview box, discard box, time bar.
    QRect Preview() const { return {previewLeft, StripHeight + boardTop, 2 * c + 2, 2 * c + 2}; }
    QPoint PreviewCentre() const { return {previewLeft + c + 1, StripHeight + boardTop + c + 1}; }
    QPoint DiscardCentre() const { return {previewLeft + c + 1, StripHeight + boardTop + 4 * c + 1}; }
    // The carried tile when the pointer rests on the discard box's centre.
    QRect HandOverDiscard() const { return {DiscardCentre() - QPoint(c, c), QSize(2 * c, 2 * c)}; }
    QRect TimeBar() const { return {previewLeft, StripHeight + boardTop + 6 * c, 2 * c + 2, c}; }

    // The window texture left of the board.
    QRect Margin() const
    {
        return {10, StripHeight + 10, std::clamp(boardLeft - 20, 1, 80), clientHeight - StripHeight - 20};
    }

    // Tool strip: the counters and their captions, and the seven buttons.
    QRect Captions() const { return {188, 4, 180, 18}; }
    QRect Counters() const { return {196, 22, 200, 33}; }
    QRect ScoreCounter() const { return {296, 22, 100, 33}; }
    QPoint StartButton() const { return {29, 29}; }
    QPoint PauseButton() const { return {81, 29}; }
    QPoint HighScoreButton() const { return {133, 29}; }
    QPoint OptionButton() const { return {clientWidth - 208 + 25, 29}; }
    QPoint InfoButton() const { return {clientWidth - 156 + 25, 29}; }
    QPoint RulesButton() const { return {clientWidth - 104 + 25, 29}; }
    QPoint ExitButton() const { return {clientWidth - 52 + 25, 29}; }
    // A quiet spot on the window texture for the pointer.
    QPoint Rest() const { return {20, StripHeight + 40}; }
};

class GameRun {
public:
    // artefacts: where the pictures and the game's output of this run go;
    // configHome: the settings store (shared by runs that follow each other).
    GameRun(XDisplay& x, QString artefacts, QString configHome);
    ~GameRun();

    // Adds to the game's environment of the next Start.
    void SetEnvironment(const QString& name, const QString& value) { extraEnvironment_.insert(name, value); }
    // Runs an installed program where it lies instead of a copy of the built
    // one with its data beside it.
    void UseInstalledProgram(const QString& program) { installedProgram_ = program; }
    // A command that starts the game: the program's path is its last argument.
    void SetLauncher(const QStringList& launcher) { launcher_ = launcher; }
    QString Start();
    // The game's process (the launcher's, which becomes the game).
    qint64 ProcessId() const { return process_.processId(); }
    bool WaitForExit(int ms);
    bool Running() const { return process_.state() != QProcess::NotRunning; }
    int ExitCode() const { return process_.exitCode(); }
    QProcess::ExitStatus ExitStatus() const { return process_.exitStatus(); }

    // The main window, found by its caption; sets the layout from its size.
    QString WaitForMainWindow(int ms);
    // Start, then WaitForMainWindow: empty once the window shows.
    QString StartAndWaitForMainWindow(int ms);
    std::optional<XWindowInfo> FindMainWindow() const;
    const XWindowInfo& Main() const { return main_; }
    // The main window with the window manager's frame (its client area without one).
    QRect MainOuter() const { return main_.geometry.marginsAdded(x_.FrameExtents(main_.id)); }
    const MainLayout& Layout() const { return layout_; }
    QPoint OnScreen(QPoint client) const { return main_.geometry.topLeft() + client; }

    std::optional<XWindowInfo> FindDialog(QSize size) const;
    std::optional<XWindowInfo> WaitForDialog(QSize size, int ms) const;
    bool WaitUntilDialogGone(QSize size, int ms) const;
    std::optional<XWindowInfo> WaitForWindowNamed(const QString& part, int ms) const;

    // Pointer and keys, in main-window client pixels.
    void Click(QPoint client, int button = 1) const { x_.Click(OnScreen(client), button); }
    void MoveTo(QPoint client) const { x_.MoveTo(OnScreen(client)); }
    void ClickIn(const XWindowInfo& w, QPoint local, int button = 1) const
    {
        x_.Click(w.geometry.topLeft() + local, button);
    }
    XDisplay& X() const { return x_; }

    // The main window's client area as it shows now (dialogs over it included).
    QImage Shot() const;
    // A picture kept as this run's artefact NN-step.png.
    void Keep(const QImage& image, const QString& step);
    // The whole screen, kept.
    QImage KeepScreen(const QString& step);

    QString SettingsFile() const;
    QString GameOutput() const;

private:
    XDisplay& x_;
    QString artefacts_;
    QString configHome_;
    QTemporaryDir programDir_;
    QTemporaryDir runtimeDir_;
    QProcess process_;
    QProcessEnvironment extraEnvironment_;
    QString installedProgram_;
    QStringList launcher_;
    XWindowInfo main_;
    MainLayout layout_;
    int step_ = 0;
};

// The window manager of this run (TANGRIX_E2E_WM), none when empty.
QString WindowManager();
// Where a run keeps its pictures and the game's output; the runs under a
// window manager keep theirs apart.
QString ArtefactFolder(const QString& run);
// Starts the private X server and, for a run under a window manager, the
// window manager on it (its output kept as the artefact logName). Empty on
// success, otherwise what went wrong.
QString StartDisplay(XDisplay& x, QSize screen, const QString& logName);
// A settings store where the language is chosen (English unless tongue is
// 1, German), with the effects and the music as given, so that the game
// starts without its question.
bool WriteStore(const QString& configHome, bool sound, bool music, int tongue = 0);
