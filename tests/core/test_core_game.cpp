// Long seeded games through the rules and through the flow (with a window
// that only records), checked against the rules' invariants after every
// action, and summed up in a fingerprint of every score, position and scene on
// the way. The Windows build runs the same games under wine and must print the
// same fingerprint as the Linux build: any difference in the arithmetic, the
// random numbers or the order of evaluation shows up there.
#include "Check.h"

#include "game/flow/GameFlow.h"
#include "game/rules/GameCore.h"

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>

namespace {

constexpr std::uint32_t DealSeed = 20251211;
constexpr std::uint32_t PlayerSeed = 7;
constexpr int Actions = 300000;

// FNV-1a over the values in the order they are added.
class Fingerprint {
public:
    void Add(std::int64_t value)
    {
        for (int i = 0; i < 8; ++i) {
            hash_ ^= static_cast<std::uint8_t>(value >> (8 * i));
            hash_ *= 0x100000001b3ULL;
        }
    }
    void Add(float value)
    {
        std::uint32_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        Add(std::int64_t{bits});
    }
    void Add(const Tile& tile)
    {
        for (const auto& column : tile)
            for (const int v : column)
                Add(std::int64_t{v});
    }
    std::uint64_t Value() const { return hash_; }

private:
    std::uint64_t hash_ = 0xcbf29ce484222325ULL;
};

// The player's choices: its own generator, apart from the one that deals.
class Player {
public:
    explicit Player(std::uint32_t seed) : engine_(seed) {}
    // 0..n-1, the same on every platform (no library distribution).
    int Pick(int n) { return static_cast<int>(engine_() % static_cast<std::uint32_t>(n)); }

private:
    std::mt19937 engine_;
};

// Counts of what happened, so that a fingerprint stands for a game that went
// through every kind of event.
struct Events {
    int laid = 0, refused = 0, thrown = 0, levelsWon = 0, timeOuts = 0, games = 1;
};

// The first block, from a random start, where the carried tile would be taken.
std::optional<BlockPos> AcceptingBlock(const GameCore& game, Player& player)
{
    const int start = player.Pick(BoardBlocks * BoardBlocks);
    for (int i = 0; i < BoardBlocks * BoardBlocks; ++i) {
        const int at = (start + i) % (BoardBlocks * BoardBlocks);
        const BlockPos b{at % BoardBlocks, at / BoardBlocks};
        if (game.AcceptedBalance(b))
            return b;
    }
    return std::nullopt;
}

void AddPosition(Fingerprint& print, const GameCore& game)
{
    print.Add(std::int64_t(game.GameState()));
    print.Add(std::int64_t{game.Score()});
    print.Add(std::int64_t{game.Level()});
    print.Add(game.TimeLeft());
    print.Add(std::int64_t{game.InHand()});
    print.Add(game.NextTile());
    print.Add(game.HandTile());
    for (const auto& column : game.Board().AllCells())
        for (const int v : column)
            print.Add(std::int64_t{v});
}

// Reports the first broken invariant only: one fault would repeat thousands
// of times.
void CheckInvariants(const GameCore& game, int action, bool& reported)
{
    const std::string broken = GameCore::BrokenInvariant(game.Position(), true);
    if (!broken.empty() && !reported) {
        reported = true;
        check::Fail(__FILE__, __LINE__, "after action " + std::to_string(action) + ": " + broken);
    }
}

std::uint64_t PlayRules(Events& events)
{
    UniformRandom deal(DealSeed);
    Player player(PlayerSeed);
    GameCore game(deal);
    game.NewGame();
    Fingerprint print;
    bool reported = false;
    for (int action = 0; action < Actions; ++action) {
        if (game.LevelWon()) {
            CHECK(game.AdvanceLevel() && game.SetUpNextLevel());
            ++events.levelsWon;
        } else if (game.GameState() == TGameState::gsOver) {
            game.NewGame();
            ++events.games;
        } else {
            switch (player.Pick(12)) {
            case 0:
            case 1:
                game.StartOnFirstPress();
                game.PickUp();
                break;
            case 2:
                game.TurnHandTile();
                break;
            case 3: { // anywhere: mostly refused
                const LayResult r = game.Lay(BlockPos{player.Pick(BoardBlocks), player.Pick(BoardBlocks)});
                ++(r.accepted ? events.laid : events.refused);
                break;
            }
            case 4:
            case 5:
            case 6: // where it fits, so that levels are won
                if (const auto b = AcceptingBlock(game, player)) {
                    CHECK(game.Lay(*b).accepted);
                    ++events.laid;
                }
                break;
            case 7:
                events.thrown += game.ThrowAway();
                break;
            case 8:
            case 9:
            case 10:
                if (game.TickClock()) {
                    game.EndByTimeOut();
                    ++events.timeOuts;
                }
                break;
            case 11:
                if (game.Pause())
                    CHECK(game.Resume());
                else if (player.Pick(40) == 0)
                    game.GiveUp();
                break;
            }
        }
        CheckInvariants(game, action, reported);
        AddPosition(print, game);
    }
    return print.Value();
}

// --- the flow, with dialogs that answer at once and a window that records -------------

class AnsweringServices final : public MainServices {
public:
    explicit AnsweringServices(Player& player) : player_(player) {}
    Answer ShowMsg(Message message) override
    {
        ++shown[int(message)];
        // The game goes on to the end of the run.
        if (message == Message::Quit)
            return Answer::No;
        if (message == Message::GiveUp && closesAsked > 0) {
            --closesAsked;
            return Answer::No;
        }
        return player_.Pick(3) == 0 ? Answer::No : Answer::Yes;
    }
    bool MessageShowing() const override { return false; }
    void ShowHighscore(int score, bool) override { offered += score; }
    bool HighscoreShowing() const override { return false; }
    void ShowOptions() override {}
    void ShowInfo() override {}
    void AskLanguage() override {}
    void PlayEffect(Effect effect) override { ++effects[int(effect)]; }
    void MusicStartUp() override {}
    void MusicKeepAlive() override {}
    void HelpContext(int context) override { ++help[context]; }
    void HelpQuit() override {}

