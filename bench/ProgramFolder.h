#pragma once

// The benchmarks run the windows from a program folder of their own, holding the shipped
// score table, so that they never touch the build's or the user's table.

#include "platform/ConfigFolder.h"

#include <QFile>
#include <QTemporaryDir>

inline void UseOwnProgramFolder(const QTemporaryDir &folder) {
    platform::SetProgramFolder(folder.path());
    const QString table = folder.filePath("gorbulax.dat");
    QFile::copy(QStringLiteral(GORBULAX_SHIPPED_TABLE), table);
    QFile::setPermissions(table, QFile::ReadOwner | QFile::WriteOwner);
}
