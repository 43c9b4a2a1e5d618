#pragma once

// File names as the program knows them: letter case does not tell two files apart
// ("Gorbulax.dat" and "gorbulax.dat" are one file, and paths are kept in upper case). Every
// file the program opens, tests or lists by a name it was given goes through Resolve first.

#include <QString>

namespace platform::Files {

// The path as it exists on the disk: each component matched without regard to case, the
// exact spelling preferred, then the first match in the folder's sorted listing. Components
// from the first one that matches nothing on are kept as given, so that a file about to be
// created lands in the folders that do exist. "." and ".." and a trailing separator are
// kept; a relative path stays relative.
QString Resolve(const QString &path);

// Whether a file or folder of that name exists, letter case aside.
bool Exists(const QString &path);
// Whether a regular file (or a link to one) of that name exists, letter case aside.
bool FileExists(const QString &path);
// Whether a folder of that name exists, letter case aside.
bool DirExists(const QString &path);

} // namespace platform::Files
