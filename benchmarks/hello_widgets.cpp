// The floor of a windowed program's start: a Qt Widgets application that shows a main window of the suite's size
// with a label, and ends once the window has been painted (as frattix32 is timed to its window painted and ready
// for the user's first action).
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QTimer>

namespace {
class Etichetta : public QLabel {
 public:
  using QLabel::QLabel;

 protected:
  void paintEvent(QPaintEvent* event) override {
    QLabel::paintEvent(event);
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
  }
};
}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow w;
  w.setCentralWidget(new Etichetta(QStringLiteral("hello")));
  w.resize(800, 560);
  w.show();
  QTimer::singleShot(10000, &app, &QCoreApplication::quit);  // no window system that paints: do not wait forever
  return app.exec();
}
