#include "levels/level_flow.h"

#include <algorithm>
#include <optional>

namespace plumix {

void PayQuotas(std::array<int, 4>& openQuotas, int rowsCleared)
{
    int rows = rowsCleared;
    for (int i = 3; i >= 0; --i) {
        int& open = openQuotas[static_cast<std::size_t>(i)];
        while (rows > i && open > 0) {
            --open;
            rows -= i + 1;
        }
    }
}

LevelFlow::LevelFlow(Game& game, Ports ports, const LevelSet& levels)
    : game_(game), ports_(ports), levels_(levels)
{
    game_.SetLevelHooks(this);
}

LevelFlow::~LevelFlow()
{
    game_.SetLevelHooks(nullptr);
}

int LevelFlow::CurrentLevel() const
{
    return std::clamp(game_.State().level.value_or(0), 0, LastLevel);
}

const LevelDef& LevelFlow::CurrentLevelDef() const
{
    return levels_[static_cast<std::size_t>(CurrentLevel())];
}

void LevelFlow::NewGame()
{
    if (game_.State().gameMode == GameMode::None) {
        StartGame();
        return;
    }
    game_.AskThen(Question::NewGame, [this](bool yes) {
        if (yes) {
            StartGame();
        }
    });
}

void LevelFlow::StartGame()
{
    game_.BeginLevelGame();
    lives_ = StartingLives;
    timeUpPending_ = false;
    finalCrash_ = false;
    ShowIntro(0);
}

void LevelFlow::ShowIntro(int level)
{
    game_.AwaitLevel(level);
    ports_.intro.ShowLevelIntro();
}

void LevelFlow::StartLevel()
{
    if (!game_.State().introShowing || game_.State().gameMode != GameMode::Levels) {
        return;
    }
    const LevelDef& def = CurrentLevelDef();
    std::array<int, 4> quotas{};
    std::copy(def.quotas.begin(), def.quotas.end(), quotas.begin());
    timeUpPending_ = false;
    game_.PlayLevel({def.cells, CurrentLevel(), quotas,
                     def.HasTime() ? std::optional<int>(def.seconds) : std::nullopt, def.speed});
}

bool LevelFlow::LevelWon() const
{
    const GameState& s = game_.State();
    for (int c = 0; c < BoardColumns; ++c) {
        for (int r = 0; r < BoardRows; ++r) {
            if (game_.GetBoard().At(c, r) == CellBrick) {
                return false;
            }
        }
    }
    return std::all_of(s.openQuotas.begin(), s.openQuotas.end(), [](int open) { return open <= 0; }) && !s.limit;
}

bool LevelFlow::RowsScored(int rowsCleared)
{
    std::array<int, 4> quotas = game_.State().openQuotas;
    PayQuotas(quotas, rowsCleared);
    game_.SetOpenQuotas(quotas);
    if (timeUpPending_ || LevelWon()) {
        timeUpPending_ = false;
        LevelDone();
        return true;
    }
    return false;
}

void LevelFlow::TimeUp()
{
    if (game_.State().gameMode != GameMode::Levels) {
        return;
    }
    // A removal under way finishes and scores first; its end then closes the
    // level instead of placing a figure.
    if (game_.State().phase == Phase::Clearing) {
        timeUpPending_ = true;
        return;
    }
    LevelDone();
}

bool LevelFlow::CrashFinished()
{
    if (finalCrash_) {
        finalCrash_ = false;
        return false;
    }
    if (lives_ > 1) {
        --lives_;
        NextLevel();  // without the bricks of a won level
        return true;
    }
    return false;
}

void LevelFlow::NextLevel()
{
    const int level = CurrentLevel();
    // Any bonus round announces a life back, so any gives one.
    if (CurrentLevelDef().IsBonusRound()) {
        ++lives_;
    }
    if (level >= LastLevel) {
        // Once, whatever the lives: the message, then the crash and the end.
        finalCrash_ = true;
        ports_.dialogs.ShowMessage(LastLevelMessage, [this] {
            if (finalCrash_ && game_.State().gameMode == GameMode::Levels) {
                game_.GameOver();
            }
        });
        return;
    }
    ShowIntro(level + 1);
}

} // namespace plumix
