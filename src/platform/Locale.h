#pragma once

#include <QDate>
#include <QLocale>
#include <QString>

namespace platform {

// A date in the user's short date format: the locale's own, or "M/d/yy" for the C locale,
// which names no format of its own that a person would write.
QString ShortDate(const QDate &date, const QLocale &locale = QLocale::system());

} // namespace platform
