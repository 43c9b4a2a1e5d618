#pragma once

// The program's command line: --help, --version and nothing else of its own. The toolkit's
// options (-platform, -display and the others) are taken out of the arguments by the
// application before these are read.

#include "toolkit/Display.h"

#include <QByteArray>
#include <QStringList>
#include <QTextStream>

#include <functional>
#include <optional>

namespace commandline {

// The program's exit statuses.
enum ExitStatus : int {
    Closed = 0,       // the game was closed (also by a logout or a signal), or a question answered
    NoScoreTable = 1, // the high score table is missing
    WrongCommandLine = 2, // an unknown option or argument
    NoDisplay = 3,        // no display could be opened
    DisplayLost = 4,      // the display connection broke while the game ran
};

// The exit status when the program is to end here, having answered the help or the version
// on standard output or refused an unknown option or argument on standard error (2);
// nothing when it is to play. `--help-all`, which lists the toolkit's options too, is
// answered by the toolkit, which ends the program itself.
std::optional<int> answer(const QStringList &arguments);

// Whether the arguments only ask for the help or the version, which needs no display.
bool asksOnlyAboutTheProgram(int argc, const char *const *argv);

// How the toolkit starts, settled before it does. The help and the version are answered, and
// an unknown option refused, in a terminal without a display too: those are read on the
// toolkit's display-less platform, and only then is the player told there is no display.
struct Start {
    QByteArray platform;         // what QT_QPA_PLATFORM becomes; empty: it stays as it is
    bool displayMissing = false; // none of the displays the toolkit would look for answered
    QString displaysTried;       // what was tried and why it failed, when none answered
};

// The start for the arguments and the platform named; `probe` tries the displays and is asked
// only when the toolkit will look for one.
using DisplayProber = std::function<toolkit::DisplayProbe()>;
Start startFor(int argc, const char *const *argv, const DisplayProber &probe);

// Once the options are answered: NoDisplay, said in one line on `err`, when the display is
// missing; nothing when the game is to play.
std::optional<int> refuseWithoutDisplay(const Start &start, QTextStream &err);

} // namespace commandline
