#include "common/platform/files.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cerrno>
#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plat {

namespace {

QString& ProgramFolderOverride() {
  static QString folder;
  return folder;
}

// A child entry of `folder` whose name equals `name` without regard to case; exact match first.
QString MatchInFolder(const QString& folder, const QString& name) {
  QDir dir(folder);
  if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")) return dir.filePath(name);
  const QString exact = dir.filePath(name);
  if (QFileInfo::exists(exact)) return exact;
  // The names alone, unsorted (a sorted listing looks up every entry): of several names that differ only in case
  // the first in name order is taken, as a sorted listing would give it.
  QString found;
  QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
  while (it.hasNext()) {
    it.next();
    const QString e = it.fileName();
    if (e.compare(name, Qt::CaseInsensitive) == 0 && (found.isEmpty() || e < found)) found = e;
  }
  return found.isEmpty() ? QString() : dir.filePath(found);
}

QString Absolute(const QString& path) {
  const QString native = NativePath(path);
  return QDir::cleanPath(QDir::isAbsolutePath(native) ? native : QDir::current().absoluteFilePath(native));
}

}  // namespace

QString ProgramFolder() {
  if (!ProgramFolderOverride().isEmpty()) return ProgramFolderOverride();
  if (QCoreApplication::instance()) return QCoreApplication::applicationDirPath();
  return QFileInfo(ExecutablePath()).path();
}

QString ExecutablePath() {
  if (QCoreApplication::instance()) return QCoreApplication::applicationFilePath();
  return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
}

void SetProgramFolder(const QString& folder) { ProgramFolderOverride() = folder; }

QString CurrentFolder() { return QDir::currentPath(); }

bool ChangeFolder(const QString& folder) {
  const QString resolved = ResolveExisting(folder);
  if (resolved.isEmpty() || !QFileInfo(resolved).isDir()) return false;
  return QDir::setCurrent(resolved);
}

QString DriveC() {
  const QByteArray env = qgetenv("FRATTIX_DRIVE_C");
  if (!env.isEmpty()) return QDir::cleanPath(QString::fromLocal8Bit(env));
  return QDir::homePath();
}

QString NativePath(const QString& windowsPath) {
  QString p = windowsPath;
  p.replace(QLatin1Char('\\'), QLatin1Char('/'));
  if (p.size() >= 2 && p.at(1) == QLatin1Char(':') && p.at(0).isLetter()) {
    QString rest = p.mid(2);
    while (rest.startsWith(QLatin1Char('/'))) rest.remove(0, 1);
    p = rest.isEmpty() ? DriveC() : DriveC() + QLatin1Char('/') + rest;
  }
  return p;
}

QString JoinPath(const QString& folder, const QString& name) {
  if (folder.isEmpty()) return name;
  if (folder.endsWith(QLatin1Char('/')) || folder.endsWith(QLatin1Char('\\'))) return folder + name;
  return folder + QLatin1Char('/') + name;
}

QString FileNamePart(const QString& path) {
  const qsizetype i = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
  return i < 0 ? path : path.mid(i + 1);
}

QString FolderPart(const QString& path) {
  const qsizetype i = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
  return i < 0 ? QString() : path.left(i);
}

QString ResolveExisting(const QString& path) {
  if (path.isEmpty()) return QString();
  const QString abs = Absolute(path);
  if (QFileInfo::exists(abs)) return abs;
  const QStringList parts = abs.split(QLatin1Char('/'), Qt::SkipEmptyParts);
  QString current = QStringLiteral("/");
  for (const QString& part : parts) {
    const QString next = MatchInFolder(current, part);
    if (next.isEmpty()) return QString();
    current = next;
  }
  return QDir::cleanPath(current);
}

QString ResolveForWrite(const QString& path) {
  const QString abs = Absolute(path);
  const QString existing = ResolveExisting(abs);
  if (!existing.isEmpty()) return existing;
  const QString folder = FolderPart(abs);
  const QString folderResolved = ResolveExisting(folder.isEmpty() ? QStringLiteral("/") : folder);
  return JoinPath(folderResolved.isEmpty() ? folder : folderResolved, FileNamePart(abs));
}

