#pragma once

#include <QColor>

// The named colours the game paints with, as the classic sixteen-colour palette has them.
namespace game::colors {
inline const QColor Black{0, 0, 0};
inline const QColor White{255, 255, 255};
inline const QColor Red{255, 0, 0};
inline const QColor Maroon{128, 0, 0};
inline const QColor Green{0, 128, 0};
inline const QColor Lime{0, 255, 0};
inline const QColor Blue{0, 0, 255};
} // namespace game::colors
