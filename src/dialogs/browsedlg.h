#pragma once

#include "ui_browsedlg.h"

#include <QDialog>

// Where the user shows the program the folder of the maker's updater. OK is enabled only while
// the selected folder holds the updater's program file. Created once and shown again each
// time: the tree keeps its selection and its opened folders between showings.
//
// The caller shows the dialog modally and then reads UpdaterFound and UpdaterPath:
//   OK:        UpdaterFound true, UpdaterPath the folder (upper case, ending with '/') followed
//              by "Patchwell.exe". The path is in the program's form: open or start the file
//              through platform::Files::Resolve.
//   Cancel:    UpdaterFound false, UpdaterPath the folder last selected ("" if none ever was).
//   Title bar: neither changes.
class TBrowseForFolderDlg : public QDialog, public Ui::TBrowseForFolderDlg {
    Q_OBJECT

public:
    explicit TBrowseForFolderDlg(QWidget *parent = nullptr);

    static const QString UpdaterFile; // "Patchwell.exe"

    bool UpdaterFound = false;
    QString UpdaterPath;

    void DirTreeChange();
    void BitBtn1Click(); // OK
    void BitBtn2Click(); // Cancel

protected:
    void showEvent(QShowEvent *event) override;
};

// The application's browse-for-folder dialog, set as the program creates it.
extern TBrowseForFolderDlg *BrowseForFolderDlg;
