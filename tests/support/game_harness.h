// A Game wired to the fake ports, with helpers to script figures and play.
#pragma once

#include "engine/game.h"
#include "support/fake_ports.h"

#include <algorithm>
#include <memory>
#include <string>

namespace plumix::testing {

// Figures by number: the square, the bar standing, the J with its foot up.
inline constexpr int Square = 1;
inline constexpr int VerticalBar = 5;
inline constexpr int J = 9;

// Rows from..to of a board as text, '.' for empty, top row first.
inline std::string RowsOf(const Board& board, int from, int to)
{
    std::string out;
    for (int r = from; r <= to; ++r) {
        for (int c = 0; c < BoardColumns; ++c) {
            const int v = board.At(c, r);
            out += v == 0 ? '.' : static_cast<char>('0' + v);
        }
        out += '|';
    }
    return out;
}

// Column 4 stacked from row 2 to the floor: a new figure cannot fall.
inline FieldCells BlockedEntry()
{
    FieldCells field{};
    std::fill(field[4].begin() + 2, field[4].end(), 3);
    return field;
}

struct GameHarness : FakePorts {
    EndRecorder ended;
    PlayOptions options;
    std::unique_ptr<Game> game;

    GameHarness()
    {
        game = std::make_unique<Game>(Game::Ports{clock, random, cells, sounds, status, dialogs}, ended, options);
        clock.handler = [this](TimerId id) { game->OnTimer(id); };
    }
    const GameState& state() const { return game->State(); }

    // A Classic game falling `current` with `next` in the preview; only a
    // harness's first game chooses, later ones begin with the last preview.
    void StartClassic(int current, int next)
    {
        random.PushFigure(current);
        random.PushFigure(next);
        game->NewClassicGame();
    }
    FieldCells Field() const
    {
        FieldCells field{};
        for (int c = 0; c < BoardColumns; ++c) {
            for (int r = 0; r < BoardRows; ++r) {
                field[static_cast<std::size_t>(c)][static_cast<std::size_t>(r)] = game->GetBoard().At(c, r);
            }
        }
        return field;
    }
    void SetCell(int c, int r, std::uint8_t value)
    {
        FieldCells field = Field();
        field.at(static_cast<std::size_t>(c)).at(static_cast<std::size_t>(r)) = value;
        game->SetField(field);
    }
    // Fills playfield row r but for the column `hole` (-1: none).
    void FillRow(int r, int hole = -1, std::uint8_t value = 3)
    {
        FieldCells field = Field();
        for (int c = 0; c < BoardColumns; ++c) {
            field[static_cast<std::size_t>(c)][static_cast<std::size_t>(r)] = c == hole ? CellEmpty : value;
        }
        game->SetField(field);
    }
    void PauseAndResume() { game->TogglePause(); game->TogglePause(); }
    void Press(int key, int times = 1)
    {
        for (int i = 0; i < times; ++i) {
            game->KeyDown(key);
        }
    }
    std::int64_t FallUntilLocked()
    {
        clock.RunUntil([this] { return !state().FigureActive(); });
        return clock.Now();
    }
    std::int64_t RunUntilNextFigure()
    {
        clock.RunUntil([this] { return state().FigureActive() || state().gameMode == GameMode::None; });
        return clock.Now();
    }
    std::string Rows(int from, int to) const { return RowsOf(game->GetBoard(), from, to); }
};

} // namespace plumix::testing
