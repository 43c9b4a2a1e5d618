#pragma once

// The benchmarks run the windows from a program folder of their own, holding the shipped
// score table, so that they never touch the build's or the user's table.

#include "platform/ConfigFolder.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>

inline void UseOwnProgramFolder(const QTemporaryDir &folder) {
    platform::SetProgramFolder(folder.path());
    const QString table = folder.filePath("gorbulax.dat");
    QFile::copy(QStringLiteral(GORBULAX_SHIPPED_TABLE), table);
    QFile::setPermissions(table, QFile::ReadOwner | QFile::WriteOwner);
}

// Headless, silent, with settings and data in `home`: what every windowed benchmark runs in.
inline void UseHeadlessSession(const QTemporaryDir &home) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    setenv("GORBULAX_CONFIG_HOME", qPrintable(home.filePath("config")), 1);
    setenv("GORBULAX_DATA_HOME", qPrintable(home.filePath("data")), 1);
}
