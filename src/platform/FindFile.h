#pragma once

// A folder listed one entry at a time, with the attribute bits the program filters folders by.
// On this platform a name that begins with a dot is hidden; the system, archive and read-only
// bits have no counterpart and the listing never sets them.

#include <QByteArray>
#include <QString>

#include <cstdint>

#include <dirent.h>

namespace platform {

enum FileAttr : uint32_t {
    faReadOnly = 0x01,
    faHidden = 0x02,
    faSysFile = 0x04,
    faDirectory = 0x10,
    faArchive = 0x20,
};

// What a listing step gives when the folder has no more entries.
constexpr int NoMoreFiles = ENOENT;

// An open listing. It closes itself when it goes; closing it twice is harmless.
class FindHandle {
public:
    FindHandle() = default;
    ~FindHandle() { Close(); }
    FindHandle(const FindHandle &) = delete;
    FindHandle &operator=(const FindHandle &) = delete;

    // Starts listing `folder`: 0 with the first entry, or the error (an errno value) with the
    // handle left closed. "." and ".." are entries like any other.
    int First(const QString &folder, uint32_t &attr, QString &name);
    // 0 with the next entry; NoMoreFiles at the end, or the error.
    int Next(uint32_t &attr, QString &name);
    void Close();
    bool IsOpen() const { return dir_ != nullptr; }

private:
    DIR *dir_ = nullptr;
};

} // namespace platform
