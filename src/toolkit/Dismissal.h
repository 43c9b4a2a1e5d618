#pragma once

// The boxes and dialogs of a program asked to end: each is closed as a window manager's close
// would close it, so the code that showed it goes on as after the player's own close.

#include <QObject>

namespace toolkit {

// Closes the modal dialogs open now, the innermost first. A dialog that refuses the close
// stays, and so do those under it.
void closeModalDialogs();

// Once started, closes every dialog that shows from then on, as soon as it shows: a program
// asked to end while it is still starting leaves the rest of its start-up boxes unseen.
class DialogDismisser : public QObject {
public:
    DialogDismisser() = default;
    ~DialogDismisser() override;
    DialogDismisser(const DialogDismisser &) = delete;
    DialogDismisser &operator=(const DialogDismisser &) = delete;

    void start();
    bool started() const { return started_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool started_ = false;
};

} // namespace toolkit
