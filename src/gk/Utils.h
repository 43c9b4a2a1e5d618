#pragma once

#include <QString>

#include <cstdint>

namespace gk {

// Small routines shared by the game and its dialogs. Colours are plain RGB values laid out
// as 0x00BBGGRR: red in the low byte, green in the second, blue in the third.

// SplitColor works with truncating division, so a negative colour yields negative parts;
// MakeColor wraps around on overflow like 32-bit arithmetic.
void SplitColor(int32_t color, int32_t &red, int32_t &green, int32_t &blue);
int32_t MakeColor(int32_t red, int32_t green, int32_t blue);
// Each component times (1 - percent / 100), rounded to the nearest integer, halves to even.
int32_t DarkenColor(int32_t color, int32_t percent);

// Solves a2·x² + a1·x + a0 = 0. Returns 0 with two distinct roots in x1 and x2, 1 with one
// double root (x1 = x2), 2 when a2 is 0 or there is no real root; then x1 and x2 are left as
// they were.
uint8_t SolveQuadratic(double a2, double a1, double a0, double &x1, double &x2);

// ASCII digits only.
bool IsDigit(char ch);
// True for a non-empty text of the digits 0 to 9 only; no sign, blank or separator.
bool IsAllDigits(const QString &text);

// Rounds to the nearest integer, an exact half going to the even neighbour, whatever the
// floating-point rounding mode. Values beyond the int range give INT_MIN or INT_MAX; NaN
// gives 0.
int RoundHalfEven(long double value);

} // namespace gk
