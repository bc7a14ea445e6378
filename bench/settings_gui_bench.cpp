// What the settings window does at once behind it: a language switch (every
// text of the main window and the window itself), a skin switch (the fourteen
// pictures decoded, colours and the full repaint) and one step of a colour
// scroll bar (every recoloured control repainted), on the offscreen platform.
#include "engine/clock_seeded_random.h"
#include "settings/view/settings_dialog.h"
#include "window/main_window.h"

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
    std::unique_ptr<MainWindow> window;
    SettingsDialog* dialog = nullptr;
    Fixture()
    {
        FillDefaultTexts(app.texts);
        app.folder = PLUMIX_ASSETS;
        app.dataFolders = {app.folder};
        window = std::make_unique<MainWindow>(app, std::make_unique<ClockSeededRandom>(7));
        window->LoadSkin();
        window->show();
        window->GetGame().StartClassicGame();
        window->GetGame().PauseGame();
        window->MenuAction(4);
        dialog = qobject_cast<SettingsDialog*>(QApplication::activeModalWidget());
        QApplication::processEvents();
    }
    // Settings changes stay in memory: the shipped folder is never written.
    ~Fixture() { window.reset(); }
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
