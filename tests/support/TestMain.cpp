// Entry point of every test program: an application object on Qt's offscreen platform, a
// configuration folder of the run's own, and every paced sequence running without waits.
#include "toolkit/ErrorReport.h"
#include "toolkit/Pacing.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char **argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    QTemporaryDir configHome;
    setenv("GORBULAX_CONFIG_HOME", configHome.path().toLocal8Bit().constData(), 1);

    toolkit::Application app(argc, argv);
    toolkit::setPaceFactor(0.0);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
