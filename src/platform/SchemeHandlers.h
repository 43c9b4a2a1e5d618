#pragma once

// Which addresses the desktop can open. The desktop's opener, xdg-open, hands an address to
// the program the desktop names for its scheme (its "x-scheme-handler/https" default), or to
// the browser named by BROWSER; with neither it fails in the background, long after it was
// started. The original platform told its callers at once that an address had "no
// association"; these questions let the shell do the same.

#include <QString>
#include <QStringList>

namespace platform::SchemeHandlers {

// The scheme of an address in lower case: "https" for "https://…", "mailto" for "mailto:…";
// empty for anything else, a file name or a drive letter's path among them.
QString SchemeOf(const QString &address);

// Whether the desktop has a program for addresses of `scheme`: it names one when asked
// `xdg-mime query default x-scheme-handler/<scheme>` (which follows the desktop's own rules:
// mimeapps.list, defaults.list, the installed programs' desktop files), or BROWSER names one.
bool HasHandler(const QString &scheme);

// Whether starting `program` with `arguments` may open them: always, unless the program is the
// desktop's opener and an argument is an address whose scheme the desktop has no program for.
bool CanOpen(const QString &program, const QStringList &arguments);

} // namespace platform::SchemeHandlers
