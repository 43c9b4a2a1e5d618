#include "Pack.h"

#include "gk/Error.h"
#include "gk/Streams.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <cstdio>

namespace gkpack {

int RunFamily(int (*command)(const QStringList &), const QStringList &args, const char *usage,
              const QString &program) {
    try {
        return command(args);
    } catch (const UsageError &) {
        for (const QString &line : QString::fromLatin1(usage).split('\n', Qt::SkipEmptyParts))
            std::fprintf(stderr, "usage: %s %s\n", qPrintable(program), qPrintable(line));
        return 2;
    } catch (const gk::Error &e) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(program.section(' ', 0, 0)), e.what());
        return 1;
    }
}

int Dispatch(const QStringList &args, const Commands &commands) {
    const QString command = args.value(0);
    if (command == "build")
        return commands.build(args.mid(1));
    if (command == "list")
        return commands.list(args.mid(1));
    if (command == "extract")
        return commands.extract(args.mid(1));
    throw UsageError();
}

std::optional<int32_t> ParseInt(const QString &text) {
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    return ok ? std::optional<int32_t>(value) : std::nullopt;
}

NamedFile ParseNamedFile(const QString &arg, int maxNumbers) {
    NamedFile named;
    const qsizetype eq = arg.indexOf('=');
    named.named = eq >= 0;
    named.name = arg.left(std::max<qsizetype>(eq, 0)).toLatin1();
    QStringList parts = arg.mid(eq + 1).split(':');
    while (parts.size() > 1 && named.numbers.size() < maxNumbers) {
        const auto number = ParseInt(parts.last());
        if (!number)
            break;
        named.numbers.prepend(*number);
        parts.removeLast();
    }
    named.file = parts.join(':');
    if (named.file.isEmpty())
        throw gk::Error("no file given in \"" + arg.toStdString() + "\"");
    return named;
}

void WriteFile(const QString &path, const QByteArray &bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw gk::Error("Cannot write \"" + path.toStdString() + "\". " +
                        file.errorString().toStdString());
}

QByteArray ReadFile(const QString &path) {
    QFile file;
    gk::OpenExactlyForReading(file, path);
    return file.readAll();
}

void MakeFolder(const QString &path) {
    if (!QDir(path).mkpath("."))
        throw gk::Error("Cannot create folder \"" + path.toStdString() + "\"");
}

QString OutputName(int index, const QByteArray &name, const char *extension) {
    QString safe;
    for (char c : name)
        safe += (QChar::isLetterOrNumber(uchar(c)) && uchar(c) < 0x80) || c == '-' || c == '_'
                    ? QChar(c)
                    : QChar('_');
    const QString number = QString::number(index).rightJustified(2, '0');
    return (safe.isEmpty() ? number : number + '-' + safe) + '.' + extension;
}

} // namespace gkpack
