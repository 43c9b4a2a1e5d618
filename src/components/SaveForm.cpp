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

StateCode stateCode(Qt::WindowStates states) {
    if (states & Qt::WindowMinimized)
        return Minimized;
    // A window filling the screen has no placement of its own worth keeping either.
    if (states & (Qt::WindowMaximized | Qt::WindowFullScreen))
        return Maximized;
    return Normal;
}

const QString State = QStringLiteral("State");
const QString Height = QStringLiteral("Height");
const QString Width = QStringLiteral("Width");
const QString Left = QStringLiteral("Left");
const QString Top = QStringLiteral("Top");

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
    const StateCode state = stateCode(form_->windowState());
    store.WriteInteger(State, state);
    if (state == Maximized)
        return;
    const QRect frame = form_->frameGeometry();
    store.WriteInteger(Height, frame.height());
    store.WriteInteger(Width, frame.width());
    // A position the window system would not tell is no news: the stored one stays.
    if (positionKnown_ && !positionKnown_())
        return;
    store.WriteInteger(Left, form_->pos().x());
    store.WriteInteger(Top, form_->pos().y());
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
    if (watched == form_ && (outerHeight_ || outerWidth_)) {
        switch (event->type()) {
        case QEvent::Show:
        case QEvent::Move:
        case QEvent::Resize:
            fitOuterSize();
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
    auto applyGeometry = [&] {
        applyHeight(store.ReadInteger(Height, form_->frameGeometry().height()));
        applyWidth(store.ReadInteger(Width, form_->frameGeometry().width()));
        applyLeft(store.ReadInteger(Left, form_->pos().x()));
        applyTop(store.ReadInteger(Top, form_->pos().y()));
    };

    switch (store.ReadInteger(State, Normal)) {
    case Normal:
        form_->setWindowState(Qt::WindowNoState);
        applyGeometry();
        break;
    case Minimized:
        applyGeometry();
        form_->setWindowState(Qt::WindowMinimized);
        break;
    case Maximized:
        form_->setWindowState(Qt::WindowMaximized);
        break;
    default:
        break;
    }
}
