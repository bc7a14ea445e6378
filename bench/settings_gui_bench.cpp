// What the settings window does at once behind it: a language switch (every
// text of the main window and the window itself), a skin switch (the fourteen
// pictures decoded, colours and the full repaint) and one step of a colour
// scroll bar (every recoloured control repainted), on the offscreen platform.
#include "engine/clock_seeded_random.h"
#include "settings/view/settings_dialog.h"
#include "window/game_app.h"

#include "gui_bench_main.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QScrollBar>
#include <benchmark/benchmark.h>


namespace plumix {
namespace {

struct Fixture {
    AppState app;
    std::unique_ptr<GameApp> program;
    SettingsDialog* dialog = nullptr;
    Fixture()
    {
        FillDefaultTexts(app.texts);
        app.folders = {PLUMIX_ASSETS, {PLUMIX_ASSETS}, false};
        program = std::make_unique<GameApp>(app, std::make_unique<ClockSeededRandom>(7));
        program->LoadSkin();
        program->Window().show();
        program->Session().GetGame().StartClassicGame();
        program->Session().Run(Command::Settings);
        dialog = qobject_cast<SettingsDialog*>(QApplication::activeModalWidget());
        QApplication::processEvents();
    }
    // Settings changes stay in memory: the shipped folder is never written.
    ~Fixture() { program.reset(); }
};

void BM_LanguageSwitch(benchmark::State& st)
{
    Fixture f;
    int next = 1;
    for (auto _ : st) {
        f.dialog->LanguageList()->setCurrentIndex(next);
        QApplication::processEvents();
        next = next == 1 ? 2 : 1;
    }
}
BENCHMARK(BM_LanguageSwitch)->Unit(benchmark::kMillisecond);

void BM_SkinSwitch(benchmark::State& st)
{
    Fixture f;
    int next = 0;
    for (auto _ : st) {
        f.dialog->SkinList()->setCurrentIndex(next);
        QApplication::processEvents();
        next = 1 - next;
    }
}
BENCHMARK(BM_SkinSwitch)->Unit(benchmark::kMillisecond);

void BM_ColourScrollStep(benchmark::State& st)
{
    Fixture f;
    if (f.dialog->ColorsFromSkinBox()->isChecked()) {
        f.dialog->ColorsFromSkinBox()->click();
    }
    int red = 0;
    for (auto _ : st) {
        f.dialog->ColorBar(0)->setValue(red);
        QApplication::processEvents();
        red = (red + 7) % 256;
    }
}
BENCHMARK(BM_ColourScrollStep)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace plumix

int main(int argc, char** argv)
{
    return plumix::RunGuiBenchmarks(argc, argv);
}
