#include "toolkit/GridTable.h"

#include <QApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QProxyStyle>

#include <algorithm>
#include <cmath>

namespace toolkit {

namespace {

class HiddenGridStyle : public QProxyStyle {
public:
    HiddenGridStyle() : QProxyStyle(QApplication::style()->name()) {}

    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override {
        if (hint == SH_Table_GridLineColor)
            return 0; // transparent
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

// The colour the application's style gives the grid.
QColor gridColor(const QTableView &table) {
    QStyleOptionViewItem option;
    option.initFrom(&table);
    const int hint =
        QApplication::style()->styleHint(QStyle::SH_Table_GridLineColor, &option, &table);
    return QColor::fromRgba(static_cast<QRgb>(hint));
}

} // namespace

GridTable::GridTable(QWidget *parent)
    : QTableWidget(parent), hiddenGrid_(std::make_unique<HiddenGridStyle>()) {
    setStyle(hiddenGrid_.get());
}

GridTable::~GridTable() = default;

int GridTable::lineWidth(qreal devicePixelRatio) {
    return std::max(1, int(std::floor(devicePixelRatio)));
}

void GridTable::paintEvent(QPaintEvent *event) {
    QTableWidget::paintEvent(event);
    if (showGrid() && rowCount() > 0 && columnCount() > 0)
        paintGrid();
}

// The view's line under a row (right of a column) covers the row's last logical pixel; this
// one starts at the first screen pixel of it. Lines run as far as the cells do.
void GridTable::paintGrid() {
    QWidget *const area = viewport();
    QPainter painter(area);
    // The painter's scale is the screen's, or that of the picture the table is drawn into.
    const qreal ratio = painter.deviceTransform().m22();
    const int width = lineWidth(ratio);
    const auto screen = [ratio](int logical) { return int(std::floor(logical * ratio)); };
    const auto screenEnd = [ratio](int logical) { return int(std::ceil(logical * ratio)); };
    const int lastColumn = columnCount() - 1;
    const int lastRow = rowCount() - 1;
    const int right =
        std::min(area->width(), columnViewportPosition(lastColumn) + columnWidth(lastColumn));
    const int bottom = std::min(area->height(), rowViewportPosition(lastRow) + rowHeight(lastRow));

    painter.scale(1 / ratio, 1 / ratio); // from here on, screen pixels
    const QColor color = gridColor(*this);
    for (int row = 0; row <= lastRow; ++row) {
        if (isRowHidden(row))
            continue;
        const int y = rowViewportPosition(row) + rowHeight(row) - 1;
        if (y >= 0 && y < area->height())
            painter.fillRect(QRect(0, screen(y), screenEnd(right), width), color);
    }
    for (int column = 0; column <= lastColumn; ++column) {
        if (isColumnHidden(column))
            continue;
        const int x = columnViewportPosition(column) + columnWidth(column) - 1;
        if (x >= 0 && x < area->width())
            painter.fillRect(QRect(screen(x), 0, width, screenEnd(bottom)), color);
    }
}

} // namespace toolkit
