#pragma once
// The main window: the tool strip with its seven buttons and two counters,
// and the board canvas. It turns presses, moves, keys and clock ticks into
// calls on the rules (GameCore), asks the rest of the program for messages,
// sounds and dialogs (TMainServices), and draws the result (TBoardPainter).
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>
#include <QWidget>
#include <memory>

#include "assets/TBitmapList.h"
#include "assets/TSymbolPicture.h"
#include "assets/TWaveList.h"
#include "game/BoardPainter.h"
#include "game/GameCore.h"
#include "game/MainServices.h"
#include "game/PaintBox.h"
#include "settings/TIniCtrl.h"
#include "ui/toolkit/TPictureButton.h"

class TFormKeeper;

class Tmainform : public QWidget {
    Q_OBJECT
public:
    // Runs the creation steps; random defaults to the run-time generator seeded from the clock.
    explicit Tmainform(TMainServices& services, std::unique_ptr<RandomSource> random = nullptr);
    ~Tmainform() override;

    // Binds the right-hand buttons to the shared dialog pictures, which exist
    // only once the data module has been made after this window.
    void BindDialogPictures();
    // Puts the window where it was left last time (before it is first shown).
    void RestorePlacement();

    // --- components ---------------------------------------------------------
    QTimer Timer;
    TBitmapList bmps;
    TIniCtrl ini;
    TFormKeeper* FormKeeper1 = nullptr;
    TPaintBox* box;
    TPaintBox* ToolBox;
    QLabel* ScoLabel = nullptr;
    TPictureButton* StartBtn = nullptr;
    TPictureButton* PauseBtn = nullptr;
    TPictureButton* HighScoreBtn = nullptr;
    TPictureButton* OptionBtn = nullptr;
    TPictureButton* InfoBtn = nullptr;
    TPictureButton* RulesBtn = nullptr;
    TPictureButton* ExitBtn = nullptr;
    QLabel* LevLabel = nullptr;
    TSymbolPicture masks;
    QLabel* LevelLabel = nullptr;
    QLabel* ScoreLabel = nullptr;
    TWaveList waves;
    TSymbolPicture pats;

    // --- state ------------------------------------------------------------------
    GameCore& Game() { return game_; }
    const GameCore& Game() const { return game_; }
    TBoardPainter& Painter() { return painter_; }
    int BackMode() const { return painter_.BackMode; }
    void SetBackMode(int mode) { painter_.BackMode = mode; }

    // --- handlers (creation, layout and drawing) ------------------------------
    void FormShow();
    void Resize();
    void Paint();
    void ToolBoxPaint();

    // --- handlers (laying pieces) ---------------------------------------------
    void boxMouseDown(Qt::MouseButton button, int X, int Y);
    void MouseMove(int X, int Y);

    // --- keyboard play (the same handlers the mouse uses) --------------------------
    // Space or Enter picks up or lays, the arrows move the carried tile a
    // block, R turns it, Delete or Backspace throws it away. True when used.
    bool boxKeyDown(const QKeyEvent& event);
    // The block the keyboard left the carried tile at; the centre at first.
    BlockPos KeyBlock{3, 3};

    // --- handlers (game flow) --------------------------------------------------
    void TimerTimer();
    void StartBtnClick();
    void PauseBtnClick();
    void HighScoreBtnClick();
    void OptionBtnClick();
    void InfoBtnClick();
    void RulesBtnClick();
    void ExitBtnClick();
    // Asks before every close; true when the window may close.
    bool CloseQuery();
    void Leave();

    // --- operations -------------------------------------------------------------
    void NewGame();
    void SetUpLevel();
    void DealNextTile();
    void ShowCounters();
    void ApplyLanguage();

    // Holds the game for the given time, showing what was drawn. Input waits
    // until the animation is over and a clock tick is held back until then;
    // sound and music go on playing meanwhile.
    void Delay(int milliseconds);
    // Tests that play many moves skip the waiting (the drawing still happens).
    bool InstantAnimations = false;

signals:
    // The window has closed for good (the close was confirmed and Leave has run).
    void Closed();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    void FormDestroy();
    void CreateControls();
    void PlaceRightButtons();
    void CreateShortcuts();
    void MoveHandToKeyBlock();
    void Flush();
    // Like switching a timer on: a running clock keeps its rhythm.
    void EnableTimer() { if (!Timer.isActive()) Timer.start(); }

    void PickUpTile(int X, int Y);
    void TurnTile();
    void ThrowTileAway();
    void TryToLay(BlockPos block);
    void WinLevel(BlockPos square);

    void TimeOut();
    void DeliverTimeOut();
    void OfferScore();
    int AskMsg(int n);

    TMainServices& services_;
    std::unique_ptr<RandomSource> random_;
    GameCore game_;
    QImage textureSheet_;
    TBoardPainter painter_;

    bool FirstShow = true;
    bool placementRestored_ = false;
    // An animation is running: input and ticks wait for its end.
    bool animating_ = false;
    bool tickHeldBack_ = false;
    bool closeHeldBack_ = false;
    void EndAnimation();
    // A time-out that came while a window it would need was open.
    bool timeOutPending_ = false;
    // The score of a game is offered to the table once at most.
    bool scoreOffered_ = false;
};

extern Tmainform* mainform;
