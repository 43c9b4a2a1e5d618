#include "components/GoToWeb.h"

#include "platform/Files.h"
#include "platform/Registry.h"
#include "platform/Shell.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <array>
#include <optional>

using platform::Registry;
using platform::RegKey;
using platform::RegRoot;

namespace {

// The longest registry text taken, its closing zero byte included.
constexpr uint32_t TextBufferSize = 1025;

// An open key below HKEY_CLASSES_ROOT, closed when it goes out of scope.
class ClassKey {
public:
    ClassKey(Registry &registry, const QString &path) : registry_(registry) {
        registry_.OpenKeyEx(RegRoot::ClassesRoot, path, &key_);
    }
    ~ClassKey() {
        if (key_.open)
            registry_.CloseKey(key_);
    }
    ClassKey(const ClassKey &) = delete;
    ClassKey &operator=(const ClassKey &) = delete;

    bool open() const { return key_.open; }

    // The key's default value as text, up to its first zero byte. None when the key is not
    // open, has no default value, holds no text, or holds more than the buffer takes.
    std::optional<QString> defaultText() const {
        if (!key_.open)
            return std::nullopt;
        uint32_t type = 0;
        uint32_t size = 0;
        if (registry_.QueryValueEx(key_, QString(), &type, nullptr, &size) !=
                platform::ERROR_SUCCESS ||
            size > TextBufferSize)
            return std::nullopt;
        std::array<char, TextBufferSize> buffer{};
        if (registry_.QueryValueEx(key_, QString(), &type,
                                   reinterpret_cast<uint8_t *>(buffer.data()),
                                   &size) != platform::ERROR_SUCCESS ||
            (type != platform::REG_SZ && type != platform::REG_EXPAND_SZ))
            return std::nullopt;
        const auto end = std::find(buffer.begin(), buffer.begin() + size, '\0');
        // The command names files, whose names are in the system's own encoding.
        return QFile::decodeName(QByteArray(buffer.data(), end - buffer.begin()));
    }

private:
    Registry &registry_;
    RegKey key_;
};

QString commandOf(Registry &registry, const QString &path) {
    return ClassKey(registry, path).defaultText().value_or(QString());
}

// Blanks and control characters off both ends, as the command's parameters are tidied.
QString trimmed(const QString &text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first].unicode() <= u' ')
        ++first;
    while (last > first && text[last - 1].unicode() <= u' ')
        --last;
    return text.mid(first, last - first);
}

QString extraParameters(const QString &rest) {
    QString parameters = trimmed(rest);
    parameters.remove(u'"');
    for (qsizetype percent = parameters.indexOf(u'%'); percent >= 0;
         percent = parameters.indexOf(u'%', percent)) {
        const qsizetype space = parameters.indexOf(u' ', percent);
        parameters.remove(percent, (space < 0 ? parameters.size() : space) - percent);
    }
    return trimmed(parameters);
}

// The index of the last character of the right-most program ending; -1 when there is none.
qsizetype programEnd(const QString &command) {
    static constexpr std::array<QLatin1StringView, 3> endings{
        QLatin1StringView(".EXE"), QLatin1StringView(".BAT"), QLatin1StringView(".COM")};
    for (qsizetype last = command.size() - 1; last >= 3; --last) {
        const QStringView four = QStringView(command).mid(last - 3, 4);
        for (const QLatin1StringView ending : endings)
            if (four.compare(ending, Qt::CaseInsensitive) == 0)
                return last;
    }
    return -1;
}

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

// The first blank outside double quotes; the command's length when there is none.
qsizetype firstBlank(const QString &command) {
    bool quoted = false;
    for (qsizetype i = 0; i < command.size(); ++i) {
        if (command[i] == u'"')
            quoted = !quoted;
        else if (!quoted && isBlank(command[i]))
            return i;
    }
    return command.size();
}

// A path names a program file; a bare name, one on the search path.
bool namesProgram(const QString &name) {
    if (!name.contains(u'/'))
        return !QStandardPaths::findExecutable(name).isEmpty();
    const QFileInfo info(platform::Files::Resolve(name));
    return info.isFile() && info.isExecutable();
}

// Where the program's name ends in a command without a program ending. An unquoted path may
// hold blanks (`/opt/my browser/run "%1"`): as the original platform did, each blank-separated
// prefix is tried from the shortest until one names an existing program. Without one, or for
// a quoted name, the first word.
qsizetype programNameEnd(const QString &command) {
    const qsizetype first = firstBlank(command);
    if (command.startsWith(u'"'))
        return first;
    qsizetype i = first;
    for (; i < command.size() && command[i] != u'"'; ++i) {
        if (isBlank(command[i]) && !isBlank(command[i - 1]) && namesProgram(command.left(i)))
            return i;
    }
    if (i == command.size() && namesProgram(command))
        return i;
    return first;
}

} // namespace

TGoToWeb::TGoToWeb(QObject *parent) : QObject(parent) {}

QString TGoToWeb::FindBrowser(Registry &registry) {
    for (const char *ending : {".HTM", ".HTML", ".SHTML", ".SHTM"}) {
        const QString endingKey = QString::fromLatin1(ending);
        const ClassKey key(registry, endingKey);
        if (!key.open())
            continue;
        const std::optional<QString> fileType = key.defaultText();
        if (!fileType)
            continue;
        if (!fileType->isEmpty()) {
            const QString command = commandOf(registry, *fileType + "\\shell\\open\\command");
            if (!command.isEmpty())
                return command;
        }
        const QString command = commandOf(registry, endingKey + "\\shell\\open\\command");
        if (!command.isEmpty())
            return command;
    }
    return {};
}

TGoToWeb::BrowserCommand TGoToWeb::SplitBrowserCommand(const QString &command) {
    BrowserCommand split;
    const qsizetype end = programEnd(command);
    if (end < 0) {
        // No ending tells where the program's name stops (the desktop's own `xdg-open "%1"`
        // is such a command): its first word, quotes and all, or the blank-separated prefix
        // that names a program, names it.
        const QString whole = trimmed(command);
        const qsizetype blank = programNameEnd(whole);
        split.program = whole.left(blank).remove(u'"');
        split.parameters = extraParameters(whole.mid(blank));
        return split;
    }
    split.program = command.left(end + 1);
    if (end + 1 < command.size())
        split.parameters = extraParameters(command.mid(end + 1));
    if (split.program.startsWith(u'"'))
        split.program.remove(0, 1);
    return split;
}

bool TGoToWeb::GoToUrl() {
    return open(Url);
}

bool TGoToWeb::SendEMail() {
    return open("mailto:" + EMail + "?subject=" + EMailSubject);
}

bool TGoToWeb::open(const QString &address) {
    const QString command = FindBrowser(registry_ ? *registry_ : Registry::user());
    if (command.isEmpty())
        return false;
    const BrowserCommand browser = SplitBrowserCommand(command);
    const int show = BrowserState == gwMaximized ? platform::Shell::SW_SHOWMAXIMIZED
                                                 : platform::Shell::SW_SHOWNORMAL;
    const QString parameters = browser.parameters + u' ' + address;
    const int result = launch_ ? launch_(browser.program, parameters, QString(), show)
                               : LaunchProgram(browser.program, parameters, QString(), show);
    return result > 32;
}

int LaunchProgram(const QString &file, const QString &parameters, const QString &directory,
                  int show) {
    try {
        return platform::Shell::Execute(file, parameters, directory, show);
    } catch (const std::exception &) {
        // Only memory can run out on the way; the caller hears of it as the shell's own
        // out-of-memory result.
        return platform::Shell::SE_ERR_OOM;
    }
}
