// Helpers of the tests: a private program folder with the installation data, files written in Windows-1252,
// whole runs of the suite's programs.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QProcessEnvironment>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

namespace testing_support {

// A private folder for one test: `Program()` holds a copy of the installation data (and, when asked, hard links
// to the executables), `DriveC()` stands for "c:\", `Data()` is a data folder and the current folder. The
// platform's program folder points at `Program()` while the object lives. It is made in the build's folder for
// tests, or in `parent` when one is given.
class TestFolder {
 public:
  explicit TestFolder(bool withInstallData = true, const QString& parent = QString());
  ~TestFolder();

  QString Root() const { return dir_->path(); }
  QString Program() const { return Root() + QStringLiteral("/program"); }
  QString DriveC() const { return Root() + QStringLiteral("/c"); }
  QString Data() const { return Root() + QStringLiteral("/data"); }

  // Makes the named executables of the build, and their window module, available in Program() (hard links, else
  // copies).
  void AddPrograms(const QStringList& names);
  // Path of a file in the program folder / in the data folder.
  QString P(const QString& name) const { return Program() + QLatin1Char('/') + name; }
  QString D(const QString& name) const { return Data() + QLatin1Char('/') + name; }

 private:
  std::unique_ptr<QTemporaryDir> dir_;
  QString oldCurrent_;
  QByteArray oldDriveC_;
};

// Change the environment of the test process once the work on the global thread pool has ended (a window's logo
// drawn in advance looks up fonts there, which reads the environment: changing it meanwhile is a data race).
void SetEnv(const char* name, const QByteArray& value);
void UnsetEnv(const char* name);

// Writes `text` to `path` in Windows-1252 with every "\n" turned into CR LF.
void WriteAnsi(const QString& path, const QString& text);
// Writes a UI script: UTF-8, as the interpreter reads it.
void WriteUiScript(const QString& path, const QString& text);
// Writes a shell script (LF line ends) and makes it executable.
void WriteScript(const QString& path, const QString& text);
// Reads a file in Windows-1252 with CR LF turned into "\n".
QString ReadAnsi(const QString& path);
QByteArray ReadBytes(const QString& path);

struct RunResult {
  int exitCode = -1;
  bool finished = false;
  QString output;  // standard output and error
};

// Runs an executable with arguments in `workDir`, with the given extra environment, at most `timeoutMs`.
RunResult RunProgram(const QString& exe, const QStringList& args, const QString& workDir,
              const QProcessEnvironment& extra = QProcessEnvironment(), int timeoutMs = 60000);

// The screens a test of what the windows show runs on, each as the environment that makes it: the default screen,
// a screen scaled by 1.5 and by 2 (as a laptop's 150 % and 200 % display scale), and fonts at 144 dots per inch.
struct Screen {
  const char* name;
  const char* variable;  // nullptr: the default screen
  const char* value;
};
inline constexpr Screen kScreens[] = {{"scale 1", nullptr, nullptr},
                                      {"scale 1.5", "QT_SCALE_FACTOR", "1.5"},
                                      {"scale 2", "QT_SCALE_FACTOR", "2"},
                                      {"fonts at 144 dpi", "QT_FONT_DPI", "144"}};

// The screen scale and font resolution are fixed when the application object is made, so a test that must look at
// other screens runs itself again on each of them: RunOnScreen runs the current test in a child process of the
// test binary with the screen's environment and gives true when it passed there (its output in `output`).
// OnOtherScreen() is true in such a child, whose test makes its checks and runs no child of its own.
// `size`, when given, is the screen's size in its own pixels (the default is 800 x 800).
bool RunOnScreen(const Screen& screen, QString* output, const QSize& size = QSize());
bool OnOtherScreen();

// The blocks of `ratio` x `ratio` pixels (aligned on multiples of the ratio) within `region` of a picture of the
// screen whose pixels are not all alike: none when what it shows was drawn in the window's pixels and enlarged.
int BlocksFinerThanAWindowPixel(const QImage& image, const QRect& region, int ratio);

// The environment of a headless run in `t`: "c:" is t.DriveC(), the log is t.D("ui.log"), and `script` (written to
// t.Root()/run.script) answers what the program shows.
QProcessEnvironment ScriptedRunEnvironment(const TestFolder& t, const QString& script);

// The log lines (program, kind, object, text) of FRATTIX_UI_LOG files.
QStringList ReadLog(const QString& path);

// The share of one processor that a program uses while it waits for the user: the program runs headless without a
// script (a real user's wait), logging to `logPath`; once a line of the log holds `shown` and a second has passed,
// its processor time (user and system) is measured over `seconds`, then the program is killed. -1 when the line
// never came or the program ended before.
double CpuShareWhileWaiting(const QString& exe, const QString& workDir, const QProcessEnvironment& extra,
                            const QString& logPath, const QString& shown, double seconds);

// A real write failure, as on a full disk: while the object lives, this process may write no file beyond `bytes`
// bytes (a write past the limit fails with EFBIG; SIGXFSZ is ignored). The hard limit stays as it was, so the old
// limit comes back at the end.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(qint64 bytes);
  ~FileSizeLimit();
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  qint64 oldSoft_ = -1;
  void (*oldHandler_)(int) = nullptr;
};

// A FRATTIX_UI_LOG for programs under a file-size limit, which could not append to a log file beyond it: a named
// pipe at `path`, held open by the test while the object lives, whose lines wait in the pipe (up to 1 MiB) until
// Lines() takes them.
class PipeLog {
 public:
  explicit PipeLog(const QString& path);
  ~PipeLog();
  PipeLog(const PipeLog&) = delete;
  PipeLog& operator=(const PipeLog&) = delete;
  QString Path() const { return path_; }
  // Every line written so far, as ReadLog gives them.
  QStringList Lines();

 private:
  QString path_;
  int fd_ = -1;
  QByteArray text_;
};

}  // namespace testing_support
