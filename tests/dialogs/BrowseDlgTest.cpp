// The browse-for-folder dialog as the program creates it, on a made-up machine.

#include "dialogs/browsedlg.h"
#include "support/Forms.h"
#include "support/Machine.h"

#include <QTest>

namespace {

QColor textColor(const QWidget *control) {
    return control->palette().color(QPalette::WindowText);
}

class BrowseDialog : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        m.mounts({{"/", "ext4", "/dev/sda1"}});
        m.file("home/user/Tools/Updater/patchwell.exe");
        m.folder("home/user/Tools/Other");
        m.file("Patchwell.exe");
        BrowseForFolderDlg->DirTree->SetMachine(m.machine());
    }

    QString upper(const QString &path) const { return m.at(path).toUpper(); }

    // Shows the dialog and selects a folder in it, as a click would.
    void select(const QString &path) {
        BrowseForFolderDlg->show();
        BrowseForFolderDlg->DirTree->SetDirectory(m.at(path));
        ASSERT_EQ(BrowseForFolderDlg->DirTree->Directory(), upper(path)) << path.toStdString();
    }

    FakeMachine m;
};

} // namespace

TEST_F(BrowseDialog, FirstShowingReadsTheDrivesAndSelectsNothing) {
    TBrowseForFolderDlg &d = *BrowseForFolderDlg;
    EXPECT_EQ(d.windowTitle(), "Browse For Folder");
    EXPECT_EQ(d.size(), QSize(326, 373));
    EXPECT_EQ(d.DirTree->geometry(), QRect(17, 6, 292, 292));
    EXPECT_EQ(d.BitBtn1->geometry(), QRect(85, 342, 75, 25));
    EXPECT_EQ(d.BitBtn2->geometry(), QRect(166, 342, 75, 25));
    EXPECT_TRUE(d.DirTree->FastLoad);
    EXPECT_EQ(d.DirTree->topLevelItemCount(), 0) << "nothing is read before the first showing";

    d.show();
    ASSERT_EQ(d.DirTree->topLevelItemCount(), 2);
    EXPECT_EQ(d.DirTree->topLevelItem(0)->text(0), "Home");
    EXPECT_EQ(d.DirTree->topLevelItem(0)->child(0)->text(0), "") << "no drive is looked into";
    EXPECT_EQ(d.DirTree->Directory(), "?");
    EXPECT_FALSE(d.BitBtn1->isEnabled());
    EXPECT_EQ(d.StaticText1->text(), "Directory :");
    EXPECT_EQ(d.StaticText2->text(), "Found");
    EXPECT_FALSE(d.UpdaterFound);
    EXPECT_EQ(d.UpdaterPath, "");
}

TEST_F(BrowseDialog, OkIsEnabledExactlyWhileTheFolderHoldsTheUpdater) {
    TBrowseForFolderDlg &d = *BrowseForFolderDlg;
    select("home/user/Tools/Updater/");
    EXPECT_EQ(d.StaticText1->text(), "Directory : " + upper("home/user/Tools/Updater/"));
    EXPECT_EQ(d.StaticText1->toolTip(), upper("home/user/Tools/Updater/"));
    EXPECT_EQ(d.StaticText2->text(), "Umbrel Updater Found!");
    EXPECT_EQ(textColor(d.StaticText2), QColor(255, 0, 0));
    EXPECT_TRUE(d.BitBtn1->isEnabled()) << "patchwell.exe is found whatever its case";

    select("home/user/Tools/Other/");
    EXPECT_EQ(d.StaticText2->text(), "Umbrel Updater NOT found.");
    EXPECT_EQ(textColor(d.StaticText2), QColor(0, 0, 0));
    EXPECT_FALSE(d.BitBtn1->isEnabled());
    QTest::keyClick(d.DirTree, Qt::Key_Return);
    EXPECT_TRUE(d.isVisible()) << "Enter does nothing while OK is disabled";

    // Enter in the tree presses OK.
    select("home/user/Tools/Updater/");
    d.DirTree->setFocus();
    QTest::keyClick(d.DirTree, Qt::Key_Return);
    EXPECT_FALSE(d.isVisible());
    EXPECT_TRUE(d.UpdaterFound);
    EXPECT_EQ(d.UpdaterPath, upper("home/user/Tools/Updater/") + "Patchwell.exe");

    // A drive's root that holds the updater.
    select("");
    EXPECT_TRUE(d.BitBtn1->isEnabled());
    QTest::mouseClick(d.BitBtn1, Qt::LeftButton);
    EXPECT_EQ(d.UpdaterPath, m.root().toUpper() + "Patchwell.exe");
}

TEST_F(BrowseDialog, CancelKeepsTheLastFolderAndTheTitleBarChangesNothing) {
    TBrowseForFolderDlg &d = *BrowseForFolderDlg;
    select("home/user/Tools/Updater/");
    QTest::mouseClick(d.BitBtn1, Qt::LeftButton);
    ASSERT_TRUE(d.UpdaterFound);
    const QString confirmed = d.UpdaterPath;

    // A second showing finds the tree as it was left; the title bar changes neither value.
    d.show();
    EXPECT_EQ(d.DirTree->Directory(), upper("home/user/Tools/Updater/"));
    EXPECT_TRUE(d.DirTree->currentItem()->parent()->isExpanded());
    EXPECT_TRUE(d.BitBtn1->isEnabled());
    d.close();
    EXPECT_TRUE(d.UpdaterFound);
    EXPECT_EQ(d.UpdaterPath, confirmed);

    select("home/user/Tools/");
    select("home/user/Tools/Other/");
    QTest::mouseClick(d.BitBtn2, Qt::LeftButton);
    EXPECT_FALSE(d.isVisible());
    EXPECT_FALSE(d.UpdaterFound);
    EXPECT_EQ(d.UpdaterPath, upper("home/user/Tools/Other/"));

    select("home/user/Tools/Updater/");
    QTest::keyClick(&d, Qt::Key_Escape);
    EXPECT_FALSE(d.isVisible());
    EXPECT_FALSE(d.UpdaterFound) << "Esc is Cancel";
    EXPECT_EQ(d.UpdaterPath, upper("home/user/Tools/Updater/"));
}
