#include "common/platform/files.h"
#include "common/platform/process.h"
#include "tests/support/support.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTimer>

#include <gtest/gtest.h>

using testing_support::TestFolder;
using testing_support::WriteAnsi;
using testing_support::WriteScript;

TEST(Child, RunsInTheCurrentFolderWithArgumentsAndWaits) {
  TestFolder t(false);
  WriteScript(t.P("child"), "#!/bin/sh\nprintf '%s|' \"$@\" > out.txt\nsleep 0.3\nexit 4\n");
  int ticks = 0;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] { ticks++; });
  timer.start(20);
  QString error;
  int code = 0;
  QElapsedTimer clock;
  clock.start();
  ASSERT_TRUE(plat::RunChildAndWait("CHILD.exe", {"a b", "c"}, &error, &code)) << error.toStdString();
  EXPECT_GE(clock.elapsed(), 250);
  EXPECT_EQ(code, 4);
  EXPECT_GT(ticks, 3);  // the interface kept running while waiting
  EXPECT_EQ(testing_support::ReadBytes(t.D("out.txt")), QByteArray("a b|c|"));
}

TEST(Child, AFailedStartIsReportedAndNotWaitedFor) {
  TestFolder t(false);
  QString error;
  EXPECT_FALSE(plat::RunChildAndWait("utility03.exe", {}, &error));
  EXPECT_TRUE(error.contains("utility03"));
  WriteAnsi(t.P("noexec"), "not a program\n");  // present but not executable
  error.clear();
  EXPECT_FALSE(plat::RunChildAndWait("noexec", {}, &error));
  EXPECT_FALSE(error.isEmpty());
}

TEST(Child, TheStandardOutputOfAChildCanBeGathered) {
  TestFolder t(false);
  WriteScript(t.P("child"), "#!/bin/sh\necho \"saved $1\"\necho problem >&2\nexit 2\n");
  QByteArray output = "old";
  int code = 0;
  ASSERT_TRUE(plat::RunChildAndWaitForOutput("child", {"x y.DOC"}, output, nullptr, &code));
  EXPECT_EQ(output, QByteArray("saved x y.DOC\n"));
  EXPECT_EQ(code, 2);
  QString error;
  EXPECT_FALSE(plat::RunChildAndWaitForOutput("missing", {}, output, &error));
  EXPECT_TRUE(output.isEmpty());
}
