#pragma once

// The 8-bit display: TGKScreen turns its owner window into a palette display, full screen or
// inside the window, with a front surface that is shown and a back surface that is drawn on,
// a surface for every picture of an image library and a tile library, a 256-entry palette
// that may cycle, and flipping at every refresh of the screen. TGKSurface is one surface of
// palette indices; TGKCanvas lets the program's canvas draw on one.
//
// The display runs over a gk::DisplayPlatform (the program's is QtDisplayPlatform: surfaces
// in memory, shown through Qt). Failures raise EGKScreen, EGKSurface or EGKCanvas with the
// messages the display has always given.

#include "gk/DisplayPlatform.h"
#include "gk/Error.h"
#include "gk/GKILib.h"
#include "gk/GKMap.h"
#include "gk/GKSnd.h"
#include "gk/Trace.h"
#include "toolkit/Canvas.h"
#include "toolkit/ErrorReport.h"
#include "toolkit/Loading.h"

#include <QImage>
#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class TGKSurface;

class EGKScreen : public gk::Error {
public:
    using gk::Error::Error;
};
class EGKSurface : public gk::Error {
public:
    using gk::Error::Error;
};
class EGKCanvas : public gk::Error {
public:
    using gk::Error::Error;
};

// The program's canvas on a surface of palette indices.
//
// A surface holds indices, which a canvas cannot paint on; so the canvas borrows the surface's
// drawing context only when an operation first needs it: a 32-bit picture of the surface, each
// pixel the colour its index shows in the display's palette at that moment. All drawing lands
// on that picture. ReleaseHandle gives the context back by writing the picture onto the
// surface: a pixel the drawing left in its colour keeps its index exactly, and a changed pixel
// takes the index of the palette colour nearest to it (the smallest sum of squared red, green
// and blue differences; the lowest index among equals). Until then the surface itself does not
// change. Every other way of writing to or reading from the surface (Erase, a copy into it or
// out of it, Lock, a flip) hands the context back first, so whatever the order, the last
// drawing wins at every pixel and nothing drawn is lost; destroying the canvas releases it too.
// Between Lock and Unlock the pixels are the caller's: a canvas that draws meanwhile borrows a
// picture of them as they are and lands at its release.
class TGKCanvas : public toolkit::Canvas {
public:
    // Raises EGKCanvas "Cannot create canvas for NIL surface" without a surface.
    explicit TGKCanvas(TGKSurface *surface);
    ~TGKCanvas() override;
    TGKCanvas(const TGKCanvas &) = delete;
    TGKCanvas &operator=(const TGKCanvas &) = delete;

    TGKSurface &Surface() const { return *surface_; }
    // Whether the drawing context is borrowed now.
    bool HandleAllocated() const { return borrowed_; }
    // Writes what was drawn onto the surface and gives the context back; does nothing when
    // none is borrowed.
    void ReleaseHandle();

protected:
    QImage *drawingTarget() const override;

private:
    TGKSurface *surface_;
    // The borrowed context: the picture and the colours it was made in.
    mutable QImage picture_;
    mutable gk::ColorTable colors_{};
    mutable bool borrowed_ = false;
};

// One surface of 8-bit palette indices: `Height` rows of `Width` pixels, `Pitch` bytes apart.
//
// Pitch is always the distance the platform really put between the rows of this surface, for
// every kind: off-screen surfaces and the window back buffer have rows padded to four bytes
// (as the pictures of an image library do), the front surface and a flip chain the mode's own
// rows. The display once told the window back buffer's width as its pitch while its rows were
// padded, so a program that wrote at Lock() + y * Pitch() landed on the wrong rows whenever
// the width was not a multiple of four. Reading the pitch from the surface itself keeps the
// two from ever disagreeing, on any platform; for widths that are multiples of four, as every
// display mode's is, Pitch is still Width.
class TGKSurface {
public:
    // An off-screen surface for pictures. EGKSurface "Could not create memory surface (w, h)".
    static std::unique_ptr<TGKSurface> OffScreen(gk::DisplayPlatform &platform, int width,
                                                 int height);
    // The visible surface. Window mode: the back buffer's size, alone. Full screen: the
    // display mode's size, heading a chain of `backBuffers` back buffers. EGKSurface
    // "CreateSurface failed", or "Get DisplayMode Failed" when the mode cannot be read.
    static std::unique_ptr<TGKSurface> Front(gk::DisplayPlatform &platform, bool windowMode,
                                             QSize bufferSize, int backBuffers);
    // Full screen: the back buffer of the front surface's chain, which belongs to the chain
    // (Attached). EGKSurface "Failed to get background surface".
    static std::unique_ptr<TGKSurface> FlipBackBuffer(TGKSurface &front);
    // Window mode: an off-screen surface of the back buffer's size. EGKSurface "Failed
    // Creating BackBufferW".
    static std::unique_ptr<TGKSurface> WindowBackBuffer(gk::DisplayPlatform &platform, QSize size);
    // Releases the canvas's context first, then the surface unless it is Attached.
    ~TGKSurface();
    TGKSurface(const TGKSurface &) = delete;
    TGKSurface &operator=(const TGKSurface &) = delete;