bool FileExists(const QString& path) {
  const QString r = ResolveExisting(path);
  return !r.isEmpty() && QFileInfo(r).isFile();
}

bool FolderExists(const QString& path) {
  const QString r = ResolveExisting(path);
  return !r.isEmpty() && QFileInfo(r).isDir();
}

namespace {
bool MatchFrom(const QString& name, qsizetype i, const QString& pat, qsizetype j) {
  while (j < pat.size()) {
    const QChar p = pat.at(j);
    if (p == QLatin1Char('*')) {
      while (j < pat.size() && pat.at(j) == QLatin1Char('*')) ++j;
      if (j == pat.size()) return true;
      for (qsizetype k = i; k <= name.size(); ++k) {
        if (MatchFrom(name, k, pat, j)) return true;
      }
      return false;
    }
    if (i >= name.size()) return false;
    if (p != QLatin1Char('?') && QString(p).compare(QString(name.at(i)), Qt::CaseInsensitive) != 0) return false;
    ++i;
    ++j;
  }
  return i == name.size();
}
}  // namespace

bool MatchPattern(const QString& name, const QString& pattern) {
  if (MatchFrom(name, 0, pattern, 0)) return true;
  // On the original platform "name.*" also finds "name" (a name without an extension has an empty one).
  if (pattern.endsWith(QLatin1String(".*")) && !name.contains(QLatin1Char('.')))
    return MatchFrom(name, 0, pattern.left(pattern.size() - 2), 0);
  return false;
}

QStringList FindFiles(const QString& pattern) {
  const QString abs = Absolute(pattern);
  const QString folder = ResolveExisting(FolderPart(abs).isEmpty() ? QStringLiteral("/") : FolderPart(abs));
  QStringList result;
  if (folder.isEmpty()) return result;
  const QString pat = FileNamePart(abs);
  QDir dir(folder);
  const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
  for (const QString& e : entries) {
    if (MatchPattern(e, pat)) result << dir.filePath(e);
  }
  return result;
}

bool CopyFileOver(const QString& source, const QString& destination) {
  const QString src = ResolveExisting(source);
  if (src.isEmpty()) return false;
  QByteArray data;
  if (!ReadWholeFile(src, data)) return false;
  return WriteWholeFile(destination, data);
}

bool DeleteFile(const QString& path) {
  const QString r = ResolveExisting(path);
  if (r.isEmpty() || !QFileInfo(r).isFile()) return false;
  return QFile::remove(r);
}

bool MakeFolder(const QString& path) {
  if (FolderExists(path)) return false;
  return QDir().mkdir(ResolveForWrite(path));
}

bool RemoveFolder(const QString& path) {
  const QString r = ResolveExisting(path);
  if (r.isEmpty()) return false;
  return QDir().rmdir(r);
}

QString TempFolder() {
  static std::unique_ptr<QTemporaryDir> dir;
  if (!dir) {
    dir = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/frattix-XXXXXX"));
  }
  return dir->path();
}

QString ResolveProgram(const QString& name) {
  QString n = FileNamePart(name);
  if (n.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive)) n.chop(4);
  const QString r = ResolveExisting(JoinPath(ProgramFolder(), n));
  if (!r.isEmpty() && QFileInfo(r).isFile()) return r;
  const QString withExe = ResolveExisting(JoinPath(ProgramFolder(), n + QStringLiteral(".exe")));
  if (!withExe.isEmpty() && QFileInfo(withExe).isFile()) return withExe;
  return QString();
}

QString Environ(const QString& name) {
  if (name.compare(QLatin1String("OS"), Qt::CaseInsensitive) == 0) return QStringLiteral("WINDOWS_NT");
  return QString::fromLocal8Bit(qgetenv(name.toLocal8Bit().constData()));
}

