// The star field of the main window: stars stream out of the vanishing point, grow and speed
// up as they come closer, and start again at the vanishing point once they leave the field.
// Each star erases itself by being drawn again in black before it moves, so the field needs
// no back buffer.

#include "game/Colors.h"
#include "game/GameRules.h"
#include "game/MainU.h"
#include "toolkit/Image.h"

namespace {
const QColor &StarColor = game::colors::White;
const QColor &SpaceColor = game::colors::Black;
} // namespace

// The rules of motion are the game's; the window forwards to them under the names the
// window's handlers have always used.
void TMainForm::RandomVelocity(FlyingObject &o) {
    game_.randomVelocity(o);
}

void TMainForm::ResetObject(FlyingObject &o) {
    gameOnField().resetObject(o);
}

void TMainForm::MoveObject(FlyingObject &o) {
    game_.moveObject(o);
}

bool TMainForm::OnScreen(FlyingObject &o) {
    return gameOnField().onScreen(o);
}

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

void TMainForm::DrawStar(FlyingObject &o) {
    // A star speeds up as it is drawn, after the drawing, and only once it is a disc.
    drawStarShape(o, StarColor);
    game_.speedUp(o);
}

void TMainForm::EraseObject(FlyingObject &o) {
    drawStarShape(o, SpaceColor);
}

void TMainForm::AddStar() {
    gameOnField().addStar();
}

void TMainForm::UpdateStars() {
    TGame &game = gameOnField();
    for (FlyingObject *star = game.firstStar(); star; star = star->Next) {
        // The field test comes before the move, and the star is erased where it was last
        // drawn before it moves and ages: the erase needs its old place and width.
        if (game.onScreen(*star)) {
            EraseObject(*star);
            game.moveObject(*star);
            DrawStar(*star);
        }
        if (star->Gone) {
            EraseObject(*star);
            game.recycle(*star);
        }
    }
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
