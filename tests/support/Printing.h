#pragma once

// Texts in failure messages as texts, not as lists of 2-byte objects.

#include <QString>

#include <ostream>

inline void PrintTo(const QString &text, std::ostream *os) {
    *os << '"' << text.toStdString() << '"';
}
