#include "common/platform/uibase.h"

#include "common/platform/files.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <QThreadPool>

#include <cstdio>
#include <cstdlib>

namespace plat {

namespace {

std::function<void(int)>& EndHandler() {
  static std::function<void(int)> handler;
  return handler;
}

struct Deferred {
  int* argc = nullptr;
  char** argv = nullptr;
  std::function<void()> whenCreated;
  // Deleted by the end of the DeferredApplication, never by the handlers of exit(): a program that ends with
  // EndProgram keeps it, since Qt's own globals may be gone by then.
  QCoreApplication* app = nullptr;
};

Deferred& DeferredState() {
  static Deferred d;
  return d;
}

}  // namespace

DeferredApplication::DeferredApplication(int& argc, char** argv, std::function<void()> whenCreated) {
  Deferred& d = DeferredState();
  d.argc = &argc;
  d.argv = argv;
  d.whenCreated = std::move(whenCreated);
}

DeferredApplication::~DeferredApplication() {
  Deferred& d = DeferredState();
  delete d.app;
  d.app = nullptr;
  d.argc = nullptr;
  d.argv = nullptr;
  d.whenCreated = nullptr;
}

void EnsureApplication() {
  Deferred& d = DeferredState();
  if (!d.argc || QCoreApplication::instance()) return;
  d.app = NewApplication(*d.argc, d.argv);
  if (d.whenCreated) d.whenCreated();
}

QString ProgramName() {
  const QString path = QCoreApplication::instance() ? QCoreApplication::applicationFilePath() : ExecutablePath();
  return path.isEmpty() ? QStringLiteral("?") : QFileInfo(path).fileName();
}

QString OneLine(QString s) {
  s.replace(QLatin1String("\r\n"), QLatin1String("\\n"));
  s.replace(QLatin1Char('\n'), QLatin1String("\\n"));
  s.replace(QLatin1Char('\r'), QLatin1String("\\n"));
  s.replace(QLatin1Char('\t'), QLatin1Char(' '));
  return s;
}

void PrintError(const QString& text) {
  std::fprintf(stderr, "%s: %s\n", qPrintable(ProgramName()), qPrintable(text));
}

QList<MsgAnswer> ButtonsOf(int style) {
  switch (style & 7) {
    case vbOKCancel: return {vbOK, vbCancel};
    case vbAbortRetryIgnore: return {vbAbort, vbRetry, vbIgnore};
    case vbYesNoCancel: return {vbYes, vbNo, vbCancel};
    case vbYesNo: return {vbYes, vbNo};
    case vbRetryCancel: return {vbRetry, vbCancel};
    default: return {vbOK};
  }
}

void Log(const QString& kind, const QString& objectName, const QString& text) {
  const QByteArray path = qgetenv("FRATTIX_UI_LOG");
  if (path.isEmpty()) return;
  QFile f(QString::fromLocal8Bit(path));
  if (!f.open(QIODevice::Append | QIODevice::WriteOnly)) return;
  const QString line = QStringLiteral("%1\t%2\t%3\t%4\n").arg(ProgramName(), kind, OneLine(objectName), OneLine(text));
  f.write(line.toUtf8());
}

void EndProgram(int code) {
  // What the program started on the global pool's threads (a picture drawn in advance) is finished first: exit()
  // takes down the globals such work may be using.
  QThreadPool* pool = QThreadPool::globalInstance();
  if (!pool->contains(QThread::currentThread())) pool->waitForDone();
  if (EndHandler()) EndHandler()(code);
  std::fflush(stdout);
  std::fflush(stderr);
  std::exit(code);
}

void SetEndProgramHandler(std::function<void(int)> handler) { EndHandler() = std::move(handler); }

}  // namespace plat
