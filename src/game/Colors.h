#pragma once

#include "gk/Utils.h"

#include <QColor>

#include <cstdint>

// The named colours the game paints with, as the classic sixteen-colour palette has them.
namespace game::colors {
inline const QColor Black{0, 0, 0};
inline const QColor White{255, 255, 255};
inline const QColor Red{255, 0, 0};
inline const QColor Maroon{128, 0, 0};
inline const QColor Green{0, 128, 0};
inline const QColor Lime{0, 255, 0};
inline const QColor Blue{0, 0, 255};

// The game's colour arithmetic works on packed red, green, blue values.
inline QColor fromColorRef(int32_t color) {
    int32_t r = 0, g = 0, b = 0;
    gk::SplitColor(color, r, g, b);
    return QColor(r, g, b);
}

inline int32_t toColorRef(const QColor &color) {
    return gk::MakeColor(color.red(), color.green(), color.blue());
}
} // namespace game::colors
