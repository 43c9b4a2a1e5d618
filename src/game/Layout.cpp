// How the main window keeps its arrangement when its size changes: the panels follow their
// edges by themselves; this centres what sits at a point and stretches the energy meter.

#include "game/MainU.h"
#include "toolkit/Gauge.h"
#include "toolkit/Image.h"

namespace {

int centredIn(int outer, int own) {
    return outer / 2 - own / 2;
}

void centreHorizontally(QWidget *control, int outerWidth) {
    control->move(centredIn(outerWidth, control->width()), control->y());
}

void centre(QWidget *control, QSize outer) {
    control->move(centredIn(outer.width(), control->width()),
                  centredIn(outer.height(), control->height()));
}

} // namespace

void TMainForm::FormResize() {
    centreHorizontally(CloseButton, Panel7->width());
    LaserImage->move(centredIn(MainBox->width(), LaserImage->width()), 0);
    RightPanel->resize(LaserImage->x(), RightPanel->height());
    LeftPanel->resize(Panel7->width() - (RightPanel->width() + LaserImage->width()),
                      LeftPanel->height());
    centre(StartButton, MainBox->size());
    centre(LoseLabel, MainBox->size());
    centre(BannerImage, Panel12->size());

    const int h = Panel5->height();
    Gauge1->resize(Gauge1->width(), h - 122);
    Label1->move(Label1->x(), h - 69);
    ScoreLab->move(ScoreLab->x(), h - 54);
    EnergLabel->move(EnergLabel->x(), h - 36);
}
