#pragma once

// The drive level of the folder tree. What a person calls drives here: the home folder, the
// file system's root, and the mounts of removable media, discs, network shares and other
// disks below /media, /run/media and /mnt. A path belongs to the drive whose root is its
// longest prefix.

#include <QList>
#include <QString>

namespace platform {

// The kinds of drive, as the folder tree tells them apart.
enum class DriveType { Unknown, NoRootDir, Removable, Fixed, Remote, CdRom, RamDisk };

struct Drive {
    enum class Place { Home, FileSystem, Mount };

    QString root;  // as on the disk, ending with '/'
    QString label; // what a file manager calls it
    DriveType type = DriveType::Fixed;
    Place place = Place::Mount;
};

// The machine the drives are read from: the folder that stands for its root (the mount table
// proc/self/mountinfo, the kernel's sys/class/block and the labels in dev/disk/by-label are
// read below it, and mount points lie below it), and the user's home folder.
struct Machine {
    QString root = QStringLiteral("/");
    QString home;
};

// The running system, with the home folder from $HOME.
Machine ThisMachine();

// Home first (unless it is missing or the root itself), then the root, then the mounts in the
// order of their paths. Nothing on any drive is touched but its mount point's existence.
QList<Drive> ReadDrives(const Machine &machine);

// The drive of `path`: the one whose root is its longest prefix, letter case aside (the tree's
// paths are in upper case); nullptr when none is.
const Drive *DriveOf(const QList<Drive> &drives, const QString &path);

} // namespace platform
