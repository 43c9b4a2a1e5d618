#include "CommandLine.h"

#include "platform/ConfigFolder.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

namespace commandline {

namespace {

const QStringList QuestionOptions = {QStringLiteral("-h"), QStringLiteral("--help"),
                                     QStringLiteral("--help-all"), QStringLiteral("-v"),
                                     QStringLiteral("--version")};

// A folder as the player would type it: the home folder as "~".
QString shown(QString folder) {
    if (folder.endsWith('/'))
        folder.chop(1);
    const QString home = QDir::homePath();
    if (folder == home || folder.startsWith(home + '/'))
        folder.replace(0, home.size(), QStringLiteral("~"));
    return folder;
}

// What the manual page says, in short, with the folders this run would use; after the options.
QString facts() {
    return QStringLiteral(
               "\n"
               "Keys:\n"
               "  P, Pause  pauses the game, and flies on from the pause panel\n"
               "  F1        opens the help\n"
               "  F11       switches between the window and full screen\n"
               "  Ctrl+Q    leaves the game\n"
               "\n"
               "Files:\n"
               "  %1/user.reg\n"
               "      the settings; the folder is $GORBULAX_CONFIG_HOME, else\n"
               "      $XDG_CONFIG_HOME/gorbulax, else ~/.config/gorbulax\n"
               "  %2/gorbulax.dat\n"
               "      the high score table, copied from the shipped one on the first start; the\n"
               "      folder is $GORBULAX_DATA_HOME, else $XDG_DATA_HOME/gorbulax, else\n"
               "      ~/.local/share/gorbulax\n"
               "\n"
               "Environment:\n"
               "  GORBULAX_PACE    stretches (above 1) or shortens (below 1) the fades and the\n"
               "                   laser beam; 0 runs them without waiting\n"
               "  SDL_AUDIODRIVER  the sound driver (pulseaudio, alsa, dummy, ...)\n"
               "  GORBULAX_ONLINE  1 or 0: the machine is taken for online or offline where the\n"
               "                   links and the upgrade check ask\n"
               "\n"
               "Exit status:\n"
               "  0  the game was closed (also by a logout or a signal), or a question answered\n"
               "  1  there is no high score table\n"
               "  2  an unknown option or argument\n"
               "  3  no display could be opened (neither Wayland nor X11)\n"
               "  4  the connection to the display broke while the game ran\n"
               "The manual page tells more: man 6 gorbulax\n")
        .arg(shown(platform::ConfigFolder()), shown(platform::DataFolder()));
}

} // namespace

std::optional<int> answer(const QStringList &arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("A desktop arcade game: fly through a star field and shoot the energy "
                       "parasites with your mouse-aimed laser."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QString program = QCoreApplication::applicationName().toLower();

    QTextStream err(stderr);
    auto refuse = [&](const QString &why) {
        err << program << ": " << why << "\nTry '" << program << " --help' for the options.\n";
        return WrongCommandLine;
    };
    if (!parser.parse(arguments))
        return refuse(parser.errorText());
    if (!parser.positionalArguments().isEmpty())
        return refuse(QStringLiteral("Unexpected argument '%1'.")
                          .arg(parser.positionalArguments().constFirst()));

    QTextStream out(stdout);
    if (parser.isSet(help)) {
        out << parser.helpText() << facts();
        return 0;
    }
    if (parser.isSet(version)) {
        out << QCoreApplication::applicationName() << ' ' << QCoreApplication::applicationVersion()
            << '\n';
        return 0;
    }
    if (parser.isSet(QStringLiteral("help-all")))
        parser.process(arguments); // prints and ends the program
    return std::nullopt;
}

bool asksOnlyAboutTheProgram(int argc, const char *const *argv) {
    if (argc < 2)
        return false;
    for (int i = 1; i < argc; ++i) {
        if (!QuestionOptions.contains(QString::fromLocal8Bit(argv[i])))
            return false;
    }
    return true;
}

Start startFor(int argc, const char *const *argv, const DisplayProber &probe) {
    if (asksOnlyAboutTheProgram(argc, argv))
        return {"offscreen", false, {}};
    if (!toolkit::needsDisplay(argc, argv))
        return {};
    const toolkit::DisplayProbe found = probe();
    if (!found.found())
        return {"offscreen", true, found.tried};
    return {toolkit::answeringPlatform(argc, argv, found), false, {}};
}

std::optional<int> refuseWithoutDisplay(const Start &start, QTextStream &err) {
    if (!start.displayMissing)
        return std::nullopt;
    err << "gorbulax: cannot open a display: tried " << start.displaysTried << '\n';
    return NoDisplay;
}

} // namespace commandline
