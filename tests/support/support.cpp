#include "tests/support/support.h"

#include "common/platform/files.h"
#include "common/platform/textio.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <QThreadPool>

#include <gtest/gtest.h>

#include <csignal>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace testing_support {

void SetEnv(const char* name, const QByteArray& value) {
  QThreadPool::globalInstance()->waitForDone();
  qputenv(name, value);
}

void UnsetEnv(const char* name) {
  QThreadPool::globalInstance()->waitForDone();
  qunsetenv(name);
}

TestFolder::TestFolder(bool withInstallData, const QString& parent) {
  const QString folder = parent.isEmpty() ? QStringLiteral(FRATTIX_TEST_TMP_DIR) : parent;
  QDir().mkpath(folder);
  dir_ = std::make_unique<QTemporaryDir>(folder + QStringLiteral("/t-XXXXXX"));
  QDir().mkpath(Program());
  QDir().mkpath(DriveC());
  QDir().mkpath(Data());
  if (withInstallData) {
    const QDir install(QStringLiteral(FRATTIX_TEST_SOURCE_DIR "/install"));
    for (const QFileInfo& f : install.entryInfoList(QDir::Files)) QFile::copy(f.filePath(), P(f.fileName()));
  }
  oldCurrent_ = QDir::currentPath();
  oldDriveC_ = qgetenv("FRATTIX_DRIVE_C");
  SetEnv("FRATTIX_DRIVE_C", DriveC().toLocal8Bit());
  QDir::setCurrent(Data());
  plat::SetProgramFolder(Program());
}

TestFolder::~TestFolder() {
  plat::SetProgramFolder(QString());
  QDir::setCurrent(oldCurrent_);
  if (oldDriveC_.isEmpty()) UnsetEnv("FRATTIX_DRIVE_C");
  else SetEnv("FRATTIX_DRIVE_C", oldDriveC_);
}

void TestFolder::AddPrograms(const QStringList& names) {
  // The programs' window module goes with them, as in the program folder of an installation.
  for (const QString& n : names + QStringList{QStringLiteral(FRATTIX_TEST_UI_MODULE)}) {
    const QString src = QStringLiteral(FRATTIX_TEST_BIN_DIR "/") + n;
    const QString dst = P(n);
    QFile::remove(dst);
    if (::link(QFile::encodeName(src).constData(), QFile::encodeName(dst).constData()) != 0) {
      QFile::copy(src, dst);
      QFile::setPermissions(dst, QFile::permissions(src));
    }
  }
}

void WriteAnsi(const QString& path, const QString& text) {
  QString t = text;
  t.replace(QLatin1String("\n"), QLatin1String("\r\n"));
  QFile f(path);
  if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(plat::EncodeAnsi(t));
}

void WriteUiScript(const QString& path, const QString& text) {
  QFile f(path);
  if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(text.toUtf8());
}

void WriteScript(const QString& path, const QString& text) {
  QFile f(path);
  if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(text.toUtf8());
  f.close();
  QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner | QFileDevice::ExeUser);
}

QByteArray ReadBytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString ReadAnsi(const QString& path) {
  QString t = plat::DecodeAnsi(ReadBytes(path));
  t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  return t;
}

RunResult RunProgram(const QString& exe, const QStringList& args, const QString& workDir, const QProcessEnvironment& extra,
              int timeoutMs) {
  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  env.remove(QStringLiteral("FRATTIX_UI_SCRIPT"));
  env.remove(QStringLiteral("FRATTIX_UI_LOG"));
  env.remove(QStringLiteral("FRATTIX_PRINT_SETUP"));  // a printer set-up made by a test in this process
  for (const QString& k : extra.keys()) env.insert(k, extra.value(k));
  p.setProcessEnvironment(env);
  p.setWorkingDirectory(workDir);
  p.setProcessChannelMode(QProcess::MergedChannels);
  p.start(exe, args);
  RunResult r;
  if (!p.waitForStarted(timeoutMs)) {
    r.output = p.errorString();
    return r;
  }
  r.finished = p.waitForFinished(timeoutMs);
  if (!r.finished) {
    p.kill();
    p.waitForFinished();
  }
  r.output = QString::fromLocal8Bit(p.readAll());
  r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  return r;
}

bool OnOtherScreen() { return qEnvironmentVariableIsSet("FRATTIX_TEST_SCREEN"); }

bool RunOnScreen(const Screen& screen, QString* output, const QSize& size) {
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  if (!test) return false;
  QProcessEnvironment env;
  env.insert(QStringLiteral("FRATTIX_TEST_SCREEN"), QString::fromLatin1(screen.name));
  if (screen.variable) env.insert(QString::fromLatin1(screen.variable), QString::fromLatin1(screen.value));
  QDir().mkpath(QStringLiteral(FRATTIX_TEST_TMP_DIR));
  QTemporaryDir cartella(QStringLiteral(FRATTIX_TEST_TMP_DIR "/schermo-XXXXXX"));
  if (size.isValid()) {
    // The offscreen platform's screen of that size.
    const QString file = cartella.filePath(QStringLiteral("schermo.json"));
    QFile f(file);
    if (!f.open(QIODevice::WriteOnly)) return false;
    f.write(QStringLiteral("{\"screens\": [{\"name\": \"schermo\", \"x\": 0, \"y\": 0, \"width\": %1, \"height\": %2}]}")
                .arg(size.width())
                .arg(size.height())
                .toUtf8());
    f.close();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen:configfile=") + file);
  }
  const QString filter = QStringLiteral("--gtest_filter=%1.%2").arg(QString::fromUtf8(test->test_suite_name()),
                                                                    QString::fromUtf8(test->name()));
  const RunResult r = RunProgram(QCoreApplication::applicationFilePath(), {filter}, QDir::currentPath(), env, 600000);
  if (output) *output = r.output;
  return r.finished && r.exitCode == 0 && r.output.contains(QStringLiteral("[  PASSED  ] 1 test"));
}

