#pragma once

#include "components/GoToWeb.h"
#include "components/Services.h"
#include "ui_About.h"

#include <QDialog>

class QObject;
class TBrowseForFolderDlg;
class TGKAudio;
namespace toolkit {
class Timer;
}

// The about box, and the program's ways to its maker: the web site, the mailing list, an
// e-mail address and the upgrade check, which starts the maker's separate updater. The main
// window's menu uses the same handlers.
//
// The box shows in two ways. From the menu it is an ordinary about box: a short sound, and
// Close usable at once. When the program closes it shows once more as the farewell: another
// sound, Close usable only about two seconds later, and Close (or the window system's close
// request) ends the program.
class TAboutBox : public QDialog, public Ui::TAboutBox {
    Q_OBJECT

public:
    // The browse-for-folder dialog, with which the player shows the updater, is made after
    // the box and given to it then.
    explicit TAboutBox(const Services &services = Services::none(), QWidget *parent = nullptr);
    void SetBrowseDialog(TBrowseForFolderDlg *dialog) { browseDialog_ = dialog; }

    // Components without a window of their own.
    toolkit::Timer *Timer1 = nullptr; // the sound, a moment after the box shows
    toolkit::Timer *Timer2 = nullptr; // the farewell's Close, two seconds after that
    TGoToWeb *GoToWeb = nullptr;      // the browser and the mail program, for every link
    TGKAudio *AboutAudio = nullptr;   // plays from the main window's sounds

    // The box shows as the farewell.
    bool ExitMode = false;
    // The updater has been started: the program closes without the farewell.
    bool UpdaterStarted = false;

    void ShowAbout();
    void ShowOnExit();
    void OKButtonClick();
    void Timer1Timer();
    void Timer2Timer();
    void FormCreate();

    // The links: e-mail, web site (only while online), mailing list.
    void StaticText3Click();
    void StaticText4Click();
    void StaticText5Click();

    // The upgrade check and its steps.
    void CheckUpgrade(QObject *Sender);
    bool FindUpdater();
    void AskToDownload();
    void RunUpdater();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void createComponents();
    void connectHandlers();
    void playSound(int index);
    // Opens `address` in the browser; says so when that fails.
    void goTo(const QString &address);

    const Services &services_;
    TBrowseForFolderDlg *browseDialog_ = nullptr;
};

// The application's about box, set as the program creates it.
extern TAboutBox *AboutBox;