bool ReadWholeFile(const QString& path, QByteArray& data) {
  const QString r = ResolveExisting(path);
  // Only a regular file: a named pipe would block the open, a device would be read without end.
  if (r.isEmpty() || !QFileInfo(r).isFile()) return false;
  QFile f(r);
  if (!f.open(QIODevice::ReadOnly)) return false;
  data = f.readAll();
  return f.error() == QFileDevice::NoError;
}

namespace {

// FRATTIX_FAIL_SAVE names a file pattern ("*.fro"): a save of a file whose name matches fails half-way, as on a
// full disk, so that tests can prove that the old file survives and that the failure is reported.
bool SaveFailureInjected(const QString& target) {
  const QString pattern = QString::fromLocal8Bit(qgetenv("FRATTIX_FAIL_SAVE"));
  return !pattern.isEmpty() && MatchPattern(FileNamePart(target), pattern);
}

// Every byte of `size` bytes at `bytes` to `fd`: a short write is continued until the call fails (a full disk, a
// file-size limit).
bool WriteAll(int fd, const char* bytes, qsizetype size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, bytes, static_cast<size_t>(size));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes += n;
    size -= n;
  }
  return true;
}

// A new file beside `target` with a name of its own (`target` and six random characters), created for writing
// with the permissions a new file gets; -1 when none can be made.
int CreateTemporaryBeside(const QByteArray& target, QByteArray& temporary) {
  static constexpr char kCharacters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = target + '.';
    for (int i = 0; i < 6; ++i)
      temporary += kCharacters[QRandomGenerator::global()->bounded(quint32{sizeof kCharacters - 1})];
    const int fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

}  // namespace

bool WriteWholeFile(const QString& path, const QByteArray& data) {
  const QByteArray target = QFile::encodeName(ResolveForWrite(path));
  // What stands at the name now, a link not followed. A regular file is replaced, with its permissions kept, when
  // it may be written; a symbolic link is replaced by the new file, and what it points to is never touched; a
  // folder, a device or a pipe is never replaced.
  struct stat old {};
  bool replacesFile = false;
  if (::lstat(target.constData(), &old) == 0) {
    if (S_ISREG(old.st_mode)) {
      if (::faccessat(AT_FDCWD, target.constData(), W_OK, AT_EACCESS) != 0) return false;
      replacesFile = true;
    } else if (!S_ISLNK(old.st_mode)) {
      return false;
    }
  } else if (errno != ENOENT) {
    return false;
  }
  QByteArray temporary;
  const int fd = CreateTemporaryBeside(target, temporary);
  if (fd < 0) return false;
  // Permissions as the old file's, where the file system keeps them.
  if (replacesFile) ::fchmod(fd, old.st_mode & 07777);
  bool written = false;
  if (SaveFailureInjected(QFile::decodeName(target))) {
    WriteAll(fd, data.constData(), data.size() / 2);  // half of it, then the disk is "full"
  } else {
    // Every byte written unbuffered, then on the disk: only then is the old file replaced. A file system that
    // cannot sync a file says EINVAL, which is no failure of the save.
    written = WriteAll(fd, data.constData(), data.size()) && (::fdatasync(fd) == 0 || errno == EINVAL);
  }
  if (::close(fd) != 0 && errno != EINTR) written = false;
  if (!written || ::rename(temporary.constData(), target.constData()) != 0) {
    ::unlink(temporary.constData());
    return false;
  }
  return true;
}

bool WriteWorkFile(const QString& path, const QByteArray& data) {
  const QString target = ResolveForWrite(path);
  QFile f(target);
  // Overwritten and then cut to its new length rather than emptied first: a file emptied and written again is
  // flushed to the disk when it is closed.
  if (!f.open(QIODevice::ReadWrite)) return false;
  bool written = f.write(data) == data.size();
  if (written && f.size() > data.size()) written = f.resize(data.size());
  f.close();
  if (!written || f.error() != QFileDevice::NoError) {
    QFile::remove(target);
    return false;
  }
  return true;
}

}  // namespace plat
