#pragma once

#include <QTableWidget>

#include <memory>

namespace toolkit {

// A table whose grid lines are whole pixels of the screen at every scaling. The table view
// draws each line a logical pixel wide, which at 125 % or 150 % falls on one screen pixel for
// some rows and two for others; here the view lays out and paints its cells as always, with
// its own lines left invisible, and the grid is drawn over them, every line equally thick
// (the scale's whole part, at least one pixel) where the view's line would begin.
class GridTable : public QTableWidget {
    Q_OBJECT

public:
    explicit GridTable(QWidget *parent = nullptr);
    ~GridTable() override;

    // The screen pixels of a grid line at a device pixel ratio.
    static int lineWidth(qreal devicePixelRatio);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void paintGrid();

    // The style that keeps the view's own lines invisible; it forwards everything else to
    // the application's style.
    std::unique_ptr<QStyle> hiddenGrid_;
};

} // namespace toolkit
