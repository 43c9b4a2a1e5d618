#include "gk/Utils.h"

#include <climits>
#include <cmath>

namespace gk {

void SplitColor(int32_t color, int32_t &red, int32_t &green, int32_t &blue) {
    // C++ division truncates and the remainder keeps the dividend's sign, so a negative
    // value splits into negative parts instead of being masked; callers depend on that.
    const int32_t low = color % 65536;
    red = low % 256;
    green = low / 256;
    blue = (color - low) / 65536;
}

int32_t MakeColor(int32_t red, int32_t green, int32_t blue) {
    const int64_t sum = int64_t{red} + int64_t{green} * 256 + int64_t{blue} * 65536;
    // Out-of-range components wrap around like 32-bit arithmetic would, without the
    // undefined behaviour of a signed overflow.
    return static_cast<int32_t>(static_cast<uint32_t>(sum));
}

int32_t DarkenColor(int32_t color, int32_t percent) {
    int32_t red = 0;
    int32_t green = 0;
    int32_t blue = 0;
    SplitColor(color, red, green, blue);
    const long double factor = 1.0L - percent * 0.01L;
    return MakeColor(RoundHalfEven(red * factor), RoundHalfEven(green * factor),
                     RoundHalfEven(blue * factor));
}

uint8_t SolveQuadratic(double a2, double a1, double a0, double &x1, double &x2) {
    if (a2 == 0.0) {
        return 2;
    }
    const double discriminant = a1 * a1 - 4.0 * a2 * a0;
    if (discriminant < 0.0) {
        return 2;
    }
    const double root = std::sqrt(discriminant);
    x1 = (-a1 + root) / (2.0 * a2);
    x2 = (-a1 - root) / (2.0 * a2);
    return x1 == x2 ? 1 : 0;
}

bool IsDigit(char ch) {
    return ch >= '0' && ch <= '9';
}

bool IsAllDigits(const QString &text) {
    if (text.isEmpty()) {
        return false;
    }
    // QChar::isDigit() would also accept other scripts' digits, which the score file and
    // the number fields cannot parse.
    for (const QChar ch : text) {
        if (ch.unicode() < u'0' || ch.unicode() > u'9') {
            return false;
        }
    }
    return true;
}

// Aligned to 256 bytes so that the routine (under 256 bytes) never straddles a 4 KiB page.
// It runs twice per star and tick; where the link happened to place it across a page
// boundary, the flight tick took a quarter longer on the development machine (AMD, x87
// control-word switching on every call), with the same instructions and the same inputs.
[[gnu::aligned(256)]] int RoundHalfEven(long double value) {
    // Done by hand rather than with nearbyintl() so that a rounding mode changed elsewhere
    // in the process cannot alter the result. value - floor is exact in binary floating
    // point, so the comparison with one half sees ties exactly.
    if (std::isnan(value)) {
        return 0;
    }
    if (value >= static_cast<long double>(INT_MAX)) {
        return INT_MAX;
    }
    if (value <= static_cast<long double>(INT_MIN)) {
        return INT_MIN;
    }
    const long double below = std::floor(value);
    const long double fraction = value - below;
    long double rounded = below;
    if (fraction > 0.5L || (fraction == 0.5L && std::fmod(below, 2.0L) != 0.0L)) {
        rounded = below + 1.0L;
    }
    return static_cast<int>(rounded);
}

} // namespace gk
