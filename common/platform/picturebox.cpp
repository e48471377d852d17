#include "common/platform/picturebox.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

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
