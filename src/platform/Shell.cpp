#include "platform/Shell.h"

#include "platform/Files.h"
#include "platform/SchemeHandlers.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <linux/close_range.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace platform::Shell {

namespace {

// "https:", "mailto:", "file:"; never a drive letter such as "C:".
bool isAddress(const QString &file) {
    return !SchemeHandlers::SchemeOf(file).isEmpty();
}

QString joined(const QString &folder, const QString &name) {
    return folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
}

bool isProgram(const QString &path) {
    const QByteArray name = QFile::encodeName(path);
    struct stat info {};
    return ::stat(name.constData(), &info) == 0 && S_ISREG(info.st_mode) &&
           ::access(name.constData(), X_OK) == 0;
}

// A program of the original platform: its file begins with the signature "MZ".
bool isWindowsProgram(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(2) == "MZ";
}

// A program found by its bare name in PATH, spelt exactly, as this platform finds programs;
// empty when there is none.
QString inPath(const QString &name) {
    const QStringList folders = qEnvironmentVariable("PATH").split(u':', Qt::SkipEmptyParts);
    for (const QString &folder : folders) {
        const QString candidate = joined(folder, name);
        if (isProgram(candidate))
            return candidate;
    }
    return {};
}

struct Located {
    QString path; // as it is on the disk
    int error = 0;
};

Located locate(const QString &file, const QString &directory) {
    if (file.isEmpty())
        return {{}, SE_ERR_FNF};
    if (!file.contains(u'/')) {
        if (!directory.isEmpty() && Files::Exists(joined(directory, file)))
            return {QFileInfo(Files::Resolve(joined(directory, file))).absoluteFilePath()};
        if (const QString program = inPath(file); !program.isEmpty())
            return {program};
        return {{}, SE_ERR_FNF};
    }
    const QString path =
        file.startsWith(u'/') || directory.isEmpty() ? file : joined(directory, file);
    const QString resolved = Files::Resolve(path);
    if (QFileInfo::exists(resolved))
        return {QFileInfo(resolved).absoluteFilePath()};
    return {{}, Files::DirExists(QFileInfo(path).path()) ? SE_ERR_FNF : SE_ERR_PNF};
}

// What the started program's environment lacks: this program's own library set-up.
bool keptInEnvironment(const char *entry) {
    return std::strncmp(entry, "LD_LIBRARY_PATH=", 16) != 0 &&
           std::strncmp(entry, "LD_PRELOAD=", 11) != 0;
}

// How far the detached start came before it failed, and why.
struct SpawnFailure {
    enum Stage : int { MakingProcess, EnteringFolder, StartingProgram } stage;
    int error;
};

int resultOf(const SpawnFailure &failure) {
    switch (failure.error) {
    case ENOENT:
    case ENOTDIR:
    case ELOOP:
    case ENAMETOOLONG:
        return failure.stage == SpawnFailure::EnteringFolder ? SE_ERR_PNF : SE_ERR_FNF;
    case EACCES:
    case EPERM:
    case ETXTBSY:
        return SE_ERR_ACCESSDENIED;
    case ENOEXEC:
    case EINVAL:
    case ELIBBAD:
        return ERROR_BAD_FORMAT;
    default:
        return SE_ERR_OOM;
    }
}

// Only calls that are safe between fork and exec in a program with threads run in the child.
[[noreturn]] void failInChild(int pipe, SpawnFailure::Stage stage) {
    const SpawnFailure failure{stage, errno};
    [[maybe_unused]] const ssize_t written = ::write(pipe, &failure, sizeof failure);
    ::_exit(127);
}

void resetSignals() {
    struct sigaction standard {};
    standard.sa_handler = SIG_DFL;
    for (int signal = 1; signal < NSIG; ++signal)
        ::sigaction(signal, &standard, nullptr); // fails harmlessly for those that cannot change
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
}

// Starts the program in a grandchild of this process: the child in between ends at once and is
// reaped here, so the program belongs to the system's reaper and is never left a zombie. The
// grandchild reports a failed start through a pipe that its successful start closes.
int spawnDetached(const QString &program, const QStringList &arguments, const QString &directory) {
    const QByteArray path = QFile::encodeName(program);
    const QByteArray folder = QFile::encodeName(directory);
    std::vector<QByteArray> argumentBytes{path};
    for (const QString &argument : arguments)
        argumentBytes.push_back(argument.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &argument : argumentBytes)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    std::vector<char *> envp;
    for (char **entry = environ; *entry; ++entry)
        if (keptInEnvironment(*entry))
            envp.push_back(*entry);
    envp.push_back(nullptr);

    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0)
        return SE_ERR_OOM;
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(report[0]);
        ::close(report[1]);
        return SE_ERR_OOM;
    }
    if (child == 0) {
        ::close(report[0]);
        ::setsid(); // a signal to this program's terminal or group is not the program's
        const pid_t grandchild = ::fork();
        if (grandchild < 0)
            failInChild(report[1], SpawnFailure::MakingProcess);
        if (grandchild > 0)
            ::_exit(0);
        resetSignals();
        if (!folder.isEmpty() && ::chdir(folder.constData()) != 0)
            failInChild(report[1], SpawnFailure::EnteringFolder);
        // Files this program holds open (sound devices, locks) are none of the program's.
        ::close_range(3, ~0U, CLOSE_RANGE_CLOEXEC);
        ::execve(path.constData(), argv.data(), envp.data());
        failInChild(report[1], SpawnFailure::StartingProgram);
    }
    ::close(report[1]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    SpawnFailure failure{};
    ssize_t got = 0;
    while ((got = ::read(report[0], &failure, sizeof failure)) < 0 && errno == EINTR) {
    }
    ::close(report[0]);
    return got == sizeof failure ? resultOf(failure) : Started;
}

