// The main window's bad guys: image controls on the play field that come out of the
// vanishing point, grow, flap, drift and turn, explode when shot and cost energy when they
// get past.

#include "game/GameRules.h"
#include "game/MainU.h"
#include "toolkit/Image.h"
#include "toolkit/ImageList.h"
#include "toolkit/Mouse.h"

using game::LastExplosionFrame;

void TMainForm::SpawnBadGuys() {
    TGame &game = gameOnField();
    while (BadGuyImages.size() < game.badGuysWanted()) {
        // The game chimes and rolls the new bad guy; its image is made to match.
        game.addBadGuy();
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
    list->drawInto(*image, TGame::flap(o));
}

void TMainForm::ScaleBySpeed(FlyingObject &o) {
    game_.scaleBySpeed(o);
}

void TMainForm::BadGuyEscaped(int) {
    game_.chargeEscape();
}

void TMainForm::ResetBadGuy(int i) {
    gameOnField().resetBadGuy(i);
}

void TMainForm::UpdateBadGuys() {
    SpawnBadGuys();
    TGame &game = gameOnField();
    for (int i = 0; i < game.badGuyCount(); ++i) {
        FlyingObject &o = game.badGuy(i);
        toolkit::Image *image = BadGuyImages[i];
        const toolkit::ImageList *list = BadGuyImageList(i);

        game.moveObject(o);
        if (game.onScreen(o)) {
            if (TGame::exploding(o)) {
                // Frame 1 goes over the picture as it is; later frames on a blanked one.
                if (o.State > 1)
                    ExplodeList->drawInto(*image, LastExplosionFrame);
                ExplodeList->drawInto(*image, game.nextExplosionFrame(i));
            } else if (o.State == game::ExplosionOver) {
                // Out of sight from now on: it counts down outside the field.
                image->hide();
                game.endExplosion(i);
            } else {
                AnimateBadGuy(image, list, o);
            }
            // Placed and sized after its picture, where the state just left it.
            PlaceBadGuy(image, o);
            SizeBadGuy(i, o, image);
            // The turn comes after the drawing. An exploding bad guy does not turn; the turn,
            // and the rest of this tick, pass to the next one inside the field.
            if (!game.takeTurn(i))
                return;
        } else {
            if (TGame::flying(o))
                BadGuyEscaped(i); // got past unshot
            image->hide();
            game.countDownOutside(i);
        }
    }
}
