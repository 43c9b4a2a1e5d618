#pragma once

#include <QString>

// The maker's web site, named by the windows that send the player there or quote it.
namespace game {
inline const QString MakerWebSite = QStringLiteral("http://www.umbrelprowlet.example/");
} // namespace game
