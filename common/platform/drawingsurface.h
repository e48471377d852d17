// A picture box used as a drawing surface: the drawing is kept in an image (so it survives being covered), drawn
// in user coordinates set with Scale (ScaleLeft/ScaleTop/ScaleWidth/ScaleHeight: the plots draw in page
// centimetres, TALVOR's net in units of its radius, whatever the surface's size in pixels), with the pen
// (DrawWidth, DrawStyle, ForeColor) and the text calls of its device context (font by height, alignment, colour).
// Qt has no inverting draw mode: a rubber band is an overlay rectangle shown over the image, never drawn into it.
// Mouse events arrive in user coordinates.
//
// The screen measures that windows are sized by are here too.
#pragma once

#include <QImage>
#include <QPolygon>
#include <QRect>
#include <QRectF>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class QPainter;

namespace plat {

// The whole primary screen and its work area (the screen without the task bars), in pixels.
QRect ScreenRect();
QRect WorkArea();

// Runs a drawing into an image on one thread and returns when it is done. Qt's raster engine hands the spans of a
// large fill or stroke to the threads of the global pool and waits for them, once per batch of spans: for a
// picture the size of a window that costs more in hand-overs than the threads gain. Run from inside the pool, the
// engine keeps every span on the thread it is on, so the drawing goes to one pool thread (or stays on the calling
// thread when that is a pool thread already, or the pool has no thread free). The pixels are the same either way.
// An exception of the drawing reaches the caller.
void DrawOnOneThread(const std::function<void()>& drawing);

// An image drawn on a pool thread (on that thread alone, as DrawOnOneThread draws) while the caller goes on with
// other work; drawn at once on the calling thread when the pool has no thread free. Take() waits for it and gives
// the image (or the drawing's exception); a drawing not taken is waited for when the object goes.
class DrawingInAdvance {
 public:
  explicit DrawingInAdvance(std::function<QImage()> drawing);
  ~DrawingInAdvance();
  DrawingInAdvance(const DrawingInAdvance&) = delete;
  DrawingInAdvance& operator=(const DrawingInAdvance&) = delete;
  QImage Take();

 private:
  struct State;
  std::shared_ptr<State> state_;
};

// DrawStyle values.
enum DrawStyle : int { vbSolid = 0, vbDash = 1, vbDot = 2 };

class DrawingSurface : public QWidget {
  Q_OBJECT
 public:
  explicit DrawingSurface(const QString& name, QWidget* parent = nullptr);
  ~DrawingSurface() override;

  // Size of the image in pixels of the window; a new size (or a screen of another pixel ratio) gives a new image in
  // the back colour. The widget takes that size.
  void SetImageSize(const QSize& size);
  QSize ImageSize() const { return size_; }
  // The image as drawn so far, in the pixels of the screen: ImageSize() times its devicePixelRatio().
  const QImage& Image();

  void SetBackColor(int rgb);
  // Cls: the whole image in the back colour.
  void Cls();

  // The user coordinates of the image's left and top edges and the extent to the right and bottom edges (the
  // extents may be negative: y growing upwards).
  void Scale(double left, double top, double width, double height);
  QPointF ToPixels(double x, double y) const;
  QPointF FromPixels(const QPointF& pixel) const;

  // The pen of Line and Box.
  void SetDrawWidth(int pixels);
  int DrawWidth() const { return drawWidth_; }
  void SetDrawStyle(int style);
  // ForeColor: the colour of Line and Box without a colour of their own, and of the text.
  void SetForeColor(int rgb);

  // Line (x1, y1)-(x2, y2), colour and Line ..., B (an outline), in user coordinates.
  void Line(double x1, double y1, double x2, double y2, int rgb);
  void Box(double x1, double y1, double x2, double y2, int rgb);
  // Many lines of one colour, in user coordinates: each drawn as Line draws it (the same pixels), all with one call
  // to the painter.
  void Lines(const QLineF* lines, int count, int rgb);

  // Text through the device context: the font (see GdiFont), the alignment flags, the colour, the current
  // position (CurrentX, CurrentY in user coordinates) and Print.
  void SelectFont(int height, int escapement, const QString& face);
  void SetTextAlign(int align);
  void SetTextColor(int rgb);
  void SetCurrentPosition(double x, double y);
  void Print(const QString& text);

  // Circle (x, y), r: a circle about a point in user coordinates, the radius in units of the x scale, its outline
  // in `rgb` with the pen; with `fillRgb` of 0 or more the inside is filled solid in that colour.
  void Circle(double x, double y, double r, int rgb, int fillRgb = -1);

  // A polygon in pixels filled with a solid brush, without an outline.
  void FillPolygon(const QPolygon& pixels, int rgb);

  // The rubber band: a dashed rectangle between two points in user coordinates, shown over the image.
  void SetOverlay(double x1, double y1, double x2, double y2);
  void ClearOverlay();
  bool HasOverlay() const { return overlay_; }
  QRectF OverlayPixels() const;

 signals:
  // Button: 1 left, 2 right, 4 middle; shift: 1 Shift, 2 Ctrl, 4 Alt; x, y in user coordinates.
  void MouseDown(int button, int shift, double x, double y);
  void MouseMove(int button, int shift, double x, double y);
  void MouseUp(int button, int shift, double x, double y);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QPainter& Painter();
  void EndPainting();
  void Touched();
  void ApplyPen(int rgb);
  // The part of a line in pixels that can show on the image with the current pen, false when none can.
  bool ClipToImage(QLineF& pixels) const;

  QImage image_;
  QSize size_{0, 0};  // of the image, in pixels of the window
  std::unique_ptr<QPainter> painter_;
  int backColor_ = 0xFFFFFF;
  double left_ = 0, top_ = 0, width_ = 0, height_ = 0;  // 0 extents: pixels
  double sx_ = 1, sy_ = 1;                              // pixels per user unit
  int drawWidth_ = 1;
  int drawStyle_ = vbSolid;
  int foreColor_ = 0;
  int penColor_ = -1, penWidth_ = -1, penStyle_ = -1;  // the pen set on the painter
  QFont font_;
  int escapement_ = 0;
  int textAlign_ = 0;
  int textColor_ = 0;
  double currentX_ = 0, currentY_ = 0;
  bool overlay_ = false;
  double ox1_ = 0, oy1_ = 0, ox2_ = 0, oy2_ = 0;
  bool dirty_ = false;
  std::vector<QLineF> pixelLines_;  // reused by Lines
};

}  // namespace plat
