#include "platform/Drives.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSet>

#include <algorithm>

namespace platform {

namespace {

const QString HomeLabel = QStringLiteral("Home");
const QString FileSystemLabel = QStringLiteral("File System");

QString withSeparator(const QString &path) {
    return path.endsWith('/') ? path : path + '/';
}

struct Mount {
    QString point; // as the mount table gives it, from the machine's root
    QString fileSystem;
    QString source;
};

// Decodes the escapes a system file uses for awkward bytes: a backslash, `marker`, then
// `digits` digits in `base`. What does not read as an escape stays as it is.
QString unescape(const QByteArray &text, const QByteArray &marker, int digits, int base) {
    QByteArray out;
    out.reserve(text.size());
    const qsizetype length = 1 + marker.size() + digits;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + length <= text.size() &&
            text.mid(i + 1, marker.size()) == marker) {
            bool ok = false;
            const int value = text.mid(i + 1 + marker.size(), digits).toInt(&ok, base);
            if (ok && value < 256) {
                out += char(value);
                i += length - 1;
                continue;
            }
        }
        out += text[i];
    }
    return QFile::decodeName(out);
}

// The mount table escapes blanks, tabs, new lines and backslashes as three octal digits.
QString unescapeMountField(const QByteArray &field) {
    return unescape(field, "", 3, 8);
}

// udev's by-label links escape bytes as \xNN.
QString unescapeLabel(const QString &name) {
    return unescape(QFile::encodeName(name), "x", 2, 16);
}

// Lines of /proc/self/mountinfo: id, parent, device, root, mount point, options, optional
// fields, "-", file system, source, super options. A line that does not read so is skipped.
QList<Mount> parseMountInfo(const QByteArray &text) {
    QList<Mount> mounts;
    for (const QByteArray &line : text.split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        const qsizetype separator = fields.indexOf("-", 6);
        if (fields.size() < 6 || separator < 0 || separator + 2 >= fields.size())
            continue;
        mounts.append({unescapeMountField(fields[4]), QString::fromLatin1(fields[separator + 1]),
                       unescapeMountField(fields[separator + 2])});
    }
    return mounts;
}

bool isNetworkFileSystem(const QString &fileSystem, const QString &source) {
    static const QSet<QString> network = {
        "nfs",   "nfs4",        "cifs",  "smb3",       "smbfs",       "ncpfs",
        "afs",   "coda",        "9p",    "ceph",       "glusterfs",   "lustre",
        "davfs", "fuse.davfs2", "sshfs", "fuse.sshfs", "fuse.rclone", "fuse.s3fs"};
    if (network.contains(fileSystem))
        return true;
    // Other user-space file systems name their server the way ssh and rclone do: host:path.
    const qsizetype colon = source.indexOf(':');
    return fileSystem.startsWith(QLatin1String("fuse.")) && colon > 0 &&
           !source.left(colon).contains('/');
}

class MachineReader {
public:
    explicit MachineReader(const Machine &machine) : root_(withSeparator(machine.root)) {
        QFile table(inRoot("/proc/self/mountinfo"));
        if (table.open(QIODevice::ReadOnly))
            mounts_ = parseMountInfo(table.readAll());
    }

    const QList<Mount> &mounts() const { return mounts_; }

    // A path of the machine's own (from its root) as a path here.
    QString inRoot(const QString &path) const { return root_ + path.mid(1); }

    // The mount that holds `path` (a path here): the one with the longest mount point.
    const Mount *mountOf(const QString &path) const {
        const Mount *best = nullptr;
        qsizetype bestLength = -1;
        for (const Mount &mount : mounts_) {
            const QString point = withSeparator(inRoot(mount.point));
            // A mount mounted over another on the same point hides it: the later one wins.
            if (withSeparator(path).startsWith(point) && point.size() >= bestLength) {
                best = &mount;
                bestLength = point.size();
            }
        }
        return best;
    }

