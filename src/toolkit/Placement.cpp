#include "toolkit/Placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace toolkit {

void centreOnScreen(QWidget *window) {
    if (const QScreen *screen = window->screen()) {
        QRect frame = window->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window->move(frame.topLeft());
    }
}

bool windowSystemTellsPosition() {
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

} // namespace toolkit
