// The folder tree on a made-up machine: drives, lazy reading, filters, selection by path.

#include "components/DirTree.h"
#include "support/Machine.h"
#include "toolkit/ErrorReport.h"

#include <QDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

QStringList childTexts(const QTreeWidgetItem *node) {
    QStringList texts;
    for (int i = 0; i < node->childCount(); ++i)
        texts << node->child(i)->text(0);
    return texts;
}

QStringList topTexts(const TDirTree &tree) {
    QStringList texts;
    for (int i = 0; i < tree.topLevelItemCount(); ++i)
        texts << tree.topLevelItem(i)->text(0);
    return texts;
}

QTreeWidgetItem *childNamed(const QTreeWidgetItem *node, const QString &text) {
    for (int i = 0; i < node->childCount(); ++i) {
        if (node->child(i)->text(0) == text)
            return node->child(i);
    }
    return nullptr;
}

// A listing through OnFindDir that lists the disk as the tree would, noting each folder.
TFindDirEvent listingSpy(QStringList &listed) {
    return [&listed](TDirTree *, const QString &path, TDirRec &rec, int &result, bool first) {
        if (first) {
            listed << path;
            result = rec.FindHandle.First(path, rec.Attr, rec.Name);
        } else {
            result = rec.FindHandle.Next(rec.Attr, rec.Name);
        }
    };
}

class DirTreeTest : public ::testing::Test {
protected:
    void SetUp() override {
        m.mounts({{"/", "ext4", "/dev/sda1"},
                  {"/media/usb", "vfat", "/dev/sdc1"},
                  {"/mnt/cd", "iso9660", "/dev/sr0"},
                  {"/mnt/net", "nfs", "nas:/export"},
                  {"/mnt/ram", "tmpfs", "tmpfs"}});
        for (const char *folder :
             {"media/usb/Photos", "mnt/cd/Setup", "mnt/net/Share", "mnt/ram/Scratch",
              "home/user/Games/Old", "home/user/games/Saved", "home/user/.hidden/inner",
              "home/user/Trash/files/Deleted", "home/user/Empty", "home/user/apple",
              "home/user/Gone/Inside"})
            m.folder(folder);
        m.file("home/user/notes.txt");
        m.file("home/user/Empty/readme.txt");
        previousFolder_ = QDir::currentPath();
        QDir::setCurrent(m.at("home/user/Games"));
        tree = std::make_unique<TDirTree>();
        tree->resize(300, 600); // every row of the made-up machine in view
        tree->SetMachine(m.machine());
        toolkit::setErrorReporter([this](const QString &text) { reported << text; });
    }
    void TearDown() override {
        tree.reset();
        toolkit::setErrorReporter({});
        QDir::setCurrent(previousFolder_);
    }

    // The tree's form of a path of the machine.
    QString upper(const QString &path) const { return m.at(path).toUpper(); }
    QTreeWidgetItem *drive(const QString &text) const {
        for (int i = 0; i < tree->topLevelItemCount(); ++i) {
            if (tree->topLevelItem(i)->text(0) == text)
                return tree->topLevelItem(i);
        }
        return nullptr;
    }
    QTreeWidgetItem *home() const { return drive("Home"); }

    FakeMachine m;
    std::unique_ptr<TDirTree> tree;
    QStringList reported;

private:
    QString previousFolder_;
};

} // namespace