    DriveType typeOf(const Mount *mount) const {
        if (!mount)
            return DriveType::Fixed;
        const QString &fs = mount->fileSystem;
        if (isNetworkFileSystem(fs, mount->source))
            return DriveType::Remote;
        if (fs == QLatin1String("iso9660") || fs == QLatin1String("udf"))
            return DriveType::CdRom;
        if (fs == QLatin1String("tmpfs") || fs == QLatin1String("ramfs"))
            return DriveType::RamDisk;
        const bool desktopMounted = mount->point.startsWith(QLatin1String("/media/")) ||
                                    mount->point.startsWith(QLatin1String("/run/media/"));
        if (desktopMounted || kernelSaysRemovable(mount->source))
            return DriveType::Removable;
        return DriveType::Fixed;
    }

    // The file system's label, found among the by-label links by the device they point to.
    QString labelOf(const QString &source) const {
        const QString device = deviceOf(source);
        if (device.isEmpty())
            return {};
        const QDir labels(inRoot("/dev/disk/by-label"));
        for (const QFileInfo &link :
             labels.entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
            if (link.canonicalFilePath() == device)
                return unescapeLabel(link.fileName());
        }
        return {};
    }

private:
    // The device file a mount's source names, with links followed; empty for sources that are
    // no device (network shares, tmpfs).
    QString deviceOf(const QString &source) const {
        if (!source.startsWith(QLatin1String("/dev/")))
            return {};
        return QFileInfo(inRoot(source)).canonicalFilePath();
    }

    // The kernel's removable flag of the device, or of the disk a partition lies on.
    bool kernelSaysRemovable(const QString &source) const {
        const QString device = deviceOf(source);
        if (device.isEmpty())
            return false;
        const QString block = QFileInfo(inRoot("/sys/class/block/") + QFileInfo(device).fileName())
                                  .canonicalFilePath();
        if (block.isEmpty())
            return false;
        for (const QString &flag : {block + "/removable", block + "/../removable"}) {
            QFile file(flag);
            if (file.open(QIODevice::ReadOnly))
                return file.readAll().trimmed() == "1";
        }
        return false;
    }

    QString root_;
    QList<Mount> mounts_;
};

bool isDriveMountPoint(const QString &point) {
    for (QLatin1String folder :
         {QLatin1String("/media/"), QLatin1String("/run/media/"), QLatin1String("/mnt/")}) {
        if (point.startsWith(folder) && point.size() > folder.size())
            return true;
    }
    return false;
}

} // namespace

Machine ThisMachine() {
    return {QStringLiteral("/"), QDir::homePath()};
}

QList<Drive> ReadDrives(const Machine &machine) {
    const MachineReader reader(machine);
    QList<Drive> drives;

    const QString root = withSeparator(machine.root);
    if (!machine.home.isEmpty()) {
        const QString home = withSeparator(QDir::cleanPath(machine.home));
        if (home != root && QFileInfo(home).isDir())
            drives.append(
                {home, HomeLabel, reader.typeOf(reader.mountOf(home)), Drive::Place::Home});
    }
    drives.append(
        {root, FileSystemLabel, reader.typeOf(reader.mountOf(root)), Drive::Place::FileSystem});

    // One drive per mount point; where two mounts share one, the later hides the earlier.
    QMap<QString, Mount> byPoint;
    for (const Mount &mount : reader.mounts()) {
        if (isDriveMountPoint(mount.point))
            byPoint.insert(mount.point, mount);
    }
    for (const Mount &mount : byPoint) {
        const QString path = withSeparator(reader.inRoot(mount.point));
        QString label = reader.labelOf(mount.source);
        if (label.isEmpty())
            label = QFileInfo(reader.inRoot(mount.point)).fileName();
        const DriveType type =
            QFileInfo(path).isDir() ? reader.typeOf(&mount) : DriveType::NoRootDir;
        drives.append({path, label, type, Drive::Place::Mount});
    }
    return drives;
}

const Drive *DriveOf(const QList<Drive> &drives, const QString &path) {
    const QString full = withSeparator(path);
    const Drive *best = nullptr;
    for (const Drive &drive : drives) {
        if (full.startsWith(drive.root, Qt::CaseInsensitive) &&
            (!best || drive.root.size() > best->root.size()))
            best = &drive;
    }
    return best;
}

} // namespace platform
