#include "game/flow/GameFlow.h"

#include <algorithm>
#include <type_traits>

namespace {
Tile Images(const GameCore& game, const Tile& tile)
{
    Tile t{};
    for (int dx = 0; dx < 2; ++dx)
        for (int dy = 0; dy < 2; ++dy)
            t[dx][dy] = game.ImageFor(tile[dx][dy]);
    return t;
}
} // namespace

GameFlow::GameFlow(RandomSource& random, MainServices& services, FlowView& view)
    : services_(services), view_(view), game_(random)
{
}

// --- what the board shows ------------------------------------------------------------

void GameFlow::SetGeometry(const BoardGeometry& geometry)
{
    const bool overBoard = game_.InHand() && geometry_.CellSize > 0 && geometry_.OnBoard(handX_, handY_);
    const BlockPos aimed = AimedBlock();
    geometry_ = geometry;
    if (overBoard) {
        handX_ = geometry_.BlockCentreX(aimed.column);
        handY_ = geometry_.BlockCentreY(aimed.row);
    }
}

BlockPos GameFlow::AimedBlock() const
{
    return geometry_.NearestBlock(handX_, handY_);
}

bool GameFlow::RefusedWhereItIs() const
{
    return lastRefusal_ && game_.InHand() && geometry_.OnBoard(handX_, handY_) && AimedBlock() == lastRefusal_->block
        && game_.HandTile() == lastRefusal_->tile;
}

BoardScene GameFlow::Scene() const
{
    BoardScene s;
    // In a pause the board shows only empty cells, so the position cannot be studied.
    if (game_.GameState() != TGameState::gsPaused)
        for (int column = 0; column < BoardCells; ++column)
            for (int row = 0; row < BoardCells; ++row)
                s.cells[column][row] = game_.ImageFor(game_.Board().Cell(column, row));
    if (animation_ && animation_->kind == FlowAnimation::Kind::LevelWon && animation_->frame % 2 == 1) {
        const BlockPos q = animation_->square;
        for (int column = 2 * q.column; column < 2 * q.column + 6; ++column)
            for (int row = 2 * q.row; row < 2 * q.row + 6; ++row)
                s.cells[column][row] = 0;
    }
    s.preview = Images(game_, game_.NextTile());
    if (animation_ && animation_->kind == FlowAnimation::Kind::ThrowAway)
        s.discard = BoardScene::Discard{Images(game_, game_.HandTile()), animation_->frame};
    else if (game_.InHand())
        s.hand = BoardScene::Hand{Images(game_, game_.HandTile()), handX_, handY_, refused_};
    s.timeLeft = game_.TimeLeft();
    return s;
}

// --- arrival of events ---------------------------------------------------------------

GameFlow::Arrival GameFlow::WhenToHandle(const Event& event) const
{
    if (closed_)
        return Arrival::Drop;
    if (busy_)
        return Arrival::Wait;
    if (modalDepth_ > 0) {
        if (std::holds_alternative<TickEvent>(event))
            return Arrival::Now;
        return std::holds_alternative<CloseEvent>(event) ? Arrival::Wait : Arrival::Drop;
    }
    return queue_.empty() ? Arrival::Now : Arrival::Wait;
}

void GameFlow::Queue(const Event& event)
{
    // Missed ticks count as one, as a timer's do; and only the last of
    // several pointer moves matters.
    if (std::holds_alternative<TickEvent>(event)
        && std::any_of(queue_.begin(), queue_.end(), [](const Event& e) { return std::holds_alternative<TickEvent>(e); }))
        return;
    if (std::holds_alternative<MoveEvent>(event) && !queue_.empty() && std::holds_alternative<MoveEvent>(queue_.back())) {
        queue_.back() = event;
        return;
    }
    queue_.push_back(event);
}

void GameFlow::Arrive(const Event& event)
{
    switch (WhenToHandle(event)) {
    case Arrival::Drop:
        return;
    case Arrival::Wait:
        Queue(event);
        return;
    case Arrival::Now:
        Dispatch(event);
        HandleQueued();
        return;
    }
}

