// gkpack: builds, lists and extracts the libraries of the game library's formats.
//
//   gkpack sound build|list|extract ...    sound libraries (.SDL) and WAV files
//   gkpack image build|list|extract ...    image libraries (.IML) and PNG files
//   gkpack map build|list|extract ...      map libraries and raw data files
#include "Pack.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

// The whole command syntax, for `gkpack --help`; the usage lines of a wrong command line are
// the short form of it.
const char *const Help =
    "Usage: gkpack FAMILY COMMAND ARGUMENTS...\n"
    "Builds, lists and extracts the game library's formats: sound libraries (.SDL), image\n"
    "libraries (.IML) and map libraries.\n"
    "\n"
    "  gkpack sound build OUT.SDL name=file.wav[:pan[:volume]] ...\n"
    "      A sound library from WAV files; pan and volume in hundredths of a decibel\n"
    "      (0 when left out). sdlpack is the same family under its old name.\n"
    "  gkpack image build [--reduce] [--colors N] OUT.IML [name=]picture.png[:width[:height]] ...\n"
    "      An image library from PNG files; without a name the file's base name is taken.\n"
    "      Indexed PNGs that share a palette keep it; other pictures (or all, with --reduce)\n"
    "      are reduced together to one palette whose entry 0 is the see-through black, with\n"
    "      at most N colours after it when --colors is given (1 to 255). A picture with a\n"
    "      frame size is a strip, cut into frames name-0, name-1, ... left to right, then\n"
    "      top to bottom; the height defaults to the picture's.\n"
    "  gkpack map build OUT name=file.raw[:width[:height]] ...\n"
    "      A map library from raw data files; width and height are kept as given (0 when\n"
    "      left out).\n"
    "  gkpack FAMILY list [--palette] LIB\n"
    "      Lists the entries (--palette, for images only, adds the 256 palette entries).\n"
    "  gkpack FAMILY extract LIB DIR\n"
    "      Writes every entry to a file in DIR (WAV, indexed PNG or raw data) and prints\n"
    "      for each the argument that builds it again: give those lines to build.\n"
    "\n"
    "Names: up to 11 characters for sounds and pictures, 15 for maps. \"=file\" gives an\n"
    "entry the empty name. A file name may hold colons: only trailing numbers count.\n"
    "\n"
    "Exit status: 0 on success, 1 when a file cannot be read or written (the message names\n"
    "it), 2 for a command line that does not fit (the usage lines are printed).\n";

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        std::fputs(Help, stdout);
        return 0;
    }
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
    std::fprintf(stderr, "gkpack --help tells more.\n");
    return 2;
}
