#include "toolkit/DesignProperties.h"

#include <QFont>
#include <QPalette>
#include <QVariant>

#include <cstdlib>

namespace toolkit {

namespace {

QColor colorOf(const QVariant &value) {
    if (value.typeId() == QMetaType::QColor)
        return value.value<QColor>();
    return QColor::fromString(value.toString());
}

void applyTo(QWidget *widget) {
    const QVariant height = widget->property("fontHeight");
    if (height.isValid()) {
        // A negative height is the character height in pixels. A positive one is the cell
        // height, which includes the leading; taken as the pixel size it is close enough.
        const int pixels = std::abs(height.toInt());
        if (pixels > 0) {
            QFont font = widget->font();
            font.setPixelSize(pixels);
            widget->setFont(font);
        }
    }
    const QVariant colorValue = widget->property("fontColor");
    if (colorValue.isValid()) {
        const QColor color = colorOf(colorValue);
        if (color.isValid())
            setTextColor(widget, color);
    }
    // Last, so that the size is taken in the control's own font.
    if (widget->property("autoSize").toBool())
        widget->adjustSize();
}

} // namespace

void applyDesign(QWidget *root) {
    if (!root)
        return;
    applyTo(root);
    // Parents come before their children, so a child's font starts from its parent's.
    for (QWidget *widget : root->findChildren<QWidget *>())
        applyTo(widget);
}

void setTextColor(QWidget *control, const QColor &color) {
    QPalette palette = control->palette();
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(role, color);
    control->setPalette(palette);
}

} // namespace toolkit
