// The main window and the desktop around it: what the window does when the player leaves it
// for another program or minimises it, the keys beside the designed mouse controls, full
// screen, the smallest size it may take, and the close a logout or a signal asks for.

#include "game/MainU.h"
#include "toolkit/Dismissal.h"
#include "toolkit/ErrorReport.h"

#include <QApplication>
#include <QEvent>
#include <QShortcut>

bool TMainForm::Flying() const {
    return Running() && !game_.makingStars();
}

void TMainForm::connectDesktop() {
    // Smaller than designed, the start button and the results box would be cut off.
    setMinimumSize(size());

    // Keys only where the main window has the focus: a dialog of the game's keeps its own.
    const auto key = [this](const QKeySequence &sequence, auto handler) {
        auto *shortcut = new QShortcut(sequence, this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, toolkit::handler(handler));
    };
    key(QKeySequence(Qt::Key_P), [this] { PauseKey(); });
    key(QKeySequence(Qt::Key_Pause), [this] { PauseKey(); });
    key(QKeySequence(Qt::Key_F11), [this] { ToggleFullScreen(); });
    // The keys of menu items belong to the items, which the menus show beside their captions.
    Help2->setShortcut(QKeySequence(Qt::Key_F1));
    Exit1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    // The application turns inactive only when none of its windows has the focus, so a
    // dialog of the game's own is not leaving it.
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                Away = state != Qt::ApplicationActive;
                if (Away)
                    pauseWhenLeft();
            });
}

bool TMainForm::Running() const {
    return game_.inGame() && !game_.stopped() && !PauseBusy && !WindowClosed;
}

// A start while the player is away (Start clicked, or Space pressed, and the focus gone before
// the window heard of it) pauses at once, as a leaving after it would.
void TMainForm::pauseIfAway() {
    if (Away || isMinimized())
        pauseWhenLeft();
}

void TMainForm::PauseKey() {
    if (!game_.inGame() || PauseBusy)
        return;
    if (!game_.stopped())
        Pause();
    else if (PausePanel->isVisible())
        PausePanelMouseDown(PausePanel, Qt::LeftButton, Qt::NoModifier, 0, 0);
}

// The pause runs after the event that told of the leaving, with its fade, as a right click's
// does; by then the game may have ended or paused already. The star field's build-up pauses
// too: the flight would otherwise begin, and be lost, while the player is away.
void TMainForm::pauseWhenLeft() {
    QMetaObject::invokeMethod(
        this,
        [this] {
            toolkit::guarded([this] {
                if (Running())
                    Pause();
            });
        },
        Qt::QueuedConnection);
}

// The window system's own full screen, so that a window manager's key for it agrees; the field
// is laid out as in a maximised window. Leaving it, the window system brings back the size and
// place the window had before.
void TMainForm::ToggleFullScreen() {
    setWindowState(windowState() ^ Qt::WindowFullScreen);
}

// A game started from the keyboard (Space on the start button) shows its turret at once,
// aimed where the game aims, as a game started with the mouse shows it at the first move.
void TMainForm::showTurret() {
    const QPoint aim = game_.aim();
    MainBoxMouseMove(MainBox, Qt::NoModifier, aim.x(), aim.y());
}

void TMainForm::changeEvent(QEvent *event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && isMinimized())
        pauseWhenLeft();
}

void TMainForm::CloseWithoutFarewell() {
    FarewellSkipped = true;
    // A dialog of the game's, the farewell among them, would hold the close until the player
    // answered it; it is closed as the window manager would close it.
    toolkit::closeModalDialogs();
    close();
}
