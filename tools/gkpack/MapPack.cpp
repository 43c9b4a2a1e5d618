// Map libraries from raw data files with their names, widths and heights, and back.
#include "Pack.h"

#include "gk/Error.h"
#include "gk/GKMap.h"
#include "gk/Streams.h"

#include <QDir>
#include <QFile>

#include <cstdio>

namespace gkpack {

const char *const MapUsage = "build OUT name=file.raw[:width[:height]] ...\n"
                             "list LIB\n"
                             "extract LIB DIR\n";

namespace {

TGKMaps load(const QString &path) {
    QFile file;
    gk::OpenExactlyForReading(file, path);
    TGKMaps maps;
    ForFile(path, [&] { maps.ReadData(file); });
    return maps;
}

int build(const QStringList &args) {
    if (args.size() < 2)
        throw UsageError();
    TGKMaps maps;
    for (const QString &arg : args.mid(1)) {
        const NamedFile spec = ParseNamedFile(arg, 2);
        if (!spec.named)
            throw gk::Error("expected name=file.raw[:width[:height]], got \"" + arg.toStdString() +
                            "\"");
        TGKMapEntry header;
        ForFile(spec.file, [&] { header.SetName(spec.name); });
        header.SetWidth(spec.numbers.value(0, 0));
        header.SetHeight(spec.numbers.value(1, 0));
        maps.Add(header, ReadFile(spec.file));
    }
    WriteFile(args[0], maps.ToBlock());
    std::printf("%s: %d maps\n", qPrintable(args[0]), maps.Count());
    return 0;
}

int list(const QStringList &args) {
    if (args.size() != 1)
        throw UsageError();
    const TGKMaps maps = load(args[0]);
    std::printf("%5s  %-15s  %11s  %11s  %10s\n", "index", "name", "width", "height", "size");
    for (int i = 0; i < maps.Count(); ++i) {
        const TGKMapEntry e = maps.GetEntry(i);
        std::printf("%5d  %-15s  %11d  %11d  %10d\n", i, e.Name().constData(), e.Width(),
                    e.Height(), e.Size());
    }
    return 0;
}

// Prints for each map the argument that builds it again.
int extract(const QStringList &args) {
    if (args.size() != 2)
        throw UsageError();
    const TGKMaps maps = load(args[0]);
    MakeFolder(args[1]);
    const QDir dir(args[1]);
    for (int i = 0; i < maps.Count(); ++i) {
        const TGKMapEntry e = maps.GetEntry(i);
        const QString path = dir.filePath(OutputName(i, e.Name(), "raw"));
        WriteFile(path, QByteArray(reinterpret_cast<const char *>(e.MapData), e.Size()));
        std::printf("%s=%s:%d:%d\n", e.Name().constData(), qPrintable(path), e.Width(), e.Height());
    }
    return 0;
}

} // namespace

int MapCommand(const QStringList &args) {
    return Dispatch(args, {build, list, extract});
}

} // namespace gkpack
