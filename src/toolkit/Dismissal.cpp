#include "toolkit/Dismissal.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QPointer>

#include <utility>

namespace toolkit {

void closeModalDialogs() {
    while (QWidget *modal = QApplication::activeModalWidget()) {
        modal->close();
        if (QApplication::activeModalWidget() == modal)
            break;
    }
}

DialogDismisser::~DialogDismisser() {
    if (started_ && qApp)
        qApp->removeEventFilter(this);
}

void DialogDismisser::start() {
    if (std::exchange(started_, true))
        return;
    qApp->installEventFilter(this);
}

bool DialogDismisser::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::Show) {
        if (auto *dialog = qobject_cast<QDialog *>(watched); dialog && dialog->isWindow()) {
            // After the show: a dialog run modally enters its own loop first, and the close
            // then ends that loop.
            QMetaObject::invokeMethod(
                dialog,
                [box = QPointer<QDialog>(dialog)] {
                    if (box)
                        box->close();
                },
                Qt::QueuedConnection);
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace toolkit
