#pragma once

#include "toolkit/Canvas.h"

#include <QImage>
#include <QWidget>

namespace toolkit {

// A control that shows a picture: at its own size, or stretched to the control (without
// smoothing, so pixel art stays sharp). With transparent set, black pixels of the picture
// let whatever lies beneath the control show through.
class Image : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool stretch READ stretch WRITE setStretch)
    Q_PROPERTY(bool transparent READ transparent WRITE setTransparent)
    Q_PROPERTY(QImage picture READ picture WRITE setPicture)

public:
    explicit Image(QWidget *parent = nullptr);

    bool stretch() const { return stretch_; }
    void setStretch(bool stretch);
    bool transparent() const { return transparent_; }
    void setTransparent(bool transparent);

    const QImage &picture() const { return picture_; }
    void setPicture(const QImage &picture);
    void clearPicture();
    bool hasPicture() const { return !picture_.isNull(); }
    // Takes a new picture of the given size, all of it black.
    void resetPicture(const QSize &size);

    // The canvas of the picture. An empty picture first becomes a white picture of the
    // control's size, as the classic image control did.
    Canvas &canvas();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void pictureChanged();
    const QImage &shownPicture() const;

    bool stretch_ = false;
    bool transparent_ = false;
    QImage picture_;
    Canvas canvas_;
    mutable QImage shown_; // the picture keyed for transparency; null until needed
};

} // namespace toolkit
