// File names and folders as the suite's files and users name them: names compared without regard to letter case
// (a session written "site.SES" opens "site.ses"), Windows-style wildcard patterns, the program folder, the current
// folder, the "c:\" drive root and a private temporary folder per process.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace plat {

// Folder of the running executable (the program folder of the suite). Tests may put another folder in its place.
QString ProgramFolder();
// The running program's file (absolute), also before an application object exists.
QString ExecutablePath();
void SetProgramFolder(const QString& folder);

// The current folder of the process (CurDir / ChDir).
QString CurrentFolder();
bool ChangeFolder(const QString& folder);

// The folder that stands for the drive root "c:\": FRATTIX_DRIVE_C, else the user's home folder.
QString DriveC();

// Turns a name written the Windows way into one of this platform: "\" becomes "/", a leading "c:" (any drive
// letter) becomes DriveC(). Relative names stay relative.
QString NativePath(const QString& windowsPath);

// Joins a folder and a name ("folder & "\" & name").
QString JoinPath(const QString& folder, const QString& name);

// The name part and the folder part of a path ("/" or "\" separated).
QString FileNamePart(const QString& path);
QString FolderPart(const QString& path);

// The name chosen in a file dialog with its short extension replaced by `extension` (".txt", ".DOC"): when a point
// stands among the last four characters of the file name, the name is cut before its last point; then `extension`
// is appended. Only the file name counts, never its folders ("/cava.2/r" gives "/cava.2/r.txt"). Empty when no name
// was chosen: nothing, a folder alone, or a name that comes out as `extension` or "*" and `extension`.
QString WithShortExtensionReplaced(const QString& chosen, const QString& extension);

// Case-insensitive resolution. ResolveExisting returns the path of the existing file or folder whose name
// equals `path` without regard to case (exact match preferred), or an empty string. ResolveForWrite returns the
// existing case-variant when there is one, else the path as given with its folders resolved.
QString ResolveExisting(const QString& path);
QString ResolveForWrite(const QString& path);

bool FileExists(const QString& path);    // an existing regular file, any letter case
// Something stands at `path` (any letter case): a file, a folder, a symbolic link (also one that points nowhere), a
// named pipe, a device. Only where this is false is a file missing.
bool EntryExists(const QString& path);
// What stands at `path` (any letter case), a symbolic link not followed: nothing, a regular file, a symbolic link,
// a folder, or anything else (a named pipe, a device, a socket).
enum class EntryKind { None, File, Link, Folder, Other };
EntryKind KindAt(const QString& path);
bool FolderExists(const QString& path);  // an existing folder, any letter case

// Windows-style pattern match without regard to case: "*" any run, "?" one character; "*.*" matches every name,
// also names without a point; a trailing ".*" also matches the name without extension.
bool MatchPattern(const QString& name, const QString& pattern);

// The files (not folders) of the folder of `pattern` whose names match its last component, sorted by name;
// returned as full paths.
QStringList FindFiles(const QString& pattern);

bool CopyFileOver(const QString& source, const QString& destination);  // FileCopy: replaces the destination
bool DeleteFile(const QString& path);                                  // Kill
// Whether a save may put its file at `path` (any letter case): nothing stands there, a symbolic link (which the new
// file replaces), or a regular file that the user may write. A file the user made read-only, a folder, a pipe or a
// device is never replaced.
bool SaveMayReplace(const QString& path);
// Removes what stands at `path` (any letter case) as a save would replace it: a regular file that the user may
// write, or a symbolic link (never what it points to). True when nothing stands there afterwards; a file the user
// made read-only, a folder, a pipe or a device stays.
bool RemoveAsSave(const QString& path);
bool MakeFolder(const QString& path);                                  // MkDir
bool RemoveFolder(const QString& path);                                // RmDir (empty folder)

// Run by every program before anything else: when TMPDIR names no folder that the user can write to, it is set to
// the first of /tmp, the user's runtime folder and the home folder that is one (and removed when none is), so that
// neither the program, nor the libraries it uses, nor its children make their temporary folders at the root of the
// file system.
void CheckTemporaryFolder();