TEST_F(DirTreeTest, TheDriveLevelLooksIntoFixedDrivesOnly) {
    QStringList listed;
    tree->OnFindDir = listingSpy(listed);
    tree->ReadDrives();
    EXPECT_EQ(tree->topLevelItemCount(), 0) << "nothing is read before the tree is shown";

    tree->show();
    EXPECT_EQ(topTexts(*tree), QStringList({"Home", "File System", "usb", "cd", "net", "ram"}));
    ASSERT_NE(home(), nullptr);
    EXPECT_EQ(listed, QStringList({m.home(), m.root(), m.at("mnt/ram/")}));
    const QStringList marks[] = {{"**"}, {"**"}, {""}, {""}, {""}, {"**"}};
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        EXPECT_EQ(childTexts(tree->topLevelItem(i)), marks[i]) << i;
    EXPECT_EQ(TDirTree::EntryOf(home())->DirPath, upper("home/user/"));
    EXPECT_EQ(TDirTree::EntryOf(home())->RealPath, m.home());
    EXPECT_EQ(tree->Directory(), "?");

    // Each kind of drive has its own icon; a RAM disk looks like a fixed one.
    const auto icon = [&](const char *text) { return drive(text)->icon(0).cacheKey(); };
    const QSet<qint64> kinds = {icon("Home"), icon("File System"), icon("usb"), icon("cd"),
                                icon("net")};
    EXPECT_EQ(kinds.size(), 5);
    EXPECT_EQ(icon("ram"), icon("File System"));

    // FastLoad touches no drive; without network drives the share is gone.
    listed.clear();
    tree->FastLoad = true;
    tree->SetAllowNetwork(false);
    EXPECT_EQ(topTexts(*tree), QStringList({"Home", "File System", "usb", "cd", "ram"}));
    EXPECT_EQ(listed, QStringList());
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        EXPECT_EQ(childTexts(tree->topLevelItem(i)), QStringList({""})) << i;
}

TEST_F(DirTreeTest, ExpandingReadsSubFoldersInTheUsersOrderAndMarksThoseWithMore) {
    tree->show();
    ASSERT_NE(home(), nullptr);
    tree->expandItem(home());
    ASSERT_EQ(childTexts(home()),
              QStringList({".hidden", "apple", "Empty", "Games", "games", "Gone", "Trash"}));
    EXPECT_TRUE(TDirTree::EntryOf(home())->Scanned);
    const QStringList marks[] = {{"**"}, {}, {}, {"**"}, {"**"}, {"**"}, {"**"}};
    for (int i = 0; i < home()->childCount(); ++i)
        EXPECT_EQ(childTexts(home()->child(i)), marks[i]) << i;

    // Two folders whose names differ only in case: one path in the tree's form, each read from
    // its own folder.
    QTreeWidgetItem *upperGames = home()->child(3), *lowerGames = home()->child(4);
    EXPECT_EQ(TDirTree::EntryOf(upperGames)->DirPath, upper("home/user/games/"));
    EXPECT_EQ(TDirTree::EntryOf(lowerGames)->DirPath, upper("home/user/games/"));
    tree->expandItem(upperGames);
    tree->expandItem(lowerGames);
    EXPECT_EQ(childTexts(upperGames), QStringList({"Old"}));
    ASSERT_EQ(childTexts(lowerGames), QStringList({"Saved"}));
    EXPECT_EQ(TDirTree::EntryOf(lowerGames->child(0))->RealPath, m.at("home/user/games/Saved/"));

    // "*" opens the current folder only, not every folder below it.
    QTreeWidgetItem *bin = childNamed(home(), "Trash");
    ASSERT_NE(bin, nullptr);
    tree->setCurrentItem(bin);
    QTest::keyClick(tree.get(), Qt::Key_Asterisk);
    EXPECT_TRUE(bin->isExpanded());
    ASSERT_EQ(childTexts(bin), QStringList({"files"}));
    EXPECT_FALSE(bin->child(0)->isExpanded());

    // A folder that gains a sub folder gets its button when its parent is opened again.
    m.folder("home/user/apple/core");
    tree->collapseItem(home());
    tree->expandItem(home());
    QTreeWidgetItem *apple = childNamed(home(), "apple");
    ASSERT_NE(apple, nullptr);
    EXPECT_EQ(childTexts(apple), QStringList({"**"}));
    EXPECT_EQ(childTexts(upperGames), QStringList({"Old"})) << "read folders are not read again";
}