void GameFlow::Dispatch(const Event& event)
{
    std::visit(
        [this](const auto& e) {
            using E = std::decay_t<decltype(e)>;
            if constexpr (std::is_same_v<E, PressEvent>)
                PressNow(e.button, e.x, e.y);
            else if constexpr (std::is_same_v<E, MoveEvent>)
                MoveNow(e.x, e.y);
            else if constexpr (std::is_same_v<E, KeyEvent>)
                KeyNow(e.key);
            else if constexpr (std::is_same_v<E, TickEvent>)
                TickNow();
            else if constexpr (std::is_same_v<E, ButtonEvent>)
                ButtonNow(e.button, e.german);
            else if (CloseQueryNow()) {
                // The close waited for an animation: confirmed now, nothing after it counts.
                closed_ = true;
                queue_.clear();
                view_.CloseConfirmed();
            }
        },
        event);
}

void GameFlow::HandleQueued()
{
    if (handlingQueue_)
        return; // the loop further out goes on with the queue
    handlingQueue_ = true;
    while (!busy_ && modalDepth_ == 0 && !closed_ && !queue_.empty()) {
        const Event event = queue_.front();
        queue_.pop_front();
        Dispatch(event);
    }
    handlingQueue_ = false;
}

template <class F>
auto GameFlow::Modal(F&& show)
{
    view_.Refresh();
    struct Depth {
        int& depth;
        explicit Depth(int& d) : depth(d) { ++depth; }
        ~Depth() { --depth; }
    } depth(modalDepth_);
    return show();
}

// --- entry points ------------------------------------------------------------------

void GameFlow::NewGame()
{
    NewGameNow();
}

void GameFlow::FirstShow(bool languageChosen)
{
    if (!firstShowPending_)
        return;
    if (!languageChosen) {
        Modal([this] { services_.AskLanguage(); });
        view_.LanguageChosen();
    }
    // The clock starts once the player can see the board and play.
    firstShowPending_ = false;
    HandleQueued();
}

void GameFlow::Press(PressButton button, int x, int y) { Arrive(PressEvent{button, x, y}); }
void GameFlow::Move(int x, int y) { Arrive(MoveEvent{x, y}); }
void GameFlow::Key(BoardKey key) { Arrive(KeyEvent{key}); }
void GameFlow::Tick() { Arrive(TickEvent{}); }
void GameFlow::StartButton() { Arrive(ButtonEvent{Button::Start, false}); }
void GameFlow::PauseButton() { Arrive(ButtonEvent{Button::Pause, false}); }
void GameFlow::HighScoreButton() { Arrive(ButtonEvent{Button::HighScore, false}); }
void GameFlow::OptionsButton() { Arrive(ButtonEvent{Button::Options, false}); }
void GameFlow::InfoButton() { Arrive(ButtonEvent{Button::Info, false}); }
void GameFlow::RulesButton(bool german) { Arrive(ButtonEvent{Button::Rules, german}); }

bool GameFlow::CloseRequested()
{
    const Event close = CloseEvent{};
    switch (WhenToHandle(close)) {
    case Arrival::Drop:
        return false;
    case Arrival::Wait:
        Queue(close); // asked when what is under way has finished
        return false;
    case Arrival::Now:
        break;
    }
    if (CloseQueryNow()) {
        closed_ = true;
        queue_.clear();
        return true;
    }
    HandleQueued();
    return false;
}

void GameFlow::Leave()
{
    clockEnabled_ = false;
    closed_ = true;
    queue_.clear();
    services_.HelpQuit();
}

void GameFlow::TimerDue(FlowTimer timer)
{
    switch (timer) {
    case FlowTimer::AnimationFrame:
        NextFrame();
        break;
    case FlowTimer::RefusalCue:
        refused_ = false;
        break;
    }
}

// --- the board -------------------------------------------------------------------------

void GameFlow::PressNow(PressButton button, int x, int y)
{
    if (!game_.AcceptsPresses())
        return;
    game_.StartOnFirstPress();
    pauseEnabled_ = true;

    if (!game_.InHand()) {
        // Any button picks up the waiting tile.
        if (geometry_.InPreview(x, y) && game_.PickUp()) {
            handX_ = x;
            handY_ = y;
            refused_ = false;
            lastRefusal_.reset();
        }
        return;
    }
    if (button == PressButton::Right) {
        game_.TurnHandTile();
        return;
    }
    if (button != PressButton::Left)
        return;
    if (geometry_.InDiscard(x, y)) {
        StartThrowAway();
        return;
    }
    if (const auto block = geometry_.BlockAt(x, y))
        TryToLay(*block);
}

