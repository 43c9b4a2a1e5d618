// gkpack: builds, lists and extracts the libraries of the game library's formats.
//
//   gkpack sound build|list|extract ...    sound libraries (.SDL) and WAV files
//   gkpack image build|list|extract ...    image libraries (.IML) and PNG files
//   gkpack map build|list|extract ...      map libraries and raw data files
#include "Pack.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const QString family = args.isEmpty() ? QString() : args.takeFirst();
    struct Family {
        const char *name;
        int (*command)(const QStringList &);
        const char *usage;
    };
    const Family families[] = {
        {"sound", gkpack::SoundCommand, gkpack::SoundUsage},
        {"image", gkpack::ImageCommand, gkpack::ImageUsage},
        {"map", gkpack::MapCommand, gkpack::MapUsage},
    };
    for (const Family &f : families)
        if (family == f.name)
            return gkpack::RunFamily(f.command, args, f.usage, QString("gkpack ") + f.name);
    for (const Family &f : families)
        for (const QString &line : QString::fromLatin1(f.usage).split('\n', Qt::SkipEmptyParts))
            std::fprintf(stderr, "usage: gkpack %s %s\n", f.name, qPrintable(line));
    return 2;
}
