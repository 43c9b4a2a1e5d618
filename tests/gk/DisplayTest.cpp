// The display component in a window of the test's own, over the program's display platform
// with a script on top (ScriptedDisplay).
#include "ScriptedDisplay.h"

#include "gk/GK.h"
#include "gk/Mixer.h"
#include "support/Libraries.h"
#include "support/TraceListener.h"

#include <QApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

using Op = ScriptedDisplay::Op;
using gk::DisplayResult;

namespace {

// Three pictures 5, 8 and 9 pixels wide (rows of 8, 8 and 12 bytes, the filler 0xee), each
// pixel (x + y + picture) % 4, over a palette of black, red, green and blue.
TGKImages threePictures() {
    TGKImages images;
    images.SetPaletteEntry(1, 255, 0, 0);
    images.SetPaletteEntry(2, 0, 255, 0);
    images.SetPaletteEntry(3, 0, 0, 255);
    const int widths[] = {5, 8, 9};
    for (int p = 0; p < 3; ++p) {
        TGKImageEntry header;
        header.SetWidth(widths[p]);
        header.SetHeight(3);
        const int row = int(gk::RowBytes(widths[p]));
        QByteArray bits(row * 3, '\xee');
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < widths[p]; ++x)
                bits[y * row + x] = char((x + y + p) % 4);
        images.Add(header, bits);
    }
    return images;
}

// The program's mixer, counting the devices the audio components open and let go of.
struct CountingSound : gk::MixerPlatform {
    using MixerPlatform::MixerPlatform;
    int opened = 0;
    int released = 0;
    gk::DeviceId createDevice() override {
        ++opened;
        return MixerPlatform::createDevice();
    }
    void releaseDevice(gk::DeviceId device) override {
        ++released;
        MixerPlatform::releaseDevice(device);
    }
};

class ScreenTest : public ::testing::Test {
protected:
    ScreenTest() {
        toolkit::setErrorReporter([this](const QString &text) { reports << text; });
        makeWindow();
    }
    ~ScreenTest() override {
        window.reset();
        toolkit::setErrorReporter({});
    }

    void makeWindow() {
        window = std::make_unique<QWidget>();
        window->resize(400, 300);
        screen = new TGKScreen(window.get(), &platform);
        images = new TGKImageLib(window.get());
        audio = new TGKAudio(window.get(), &sound);
        images->setObjectName("Images");
    }
    void activate() {
        QEvent activation(QEvent::WindowActivate);
        QApplication::sendEvent(window.get(), &activation);
    }
    // The display set up in window mode with a back buffer of its own size.
    void setUpWindowed(int width = 64, int height = 48) {
        screen->WindowMode = true;
        screen->WinBufWidth = width;
        screen->WinBufHeight = height;
        screen->InitDisplay();
    }

    gk::Mixer mixer;
    CountingSound sound{mixer};
    ScriptedDisplay platform;
    std::unique_ptr<QWidget> window;
    TGKScreen *screen = nullptr;
    TGKImageLib *images = nullptr;
    TGKAudio *audio = nullptr;
    QStringList reports;
};

template <typename E> std::string failureOf(const std::function<void()> &action) {
    try {
        action();
    } catch (const E &e) {
        return e.what();
    } catch (const std::exception &e) {
        return std::string("wrong class: ") + e.what();
    }
    return "";
}

QList<uint8_t> rowOf(const TGKSurface &surface, int y) {
    const uint8_t *row = surface.Memory().row(y);
    return QList<uint8_t>(row, row + surface.Pitch());
}

} // namespace

