#include "toolkit/GridTable.h"

#include <QHeaderView>
#include <QImage>

#include <gtest/gtest.h>

namespace {

// The thickness of each run of grid pixels met along one line of the picture.
std::vector<int> LinesAcross(const QImage &picture, QPoint from, QPoint step) {
    const QRgb background = picture.pixel(from);
    std::vector<int> lines;
    int run = 0;
    for (QPoint at = from; picture.rect().contains(at); at += step) {
        if (picture.pixel(at) != background) {
            ++run;
        } else if (run > 0) {
            lines.push_back(run);
            run = 0;
        }
    }
    if (run > 0)
        lines.push_back(run);
    return lines;
}

} // namespace

// The score table's rows and columns, drawn at the scales of common screens: each line as
// thick as every other, in whole screen pixels.
TEST(GridTable, EveryLineIsEquallyThickAtEveryScale) {
    toolkit::GridTable table;
    table.setRowCount(10);
    table.setColumnCount(4);
    table.verticalHeader()->hide();
    table.verticalHeader()->setDefaultSectionSize(17);
    for (int column = 0; column < 4; ++column)
        table.setColumnWidth(column, std::array{50, 70, 300, 93}[column]);
    table.resize(600, 300); // room for every row and column
    table.show();
    QWidget *const cells = table.viewport();

    const struct {
        qreal scale;
        int thickness;
    } cases[] = {{1.0, 1}, {1.25, 1}, {1.5, 1}, {1.75, 1}, {2.0, 2}, {2.5, 2}, {3.0, 3}};
    for (const auto &c : cases) {
        QImage picture((QSizeF(cells->size()) * c.scale).toSize(), QImage::Format_RGB32);
        picture.setDevicePixelRatio(c.scale);
        cells->render(&picture);
        const int midRow = int(25 * c.scale);     // inside the second row
        const int midColumn = int(200 * c.scale); // inside the third column
        EXPECT_EQ(LinesAcross(picture, {midColumn, 0}, {0, 1}), std::vector<int>(10, c.thickness))
            << "rows at " << c.scale;
        EXPECT_EQ(LinesAcross(picture, {0, midRow}, {1, 0}), std::vector<int>(4, c.thickness))
            << "columns at " << c.scale;
    }
}
