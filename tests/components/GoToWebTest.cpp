#include "components/GoToWeb.h"
#include "platform/ConfigFolder.h"
#include "platform/Registry.h"
#include "platform/Shell.h"
#include "support/Files.h"
#include "support/Recorder.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Keys below HKEY_CLASSES_ROOT as a registry file holds them, written "key=default text",
// "key=dword:…", "key=expand:text" (a REG_EXPAND_SZ) or a bare "key" without a default value,
// separated by " | ".
QByteArray classesFile(const QString &keys) {
    QByteArray file = "REGEDIT4\n";
    for (const QString &entry : keys.split(" | ", Qt::SkipEmptyParts)) {
        const qsizetype equals = entry.indexOf(u'=');
        file += "\n[HKEY_CLASSES_ROOT\\" + QFile::encodeName(entry.left(equals)) + "]\n";
        if (equals < 0)
            continue;
        QByteArray value = QFile::encodeName(entry.mid(equals + 1));
        if (value.startsWith("expand:"))
            value = "hex(2):" + (value.mid(7) + '\0').toHex(',');
        else if (!value.startsWith("dword:"))
            value = '"' + value.replace("\\", "\\\\").replace("\"", "\\\"") + '"';
        file += "@=" + value + "\n";
    }
    return file;
}

// A registry of a test's own, holding `keys` over the built-in defaults.
struct Classes {
    explicit Classes(const QString &keys) : registry(dir.filePath("user.reg")) {
        writeFile(registry.filePath(), classesFile(keys));
    }
    QTemporaryDir dir;
    platform::Registry registry;
};

TEST(GoToWeb, FindsTheOpenCommandOfTheFirstWebPageEnding) {
    const QString longest(1024, u'a');
    const struct {
        QString keys;
        QString command;
    } cases[] = {
        {"", R"(xdg-open "%1")"}, // the desktop's opener when the user names none
        {R"(.htm=one | one\shell\open\command=1 %1 | .HTML=two | two\shell\open\command=2)",
         "1 %1"},
        {R"(.htm=notype | .htm\shell\open\command=own)", "own"},
        {R"(.htm= | .htm\shell\open\command=own)", "own"},
        {R"(.htm= | .html= | .shtml=server | server\shell\open\command=3)", "3"},
        // An ending without a default value is passed over, its own command too.
        {R"(.htm= | .html= | .shtml | .shtml\shell\open\command=own)", ""},
        {".htm= | .html=", ""},
        {".htm=long | long\\shell\\open\\command=" + longest, longest},
        {".htm=long | long\\shell\\open\\command=a" + longest + " | .htm\\shell\\open\\command=own",
         "own"},
        {R"(.htm=n | n\shell\open\command=dword:00000001 | .htm\shell\open\command=own)", "own"},
        {R"(.htm=x | x\shell\open\command=expand:/opt/web/browser %1)", "/opt/web/browser %1"},
    };
    for (const auto &c : cases) {
        Classes classes(c.keys);
        EXPECT_EQ(TGoToWeb::FindBrowser(classes.registry), c.command)
            << c.keys.left(80).toStdString();
    }
}

