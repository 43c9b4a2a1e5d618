#pragma once

// Starting programs, opening documents and web addresses, as the original platform's shell
// did: the caller names a file (or an address), its parameters, a working folder and how the
// window should show, and gets back a number above 32 when something was started or one of the
// shell's small error numbers when nothing was.
//
// A file that is an executable program is started directly, with no shell in between, so
// nothing in the parameters is ever interpreted by one. Everything else, a document, a folder,
// a program of the original platform that this system cannot run itself, or an address such as
// "https://…" or "mailto:…", goes to the desktop's opener, xdg-open, which runs it with whatever
// the desktop has for it (and takes no parameters). The
// started program is detached: it outlives this one, leaves no zombie behind, and inherits
// neither LD_LIBRARY_PATH nor LD_PRELOAD (this program's library set-up is not its business).

#include <QString>
#include <QStringList>

namespace platform::Shell {

// How a started program's window should show. Desktop programs on this platform decide that
// for themselves, so the value is accepted and not passed on.
inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_SHOWMAXIMIZED = 3;
inline constexpr int SW_SHOW = 5;

// The results. Anything above 32 means started.
inline constexpr int Started = 42;
inline constexpr int SE_ERR_FNF = 2;          // the file is not there
inline constexpr int SE_ERR_PNF = 3;          // its folder, or the working folder, is not there
inline constexpr int SE_ERR_ACCESSDENIED = 5; // the program may not be started
inline constexpr int SE_ERR_OOM = 8;          // no process could be made
inline constexpr int ERROR_BAD_FORMAT = 11;   // marked executable, but not a program
inline constexpr int SE_ERR_NOASSOC = 31;     // no opener, or none for the address's scheme

// Starts `file`. A file name with no folder is looked for in `directory` (when given) and then
// in the folders of PATH; a relative path is taken from `directory`, or from the current
// folder when `directory` is empty. Letter case does not matter in file or folder names.
// `parameters` is split into arguments as the original platform split a command line (see
// SplitCommandLine) and goes to a program only: a document or an address is opened on its own.
// A non-empty `directory` is the started program's working folder.
int Execute(const QString &file, const QString &parameters, const QString &directory, int show);

// Splits a command line into arguments the way the original platform's programs did: blanks
// (spaces and tabs) separate arguments outside double quotes; a double quote opens or closes a
// quoted part, and inside one two double quotes stand for one; backslashes are literal except
// before a double quote, where each pair gives one backslash and an odd one left over makes
// the quote a literal character. `""` is an empty argument.
QStringList SplitCommandLine(const QString &commandLine);

} // namespace platform::Shell
