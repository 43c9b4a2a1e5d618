#include "game/GameRules.h"

#include "gk/Utils.h"

#include <algorithm>
#include <cmath>

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

MeterChange MeterFor(int energy, int lastEnergy) {
    switch (BandOf(energy)) {
    case EnergyBand::Critical:
        return MeterChange::Flash;
    case EnergyBand::Low:
        return lastEnergy > OkEnergy || lastEnergy < LowEnergy ? MeterChange::Low
                                                               : MeterChange::Keep;
    case EnergyBand::OK:
        return lastEnergy < OkEnergy ? MeterChange::OK : MeterChange::Keep;
    }
    return MeterChange::Keep;
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

int BadGuysFor(int travelled) {
    return std::max(travelled / 300, 1);
}

int BadGuySide(int age, int imageWidth) {
    const double scale = std::min(static_cast<double>(age * 0.05L), 1.0);
    return gk::RoundHalfEven(static_cast<long double>(imageWidth) * scale);
}

int ScaledBySpeed(int v, double speed) {
    return gk::RoundHalfEven(static_cast<long double>(v) * speed);
}

QPoint TurretKnob(QSize field, int pivotX, int x, int y) {
    const int dx = field.width() / 2 - x;
    const int dy = field.height() - y;
    const double d = std::sqrt(static_cast<double>(dx * dx + dy * dy));
    // The origin lies below the field's last row, where the pointer never is; should a
    // pointer get there all the same, the handle hangs straight down.
    if (d == 0)
        return {pivotX, 13};
    const double ux = dx / d;
    const double uy = dy / d;
    return {pivotX + gk::RoundHalfEven(13 * static_cast<long double>(ux)),
            gk::RoundHalfEven(13 * static_cast<long double>(uy))};
}

ScoreParts ScorePartsOf(int hits, int accuracy, int travelled) {
    return {hits * 100, accuracy * 10, travelled};
}

int FinalScoreOf(int hits, int accuracy, int travelled) {
    return ScorePartsOf(hits, accuracy, travelled).total();
}

int CountUpValue(int value, int i) {
    volatile double step = static_cast<double>(static_cast<long double>(value) * 0.002L);
    return gk::RoundHalfEven(static_cast<long double>(i) * step);
}

bool CloseUpSpace(QString &text) {
    const qsizetype blank = text.indexOf(' ');
    if (blank < 0 || blank + 1 >= text.size() || text[blank + 1] != ' ')
        return false;
    text.remove(blank, 1);
    return true;
}

} // namespace game
