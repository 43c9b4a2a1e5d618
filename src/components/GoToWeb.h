#pragma once

// Opens a web address in the user's web browser, or starts an e-mail message through it, with
// the program the user's system names for web pages; and LaunchProgram, which starts any
// program. Failures show in the results, never as errors: the callers tell the player.

#include "components/Maker.h"

#include <QObject>
#include <QString>

#include <functional>

namespace platform {
class Registry;
}

class TGoToWeb : public QObject {
    Q_OBJECT

public:
    enum TBrowserState { gwMaximized, gwNormal };
    Q_ENUM(TBrowserState)
    Q_PROPERTY(QString Url MEMBER Url)
    Q_PROPERTY(QString EMail MEMBER EMail)
    Q_PROPERTY(QString EMailSubject MEMBER EMailSubject)
    Q_PROPERTY(TBrowserState BrowserState MEMBER BrowserState)

    explicit TGoToWeb(QObject *parent = nullptr);

    QString Url = maker::HomePage();
    QString EMail = maker::EMail();
    QString EMailSubject;
    TBrowserState BrowserState = gwMaximized;

    // Opens Url in the browser. True when the browser was started; False when the system
    // names no browser or it could not be started.
    bool GoToUrl();
    // Hands the browser "mailto:" EMail "?subject=" EMailSubject, as it stands: nothing is
    // encoded, and "?subject=" is there also when the subject is empty. True as for GoToUrl.
    bool SendEMail();

    // The open command of the first of ".HTM", ".HTML", ".SHTML", ".SHTM" that has one below
    // HKEY_CLASSES_ROOT: its file type's "shell\open\command", else the ending's own; empty
    // when none has. A text longer than 1,024 bytes is refused as if it were not there.
    static QString FindBrowser(platform::Registry &registry);

    // A handler command cut into the program and the extra parameters that go before the
    // address. The program ends with the right-most ".EXE", ".BAT" or ".COM" (letter case
    // aside); a command with none of them ends its program at the first blank outside double
    // quotes. From the parameters the double quotes and the placeholders ("%1", from the "%" to
    // the next space) are removed, and blanks and control characters at either end.
    struct BrowserCommand {
        QString program;
        QString parameters;
    };
    static BrowserCommand SplitBrowserCommand(const QString &command);

    // Where the handler is looked up and what starts it: the user's registry and the shell,
    // unless a test puts others here.
    using Launcher = std::function<int(const QString &file, const QString &parameters,
                                       const QString &directory, int show)>;
    void setRegistry(platform::Registry *registry) { registry_ = registry; }
    void setLauncher(Launcher launcher) { launch_ = std::move(launcher); }

private:
    bool open(const QString &address);

    platform::Registry *registry_ = nullptr;
    Launcher launch_;
};

// Starts `file` with `parameters` in `directory` (empty: none), `show` one of the SW_ values
// of platform/Shell.h. The shell's result: above 32 when started. The strings are passed whole,
// however long. Raises nothing.
int LaunchProgram(const QString &file, const QString &parameters, const QString &directory,
                  int show);