    // The first pixel, also kept as LockedBits; nullptr when the surface cannot be locked.
    // Row y begins Pitch() * y bytes further on.
    uint8_t *Lock();
    // Unlocks when locked.
    void Unlock();
    // Copies from this surface that honour the colour key leave pixels of `index` out.
    // EGKSurface "SetColorKey failed".
    void SetTransparentColor(uint8_t index);
    // Fills the whole surface with one palette index. A lost surface calls OnSurfaceLost,
    // which may destroy this surface; EGKSurface "Erase (Blt) Failed" for any other failure,
    // or a lost surface without OnSurfaceLost.
    void Erase(uint8_t color);
    // Copies `sourceRect` of `source` with its top-left corner at (x, y), inside ClipRect;
    // with `transparent`, the pixels of the source's TransparentColor are left out. Failures
    // as for Erase, with "Blt Failed".
    void Blt(int x, int y, TGKSurface &source, const QRect &sourceRect, bool transparent = true);
    void Blt(int x, int y, TGKSurface &source) { Blt(x, y, source, source.ClientRect()); }

    TGKCanvas &Canvas() { return *FCanvas; }
    uint8_t TransparentColor() const { return FTransparentColor; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    int Pitch() const { return FPitch; }
    QRect ClientRect() const { return {0, 0, FWidth, FHeight}; }
    QRect ClipRect() const { return FClipRect; }
    void SetClipRect(const QRect &rect) { FClipRect = rect; }
    bool Attached() const { return FAttached; }
    uint8_t *LockedBits() const { return FLockedBits; }

    // The platform's surface and the platform it belongs to.
    gk::PixelSurface &Memory() const { return *FSurface; }
    gk::DisplayPlatform &Platform() const { return platform_; }

    std::function<void(TGKSurface *sender)> OnSurfaceLost;

private:
    TGKSurface(gk::DisplayPlatform &platform, gk::PixelSurface *surface, int width, int height,
               bool attached);
    // After a copy or fill: a lost surface goes to OnSurfaceLost, failures raise `failure`.
    void checkDrawn(gk::DisplayResult result, const char *failure);

    gk::DisplayPlatform &platform_;
    gk::PixelSurface *FSurface;
    std::unique_ptr<TGKCanvas> FCanvas;
    uint8_t FTransparentColor = 0;
    int FWidth;
    int FHeight;
    int FPitch;
    QRect FClipRect;
    bool FAttached;
    uint8_t *FLockedBits = nullptr;
};

// The display component. It takes over its owner window's activation: the first activation
// sets the display up, every activation starts the window's audio components (which leave
// that to it). While it is set up, errors that reach the application are not shown: they beep
// and go to the trace viewer, the mouse cursor is hidden over the application, and the
// desktop's screen saver is held off while the application is active.
class TGKScreen : public QObject, public toolkit::LoadNotified, public gk::StartsWindowAudio {
    Q_OBJECT

public:
    // Its values beyond the list are valid too (taken as 640 x 480), hence the fixed type.
    enum TDisplayMode : int {
        dm640x480x8,
        dm320x200x8,
        dm800x600x8,
        dm1024x768x8,
        dm640x400x8,
        dm320x240x8,
    };
    Q_ENUM(TDisplayMode)
    enum TPaletteMode { pmExclusive, pmNormal };
    Q_ENUM(TPaletteMode)