int BlocksFinerThanAWindowPixel(const QImage& image, const QRect& region, int ratio) {
  if (ratio < 2) return 0;
  const QImage im = image.convertToFormat(QImage::Format_RGB32);
  const QRect r = region.intersected(im.rect());
  int blocchi = 0;
  for (int y = (r.top() + ratio - 1) / ratio * ratio; y + ratio - 1 <= r.bottom(); y += ratio)
    for (int x = (r.left() + ratio - 1) / ratio * ratio; x + ratio - 1 <= r.right(); x += ratio) {
      const QRgb primo = im.pixel(x, y);
      bool uguali = true;
      for (int dy = 0; dy < ratio && uguali; ++dy)
        for (int dx = 0; dx < ratio && uguali; ++dx) uguali = im.pixel(x + dx, y + dy) == primo;
      if (!uguali) ++blocchi;
    }
  return blocchi;
}

QProcessEnvironment ScriptedRunEnvironment(const TestFolder& t, const QString& script) {
  QProcessEnvironment env;
  env.insert(QStringLiteral("FRATTIX_DRIVE_C"), t.DriveC());
  env.insert(QStringLiteral("FRATTIX_UI_LOG"), t.D(QStringLiteral("ui.log")));
  const QString path = t.Root() + QStringLiteral("/run.script");
  WriteUiScript(path, script);
  env.insert(QStringLiteral("FRATTIX_UI_SCRIPT"), path);
  return env;
}

QStringList ReadLog(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

namespace {

// The processor time of a process in seconds (user and system, from /proc); -1 when it cannot be read.
double CpuSeconds(qint64 pid) {
  const QByteArray stat = ReadBytes(QStringLiteral("/proc/%1/stat").arg(pid));
  // The fields after the command name in parentheses, which may itself hold blanks: state is field 3, utime 14.
  const qsizetype chiusa = stat.lastIndexOf(')');
  if (chiusa < 0) return -1;
  const QList<QByteArray> campi = stat.mid(chiusa + 2).split(' ');
  if (campi.size() < 13) return -1;
  const double tick = static_cast<double>(::sysconf(_SC_CLK_TCK));
  return (campi.at(11).toDouble() + campi.at(12).toDouble()) / tick;
}

}  // namespace

double CpuShareWhileWaiting(const QString& exe, const QString& workDir, const QProcessEnvironment& extra,
                            const QString& logPath, const QString& shown, double seconds) {
  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  for (const QString& k : extra.keys()) env.insert(k, extra.value(k));
  env.remove(QStringLiteral("FRATTIX_UI_SCRIPT"));
  env.insert(QStringLiteral("FRATTIX_UI_LOG"), logPath);
  p.setProcessEnvironment(env);
  p.setWorkingDirectory(workDir);
  p.setProcessChannelMode(QProcess::MergedChannels);
  p.start(exe, {});
  if (!p.waitForStarted(60000)) return -1;
  const auto fine = [&p](double quota) {
    p.kill();
    p.waitForFinished();
    return quota;
  };
  QElapsedTimer attesa;
  attesa.start();
  while (ReadLog(logPath).filter(shown).isEmpty()) {
    if (p.state() != QProcess::Running || attesa.hasExpired(60000)) return fine(-1);
    QThread::msleep(20);
  }
  QThread::msleep(1000);
  const double prima = CpuSeconds(p.processId());
  QElapsedTimer misura;
  misura.start();
  QThread::msleep(static_cast<unsigned long>(seconds * 1000));
  const double dopo = CpuSeconds(p.processId());
  const double trascorso = static_cast<double>(misura.elapsed()) / 1000;
  if (prima < 0 || dopo < 0 || p.state() != QProcess::Running) return fine(-1);
  return fine((dopo - prima) / trascorso);
}

FileSizeLimit::FileSizeLimit(qint64 bytes) {
  rlimit limit{};
  ::getrlimit(RLIMIT_FSIZE, &limit);
  oldSoft_ = static_cast<qint64>(limit.rlim_cur);
  oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
  limit.rlim_cur = static_cast<rlim_t>(bytes);
  ::setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit() {
  rlimit limit{};
  ::getrlimit(RLIMIT_FSIZE, &limit);
  limit.rlim_cur = static_cast<rlim_t>(oldSoft_);
  ::setrlimit(RLIMIT_FSIZE, &limit);
  std::signal(SIGXFSZ, oldHandler_);
}

PipeLog::PipeLog(const QString& path) : path_(path) {
  const QByteArray name = QFile::encodeName(path);
  ::unlink(name.constData());
  if (::mkfifo(name.constData(), 0600) != 0) return;
  // Open for reading and writing, so that the programs' opens for writing never wait for a reader and the pipe
  // never reports its end while they come and go.
  fd_ = ::open(name.constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
  if (fd_ >= 0) ::fcntl(fd_, F_SETPIPE_SZ, 1 << 20);
}

PipeLog::~PipeLog() {
  if (fd_ >= 0) ::close(fd_);
  ::unlink(QFile::encodeName(path_).constData());
}

QStringList PipeLog::Lines() {
  char buffer[4096];
  ssize_t n = 0;
  while (fd_ >= 0 && (n = ::read(fd_, buffer, sizeof buffer)) > 0) text_.append(buffer, n);
  return QString::fromUtf8(text_).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

}  // namespace testing_support
