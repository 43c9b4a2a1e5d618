// Builds, lists and unpacks sound library files (.SDL), so the game's sounds can be made from
// and turned back into ordinary WAV files.
#include "gk/Error.h"
#include "gk/Wave.h"
#include "gk/gkslib.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStringList>

#include <cstdio>
#include <optional>

namespace {

const char *const Usage = "usage: sdlpack build OUT.SDL name=file.wav[:pan[:volume]] ...\n"
                          "       sdlpack list LIB.SDL\n"
                          "       sdlpack extract LIB.SDL DIR\n";

std::optional<int32_t> parseInt(const QString &text) {
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    return ok ? std::optional<int32_t>(value) : std::nullopt;
}

struct SoundSpec {
    QByteArray name;
    QString file;
    int32_t pan = 0;
    int32_t volume = 0;
};

// Trailing ":number" parts are pan and volume; anything else belongs to the file name, which
// may itself contain colons.
SoundSpec parseSpec(const QString &arg) {
    const qsizetype eq = arg.indexOf('=');
    if (eq <= 0)
        throw gk::Error("expected name=file.wav[:pan[:volume]], got \"" + arg.toStdString() + "\"");
    SoundSpec spec;
    spec.name = arg.left(eq).toLatin1();
    QStringList parts = arg.mid(eq + 1).split(':');
    QList<int32_t> numbers;
    while (parts.size() > 1 && numbers.size() < 2) {
        const auto number = parseInt(parts.last());
        if (!number)
            break;
        numbers.prepend(*number);
        parts.removeLast();
    }
    spec.file = parts.join(':');
    if (spec.file.isEmpty())
        throw gk::Error("no WAV file given for \"" + spec.name.toStdString() + "\"");
    if (!numbers.isEmpty())
        spec.pan = numbers[0];
    if (numbers.size() > 1)
        spec.volume = numbers[1];
    return spec;
}

void writeFile(const QString &path, const QByteArray &bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw gk::Error("Cannot write \"" + path.toStdString() + "\". " +
                        file.errorString().toStdString());
}

int build(const QStringList &args) {
    if (args.size() < 2)
        throw gk::Error(Usage);
    TGKSounds sounds;
    for (const QString &arg : args.mid(1)) {
        const SoundSpec spec = parseSpec(arg);
        const gk::Wave wave = gk::ReadWaveFile(spec.file);
        TGKSoundEntry entry;
        entry.SetFormatTag(wave.format.formatTag);
        entry.SetChannels(wave.format.channels);
        entry.SetSamplesPerSec(wave.format.samplesPerSec);
        entry.SetAvgBytesPerSec(wave.format.avgBytesPerSec);
        entry.SetBlockAlign(wave.format.blockAlign);
        entry.SetBitsPerSample(wave.format.bitsPerSample);
        entry.SetName(spec.name);
        entry.SetPan(spec.pan);
        entry.SetVolume(spec.volume);
        sounds.Add(entry, wave.samples);
    }
    writeFile(args[0], sounds.ToBlock());
    std::printf("%s: %d sounds\n", qPrintable(args[0]), sounds.Count());
    return 0;
}

int list(const QStringList &args) {
    if (args.size() != 1)
        throw gk::Error(Usage);
    TGKSounds sounds;
    sounds.LoadFromFile(args[0]);
    std::printf("%5s  %-11s  %2s  %6s  %4s  %5s  %7s  %9s  %6s  %6s\n", "index", "name", "ch",
                "rate", "bits", "align", "bytes/s", "size", "pan", "volume");
    for (int i = 0; i < sounds.Count(); ++i) {
        const TGKSoundEntry e = sounds.GetEntry(i);
        std::printf("%5d  %-11s  %2u  %6u  %4u  %5u  %7u  %9d  %6d  %6d\n", i, e.Name().constData(),
                    e.Channels(), e.SamplesPerSec(), e.BitsPerSample(), e.BlockAlign(),
                    e.AvgBytesPerSec(), e.Size(), e.Pan(), e.Volume());
    }
    return 0;
}

// Names come from the file, so they must not steer where the output goes.
QString fileNameFor(int index, const QByteArray &name) {
    QString safe;
    for (char c : name)
        safe += (QChar::isLetterOrNumber(uchar(c)) && uchar(c) < 0x80) || c == '-' || c == '_'
                    ? QChar(c)
                    : QChar('_');
    const QString number = QString::number(index).rightJustified(2, '0');
    return (safe.isEmpty() ? number : number + '-' + safe) + ".wav";
}

int extract(const QStringList &args) {
    if (args.size() != 2)
        throw gk::Error(Usage);
    TGKSounds sounds;
    sounds.LoadFromFile(args[0]);
    QDir dir(args[1]);
    if (!dir.mkpath("."))
        throw gk::Error("Cannot create folder \"" + args[1].toStdString() + "\"");
    for (int i = 0; i < sounds.Count(); ++i) {
        const TGKSoundEntry e = sounds.GetEntry(i);
        const QByteArray samples(reinterpret_cast<const char *>(e.Data), e.Size());
        const QString path = dir.filePath(fileNameFor(i, e.Name()));
        writeFile(path, gk::MakeWave(e.Format(), samples));
        std::printf("%s\n", qPrintable(path));
    }
    return 0;
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty()) {
        std::fputs(Usage, stderr);
        return 2;
    }
    const QString command = args.takeFirst();
    try {
        if (command == "build")
            return build(args);
        if (command == "list")
            return list(args);
        if (command == "extract")
            return extract(args);
        std::fputs(Usage, stderr);
        return 2;
    } catch (const gk::Error &e) {
        std::fprintf(stderr, "sdlpack: %s\n", e.what());
        return 1;
    }
}
