#include "scores/ScoreFile.h"
#include "platform/ConfigFolder.h"
#include "support/Files.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace scores;

namespace {

ScoreTable TableOf(std::initializer_list<const char *> scores) {
    ScoreTable table;
    int p = 0;
    for (const char *score : scores) {
        table[p] = {QString::fromLatin1(score), QStringLiteral("Pilot %1").arg(p + 1),
                    QStringLiteral("1/15/26")};
        ++p;
    }
    return table;
}

const ScoreTable Shipped =
    TableOf({"5000", "4500", "4000", "3500", "3000", "2500", "2000", "1500", "1000", "500"});

// The field at `offset` of a file's bytes, read by hand: a length byte and that many bytes.
QByteArray FieldAt(const QByteArray &file, qsizetype offset) {
    return file.mid(offset + 1, uint8_t(file[offset]));
}

} // namespace

TEST(ScoreTablePosition, IsTheFirstPlaceWhoseScoreIsNotAbove) {
    struct Case {
        const char *what;
        ScoreTable table;
        int32_t score;
        int position;
    };
    const Case cases[] = {
        {"equal to the third goes above it", Shipped, 4000, 3},
        {"between the second and third", Shipped, 4001, 3},
        {"beats all ten", Shipped, 9999, 1},
        {"takes the tenth place", Shipped, 500, 10},
        {"lower than all ten", Shipped, 499, 0},
        {"0 against a stored 0", TableOf({"9", "8", "7", "6", "5", "4", "3", "2", "1", "0"}), 0,
         10},
        {"0 against a negative one", TableOf({"9", "8", "7", "6", "5", "4", "3", "2", "1", "-7"}),
         0, 10},
        {"an unsorted table: the first from the top not above",
         TableOf({"100", "900", "50", "800", "10", "700", "5", "600", "1", "500"}), 60, 3},
        {"a damaged entry makes way for any score",
         TableOf({"5000", "4500", "lots", "3500", "3000", "2500", "2000", "1500", "1000", "500"}),
         -100, 3},
        {"an empty table takes the first score", ScoreTable{}, -2147483647 - 1, 1},
    };
    for (const Case &c : cases)
        EXPECT_EQ(GetHighScorePosition(c.table, c.score), c.position) << c.what;

    for (const char *notAScore : {"", "-", "+5", " 5", "5 ", "0x10", "2147483648", "1e3"})
        EXPECT_FALSE(ScoreValue(QString::fromLatin1(notAScore))) << notAScore;
    EXPECT_EQ(ScoreValue("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(ScoreValue("007"), 7);
}

TEST(ScoreTableValue, AnEntryMovesTheEntriesBelowItDownAndDropsTheTenth) {
    struct Case {
        const char *what;
        int32_t score;
        int position;
        QList<int> from; // for each place after the entry, the shipped place it holds
    };
    const Case cases[] = {
        {"equal to the third goes above it", 4000, 3, {1, 2, 0, 3, 4, 5, 6, 7, 8, 9}},
        {"beats all ten", 9000, 1, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {"the tenth place is overwritten", 700, 10, {1, 2, 3, 4, 5, 6, 7, 8, 9, 0}},
        {"lower than all ten changes nothing", 499, 0, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
    };
    for (const Case &c : cases) {
        ScoreTable table = Shipped;
        ASSERT_EQ(InsertScore(table, c.score, QString(300, 'n'), "12/8/26"), c.position) << c.what;
        for (int p = 1; p <= 10; ++p) {
            const int shipped = c.from[p - 1];
            if (shipped == 0) {
                EXPECT_EQ(table[p - 1],
                          (ScoreRecord{QString::number(c.score), QString(255, 'n'), "12/8/26"}))
                    << c.what << ": the entry, its name cut to 255";
            } else {
                EXPECT_EQ(table[p - 1], Shipped[shipped - 1]) << c.what << " at " << p;
            }
        }
    }
}

TEST(ScoreTableValue, EnteringReadsAfreshUnderTheLockAndWritesUnlessTheReadForbids) {
    QTemporaryDir dir;
    const QString path = dir.filePath("gorbulax.dat");
    ASSERT_TRUE(WriteScoreFile(path, Shipped).ok);
    // Two stores, two games: each enters into the file as it is now, not as it read it once.
    ScoreStore first, second;
    ScoreTable firstTable = Shipped, secondTable = Shipped;
    EXPECT_EQ(first.enter(path, firstTable, 3200, "First", "d").position, 5);
    const ScoreStore::Entry entry = second.enter(path, secondTable, 4200, "Second", "d");
    EXPECT_EQ(entry.position, 3);
    ASSERT_TRUE(entry.written && entry.written->ok);
    EXPECT_FALSE(second.locked()) << "the lock ends with the entry";
    ScoreTable stored;
    ReadScoreFile(path, stored);
    EXPECT_EQ(stored, secondTable);
    EXPECT_EQ(stored[5].Name, "First");

    // A damaged score makes way and is written as an empty place; a read that forbids the
    // write leaves the file alone, and a score that no longer makes it is not written.
    ScoreTable damaged = Shipped;
    damaged[1].Score = "lots";
    writeFile(path, EncodeScoreTable(damaged));
    ScoreTable table;
    const ScoreStore::Entry refused =
        first.enter(path, table, 100, "Any", "d",
                    [](const ScoreFileRead &read) { return read.status != ReadStatus::Damaged; });
    EXPECT_EQ(refused.position, 2);
    EXPECT_FALSE(refused.written);
    EXPECT_EQ(fileBytes(path), EncodeScoreTable(damaged));
    EXPECT_EQ(first.enter(path, table, 100, "Any", "d").position, 2);
    ReadScoreFile(path, stored);
    EXPECT_EQ(stored[2].Score, "") << "the damaged score, written as an empty place";
    writeFile(path, EncodeScoreTable(Shipped));
    const QByteArray before = fileBytes(path);
    const ScoreStore::Entry late = first.enter(path, table, -5, "Late", "d");
    EXPECT_EQ(late.position, 0);
    EXPECT_FALSE(late.written);
    EXPECT_EQ(fileBytes(path), before);
}

TEST(ScoreFileFormat, WritesWhatAnIndependentReaderFinds) {
    QTemporaryDir dir;
    const QString path = dir.filePath("gorbulax.dat");
    ScoreTable table = Shipped;
    table[0].Name = QString(300, 'x');
    table[3].Name = QString(254, 'y') + QString::fromUtf8("😀z"); // cut inside the emoji
    table[1].Name = QString::fromUtf8("Zoë “Ace” – €5");
    table[2].Name = QString::fromUtf8("日本 😀");
    ASSERT_TRUE(WriteScoreFile(path, table).ok);

    const QByteArray file = fileBytes(path);
    ASSERT_EQ(file.size(), 7680);
    for (int p = 1; p <= 10; ++p) {
        const qsizetype record = 768 * (p - 1);
        EXPECT_EQ(FieldAt(file, record), Shipped[p - 1].Score.toLatin1()) << p;
        EXPECT_EQ(FieldAt(file, record + 512), QByteArray("1/15/26")) << p;
    }
    EXPECT_EQ(FieldAt(file, 256), QByteArray(255, 'x')) << "a long name is cut to 255";
    EXPECT_EQ(FieldAt(file, 768 + 256), QByteArray("Zo\xEB \x93"
                                                   "Ace\x94 \x96 \x80"
                                                   "5"));
    EXPECT_EQ(FieldAt(file, 2 * 768 + 256), QByteArray("?? ?")) << "one ? a missing character";
    EXPECT_EQ(CutToField(table[3].Name), QString(254, 'y')) << "no half character";
    EXPECT_EQ(file.mid(1 + 4, 251), QByteArray(251, '\0')) << "unused room is zero";

    ScoreTable back;
    const ScoreFileRead read = ReadScoreFile(path, back);
    EXPECT_EQ(read.status, ReadStatus::Read);
    EXPECT_EQ(back[0].Name, QString(255, 'x'));
    EXPECT_EQ(back[1].Name, table[1].Name);
    EXPECT_EQ(back[2].Name, "?? ?");
}

TEST(ScoreFileFormat, DamagedFilesReadWhatTheyCanAndSayWhy) {
    const QByteArray good = EncodeScoreTable(Shipped);
    QByteArray garbled = good;
    garbled.replace(768 + 1, 4, "45x0");     // entry 2
    garbled.replace(5 * 768 + 1, 4, "3k00"); // entry 6
    const ScoreTable before = TableOf({"1", "1", "1", "1", "1", "1", "1", "1", "1", "1"});
    struct Case {
        const char *what;
        QByteArray bytes;
        ReadStatus status;
        int records;
        const char *problem;
    };
    const Case cases[] = {
        {"complete", good, ReadStatus::Read, 10, ""},
        {"longer: its first ten records", good + QByteArray(100, 'z'), ReadStatus::Read, 10, ""},
        {"cut short", good.left(5000), ReadStatus::Damaged, 6,
         "it holds 5000 bytes where a table has 7680, so only 6 of its ten entries could be "
         "read"},
        {"empty", QByteArray(), ReadStatus::Damaged, 0, "it holds 0 bytes"},
        {"scores that are no numbers", garbled, ReadStatus::Damaged, 10,
         "the scores of entries 2, 6 are not whole numbers"},
    };
    for (const Case &c : cases) {
        ScoreTable table = before;
        const ScoreFileRead read = ParseScoreFile(c.bytes, table);
        EXPECT_EQ(read.status, c.status) << c.what;
        EXPECT_EQ(read.records, c.records) << c.what;
        EXPECT_EQ(read.problems.join(';').left(qsizetype(qstrlen(c.problem))),
                  QLatin1String(c.problem))
            << c.what;
        for (int p = 0; p < 10; ++p)
            EXPECT_EQ(table[p].Name, p < c.records ? Shipped[p].Name : before[p].Name) << c.what;
    }

    QTemporaryDir dir;
    ScoreTable table = before;
    EXPECT_EQ(ReadScoreFile(dir.filePath("gorbulax.dat"), table).status, ReadStatus::Missing);
    QDir(dir.path()).mkdir("gorbulax.dat");
    const ScoreFileRead unreadable = ReadScoreFile(dir.filePath("gorbulax.dat"), table);
    EXPECT_EQ(unreadable.status, ReadStatus::Damaged);
    EXPECT_TRUE(unreadable.problems.value(0).startsWith("it cannot be read"));
    EXPECT_EQ(table, before);
}

namespace {

QStringList Temporaries(const QTemporaryDir &dir) {
    return QDir(dir.path()).entryList({"*.tmp-*"}, QDir::Files | QDir::Hidden);
}

} // namespace

// The writers are forked children ("fast" death tests), so that they write into this test's
// folder.
TEST(ScoreFileFormat, ACrashBeforeTheRenameLeavesTheOldTableAndNoStrayFile) {
    GTEST_FLAG_SET(death_test_style, "fast");
    ScoreTable changed = Shipped;
    changed[0].Name = "Crash Test";
    // With unnamed temporary files a crash leaves no name at all; with named ones (a file
    // system without unnamed files) the next write removes what the dead writer left.
    for (const bool unnamed : {true, false}) {
        SCOPED_TRACE(unnamed ? "unnamed temporary" : "named temporary");
        QTemporaryDir dir;
        const QString path = dir.filePath("gorbulax.dat");
        ASSERT_TRUE(WriteScoreFile(path, Shipped).ok);
        platform::detail::ReplaceSeams seams;
        seams.unnamedTemporary = unnamed;
        platform::detail::ReplaceSeams dies = seams;
        dies.written = [] { _exit(3); };
        // The new table is on the disk in full; the program dies before it takes the old one's
        // place.
        EXPECT_EXIT(
            {
                const ScoreFileLock lock(path);
                WriteScoreFileLocked(path, changed, lock, dies);
            },
            ::testing::ExitedWithCode(3), "");
        EXPECT_EQ(fileBytes(path), EncodeScoreTable(Shipped));
        EXPECT_EQ(Temporaries(dir).size(), unnamed ? 0 : 1);

        // The replacement keeps the permissions the player gave the table, not the umask's.
        ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0600), 0);
        const mode_t umask = ::umask(022);
        const ScoreFileLock lock(path);
        const bool written = WriteScoreFileLocked(path, changed, lock, seams).ok;
        ::umask(umask);
        ASSERT_TRUE(written);
        EXPECT_EQ(fileBytes(path), EncodeScoreTable(changed));
        EXPECT_EQ(Temporaries(dir), QStringList());
        struct stat info {};
        ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, 0600u);

        // A write that fails at the rename says so and leaves no temporary file behind.
        platform::detail::ReplaceSeams failing = seams;
        failing.rename = [](const QString &, const QString &) { return false; };
        const WriteResult failed = WriteScoreFileLocked(path, Shipped, lock, failing);
        EXPECT_FALSE(failed.ok);
        EXPECT_FALSE(failed.problem.isEmpty());
        EXPECT_EQ(fileBytes(path), EncodeScoreTable(changed));
        EXPECT_EQ(Temporaries(dir), QStringList());
    }
}

// Root may write any file; the owner's read-only mark holds for root as for everyone. As
// nobody (a child that drops root), the permission the file gives decides.
TEST(ScoreFileFormat, AReadOnlyTableIsKeptAsItIs) {
    GTEST_FLAG_SET(death_test_style, "fast");
    QTemporaryDir dir;
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0777), 0) << "a writable folder";
    const QString path = dir.filePath("gorbulax.dat");
    ScoreTable changed = Shipped;
    changed[0].Name = "Not Wanted";
    struct Case {
        const char *what;
        mode_t mode;
        bool asNobody;
    };
    for (const Case &c : {Case{"read-only, as root", 0444, false},
                          Case{"the owner's alone, as nobody", 0644, true}}) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(WriteScoreFile(path, Shipped).ok);
        ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), c.mode), 0);
        if (c.asNobody) {
            ASSERT_EQ(::getuid(), 0u) << "the tests run as root";
            EXPECT_EXIT(
                {
                    if (::setgroups(0, nullptr) != 0 || ::setresgid(65534, 65534, 65534) != 0 ||
                        ::setresuid(65534, 65534, 65534) != 0)
                        _exit(9);
                    const WriteResult result = WriteScoreFile(path, changed);
                    _exit(result.readOnly ? 0 : result.ok ? 1 : 2);
                },
                ::testing::ExitedWithCode(0), "");
        } else {
            const WriteResult result = WriteScoreFile(path, changed);
            EXPECT_FALSE(result.ok);
            EXPECT_TRUE(result.readOnly);
            EXPECT_EQ(result.problem, "the file is read-only");
        }
        EXPECT_EQ(fileBytes(path), EncodeScoreTable(Shipped));
        EXPECT_EQ(Temporaries(dir), QStringList());
        ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0644), 0);
    }
}

