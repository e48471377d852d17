// A picture box: a widget that shows a picture (or a drawing kept in an image) and reports mouse actions, so that a
// form uses it both as a button drawn as a picture (TALVOR's "OK", "Aumenta", "Riduci") and as a drawing surface.
#pragma once

#include <QImage>
#include <QWidget>

namespace plat {

class PictureBox : public QWidget {
  Q_OBJECT
 public:
  explicit PictureBox(const QString& name, QWidget* parent = nullptr);

  void SetPicture(const QImage& image);
  const QImage& Picture() const { return picture_; }

 public slots:
  // A click as the user's (used by scripts and tests).
  void click();

 signals:
  void Click();
  void DblClick();
  void MouseDown(int button, int shift, double x, double y);
  void MouseMove(int button, int shift, double x, double y);
  void MouseUp(int button, int shift, double x, double y);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  QImage picture_;
  bool pressed_ = false;
};

// The button and shift arguments of the mouse events: buttons 1 left, 2 right, 4 middle; shift 1 Shift, 2 Ctrl,
// 4 Alt.
int MouseButtonCode(Qt::MouseButtons buttons);
int ShiftCode(Qt::KeyboardModifiers modifiers);

// The pixels of the screen to one pixel of a window on it (2 on a screen scaled by 200 %): of the screen the widget
// is on, else of the primary screen. Asked on the thread of the windows.
qreal ScreenPixelRatio(const QWidget* widget = nullptr);
// A picture of `size` pixels of a window drawn at the screen's resolution: `ratio` times as many pixels each way,
// marked with that ratio, so that a painter on it draws in the window's pixels and a picture box or drawing surface
// shows it pixel for pixel on the screen.
QImage ScreenImage(const QSize& size, qreal ratio, QImage::Format format);
// Its size in pixels of the screen.
QSize ScreenPixels(const QSize& size, qreal ratio);
// The size of such a picture in pixels of the window.
QSize WindowSize(const QImage& image);

// Twips (1/1440 inch) to pixels, and back: places and sizes given in twips are laid out for a screen of 96 dots
// per inch, 15 twips a pixel.
constexpr int kTwipsPerPixel = 15;
inline int TwipsToPixels(int twips) { return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel; }

}  // namespace plat
