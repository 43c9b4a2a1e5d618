#pragma once

// A machine made up in a temporary folder, for the drive level and the folder tree: its root
// holds the mount table (proc/self/mountinfo), the kernel's block devices and the disk labels
// as the tests write them, and the folders of its drives.

#include "platform/Drives.h"
#include "support/Files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

class FakeMachine {
public:
    FakeMachine() { folder("home/user"); }

    // The folder standing for "/", ending with '/'.
    QString root() const { return dir_.path() + "/"; }
    QString home() const { return root() + "home/user/"; }
    platform::Machine machine() const { return {root(), home()}; }

    // A path of the machine ("/mnt/cd", "home/user/Games") as a path here.
    QString at(const QString &path) const {
        return root() + (path.startsWith('/') ? path.mid(1) : path);
    }

    // Folders, created with those above them.
    void folder(const QString &path) const {
        EXPECT_TRUE(QDir().mkpath(at(path))) << path.toStdString();
    }
    void file(const QString &path, const QByteArray &bytes = {}) const {
        QDir().mkpath(QFileInfo(at(path)).path());
        writeFile(at(path), bytes);
    }
    void link(const QString &path, const QString &target) const {
        EXPECT_TRUE(QFile::link(target, at(path))) << path.toStdString();
    }

    // The mount table, one "mount point, file system, source" a line; the rest of each line is
    // filled in as the kernel writes it.
    struct Mount {
        const char *point;
        const char *fileSystem;
        const char *source;
    };
    void mounts(std::initializer_list<Mount> table) const {
        folder("proc/self");
        QByteArray text;
        int id = 20;
        for (const Mount &m : table) {
            text += QByteArray::number(id++) + " 1 8:1 / " + m.point + " rw,relatime shared:1 - " +
                    m.fileSystem + ' ' + m.source + " rw\n";
        }
        file("proc/self/mountinfo", text);
    }

private:
    QTemporaryDir dir_;
};
