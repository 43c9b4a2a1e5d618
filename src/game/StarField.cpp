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

void TMainForm::RandomVelocity(FlyingObject &o) {
    std::uniform_int_distribution<int32_t> component(0, 19);
    o.DX = component(random_) - 10;
    o.DY = component(random_) - 10;
}

void TMainForm::ResetObject(FlyingObject &o) {
    const QPoint spawn = game::SpawnPoint(MainBox->size(), InGame, QPoint(AimX, AimY));
    o.X = spawn.x();
    o.Y = spawn.y();
    o.Age = 0;
    o.DX = 0;
    o.DY = 0;
    o.Gone = false;
    o.Hit = false;
    o.Frame = true;
    o.State = 0;
    o.Next = nullptr;
    do {
        RandomVelocity(o);
    } while (o.DX == 0 && o.DY == 0);
}

void TMainForm::MoveObject(FlyingObject &o) {
    o.X += o.DX;
    o.Y += o.DY;
    if (o.Age < game::MaxAge)
        ++o.Age;
}

bool TMainForm::OnScreen(FlyingObject &o) {
    if (game::InsideField(MainBox->size(), o.X, o.Y))
        return true;
    o.Gone = true;
    return false;
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
    drawStarShape(o, StarColor);
    if (game::StarPenWidth(o.Age) == 1)
        return;
    o.DX = game::SpedUp(o.DX, o.Age);
    o.DY = game::SpedUp(o.DY, o.Age);
}

void TMainForm::EraseObject(FlyingObject &o) {
    drawStarShape(o, SpaceColor);
}

void TMainForm::AddStar() {
    // The new star is the spare one, linked in front of the list through the copied Next.
    auto *star = new FlyingObject(SpareStar);
    ResetObject(SpareStar);
    SpareStar.Next = star;
}

void TMainForm::UpdateStars() {
    for (FlyingObject *star = FirstStar(); star; star = star->Next) {
        if (OnScreen(*star)) {
            EraseObject(*star);
            MoveObject(*star);
            DrawStar(*star);
        }
        if (star->Gone) {
            EraseObject(*star);
            FlyingObject *const next = star->Next;
            ResetObject(*star);
            star->Next = next;
        }
    }
}

void TMainForm::ReleaseObjects() {
    if (!ObjectsLive)
        return;
    for (FlyingObject *star = FirstStar(); star;) {
        FlyingObject *const next = star->Next;
        delete star;
        star = next;
    }
    SpareStar.Next = nullptr;
    ObjectsLive = false;
    for (qsizetype i = 0; i < BadGuyImages.size(); ++i) {
        // The image may be the one whose click is being handled right now (a shot holds the
        // beam with the window's messages flowing), so it goes once its events are done.
        BadGuyImages[i]->hide();
        BadGuyImages[i]->deleteLater();
        delete BadGuyList[i];
        BadGuyImages[i] = nullptr;
        BadGuyList[i] = nullptr;
    }
    BadGuyImages.clear();
    BadGuyList.clear();
    ResetObject(SpareStar);
}
