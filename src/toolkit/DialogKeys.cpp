#include "toolkit/DialogKeys.h"

#include <QKeyEvent>
#include <QPointer>

namespace toolkit {

namespace {

// Takes Esc where it reaches the dialog: a widget with the focus that has no use for it passes
// it on. QDialog would reject() on its own, past the cancel button's handler.
class EscapeKey : public QObject {
public:
    EscapeKey(QDialog *dialog, QPushButton *cancelButton)
        : QObject(dialog), cancelButton_(cancelButton) {}

protected:
    bool eventFilter(QObject *, QEvent *event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() != Qt::Key_Escape || key->modifiers() != Qt::NoModifier)
            return false;
        if (cancelButton_ && cancelButton_->isEnabled() && cancelButton_->isVisible())
            cancelButton_->click();
        return true;
    }

private:
    QPointer<QPushButton> cancelButton_;
};

} // namespace

void useDialogKeys(QDialog *dialog, QPushButton *defaultButton, QPushButton *cancelButton) {
    // Qt presses a focused push button on Enter only when it is an "auto default" one; any
    // other lets Enter pass to the dialog, which presses the default button instead.
    for (QPushButton *button : dialog->findChildren<QPushButton *>()) {
        if (button->window() == dialog)
            button->setAutoDefault(true);
    }
    if (defaultButton)
        defaultButton->setDefault(true);
    dialog->installEventFilter(new EscapeKey(dialog, cancelButton));
}

} // namespace toolkit
