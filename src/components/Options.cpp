#include "components/Options.h"

#include "platform/Bytes.h"
#include "platform/Profile.h"

#include <QByteArray>

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

using platform::Registry;

namespace {

[[noreturn]] void fail(const char *format, const QString &name) {
    throw ESettingsError(QString::fromLatin1(format).arg(name));
}

// The whole text must be the number. Hexadecimal covers all 32 bits, so a negative value
// written by another program as 0xFFFFFFFF comes back as -1; leading zeros do not count
// against its eight digits.
std::optional<int32_t> parseHex(QStringView digits) {
    while (digits.size() > 1 && digits.front() == u'0')
        digits = digits.mid(1);
    const auto value = platform::ParseHex(digits, 8);
    if (!value)
        return std::nullopt;
    return static_cast<int32_t>(static_cast<uint32_t>(*value));
}

std::optional<int32_t> parseDecimal(QStringView text) {
    bool negative = false;
    if (!text.isEmpty() && (text.front() == u'-' || text.front() == u'+')) {
        negative = text.front() == u'-';
        text = text.mid(1);
    }
    if (text.isEmpty())
        return std::nullopt;
    int64_t value = 0;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
        if (value > int64_t(INT32_MAX) + 1)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > INT32_MAX)
        return std::nullopt;
    return static_cast<int32_t>(value);
}

} // namespace

ESettingsError::ESettingsError(const QString &message)
    : std::runtime_error(message.toUtf8().toStdString()) {}

TSimpleOptions::TSimpleOptions(QObject *parent) : QObject(parent) {
    setObjectName(QStringLiteral("Options"));
}

platform::RegKey TSimpleOptions::OpenSettingsKey(const QString &controlName) {
    if (RegSubKey.isEmpty())
        RegSubKey = controlName;
    QString path = RegKey + u'\\' + RegSubKey;
    if (path.startsWith(u'\\'))
        path.remove(0, 1);
    platform::RegKey key;
    Registry::user().CreateKeyEx(platform::RegRoot::CurrentUser, path, &key);
    return key;
}

SettingsStore TSimpleOptions::OpenStore(const QString &controlName) {
    return SettingsStore(*this, controlName);
}

SettingsKey::~SettingsKey() {
    if (key_.open)
        Registry::user().CloseKey(key_);
}

namespace RegistryValues {

bool Exists(const platform::RegKey &key, const QString &name) {
    uint32_t type = 0;
    uint32_t size = 0;
    return Registry::user().QueryValueEx(key, name, &type, nullptr, &size) ==
           platform::ERROR_SUCCESS;
}

int32_t ReadInteger(const platform::RegKey &key, const QString &name) {
    std::array<uint8_t, 4> bytes{};
    uint32_t type = 0;
    uint32_t size = bytes.size();
    if (Registry::user().QueryValueEx(key, name, &type, bytes.data(), &size) !=
        platform::ERROR_SUCCESS)
        fail("Failed to get data for '%1'", name);
    if (type != platform::REG_DWORD)
        fail("Invalid data type for '%1'", name);
    return static_cast<int32_t>(platform::LoadU32(bytes.data()));
}

void WriteInteger(const platform::RegKey &key, const QString &name, int32_t value) {
    std::array<uint8_t, 4> bytes{};
    platform::StoreU32(bytes.data(), static_cast<uint32_t>(value));
    if (Registry::user().SetValueEx(key, name, platform::REG_DWORD, bytes.data(), bytes.size()) !=
        platform::ERROR_SUCCESS)
        fail("Failed to set data for '%1'", name);
}

QString ReadString(const platform::RegKey &key, const QString &name) {
    Registry &registry = Registry::user();
    uint32_t type = 0;
    uint32_t size = 0;
    if (registry.QueryValueEx(key, name, &type, nullptr, &size) != platform::ERROR_SUCCESS)
        fail("Failed to get data for '%1'", name);
    if (size == 0)
        return {};
    QByteArray data(qsizetype(size), '\0');
    if (registry.QueryValueEx(key, name, &type, reinterpret_cast<uint8_t *>(data.data()), &size) !=
        platform::ERROR_SUCCESS)
        fail("Failed to get data for '%1'", name);
    if (type != platform::REG_SZ && type != platform::REG_EXPAND_SZ)
        fail("Invalid data type for '%1'", name);
    data.truncate(qsizetype(size));
    const qsizetype end = data.indexOf('\0');
    if (end >= 0)
        data.truncate(end);
    return QString::fromLatin1(data);
}

void WriteString(const platform::RegKey &key, const QString &name, const QString &value) {
    const QByteArray text = value.toLatin1();
    // The closing zero byte is part of a string value.
    if (Registry::user().SetValueEx(key, name, platform::REG_SZ,
                                    reinterpret_cast<const uint8_t *>(text.constData()),
                                    uint32_t(text.size() + 1)) != platform::ERROR_SUCCESS)
        fail("Failed to set data for '%1'", name);
}

bool ReadBool(const platform::RegKey &key, const QString &name) {
    return ReadInteger(key, name) != 0;
}

void WriteBool(const platform::RegKey &key, const QString &name, bool value) {
    WriteInteger(key, name, value ? 1 : 0);
}

} // namespace RegistryValues

