#include "components/SaveForm.h"

#include "toolkit/Placement.h"

#include <QEvent>

namespace {

QWidget *windowOf(QWidget *owner) {
    if (owner && !owner->isWindow())
        throw EInvalidCast();
    return owner;
}

enum StateCode : int32_t { Minimized = 0, Normal = 1, Maximized = 2 };

// Full screen is kept apart, as a value of its own: the state is the one under it, the one
// the window returns to when it leaves full screen.
StateCode stateCode(Qt::WindowStates states) {
    if (states & Qt::WindowMinimized)
        return Minimized;
    if (states & Qt::WindowMaximized)
        return Maximized;
    return Normal;
}

// A window that fills the screen keeps no bounds of its own; it is fitted once it is back.
bool fillsScreen(Qt::WindowStates states) {
    return states & (Qt::WindowMaximized | Qt::WindowFullScreen);
}

bool isNormal(Qt::WindowStates states) {
    return !(states & Qt::WindowMinimized) && !fillsScreen(states);
}

const QString State = QStringLiteral("State");
const QString Height = QStringLiteral("Height");
const QString Width = QStringLiteral("Width");
const QString Left = QStringLiteral("Left");
const QString Top = QStringLiteral("Top");
const QString FullScreen = QStringLiteral("FullScreen");

} // namespace

TSaveForm::TSaveForm(QWidget *owner)
    : QObject(windowOf(owner)), TSaveComponent(this), form_(owner),
      positionKnown_(toolkit::windowSystemTellsPosition) {
    if (form_)
        form_->installEventFilter(this);
}

// Without a window to keep, not even the events fire.
void TSaveForm::Save() {
    if (form_)
        TSaveComponent::Save();
}

void TSaveForm::Restore() {
    if (form_)
        TSaveComponent::Restore();
}

void TSaveForm::SaveTo(SettingsStore &store) {
    const Qt::WindowStates states = form_->windowState();
    const StateCode state = stateCode(states);
    store.WriteInteger(State, state);
    const bool fullScreen = states.testFlag(Qt::WindowFullScreen);
    if (state != Maximized) {
        // Full screen, the bounds kept are those the window had before it.
        const std::optional<QRect> frame =
            fullScreen ? normalFrame_ : std::optional<QRect>(form_->frameGeometry());
        if (frame) {
            store.WriteInteger(Height, frame->height());
            store.WriteInteger(Width, frame->width());
            // A position the window system would not tell is no news: the stored one stays.
            if (!positionKnown_ || positionKnown_()) {
                store.WriteInteger(Left, frame->x());
                store.WriteInteger(Top, frame->y());
            }
        }
    }
    store.WriteInteger(FullScreen, fullScreen ? 1 : 0);
}

QSize TSaveForm::frameSize() const {
    return form_->frameGeometry().size() - form_->geometry().size();
}

// The stored sizes are the outer ones; Qt sizes a window by its client area. A window that is
// not on screen yet may not know its frame (X11 learns it from the window manager after
// mapping), so its outer size is fitted again once the frame is known; otherwise the window
// would grow by its frame on every run.
void TSaveForm::applyHeight(int height) {
    form_->resize(form_->width(), height - frameSize().height());
    if (!form_->isVisible())
        outerHeight_ = height;
}

void TSaveForm::applyWidth(int width) {
    form_->resize(width - frameSize().width(), form_->height());
    if (!form_->isVisible())
        outerWidth_ = width;
}

void TSaveForm::fitOuterSize() {
    const QSize frame = frameSize();
    if (frame.isNull())
        return;
    const int height = outerHeight_ ? *outerHeight_ - frame.height() : form_->height();
    const int width = outerWidth_ ? *outerWidth_ - frame.width() : form_->width();
    outerHeight_.reset();
    outerWidth_.reset();
    form_->resize(width, height);
}

bool TSaveForm::eventFilter(QObject *watched, QEvent *event) {
    const QEvent::Type type = event->type();
    if (watched == form_ &&
        (type == QEvent::Show || type == QEvent::Move || type == QEvent::Resize) &&
        form_->isVisible() && isNormal(form_->windowState()))
        normalFrame_ = form_->frameGeometry();
    if (watched == form_ && (outerHeight_ || outerWidth_)) {
        switch (event->type()) {
        case QEvent::Show:
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::WindowStateChange:
            if (!fillsScreen(form_->windowState()))
                fitOuterSize();
            break;
        case QEvent::UpdateRequest:
        case QEvent::Paint:
            // Where the window system tells the frame only once the window draws (Wayland's
            // decorations are the program's own), after the drawing.
            if (!fitQueued_) {
                fitQueued_ = true;
                QMetaObject::invokeMethod(
                    this,
                    [this] {
                        fitQueued_ = false;
                        if (form_ && (outerHeight_ || outerWidth_) &&
                            !fillsScreen(form_->windowState()))
                            fitOuterSize();
                    },
                    Qt::QueuedConnection);
            }
            break;
        case QEvent::Hide:
            outerHeight_.reset();
            outerWidth_.reset();
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

// Qt places a window by its frame, as the stored position is, and keeps to that also for a
// window whose frame is not known yet. Where the window system keeps positions to itself, the
// move is ignored and the sizes applied apart from it still hold.
void TSaveForm::applyLeft(int left) {
    form_->move(left, form_->pos().y());
}

void TSaveForm::applyTop(int top) {
    form_->move(form_->pos().x(), top);
}

void TSaveForm::RestoreFrom(const SettingsStore &store) {
    outerHeight_.reset();
    outerWidth_.reset();
    // Each value is read just before it is applied: a later value that is missing leaves the
    // earlier ones in place, and the profile's defaults are the bounds as they are by then.
    // Without a stored state the registry leaves the window as designed; the profile takes a
    // missing state as normal.
    if (!store.Restorable(State))
        return;
    // A value that is not there was not written: where the window system keeps the position
    // to itself, Left and Top never are. The window system decides what is missing; a value
    // that is there but unreadable still fails with its message.
    auto applyGeometry = [&] {
        if (store.Restorable(Height))
            applyHeight(store.ReadInteger(Height, form_->frameGeometry().height()));
        if (store.Restorable(Width))
            applyWidth(store.ReadInteger(Width, form_->frameGeometry().width()));
        if (store.Restorable(Left))
            applyLeft(store.ReadInteger(Left, form_->pos().x()));
        if (store.Restorable(Top))
            applyTop(store.ReadInteger(Top, form_->pos().y()));
    };

    auto applyNormalBounds = [&] {
        form_->setWindowState(Qt::WindowNoState);
        applyGeometry();
        // Outer sizes, also where the frame is not known yet.
        normalFrame_ =
            QRect(form_->pos(), QSize(outerWidth_.value_or(form_->frameGeometry().width()),
                                      outerHeight_.value_or(form_->frameGeometry().height())));
    };

    switch (store.ReadInteger(State, Normal)) {
    case Normal:
        applyNormalBounds();
        break;
    case Minimized:
        applyGeometry();
        form_->setWindowState(Qt::WindowMinimized);
        return;
    case Maximized:
        // The bounds an earlier save left are where the window goes when it is no longer
        // maximised, not wherever the toolkit would put it.
        applyNormalBounds();
        form_->setWindowState(Qt::WindowMaximized);
        break;
    default:
        return;
    }
    // Files written before the window could fill the screen hold no such value.
    if (store.Restorable(FullScreen) && store.ReadInteger(FullScreen, 0) != 0)
        form_->setWindowState(form_->windowState() | Qt::WindowFullScreen);
}
