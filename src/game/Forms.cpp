#include "game/Forms.h"

#include "dialogs/HelpU.h"
#include "dialogs/OptionsU.h"
#include "game/MainU.h"

#include <QtGlobal>

// The pictures and the score table are linked into the windows' library; a static library's
// resources must be registered by hand.
static void initResources() {
    Q_INIT_RESOURCE(resources);
}

void CreateForms() {
    initResources();
    MainForm = new TMainForm;
    OptionsDlg = new TOptionsDlg;
    // Last: its creation raises the start-up sound, through the main window's sound device
    // and the preferences' sound switch.
    HelpForm = new THelpForm;
}

void DestroyForms() {
    delete HelpForm;
    HelpForm = nullptr;
    delete OptionsDlg;
    OptionsDlg = nullptr;
    delete MainForm;
    MainForm = nullptr;
}
