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

namespace {

// What the windows are given, filled in as the windows that own it are made. They hold both
// by reference for as long as they live.
Services services;
GameWindows windows;

} // namespace

bool CreateForms() {
    initResources();
    MainForm = new TMainForm(services, windows);
    services.soundLibrary = MainForm->soundLibrary();
    services.onlineDetector = MainForm->onlineDetector();
    services.programDir = [main = MainForm] { return main->programDir(); };
    services.soundEvent = [main = MainForm](game::SoundEvent event) { main->DoSoundEvent(event); };
    services.endProgram = [main = MainForm] { main->close(); };

    AboutBox = new TAboutBox(services);
    windows.about = AboutBox;
    services.linkOpener = AboutBox->GoToWeb;
    BrowseForFolderDlg = new TBrowseForFolderDlg;
    AboutBox->SetBrowseDialog(BrowseForFolderDlg);
    OptionsDlg = new TOptionsDlg(services);
    windows.options = OptionsDlg;
    services.soundSwitch = [options = OptionsDlg] { return options->SoundCheck->isChecked(); };
    services.starCount = [options = OptionsDlg] { return options->StarCount(); };
    ScoreBoard = new TScoreBoard(services);
    windows.scoreBoard = ScoreBoard;
    if (MainForm->WindowClosed)
        return false;
    GetNameDlg = new TGetNameDlg(services);
    windows.getName = GetNameDlg;
    // Last: its creation raises the start-up sound, through the main window's sound device
    // and the preferences' sound switch.
    HelpForm = new THelpForm(services);
    windows.help = HelpForm;
    return true;
}

void DestroyForms() {
    // Nothing reaches a window from here on.
    windows = {};
    services.programDir = nullptr;
    services.soundSwitch = nullptr;
    services.starCount = nullptr;
    services.soundEvent = nullptr;
    services.endProgram = nullptr;
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
    services = {};
}