TEST_F(ScreenTest, PublishesItsPropertiesInOrderWithTheirDefaults) {
    // The events are members, not properties; the version label ignores what is written to it.
    const std::pair<const char *, QVariant> published[] = {
        {"DisplayMode", QVariant::fromValue(TGKScreen::dm640x480x8)},
        {"FlippingEnabled", false},
        {"Debug", true},
        {"BeepOnException", true},
        {"Version", QString(TGKScreen::LibraryVersion)},
        {"PaletteCycle", false},
        {"ImageLibrary", QVariant::fromValue<TGKImageLib *>(nullptr)},
        {"TileLibrary", QVariant::fromValue<TGKImageLib *>(nullptr)},
        {"MapLibrary", QVariant::fromValue<TGKMapLib *>(nullptr)},
        {"SkipTile0", false},
        {"BackBuffers", 2},
        {"WindowMode", false},
        {"WindowVBL", true},
        {"PaletteMode", QVariant::fromValue(TGKScreen::pmNormal)},
        {"WindowStretch", false},
        {"WinBufWidth", 0},
        {"WinBufHeight", 0},
        {"ColorDepth", 8},
    };
    const QMetaObject &meta = *screen->metaObject();
    ASSERT_EQ(meta.propertyCount() - meta.propertyOffset(), int(std::size(published)));
    for (int i = 0; i < int(std::size(published)); ++i) {
        const auto &[name, value] = published[i];
        EXPECT_STREQ(meta.property(meta.propertyOffset() + i).name(), name);
        EXPECT_EQ(screen->property(name), value) << name;
    }
    EXPECT_TRUE(screen->setProperty("Version", "9.9"));
    EXPECT_EQ(screen->property("Version").toString(), TGKScreen::LibraryVersion);

    // A removed library is forgotten.
    screen->SetImageLibrary(images);
    delete images;
    images = nullptr;
    EXPECT_EQ(screen->ImageLibrary(), nullptr);
}

TEST_F(ScreenTest, ModesGiveTheirSizesAndAnyOtherValue640x480) {
    const std::pair<TDisplayMode, QSize> modes[] = {
        {TGKScreen::dm640x480x8, {640, 480}},        {TGKScreen::dm320x200x8, {320, 200}},
        {TGKScreen::dm800x600x8, {800, 600}},        {TGKScreen::dm1024x768x8, {1024, 768}},
        {TGKScreen::dm640x400x8, {640, 400}},        {TGKScreen::dm320x240x8, {320, 240}},
        {static_cast<TDisplayMode>(17), {640, 480}}, {static_cast<TDisplayMode>(-1), {640, 480}},
    };
    for (const auto &[mode, size] : modes)
        EXPECT_EQ(TGKScreen::ModeSize(mode), size) << mode;

    // Full screen sets the mode with the colour depth and flips through a chain of its size.
    screen->DisplayMode = TGKScreen::dm320x200x8;
    const QRect windowed = window->geometry();
    screen->InitDisplay();
    ASSERT_EQ(platform.modes.size(), 1u);
    EXPECT_EQ(platform.modes[0].width, 320);
    EXPECT_EQ(platform.modes[0].height, 200);
    EXPECT_EQ(platform.modes[0].bits, 8);
    EXPECT_EQ(screen->FrontSurface()->ClientRect(), QRect(0, 0, 320, 200));
    EXPECT_TRUE(screen->BackSurface()->Attached());
    EXPECT_EQ(screen->FrontSurface()->Memory().chain.size(), 2u) << "BackBuffers 2";
    EXPECT_TRUE(window->windowState() & Qt::WindowFullScreen);
    // The window covers its screen itself, for a desktop without a window manager.
    EXPECT_EQ(window->geometry(), window->screen()->geometry());
    screen->CleanUp();
    EXPECT_FALSE(window->windowState() & Qt::WindowFullScreen);
    EXPECT_EQ(window->geometry(), windowed);
}

TEST_F(ScreenTest, WindowModeBuffersTakeTheModeSizeUnlessBothSidesAreGiven) {
    struct Case {
        int width, height;
        bool stretch;
        QSize buffer, client;
    } const cases[] = {
        {320, 0, false, {640, 480}, {640, 480}},
        {0, 200, false, {640, 480}, {640, 480}},
        {320, 200, false, {320, 200}, {320, 200}},
        {320, 200, true, {320, 200}, {400, 300}}, // stretched: the window keeps its size
    };
    for (const Case &c : cases) {
        makeWindow();
        screen->WindowMode = true;
        screen->WinBufWidth = c.width;
        screen->WinBufHeight = c.height;
        screen->WindowStretch = c.stretch;
        screen->InitDisplay();
        EXPECT_EQ(screen->BackSurface()->ClientRect().size(), c.buffer)
            << c.width << "x" << c.height;
        EXPECT_EQ(screen->FrontSurface()->ClientRect().size(), c.buffer);
        EXPECT_EQ(screen->BackSurface()->Pitch(), c.buffer.width()) << "rows of 4 bytes each";
        EXPECT_FALSE(screen->BackSurface()->Attached());
        EXPECT_EQ(window->size(), c.client);
        screen->CleanUp();
    }
    EXPECT_TRUE(platform.modes.empty()) << "window mode never sets a display mode";
}

