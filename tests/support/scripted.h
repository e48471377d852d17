// In-process runs of the scripted interface: the script answers every window the code under test shows, the log
// records them, and the program's end becomes an exception the test can catch.
#pragma once

#include "common/platform/ui.h"
#include "tests/support/support.h"

#include <QFile>
#include <QStringList>

namespace testing_support {

struct Ended {
  int code;
};

class Scripted {
 public:
  Scripted(const TestFolder& t, const QString& script, const QString& name = QStringLiteral("test"))
      : log_(t.Root() + QStringLiteral("/") + name + QStringLiteral(".log")) {
    const QString path = t.Root() + QStringLiteral("/") + name + QStringLiteral(".script");
    WriteUiScript(path, script);
    QFile::remove(log_);
    SetEnv("FRATTIX_UI_SCRIPT", path.toLocal8Bit());
    SetEnv("FRATTIX_UI_LOG", log_.toLocal8Bit());
    plat::ResetInteraction();
    plat::SetEndProgramHandler([](int code) { throw Ended{code}; });
  }
  ~Scripted() {
    UnsetEnv("FRATTIX_UI_SCRIPT");
    UnsetEnv("FRATTIX_UI_LOG");
    plat::ResetInteraction();
    plat::SetEndProgramHandler(nullptr);
  }
  Scripted(const Scripted&) = delete;
  Scripted& operator=(const Scripted&) = delete;

  // The log lines: program, kind, object name, text (TAB-separated).
  QStringList Log() const { return ReadLog(log_); }
  // The log lines of one kind ("msgbox", "form", "window", "filedialog", "help").
  QStringList Log(const QString& kind) const { return Log().filter(QStringLiteral("\t") + kind + QStringLiteral("\t")); }

 private:
  QString log_;
};

}  // namespace testing_support
