#include "components/Options.h"
#include "components/Store.h"
#include "platform/ConfigFolder.h"
#include "platform/Profile.h"
#include "toolkit/ErrorReport.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using store::Value;

namespace {

QString messageOf(const std::function<void()> &action) {
    try {
        action();
    } catch (const ESettingsError &error) {
        return error.message();
    }
    return QStringLiteral("(no error)");
}

// Writes `name` through a key opened and closed as a control would.
void writeThrough(TSimpleOptions &options, const QString &controlName, const QString &name) {
    SettingsKey key(options.OpenSettingsKey(controlName));
    RegistryValues::WriteInteger(*key, name, 1);
}

void useIni(TSimpleOptions &options, const QString &file) {
    options.UseRegistry = false;
    options.IniFile = file;
    options.IniSection = QStringLiteral("Values");
}

} // namespace

TEST(SimpleOptions, KeyIsRegKeyThenSubKeyFromTheRoot) {
    TSimpleOptions initial;
    EXPECT_EQ(initial.RegKey, "\\Software\\MyCompany\\MyProgram");
    EXPECT_EQ(initial.RegSubKey, "MyKey");
    EXPECT_EQ(initial.IniFile, "My.ini");
    EXPECT_EQ(initial.IniSection, "MyKey");
    EXPECT_TRUE(initial.UseRegistry);
    writeThrough(initial, QStringLiteral("Anything"), QStringLiteral("Initial"));
    EXPECT_EQ(store::value("Software\\MyCompany\\MyProgram\\MyKey", "Initial"),
              store::dwordValue(1));

    TSimpleOptions rooted;
    rooted.RegKey = QStringLiteral("\\A\\B");
    rooted.RegSubKey = QStringLiteral("C");
    writeThrough(rooted, QString(), QStringLiteral("Rooted"));
    TSimpleOptions bare;
    bare.RegKey = QStringLiteral("A\\B");
    bare.RegSubKey = QStringLiteral("C");
    writeThrough(bare, QString(), QStringLiteral("Bare"));
    EXPECT_TRUE(store::value("A\\B\\C", "Rooted").has_value());
    EXPECT_TRUE(store::value("A\\B\\C", "Bare").has_value());
    EXPECT_FALSE(store::keyExists("A\\B\\C\\C"));

    TSimpleOptions unnamed;
    unnamed.RegKey = QStringLiteral("\\Software\\Tests\\Unnamed");
    unnamed.RegSubKey.clear();
    writeThrough(unnamed, QStringLiteral("PlayerBox"), QStringLiteral("First"));
    EXPECT_EQ(unnamed.RegSubKey, "PlayerBox");
    writeThrough(unnamed, QStringLiteral("OtherName"), QStringLiteral("Second"));
    EXPECT_TRUE(store::value("Software\\Tests\\Unnamed\\PlayerBox", "First").has_value());
    EXPECT_TRUE(store::value("Software\\Tests\\Unnamed\\PlayerBox", "Second").has_value());
    EXPECT_FALSE(store::keyExists("Software\\Tests\\Unnamed\\OtherName"));
}

TEST(RegistryValues, EncodingsAsStored) {
    const QString path = QStringLiteral("Software\\Tests\\Encodings");
    TSimpleOptions options;
    options.RegKey = QStringLiteral("Software\\Tests");
    options.RegSubKey = QStringLiteral("Encodings");
    SettingsKey key(options.OpenSettingsKey(QString()));

    RegistryValues::WriteInteger(*key, "Negative", -2);
    EXPECT_EQ(store::value(path, "Negative"), store::dwordValue(0xFFFFFFFE));
    EXPECT_EQ(RegistryValues::ReadInteger(*key, "Negative"), -2);

    RegistryValues::WriteBool(*key, "On", true);
    RegistryValues::WriteBool(*key, "Off", false);
    EXPECT_EQ(store::value(path, "On"), store::dwordValue(1));
    EXPECT_EQ(store::value(path, "Off"), store::dwordValue(0));
    store::setDword(path, "Five", 5);
    EXPECT_TRUE(RegistryValues::ReadBool(*key, "Five"));
    EXPECT_FALSE(RegistryValues::ReadBool(*key, "Off"));

    RegistryValues::WriteString(*key, "Text", QStringLiteral("Zo\u00eb"));
    EXPECT_EQ(store::value(path, "Text"), (Value{platform::REG_SZ, QByteArray("Zo\xeb", 4)}));
    EXPECT_EQ(RegistryValues::ReadString(*key, "Text"), QStringLiteral("Zo\u00eb"));
    RegistryValues::WriteString(*key, "Empty", QString());
    EXPECT_EQ(RegistryValues::ReadString(*key, "Empty"), "");

    store::set(path, "Expand", platform::REG_EXPAND_SZ, QByteArray("%HOME%\\x", 9));
    EXPECT_EQ(RegistryValues::ReadString(*key, "Expand"), "%HOME%\\x");
    store::set(path, "Cut", platform::REG_SZ, QByteArray("ab\0cd", 6));
    EXPECT_EQ(RegistryValues::ReadString(*key, "Cut"), "ab");
    store::set(path, "Unclosed", platform::REG_SZ, QByteArray("abc"));
    EXPECT_EQ(RegistryValues::ReadString(*key, "Unclosed"), "abc");
    store::set(path, "Nothing", platform::REG_SZ, QByteArray());
    EXPECT_EQ(RegistryValues::ReadString(*key, "Nothing"), "");

    store::set(path, "Blob", platform::REG_BINARY, QByteArray("\x01\x02", 2));
    EXPECT_TRUE(RegistryValues::Exists(*key, "Blob"));
    EXPECT_TRUE(RegistryValues::Exists(*key, "Text"));
    EXPECT_FALSE(RegistryValues::Exists(*key, "Missing"));
}

