#pragma once

#include "toolkit/Canvas.h"

#include <QImage>
#include <QWidget>

namespace toolkit {

// A drawing surface whose canvas keeps its pixels: what is drawn stays until it is drawn
// over, across repaints, covering windows and resizes. When the box grows, the new area
// takes the box's colour.
class PaintBox : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QColor color READ color WRITE setColor)

public:
    explicit PaintBox(QWidget *parent = nullptr);

    QColor color() const { return color_; }
    void setColor(const QColor &color);

    // Both follow the box's size even before it is shown, when Qt holds back resize events.
    Canvas &canvas();
    const QImage &image() const;

    // Shows what the canvas holds now, before returning (the classic canvas drew straight
    // to the screen; this is how a sequence of draws is made visible at once).
    void repaintNow();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void fitImageToSize() const;

    QColor color_{Qt::black};
    mutable QImage image_;
    Canvas canvas_;
    bool repaintPending_ = false;
};

} // namespace toolkit