// A huge file costs no more memory than a table: a child reads one of 256 MB (sparse, so it
// costs no disk) and reports how much its peak memory grew.
TEST(ScoreFileFormat, AHugeFileIsReadOnlyAsFarAsTheTableGoes) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    QTemporaryDir dir;
    const QString path = dir.filePath("gorbulax.dat");
    writeFile(path, EncodeScoreTable(Shipped));
    ASSERT_TRUE(QFile::resize(path, qint64(256) << 20));
    EXPECT_EXIT(
        {
            const auto peakKilobytes = [] {
                rusage usage{};
                ::getrusage(RUSAGE_SELF, &usage);
                return usage.ru_maxrss;
            };
            const long before = peakKilobytes();
            ScoreTable table;
            const ScoreFileRead read = ReadScoreFile(path, table);
            const bool tableRead = read.status == ReadStatus::Read && table == Shipped;
            _exit(!tableRead ? 2 : peakKilobytes() - before < 16 * 1024 ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST(ScoreFileFormat, AWriterWaitsForTheOneHoldingTheLock) {
    QTemporaryDir dir;
    const QString path = dir.filePath("gorbulax.dat");
    std::atomic<bool> written{false};
    std::thread other;
    {
        const ScoreFileLock lock(path);
        ASSERT_TRUE(lock.held());
        other = std::thread([&] { written = WriteScoreFile(path, Shipped).ok; });
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        EXPECT_FALSE(written) << "wrote while another writer held the lock";
    }
    other.join();
    EXPECT_TRUE(written);

    // The store's lock, from lock() to unlock(), holds other writers off the same way, while
    // its holder writes under it.
    ScoreStore store;
    store.lock(path);
    ASSERT_TRUE(store.locked());
    written = false;
    other = std::thread([&] { written = WriteScoreFile(path, Shipped).ok; });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_TRUE(store.write(path, Shipped).ok);
    EXPECT_FALSE(written) << "wrote while the store held the lock";
    store.unlock();
    other.join();
    EXPECT_TRUE(written);
}

TEST(ScoreFileFormat, DamagedBytesAreKeptOnceBesideTheFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("gorbulax.dat");
    writeFile(path, "first damage");
    const std::optional<QString> kept = KeepDamagedFile(path);
    ASSERT_TRUE(kept);
    EXPECT_EQ(*kept, path + ".damaged");
    EXPECT_EQ(KeepDamagedFile(path), kept) << "the same damage is not kept twice";

    // The table replaced by a rename, then damaged anew: the first damage stays as it was.
    ASSERT_TRUE(WriteScoreFile(path, Shipped).ok);
    writeFile(path + ".new", "second damage");
    ASSERT_TRUE(QFile::remove(path) && QFile::rename(path + ".new", path));
    EXPECT_EQ(KeepDamagedFile(path), path + ".damaged-2");
    EXPECT_EQ(fileBytes(path + ".damaged"), "first damage");
    EXPECT_EQ(fileBytes(path + ".damaged-2"), "second damage");
}

TEST(ScoreFileLocation, FollowsTheProgramsFolderOrTheUsersDataFolder) {
    QTemporaryDir root;
    const QString games = root.filePath("usr/games/");
    const QString share = root.filePath("usr/share/games/gorbulax/");
    const QString data = platform::DataFolder();
    QDir().mkpath(games);
    QDir().mkpath(share);
    QDir(data).removeRecursively();
    const auto writable = [](const QString &) { return true; };
    const auto readOnly = [](const QString &) { return false; };

    // Nothing anywhere: every place is named, and no table is made up.
    ScoreFileLocation where = LocateScoreFile(games, writable);
    EXPECT_TRUE(where.path.isEmpty());
    EXPECT_EQ(where.searched, QStringList({games + "gorbulax.dat", data + "/gorbulax.dat",
                                           share + "gorbulax.dat"}));
    EXPECT_FALSE(QFile::exists(data + "/gorbulax.dat"));

    // A writable folder holding the file, in any letter case, is the table's place.
    writeFile(games + "Gorbulax.dat", EncodeScoreTable(Shipped));
    EXPECT_EQ(LocateScoreFile(games, writable).path, games + "Gorbulax.dat");

    // Read-only: the user's copy of the shipped table, made once and kept from then on.
    where = LocateScoreFile(games, readOnly);
    EXPECT_EQ(where.path, data + "/gorbulax.dat");
    EXPECT_TRUE(where.problem.isEmpty());
    EXPECT_EQ(fileBytes(where.path), EncodeScoreTable(Shipped));
    writeFile(data + "/gorbulax.dat", "the user's own table");
    EXPECT_EQ(LocateScoreFile(games, readOnly).path, data + "/gorbulax.dat");
    EXPECT_EQ(fileBytes(data + "/gorbulax.dat"), "the user's own table");

    // An installed program: the shipped table in ../share/games/gorbulax beside it.
    QDir(data).removeRecursively();
    QFile::remove(games + "Gorbulax.dat");
    writeFile(share + "GORBULAX.DAT", EncodeScoreTable(Shipped));
    EXPECT_EQ(LocateScoreFile(games, readOnly).path, data + "/gorbulax.dat");
    EXPECT_EQ(fileBytes(data + "/gorbulax.dat"), EncodeScoreTable(Shipped));
    QDir(data).removeRecursively();

    // No copy can be made (a file stands where the data folder belongs): the shipped table is
    // played where it lies, and the player is told the scores of this run cannot be kept.
    writeFile(data, "not a folder");
    where = LocateScoreFile(games, readOnly);
    EXPECT_EQ(where.path, share + "GORBULAX.DAT");
    EXPECT_TRUE(where.problem.contains(data + "/gorbulax.dat")) << where.problem.toStdString();
    EXPECT_EQ(fileBytes(data), "not a folder");
    QFile::remove(data);
}
