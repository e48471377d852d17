// What the screen drawing surface and the printer device context share of the Windows graphics calls: colour
// values as the suite stores them, fonts made by height as CreateFont makes them, text drawn at a reference point
// with the alignment flags of SetTextAlign, and the clipping of a line to the drawable area.
#pragma once

#include <QColor>
#include <QFont>
#include <QLineF>
#include <QPen>
#include <QPointF>
#include <QRectF>
#include <QString>

class QPainter;

namespace plat {

// SetTextAlign flags.
enum TextAlign : int { TA_LEFT = 0, TA_RIGHT = 2, TA_CENTER = 6, TA_TOP = 0, TA_BOTTOM = 8, TA_BASELINE = 24 };
// SetBkMode modes.
enum BackgroundMode : int { TRANSPARENT = 1, OPAQUE = 2 };
// CreatePen styles.
enum PenStyle : int { PS_SOLID = 0, PS_DASH = 1, PS_DOT = 2, PS_NULL = 5 };

// A colour value of the suite, red + 256 x green + 65536 x blue (the reverse of Qt's byte order), as a colour.
// Bits above the 24 of the value are ignored.
QColor ColorFromRgb(int rgb);
// The colour value of red, green and blue (each 0 to 255).
constexpr int RgbValue(int red, int green, int blue) { return red + 256 * green + 65536 * blue; }

// A pen as CreatePen makes it: a width in pixels (at least 1), dashed and dotted styles only for lines one pixel
// wide (wider ones are solid), PS_NULL draws nothing. Line ends are square: they close the joints of wide polylines
// at a fraction of the cost of round ones.
QPen GdiPen(int style, int width, int rgb);

// A font as CreateFont makes it: `height` above 0 is the cell height (ascent plus descent) in pixels, below 0 the
// character height (the em size), 0 a default height. Sizes are kept between 1 and 20000 pixels.
QFont GdiFont(int height, const QString& face);

// Draws `text` as TextOut does: `point` is the reference point, placed by the alignment flags (left, right or
// centre; top, baseline or bottom); `escapement` turns the text counter-clockwise, in tenths of a degree.
void GdiTextOut(QPainter& painter, const QPointF& point, const QString& text, int align, int escapement);

// Clips a line to a rectangle; false when nothing of it lies inside. The ends stay in their order.
bool ClipLine(QLineF& line, const QRectF& rect);

}  // namespace plat
