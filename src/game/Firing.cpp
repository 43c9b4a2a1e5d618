// Aiming and firing: the turret under the field follows the pointer, a left click fires the
// laser from the middle of the field's bottom edge, and a click on a bad guy shoots it.

#include "game/Colors.h"
#include "game/GameRules.h"
#include "game/MainU.h"
#include "toolkit/Image.h"
#include "toolkit/Pacing.h"
#include "toolkit/SystemColors.h"

#include <chrono>

using namespace game::colors;

namespace {
// The sixteen red beams went straight to the screen and made a flash before the black wipe;
// here the beam is shown and held this long.
constexpr std::chrono::microseconds BeamHold{30'000};
constexpr int BeamWidth = 6;
constexpr int BeamDraws = 16;
} // namespace

void TMainForm::MainBoxMouseMove(QObject *, Qt::KeyboardModifiers, int x, int y) {
    if (LaserImage->isHidden())
        return;
    const int px = LaserImage->width() / 2;
    const QPoint knob = game::TurretKnob(MainBox->size(), px, x, y);
    game_.aimAt(QPoint(x, y));

    // A black half disc hangs from the pivot, the red handle points away from the pointer,
    // and a lime knob with a blue rim sits at its end.
    LaserImage->clearPicture();
    toolkit::Canvas &turret = LaserImage->canvas();
    turret.setPenWidth(1);
    turret.setBrushColor(Black);
    turret.setPenColor(Black);
    turret.ellipse(px - 14, -14, px + 14, 14);
    turret.setPenColor(Red);
    turret.setPenWidth(2);
    turret.moveTo(px, 0);
    turret.lineTo(knob.x(), knob.y());
    turret.setPenColor(Blue);
    turret.setBrushColor(Lime);
    turret.ellipse(knob.x() - 4, knob.y() - 4, knob.x() + 4, knob.y() + 4);
    turret.setBrushColor(toolkit::buttonFace());
    turret.floodFill(1, 1, White, toolkit::FillStyle::Surface);
    turret.floodFill(49, 1, White, toolkit::FillStyle::Surface);
}

void TMainForm::BadGuyMouseMove(QObject *sender, Qt::KeyboardModifiers shift, int x, int y) {
    const auto *control = qobject_cast<QWidget *>(sender);
    if (!control)
        return;
    MainBoxMouseMove(sender, shift, control->x() + x, control->y() + y);
}

void TMainForm::MainBoxMouseDown(QObject *, Qt::MouseButton button, Qt::KeyboardModifiers, int x,
                                 int y) {
    if (button == Qt::LeftButton)
        FireLaser(x, y); // a miss: a click on a bad guy goes to its own image
    else if (button == Qt::RightButton && game_.inGame())
        Pause();
}

void TMainForm::BadGuyMouseDown(QObject *sender, Qt::MouseButton button, Qt::KeyboardModifiers,
                                int x, int y) {
    auto *image = qobject_cast<toolkit::Image *>(sender);
    if (!image)
        return;
    if (button == Qt::LeftButton) {
        // Only a bad guy whose image is in the game takes the shot; an image left from a game
        // reset while a beam was held is no bad guy, and the shot misses.
        showShot(game_.shoot(int(BadGuyImages.indexOf(image))), image->x() + x, image->y() + y);
    } else if (button == Qt::RightButton && game_.inGame()) {
        Pause();
    }
}

void TMainForm::FireLaser(int x, int y) {
    showShot(game_.shoot(), x, y);
}

// The game has counted the shot and credited a hit before the beam's hold lets the window's
// messages flow: a tick run meanwhile finds the bad guy shot, and cannot charge it as an escape.
void TMainForm::showShot(const game::Shot &shot, int x, int y) {
    if (shot.result == game::Shot::NotAllowed)
        return;
    DoSoundEvent(game::SoundEvent::Laser);
    toolkit::Canvas &field = MainBox->canvas();
    field.setPenWidth(BeamWidth);
    for (int i = 0; i < BeamDraws; ++i) {
        field.setPenColor(Red);
        DrawLaserLine(x, y);
    }
    MainBox->repaintNow();
    if (shot.result == game::Shot::Hit) {
        // The captions show the hit before its sound plays.
        UpDateCaptions();
        DoSoundEvent(game::SoundEvent::BadGuyShot);
    }
    holdBeam(x, y);
}

void TMainForm::holdBeam(int x, int y) {
    toolkit::Pacer(BeamHold).step();
    // Wiped with the width it was drawn in: stars it crossed vanish until they move.
    toolkit::Canvas &field = MainBox->canvas();
    field.setPenWidth(BeamWidth);
    field.setPenColor(Black);
    DrawLaserLine(x, y);
}

void TMainForm::DrawLaserLine(int x, int y) {
    toolkit::Canvas &field = MainBox->canvas();
    field.moveTo(MainBox->width() / 2, MainBox->height());
    field.lineTo(x, y);
}
