// The drive level read from a mount table, and folders listed with their attributes.

#include "platform/Drives.h"
#include "platform/FindFile.h"
#include "support/Machine.h"

#include <QMap>

#include <gtest/gtest.h>

using platform::Drive;
using platform::DriveType;

TEST(Drives, HomeRootAndTheMountsAPersonCallsDrivesEachWithItsType) {
    FakeMachine m;
    m.mounts({
        {"/", "ext4", "/dev/sda1"},
        {"/proc", "proc", "proc"},
        {"/home", "ext4", "/dev/sda2"},
        {"/media/user/USB\\040STICK", "vfat", "/dev/sdc1"},
        {"/mnt/cd", "iso9660", "/dev/sr0"},
        {"/mnt/dvd", "udf", "/dev/sr1"},
        {"/mnt/share", "nfs4", "server:/export"},
        {"/mnt/smb", "cifs", "//server/share"},
        {"/mnt/ssh", "fuse.sshfs", "user@host:/srv"},
        {"/mnt/cloud", "fuse.rclone", "remote:path"},
        {"/mnt/ram", "tmpfs", "tmpfs"},
        {"/mnt/data", "ext4", "/dev/sdb1"},
        {"/mnt/stick", "ext4", "/dev/sdd1"},
        {"/mnt/whole", "ext4", "/dev/sde"},
        {"/mnt/gone", "ext4", "/dev/sdf1"},
        {"/run/media/user/DISK", "ext4", "/dev/sdg1"},
        {"/mnt/over", "ext4", "/dev/sdb2"},
        {"/mnt/over", "tmpfs", "tmpfs"}, // mounted over the first: the later one counts
        {"/mnt", "tmpfs", "tmpfs"},      // the folder of drives is no drive itself
        {"/media/fused", "fuse.bindfs", "/home/user"},
    });
    for (const char *point : {"media/user/USB STICK", "mnt/cd", "mnt/dvd", "mnt/share", "mnt/smb",
                              "mnt/ssh", "mnt/cloud", "mnt/ram", "mnt/data", "mnt/stick",
                              "mnt/whole", "run/media/user/DISK", "mnt/over", "media/fused"})
        m.folder(point);
    // The kernel's block devices: sdd and sde are removable, sdb is not; sdd1 is a partition.
    for (const char *device : {"sdb1", "sdc1", "sdd1", "sde"})
        m.file(QString("dev/") + device);
    m.folder("sys/devices/sdb/sdb1");
    m.file("sys/devices/sdb/removable", "0\n");
    m.folder("sys/devices/sdd/sdd1");
    m.file("sys/devices/sdd/removable", "1\n");
    m.folder("sys/devices/sde");
    m.file("sys/devices/sde/removable", "1\n");
    m.folder("sys/class/block");
    m.link("sys/class/block/sdb1", m.at("sys/devices/sdb/sdb1"));
    m.link("sys/class/block/sdd1", m.at("sys/devices/sdd/sdd1"));
    m.link("sys/class/block/sde", m.at("sys/devices/sde"));
    // Labels, escaped as udev escapes them.
    m.folder("dev/disk/by-label");
    m.link("dev/disk/by-label/My\\x20Stick", m.at("dev/sdc1"));
    m.link("dev/disk/by-label/Backup", m.at("dev/sdb1"));

    const struct {
        const char *root;
        const char *label;
        DriveType type;
    } expected[] = {
        {"home/user/", "Home", DriveType::Fixed},
        {"", "File System", DriveType::Fixed},
        {"media/fused/", "fused", DriveType::Removable},
        {"media/user/USB STICK/", "My Stick", DriveType::Removable},
        {"mnt/cd/", "cd", DriveType::CdRom},
        {"mnt/cloud/", "cloud", DriveType::Remote},
        {"mnt/data/", "Backup", DriveType::Fixed},
        {"mnt/dvd/", "dvd", DriveType::CdRom},
        {"mnt/gone/", "gone", DriveType::NoRootDir},
        {"mnt/over/", "over", DriveType::RamDisk},
        {"mnt/ram/", "ram", DriveType::RamDisk},
        {"mnt/share/", "share", DriveType::Remote},
        {"mnt/smb/", "smb", DriveType::Remote},
        {"mnt/ssh/", "ssh", DriveType::Remote},
        {"mnt/stick/", "stick", DriveType::Removable},
        {"mnt/whole/", "whole", DriveType::Removable},
        {"run/media/user/DISK/", "DISK", DriveType::Removable},
    };
    const QList<Drive> drives = platform::ReadDrives(m.machine());
    ASSERT_EQ(drives.size(), std::size(expected));
    for (qsizetype i = 0; i < drives.size(); ++i) {
        const auto &e = expected[i];
        EXPECT_EQ(drives[i].root, m.at(e.root)) << e.root;
        EXPECT_EQ(drives[i].label, QString(e.label)) << e.root;
        EXPECT_EQ(drives[i].type, e.type) << e.root;
    }
    EXPECT_EQ(drives[0].place, Drive::Place::Home);
    EXPECT_EQ(drives[1].place, Drive::Place::FileSystem);
    EXPECT_EQ(drives[2].place, Drive::Place::Mount);

    // A path belongs to the drive whose root is its longest prefix, letter case aside.
    const struct {
        QString path;
        const char *drive;
    } owners[] = {
        {m.at("HOME/USER/GAMES/"), "home/user/"},
        {m.at("home/user"), "home/user/"},
        {m.at("home/other/"), ""},
        {m.at("MNT/CD/DISC/"), "mnt/cd/"},
        {m.at("mnt/cdrom/"), ""},
        {m.root(), ""},
    };
    for (const auto &o : owners) {
        const Drive *drive = platform::DriveOf(drives, o.path);
        ASSERT_NE(drive, nullptr) << o.path.toStdString();
        EXPECT_EQ(drive->root, m.at(o.drive)) << o.path.toStdString();
    }
    EXPECT_EQ(platform::DriveOf(drives, "/elsewhere/"), nullptr);
}

