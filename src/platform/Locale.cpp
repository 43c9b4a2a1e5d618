#include "platform/Locale.h"

namespace platform {

QString ShortDate(const QDate &date, const QLocale &locale) {
    if (locale.language() == QLocale::C)
        return date.toString(QStringLiteral("M/d/yy"));
    return locale.toString(date, QLocale::ShortFormat);
}

} // namespace platform
