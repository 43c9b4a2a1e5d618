#include "game/Forms.h"

#include "dialogs/About.h"
#include "dialogs/HelpU.h"
#include "dialogs/OptionsU.h"
#include "dialogs/browsedlg.h"
#include "game/MainU.h"
#include "scores/ScoreBoardU.h"
#include "scores/getNameU.h"

#include <QtGlobal>

// The pictures and the score table are linked into the windows' library; a static library's
// resources must be registered by hand.
static void initResources() {
    Q_INIT_RESOURCE(resources);
}

bool CreateForms() {
    initResources();
    MainForm = new TMainForm;
    AboutBox = new TAboutBox;
    BrowseForFolderDlg = new TBrowseForFolderDlg;
    OptionsDlg = new TOptionsDlg;
    ScoreBoard = new TScoreBoard;
    if (MainForm->WindowClosed)
        return false;
    GetNameDlg = new TGetNameDlg;
    // Last: its creation raises the start-up sound, through the main window's sound device
    // and the preferences' sound switch.
    HelpForm = new THelpForm;
    return true;
}

void DestroyForms() {
    delete HelpForm;
    HelpForm = nullptr;
    delete GetNameDlg;
    GetNameDlg = nullptr;
    delete ScoreBoard;
    ScoreBoard = nullptr;
    delete OptionsDlg;
    OptionsDlg = nullptr;
    delete BrowseForFolderDlg;
    BrowseForFolderDlg = nullptr;
    delete AboutBox;
    AboutBox = nullptr;
    delete MainForm;
    MainForm = nullptr;
}