TEST(Drives, AMissingHomeOrMountTableLeavesTheRoot) {
    FakeMachine m; // no mount table at all
    platform::Machine machine = m.machine();
    QList<Drive> drives = platform::ReadDrives(machine);
    ASSERT_EQ(drives.size(), 2);
    EXPECT_EQ(drives[0].label, "Home");

    machine.home = m.at("home/nobody");
    drives = platform::ReadDrives(machine);
    ASSERT_EQ(drives.size(), 1);
    EXPECT_EQ(drives[0].root, m.root());
    EXPECT_EQ(drives[0].type, DriveType::Fixed);

    // A home that is the root itself is the root's drive only; a network home is a network drive.
    machine.home = m.root();
    EXPECT_EQ(platform::ReadDrives(machine).size(), 1);
    m.mounts({{"/", "ext4", "/dev/sda1"}, {"garbage", "", ""}, {"/home", "nfs", "nas:/home"}});
    drives = platform::ReadDrives(m.machine());
    ASSERT_EQ(drives.size(), 2);
    EXPECT_EQ(drives[0].type, DriveType::Remote);
}

TEST(FindFile, ListsEveryEntryWithTheFolderAndHiddenBits) {
    FakeMachine m;
    m.folder("list/Folder");
    m.folder("list/.dotted");
    m.file("list/file.txt");
    m.link("list/linked", m.at("list/Folder"));
    m.link("list/dangling", m.at("list/nowhere"));

    QMap<QString, uint32_t> found;
    platform::FindHandle handle;
    uint32_t attr = 0;
    QString name;
    for (int result = handle.First(m.at("list"), attr, name); result == 0;
         result = handle.Next(attr, name))
        found.insert(name, attr);
    using namespace platform;
    const QMap<QString, uint32_t> expected = {
        {".", faDirectory | faHidden},
        {"..", faDirectory | faHidden},
        {"Folder", faDirectory},
        {".dotted", faDirectory | faHidden},
        {"file.txt", 0},
        {"linked", faDirectory},
        {"dangling", 0},
    };
    EXPECT_EQ(found, expected);
    EXPECT_EQ(handle.Next(attr, name), NoMoreFiles);
    handle.Close();
    handle.Close();

    EXPECT_EQ(handle.First(m.at("missing"), attr, name), ENOENT);
    EXPECT_FALSE(handle.IsOpen());
    EXPECT_EQ(handle.First(m.at("list/file.txt"), attr, name), ENOTDIR);
}
