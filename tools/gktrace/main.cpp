// gktrace: the trace viewer. Lists every text that programs of the display library send with
// Trace, with the time it arrived, in a window captioned "GK Trace".
//
//   gktrace [--stdout] [--no-window]
//
// --stdout also prints each line to standard output, as it comes; --no-window shows no window
// (for a terminal or a script; implies --stdout).
#include "TraceViewer.h"

#include "gk/Trace.h"

#include <QApplication>
#include <QCommandLineParser>

#include <cstdio>
#include <memory>

int main(int argc, char **argv) {
    // Without a window there is no need for a display either.
    bool windowless = false;
    for (int i = 1; i < argc; ++i)
        windowless = windowless || QByteArray(argv[i]) == "--no-window";
    std::unique_ptr<QCoreApplication> app;
    if (windowless)
        app = std::make_unique<QCoreApplication>(argc, argv);
    else
        app = std::make_unique<QApplication>(argc, argv);
    QCoreApplication::setApplicationName("gktrace");

    QCommandLineParser parser;
    parser.setApplicationDescription("Lists what programs send to the trace viewer.");
    parser.addHelpOption();
    const QCommandLineOption toStdout("stdout", "Print each line to standard output too.");
    const QCommandLineOption noWindow("no-window", "Show no window; print to standard output.");
    parser.addOption(toStdout);
    parser.addOption(noWindow);
    parser.process(*app);

    TraceReceiver receiver;
    const QString path = gk::TraceSocketPath();
    if (!receiver.listen(path)) {
        std::fprintf(stderr, "gktrace: %s\n", qPrintable(receiver.error()));
        return 1;
    }
    const bool print = parser.isSet(toStdout) || windowless;
    std::unique_ptr<TraceWindow> window;
    if (!windowless) {
        window = std::make_unique<TraceWindow>();
        window->show();
    }
    QObject::connect(&receiver, &TraceReceiver::received, [&](const QString &text) {
        const QString line = TraceLine(text);
        if (window)
            window->append(line);
        if (print) {
            std::printf("%s\n", qPrintable(line));
            std::fflush(stdout);
        }
    });
    if (print) {
        std::printf("gktrace: listening at %s\n", qPrintable(path));
        std::fflush(stdout);
    }
    return app->exec();
}
