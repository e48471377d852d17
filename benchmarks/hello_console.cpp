// The floor of a program that runs without a window: a Qt console application that prints a line and ends.
#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QTextStream(stdout) << "hello\n";
  return 0;
}
