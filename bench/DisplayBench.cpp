// Presenting the display's front surface: each 8-bit pixel converted through the palette to
// 32 bits, at its own size or scaled to fit a 1280 x 1024 screen, against a plain copy of as
// many 32-bit pixels as the present writes.
//
// Arguments: the surface's width and height, then the picture's (the surface's own size, or
// the fitted rectangle on the screen).
#include "gk/PixelSurface.h"

#include <benchmark/benchmark.h>

#include <QImage>

#include <cstring>
#include <vector>

namespace {

constexpr QRect Screen{0, 0, 1280, 1024};

gk::PixelSurface frame(int width, int height) {
    gk::PixelSurface surface(width, height, width);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            surface.row(y)[x] = uint8_t(x * 7 + y * 13);
    return surface;
}

gk::ColorTable palette() {
    gk::ColorTable colors{};
    for (std::size_t i = 0; i < colors.size(); ++i)
        colors[i] = qRgb(int(i), int(255 - i), int(i * 3 % 256));
    return colors;
}

QSize shownSize(const benchmark::State &state) {
    const QSize size(int(state.range(0)), int(state.range(1)));
    return state.range(2) ? gk::FitRect(size, Screen).size() : size;
}

void BM_Present(benchmark::State &state) {
    const gk::PixelSurface source = frame(int(state.range(0)), int(state.range(1)));
    const gk::ColorTable colors = palette();
    QImage target(shownSize(state), QImage::Format_RGB32);
    for (auto _ : state) {
        gk::PresentScaled(source, colors, target);
        benchmark::DoNotOptimize(target.constBits());
    }
    state.SetItemsProcessed(state.iterations() * target.width() * target.height());
}

// The floor: as many 32-bit pixels, copied as they are.
void BM_Copy32(benchmark::State &state) {
    const QSize size = shownSize(state);
    const std::vector<uint32_t> from(std::size_t(size.width()) * std::size_t(size.height()), 7);
    std::vector<uint32_t> to(from.size());
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size() * sizeof(uint32_t));
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * int64_t(from.size()));
}

// {surface width, surface height, fitted to the screen (1) or at its own size (0)}
void Frames(benchmark::internal::Benchmark *b) {
    b->ArgNames({"w", "h", "fit"});
    for (const auto &[w, h] : {std::pair{640, 480}, std::pair{1024, 768}}) {
        b->Args({w, h, 0});
        b->Args({w, h, 1});
    }
    b->Unit(benchmark::kMicrosecond);
}

} // namespace

BENCHMARK(BM_Present)->Apply(Frames);
BENCHMARK(BM_Copy32)->Apply(Frames);

BENCHMARK_MAIN();
