// The floor of a windowed program's start: a Qt Widgets application that shows a main window of the suite's size
// with a label, lets it be shown, and ends.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QTimer>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow w;
  w.setCentralWidget(new QLabel(QStringLiteral("hello")));
  w.resize(800, 560);
  w.show();
  QTimer::singleShot(0, &app, &QCoreApplication::quit);
  return app.exec();
}
