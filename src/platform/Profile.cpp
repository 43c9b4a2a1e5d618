#include "platform/Profile.h"

#include "platform/ConfigFolder.h"
#include "platform/IniFile.h"
#include "platform/LockedFile.h"

#include <QDir>

#include <algorithm>
#include <cstring>

namespace platform {

namespace {

bool breaksLine(const QByteArray &text) {
    return text.contains('\n') || text.contains('\r');
}

} // namespace

QString ProfilePath(const QString &fileName) {
    if (fileName.contains(u'/'))
        return fileName;
    return ConfigFolder() + u'/' + fileName;
}

uint32_t GetPrivateProfileString(const QString &section, const QString &key,
                                 const QString &defaultValue, char *buffer, uint32_t size,
                                 const QString &fileName) {
    if (!buffer || size == 0)
        return 0;
    const QString path = ProfilePath(fileName);
    QByteArray text;
    std::optional<QByteArray> value;
    if (detail::ReadLocked(path, &text) == detail::ReadStatus::Read)
        value = IniLookup(text, section.toLatin1().trimmed(), key.toLatin1().trimmed());
    if (!value) {
        // The original drops a default's trailing blanks too.
        value = defaultValue.toLatin1();
        while (value->endsWith(' '))
            value->chop(1);
    }
    const auto count = uint32_t(std::min<qsizetype>(value->size(), qsizetype(size) - 1));
    if (count > 0)
        std::memcpy(buffer, value->constData(), count);
    buffer[count] = '\0';
    return count;
}

bool WritePrivateProfileString(const QString &section, const QString &key, const QString &value,
                               const QString &fileName) {
    const QByteArray sectionName = section.toLatin1().trimmed();
    const QByteArray keyName = key.toLatin1().trimmed();
    const QByteArray text = value.toLatin1();
    if (fileName.isEmpty() || keyName.isEmpty() || breaksLine(sectionName) || breaksLine(keyName) ||
        breaksLine(text))
        return false;
    const QString path = ProfilePath(fileName);
    // Only our own folder is made; a folder the caller names must be there, as on the original.
    if (!fileName.contains(u'/') && !QDir().mkpath(ConfigFolder()))
        return false;

    using detail::ModifyStatus;
    const ModifyStatus status = detail::ModifyLocked(
        path, [&](const std::optional<QByteArray> &contents, QByteArray &updated) {
            updated = IniWrite(contents.value_or(QByteArray()), sectionName, keyName, text);
            return contents == updated ? ModifyStatus::Kept : ModifyStatus::Replaced;
        });
    return status == ModifyStatus::Kept || status == ModifyStatus::Replaced;
}

} // namespace platform
