// TGKScreen: binding to the owner window, set-up and tear-down, the application's activation,
// flipping. The palette and the picture surfaces are in GKScreenPictures.cpp.
#include "gk/GK.h"

#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QPalette>

#include <exception>

using gk::DisplayResult;

namespace {

// The reasons a refused cooperative level is reported with.
const char *cooperationFailure(DisplayResult result) {
    switch (result) {
    case DisplayResult::ExclusiveModeAlreadySet:
        return "Exclude mode already set";
    case DisplayResult::HwndAlreadySet:
        return "HWND already set";
    case DisplayResult::HwndSubclassed:
        return "Hwnd Subclasses";
    case DisplayResult::InvalidObject:
        return "Invalid Object";
    case DisplayResult::InvalidParams:
        return "Invalud Params";
    case DisplayResult::OutOfMemory:
        return "Out of memory";
    default:
        return "Unknown error";
    }
}

// Clears a flag when the scope ends, however it ends.
class FlagScope {
public:
    explicit FlagScope(bool &flag) : flag_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = false; }
    FlagScope(const FlagScope &) = delete;
    FlagScope &operator=(const FlagScope &) = delete;

private:
    bool &flag_;
};

} // namespace

TGKScreen::TGKScreen(QWidget *owner, gk::DisplayPlatform *platform)
    : QObject(owner), platform_(platform) {
    if (!platform_) {
        FOwnPlatform = std::make_unique<gk::QtDisplayPlatform>();
        platform_ = FOwnPlatform.get();
    }
    if (owner)
        owner->installEventFilter(this);
}

TGKScreen::~TGKScreen() {
    toolkit::guarded([this] { CleanUp(); });
}

QWidget *TGKScreen::owner() const {
    return qobject_cast<QWidget *>(parent());
}

QSize TGKScreen::ModeSize(TDisplayMode mode) {
    switch (mode) {
    case dm320x200x8:
        return {320, 200};
    case dm800x600x8:
        return {800, 600};
    case dm1024x768x8:
        return {1024, 768};
    case dm640x400x8:
        return {640, 400};
    case dm320x240x8:
        return {320, 240};
    default:
        return {640, 480};
    }
}

QSize TGKScreen::BufferSize() const {
    return FBackSurface ? FBackSurface->ClientRect().size() : QSize();
}

QPoint TGKScreen::SurfacePoint(QPoint point) const {
    return platform().surfacePoint(point);
}

// --- Activation and set-up

bool TGKScreen::eventFilter(QObject *watched, QEvent *event) {
    if (watched != parent() || event->type() != QEvent::WindowActivate || FActivating)
        return QObject::eventFilter(watched, event);
    toolkit::guarded([&] { activate(event); });
    return true;
}

void TGKScreen::OwnerActivate() {
    activate(nullptr);
}

void TGKScreen::activate(QEvent *activation) {
    // A question box or the change to full screen may activate the window again meanwhile.
    const FlagScope activating(FActivating);
    // The window's own handling of its activation, in the place it has always had.
    const auto ownHandling = [&] {
        if (activation && owner())
            static_cast<QObject *>(owner())->event(activation);
    };

    if (!WindowMode)
        PaletteMode = pmExclusive;
    if (WindowMode && ColorDepth == 8 && platform().desktopColors() != 256) {
        if (!platform().confirm(owner(), NotIn256Colors)) {
            ownHandling();
            platform().endApplication();
            return;
        }
        WindowMode = false;
    }
    ownHandling();
    if (!FSetUpFailed)
        InitDisplay();
    for (TGKAudio *audio : parent()->findChildren<TGKAudio *>(Qt::FindDirectChildrenOnly))
        audio->Initialize();
}

void TGKScreen::InitDisplay() {
    if (FDisplayCreated)
        return;
    // A display half set up cannot flip: whatever fails takes it all down again, and the
    // window's later activations leave it at that rather than fail again each time.
    try {
        setUp();
        FSetUpFailed = false;
    } catch (...) {
        FSetUpFailed = true;
        CleanUp();
        throw;
    }
}

