// Test main: the suite's application object on the offscreen platform (unless another is asked for), then
// GoogleTest.
#include "common/platform/application.h"

#include <QApplication>
#include <QByteArray>
#include <QFontDatabase>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // A test never drives the interface from a script it did not ask for.
  qunsetenv("FRATTIX_UI_SCRIPT");
  qunsetenv("FRATTIX_UI_LOG");
  plat::Application app(argc, argv);
  // The fonts are loaded here, on this thread, before any test: the font library reads the environment while it
  // starts, and a picture drawn in advance on another thread (the main window's logo) would otherwise start it
  // while a test sets or removes a variable, which may free the environment under it.
  QFontDatabase::families();
  ::testing::InitGoogleMock(&argc, argv);
  return RUN_ALL_TESTS();
}
