#pragma once

// The arithmetic of the game's rules, apart from any window, so that each rule can be
// checked on its own. Factors are formed in extended precision (long double, 64-bit
// mantissa) and stored as doubles where the game stores them, because the results at the
// halves depend on it.

#include <QPoint>
#include <QSize>
#include <QString>

namespace game {

// The rule numbers of a game.
inline constexpr int StartEnergy = 10; // a new game's energy
inline constexpr int HitEnergy = 10;   // won for each bad guy shot
inline constexpr int EscapeCost = 10;  // lost for each bad guy that gets past
// Flight ticks before the first bad guy; the last of them chimes.
inline constexpr int BadGuysAfter = 100;
inline constexpr int LastExplosionFrame = 6; // all black: blanks a picture
inline constexpr int ExplosionOver = 7;      // the state after the last frame
inline constexpr int BackAfterOutside = 20;  // a bad guy outside the field is reset at this count
inline constexpr int OutOfField = 10000;     // where an exploded bad guy goes to count down
inline constexpr int TicksBetweenTurns = 10; // bad guy updates inside the field between turns

// Distance in light years after `travelled` flight ticks.
int LightYears(int travelled);

// The speed factor of flight tick `travelled`: 1 up to tick 400, then travelled × 0.0025.
double SpeedAt(int travelled);

// The level shown for a speed factor: the factor rounded, halves to the even neighbour.
int LevelOf(double speed);

// Whole-number hit percentage: hits / shots × 100, quotient and product each rounded to a
// 64-bit mantissa, then truncated. 0 without shots.
int AccuracyOf(int hits, int shots);

enum class EnergyBand { Critical, Low, OK };
inline constexpr int LowEnergy = 21; // energies below this are critical
inline constexpr int OkEnergy = 61;  // energies from this on are OK
EnergyBand BandOf(int energy);

// What the energy meter shows for an energy (clamped by the gauge to its range).
int GaugeProgressOf(int energy);

// The sound of a caption update that finds `energy` after `lastEnergy`: the warning as the
// energy drops into the low band from above it, the alarm as it drops into the critical band
// from above it; none otherwise.
enum class EnergyAlarm { None, Warning, Critical };
EnergyAlarm AlarmFor(int energy, int lastEnergy);

// What an update does to the energy meter's word and colour, from the energy and the energy of
// the last update: while critical it flashes (every update flips red and maroon); it turns
// "Low" on entering the low band from either side, "OK" on entering the OK band; otherwise it
// keeps what it shows.
enum class MeterChange { Keep, Flash, Low, OK };
MeterChange MeterFor(int energy, int lastEnergy);

// A reset object's velocity is rolled again while it would stand still: both components 0.
inline bool StandsStill(int dx, int dy) {
    return dx == 0 && dy == 0;
}

// Where a new star or bad guy appears in a field of `field` size: the field centre outside a
// game, otherwise halfway between the centre and the last pointer position `aim`.
QPoint SpawnPoint(QSize field, bool inGame, QPoint aim);

// Whether a point lies inside the field widened by the 32-pixel margin on every side.
inline constexpr int FieldMargin = 32;
bool InsideField(QSize field, int x, int y);

// Objects age one tick a move until this age, then stay at it.
inline constexpr int MaxAge = 6001;

// The pen width of a star: 1 until age 15, then one more every 15 ticks.
int StarPenWidth(int age);

// The velocity component `v` of a star of `age` after one speed-up: v × (age × 0.0125 + 1),
// rounded with halves to the even neighbour.
int SpedUp(int v, int age);

// How many bad guys fly after `travelled` flight ticks: one, and from tick 600 on one more
// every 300 ticks.
int BadGuysFor(int travelled);

// The side of a bad guy's square image at `age`: the list's image width scaled by age × 0.05,
// up to the full width at age 20; halves go to the even neighbour.
int BadGuySide(int age, int imageWidth);

// A velocity component scaled by the speed factor at a bad guy's turn.
int ScaledBySpeed(int v, double speed);

// The knob at the end of the turret's handle: 13 pixels from the pivot (pivotX, 0), pointing
// from the pointer (x, y) back toward the beam's origin at the middle of the field's bottom
// edge, one row below the field.
QPoint TurretKnob(QSize field, int pivotX, int x, int y);

// The score of a finished game: 100 points a kill, 10 a percent of accuracy, 1 a flight tick.
// The results show the three parts as they count up, then their sum.
struct ScoreParts {
    int kills = 0;
    int accuracy = 0;
    int distance = 0;
    int total() const { return kills + accuracy + distance; }
};
ScoreParts ScorePartsOf(int hits, int accuracy, int travelled);
int FinalScoreOf(int hits, int accuracy, int travelled);

// What step `i` (0 to 500) of a results count-up to `value` shows: i × (value × 0.002), the
// step formed in extended precision and stored as a double, the product rounded with halves
// to the even neighbour.
inline constexpr int CountUpSteps = 500;
int CountUpValue(int value, int i);

// Removes the first blank of the text when the character after it is a blank too; true when it
// removed one. Two words with blanks between them thus close up to one blank.
bool CloseUpSpace(QString &text);

} // namespace game
