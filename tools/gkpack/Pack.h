#pragma once

// The commands of gkpack, the packer of the game library's formats: sound, image and map
// libraries built from ordinary files, listed, and extracted back to such files. Each family
// takes its command (build, list, extract) and that command's arguments; failures raise
// gk::Error with the file and the reason, a command line that does not fit raises UsageError.

#include "gk/Error.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <string>

namespace gkpack {

struct UsageError {};

// The command lines of each family, one a line, each to be preceded by the program's name
// (and the family's, for gkpack).
extern const char *const SoundUsage;
extern const char *const ImageUsage;
extern const char *const MapUsage;

int SoundCommand(const QStringList &args);
int ImageCommand(const QStringList &args);
int MapCommand(const QStringList &args);

// Runs one family's command as a program does: failures go to standard error after
// `program` and a colon (exit 1), a wrong command line prints the usage (exit 2).
int RunFamily(int (*command)(const QStringList &), const QStringList &args, const char *usage,
              const QString &program);

// --- shared by the families ---

// Runs the command that args[0] names with the arguments after it.
struct Commands {
    int (*build)(const QStringList &);
    int (*list)(const QStringList &);
    int (*extract)(const QStringList &);
};
int Dispatch(const QStringList &args, const Commands &commands);

// An argument "name=file" followed by up to `maxNumbers` trailing ":number" parts. A file
// name may itself hold colons; only trailing parts that are numbers count. "=file" names the
// entry with the empty name, which is how extract prints an unnamed entry in every family;
// without a "=" there is no name, and what that means is the caller's to say.
struct NamedFile {
    QByteArray name;
    bool named = false; // the argument had a "=", the name possibly empty
    QString file;
    QList<int32_t> numbers;
};
NamedFile ParseNamedFile(const QString &arg, int maxNumbers);

std::optional<int32_t> ParseInt(const QString &text);

// Runs `action`, naming `file` in front of any failure it raises that does not name it yet.
template <typename Action> auto ForFile(const QString &file, Action action) {
    try {
        return action();
    } catch (const gk::Error &e) {
        const std::string name = file.toStdString();
        if (std::string(e.what()).find(name) != std::string::npos)
            throw;
        throw gk::Error(name + ": " + e.what());
    }
}

// Writes the whole file or nothing (written aside and renamed over).
void WriteFile(const QString &path, const QByteArray &bytes);
QByteArray ReadFile(const QString &path);
// Makes the folder if need be.
void MakeFolder(const QString &path);

// "07-name.ext": the index and the entry's name, whose characters other than letters, digits,
// '-' and '_' become '_' so that a name from a library never steers where a file goes.
QString OutputName(int index, const QByteArray &name, const char *extension);

} // namespace gkpack
