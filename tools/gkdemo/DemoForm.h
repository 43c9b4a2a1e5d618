#pragma once

// The demonstration's window: a display component over the whole window, an image library of
// the game's bad guys and explosions (stored with the window, packed by gkpack at build time),
// a tile library of the deck, and an audio component with the game's sounds. F11 switches
// between full screen and a window, a click sets off an explosion, Esc ends the program.

#include "Scene.h"

#include "gk/GK.h"
#include "gk/GKSnd.h"
#include "gk/gkslib.h"

#include <QElapsedTimer>
#include <QWidget>

#include <memory>

class TDemoForm : public QWidget {
    Q_OBJECT

public:
    explicit TDemoForm(bool windowMode);
    ~TDemoForm() override;

    TGKScreen *Screen;
    TGKImageLib *ImageLib;
    TGKImageLib *TileLib;
    TGKSoundLib *SoundLib;
    TGKAudio *Audio;

    // Full screen to a window and back: the display is torn down and set up again, and a
    // window takes the keyboard focus.
    void ToggleMode();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    void ScreenInitialize();
    void ScreenFlip();
    void ScreenCleanUp();
    void takeFocus();
    bool freshF11Press(const QKeyEvent &event);

    demo::Scene scene_;
    int explosionSound_ = 0;
    std::unique_ptr<TGKSurface> caption_; // made on each set-up, gone with the display
    QElapsedTimer rateClock_;
    int flips_ = 0;
    bool f11Down_ = false;
    quint64 f11ReleasedAt_ = 0;
};
