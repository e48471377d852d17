#include "common/platform/files.h"
#include "common/platform/textio.h"
#include "tests/support/support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>

#include <gtest/gtest.h>

#include <sys/file.h>
#include <sys/stat.h>

using testing_support::TestFolder;
using testing_support::WriteAnsi;

TEST(Files, NamesAreFoundWithoutRegardToCase) {
  TestFolder t(false);
  WriteAnsi(t.D("site.ses"), "x\n");
  QDir().mkpath(t.D("Rilievi"));
  WriteAnsi(t.D("Rilievi/Prova.SCH"), "y\n");

  EXPECT_TRUE(plat::FileExists("SITE.SES"));
  EXPECT_TRUE(plat::FileExists(t.D("Site.Ses")));
  EXPECT_TRUE(plat::FileExists("rilievi/prova.sch"));
  EXPECT_TRUE(plat::FolderExists("RILIEVI"));
  EXPECT_FALSE(plat::FileExists("RILIEVI"));  // a folder is not a file
  EXPECT_FALSE(plat::FileExists("site.se"));
  EXPECT_EQ(plat::ResolveExisting("RILIEVI/PROVA.sch"), t.D("Rilievi/Prova.SCH"));
  EXPECT_EQ(plat::ResolveExisting("nothing/prova.sch"), QString());

  // Names that differ only in case: the exact one, else the first in name order; hidden names are found too.
  for (const char* n : {"dati.TXT", "Dati.txt", "DATI.txt", ".Nascosto"}) WriteAnsi(t.D(QString("Rilievi/") + n), "z\n");
  EXPECT_EQ(plat::ResolveExisting("rilievi/Dati.txt"), t.D("Rilievi/Dati.txt"));
  EXPECT_EQ(plat::ResolveExisting("rilievi/dati.txt"), t.D("Rilievi/DATI.txt"));
  EXPECT_EQ(plat::ResolveExisting("rilievi/.NASCOSTO"), t.D("Rilievi/.Nascosto"));
}

TEST(Files, WritingAVariantNameWritesTheExistingFileAndANewNameAsGiven) {
  TestFolder t(false);
  WriteAnsi(t.D("site.ses"), "x\n");
  EXPECT_EQ(plat::ResolveForWrite("SITE.SES"), t.D("site.ses"));
  EXPECT_EQ(plat::ResolveForWrite("Nuovo.TIT"), t.D("Nuovo.TIT"));
  QDir().mkpath(t.D("Sub"));
  EXPECT_EQ(plat::ResolveForWrite("sub/Nuovo.TIT"), t.D("Sub/Nuovo.TIT"));
  ASSERT_TRUE(plat::WriteWholeFile("SITE.SES", "new"));
  EXPECT_EQ(testing_support::ReadBytes(t.D("site.ses")), QByteArray("new"));
  EXPECT_FALSE(QFileInfo::exists(t.D("SITE.SES")));
}

TEST(Files, WindowsPatterns) {
  EXPECT_TRUE(plat::MatchPattern("README", "*.*"));
  EXPECT_TRUE(plat::MatchPattern("a.b.c", "*.*"));
  EXPECT_TRUE(plat::MatchPattern("ESEMPIO.SES", "esem*.*"));
  EXPECT_TRUE(plat::MatchPattern("esempio", "esem*.*"));
  EXPECT_FALSE(plat::MatchPattern("example.ses", "esem*.*"));
  EXPECT_TRUE(plat::MatchPattern("file1.txt", "file?.TXT"));
  EXPECT_FALSE(plat::MatchPattern("file12.txt", "file?.txt"));
  EXPECT_TRUE(plat::MatchPattern("x.sch", "*.sch"));
  EXPECT_FALSE(plat::MatchPattern("x.sch2", "*.sch"));
}

