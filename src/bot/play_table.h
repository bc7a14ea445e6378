// Where the automatic player sits: the real engine and level flow on a
// virtual clock with a seeded random generator and silent ports. The table
// records the facts of a level as they happen (when each figure appeared,
// every key pressed and when, whether and when the level was won), apart from
// the player, so the player's timing can be checked against them.
#pragma once

#include "engine/game.h"
#include "engine/virtual_clock.h"
#include "levels/level_flow.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <random>
#include <vector>

namespace plumix::bot {

class SeededRandom : public RandomSource {
public:
    explicit SeededRandom(std::uint32_t seed) : engine_(seed) {}
    double Next() override { return static_cast<double>(engine_()) / 4294967296.0; }

private:
    std::mt19937 engine_;
};

struct KeyPress {
    std::int64_t time = 0;
    int key = 0;
    int figure = 0;  // which figure of the level was falling (1 = the first)
};

class PlayTable : private CellPainter, private SoundPort, private StatusView, private DialogPort,
                  private GameEndPort, private LevelIntroPort {
public:
    PlayTable(const LevelSet& levels, std::uint32_t seed);
    // The levels are kept by reference: a temporary set would be gone at once.
    PlayTable(LevelSet&& levels, std::uint32_t seed) = delete;
    ~PlayTable() override;
    PlayTable(const PlayTable&) = delete;
    PlayTable& operator=(const PlayTable&) = delete;

    // A level-mode game with three lives, begun at `level`.
    void BeginLevel(int level);

    const Game& GetGame() const { return *game_; }
    const VirtualClock& Clock() const { return clock_; }
    const LevelDef& Level() const { return levels_[static_cast<std::size_t>(level_)]; }
    Rotation GetRotation() const { return options_.rotation; }

    // Fires the next timer tick; false when nothing runs any more.
    bool Step();
    // Lets the game run until `time`.
    void WaitUntil(std::int64_t time);
    void Press(int key);

    // The level is over: the next level's intro (or the last level's
    // message) has come.
    bool LevelLeft() const { return left_; }
    bool Won() const { return left_ && wonAt_.has_value() && livesAfter_ >= StartingLives + (Level().IsBonusRound() ? 1 : 0); }
    // Ms from the level's start to the lock or countdown that won it.
    std::optional<std::int64_t> WonAfter() const;
    std::int64_t Elapsed() const { return clock_.Now() - startedAt_; }

    int Figures() const { return static_cast<int>(appeared_.size()); }
    std::int64_t FigureAppearedAt() const { return appeared_.empty() ? 0 : appeared_.back(); }
    // When each figure of the level appeared, the first figure first.
    const std::vector<std::int64_t>& Appearances() const { return appeared_; }
    const std::vector<KeyPress>& Keys() const { return keys_; }

private:
    void AfterEvent();

    void PaintBoardCell(int, int) override {}
    void PaintPreviewCell(int, int) override {}
    void PlaySfx(SoundEffect) override {}
    void StatusChanged() override {}
    void Ask(Question, std::function<void(bool)> answer) override { answer(true); }
    // Left unanswered: the last level's message keeps the game from going on
    // into its final crash.
    void ShowMessage(std::string_view, std::function<void()>) override {}
    void ShowError(std::string_view, std::function<void()>) override {}
    void GameEnded(const GameResult&) override {}
    void ShowLevelIntro() override;
    void MarkLeft();

    const LevelSet& levels_;
    VirtualClock clock_;
    SeededRandom random_;
    PlayOptions options_;
    std::unique_ptr<Game> game_;
    std::unique_ptr<LevelFlow> flow_;

    int level_ = 0;
    bool playing_ = false;
    bool left_ = false;
    int livesAfter_ = 0;
    std::int64_t startedAt_ = 0;
    std::optional<std::int64_t> wonAt_;
    bool wasActive_ = false;
    std::vector<std::int64_t> appeared_;
    std::vector<KeyPress> keys_;
};

} // namespace plumix::bot
