#include "components/DirTree.h"

#include "platform/Files.h"
#include "toolkit/Busy.h"
#include "toolkit/ErrorReport.h"

#include <QCollator>
#include <QDir>
#include <QKeyEvent>
#include <QScopeGuard>
#include <QStyle>

#include <algorithm>
#include <numeric>
#include <stdexcept>
#include <vector>

using platform::Drive;
using platform::DriveType;

namespace {

constexpr int DirNodeType = QTreeWidgetItem::UserType + 1;
const QString NotSelected = QStringLiteral("?");
const QString ProbedMark = QStringLiteral("**");

class TDirNode : public QTreeWidgetItem {
public:
    explicit TDirNode(std::unique_ptr<TDirEntry> entry)
        : QTreeWidgetItem(DirNodeType), Entry(std::move(entry)) {}
    std::unique_ptr<TDirEntry> Entry;
    bool Probed = false; // looked into since its parent was last opened
};

TDirNode *dirNode(QTreeWidgetItem *node) {
    return node && node->type() == DirNodeType ? static_cast<TDirNode *>(node) : nullptr;
}

QString withSeparator(const QString &path) {
    return path.endsWith('/') ? path : path + '/';
}

// The icon the theme has under the first of `names` it knows, else the style's own.
QIcon themed(const QStyle *style, std::initializer_list<const char *> names,
             QStyle::StandardPixmap fallback) {
    for (const char *name : names) {
        const QIcon icon = QIcon::fromTheme(QLatin1String(name));
        if (!icon.isNull())
            return icon;
    }
    return style->standardIcon(fallback);
}

// A folder shows closed, and open while it is selected.
QIcon closedOrOpen(const QIcon &closed, const QIcon &open) {
    QIcon icon;
    for (int size : {16, 22, 32}) {
        icon.addPixmap(closed.pixmap(size), QIcon::Normal);
        icon.addPixmap(open.pixmap(size), QIcon::Selected);
    }
    return icon;
}

// The user's order for names: by the locale, without regard to case. Names that differ only
// in case keep one fixed order between them, so a tree read twice looks the same.
void sortForDisplay(QStringList &names) {
    // The names are compared case-folded: the collator of the C locale does not ignore case
    // however it is asked to.
    const QCollator collator;
    std::vector<QCollatorSortKey> keys;
    keys.reserve(names.size());
    for (const QString &name : names)
        keys.push_back(collator.sortKey(name.toCaseFolded()));
    std::vector<qsizetype> order(names.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        const int byLocale = keys[a].compare(keys[b]);
        return byLocale != 0 ? byLocale < 0 : names[a] < names[b];
    });
    QStringList sorted;
    sorted.reserve(names.size());
    for (qsizetype i : order)
        sorted.append(names[i]);
    names = std::move(sorted);
}

} // namespace

