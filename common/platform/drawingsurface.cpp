#include "common/platform/drawingsurface.h"

#include "common/platform/gdi.h"
#include "common/platform/picturebox.h"
#include "common/platform/textio.h"
#include "common/platform/ui.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QSemaphore>
#include <QThread>
#include <QThreadPool>

#include <algorithm>
#include <cmath>
#include <exception>
#include <utility>

namespace plat {

QRect ScreenRect() {
  const QScreen* s = QGuiApplication::primaryScreen();
  return s ? s->geometry() : QRect(0, 0, 800, 600);
}

QRect WorkArea() {
  const QScreen* s = QGuiApplication::primaryScreen();
  return s ? s->availableGeometry() : QRect(0, 0, 800, 600);
}

struct DrawingInAdvance::State {
  QSemaphore done;
  QImage image;
  std::exception_ptr failure;
  bool taken = false;
};

DrawingInAdvance::DrawingInAdvance(std::function<QImage()> drawing) : state_(std::make_shared<State>()) {
  auto draw = [state = state_, drawing = std::move(drawing)] {
    try {
      state->image = drawing();
    } catch (...) {
      state->failure = std::current_exception();
    }
    state->done.release();
  };
  if (!QThreadPool::globalInstance()->tryStart(draw)) draw();
}

DrawingInAdvance::~DrawingInAdvance() {
  if (!state_->taken) state_->done.acquire();
}

QImage DrawingInAdvance::Take() {
  if (!state_->taken) {
    state_->done.acquire();
    state_->taken = true;
  }
  if (state_->failure) std::rethrow_exception(state_->failure);
  return std::exchange(state_->image, QImage());
}

void DrawOnOneThread(const std::function<void()>& drawing) {
  if (QThreadPool::globalInstance()->contains(QThread::currentThread())) {
    drawing();
    return;
  }
  DrawingInAdvance([&drawing] {
    drawing();
    return QImage();
  }).Take();
}

namespace {

constexpr int kMaxPenPixels = 10000;

// Script action "mouse <object> down|move|up x y [button]": a mouse event on a drawing surface (x, y in its user
// coordinates) or on any other widget (x, y in pixels). Button 1 left (the default), 2 right, 4 middle.
bool MouseAction(const QStringList& args, QString* error) {
  if (args.size() < 4) {
    *error = QStringLiteral("mouse needs an object, down, move or up, and x and y");
    return false;
  }
  QWidget* w = FindObject(args.at(0));
  if (!w) {
    *error = QStringLiteral("no object %1 is shown").arg(args.at(0));
    return false;
  }
  if (const QString why = Unreachable(w); !why.isEmpty()) {
    *error = why;
    return false;
  }
  const QString what = args.at(1).toLower();
  QEvent::Type type = QEvent::None;
  if (what == QLatin1String("down")) type = QEvent::MouseButtonPress;
  else if (what == QLatin1String("move")) type = QEvent::MouseMove;
  else if (what == QLatin1String("up")) type = QEvent::MouseButtonRelease;
  if (type == QEvent::None || !IsNumeric(args.at(2)) || !IsNumeric(args.at(3))) {
    *error = QStringLiteral("mouse takes down, move or up and two numbers");
    return false;
  }
  QPointF at(Val(args.at(2)), Val(args.at(3)));
  if (auto* s = qobject_cast<DrawingSurface*>(w)) at = s->ToPixels(at.x(), at.y());
  const int code = args.size() > 4 ? static_cast<int>(Val(args.at(4))) : 1;
  const Qt::MouseButton button = code == 2 ? Qt::RightButton : code == 4 ? Qt::MiddleButton : Qt::LeftButton;
  QMouseEvent event(type, at, w->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : button,
                    type == QEvent::MouseButtonRelease ? Qt::MouseButtons() : Qt::MouseButtons(button),
                    Qt::NoModifier);
  QCoreApplication::sendEvent(w, &event);
  return true;
}

}  // namespace

DrawingSurface::DrawingSurface(const QString& name, QWidget* parent) : QWidget(parent) {
  static const bool registered = [] {
    RegisterScriptAction(QStringLiteral("mouse"), MouseAction);
    return true;
  }();
  (void)registered;
  setObjectName(name);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(false);
}

DrawingSurface::~DrawingSurface() { EndPainting(); }

QPainter& DrawingSurface::Painter() {
  if (!painter_) {
    painter_ = std::make_unique<QPainter>(&image_);
    painter_->setRenderHint(QPainter::Antialiasing, false);
    painter_->setRenderHint(QPainter::TextAntialiasing, true);
    penColor_ = penWidth_ = penStyle_ = -1;
    painter_->setFont(font_);
  }
  return *painter_;
}

void DrawingSurface::EndPainting() {
  if (painter_) {
    painter_->end();
    painter_.reset();
  }
}

void DrawingSurface::Touched() {
  if (!dirty_) {
    dirty_ = true;
    update();
  }
}

void DrawingSurface::SetImageSize(const QSize& size) {
  const QSize s(std::max(1, size.width()), std::max(1, size.height()));
  EndPainting();
  // The image holds the pixels of the screen the surface is on (devicePixelRatio of them to a pixel of the
  // window): a painter on it draws in the window's pixels, at the screen's resolution.
  const qreal ratio = ScreenPixelRatio(this);
  if (size_ != s || image_.devicePixelRatio() != ratio) {
    image_ = ScreenImage(s, ratio, QImage::Format_RGB32);
    image_.fill(ColorFromRgb(backColor_));
    size_ = s;
  }
  resize(s);
  if (width_ != 0 && height_ != 0) Scale(left_, top_, width_, height_);
  Touched();
}

const QImage& DrawingSurface::Image() {
  EndPainting();
  return image_;
}

void DrawingSurface::SetBackColor(int rgb) { backColor_ = rgb; }

void DrawingSurface::Cls() {
  EndPainting();
  image_.fill(ColorFromRgb(backColor_));
  Touched();
}

void DrawingSurface::Scale(double left, double top, double width, double height) {
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  const bool ok = std::isfinite(width) && std::isfinite(height) && width != 0 && height != 0;
  sx_ = ok ? size_.width() / width : 1.0;
  sy_ = ok ? size_.height() / height : 1.0;
  if (!ok) left_ = top_ = width_ = height_ = 0;
}

QPointF DrawingSurface::ToPixels(double x, double y) const { return QPointF((x - left_) * sx_, (y - top_) * sy_); }

QPointF DrawingSurface::FromPixels(const QPointF& p) const { return QPointF(left_ + p.x() / sx_, top_ + p.y() / sy_); }

void DrawingSurface::SetDrawWidth(int pixels) { drawWidth_ = std::clamp(pixels, 1, kMaxPenPixels); }

void DrawingSurface::SetDrawStyle(int style) { drawStyle_ = style; }

void DrawingSurface::SetForeColor(int rgb) {
  foreColor_ = rgb;
  textColor_ = rgb;
}

void DrawingSurface::ApplyPen(int rgb) {
  if (rgb == penColor_ && drawWidth_ == penWidth_ && drawStyle_ == penStyle_) return;
  // The draw styles have the numbers of the pen styles.
  painter_->setPen(GdiPen(drawStyle_, drawWidth_, rgb));
  penColor_ = rgb;
  penWidth_ = drawWidth_;
  penStyle_ = drawStyle_;
}

bool DrawingSurface::ClipToImage(QLineF& pixels) const {
  const double margin = drawWidth_ + 1.0;
  // Only the part that can show is drawn: it keeps far-away ends out of the rasteriser and skips what is off the
  // image at no cost.
  return ClipLine(pixels, QRectF(-margin, -margin, size_.width() + 2 * margin, size_.height() + 2 * margin));
}

void DrawingSurface::Line(double x1, double y1, double x2, double y2, int rgb) {
  QLineF line(ToPixels(x1, y1), ToPixels(x2, y2));
  if (!ClipToImage(line)) return;
  Painter();
  ApplyPen(rgb);
  painter_->drawLine(line);
  Touched();
}

void DrawingSurface::Lines(const QLineF* lines, int count, int rgb) {
  // QPainter::drawLines strokes every line on its own, as drawLine does; a polyline would join them and change the
  // pixels at every vertex.
  pixelLines_.clear();
  for (int i = 0; i < count; ++i) {
    QLineF line(ToPixels(lines[i].x1(), lines[i].y1()), ToPixels(lines[i].x2(), lines[i].y2()));
    if (ClipToImage(line)) pixelLines_.push_back(line);
  }
  if (pixelLines_.empty()) return;
  Painter();
  ApplyPen(rgb);
  painter_->drawLines(pixelLines_.data(), static_cast<int>(pixelLines_.size()));
  Touched();
}

void DrawingSurface::Box(double x1, double y1, double x2, double y2, int rgb) {
  Line(x1, y1, x2, y1, rgb);
  Line(x2, y1, x2, y2, rgb);
  Line(x2, y2, x1, y2, rgb);
  Line(x1, y2, x1, y1, rgb);
}

void DrawingSurface::Circle(double x, double y, double r, int rgb, int fillRgb) {
  const QPointF centre = ToPixels(x, y);
  const double radius = std::fabs(r * sx_);
  const double far = 100000.0;
  if (!(std::fabs(centre.x()) < far && std::fabs(centre.y()) < far && radius < far)) return;
  Painter();
  ApplyPen(rgb);
  painter_->setBrush(fillRgb >= 0 ? QBrush(ColorFromRgb(fillRgb)) : QBrush(Qt::NoBrush));
  painter_->drawEllipse(centre, radius, radius);
  painter_->setBrush(Qt::NoBrush);
  Touched();
}

void DrawingSurface::SelectFont(int height, int escapement, const QString& face) {
  font_ = GdiFont(height, face);
  escapement_ = escapement;
  if (painter_) painter_->setFont(font_);
}

void DrawingSurface::SetTextAlign(int align) { textAlign_ = align; }

void DrawingSurface::SetTextColor(int rgb) { textColor_ = rgb; }

void DrawingSurface::SetCurrentPosition(double x, double y) {
  currentX_ = x;
  currentY_ = y;
}

void DrawingSurface::Print(const QString& text) {
  const QPointF at = ToPixels(currentX_, currentY_);
  // A reference point far outside the image cannot bring text onto it (texts are at most 20000 pixels high).
  const double far = 100000.0;
  if (!(std::fabs(at.x()) < far && std::fabs(at.y()) < far)) return;
  QPainter& p = Painter();
  penColor_ = -1;  // the text pen replaces the line pen
  p.setPen(ColorFromRgb(textColor_));
  p.setFont(font_);
  GdiTextOut(p, at, text, textAlign_, escapement_);
  Touched();
}

void DrawingSurface::FillPolygon(const QPolygon& pixels, int rgb) {
  if (pixels.size() < 3) return;
  QPainter& p = Painter();
  penColor_ = -1;
  p.save();
  p.setPen(Qt::NoPen);
  p.setBrush(ColorFromRgb(rgb));
  p.drawPolygon(pixels);
  p.restore();
  Touched();
}

void DrawingSurface::SetOverlay(double x1, double y1, double x2, double y2) {
  overlay_ = true;
  ox1_ = x1;
  oy1_ = y1;
  ox2_ = x2;
  oy2_ = y2;
  update();
}

void DrawingSurface::ClearOverlay() {
  overlay_ = false;
  update();
}

QRectF DrawingSurface::OverlayPixels() const { return QRectF(ToPixels(ox1_, oy1_), ToPixels(ox2_, oy2_)).normalized(); }

void DrawingSurface::paintEvent(QPaintEvent* event) {
  EndPainting();
  dirty_ = false;
  QPainter p(this);
  p.fillRect(event->rect(), ColorFromRgb(backColor_));
  p.drawImage(QPointF(0, 0), image_);
  if (overlay_) {
    QPen pen(Qt::black);
    pen.setStyle(Qt::DashLine);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawRect(OverlayPixels());
  }
}

void DrawingSurface::mousePressEvent(QMouseEvent* event) {
  const QPointF at = FromPixels(event->position());
  emit MouseDown(MouseButtonCode(event->button()), ShiftCode(event->modifiers()), at.x(), at.y());
}

void DrawingSurface::mouseMoveEvent(QMouseEvent* event) {
  const QPointF at = FromPixels(event->position());
  emit MouseMove(MouseButtonCode(event->buttons()), ShiftCode(event->modifiers()), at.x(), at.y());
}

void DrawingSurface::mouseReleaseEvent(QMouseEvent* event) {
  const QPointF at = FromPixels(event->position());
  emit MouseUp(MouseButtonCode(event->button()), ShiftCode(event->modifiers()), at.x(), at.y());
}

}  // namespace plat