    Q_PROPERTY(TDisplayMode DisplayMode MEMBER DisplayMode)
    Q_PROPERTY(bool FlippingEnabled READ FlippingEnabled WRITE SetFlippingEnabled)
    Q_PROPERTY(bool Debug MEMBER Debug)
    Q_PROPERTY(bool BeepOnException MEMBER BeepOnException)
    Q_PROPERTY(QString Version READ Version WRITE SetVersion)
    Q_PROPERTY(bool PaletteCycle MEMBER PaletteCycle)
    Q_PROPERTY(TGKImageLib *ImageLibrary READ ImageLibrary WRITE SetImageLibrary)
    Q_PROPERTY(TGKImageLib *TileLibrary READ TileLibrary WRITE SetTileLibrary)
    Q_PROPERTY(TGKMapLib *MapLibrary READ MapLibrary WRITE SetMapLibrary)
    Q_PROPERTY(bool SkipTile0 MEMBER SkipTile0)
    Q_PROPERTY(int BackBuffers MEMBER BackBuffers)
    Q_PROPERTY(bool WindowMode MEMBER WindowMode)
    Q_PROPERTY(bool WindowVBL MEMBER WindowVBL)
    Q_PROPERTY(TPaletteMode PaletteMode MEMBER PaletteMode)
    Q_PROPERTY(bool WindowStretch MEMBER WindowStretch)
    Q_PROPERTY(int WinBufWidth MEMBER WinBufWidth)
    Q_PROPERTY(int WinBufHeight MEMBER WinBufHeight)
    Q_PROPERTY(int ColorDepth MEMBER ColorDepth)

    using TNotifyEvent = std::function<void(TGKScreen *sender)>;

    // The label of this version of the display library.
    static constexpr const char *LibraryVersion = "GK 1.0";
    static constexpr const char *NotIn256Colors =
        "You are not in 256 color mode. Do you want to run this application in Full-Screen "
        "mode?";

    // `owner` is the window that becomes the display. Without a platform the display is the
    // program's own (QtDisplayPlatform).
    explicit TGKScreen(QWidget *owner, gk::DisplayPlatform *platform = nullptr);
    ~TGKScreen() override;

    // --- Published properties, in their order
    TDisplayMode DisplayMode = dm640x480x8;
    bool FlippingEnabled() const { return FFlippingEnabled; }
    // Flips at every refresh of the screen while the application is active, or stops.
    void SetFlippingEnabled(bool enabled);
    bool Debug = true;
    bool BeepOnException = true;
    TNotifyEvent OnPaint;      // after the surfaces were restored on reactivation
    TNotifyEvent OnFlip;       // before each flip of the idle flipping
    TNotifyEvent OnInitialize; // at the end of the set-up
    TNotifyEvent OnCleanUp;    // at the start of the tear-down
    QString Version() const { return LibraryVersion; }
    void SetVersion(const QString &) {} // the label is the library's own
    bool PaletteCycle = false;
    TGKImageLib *ImageLibrary() const { return FImageLibrary; }
    // Not owned; forgotten when the library is destroyed, the surfaces made from it staying.
    void SetImageLibrary(TGKImageLib *library) { FImageLibrary = library; }
    TGKImageLib *TileLibrary() const { return FTileLibrary; }
    void SetTileLibrary(TGKImageLib *library) { FTileLibrary = library; }
    TGKMapLib *MapLibrary() const { return FMapLibrary; } // held for the program; never read
    void SetMapLibrary(TGKMapLib *library) { FMapLibrary = library; }
    bool SkipTile0 = false; // held for the program; never read
    int BackBuffers = 2;
    bool WindowMode = false;
    bool WindowVBL = true;
    TPaletteMode PaletteMode = pmNormal;
    bool WindowStretch = false;
    int WinBufWidth = 0;
    int WinBufHeight = 0;
    int ColorDepth = 8;

    // The full-screen size of a mode; any value outside the list is 640 x 480.
    static QSize ModeSize(TDisplayMode mode);

    // --- Drawing
    TGKSurface *FrontSurface() const { return FFrontSurface.get(); }
    TGKSurface *BackSurface() const { return FBackSurface.get(); }
    int ImageSurfaceCount() const { return int(FImageSurfaces.size()); }
    TGKSurface *ImageSurfaces(int index) const {
        return FImageSurfaces.at(std::size_t(index)).get();
    }
    int TileSurfaceCount() const { return int(FTileSurfaces.size()); }
    TGKSurface *TileSurfaces(int index) const { return FTileSurfaces.at(std::size_t(index)).get(); }
    // The back surface's pixel under a point of the owner window's client area.
    QPoint SurfacePoint(QPoint point) const;
    // The back surface's size while set up.
    QSize BufferSize() const;
    // Whether the display is set up.
    bool DisplayCreated() const { return FDisplayCreated; }