TEST(GoToWeb, SplitsTheCommandIntoProgramAndExtraParameters) {
    const struct {
        QString command;
        QString program;
        QString parameters;
    } cases[] = {
        {R"(C:\Web\browser.exe)", R"(C:\Web\browser.exe)", ""},
        {R"("C:\Program Files\Web\browser.exe" "%1")", R"(C:\Program Files\Web\browser.exe)", ""},
        {R"("C:\Program Files\Web\browser.exe" -nohome "%1")",
         R"(C:\Program Files\Web\browser.exe)", "-nohome"},
        // The placeholder and nothing else goes.
        {R"(C:\Web\browser.exe -url %1 -new)", R"(C:\Web\browser.exe)", "-url  -new"},
        {R"(C:\Web\browser.exe -url=%1)", R"(C:\Web\browser.exe)", "-url="},
        // Split at the right-most ending: the first parameters go with the program.
        {R"(C:\Windows\run.exe C:\Web\Browser.EXE %1)", R"(C:\Windows\run.exe C:\Web\Browser.EXE)",
         ""},
        {R"(/opt/web/start.Bat -x %1)", "/opt/web/start.Bat", "-x"},
        {"browser.com\t-a %1 \x01", "browser.com", "-a"},
        // Without an ending the first word is the program.
        {R"(xdg-open "%1")", "xdg-open", ""},
        {R"( "/opt/My Web/browser" --new-window %1)", "/opt/My Web/browser", "--new-window"},
        {"exe", "exe", ""},
    };
    for (const auto &c : cases) {
        const TGoToWeb::BrowserCommand split = TGoToWeb::SplitBrowserCommand(c.command);
        EXPECT_EQ(split.program, c.program) << c.command.toStdString();
        EXPECT_EQ(split.parameters, c.parameters) << c.command.toStdString();
    }
}

// What the browser is started with, as "program|parameters|folder|show".
TEST(GoToWeb, HandsTheBrowserTheAddressAfterItsParameters) {
    const QString page = "https://www.brakmoor.example/news";
    const QString mailto = "mailto:games@brakmoor.example?subject=";
    const auto [max, normal] = std::pair(TGoToWeb::gwMaximized, TGoToWeb::gwNormal);
    const struct {
        QString command;
        bool mail;
        QString subject;
        TGoToWeb::TBrowserState state;
        int shellResult;
        bool result;
        QString started;
    } cases[] = {
        {R"(C:\Web\browser.exe)", false, "", max, 42, true,
         R"(C:\Web\browser.exe| )" + page + "||3"},
        {R"("C:\Program Files\b.exe" "%1")", false, "", normal, 33, true,
         R"(C:\Program Files\b.exe| )" + page + "||1"},
        {R"("C:\Program Files\b.exe" -nohome "%1")", false, "", max, 42, true,
         R"(C:\Program Files\b.exe|-nohome )" + page + "||3"},
        {R"(C:\Web\browser.exe)", true, "", max, 42, true,
         R"(C:\Web\browser.exe| )" + mailto + "||3"},
        {R"(C:\Web\b.exe -compose %1)", true, "High scores & more", normal, 42, true,
         R"(C:\Web\b.exe|-compose )" + mailto + "High scores & more||1"},
        {R"(C:\Web\browser.exe)", false, "", max, 32, false,
         R"(C:\Web\browser.exe| )" + page + "||3"},
        {R"(C:\Web\browser.exe)", true, "", max, 2, false,
         R"(C:\Web\browser.exe| )" + mailto + "||3"},
    };
    for (const auto &c : cases) {
        Classes classes(R"(.htm=page | page\shell\open\command=)" + c.command);
        TGoToWeb web;
        web.setRegistry(&classes.registry);
        QStringList started;
        web.setLauncher([&](const QString &file, const QString &parameters,
                            const QString &directory, int show) {
            started << QStringLiteral("%1|%2|%3|%4").arg(file, parameters, directory).arg(show);
            return c.shellResult;
        });
        web.Url = page;
        web.EMail = "games@brakmoor.example";
        web.EMailSubject = c.subject;
        web.BrowserState = c.state;
        EXPECT_EQ(c.mail ? web.SendEMail() : web.GoToUrl(), c.result) << c.command.toStdString();
        EXPECT_EQ(started, QStringList{c.started});
    }

    Classes none(".htm= | .html=");
    TGoToWeb web;
    web.setRegistry(&none.registry);
    int launched = 0;
    web.setLauncher([&](auto &&...) { return ++launched, 42; });
    EXPECT_FALSE(web.GoToUrl());
    EXPECT_FALSE(web.SendEMail());
    EXPECT_EQ(launched, 0);
}

