#include "CommandLine.h"
#include "components/OnlineIP.h"
#include "game/Forms.h"
#include "game/MainU.h"
#include "platform/QuitSignals.h"
#include "platform/Registry.h"
#include "toolkit/Display.h"
#include "toolkit/ErrorReport.h"
#include "toolkit/Fonts.h"
#include "toolkit/Pacing.h"

#include <QGuiApplication>
#include <QIcon>
#include <QTextStream>

int main(int argc, char **argv) {
    const commandline::Start start = commandline::startFor(
        argc, argv, [argc, argv] { return toolkit::probeDisplays(argc, argv); });
    if (!start.platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", start.platform);
    // What the toolkit has to say about a desktop that is not there (no runtime folder, for
    // one) would only bury the one line that says it.
    if (start.displayMissing)
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    toolkit::Application application(argc, argv);
    QGuiApplication::setApplicationName("Gorbulax");
    QGuiApplication::setApplicationVersion(GORBULAX_VERSION);
    QGuiApplication::setDesktopFileName("gorbulax");
    if (const std::optional<int> status = commandline::answer(QCoreApplication::arguments()))
        return *status;
    {
        QTextStream err(stderr);
        if (const std::optional<int> status = commandline::refuseWithoutDisplay(start, err))
            return *status;
    }
    const toolkit::DisplayLossStatus displayLoss(commandline::DisplayLost);
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
        return commandline::NoScoreTable;
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
    // A logout, a closed terminal or Ctrl+C closes the game as its window's close would, with
    // the placement and the settings kept, but without the farewell no one would see.
    const platform::QuitSignals quitSignals([](int) {
        if (MainForm)
            toolkit::guarded([] { MainForm->CloseWithoutFarewell(); });
    });
    MainForm->show();
    const int result = QApplication::exec();
    DestroyForms();
    return result;
}
