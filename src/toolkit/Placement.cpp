#include "toolkit/Placement.h"

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

} // namespace toolkit