// No program of the desktop takes the address: the caller's own message tells the player the
// link failed, and one line on standard error tells whoever keeps the desktop which scheme
// lacks a handler.
int noAssociation(const QString &address) {
    const QString scheme = SchemeHandlers::SchemeOf(address);
    if (!scheme.isEmpty())
        std::fprintf(stderr, "Gorbulax: no program of the desktop opens %s: addresses\n",
                     scheme.toLocal8Bit().constData());
    return SE_ERR_NOASSOC;
}

} // namespace

int Execute(const QString &file, const QString &parameters, const QString &directory,
            [[maybe_unused]] int show) {
    QString folder;
    if (!directory.isEmpty()) {
        const QFileInfo info(Files::Resolve(directory));
        if (!info.isDir())
            return SE_ERR_PNF;
        folder = info.absoluteFilePath();
    }
    QString target = file;
    if (!isAddress(file)) {
        const Located located = locate(file, folder);
        if (located.error != 0)
            return located.error;
        if (isProgram(located.path)) {
            const QStringList arguments = SplitCommandLine(parameters);
            if (!SchemeHandlers::CanOpen(located.path, arguments))
                return noAssociation(arguments.value(0));
            const int started = spawnDetached(located.path, arguments, folder);
            // A program of the original platform that this system cannot run itself, though
            // marked executable (as a FAT or NTFS drive marks every file), is the desktop's to
            // open, as it is when not so marked.
            if (started != ERROR_BAD_FORMAT || !isWindowsProgram(located.path))
                return started;
        }
        target = located.path;
    }
    const QString opener = inPath(QStringLiteral("xdg-open"));
    if (opener.isEmpty() || !SchemeHandlers::CanOpen(opener, {target}))
        return noAssociation(target);
    return spawnDetached(opener, {target}, folder);
}

QStringList SplitCommandLine(const QString &commandLine) {
    QStringList arguments;
    QString current;
    bool inArgument = false; // something, maybe an empty quoted part, has begun an argument
    bool quoted = false;
    const qsizetype length = commandLine.size();
    for (qsizetype i = 0; i < length; ++i) {
        const QChar c = commandLine[i];
        if (c == u'\\') {
            qsizetype backslashes = 0;
            while (i < length && commandLine[i] == u'\\') {
                ++backslashes;
                ++i;
            }
            if (i < length && commandLine[i] == u'"') {
                current += QString(backslashes / 2, u'\\');
                if (backslashes % 2 == 1) {
                    current += u'"';
                    inArgument = true;
                    continue;
                }
            } else {
                current += QString(backslashes, u'\\');
            }
            inArgument = true;
            --i; // the character after the backslashes is looked at on its own
            continue;
        }
        if (c == u'"') {
            inArgument = true;
            if (quoted && i + 1 < length && commandLine[i + 1] == u'"') {
                current += u'"';
                ++i;
            } else {
                quoted = !quoted;
            }
            continue;
        }
        if ((c == u' ' || c == u'\t') && !quoted) {
            if (inArgument)
                arguments << current;
            current.clear();
            inArgument = false;
            continue;
        }
        current += c;
        inArgument = true;
    }
    if (inArgument)
        arguments << current;
    return arguments;
}

} // namespace platform::Shell
