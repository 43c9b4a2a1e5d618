// Reading an image library of 1,000 pictures of 64 x 64 from memory, against copying the same
// bytes, and making the bitmaps of all its pictures.
#include "gk/GKILib.h"

#include <benchmark/benchmark.h>

#include <cstring>

namespace {

const QByteArray &thousandPictures() {
    static const QByteArray block = [] {
        TGKImages images;
        for (int i = 0; i < 256; ++i)
            images.SetPaletteEntry(i, uint8_t(i), uint8_t(255 - i), uint8_t(i * 7));
        QByteArray bits(64 * 64, '\0');
        for (int i = 0; i < 1000; ++i) {
            for (int p = 0; p < bits.size(); ++p)
                bits[p] = char(i + p);
            TGKImageEntry header;
            header.SetWidth(64);
            header.SetHeight(64);
            header.SetName(QByteArray::number(i));
            images.Add(header, bits);
        }
        return images.ToBlock();
    }();
    return block;
}

// The floor: one allocation of the block's size and one copy into it.
void BM_CopyLibraryBytes(benchmark::State &state) {
    const QByteArray &block = thousandPictures();
    for (auto _ : state) {
        QByteArray copy(block.size(), Qt::Uninitialized);
        std::memcpy(copy.data(), block.constData(), std::size_t(block.size()));
        benchmark::DoNotOptimize(copy.data());
    }
    state.SetBytesProcessed(state.iterations() * block.size());
}

void BM_ReadImageLibrary(benchmark::State &state) {
    const QByteArray &block = thousandPictures();
    for (auto _ : state) {
        TGKImages images;
        images.FromBlock(block);
        benchmark::DoNotOptimize(images.GetEntry(999).Bits);
    }
    state.SetBytesProcessed(state.iterations() * block.size());
}

void BM_CacheBitmaps(benchmark::State &state) {
    TGKImageLib lib;
    lib.Images().FromBlock(thousandPictures());
    for (auto _ : state) {
        lib.CacheBitmaps();
        benchmark::DoNotOptimize(lib.Bitmap(999).constBits());
        state.PauseTiming();
        lib.FreeBitmaps();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * lib.Count());
}

} // namespace

BENCHMARK(BM_CopyLibraryBytes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadImageLibrary)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CacheBitmaps)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
