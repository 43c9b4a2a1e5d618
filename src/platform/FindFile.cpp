#include "platform/FindFile.h"

#include <QFile>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>

namespace platform {

namespace {

// Whether the entry is a folder, following a link to one. The kind the listing reports is
// enough for all but links and file systems that do not report kinds.
bool isFolder(DIR *dir, const dirent *entry) {
    if (entry->d_type == DT_DIR)
        return true;
    if (entry->d_type != DT_LNK && entry->d_type != DT_UNKNOWN)
        return false;
    struct stat status {};
    return fstatat(dirfd(dir), entry->d_name, &status, 0) == 0 && S_ISDIR(status.st_mode);
}

} // namespace

int FindHandle::First(const QString &folder, uint32_t &attr, QString &name) {
    Close();
    dir_ = opendir(QFile::encodeName(folder).constData());
    if (!dir_)
        return errno ? errno : EIO;
    const int result = Next(attr, name);
    if (result != 0)
        Close();
    return result;
}

int FindHandle::Next(uint32_t &attr, QString &name) {
    if (!dir_)
        return EBADF;
    errno = 0;
    const dirent *entry = readdir(dir_);
    if (!entry)
        return errno ? errno : NoMoreFiles;
    name = QFile::decodeName(entry->d_name);
    attr = 0;
    if (isFolder(dir_, entry))
        attr |= faDirectory;
    if (entry->d_name[0] == '.')
        attr |= faHidden;
    return 0;
}

void FindHandle::Close() {
    if (dir_)
        closedir(dir_);
    dir_ = nullptr;
}

} // namespace platform
