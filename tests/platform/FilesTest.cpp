// File names found without regard to letter case.

#include "platform/Files.h"
#include "support/Files.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace platform;

TEST(Files, EachComponentIsFoundWhateverItsCaseAndTheExactSpellingWins) {
    QTemporaryDir root;
    const QString base = root.path() + '/';
    ASSERT_TRUE(QDir(base).mkpath("Scores/Old"));
    ASSERT_TRUE(QDir(base).mkpath("scores"));
    writeFile(base + "Scores/Gorbulax.dat", "table");
    writeFile(base + "scores/readme", "");

    const struct {
        const char *given;
        const char *found;
    } cases[] = {
        {"SCORES/GORBULAX.DAT", "Scores/Gorbulax.dat"},
        {"scores", "scores"}, // both exist: the exact spelling
        {"scores/README", "scores/readme"},
        // "scores" holds no such file, its twin does: the spelling below which all resolves.
        {"scores/gorbulax.dat", "Scores/Gorbulax.dat"},
        {"SCORES/old/", "Scores/Old/"},
        {"SCORES//OLD/./", "Scores/Old/./"},
        // What does not exist keeps its spelling, below the folders that do.
        {"SCORES/OLD/New.dat", "Scores/Old/New.dat"},
        {"Missing/GORBULAX.DAT", "Missing/GORBULAX.DAT"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Files::Resolve(base + c.given), base + c.found) << c.given;

    EXPECT_TRUE(Files::FileExists(base + "scores/GORBULAX.dat"));
    EXPECT_TRUE(Files::DirExists(base + "SCORES/OLD"));
    EXPECT_FALSE(Files::FileExists(base + "SCORES/OLD"));
    EXPECT_FALSE(Files::Exists(base + "nothing"));
    EXPECT_EQ(Files::Resolve("/"), "/");
}
