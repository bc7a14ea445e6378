#include "engine/game.h"

#include "engine/keys.h"
#include "engine/level_hooks.h"
#include "scores/records.h"
#include "settings/settings.h"

#include <algorithm>
#include <utility>

namespace plumix {

namespace {

inline constexpr int SpawnX = 3;
inline constexpr int SpawnY = -1;
inline constexpr int FigureColours = 7;

// Int(r * n) for a draw r in [0, 1), kept inside 0..n-1 whatever the source.
int RandomBelow(RandomSource& random, int n)
{
    return std::clamp(static_cast<int>(random.Next() * n), 0, n - 1);
}

} // namespace

int IntervalForLevel(int level)
{
    return 1070 - 100 * level;
}

Game::Game(Ports ports, const Settings& settings, const TextTable& texts, RecordTables& records)
    : ports_(ports), settings_(settings), texts_(texts), records_(records)
{
    auto& timers = ports_.timers;
    timers.SetInterval(TimerId::Figure, 0);
    timers.SetEnabled(TimerId::Figure, true);
    timers.SetInterval(TimerId::GameOnTime, GameOnTimeInterval);
    timers.SetEnabled(TimerId::GameOnTime, false);
    timers.SetInterval(TimerId::Terminate, TerminateInterval);
    timers.SetEnabled(TimerId::Terminate, false);
    timers.SetInterval(TimerId::Victory, VictoryInterval);
    timers.SetEnabled(TimerId::Victory, false);
    timers.SetInterval(TimerId::CrashAni, CrashAniInterval);
    timers.SetEnabled(TimerId::CrashAni, false);
    InitFigures(figures_);
    ClearBoardCells(board_);
}

// ---- collision ----------------------------------------------------------

bool Game::Blocked(int figure, int dx, int dy, int firstRow) const
{
    if (figure < 1 || figure > FigureCount) {
        return false;
    }
    const FigureBox& box = figures_[figure];
    for (int y = firstRow; y < BoxSize; ++y) {
        for (int x = 0; x < BoxSize; ++x) {
            if (box[x][y] != 0 && board_.At(state_.figX + x + dx, state_.figY + y + dy) != CellEmpty) {
                return true;
            }
        }
    }
    return false;
}

bool Game::BlockedBelow() const { return Blocked(state_.curFigure, 0, 1, 1); }
bool Game::BlockedHere() const { return Blocked(state_.curFigure, 0, 0, 1); }
bool Game::BlockedLeft() const { return Blocked(state_.curFigure, -1, 0, 0); }
bool Game::BlockedRight() const { return Blocked(state_.curFigure, 1, 0, 0); }

bool Game::BlockedRotated() const
{
    return Blocked(NextRotation(state_.curFigure, settings_.rotateDir), 0, 0, 0);
}

// ---- painting -----------------------------------------------------------

int Game::EmptyPalette() const
{
    return EmptyCellPalette(settings_);
}

void Game::PaintFigure(bool draw)
{
    if (state_.curFigure < 1 || state_.curFigure > FigureCount) {
        return;
    }
    const FigureBox& box = figures_[state_.curFigure];
    const int empty = EmptyPalette();
    for (int y = 0; y < BoxSize; ++y) {
        for (int x = 0; x < BoxSize; ++x) {
            const int column = state_.figX + x;
            const int row = state_.figY + y;
            // Rows above the field are invisible until the figure falls into view.
            if (box[x][y] != 0 && row >= 0 && row < BoardRows && column >= 0 && column < BoardColumns) {
                ports_.cells.PaintBoardCell(row * BoardColumns + column, draw ? box[x][y] : empty);
            }
        }
    }
}

void Game::DrawFigure() { PaintFigure(true); }
void Game::EraseFigure() { PaintFigure(false); }

void Game::DrawNext()
{
    const int empty = EmptyPalette();
    const bool show = settings_.showNext == 1 && state_.nextFigure >= 1 && state_.nextFigure <= FigureCount;
    for (int r = 0; r < BoxSize; ++r) {
        for (int c = 0; c < BoxSize; ++c) {
            const int value = show ? figures_[state_.nextFigure][c][r] : 0;
            ports_.cells.PaintPreviewCell(r * BoxSize + c, value > 0 ? value : empty);
        }
    }
}

void Game::RedrawBoard()
{
    const int empty = EmptyPalette();
    for (int c = 0; c < BoardColumns; ++c) {
        for (int r = 0; r < BoardRows; ++r) {
            const int value = board_.At(c, r);
            ports_.cells.PaintBoardCell(r * BoardColumns + c, value != 0 ? value : empty);
        }
    }
}

void Game::ClearBoard()
{
    ClearBoardCells(board_);
    const int empty = EmptyPalette();
    for (int i = 0; i < BoardCellCount; ++i) {
        ports_.cells.PaintBoardCell(i, empty);
    }
    for (int i = 0; i < PreviewCellCount; ++i) {
        ports_.cells.PaintPreviewCell(i, empty);
    }
}

// ---- score and speed ----------------------------------------------------

void Game::SetScore(std::int64_t score)
{
    state_.score = score;
    ScoreChange();
    Notify();
}

void Game::ScoreChange()
{
    if (state_.gameMode != GameModeClassic) {
        return;
    }
    state_.classicLevel = static_cast<int>(std::min<std::int64_t>(
        std::max<std::int64_t>(state_.score, 0) / PointsPerClassicLevel, MaxClassicLevel));
    state_.level = state_.classicLevel;
    state_.fallInterval = IntervalForLevel(state_.classicLevel);
    // A fast drop keeps its pace; the new speed comes with the next figure.
    if (ports_.timers.Interval(TimerId::Figure) != FastDropInterval) {
        ports_.timers.SetInterval(TimerId::Figure, state_.fallInterval);
    }
}

// ---- game flow ----------------------------------------------------------

void Game::ResetGame()
{
    state_.limit.reset();
    SetScore(0);
    state_.lines = {};
    state_.level.reset();
    auto& timers = ports_.timers;
    timers.SetEnabled(TimerId::Figure, false);
    timers.SetEnabled(TimerId::Victory, false);
    timers.SetEnabled(TimerId::CrashAni, false);
    // A removal of the old game must not score into, or place a figure in, the new one.
    timers.SetEnabled(TimerId::Terminate, false);
    clearing_ = false;
    crashing_ = false;
    state_.crashStep = 0;
    state_.figureActive = false;
    state_.dropping = false;
    InitFigures(figures_);
    ClearBoard();
    Notify();
}

void Game::StartClassicGame()
{
    ResetGame();
    state_.gameMode = GameModeClassic;
    ScoreChange();
    SpawnFigure();
    ResumeGame();
}

void Game::NewClassicGame()
{
    if (state_.gameMode == GameModeNone) {
        StartClassicGame();
        return;
    }
    AskThen(TextOf(texts_, 131), TextOf(texts_, 130), [this](bool yes) {
        if (yes) {
            StartClassicGame();
        }
    });
}

void Game::AskThen(std::string_view prompt, std::string_view title, std::function<void(bool)> then)
{
    if (questionOpen_) {
        return;
    }
    std::array<bool, TimerCount> held{};
    for (int i = 0; i < TimerCount; ++i) {
        const auto id = static_cast<TimerId>(i);
        held[static_cast<std::size_t>(i)] = ports_.timers.IsEnabled(id);
        ports_.timers.SetEnabled(id, false);
    }
    questionOpen_ = true;
    ports_.dialogs.AskYesNo(prompt, title, [this, held, then = std::move(then)](bool yes) {
        questionOpen_ = false;
        for (int i = 0; i < TimerCount; ++i) {
            if (held[static_cast<std::size_t>(i)]) {
                ports_.timers.SetEnabled(static_cast<TimerId>(i), true);
            }
        }
        then(yes);
    });
}

void Game::SpawnFigure()
{
    do {
        state_.curFigure = state_.nextFigure;
        state_.nextFigure = RandomBelow(ports_.random, FigureCount) + 1;
    } while (state_.curFigure == 0);
    state_.figX = SpawnX;
    state_.figY = SpawnY;
    DrawNext();
    DrawFigure();
    ports_.timers.SetInterval(TimerId::Figure, state_.fallInterval);
    if (!state_.paused) {
        ports_.timers.SetEnabled(TimerId::Figure, true);
    }
    // Set before the end tests, so a game over leaves no figure active.
    state_.dropping = false;
    state_.figureActive = true;
    if (BlockedBelow()) {
        GameOver();
    }
    if (BlockedHere()) {
        GameOver();
    }
}

void Game::PauseGame()
{
    if (state_.gameMode == GameModeNone) {
        return;
    }
    state_.paused = true;
    ports_.timers.SetEnabled(TimerId::Figure, false);
    ports_.timers.SetEnabled(TimerId::GameOnTime, false);
    Notify();
}

void Game::ResumeGame()
{
    if (state_.gameMode == GameModeNone) {
        return;
    }
    state_.paused = false;
    // Only a falling figure has a fall to resume; during a removal or an
    // animation the figure is already part of the board.
    if (state_.figureActive) {
        ports_.timers.SetEnabled(TimerId::Figure, true);
    }
    if (state_.limit) {
        ports_.timers.SetEnabled(TimerId::GameOnTime, true);
    }
    Notify();
}

void Game::TogglePause()
{
    if (state_.gameMode == GameModeNone) {
        return;
    }
    if (state_.paused) {
        ResumeGame();
    } else {
        PauseGame();
    }
}

void Game::GameOver()
{
    state_.limit.reset();
    ports_.timers.SetEnabled(TimerId::Figure, false);
    state_.figureActive = false;
    if (state_.crashStep != CrashTicks) {
        state_.crashStep = 0;
        crashing_ = true;
        ports_.timers.SetEnabled(TimerId::CrashAni, true);
        Notify();
        return;
    }
    state_.crashStep = 0;
    crashing_ = false;
    if (state_.gameMode == GameModeLevels && levelHooks_ != nullptr && levelHooks_->CrashFinished()) {
        Notify();
        return;
    }
    state_.curFigure = 0;
    state_.endedMode = state_.gameMode;
    state_.gameMode = GameModeNone;
    RecordTable& table = records_.ForMode(state_.endedMode);
    state_.recordPlace = FindRecordPlace(table, state_.score);
    Notify();
    if (state_.recordPlace == 0) {
        ports_.dialogs.ShowMessage(GameOverText);
        return;
    }
    MakeRoomAt(table, state_.recordPlace);
    ports_.dialogs.ShowRecordEntry(state_.endedMode, state_.recordPlace);
}

// ---- timers -------------------------------------------------------------

void Game::OnTimer(TimerId id)
{
    // A tick that was already queued when its timer stopped is not a tick.
    if (!ports_.timers.IsEnabled(id)) {
        return;
    }
    switch (id) {
    case TimerId::Figure: FallStep(); break;
    case TimerId::Terminate: TerminateStep(); break;
    case TimerId::CrashAni: CrashTick(); break;
    case TimerId::GameOnTime: GameOnTimeTick(); break;
    case TimerId::Victory:
        if (levelHooks_ != nullptr && state_.gameMode == GameModeLevels) {
            levelHooks_->VictoryTick();
        } else {
            ports_.timers.SetEnabled(TimerId::Victory, false);
        }
        break;
    }
}

void Game::FallStep()
{
    // A locked figure belongs to the board: a late tick must neither move it
    // nor lock it a second time.
    if (!state_.figureActive) {
        return;
    }
    if (!BlockedBelow()) {
        EraseFigure();
        ++state_.figY;
        DrawFigure();
        if (state_.dropping) {
            SetScore(state_.score + 1);
        }
        return;
    }
    Lock();
}

void Game::Lock()
{
    state_.rowsCleared = 0;
    const FigureBox& box = figures_[state_.curFigure];
    for (int y = 0; y < BoxSize; ++y) {
        for (int x = 0; x < BoxSize; ++x) {
            if (box[x][y] != 0) {
                board_.Set(state_.figX + x, state_.figY + y, box[x][y]);
            }
        }
    }
    state_.clearPhase = ClearPhase::Search;
    clearing_ = true;
    ports_.timers.SetEnabled(TimerId::Figure, false);
    ports_.timers.SetEnabled(TimerId::Terminate, true);
    state_.figureActive = false;
    ports_.sound.PlaySfx("drop");
}

void Game::TerminateStep()
{
    if (!clearing_) {
        ports_.timers.SetEnabled(TimerId::Terminate, false);
        return;
    }
    switch (state_.clearPhase) {
    case ClearPhase::Search: {
        state_.clearPhase = ClearPhase::Score;
        for (int r = BoardRows - 1; r >= 0; --r) {
            bool full = true;
            for (int c = 0; c < BoardColumns && full; ++c) {
                full = board_.At(c, r) != CellEmpty;
            }
            if (full) {
                state_.clearRow = r;
                state_.clearPhase = ClearPhase::Flash;
                ++state_.rowsCleared;
                break;
            }
        }
        break;
    }
    case ClearPhase::Flash:
        for (int c = 0; c < BoardColumns; ++c) {
            ports_.cells.PaintBoardCell(state_.clearRow * BoardColumns + c, PaletteClearFlash);
        }
        state_.clearPhase = ClearPhase::Collapse;
        ports_.sound.PlaySfx("clear");
        break;
    case ClearPhase::Collapse: {
        const int empty = EmptyPalette();
        for (int r = state_.clearRow; r >= 1; --r) {
            for (int c = 0; c < BoardColumns; ++c) {
                const std::uint8_t value = board_.At(c, r - 1);
                board_.Set(c, r, value);
                ports_.cells.PaintBoardCell(r * BoardColumns + c, value != 0 ? value : empty);
            }
        }
        for (int c = 0; c < BoardColumns; ++c) {
            board_.Set(c, 0, CellEmpty);
            ports_.cells.PaintBoardCell(c, empty);
        }
        state_.clearPhase = ClearPhase::Search;
        break;
    }
    case ClearPhase::Score: {
        const int rows = std::clamp(state_.rowsCleared, 0, 4);
        if (rows > 0) {
            SetScore(state_.score + RowPoints[static_cast<std::size_t>(rows)]);
        }
        ports_.timers.SetEnabled(TimerId::Terminate, false);
        clearing_ = false;
        if (state_.gameMode == GameModeClassic && rows > 0) {
            ++state_.lines[static_cast<std::size_t>(rows - 1)];
            Notify();
        }
        if (state_.gameMode == GameModeLevels && levelHooks_ != nullptr && levelHooks_->RowsScored(rows)) {
            return;
        }
        SpawnFigure();
        break;
    }
    }
}

void Game::CrashTick()
{
    if (!crashing_) {
        ports_.timers.SetEnabled(TimerId::CrashAni, false);
        return;
    }
    for (int i = 0; i < BoardCellCount; ++i) {
        ports_.cells.PaintBoardCell(i, RandomBelow(ports_.random, FigureColours) + 1);
    }
    ++state_.crashStep;
    if (state_.crashStep >= CrashTicks) {
        state_.crashStep = CrashTicks;
        ports_.timers.SetEnabled(TimerId::CrashAni, false);
        GameOver();
    }
}

void Game::GameOnTimeTick()
{
    if (!state_.limit) {
        return;
    }
    state_.limit = *state_.limit - 1;
    if (*state_.limit <= 0) {
        state_.limit.reset();
        ports_.timers.SetEnabled(TimerId::GameOnTime, false);
        Notify();
        if (levelHooks_ != nullptr) {
            levelHooks_->TimeUp();
        }
        return;
    }
    Notify();
}

// ---- input --------------------------------------------------------------

void Game::KeyDown(int keyCode)
{
    auto& timers = ports_.timers;
    if (!timers.IsEnabled(TimerId::Figure)) {
        return;
    }
    const bool fastDrop = timers.Interval(TimerId::Figure) != state_.fallInterval;
    if (settings_.moveDuringFall == 2 && fastDrop) {
        return;
    }
    if (!state_.figureActive) {
        return;
    }
    switch (keyCode) {
    case VkLeft:
        if (!BlockedLeft()) {
            EraseFigure();
            --state_.figX;
            DrawFigure();
        }
        break;
    case VkRight:
        if (!BlockedRight()) {
            EraseFigure();
            ++state_.figX;
            DrawFigure();
        }
        break;
    case VkUp:
        if (!BlockedRotated()) {
            EraseFigure();
            state_.curFigure = NextRotation(state_.curFigure, settings_.rotateDir);
            DrawFigure();
        }
        break;
    case VkDown:
        if (!fastDrop) {
            timers.SetEnabled(TimerId::Figure, false);
            timers.SetInterval(TimerId::Figure, FastDropInterval);
            timers.SetEnabled(TimerId::Figure, true);
            state_.dropping = true;
            ports_.sound.PlaySfx("rotate");
        }
        break;
    default:
        break;
    }
    // Every key on a falling figure shifts the sequence the figures come from.
    ports_.random.Next();
}

void Game::MouseMovedOverBoard()
{
    ports_.random.Next();
}

} // namespace plumix