// The run's own user.reg, holding `keys` for the length of a test.
class UserClasses {
public:
    explicit UserClasses(const QString &keys) : path_(platform::ConfigFolder() + "/user.reg") {
        QDir().mkpath(platform::ConfigFolder());
        kept_ = fileBytes(path_);
        writeFile(path_, classesFile(keys));
    }
    ~UserClasses() { kept_.isEmpty() ? void(QFile::remove(path_)) : writeFile(path_, kept_); }

private:
    QString path_;
    QByteArray kept_;
};

// The user's registry names a program of the test's own, which is started for real.
TEST(GoToWeb, StartsTheRegisteredBrowserForReal) {
    QTemporaryDir dir;
    const Recorder browser(dir.filePath("Web Browser/browser.exe"));
    const Recorder opener(dir.filePath("Web Browser/opener"));
    // A folder that the first word of the unquoted "…/Web Browser/opener" names: no program.
    ASSERT_TRUE(QDir(dir.path()).mkdir("Web"));
    const QString page = "arg=https://www.brakmoor.example/";
    const struct {
        QString command;
        bool mail;
        const Recorder &started;
        QStringList arguments;
    } cases[] = {
        {'"' + dir.filePath("WEB BROWSER/BROWSER.EXE") + R"(" -nohome "%1")",
         false,
         browser,
         {"arg=-nohome", page}},
        {'"' + dir.filePath("Web Browser/browser.exe") + R"(" -nohome "%1")",
         true,
         browser,
         {"arg=-nohome", "arg=mailto:games@brakmoor.example?subject=Gorbulax"}},
        {'"' + dir.filePath("Web Browser/opener") + R"(" "%1")", false, opener, {page}},
        // Blanks in a path without quotes: the prefix that names a program is the program.
        {dir.filePath("Web Browser/opener") + R"( "%1")", false, opener, {page}},
        {dir.filePath("Web Browser/opener") + " --new %1", false, opener, {"arg=--new", page}},
    };
    for (const auto &c : cases) {
        c.started.reset();
        UserClasses classes(R"(.htm=testpage | testpage\shell\open\command=)" + c.command);
        TGoToWeb web;
        web.Url = "https://www.brakmoor.example/";
        web.EMail = "games@brakmoor.example";
        web.EMailSubject = "Gorbulax";
        ASSERT_TRUE(c.mail ? web.SendEMail() : web.GoToUrl()) << c.command.toStdString();
        const auto lines = c.started.lines();
        ASSERT_TRUE(lines) << c.command.toStdString();
        EXPECT_EQ(lines->mid(0, c.arguments.size() + 1),
                  QStringList({"program=" + c.started.path()}) + c.arguments);
    }

    UserClasses gone(R"(.htm=testpage | testpage\shell\open\command=")" +
                     dir.filePath("gone/browser.exe") + "\" %1");
    EXPECT_FALSE(TGoToWeb().GoToUrl());
}

// The updater's path is kept in upper case and is longer than the 80 characters the original
// launcher copied; it starts whole, with its parameters.
TEST(GoToWeb, LaunchProgramStartsALongUpperCasePathWithItsParameters) {
    QTemporaryDir dir;
    const Recorder updater(
        dir.filePath("Brakmoor Updater/A folder name long enough to pass eighty/updater"));
    const QString stored = updater.path().toUpper();
    ASSERT_GT(stored.size(), 80);
    EXPECT_GT(LaunchProgram(stored, "Gorbulax version.dll /home/player/games/", "",
                            platform::Shell::SW_SHOW),
              32);
    EXPECT_EQ(updater.lines(),
              QStringList({"program=" + updater.path(), "arg=Gorbulax", "arg=version.dll",
                           "arg=/home/player/games/", "folder=" + QDir::currentPath(),
                           "libraries=unset|unset"}));
    EXPECT_EQ(LaunchProgram(dir.filePath("nowhere/updater"), "", "", platform::Shell::SW_SHOW),
              platform::Shell::SE_ERR_PNF);
}

} // namespace