TEST(Files, FindCopyDeleteAndFolders) {
  TestFolder t(false);
  WriteAnsi(t.D("b.txt"), "b\n");
  WriteAnsi(t.D("A.TXT"), "a\n");
  WriteAnsi(t.D("noext"), "n\n");
  QDir().mkpath(t.D("dir.txt"));
  const QStringList all = plat::FindFiles(t.D("*.*"));
  EXPECT_EQ(all.size(), 3);  // folders are not listed
  const QStringList txt = plat::FindFiles("*.txt");
  ASSERT_EQ(txt.size(), 2);
  EXPECT_TRUE(plat::FindFiles(t.D("missing/*.*")).isEmpty());

  ASSERT_TRUE(plat::CopyFileOver("a.txt", "b.TXT"));  // replaces b.txt, keeps its name
  EXPECT_EQ(testing_support::ReadBytes(t.D("b.txt")), QByteArray("a\r\n"));
  EXPECT_FALSE(plat::CopyFileOver("missing.txt", "c.txt"));
  EXPECT_TRUE(plat::DeleteFile("B.TXT"));
  EXPECT_FALSE(plat::FileExists("b.txt"));
  EXPECT_FALSE(plat::DeleteFile("b.txt"));

  EXPECT_TRUE(plat::MakeFolder("nuova"));
  EXPECT_FALSE(plat::MakeFolder("NUOVA"));  // exists already, any case
  EXPECT_TRUE(plat::RemoveFolder("Nuova"));
  EXPECT_FALSE(plat::FolderExists("nuova"));
}

// The short extension of a chosen name is the file name's alone: points in the folders never count, whichever
// separator the path uses; a name that keeps nothing but the extension is no name.
TEST(Files, AShortExtensionIsReplacedInTheFileNameOnly) {
  const std::pair<const char*, const char*> casi[] = {
      {"/d/cava.2/r", "/d/cava.2/r.txt"},   {"C:\\cava.2\\r", "C:\\cava.2\\r.txt"}, {"/a.b/c.de/x", "/a.b/c.de/x.txt"},
      {"/d/r.tab", "/d/r.txt"},             {"/d/r.", "/d/r.txt"},                     {"/d/a.b.c", "/d/a.b.txt"},
      {"/d/rep.abcd", "/d/rep.abcd.txt"},   {"cava.2", "cava.txt"},                    {"r", "r.txt"},
      {"/d/cava.2/", ""},                   {"/d/.txt", ""},                           {"/d/*.TXT", ""},
      {"", ""},                             {"/d/.ab", ""}};
  for (const auto& [scelto, atteso] : casi)
    EXPECT_EQ(plat::WithShortExtensionReplaced(scelto, ".txt"), QString(atteso)) << scelto;
}

TEST(Files, DriveRootAndProgramFolder) {
  TestFolder t(false);
  EXPECT_EQ(plat::DriveC(), t.DriveC());
  EXPECT_EQ(plat::NativePath("c:\\testmode.tra"), t.DriveC() + "/testmode.tra");
  EXPECT_EQ(plat::NativePath("C:\\tempbv\\*.*"), t.DriveC() + "/tempbv/*.*");
  EXPECT_EQ(plat::NativePath("c:\\"), t.DriveC());
  EXPECT_EQ(plat::NativePath("data\\ita"), QString("data/ita"));
  EXPECT_EQ(plat::ProgramFolder(), t.Program());
  EXPECT_EQ(plat::JoinPath("a", "b"), QString("a/b"));
  EXPECT_EQ(plat::JoinPath("a/", "b"), QString("a/b"));
  EXPECT_EQ(plat::FileNamePart("x\\y/z.ses"), QString("z.ses"));
  EXPECT_EQ(plat::FolderPart("x\\y/z.ses"), QString("x\\y"));
  EXPECT_EQ(plat::Environ("OS"), QString("WINDOWS_NT"));

  WriteAnsi(t.P("Peldrix"), "#!/bin/sh\n");
  EXPECT_EQ(plat::ResolveProgram("peldrix.exe"), t.P("Peldrix"));
  EXPECT_EQ(plat::ResolveProgram("utility03.exe"), QString());

  const QString tmp = plat::TempFolder();
  EXPECT_TRUE(QFileInfo(tmp).isDir());
  EXPECT_EQ(plat::TempFolder(), tmp);
}

TEST(Files, ChangeFolderFollowsCase) {
  TestFolder t(false);
  QDir().mkpath(t.D("Sessioni"));
  EXPECT_TRUE(plat::ChangeFolder("SESSIONI"));
  EXPECT_EQ(plat::CurrentFolder(), t.D("Sessioni"));
  EXPECT_FALSE(plat::ChangeFolder("nowhere"));
  EXPECT_EQ(plat::CurrentFolder(), t.D("Sessioni"));
}