TEST_F(DirTreeTest, SubFoldersOutOfViewAreLookedIntoAsTheyComeIntoView) {
    for (int i = 0; i < 60; ++i)
        m.folder(QString("home/user/Many/Folder %1/Inner").arg(i, 2, 10, QChar('0')));
    QStringList listed;
    tree->OnFindDir = listingSpy(listed);
    tree->resize(300, 200);
    tree->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(tree.get()));
    ASSERT_NE(home(), nullptr);
    tree->expandItem(home());
    QTreeWidgetItem *many = childNamed(home(), "Many");
    ASSERT_NE(many, nullptr);
    listed.clear();
    tree->expandItem(many);
    ASSERT_EQ(many->childCount(), 60);
    const int inView = int(listed.size()) - 1;
    EXPECT_GT(inView, 0);
    EXPECT_LT(inView, 20);
    for (int i = 0; i < 60; ++i)
        EXPECT_EQ(many->child(i)->childCount(), i < inView ? 1 : 0) << i;

    tree->scrollToItem(many->child(59));
    tree->viewport()->repaint();
    EXPECT_EQ(childTexts(many->child(59)), QStringList({"**"}));
    EXPECT_EQ(many->child(30)->childCount(), 0) << "rows scrolled past unseen are left alone";
}

TEST_F(DirTreeTest, AFolderThatCannotBeReadHasNoChildrenAndNoMessage) {
    // Tests run as root, where permissions do not stop a listing: the folder goes away after
    // it was probed, and a host listing fails at its first step.
    tree->show();
    ASSERT_NE(home(), nullptr);
    tree->expandItem(home());
    QTreeWidgetItem *gone = childNamed(home(), "Gone");
    ASSERT_NE(gone, nullptr);
    ASSERT_EQ(childTexts(gone), QStringList({"**"}));
    ASSERT_TRUE(QDir(m.at("home/user/Gone")).removeRecursively());
    tree->expandItem(gone);
    EXPECT_EQ(gone->childCount(), 0);

    tree->OnFindDir = [](TDirTree *, const QString &, TDirRec &, int &result, bool) {
        result = EIO;
    };
    QTreeWidgetItem *games = childNamed(home(), "Games");
    ASSERT_NE(games, nullptr);
    tree->expandItem(games);
    EXPECT_EQ(games->childCount(), 0);
    EXPECT_EQ(reported, QStringList());
}

TEST_F(DirTreeTest, DirectoryFindsTheFolderWhateverTheCaseOfThePathGiven) {
    tree->show();
    const struct {
        QString given;
        const char *real; // the folder selected, as on the disk
    } cases[] = {
        // Lower case without the separator: the upper-case form with it.
        {m.at("home/user/games/saved"), "home/user/games/Saved/"},
        // The exact spelling wins; otherwise the first in sorted order below which all exists.
        {m.at("home/user/games"), "home/user/games/"},
        {upper("home/user/games/"), "home/user/Games/"},
        {upper("home/user/games/saved"), "home/user/games/Saved/"},
        {m.at("home/user/Games/../apple/"), "home/user/apple/"},
        // A path that does not exist: the current folder's drive.
        {m.at("home/user/nothing"), "home/user/"},
        {m.at("media/USB/photos"), "media/usb/Photos/"},
        {m.at("mnt"), "mnt/"},
    };
    for (const auto &c : cases) {
        tree->SetDirectory(c.given);
        EXPECT_EQ(tree->Directory(), upper(c.real)) << c.given.toStdString();
        const TDirEntry *entry = TDirTree::EntryOf(tree->currentItem());
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->RealPath, m.at(c.real)) << c.given.toStdString();
    }
    // Every folder on the way was read.
    tree->SetDirectory(m.at("home/user/Games/Old"));
    ASSERT_NE(home(), nullptr);
    EXPECT_TRUE(TDirTree::EntryOf(home())->Scanned);
    QTreeWidgetItem *games = childNamed(home(), "Games");
    ASSERT_NE(games, nullptr);
    EXPECT_TRUE(TDirTree::EntryOf(games)->Scanned);
    EXPECT_TRUE(games->isExpanded());

    // What changes nothing: "?", a file, a folder the filter hides, and "" (an error).
    const QString selected = tree->Directory();
    tree->SetDirType({dtNormal});
    ASSERT_EQ(tree->Directory(), selected) << "a new filter keeps the selection";
    for (const QString &given :
         {QString("?"), m.at("home/user/notes.txt"), m.at("home/user/.hidden/inner")}) {
        tree->SetDirectory(given);
        EXPECT_EQ(tree->Directory(), selected) << given.toStdString();
    }
    try {
        tree->SetDirectory("");
        ADD_FAILURE() << "the empty path was taken";
    } catch (const std::exception &error) {
        EXPECT_STREQ(error.what(), "Invalid Directory Name");
    }
    EXPECT_EQ(tree->Directory(), selected);

    // Without network drives a path on one selects the home folder.
    tree->SetAllowNetwork(false);
    tree->SetDirectory(m.at("mnt/net/Share"));
    EXPECT_EQ(tree->Directory(), upper("home/user/"));
}