namespace IniValues {

QString ReadString(const TSimpleOptions &options, const QString &name,
                   const QString &defaultValue) {
    std::array<char, 1024> buffer{};
    const uint32_t length = platform::GetPrivateProfileString(
        options.IniSection, name, defaultValue, buffer.data(), buffer.size(), options.IniFile);
    return QString::fromLatin1(buffer.data(), qsizetype(std::min<size_t>(length, buffer.size())));
}

void WriteString(const TSimpleOptions &options, const QString &name, const QString &value) {
    if (!platform::WritePrivateProfileString(options.IniSection, name, value, options.IniFile))
        throw ESettingsError(QStringLiteral("Unable to write to %1").arg(options.IniFile));
}

int32_t ReadInteger(const TSimpleOptions &options, const QString &name, int32_t defaultValue) {
    const QString text = ReadString(options, name, QString()).trimmed();
    const bool hex = text.size() > 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X');
    const auto value = hex ? parseHex(QStringView(text).mid(2)) : parseDecimal(text);
    return value.value_or(defaultValue);
}

void WriteInteger(const TSimpleOptions &options, const QString &name, int32_t value) {
    WriteString(options, name, QString::number(value));
}

bool ReadBool(const TSimpleOptions &options, const QString &name, bool defaultValue) {
    return ReadInteger(options, name, defaultValue ? 1 : 0) != 0;
}

void WriteBool(const TSimpleOptions &options, const QString &name, bool value) {
    WriteString(options, name, value ? QStringLiteral("1") : QStringLiteral("0"));
}

} // namespace IniValues

SettingsStore::SettingsStore(TSimpleOptions &options, const QString &controlName)
    : options_(options) {
    if (options.UseRegistry)
        key_.emplace(options.OpenSettingsKey(controlName));
}

bool SettingsStore::Restorable(const QString &name) const {
    return !key_ || RegistryValues::Exists(**key_, name);
}

QString SettingsStore::ReadString(const QString &name, const QString &defaultValue) const {
    return key_ ? RegistryValues::ReadString(**key_, name)
                : IniValues::ReadString(options_, name, defaultValue);
}

int32_t SettingsStore::ReadInteger(const QString &name, int32_t defaultValue) const {
    return key_ ? RegistryValues::ReadInteger(**key_, name)
                : IniValues::ReadInteger(options_, name, defaultValue);
}

bool SettingsStore::ReadBool(const QString &name, bool defaultValue) const {
    return key_ ? RegistryValues::ReadBool(**key_, name)
                : IniValues::ReadBool(options_, name, defaultValue);
}

void SettingsStore::WriteString(const QString &name, const QString &value) {
    if (key_)
        RegistryValues::WriteString(**key_, name, value);
    else
        IniValues::WriteString(options_, name, value);
}

void SettingsStore::WriteInteger(const QString &name, int32_t value) {
    if (key_)
        RegistryValues::WriteInteger(**key_, name, value);
    else
        IniValues::WriteInteger(options_, name, value);
}

void SettingsStore::WriteBool(const QString &name, bool value) {
    if (key_)
        RegistryValues::WriteBool(**key_, name, value);
    else
        IniValues::WriteBool(options_, name, value);
}
