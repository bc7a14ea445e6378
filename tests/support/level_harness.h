// A game harness with the level flow, levels the test lays out, and an intro
// the test dismisses (or that dismisses itself).
#pragma once

#include "levels/level_flow.h"
#include "support/game_harness.h"

#include <memory>
#include <string>
#include <vector>

namespace plumix::testing {

struct IntroRecorder : LevelIntroPort {
    void ShowLevelIntro() override
    {
        ++shown;
        if (autoStart && flow != nullptr) {
            flow->StartLevel();
        }
    }
    LevelFlow* flow = nullptr;
    bool autoStart = false;
    int shown = 0;
};

// Lays out a level's lowest rows from text, top to bottom: '.' empty,
// '#' brick, a digit a coloured block.
inline void LayOut(LevelDef& level, const std::vector<std::string>& bottomRows)
{
    const std::size_t top = BoardRows - bottomRows.size();
    for (std::size_t r = 0; r < bottomRows.size(); ++r) {
        for (std::size_t c = 0; c < BoardColumns; ++c) {
            const char ch = bottomRows[r][c];
            level.cells[c][top + r] = ch == '.' ? 0 : ch == '#' ? CellBrick : static_cast<std::uint8_t>(ch - '0');
        }
    }
}

struct LevelHarness : GameHarness {
    LevelSet levels{};
    IntroRecorder intro;
    std::unique_ptr<LevelFlow> flow;

    LevelHarness()
    {
        flow = std::make_unique<LevelFlow>(*game, LevelFlow::Ports{dialogs, intro}, levels);
        intro.flow = flow.get();
    }
    LevelDef& Level(int n) { return levels.at(static_cast<std::size_t>(n)); }
    // A level-mode game jumped to `level`, falling `current` with `next` in the preview.
    void StartAt(int level, int current, int next, int lives = StartingLives)
    {
        random.PushFigure(current);
        random.PushFigure(next);
        flow->StartGame();
        for (int i = StartingLives; i > lives; --i) {
            flow->CrashFinished();  // costs a life and shows the next level
        }
        game->AwaitLevel(level);
        flow->StartLevel();
    }
    bool VictoryRunning() const { return clock.Running(TimerId::Victory); }
};

} // namespace plumix::testing