TEST_F(DirTreeTest, FiltersByRecycleBinAttributesAndTheHostsVeto) {
    tree->SetGoBelowRecycleBin(false);
    QStringList offered;
    tree->OnAddDir = [&offered](TDirTree *, const QString &path, bool &doAdd) {
        offered << path;
        doAdd = !path.endsWith("/APPLE/");
    };
    tree->show();
    ASSERT_NE(home(), nullptr);
    tree->expandItem(home());
    EXPECT_EQ(childTexts(home()),
              QStringList({".hidden", "Empty", "Games", "games", "Gone", "Trash"}));
    EXPECT_TRUE(offered.contains(upper("home/user/apple/"))) << "the host sees the tree's form";
    QTreeWidgetItem *bin = childNamed(home(), "Trash");
    ASSERT_NE(bin, nullptr);
    EXPECT_EQ(bin->childCount(), 0) << "the bin is shown with nothing below it";
    tree->SetDirectory(m.at("home/user/Trash/files"));
    EXPECT_EQ(tree->Directory(), "?");

    const struct {
        const char *path;
        bool accepted;
    } bins[] = {
        {"/A/TRASH/", true},      {"/A/TRASH/FILES/", false}, {"/A/.LOCAL/SHARE/TRASH/X/", false},
        {"/A/TRASHCAN/X/", true}, {"/TRASH/TRASH/", false},   {"/A/MYTRASH/X/", true}};
    tree->OnAddDir = nullptr;
    for (const auto &b : bins)
        EXPECT_EQ(tree->AcceptDir(b.path), b.accepted) << b.path;
    tree->SetGoBelowRecycleBin(true);
    for (const auto &b : bins)
        EXPECT_TRUE(tree->AcceptDir(b.path)) << b.path;

    // Attribute filter: hidden, system and archive bits against the sets.
    using namespace platform;
    const uint32_t plain = faDirectory, hidden = faDirectory | faHidden,
                   system = faDirectory | faSysFile, archive = faDirectory | faArchive,
                   hiddenSystem = hidden | faSysFile;
    const struct {
        TDirType type;
        bool plain, hidden, system, archive, hiddenSystem;
    } filters[] = {
        {{dtNormal, dtAll}, true, true, true, true, true},
        {{dtNormal}, true, false, false, false, false},
        {{dtHidden}, false, true, false, false, false},
        {{dtHidden, dtSystem}, false, true, true, false, true},
        {{dtNormal, dtArchive}, true, false, false, true, false},
        {{dtReadOnly}, false, false, false, false, false},
        {{}, false, false, false, false, false},
    };
    for (const auto &f : filters) {
        tree->SetDirType(f.type);
        EXPECT_EQ(tree->AttrAccepted(plain), f.plain);
        EXPECT_EQ(tree->AttrAccepted(hidden), f.hidden);
        EXPECT_EQ(tree->AttrAccepted(system), f.system);
        EXPECT_EQ(tree->AttrAccepted(archive), f.archive);
        EXPECT_EQ(tree->AttrAccepted(hiddenSystem), f.hiddenSystem);
    }
    tree->SetDirType({dtNormal});
    tree->expandItem(home());
    EXPECT_EQ(childTexts(home()),
              QStringList({"apple", "Empty", "Games", "games", "Gone", "Trash"}));
}