TEST(RegistryValues, FailuresNameTheValue) {
    const QString path = QStringLiteral("Software\\Tests\\Failures");
    TSimpleOptions options;
    options.RegKey = QStringLiteral("Software\\Tests");
    options.RegSubKey = QStringLiteral("Failures");
    SettingsKey key(options.OpenSettingsKey(QString()));
    store::setDword(path, "X", 3);
    store::set(path, "Long", platform::REG_SZ, QByteArray("longer than four"));
    store::set(path, "Short", platform::REG_BINARY, QByteArray("\x01\x02", 2));

    EXPECT_EQ(messageOf([&] { RegistryValues::ReadString(*key, "X"); }),
              "Invalid data type for 'X'");
    EXPECT_EQ(messageOf([&] { RegistryValues::ReadInteger(*key, "Long"); }),
              "Failed to get data for 'Long'");
    EXPECT_EQ(messageOf([&] { RegistryValues::ReadBool(*key, "Short"); }),
              "Invalid data type for 'Short'");
    EXPECT_EQ(messageOf([&] { RegistryValues::ReadInteger(*key, "Height"); }),
              "Failed to get data for 'Height'");
    EXPECT_EQ(messageOf([&] { RegistryValues::ReadString(*key, "Gone"); }),
              "Failed to get data for 'Gone'");

    const platform::RegKey closed;
    EXPECT_FALSE(RegistryValues::Exists(closed, "X"));
    EXPECT_EQ(messageOf([&] { RegistryValues::WriteInteger(closed, "State", 1); }),
              "Failed to set data for 'State'");
    EXPECT_EQ(messageOf([&] { RegistryValues::WriteString(closed, "Name", "x"); }),
              "Failed to set data for 'Name'");

    // The application's error report shows what() of an escaping error.
    QStringList reports;
    toolkit::setErrorReporter([&](const QString &text) { reports << text; });
    toolkit::guarded([&] { RegistryValues::WriteBool(closed, "Sounds", true); });
    toolkit::setErrorReporter({});
    EXPECT_EQ(reports, QStringList{"Failed to set data for 'Sounds'"});
}

TEST(IniValues, NumbersFallBackToTheDefault) {
    TSimpleOptions options;
    useIni(options, QStringLiteral("numbers.ini"));
    const QStringList texts = {"0x1F", "0X1f",  "12",         "-7",          "abc", "0x",
                               "0xG1", "12abc", "0xFFFFFFFF", "99999999999", "+3",  ""};
    for (const QString &text : texts)
        IniValues::WriteString(options, "V" + text, text);
    auto read = [&](const QString &text) {
        return IniValues::ReadInteger(options, "V" + text, 77);
    };
    EXPECT_EQ(read("0x1F"), 31);
    EXPECT_EQ(read("0X1f"), 31);
    EXPECT_EQ(read("12"), 12);
    EXPECT_EQ(read("-7"), -7);
    EXPECT_EQ(read("+3"), 3);
    EXPECT_EQ(read("0xFFFFFFFF"), -1);
    for (const char *invalid : {"abc", "0x", "0xG1", "12abc", "99999999999", ""})
        EXPECT_EQ(read(invalid), 77) << invalid;
    EXPECT_EQ(IniValues::ReadInteger(options, "Missing", -4), -4);

    IniValues::WriteInteger(options, "Written", -42);
    EXPECT_EQ(IniValues::ReadString(options, "Written", {}), "-42");

    IniValues::WriteString(options, "Two", "2");
    IniValues::WriteBool(options, "True", true);
    IniValues::WriteBool(options, "False", false);
    EXPECT_EQ(IniValues::ReadString(options, "True", {}), "1");
    EXPECT_EQ(IniValues::ReadString(options, "False", {}), "0");
    EXPECT_TRUE(IniValues::ReadBool(options, "Two", false));
    EXPECT_FALSE(IniValues::ReadBool(options, "False", true));
    EXPECT_TRUE(IniValues::ReadBool(options, "Missing", true));
    EXPECT_FALSE(IniValues::ReadBool(options, "Missing", false));
    EXPECT_FALSE(IniValues::ReadBool(options, "Vabc", false));
}

TEST(IniValues, StringsAndWriteFailures) {
    TSimpleOptions options;
    useIni(options, QStringLiteral("strings.ini"));
    EXPECT_EQ(IniValues::ReadString(options, "Missing", "fallback"), "fallback");
    IniValues::WriteString(options, "Name", QStringLiteral("Zo\u00eb"));
    EXPECT_EQ(IniValues::ReadString(options, "Name", {}), QStringLiteral("Zo\u00eb"));
    IniValues::WriteString(options, "Long", QString(1500, u'x'));
    EXPECT_EQ(IniValues::ReadString(options, "Long", {}), QString(1023, u'x'));

    // A plain file where the folder should be: the profile cannot be written.
    const QString blocker = platform::ConfigFolder() + "/blocker";
    QDir().mkpath(platform::ConfigFolder());
    QFile file(blocker);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    TSimpleOptions blocked;
    useIni(blocked, blocker + "/x.ini");
    EXPECT_EQ(messageOf([&] { IniValues::WriteInteger(blocked, "State", 1); }),
              "Unable to write to " + blocker + "/x.ini");
}
