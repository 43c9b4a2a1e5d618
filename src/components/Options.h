#pragma once

// Where a persistent control keeps its values: in the user's registry below
// HKEY_CURRENT_USER, or in a profile (ini) file; and the two back ends with the value
// encodings, defaults and errors the controls rely on.

#include "platform/Registry.h"

#include <QObject>
#include <QString>

#include <optional>
#include <stdexcept>

// A failure of a back end, carrying its fixed message ("Failed to set data for 'X'").
class ESettingsError : public std::runtime_error {
public:
    explicit ESettingsError(const QString &message);
    QString message() const { return QString::fromUtf8(what()); }
};

class SettingsStore;

class TSimpleOptions : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString RegKey MEMBER RegKey)
    Q_PROPERTY(QString RegSubKey MEMBER RegSubKey)
    Q_PROPERTY(QString IniFile MEMBER IniFile)
    Q_PROPERTY(QString IniSection MEMBER IniSection)
    Q_PROPERTY(bool UseRegistry MEMBER UseRegistry)

public:
    explicit TSimpleOptions(QObject *parent = nullptr);

    QString RegKey = QStringLiteral("\\Software\\MyCompany\\MyProgram");
    QString RegSubKey = QStringLiteral("MyKey");
    QString IniFile = QStringLiteral("My.ini");
    QString IniSection = QStringLiteral("MyKey");
    bool UseRegistry = true;

    // Opens the control's settings key, creating it: RegKey + "\" + RegSubKey from the root,
    // one leading backslash dropped. An empty RegSubKey takes the control's name, and keeps it.
    // The result of the open is not tested: a key that could not be opened has no values, and
    // writes to it fail.
    platform::RegKey OpenSettingsKey(const QString &controlName);

    // The store these options name at this moment, for one save or restore of the control
    // `controlName`: the registry (its settings key open until the store goes) or the profile.
    SettingsStore OpenStore(const QString &controlName);
};

// The registry back end on one open key. Each call raises ESettingsError with the fixed
// message of its failure, naming the value.
namespace RegistryValues {
bool Exists(const platform::RegKey &key, const QString &name);
int32_t ReadInteger(const platform::RegKey &key, const QString &name);
void WriteInteger(const platform::RegKey &key, const QString &name, int32_t value);
QString ReadString(const platform::RegKey &key, const QString &name);
void WriteString(const platform::RegKey &key, const QString &name, const QString &value);
bool ReadBool(const platform::RegKey &key, const QString &name);
void WriteBool(const platform::RegKey &key, const QString &name, bool value);
} // namespace RegistryValues

// The profile back end: reads fall back to the caller's default and never fail; a write that
// fails raises "Unable to write to <file>".
namespace IniValues {
QString ReadString(const TSimpleOptions &options, const QString &name, const QString &defaultValue);
void WriteString(const TSimpleOptions &options, const QString &name, const QString &value);
int32_t ReadInteger(const TSimpleOptions &options, const QString &name, int32_t defaultValue);
void WriteInteger(const TSimpleOptions &options, const QString &name, int32_t value);
bool ReadBool(const TSimpleOptions &options, const QString &name, bool defaultValue);
void WriteBool(const TSimpleOptions &options, const QString &name, bool value);
} // namespace IniValues

// Closes a key when it goes out of scope, also when an error leaves the operation early.
class SettingsKey {
public:
    explicit SettingsKey(platform::RegKey key) : key_(key) {}
    ~SettingsKey();
    SettingsKey(const SettingsKey &) = delete;
    SettingsKey &operator=(const SettingsKey &) = delete;
    const platform::RegKey &operator*() const { return key_; }

private:
    platform::RegKey key_;
};

// One save or restore in the store its options chose when it was opened. The controls say only
// what they keep; the back end, its defaults and its errors are decided here.
class SettingsStore {
public:
    SettingsStore(const SettingsStore &) = delete;
    SettingsStore &operator=(const SettingsStore &) = delete;

    // Whether a restore reads `name`. The registry has no defaults: a value that is not there
    // leaves the control as it is. The profile answers every read, with the caller's default
    // for a missing entry.
    bool Restorable(const QString &name) const;

    // Reads give the stored value. In the profile a missing or unreadable entry gives
    // `defaultValue`; the registry has none, so there a missing value, or one of another type,
    // raises ESettingsError. A write that fails raises it in either.
    QString ReadString(const QString &name, const QString &defaultValue) const;
    int32_t ReadInteger(const QString &name, int32_t defaultValue) const;
    bool ReadBool(const QString &name, bool defaultValue) const;
    void WriteString(const QString &name, const QString &value);
    void WriteInteger(const QString &name, int32_t value);
    void WriteBool(const QString &name, bool value);

private:
    friend class TSimpleOptions;
    SettingsStore(TSimpleOptions &options, const QString &controlName);

    const TSimpleOptions &options_;
    std::optional<SettingsKey> key_; // set for the registry
};