TEST_F(ScreenTest, ADesktopNotIn256ColoursAsksForFullScreen) {
    struct Case {
        int64_t colors;
        bool answer;
        bool asked, ended, windowMode;
    } const cases[] = {
        {65536, false, true, true, true},
        {65536, true, true, false, false},
        {256, false, false, false, true},
    };
    for (const Case &c : cases) {
        platform.colors = c.colors;
        platform.answer = c.answer;
        platform.questions.clear();
        platform.ends = 0;
        makeWindow();
        screen->WindowMode = true;
        activate();
        EXPECT_EQ(platform.questions.size(), c.asked ? 1 : 0) << c.colors << c.answer;
        if (c.asked) {
            EXPECT_EQ(platform.questions.value(0),
                      "You are not in 256 color mode. Do you want to run this application in "
                      "Full-Screen mode?");
        }
        EXPECT_EQ(platform.ends, c.ended ? 1 : 0);
        EXPECT_EQ(screen->WindowMode, c.windowMode);
        EXPECT_EQ(screen->DisplayCreated(), !c.ended) << "No ends the program without a display";
        EXPECT_EQ(!screen->WindowMode && screen->DisplayCreated(),
                  bool(window->windowState() & Qt::WindowFullScreen));
        screen->CleanUp();
    }
}

