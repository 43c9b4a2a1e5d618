// The main window's bad guys: image controls on the play field, one for each bad guy of the
// game, which come out of the vanishing point, grow, flap, drift and turn, explode when shot
// and vanish when they get past. The game decides all of that; the images show it.

#include "game/GameRules.h"
#include "game/MainU.h"
#include "toolkit/Image.h"
#include "toolkit/ImageList.h"
#include "toolkit/Mouse.h"

using game::LastExplosionFrame;

void TMainForm::addBadGuy(int i) {
    auto *image = new toolkit::Image(BackPanel);
    image->hide();
    image->setStretch(true);
    image->setTransparent(true);
    image->setObjectName(QStringLiteral("BadImage%1").arg(i));
    image->setCursor(Qt::PointingHandCursor);
    // Bad guys fly over the field but under the panels that cover it.
    image->stackUnder(PausePanel);
    toolkit::onMouseDown(image, [this](QObject *sender, Qt::MouseButton button,
                                       Qt::KeyboardModifiers shift, int x,
                                       int y) { BadGuyMouseDown(sender, button, shift, x, y); });
    toolkit::onMouseMove(image, [this](QObject *sender, Qt::KeyboardModifiers shift, int x, int y) {
        BadGuyMouseMove(sender, shift, x, y);
    });
    BadGuyImages.append(image);
}

toolkit::ImageList *TMainForm::BadGuyImageList(int i) const {
    toolkit::ImageList *const lists[] = {IM_BadGuy0, IM_BadGuy1, IM_BadGuy2, IM_BadGuy3};
    return lists[i >= 0 ? i % 4 : 0];
}

void TMainForm::showExplosion(int i, int frame, bool blankFirst) {
    toolkit::Image &image = *BadGuyImages[i];
    if (blankFirst)
        ExplodeList->drawInto(image, LastExplosionFrame);
    ExplodeList->drawInto(image, frame);
}

void TMainForm::showFlying(int i, int frame) {
    toolkit::Image &image = *BadGuyImages[i];
    ExplodeList->drawInto(image, LastExplosionFrame);
    BadGuyImageList(i)->drawInto(image, frame);
}

void TMainForm::placeBadGuy(int i, const FlyingObject &o) {
    toolkit::Image *image = BadGuyImages[i];
    image->show();
    image->move(o.X, o.Y);
    const int side = game::BadGuySide(o.Age, BadGuyImageList(i)->width());
    image->resize(side, side);
}

void TMainForm::hideBadGuy(int i) {
    BadGuyImages[i]->hide();
}
