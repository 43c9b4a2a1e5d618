// The cost of one game tick in flight, by the number of stars on the field.
//
//   build/bench/bench_flight --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

#include "game/Forms.h"
#include "game/MainU.h"
#include "toolkit/ErrorReport.h"
#include "toolkit/Pacing.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

// A game in flight with `stars` stars, the field filled with stars of every age.
void StartFlight(int stars) {
    CreateForms();
    MainForm->show();
    MainForm->SeedRandom(1);
    MainForm->StarCountText = [stars] { return QString::number(stars); };
    MainForm->StartGame();
    for (int i = 0; i <= stars; ++i)
        MainForm->Go();
    // Let the field fill with stars of every age before measuring.
    for (int i = 0; i < 200; ++i)
        MainForm->Go();
}

// Go alone: the rules and the drawing onto the field's canvas.
void FlightTick(benchmark::State &state) {
    const int stars = static_cast<int>(state.range(0));
    StartFlight(stars);
    for (auto _ : state)
        MainForm->Go();
    state.SetComplexityN(stars);
    DestroyForms();
}
BENCHMARK(FlightTick)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond)->Complexity();

// Go and then the repaint of the window that the tick asked for, as the event loop runs it.
void FlightTickShown(benchmark::State &state) {
    const int stars = static_cast<int>(state.range(0));
    StartFlight(stars);
    for (auto _ : state) {
        MainForm->Go();
        QCoreApplication::processEvents();
    }
    DestroyForms();
}
BENCHMARK(FlightTickShown)->Arg(100)->Arg(10000)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    toolkit::Application app(argc, argv);
    toolkit::setPaceFactor(0.0);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