TDirTree::TDirTree(QWidget *parent) : QTreeWidget(parent) {
    setHeaderHidden(true);
    setColumnCount(1);
    setSortingEnabled(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // Every row holds one line of text and a small icon: the view need not measure each of
    // the thousands a folder may hold.
    setUniformRowHeights(true);

    const QStyle *look = style();
    icons_.folder = closedOrOpen(themed(look, {"folder"}, QStyle::SP_DirClosedIcon),
                                 themed(look, {"folder-open"}, QStyle::SP_DirOpenIcon));
    icons_.home = themed(look, {"user-home"}, QStyle::SP_DirHomeIcon);
    icons_.fixed = themed(look, {"drive-harddisk"}, QStyle::SP_DriveHDIcon);
    icons_.removable = themed(look, {"drive-removable-media"}, QStyle::SP_DriveFDIcon);
    icons_.optical = themed(look, {"drive-optical", "media-optical"}, QStyle::SP_DriveCDIcon);
    icons_.network = themed(look, {"folder-remote", "network-server"}, QStyle::SP_DriveNetIcon);

    SetMachine(platform::ThisMachine());

    using toolkit::handler;
    connect(this, &QTreeWidget::itemExpanded, this,
            handler([this](QTreeWidgetItem *node) { Expanding(node); }));
    connect(this, &QTreeWidget::itemSelectionChanged, this, handler([this] { Change(); }));
}

TDirTree::~TDirTree() {
    // The host is being torn down around the tree: its nodes go without notices.
    destroying_ = true;
    ready_ = false;
    disconnect(this, nullptr, this, nullptr);
    clear();
}

void TDirTree::SetMachine(const platform::Machine &machine) {
    machine_ = machine;
    drives_ = platform::ReadDrives(machine_);
    // The current folder's drive remembers the current folder. It ends with '/' like every
    // path the tree gives, so that RefreshTree recognises it when it is selected.
    lastDir_.clear();
    const QString current = withSeparator(QDir::currentPath()).toUpper();
    const QString drive = driveKey(current);
    if (!drive.isEmpty())
        lastDir_.insert(drive, current);
}

QString TDirTree::driveKey(const QString &path) const {
    const Drive *drive = platform::DriveOf(drives_, path);
    return drive ? drive->root.toUpper() : QString();
}

QString TDirTree::LastDir(const QString &drive) const {
    const QString key = withSeparator(drive).toUpper();
    return lastDir_.value(key, key);
}

// Selection and Directory ----------------------------------------------------------------------

TDirEntry *TDirTree::EntryOf(const QTreeWidgetItem *node) {
    const TDirNode *dir = dirNode(const_cast<QTreeWidgetItem *>(node));
    return dir ? dir->Entry.get() : nullptr;
}

QTreeWidgetItem *TDirTree::selectedNode() const {
    const QList<QTreeWidgetItem *> selected = selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

QString TDirTree::Directory() const {
    const TDirEntry *entry = EntryOf(selectedNode());
    return entry ? entry->DirPath : NotSelected;
}

QString TDirTree::currentDriveRoot() const {
    const Drive *drive = platform::DriveOf(drives_, QDir::currentPath());
    return drive ? drive->root : QStringLiteral("/");
}

QString TDirTree::windowsDirectory() const {
    for (const Drive &drive : drives_) {
        if (drive.place == Drive::Place::Home)
            return drive.root;
    }
    return withSeparator(QDir::homePath());
}

void TDirTree::SetDirectory(const QString &value) {
    if (value.isEmpty())
        throw std::invalid_argument("Invalid Directory Name");
    if (value == NotSelected)
        return;
    // A relative path is taken from the current folder; ".." steps back up the path as written.
    QString path = QDir::cleanPath(QDir::current().absoluteFilePath(value));
    if (!platform::Files::Exists(path))
        path = currentDriveRoot();
    path = withSeparator(path);
    if (!allowNetwork_) {
        const Drive *drive = platform::DriveOf(drives_, path);
        if (drive && drive->type == DriveType::Remote)
            path = windowsDirectory();
    }

    toolkit::WaitCursor wait;
    toolkit::RedrawSuspended suspended(this);
    QTreeWidgetItem *node = findFolder(platform::Files::Resolve(path));
    if (!node)
        return;
    QList<QTreeWidgetItem *> ancestors;
    for (QTreeWidgetItem *above = node->parent(); above; above = above->parent())
        ancestors.prepend(above);
    for (QTreeWidgetItem *above : ancestors)
        above->setExpanded(true);
    setCurrentItem(node);
    scrollToItem(node, QAbstractItemView::PositionAtTop);
}

// The node of a folder given by its path on the disk, reading every folder on the way. A path
// lies on the drive whose root is its longest prefix; should that drive be hidden, a shorter one
// may lead there too (the root leads everywhere).
QTreeWidgetItem *TDirTree::findFolder(const QString &realPath) {
    QList<QTreeWidgetItem *> drives;
    for (int i = 0; i < topLevelItemCount(); ++i) {
        const TDirEntry *entry = EntryOf(topLevelItem(i));
        if (entry && realPath.startsWith(entry->RealPath))
            drives.append(topLevelItem(i));
    }
    std::stable_sort(drives.begin(), drives.end(), [](QTreeWidgetItem *a, QTreeWidgetItem *b) {
        return EntryOf(a)->RealPath.size() > EntryOf(b)->RealPath.size();
    });
    for (QTreeWidgetItem *drive : drives) {
        QTreeWidgetItem *node = drive;
        const QString rest = realPath.mid(EntryOf(drive)->RealPath.size());
        for (const QString &name : rest.split('/', Qt::SkipEmptyParts)) {
            ReadChildren(node);
            const QString wanted = EntryOf(node)->RealPath + name + '/';
            QTreeWidgetItem *found = nullptr;
            for (int i = 0; i < node->childCount() && !found; ++i) {
                const TDirEntry *child = EntryOf(node->child(i));
                if (child && child->RealPath == wanted)
                    found = node->child(i);
            }
            node = found;
            if (!node)
                break;
        }
        if (node)
            return node;
    }
    return nullptr;
}

void TDirTree::Change() {
    if (!ready_ || destroying_)
        return;
    QTreeWidgetItem *node = selectedNode();
    if (const TDirEntry *entry = EntryOf(node)) {
        const QString drive = driveKey(entry->DirPath);
        if (!drive.isEmpty())
            lastDir_.insert(drive, entry->DirPath);
    }
    if (OnChange)
        OnChange(this, node);
}

// Filters --------------------------------------------------------------------------------------

bool TDirTree::AcceptDir(const QString &path) {
    bool accept = true;
    if (!goBelowRecycleBin_) {
        // The bin itself stays in sight; what lies inside it does not.
        static const QString Bin = QStringLiteral("/trash/");
        const qsizetype at = path.indexOf(Bin, 0, Qt::CaseInsensitive);
        if (at >= 0 && at + Bin.size() < path.size())
            accept = false;
    }
    if (accept && OnAddDir)
        OnAddDir(this, path, accept);
    return accept;
}

bool TDirTree::AttrAccepted(uint32_t attr) const {
    using namespace platform;
    if (dirType_.contains(dtAll))
        return true;
    if (((attr & faHidden) && !dirType_.contains(dtHidden)) ||
        ((attr & faSysFile) && !dirType_.contains(dtSystem)) ||
        ((attr & faArchive) && !dirType_.contains(dtArchive)))
        return false;
    return dirType_.contains(dtNormal) || (attr & (faHidden | faSysFile | faArchive)) != 0;
}

void TDirTree::SetDirType(TDirType value) {
    if (value == dirType_)
        return;
    dirType_ = value;
    RefreshTree();
}

void TDirTree::SetAllowNetwork(bool value) {
    if (value == allowNetwork_)
        return;
    allowNetwork_ = value;
    RefreshTree();
}

void TDirTree::SetGoBelowRecycleBin(bool value) {
    if (value == goBelowRecycleBin_)
        return;
    goBelowRecycleBin_ = value;
    RefreshTree();
}

// Reading the disk -----------------------------------------------------------------------------

void TDirTree::listFolder(const TDirEntry &entry,
                          const std::function<bool(const TDirRec &)> &visit) {
    // A folder that cannot be read lists nothing, and says nothing: it simply has no children.
    TDirRec rec;
    int result = 0;
    if (OnFindDir)
        OnFindDir(this, entry.RealPath, rec, result, true);
    else
        result = rec.FindHandle.First(entry.RealPath, rec.Attr, rec.Name);
    while (result == 0 && visit(rec)) {
        if (OnFindDir)
            OnFindDir(this, entry.RealPath, rec, result, false);
        else
            result = rec.FindHandle.Next(rec.Attr, rec.Name);
    }
    rec.FindHandle.Close();
}

bool TDirTree::acceptsEntry(const QString &parentPath, const TDirRec &rec) {
    if (!(rec.Attr & platform::faDirectory) || rec.Name == QLatin1String(".") ||
        rec.Name == QLatin1String(".."))
        return false;
    return AcceptDir((parentPath + rec.Name).toUpper() + '/') && AttrAccepted(rec.Attr);
}

void TDirTree::ProbeSubDirs(QTreeWidgetItem *node) {
    const TDirEntry *entry = EntryOf(node);
    // A node that has its mark already was probed; one without is probed again, so a folder
    // that has gained a sub folder since gets its button.
    if (!entry || entry->Scanned || node->childCount() > 0)
        return;
    dirNode(node)->Probed = true;
    bool found = false;
    listFolder(*entry, [&](const TDirRec &rec) {
        found = acceptsEntry(entry->DirPath, rec);
        return !found;
    });
    if (found) {
        auto *mark = new QTreeWidgetItem;
        mark->setText(0, ProbedMark);
        node->addChild(mark);
    }
}

void TDirTree::ReadChildren(QTreeWidgetItem *node) {
    TDirEntry *entry = EntryOf(node);
    if (!entry || entry->Scanned)
        return;
    deleteChildren(node);
    entry->Scanned = true;

    QStringList names;
    listFolder(*entry, [&](const TDirRec &rec) {
        if (acceptsEntry(entry->DirPath, rec))
            names.append(rec.Name);
        return true;
    });
    sortForDisplay(names);

    // The children join the tree at once: one change for the view instead of one a folder.
    QList<QTreeWidgetItem *> children;
    children.reserve(names.size());
    for (const QString &name : names)
        children.append(makeNode(entry->RealPath + name + '/', name, icons_.folder));
    node->addChildren(children);
    if (OnGetIcon) {
        for (QTreeWidgetItem *child : children)
            OnGetIcon(this, child);
    }
}

// Opening a folder reads it, then looks into those of its sub folders that are in view; the
// others are looked into as they come into view (paintEvent). Looking into a folder means
// opening it, which costs far more than its line in the listing: a folder of thousands of sub
// folders opens in about the time of one listing, and every row the user sees has its button
// right when it is seen.
void TDirTree::Expanding(QTreeWidgetItem *node) {
    toolkit::WaitCursor wait;
    ReadChildren(node);
    for (int i = 0; i < node->childCount(); ++i) {
        if (TDirNode *child = dirNode(node->child(i)))
            child->Probed = false;
    }
    executeDelayedItemsLayout();
    probeRowsInView();
}

void TDirTree::probeRowsInView() {
    const int bottom = viewport()->height();
    for (QModelIndex index = indexAt(QPoint(0, 0)); index.isValid(); index = indexBelow(index)) {
        const QRect row = visualRect(index);
        if (!row.isValid() || row.top() >= bottom)
            break;
        TDirNode *node = dirNode(itemFromIndex(index));
        if (node && !node->Probed)
            ProbeSubDirs(node);
    }
}

void TDirTree::keyPressEvent(QKeyEvent *event) {
    // The view's "*" opens every folder below the current one, and would read the whole disk
    // (for ever, where a link leads back up): here it opens the current folder only.
    if (event->key() == Qt::Key_Asterisk) {
        if (QTreeWidgetItem *node = currentItem())
            node->setExpanded(true);
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

void TDirTree::paintEvent(QPaintEvent *event) {
    // Only nodes whose parent is closed gain a mark here, which the view takes at once.
    toolkit::guarded([this] { probeRowsInView(); });
    QTreeWidget::paintEvent(event);
}

// Nodes ----------------------------------------------------------------------------------------

QTreeWidgetItem *TDirTree::makeNode(const QString &realPath, const QString &text,
                                    const QIcon &icon) {
    const QString path = withSeparator(realPath);
    auto *node = new TDirNode(std::make_unique<TDirEntry>(TDirEntry{path.toUpper(), path}));
    node->setText(0, text);
    node->setIcon(0, icon);
    return node;
}

void TDirTree::SetNodeIcons(QTreeWidgetItem *node, const QIcon &icon) {
    node->setIcon(0, icon);
    if (OnGetIcon)
        OnGetIcon(this, node);
}

const QIcon &TDirTree::driveIcon(const Drive &drive) const {
    if (drive.place == Drive::Place::Home)
        return icons_.home;
    switch (drive.type) {
    case DriveType::Removable:
    case DriveType::NoRootDir:
        return icons_.removable;
    case DriveType::CdRom:
        return icons_.optical;
    case DriveType::Remote:
        return icons_.network;
    case DriveType::Unknown:
    case DriveType::Fixed:
    case DriveType::RamDisk:
        break;
    }
    return icons_.fixed;
}

// Children first; each node's entry goes before the host hears of it.
void TDirTree::releaseNode(QTreeWidgetItem *node) {
    for (int i = 0; i < node->childCount(); ++i)
        releaseNode(node->child(i));
    if (TDirNode *dir = dirNode(node))
        dir->Entry.reset();
    if (OnDeleteItem)
        OnDeleteItem(this, node);
}

void TDirTree::deleteChildren(QTreeWidgetItem *node) {
    for (int i = 0; i < node->childCount(); ++i)
        releaseNode(node->child(i));
    qDeleteAll(node->takeChildren());
}

void TDirTree::deleteAllNodes() {
    for (int i = 0; i < topLevelItemCount(); ++i)
        releaseNode(topLevelItem(i));
    clear();
}

// The drive level ------------------------------------------------------------------------------

void TDirTree::showEvent(QShowEvent *event) {
    QTreeWidget::showEvent(event);
    if (hasWindow_)
        return;
    hasWindow_ = true;
    if (ReadOnStart)
        toolkit::guarded([this] { ReadDrives(); });
}

void TDirTree::ReadDrives() {
    if (!hasWindow_)
        return;
    ready_ = false;
    const auto ready = qScopeGuard([this] { ready_ = true; });
    toolkit::WaitCursor wait;
    {
        toolkit::RedrawSuspended suspended(this);
        deleteAllNodes();
        drives_ = platform::ReadDrives(machine_);
        for (const Drive &drive : drives_) {
            if (!allowNetwork_ && drive.type == DriveType::Remote)
                continue;
            if (!AcceptDir(drive.root.toUpper()))
                continue;
            QTreeWidgetItem *node = makeNode(drive.root, drive.label, QIcon());
            addTopLevelItem(node);
            SetNodeIcons(node, driveIcon(drive));
            // A drive whose medium may be missing is not touched, nor a network share: a server
            // that does not answer would hold the listing for minutes.
            const bool untouched =
                FastLoad || drive.type == DriveType::Unknown ||
                drive.type == DriveType::NoRootDir || drive.type == DriveType::Removable ||
                drive.type == DriveType::CdRom || drive.type == DriveType::Remote;
            if (untouched)
                node->addChild(new QTreeWidgetItem);
            else
                ProbeSubDirs(node);
        }
    }
    if (QTreeWidgetItem *node = selectedNode())
        scrollToItem(node, QAbstractItemView::PositionAtTop);
}

void TDirTree::RefreshTree() {
    const QString remembered = Directory();
    ReadDrives();
    SetDirectory(remembered);
    if (topLevelItemCount() > 0 && !selectedNode()) {
        const QString drive = driveKey(remembered);
        if (!drive.isEmpty())
            SetDirectory(drive);
    }
    if (selectedNode() || topLevelItemCount() == 0)
        return;
    // Nothing of what was selected is left: go back to where the user last was on a drive.
    try {
        int i = 0;
        for (; i + 1 < topLevelItemCount(); ++i) {
            const QTreeWidgetItem *first = topLevelItem(i)->child(0);
            const TDirEntry *entry = EntryOf(first);
            if (!first || (entry && entry->Scanned))
                break;
        }
        QTreeWidgetItem *drive = topLevelItem(i);
        const QString last = LastDir(EntryOf(drive)->DirPath);
        SetDirectory(last);
        if (Directory() != last) {
            const bool selectedAlready = selectedNode() == drive;
            setCurrentItem(drive);
            if (selectedAlready)
                Change();
        }
    } catch (const std::exception &) {
        // Only a way back to the last folder; the tree stands without it.
    }
}
