#pragma once

// The display's platform: what the display component (TGKScreen) asks of the machine, with
// the results it relies on, so that its logic runs over any back end that offers them. The
// program's back end is QtDisplayPlatform; tests put one of their own in its place to lose
// surfaces, to refuse operations and to answer as another desktop would.

#include "gk/Bitmaps.h"
#include "gk/FrameClock.h"
#include "gk/PixelSurface.h"

#include <QPointer>
#include <QRect>
#include <QSize>
#include <QString>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class QWidget;

namespace gk {

class ScreenSaverInhibitor;

// The platform's answers; every one but Ok is a failure whose name the display may report.
enum class DisplayResult {
    Ok,
    SurfaceLost, // the surface's memory was taken away: restore it and draw it again
    Generic,
    InvalidObject,
    InvalidParams,
    OutOfMemory,
    ExclusiveModeAlreadySet,
    HwndAlreadySet,
    HwndSubclassed,
    NoExclusiveMode,
    WrongMode,
    Unsupported,
};

// How the display shares the screen, as flags to setCooperativeLevel.
namespace cooperation {
inline constexpr uint32_t FullScreen = 0x01;
inline constexpr uint32_t AllowReboot = 0x02;
inline constexpr uint32_t Normal = 0x08;
inline constexpr uint32_t Exclusive = 0x10;
inline constexpr uint32_t AllowModeX = 0x40;
} // namespace cooperation

struct PaletteEntry {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t flags = 0;
    bool operator==(const PaletteEntry &) const = default;
};
using PaletteEntries = std::array<PaletteEntry, 256>;

// The colours a palette shows its indices in.
ColorTable ColorsOf(const PaletteEntries &entries);

// A full-screen mode: its size and the byte length of its rows.
struct DisplayModeInfo {
    int width = 0;
    int height = 0;
    int pitch = 0;
};

class DisplayPlatform {
public:
    virtual ~DisplayPlatform() = default;

    // --- The display object
    // Makes it; false when there is no display to be had.
    virtual bool create() = 0;
    // Undoes everything below: surfaces, palette, the binding to the window, its mode.
    virtual void release() = 0;
    // Binds the display to the owner window; `flags` are the cooperation flags above.
    virtual DisplayResult setCooperativeLevel(QWidget *window, uint32_t flags) = 0;
    // Full screen: the bound window covers its screen and shows pictures of width x height
    // pixels of `bits` bits each.
    virtual DisplayResult setDisplayMode(int width, int height, int bits) = 0;
    virtual void restoreDisplayMode() = 0;
    // The full-screen mode in use; false when it cannot be read.
    virtual bool getDisplayMode(DisplayModeInfo &mode) = 0;
    // The colours the desktop can show a palette surface in: 2 to the power of its bits per
    // pixel, times its colour planes.
    virtual int64_t desktopColors() = 0;
    // The colours the desktop keeps for itself and offers everybody.
    virtual PaletteEntries systemPalette() = 0;

    // --- Surfaces. They belong to the platform until released; a flip chain's back buffers
    // belong to their front surface and go with it.
    // The visible surface: alone, or at the head of a chain of `backBuffers` back buffers to
    // flip through. nullptr when refused.
    virtual PixelSurface *createPrimary(QSize size, int backBuffers) = 0;
    virtual PixelSurface *createOffScreen(QSize size) = 0;
    // The first back buffer of a front surface's chain; nullptr when it has none.
    virtual PixelSurface *attachedBackBuffer(PixelSurface &front) = 0;
    virtual void releaseSurface(PixelSurface *surface) = 0;
    // Gives a lost surface its memory back; its pixels must be drawn again.
    virtual DisplayResult restore(PixelSurface &surface) = 0;
    // Shows the front surface's first back buffer, once the screen can take a new picture.
    virtual DisplayResult flip(PixelSurface &front) = 0;
    // Copies all of `back` onto the front surface and shows it on `target` of the window's
    // client area, stretched to it.
    virtual DisplayResult bltToScreen(PixelSurface &front, const QRect &target,
                                      PixelSurface &back) = 0;
    // See CopyRect.
    virtual DisplayResult blt(PixelSurface &dest, QPoint at, PixelSurface &source,
                              const QRect &sourceRect, const QRect &clip, bool keyed) = 0;
    virtual DisplayResult fill(PixelSurface &dest, const QRect &rect, uint8_t index) = 0;
    // The surface's first pixel; nullptr when it cannot be locked.
    virtual uint8_t *lock(PixelSurface &surface) = 0;
    virtual void unlock(PixelSurface &surface) = 0;
    virtual DisplayResult setColorKey(PixelSurface &surface, uint8_t index) = 0;
    // Returns when the screen begins to show its next picture.
    virtual DisplayResult waitForVerticalBlank() = 0;
    // The screen's refresh moments.
    virtual FrameClock &frameClock() = 0;
    // The pixel of the shown surface under `point` of the window's client area.
    virtual QPoint surfacePoint(QPoint point) = 0;