void GameFlow::MoveNow(int x, int y)
{
    if (!game_.AcceptsPresses() || !game_.InHand())
        return;
    handX_ = x;
    handY_ = y;
}

void GameFlow::KeyNow(BoardKey key)
{
    const BoardGeometry& g = geometry_;
    const auto centre = [&g](BlockPos b) { return std::pair{g.BlockCentreX(b.column), g.BlockCentreY(b.row)}; };
    if (!game_.InHand()) {
        // Without a tile only the action key does something: it takes the next one.
        if (key != BoardKey::Action)
            return;
        PressNow(PressButton::Left, g.PreviewCentre().x, g.PreviewCentre().y);
        if (game_.InHand()) {
            const auto [x, y] = centre(keyBlock_);
            MoveNow(x, y);
        }
        return;
    }
    switch (key) {
    case BoardKey::Action: {
        // The key acts where the tile is shown, as a click there would.
        if (g.InDiscard(handX_, handY_)) {
            PressNow(PressButton::Left, handX_, handY_);
            return;
        }
        keyBlock_ = AimedBlock();
        const auto [x, y] = centre(keyBlock_);
        if (g.OnBoard(handX_, handY_))
            PressNow(PressButton::Left, x, y);
        else
            MoveNow(x, y); // off the board, the first press brings the tile onto it
        return;
    }
    case BoardKey::Left:
    case BoardKey::Right:
    case BoardKey::Up:
    case BoardKey::Down: {
        if (!game_.AcceptsPresses())
            return;
        const int dx = key == BoardKey::Left ? -1 : key == BoardKey::Right ? 1 : 0;
        const int dy = key == BoardKey::Up ? -1 : key == BoardKey::Down ? 1 : 0;
        const BlockPos from = AimedBlock();
        keyBlock_ = {std::clamp(from.column + dx, 0, BoardBlocks - 1), std::clamp(from.row + dy, 0, BoardBlocks - 1)};
        const auto [x, y] = centre(keyBlock_);
        MoveNow(x, y);
        return;
    }
    case BoardKey::Turn:
        PressNow(PressButton::Right, handX_, handY_);
        return;
    case BoardKey::Discard:
        PressNow(PressButton::Left, g.DiscardCentre().x, g.DiscardCentre().y);
        return;
    }
}

void GameFlow::TryToLay(BlockPos block)
{
    const LayResult result = game_.Lay(block);
    if (!result.accepted) {
        services_.PlayEffect(Effect::LayRefused);
        // The sound alone cannot be heard with sound off: the tile shows it too, briefly.
        refused_ = true;
        lastRefusal_ = Refusal{block, game_.HandTile()};
        view_.Schedule(FlowTimer::RefusalCue, FlowAnimation::RefusalCueMs);
        return;
    }
    refused_ = false;
    if (result.fullSquare)
        StartLevelWon(*result.fullSquare);
    else
        services_.PlayEffect(Effect::TileLaid);
}

// --- the animations ------------------------------------------------------------------

void GameFlow::StartThrowAway()
{
    services_.PlayEffect(Effect::ThrownAway);
    refused_ = false;
    busy_ = true;
    animation_ = FlowAnimation{FlowAnimation::Kind::ThrowAway, 1, {}};
    view_.Schedule(FlowTimer::AnimationFrame, FlowAnimation::ThrowAwayFrameMs);
}

void GameFlow::StartLevelWon(BlockPos square)
{
    clockEnabled_ = false;
    services_.PlayEffect(Effect::LevelWon);
    busy_ = true;
    animation_ = FlowAnimation{FlowAnimation::Kind::LevelWon, 0, square};
    view_.Schedule(FlowTimer::AnimationFrame, FlowAnimation::BlinkFrameMs);
}

