#include "CommandLine.h"
#include "components/OnlineIP.h"
#include "game/Forms.h"
#include "game/MainU.h"
#include "platform/Registry.h"
#include "toolkit/ErrorReport.h"
#include "toolkit/Fonts.h"
#include "toolkit/Pacing.h"

#include <QGuiApplication>
#include <QIcon>

int main(int argc, char **argv) {
    // The help and the version are answered in a terminal without a display too.
    if (commandline::asksOnlyAboutTheProgram(argc, argv))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    toolkit::Application application(argc, argv);
    QGuiApplication::setApplicationName("Gorbulax");
    QGuiApplication::setApplicationVersion(GORBULAX_VERSION);
    QGuiApplication::setDesktopFileName("gorbulax");
    if (const std::optional<int> status = commandline::answer(QCoreApplication::arguments()))
        return *status;
    toolkit::mapClassicFonts();
    // GORBULAX_PACE stretches (above 1) or shortens (below 1) the fades and the beam, for
    // demonstrations and recordings; 0 runs them without waiting.
    bool paced = false;
    const double pace = qEnvironmentVariable("GORBULAX_PACE").toDouble(&paced);
    if (paced)
        toolkit::setPaceFactor(pace);

    // A damaged settings file is left for the player to mend; say so once, in a message box.
    platform::Registry::user().setDamageReporter(
        [](const QString &message) { toolkit::reportError(message); });

    // Without its score table the program ends before its window is shown.
    if (!CreateForms()) {
        DestroyForms();
        return 1;
    }
    // GORBULAX_ONLINE=1 (or 0) has the online detector find the machine online (or offline)
    // whatever its network: for demonstrations, and for the end-to-end tests of the links.
    if (qEnvironmentVariableIsSet("GORBULAX_ONLINE")) {
        const bool online = qEnvironmentVariableIntValue("GORBULAX_ONLINE") != 0;
        MainForm->onlineDetector()->setInterfaceSource([online] {
            return std::vector<platform::InterfaceAddress>{
                online ? platform::InterfaceAddress{"seam0", "192.0.2.2", true, false}
                       : platform::InterfaceAddress{"lo", "127.0.0.1", true, true}};
        });
    }
    QApplication::setWindowIcon(QIcon(":/pictures/starburst.png"));
    MainForm->show();
    const int result = QApplication::exec();
    DestroyForms();
    return result;
}