    // --- The palette of an 8-bit display
    virtual DisplayResult createPalette(const PaletteEntries &entries) = 0;
    virtual DisplayResult attachPalette(PixelSurface &front) = 0;
    virtual DisplayResult setPaletteEntries(int first, const PaletteEntry *entries, int count) = 0;
    virtual void releasePalette() = 0;
    // The colours the display shows each index in: its palette's once attached, else the
    // system palette's.
    virtual ColorTable displayColors() = 0;

    // --- The desktop around the display
    virtual void beep() = 0;
    // A yes/no question in a box of the application's; true for yes.
    virtual bool confirm(QWidget *window, const QString &question) = 0;
    // Ends the application once control is back in its event loop.
    virtual void endApplication() = 0;
    // Holds the screen saver off, or lets it go.
    virtual void holdScreenSaver(bool hold) = 0;
};

class DisplayView;

// The program's display: every surface 8-bit palette indices in memory, the front one shown
// through the palette as 32-bit pixels by a view that covers the owner window's client area.
// Window mode shows the picture where the display copies it to; full screen turns the owner
// window into a frameless window over its whole screen (the monitor's own mode is never
// changed) and shows the mode's picture as large as its aspect allows, centred, with black
// borders and every pixel sharp. Surfaces are never lost and the desktop shows palette
// surfaces at any depth of its own.
class QtDisplayPlatform : public DisplayPlatform {
public:
    QtDisplayPlatform();
    ~QtDisplayPlatform() override;

    bool create() override;
    void release() override;
    DisplayResult setCooperativeLevel(QWidget *window, uint32_t flags) override;
    DisplayResult setDisplayMode(int width, int height, int bits) override;
    void restoreDisplayMode() override;
    bool getDisplayMode(DisplayModeInfo &mode) override;
    int64_t desktopColors() override;
    PaletteEntries systemPalette() override;

    PixelSurface *createPrimary(QSize size, int backBuffers) override;
    PixelSurface *createOffScreen(QSize size) override;
    PixelSurface *attachedBackBuffer(PixelSurface &front) override;
    void releaseSurface(PixelSurface *surface) override;
    DisplayResult restore(PixelSurface &surface) override;
    DisplayResult flip(PixelSurface &front) override;
    DisplayResult bltToScreen(PixelSurface &front, const QRect &target,
                              PixelSurface &back) override;
    DisplayResult blt(PixelSurface &dest, QPoint at, PixelSurface &source, const QRect &sourceRect,
                      const QRect &clip, bool keyed) override;
    DisplayResult fill(PixelSurface &dest, const QRect &rect, uint8_t index) override;
    uint8_t *lock(PixelSurface &surface) override;
    void unlock(PixelSurface &surface) override;
    DisplayResult setColorKey(PixelSurface &surface, uint8_t index) override;
    DisplayResult waitForVerticalBlank() override;
    FrameClock &frameClock() override { return clock_; }
    QPoint surfacePoint(QPoint point) override;

    DisplayResult createPalette(const PaletteEntries &entries) override;
    DisplayResult attachPalette(PixelSurface &front) override;
    DisplayResult setPaletteEntries(int first, const PaletteEntry *entries, int count) override;
    void releasePalette() override;
    ColorTable displayColors() override;

    void beep() override;
    bool confirm(QWidget *window, const QString &question) override;
    void endApplication() override;
    void holdScreenSaver(bool hold) override;

    // The view that shows the display, while one is bound to a window.
    QWidget *view() const;

private:
    PixelSurface *keep(std::unique_ptr<PixelSurface> surface);
    void showFront();

    bool created_ = false;
    QPointer<QWidget> window_;
    QPointer<DisplayView> view_;
    bool fullScreen_ = false;
    bool madeFullScreen_ = false; // the window was not full screen before the mode was set
    QRect windowedGeometry_;      // where it was before
    DisplayModeInfo mode_;
    std::vector<std::unique_ptr<PixelSurface>> surfaces_;
    PixelSurface *primary_ = nullptr;
    PaletteEntries palette_{};
    bool paletteMade_ = false;
    bool paletteAttached_ = false;
    FrameClock clock_;
    std::unique_ptr<ScreenSaverInhibitor> screenSaver_;
};

} // namespace gk
