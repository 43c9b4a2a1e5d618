#include "platform/Files.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace platform::Files {

namespace {

bool present(const QString &path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// The names in `folder` that `name` may denote: itself first when it exists, then every other
// entry whose name equals it without regard to case, in sorted order.
QStringList candidatesIn(const QString &folder, const QString &name) {
    QStringList candidates;
    if (present(folder + name))
        candidates << name;
    const QDir dir(folder.isEmpty() ? QStringLiteral(".") : folder);
    const QStringList entries = dir.entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &entry : entries) {
        if (entry != name && entry.compare(name, Qt::CaseInsensitive) == 0)
            candidates << entry;
    }
    return candidates;
}

struct Resolution {
    QString path;
    bool complete = false;
};

// Resolves parts[from..] below `resolved` (which ends with a separator or is empty). Where a
// name has several spellings on the disk, the first one below which the rest resolves too.
Resolution resolveFrom(const QString &resolved, const QStringList &parts, qsizetype from) {
    qsizetype i = from;
    while (i < parts.size() && parts[i].isEmpty())
        ++i; // doubled separators
    if (i >= parts.size())
        return {resolved, true};
    const QString &part = parts[i];
    const QString separator = i == parts.size() - 1 ? QString() : QStringLiteral("/");

    if (part == QLatin1String(".") || part == QLatin1String(".."))
        return resolveFrom(resolved + part + separator, parts, i + 1);

    const QStringList candidates = candidatesIn(resolved, part);
    if (candidates.isEmpty()) {
        // Nothing matches: the rest is kept as it was given.
        QString rest = resolved;
        for (qsizetype k = i; k < parts.size(); ++k) {
            if (parts[k].isEmpty() && k != parts.size() - 1)
                continue;
            rest += parts[k];
            if (k != parts.size() - 1)
                rest += '/';
        }
        return {rest, false};
    }
    Resolution first;
    for (const QString &candidate : candidates) {
        Resolution attempt = resolveFrom(resolved + candidate + separator, parts, i + 1);
        if (attempt.complete)
            return attempt;
        if (first.path.isEmpty())
            first = attempt;
    }
    return first;
}

} // namespace

QString Resolve(const QString &path) {
    if (path.isEmpty())
        return path;
    const QStringList parts = path.split('/');
    const QString start = path.startsWith('/') ? QStringLiteral("/") : QString();
    return resolveFrom(start, parts, start.isEmpty() ? 0 : 1).path;
}

bool Exists(const QString &path) {
    return QFileInfo::exists(Resolve(path));
}

bool FileExists(const QString &path) {
    return QFileInfo(Resolve(path)).isFile();
}

bool DirExists(const QString &path) {
    return QFileInfo(Resolve(path)).isDir();
}

} // namespace platform::Files