// Private temporary folder of this process ("frattix-XXXXXX"), created on first use and removed when the process
// ends normally: in the system's temporary folder, else in the first of /tmp, the user's runtime folder and the
// home folder that takes it. Empty when none can be made. The process holds a lock on a mark file in it for as
// long as it runs.
QString TempFolder();
// Removes the private folders that processes of the suite left behind when they were killed: those of this user
// in the folders TempFolder makes them in whose process is gone (nobody holds the lock of their mark). Folders of
// other users, of running processes and without the mark are never touched.
void RemoveOrphanedTemporaryFolders();

// The executable of a program of the suite named the Windows way ("peldrix.exe", "EIGEN.exe"): ".exe" is
// dropped and the name resolved in the program folder without regard to case. Empty when there is none.
QString ResolveProgram(const QString& name);

// Environment variables as the suite reads them; "OS" is always "WINDOWS_NT" on this platform.
QString Environ(const QString& name);

// Reads or writes a whole file. ReadWholeFile reads as ReadDataFile does (below), and is false on any of its faults:
// only a regular file (symbolic links followed) of at most kLargestFileRead bytes. WriteWholeFile saves to a temporary file in
// the same folder and renames it over the old one, so an interrupted save never leaves half a file; it is true only
// when every byte reached the disk, and otherwise leaves the old file as it was. A symbolic link at the name is
// replaced by the new file (what it points to is left alone); a folder, a device or a pipe at the name, or a
// regular file that may not be written, is never replaced. The temporary file of "<name>" is "<name>.frattix~"
// ("<name>.frattix1~" to "<name>.frattix9~" while other programs save the same file; a name too long for the mark
// keeps its beginning and a digest of the whole); one left by a save that was killed before its rename is removed
// by the next save of the same file.
bool ReadWholeFile(const QString& path, QByteArray& data);

// The largest file that a reader of the suite takes. The largest files the suite writes are the wedge table of 300
// families (44,850 pairs) and the results report that holds it, each about 2.5 MB with the widest numbers; a survey
// sheet of 500 records has less than 30 KB. A file larger than 64 MiB (more than 25 times the largest) is no file
// of the suite, and reading it whole would cost memory and time for nothing.
inline constexpr qint64 kLargestFileRead = 64LL * 1024 * 1024;
// Why a reader could not take a file.
enum class ReadFault {
  None,
  Missing,     // nothing stands at the name
  NotAFile,    // a folder, a named pipe, a device or a socket stands there (a symbolic link followed)
  TooLarge,    // a regular file larger than kLargestFileRead
  Unreadable,  // a regular file that cannot be read, or a symbolic link that points nowhere
  LineEnds,    // (the sequential reader) a CR that does not end a line with the LF after it
};
// Reads a file for one of the suite's readers: a regular file (symbolic links followed) of at most
// kLargestFileRead bytes, whole. What is not a regular file is never opened, so that nothing waits on a pipe or
// reads a device; a larger file is refused before it is read. On a fault `data` is empty.
ReadFault ReadDataFile(const QString& path, QByteArray& data);
bool WriteWholeFile(const QString& path, const QByteArray& data);
// Saves `data` as a new file, by the rules of a save, under the first of the names `name(1)`, `name(2)`, ... at
// which nothing stands (no file, link, pipe or folder of any letter case). The name is claimed when the file gets
// it, by a rename that never replaces: when another program took that name meanwhile, the next free one is taken,
// so that two programs saving at once keep both files. The path saved, or "" when it could not be saved
// (`tried` then holds the name it was to take).
QString WriteNewNumberedFile(const std::function<QString(int)>& name, const QByteArray& data, QString* tried = nullptr);
// A work file that the program writes whole again on every run and whose reader checks what it reads (the
// clustering's partition files): written in place, without emptying it first. A rename over an existing file, or
// an emptied file written again, makes the file system wait for the disk, which costs more than the whole
// aggregation when hundreds are written in a row. A failed write removes what was written. A symbolic link at the
// name is replaced by the file, and so is a file that another name shares (a hard link): it keeps what it holds
// under its other names. A folder, a device or a pipe at the name is never opened.
bool WriteWorkFile(const QString& path, const QByteArray& data);

}  // namespace plat
