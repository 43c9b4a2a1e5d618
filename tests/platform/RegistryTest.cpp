#include "platform/Registry.h"
#include "platform/ConfigFolder.h"
#include "platform/LockedFile.h"
#include "support/Files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <array>
#include <thread>

namespace platform {

struct RegistryTestAccess {
    static void setRename(Registry &registry,
                          std::function<bool(const QString &, const QString &)> rename) {
        registry.seams_.rename = std::move(rename);
    }
};

} // namespace platform

namespace {

using namespace platform;

const QString SettingsPath = QStringLiteral("Software\\Brakmoor\\Gorbulax\\Settings");

// A literal's bytes with its closing zero, and without.
template <size_t N> QByteArray z(const char (&text)[N]) {
    return QByteArray(text, N);
}
template <size_t N> QByteArray b(const char (&text)[N]) {
    return QByteArray(text, N - 1);
}

RegResult setBytes(Registry &registry, const RegKey &key, const QString &name, uint32_t type,
                   const QByteArray &data) {
    return registry.SetValueEx(key, name, type, reinterpret_cast<const uint8_t *>(data.data()),
                               uint32_t(data.size()));
}

RegResult setString(Registry &registry, const RegKey &key, const QString &name,
                    const QByteArray &text) {
    return setBytes(registry, key, name, REG_SZ, text + '\0');
}

RegResult setDword(Registry &registry, const RegKey &key, const QString &name, uint32_t number) {
    QByteArray bytes;
    for (int i = 0; i < 4; ++i)
        bytes.append(char(number >> (8 * i)));
    return setBytes(registry, key, name, REG_DWORD, bytes);
}

// The value's type and bytes as a caller sizing its buffer first would get them.
std::optional<std::pair<uint32_t, QByteArray>> query(Registry &registry, const RegKey &key,
                                                     const QString &name) {
    uint32_t type = 0;
    uint32_t size = 0;
    if (registry.QueryValueEx(key, name, &type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    QByteArray data(qsizetype(size), '\0');
    if (registry.QueryValueEx(key, name, &type, reinterpret_cast<uint8_t *>(data.data()), &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    return std::pair{type, data.left(size)};
}

struct Store {
    QTemporaryDir dir;
    QString path = dir.path() + QStringLiteral("/user.reg");
    Registry registry{path};
    RegKey key;

    Store() {
        registry.setDamageReporter(
            [](const QString &message) { ADD_FAILURE() << message.toStdString(); });
    }
    void createSettings() {
        ASSERT_EQ(registry.CreateKeyEx(RegRoot::CurrentUser, SettingsPath, &key), ERROR_SUCCESS);
    }
};

TEST(Registry, CreatedKeysAndTheirParentsPersistAcrossStores) {
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/not/yet/user.reg");
    int renames = 0;
    {
        Registry registry(path);
        RegistryTestAccess::setRename(registry, [&](const QString &from, const QString &to) {
            ++renames;
            return detail::SystemRename(from, to);
        });
        RegKey key;
        ASSERT_EQ(registry.CreateKeyEx(RegRoot::CurrentUser, "\\" + SettingsPath, &key),
                  ERROR_SUCCESS);
        EXPECT_TRUE(key.open);
        EXPECT_EQ(renames, 1);
        // Present already, whatever the spelling: nothing to write.
        ASSERT_EQ(registry.CreateKeyEx(RegRoot::CurrentUser,
                                       "SOFTWARE\\\\brakmoor\\Gorbulax\\settings\\", &key),
                  ERROR_SUCCESS);
        ASSERT_EQ(registry.CreateKeyEx(RegRoot::CurrentUser, "Software\\Brakmoor", &key),
                  ERROR_SUCCESS);
        EXPECT_EQ(renames, 1);
    }
    EXPECT_TRUE(
        fileBytes(path).contains("[HKEY_CURRENT_USER\\Software\\Brakmoor\\Gorbulax\\Settings]\n"));

    Registry again(path);
    RegKey key;
    EXPECT_EQ(again.OpenKeyEx(RegRoot::CurrentUser, SettingsPath, &key), ERROR_SUCCESS);
    EXPECT_EQ(again.OpenKeyEx(RegRoot::CurrentUser, "software\\brakmoor", &key), ERROR_SUCCESS);
    EXPECT_EQ(again.OpenKeyEx(RegRoot::CurrentUser, "Software\\Brak", &key), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(key.open);
    EXPECT_EQ(again.OpenKeyEx(RegRoot::CurrentUser, SettingsPath + "\\Deeper", &key),
              ERROR_FILE_NOT_FOUND);
}

TEST(Registry, NamesMatchWithoutRegardToCaseAndKeepTheirFirstSpelling) {
    Store store;
    store.createSettings();
    ASSERT_EQ(setString(store.registry, store.key, "StarEdit", "50"), ERROR_SUCCESS);

    Registry other(store.path);
    RegKey key;
    ASSERT_EQ(other.OpenKeyEx(RegRoot::CurrentUser, "SOFTWARE\\brakmoor\\GORBULAX\\settings", &key),
              ERROR_SUCCESS);
    EXPECT_EQ(query(other, key, "staredit")->second, QByteArray("50", 3));
    ASSERT_EQ(setString(other, key, "STAREDIT", "60"), ERROR_SUCCESS);

    const QByteArray text = fileBytes(store.path);
    EXPECT_TRUE(text.contains("\"StarEdit\"=\"60\"\n")) << text.toStdString();
    EXPECT_EQ(text.count("StarEdit"), 1);
    EXPECT_EQ(text.toLower().count("settings]"), 1);
}

TEST(Registry, EveryTypeReadsBackAsStored) {
    QByteArray allBytes;
    for (int i = 0; i < 256; ++i)
        allBytes.append(char(i));
    struct Case {
        const char *name;
        uint32_t type;
        QByteArray given;
        QByteArray stored;
    };
    const std::array cases{
        Case{"Plain", REG_SZ, z("Gorbulax"), z("Gorbulax")},
        Case{"Unclosed", REG_SZ, b("no zero"), z("no zero")},
        Case{"Quotes", REG_SZ, z("say \"hi\" C:\\dir\\ \\\""), z("say \"hi\" C:\\dir\\ \\\"")},
        Case{"EightBit", REG_SZ, z("caf\xe9 \x80\xff\x01"), z("caf\xe9 \x80\xff\x01")},
        Case{"Empty", REG_SZ, z(""), z("")},
        Case{"TwoZeros", REG_SZ, z("x\0"), z("x")},
        Case{"Lines", REG_SZ, b("one\r\ntwo"), z("one\r\ntwo")},
        Case{"Inner", REG_SZ, b("a\0b"), z("a\0b")},
        Case{"", REG_SZ, z("default"), z("default")},
        Case{"Path", REG_EXPAND_SZ, b("%HOME%\\x"), z("%HOME%\\x")},
        Case{"Blob", REG_BINARY, allBytes, allBytes},
        Case{"Nothing", REG_BINARY, {}, {}},
        Case{"Count", REG_DWORD, b("\x1f\0\0\0"), b("\x1f\0\0\0")},
        Case{"Max", REG_DWORD, b("\xff\xff\xff\xff"), b("\xff\xff\xff\xff")},
        Case{"Short", REG_DWORD, b("\x01"), b("\x01")},
        Case{"List", REG_MULTI_SZ, z("a\0b\0"), z("a\0b\0")},
        Case{"Quad", 11, b("12345678"), b("12345678")},
        Case{"None", REG_NONE, {}, {}},
    };
    Store store;
    store.createSettings();
    for (const Case &c : cases)
        ASSERT_EQ(setBytes(store.registry, store.key, c.name, c.type, c.given), ERROR_SUCCESS)
            << c.name;

    Registry fresh(store.path);
    fresh.setDamageReporter([](const QString &message) { ADD_FAILURE() << message.toStdString(); });
    RegKey key;
    ASSERT_EQ(fresh.OpenKeyEx(RegRoot::CurrentUser, SettingsPath, &key), ERROR_SUCCESS);
    for (const Case &c : cases) {
        const auto value = query(fresh, key, c.name);
        ASSERT_TRUE(value) << c.name;
        EXPECT_EQ(value->first, c.type) << c.name;
        EXPECT_EQ(value->second.toHex(' '), c.stored.toHex(' ')) << c.name;
    }
    // The long value is wrapped the way the original editor wraps it.
    for (const QByteArray &line : fileBytes(store.path).split('\n'))
        EXPECT_LE(line.size(), 80) << line.toStdString();
}

TEST(Registry, QueryFollowsTheOriginalSizeRules) {
    Store store;
    store.createSettings();
    ASSERT_EQ(setString(store.registry, store.key, "Name", "abc"), ERROR_SUCCESS);
    Registry &registry = store.registry;
    const RegKey &key = store.key;

    uint32_t type = 0;
    EXPECT_EQ(registry.QueryValueEx(key, "Name", &type, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_SZ);
    uint32_t size = 0;
    EXPECT_EQ(registry.QueryValueEx(key, "Name", nullptr, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 4u);

    std::array<uint8_t, 8> buffer;
    buffer.fill(0xaa);
    EXPECT_EQ(registry.QueryValueEx(key, "Name", &type, buffer.data(), nullptr),
              ERROR_INVALID_PARAMETER);
    size = 3;
    EXPECT_EQ(registry.QueryValueEx(key, "Name", &type, buffer.data(), &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(buffer[0], 0xaa);
    size = uint32_t(buffer.size());
    EXPECT_EQ(registry.QueryValueEx(key, "Name", &type, buffer.data(), &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(QByteArray(reinterpret_cast<char *>(buffer.data()), 5), QByteArray("abc\0\xaa", 5));

    size = uint32_t(buffer.size());
    EXPECT_EQ(registry.QueryValueEx(key, "Missing", &type, buffer.data(), &size),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(registry.QueryValueEx(key, "", &type, nullptr, &size), ERROR_FILE_NOT_FOUND);

    RegKey closed = key;
    EXPECT_EQ(registry.CloseKey(closed), ERROR_SUCCESS);
    EXPECT_EQ(registry.CloseKey(closed), ERROR_INVALID_HANDLE);
    EXPECT_EQ(registry.QueryValueEx(closed, "Name", &type, nullptr, &size), ERROR_INVALID_HANDLE);
    EXPECT_EQ(setString(registry, closed, "Name", "x"), ERROR_INVALID_HANDLE);
    EXPECT_EQ(registry.SetValueEx(key, "Name", REG_BINARY, nullptr, 4), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(setString(registry, key, "Two\nLines", "x"), ERROR_INVALID_PARAMETER);
}

TEST(Registry, WritesRegedit4TextAndKeepsWhatElseTheFileHolds) {
    Store store;
    // As a person or the original editor may leave it: CRLF, comments, upper-case digits, a
    // wrapped list, keys of another program.
    writeFile(store.path, "REGEDIT4\r\n\r\n"
                          "; kept by hand\r\n"
                          "[HKEY_CURRENT_USER\\Software\\Other]\r\n"
                          "\"Size\"=dword:0000ABCD\r\n"
                          "  ; in bytes\r\n"
                          "\"Blob\"=hex:01,02,\\\r\n"
                          "  03,04\r\n"
                          "@=\"other's default\"\r\n"
                          "\r\n"
                          "[HKEY_CLASSES_ROOT\\.png]\r\n"
                          "@=\"pngfile\"\r\n"
                          ";; the end\r\n");
    store.createSettings();
    ASSERT_EQ(setString(store.registry, store.key, "StarEdit", "50"), ERROR_SUCCESS);
    ASSERT_EQ(setDword(store.registry, store.key, "SoundCheck", 1), ERROR_SUCCESS);
    ASSERT_EQ(setString(store.registry, store.key, "Quote", "a\"b\\c"), ERROR_SUCCESS);

    // Comments stay above what they stood above; the program's key follows the last key.
    EXPECT_EQ(fileBytes(store.path).toStdString(),
              "REGEDIT4\n"
              "\n"
              "; kept by hand\n"
              "[HKEY_CURRENT_USER\\Software\\Other]\n"
              "\"Size\"=dword:0000abcd\n"
              "; in bytes\n"
              "\"Blob\"=hex:01,02,03,04\n"
              "@=\"other's default\"\n"
              "\n"
              "[HKEY_CLASSES_ROOT\\.png]\n"
              "@=\"pngfile\"\n"
              "\n"
              "[HKEY_CURRENT_USER\\Software\\Brakmoor\\Gorbulax\\Settings]\n"
              "\"StarEdit\"=\"50\"\n"
              "\"SoundCheck\"=dword:00000001\n"
              "\"Quote\"=\"a\\\"b\\\\c\"\n"
              "\n"
              ";; the end\n");
}

TEST(Registry, FailedWriteLeavesTheOldFileAndNoTemporaryFile) {
    Store store;
    store.createSettings();
    ASSERT_EQ(setString(store.registry, store.key, "StarEdit", "50"), ERROR_SUCCESS);
    const QByteArray before = fileBytes(store.path);

    RegistryTestAccess::setRename(store.registry,
                                  [](const QString &, const QString &) { return false; });
    EXPECT_EQ(setString(store.registry, store.key, "StarEdit", "99"), ERROR_CANTWRITE);
    RegKey other;
    EXPECT_EQ(store.registry.CreateKeyEx(RegRoot::CurrentUser, "Software\\New", &other),
              ERROR_CANTWRITE);
    EXPECT_FALSE(other.open);
    EXPECT_EQ(fileBytes(store.path), before);
    EXPECT_EQ(QDir(store.dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList({"user.reg", "user.reg.lock"}));
}

TEST(Registry, AReadOnlyFileIsReportedOnceAndKeptAsItIs) {
    Store store;
    store.createSettings();
    ASSERT_EQ(setString(store.registry, store.key, "StarEdit", "50"), ERROR_SUCCESS);
    const QByteArray before = fileBytes(store.path);
    ASSERT_TRUE(QFile::setPermissions(store.path, QFile::ReadOwner | QFile::ReadGroup));
    QStringList reports;
    store.registry.setDamageReporter([&](const QString &message) { reports.append(message); });

    EXPECT_EQ(setString(store.registry, store.key, "StarEdit", "99"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(setString(store.registry, store.key, "SoundCheck", "1"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(setString(store.registry, store.key, "StarEdit", "50"), ERROR_SUCCESS)
        << "nothing to write";
    EXPECT_EQ(fileBytes(store.path), before);
    ASSERT_EQ(reports.size(), 1);
    EXPECT_EQ(reports[0], "The settings file " + store.path +
                              " is read-only; settings are not saved while it is.")
        << reports[0].toStdString();
}

TEST(Registry, ConcurrentWritersLoseNothing) {
    Store store;
    store.createSettings();
    constexpr int Writes = 200;
    auto writer = [&](QString prefix) {
        Registry own(store.path);
        RegKey key;
        EXPECT_EQ(own.OpenKeyEx(RegRoot::CurrentUser, SettingsPath, &key), ERROR_SUCCESS);
        for (int i = 0; i < Writes; ++i)
            EXPECT_EQ(setDword(own, key, prefix + QString::number(i), uint32_t(i)), ERROR_SUCCESS);
    };
    std::thread first(writer, QStringLiteral("First"));
    std::thread second(writer, QStringLiteral("Second"));
    first.join();
    second.join();

    for (const char *prefix : {"First", "Second"})
        for (int i = 0; i < Writes; ++i) {
            const auto value = query(store.registry, store.key, prefix + QString::number(i));
            ASSERT_TRUE(value) << prefix << i;
            EXPECT_EQ(uint8_t(value->second[0]), i);
        }
}

TEST(Registry, DamagedFileIsReportedOnceReadAsFarAsItGoesAndNeverWritten) {
    Store store;
    const QByteArray damaged = "REGEDIT4\n\n"
                               "[HKEY_CURRENT_USER\\Software\\Brakmoor\\Gorbulax\\Settings]\n"
                               "\"StarEdit\"=\"50\"\n"
                               "\"Broken\"=wat:12\n"
                               "\"SoundCheck\"=dword:00000001\n";
    writeFile(store.path, damaged);
    QStringList reports;
    store.registry.setDamageReporter([&](const QString &message) { reports.append(message); });

    store.createSettings();
    EXPECT_EQ(query(store.registry, store.key, "StarEdit")->second, QByteArray("50", 3));
    EXPECT_EQ(query(store.registry, store.key, "SoundCheck")->second, QByteArray("\1\0\0\0", 4));
    EXPECT_FALSE(query(store.registry, store.key, "Broken"));
    EXPECT_EQ(setString(store.registry, store.key, "StarEdit", "60"), ERROR_BADDB);
    RegKey other;
    EXPECT_EQ(store.registry.CreateKeyEx(RegRoot::CurrentUser, "Software\\New", &other),
              ERROR_BADDB);
    EXPECT_EQ(fileBytes(store.path), damaged);
    ASSERT_EQ(reports.size(), 1);
    EXPECT_TRUE(reports[0].contains(store.path)) << reports[0].toStdString();
    EXPECT_TRUE(reports[0].contains("line 5")) << reports[0].toStdString();

    // Without its first line the file is not one of ours either.
    writeFile(store.path, damaged.mid(10));
    Registry headless(store.path);
    headless.setDamageReporter([&](const QString &message) { reports.append(message); });
    EXPECT_EQ(setString(headless, store.key, "StarEdit", "60"), ERROR_BADDB);
    EXPECT_EQ(reports.size(), 2);

    // Mended by hand, it takes changes again.
    writeFile(store.path, "REGEDIT4\n");
    EXPECT_EQ(setString(store.registry, store.key, "StarEdit", "60"), ERROR_SUCCESS);
    EXPECT_EQ(query(store.registry, store.key, "StarEdit")->second, QByteArray("60", 3));
}

TEST(Registry, ClassesRootReadsTheFileOverDefaultsAndRefusesChanges) {
    Store store;
    RegKey key;
    ASSERT_EQ(store.registry.OpenKeyEx(RegRoot::ClassesRoot, ".html", &key), ERROR_SUCCESS);
    EXPECT_EQ(query(store.registry, key, "")->second, QByteArray("htmlfile", 9));
    ASSERT_EQ(store.registry.OpenKeyEx(RegRoot::ClassesRoot, ".HTM", &key), ERROR_SUCCESS);
    EXPECT_EQ(query(store.registry, key, "")->second, QByteArray("htmlfile", 9));
    ASSERT_EQ(
        store.registry.OpenKeyEx(RegRoot::ClassesRoot, "htmlfile\\shell\\open\\command", &key),
        ERROR_SUCCESS);
    EXPECT_EQ(query(store.registry, key, "")->second, QByteArray("xdg-open \"%1\"", 14));
    EXPECT_EQ(store.registry.OpenKeyEx(RegRoot::ClassesRoot, ".png", &key), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(QFile::exists(store.path));

    writeFile(store.path, "REGEDIT4\n\n[HKEY_CLASSES_ROOT\\htmlfile\\shell\\open\\command]\n"
                          "@=\"browser %1\"\n");
    const QByteArray before = fileBytes(store.path);
    ASSERT_EQ(
        store.registry.OpenKeyEx(RegRoot::ClassesRoot, "HTMLFILE\\shell\\open\\command", &key),
        ERROR_SUCCESS);
    EXPECT_EQ(query(store.registry, key, "")->second, QByteArray("browser %1", 11));
    EXPECT_EQ(setString(store.registry, key, "", "mine"), ERROR_ACCESS_DENIED);
    RegKey created;
    EXPECT_EQ(store.registry.CreateKeyEx(RegRoot::ClassesRoot, ".txt", &created),
              ERROR_ACCESS_DENIED);
    EXPECT_EQ(fileBytes(store.path), before);
    // Not a key of the user's.
    EXPECT_EQ(store.registry.OpenKeyEx(RegRoot::CurrentUser, ".html", &key), ERROR_FILE_NOT_FOUND);
}

TEST(Registry, UserStoreIsOneChildOfTheApplication) {
    Registry &user = Registry::user();
    EXPECT_EQ(&user, &Registry::user());
    EXPECT_EQ(user.parent(), QCoreApplication::instance());
    EXPECT_EQ(user.filePath(), ConfigFolder() + "/user.reg");
}

} // namespace
