// The star field of the main window: stars stream out of the vanishing point, grow and speed
// up as they come closer, and start again at the vanishing point once they leave the field.
// The game moves them; the window draws each star as the game's tick says. Each star erases
// itself by being drawn again in black before it moves, so the field needs no back buffer.

#include "game/Colors.h"
#include "game/GameRules.h"
#include "game/MainU.h"
#include "toolkit/Image.h"

namespace {
const QColor &StarColor = game::colors::White;
const QColor &SpaceColor = game::colors::Black;
} // namespace

void TMainForm::drawStarShape(const FlyingObject &o, const QColor &color) {
    toolkit::Canvas &field = MainBox->canvas();
    const int width = game::StarPenWidth(o.Age);
    field.setPenColor(color);
    field.setPenWidth(width);
    if (width == 1) {
        field.setPixel(o.X, o.Y, color);
        return;
    }
    const int r = width / 2;
    field.ellipse(o.X - r, o.Y - r, o.X + r, o.Y + r);
}

void TMainForm::drawStar(const FlyingObject &star) {
    drawStarShape(star, StarColor);
}

void TMainForm::eraseStar(const FlyingObject &star) {
    drawStarShape(star, SpaceColor);
}

void TMainForm::ReleaseObjects() {
    if (!game_.objectsLive())
        return;
    for (toolkit::Image *image : std::as_const(BadGuyImages)) {
        // The image may be the one whose click is being handled right now (a shot holds the
        // beam with the window's messages flowing), so it goes once its events are done.
        image->hide();
        image->deleteLater();
    }
    BadGuyImages.clear();
    gameOnField().releaseObjects();
}
