#include "platform/Shell.h"
#include "platform/SchemeHandlers.h"
#include "support/DesktopHandlers.h"
#include "support/Env.h"
#include "support/Files.h"
#include "support/Recorder.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using namespace platform;

// Whether this process has a child it has not reaped: a started program must not be one.
bool hasUnreapedChild() {
    errno = 0;
    return !(::waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD);
}

TEST(Shell, SplitsParametersAsTheOriginalCommandLine) {
    const struct {
        const char *line;
        QStringList arguments;
    } cases[] = {
        {"", {}},
        {" \t ", {}},
        {"a b\t c", {"a", "b", "c"}},
        {R"("two words" after)", {"two words", "after"}},
        {R"(a "" b)", {"a", "", "b"}},
        {R"(half" quoted "part)", {"half quoted part"}},
        {R"("say ""hi""")", {R"(say "hi")"}},
        {R"(C:\Program Files\web)", {R"(C:\Program)", R"(Files\web)"}},
        {R"(\"literal\")", {R"("literal")"}},
        {R"(a\\\"b)", {R"(a\"b)"}},
        {R"("ends in\\" next)", {R"(ends in\)", "next"}},
        {R"(x\\\\"y z")", {R"(x\\y z)"}},
        {"Gorbulax version.dll /home/player/My Games/",
         {"Gorbulax", "version.dll", "/home/player/My", "Games/"}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Shell::SplitCommandLine(c.line), c.arguments) << c.line;
}

TEST(Shell, ReportsWhyNothingStarted) {
    QTemporaryDir dir;
    writeFile(dir.filePath("notes.txt"), "not a program");
    writeFile(dir.filePath("fake"), "no program either, though marked as one");
    QFile::setPermissions(dir.filePath("fake"), QFile::ReadOwner | QFile::ExeOwner);
    const struct {
        QString file;
        QString directory;
        int result;
    } cases[] = {
        {"", "", Shell::SE_ERR_FNF},
        {dir.filePath("missing"), "", Shell::SE_ERR_FNF},
        {dir.filePath("no folder/missing"), "", Shell::SE_ERR_PNF},
        {"no-such-program-anywhere", "", Shell::SE_ERR_FNF},
        {"missing", dir.path(), Shell::SE_ERR_FNF},
        {dir.filePath("notes.txt"), dir.filePath("no folder"), Shell::SE_ERR_PNF},
        {dir.filePath("FAKE"), "", Shell::ERROR_BAD_FORMAT},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Shell::Execute(c.file, "-x", c.directory, Shell::SW_SHOW), c.result)
            << c.file.toStdString() << " in " << c.directory.toStdString();
    EXPECT_FALSE(hasUnreapedChild());
}

// The program started for real, from a path in upper case below a folder with blanks, with its
// parameters split, in its working folder, without this program's library variables, and
// detached: this process keeps no child of it.
TEST(Shell, StartsAProgramDirectlyAndDetached) {
    QTemporaryDir dir;
    const Recorder program(dir.filePath("My Updater/update.sh"));
    QDir().mkpath(dir.filePath("Work Folder"));
    ScopedEnv libraries("LD_LIBRARY_PATH", "/nowhere/lib");
    ScopedEnv preload("LD_PRELOAD", "");

    const int result = Shell::Execute(dir.filePath("MY UPDATER/UPDATE.SH").toUpper(),
                                      R"(Gorbulax "version.dll" "/home/My Games/" 'q')",
                                      dir.filePath("work folder"), Shell::SW_SHOW);
    EXPECT_GT(result, 32);
    EXPECT_FALSE(hasUnreapedChild());
    EXPECT_EQ(program.lines(),
              QStringList({"program=" + program.path(), "arg=Gorbulax", "arg=version.dll",
                           "arg=/home/My Games/", "arg='q'",
                           "folder=" + dir.filePath("Work Folder"), "libraries=unset|unset"}));
    EXPECT_FALSE(hasUnreapedChild());

    // By its bare name, from the given folder.
    program.reset();
    EXPECT_GT(Shell::Execute("update.sh", "", dir.filePath("My Updater"), Shell::SW_SHOW), 32);
    ASSERT_TRUE(program.lines());
    EXPECT_EQ(program.lines()->at(0), "program=" + program.path());

    // A file this program holds open, even one not marked close-on-exec, is none of the
    // program's: it lists the files it holds.
    const int held =
        ::open(QFile::encodeName(dir.filePath("held open")).constData(), O_CREAT | O_WRONLY, 0600);
    ASSERT_GE(held, 0);
    const QString lister = dir.filePath("My Updater/files.sh");
    const QString listed = lister + ".record";
    writeFile(lister, "#!/bin/sh\nfor f in /proc/$$/fd/*; do readlink \"$f\"; done > \"$0.part\"\n"
                      "mv \"$0.part\" \"$0.record\"\n");
    QFile::setPermissions(lister, QFile::ReadOwner | QFile::ExeOwner);
    EXPECT_GT(Shell::Execute(lister, "", "", Shell::SW_SHOW), 32);
    ::close(held);
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(listed); }, 10'000));
    const QByteArray files = fileBytes(listed);
    EXPECT_TRUE(files.contains("files.sh.part")) << files.toStdString();
    EXPECT_FALSE(files.contains("held open")) << files.toStdString();
}

// Documents, folders, programs of the original platform and addresses go to the desktop's
// opener, found in PATH; a test's own stands in for it here.
TEST(Shell, OpensDocumentsAndAddressesWithTheDesktopsOpener) {
    QTemporaryDir dir;
    const Recorder opener(dir.filePath("bin/xdg-open"));
    writeFile(dir.filePath("Read Me.txt"), "a document");
    // A program of the original platform, marked executable as a FAT drive marks every file.
    writeFile(dir.filePath("Patchwell.exe"), QByteArray("MZ\x90\0\3\0", 6));
    QFile::setPermissions(dir.filePath("Patchwell.exe"), QFile::ReadOwner | QFile::ExeOwner);
    ScopedEnv path("PATH", QFile::encodeName(dir.filePath("bin")) + ":/usr/bin:/bin");
    DesktopHandlers handlers;
    handlers.add("https", "/bin/true");
    handlers.add("mailto", "/bin/true");
    const struct {
        QString file;
        QString opened;
    } cases[] = {
        {"https://www.brakmoor.example/a?b=c d", "https://www.brakmoor.example/a?b=c d"},
        {"mailto:games@brakmoor.example?subject=", "mailto:games@brakmoor.example?subject="},
        {dir.filePath("READ ME.TXT"), dir.filePath("Read Me.txt")},
        {dir.path(), dir.path()},
        {dir.filePath("PATCHWELL.EXE"), dir.filePath("Patchwell.exe")},
    };
    for (const auto &c : cases) {
        opener.reset();
        EXPECT_GT(Shell::Execute(c.file, "--ignored", "", Shell::SW_SHOWNORMAL), 32);
        const auto lines = opener.lines();
        ASSERT_TRUE(lines) << c.file.toStdString();
        EXPECT_EQ(lines->mid(0, 2), QStringList({"program=" + opener.path(), "arg=" + c.opened}))
            << c.file.toStdString();
    }

    // A drive letter is no scheme: "C:" names a file, here one that is not there.
    opener.reset();
    EXPECT_EQ(Shell::Execute(R"(C:\Web\browser.exe)", "", "", Shell::SW_SHOW), Shell::SE_ERR_FNF);
    EXPECT_EQ(Shell::Execute("C:page.htm", "", "", Shell::SW_SHOW), Shell::SE_ERR_FNF);

    ScopedEnv noOpener("PATH", QFile::encodeName(dir.filePath("Work")));
    EXPECT_EQ(Shell::Execute("https://www.brakmoor.example/", "", "", Shell::SW_SHOW),
              Shell::SE_ERR_NOASSOC);
}

// The desktop's opener, started for an address of a scheme that no program of the desktop
// takes, would fail out of sight: that is no association, whether the address is the file or
// the opener is the program with the address for its parameter (as the registry's default
// web page command has it). BROWSER, which the opener falls back to, takes any address.
TEST(Shell, AnAddressNoProgramOfTheDesktopTakesHasNoAssociation) {
    QTemporaryDir dir;
    const Recorder opener(dir.filePath("bin/xdg-open"));
    ScopedEnv path("PATH", QFile::encodeName(dir.filePath("bin")) + ":/usr/bin:/bin");
    const QString page = "https://www.brakmoor.example/";
    const QString mail = "mailto:games@brakmoor.example?subject=Gorbulax";
    const struct {
        QStringList schemes; // registered with the desktop
        QByteArray browser;
        QString address;
        bool opened;
    } cases[] = {
        {{}, {}, page, false},
        {{}, {}, mail, false},
        {{"https"}, {}, page, true},
        {{"https"}, {}, mail, false},
        {{"https", "mailto"}, {}, mail, true},
        {{}, "/bin/true", mail, true},
    };
    for (const auto &c : cases) {
        DesktopHandlers handlers;
        for (const QString &scheme : c.schemes)
            handlers.add(scheme, "/bin/true");
        ScopedEnv browser("BROWSER", c.browser);
        EXPECT_EQ(SchemeHandlers::HasHandler(SchemeHandlers::SchemeOf(c.address)), c.opened)
            << c.address.toStdString();
        for (const auto &[file, parameters] :
             {std::pair(c.address, QString()), std::pair(QStringLiteral("xdg-open"), c.address)}) {
            opener.reset();
            testing::internal::CaptureStderr();
            const int result = Shell::Execute(file, parameters, "", Shell::SW_SHOW);
            const std::string said = testing::internal::GetCapturedStderr();
            EXPECT_EQ(result > 32, c.opened) << file.toStdString() << " " << result;
            if (c.opened) {
                ASSERT_TRUE(opener.lines());
                EXPECT_EQ(opener.lines()->value(1), "arg=" + c.address);
                EXPECT_EQ(said, "");
            } else {
                EXPECT_EQ(result, Shell::SE_ERR_NOASSOC);
                // One line, naming the scheme no program takes.
                EXPECT_EQ(said, "Gorbulax: no program of the desktop opens " +
                                    SchemeHandlers::SchemeOf(c.address).toStdString() +
                                    ": addresses\n");
            }
        }
    }
    // A program of another name is not the desktop's opener and is not asked about.
    EXPECT_TRUE(SchemeHandlers::CanOpen("/usr/bin/firefox", {page}));
    EXPECT_FALSE(SchemeHandlers::CanOpen("/usr/bin/xdg-open", {page}));
}

TEST(Shell, TellsTheSchemeOfAnAddress) {
    const struct {
        const char *address;
        const char *scheme;
    } cases[] = {
        {"https://www.brakmoor.example/", "https"},
        {"MailTo:games@brakmoor.example", "mailto"},
        {"svn+ssh://host/x", "svn+ssh"},
        {R"(C:\Web\browser.exe)", ""},
        {"/home/player/Read Me.txt", ""},
        {"", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(SchemeHandlers::SchemeOf(c.address), c.scheme) << c.address;
}

} // namespace
