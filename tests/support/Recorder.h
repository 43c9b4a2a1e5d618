#pragma once

// A small program of a test's own that notes what it was started with, so that a test can
// start something real without opening a browser: its own name, each argument, its working
// folder and the two library variables, one to a line, written to a file beside it.

#include "support/Printing.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTest>
#include <gtest/gtest.h>

#include <optional>

class Recorder {
public:
    // Writes the program to `path`, creating its folder.
    explicit Recorder(const QString &path) : path_(path), record_(path + ".record") {
        QDir().mkpath(QFileInfo(path).path());
        QFile script(path);
        EXPECT_TRUE(script.open(QIODevice::WriteOnly | QIODevice::Truncate));
        script.write("#!/bin/sh\n"
                     "out='" +
                     QFile::encodeName(record_) +
                     "'\n"
                     "{ printf 'program=%s\\n' \"$0\"\n"
                     "  for a in \"$@\"; do printf 'arg=%s\\n' \"$a\"; done\n"
                     "  printf 'folder=%s\\n' \"$(pwd)\"\n"
                     "  printf 'libraries=%s|%s\\n' \"${LD_LIBRARY_PATH-unset}\" "
                     "\"${LD_PRELOAD-unset}\"\n"
                     "} > \"$out.part\" && mv \"$out.part\" \"$out\"\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    QString path() const { return path_; }

    // The lines it wrote, once it has run; nothing when it did not run within ten seconds.
    std::optional<QStringList> lines() const {
        if (!QTest::qWaitFor([this] { return QFile::exists(record_); }, 10'000))
            return std::nullopt;
        QFile file(record_);
        if (!file.open(QIODevice::ReadOnly))
            return std::nullopt;
        QStringList lines = QString::fromLocal8Bit(file.readAll()).split(u'\n');
        lines.removeAll(QString());
        return lines;
    }

    // Forgets the last run.
    void reset() const { QFile::remove(record_); }

private:
    QString path_;
    QString record_;
};
