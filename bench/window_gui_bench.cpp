// The painted side of the hot paths: one crash-animation tick with the
// repaint of all 200 cells, one fall step with its repaint, one level-won
// animation tick and one level start (200 cells laid out), on the offscreen
// platform with the shipped standard skin. QT_SCALE_FACTOR=2 (or 1.5) measures
// them on a high-resolution screen.
#include "engine/clock_seeded_random.h"
#include "levels/level_flow.h"
#include "window/board_widget.h"
#include "window/game_app.h"

#include "gui_bench_main.h"

#include <QApplication>
#include <benchmark/benchmark.h>


namespace plumix {
namespace {

struct Fixture {
    AppState app;
    std::unique_ptr<GameApp> program;
    Fixture()
    {
        FillDefaultTexts(app.texts);
        app.folders.data = {PLUMIX_ASSETS};
        program = std::make_unique<GameApp>(app, std::make_unique<ClockSeededRandom>(7));
        program->LoadSkin();
        program->Window().show();
        GetGame().RepaintCells();
        program->Window().Board().repaint();
    }
    Game& GetGame() { return program->Session().GetGame(); }
    QtTimers& Timers() { return program->Timers(); }
};

void BM_CrashTickWithRepaint(benchmark::State& st)
{
    Fixture f;
    Game& game = f.GetGame();
    for (auto _ : st) {
        if (!f.Timers().IsEnabled(TimerId::CrashAni)) {
            st.PauseTiming();
            QApplication::processEvents();
            game.StartClassicGame();
            game.GameOver();
            st.ResumeTiming();
        }
        game.OnTimer(TimerId::CrashAni);
        QApplication::processEvents();  // the paint the event loop does next
    }
}
BENCHMARK(BM_CrashTickWithRepaint)->Unit(benchmark::kMicrosecond);

void BM_FallStepWithRepaint(benchmark::State& st)
{
    Fixture f;
    Game& game = f.GetGame();
    game.StartClassicGame();
    for (auto _ : st) {
        game.OnTimer(TimerId::Figure);
        QApplication::processEvents();
        if (game.State().figY >= 10) {
            st.PauseTiming();
            game.StartClassicGame();
            st.ResumeTiming();
        }
    }
}
BENCHMARK(BM_FallStepWithRepaint)->Unit(benchmark::kMicrosecond);

// The level flow of the window, but with an intro that waits for nothing.
struct LevelFixture : Fixture, LevelIntroPort {
    LevelSet levels{};
    std::unique_ptr<LevelFlow> flow;
    LevelFixture()
    {
        for (int c = 0; c < BoardColumns; ++c) {
            for (int r = 6; r < BoardRows; ++r) {
                levels[0].cells[static_cast<std::size_t>(c)][static_cast<std::size_t>(r)] =
                    static_cast<std::uint8_t>((c + r) % 3 == 0 ? 0 : (c * r) % 9);
            }
        }
        flow = std::make_unique<LevelFlow>(
            GetGame(), LevelFlow::Ports{program->Dialogs(), *this}, levels);
    }
    void ShowLevelIntro() override {}
};

void BM_VictoryTickWithRepaint(benchmark::State& st)
{
    LevelFixture f;
    Game& game = f.GetGame();
    for (auto _ : st) {
        if (!f.Timers().IsEnabled(TimerId::Victory)) {
            st.PauseTiming();
            f.flow->StartGame();
            f.flow->StartLevel();
            f.flow->TimeUp();  // the level is won: the animation starts
            QApplication::processEvents();
            st.ResumeTiming();
        }
        game.OnTimer(TimerId::Victory);
        QApplication::processEvents();
    }
}
BENCHMARK(BM_VictoryTickWithRepaint)->Unit(benchmark::kMicrosecond);

void BM_LevelStartWithRepaint(benchmark::State& st)
{
    LevelFixture f;
    for (auto _ : st) {
        st.PauseTiming();
        f.flow->StartGame();  // the board under bricks
        QApplication::processEvents();
        st.ResumeTiming();
        f.flow->StartLevel();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_LevelStartWithRepaint)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace plumix

int main(int argc, char** argv)
{
    return plumix::RunGuiBenchmarks(argc, argv);
}
