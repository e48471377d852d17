// Test main: a QApplication on the offscreen platform (unless another is asked for), then GoogleTest.
#include <QApplication>
#include <QByteArray>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // A test never drives the interface from a script it did not ask for.
  qunsetenv("FRATTIX_UI_SCRIPT");
  qunsetenv("FRATTIX_UI_LOG");
  QApplication app(argc, argv);
  ::testing::InitGoogleMock(&argc, argv);
  return RUN_ALL_TESTS();
}
