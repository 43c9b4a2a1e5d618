#include "toolkit/SystemColors.h"

#include <QApplication>
#include <QPalette>

namespace toolkit {

QColor buttonFace() {
    QColor color = QApplication::palette().color(QPalette::Button).toRgb();
    color.setAlpha(255);
    return color;
}

} // namespace toolkit