// A work file (a partition file of the clustering) is written in place; a symbolic link at its name is replaced
// by the file and what it points to is never written, a named pipe at its name is never written into, and a file
// that another name shares is replaced.
TEST(Files, WorkFilesAreWrittenWholeInPlace) {
  TestFolder t(false);
  ASSERT_TRUE(plat::WriteWorkFile("12", "first and longer\r\n"));
  EXPECT_EQ(testing_support::ReadBytes(t.D("12")), QByteArray("first and longer\r\n"));
  ASSERT_TRUE(plat::WriteWorkFile(t.D("12"), "short\r\n"));
  EXPECT_EQ(testing_support::ReadBytes(t.D("12")), QByteArray("short\r\n"));
  ASSERT_TRUE(plat::WriteWorkFile("12", "a longer text again\r\n"));
  EXPECT_EQ(testing_support::ReadBytes(t.D("12")), QByteArray("a longer text again\r\n"));
  EXPECT_FALSE(plat::WriteWorkFile(t.D("no/such/folder/1"), "x"));

  const QString altrove = t.Root() + "/altrove";
  WriteAnsi(altrove, "someone's file\n");
  ASSERT_TRUE(QFile::link(altrove, t.D("3")));
  ASSERT_TRUE(QFile::link(t.Root() + "/nessuno", t.D("4")));
  ASSERT_TRUE(plat::WriteWorkFile("3", "partition 3\r\n"));
  ASSERT_TRUE(plat::WriteWorkFile("4", "partition 4\r\n"));
  for (const char* nome : {"3", "4"}) {
    EXPECT_FALSE(QFileInfo(t.D(nome)).isSymLink()) << nome;
    EXPECT_EQ(testing_support::ReadBytes(t.D(nome)), QByteArray("partition ") + nome + "\r\n");
  }
  EXPECT_EQ(testing_support::ReadBytes(altrove), QByteArray("someone's file\r\n"));
  EXPECT_FALSE(QFileInfo::exists(t.Root() + "/nessuno"));
  const QByteArray tubo = QFile::encodeName(t.D("5"));
  ASSERT_EQ(mkfifo(tubo.constData(), 0600), 0);
  EXPECT_FALSE(plat::WriteWorkFile("5", "partition 5\r\n"));
  struct stat s {};
  ASSERT_EQ(::lstat(tubo.constData(), &s), 0);
  EXPECT_TRUE(S_ISFIFO(s.st_mode));

  // A file that another name shares (a hard link) is replaced, longer or shorter, and keeps its permissions; the
  // other name keeps what it held.
  for (const char* nome : {"6", "7"}) {
    WriteAnsi(t.D(nome), "the snapshot's partition\n");
    ASSERT_EQ(::chmod(QFile::encodeName(t.D(nome)).constData(), 0640), 0);
    const QByteArray copia = QFile::encodeName(t.Root() + "/copia" + nome);
    ASSERT_EQ(::link(QFile::encodeName(t.D(nome)).constData(), copia.constData()), 0);
  }
  ASSERT_TRUE(plat::WriteWorkFile("6", "partition 6\r\n"));
  ASSERT_TRUE(plat::WriteWorkFile("7", "partition 7, longer than the file it replaces\r\n"));
  for (const char* nome : {"6", "7"}) {
    EXPECT_EQ(testing_support::ReadBytes(t.Root() + "/copia" + nome), QByteArray("the snapshot's partition\r\n"));
    ASSERT_EQ(::lstat(QFile::encodeName(t.D(nome)).constData(), &s), 0);
    EXPECT_EQ(s.st_nlink, 1u) << nome;
    EXPECT_EQ(s.st_mode & 07777, 0640u) << nome;
  }
  EXPECT_EQ(testing_support::ReadBytes(t.D("6")), QByteArray("partition 6\r\n"));
  EXPECT_EQ(testing_support::ReadBytes(t.D("7")), QByteArray("partition 7, longer than the file it replaces\r\n"));
}

