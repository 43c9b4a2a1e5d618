#include "DemoForm.h"

#include "gk/StoredLayout.h"
#include "gk/Trace.h"
#include "toolkit/ErrorReport.h"

#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

namespace {

// The game's explosion, by its name in the game's sound library.
int explosionSound(const TGKSounds &sounds) {
    for (int i = 0; i < sounds.Count(); ++i)
        if (sounds.GetEntry(i).Name() == "Bigboom")
            return i;
    throw gk::Error("The game's explosion is missing from its sounds");
}
constexpr QSize Buffer{640, 480};
const char *const CaptionText =
    "GK demo    F11: window or full screen    click: explode    Esc: quit";

} // namespace

TDemoForm::TDemoForm(bool windowMode)
    : Screen(new TGKScreen(this)), ImageLib(new TGKImageLib(this)), TileLib(new TGKImageLib(this)),
      SoundLib(new TGKSoundLib(this)), Audio(new TGKAudio(this)), scene_(Buffer) {
    setObjectName("DemoForm");
    setWindowTitle("GK Demo");
    Screen->setObjectName("Screen");
    ImageLib->setObjectName("ImageLib");
    TileLib->setObjectName("TileLib");
    SoundLib->setObjectName("SoundLib");
    Audio->setObjectName("Audio");

    Screen->DisplayMode = TGKScreen::dm640x480x8;
    Screen->WindowMode = windowMode;
    Screen->PaletteMode = TGKScreen::pmExclusive;
    Screen->WinBufWidth = Buffer.width();
    Screen->WinBufHeight = Buffer.height();
    Screen->PaletteCycle = true;
    Screen->SetImageLibrary(ImageLib);
    Screen->SetTileLibrary(TileLib);
    Screen->OnInitialize = [this](TGKScreen *) { ScreenInitialize(); };
    Screen->OnFlip = [this](TGKScreen *) { ScreenFlip(); };
    Screen->OnCleanUp = [this](TGKScreen *) { ScreenCleanUp(); };
    Audio->SetSoundLibrary(SoundLib);

    // The window's stored layout: the image library of the art.
    gk::LoadStoredProperties(*this, ":/gkdemo");
    TileLib->SetImages(demo::MakeTiles(ImageLib->Images()));
    QFile sounds(":/gkdemo/gorbulax.sdl");
    if (!sounds.open(QIODevice::ReadOnly))
        throw gk::Error("The game's sounds are missing from the program");
    SoundLib->Sounds().ReadData(sounds);
    explosionSound_ = explosionSound(SoundLib->Sounds());

    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    resize(Buffer);
}

TDemoForm::~TDemoForm() {
    toolkit::guarded([this] { Screen->CleanUp(); });
}

void TDemoForm::ScreenInitialize() {
    Screen->StartPaletteCycle(demo::StarFirst, demo::StarLast, demo::StarTwinkle(), 1, 1);

    // The caption, drawn once with the canvas: the text's colour lands as its palette index.
    QImage text(QSize(620, 16), QImage::Format_RGB32);
    text.fill(Qt::black);
    {
        QPainter painter(&text);
        QFont font("Sans", 9);
        font.setStyleStrategy(QFont::NoAntialias);
        painter.setFont(font);
        const uint8_t *palette =
            TileLib->Images().HasData() ? TileLib->Images().Palette() : nullptr;
        const QColor color =
            palette ? QColor(palette[4 * demo::TextColor], palette[4 * demo::TextColor + 1],
                             palette[4 * demo::TextColor + 2])
                    : QColor(Qt::white);
        painter.setPen(color);
        painter.drawText(text.rect(), Qt::AlignLeft | Qt::AlignVCenter, CaptionText);
    }
    caption_ =
        TGKSurface::OffScreen(Screen->BackSurface()->Platform(), text.width(), text.height());
    caption_->SetTransparentColor(0);
    caption_->Canvas().draw(0, 0, text);
    caption_->Canvas().ReleaseHandle();

    rateClock_.start();
    flips_ = 0;
    Screen->SetFlippingEnabled(true);
    gk::Trace(QString("gkdemo: display set up, %1 x %2, %3")
                  .arg(Screen->BufferSize().width())
                  .arg(Screen->BufferSize().height())
                  .arg(Screen->WindowMode ? "in a window" : "full screen"));
}

void TDemoForm::ScreenFlip() {
    scene_.step();
    scene_.draw(*Screen, caption_.get());
    ++flips_;
    if (rateClock_.elapsed() >= 5000) {
        gk::Trace(QString("gkdemo: %1 flips a second")
                      .arg(flips_ * 1000.0 / rateClock_.elapsed(), 0, 'f', 1));
        rateClock_.restart();
        flips_ = 0;
    }
}

void TDemoForm::ScreenCleanUp() {
    caption_.reset();
    gk::Trace("gkdemo: display taken down");
}

void TDemoForm::ToggleMode() {
    Screen->CleanUp();
    Screen->WindowMode = !Screen->WindowMode;
    Screen->ApplyWindowLook();
    Screen->InitDisplay();
    if (Screen->WindowMode)
        takeFocus();
}

void TDemoForm::takeFocus() {
    // Leaving full screen makes the window anew, and a new window gets no keyboard of its own:
    // without it the display would stop flipping (the application looks inactive) until a
    // click. Asked once now and once more when the window system has shown the window.
    activateWindow();
    setFocus(Qt::ActiveWindowFocusReason);
    QTimer::singleShot(0, this, [this] {
        activateWindow();
        setFocus(Qt::ActiveWindowFocusReason);
    });
}

// A held F11 repeats, and the display switches once a press. The toolkit's own mark of a
// repeat is not enough here: every switch makes the window anew, and the repeats that reach
// the new window come unmarked. So a press counts only when F11 was up (its release seen),
// and not at the very moment of that release, as a repeat's press is.
bool TDemoForm::freshF11Press(const QKeyEvent &event) {
    const bool repeat = event.isAutoRepeat() || f11Down_ || event.timestamp() == f11ReleasedAt_;
    f11Down_ = true;
    return !repeat;
}

void TDemoForm::keyReleaseEvent(QKeyEvent *event) {
    if (event->key() == Qt::Key_F11 && !event->isAutoRepeat()) {
        f11Down_ = false;
        f11ReleasedAt_ = event->timestamp();
    }
    QWidget::keyReleaseEvent(event);
}

void TDemoForm::keyPressEvent(QKeyEvent *event) {
    toolkit::guarded([&] {
        if (event->key() == Qt::Key_F11) {
            if (freshF11Press(*event))
                ToggleMode();
        } else if (event->key() == Qt::Key_Escape) {
            close();
        } else {
            QWidget::keyPressEvent(event);
        }
    });
}

void TDemoForm::mousePressEvent(QMouseEvent *event) {
    toolkit::guarded([&] {
        if (event->button() != Qt::LeftButton || !Screen->DisplayCreated())
            return;
        const QPoint at = Screen->SurfacePoint(event->position().toPoint());
        const int hit = scene_.explode(at);
        Audio->Sound(explosionSound_).Replay();
        gk::Trace(QString("gkdemo: explosion at (%1, %2)%3")
                      .arg(at.x())
                      .arg(at.y())
                      .arg(hit >= 0 ? QString(", bad guy %1 hit").arg(hit) : QString()));
    });
}

void TDemoForm::mouseMoveEvent(QMouseEvent *event) {
    scene_.aim(Screen->SurfacePoint(event->position().toPoint()));
}
