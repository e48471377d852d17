#include "common/platform/process.h"

#include "common/platform/files.h"
#include "common/platform/ui.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <csignal>

#include <sys/prctl.h>
#include <unistd.h>

namespace plat {

static bool RunAndWait(const QString& program, const QStringList& arguments, QString* error, int* exitCode,
                       QByteArray* output);

bool RunChildAndWaitForOutput(const QString& program, const QStringList& arguments, QByteArray& output,
                              QString* error, int* exitCode) {
  output.clear();
  return RunAndWait(program, arguments, error, exitCode, &output);
}

bool RunChildAndWait(const QString& program, const QStringList& arguments, QString* error, int* exitCode) {
  return RunAndWait(program, arguments, error, exitCode, nullptr);
}

static bool RunAndWait(const QString& program, const QStringList& arguments, QString* error, int* exitCode,
                       QByteArray* output) {
  QString path = ResolveProgram(program);
  if (path.isEmpty()) {
    const QString direct = ResolveExisting(program);
    if (!direct.isEmpty() && QFileInfo(direct).isFile()) path = direct;
  }
  if (path.isEmpty()) {
    if (error) *error = QStringLiteral("%1: program not found").arg(program);
    return false;
  }
  EnsureApplication();  // a child process is watched through the application's event machinery
  QProcess child;
  child.setProgram(path);
  child.setArguments(arguments);
  // The child ends when this program ends, however it ends (a kill included), and with it its own children: a
  // child left running would go on writing results for inputs that the user may have changed meanwhile. The
  // signal is asked for in the child before it runs the program; a parent that ended before that moment has made
  // the child another process's, and the child ends at once.
  const pid_t parent = ::getpid();
  child.setChildProcessModifier([parent] {
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != parent) ::_exit(127);
  });
  child.setProcessChannelMode(output ? QProcess::ForwardedErrorChannel : QProcess::ForwardedChannels);
  child.setInputChannelMode(QProcess::ForwardedInputChannel);
  QEventLoop loop;
  bool failedToStart = false;
  QObject::connect(&child, &QProcess::finished, &loop, &QEventLoop::quit);
  QObject::connect(&child, &QProcess::errorOccurred, &loop, [&](QProcess::ProcessError e) {
    if (e == QProcess::FailedToStart) {
      failedToStart = true;
      loop.quit();
    }
  });
  child.start();
  if (!child.waitForStarted(-1) || failedToStart) {
    if (error) *error = QStringLiteral("%1: %2").arg(path, child.errorString());
    return false;
  }
  if (child.state() != QProcess::NotRunning) loop.exec();
  if (output) *output = child.readAllStandardOutput();
  if (exitCode) *exitCode = child.exitStatus() == QProcess::NormalExit ? child.exitCode() : kChildCrashed;
  return true;
}

bool StartDetached(const QString& program, const QStringList& arguments, QString* error) {
  QProcess child;
  child.setProgram(program);
  child.setArguments(arguments);
  child.setStandardInputFile(QProcess::nullDevice());
  if (!child.startDetached()) {
    if (error) *error = QStringLiteral("%1: %2").arg(program, child.errorString());
    return false;
  }
  return true;
}

QString FindOnPath(const QString& name) { return QStandardPaths::findExecutable(name); }

}  // namespace plat
