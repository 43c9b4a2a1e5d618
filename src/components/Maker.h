#pragma once

// Where the program's maker can be reached: the web site, its pages and the e-mail contact.
// Every window and component that shows or opens one of them takes it from here.
//
// The addresses lie under the reserved "example" domain until the program has a home of its
// own, so that no link ever leads to somebody else's site or mailbox.

#include <QString>

namespace maker {

// The home page, with its trailing slash; the other pages are paths below it.
inline QString HomePage() {
    return QStringLiteral("https://www.brakmoor.example/");
}

// The page where a player joins the mailing list that announces upgrades and new programs.
inline QString MailingListPage() {
    return HomePage() + QStringLiteral("mailinglist.htm");
}

// The page that offers the updater for download.
inline QString UpdaterPage() {
    return HomePage() + QStringLiteral("patchwell.htm");
}

// What a link says when the browser cannot be started.
inline QString NoConnectionMessage() {
    return QStringLiteral("Sorry I can't connect to the internet for some reason.");
}

// The address for support, suggestions and bug reports.
inline QString EMail() {
    return QStringLiteral("games@brakmoor.example");
}

} // namespace maker