TEST_F(ScreenTest, EveryActivationStartsTheAudioAndOnlyTheFirstSetsUp) {
    auto *sounds = new TGKSoundLib(window.get());
    audio->SetSoundLibrary(sounds);
    int initialized = 0;
    screen->OnInitialize = [&](TGKScreen *) { ++initialized; };

    toolkit::notifyLoaded(window.get());
    EXPECT_FALSE(audio->DeviceOpen()) << "the audio waits for the display";
    EXPECT_EQ(window->windowFlags() & (Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
              Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    EXPECT_EQ(window->palette().color(QPalette::Window), QColor(Qt::black));

    activate();
    EXPECT_TRUE(audio->DeviceOpen());
    activate();
    EXPECT_EQ(platform.creates, 1);
    EXPECT_EQ(initialized, 1);
    EXPECT_EQ(screen->PaletteMode, TGKScreen::pmExclusive) << "full screen owns the palette";
    EXPECT_EQ(sound.opened, 2);
    EXPECT_EQ(sound.released, 1) << "the second start let go of the first device";
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::BlankCursor);

    screen->CleanUp();
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

    // A window without a display starts its audio as soon as it has loaded.
    QWidget plain;
    auto *own = new TGKAudio(&plain, &sound);
    toolkit::notifyLoaded(&plain);
    EXPECT_TRUE(own->DeviceOpen());
}

TEST_F(ScreenTest, ThreePicturesBecomeThreeKeyedSurfacesWithTheLibrarysPalette) {
    for (const TPaletteMode mode : {TGKScreen::pmExclusive, TGKScreen::pmNormal}) {
        makeWindow();
        images->SetImages(threePictures());
        screen->SetImageLibrary(images);
        screen->PaletteMode = mode;
        setUpWindowed();
        ASSERT_EQ(screen->ImageSurfaceCount(), 3) << mode;
        EXPECT_EQ(screen->Palette()[1], (gk::PaletteEntry{255, 0, 0, 0}));
        EXPECT_EQ(screen->Palette()[3], (gk::PaletteEntry{0, 0, 255, 0}));
        EXPECT_EQ(platform.displayColors()[2], qRgb(0, 255, 0)) << "on the display";
        for (int p = 0; p < 3; ++p) {
            const TGKSurface &surface = *screen->ImageSurfaces(p);
            EXPECT_EQ(surface.TransparentColor(), 0);
            EXPECT_EQ(surface.Memory().colorKey, std::optional<uint8_t>(0));
            const TGKImageEntry entry = images->Images().GetEntry(p);
            EXPECT_EQ(surface.ClientRect().size(), QSize(entry.Width(), entry.Height()));
            for (int y = 0; y < 3; ++y) {
                QList<uint8_t> expected(surface.Pitch(), 0); // filler never copied
                for (int x = 0; x < entry.Width(); ++x)
                    expected[x] = uint8_t((x + y + p) % 4);
                EXPECT_EQ(rowOf(surface, y), expected) << mode << " picture " << p << " row " << y;
            }
        }
        EXPECT_EQ(images->Count(), 3) << "a library of the window's layout keeps its pictures";
        screen->CleanUp();
    }
}

TEST_F(ScreenTest, ALibraryFromAFileLetsGoOfItsPicturesAndIsReadAgainOnRestore) {
    QTemporaryDir dir;
    const QString file = dir.filePath("THREE.IML");
    {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        threePictures().WriteData(out);
    }
    images->LoadFromFile(file);
    screen->SetImageLibrary(images);
    screen->PaletteMode = TGKScreen::pmExclusive;
    setUpWindowed();
    EXPECT_EQ(images->Count(), 0) << "the surfaces hold the pictures";
    screen->ImageSurfaces(2)->Erase(0);

    // The platform loses the front surface: the next flip restores it and remakes the pictures.
    platform.lose(screen->FrontSurface()->Memory());
    EXPECT_NO_THROW(screen->Flip());
    ASSERT_EQ(screen->ImageSurfaceCount(), 3);
    EXPECT_EQ(rowOf(*screen->ImageSurfaces(2), 1)[0], 3) << "remade from the file";
    EXPECT_EQ(images->Count(), 0) << "read again and let go again";

    // A lost picture surface restores through its own erase, which must survive being replaced.
    platform.lose(screen->ImageSurfaces(0)->Memory());
    EXPECT_NO_THROW(screen->ImageSurfaces(0)->Erase(1));
    EXPECT_EQ(rowOf(*screen->ImageSurfaces(0), 0)[0], 0) << "remade, not erased";

    // Destroying the library leaves the surfaces; restoring makes none from it any more.
    delete images;
    images = nullptr;
    EXPECT_EQ(screen->ImageLibrary(), nullptr);
    EXPECT_EQ(screen->ImageSurfaceCount(), 3);
    EXPECT_NO_THROW(screen->RestoreSurfaces());
}

TEST_F(ScreenTest, AFailedRestoreIsTracedWhateverDebugSays) {
    const std::pair<DisplayResult, const char *> reasons[] = {
        {DisplayResult::Generic, "Restore Failed: Generic"},
        {DisplayResult::InvalidObject, "Restore Failed: Invalid Object"},
        {DisplayResult::NoExclusiveMode, "Restore Failed: No Exclusive"},
        {DisplayResult::WrongMode, "Restore Failed: Wrong Mode"},
        {DisplayResult::OutOfMemory, "Restore Failed: UnKnown"},
    };
    TraceListener viewer;
    ASSERT_TRUE(viewer.listening());
    screen->Debug = false;
    screen->InitDisplay();
    for (const auto &[result, trace] : reasons) {
        platform.refused[Op::Restore] = result;
        platform.lose(screen->FrontSurface()->Memory());
        EXPECT_EQ(failureOf<EGKScreen>([&] { screen->Flip(); }), "RestoreSurfaces Failed (Front)");
        EXPECT_EQ(viewer.texts(), QStringList{trace});
    }
}

TEST_F(ScreenTest, EveryFailureOfTheSetUpHasItsMessageAndTakesTheDisplayDown) {
    struct Case {
        Op op;
        DisplayResult result;
        bool windowed;
        const char *message;
        bool ofSurface = false; // EGKSurface, else EGKScreen
    } const cases[] = {
        {Op::Create, DisplayResult::Generic, false, "Failed to create IDerectDraw object"},
        {Op::Cooperate, DisplayResult::ExclusiveModeAlreadySet, false,
         "DirectDraw2 SetCooperativeLevel Failed: Exclude mode already set"},
        {Op::Cooperate, DisplayResult::HwndAlreadySet, false,
         "DirectDraw2 SetCooperativeLevel Failed: HWND already set"},
        {Op::Cooperate, DisplayResult::HwndSubclassed, false,
         "DirectDraw2 SetCooperativeLevel Failed: Hwnd Subclasses"},
        {Op::Cooperate, DisplayResult::InvalidObject, false,
         "DirectDraw2 SetCooperativeLevel Failed: Invalid Object"},
        {Op::Cooperate, DisplayResult::InvalidParams, false,
         "DirectDraw2 SetCooperativeLevel Failed: Invalud Params"},
        {Op::Cooperate, DisplayResult::OutOfMemory, false,
         "DirectDraw2 SetCooperativeLevel Failed: Out of memory"},
        {Op::Cooperate, DisplayResult::Generic, false,
         "DirectDraw2 SetCooperativeLevel Failed: Unknown error"},
        {Op::DisplayMode, DisplayResult::Unsupported, false, "Set Display Mode Failed"},
        {Op::GetMode, DisplayResult::Generic, false, "Get DisplayMode Failed", true},
        {Op::Primary, DisplayResult::Generic, false, "CreateSurface failed", true},
        {Op::Primary, DisplayResult::Generic, true, "CreateSurface failed", true},
        {Op::Attached, DisplayResult::Generic, false, "Failed to get background surface", true},
        {Op::OffScreen, DisplayResult::Generic, true, "Failed Creating BackBufferW", true},
        {Op::CreatePalette, DisplayResult::Generic, false, "CreatePalette Failed"},
        {Op::AttachPalette, DisplayResult::Generic, false, "SetPalette Failed"},
        {Op::Fill, DisplayResult::Generic, false, "Erase (Blt) Failed", true},
        {Op::Flip, DisplayResult::Generic, false, "Flip Failed"},
        {Op::VBlank, DisplayResult::Generic, true, "WaitForVericalBlankError"},
        {Op::OffScreen, DisplayResult::Generic, false, "Could not create memory surface (8, 3)",
         true},
        {Op::ColorKey, DisplayResult::Generic, false, "SetColorKey failed", true},
        {Op::Lock, DisplayResult::Generic, false, "Lock Failed", true},
    };
    for (const Case &c : cases) {
        platform.refused = {{c.op, c.result}};
        platform.offScreenBeforeRefusal = c.op == Op::OffScreen && !c.windowed ? 1 : 0;
        makeWindow();
        images->SetImages(threePictures());
        screen->SetImageLibrary(images);
        screen->WindowMode = c.windowed;
        screen->PaletteMode = TGKScreen::pmExclusive;
        int cleanUps = 0;
        screen->OnCleanUp = [&](TGKScreen *) { ++cleanUps; };
        const auto setUp = [&] { screen->InitDisplay(); };
        EXPECT_EQ(c.ofSurface ? failureOf<EGKSurface>(setUp) : failureOf<EGKScreen>(setUp),
                  c.message);
        EXPECT_FALSE(screen->DisplayCreated()) << c.message;
        EXPECT_EQ(cleanUps, c.op == Op::Create ? 0 : 1) << c.message;
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << c.message;
    }
    // Activations after a failed set-up leave the display down instead of failing each time.
    const int creates = platform.creates;
    activate();
    EXPECT_TRUE(reports.isEmpty());
    EXPECT_EQ(platform.creates, creates);
}

TEST_F(ScreenTest, ErrorsWhileSetUpBeepAndGoToTheTraceViewerOnly) {
    struct Case {
        bool debug, beep;
    } const cases[] = {{true, true}, {false, true}, {true, false}};
    TraceListener viewer;
    for (const Case &c : cases) {
        platform.beeps = 0;
        reports.clear();
        screen->Debug = c.debug;
        screen->BeepOnException = c.beep;
        screen->InitDisplay();
        toolkit::guarded([] { throw gk::Error("Something broke"); });
        EXPECT_TRUE(reports.isEmpty()) << "nothing is shown";
        EXPECT_EQ(platform.beeps, c.beep ? 1 : 0);
        EXPECT_EQ(viewer.texts(), c.debug ? QStringList{"Something broke"} : QStringList{});
        screen->CleanUp();
        toolkit::guarded([] { throw gk::Error("After the display"); });
        EXPECT_EQ(reports, QStringList{"After the display"});
    }
}

TEST_F(ScreenTest, FlippingShowsTheBackBufferThroughThePalette) {
    // Full screen: a chain of three pictures turns one place a flip.
    window->show();
    screen->DisplayMode = TGKScreen::dm320x200x8;
    screen->InitDisplay();
    TGKSurface &back = *screen->BackSurface();
    for (uint8_t colour : {1, 2, 3}) {
        back.Erase(colour);
        screen->Flip();
        EXPECT_EQ(screen->FrontSurface()->Memory().row(0)[0], colour);
    }
    EXPECT_EQ(back.Memory().row(0)[0], 1) << "the oldest picture comes round again";

    // The view fits the mode into the whole screen, black around it, and maps points back.
    gk::PaletteEntries palette{};
    palette[3] = {10, 20, 30, 0};
    screen->SetPaletteEntries(palette);
    auto *view = static_cast<gk::QtDisplayPlatform &>(platform).view();
    ASSERT_NE(view, nullptr);
    view->resize(1000, 500); // a wide screen: 800 x 500 in the middle
    const QImage shown = view->grab().toImage();
    EXPECT_EQ(shown.pixel(500, 250), qRgb(10, 20, 30));
    EXPECT_EQ(shown.pixel(50, 250), qRgb(0, 0, 0));
    EXPECT_EQ(shown.pixel(950, 250), qRgb(0, 0, 0));
    EXPECT_EQ(screen->SurfacePoint(QPoint(100, 0)), QPoint(0, 0));
    EXPECT_EQ(screen->SurfacePoint(QPoint(899, 499)), QPoint(319, 199));
    EXPECT_LT(screen->SurfacePoint(QPoint(50, 10)).x(), 0) << "the border is off the picture";
    screen->CleanUp();

    // Window mode copies the back buffer; stretched, it covers the client area.
    makeWindow();
    window->show();
    screen->WindowStretch = true;
    setUpWindowed(40, 30);
    screen->SetPaletteEntries(palette);
    screen->BackSurface()->Erase(3);
    screen->Flip();
    EXPECT_EQ(screen->FrontSurface()->Memory().row(29)[39], 3);
    auto *windowView = static_cast<gk::QtDisplayPlatform &>(platform).view();
    const QImage stretched = windowView->grab().toImage();
    const QSize client = window->size(); // made as large as the window was outside
    EXPECT_EQ(stretched.size(), client);
    EXPECT_EQ(stretched.pixel(client.width() - 1, client.height() - 1), qRgb(10, 20, 30));
    EXPECT_EQ(screen->SurfacePoint(QPoint(client.width() - 1, client.height() - 1)),
              QPoint(39, 29));
}

TEST_F(ScreenTest, PaletteCyclingMovesItsColoursEachWayAfterTheDelay) {
    const std::vector<gk::PaletteEntry> colours = {{1}, {2}, {3}, {4}};
    struct Case {
        int step, delay;
        std::vector<int> firstRed; // entry 20's red after each flip
    } const cases[] = {
        {1, 0, {2, 3, 4, 1, 2}},
        {-1, 0, {4, 3, 2, 1, 4}}, // backwards through every colour
        {1, 1, {0, 2, 2, 3, 3}},  // 0: the system palette's until the first step
        {6, 0, {3, 1, 3, 1, 3}},
    };
    for (const Case &c : cases) {
        makeWindow();
        setUpWindowed(8, 8);
        screen->WindowVBL = false;
        screen->PaletteCycle = true;
        screen->StartPaletteCycle(20, 23, colours, c.step, c.delay);
        std::vector<int> reds;
        for (std::size_t i = 0; i < c.firstRed.size(); ++i) {
            screen->Flip();
            reds.push_back(screen->Palette()[20].red);
        }
        EXPECT_EQ(reds, c.firstRed) << "step " << c.step << " delay " << c.delay;
        EXPECT_EQ(qRed(platform.displayColors()[20]), reds.back()) << "on the display";
        screen->CleanUp();
    }
    EXPECT_THROW(screen->StartPaletteCycle(20, 23, {{1}}), EGKScreen);
    EXPECT_THROW(screen->StartPaletteCycle(250, 256, std::vector<gk::PaletteEntry>(7)), EGKScreen);
}

TEST_F(ScreenTest, TheSetUpPaletteTakesTheSystemsColours) {
    const gk::PaletteEntries system = platform.systemPalette();
    for (const TPaletteMode mode : {TGKScreen::pmExclusive, TGKScreen::pmNormal}) {
        makeWindow();
        screen->PaletteMode = mode;
        setUpWindowed();
        const gk::PaletteEntries &palette = screen->Palette();
        for (int i = 0; i < 256; ++i) {
            const bool fromSystem = mode == TGKScreen::pmNormal || i < 10 || i > 245;
            if (fromSystem)
                EXPECT_EQ(palette[i], system[i]) << mode << " entry " << i;
            else
                EXPECT_TRUE(palette[i].red < 255 && palette[i].green < 255 &&
                            palette[i].blue < 255 && palette[i].flags == 0)
                    << "entry " << i;
        }
        screen->CleanUp();
    }
}

TEST_F(ScreenTest, FlippingFollowsTheApplicationsActivationAndTheScreenSaverWithIt) {
    setUpWindowed(8, 8);
    int flips = 0;
    int paints = 0;
    screen->OnFlip = [&](TGKScreen *) { ++flips; };
    screen->OnPaint = [&](TGKScreen *) { ++paints; };
    screen->SetFlippingEnabled(true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return flips >= 3; }, 2000));

    platform.screenSaver.clear();
    screen->ApplicationStateChanged(Qt::ApplicationInactive);
    const int stopped = flips;
    QTest::qWait(100);
    EXPECT_EQ(flips, stopped) << "no flipping while another application is active";
    EXPECT_TRUE(screen->FlippingEnabled());

    screen->ApplicationStateChanged(Qt::ApplicationActive);
    EXPECT_TRUE(QTest::qWaitFor([&] { return paints == 1 && flips > stopped; }, 2000));
    screen->CleanUp();
    EXPECT_FALSE(screen->FlippingEnabled());
    EXPECT_EQ(platform.screenSaver, (std::vector<bool>{false, true, false}));
}

