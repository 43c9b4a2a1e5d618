#pragma once

#include <QIcon>
#include <QPushButton>
#include <QString>

namespace toolkit {

// A button with a glyph beside its caption, as the classic toolkit's glyph buttons were. The
// glyph is a property a window description sets ("glyph"): one of the standard kinds, drawn
// by the toolkit itself in their classic colours so that they look the same on every desktop,
//   "ok"     a green tick,
//   "cancel" a red cross,
//   "close"  an open door,
// or the resource or file name of a picture of the button's own, 16 x 16 (a sibling named
// "<name>@2x.<ext>", 32 x 32, serves a doubled screen). A disabled button shows its glyph
// greyed. An empty glyph, or a picture that cannot be read, shows the caption alone.
class GlyphButton : public QPushButton {
    Q_OBJECT
    Q_PROPERTY(QString glyph READ glyph WRITE setGlyph)

public:
    explicit GlyphButton(QWidget *parent = nullptr);

    QString glyph() const { return glyph_; }
    void setGlyph(const QString &glyph);

    // The icon a glyph is shown with: its normal pictures at 16 and 32 pixels, and their
    // greyed twins for the disabled mode. Null for an empty glyph or a picture not found.
    static QIcon glyphIcon(const QString &glyph);

private:
    QString glyph_;
};

} // namespace toolkit
