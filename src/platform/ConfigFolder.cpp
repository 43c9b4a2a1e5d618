#include "platform/ConfigFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QVariant>

namespace platform {

namespace {

constexpr const char *ProgramFolderProperty = "gorbulax.programFolder";

// $own, else $xdg/gorbulax, else ~/fallback/gorbulax. The base directory rules say a relative
// XDG folder is invalid and to be ignored.
QString userFolder(const char *own, const char *xdg, const QString &fallback) {
    const QString named = qEnvironmentVariable(own);
    if (!named.isEmpty())
        return named;
    const QString base = qEnvironmentVariable(xdg);
    if (!base.isEmpty() && QDir::isAbsolutePath(base))
        return base + QStringLiteral("/gorbulax");
    return QDir::homePath() + fallback + QStringLiteral("/gorbulax");
}

QString withSeparator(const QString &folder) {
    return folder.endsWith('/') ? folder : folder + '/';
}

} // namespace

QString ConfigFolder() {
    return userFolder("GORBULAX_CONFIG_HOME", "XDG_CONFIG_HOME", QStringLiteral("/.config"));
}

QString DataFolder() {
    return userFolder("GORBULAX_DATA_HOME", "XDG_DATA_HOME", QStringLiteral("/.local/share"));
}

QString ProgramFolder() {
    const QCoreApplication *app = QCoreApplication::instance();
    if (!app)
        return QString();
    const QString named = app->property(ProgramFolderProperty).toString();
    return withSeparator(named.isEmpty() ? QCoreApplication::applicationDirPath() : named);
}

void SetProgramFolder(const QString &folder) {
    if (QCoreApplication *app = QCoreApplication::instance())
        app->setProperty(ProgramFolderProperty, folder);
}

} // namespace platform
