// TGKScreen: the palette, its cycling, and the surfaces made from the pictures of the image
// and tile libraries, restored when the platform took them away.
#include "gk/GK.h"

#include <QRandomGenerator>

#include <cstring>

using gk::DisplayResult;

// --- Palette

void TGKScreen::SetPaletteEntries(const gk::PaletteEntries &entries) {
    if (ColorDepth != 8)
        return;
    FPalette = entries;
    if (!FFrontSurface)
        return; // the set-up makes the palette
    if (FPaletteMade) {
        writePalette(0, int(FPalette.size()));
        return;
    }
    if (platform().createPalette(FPalette) != DisplayResult::Ok)
        throw EGKScreen("CreatePalette Failed");
    FPaletteMade = true;
    if (platform().attachPalette(FFrontSurface->Memory()) != DisplayResult::Ok)
        throw EGKScreen("SetPalette Failed");
}

void TGKScreen::writePalette(int first, int count) {
    if (ColorDepth != 8 || !FPaletteMade)
        return;
    if (platform().setPaletteEntries(first, FPalette.data() + first, count) != DisplayResult::Ok)
        throw EGKScreen("SetEntries Failed");
}

void TGKScreen::InitPalette() {
    gk::PaletteEntries entries{};
    QRandomGenerator &random = *QRandomGenerator::global();
    for (int i = 10; i <= 245; ++i)
        entries[std::size_t(i)] = {uint8_t(random.bounded(255)), uint8_t(random.bounded(255)),
                                   uint8_t(random.bounded(255)), 0};
    const gk::PaletteEntries system = platform().systemPalette();
    const auto fromSystem = [&](int first, int last) {
        for (int i = first; i <= last; ++i)
            entries[std::size_t(i)] = system[std::size_t(i)];
    };
    if (PaletteMode == pmNormal) {
        // The whole system palette; its last entry too, which the desktop keeps white.
        fromSystem(0, 255);
    } else {
        // The desktop's twenty static colours at the ends; the program has the middle.
        fromSystem(0, 9);
        fromSystem(246, 255);
    }
    SetPaletteEntries(entries);
}

void TGKScreen::StartPaletteCycle(int first, int last, const std::vector<gk::PaletteEntry> &colors,
                                  int step, int delay) {
    if (first < 0 || last > 255 || first > last || delay < 0 ||
        colors.size() != std::size_t(last - first + 1))
        throw EGKScreen("Palette cycling needs entries from 0 to 255, the first not after the "
                        "last, one colour for each entry and a delay of 0 or more");
    CycleState cycle;
    // The colours twice over, so that a run of them starting at any offset is all there.
    cycle.table = colors;
    cycle.table.insert(cycle.table.end(), colors.begin(), colors.end());
    cycle.step = step;
    cycle.delay = delay;
    cycle.first = first;
    cycle.last = last;
    cycle.active = true;
    FCycle = std::move(cycle);
}

void TGKScreen::CyclePalette() {
    if (!FCycle.active)
        return;
    if (++FCycle.counter <= FCycle.delay)
        return;
    const int count = FCycle.last - FCycle.first + 1;
    // The offset wraps within the range either way round, whatever the step.
    FCycle.offset = ((FCycle.offset + FCycle.step) % count + count) % count;
    std::copy_n(FCycle.table.begin() + FCycle.offset, count, FPalette.begin() + FCycle.first);
    writePalette(FCycle.first, count);
    FCycle.counter = 0;
}

// --- Picture surfaces

void TGKScreen::LoadImages(TGKImageLib *library, bool setPalette) {
    loadSurfaces(FImageSurfaces, FImagesFrom, library, setPalette, false);
}

void TGKScreen::LoadTiles(TGKImageLib *library, bool setPalette) {
    loadSurfaces(FTileSurfaces, FTilesFrom, library, setPalette, true);
}

void TGKScreen::FreeImages() {
    FImageSurfaces.clear();
    FImagesFrom = nullptr;
}

void TGKScreen::FreeTiles() {
    FTileSurfaces.clear();
    FTilesFrom = nullptr;
}

