// Prints a game's stars and bad guys after a fixed start and a number of ticks, so that two
// builds of the game can be compared on the same flight: the same seed, the same star count,
// the pointer moved and bad guys shot at fixed ticks, the energy kept up so that the flight
// never ends.
//
//   build/bench/flight_probe [STARS [TICKS]] > flight.txt    (default 1000 stars, 3000 ticks)

#include "ProgramFolder.h"
#include "dialogs/OptionsU.h"
#include "game/Forms.h"
#include "game/MainU.h"
#include "toolkit/ErrorReport.h"
#include "toolkit/Pacing.h"
#include "toolkit/Timer.h"

#include <QTemporaryDir>
#include <QTextStream>

#include <cstdlib>

int main(int argc, char **argv) {
    QTemporaryDir home;
    UseHeadlessSession(home);
    const int stars = argc > 1 ? std::atoi(argv[1]) : 1000;
    const int ticks = argc > 2 ? std::atoi(argv[2]) : 3000;
    toolkit::Application app(argc, argv);
    toolkit::setPaceFactor(0.0);
    UseOwnProgramFolder(home);

    CreateForms();
    MainForm->show();
    MainForm->game().seedRandom(1);
    OptionsDlg->StarEdit->setText(QString::number(stars));
    MainForm->StartGame();
    MainForm->Timer1->setEnabled(false);
    for (int tick = 1; tick <= ticks; ++tick) {
        TGame::Counters counters = MainForm->game().counters();
        counters.energy = 1000;
        MainForm->game().setCounters(counters);
        if (tick % 97 == 0)
            MainForm->MainBoxMouseMove(nullptr, {}, (tick * 37) % 523, (tick * 11) % 226);
        if (tick % 50 == 0 && !MainForm->BadGuyImages.isEmpty())
            MainForm->BadGuyMouseDown(
                MainForm->BadGuyImages[(tick / 50) % MainForm->BadGuyImages.size()], Qt::LeftButton,
                {}, 5, 5);
        MainForm->Go();
    }

    QTextStream out(stdout);
    TGame &game = MainForm->game();
    const TGame::Counters &c = game.counters();
    out << "travelled " << c.travelled << " shots " << c.shotsFired << " hits " << c.hits
        << " energy " << c.energy << " accuracy " << game.accuracy() << " turn "
        << game.turnCounter() << '\n';
    for (const FlyingObject *star = game.firstStar(); star; star = star->Next)
        out << "star " << star->X << ' ' << star->Y << ' ' << star->DX << ' ' << star->DY << ' '
            << star->Age << '\n';
    for (int i = 0; i < game.badGuyCount(); ++i) {
        const FlyingObject &o = game.badGuy(i);
        out << "badguy " << o.X << ' ' << o.Y << ' ' << o.DX << ' ' << o.DY << ' ' << o.Age << ' '
            << o.State << ' ' << o.Hit << ' ' << o.Frame << '\n';
    }
    out.flush();
    DestroyForms();
    return 0;
}
