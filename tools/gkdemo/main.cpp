// gkdemo: the game library's 8-bit display at work. The game itself holds no display, so this
// small program shows it: the game's bad guys fly over a deck of tiles and a twinkling star
// field, and explode where you click.
//
//   gkdemo [--window]
//
// It starts full screen, or in a window with --window; F11 switches, Esc ends it. Its traces
// go to the trace viewer (gktrace) when one runs.
#include "DemoForm.h"

#include "toolkit/ErrorReport.h"
#include "toolkit/Loading.h"

#include <QCommandLineParser>

#include <cstdio>
#include <memory>

int main(int argc, char **argv) {
    toolkit::Application app(argc, argv);
    QApplication::setApplicationName("gkdemo");
    QApplication::setApplicationDisplayName("GK Demo");

    QCommandLineParser parser;
    parser.setApplicationDescription("The game library's 8-bit display at work.");
    parser.addHelpOption();
    const QCommandLineOption window("window", "Start in a window instead of full screen.");
    parser.addOption(window);
    parser.process(app);

    std::unique_ptr<TDemoForm> form;
    try {
        form = std::make_unique<TDemoForm>(parser.isSet(window));
    } catch (const std::exception &e) {
        std::fprintf(stderr, "gkdemo: %s\n", e.what());
        return 1;
    }
    toolkit::notifyLoaded(form.get());
    form->show();
    form->activateWindow();
    return app.exec();
}
