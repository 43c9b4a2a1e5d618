#pragma once

// Profile (ini) files as the original platform's profile functions read and write them:
// sections and keys found without regard to letter case, blanks around names and values
// trimmed, every other line and comment kept when a value is written. A file name without a
// folder lies in the configuration folder (ConfigFolder.h). Writes are atomic and locked like
// the registry's.

#include <QString>

#include <cstdint>

namespace platform {

// Copies the value of `key` in `section` of `fileName`, or `defaultValue` when the file,
// section or key is missing, into `buffer` of `size` characters, cut to size − 1 characters
// and closed with a zero byte. Returns the number of characters copied, without the zero.
uint32_t GetPrivateProfileString(const QString &section, const QString &key,
                                 const QString &defaultValue, char *buffer, uint32_t size,
                                 const QString &fileName);

// Writes `value` for `key` in `section`, creating the file and the section as needed.
// False when the file cannot be written.
bool WritePrivateProfileString(const QString &section, const QString &key, const QString &value,
                               const QString &fileName);

// Where a profile file of that name lives.
QString ProfilePath(const QString &fileName);

} // namespace platform
