// Image libraries (.IML) from PNG files and back to PNG files.
#include "Pack.h"
#include "Palette.h"

#include "gk/Error.h"
#include "gk/GKILib.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>

#include <cstdio>

namespace gkpack {

const char *const ImageUsage =
    "build [--reduce] [--colors N] OUT.IML [name=]picture.png[:width[:height]] ...\n"
    "list [--palette] LIB.IML\n"
    "extract LIB.IML DIR\n";

namespace {

SourcePicture readPng(const QString &file) {
    QImageReader reader(file, "png");
    reader.setDecideFormatFromContent(false);
    QImage image = reader.read();
    if (image.isNull())
        throw gk::Error(file.toStdString() + ": cannot read the PNG (" +
                        reader.errorString().toStdString() + ")");
    return {file, image};
}

struct Picture {
    QByteArray name;
    SourcePicture source;
};

// The pictures an argument names: the picture itself, or with a frame size the frames of a
// strip, left to right and then top to bottom, named "<name>-<number>".
QList<Picture> picturesOf(const QString &arg) {
    const NamedFile spec = ParseNamedFile(arg, 2);
    const QByteArray name =
        spec.named ? spec.name : QFileInfo(spec.file).completeBaseName().toLatin1();
    const SourcePicture picture = readPng(spec.file);
    if (spec.numbers.isEmpty())
        return {{name, picture}};
    const QSize whole = picture.image.size();
    const QSize frame(spec.numbers[0], spec.numbers.value(1, whole.height()));
    if (frame.width() <= 0 || frame.height() <= 0 || whole.width() % frame.width() != 0 ||
        whole.height() % frame.height() != 0)
        throw gk::Error(spec.file.toStdString() + ": a picture of " +
                        std::to_string(whole.width()) + " x " + std::to_string(whole.height()) +
                        " pixels is no strip of frames of " + std::to_string(frame.width()) +
                        " x " + std::to_string(frame.height()));
    QList<Picture> frames;
    for (int y = 0; y < whole.height(); y += frame.height())
        for (int x = 0; x < whole.width(); x += frame.width())
            frames.append({name + '-' + QByteArray::number(frames.size()),
                           {spec.file, picture.image.copy(QRect(QPoint(x, y), frame))}});
    return frames;
}

int build(const QStringList &given) {
    QStringList args = given;
    bool reduce = false;
    int colors = 255;
    while (!args.isEmpty() && args.first().startsWith("--")) {
        const QString option = args.takeFirst();
        if (option == "--reduce") {
            reduce = true;
        } else if (option == "--colors" && !args.isEmpty()) {
            const auto count = ParseInt(args.takeFirst());
            if (!count || *count < 1 || *count > 255)
                throw gk::Error("--colors takes a number from 1 to 255");
            colors = *count;
            reduce = true;
        } else {
            throw UsageError();
        }
    }
    if (args.size() < 2)
        throw UsageError();

    std::vector<SourcePicture> pictures;
    std::vector<TGKImageEntry> headers;
    for (const QString &arg : args.mid(1)) {
        for (const Picture &picture : picturesOf(arg)) {
            TGKImageEntry header;
            ForFile(picture.source.file, [&] { header.SetName(picture.name); });
            header.SetWidth(picture.source.image.width());
            header.SetHeight(picture.source.image.height());
            headers.push_back(header);
            pictures.push_back(picture.source);
        }
    }

    const bool taken = !reduce && AllIndexed(pictures);
    const PalettePictures converted =
        taken ? SharedPalette(pictures) : ReduceColors(pictures, colors);
    TGKImages images;
    for (int i = 0; i < TGKImages::PaletteEntries; ++i) {
        const QRgb color = converted.palette[std::size_t(i)];
        images.SetPaletteEntry(i, uint8_t(qRed(color)), uint8_t(qGreen(color)),
                               uint8_t(qBlue(color)));
    }
    for (std::size_t i = 0; i < headers.size(); ++i)
        images.Add(headers[i], converted.bits[i]);
    WriteFile(args[0], images.ToBlock());
    std::printf("%s: %d pictures, palette %s\n", qPrintable(args[0]), images.Count(),
                taken ? "taken from the pictures" : "reduced from their colours");
    return 0;
}

int list(const QStringList &given) {
    QStringList args = given;
    const bool palette = !args.isEmpty() && args.first() == "--palette";
    if (palette)
        args.removeFirst();
    if (args.size() != 1)
        throw UsageError();
    TGKImages images;
    ForFile(args[0], [&] { images.LoadFromFile(args[0]); });
    const TGKImages::Signature s = images.GetSignature();
    std::printf("%s: signature %c%c%c%c, %d pictures, reserved 0x%08x\n", qPrintable(args[0]), s[0],
                s[1], s[2], s[3], images.Count(), images.Reserved());
    std::printf("%5s  %-11s  %6s  %6s  %9s  %9s\n", "index", "name", "width", "height", "row bytes",
                "size");
    for (int i = 0; i < images.Count(); ++i) {
        const TGKImageEntry e = images.GetEntry(i);
        std::printf("%5d  %-11s  %6d  %6d  %9lld  %9lld\n", i, e.Name().constData(), e.Width(),
                    e.Height(), static_cast<long long>(e.RowBytes()),
                    static_cast<long long>(e.BitsSize()));
    }
    if (palette) {
        std::printf("%5s  %3s  %5s  %4s  %6s\n", "entry", "red", "green", "blue", "fourth");
        for (int i = 0; i < TGKImages::PaletteEntries; ++i) {
            const uint8_t *entry = images.Palette() + 4 * i;
            std::printf("%5d  %3u  %5u  %4u  %6u\n", i, entry[0], entry[1], entry[2], entry[3]);
        }
    }
    return 0;
}

// Each picture as an indexed PNG with the library's palette; entry 0 is see-through, as it is
// wherever the library's pictures are shown. The filler bytes of the rows are not kept. Prints
// for each picture the argument that builds it again.
int extract(const QStringList &args) {
    if (args.size() != 2)
        throw UsageError();
    TGKImages images;
    ForFile(args[0], [&] { images.LoadFromFile(args[0]); });
    MakeFolder(args[1]);
    const QDir dir(args[1]);
    QList<QRgb> colors;
    for (int i = 0; i < TGKImages::PaletteEntries; ++i) {
        const uint8_t *entry = images.Palette() + 4 * i;
        colors.append(qRgba(entry[0], entry[1], entry[2], i == 0 ? 0 : 255));
    }
    for (int i = 0; i < images.Count(); ++i) {
        const TGKImageEntry e = images.GetEntry(i);
        QImage picture(e.Width(), e.Height(), QImage::Format_Indexed8);
        if (picture.isNull())
            throw gk::Error("picture " + std::to_string(i) + " is too large to extract");
        picture.setColorTable(colors);
        for (int y = 0; y < e.Height(); ++y)
            std::copy_n(e.Bits + e.RowBytes() * y, e.Width(), picture.scanLine(y));
        const QString path = dir.filePath(OutputName(i, e.Name(), "png"));
        if (!picture.save(path, "PNG"))
            throw gk::Error("Cannot write \"" + path.toStdString() + "\"");
        std::printf("%s=%s\n", e.Name().constData(), qPrintable(path));
    }
    return 0;
}

} // namespace

int ImageCommand(const QStringList &args) {
    return Dispatch(args, {build, list, extract});
}

} // namespace gkpack
