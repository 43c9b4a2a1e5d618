#include "platform/SchemeHandlers.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <algorithm>

namespace platform::SchemeHandlers {

namespace {

// The query is a small script; one that hangs must not hold the game.
constexpr int QueryMilliseconds = 5000;

QString defaultHandler(const QString &scheme) {
    const QString query = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (query.isEmpty())
        return {};
    QProcess process;
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(query, {QStringLiteral("query"), QStringLiteral("default"),
                          QStringLiteral("x-scheme-handler/") + scheme});
    if (!process.waitForFinished(QueryMilliseconds)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return {};
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

} // namespace

QString SchemeOf(const QString &address) {
    // Two characters at least: "C:\…" is a drive, not a scheme.
    static const QRegularExpression scheme(QStringLiteral("^([A-Za-z][A-Za-z0-9+.-]+):"));
    const QRegularExpressionMatch match = scheme.match(address);
    return match.hasMatch() ? match.captured(1).toLower() : QString();
}

bool HasHandler(const QString &scheme) {
    if (scheme.isEmpty())
        return false;
    if (!qEnvironmentVariableIsEmpty("BROWSER"))
        return true;
    return !defaultHandler(scheme).isEmpty();
}

bool CanOpen(const QString &program, const QStringList &arguments) {
    if (QFileInfo(program).fileName() != QLatin1String("xdg-open"))
        return true;
    return std::all_of(arguments.cbegin(), arguments.cend(), [](const QString &argument) {
        const QString scheme = SchemeOf(argument);
        return scheme.isEmpty() || HasHandler(scheme);
    });
}

} // namespace platform::SchemeHandlers
