// The end of a game as the player sees it, at the pace it is shown: how long the sequence takes
// from the escape that ends the game to the final score, the processor time it uses meanwhile,
// and the processor time the finished game then uses while it waits for the player. And the
// end of the program: the processor time its farewell uses while it waits, first for its
// Close to become usable and then for the player to press it.
//
//   build/bench/bench_end_sequence --benchmark_repetitions=3
//   --benchmark_report_aggregates_only=true

#include "ProgramFolder.h"
#include "dialogs/About.h"
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

// The share of one processor the program uses over `time`, its event loop running meanwhile.
double CpuShareOver(std::chrono::milliseconds time) {
    const double before = ProcessSeconds();
    Wait(time);
    return (ProcessSeconds() - before) / std::chrono::duration<double>(time).count();
}

struct FarewellCpu {
    double beforeClose = 0; // from its sound to its Close becoming usable
    double afterClose = 0;  // Close usable, waiting for the player
};

// Closes the main window and waits in the farewell as a player does, then presses its Close.
FarewellCpu CloseThroughFarewell() {
    FarewellCpu cpu;
    // Runs inside the farewell's own event loop, which the close below starts.
    QTimer::singleShot(0, [&cpu] {
        Wait(std::chrono::milliseconds(200));
        cpu.beforeClose = CpuShareOver(std::chrono::milliseconds(1800));
        Wait(std::chrono::milliseconds(500));
        cpu.afterClose = CpuShareOver(std::chrono::milliseconds(5000));
        AboutBox->OKButton->click();
    });
    MainForm->close();
    return cpu;
}

void EndSequence(benchmark::State &state) {
    toolkit::setPaceFactor(1.0);
    double waitingCpu = 0;
    for (auto _ : state) {
        state.PauseTiming();
        CreateForms();
        MainForm->show();
        MainForm->game().seedRandom(1);
        MainForm->StartGame();
        for (int i = 0; i < 400; ++i)
            MainForm->Go();
        // The escape that ends the game; 400 points make no table.
        TGame::Counters lost = MainForm->game().counters();
        lost.energy = -10;
        MainForm->game().setCounters(lost);
        const double cpuBefore = ProcessSeconds();
        state.ResumeTiming();

        MainForm->Go();

        state.PauseTiming();
        state.counters["sequence_cpu_s"] = ProcessSeconds() - cpuBefore;
        // The finished game waits for the player, Timer2 having come and gone.
        Wait(std::chrono::milliseconds(3000));
        waitingCpu = CpuShareOver(std::chrono::milliseconds(5000));
        CloseThroughFarewell();
        DestroyForms();
        state.ResumeTiming();
    }
    state.counters["waiting_cpu_percent"] = waitingCpu * 100;
    toolkit::setPaceFactor(0.0);
}
BENCHMARK(EndSequence)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

void Farewell(benchmark::State &state) {
    FarewellCpu cpu;
    for (auto _ : state) {
        CreateForms();
        MainForm->show();
        Wait(std::chrono::milliseconds(3000)); // the start-up sound rings out
        cpu = CloseThroughFarewell();
        DestroyForms();
    }
    state.counters["before_close_cpu_percent"] = cpu.beforeClose * 100;
    state.counters["after_close_cpu_percent"] = cpu.afterClose * 100;
}
BENCHMARK(Farewell)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

} // namespace

int main(int argc, char **argv) {
    QTemporaryDir home;
    UseHeadlessSession(home);
    toolkit::Application app(argc, argv);
    UseOwnProgramFolder(home);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