// A program writes row y at Lock() + y * Pitch(), whatever the width: rows padded or not, each
// pixel shows where it was put, on every kind of surface.
TEST_F(ScreenTest, EveryRowWrittenPitchBytesOnShowsWhereItWasPut) {
    gk::PaletteEntries palette{};
    for (int i = 1; i <= 6; ++i)
        palette[std::size_t(i)] = {uint8_t(40 * i), 0, uint8_t(255 - 40 * i), 0};
    const auto colourOf = [&](int index) {
        const gk::PaletteEntry &e = palette[std::size_t(index)];
        return qRgb(e.red, e.green, e.blue);
    };
    constexpr int Rows = 6;
    // One pixel a row, each in a column of its own and of the row's own colour.
    const auto column = [](int y, int width) { return (y * 53 + 7) % width; };
    const auto writeRows = [&](TGKSurface &surface) {
        uint8_t *bits = surface.Lock();
        ASSERT_NE(bits, nullptr);
        for (int y = 0; y < Rows; ++y)
            bits[std::ptrdiff_t(y) * surface.Pitch() + column(y, surface.Width())] = uint8_t(y + 1);
        surface.Unlock();
    };
    const auto expectShown = [&](const QImage &shown, int width, const char *kind) {
        for (int y = 0; y < Rows; ++y)
            for (int x = 0; x < width; ++x)
                ASSERT_EQ(shown.pixel(x, y), x == column(y, width) ? colourOf(y + 1) : colourOf(0))
                    << kind << " " << width << " wide, at " << x << "," << y;
    };

    for (int width = 317; width <= 321; ++width) {
        makeWindow();
        window->show();
        setUpWindowed(width, Rows);
        screen->SetPaletteEntries(palette);
        auto *view = static_cast<gk::QtDisplayPlatform &>(platform).view();
        ASSERT_NE(view, nullptr);

        writeRows(*screen->BackSurface());
        screen->Flip();
        expectShown(view->grab().toImage(), width, "window back buffer");

        // The front surface of window mode, cleared and written itself.
        screen->FrontSurface()->Erase(0);
        writeRows(*screen->FrontSurface());
        QImage front(width, Rows, QImage::Format_RGB32);
        gk::PresentScaled(screen->FrontSurface()->Memory(), gk::ColorsOf(palette), front);
        expectShown(front, width, "window front");

        // An off-screen surface, copied whole onto the back buffer and flipped.
        auto offScreen = TGKSurface::OffScreen(platform, width, Rows);
        writeRows(*offScreen);
        screen->BackSurface()->Blt(0, 0, *offScreen, offScreen->ClientRect(), false);
        offScreen.reset();
        screen->Flip();
        expectShown(view->grab().toImage(), width, "off-screen");
        screen->CleanUp();
    }

    // Full screen: the front surface and its chain have the mode's rows.
    makeWindow();
    window->show();
    screen->DisplayMode = TGKScreen::dm320x200x8;
    screen->InitDisplay();
    screen->SetPaletteEntries(palette);
    EXPECT_EQ(screen->BackSurface()->Pitch(), 320);
    writeRows(*screen->BackSurface());
    screen->Flip();
    QImage shown(320, 200, QImage::Format_RGB32);
    gk::PresentScaled(screen->FrontSurface()->Memory(), gk::ColorsOf(palette), shown);
    expectShown(shown, 320, "flip chain");
    screen->CleanUp();
}

