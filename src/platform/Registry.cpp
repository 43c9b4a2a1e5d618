#include "platform/Registry.h"

#include "platform/ConfigFolder.h"
#include "platform/LockedFile.h"
#include "platform/RegFile.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFileInfo>

#include <cstring>

namespace platform {

namespace {

// What the file will hold, so a name reads back exactly as the store keeps it.
QString latin1Name(const QString &name) {
    return QString::fromLatin1(name.toLatin1());
}

// Names live on one line of the file.
bool breaksLine(const QString &name) {
    return name.contains(u'\n') || name.contains(u'\r');
}

RegTree classesRoot(const RegTree &file) {
    RegTree tree;
    const auto text = [](const char *s) { return QByteArray(s).append('\0'); };
    for (const char *extension : {".htm", ".html"})
        tree.setValue(tree.section(RegRoot::ClassesRoot, QString::fromLatin1(extension)),
                      RegValue{QString(), REG_SZ, text("htmlfile"), {}});
    tree.setValue(
        tree.section(RegRoot::ClassesRoot, QStringLiteral("htmlfile\\shell\\open\\command")),
        RegValue{QString(), REG_SZ, text("xdg-open \"%1\""), {}});
    for (const RegSection &section : file.sections) {
        if (section.root != RegRoot::ClassesRoot)
            continue;
        RegSection &merged = tree.section(RegRoot::ClassesRoot, section.path);
        for (const RegValue &value : section.values)
            tree.setValue(merged, value);
    }
    return tree;
}

} // namespace

Registry::Registry(QString filePath, QObject *parent)
    : QObject(parent), filePath_(std::move(filePath)) {}

Registry &Registry::user() {
    const QString name = QStringLiteral("userRegistry");
    if (QCoreApplication *app = QCoreApplication::instance()) {
        if (auto *store = app->findChild<Registry *>(name, Qt::FindDirectChildrenOnly))
            return *store;
        auto *store = new Registry(ConfigFolder() + QStringLiteral("/user.reg"), app);
        store->setObjectName(name);
        return *store;
    }
    static Registry withoutApplication(ConfigFolder() + QStringLiteral("/user.reg"));
    return withoutApplication;
}

void Registry::setDamageReporter(std::function<void(const QString &message)> reporter) {
    reportDamage_ = std::move(reporter);
}

void Registry::noteDamage(const ParsedRegFile &parsed) {
    if (!parsed.damaged() || damageReported_)
        return;
    damageReported_ = true;
    const QString message = QStringLiteral("The settings file %1 is damaged (%2); settings are "
                                           "not saved until it is mended.")
                                .arg(filePath_, parsed.problems.first());
    if (reportDamage_)
        reportDamage_(message);
    else
        qWarning().noquote() << message;
}

void Registry::noteReadOnly() {
    if (readOnlyReported_)
        return;
    readOnlyReported_ = true;
    const QString message = QStringLiteral("The settings file %1 is read-only; settings are not "
                                           "saved while it is.")
                                .arg(filePath_);
    if (reportDamage_)
        reportDamage_(message);
    else
        qWarning().noquote() << message;
}

ParsedRegFile Registry::load() {
    QByteArray bytes;
    if (detail::ReadLocked(filePath_, &bytes) != detail::ReadStatus::Read)
        return {};
    ParsedRegFile parsed = ParseRegFile(bytes);
    noteDamage(parsed);
    return parsed;
}

RegResult Registry::modify(const std::function<bool(RegTree &tree)> &change) {
    if (!QDir().mkpath(QFileInfo(filePath_).absolutePath()))
        return ERROR_CANTWRITE;
    using detail::ModifyStatus;
    const ModifyStatus status = detail::ModifyLocked(
        filePath_,
        [&](const std::optional<QByteArray> &contents, QByteArray &updated) {
            ParsedRegFile parsed;
            if (contents) {
                parsed = ParseRegFile(*contents);
                noteDamage(parsed);
            }
            if (!change(parsed.tree))
                return ModifyStatus::Kept;
            if (parsed.damaged())
                return ModifyStatus::Refused;
            updated = SerializeRegFile(parsed.tree);
            return ModifyStatus::Replaced;
        },
        seams_);
    switch (status) {
    case ModifyStatus::Kept:
    case ModifyStatus::Replaced:
        return ERROR_SUCCESS;
    case ModifyStatus::Refused:
        return ERROR_BADDB;
    case ModifyStatus::ReadOnly:
        noteReadOnly();
        return ERROR_ACCESS_DENIED;
    case ModifyStatus::Failed:
        break;
    }
    return ERROR_CANTWRITE;
}

RegResult Registry::CreateKeyEx(RegRoot root, const QString &subKey, RegKey *result) {
    if (!result)
        return ERROR_INVALID_PARAMETER;
    *result = RegKey{};
    if (root == RegRoot::ClassesRoot)
        return ERROR_ACCESS_DENIED;
    const QString path = NormalizeKeyPath(latin1Name(subKey));
    if (breaksLine(path))
        return ERROR_INVALID_PARAMETER;
    const RegResult status = modify([&](RegTree &tree) {
        if (tree.hasKey(root, path))
            return false;
        tree.section(root, path);
        return true;
    });
    if (status == ERROR_SUCCESS)
        *result = RegKey{root, path, true};
    return status;
}

RegResult Registry::OpenKeyEx(RegRoot root, const QString &subKey, RegKey *result) {
    if (!result)
        return ERROR_INVALID_PARAMETER;
    *result = RegKey{};
    const QString path = NormalizeKeyPath(latin1Name(subKey));
    RegTree tree = load().tree;
    if (root == RegRoot::ClassesRoot)
        tree = classesRoot(tree);
    if (!tree.hasKey(root, path))
        return ERROR_FILE_NOT_FOUND;
    *result = RegKey{root, path, true};
    return ERROR_SUCCESS;
}

RegResult Registry::QueryValueEx(const RegKey &key, const QString &name, uint32_t *type,
                                 uint8_t *data, uint32_t *size) {
    if (!key.open)
        return ERROR_INVALID_HANDLE;
    if (data && !size)
        return ERROR_INVALID_PARAMETER;
    RegTree tree = load().tree;
    if (key.root == RegRoot::ClassesRoot)
        tree = classesRoot(tree);
    const RegSection *section = tree.findSection(key.root, key.path);
    const RegValue *value = section ? section->findValue(latin1Name(name)) : nullptr;
    if (!value)
        return ERROR_FILE_NOT_FOUND;
    if (type)
        *type = value->type;
    const auto needed = uint32_t(value->data.size());
    if (!data) {
        if (size)
            *size = needed;
        return ERROR_SUCCESS;
    }
    if (*size < needed) {
        *size = needed;
        return ERROR_MORE_DATA;
    }
    if (needed > 0)
        std::memcpy(data, value->data.constData(), needed);
    *size = needed;
    return ERROR_SUCCESS;
}

RegResult Registry::SetValueEx(const RegKey &key, const QString &name, uint32_t type,
                               const uint8_t *data, uint32_t size) {
    if (!key.open)
        return ERROR_INVALID_HANDLE;
    if (key.root == RegRoot::ClassesRoot)
        return ERROR_ACCESS_DENIED;
    const QString valueName = latin1Name(name);
    if ((!data && size > 0) || breaksLine(valueName))
        return ERROR_INVALID_PARAMETER;
    const QByteArray bytes =
        NormalizeValueData(type, QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    return modify([&](RegTree &tree) {
        // The key may have been an implied parent, or the file removed since it was opened.
        RegSection &section = tree.section(key.root, key.path);
        if (const RegValue *old = section.findValue(valueName);
            old && old->type == type && old->data == bytes)
            return false;
        tree.setValue(section, RegValue{valueName, type, bytes, {}});
        return true;
    });
}

RegResult Registry::CloseKey(RegKey &key) {
    if (!key.open)
        return ERROR_INVALID_HANDLE;
    key.open = false;
    return ERROR_SUCCESS;
}

} // namespace platform