    // Shows what was drawn on the back surface, its canvas's drawing included (the canvas's
    // context is released first). Window mode waits for the screen's blank first when
    // WindowVBL is on, unless the flip runs at it already (idle flipping). EGKScreen "Flip
    // Failed"; a lost surface restores the surfaces instead.
    void Flip();
    void WaitForVBlank();

    // --- Palette (ColorDepth 8 only)
    void SetPaletteEntries(const gk::PaletteEntries &entries);
    const gk::PaletteEntries &Palette() const { return FPalette; }
    void InitPalette();
    // Palette cycling: the entries `first` to `last` take `colors` (one for each), and every
    // step of CyclePalette moves them on by `step` places, after `delay` flips without a step.
    // It runs after each flip while PaletteCycle is on. EGKScreen when the range or the
    // colours do not fit.
    void StartPaletteCycle(int first, int last, const std::vector<gk::PaletteEntry> &colors,
                           int step = 1, int delay = 0);
    void StopPaletteCycle() { FCycle.active = false; }
    bool PaletteCycling() const { return FCycle.active; }
    void CyclePalette();

    // --- Pictures
    void LoadImages(TGKImageLib *library, bool setPalette);
    void LoadTiles(TGKImageLib *library, bool setPalette);
    void FreeImages();
    void FreeTiles();
    void RestoreSurfaces();

    // --- Life cycle
    void OwnerActivate();
    void InitDisplay();
    void CleanUp();
    // The owner window's look for the mode: frameless, on top and black for full screen, an
    // ordinary window again for window mode. Made when the window has loaded.
    void ApplyWindowLook();
    void Loaded() override;
    // Errors that reach the application while the display is set up come here.
    void HandleException(const QString &text);
    // The application's activation, as the display follows it while set up.
    void ApplicationStateChanged(Qt::ApplicationState state);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct SurfaceSet;
    struct CycleState {
        std::vector<gk::PaletteEntry> table; // the colours twice over
        int step = 1;
        int offset = 0;
        int delay = 0;
        int counter = 0;
        int first = 0;
        int last = 0;
        bool active = false;
    };

    QWidget *owner() const;
    gk::DisplayPlatform &platform() const { return *platform_; }
    void activate(QEvent *activation);
    void setUp();
    void installHooks();
    void removeHooks();
    void applicationReactivated();
    void startFlipping();
    void stopFlipping();
    void idle();
    void restoreSurface(TGKSurface &surface, const char *failure);
    void loadSurfaces(std::vector<std::unique_ptr<TGKSurface>> &surfaces,
                      QPointer<TGKImageLib> &from, TGKImageLib *library, bool setPalette,
                      bool tiles);
    void makePictureSurface(std::vector<std::unique_ptr<TGKSurface>> &surfaces,
                            const TGKImageLib &library, int index, bool tiles);
    void writePalette(int first, int count);

    std::unique_ptr<gk::DisplayPlatform> FOwnPlatform;
    gk::DisplayPlatform *platform_;
    bool FFlippingEnabled = false;
    QPointer<TGKImageLib> FImageLibrary;
    QPointer<TGKImageLib> FTileLibrary;
    QPointer<TGKMapLib> FMapLibrary;

    bool FDisplayCreated = false; // the display object exists
    bool FSetUpFailed = false;    // activations do not try again after a failed set-up
    bool FWindowed = false;       // the mode the display was set up in
    bool FActivating = false;
    bool FInIdle = false;
    gk::PaletteEntries FPalette{};
    bool FPaletteMade = false;
    std::unique_ptr<TGKSurface> FFrontSurface;
    std::unique_ptr<TGKSurface> FBackSurface;
    std::vector<std::unique_ptr<TGKSurface>> FImageSurfaces;
    std::vector<std::unique_ptr<TGKSurface>> FTileSurfaces;
    QPointer<TGKImageLib> FImagesFrom;
    QPointer<TGKImageLib> FTilesFrom;
    QSize FOuterSize;
    QSize FBufferSize;
    CycleState FCycle;

    bool FHooked = false;
    toolkit::ErrorReporter FPreviousReporter;
    QMetaObject::Connection FStateHook;
    QMetaObject::Connection FFlipping;
    bool FCursorHidden = false;
};

using TDisplayMode = TGKScreen::TDisplayMode;
using TPaletteMode = TGKScreen::TPaletteMode;
