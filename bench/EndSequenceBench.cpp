// The end of a game as the player sees it, at the pace it is shown: how long the sequence takes
// from the escape that ends the game to the final score, the processor time it uses meanwhile,
// and the processor time the finished game then uses while it waits for the player.
//
//   build/bench/bench_end_sequence --benchmark_repetitions=3
//   --benchmark_report_aggregates_only=true

#include "ProgramFolder.h"
#include "game/Forms.h"
#include "game/MainU.h"
#include "platform/ConfigFolder.h"
#include "toolkit/ErrorReport.h"
#include "toolkit/Pacing.h"
#include "toolkit/Timer.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <ctime>

namespace {

double ProcessSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

void Wait(std::chrono::milliseconds time) {
    QEventLoop loop;
    QTimer::singleShot(time, &loop, &QEventLoop::quit);
    loop.exec();
}

void EndSequence(benchmark::State &state) {
    toolkit::setPaceFactor(1.0);
    double waitingCpu = 0;
    for (auto _ : state) {
        state.PauseTiming();
        CreateForms();
        MainForm->show();
        MainForm->SeedRandom(1);
        MainForm->StartGame();
        for (int i = 0; i < 400; ++i)
            MainForm->Go();
        MainForm->Energy = -10; // the escape that ends the game; 400 points make no table
        const double cpuBefore = ProcessSeconds();
        state.ResumeTiming();

        MainForm->UpDateCaptions();

        state.PauseTiming();
        state.counters["sequence_cpu_s"] = ProcessSeconds() - cpuBefore;
        // The finished game waits for the player, Timer2 having come and gone.
        Wait(std::chrono::milliseconds(3000));
        const double waitBefore = ProcessSeconds();
        Wait(std::chrono::milliseconds(5000));
        waitingCpu = (ProcessSeconds() - waitBefore) / 5.0;
        MainForm->close();
        DestroyForms();
        state.ResumeTiming();
    }
    state.counters["waiting_cpu_percent"] = waitingCpu * 100;
    toolkit::setPaceFactor(0.0);
}
BENCHMARK(EndSequence)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

} // namespace

int main(int argc, char **argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    QTemporaryDir home;
    setenv("GORBULAX_CONFIG_HOME", qPrintable(home.filePath("config")), 1);
    setenv("GORBULAX_DATA_HOME", qPrintable(home.filePath("data")), 1);
    toolkit::Application app(argc, argv);
    UseOwnProgramFolder(home);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
