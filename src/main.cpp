#include "game/Forms.h"
#include "game/MainU.h"
#include "toolkit/Design.h"
#include "toolkit/ErrorReport.h"

#include <QGuiApplication>

int main(int argc, char **argv) {
    toolkit::Application application(argc, argv);
    QGuiApplication::setApplicationName("Gorbulax");
    QGuiApplication::setDesktopFileName("gorbulax");
    toolkit::mapClassicFonts();

    CreateForms();
    MainForm->show();
    const int result = QApplication::exec();
    DestroyForms();
    return result;
}
