#include "toolkit/Panel.h"

#include "toolkit/ErrorReport.h"

#include <QChildEvent>
#include <QPainter>
#include <QVariant>

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

namespace toolkit {

namespace {

constexpr const char *AlignProperty = "align";

constexpr std::array<std::pair<Align, const char *>, 6> AlignNames{{
    {Align::None, "alNone"},
    {Align::Top, "alTop"},
    {Align::Bottom, "alBottom"},
    {Align::Left, "alLeft"},
    {Align::Right, "alRight"},
    {Align::Client, "alClient"},
}};

// One bevel ring, one pixel wide: the top row and left column in one colour, the right column
// and bottom row (which own the corners they share with the others) in the other.
void drawFrame(QPainter &painter, const QRect &r, const QColor &topLeft,
               const QColor &bottomRight) {
    if (r.width() <= 0 || r.height() <= 0)
        return;
    painter.fillRect(QRect(r.left(), r.top(), r.width() - 1, 1), topLeft);
    painter.fillRect(QRect(r.left(), r.top(), 1, r.height() - 1), topLeft);
    painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), bottomRight);
    painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), bottomRight);
}

// The remaining free area while children are placed; right and bottom are exclusive.
struct Free {
    int left, top, right, bottom;
    int width() const { return std::max(right - left, 0); }
    int height() const { return std::max(bottom - top, 0); }
};

} // namespace

Align alignOf(const QWidget *child) {
    if (!child)
        return Align::None;
    const QString name = child->property(AlignProperty).toString();
    for (const auto &[align, text] : AlignNames) {
        if (name == QLatin1String(text))
            return align;
    }
    return Align::None;
}

void setAlign(QWidget *child, Align align) {
    if (!child)
        return;
    for (const auto &[value, text] : AlignNames) {
        if (value == align)
            child->setProperty(AlignProperty, QString::fromLatin1(text));
    }
}

Panel::Panel(QWidget *parent) : QWidget(parent) {}

void Panel::setCaption(const QString &caption) {
    caption_ = caption;
    update();
}

void Panel::setColor(const QColor &color) {
    color_ = color;
    update();
}

void Panel::setBevelOuter(Bevel bevel) {
    bevelOuter_ = bevel;
    update();
    placeChildren();
}

void Panel::setBevelInner(Bevel bevel) {
    bevelInner_ = bevel;
    update();
    placeChildren();
}

void Panel::setBevelWidth(int width) {
    bevelWidth_ = std::max(width, 0);
    update();
    placeChildren();
}

QRect Panel::clientRect() const {
    int inset = 0;
    if (bevelOuter_ != Bevel::None)
        inset += bevelWidth_;
    if (bevelInner_ != Bevel::None)
        inset += bevelWidth_;
    QRect r = rect().adjusted(inset, inset, -inset, -inset);
    if (r.width() < 0)
        r.setWidth(0);
    if (r.height() < 0)
        r.setHeight(0);
    return r;
}

void Panel::alignControls() {
    if (!placeChildren())
        return;
    // Outside the guard: a handler that resizes the panel gets its children placed again.
    if (onResize)
        guarded(onResize);
}

bool Panel::placeChildren() {
    if (aligning_)
        return false;
    aligning_ = true;

    std::vector<QWidget *> byAlign[6];
    std::vector<Panel *> panels;
    for (QObject *object : children()) {
        auto *child = qobject_cast<QWidget *>(object);
        if (!child || child->isWindow())
            continue;
        if (auto *panel = qobject_cast<Panel *>(child))
            panels.push_back(panel);
        if (child->isHidden())
            continue;
        byAlign[static_cast<int>(alignOf(child))].push_back(child);
    }

    auto sortBy = [&](Align align, auto key) {
        auto &list = byAlign[static_cast<int>(align)];
        std::stable_sort(list.begin(), list.end(),
                         [&](QWidget *a, QWidget *b) { return key(a) < key(b); });
        return list;
    };
    const QRect client = clientRect();
    Free free{client.left(), client.top(), client.left() + client.width(),
              client.top() + client.height()};

    for (QWidget *child : sortBy(Align::Top, [](QWidget *w) { return w->y(); })) {
        const int h = child->height();
        child->setGeometry(free.left, free.top, free.width(), h);
        free.top += h;
    }
    for (QWidget *child :
         sortBy(Align::Bottom, [](QWidget *w) { return -(w->y() + w->height()); })) {
        const int h = child->height();
        child->setGeometry(free.left, free.bottom - h, free.width(), h);
        free.bottom -= h;
    }
    for (QWidget *child : sortBy(Align::Left, [](QWidget *w) { return w->x(); })) {
        const int w = child->width();
        child->setGeometry(free.left, free.top, w, free.height());
        free.left += w;
    }
    for (QWidget *child : sortBy(Align::Right, [](QWidget *w) { return -(w->x() + w->width()); })) {
        const int w = child->width();
        child->setGeometry(free.right - w, free.top, w, free.height());
        free.right -= w;
    }
    for (QWidget *child : byAlign[static_cast<int>(Align::Client)])
        child->setGeometry(free.left, free.top, free.width(), free.height());

    // A child that is not shown yet hears of its new size only when it is shown, so the
    // child panels are arranged now rather than from their resize events.
    for (Panel *panel : panels)
        panel->alignControls();

    aligning_ = false;
    return true;
}

void Panel::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.fillRect(rect(), color_.isValid() ? color_ : palette().color(QPalette::Window));

    const QColor light = palette().color(QPalette::Light);
    const QColor dark = palette().color(QPalette::Dark);
    QRect ring = rect();
    for (Bevel bevel : {bevelOuter_, bevelInner_}) {
        if (bevel == Bevel::None)
            continue;
        const bool raised = bevel == Bevel::Raised;
        for (int i = 0; i < bevelWidth_; ++i) {
            drawFrame(painter, ring, raised ? light : dark, raised ? dark : light);
            ring.adjust(1, 1, -1, -1);
        }
    }

    if (!caption_.isEmpty()) {
        painter.setFont(font());
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(clientRect(), Qt::AlignCenter, caption_);
    }
}

void Panel::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    alignControls();
}

void Panel::childEvent(QChildEvent *event) {
    QWidget::childEvent(event);
    QObject *child = event->child();
    if (!child || !child->isWidgetType())
        return;
    if (event->added())
        child->installEventFilter(this);
    else if (event->removed())
        child->removeEventFilter(this);
}

bool Panel::eventFilter(QObject *watched, QEvent *event) {
    switch (event->type()) {
    case QEvent::ShowToParent:
    case QEvent::HideToParent:
    // An aligned child given a new size keeps to its edge at that size. Qt holds back the
    // resize events of a window not shown yet, so until then this waits for the show.
    case QEvent::Resize:
        if (watched->parent() == this && alignOf(static_cast<QWidget *>(watched)) != Align::None)
            placeChildren();
        break;
    case QEvent::DynamicPropertyChange:
        if (watched->parent() == this &&
            static_cast<QDynamicPropertyChangeEvent *>(event)->propertyName() == AlignProperty)
            placeChildren();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace toolkit
