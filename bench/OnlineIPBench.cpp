// What the online detector's poll costs the window's thread, which runs it once a second while
// a game is paused or over.
#include "components/OnlineIP.h"
#include "platform/HostAddress.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

namespace {

// The machine's interfaces as the kernel lists them.
void BM_InterfaceAddresses(benchmark::State &state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(platform::InterfaceAddresses());
}
BENCHMARK(BM_InterfaceAddresses)->Unit(benchmark::kMicrosecond);

// A whole poll: the interfaces, the address chosen from them, Online, and the change check.
void BM_PollAddress(benchmark::State &state) {
    TOnlineIP detector;
    detector.SetEnabled(false);
    for (auto _ : state) {
        detector.PollAddress();
        benchmark::DoNotOptimize(detector.Online());
    }
    state.counters["online"] = detector.Online();
}
BENCHMARK(BM_PollAddress)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
