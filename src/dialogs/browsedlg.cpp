#include "dialogs/browsedlg.h"

#include "platform/Files.h"
#include "toolkit/DesignProperties.h"
#include "toolkit/DialogKeys.h"
#include "toolkit/ErrorReport.h"
#include "toolkit/Placement.h"

#include <QApplication>
#include <QShowEvent>

TBrowseForFolderDlg *BrowseForFolderDlg = nullptr;

const QString TBrowseForFolderDlg::UpdaterFile = QStringLiteral("Patchwell.exe");

namespace {
const QString DirectoryPrefix = QStringLiteral("Directory : ");
const QString FoundText = QStringLiteral("Umbrel Updater Found!");
const QString NotFoundText = QStringLiteral("Umbrel Updater NOT found.");
} // namespace

TBrowseForFolderDlg::TBrowseForFolderDlg(QWidget *parent) : QDialog(parent) {
    setupUi(this);
    toolkit::applyDesign(this);
    setFixedSize(size());

    using toolkit::handler;
    DirTree->OnChange = [this](TDirTree *, QTreeWidgetItem *) { DirTreeChange(); };
    connect(BitBtn1, &QPushButton::clicked, this, handler([this] { BitBtn1Click(); }));
    connect(BitBtn2, &QPushButton::clicked, this, handler([this] { BitBtn2Click(); }));
    toolkit::useDialogKeys(this, BitBtn1, BitBtn2);
}

void TBrowseForFolderDlg::DirTreeChange() {
    UpdaterPath = DirTree->Directory();
    StaticText1->setToolTip(UpdaterPath);
    StaticText1->setText(DirectoryPrefix + DirTree->Directory());
    StaticText1->adjustSize();
    // The tree gives the folder in upper case; the file is found whatever its letter case.
    const bool found = platform::Files::FileExists(UpdaterPath + UpdaterFile);
    StaticText2->setText(found ? FoundText : NotFoundText);
    toolkit::setTextColor(StaticText2, found ? QColor(Qt::red) : QColor(Qt::black));
    StaticText2->adjustSize();
    BitBtn1->setEnabled(found);
    if (found)
        QApplication::beep();
}

void TBrowseForFolderDlg::BitBtn1Click() {
    UpdaterFound = true;
    UpdaterPath = DirTree->Directory() + UpdaterFile;
    accept();
}

void TBrowseForFolderDlg::BitBtn2Click() {
    UpdaterFound = false;
    reject();
}

void TBrowseForFolderDlg::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    toolkit::centreOnScreen(this);
}
