#include "common/platform/files.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
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

bool SameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

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

QString WithShortExtensionReplaced(const QString& chosen, const QString& extension) {
  QString nome = FileNamePart(chosen);
  const QString cartella = chosen.left(chosen.size() - nome.size());
  if (nome.right(4).contains(QLatin1Char('.'))) nome.truncate(nome.lastIndexOf(QLatin1Char('.')));
  nome += extension;
  if (nome == extension || nome == QLatin1Char('*') + extension) return QString();
  return cartella + nome;
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

EntryKind KindAt(const QString& path) {
  const QString r = ResolveExisting(path);
  struct stat s {};
  if (r.isEmpty() || ::lstat(QFile::encodeName(r).constData(), &s) != 0) return EntryKind::None;
  if (S_ISREG(s.st_mode)) return EntryKind::File;
  if (S_ISLNK(s.st_mode)) return EntryKind::Link;
  if (S_ISDIR(s.st_mode)) return EntryKind::Folder;
  return EntryKind::Other;
}

bool EntryExists(const QString& path) { return !ResolveExisting(path).isEmpty(); }

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
  // "name.*" also finds "name": a name without an extension has an empty one, so that "*.*" takes every file of a
  // folder (the update's files moved into the program folder), those without an extension too.
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
  // Only a regular file: a named pipe would block the open, a device would be read without end. A copy takes a
  // file of any size (an update may bring programs larger than any file the suite's readers take).
  if (src.isEmpty() || !QFileInfo(src).isFile()) return false;
  QFile f(src);
  if (!f.open(QIODevice::ReadOnly)) return false;
  const QByteArray data = f.readAll();
  return f.error() == QFileDevice::NoError && WriteWholeFile(destination, data);
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

namespace {

// A folder the user may make files in, other than the root folder.
bool UsableTemporaryFolder(const QByteArray& folder) {
  struct stat s {};
  return !folder.isEmpty() && folder.startsWith('/') && QDir::cleanPath(QFile::decodeName(folder)) != QLatin1String("/") &&
         ::stat(folder.constData(), &s) == 0 && S_ISDIR(s.st_mode) && ::access(folder.constData(), W_OK | X_OK) == 0;
}

}  // namespace

void CheckTemporaryFolder() {
  const QByteArray tmpdir = qgetenv("TMPDIR");
  if (tmpdir.isEmpty() || UsableTemporaryFolder(tmpdir)) return;
  for (const QByteArray& folder : {QByteArray("/tmp"), qgetenv("XDG_RUNTIME_DIR"), qgetenv("HOME")}) {
    if (UsableTemporaryFolder(folder)) {
      qputenv("TMPDIR", folder);
      return;
    }
  }
  qunsetenv("TMPDIR");
}

namespace {

// The private folders of the processes of the suite: "frattix-" and six characters, in a folder for temporary
// files. Each holds a mark file that its process keeps locked for as long as it runs (the lock goes with the
// process, however it ends, and a process that takes the number of a dead one does not hold it).
constexpr char kPrivateFolderPrefix[] = "frattix-";
constexpr qsizetype kPrivateFolderName = 14;
constexpr char kOwnerMark[] = "owner.lock";

// The folders a private folder may be made in: the system's temporary folder (TMPDIR, else /tmp); when that does
// not exist or takes no folder, /tmp, the user's runtime folder, the home folder. Never the root folder, where a
// folder named by nothing would go.
QStringList PrivateFolderBases() {
  QStringList basi;
  for (const QString& base : {QDir::tempPath(), QStringLiteral("/tmp"), qEnvironmentVariable("XDG_RUNTIME_DIR"),
                              QDir::homePath()}) {
    const QString b = QDir::cleanPath(base);
    if (base.isEmpty() || b == QLatin1String("/") || !QDir::isAbsolutePath(b) || basi.contains(b)) continue;
    basi << b;
  }
  return basi;
}

// Marks the new private folder `folder` as this process's: its mark file made and locked for the life of the
// process. False when the folder was taken for a leftover before the lock was held (a program starting meanwhile
// removed it), so another must be made.
bool HoldPrivateFolder(const QString& folder) {
  const QByteArray mark = QFile::encodeName(folder + QLatin1Char('/') + QLatin1String(kOwnerMark));
  const int fd = ::open(mark.constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  int r;
  do r = ::flock(fd, LOCK_EX);
  while (r != 0 && errno == EINTR);
  if (r != 0) {
    // A file system without locks: the folder goes unmarked, so that no program ever takes it for a leftover.
    ::unlink(mark.constData());
    ::close(fd);
    return true;
  }
  struct stat opened {}, atName {};
  if (::fstat(fd, &opened) != 0 || ::lstat(mark.constData(), &atName) != 0 || !SameFile(opened, atName)) {
    ::close(fd);
    return false;
  }
  return true;  // the descriptor stays open, and the lock held, until the process ends
}

// Removes everything in the folder open at `dir` (on the device `device`), but its entry named `keep`: files and
// links are unlinked (a link never followed), folders emptied the same way and removed, up to `depth` levels down.
// False when something stays.
bool EmptyFolder(int dir, dev_t device, const char* keep, int depth) {
  DIR* entries = ::fdopendir(::dup(dir));
  if (!entries) return false;
  std::vector<QByteArray> names;
  while (const dirent* e = ::readdir(entries)) {
    const char* n = e->d_name;
    if (std::strcmp(n, ".") != 0 && std::strcmp(n, "..") != 0 && (!keep || std::strcmp(n, keep) != 0))
      names.emplace_back(n);
  }
  ::closedir(entries);
  bool empty = true;
  for (const QByteArray& n : names) {
    if (::unlinkat(dir, n.constData(), 0) == 0 || errno == ENOENT) continue;
    // A folder: opened without following a link, and only on the same device (never into another mount).
    const int sub = depth > 0 ? ::openat(dir, n.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC) : -1;
    struct stat s {};
    const bool emptied = sub >= 0 && ::fstat(sub, &s) == 0 && s.st_dev == device && s.st_uid == ::geteuid() &&
                         EmptyFolder(sub, device, nullptr, depth - 1);
    if (sub >= 0) ::close(sub);
    if (!emptied || ::unlinkat(dir, n.constData(), AT_REMOVEDIR) != 0) empty = false;
  }
  return empty;
}

// How deep a private folder's own folders may go for its removal: the programs make none, so anything deeper is
// no folder of theirs.
constexpr int kPrivateFolderDepth = 32;

// Removes the private folder `name` of the folder open at `base` when it is this user's and its process is gone
// (nobody holds its mark file locked): what it holds, folders included, then the folder.
void RemoveIfOrphaned(int base, const char* name) {
  const int dir = ::openat(base, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (dir < 0) return;
  struct stat folder {};
  const int mark = ::fstat(dir, &folder) == 0 && folder.st_uid == ::geteuid()
                       ? ::openat(dir, kOwnerMark, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC)
                       : -1;
  struct stat m {};
  if (mark >= 0 && ::fstat(mark, &m) == 0 && S_ISREG(m.st_mode) && m.st_uid == ::geteuid() &&
      ::flock(mark, LOCK_EX | LOCK_NB) == 0) {
    // The mark last, once nothing else is left (a folder that keeps something keeps its mark, for the next start
    // to try again), and the folder only when it is still the one opened.
    struct stat now {};
    if (EmptyFolder(dir, folder.st_dev, kOwnerMark, kPrivateFolderDepth) && ::unlinkat(dir, kOwnerMark, 0) == 0 &&
        ::fstatat(base, name, &now, AT_SYMLINK_NOFOLLOW) == 0 && SameFile(folder, now))
      ::unlinkat(base, name, AT_REMOVEDIR);
  }
  if (mark >= 0) ::close(mark);
  ::close(dir);
}

}  // namespace

void RemoveOrphanedTemporaryFolders() {
  for (const QString& b : PrivateFolderBases()) {
    const int base = ::open(QFile::encodeName(b).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (base < 0) continue;
    if (DIR* entries = ::fdopendir(::dup(base))) {
      std::vector<QByteArray> names;
      while (const dirent* e = ::readdir(entries)) {
        const QByteArray n(e->d_name);
        if (n.size() == kPrivateFolderName && n.startsWith(kPrivateFolderPrefix)) names.push_back(n);
      }
      ::closedir(entries);
      for (const QByteArray& n : names) RemoveIfOrphaned(base, n.constData());
    }
    ::close(base);
  }
}

QString TempFolder() {
  static std::unique_ptr<QTemporaryDir> dir;
  static bool cercata = false;
  if (!cercata) {
    cercata = true;
    for (const QString& b : PrivateFolderBases()) {
      if (!QFileInfo(b).isDir()) continue;
      // A folder removed as a leftover before it was marked is made again.
      for (int attempt = 0; attempt < 5 && !dir; ++attempt) {
        auto d = std::make_unique<QTemporaryDir>(b + QLatin1Char('/') + QLatin1String(kPrivateFolderPrefix) +
                                                 QStringLiteral("XXXXXX"));
        if (!d->isValid()) break;
        if (HoldPrivateFolder(d->path())) dir = std::move(d);
      }
      if (dir) break;
    }
  }
  return dir ? dir->path() : QString();
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

bool ReadWholeFile(const QString& path, QByteArray& data) { return ReadDataFile(path, data) == ReadFault::None; }

ReadFault ReadDataFile(const QString& path, QByteArray& data) {
  data.clear();
  const QString r = ResolveExisting(path);
  if (r.isEmpty()) return ReadFault::Missing;
  const QByteArray name = QFile::encodeName(r);
  // What stands at the name, a link followed, before anything is opened: a device may act when it is opened.
  struct stat s {};
  // A link that points nowhere stands at the name: it is no missing file.
  if (::stat(name.constData(), &s) != 0) return ReadFault::Unreadable;
  if (!S_ISREG(s.st_mode)) return ReadFault::NotAFile;
  if (s.st_size > kLargestFileRead) return ReadFault::TooLarge;
  // Opened without waiting, and read only when it is still a regular file within the bound.
  const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return ReadFault::Unreadable;
  struct stat opened {};
  if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
    ::close(fd);
    return ReadFault::NotAFile;
  }
  if (opened.st_size > kLargestFileRead) {
    ::close(fd);
    return ReadFault::TooLarge;
  }
  // Read to its end, one byte beyond the bound at most: a file that grows meanwhile is still refused.
  QByteArray bytes(static_cast<qsizetype>(opened.st_size) + 1, Qt::Uninitialized);
  qsizetype used = 0;
  ReadFault fault = ReadFault::None;
  for (;;) {
    if (used == bytes.size()) {
      if (used > kLargestFileRead) {
        fault = ReadFault::TooLarge;
        break;
      }
      bytes.resize(std::min<qsizetype>(used * 2 + 4096, kLargestFileRead + 1));
    }
    const ssize_t n = ::read(fd, bytes.data() + used, static_cast<size_t>(bytes.size() - used));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      fault = ReadFault::Unreadable;
      break;
    }
    if (n == 0) break;
    used += n;
  }
  ::close(fd);
  if (fault == ReadFault::None && used > kLargestFileRead) fault = ReadFault::TooLarge;
  if (fault != ReadFault::None) return fault;
  bytes.truncate(used);
  data = std::move(bytes);
  return ReadFault::None;
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

// The mark of the suite's temporary files: a save writes "<name>.frattix~" beside "<name>" (or, while another
// program saves the same file, "<name>.frattix1~" to "<name>.frattix9~") and renames it over the name.
constexpr char kTemporaryMark[] = ".frattix";
constexpr int kTemporaryVariants = 10;
constexpr qsizetype kLongestMark = qsizetype(sizeof kTemporaryMark) - 1 + 2;  // ".frattix", a digit, "~"

// The name of the temporary file number `k` of a save of the file named `name`, within `nameMax` bytes: a name too
// long to take the mark keeps its beginning (whole characters) and a digest of the whole, so that the temporary
// file of every name fits the file system and belongs to that name alone.
QByteArray TemporaryName(const QByteArray& name, int k, long nameMax) {
  const QByteArray mark = QByteArray(kTemporaryMark) + (k > 0 ? QByteArray::number(k) : QByteArray()) + '~';
  // Room for the longest mark, so that every variant of one name starts alike.
  const qsizetype room = static_cast<qsizetype>(nameMax) - kLongestMark;
  if (name.size() <= room) return name + mark;
  quint32 digest = 2166136261u;  // FNV-1a
  for (const char c : name) digest = (digest ^ static_cast<unsigned char>(c)) * 16777619u;
  const QByteArray tail = '~' + QByteArray::number(digest, 16).rightJustified(8, '0');
  qsizetype n = room - tail.size();
  while (n > 0 && (static_cast<unsigned char>(name.at(n)) & 0xC0) == 0x80) --n;  // not inside a character
  return name.left(n) + tail + mark;
}

// Removes the file at `path` when it is a temporary file that no program is writing any more (the save that made
// it was killed before its rename): a save holds a lock on its temporary file until it has been renamed. True when
// it was removed.
bool RemoveIfLeftover(const QByteArray& path) {
  const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat opened {}, atName {};
  const bool removed = ::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
                     ::lstat(path.constData(), &atName) == 0 && SameFile(opened, atName) &&
                     ::unlink(path.constData()) == 0;
  ::close(fd);
  return removed;
}

// A temporary file of the suite beside `target`, created for writing with the permissions a new file gets and
// locked for as long as it stays open; leftovers of earlier saves of the same file are removed. -1 when none can be
// made.
int CreateTemporaryBeside(const QByteArray& target, QByteArray& temporary) {
  const qsizetype slash = target.lastIndexOf('/');
  const QByteArray folder = slash < 0 ? QByteArray(".") : target.left(std::max<qsizetype>(slash, 1));
  const QByteArray prefix = target.left(slash + 1);
  const QByteArray name = target.mid(slash + 1);
  const long limit = ::pathconf(folder.constData(), _PC_NAME_MAX);
  const long nameMax = limit > 0 ? limit : 255;
  int fd = -1, used = -1;
  for (int k = 0, attempts = 0; k < kTemporaryVariants && fd < 0 && ++attempts <= 100;) {
    temporary = prefix + TemporaryName(name, k, nameMax);
    fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
      if (errno != EEXIST) return -1;
      // A leftover goes and its name is taken; a file that another save is writing is left to it.
      if (!RemoveIfLeftover(temporary)) ++k;
      continue;
    }
    // Locked, and still at its name: a save that removed leftovers meanwhile may have taken it for one.
    struct stat opened {}, now {};
    if (::flock(fd, LOCK_EX) != 0 || ::fstat(fd, &opened) != 0 || ::lstat(temporary.constData(), &now) != 0 ||
        !SameFile(opened, now)) {
      ::close(fd);
      fd = -1;
      continue;
    }
    used = k;
  }
  if (fd < 0) return -1;
  // Leftovers under the other names of this file's temporary files.
  for (int k = 0; k < kTemporaryVariants; ++k) {
    if (k == used) continue;
    const QByteArray other = prefix + TemporaryName(name, k, nameMax);
    struct stat s {};
    if (::lstat(other.constData(), &s) == 0) RemoveIfLeftover(other);
  }
  return fd;
}

// What stands at `target` now, a link not followed, as a save finds it: false when the save may not replace it (a
// folder, a device, a pipe, a regular file that may not be written). `replacesFile` tells a regular file, whose
// permissions the new file keeps; a symbolic link is replaced by the new file, and what it points to is never
// touched.
bool MayReplace(const QByteArray& target, struct stat& old, bool& replacesFile) {
  replacesFile = false;
  if (::lstat(target.constData(), &old) == 0) {
    if (S_ISREG(old.st_mode)) {
      if (::faccessat(AT_FDCWD, target.constData(), W_OK, AT_EACCESS) != 0) return false;
      replacesFile = true;
    } else if (!S_ISLNK(old.st_mode)) {
      return false;
    }
    return true;
  }
  return errno == ENOENT;
}

}  // namespace

bool SaveMayReplace(const QString& path) {
  const QString r = ResolveExisting(path);
  if (r.isEmpty()) return true;
  struct stat old {};
  bool replacesFile = false;
  return MayReplace(QFile::encodeName(r), old, replacesFile);
}

bool RemoveAsSave(const QString& path) {
  const QString r = ResolveExisting(path);
  if (r.isEmpty()) return true;
  const QByteArray target = QFile::encodeName(r);
  struct stat old {};
  bool replacesFile = false;
  if (!MayReplace(target, old, replacesFile)) return false;
  if (!replacesFile && !S_ISLNK(old.st_mode)) return true;  // gone meanwhile
  return ::unlink(target.constData()) == 0 || errno == ENOENT;
}

namespace {

// The first half of a save: `data` written whole to a temporary file beside `target` and on the disk. The open
// temporary file, locked (its path in `temporary`), or -1 when it could not be made or written (nothing is then
// left of it).
int WriteTemporaryBeside(const QByteArray& target, const QByteArray& data, const struct stat* old, bool replacesFile,
                         QByteArray& temporary) {
  const int fd = CreateTemporaryBeside(target, temporary);
  if (fd < 0) return -1;
  // Permissions as the old file's, where the file system keeps them.
  if (replacesFile && old) ::fchmod(fd, old->st_mode & 07777);
  bool written = false;
  if (SaveFailureInjected(QFile::decodeName(target))) {
    WriteAll(fd, data.constData(), data.size() / 2);  // half of it, then the disk is "full"
  } else {
    // Every byte written unbuffered, then on the disk: only then is the old file replaced. A file system that
    // cannot sync a file says EINVAL, which is no failure of the save.
    written = WriteAll(fd, data.constData(), data.size()) && (::fdatasync(fd) == 0 || errno == EINVAL);
  }
  if (!written) {
    ::unlink(temporary.constData());
    ::close(fd);
    return -1;
  }
  return fd;
}

// Gives the file at `from` the name `to` only when nothing stands at `to`: a rename that never replaces, or, on a
// file system without one, a second link made and the first removed, or, on one without links either, the name
// claimed by an empty file of its own made there (only one program can make it) and the file renamed over it. 0
// when done, else the error (EEXIST when something stands at `to`).
int RenameNoReplace(const QByteArray& from, const QByteArray& to) {
  if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS) return errno;
  if (::link(from.constData(), to.constData()) == 0) {
    ::unlink(from.constData());
    return 0;
  }
  if (errno != EPERM && errno != EOPNOTSUPP) return errno;
  const int claim = ::open(to.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (claim < 0) return errno;
  struct stat claimed {};
  const bool known = ::fstat(claim, &claimed) == 0;
  ::close(claim);
  if (::rename(from.constData(), to.constData()) == 0) return 0;
  const int error = errno;
  // The claim goes again, when it is still the one made here.
  struct stat now {};
  if (known && ::lstat(to.constData(), &now) == 0 && SameFile(claimed, now)) ::unlink(to.constData());
  return error;
}

}  // namespace

bool WriteWholeFile(const QString& path, const QByteArray& data) {
  const QByteArray target = QFile::encodeName(ResolveForWrite(path));
  struct stat old {};
  bool replacesFile = false;
  if (!MayReplace(target, old, replacesFile)) return false;
  QByteArray temporary;
  const int fd = WriteTemporaryBeside(target, data, &old, replacesFile, temporary);
  if (fd < 0) return false;
  // The temporary file stays locked until it has its name, so that no other save takes it for a leftover.
  const bool written = ::rename(temporary.constData(), target.constData()) == 0;
  if (!written) ::unlink(temporary.constData());
  ::close(fd);
  return written;
}

QString WriteNewNumberedFile(const std::function<QString(int)>& name, const QByteArray& data, QString* tried) {
  // The first number at which nothing stands, in any letter case.
  const auto libero = [&](int from) {
    int n = from;
    while (n < std::numeric_limits<int>::max() && !ResolveExisting(name(n)).isEmpty()) ++n;
    return n;
  };
  int n = libero(1);
  QString path = ResolveForWrite(name(n));
  if (tried) *tried = path;
  QByteArray temporary;
  const int fd = WriteTemporaryBeside(QFile::encodeName(path), data, nullptr, false, temporary);
  if (fd < 0) return {};
  // The name is claimed by the rename itself: one that another program took meanwhile is left to it, and the
  // next free one is tried.
  int error = EEXIST;
  while (n < std::numeric_limits<int>::max()) {
    error = RenameNoReplace(temporary, QFile::encodeName(path));
    if (error != EEXIST) break;
    n = libero(n + 1);
    path = ResolveForWrite(name(n));
    if (tried) *tried = path;
  }
  if (error != 0) ::unlink(temporary.constData());
  ::close(fd);
  return error == 0 ? path : QString();
}

bool WriteWorkFile(const QString& path, const QByteArray& data) {
  const QByteArray target = QFile::encodeName(ResolveForWrite(path));
  struct stat old {};
  bool replacesFile = false;
  if (!MayReplace(target, old, replacesFile)) return false;
  // A symbolic link at the name is replaced by the file; what it points to is never written.
  if (S_ISLNK(old.st_mode) && ::unlink(target.constData()) != 0) return false;
  int fd = -1;
  struct stat st {};
  mode_t kept = 0;  // the permissions of a file replaced because another name shares it
  for (int attempt = 0;; ++attempt) {
    // Opened without following a link and without waiting, and written only when it is a regular file.
    fd = ::open(target.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
      ::close(fd);
      return false;
    }
    if (st.st_nlink == 1) break;
    // A file that another name shares (a hard link, as a snapshot of the folder by links makes) is never written
    // into: the name is taken from it and a new file made, so the other names keep what they hold.
    ::close(fd);
    struct stat now {};
    if (attempt >= 3 || ::lstat(target.constData(), &now) != 0 || !SameFile(st, now) ||
        ::unlink(target.constData()) != 0)
      return false;
    kept = st.st_mode & 07777;
  }
  if (kept != 0) ::fchmod(fd, kept);
  // Overwritten and then cut to its new length rather than emptied first: a file emptied and written again is
  // flushed to the disk when it is closed.
  bool written = WriteAll(fd, data.constData(), data.size()) &&
                 (st.st_size <= data.size() || ::ftruncate(fd, static_cast<off_t>(data.size())) == 0);
  if (::close(fd) != 0 && errno != EINTR) written = false;
  if (!written) ::unlink(target.constData());
  return written;
}

}  // namespace plat