void TGKScreen::setUp() {
    QWidget *window = owner();
    if (!platform().create())
        throw EGKScreen("Failed to create IDerectDraw object");
    FDisplayCreated = true;
    FWindowed = WindowMode;

    const QSize mode = ModeSize(DisplayMode);
    FOuterSize = window ? window->frameGeometry().size() : QSize();
    FBufferSize = WinBufWidth > 0 && WinBufHeight > 0 ? QSize(WinBufWidth, WinBufHeight) : mode;

    using namespace gk::cooperation;
    const uint32_t level = !WindowMode ? Exclusive | FullScreen | AllowReboot | AllowModeX
                           : PaletteMode == pmExclusive ? Exclusive | FullScreen
                                                        : Normal;
    const DisplayResult cooperation = platform().setCooperativeLevel(window, level);
    if (cooperation != DisplayResult::Ok) {
        CleanUp();
        throw EGKScreen(std::string("DirectDraw2 SetCooperativeLevel Failed: ") +
                        cooperationFailure(cooperation));
    }
    installHooks();
    if (!WindowMode &&
        platform().setDisplayMode(mode.width(), mode.height(), ColorDepth) != DisplayResult::Ok) {
        CleanUp();
        throw EGKScreen("Set Display Mode Failed");
    }

    FFrontSurface = TGKSurface::Front(platform(), WindowMode, FBufferSize, BackBuffers);
    FFrontSurface->OnSurfaceLost = [this](TGKSurface *) { RestoreSurfaces(); };
    FBackSurface = WindowMode ? TGKSurface::WindowBackBuffer(platform(), FBufferSize)
                              : TGKSurface::FlipBackBuffer(*FFrontSurface);
    FBackSurface->OnSurfaceLost = [this](TGKSurface *) { RestoreSurfaces(); };
    if (WindowMode && window)
        window->resize(WindowStretch ? FOuterSize : FBufferSize);

    InitPalette();
    FBackSurface->Erase(0);
    Flip();
    FBackSurface->Erase(0);

    if (!FCursorHidden) {
        QGuiApplication::setOverrideCursor(QCursor(Qt::BlankCursor));
        FCursorHidden = true;
    }
    if (ImageLibrary())
        LoadImages(ImageLibrary(), true);
    if (TileLibrary())
        LoadTiles(TileLibrary(), true);
    if (OnInitialize)
        OnInitialize(this);
}

void TGKScreen::CleanUp() {
    if (!FDisplayCreated)
        return;
    SetFlippingEnabled(false);
    // The tear-down goes to its end whatever the program's handler does.
    std::exception_ptr failure;
    try {
        if (OnCleanUp)
            OnCleanUp(this);
    } catch (...) {
        failure = std::current_exception();
    }
    FreeImages();
    FreeTiles();
    // The back buffer first: in full screen it belongs to the front surface's chain.
    FBackSurface.reset();
    FFrontSurface.reset();
    if (FPaletteMade) {
        platform().releasePalette();
        FPaletteMade = false;
    }
    platform().restoreDisplayMode();
    platform().release();
    FDisplayCreated = false;
    removeHooks();
    if (FCursorHidden) {
        QGuiApplication::restoreOverrideCursor();
        FCursorHidden = false;
    }
    if (failure)
        std::rethrow_exception(failure);
}

void TGKScreen::ApplyWindowLook() {
    QWidget *window = owner();
    if (!window)
        return;
    const Qt::WindowFlags fullScreen = Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint;
    const Qt::WindowFlags flags =
        WindowMode ? window->windowFlags() & ~fullScreen : window->windowFlags() | fullScreen;
    if (flags != window->windowFlags()) {
        const bool visible = window->isVisible();
        window->setWindowFlags(flags);
        if (visible)
            window->show();
    }
    if (!WindowMode) {
        QPalette black = window->palette();
        black.setColor(QPalette::Window, Qt::black);
        window->setPalette(black);
        window->setAutoFillBackground(true);
    }
}

void TGKScreen::Loaded() {
    if (!WindowMode)
        ApplyWindowLook();
}