TEST_F(DirTreeTest, NodesAnnounceTheirIconsAndTheirEnd) {
    QList<QTreeWidgetItem *> iconed, deleted;
    int entriesAtDeletion = 0;
    tree->OnGetIcon = [&](TDirTree *, QTreeWidgetItem *node) {
        EXPECT_FALSE(node->icon(0).isNull());
        iconed << node;
    };
    tree->OnDeleteItem = [&](TDirTree *, QTreeWidgetItem *node) {
        deleted << node;
        entriesAtDeletion += TDirTree::EntryOf(node) != nullptr;
        for (int i = 0; i < node->childCount(); ++i)
            EXPECT_TRUE(deleted.contains(node->child(i))) << "children go first";
    };
    tree->show();
    EXPECT_EQ(iconed.size(), 6);
    ASSERT_NE(home(), nullptr);
    tree->expandItem(home());
    EXPECT_EQ(iconed.size(), 6 + 7);
    EXPECT_EQ(deleted.size(), 1) << "the home folder's mark";

    deleted.clear();
    tree->ReadDrives();
    // 6 drives, the marks of 5, the 7 folders of home and their 5 marks.
    EXPECT_EQ(deleted.size(), 23);
    EXPECT_EQ(entriesAtDeletion, 0) << "a node's entry is gone before the host hears of it";
}

TEST_F(DirTreeTest, ChangesAreAnnouncedAndRememberedPerDriveButNotWhileRebuilding) {
    int changes = 0;
    tree->OnChange = [&changes](TDirTree *, QTreeWidgetItem *) { ++changes; };
    tree->show();
    ASSERT_NE(home(), nullptr);
    EXPECT_EQ(tree->LastDir(m.home()), upper("home/user/games/"));
    EXPECT_EQ(tree->LastDir(m.at("media/usb")), upper("media/usb/"));

    tree->SetDirectory(m.at("home/user/Empty"));
    tree->SetDirectory(m.at("media/usb/Photos"));
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(tree->LastDir(m.home()), upper("home/user/empty/"));
    EXPECT_EQ(tree->LastDir(m.at("media/usb/")), upper("media/usb/photos/"));

    tree->ReadDrives();
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(tree->Directory(), "?");
    EXPECT_EQ(tree->LastDir(m.home()), upper("home/user/empty/")) << "kept through a new read";

    // A new filter reads the tree again and goes back to the selected folder; when that folder
    // is gone, to its drive's root.
    tree->SetDirectory(m.at("home/user/Empty"));
    tree->SetGoBelowRecycleBin(false);
    EXPECT_EQ(tree->Directory(), upper("home/user/empty/"));
    ASSERT_TRUE(QDir(m.at("home/user/Empty")).removeRecursively());
    tree->SetGoBelowRecycleBin(true);
    EXPECT_EQ(tree->Directory(), upper("home/user/"));

    // With nothing selected it goes to the last folder of the first drive whose first child was
    // read, or of the last drive: on a drive level just read, the last drive.
    tree->ReadDrives();
    tree->FastLoad = true;
    tree->SetDirType({dtNormal});
    EXPECT_EQ(tree->Directory(), upper("mnt/ram/"));
}
