// Stand-ins for the rules' ports: a virtual clock, scripted draws and answers, recorders.
#pragma once

#include "engine/virtual_clock.h"
#include "engine/game.h"
#include "engine/ports.h"

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace plumix::testing {

// The scripted numbers in order, then 0 for ever.
class ScriptedRandom : public RandomSource {
public:
    double Next() override;
    void Push(double value) { values_.push_back(value); }
    // The draw that makes SpawnFigure choose figure n (1..28).
    void PushFigure(int n) { Push((n - 0.5) / 28.0); }

private:
    std::deque<double> values_;
};

struct CellRecorder : CellPainter {
    CellRecorder() { board.fill(-1); preview.fill(-1); }
    void PaintBoardCell(int index, int palette) override { Store(board, index, palette); }
    void PaintPreviewCell(int index, int palette) override { Store(preview, index, palette); }
    template <std::size_t N>
    void Store(std::array<int, N>& cells, int index, int palette)
    {
        outOfRange = outOfRange || index < 0 || index >= static_cast<int>(N);
        if (!outOfRange) {
            cells[static_cast<std::size_t>(index)] = palette;
        }
    }
    std::array<int, 200> board{};
    std::array<int, 16> preview{};
    bool outOfRange = false;
};

struct SoundRecorder : SoundPort {
    void PlaySfx(SoundEffect effect) override { played.push_back(effect); }
    std::vector<SoundEffect> played;
};

struct StatusCounter : StatusView {
    void StatusChanged() override { ++changes; }
    int changes = 0;
};

// Answers from `answers` (Yes when empty) or holds the question in `pending`;
// records every message (errors with a leading "!") and dismisses it at once.
struct ScriptedDialogs : DialogPort {
    void Ask(Question question, std::function<void(bool)> answer) override;
    void ShowMessage(std::string_view text, std::function<void()> closed) override { Show(text, closed); }
    void ShowError(std::string_view text, std::function<void()> closed) override
    {
        Show("!" + std::string(text), closed);
    }
    void Show(std::string_view text, const std::function<void()>& closed)
    {
        messages.emplace_back(text);
        if (closed) {
            closed();
        }
    }

    std::deque<bool> answers;
    bool holdQuestions = false;
    std::function<void(bool)> pending;
    std::vector<std::string> messages;
    std::vector<Question> questions;
};

// Every fake a game's ports need but the end of a game, for a fixture to build on.
struct FakePorts {
    VirtualClock clock;
    ScriptedRandom random;
    CellRecorder cells;
    SoundRecorder sounds;
    StatusCounter status;
    ScriptedDialogs dialogs;
};

// The results of the games that ended.
struct EndRecorder : GameEndPort {
    void GameEnded(const GameResult& result) override { results.push_back(result); }
    std::vector<GameResult> results;
};

} // namespace plumix::testing