    // Closes requested: as many questions to give up are refused (a close
    // that has to wait is asked later, a close that is dropped never).
    int closesAsked = 0;
    std::map<int, int> shown, effects, help;
    std::int64_t offered = 0;

private:
    Player& player_;
};

class RecordingView final : public FlowView {
public:
    void Refresh() override { ++refreshes; }
    void Schedule(FlowTimer timer, int) override { pending[timer] = true; }
    void CloseConfirmed() override { ++closes; }
    void LanguageChosen() override {}

    std::map<FlowTimer, bool> pending;
    int refreshes = 0;
    int closes = 0;
};

void AddScene(Fingerprint& print, const BoardScene& scene)
{
    for (const auto& column : scene.cells)
        for (const int v : column)
            print.Add(std::int64_t{v});
    print.Add(scene.preview);
    print.Add(std::int64_t{scene.discard.has_value()});
    if (scene.discard) {
        print.Add(scene.discard->tile);
        print.Add(std::int64_t{scene.discard->passes});
    }
    print.Add(scene.timeLeft);
    print.Add(std::int64_t{scene.hand.has_value()});
    if (scene.hand) {
        print.Add(scene.hand->tile);
        print.Add(std::int64_t{scene.hand->x});
        print.Add(std::int64_t{scene.hand->y});
        print.Add(std::int64_t{scene.hand->refused});
    }
    print.Add(std::int64_t{scene.focused});
}

std::uint64_t PlayFlow(std::map<int, int>& effects, std::map<int, int>& shown)
{
    UniformRandom deal(DealSeed);
    Player player(PlayerSeed + 1);
    AnsweringServices services(player);
    RecordingView view;
    GameFlow flow(deal, services, view);
    flow.SetGeometry(BoardGeometry::ComputeLayout(701, 405));
    flow.NewGame();
    flow.FirstShow(true);
    const BoardGeometry& g = flow.Geometry();
    const auto fire = [&](FlowTimer timer) {
        if (view.pending.erase(timer))
            flow.TimerDue(timer);
    };

    Fingerprint print;
    bool reported = false;
    for (int action = 0; action < Actions; ++action) {
        // An animation's frames come faster than the player's presses.
        const bool frameDue = view.pending.count(FlowTimer::AnimationFrame) > 0 && player.Pick(4) != 0;
        switch (frameDue ? 12 : player.Pick(16)) {
        case 0:
        case 1:
            flow.Press(PressButton::Left, g.PreviewLeft + g.CellSize, g.PreviewTop + g.CellSize);
            break;
        case 2:
        case 3:
        case 4: // where the carried tile fits
            if (const auto b = AcceptingBlock(flow.Game(), player))
                flow.Press(PressButton::Left, g.BlockCentreX(b->column), g.BlockCentreY(b->row));
            break;
        case 5: // anywhere on the canvas, with any button
            flow.Press(static_cast<PressButton>(player.Pick(3)), player.Pick(701), player.Pick(405));
            break;
        case 6:
            flow.Move(player.Pick(701), player.Pick(405));
            break;
        case 7:
            flow.Key(static_cast<BoardKey>(player.Pick(7)));
            break;
        case 8:
            flow.Press(PressButton::Left, g.PreviewLeft + g.CellSize, g.PreviewTop + 4 * g.CellSize);
            break;
        case 9:
        case 10:
        case 11:
            if (flow.ClockRunning())
                flow.Tick();
            break;
        case 12:
            fire(FlowTimer::AnimationFrame);
            break;
        case 13:
            fire(FlowTimer::RefusalCue);
            break;
        case 14:
            switch (player.Pick(8)) {
            case 0: flow.StartButton(); break;
            case 1: flow.PauseButton(); break;
            case 2: flow.HighScoreButton(); break;
            case 3: flow.RulesButton(player.Pick(2) == 0); break;
            case 4:
                ++services.closesAsked;
                flow.CloseRequested();
                break;
            default: break;
            }
            break;
        case 15: // a game that is over is started anew; now and then the player walks away
            if (flow.Game().GameState() == TGameState::gsOver)
                flow.StartButton();
            else if (player.Pick(20) == 0)
                for (int tick = 0; tick < 250 && flow.ClockRunning(); ++tick)
                    flow.Tick();
            break;
        }
        CheckInvariants(flow.Game(), action, reported);
        AddScene(print, flow.Scene());
        print.Add(std::int64_t{flow.Game().Score()});
        print.Add(std::int64_t{flow.Game().Level()});
        print.Add(std::int64_t(flow.Game().GameState()));
    }
    CHECK(!flow.Closed());
    print.Add(services.offered);
    effects = services.effects;
    shown = services.shown;
    return print.Value();
}

} // namespace

TEST_CASE(seededGamesKeepTheRulesAndGiveTheirFingerprint)
{
    Events rules;
    const std::uint64_t rulesPrint = PlayRules(rules);
    // Every kind of event happened, or the fingerprint would not stand for it.
    CHECK(rules.laid > 0 && rules.refused > 0 && rules.thrown > 0);
    CHECK(rules.levelsWon >= 3 && rules.timeOuts > 0 && rules.games > 1);

    std::map<int, int> effects, shown;
    const std::uint64_t flowPrint = PlayFlow(effects, shown);
    for (const Effect e : {Effect::LevelWon, Effect::TileLaid, Effect::LayRefused, Effect::ThrownAway})
        CHECK(effects[int(e)] > 0);
    for (const Message m : {Message::GameOver, Message::NextLevel, Message::Paused, Message::Quit})
        CHECK(shown[int(m)] > 0);

    std::printf("rules: %d laid, %d refused, %d thrown, %d levels won, %d time-outs, %d games\n", rules.laid,
                rules.refused, rules.thrown, rules.levelsWon, rules.timeOuts, rules.games);
    std::printf("fingerprint %016" PRIx64 " %016" PRIx64 "\n", rulesPrint, flowPrint);
}

TEST_MAIN()
