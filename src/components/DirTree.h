#pragma once

#include "platform/Drives.h"
#include "platform/FindFile.h"

#include <QHash>
#include <QIcon>
#include <QMetaType>
#include <QTreeWidget>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>

class TDirTree;

// The attributes a folder may carry, as the tree's filter names them.
enum TDirAttr { dtReadOnly, dtHidden, dtSystem, dtArchive, dtNormal, dtAll };

// A set of folder attributes.
class TDirType {
public:
    constexpr TDirType() = default;
    constexpr TDirType(std::initializer_list<TDirAttr> attrs) {
        for (TDirAttr attr : attrs)
            bits_ |= bit(attr);
    }
    constexpr bool contains(TDirAttr attr) const { return (bits_ & bit(attr)) != 0; }
    constexpr bool operator==(const TDirType &) const = default;

private:
    static constexpr unsigned bit(TDirAttr attr) { return 1u << unsigned(attr); }
    unsigned bits_ = 0;
};
Q_DECLARE_METATYPE(TDirType)

// One step of a folder listing: the entry's attribute bits (platform::FileAttr) and name, and
// the open listing, which the tree closes when it has done with it.
struct TDirRec {
    uint32_t Attr = 0;
    QString Name;
    platform::FindHandle FindHandle;
};

// What every folder and drive node carries; placeholder nodes carry none.
struct TDirEntry {
    QString DirPath;  // the program's form: upper case, ending with '/'
    QString RealPath; // as it was read from the disk, ending with '/': every disk access uses it
    bool Scanned = false; // the node's children have been read
};

// A veto on each folder before it becomes a node: `fileName` is its path in the tree's form.
using TAddFileEvent = std::function<void(TDirTree *sender, const QString &fileName, bool &doAdd)>;
// A listing that replaces the disk's: called with `first` true to start and false for each next
// step, on the folder's real path; it fills `rec` and sets `result` to 0 while it delivers an
// entry, and to anything else at the end.
using TFindDirEvent = std::function<void(TDirTree *sender, const QString &path, TDirRec &rec,
                                         int &result, bool first)>;
using TNodeEvent = std::function<void(TDirTree *sender, QTreeWidgetItem *node)>;

// A tree of the machine's drives and their folders. A folder's sub folders are read when it is
// first opened; each of them is looked into, when it comes into view, only as far as its first
// sub folder, to know whether it gets an expand button. The selected folder is `Directory`.
//
// Paths are in the program's form: upper case and ending with '/'. On a file system where case
// matters each node also keeps the path it was read from, so two folders whose names differ
// only in case are both listed and both reached. Assigning `Directory` finds the folder as
// platform::Files::Resolve does: the exact spelling first, else the first spelling in sorted
// order below which the whole path exists.
class TDirTree : public QTreeWidget {
    Q_OBJECT
    Q_PROPERTY(QString Directory READ Directory WRITE SetDirectory)
    Q_PROPERTY(bool ReadOnStart MEMBER ReadOnStart)
    Q_PROPERTY(TDirType DirType READ DirType WRITE SetDirType)
    Q_PROPERTY(bool AllowNetwork READ AllowNetwork WRITE SetAllowNetwork)
    Q_PROPERTY(bool GoBelowRecycleBin READ GoBelowRecycleBin WRITE SetGoBelowRecycleBin)
    Q_PROPERTY(bool FastLoad MEMBER FastLoad)

public:
    explicit TDirTree(QWidget *parent = nullptr);
    ~TDirTree() override;

    // The selected folder's path, "?" when nothing is selected.
    QString Directory() const;
    // Selects the folder, reading every folder on the way. "" raises "Invalid Directory Name";
    // "?" does nothing; a path that does not exist selects the root of the current folder's
    // drive; a path the tree does not show (a filter hides a folder on the way) leaves the
    // selection as it is.
    void SetDirectory(const QString &value);

    TAddFileEvent OnAddDir;
    TNodeEvent OnDeleteItem; // after the node's entry was released, before it goes
    TNodeEvent OnGetIcon;    // after the node's icons were set
    TFindDirEvent OnFindDir;
    bool ReadOnStart = true; // read the drives when the tree is first shown

    // Setting a new filter value reads the tree again (RefreshTree).
    TDirType DirType() const { return dirType_; }
    void SetDirType(TDirType value);
    bool AllowNetwork() const { return allowNetwork_; }
    void SetAllowNetwork(bool value);
    bool GoBelowRecycleBin() const { return goBelowRecycleBin_; }
    void SetGoBelowRecycleBin(bool value);

    bool FastLoad = false; // look into no drive when the drive level is built

    // The tree's change event: the selection changed. Not raised while the drive level is being
    // rebuilt.
    TNodeEvent OnChange;

    // Whether a folder (its path in the tree's form) may become a node: not below a recycle bin
    // folder ("Trash") unless GoBelowRecycleBin, and not vetoed by OnAddDir.
    bool AcceptDir(const QString &path);
    // Whether a folder with these attribute bits passes the DirType filter.
    bool AttrAccepted(uint32_t attr) const;

    // Rebuilds the drive level. Only removable, optical, network and unknown drives are left
    // untouched; with FastLoad no drive is. Does nothing before the tree was first shown.
    void ReadDrives();
    // Gives the node one "**" child when its folder holds an acceptable sub folder.
    void ProbeSubDirs(QTreeWidgetItem *node);
    // Reads the node's sub folders once: they replace its children, sorted by the user's locale
    // without regard to case.
    void ReadChildren(QTreeWidgetItem *node);
    // Builds the tree again and selects, as far as it can, what was selected.
    void RefreshTree();

    // The last folder selected on the drive with root `drive`; at first the drive's root, or
    // the current folder on the current folder's drive.
    QString LastDir(const QString &drive) const;

    // The entry a node carries; nullptr for placeholders and for no node.
    static TDirEntry *EntryOf(const QTreeWidgetItem *node);

    // The machine whose drives the tree shows: this one unless a test gives another.
    void SetMachine(const platform::Machine &machine);
    const QList<platform::Drive> &Drives() const { return drives_; }

protected:
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    struct Icons {
        QIcon folder; // closed, and open while selected
        QIcon home, fixed, removable, optical, network;
    };

    void Expanding(QTreeWidgetItem *node);
    void Change();
    void probeRowsInView();
    void listFolder(const TDirEntry &entry, const std::function<bool(const TDirRec &)> &visit);
    bool acceptsEntry(const QString &parentPath, const TDirRec &rec);
    QTreeWidgetItem *makeNode(const QString &realPath, const QString &text, const QIcon &icon);
    void SetNodeIcons(QTreeWidgetItem *node, const QIcon &icon);
    const QIcon &driveIcon(const platform::Drive &drive) const;
    void releaseNode(QTreeWidgetItem *node);
    void deleteChildren(QTreeWidgetItem *node);
    void deleteAllNodes();
    QTreeWidgetItem *selectedNode() const;
    QTreeWidgetItem *findFolder(const QString &realPath);
    QString driveKey(const QString &path) const;
    QString currentDriveRoot() const;
    QString windowsDirectory() const;

    TDirType dirType_{dtNormal, dtAll};
    bool allowNetwork_ = true;
    bool goBelowRecycleBin_ = true;

    platform::Machine machine_;
    QList<platform::Drive> drives_;
    QHash<QString, QString> lastDir_; // by drive root, upper case
    Icons icons_;
    bool hasWindow_ = false;
    bool ready_ = false;
    bool destroying_ = false;
};
