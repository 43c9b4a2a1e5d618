#pragma once

// The widget through which the display is seen: it covers its window's client area, lets the
// mouse through to the window, and paints the front surface through the palette, either
// fitted to its whole area (full screen) or on the rectangle the display last copied to
// (window mode), black around it.

#include "gk/Bitmaps.h"
#include "gk/PixelSurface.h"

#include <QImage>
#include <QWidget>

namespace gk {

class DisplayView : public QWidget {
    Q_OBJECT

public:
    explicit DisplayView(QWidget *window);

    // What to show and where; a null surface shows black. Repaints when control is back in the
    // event loop, so that a flip and a palette change in one turn show as one picture.
    void present(const PixelSurface *front, bool fit, const QRect &target);
    void setColors(const ColorTable &colors);
    // Where the front surface shows, in the window's client coordinates.
    QRect pictureRect() const;
    const PixelSurface *front() const { return front_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    const PixelSurface *front_ = nullptr;
    bool fit_ = false;
    QRect target_;
    ColorTable colors_{};
    QImage frame_; // the last picture made, kept for its memory
};

} // namespace gk
