#include "platform/ConfigFolder.h"

#include <QDir>

namespace platform {

QString ConfigFolder() {
    const QString own = qEnvironmentVariable("GORBULAX_CONFIG_HOME");
    if (!own.isEmpty())
        return own;
    // The base directory rules say a relative XDG_CONFIG_HOME is invalid and to be ignored.
    const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg))
        return xdg + QStringLiteral("/gorbulax");
    return QDir::homePath() + QStringLiteral("/.config/gorbulax");
}

} // namespace platform
