#include "platform/Profile.h"
#include "platform/ConfigFolder.h"
#include "support/Env.h"
#include "support/Files.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <array>
#include <map>

namespace {

using namespace platform;

// As the options read a string: a buffer of 1,024 characters.
std::string read(const QString &section, const QString &key, const QString &fileName,
                 const QString &defaultValue = "(default)") {
    std::array<char, 1024> buffer;
    buffer.fill('#');
    const uint32_t count = GetPrivateProfileString(section, key, defaultValue, buffer.data(),
                                                   uint32_t(buffer.size()), fileName);
    EXPECT_EQ(buffer[count], '\0');
    return std::string(buffer.data(), count);
}

TEST(ConfigFolder, OwnVariableThenAbsoluteXdgThenHome) {
    ScopedEnv home("HOME", "/home/player");
    {
        ScopedEnv own("GORBULAX_CONFIG_HOME", "/own");
        ScopedEnv xdg("XDG_CONFIG_HOME", "/xdg");
        EXPECT_EQ(ConfigFolder(), "/own");
    }
    ScopedEnv own("GORBULAX_CONFIG_HOME", "");
    {
        ScopedEnv xdg("XDG_CONFIG_HOME", "/xdg");
        EXPECT_EQ(ConfigFolder(), "/xdg/gorbulax");
    }
    ScopedEnv xdg("XDG_CONFIG_HOME", "relative");
    EXPECT_EQ(ConfigFolder(), "/home/player/.config/gorbulax");
}

TEST(Profile, ReadsIgnoreCaseBlanksQuotesAndComments) {
    QTemporaryDir dir;
    const QString file = dir.filePath("game.ini");
    writeFile(file, "Stray=before any section\n"
                    "; Speed=comment\n"
                    "  [ Game Play ]  \n"
                    "  Speed  =  12  \n"
                    "Name = \"  spaced  \"\n"
                    "Single='x'\n"
                    "Lone=\"\n"
                    "# Hidden=1\n"
                    "Empty=\n"
                    "NoEquals\n"
                    "[Other]\n"
                    "Speed=99\n");
    EXPECT_EQ(read("game play", "SPEED", file), "12");
    EXPECT_EQ(read(" GAME PLAY ", " speed ", file), "12");
    EXPECT_EQ(read("Game Play", "name", file), "  spaced  ");
    EXPECT_EQ(read("Game Play", "single", file), "x");
    EXPECT_EQ(read("Game Play", "Lone", file), "\"");
    EXPECT_EQ(read("Game Play", "Empty", file), "");
    EXPECT_EQ(read("Game Play", "# Hidden", file), "(default)");
    EXPECT_EQ(read("Game Play", "NoEquals", file), "(default)");
    EXPECT_EQ(read("Game Play", "Stray", file), "(default)");
    EXPECT_EQ(read("Other", "speed", file), "99");
    EXPECT_EQ(read("Missing", "Speed", file), "(default)");
    EXPECT_EQ(read("Game Play", "Missing", file), "(default)");
    EXPECT_EQ(read("Game Play", "Speed", dir.filePath("none.ini")), "(default)");
    EXPECT_EQ(read("Game Play", "Missing", file, "trailing  "), "trailing");
    EXPECT_EQ(read("Game Play", "Missing", file, QString()), "");
}

TEST(Profile, ReadIsCutToTheBuffer) {
    QTemporaryDir dir;
    const QString file = dir.filePath("long.ini");
    const QByteArray value(2000, 'v');
    writeFile(file, "[s]\nk=" + value + "\n");
    EXPECT_EQ(read("s", "k", file), std::string(1023, 'v'));

    std::array<char, 4> small{'#', '#', '#', '#'};
    EXPECT_EQ(GetPrivateProfileString("s", "k", "", small.data(), 0, file), 0u);
    EXPECT_EQ(small[0], '#');
    EXPECT_EQ(GetPrivateProfileString("s", "k", "", small.data(), 1, file), 0u);
    EXPECT_EQ(small[0], '\0');
    EXPECT_EQ(GetPrivateProfileString("s", "missing", "default", small.data(), 4, file), 3u);
    EXPECT_STREQ(small.data(), "def");
}

TEST(Profile, WriteChangesOnlyTheValueItNames) {
    QTemporaryDir dir;
    const QString file = dir.filePath("game.ini");
    writeFile(file, "; Settings, mended by hand\n"
                    "[Game]\n"
                    "  Speed = 12 ; fast\n"
                    "odd line\n"
                    "\n"
                    "[Sound]\n"
                    "Volume=3\n"
                    "\n"
                    "\n");
    ASSERT_TRUE(WritePrivateProfileString("GAME", "speed", "14", file));
    ASSERT_TRUE(WritePrivateProfileString("game", "Level", "2", file));
    ASSERT_TRUE(WritePrivateProfileString("Sound", "Muted", "1", file));
    ASSERT_TRUE(WritePrivateProfileString("Player", "Name", "Ann", file));
    EXPECT_EQ(fileBytes(file).toStdString(), "; Settings, mended by hand\n"
                                             "[Game]\n"
                                             "  Speed=14\n"
                                             "odd line\n"
                                             "Level=2\n"
                                             "\n"
                                             "[Sound]\n"
                                             "Volume=3\n"
                                             "Muted=1\n"
                                             "\n"
                                             "\n"
                                             "[Player]\n"
                                             "Name=Ann\n");
    EXPECT_EQ(read("player", "name", file), "Ann");
}

TEST(Profile, WriteKeepsTheFilesLineEndsAndCreatesFiles) {
    QTemporaryDir dir;
    const QString file = dir.filePath("dos.ini");
    writeFile(file, "[A]\r\nx=1\r\n[B]\r\ny=2");
    ASSERT_TRUE(WritePrivateProfileString("A", "z", "3", file));
    ASSERT_TRUE(WritePrivateProfileString("B", "w", "4", file));
    ASSERT_TRUE(WritePrivateProfileString("C", "v", "5", file));
    EXPECT_EQ(fileBytes(file).toStdString(), "[A]\r\nx=1\r\nz=3\r\n[B]\r\ny=2\r\nw=4\r\n\r\n"
                                             "[C]\r\nv=5\r\n");

    const QString fresh = dir.filePath("fresh.ini");
    ASSERT_TRUE(WritePrivateProfileString("S", "k", "v", fresh));
    EXPECT_EQ(fileBytes(fresh), "[S]\nk=v\n");
}

TEST(Profile, WriteFailsWhereNoFileCanBe) {
    QTemporaryDir dir;
    EXPECT_FALSE(WritePrivateProfileString("S", "k", "v", dir.filePath("missing/x.ini")));
    EXPECT_FALSE(QFile::exists(dir.filePath("missing")));
    writeFile(dir.filePath("plain"), "not a folder");
    EXPECT_FALSE(WritePrivateProfileString("S", "k", "v", dir.filePath("plain/x.ini")));
    EXPECT_FALSE(WritePrivateProfileString("S", "k", "two\nlines", dir.filePath("x.ini")));
    EXPECT_FALSE(QFile::exists(dir.filePath("x.ini")));

    // A file its owner made read-only stays as it is, though root could write it.
    writeFile(dir.filePath("kept.ini"), "[S]\nk=old\n");
    ASSERT_TRUE(QFile::setPermissions(dir.filePath("kept.ini"), QFile::ReadOwner));
    EXPECT_FALSE(WritePrivateProfileString("S", "k", "new", dir.filePath("kept.ini")));
    EXPECT_EQ(fileBytes(dir.filePath("kept.ini")), "[S]\nk=old\n");
}

TEST(Profile, BareNamesLieInTheConfigurationFolder) {
    QTemporaryDir dir;
    const QString folder = dir.filePath("not/yet");
    ScopedEnv own("GORBULAX_CONFIG_HOME", folder.toLocal8Bit());
    EXPECT_EQ(ProfilePath("My.ini"), folder + "/My.ini");
    EXPECT_EQ(ProfilePath("./My.ini"), "./My.ini");
    ASSERT_TRUE(WritePrivateProfileString("MyKey", "Value", "7", "My.ini"));
    EXPECT_EQ(fileBytes(folder + "/My.ini"), "[MyKey]\nValue=7\n");
    EXPECT_EQ(read("mykey", "value", "My.ini"), "7");
}

// configparser reads keys in lower case and rejects a key twice in a section, so it also
// catches a write that added a second spelling of a key instead of changing the first.
TEST(Profile, AnIndependentReaderSeesWhatWasWritten) {
    QString python = QStringLiteral("/usr/bin/python3");
    if (!QFile::exists(python))
        python = QStandardPaths::findExecutable("python3");
    if (python.isEmpty())
        GTEST_SKIP() << "python3 is not installed";

    QTemporaryDir dir;
    const QString file = dir.filePath("game.ini");
    writeFile(file, "; mended by hand\n[Game]\nSpeed = 12\n\n[Sound]\nVolume=3\n");
    ASSERT_TRUE(WritePrivateProfileString("Game", "SPEED", "14", file));
    ASSERT_TRUE(WritePrivateProfileString("Game", "Name", QString::fromLatin1("Zo\xeb"), file));
    ASSERT_TRUE(WritePrivateProfileString("Sound", "Volume", "5", file));
    ASSERT_TRUE(WritePrivateProfileString("Player", "Level", "0x1F", file));

    QProcess process;
    process.start(python, {"-c",
                           "import configparser, sys\n"
                           "c = configparser.ConfigParser(interpolation=None)\n"
                           "c.read(sys.argv[1], encoding='latin-1')\n"
                           "for s in c.sections():\n"
                           "    for k, v in c.items(s):\n"
                           "        sys.stdout.buffer.write(f'{s}|{k}={v}\\n'.encode('latin-1'))\n",
                           file});
    ASSERT_TRUE(process.waitForFinished(30000));
    ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    EXPECT_EQ(process.readAllStandardOutput().toStdString(), "Game|speed=14\n"
                                                             "Game|name=Zo\xeb\n"
                                                             "Sound|volume=5\n"
                                                             "Player|level=0x1F\n");
}

} // namespace
