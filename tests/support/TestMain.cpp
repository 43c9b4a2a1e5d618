// Entry point of every test program: an application object on Qt's offscreen platform,
// configuration, data and program folders of the run's own, every paced sequence running
// without waits, and no message box that could wait for a click nobody makes.
#include "platform/ConfigFolder.h"
#include "toolkit/ErrorReport.h"
#include "toolkit/MessageBox.h"
#include "toolkit/Pacing.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char **argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    QTemporaryDir configHome;
    setenv("GORBULAX_CONFIG_HOME", configHome.path().toLocal8Bit().constData(), 1);
    QTemporaryDir dataHome;
    setenv("GORBULAX_DATA_HOME", dataHome.path().toLocal8Bit().constData(), 1);

    toolkit::Application app(argc, argv);
    toolkit::setPaceFactor(0.0);
    QTemporaryDir programFolder;
    platform::SetProgramFolder(programFolder.path());
    // A test that expects a message box records it; any other is a failure, not a hang.
    toolkit::setMessageHandler([](const toolkit::Message &message) {
        ADD_FAILURE() << "unexpected message box: " << message.text.toStdString();
    });
    toolkit::setQuestionHandler([](const toolkit::Question &question) {
        ADD_FAILURE() << "unexpected question: " << question.text.toStdString();
        return toolkit::Answer::No;
    });
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
