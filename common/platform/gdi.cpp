#include "common/platform/gdi.h"

#include <QFontMetricsF>
#include <QHash>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace plat {

QColor ColorFromRgb(int rgb) { return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF); }

namespace {

constexpr int kMaxFontPixels = 20000;
constexpr int kDefaultCellHeight = 16;

// Ascent plus descent of a face per pixel of em size, measured once per face.
double CellPerEm(const QString& face) {
  static QHash<QString, double> cache;
  const auto it = cache.constFind(face);
  if (it != cache.constEnd()) return it.value();
  QFont f(face);
  f.setPixelSize(1000);
  const QFontMetricsF m(f);
  double r = (m.ascent() + m.descent()) / 1000.0;
  if (!(r > 0.1 && r < 10.0)) r = 1.15;
  cache.insert(face, r);
  return r;
}

}  // namespace

QPen GdiPen(int style, int width, int rgb) {
  if (style == PS_NULL) return QPen(Qt::NoPen);
  QPen pen(ColorFromRgb(rgb));
  pen.setWidth(std::max(1, width));
  if (width <= 1 && style == PS_DASH) pen.setStyle(Qt::DashLine);
  else if (width <= 1 && style == PS_DOT) pen.setStyle(Qt::DotLine);
  pen.setCapStyle(Qt::SquareCap);
  return pen;
}

QFont GdiFont(int height, const QString& face) {
  QFont f(face);
  double pixels = 0;
  if (height < 0) pixels = -static_cast<double>(height);
  else pixels = (height == 0 ? kDefaultCellHeight : height) / CellPerEm(face);
  f.setPixelSize(std::clamp(static_cast<int>(std::lround(pixels)), 1, kMaxFontPixels));
  return f;
}

void GdiTextOut(QPainter& painter, const QPointF& point, const QString& text, int align, int escapement) {
  if (text.isEmpty()) return;
  const QFontMetricsF m(painter.font(), painter.device());
  double x = 0;
  if ((align & TA_CENTER) == TA_CENTER) x = -m.horizontalAdvance(text) / 2.0;
  else if (align & TA_RIGHT) x = -m.horizontalAdvance(text);
  double y = 0;
  if ((align & TA_BASELINE) == TA_BASELINE) y = 0;
  else if (align & TA_BOTTOM) y = -m.descent();
  else y = m.ascent();
  painter.save();
  painter.translate(point);
  if (escapement != 0) painter.rotate(-escapement / 10.0);
  painter.drawText(QPointF(x, y), text);
  painter.restore();
}

bool ClipLine(QLineF& line, const QRectF& rect) {
  // Liang-Barsky: the part of the line p1 + t (p2 - p1), 0 <= t <= 1, inside the rectangle.
  if (!(std::isfinite(line.x1()) && std::isfinite(line.y1()) && std::isfinite(line.x2()) && std::isfinite(line.y2())))
    return false;
  const double x1 = line.x1(), y1 = line.y1();
  const double dx = line.x2() - x1, dy = line.y2() - y1;
  double t0 = 0.0, t1 = 1.0;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x1 - rect.left(), rect.right() - x1, y1 - rect.top(), rect.bottom() - y1};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0.0) {
      if (q[i] < 0.0) return false;
      continue;
    }
    const double r = q[i] / p[i];
    if (p[i] < 0.0) {
      if (r > t1) return false;
      if (r > t0) t0 = r;
    } else {
      if (r < t0) return false;
      if (r < t1) t1 = r;
    }
  }
  if (!(std::isfinite(t0) && std::isfinite(t1))) return false;
  line = QLineF(x1 + t0 * dx, y1 + t0 * dy, x1 + t1 * dx, y1 + t1 * dy);
  return true;
}

}  // namespace plat
