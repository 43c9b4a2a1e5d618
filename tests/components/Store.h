#pragma once

// Direct access to the run's registry, to plant values of any type and to see what a control
// stored, apart from the code under test.

#include "platform/Registry.h"

#include <QByteArray>
#include <QString>

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

namespace store {

inline platform::Registry &reg() {
    return platform::Registry::user();
}

struct Value {
    uint32_t type = 0;
    QByteArray data;
};

inline bool keyExists(const QString &path) {
    platform::RegKey key;
    const bool found =
        reg().OpenKeyEx(platform::RegRoot::CurrentUser, path, &key) == platform::ERROR_SUCCESS;
    if (found)
        reg().CloseKey(key);
    return found;
}

inline std::optional<Value> value(const QString &path, const QString &name) {
    platform::RegKey key;
    if (reg().OpenKeyEx(platform::RegRoot::CurrentUser, path, &key) != platform::ERROR_SUCCESS)
        return std::nullopt;
    Value v;
    uint32_t size = 0;
    std::optional<Value> result;
    if (reg().QueryValueEx(key, name, &v.type, nullptr, &size) == platform::ERROR_SUCCESS) {
        v.data.resize(size);
        if (reg().QueryValueEx(key, name, &v.type, reinterpret_cast<uint8_t *>(v.data.data()),
                               &size) == platform::ERROR_SUCCESS)
            result = v;
    }
    reg().CloseKey(key);
    return result;
}

inline QByteArray dword(uint32_t v) {
    const char bytes[4] = {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
    return QByteArray(bytes, 4);
}

inline Value dwordValue(uint32_t v) {
    return {platform::REG_DWORD, dword(v)};
}

inline void set(const QString &path, const QString &name, uint32_t type, const QByteArray &data) {
    platform::RegKey key;
    ASSERT_EQ(reg().CreateKeyEx(platform::RegRoot::CurrentUser, path, &key),
              platform::ERROR_SUCCESS);
    ASSERT_EQ(reg().SetValueEx(key, name, type, reinterpret_cast<const uint8_t *>(data.data()),
                               uint32_t(data.size())),
              platform::ERROR_SUCCESS);
    reg().CloseKey(key);
}

inline void setDword(const QString &path, const QString &name, uint32_t v) {
    set(path, name, platform::REG_DWORD, dword(v));
}

inline bool operator==(const Value &a, const Value &b) {
    return a.type == b.type && a.data == b.data;
}

inline void PrintTo(const Value &v, std::ostream *os) {
    *os << "type " << v.type << " data " << v.data.toHex().constData();
}

} // namespace store
