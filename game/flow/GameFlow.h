#pragma once
// The flow of a game between the window and the rules: starting, pausing,
// the clock and its time-out, the animations, the questions before a new game
// and before closing, and what presses and keys on the board mean. It owns the
// rules (GameCore) and the state of the board's interface (where the carried
// tile is, which animation frame shows); it talks to the window through
// FlowView and to the dialogs, sound and help through MainServices.
//
// One handler never runs inside another. While an animation and the rest of
// its handler run, every event waits in a queue and is handled afterwards in
// arrival order, as the events behind a busy window would; clock ticks that
// pile up meanwhile count as one. While a modal window of the game is open,
// the clock goes on (it runs behind the dialogs), a close request waits until
// the handler that opened the window has finished, and the board and the
// buttons take nothing (the modal window has the player's input).
#include <deque>
#include <optional>
#include <variant>

#include "game/rules/BoardGeometry.h"
#include "game/flow/BoardScene.h"
#include "game/rules/GameCore.h"
#include "game/flow/MainServices.h"

// The timers the flow asks its window for.
enum class FlowTimer {
    AnimationFrame, // the next frame of the running animation is due
    RefusalCue,     // the sign of a refused lay has been shown long enough
};

class FlowView {
public:
    virtual ~FlowView() = default;
    // Show the current state now: before a modal window opens, and after
    // every step of an animation.
    virtual void Refresh() = 0;
    // Call GameFlow::TimerDue(timer) once after the given time; a new
    // request for the same timer replaces the old one.
    virtual void Schedule(FlowTimer timer, int milliseconds) = 0;
    // A close that had to wait has been confirmed: the window closes.
    virtual void CloseConfirmed() = 0;
    // The language was chosen at the first start.
    virtual void LanguageChosen() = 0;
};

enum class PressButton { Left, Right, Middle };

// Keyboard play on the board.
enum class BoardKey {
    Action, // pick up the next tile, or lay the carried one where it is shown
    Left,
    Right,
    Up,
    Down,
    Turn,
    Discard,
};

// The animations of the board, each a sequence of frames on a timer.
struct FlowAnimation {
    enum class Kind {
        ThrowAway, // the thrown tile darkens in the discard box
        LevelWon,  // the covered square blinks
    };
    Kind kind = Kind::ThrowAway;
    int frame = 0;
    BlockPos square; // LevelWon: the square's top-left block

    static constexpr int ThrowAwayPasses = 8;
    static constexpr int ThrowAwayFrameMs = 40;
    static constexpr int BlinkFrames = 9;
    static constexpr int BlinkFrameMs = 150;
    static constexpr int RefusalCueMs = 330;
};

class GameFlow {
public:
    GameFlow(RandomSource& random, MainServices& services, FlowView& view);

    const GameCore& Game() const { return game_; }
    // Takes over a prepared position (tests, and tools that draw pictures of
    // the game); false when the rules refuse it.
    bool Restore(const GamePosition& position) { return !Busy() && game_.Restore(position); }

    // --- the board's interface state ----------------------------------------
    // A carried tile over the board stays over the same block when the board
    // is laid out anew (a keyboard player has no pointer move to put it back).
    void SetGeometry(const BoardGeometry& geometry);
    const BoardGeometry& Geometry() const { return geometry_; }
    // Centre of the carried tile in canvas pixels.
    int HandX() const { return handX_; }
    int HandY() const { return handY_; }
    // The block the keyboard aims at: the one under the carried tile, or the
    // nearest one when the tile is outside the board.
    BlockPos AimedBlock() const;
    const std::optional<FlowAnimation>& Animation() const { return animation_; }
    // The carried tile was refused on the block it is over now, turned as it
    // is now: until it moves or turns, the lay would be refused again.
    bool RefusedWhereItIs() const;
    // The game clock's timer is on (it ticks every 500 ms).
    bool ClockRunning() const { return clockEnabled_ && !firstShowPending_ && !closed_; }
    bool PauseEnabled() const { return pauseEnabled_; }
    // Something is under way that events have to wait for.
    bool Busy() const { return busy_ || modalDepth_ > 0; }
    // Events waiting for what is under way.
    int Waiting() const { return int(queue_.size()); }
    // The window's close was confirmed: nothing is handled any more.
    bool Closed() const { return closed_; }
    // The scene the board canvas shows now.
    BoardScene Scene() const;

    // --- events ------------------------------------------------------------------
    // The first game, dealt when the window is made.
    void NewGame();
    // The window's first showing: asks for the language if none is chosen.
    // The clock starts only afterwards.
    void FirstShow(bool languageChosen);
    void Press(PressButton button, int x, int y);
    void Move(int x, int y);
    void Key(BoardKey key);
    void Tick();
    void StartButton();
    void PauseButton();
    void HighScoreButton();
    void OptionsButton();
    void InfoButton();
    void RulesButton(bool german);
    // Every attempt to close the window; true when it may close now.
    bool CloseRequested();
    // The window closes: the clock stops and help is told.
    void Leave();
    void TimerDue(FlowTimer timer);

private:
    struct PressEvent { PressButton button; int x, y; };
    struct MoveEvent { int x, y; };
    struct KeyEvent { BoardKey key; };
    struct TickEvent {};
    struct CloseEvent {};
    enum class Button { Start, Pause, HighScore, Options, Info, Rules };
    struct ButtonEvent { Button button; bool german; };
    using Event = std::variant<PressEvent, MoveEvent, KeyEvent, TickEvent, CloseEvent, ButtonEvent>;

    // Handles the event now, or queues it if it has to wait; then handles
    // what waited, as far as nothing is under way.
    void Arrive(const Event& event);
    enum class Arrival { Now, Wait, Drop };
    Arrival WhenToHandle(const Event& event) const;
    void Queue(const Event& event);
    void Dispatch(const Event& event);
    void HandleQueued();

    void PressNow(PressButton button, int x, int y);
    void MoveNow(int x, int y);
    void KeyNow(BoardKey key);
    void TickNow();
    void ButtonNow(Button button, bool german);
    bool CloseQueryNow();
    void NewGameNow();

    void TryToLay(BlockPos block);
    void StartThrowAway();
    void StartLevelWon(BlockPos square);
    void NextFrame();
    void FinishThrowAway();
    void FinishLevelWon();

    void TimeOut();
    void DeliverTimeOut();
    void OfferScore();
    // A message, modal; a time-out that came while it was open follows it.
    Answer Ask(Message message);
    // Runs a modal window: the picture is brought up to date first, and
    // events other than the clock wait until the handler has finished.
    template <class F>
    auto Modal(F&& show);

    MainServices& services_;
    FlowView& view_;
    GameCore game_;
    BoardGeometry geometry_;

    int handX_ = 0;
    int handY_ = 0;
    BlockPos keyBlock_{3, 3}; // where a tile picked up by key is put
    bool refused_ = false;    // the sign of a refused lay shows
    // The last refused lay: its block and the tile as it was turned.
    struct Refusal {
        BlockPos block;
        Tile tile;
    };
    std::optional<Refusal> lastRefusal_;
    std::optional<FlowAnimation> animation_;

    bool clockEnabled_ = false;
    bool firstShowPending_ = true;
    bool pauseEnabled_ = false;
    bool closed_ = false;
    // A time-out that came while a window it needs was open.
    bool timeOutPending_ = false;
    // The score of a game is offered to the table once at most.
    bool scoreOffered_ = false;

    bool busy_ = false;   // an animation and the rest of its handler
    int modalDepth_ = 0;  // modal windows opened by the flow
    std::deque<Event> queue_;
    bool handlingQueue_ = false;
};
