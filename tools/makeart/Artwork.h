#pragma once

#include <QImage>

namespace makeart {

// The four kinds of bad guy, each a strip of two 50 x 50 frames: the wing beat of a flap.
QImage drawBadGuy(int kind);
// Seven 55 x 48 frames: a spark, the blast growing and fading, and plain black.
QImage drawExplosion();

// 32 x 32 icons for the preferences dialog: a loudspeaker for the sound settings, and the
// program's own star burst, which is also the program's icon on the desktop at every size.
QImage drawSpeakerIcon();
QImage drawStarburstIcon(int size = 32);

// 70 x 47 pictures for the help window's title strip: two of the green bad guys, and one
// of the rays turned blue.
QImage drawHelpPair();
QImage drawHelpRay();
// The high score table's row markers, a strip of two 16 x 16 arrows: cyan, then red.
QImage drawRowArrows();

// The buttons' glyphs, `size` pixels square (16, and 32 for a doubled screen).
enum class Glyph { Ok, Cancel, Close, Another };
QImage drawGlyph(Glyph glyph, int size);

} // namespace makeart