// Drawing with the canvas, copies, fills and locked writes land in the order they were made:
// the last one wins at every pixel, whatever the order. Each step's letter: c the canvas fills
// the back surface red (1); k a keyed copy of "0202" (key 0) onto it; e an erase to blue (3);
// l a locked write of white (4) at pixel 2; s the canvas of the copy's source draws green (2)
// at its pixel 0 first; f the front surface's canvas draws white at its pixel 0, a drawing the
// next frame covers.
TEST_F(ScreenTest, TheLastDrawingWinsWhateverTheOrderOfCanvasCopiesAndFills) {
    struct Case {
        const char *steps;
        const char *shown;
    } const cases[] = {
        {"cke", "3333"}, {"ekc", "1111"},  {"eck", "1212"}, {"cl", "1141"},
        {"ckl", "1242"}, {"ecle", "3333"}, {"cec", "1111"}, {"esk", "2232"},
        {"lc", "1111"},  {"cf", "1111"},   {"fe", "3333"},
    };
    gk::PaletteEntries palette{};
    palette[1] = {255, 0, 0, 0};
    palette[2] = {0, 255, 0, 0};
    palette[3] = {0, 0, 255, 0};
    palette[4] = {255, 255, 255, 0};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.steps);
        makeWindow();
        setUpWindowed(4, 1);
        screen->SetPaletteEntries(palette);
        TGKSurface &back = *screen->BackSurface();
        back.Erase(0);
        auto source = TGKSurface::OffScreen(platform, 4, 1);
        source->Memory().row(0)[1] = 2;
        source->Memory().row(0)[3] = 2;
        source->SetTransparentColor(0);
        for (const char *step = c.steps; *step; ++step) {
            switch (*step) {
            case 'c':
                back.Canvas().setBrushColor(QColor(255, 0, 0));
                back.Canvas().fillRect(QRect(0, 0, 4, 1));
                break;
            case 'k':
                back.Blt(0, 0, *source);
                break;
            case 'e':
                back.Erase(3);
                break;
            case 'l':
                back.Lock()[2] = 4;
                back.Unlock();
                break;
            case 's':
                source->Canvas().setPixel(0, 0, QColor(0, 255, 0));
                break;
            case 'f':
                screen->FrontSurface()->Canvas().setPixel(0, 0, QColor(255, 255, 255));
                break;
            }
        }
        screen->Flip();
        // Whatever the front's canvas still held would land now, over the new frame.
        screen->FrontSurface()->Canvas().ReleaseHandle();
        const uint8_t *row = screen->FrontSurface()->Memory().row(0);
        std::string shown;
        for (int x = 0; x < 4; ++x)
            shown += char('0' + row[x]);
        EXPECT_EQ(shown, c.shown);
        source.reset();
        screen->CleanUp();
    }
}
