#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

#include <functional>

namespace toolkit {

// Where a child control sits in its parent panel. Aligned children are placed by the panel
// whenever its size changes: first those on the top edge (in order of their top), then the
// bottom edge, the left edge, the right edge, and last the ones filling what is left. Each
// takes the space it needs from what the earlier ones left. Hidden children take no space.
// Children with Align::None keep the place they were given.
enum class Align { None, Top, Bottom, Left, Right, Client };

// The alignment is held as the child's "align" property ("alTop", "alBottom", "alLeft",
// "alRight", "alClient"), so a window description can state it.
Align alignOf(const QWidget *child);
void setAlign(QWidget *child, Align align);

// A rectangular container with a colour, a centred caption and classic 3-D bevels: an outer
// one at its edge and an inner one inside it, each raised, lowered or none. The bevels narrow
// the area that aligned children share; children placed at a position count from the
// panel's top-left corner.
class Panel : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString caption READ caption WRITE setCaption)
    Q_PROPERTY(QColor color READ color WRITE setColor)
    Q_PROPERTY(Bevel bevelOuter READ bevelOuter WRITE setBevelOuter)
    Q_PROPERTY(Bevel bevelInner READ bevelInner WRITE setBevelInner)
    Q_PROPERTY(int bevelWidth READ bevelWidth WRITE setBevelWidth)

public:
    enum class Bevel { None, Lowered, Raised };
    Q_ENUM(Bevel)

    explicit Panel(QWidget *parent = nullptr);

    QString caption() const { return caption_; }
    void setCaption(const QString &caption);
    QColor color() const { return color_; }
    void setColor(const QColor &color);
    Bevel bevelOuter() const { return bevelOuter_; }
    void setBevelOuter(Bevel bevel);
    Bevel bevelInner() const { return bevelInner_; }
    void setBevelInner(Bevel bevel);
    int bevelWidth() const { return bevelWidth_; }
    void setBevelWidth(int width);

    // The part of the panel inside its bevels, where aligned children are placed.
    QRect clientRect() const;

    // Places the aligned children, then lets every child panel place its own. Runs on every
    // resize; call it directly to arrange a tree that has not been shown yet.
    void alignControls();

    // Runs after the panel has placed its children for a new size.
    std::function<void()> onResize;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void childEvent(QChildEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // alignControls without onResize, for changes that leave the panel's size alone. False
    // when a placement is already under way.
    bool placeChildren();

    QString caption_;
    QColor color_;
    Bevel bevelOuter_ = Bevel::Raised;
    Bevel bevelInner_ = Bevel::None;
    int bevelWidth_ = 1;
    bool aligning_ = false;
};

} // namespace toolkit
