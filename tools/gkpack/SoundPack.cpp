// Sound libraries (.SDL) from WAV files and back, so the game's sounds can be made from and
// turned back into ordinary WAV files.
#include "Pack.h"

#include "gk/Error.h"
#include "gk/Wave.h"
#include "gk/gkslib.h"

#include <QDir>

#include <cstdio>

namespace gkpack {

const char *const SoundUsage = "build OUT.SDL name=file.wav[:pan[:volume]] ...\n"
                               "list LIB.SDL\n"
                               "extract LIB.SDL DIR\n";

namespace {

int build(const QStringList &args) {
    if (args.size() < 2)
        throw UsageError();
    TGKSounds sounds;
    for (const QString &arg : args.mid(1)) {
        const NamedFile spec = ParseNamedFile(arg, 2);
        if (!spec.named)
            throw gk::Error("expected name=file.wav[:pan[:volume]], got \"" + arg.toStdString() +
                            "\"");
        const gk::Wave wave = gk::ReadWaveFile(spec.file);
        TGKSoundEntry entry;
        entry.SetFormatTag(wave.format.formatTag);
        entry.SetChannels(wave.format.channels);
        entry.SetSamplesPerSec(wave.format.samplesPerSec);
        entry.SetAvgBytesPerSec(wave.format.avgBytesPerSec);
        entry.SetBlockAlign(wave.format.blockAlign);
        entry.SetBitsPerSample(wave.format.bitsPerSample);
        ForFile(spec.file, [&] { entry.SetName(spec.name); });
        entry.SetPan(spec.numbers.value(0, 0));
        entry.SetVolume(spec.numbers.value(1, 0));
        sounds.Add(entry, wave.samples);
    }
    WriteFile(args[0], sounds.ToBlock());
    std::printf("%s: %d sounds\n", qPrintable(args[0]), sounds.Count());
    return 0;
}

int list(const QStringList &args) {
    if (args.size() != 1)
        throw UsageError();
    TGKSounds sounds;
    ForFile(args[0], [&] { sounds.LoadFromFile(args[0]); });
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

// Prints for each sound the argument that builds it again.
int extract(const QStringList &args) {
    if (args.size() != 2)
        throw UsageError();
    TGKSounds sounds;
    ForFile(args[0], [&] { sounds.LoadFromFile(args[0]); });
    MakeFolder(args[1]);
    const QDir dir(args[1]);
    for (int i = 0; i < sounds.Count(); ++i) {
        const TGKSoundEntry e = sounds.GetEntry(i);
        const QByteArray samples(reinterpret_cast<const char *>(e.Data), e.Size());
        const QString path = dir.filePath(OutputName(i, e.Name(), "wav"));
        WriteFile(path, gk::MakeWave(e.Format(), samples));
        std::printf("%s=%s:%d:%d\n", e.Name().constData(), qPrintable(path), e.Pan(), e.Volume());
    }
    return 0;
}

} // namespace

int SoundCommand(const QStringList &args) {
    return Dispatch(args, {build, list, extract});
}

} // namespace gkpack
