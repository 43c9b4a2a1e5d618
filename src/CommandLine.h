#pragma once

// The program's command line: --help, --version and nothing else of its own. The toolkit's
// options (-platform, -display and the others) are taken out of the arguments by the
// application before these are read.

#include <QStringList>

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

} // namespace commandline
