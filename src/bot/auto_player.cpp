#include "bot/auto_player.h"

#include "engine/keys.h"

#include <algorithm>
#include <cstdlib>

namespace plumix::bot {

namespace {

// A plan that keeps being overtaken by events is dropped; the figure then
// simply falls where it is.
constexpr int MaxReplans = 3;

} // namespace

Tasks AutoPlayer::SeenTasks() const
{
    const GameState& s = table_.GetGame().State();
    Tasks t;
    t.quotas = s.openQuotas;
    t.timed = s.limit.has_value();
    const Board& board = table_.GetGame().GetBoard();
    for (int c = 0; c < BoardColumns; ++c) {
        for (int r = 0; r < BoardRows; ++r) {
            t.bricks += board.At(c, r) == CellBrick ? 1 : 0;
        }
    }
    return t;
}

void AutoPlayer::Plan()
{
    const Game& game = table_.GetGame();
    const GameState& s = game.State();
    const VirtualClock& clock = table_.Clock();
    Situation situation;
    situation.field = Field::FromBoard(game.GetBoard());
    situation.figure = Motion{s.curFigure, s.figX, s.figY};
    situation.timing.firstKey = std::max({clock.Now(), lastKeyAt_ + KeyGapMs, table_.FigureAppearedAt() + FirstKeyDelayMs});
    situation.timing.nextTick = clock.DueOf(TimerId::Figure);
    situation.timing.interval = clock.Interval(TimerId::Figure);
    situation.nextFigure = s.nextFigure;
    situation.levelInterval = s.fallInterval;
    situation.tasks = SeenTasks();
    situation.rotation = table_.GetRotation();

    keys_.clear();
    nextKey_ = 0;
    nextKeyAt_ = situation.timing.firstKey;
    const Decision d = Decide(situation);
    if (!d.found) {
        return;
    }
    int figure = s.curFigure;
    int x = s.figX;
    for (int i = 0; i < d.plan.rotations; ++i) {
        keys_.push_back({VkUp, figure, x});
        figure = NextRotation(figure, situation.rotation);
    }
    const int dx = d.plan.shift < 0 ? -1 : 1;
    for (int i = 0; i < std::abs(d.plan.shift); ++i) {
        keys_.push_back({dx < 0 ? VkLeft : VkRight, figure, x});
        x += dx;
    }
    // Survival is won by the clock: a slow fall means fewer figures to place.
    if (!situation.tasks.timed && s.fallInterval > FastDropInterval) {
        keys_.push_back({VkDown, figure, x});
    }
}

LevelPlay AutoPlayer::Play()
{
    while (!table_.LevelLeft() && table_.Figures() <= GiveUpFigures) {
        const GameState& s = table_.GetGame().State();
        if (s.FigureActive() && plannedFigure_ != table_.Figures()) {
            plannedFigure_ = table_.Figures();
            replans_ = 0;
            Plan();
        }
        const std::int64_t keyAt =
            s.FigureActive() && nextKey_ < keys_.size() ? nextKeyAt_ : VirtualClock::Never;
        const std::int64_t due = table_.Clock().NextDue();
        if (due == VirtualClock::Never && keyAt == VirtualClock::Never) {
            break;
        }
        if (due <= keyAt) {
            table_.Step();
            continue;
        }
        table_.WaitUntil(keyAt);
        const Key& key = keys_[nextKey_];
        if (s.curFigure != key.figure || s.figX != key.x) {
            // Something came between the plan and the figure: plan again from here.
            if (++replans_ > MaxReplans) {
                keys_.clear();
            } else {
                Plan();
            }
            continue;
        }
        table_.Press(key.code);
        lastKeyAt_ = table_.Clock().Now();
        ++nextKey_;
        nextKeyAt_ = lastKeyAt_ + KeyGapMs;
    }
    LevelPlay play;
    play.won = table_.Won();
    play.figures = table_.Figures();
    const auto wonAfter = table_.WonAfter();
    play.seconds = static_cast<double>(wonAfter ? *wonAfter : table_.Elapsed()) / 1000.0;
    return play;
}

LevelPlay PlayLevel(const LevelSet& levels, int level, std::uint32_t seed)
{
    PlayTable table(levels, seed);
    table.BeginLevel(level);
    AutoPlayer player(table);
    return player.Play();
}

} // namespace plumix::bot
