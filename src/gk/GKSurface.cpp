// TGKSurface and its canvas.
#include "gk/GK.h"

#include <string>
#include <unordered_map>

using gk::DisplayResult;

// --- TGKCanvas

TGKCanvas::TGKCanvas(TGKSurface *surface) : surface_(surface) {
    if (!surface)
        throw EGKCanvas("Cannot create canvas for NIL surface");
}

TGKCanvas::~TGKCanvas() {
    ReleaseHandle();
}

QImage *TGKCanvas::drawingTarget() const {
    if (!borrowed_) {
        const gk::PixelSurface &surface = surface_->Memory();
        colors_ = surface_->Platform().displayColors();
        picture_ = QImage(surface.width(), surface.height(), QImage::Format_RGB32);
        for (int y = 0; y < surface.height(); ++y) {
            const uint8_t *in = surface.row(y);
            auto *out = reinterpret_cast<QRgb *>(picture_.scanLine(y));
            for (int x = 0; x < surface.width(); ++x)
                out[x] = colors_[in[x]];
        }
        borrowed_ = true;
    }
    return &picture_;
}

namespace {

int distance(QRgb a, QRgb b) {
    const int r = qRed(a) - qRed(b);
    const int g = qGreen(a) - qGreen(b);
    const int bl = qBlue(a) - qBlue(b);
    return r * r + g * g + bl * bl;
}

uint8_t nearestIndex(const gk::ColorTable &colors, QRgb color) {
    std::size_t best = 0;
    for (std::size_t i = 1; i < colors.size(); ++i)
        if (distance(colors[i], color) < distance(colors[best], color))
            best = i;
    return uint8_t(best);
}

} // namespace

void TGKCanvas::ReleaseHandle() {
    if (!borrowed_)
        return;
    borrowed_ = false;
    gk::PixelSurface &surface = surface_->Memory();
    std::unordered_map<QRgb, uint8_t> nearest;
    for (int y = 0; y < surface.height(); ++y) {
        uint8_t *row = surface.row(y);
        const auto *drawn = reinterpret_cast<const QRgb *>(picture_.constScanLine(y));
        for (int x = 0; x < surface.width(); ++x) {
            const QRgb color = drawn[x] | 0xff000000u;
            if (color == colors_[row[x]])
                continue;
            const auto [at, added] = nearest.try_emplace(color, 0);
            if (added)
                at->second = nearestIndex(colors_, color);
            row[x] = at->second;
        }
    }
    picture_ = QImage();
}

// --- TGKSurface

TGKSurface::TGKSurface(gk::DisplayPlatform &platform, gk::PixelSurface *surface, int width,
                       int height, bool attached)
    : platform_(platform), FSurface(surface), FWidth(width), FHeight(height),
      FPitch(surface->pitch()), FClipRect(0, 0, width, height), FAttached(attached) {
    FCanvas = std::make_unique<TGKCanvas>(this);
}

TGKSurface::~TGKSurface() {
    FCanvas.reset();
    if (!FAttached)
        platform_.releaseSurface(FSurface);
}

std::unique_ptr<TGKSurface> TGKSurface::OffScreen(gk::DisplayPlatform &platform, int width,
                                                  int height) {
    gk::PixelSurface *surface = platform.createOffScreen(QSize(width, height));
    if (!surface)
        throw EGKSurface("Could not create memory surface (" + std::to_string(width) + ", " +
                         std::to_string(height) + ")");
    return std::unique_ptr<TGKSurface>(new TGKSurface(platform, surface, width, height, false));
}

std::unique_ptr<TGKSurface> TGKSurface::Front(gk::DisplayPlatform &platform, bool windowMode,
                                              QSize bufferSize, int backBuffers) {
    if (windowMode) {
        gk::PixelSurface *surface = platform.createPrimary(bufferSize, 0);
        if (!surface)
            throw EGKSurface("CreateSurface failed");
        return std::unique_ptr<TGKSurface>(
            new TGKSurface(platform, surface, bufferSize.width(), bufferSize.height(), false));
    }
    gk::DisplayModeInfo mode;
    if (!platform.getDisplayMode(mode))
        throw EGKSurface("Get DisplayMode Failed");
    gk::PixelSurface *surface = platform.createPrimary(QSize(mode.width, mode.height), backBuffers);
    if (!surface)
        throw EGKSurface("CreateSurface failed");
    return std::unique_ptr<TGKSurface>(
        new TGKSurface(platform, surface, mode.width, mode.height, false));
}

std::unique_ptr<TGKSurface> TGKSurface::FlipBackBuffer(TGKSurface &front) {
    gk::PixelSurface *surface = front.platform_.attachedBackBuffer(*front.FSurface);
    if (!surface)
        throw EGKSurface("Failed to get background surface");
    return std::unique_ptr<TGKSurface>(
        new TGKSurface(front.platform_, surface, front.FWidth, front.FHeight, true));
}

std::unique_ptr<TGKSurface> TGKSurface::WindowBackBuffer(gk::DisplayPlatform &platform,
                                                         QSize size) {
    gk::PixelSurface *surface = platform.createOffScreen(size);
    if (!surface)
        throw EGKSurface("Failed Creating BackBufferW");
    return std::unique_ptr<TGKSurface>(
        new TGKSurface(platform, surface, size.width(), size.height(), false));
}

uint8_t *TGKSurface::Lock() {
    FCanvas->ReleaseHandle();
    FLockedBits = platform_.lock(*FSurface);
    return FLockedBits;
}

void TGKSurface::Unlock() {
    if (!FLockedBits)
        return;
    platform_.unlock(*FSurface);
    FLockedBits = nullptr;
}

void TGKSurface::SetTransparentColor(uint8_t index) {
    FTransparentColor = index;
    if (platform_.setColorKey(*FSurface, index) != DisplayResult::Ok)
        throw EGKSurface("SetColorKey failed");
}

void TGKSurface::checkDrawn(DisplayResult result, const char *failure) {
    if (result == DisplayResult::Ok)
        return;
    if (result == DisplayResult::SurfaceLost) {
        // The handler may destroy this surface, its members included: call a copy of it, and
        // touch nothing of the surface afterwards.
        if (const auto onLost = OnSurfaceLost) {
            onLost(this);
            return;
        }
    }
    throw EGKSurface(failure);
}

void TGKSurface::Erase(uint8_t color) {
    FCanvas->ReleaseHandle();
    checkDrawn(platform_.fill(*FSurface, ClientRect(), color), "Erase (Blt) Failed");
}

void TGKSurface::Blt(int x, int y, TGKSurface &source, const QRect &sourceRect, bool transparent) {
    // The source's drawing is part of what is copied, and this surface's drawing so far lies
    // under the copy.
    source.FCanvas->ReleaseHandle();
    FCanvas->ReleaseHandle();
    checkDrawn(platform_.blt(*FSurface, QPoint(x, y), *source.FSurface, sourceRect, FClipRect,
                             transparent),
               "Blt Failed");
}