// A new numbered file takes the first number at which nothing stands, and claims it only when it is saved: what
// another program put at a name after it was chosen (a file, a link, a pipe, a folder, a name in another case)
// stays as it is, and the next free number is taken. A save that fails leaves no file and tells the name it was to
// take.
TEST(Files, ANewNumberedFileNeverReplacesWhatCameToItsNameMeanwhile) {
  TestFolder t(false);
  QDir().mkpath(t.D("pdf"));
  WriteAnsi(t.D("pdf/lavoro-1.pdf"), "first job\n");
  // Each name is taken by someone else once it has been found free.
  QMap<int, int> chiamate;
  const auto intanto = [&](int n) {
    const QString nome = t.D(QString("pdf/lavoro-%1.pdf").arg(n));
    if (++chiamate[n] == 2) {
      const QByteArray b = QFile::encodeName(n == 5 ? t.D("pdf/LAVORO-5.PDF") : nome);
      switch (n) {
        case 2: WriteAnsi(nome, "another job\n"); break;
        case 3: EXPECT_TRUE(QFile::link(t.Root() + "/altrove", nome)); break;
        case 4: EXPECT_EQ(::mkfifo(b.constData(), 0600), 0); break;
        case 5: WriteAnsi(QFile::decodeName(b), "in capitals\n"); break;
        case 6: EXPECT_TRUE(QDir().mkdir(nome)); break;
        default: break;
      }
    }
    return nome;
  };
  QString provato;
  EXPECT_EQ(plat::WriteNewNumberedFile(intanto, "this job", &provato), t.D("pdf/lavoro-7.pdf"));
  EXPECT_EQ(provato, t.D("pdf/lavoro-7.pdf"));
  EXPECT_EQ(testing_support::ReadBytes(t.D("pdf/lavoro-7.pdf")), QByteArray("this job"));
  EXPECT_EQ(testing_support::ReadBytes(t.D("pdf/lavoro-1.pdf")), QByteArray("first job\r\n"));
  EXPECT_EQ(testing_support::ReadBytes(t.D("pdf/lavoro-2.pdf")), QByteArray("another job\r\n"));
  EXPECT_TRUE(QFileInfo(t.D("pdf/lavoro-3.pdf")).isSymLink());
  EXPECT_FALSE(QFileInfo::exists(t.Root() + "/altrove"));
  struct stat s {};
  ASSERT_EQ(::lstat(QFile::encodeName(t.D("pdf/lavoro-4.pdf")).constData(), &s), 0);
  EXPECT_TRUE(S_ISFIFO(s.st_mode));
  EXPECT_TRUE(QFileInfo(t.D("pdf/lavoro-6.pdf")).isDir());
  QStringList presenti =
      QDir(t.D("pdf")).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
  presenti.sort();
  EXPECT_EQ(presenti.join(' ').toStdString(),
            "LAVORO-5.PDF lavoro-1.pdf lavoro-2.pdf lavoro-3.pdf lavoro-4.pdf lavoro-6.pdf lavoro-7.pdf");

  // The next job takes the next number; one that cannot be written whole leaves nothing.
  const auto nome = [&](int n) { return t.D(QString("pdf/lavoro-%1.pdf").arg(n)); };
  EXPECT_EQ(plat::WriteNewNumberedFile(nome, "next job"), t.D("pdf/lavoro-8.pdf"));
  QString fallito = "x";
  {
    testing_support::FileSizeLimit limite(32);
    fallito = plat::WriteNewNumberedFile(nome, QByteArray(100, 'p'), &provato);
  }
  EXPECT_TRUE(fallito.isEmpty());
  EXPECT_EQ(provato, t.D("pdf/lavoro-9.pdf"));
  EXPECT_EQ(QDir(t.D("pdf")).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot).size(), 8);
}

// Only regular files are read: a named pipe would block the open until a writer comes, a device would be read
// without end.
TEST(Files, OnlyRegularFilesAreRead) {
  TestFolder t;
  const QByteArray fifo = QFile::encodeName(t.D("tubo.fro"));
  ASSERT_EQ(mkfifo(fifo.constData(), 0600), 0);
  QByteArray data;
  EXPECT_FALSE(plat::ReadWholeFile(t.D("tubo.fro"), data));
  EXPECT_FALSE(plat::ReadWholeFile("/dev/zero", data));
  EXPECT_FALSE(plat::ReadWholeFile(t.D(""), data));
  EXPECT_TRUE(data.isEmpty());
  plat::SeqReader r;
  EXPECT_FALSE(r.Open(t.D("TUBO.FRO")));
  EXPECT_FALSE(r.Open("/dev/zero"));
}

