// The main window's bad guys: image controls on the play field that come out of the
// vanishing point, grow, flap, drift and turn, explode when shot and cost energy when they
// get past.

#include "game/GameRules.h"
#include "game/MainU.h"
#include "toolkit/Image.h"
#include "toolkit/ImageList.h"
#include "toolkit/Mouse.h"

namespace {
constexpr int LastExplosionFrame = 6; // all black: blanks a picture
constexpr int ExplosionOver = 7;
constexpr int BackAfterOutside = 20; // a bad guy outside the field is reset at this count
constexpr int TicksBetweenTurns = 10;
} // namespace

void TMainForm::SpawnBadGuys() {
    const int wanted = game::BadGuysFor(Travelled);
    while (BadGuyImages.size() < wanted) {
        DoSoundEvent(game::SoundEvent::NewBadGuy);

        auto *image = new toolkit::Image(BackPanel);
        image->hide();
        image->setStretch(true);
        image->setTransparent(true);
        image->setObjectName(QStringLiteral("BadImage%1").arg(BadGuyImages.size()));
        image->setCursor(Qt::PointingHandCursor);
        // Bad guys fly over the field but under the panels that cover it.
        image->stackUnder(PausePanel);
        toolkit::onMouseDown(
            image, [this](QObject *sender, Qt::MouseButton button, Qt::KeyboardModifiers shift,
                          int x, int y) { BadGuyMouseDown(sender, button, shift, x, y); });
        toolkit::onMouseMove(image, [this](QObject *sender, Qt::KeyboardModifiers shift, int x,
                                           int y) { BadGuyMouseMove(sender, shift, x, y); });
        BadGuyImages.append(image);

        auto *o = new FlyingObject;
        ResetObject(*o);
        BadGuyList.append(o);
    }
}

toolkit::ImageList *TMainForm::BadGuyImageList(int i) const {
    toolkit::ImageList *const lists[] = {IM_BadGuy0, IM_BadGuy1, IM_BadGuy2, IM_BadGuy3};
    return lists[i >= 0 ? i % 4 : 0];
}

void TMainForm::PlaceBadGuy(toolkit::Image *image, const FlyingObject &o) {
    image->show();
    image->move(o.X, o.Y);
}

void TMainForm::SizeBadGuy(int i, const FlyingObject &o, toolkit::Image *image) {
    const int side = game::BadGuySide(o.Age, BadGuyImageList(i)->width());
    image->resize(side, side);
}

void TMainForm::AnimateBadGuy(toolkit::Image *image, const toolkit::ImageList *list,
                              FlyingObject &o) {
    if (o.Hit)
        return;
    ExplodeList->drawInto(*image, LastExplosionFrame);
    list->drawInto(*image, o.Frame ? 0 : 1);
    o.Frame = !o.Frame;
}

void TMainForm::ScaleBySpeed(FlyingObject &o) {
    o.DX = game::ScaledBySpeed(o.DX, Speed);
    o.DY = game::ScaledBySpeed(o.DY, Speed);
}

void TMainForm::BadGuyEscaped(int) {
    DoSoundEvent(game::SoundEvent::Escape);
    Energy -= 10;
}

void TMainForm::ResetBadGuy(int i) {
    ResetObject(*BadGuyList[i]);
}

void TMainForm::UpdateBadGuys() {
    SpawnBadGuys();
    for (int i = 0; i < BadGuyList.size(); ++i) {
        FlyingObject &o = *BadGuyList[i];
        toolkit::Image *image = BadGuyImages[i];
        const toolkit::ImageList *list = BadGuyImageList(i);

        MoveObject(o);
        if (OnScreen(o)) {
            if (o.State >= 1 && o.State <= LastExplosionFrame) {
                if (o.State > 1)
                    ExplodeList->drawInto(*image, LastExplosionFrame);
                ExplodeList->drawInto(*image, o.State);
                ++o.State;
            } else if (o.State == ExplosionOver) {
                // Out of sight from now on: it counts down outside the field.
                image->hide();
                o.Hit = false;
                o.State = 1;
                o.X = 10000;
            } else {
                AnimateBadGuy(image, list, o);
            }
            PlaceBadGuy(image, o);
            SizeBadGuy(i, o, image);

            if (TurnCounter == TicksBetweenTurns) {
                // An exploding bad guy does not turn; the turn, and the rest of this tick,
                // pass to the next one inside the field.
                if (o.Hit)
                    return;
                RandomVelocity(o);
                ScaleBySpeed(o);
                TurnCounter = 0;
            }
            ++TurnCounter;
        } else {
            if (o.State == 0)
                BadGuyEscaped(i);
            image->hide();
            ++o.State;
            if (o.State == BackAfterOutside)
                ResetBadGuy(i);
        }
    }
}
