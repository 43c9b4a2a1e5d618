#include "gk/DisplayPlatform.h"

#include "gk/DisplayView.h"
#include "gk/ScreenSaver.h"

#include <QApplication>
#include <QDBusConnection>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <climits>
#include <new>

namespace gk {

ColorTable ColorsOf(const PaletteEntries &entries) {
    ColorTable colors{};
    for (std::size_t i = 0; i < entries.size(); ++i)
        colors[i] = qRgb(entries[i].red, entries[i].green, entries[i].blue);
    return colors;
}

namespace {

// The twenty colours an 8-bit desktop keeps for itself, ten at each end of the palette.
constexpr PaletteEntry StaticLow[10] = {
    {0, 0, 0},     {128, 0, 0},   {0, 128, 0},     {128, 128, 0},   {0, 0, 128},
    {128, 0, 128}, {0, 128, 128}, {192, 192, 192}, {192, 220, 192}, {166, 202, 240},
};
constexpr PaletteEntry StaticHigh[10] = {
    {255, 251, 240}, {160, 160, 164}, {128, 128, 128}, {255, 0, 0},   {0, 255, 0},
    {255, 255, 0},   {0, 0, 255},     {255, 0, 255},   {0, 255, 255}, {255, 255, 255},
};

PaletteEntries makeSystemPalette() {
    PaletteEntries entries{};
    std::copy(std::begin(StaticLow), std::end(StaticLow), entries.begin());
    std::copy(std::begin(StaticHigh), std::end(StaticHigh), entries.begin() + 246);
    // Between them a colour cube of six levels a channel and twenty greys, so that any
    // picture finds a near colour.
    std::size_t at = 10;
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                entries[at++] = {uint8_t(r * 51), uint8_t(g * 51), uint8_t(b * 51)};
    for (int i = 1; i <= 20; ++i) {
        const auto level = uint8_t(i * 255 / 21);
        entries[at++] = {level, level, level};
    }
    return entries;
}

bool validSize(QSize size) {
    // Rows are rounded up to a multiple of four bytes.
    return size.width() > 0 && size.height() > 0 && size.width() <= INT_MAX - 3;
}

} // namespace

QtDisplayPlatform::QtDisplayPlatform() = default;

QtDisplayPlatform::~QtDisplayPlatform() {
    release();
}

bool QtDisplayPlatform::create() {
    created_ = true;
    return true;
}

void QtDisplayPlatform::release() {
    restoreDisplayMode();
    clock_.stop();
    clock_.followWindow(nullptr);
    if (screenSaver_)
        screenSaver_->release();
    delete view_;
    primary_ = nullptr;
    surfaces_.clear();
    paletteMade_ = false;
    paletteAttached_ = false;
    window_ = nullptr;
    created_ = false;
}

DisplayResult QtDisplayPlatform::setCooperativeLevel(QWidget *window, uint32_t) {
    if (!created_)
        return DisplayResult::InvalidObject;
    if (!window)
        return DisplayResult::InvalidParams;
    if (window_ && window_ != window)
        return DisplayResult::HwndAlreadySet;
    window_ = window;
    if (!view_) {
        view_ = new DisplayView(window);
        view_->setColors(displayColors());
    }
    clock_.follow(window->screen());
    clock_.followWindow(window->window()->windowHandle());
    return DisplayResult::Ok;
}

DisplayResult QtDisplayPlatform::setDisplayMode(int width, int height, int bits) {
    if (!window_)
        return DisplayResult::NoExclusiveMode;
    if (bits != 8)
        return DisplayResult::Unsupported; // every surface here holds 8-bit palette indices
    if (width <= 0 || height <= 0)
        return DisplayResult::InvalidParams;
    mode_ = {width, height, width};
    fullScreen_ = true;
    if (!(window_->windowState() & Qt::WindowFullScreen)) {
        madeFullScreen_ = true;
        windowedGeometry_ = window_->geometry();
        // A window manager gives the full-screen state its screen; without one (a bare X
        // server) the state alone changes nothing, so the window covers the screen itself.
        if (const QScreen *screen = window_->screen())
            window_->setGeometry(screen->geometry());
        window_->setWindowState(window_->windowState() | Qt::WindowFullScreen);
    }
    if (window_->isVisible()) {
        window_->raise();
        window_->activateWindow();
    }
    return DisplayResult::Ok;
}

void QtDisplayPlatform::restoreDisplayMode() {
    if (!fullScreen_)
        return;
    fullScreen_ = false;
    if (madeFullScreen_ && window_) {
        window_->setWindowState(window_->windowState() & ~Qt::WindowFullScreen);
        window_->setGeometry(windowedGeometry_);
    }
    madeFullScreen_ = false;
}

bool QtDisplayPlatform::getDisplayMode(DisplayModeInfo &mode) {
    if (fullScreen_) {
        mode = mode_;
        return true;
    }
    // Outside full screen the mode is the desktop's own.
    const QScreen *screen = window_ ? window_->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return false;
    const QSize size = screen->size();
    mode = {size.width(), size.height(), size.width()};
    return true;
}

int64_t QtDisplayPlatform::desktopColors() {
    // Every picture is converted through its palette as it is shown, so the desktop shows
    // palette surfaces in their 256 colours whatever its own depth.
    return 256;
}

PaletteEntries QtDisplayPlatform::systemPalette() {
    static const PaletteEntries entries = makeSystemPalette();
    return entries;
}

PixelSurface *QtDisplayPlatform::keep(std::unique_ptr<PixelSurface> surface) {
    surfaces_.push_back(std::move(surface));
    return surfaces_.back().get();
}

PixelSurface *QtDisplayPlatform::createPrimary(QSize size, int backBuffers) {
    if (!created_ || primary_ || backBuffers < 0 || !validSize(size))
        return nullptr;
    try {
        auto front = std::make_unique<PixelSurface>(size.width(), size.height(), size.width());
        for (int i = 0; i < backBuffers; ++i)
            front->chain.push_back(
                std::make_unique<PixelSurface>(size.width(), size.height(), size.width()));
        primary_ = keep(std::move(front));
    } catch (const std::bad_alloc &) {
        return nullptr;
    }
    showFront();
    return primary_;
}

PixelSurface *QtDisplayPlatform::createOffScreen(QSize size) {
    if (!created_ || !validSize(size))
        return nullptr;
    try {
        return keep(std::make_unique<PixelSurface>(size.width(), size.height(),
                                                   int(RowBytes(size.width()))));
    } catch (const std::bad_alloc &) {
        return nullptr;
    }
}

PixelSurface *QtDisplayPlatform::attachedBackBuffer(PixelSurface &front) {
    return front.chain.empty() ? nullptr : front.chain.front().get();
}

void QtDisplayPlatform::releaseSurface(PixelSurface *surface) {
    if (surface == primary_) {
        primary_ = nullptr;
        showFront();
    }
    std::erase_if(surfaces_, [&](const auto &kept) { return kept.get() == surface; });
}

DisplayResult QtDisplayPlatform::restore(PixelSurface &) {
    return DisplayResult::Ok;
}

DisplayResult QtDisplayPlatform::flip(PixelSurface &front) {
    if (front.chain.empty())
        return DisplayResult::Generic;
    clock_.takeFrame();
    front.flipChain();
    showFront();
    return DisplayResult::Ok;
}

DisplayResult QtDisplayPlatform::bltToScreen(PixelSurface &front, const QRect &target,
                                             PixelSurface &back) {
    CopyAll(front, back);
    if (view_ && &front == primary_)
        view_->present(primary_, false, target);
    return DisplayResult::Ok;
}

DisplayResult QtDisplayPlatform::blt(PixelSurface &dest, QPoint at, PixelSurface &source,
                                     const QRect &sourceRect, const QRect &clip, bool keyed) {
    CopyRect(dest, at, source, sourceRect, clip, keyed);
    return DisplayResult::Ok;
}

DisplayResult QtDisplayPlatform::fill(PixelSurface &dest, const QRect &rect, uint8_t index) {
    FillRect(dest, rect, index);
    return DisplayResult::Ok;
}

uint8_t *QtDisplayPlatform::lock(PixelSurface &surface) {
    return surface.bits();
}

void QtDisplayPlatform::unlock(PixelSurface &) {}

DisplayResult QtDisplayPlatform::setColorKey(PixelSurface &surface, uint8_t index) {
    surface.colorKey = index;
    return DisplayResult::Ok;
}

DisplayResult QtDisplayPlatform::waitForVerticalBlank() {
    clock_.waitForNextFrame();
    return DisplayResult::Ok;
}

QPoint QtDisplayPlatform::surfacePoint(QPoint point) {
    if (!view_ || !view_->front())
        return point;
    const QRect picture = view_->pictureRect();
    if (picture.isEmpty())
        return point;
    const PixelSurface &front = *view_->front();
    const auto along = [](int offset, int shown, int size) {
        // Floor division, so that points left of or above the picture map outside it.
        const int64_t scaled = int64_t(offset) * size;
        return int(scaled >= 0 ? scaled / shown : -((-scaled + shown - 1) / shown));
    };
    return {along(point.x() - picture.left(), picture.width(), front.width()),
            along(point.y() - picture.top(), picture.height(), front.height())};
}

DisplayResult QtDisplayPlatform::createPalette(const PaletteEntries &entries) {
    if (!created_)
        return DisplayResult::InvalidObject;
    palette_ = entries;
    paletteMade_ = true;
    return DisplayResult::Ok;
}

DisplayResult QtDisplayPlatform::attachPalette(PixelSurface &front) {
    if (!paletteMade_ || &front != primary_)
        return DisplayResult::InvalidObject;
    paletteAttached_ = true;
    if (view_)
        view_->setColors(displayColors());
    return DisplayResult::Ok;
}

DisplayResult QtDisplayPlatform::setPaletteEntries(int first, const PaletteEntry *entries,
                                                   int count) {
    if (!paletteMade_)
        return DisplayResult::InvalidObject;
    if (first < 0 || count < 0 || first + count > int(palette_.size()))
        return DisplayResult::InvalidParams;
    std::copy(entries, entries + count, palette_.begin() + first);
    if (paletteAttached_ && view_)
        view_->setColors(displayColors());
    return DisplayResult::Ok;
}

void QtDisplayPlatform::releasePalette() {
    paletteMade_ = false;
    paletteAttached_ = false;
    if (view_)
        view_->setColors(displayColors());
}

ColorTable QtDisplayPlatform::displayColors() {
    return ColorsOf(paletteAttached_ ? palette_ : systemPalette());
}

void QtDisplayPlatform::beep() {
    QApplication::beep();
}

bool QtDisplayPlatform::confirm(QWidget *window, const QString &question) {
    QString title = QGuiApplication::applicationDisplayName();
    if (title.isEmpty())
        title = QCoreApplication::applicationName();
    return QMessageBox::question(window, title, question, QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
}

void QtDisplayPlatform::endApplication() {
    QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit,
                              Qt::QueuedConnection);
}

void QtDisplayPlatform::holdScreenSaver(bool hold) {
    if (!hold) {
        if (screenSaver_)
            screenSaver_->release();
        return;
    }
    if (!screenSaver_)
        screenSaver_ = std::make_unique<ScreenSaverInhibitor>(QDBusConnection::sessionBus());
    screenSaver_->hold(QCoreApplication::applicationName(), QStringLiteral("Full-screen display"));
}

QWidget *QtDisplayPlatform::view() const {
    return view_;
}

void QtDisplayPlatform::showFront() {
    if (view_)
        view_->present(primary_, fullScreen_, primary_ ? primary_->rect() : QRect());
}

} // namespace gk