// A file larger than any the suite writes is read by no reader, also not whole, and is never replaced by lines
// appended to it; a copy (an update's program) takes it whole.
TEST(Files, AFileBeyondTheBoundIsReadByNoReaderNorReplacedByAnAppend) {
  TestFolder t;
  {
    QFile f(t.D("grande.txt"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_TRUE(f.resize(plat::kLargestFileRead + 1));  // sparse: no disk taken
  }
  QByteArray data;
  EXPECT_FALSE(plat::ReadWholeFile(t.D("grande.txt"), data));
  EXPECT_EQ(plat::ReadDataFile(t.D("grande.txt"), data), plat::ReadFault::TooLarge);
  {
    plat::SeqWriter w(t.D("grande.txt"), true);
    EXPECT_FALSE(w.IsOpen());
    w.WriteLine("altro");
    EXPECT_FALSE(w.Close());
  }
  EXPECT_EQ(QFileInfo(t.D("grande.txt")).size(), plat::kLargestFileRead + 1);
  ASSERT_TRUE(plat::CopyFileOver(t.D("grande.txt"), t.D("copia.txt")));
  EXPECT_EQ(QFileInfo(t.D("copia.txt")).size(), plat::kLargestFileRead + 1);
}

// A save that does not reach the file whole (a file-size limit, failing the writes as a full disk does) is a
// failure: the old file stays byte for byte and no temporary file is left beside it. Small saves and saves larger
// than any write buffer alike, through the whole-file save and through the sequential writer.
TEST(Files, ASaveThatDoesNotReachTheFileWholeFailsAndKeepsTheOldFile) {
  TestFolder t(false);
  const QByteArray vecchio = "old slope\r\n";
  {
    QFile f(t.D("esempio.fro"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(vecchio) == vecchio.size());
  }
  bool piccolo = true, grande = true, sequenziale = true, entro = false;
  {
    testing_support::FileSizeLimit limite(32);
    piccolo = plat::WriteWholeFile(t.D("esempio.fro"), QByteArray(74, 'f'));
    grande = plat::WriteWholeFile(t.D("esempio.fro"), QByteArray(100000, 'g'));
    plat::SeqWriter w(t.D("ESEMPIO.FRO"));
    w.WriteLine(QString(40, QLatin1Char('s')));
    sequenziale = w.Close();
    entro = plat::WriteWholeFile(t.D("nuovo.fro"), "within\r\n");
  }
  EXPECT_FALSE(piccolo);
  EXPECT_FALSE(grande);
  EXPECT_FALSE(sequenziale);
  EXPECT_TRUE(entro);
  EXPECT_EQ(testing_support::ReadBytes(t.D("esempio.fro")), vecchio);
  EXPECT_EQ(testing_support::ReadBytes(t.D("nuovo.fro")), QByteArray("within\r\n"));
  EXPECT_EQ(QDir(t.Data()).entryList(QDir::Files | QDir::Hidden | QDir::System),
            QStringList({"esempio.fro", "nuovo.fro"}));
}

// A save never writes through a symbolic link: the new file takes the link's place, and the file the link pointed to
// (outside the session folder, standing in for any file or device of the user's) stays as it was; a link that
// points nowhere is replaced too. A name that holds neither a regular file nor a link (a named pipe here, as a
// device would) is never replaced: the save fails and the name stays what it was. A replaced file keeps its
// permissions.
TEST(Files, ASaveReplacesASymbolicLinkAndNeverWritesThroughIt) {
  TestFolder t(false);
  QDir().mkpath(t.D("sessione"));
  const QString altrove = t.Root() + "/altrove";
  WriteAnsi(altrove, "someone's file\n");
  ASSERT_TRUE(QFile::link(altrove, t.D("sessione/esempio.tab")));
  ASSERT_TRUE(QFile::link(altrove, t.D("sessione/esempio.txt")));
  ASSERT_TRUE(QFile::link(t.Root() + "/nessuno", t.D("sessione/esempio.DOC")));
  ASSERT_TRUE(plat::WriteWholeFile(t.D("sessione/esempio.tab"), "report\r\n"));
  plat::SeqWriter w(t.D("sessione/ESEMPIO.TXT"));  // the existing name in another case
  w.WriteLine("text");
  ASSERT_TRUE(w.Close());
  ASSERT_TRUE(plat::WriteWholeFile(t.D("sessione/esempio.doc"), "document"));
  for (const char* nome : {"esempio.tab", "esempio.txt", "esempio.DOC"}) {
    const QFileInfo f(t.D("sessione/") + nome);
    EXPECT_FALSE(f.isSymLink()) << nome;
    EXPECT_TRUE(f.isFile()) << nome;
  }
  EXPECT_EQ(testing_support::ReadBytes(t.D("sessione/esempio.tab")), QByteArray("report\r\n"));
  EXPECT_EQ(testing_support::ReadBytes(t.D("sessione/esempio.txt")), QByteArray("text\r\n"));
  EXPECT_EQ(testing_support::ReadBytes(t.D("sessione/esempio.DOC")), QByteArray("document"));
  EXPECT_EQ(testing_support::ReadBytes(altrove), QByteArray("someone's file\r\n"));
  EXPECT_FALSE(QFileInfo::exists(t.Root() + "/nessuno"));

  const QByteArray tubo = QFile::encodeName(t.D("sessione/tubo.fro"));
  ASSERT_EQ(mkfifo(tubo.constData(), 0600), 0);
  EXPECT_FALSE(plat::WriteWholeFile(t.D("sessione/tubo.fro"), "slope"));
  struct stat s {};
  ASSERT_EQ(::lstat(tubo.constData(), &s), 0);
  EXPECT_TRUE(S_ISFIFO(s.st_mode));
  EXPECT_EQ(QDir(t.D("sessione")).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
            QStringList({"esempio.DOC", "esempio.tab", "esempio.txt", "tubo.fro"}));

  const QByteArray tab = QFile::encodeName(t.D("sessione/esempio.tab"));
  ASSERT_EQ(::chmod(tab.constData(), 0640), 0);
  ASSERT_TRUE(plat::WriteWholeFile(t.D("sessione/esempio.tab"), "again"));
  ASSERT_EQ(::lstat(tab.constData(), &s), 0);
  EXPECT_EQ(s.st_mode & 07777, 0640u);
}

// The temporary file of a save fits every name a file system takes: a file of 251 characters is saved, through the
// whole-file save and through the sequential writer. A temporary file of the suite left beside a file by a save
// that was killed before its rename goes at the next save of that file; one that a save still writes (it holds
// it locked) is left to that save.
TEST(Files, TemporaryFilesFitEveryNameAndNoLeftoverStays) {
  TestFolder t(false);
  const QString lungo = QString(247, QLatin1Char('r')) + ".fro";
  ASSERT_EQ(lungo.size(), 251);
  EXPECT_TRUE(plat::WriteWholeFile(t.D(lungo), "slope\r\n"));
  EXPECT_EQ(testing_support::ReadBytes(t.D(lungo)), QByteArray("slope\r\n"));
  plat::SeqWriter w(t.D(lungo.toUpper()));
  w.WriteLine("slope again");
  EXPECT_TRUE(w.Close());
  EXPECT_EQ(testing_support::ReadBytes(t.D(lungo)), QByteArray("slope again\r\n"));
  EXPECT_EQ(QDir(t.Data()).entryList(QDir::Files | QDir::Hidden | QDir::System), QStringList({lungo}));

  // A whole copy left by a killed save, and one that another save holds.
  WriteAnsi(t.D("esempio.fro.frattix~"), "left over\n");
  WriteAnsi(t.D("esempio.tab.frattix~"), "being written\n");
  QFile scritto(t.D("esempio.tab.frattix~"));
  ASSERT_TRUE(scritto.open(QIODevice::ReadWrite));
  ASSERT_EQ(::flock(scritto.handle(), LOCK_EX | LOCK_NB), 0);
  EXPECT_TRUE(plat::WriteWholeFile(t.D("esempio.fro"), "slope\r\n"));
  EXPECT_TRUE(plat::WriteWholeFile(t.D("esempio.tab"), "report\r\n"));
  EXPECT_EQ(QDir(t.Data()).entryList(QDir::Files | QDir::Hidden | QDir::System),
            QStringList({"esempio.fro", "esempio.tab", "esempio.tab.frattix~", lungo}));
  EXPECT_EQ(testing_support::ReadBytes(t.D("esempio.tab")), QByteArray("report\r\n"));
  EXPECT_EQ(testing_support::ReadBytes(t.D("esempio.tab.frattix~")), QByteArray("being written\r\n"));
  // Once that save has ended without its rename, the next save removes what it left.
  scritto.close();
  EXPECT_TRUE(plat::WriteWholeFile(t.D("esempio.tab"), "report again\r\n"));
  EXPECT_EQ(QDir(t.Data()).entryList(QDir::Files | QDir::Hidden | QDir::System),
            QStringList({"esempio.fro", "esempio.tab", lungo}));
}