// --- The application around the display

void TGKScreen::installHooks() {
    if (FHooked)
        return;
    FHooked = true;
    FPreviousReporter = toolkit::errorReporter();
    toolkit::setErrorReporter([this](const QString &text) { HandleException(text); });
    if (auto *application = qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        FStateHook =
            connect(application, &QGuiApplication::applicationStateChanged, this,
                    [this](Qt::ApplicationState state) { ApplicationStateChanged(state); });
        if (QGuiApplication::applicationState() == Qt::ApplicationActive)
            platform().holdScreenSaver(true);
    }
}

void TGKScreen::removeHooks() {
    if (!FHooked)
        return;
    FHooked = false;
    toolkit::setErrorReporter(FPreviousReporter);
    FPreviousReporter = nullptr;
    disconnect(FStateHook);
    FStateHook = {};
    platform().holdScreenSaver(false);
}

void TGKScreen::HandleException(const QString &text) {
    if (BeepOnException)
        platform().beep();
    if (Debug)
        gk::Trace(text);
}

void TGKScreen::ApplicationStateChanged(Qt::ApplicationState state) {
    if (!FHooked)
        return;
    if (state != Qt::ApplicationActive) {
        stopFlipping();
        platform().holdScreenSaver(false);
        return;
    }
    platform().holdScreenSaver(true);
    // The surfaces are restored once the activation has been dealt with.
    QMetaObject::invokeMethod(
        this, [this] { toolkit::guarded([this] { applicationReactivated(); }); },
        Qt::QueuedConnection);
}

void TGKScreen::applicationReactivated() {
    if (!FDisplayCreated)
        return;
    RestoreSurfaces();
    if (FFlippingEnabled)
        startFlipping();
    if (OnPaint)
        OnPaint(this);
}

// --- Flipping

void TGKScreen::SetFlippingEnabled(bool enabled) {
    if (enabled == FFlippingEnabled)
        return;
    FFlippingEnabled = enabled;
    if (enabled)
        startFlipping();
    else
        stopFlipping();
}

void TGKScreen::startFlipping() {
    if (FFlipping)
        return;
    gk::FrameClock &clock = platform().frameClock();
    FFlipping = connect(&clock, &gk::FrameClock::frame, this,
                        [this] { toolkit::guarded([this] { idle(); }); });
    clock.start();
}

void TGKScreen::stopFlipping() {
    if (!FFlipping)
        return;
    disconnect(FFlipping);
    FFlipping = {};
    platform().frameClock().stop();
}

void TGKScreen::idle() {
    // A handler that waits in an event loop must not flip again from inside it.
    if (FInIdle || !FDisplayCreated)
        return;
    const FlagScope inIdle(FInIdle);
    if (OnFlip)
        OnFlip(this);
    Flip();
}

void TGKScreen::Flip() {
    if (!FFrontSurface || !FBackSurface)
        throw EGKScreen("Flip Failed");
    // What was drawn with the canvas is shown too, and the front's own drawing lies under the
    // new picture rather than over it.
    FBackSurface->Canvas().ReleaseHandle();
    FFrontSurface->Canvas().ReleaseHandle();
    DisplayResult result;
    if (FWindowed) {
        const QRect target =
            WindowStretch && owner() ? owner()->rect() : FFrontSurface->ClientRect();
        // Idle flipping runs at the blank already.
        if (WindowVBL && !platform().frameClock().atFrame())
            WaitForVBlank();
        result = platform().bltToScreen(FFrontSurface->Memory(), target, FBackSurface->Memory());
    } else {
        result = platform().flip(FFrontSurface->Memory());
    }
    if (result == DisplayResult::SurfaceLost)
        RestoreSurfaces();
    else if (result != DisplayResult::Ok)
        throw EGKScreen("Flip Failed");
    if (PaletteCycle && FCycle.active)
        CyclePalette();
}

void TGKScreen::WaitForVBlank() {
    if (platform().waitForVerticalBlank() != DisplayResult::Ok)
        throw EGKScreen("WaitForVericalBlankError");
}
