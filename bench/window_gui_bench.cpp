// The painted side of the hot paths: one crash-animation tick with the
// repaint of all 200 cells, and one fall step with its repaint, on the
// offscreen platform.
#include "engine/clock_seeded_random.h"
#include "window/board_widget.h"
#include "window/main_window.h"
#include "window/timers_qt.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cstdlib>

namespace plumix {
namespace {

struct Fixture {
    AppState app;
    std::unique_ptr<MainWindow> window;
    Fixture()
    {
        FillDefaultTexts(app.texts);
        window = std::make_unique<MainWindow>(app, std::make_unique<ClockSeededRandom>(7));
        window->show();
        window->GetGame().ClearBoard();
        window->Board().repaint();
    }
};

void BM_CrashTickWithRepaint(benchmark::State& st)
{
    Fixture f;
    Game& game = f.window->GetGame();
    for (auto _ : st) {
        if (!f.window->Timers().IsEnabled(TimerId::CrashAni)) {
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
    Game& game = f.window->GetGame();
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

} // namespace
} // namespace plumix

int main(int argc, char** argv)
{
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
