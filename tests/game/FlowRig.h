#pragma once
// The game flow without a window: fake dialogs and a fake view that records
// what the flow asks of its window, with the board laid out as in a window
// of the design size.
#include <map>

#include "game/mainform/CanvasGeometryQt.h"
#include "FakeServices.h"
#include "Positions.h"
#include "game/flow/GameFlow.h"

class FakeView final : public FlowView {
public:
    int refreshes = 0;
    std::map<FlowTimer, int> pending; // timers asked for and not yet due
    int closesConfirmed = 0;
    int languagesChosen = 0;
    std::function<void()> onRefresh;

    void Refresh() override
    {
        ++refreshes;
        if (onRefresh)
            onRefresh();
    }
    void Schedule(FlowTimer timer, int milliseconds) override { pending[timer] = milliseconds; }
    void CloseConfirmed() override { ++closesConfirmed; }
    void LanguageChosen() override { ++languagesChosen; }
};

struct FlowRig {
    UniformRandom random;
    FakeServices services;
    FakeView view;
    GameFlow flow{random, services, view};

    explicit FlowRig(std::uint32_t seed = 3) : random(seed)
    {
        flow.SetGeometry(BoardGeometry::ComputeLayout(701, 405));
        flow.NewGame();
        flow.FirstShow(true);
    }

    const GameCore& Game() const { return flow.Game(); }
    const BoardGeometry& Geo() const { return flow.Geometry(); }
    QPoint PreviewCentre() const { return ToQPoint(Geo().PreviewCentre()); }
    QPoint DiscardCentre() const { return ToQPoint(Geo().DiscardCentre()); }
    QPoint BlockCentre(BlockPos b) const { return {Geo().BlockCentreX(b.column), Geo().BlockCentreY(b.row)}; }

    void Press(QPoint p, PressButton button = PressButton::Left) { flow.Press(button, p.x(), p.y()); }
    void PickUp() { Press(PreviewCentre()); }
    // Lets the timer the flow asked for fire; false when none was pending.
    bool Fire(FlowTimer timer)
    {
        if (!view.pending.erase(timer))
            return false;
        flow.TimerDue(timer);
        return true;
    }
    // Every frame of the running animation, as its timer would fire them.
    int FinishAnimation()
    {
        int frames = 0;
        while (Fire(FlowTimer::AnimationFrame))
            ++frames;
        return frames;
    }
    void RunClockOut()
    {
        for (int i = 0; i < 1000 && Game().GameState() != TGameState::gsOver; ++i)
            flow.Tick();
    }
    void Clear()
    {
        services.messages.clear();
        services.highscores.clear();
        services.effects.clear();
    }
};
