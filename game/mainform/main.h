#pragma once
// The main window: the tool strip with its seven buttons and two counters,
// and the board canvas. Its handlers hand every press, move, key, tick and
// button to the game flow (GameFlow), which decides; then the window shows
// the state the flow leaves behind: the board canvas from the flow's scene,
// the counters, the pause button and the clock's timer.
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>
#include <QWidget>
#include <memory>

#include "assets/BitmapList.h"
#include "assets/SymbolPicture.h"
#include "assets/TWaveList.h"
#include "game/mainform/BoardAccessible.h"
#include "game/mainform/BoardPainter.h"
#include "game/flow/GameFlow.h"
#include "game/flow/MainServices.h"
#include "game/mainform/PaintBox.h"
#include "settings/TIniCtrl.h"
#include "ui/toolkit/PictureButton.h"

class FormKeeper;

class Tmainform : public QWidget, private FlowView {
    Q_OBJECT
public:
    // Runs the creation steps; random defaults to the run-time generator seeded from the clock.
    explicit Tmainform(MainServices& services, std::unique_ptr<RandomSource> random = nullptr);
    ~Tmainform() override;

    // Binds the right-hand buttons to the shared dialog pictures, which exist
    // only once the data module has been made after this window.
    void BindDialogPictures();
    // Puts the window where it was left last time (before it is first shown).
    void RestorePlacement();

    // --- components ---------------------------------------------------------
    QTimer Timer;
    BitmapList bmps;
    TIniCtrl ini;
    FormKeeper* FormKeeper1 = nullptr;
    PaintBox* box;
    PaintBox* ToolBox;
    QLabel* ScoLabel = nullptr;
    PictureButton* StartBtn = nullptr;
    PictureButton* PauseBtn = nullptr;
    PictureButton* HighScoreBtn = nullptr;
    PictureButton* OptionBtn = nullptr;
    PictureButton* InfoBtn = nullptr;
    PictureButton* RulesBtn = nullptr;
    PictureButton* ExitBtn = nullptr;
    QLabel* LevLabel = nullptr;
    SymbolPicture masks;
    QLabel* LevelLabel = nullptr;
    QLabel* ScoreLabel = nullptr;
    TWaveList waves;
    SymbolPicture pats;

    // --- state ------------------------------------------------------------------
    const GameFlow& Flow() const { return flow_; }
    const GameCore& Game() const { return flow_.Game(); }
    const BoardPainter& Painter() const { return painter_; }
    int BackMode() const { return painter_.BackMode; }
    void SetBackMode(int mode) { painter_.BackMode = mode; }
    // A prepared position, shown at once (tests and tools); false when refused.
    bool Restore(const GamePosition& position);
    // The scene the board canvas must show now.
    BoardScene Scene() const;

    // --- handlers (creation, layout and drawing) ------------------------------
    void FormShow();
    void Resize();
    // The whole board picture, drawn anew.
    void Paint();
    void ToolBoxPaint();

    // --- handlers (laying pieces) ---------------------------------------------
    void boxMouseDown(Qt::MouseButton button, int X, int Y);
    void MouseMove(int X, int Y);
    // Keyboard play: Space or Enter picks up or lays, the arrows move the
    // carried tile a block, R turns it, Delete or Backspace throws it away.
    // True when the key was used.
    bool boxKeyDown(const QKeyEvent& event);

    // --- handlers (game flow) --------------------------------------------------
    void TimerTimer();
    void StartBtnClick();
    void PauseBtnClick();
    void HighScoreBtnClick();
    void OptionBtnClick();
    void InfoBtnClick();
    void RulesBtnClick();
    void ExitBtnClick();
    // Asks before every close; true when the window may close now.
    bool CloseQuery();
    void Leave();
    // The settings and the window's placement, written as the close writes
    // them (also when the desktop session ends, without closing).
    void SaveSettings();
    // Closes as a confirmed close does, without asking anything and without
    // offering the score of a running game: the program is asked to end by
    // the system (a signal, the end of the session), not by the player.
    void EndWithoutQuestions();

    // --- operations -------------------------------------------------------------
    void NewGame();
    void ShowCounters();
    void ApplyLanguage();

    // Steps a running animation to its end at once (for tests and tools that
    // play many moves); what waited behind it is handled as usual.
    void FinishAnimation();

signals:
    // The window has closed for good (the close was confirmed and Leave has run).
    void Closed();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // FlowView
    void Refresh() override;
    void Schedule(FlowTimer timer, int milliseconds) override;
    void CloseConfirmed() override;
    void LanguageChosen() override;

    void FormCreate();
    void FormDestroy();
    void CreateControls();
    void PlaceRightButtons();
    void CreateShortcuts();
    // Shows the state the flow left behind: canvas, counters, pause button, clock.
    void Sync();
    // After a button or a dialog the keyboard belongs to the board again.
    void FocusBoard();
    // Like switching a timer on: a running clock keeps its rhythm.
    void EnableTimer() { if (!Timer.isActive()) Timer.start(); }

    MainServices& services_;
    std::unique_ptr<RandomSource> random_;
    GameFlow flow_;
    QImage textureSheet_;
    BoardPainter painter_;
    QTimer frameTimer_;
    QTimer cueTimer_;
    // The board as screen readers find it.
    BoardAccessibility accessibility_;

    bool FirstShow = true;
    bool closeConfirmed_ = false;
    // The system asked the game to end: no close asks any more.
    bool endRequested_ = false;
};

extern Tmainform* mainform;
