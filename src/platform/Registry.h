#pragma once

// The user's settings store, standing in for the original platform's registry: keys under
// HKEY_CURRENT_USER with typed values, kept in a REGEDIT4 text file that a person can read
// and mend and that the original's registry editor can import. HKEY_CLASSES_ROOT is read only:
// what the user's file holds under it, over built-in defaults that open web pages with the
// desktop's opener.
//
// The calls keep the original's shape and result codes, so callers meet the same conditions
// (a missing value, a too-small buffer, a refused write) in the same way. Each call opens the
// file, does its work and lets go of it: nothing stays open between calls. Every change reads
// the file, changes it and writes it back under an advisory lock, through a temporary file
// that is flushed and renamed over the old one, so two programs saving at the same time lose
// nothing and a crash leaves the old file or the new one, never half of one. A file that does
// not parse is never written over: the store reports it once, reads what it can, and refuses
// every change until a person has mended the file.

#include "platform/LockedFile.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>

namespace platform {

struct ParsedRegFile;
struct RegTree;

using RegResult = int32_t;
inline constexpr RegResult ERROR_SUCCESS = 0;
inline constexpr RegResult ERROR_FILE_NOT_FOUND = 2;
inline constexpr RegResult ERROR_ACCESS_DENIED = 5;
inline constexpr RegResult ERROR_INVALID_HANDLE = 6;
inline constexpr RegResult ERROR_INVALID_PARAMETER = 87;
inline constexpr RegResult ERROR_MORE_DATA = 234;
inline constexpr RegResult ERROR_BADDB = 1009;     // the store's file is damaged
inline constexpr RegResult ERROR_CANTWRITE = 1013; // the store's file could not be written

enum RegType : uint32_t {
    REG_NONE = 0,
    REG_SZ = 1,
    REG_EXPAND_SZ = 2,
    REG_BINARY = 3,
    REG_DWORD = 4,
    REG_MULTI_SZ = 7,
};

enum class RegRoot { CurrentUser, ClassesRoot };

// An open key: which root and the path below it ("Software\Brakmoor\Gorbulax"), held as
// text; opening checks or creates the key, every later call reads the file afresh.
struct RegKey {
    RegRoot root = RegRoot::CurrentUser;
    QString path;
    bool open = false;
};

class Registry : public QObject {
    Q_OBJECT

public:
    // The store of the file at `filePath`.
    explicit Registry(QString filePath, QObject *parent = nullptr);

    // The user's store of this run: "user.reg" in the configuration folder (see
    // ConfigFolder.h), owned by the application object as its child "userRegistry". Without an
    // application object (tools, early start-up) a store that lives until the program exits.
    static Registry &user();

    QString filePath() const { return filePath_; }

    // Opens `subKey` below `root`, creating it and its missing parents (HKEY_CURRENT_USER
    // only; ERROR_ACCESS_DENIED below HKEY_CLASSES_ROOT). A leading backslash is allowed;
    // backslashes separate the levels, empty levels are skipped; letter case does not matter.
    // The file is written only for a new key, so the write errors below come only then.
    RegResult CreateKeyEx(RegRoot root, const QString &subKey, RegKey *result);
    // Opens an existing key; ERROR_FILE_NOT_FOUND when there is none.
    RegResult OpenKeyEx(RegRoot root, const QString &subKey, RegKey *result);
    // The value's type and data, as the original call gives them: with `data` null, only the
    // type and the size; with a buffer of `*size` bytes that is too small, ERROR_MORE_DATA and
    // the size needed. Strings come back as their 8-bit bytes with exactly one closing zero
    // byte. An empty name means the key's default value.
    RegResult QueryValueEx(const RegKey &key, const QString &name, uint32_t *type, uint8_t *data,
                           uint32_t *size);
    // Stores a value of `type` from `size` bytes (strings: their 8-bit bytes, a closing zero
    // byte included or not). ERROR_ACCESS_DENIED below HKEY_CLASSES_ROOT, ERROR_BADDB while
    // the file is damaged, ERROR_CANTWRITE when it cannot be written (the old file stays) and
    // ERROR_ACCESS_DENIED too while its owner has made it read-only (reported once),
    // ERROR_INVALID_PARAMETER for a name with a line break, which the file could not hold.
    RegResult SetValueEx(const RegKey &key, const QString &name, uint32_t type, const uint8_t *data,
                         uint32_t size);
    RegResult CloseKey(RegKey &key);

    // How a damaged or read-only file is reported, once per store; by default a line on
    // standard error.
    // The application sets its message box here.
    void setDamageReporter(std::function<void(const QString &message)> reporter);

private:
    // Tests of failing writes put a rename that fails in place of the system's.
    friend struct RegistryTestAccess;

    // The file as it is now, read under a shared lock; a damaged file is reported here.
    ParsedRegFile load();
    // Reads the file under an exclusive lock and writes it back if `change` says it changed
    // the tree; a damaged file refuses such a change.
    RegResult modify(const std::function<bool(RegTree &tree)> &change);
    void noteDamage(const ParsedRegFile &parsed);
    void noteReadOnly();

    QString filePath_;
    std::function<void(const QString &)> reportDamage_;
    bool damageReported_ = false;
    bool readOnlyReported_ = false;
    detail::ReplaceSeams seams_;
};

} // namespace platform
