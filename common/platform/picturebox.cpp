#include "common/platform/picturebox.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace plat {

int MouseButtonCode(Qt::MouseButtons b) {
  int v = 0;
  if (b & Qt::LeftButton) v |= 1;
  if (b & Qt::RightButton) v |= 2;
  if (b & Qt::MiddleButton) v |= 4;
  return v;
}
int ShiftCode(Qt::KeyboardModifiers m) {
  int v = 0;
  if (m & Qt::ShiftModifier) v |= 1;
  if (m & Qt::ControlModifier) v |= 2;
  if (m & Qt::AltModifier) v |= 4;
  return v;
}

namespace {
// A ratio below 1 (a screen scaled down) keeps the window's pixels; an absurd one keeps the pictures in memory.
qreal UsableRatio(qreal ratio) { return std::isfinite(ratio) && ratio >= 1 ? std::min<qreal>(ratio, 8) : 1; }
}  // namespace

qreal ScreenPixelRatio(const QWidget* widget) {
  if (widget) return UsableRatio(widget->devicePixelRatioF());
  const QScreen* screen = QGuiApplication::primaryScreen();
  return UsableRatio(screen ? screen->devicePixelRatio() : 1.0);
}

QSize ScreenPixels(const QSize& size, qreal ratio) {
  const qreal r = UsableRatio(ratio);
  return {static_cast<int>(std::ceil(size.width() * r - 1e-9)), static_cast<int>(std::ceil(size.height() * r - 1e-9))};
}

QImage ScreenImage(const QSize& size, qreal ratio, QImage::Format format) {
  QImage image(ScreenPixels(size, ratio), format);
  image.setDevicePixelRatio(UsableRatio(ratio));
  return image;
}

QSize WindowSize(const QImage& image) { return image.deviceIndependentSize().toSize(); }

PictureBox::PictureBox(const QString& name, QWidget* parent) : QWidget(parent) { setObjectName(name); }

void PictureBox::SetPicture(const QImage& image) {
  picture_ = image;
  // An opaque picture covers the whole box: what lies under it is not painted first.
  setAttribute(Qt::WA_OpaquePaintEvent, !picture_.isNull() && !picture_.hasAlphaChannel());
  update();
}

void PictureBox::click() { emit Click(); }

void PictureBox::paintEvent(QPaintEvent*) {
  if (picture_.isNull() && !hasFocus()) return;
  QPainter p(this);
  if (!picture_.isNull()) p.drawImage(rect(), picture_);
  if (hasFocus() && focusPolicy() != Qt::NoFocus) {
    // A picture used as a button shows the keyboard focus with a dotted frame.
    p.setPen(QPen(palette().color(QPalette::Highlight), 2, Qt::DotLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect().adjusted(1, 1, -2, -2));
  }
}

void PictureBox::keyPressEvent(QKeyEvent* event) {
  // A picture that takes the keyboard focus is pressed with Space or Enter, as a button is.
  const int k = event->key();
  if (focusPolicy() != Qt::NoFocus && (k == Qt::Key_Space || k == Qt::Key_Return || k == Qt::Key_Enter)) {
    emit Click();
    return;
  }
  QWidget::keyPressEvent(event);
}

void PictureBox::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  update();
}

void PictureBox::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  update();
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
  pressed_ = true;
  emit MouseDown(MouseButtonCode(event->button()), ShiftCode(event->modifiers()), event->position().x(),
                 event->position().y());
}

void PictureBox::mouseMoveEvent(QMouseEvent* event) {
  emit MouseMove(MouseButtonCode(event->buttons()), ShiftCode(event->modifiers()), event->position().x(),
                 event->position().y());
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
  emit MouseUp(MouseButtonCode(event->button()), ShiftCode(event->modifiers()), event->position().x(),
               event->position().y());
  const bool inside = rect().contains(event->position().toPoint());
  if (pressed_ && inside && event->button() == Qt::LeftButton) emit Click();
  pressed_ = false;
}

void PictureBox::mouseDoubleClickEvent(QMouseEvent*) { emit DblClick(); }

}  // namespace plat
