// The engine's hot paths: one fall step, one lock that clears four rows with
// all its removal ticks, one crash-animation tick with its 200 cell paints.
#include "engine/clock_seeded_random.h"
#include "engine/keys.h"
#include "support/game_harness.h"

#include <benchmark/benchmark.h>

namespace plumix {
namespace {

using testing::GameHarness;

void BM_FallStep(benchmark::State& st)
{
    GameHarness h;
    h.StartClassic(5, 1);
    for (auto _ : st) {
        h.game->OnTimer(TimerId::Figure);
        if (h.state().figY >= 10) {
            st.PauseTiming();
            h.game->StartClassicGame();  // any figure falls ten rows from the top
            st.ResumeTiming();
        }
    }
}
BENCHMARK(BM_FallStep);

void BM_LockAndClearFourRows(benchmark::State& st)
{
    for (auto _ : st) {
        st.PauseTiming();
        auto h = std::make_unique<GameHarness>();  // a fresh game, so the bar comes first
        h->StartClassic(5, 1);
        for (int r = 16; r < 20; ++r) {
            h->FillRow(r, 4);
        }
        while (h->state().figY < 16) {
            h->game->OnTimer(TimerId::Figure);
        }
        st.ResumeTiming();
        h->game->OnTimer(TimerId::Figure);  // the lock
        for (int tick = 0; tick < 14; ++tick) {
            h->game->OnTimer(TimerId::Terminate);
        }
        benchmark::DoNotOptimize(h->state().score);
        st.PauseTiming();
        if (h->state().lines[3] != 1) {
            st.SkipWithError("the four rows were not cleared");
        }
        h.reset();
        st.ResumeTiming();
    }
}
BENCHMARK(BM_LockAndClearFourRows);

class Mt : public RandomSource {
public:
    double Next() override { return r.Next(); }
    ClockSeededRandom r{42};
};

void BM_CrashTick(benchmark::State& st)
{
    VirtualClock clock;
    Mt random;
    testing::CellRecorder cells;
    testing::SoundRecorder sounds;
    testing::StatusCounter status;
    testing::ScriptedDialogs dialogs;
    testing::EndRecorder ended;
    const PlayOptions options;
    Game game({clock, random, cells, sounds, status, dialogs}, ended, options);
    for (auto _ : st) {
        st.PauseTiming();
        if (!clock.IsEnabled(TimerId::CrashAni)) {
            game.StartClassicGame();
            game.GameOver();
        }
        st.ResumeTiming();
        game.OnTimer(TimerId::CrashAni);
    }
}
BENCHMARK(BM_CrashTick);

} // namespace
} // namespace plumix