void TGKScreen::loadSurfaces(std::vector<std::unique_ptr<TGKSurface>> &surfaces,
                             QPointer<TGKImageLib> &from, TGKImageLib *library, bool setPalette,
                             bool tiles) {
    surfaces.clear();
    from = nullptr;
    if (!library || library->Count() == 0)
        return;
    from = library;
    if (setPalette) {
        const uint8_t *palette = library->Images().Palette();
        gk::PaletteEntries entries{};
        for (std::size_t i = 0; i < entries.size(); ++i)
            entries[i] = {palette[4 * i], palette[4 * i + 1], palette[4 * i + 2], 0};
        SetPaletteEntries(entries);
    }
    for (int i = 0; i < library->Count(); ++i)
        makePictureSurface(surfaces, *library, i, tiles);
    // The surfaces hold the pictures now; a library that can read its file again lets go of
    // its copy, and RestoreSurfaces reads it again when it needs it.
    if (library->HasFileName())
        library->Images().Clear();
}

void TGKScreen::makePictureSurface(std::vector<std::unique_ptr<TGKSurface>> &surfaces,
                                   const TGKImageLib &library, int index, bool tiles) {
    const TGKImageEntry entry = library.Images().GetEntry(index);
    surfaces.push_back(TGKSurface::OffScreen(platform(), entry.Width(), entry.Height()));
    TGKSurface &surface = *surfaces.back();
    surface.OnSurfaceLost = [this](TGKSurface *) { RestoreSurfaces(); };
    surface.SetTransparentColor(0);
    if (PaletteMode == pmExclusive) {
        // The indices as they are: the display's palette is the library's.
        uint8_t *bits = surface.Lock();
        if (!bits)
            throw EGKSurface("Lock Failed");
        for (int y = 0; y < entry.Height(); ++y)
            std::memcpy(bits + std::size_t(surface.Pitch()) * std::size_t(y),
                        entry.Bits + entry.RowBytes() * y, std::size_t(entry.Width()));
        surface.Unlock();
    } else {
        // Through the colours: each pixel takes the display palette's nearest.
        QImage picture(entry.Width(), entry.Height(), QImage::Format_RGB32);
        picture.fill(Qt::black);
        toolkit::Canvas canvas(&picture);
        library.Draw(canvas, 0, 0, index);
        surface.Canvas().draw(0, 0, picture);
        surface.Canvas().ReleaseHandle();
    }
    if (tiles)
        surface.SetClipRect(QRect(0, 0, entry.Width(), entry.Height()));
}

// --- Restoring

namespace {

const char *restoreFailure(DisplayResult result) {
    switch (result) {
    case DisplayResult::Generic:
        return "Restore Failed: Generic";
    case DisplayResult::InvalidObject:
        return "Restore Failed: Invalid Object";
    case DisplayResult::NoExclusiveMode:
        return "Restore Failed: No Exclusive";
    case DisplayResult::WrongMode:
        return "Restore Failed: Wrong Mode";
    default:
        return "Restore Failed: UnKnown";
    }
}

} // namespace

void TGKScreen::restoreSurface(TGKSurface &surface, const char *failure) {
    const DisplayResult result = platform().restore(surface.Memory());
    if (result == DisplayResult::Ok)
        return;
    // The reason goes to the trace viewer whatever Debug says.
    gk::Trace(restoreFailure(result));
    throw EGKScreen(failure);
}

void TGKScreen::RestoreSurfaces() {
    if (!FFrontSurface)
        return;
    restoreSurface(*FFrontSurface, "RestoreSurfaces Failed (Front)");
    // Window mode's back buffer stands apart from the front surface: restoring that does not
    // bring it back, and until it is back every flip would find it lost again.
    if (FWindowed && FBackSurface)
        restoreSurface(*FBackSurface, "RestoreSurfaces Failed (Back)");
    if (TGKImageLib *images = FImagesFrom) {
        if (images->HasFileName())
            images->Reload();
        LoadImages(images, true);
    }
    if (TGKImageLib *tiles = FTilesFrom) {
        if (tiles->HasFileName())
            tiles->Reload();
        LoadTiles(tiles, true);
    }
}
