#include "game/GameRules.h"

#include "gk/Utils.h"

#include <algorithm>

namespace game {

int LightYears(int travelled) {
    return travelled / 100;
}

double SpeedAt(int travelled) {
    if (travelled <= 400)
        return 1.0;
    return static_cast<double>(static_cast<long double>(travelled) * 0.0025L);
}

int LevelOf(double speed) {
    return gk::RoundHalfEven(speed);
}

int AccuracyOf(int hits, int shots) {
    if (shots == 0)
        return 0;
    // volatile keeps each intermediate result rounded to the 64-bit mantissa, as the game
    // forms them, rather than letting the compiler fold the expression.
    volatile long double quotient = static_cast<long double>(hits) / shots;
    volatile long double percent = quotient * 100.0L;
    return static_cast<int>(percent);
}

EnergyBand BandOf(int energy) {
    if (energy < LowEnergy)
        return EnergyBand::Critical;
    if (energy < OkEnergy)
        return EnergyBand::Low;
    return EnergyBand::OK;
}

int GaugeProgressOf(int energy) {
    return std::clamp(energy / 2, 0, 100);
}

EnergyAlarm AlarmFor(int energy, int lastEnergy) {
    switch (BandOf(energy)) {
    case EnergyBand::Critical:
        return lastEnergy > LowEnergy ? EnergyAlarm::Critical : EnergyAlarm::None;
    case EnergyBand::Low:
        return lastEnergy > OkEnergy ? EnergyAlarm::Warning : EnergyAlarm::None;
    case EnergyBand::OK:
        break;
    }
    return EnergyAlarm::None;
}

QPoint SpawnPoint(QSize field, bool inGame, QPoint aim) {
    const int w = field.width() / 2;
    const int h = field.height() / 2;
    if (!inGame)
        return {w, h};
    return {(w + aim.x()) / 2, (h + aim.y()) / 2};
}

bool InsideField(QSize field, int x, int y) {
    return x >= -FieldMargin && x <= field.width() + FieldMargin && y >= -FieldMargin &&
           y <= field.height() + FieldMargin;
}

int StarPenWidth(int age) {
    return age / 15 + 1;
}

int SpedUp(int v, int age) {
    const double factor = static_cast<double>(age * 0.0125L + 1.0L);
    return gk::RoundHalfEven(static_cast<long double>(v) * factor);
}

} // namespace game