void GameFlow::NextFrame()
{
    if (!animation_)
        return;
    FlowAnimation& a = *animation_;
    if (a.kind == FlowAnimation::Kind::ThrowAway) {
        if (a.frame < FlowAnimation::ThrowAwayPasses) {
            ++a.frame;
            view_.Schedule(FlowTimer::AnimationFrame, FlowAnimation::ThrowAwayFrameMs);
        } else {
            FinishThrowAway();
        }
    } else {
        if (a.frame < FlowAnimation::BlinkFrames - 1) {
            ++a.frame;
            view_.Schedule(FlowTimer::AnimationFrame, FlowAnimation::BlinkFrameMs);
        } else {
            FinishLevelWon();
        }
    }
}

void GameFlow::FinishThrowAway()
{
    animation_.reset();
    game_.ThrowAway();
    busy_ = false;
    HandleQueued();
}

void GameFlow::FinishLevelWon()
{
    animation_.reset();
    game_.AdvanceLevel();
    Ask(Message::NextLevel);
    game_.SetUpNextLevel();
    clockEnabled_ = true;
    busy_ = false;
    HandleQueued();
}

// --- the clock -----------------------------------------------------------------------

void GameFlow::TickNow()
{
    if (!ClockRunning())
        return; // a tick that was on its way when the clock stopped
    if (game_.TickClock())
        TimeOut();
    // The music only restarts while the clock runs.
    if (ClockRunning())
        services_.MusicKeepAlive();
}

void GameFlow::TimeOut()
{
    game_.EndByTimeOut();
    clockEnabled_ = false;
    refused_ = false;
    services_.PlayEffect(Effect::LayRefused);
    // The message dialog and the table exist once each. If one of them is
    // open (the close question, the table shown by its button), the game is
    // over now, and the message and the score offer follow when it closes.
    if (services_.MessageShowing() || services_.HighscoreShowing()) {
        timeOutPending_ = true;
        return;
    }
    DeliverTimeOut();
}

void GameFlow::DeliverTimeOut()
{
    timeOutPending_ = false;
    Modal([this] { return services_.ShowMsg(Message::GameOver); });
    OfferScore();
}

void GameFlow::OfferScore()
{
    if (scoreOffered_ || game_.Score() <= 0)
        return;
    scoreOffered_ = true;
    Modal([this] { services_.ShowHighscore(game_.Score(), false); });
}

Answer GameFlow::Ask(Message message)
{
    const Answer answer = Modal([this, message] { return services_.ShowMsg(message); });
    if (timeOutPending_)
        DeliverTimeOut();
    return answer;
}

// --- the tool strip and closing -------------------------------------------------------

void GameFlow::NewGameNow()
{
    game_.NewGame();
    scoreOffered_ = false;
    timeOutPending_ = false;
    pauseEnabled_ = false;
    refused_ = false;
    lastRefusal_.reset();
    clockEnabled_ = true;
}

void GameFlow::ButtonNow(Button button, bool german)
{
    switch (button) {
    case Button::Start:
        if (game_.GameState() == TGameState::gsOver) {
            NewGameNow();
            return;
        }
        clockEnabled_ = false; // the clock is held during the question
        if (game_.Score() <= 0) {
            NewGameNow();
        } else if (Ask(Message::GiveUp) == Answer::Yes) {
            OfferScore();
            NewGameNow();
        }
        clockEnabled_ = true;
        return;
    case Button::Pause:
        if (!game_.Pause())
            return;
        Ask(Message::Paused);
        game_.Resume();
        return;
    case Button::HighScore:
        Modal([this] { services_.ShowHighscore(game_.Score(), true); });
        if (timeOutPending_)
            DeliverTimeOut();
        return;
    case Button::Options:
        Modal([this] { services_.ShowOptions(); });
        return;
    case Button::Info:
        Modal([this] { services_.ShowInfo(); });
        return;
    case Button::Rules:
        services_.HelpContext(german ? 1 : 2);
        return;
    }
}

bool GameFlow::CloseQueryNow()
{
    const bool wasRunning = game_.GameState() == TGameState::gsRunning;
    const Answer answer = Ask(wasRunning ? Message::GiveUp : Message::Quit);
    if (answer != Answer::Yes)
        return false;
    if (wasRunning && game_.GameState() == TGameState::gsRunning) {
        game_.GiveUp();
        OfferScore();
    }
    return true;
}
