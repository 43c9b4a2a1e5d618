// The cost of one game tick in flight, by the number of stars on the field.
//
//   build/bench/bench_flight --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

#include "ProgramFolder.h"
#include "dialogs/OptionsU.h"
#include "game/Forms.h"
#include "game/MainU.h"
#include "platform/ConfigFolder.h"
#include "toolkit/ErrorReport.h"
#include "toolkit/Pacing.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

// A game in flight with `stars` stars, the field filled with stars of every age.
void StartFlight(int stars) {
    CreateForms();
    MainForm->show();
    MainForm->game().seedRandom(1);
    OptionsDlg->StarEdit->setText(QString::number(stars));
    MainForm->StartGame();
    for (int i = 0; i <= stars; ++i)
        MainForm->Go();
    // Let the field fill with stars of every age before measuring.
    for (int i = 0; i < 200; ++i)
        MainForm->Go();
}

// One flight tick at a fixed distance, so that no bad guy joins while measuring.
void TickAt(int travelled) {
    TGame::Counters at = MainForm->game().counters();
    at.travelled = travelled - 1;
    at.energy = 1'000'000; // escapes must not end the flight
    MainForm->game().setCounters(at);
    MainForm->Go();
}

// Go alone before the bad guys come: the rules and the drawing onto the field's canvas.
void FlightTick(benchmark::State &state) {
    const int stars = static_cast<int>(state.range(0));
    StartFlight(stars);
    for (auto _ : state)
        TickAt(50);
    state.SetComplexityN(stars);
    DestroyForms();
}
BENCHMARK(FlightTick)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond)->Complexity();

// A tick with 100 stars and a given number of bad guys, each animated, placed and sized.
void FlightTickWithBadGuys(benchmark::State &state) {
    const int badGuys = static_cast<int>(state.range(0));
    StartFlight(100);
    // The number of bad guys follows the distance: one more every 300 ticks.
    const int travelled = badGuys * 300;
    TickAt(travelled);
    for (auto _ : state)
        TickAt(travelled);
    state.counters["badguys"] = static_cast<double>(MainForm->game().badGuyCount());
    DestroyForms();
}
BENCHMARK(FlightTickWithBadGuys)->Arg(10)->Arg(50)->Arg(200)->Unit(benchmark::kMicrosecond);

// Go and then the repaint of the window that the tick asked for, as the event loop runs it:
// stars, bad guys.
void FlightTickShown(benchmark::State &state) {
    const int stars = static_cast<int>(state.range(0));
    const int badGuys = static_cast<int>(state.range(1));
    StartFlight(stars);
    const int travelled = badGuys == 0 ? 50 : badGuys * 300;
    for (auto _ : state) {
        TickAt(travelled);
        QCoreApplication::processEvents();
    }
    DestroyForms();
}
BENCHMARK(FlightTickShown)
    ->Args({100, 0})
    ->Args({10000, 0})
    ->Args({100, 10})
    ->Args({100, 200})
    ->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    toolkit::Application app(argc, argv);
    toolkit::setPaceFactor(0.0);
    QTemporaryDir folder;
    UseOwnProgramFolder(folder);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
