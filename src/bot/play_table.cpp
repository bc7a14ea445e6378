#include "bot/play_table.h"

namespace plumix::bot {

PlayTable::PlayTable(const LevelSet& levels, std::uint32_t seed) : levels_(levels), random_(seed)
{
    game_ = std::make_unique<Game>(Game::Ports{clock_, random_, *this, *this, *this, *this},
                                   static_cast<GameEndPort&>(*this), options_);
    flow_ = std::make_unique<LevelFlow>(*game_, LevelFlow::Ports{*this, *this}, levels_);
    clock_.handler = [this](TimerId id) { game_->OnTimer(id); };
}

PlayTable::~PlayTable() = default;

void PlayTable::BeginLevel(int level)
{
    level_ = level;
    playing_ = false;
    flow_->StartGame();
    // The intro of level 0 is up; the level chosen takes its place.
    game_->AwaitLevel(level);
    playing_ = true;
    left_ = false;
    wonAt_.reset();
    appeared_.clear();
    keys_.clear();
    wasActive_ = false;
    startedAt_ = clock_.Now();
    flow_->StartLevel();
    AfterEvent();
}

bool PlayTable::Step()
{
    if (!clock_.FireNext()) {
        return false;
    }
    AfterEvent();
    return true;
}

void PlayTable::WaitUntil(std::int64_t time)
{
    while (clock_.NextDue() <= time && !left_) {
        Step();
    }
    clock_.AdvanceTo(std::max(time, clock_.Now()));
}

void PlayTable::Press(int key)
{
    keys_.push_back({clock_.Now(), key, Figures()});
    game_->KeyDown(key);
    AfterEvent();
}

std::optional<std::int64_t> PlayTable::WonAfter() const
{
    if (!Won()) {
        return std::nullopt;
    }
    return *wonAt_ - startedAt_;
}

void PlayTable::AfterEvent()
{
    if (flow_->LastLevelLeft()) {
        MarkLeft();
    }
    const bool active = game_->State().FigureActive();
    if (active && !wasActive_) {
        appeared_.push_back(clock_.Now());
    }
    wasActive_ = active;
    if (!wonAt_ && game_->State().phase == Phase::Winning) {
        wonAt_ = clock_.Now();
    }
}

void PlayTable::ShowLevelIntro()
{
    MarkLeft();
}

void PlayTable::MarkLeft()
{
    if (playing_) {
        playing_ = false;
        left_ = true;
        livesAfter_ = flow_->Lives();
    }
}

} // namespace plumix::bot
