// Faults in whole runs of the main program on a copy of the example session: a save that fails half-way as on a
// full disk, and a session folder or a program folder the user cannot write to. Each ends with a message, the old
// files intact and no half-written file left behind.
#include "tests/support/support.h"
#include "common/platform/files.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>

#include <sys/stat.h>
#include <unistd.h>

using namespace testing_support;

namespace {

constexpr const char* kNonScritto = "non puo' essere scritto";

class Guasti : public ::testing::Test {
 protected:
  Guasti() = default;
  // The test's files in `cartella` instead of the build's folder for tests.
  explicit Guasti(const QString& cartella) : t(true, cartella) {}
  void SetUp() override {
    t.AddPrograms({"frattix32", "TALVOR", "EIGEN", "peldrix"});
    WriteAnsi(t.P("language.cfg"), " 1 \n");
    QDir(t.Data()).mkpath("rilievi");
    QDir(t.Data()).mkpath("home");
    QDir esempi(QStringLiteral(FRATTIX_TEST_SOURCE_DIR "/examples"));
    for (const QString& f : esempi.entryList(QDir::Files)) QFile::copy(esempi.filePath(f), R(f));
    // An old report and old tables of the session, which a failed command must leave as they are.
    WriteAnsi(R("esempio.txt"), "vecchio tabulato\n");
    WriteAnsi(R("esempio.FAM"), "N. Fam.\tImmers.\tInclinaz.\tApertura\tFrequenza\tPhi\tCoesione\n"
                                "1\t122.0\t64.0\t1.5\t2.35\t35.00\t20.00\n");
    WriteScript(t.P("editore"), "#!/bin/sh\nexit 0\n");
    WriteAnsi(t.P("editor.cfg"), "\n" + t.P("editore") + "\n");
  }
  QString R(const QString& nome) const { return t.D("rilievi/" + nome); }
  // The session folder's files: name and a digest of the content.
  QMap<QString, QString> Cartella() const {
    QMap<QString, QString> file;
    for (const QString& f : QDir(t.D("rilievi")).entryList(QDir::Files | QDir::Hidden))
      file.insert(f, QString::fromLatin1(QCryptographicHash::hash(ReadBytes(R(f)), QCryptographicHash::Sha1).toHex()));
    return file;
  }
  // Writes the script of each program into the folder of scripts, one file a program.
  void Copioni(const QMap<QString, QString>& copioni) const {
    QDir(t.Root() + "/script").removeRecursively();
    QDir(t.Root()).mkpath("script");
    for (auto it = copioni.begin(); it != copioni.end(); ++it)
      WriteAnsi(t.Root() + "/script/" + it.key() + ".script", it.value());
  }
  // Every later start of `programma` runs it where a file may hold no more than `byte` bytes, as on a disk that is
  // full beyond them (SIGXFSZ ignored, so a write past the limit fails); its children inherit the limit, and a
  // child limited too takes its own. A wrapper takes its name and starts it as "<programma>-limitato", the name its
  // script and its log lines then go by.
  void Limita(const QString& programma, qint64 byte) {
    const QString limitato = t.P(programma + "-limitato");
    if (!QFile::exists(limitato)) {
      ASSERT_TRUE(QFile::rename(t.P(programma), limitato));
    }
    WriteScript(t.P(programma), QString("#!/bin/sh\ntrap '' XFSZ\nexec /usr/bin/prlimit --fsize=%1: -- %2 \"$@\"\n")
                                    .arg(byte)
                                    .arg(limitato));
  }
  // A run whose programs log through a named pipe, which a program under a file-size limit can still write to;
  // the lines are copied to ui.log afterwards.
  RunResult EseguiLimitato(const QString& script) {
    PipeLog log(t.Root() + "/ui.pipe");
    QProcessEnvironment env;
    env.insert("FRATTIX_UI_LOG", log.Path());
    const RunResult r = Esegui(script, env);
    QFile f(t.D("ui.log"));
    if (f.open(QIODevice::WriteOnly)) f.write((log.Lines().join('\n') + '\n').toUtf8());
    return r;
  }
  // TALVOR's clustering window: group average, level 4, the two heaviest clusters kept within 20 degrees.
  static QString DueFamiglie() {
    return "check Option3 1\npress Command3\nset Text1 4\nkey Text1 Enter\npress Picture3\nkey Picture1 Right\n"
           "press Picture3\nset Text1 20\nkey Text1 Enter\npress Command1\n";
  }
  RunResult Esegui(const QString& script, const QProcessEnvironment& altro = QProcessEnvironment()) {
    QProcessEnvironment env = ScriptedRunEnvironment(t, script);
    if (script.isEmpty()) env.insert("FRATTIX_UI_SCRIPT", t.Root() + "/script");  // one script per program
    env.insert("PATH", "/usr/bin:/bin");
    env.insert("HOME", t.D("home"));
    for (const QString& k : altro.keys()) env.insert(k, altro.value(k));
    QFile::remove(t.D("ui.log"));
    return RunProgram(t.P("frattix32"), {R("esempio.ses")}, t.Data(), env, 120000);
  }
  QStringList Messaggi() const { return ReadLog(t.D("ui.log")).filter("\tmsgbox\t"); }
  // Starts the main program on the session, headless with `env`, without waiting for it: the test acts meanwhile.
  void Avvia(QProcess& principale, const QProcessEnvironment& env) const {
    QProcessEnvironment tutto = QProcessEnvironment::systemEnvironment();
    tutto.insert("QT_QPA_PLATFORM", "offscreen");
    for (const QString& k : env.keys()) tutto.insert(k, env.value(k));
    principale.setProcessEnvironment(tutto);
    principale.setWorkingDirectory(t.Data());
    principale.setProcessChannelMode(QProcess::MergedChannels);
    principale.start(t.P("frattix32"), {R("esempio.ses")});
  }
  TestFolder t;
};

// The commands that write into the session folder: the slope front (field form), the results report as text, the
// selection criteria.
const char* const kComandiCheScrivono =
    "menu EdizioneFronte\nset Text1(4) 0\npress Command1(0)\nanswer OK \"esempio.fro\"\n"
    "menu esptabtxt\nanswer OK \"esempio.tab\"\n"
    "menu EdizioneSelezione\npress Command1\nanswer OK \"esempio.ses\"\n"
    "close menu1\n";

// The text of a message of the log that tells a damaged file, without the line by which the results report adds
// that it made no report.
std::string TestoDelDanno(const QString& messaggio) {
  static const QString nonProdotto = "\\nIl tabulato dei risultati non e' stato prodotto.";
  QString testo = messaggio.section('\t', 3);
  if (testo.endsWith(nonProdotto)) testo.chop(nonProdotto.size());
  return testo.toStdString();
}

TEST_F(Guasti, ASaveThatFailsHalfWayLeavesTheOldFileAndSaysSo) {
  const auto prima = Cartella();
  QProcessEnvironment env;
  env.insert("FRATTIX_FAIL_SAVE", "esempio.*");
  const RunResult r = Esegui(kComandiCheScrivono, env);
  ASSERT_EQ(r.exitCode, 0) << r.output.toStdString() << ReadLog(t.D("ui.log")).join("\n").toStdString();
  const QStringList m = Messaggi();
  ASSERT_EQ(m.size(), 3) << r.output.toStdString() << ReadLog(t.D("ui.log")).join("\n").toStdString();
  for (const QString& riga : m) EXPECT_TRUE(riga.contains(kNonScritto)) << riga.toStdString();
  // Every old file byte for byte, no new file and no temporary file left behind.
  EXPECT_EQ(Cartella(), prima);
}

// A real full disk under every save of the main program: the slope file from its form, the results report, the
// selection criteria, the family parameters from their grid and the pen table, where no file may grow beyond 8
// bytes; the survey sheet from its grid and the sheet report, beyond 4096 bytes (the file that
// names the folder of the sheets fits). Each save says it failed and the old file stays byte for byte, with no
// temporary file beside it.
TEST_F(Guasti, EverySaveOfTheMainProgramOnAFullDiskKeepsTheOldFileAndSaysSo) {
  Copioni({{"frattix32", "menu CalcoliCluster\nclose menu1\n"}, {"TALVOR", DueFamiglie()}});
  ASSERT_EQ(Esegui("").exitCode, 0);
  ASSERT_TRUE(Messaggi().isEmpty()) << Messaggi().join("\n").toStdString();
  const auto prima = Cartella();
  const QByteArray penne = ReadBytes(t.P("korvenITA.CFG"));
  const struct {
    qint64 limite;
    const char* script;
    int messaggi;
  } casi[] = {
      {8,
       "menu EdizioneFronte\nset Text1(4) 0\npress Command1(0)\nanswer OK \"esempio.fro\"\n"
       "menu esptabtxt\nanswer OK \"esempio.tab\"\n"
       "menu EdizioneSelezione\npress Command1\nanswer OK \"esempio.ses\"\n"
       "menu EdizioneFamiglie\npress Command1(0)\nanswer OK \"esempio.pgm\"\n"
       "menu configura\npress Command1\nanswer OK \".CFG\"\npress Command2\nclose menu1\n",
       5},
      {4096,
       "menu EdizioneScheda\nfile fronte_est.sch\npress Command1(0)\npress base2_32.Command1(0)\n"
       "answer OK \"fronte_est.sch\"\nmenu espsctxt\nfile fronte_est.sch\nanswer OK \"fronte_est.tab\"\nclose menu1\n",
       2},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.limite);
    Limita("frattix32", c.limite);
    const RunResult r = EseguiLimitato(c.script);
    ASSERT_EQ(r.exitCode, 0) << r.output.toStdString() << ReadLog(t.D("ui.log")).join("\n").toStdString();
    const QStringList m = Messaggi();
    ASSERT_EQ(m.size(), c.messaggi) << m.join("\n").toStdString();
    for (const QString& riga : m) EXPECT_TRUE(riga.contains(kNonScritto)) << riga.toStdString();
  }
  EXPECT_EQ(Cartella(), prima);
  EXPECT_EQ(ReadBytes(t.P("korvenITA.CFG")), penne);
}

// A real full disk under the saves of the child programs: TALVOR's clustering result (no file beyond 2000 bytes,
// which the partition files of the aggregation fit in), PELDRIX's wedge table, wenlow's Word document and MIRVANE's
// DXF drawing (its plot's scratch files fit). Each program says the save failed and the old file stays (the old wedge
// table excepted, which the stability command removes before PELDRIX starts).
TEST_F(Guasti, TheSavesOfTheChildProgramsOnAFullDiskKeepTheOldFileAndSaySo) {
  t.AddPrograms({"MIRVANE", "wenlow"});
  Copioni({{"frattix32", "menu CalcoliCluster\nclose menu1\n"}, {"TALVOR", DueFamiglie()}});
  ASSERT_EQ(Esegui("").exitCode, 0);
  ASSERT_TRUE(Messaggi().isEmpty()) << Messaggi().join("\n").toStdString();
  ASSERT_TRUE(QFile::exists(R("esempio.dat")) && QFile::exists(R("esempio.GMC")));
  WriteAnsi(R("esempio.DOC"), "vecchio documento\n");
  WriteAnsi(R("stella.dxf"), "vecchio disegno\n");
  auto prima = Cartella();
  const struct {
    const char* programma;
    qint64 limite;
    const char* comando;
    QString copione;
    const char* file;
    int messaggi;
  } casi[] = {
      {"TALVOR", 2000, "CalcoliCluster", DueFamiglie() + "answer OK \"esempio.dat\"\n", "esempio.dat", 1},
      {"peldrix", 60, "CalcoliStabilita", "answer OK \"esempio.GMC\"\n", "esempio.GMC", 1},
      // The question whether to replace the old document comes first.
      {"wenlow", 1000, "EsportaTabulatiDOC", "answer Yes \"esempio.DOC\"\nanswer OK \"esempio.DOC\"\n", "esempio.DOC",
       2},
      {"MIRVANE", 46000, "GraficaStellare",
       "press Picture4\nfile " + R("stella.dxf") + "\nanswer OK \"stella.dxf\"\npress Picture6\n", "stella.dxf", 1},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.programma);
    Limita(c.programma, c.limite);
    const QString limitato = QString(c.programma) + "-limitato";
    // TALVOR, limited since the first case, starts PELDRIX in the stability command and shows nothing itself.
    QMap<QString, QString> copioni = {{"frattix32", QString("menu %1\nclose menu1\n").arg(c.comando)},
                                      {"TALVOR-limitato", ""}};
    copioni.insert(limitato, c.copione);
    Copioni(copioni);
    const RunResult r = EseguiLimitato("");
    ASSERT_EQ(r.exitCode, 0) << r.output.toStdString() << ReadLog(t.D("ui.log")).join("\n").toStdString();
    const QStringList m = Messaggi();
    ASSERT_EQ(m.size(), c.messaggi) << m.join("\n").toStdString();
    EXPECT_TRUE(m.last().startsWith(limitato + "\t") && m.last().contains(c.file)) << m.last().toStdString();
    EXPECT_TRUE(ReadLog(t.D("ui.log")).filter("\tfatal\t").isEmpty());
  }
  // The Word export writes its report first, and every launch the graphics options. The stability command removes
  // the wedge table of the run before it starts PELDRIX, so that no table stands beside inputs it was not made from.
  auto dopo = Cartella();
  EXPECT_FALSE(dopo.contains("esempio.GMC"));
  for (const char* nuovo : {"esempio.tab", "esempio.GRA", "esempio.GMC"}) {
    prima.remove(nuovo);
    dopo.remove(nuovo);
  }
  EXPECT_EQ(dopo, prima);
}

// A session folder received from someone else whose clustering result, report, text, Word and sheet-report files
// are symbolic links to files elsewhere (standing in for any file or device of the user's): the cluster run, the
// report preview, the text and Word exports and the sheet report each put their file in the link's place, and the
// files the links pointed to stay as they were.
TEST_F(Guasti, SavesReplaceSymbolicLinksInTheSessionFolderAndNeverWriteThroughThem) {
  t.AddPrograms({"wenlow"});
  const QString altrove = t.Root() + "/altrove/";
  QDir(t.Root()).mkpath("altrove");
  const QStringList nomi = {"esempio.dat", "esempio.tab", "esempio.txt", "esempio.DOC", "fronte_est.tab"};
  for (const QString& nome : nomi) {
    WriteAnsi(altrove + nome, "un file di altri: " + nome + "\n");
    QFile::remove(R(nome));
    ASSERT_TRUE(QFile::link(altrove + nome, R(nome)));
  }
  Copioni({{"frattix32", "menu CalcoliCluster\nmenu VisualizzaAnteprimaTabulati\nclose Form1\n"
                         "menu esptabtxt\nanswer Yes \"esempio.txt\"\nmenu EsportaTabulatiDOC\n"
                         "menu espsctxt\nfile fronte_est.sch\nclose menu1\n"},
           {"TALVOR", DueFamiglie()},
           {"wenlow", "answer Yes \"esempio.DOC\"\n"}});
  const RunResult r = Esegui("");
  ASSERT_EQ(r.exitCode, 0) << r.output.toStdString() << ReadLog(t.D("ui.log")).join("\n").toStdString();
  // The questions before the text and the Word document replace files of those names.
  const QStringList m = Messaggi();
  ASSERT_EQ(m.size(), 2) << m.join("\n").toStdString();
  for (const QString& riga : m) EXPECT_TRUE(riga.contains("Volete sovrascrivere")) << riga.toStdString();
  for (const QString& nome : nomi) {
    const QFileInfo f(R(nome));
    EXPECT_FALSE(f.isSymLink()) << nome.toStdString();
    EXPECT_TRUE(f.isFile() && f.size() > 100) << nome.toStdString();
    EXPECT_EQ(ReadAnsi(altrove + nome).toStdString(), ("un file di altri: " + nome + "\n").toStdString());
  }
}

TEST_F(Guasti, AClusterResultThatCannotBeSavedLeavesTheResultOfTheRunBefore) {
  QDir(t.Root()).mkpath("script");
  WriteAnsi(t.Root() + "/script/frattix32.script", "menu CalcoliCluster\nclose menu1\n");
  const QString talvor = "check Option3 1\npress Command3\nset Text1 4\nkey Text1 Enter\npress Picture3\n%1press Picture3\n"
                         "set Text1 20\nkey Text1 Enter\npress Command1\n";
  WriteAnsi(t.Root() + "/script/TALVOR.script", talvor.arg("key Picture1 Right\n"));
  ASSERT_EQ(Esegui("").exitCode, 0);
  ASSERT_TRUE(Messaggi().isEmpty()) << Messaggi().join("\n").toStdString();
  const auto prima = Cartella();
  ASSERT_TRUE(prima.contains("esempio.dat"));
  // One family fewer this time, and the disk full when the result is saved.
  WriteAnsi(t.Root() + "/script/TALVOR.script", talvor.arg("") + "answer OK \"esempio.dat\"\n");
  QProcessEnvironment env;
  env.insert("FRATTIX_FAIL_SAVE", "esempio.dat");
  const RunResult r = Esegui("", env);
  ASSERT_EQ(r.exitCode, 0) << r.output.toStdString() << ReadLog(t.D("ui.log")).join("\n").toStdString();
  const QStringList m = Messaggi();
  ASSERT_EQ(m.size(), 1) << m.join("\n").toStdString();
  EXPECT_TRUE(m[0].startsWith("TALVOR\t")) << m[0].toStdString();
  EXPECT_TRUE(ReadLog(t.D("ui.log")).filter("\tfatal\t").isEmpty());
  // The result and the tables of the run before, byte for byte.
  EXPECT_EQ(Cartella(), prima);
}

TEST_F(Guasti, TalvorKilledInItsClusteringWindowIsReportedAndTheMainProgramGoesOn) {
  // TALVOR runs without a script, so its clustering window waits for a user; a wrapper notes its process id.
  ASSERT_TRUE(QFile::rename(t.P("TALVOR"), t.P("TALVOR-reale")));
  const QString pid = t.Root() + "/talvor.pid";
  WriteScript(t.P("TALVOR"), QString("#!/bin/sh\necho $$ > %1\nFRATTIX_UI_SCRIPT= exec %2\n").arg(pid, t.P("TALVOR-reale")));
  const auto prima = Cartella();
  QProcess principale;
  Avvia(principale, ScriptedRunEnvironment(t, "menu CalcoliCluster\nanswer OK \"TALVOR\"\nmenu EdizioneSelezione\n"
                                                "press Command1\nclose menu1\n"));
  ASSERT_TRUE(principale.waitForStarted());
  // Once the clustering window is shown, TALVOR is killed.
  bool finestra = false;
  for (int i = 0; i < 3000 && !finestra; ++i) {
    finestra = !ReadLog(t.D("ui.log")).filter("TALVOR-reale\twindow\tworkform\t").isEmpty();
    if (!finestra) QThread::msleep(10);
  }
  const qint64 id = QString::fromLatin1(ReadBytes(pid)).trimmed().toLongLong();
  if (finestra && id > 0) ::kill(static_cast<pid_t>(id), SIGKILL);
  const bool finito = principale.waitForFinished(60000);
  if (!finito) principale.kill();
  ASSERT_TRUE(finestra) << ReadLog(t.D("ui.log")).join("\n").toStdString();
  ASSERT_TRUE(finito);
  EXPECT_EQ(principale.exitCode(), 0) << principale.readAll().toStdString();
  const QStringList m = Messaggi();
  ASSERT_EQ(m.size(), 1) << ReadLog(t.D("ui.log")).join("\n").toStdString();
  EXPECT_TRUE(m[0].contains("terminato in modo anomalo")) << m[0].toStdString();
  // The menus answered again: the selection form was shown after the message. Nothing of the session was written.
  EXPECT_EQ(ReadLog(t.D("ui.log")).filter("frattix32\tform\tEdilineCeckBox\t").size(), 1);
  auto dopo = Cartella();
  dopo.remove("esempio.GRA");  // the graphics options are written before the start, as on every launch
  EXPECT_EQ(dopo, prima);
}

// Damaged numbers in the session's files, each on one line of a file of the example session after a cluster run:
// every program that reads the file says so with the file and the damaged line, and no file of the session is
// written over. The clustering result is read by the family-parameters command, TALVOR's cluster plot and
// PELDRIX; a survey sheet by TALVOR, MIRVANE and the sheet report, which refuse it with the same message; the
// slope file by the family-parameters command, the slope form, the results report and TALVOR's stability run; the
// graphics options by TALVOR and the options form.
TEST_F(Guasti, DamagedNumbersAreToldWithTheirFileAndLineAndNoFileIsWrittenOver) {
  t.AddPrograms({"MIRVANE"});
  Copioni({{"frattix32", "menu CalcoliCluster\nclose menu1\n"}, {"TALVOR", DueFamiglie()}});
  ASSERT_EQ(Esegui("").exitCode, 0);
  ASSERT_TRUE(Messaggi().isEmpty()) << Messaggi().join("\n").toStdString();
  const QMap<QString, QString> originali = {{"esempio.dat", ReadAnsi(R("esempio.dat"))},
                                            {"fronte_nord.sch", ReadAnsi(R("fronte_nord.sch"))},
                                            {"rampa.sch", ReadAnsi(R("rampa.sch"))},
                                            {"esempio.fro", ReadAnsi(R("esempio.fro"))},
                                            {"esempio.GRA", ReadAnsi(R("esempio.GRA"))}};
  const QString risultato = "menu EdizioneFamiglie\nanswer OK\nmenu GraficaCluster\npress Command1(0)\n"
                            "menu CalcoliStabilita\nclose menu1\n";
  const QString scheda =
      "menu CalcoliCluster\nmenu GraficaStellare\nmenu espsctxt\nfile fronte_nord.sch\nanswer OK\nclose menu1\n";
  const QString rampa =
      "menu CalcoliCluster\nmenu GraficaStellare\nmenu espsctxt\nfile rampa.sch\nanswer OK\nclose menu1\n";
  const QString fronte = "menu EdizioneFamiglie\nanswer OK\nmenu EdizioneFronte\nanswer OK\nmenu esptabtxt\nanswer OK\n"
                         "menu CalcoliStabilita\nclose menu1\n";
  const QString danneggiato = "Il file e' incompleto o danneggiato:\\n";
  const struct {
    const char* file;
    int riga;
    // The damaged line: the text that replaces the whole line, or (`colonna` from 1) the field at that column.
    QString testo;
    int colonna;
    QString script;
    QStringList messaggi;  // program and text before the file's name, in the order shown
  } casi[] = {
      // A decimal comma and a second number on a line of the clustering result, a line that holds no number.
      {"esempio.dat", 11, "1,5", 0, risultato,
       {"frattix32\t" + danneggiato, "TALVOR\t" + danneggiato, "peldrix\t" + danneggiato}},
      {"esempio.dat", 14, " 5 6", 0, risultato,
       {"frattix32\t" + danneggiato, "TALVOR\t" + danneggiato, "peldrix\t" + danneggiato}},
      {"esempio.dat", 12, "abc", 0, risultato,
       {"frattix32\t" + danneggiato, "TALVOR\t" + danneggiato, "peldrix\t" + danneggiato}},
      // The measuring line of a sheet: a letter O for a zero, a number beyond any direction.
      {"fronte_nord.sch", 3, "12O/15", 0, scheda,
       {"TALVOR\t" + danneggiato, "MIRVANE\t" + danneggiato, "frattix32\t" + danneggiato}},
      {"fronte_nord.sch", 3, "1e999/15", 0, scheda,
       {"TALVOR\t" + danneggiato, "MIRVANE\t" + danneggiato, "frattix32\t" + danneggiato}},
      // A record's multiplicity and aperture (line 26: Nu 3, Ap 6).
      {"fronte_nord.sch", 26, "O5", 2, scheda,
       {"TALVOR\t" + danneggiato, "MIRVANE\t" + danneggiato, "frattix32\t" + danneggiato}},
      {"fronte_nord.sch", 26, "1x", 33, scheda,
       {"TALVOR\t" + danneggiato, "MIRVANE\t" + danneggiato, "frattix32\t" + danneggiato}},
      // A record's fields in quotes (Dist "12", Imm "9", Inc "7"), and a figure followed by a Ctrl-Z: no number
      // as the sheet's grid writes it, never read as another one (a pole 0/0, a distance 0, or 7).
      {"rampa.sch", 11, QString(" 1  \"12\" GI \"9\" \"7\"  3 1 4 1 IRR 3  LIS DOL R2       "), 0, rampa,
       {"TALVOR\t" + danneggiato, "MIRVANE\t" + danneggiato, "frattix32\t" + danneggiato}},
      {"rampa.sch", 11, "7" + QString(QChar(0x1A)), 17, rampa,
       {"TALVOR\t" + danneggiato, "MIRVANE\t" + danneggiato, "frattix32\t" + danneggiato}},
      // The measuring line's length and direction in quotes, with a TAB.
      {"fronte_nord.sch", 5, "\"30\"", 0, scheda,
       {"TALVOR\t" + danneggiato, "MIRVANE\t" + danneggiato, "frattix32\t" + danneggiato}},
      {"fronte_nord.sch", 3, "120\t/15", 0, scheda,
       {"TALVOR\t" + danneggiato, "MIRVANE\t" + danneggiato, "frattix32\t" + danneggiato}},
      // The slope file: line 7 written twice makes a twentieth value; a face dip of 180 degrees.
      {"esempio.fro", 20, "0.05", 0, fronte,
       {"frattix32\t" + danneggiato, "frattix32\t" + danneggiato, "frattix32\t" + danneggiato,
        "TALVOR\t" + danneggiato}},
      {"esempio.fro", 1, "180", 0, fronte,
       {"frattix32\t" + danneggiato, "frattix32\t" + danneggiato, "frattix32\t" + danneggiato,
        "TALVOR\t" + danneggiato}},
      // The graphics options, read by TALVOR's cluster run and by the options form before a plot.
      {"esempio.GRA", 3, "1,2", 0, "menu CalcoliCluster\nmenu GraficaCluster\nanswer OK\nclose menu1\n",
       {"TALVOR\t" + danneggiato, "frattix32\t" + danneggiato}},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(QString("%1, riga %2: %3").arg(c.file).arg(c.riga).arg(c.testo).toStdString());
    for (auto it = originali.begin(); it != originali.end(); ++it) WriteAnsi(R(it.key()), it.value());
    QStringList righe = originali[c.file].split('\n');
    if (QString(c.file) == "esempio.fro" && c.riga == 20) {
      righe.insert(6, righe[6]);  // line 7 twice: every later value one line further down
    } else if (c.colonna > 0) {
      righe[c.riga - 1].replace(c.colonna - 1, c.testo.size(), c.testo);
    } else {
      righe[c.riga - 1] = c.testo;
    }
    WriteAnsi(R(c.file), righe.join('\n'));
    const auto prima = Cartella();
    // Each program answers the message it shows; TALVOR and peldrix show nothing else.
    Copioni({{"frattix32", c.script}, {"TALVOR", "answer OK\n"}, {"peldrix", "answer OK\n"}, {"MIRVANE", "answer OK\n"}});
    const RunResult r = Esegui("");
    EXPECT_EQ(r.exitCode, 0) << r.output.toStdString() << ReadLog(t.D("ui.log")).join("\n").toStdString();
    const QStringList m = Messaggi();
    EXPECT_EQ(m.size(), c.messaggi.size()) << m.join("\n").toStdString();
    const QString dove = QString("%1, riga %2\\n").arg(c.file).arg(c.riga);
    for (qsizetype i = 0; i < std::min(m.size(), c.messaggi.size()); ++i)
      EXPECT_TRUE(m[i].startsWith(c.messaggi[i].section('\t', 0, 0) + "\tmsgbox\tATTENZIONE!\t" +
                                  c.messaggi[i].section('\t', 1) + dove))
          << m[i].toStdString();
    // One text tells the damaged file in every program; the results report then says that it made no report.
    for (const QString& messaggio : m) EXPECT_EQ(TestoDelDanno(messaggio), TestoDelDanno(m[0]));
    EXPECT_TRUE(ReadLog(t.D("ui.log")).filter("\tfatal\t").isEmpty());
    // No file written over: the graphics options are written by every plot launch as they were, and the wedge
    // table is removed by the stability command before it starts PELDRIX, as on every run.
    auto dopo = Cartella();
    auto attesi = prima;
    if (c.script.contains("CalcoliStabilita")) attesi.remove("esempio.GMC");
    EXPECT_EQ(dopo, attesi);
  }
}

// A damaged file is told in one text by every program, in the language chosen: in English the main program's
// commands and TALVOR tell a damaged slope file, and wenlow a report it cannot split into its lines, in the same
// words, with the line and the folder named in English too (wenlow reads only the table of texts every program
// shares).
TEST_F(Guasti, ADamagedFileIsToldInOneTextByEveryProgramInTheLanguageChosen) {
  t.AddPrograms({"wenlow"});
  WriteAnsi(t.P("language.cfg"), " 5 \n");
  Copioni({{"frattix32", "menu CalcoliCluster\nclose menu1\n"}, {"TALVOR", DueFamiglie()}});
  ASSERT_EQ(Esegui("").exitCode, 0);
  ASSERT_TRUE(Messaggi().isEmpty()) << Messaggi().join("\n").toStdString();
  QStringList righe = ReadAnsi(R("esempio.fro")).split('\n');
  righe[0] = "180";  // a face dip of 180 degrees
  WriteAnsi(R("esempio.fro"), righe.join('\n'));
  Copioni({{"frattix32", "menu EdizioneFamiglie\nanswer OK\nmenu EdizioneFronte\nanswer OK\nmenu esptabtxt\nanswer OK\n"
                         "menu CalcoliStabilita\nclose menu1\n"},
           {"TALVOR", "answer OK\n"}});
  const RunResult r = Esegui("");
  EXPECT_EQ(r.exitCode, 0) << r.output.toStdString() << ReadLog(t.D("ui.log")).join("\n").toStdString();
  QStringList m = Messaggi();
  ASSERT_EQ(m.size(), 4) << m.join("\n").toStdString();
  const QString testo = "The file is incomplete or damaged:\\nesempio.fro, line 1\\nFolder: " +
                        QDir::toNativeSeparators(t.D("rilievi"));
  for (const QString& messaggio : m) EXPECT_EQ(messaggio.section('\t', 3).toStdString(), testo.toStdString());
  EXPECT_TRUE(m[0].startsWith("frattix32\t") && m[3].startsWith("TALVOR\t")) << m.join("\n").toStdString();

  WriteAnsi(t.D("cr.tab"), "#RESET 2,2,2,2,2,2,12,Arial\rRiga\r#ENDDOCUMENT\r");
  QFile::remove(t.D("ui.log"));
  const RunResult w = RunProgram(t.P("wenlow"), {t.D("cr.tab")}, t.Data(), ScriptedRunEnvironment(t, "answer OK\n"));
  EXPECT_EQ(w.exitCode, 1) << w.output.toStdString();
  m = Messaggi();
  ASSERT_EQ(m.size(), 1) << ReadLog(t.D("ui.log")).join("\n").toStdString();
  const QString documento = "The file is incomplete or damaged:\\ncr.tab, line 1\\nFolder: " +
                            QDir::toNativeSeparators(t.Data());
  EXPECT_EQ(m[0].section('\t', 3).toStdString(), documento.toStdString());
}

// The readers' limits are told as limits: MIRVANE's 1000 sheets, TALVOR's 300 points of a clustering result to
// plot, the 300 families of the family-parameters command; and a mode of TALVOR that is no mode is damage of the
// hand-over file, never taken as some mode.
TEST_F(Guasti, LimitsAreToldAsLimitsAndAModeThatIsNoModeAsDamage) {
  t.AddPrograms({"MIRVANE"});
  // A clustering result of 301 points and 301 clusters, one point each.
  QString dat = QString("\n").repeated(9) + " 301 \n" + QString(" .5\n 1\n .5\n 1\n").repeated(301) + " 301 \n .3\n";
  for (int k = 1; k <= 301; ++k) dat += QString(" 1 \n %1 \n").arg(k);
  WriteAnsi(R("esempio.dat"), dat);
  WriteAnsi(R("esempio.pgm"), "30\n.5\n");
  WriteAnsi(R("esempio.GRA"), " 1 \n 1 \n 1 \n 1 \n 1 \n 2 \n");
  const auto prima = Cartella();
  Copioni({{"frattix32", "menu GraficaCluster\npress Command1(0)\nmenu EdizioneFamiglie\nanswer OK\nclose menu1\n"},
           {"TALVOR", "answer OK\n"}});
  RunResult r = Esegui("");
  ASSERT_EQ(r.exitCode, 0) << r.output.toStdString() << ReadLog(t.D("ui.log")).join("\n").toStdString();
  QStringList m = Messaggi();
  ASSERT_EQ(m.size(), 2) << m.join("\n").toStdString();
  EXPECT_TRUE(m[0].startsWith("TALVOR\tmsgbox\tATTENZIONE!\tIl numero di punti supera il massimo ammesso:\\n300\\n"
                              "esempio.dat, riga 10\\n"))
      << m[0].toStdString();
  EXPECT_TRUE(m[1].startsWith("frattix32\tmsgbox\tATTENZIONE!\tIl numero di famiglie supera il massimo ammesso:\\n300\\n"
                              "esempio.dat, riga 1215\\n"))
      << m[1].toStdString();
  EXPECT_EQ(Cartella(), prima);

  // MIRVANE handed more sheets than it takes.
  QString passaggio = " 0 \n 0 \n 0 \n 1001 \n";
  for (int s = 1; s <= 1001; ++s) passaggio += QString("s%1.sch\n").arg(s);
  WriteAnsi(t.P("temporan"), passaggio + "esempio.ses\n");
  QFile::remove(t.D("ui.log"));
  r = RunProgram(t.P("MIRVANE"), {}, t.D("rilievi"), ScriptedRunEnvironment(t, "answer OK\n"));
  EXPECT_EQ(r.exitCode, 1) << r.output.toStdString();
  m = Messaggi();
  ASSERT_EQ(m.size(), 1) << ReadLog(t.D("ui.log")).join("\n").toStdString();
  EXPECT_TRUE(m[0].endsWith("\tIl numero di schede supera il massimo ammesso:\\n1000")) << m[0].toStdString();

  // TALVOR handed a mode that is not a whole number, or no int at all.
  for (const char* modo : {"2.5", "1e308", "99999999999999999999", "-1e10"}) {
    WriteAnsi(t.P("temporan"), QString(" 0 \n%1\n 0 \n 0 \nesempio.ses\n").arg(modo));
    QFile::remove(t.D("ui.log"));
    r = RunProgram(t.P("TALVOR"), {}, t.D("rilievi"), ScriptedRunEnvironment(t, "answer OK\n"));
    EXPECT_EQ(r.exitCode, 1) << modo << r.output.toStdString();
    m = Messaggi();
    ASSERT_EQ(m.size(), 1) << modo << ReadLog(t.D("ui.log")).join("\n").toStdString();
    EXPECT_TRUE(m[0].contains("\tIl file e' incompleto o danneggiato:\\ntemporan, riga 2\\n")) << m[0].toStdString();
  }
  EXPECT_EQ(Cartella(), prima);
}

// What stands at a name that a program reads, other than a file or than nothing (a folder, a named pipe, a link to a
// device), or a file with line ends that end no line: written over one file of the session at a time.
enum class Guasto { Cartella, Tubo, Dispositivo, SoloCR, CRInRiga };

// Puts `g` at `file` in place of the file (whose content `testo` was).
void Guasta(const QString& file, Guasto g, const QByteArray& testo) {
  QFile::remove(file);
  switch (g) {
    case Guasto::Cartella: ASSERT_TRUE(QDir().mkdir(file)); break;
    case Guasto::Tubo: ASSERT_EQ(::mkfifo(QFile::encodeName(file).constData(), 0600), 0); break;
    case Guasto::Dispositivo: ASSERT_TRUE(QFile::link("/dev/null", file)); break;
    case Guasto::SoloCR: {
      QFile f(file);
      ASSERT_TRUE(f.open(QIODevice::WriteOnly));
      f.write(QByteArray(testo).replace("\r\n", "\r"));
      break;
    }
    case Guasto::CRInRiga: {
      // A CR in the middle of the second line.
      QList<QByteArray> righe = testo.split('\n');
      ASSERT_GT(righe.size(), 2);
      righe[1].insert(righe[1].size() / 2, '\r');
      QFile f(file);
      ASSERT_TRUE(f.open(QIODevice::WriteOnly));
      f.write(righe.join('\n'));
      break;
    }
  }
}

// What stands at the name goes, and the file comes back.
void Ripristina(const QString& file, const QByteArray& testo) {
  QDir(file).removeRecursively();
  QFile::remove(file);
  QFile f(file);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(testo);
}

// Every reader of the session's files, in every program that reads them, after a cluster run: a folder, a named
// pipe or a link to a device at the name is said with the file, and with what stands there, never taken for a
// missing file (with no criteria file TALVOR and MIRVANE ran on every discontinuity, without a word); a file saved
// with CR line ends, or with a CR inside a line, is damage with the file and the line of that CR (the plot drew no
// wedge of such a wedge table, the report copied it as one row, the plots took every title as one). Nothing waits
// on a pipe, and no file of the session is written over.
TEST_F(Guasti, WhatIsNoFileOrCannotBeSplitIntoItsLinesIsSaidByEveryReader) {
  t.AddPrograms({"MIRVANE"});
  Copioni({{"frattix32", "menu CalcoliCluster\nclose menu1\n"}, {"TALVOR", DueFamiglie()}});
  ASSERT_EQ(Esegui("").exitCode, 0);
  ASSERT_TRUE(Messaggi().isEmpty()) << Messaggi().join("\n").toStdString();
  ASSERT_TRUE(QFile::exists(R("esempio.GMC")));
  // The cluster plot draws the wedges of the wedge table.
  WriteAnsi(R("esempio.GRA"), " 1 \n 1 \n 1 \n 1 \n 1 \n 1 \n");
  // Criteria as the command writes them for the installed configuration: 46 flags and six bounds.
  WriteAnsi(R("esempio.sel"), QString(" 1 \n").repeated(46) + "0\n100\n0\n360\n0\n90\n");
  const QString danneggiato = "Il file e' incompleto o danneggiato:\\n";
  const QString grafico = "menu GraficaCluster\npress Command1(0)\n";
  const struct {
    const char* file;
    Guasto guasto;
    int riga;  // of the messages; 0: the file as a whole
    QString script;
    QStringList messaggi;  // program and text before the file's name, in the order shown
  } casi[] = {
      {"esempio.sel", Guasto::Cartella, 0, "menu CalcoliCluster\nmenu GraficaStellare\n",
       {"TALVOR\t" + danneggiato, "MIRVANE\t" + danneggiato}},
      {"esempio.sel", Guasto::Tubo, 0, "menu CalcoliCluster\nmenu GraficaStellare\n",
       {"TALVOR\t" + danneggiato, "MIRVANE\t" + danneggiato}},
      {"esempio.GRA", Guasto::Tubo, 0, "menu CalcoliCluster\n", {"TALVOR\t" + danneggiato}},
      {"esempio.fro", Guasto::Cartella, 0, "menu CalcoliStabilita\nmenu EdizioneFronte\nanswer OK\nmenu esptabtxt\nanswer OK\n",
       {"TALVOR\t" + danneggiato, "frattix32\t" + danneggiato, "frattix32\t" + danneggiato}},
      {"esempio.dat", Guasto::Dispositivo, 0, grafico + "menu EdizioneFamiglie\nanswer OK\n",
       {"TALVOR\t" + danneggiato, "frattix32\t" + danneggiato}},
      {"esempio.GMC", Guasto::Cartella, 0, grafico + "menu esptabtxt\nanswer OK\n",
       {"TALVOR\t" + danneggiato, "frattix32\t" + danneggiato}},
      {"esempio.tit", Guasto::Tubo, 0, "menu GraficaStellare\nmenu esptabtxt\nanswer OK\n",
       {"MIRVANE\t" + danneggiato, "frattix32\t" + danneggiato}},
      {"esempio.GMC", Guasto::SoloCR, 1, grafico + "menu esptabtxt\nanswer OK\n",
       {"TALVOR\t" + danneggiato, "frattix32\t" + danneggiato}},
      {"esempio.GMC", Guasto::CRInRiga, 2, grafico + "menu esptabtxt\nanswer OK\n",
       {"TALVOR\t" + danneggiato, "frattix32\t" + danneggiato}},
      {"esempio.tit", Guasto::SoloCR, 1, grafico + "menu GraficaStellare\nmenu esptabtxt\nanswer OK\n",
       {"TALVOR\t" + danneggiato, "MIRVANE\t" + danneggiato, "frattix32\t" + danneggiato}},
      {"esempio.FAM", Guasto::SoloCR, 1, "menu esptabtxt\nanswer OK\n", {"frattix32\t" + danneggiato}},
      {"esempio.PER", Guasto::CRInRiga, 2, "menu esptabtxt\nanswer OK\n", {"frattix32\t" + danneggiato}},
      {"esempio.sel", Guasto::SoloCR, 1, "menu CalcoliCluster\nmenu GraficaStellare\n",
       {"TALVOR\t" + danneggiato, "MIRVANE\t" + danneggiato}},
      {"fronte_nord.sch", Guasto::CRInRiga, 2, "menu CalcoliCluster\nmenu GraficaStellare\n",
       {"TALVOR\t" + danneggiato, "MIRVANE\t" + danneggiato}},
  };
  QMap<QString, QByteArray> originali;
  for (const auto& c : casi) originali.insert(c.file, ReadBytes(R(c.file)));
  for (const auto& c : casi) {
    SCOPED_TRACE(QString("%1, %2").arg(c.file).arg(static_cast<int>(c.guasto)).toStdString());
    for (auto it = originali.begin(); it != originali.end(); ++it) Ripristina(R(it.key()), it.value());
    const QByteArray testo = originali[c.file];
    ASSERT_FALSE(testo.isEmpty());
    ASSERT_NO_FATAL_FAILURE(Guasta(R(c.file), c.guasto, testo));
    const auto prima = Cartella();
    // Each program answers the message it shows; TALVOR, MIRVANE and peldrix show nothing else.
    Copioni({{"frattix32", c.script + "close menu1\n"},
             {"TALVOR", "answer OK\n"},
             {"peldrix", "answer OK\n"},
             {"MIRVANE", "answer OK\n"}});
    QElapsedTimer tempo;
    tempo.start();
    const RunResult r = Esegui("");
    EXPECT_LT(tempo.elapsed(), 60000);
    EXPECT_EQ(r.exitCode, 0) << r.output.toStdString() << ReadLog(t.D("ui.log")).join("\n").toStdString();
    const QStringList m = Messaggi();
    EXPECT_EQ(m.size(), c.messaggi.size()) << m.join("\n").toStdString();
    const QString dove = c.riga ? QString("%1, riga %2\\n").arg(c.file).arg(c.riga) : QString("%1\\n").arg(c.file);
    for (qsizetype i = 0; i < std::min(m.size(), c.messaggi.size()); ++i) {
      EXPECT_TRUE(m[i].startsWith(c.messaggi[i].section('\t', 0, 0) + "\tmsgbox\tATTENZIONE!\t" +
                                  c.messaggi[i].section('\t', 1) + dove))
          << m[i].toStdString();
      // What stands at the name is told.
      const bool nessunFile = c.guasto == Guasto::Cartella || c.guasto == Guasto::Tubo || c.guasto == Guasto::Dispositivo;
      EXPECT_EQ(m[i].contains("Al nome non si trova un file, ma una cartella, una pipe o un dispositivo."), nessunFile)
          << m[i].toStdString();
    }
    // One text tells the damaged file in every program; the results report then says that it made no report.
    for (const QString& messaggio : m) EXPECT_EQ(TestoDelDanno(messaggio), TestoDelDanno(m[0]));
    EXPECT_TRUE(ReadLog(t.D("ui.log")).filter("\tfatal\t").isEmpty());
    // No file written over: the graphics options are written by every plot launch as they were, and the wedge
    // table is removed by the stability command before it starts PELDRIX, as on every run.
    auto dopo = Cartella();
    auto attesi = prima;
    if (c.script.contains("CalcoliStabilita")) attesi.remove("esempio.GMC");
    EXPECT_EQ(dopo, attesi);
  }
  for (auto it = originali.begin(); it != originali.end(); ++it) Ripristina(R(it.key()), it.value());
}

// A file larger than any of the suite at a name a program reads is refused with the damage message before it is
// read: TALVOR never opens a graphics options file of 300 MB (it took 1.25 GB and seconds to read it whole before
// it said that its first line was no number).
TEST_F(Guasti, AFileLargerThanAnyOfTheSuiteIsRefusedBeforeItIsRead) {
  ASSERT_TRUE(QFile::exists("/usr/bin/strace")) << "strace (scripts/setup installs it) shows the files opened";
  {
    QFile grande(R("esempio.GRA"));
    ASSERT_TRUE(grande.open(QIODevice::WriteOnly));
    ASSERT_TRUE(grande.resize(300LL * 1024 * 1024));  // sparse: no disk space taken
  }
  WriteAnsi(t.P("temporan"), " 0 \n 0 \n 0 \n 1 \nfronte_nord.sch\nesempio.ses\n");
  QProcessEnvironment env = ScriptedRunEnvironment(t, "answer OK\n");
  env.insert("ASAN_OPTIONS", "detect_leaks=0");  // the leak checker does not run under strace
  const QString tracce = t.Root() + "/aperture.txt";
  QFile::remove(t.D("ui.log"));
  const RunResult r = RunProgram("/usr/bin/strace", {"-f", "-qq", "-o", tracce, "-e", "trace=open,openat,openat2",
                                                     t.P("TALVOR")},
                                 t.D("rilievi"), env, 120000);
  ASSERT_TRUE(r.finished);
  const QStringList m = Messaggi();
  ASSERT_EQ(m.size(), 1) << ReadLog(t.D("ui.log")).join("\n").toStdString();
  // Told as too large, with its size, not as damaged.
  EXPECT_TRUE(m[0].startsWith(QString("TALVOR\tmsgbox\tATTENZIONE!\tIl file e' troppo grande: %1 > %2\\nesempio.GRA\\n")
                                  .arg(300LL * 1024 * 1024)
                                  .arg(plat::kLargestFileRead)))
      << m[0].toStdString();
  const QString aperture = QString::fromLocal8Bit(ReadBytes(tracce));
  EXPECT_FALSE(aperture.contains("esempio.GRA")) << aperture.toStdString();
  EXPECT_TRUE(aperture.contains("temporan"));  // the trace does show what TALVOR opens
  QFile::remove(R("esempio.GRA"));
}

// A dialog definition whose counts do not match the dialog of its command (the slope form's 19 fields written 18 or
// 0, a count with a second item, a line more at its end) is told at the start with the file and the line, and the
// command then says it again and opens no form: the slope form opened with fields that were not its own and no
// button. The other commands work on.
TEST_F(Guasti, ADefinitionThatDoesNotMatchItsDialogIsToldAndOpensNoForm) {
  const QString originale = ReadAnsi(t.P("EDITFRON.MAV"));
  const QStringList righe = originale.split('\n');
  ASSERT_EQ(righe[3], "19");
  const struct {
    QString testo;
    int riga;
  } casi[] = {
      {QStringList(righe.mid(0, 3) + QStringList{"18"} + righe.mid(4)).join('\n'), 4},
      {QStringList(righe.mid(0, 3) + QStringList{"0"} + righe.mid(4)).join('\n'), 4},
      {QStringList(righe.mid(0, 3) + QStringList{"19,1"} + righe.mid(4)).join('\n'), 4},
      {originale + "altro\n", static_cast<int>(righe.size())},
  };
  const auto prima = Cartella();
  for (const auto& c : casi) {
    SCOPED_TRACE(c.riga);
    WriteAnsi(t.P("EDITFRON.MAV"), c.testo);
    const RunResult r = Esegui(QString("answer OK \"EDITFRON.MAV, riga %1\"\nmenu EdizioneFronte\n"
                                       "answer OK \"EDITFRON.MAV\"\nmenu EdizioneTitoli\npress Command1(1)\n"
                                       "close menu1\n")
                                   .arg(c.riga));
    ASSERT_EQ(r.exitCode, 0) << r.output.toStdString() << ReadLog(t.D("ui.log")).join("\n").toStdString();
    const QStringList m = Messaggi();
    ASSERT_EQ(m.size(), 2) << m.join("\n").toStdString();
    EXPECT_TRUE(m[0].contains(QString("\tIl file e' incompleto o danneggiato:\\nEDITFRON.MAV, riga %1\\n")
                                  .arg(c.riga)))
        << m[0].toStdString();
    EXPECT_TRUE(m[1].contains("\tIl file e' incompleto o danneggiato:\\nEDITFRON.MAV\\n")) << m[1].toStdString();
    // The titles' form opens; the slope form never does.
    const QStringList forme = ReadLog(t.D("ui.log")).filter("\tform\t");
    EXPECT_EQ(forme.size(), 1) << forme.join("\n").toStdString();
    EXPECT_TRUE(forme.join("\n").contains("TITOLI")) << forme.join("\n").toStdString();
  }
  EXPECT_EQ(Cartella(), prima);
}

// Files of the program folder that every plot reads: a pen table whose colour number names none of its 15 colours
// (the element vanished from the plot), a DXF text style with a NUL in it (it went into the drawing), an overlap
// with a second number on its line (the first was taken). Each is said with the file as it is named on disk and
// the line; the plot program ends on a pen table it cannot take, and draws and prints with the usual style and
// overlap otherwise. No control character reaches the drawing.
TEST_F(Guasti, TheConfigurationFilesOfThePlotsAreToldWhenDamaged) {
  t.AddPrograms({"MIRVANE"});
  QDir(t.D("pdf")).removeRecursively();
  QDir(t.Data()).mkpath("pdf");
  QProcessEnvironment pdf;
  pdf.insert("FRATTIX_PDF_DIR", t.D("pdf"));
  const QString penne = ReadAnsi(t.P("korvenITA.CFG"));
  QStringList righe = penne.split('\n');
  // Element 5's colour number on line 18; the language code "ita" names korvenita.CFG, the file on disk is
  // korvenITA.CFG.
  for (const char* colore : {"16", "99", "-1", "1.5", "1e308"}) {
    SCOPED_TRACE(colore);
    righe[17] = colore;
    WriteAnsi(t.P("korvenITA.CFG"), righe.join('\n'));
    Copioni({{"frattix32", "menu GraficaStellare\nclose menu1\n"}, {"MIRVANE", "answer OK\n"}});
    const RunResult r = Esegui("", pdf);
    ASSERT_EQ(r.exitCode, 0) << r.output.toStdString();
    const QStringList m = Messaggi();
    ASSERT_EQ(m.size(), 1) << ReadLog(t.D("ui.log")).join("\n").toStdString();
    EXPECT_TRUE(m[0].startsWith("MIRVANE\tmsgbox\tATTENZIONE!\tLa tabella delle penne manca o e' incompleta:\\n"
                                "korvenITA.CFG, riga 18\\n"))
        << m[0].toStdString();
    EXPECT_TRUE(ReadLog(t.D("ui.log")).filter("\twindow\tGRAFICA").isEmpty());
  }
  WriteAnsi(t.P("korvenITA.CFG"), penne);

  {
    QFile f(t.P("dxf.cfg"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray("MONO\0\0\0\0\0\0\0\0\0\0\0\0\0TXT\r\n", 22));
  }
  WriteAnsi(t.P("overlap.cfg"), "1,5\n");
  const QString dxf = t.D("out.dxf");
  Copioni({{"frattix32", "menu GraficaStellare\nclose menu1\n"},
           {"MIRVANE", QString("press Picture5\nanswer OK \"overlap.cfg, riga 1\"\npress Picture4\nfile %1\n"
                               "answer OK \"dxf.cfg, riga 1\"\npress Picture6\n")
                           .arg(dxf)}});
  const RunResult r = Esegui("", pdf);
  ASSERT_EQ(r.exitCode, 0) << r.output.toStdString() << ReadLog(t.D("ui.log")).join("\n").toStdString();
  const QStringList m = Messaggi();
  ASSERT_EQ(m.size(), 2) << m.join("\n").toStdString();
  EXPECT_TRUE(m[0].contains("\tIl file e' incompleto o danneggiato:\\noverlap.cfg, riga 1\\n")) << m[0].toStdString();
  EXPECT_TRUE(m[1].contains("\tIl file e' incompleto o danneggiato:\\ndxf.cfg, riga 1\\n")) << m[1].toStdString();
  EXPECT_EQ(QDir(t.D("pdf")).entryList({"*.pdf"}, QDir::Files).size(), 1);
  const QByteArray disegno = ReadBytes(dxf);
  ASSERT_FALSE(disegno.isEmpty());
  EXPECT_EQ(disegno.count('\0'), 0);
  EXPECT_GT(disegno.count("MONOTXT"), 2);
  EXPECT_EQ(disegno.count("\r\n"), disegno.count('\n'));
}

// A clustering result whose point count is 0 is told at that line, line 10, by every reader (the line of the
// cluster count was told); blank lines after the last record of the wedge traces end the file as in every other
// reader (they were refused).
TEST_F(Guasti, AResultOfNoPointIsToldAtItsCountAndBlankLinesEndTheWedgeTraces) {
  Copioni({{"frattix32", "menu CalcoliCluster\nclose menu1\n"}, {"TALVOR", DueFamiglie()}});
  ASSERT_EQ(Esegui("").exitCode, 0);
  ASSERT_TRUE(Messaggi().isEmpty()) << Messaggi().join("\n").toStdString();
  const QString risultato = ReadAnsi(R("esempio.dat"));
  QStringList righe = risultato.split('\n');
  righe[9] = " 0 ";
  WriteAnsi(R("esempio.dat"), righe.join('\n'));
  Copioni({{"frattix32", "menu EdizioneFamiglie\nanswer OK\nmenu GraficaCluster\npress Command1(0)\nmenu CalcoliStabilita\n"
                         "close menu1\n"},
           {"TALVOR", "answer OK\n"},
           {"peldrix", "answer OK\n"}});
  RunResult r = Esegui("");
  ASSERT_EQ(r.exitCode, 0) << r.output.toStdString();
  QStringList m = Messaggi();
  ASSERT_EQ(m.size(), 3) << m.join("\n").toStdString();
  for (const QString& riga : m) EXPECT_TRUE(riga.contains("\\nesempio.dat, riga 10\\n")) << riga.toStdString();
  WriteAnsi(R("esempio.dat"), risultato);

  // Two wedge traces, then blank lines: the cluster plot draws them without a word.
  WriteAnsi(R("esempio.GRA"), " 1 \n 1 \n 1 \n 1 \n 1 \n 1 \n");
  WriteAnsi(R("esempio.tmp"), " 120 , 60 , 210 , 70 , 1.5 \n 30 \n 45 \n 300 \n 50 \n 0.8 \n\n\n  \n");
  Copioni({{"frattix32", "menu GraficaCluster\npress Command1(0)\nclose menu1\n"}, {"TALVOR", "press Picture6\n"}});
  r = Esegui("");
  ASSERT_EQ(r.exitCode, 0) << r.output.toStdString() << ReadLog(t.D("ui.log")).join("\n").toStdString();
  EXPECT_TRUE(Messaggi().isEmpty()) << Messaggi().join("\n").toStdString();
  EXPECT_EQ(ReadLog(t.D("ui.log")).filter("TALVOR\twindow\tGRAFICA").size(), 1);

  // A file that ends inside a record (four numbers of five) is damaged, told with its line, and nothing is drawn.
  WriteAnsi(R("esempio.tmp"), " 120 , 60 , 210 , 70 , 1.5 \n 30 , 45 , 300 , 50 \n");
  Copioni({{"frattix32", "menu GraficaCluster\npress Command1(0)\nclose menu1\n"}, {"TALVOR", "answer OK\n"}});
  r = Esegui("");
  ASSERT_EQ(r.exitCode, 0) << r.output.toStdString() << ReadLog(t.D("ui.log")).join("\n").toStdString();
  m = Messaggi();
  ASSERT_EQ(m.size(), 1) << m.join("\n").toStdString();
  EXPECT_TRUE(m[0].contains("\tIl file e' incompleto o danneggiato:\\nesempio.tmp, riga 2")) << m[0].toStdString();
  EXPECT_TRUE(ReadLog(t.D("ui.log")).filter("TALVOR\twindow\tGRAFICA").isEmpty());
}

// A text table saved with CR line ends stops every program at its start with a message that names the table as it
// is named on disk and the line.
TEST_F(Guasti, ATextTableThatCannotBeSplitIntoItsLinesIsNamedAsItIsOnDisk) {
  const QByteArray testi = ReadBytes(t.P("texts01.txt"));
  QFile::remove(t.P("texts01.txt"));
  {
    QFile f(t.P("TEXTS01.TXT"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(testi).replace("\r\n", "\r"));
  }
  const RunResult r = Esegui("answer OK\n");
  EXPECT_NE(r.exitCode, 0);
  const QStringList fatali = ReadLog(t.D("ui.log")).filter("\tfatal\t");
  ASSERT_EQ(fatali.size(), 1) << ReadLog(t.D("ui.log")).join("\n").toStdString();
  EXPECT_TRUE(fatali[0].contains("/TEXTS01.TXT holds a CR that ends no line, on line 1.")) << fatali[0].toStdString();
}

// Whether `file` is a PDF document whole (pdfinfo reads it).
bool PdfIntero(const QString& file) {
  const RunResult r = RunProgram("/usr/bin/pdfinfo", {file}, "/");
  return r.exitCode == 0 && r.output.contains("Pages:");
}

// A print job on a real full disk: the quick print of the results report and of a sheet report, and a plot printed
// from MIRVANE's preview, to the file chosen in the printer set-up, where a good PDF of an earlier job stands. The
// set-up also chooses a paper of 26 x 37 mm, which takes the plot over many sheets; the plot program gets it from
// the main program with the file. The main program may write no file beyond 16 KB (its report documents fit),
// MIRVANE none beyond 100 KB (its plot's scratch files fit): each job says that the file cannot be written, and the
// old file stays byte for byte with no temporary file beside it.
TEST_F(Guasti, APrintJobOnAFullDiskKeepsTheOldFileAndSaysSo) {
  t.AddPrograms({"MIRVANE"});
  QDir(t.Root()).mkpath("stampe");
  const QString scelto = t.Root() + "/stampe/scelto.pdf";
  const QString impostazione = QString("menu confstam\npress properties\nset pageSizeCombo A10\n"
                                       "key pageSizeCombo Return\nset filename %1\nkey filename Enter\n")
                                   .arg(scelto);
  Copioni({{"frattix32", impostazione + "menu StampaRapidaTabulati\nanswer OK \"scelto.pdf\"\nclose menu1\n"}});
  ASSERT_EQ(Esegui("").exitCode, 0) << ReadLog(t.D("ui.log")).join("\n").toStdString();
  ASSERT_TRUE(PdfIntero(scelto));
  const QByteArray vecchio = ReadBytes(scelto);

  Limita("frattix32", 16384);
  Limita("MIRVANE", 100000);
  Copioni({{"frattix32-limitato", impostazione + "answer Yes \"scelto.pdf\"\n"
                                  "menu StampaRapidaTabulati\nanswer OK \"scelto.pdf\"\n"
                                  "menu StampaRapidaScheda\nfile fronte_est.sch\nanswer OK \"scelto.pdf\"\n"
                                  "menu GraficaStellare\nclose menu1\n"},
           {"MIRVANE-limitato", "press Picture3\nanswer OK \"scelto.pdf\"\npress Picture6\n"}});
  QElapsedTimer tempo;
  tempo.start();
  const RunResult r = EseguiLimitato("");
  ASSERT_TRUE(r.finished);
  EXPECT_LT(tempo.elapsed(), 60000);
  ASSERT_EQ(r.exitCode, 0) << r.output.toStdString() << ReadLog(t.D("ui.log")).join("\n").toStdString();
  // The set-up's own question before it takes an existing file, then one message a job.
  const QStringList m = Messaggi();
  ASSERT_EQ(m.size(), 4) << r.output.toStdString() << ReadLog(t.D("ui.log")).join("\n").toStdString();
  for (int i : {1, 2}) EXPECT_TRUE(m[i].startsWith("frattix32-limitato\t") && m[i].contains(kNonScritto)) << i;
  EXPECT_TRUE(m[3].startsWith("MIRVANE-limitato\t") && m[3].contains(kNonScritto)) << m[3].toStdString();
  for (const QString& riga : m.mid(1)) EXPECT_TRUE(riga.contains("scelto.pdf")) << riga.toStdString();
  EXPECT_TRUE(ReadLog(t.D("ui.log")).filter("stampato").isEmpty());
  EXPECT_EQ(ReadBytes(scelto), vecchio);
  EXPECT_EQ(QDir(t.Root() + "/stampe").entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
            QStringList{"scelto.pdf"});
}

// Print jobs to PDF files named after the job, where a named pipe and a symbolic link to a file elsewhere take the
// first two names: the results report's quick print and a plot printed from MIRVANE's preview each take the next
// free name, end within seconds and say where they went; the pipes and the links stay, and nothing is written
// where the links point.
TEST_F(Guasti, PrintJobsNeitherHangOnAPipeNorWriteThroughALink) {
  t.AddPrograms({"MIRVANE"});
  QDir(t.Root()).mkpath("pdf");
  QDir(t.Root()).mkpath("altrove");
  const QString pdf = t.Root() + "/pdf/";
  for (const QString& nome : {QString("esempio"), QString("Brenvale_output")}) {
    ASSERT_EQ(::mkfifo(QFile::encodeName(pdf + nome + "-1.pdf").constData(), 0600), 0);
    ASSERT_TRUE(QFile::link("../altrove/" + nome + ".pdf", pdf + nome + "-2.pdf"));
  }
  Copioni({{"frattix32", "menu StampaRapidaTabulati\nanswer OK \"esempio-3.pdf\"\nmenu GraficaStellare\nclose menu1\n"},
           {"MIRVANE", "press Picture5\npress Picture6\n"}});
  QProcessEnvironment env;
  env.insert("FRATTIX_PDF_DIR", pdf);
  QElapsedTimer tempo;
  tempo.start();
  const RunResult r = Esegui("", env);
  ASSERT_TRUE(r.finished);
  EXPECT_LT(tempo.elapsed(), 60000);
  ASSERT_EQ(r.exitCode, 0) << r.output.toStdString() << ReadLog(t.D("ui.log")).join("\n").toStdString();
  EXPECT_EQ(ReadLog(t.D("ui.log")).filter("\tnotice\t").filter("Brenvale_output-3.pdf").size(), 1);
  for (const QString& nome : {QString("esempio"), QString("Brenvale_output")}) {
    struct stat s {};
    ASSERT_EQ(::lstat(QFile::encodeName(pdf + nome + "-1.pdf").constData(), &s), 0);
    EXPECT_TRUE(S_ISFIFO(s.st_mode)) << nome.toStdString();
    EXPECT_TRUE(QFileInfo(pdf + nome + "-2.pdf").isSymLink()) << nome.toStdString();
    EXPECT_TRUE(PdfIntero(pdf + nome + "-3.pdf")) << nome.toStdString();
  }
  EXPECT_TRUE(QDir(t.Root() + "/altrove").isEmpty());
}

// Whether the process `id` has ended: it is gone, or only its exit status is left.
bool Finito(qint64 id) {
  QFile stato(QString("/proc/%1/stat").arg(id));
  if (!stato.open(QIODevice::ReadOnly)) return true;
  const QByteArray testo = stato.readAll();
  const qsizetype parentesi = testo.lastIndexOf(')');
  return parentesi < 0 || testo.mid(parentesi + 2, 1) == "Z";
}

// TALVOR is killed (SIGKILL) while PELDRIX, which it started after a cluster run, is still at work (held stopped
// here, to be sure it is): PELDRIX ends with it, and no wedge table appears afterwards, when a table computed for
// the inputs of the killed run would take the place of one the user makes meanwhile. The main program says that
// TALVOR ended abnormally.
TEST_F(Guasti, PeldrixEndsWhenTalvorIsKilledAndWritesNoTableAfterwards) {
  ASSERT_TRUE(QFile::rename(t.P("peldrix"), t.P("peldrix-reale")));
  const QString talvorPid = t.Root() + "/talvor.pid", peldrixPid = t.Root() + "/peldrix.pid";
  WriteScript(t.P("peldrix"), QString("#!/bin/sh\necho $PPID > %1.new && mv %1.new %1\necho $$ > %2.new && "
                                      "mv %2.new %2\nkill -STOP $$\nexec %3\n")
                                  .arg(talvorPid, peldrixPid, t.P("peldrix-reale")));
  Copioni({{"frattix32", "menu CalcoliCluster\nanswer OK \"TALVOR\"\nclose menu1\n"}, {"TALVOR", DueFamiglie()}});
  QProcessEnvironment env = ScriptedRunEnvironment(t, "");
  env.insert("FRATTIX_UI_SCRIPT", t.Root() + "/script");
  QProcess principale;
  Avvia(principale, env);
  ASSERT_TRUE(principale.waitForStarted());
  for (int i = 0; i < 6000 && !QFile::exists(peldrixPid); ++i) QThread::msleep(10);
  const qint64 talvor = QString::fromLatin1(ReadBytes(talvorPid)).trimmed().toLongLong();
  const qint64 peldrix = QString::fromLatin1(ReadBytes(peldrixPid)).trimmed().toLongLong();
  if (talvor > 0) ::kill(static_cast<pid_t>(talvor), SIGKILL);
  const bool finito = principale.waitForFinished(60000);
  if (!finito) principale.kill();
  ASSERT_GT(talvor, 0) << ReadLog(t.D("ui.log")).join("\n").toStdString();
  ASSERT_GT(peldrix, 0);
  ASSERT_TRUE(finito);
  EXPECT_EQ(principale.exitCode(), 0) << principale.readAll().toStdString();
  const QStringList m = Messaggi();
  ASSERT_EQ(m.size(), 1) << ReadLog(t.D("ui.log")).join("\n").toStdString();
  EXPECT_TRUE(m[0].contains("terminato in modo anomalo")) << m[0].toStdString();
  bool peldrixFinito = false;
  for (int i = 0; i < 500 && !peldrixFinito; ++i) {
    peldrixFinito = Finito(peldrix);
    if (!peldrixFinito) QThread::msleep(10);
  }
  EXPECT_TRUE(peldrixFinito);
  // A PELDRIX still there goes on: whatever it would write comes now.
  if (!peldrixFinito) {
    ::kill(static_cast<pid_t>(peldrix), SIGCONT);
    for (int i = 0; i < 1000 && !Finito(peldrix); ++i) QThread::msleep(10);
  }
  EXPECT_FALSE(QFile::exists(R("esempio.GMC")));
}

// A save killed (SIGKILL, at its rename) after it wrote its temporary file: the old file stays as it was, and the
// whole new copy under the suite's temporary name beside it, which the next save of the same file removes.
TEST_F(Guasti, ASaveKilledAtItsRenameLeavesACopyThatTheNextSaveRemoves) {
  ASSERT_TRUE(QFile::exists("/usr/bin/strace")) << "strace (scripts/setup installs it) kills the program at its rename";
  auto prima = Cartella();
  const QString fronte = "menu EdizioneFronte\nset Text1(4) 0\npress Command1(0)\nclose menu1\n";
  QProcessEnvironment env = ScriptedRunEnvironment(t, fronte);
  env.insert("PATH", "/usr/bin:/bin");
  env.insert("HOME", t.D("home"));
  const RunResult ucciso = RunProgram("/usr/bin/strace",
                                      {"-f", "-qq", "-o", "/dev/null", "-e", "trace=rename,renameat,renameat2", "-e",
                                       "inject=rename,renameat,renameat2:signal=KILL", t.P("frattix32"),
                                       R("esempio.ses")},
                                      t.Data(), env, 120000);
  ASSERT_TRUE(ucciso.finished);
  auto dopo = Cartella();
  ASSERT_TRUE(dopo.contains("esempio.fro.frattix~")) << QStringList(dopo.keys()).join(" ").toStdString();
  const QByteArray copia = ReadBytes(R("esempio.fro.frattix~"));
  dopo.remove("esempio.fro.frattix~");
  EXPECT_EQ(dopo, prima);

  const RunResult r = Esegui(fronte);
  ASSERT_EQ(r.exitCode, 0) << r.output.toStdString() << ReadLog(t.D("ui.log")).join("\n").toStdString();
  EXPECT_TRUE(Messaggi().isEmpty()) << Messaggi().join("\n").toStdString();
  dopo = Cartella();
  EXPECT_FALSE(dopo.contains("esempio.fro.frattix~"));
  EXPECT_EQ(ReadBytes(R("esempio.fro")), copia);
  dopo.remove("esempio.fro");
  prima.remove("esempio.fro");
  EXPECT_EQ(dopo, prima);
}

// The arguments of setpriv that run a program as the unprivileged user "nobody" (65534) without groups.
const QStringList kComeNessuno = {"--reuid=65534", "--regid=65534", "--clear-groups", "--"};

// Whether the unprivileged user can enter `cartella` (every folder on the way to it included).
bool NessunoEntra(const QString& cartella) {
  QDir().mkpath(cartella);
  return RunProgram("/usr/bin/setpriv", kComeNessuno + QStringList{"/usr/bin/test", "-x", cartella}, "/").exitCode == 0;
}

// Where the files of a test run as the unprivileged user go: the build's folder for tests when that user can enter
// it, else the system's temporary folder (a checkout inside a home folder of mode 0700, or inside a folder made by
// mktemp, keeps that user out of the build).
QString CartellaPerNessuno() {
  if (::geteuid() != 0 || NessunoEntra(QStringLiteral(FRATTIX_TEST_TMP_DIR))) return QString();
  return QDir::tempPath();
}

// Runs as a user who owns none of the folders: root would write anywhere. Without root the test's own user
// already cannot write to a folder without write permission.
class GuastiPermessi : public Guasti {
 protected:
  GuastiPermessi() : Guasti(CartellaPerNessuno()) {}
  void SetUp() override {
    Guasti::SetUp();
    if (::geteuid() == 0) {
      const RunResult id = RunProgram("/usr/bin/setpriv", kComeNessuno + QStringList{"/usr/bin/id", "-u"}, t.Data());
      if (id.exitCode != 0 || id.output.trimmed() != "65534")
        GTEST_SKIP() << "root cannot run a program as the unprivileged user 65534: " << id.output.toStdString();
      const QString cartella = QFileInfo(t.Root()).path();
      if (!NessunoEntra(cartella))
        GTEST_SKIP() << "the unprivileged user 65534 cannot enter " << cartella.toStdString()
                     << " (nor the build's folder for tests), where the files of the test must be";
    }
    // Everyone may read the installation and the session and write the log, the home and "c:".
    for (const QString& d : {t.Root(), t.Program(), t.Data(), t.DriveC(), t.D("home")})
      QFile::setPermissions(d, QFileDevice::Permissions(0x7777));
    for (const QString& f : QDir(t.Program()).entryList(QDir::Files))
      if (!QFileInfo(t.P(f)).isExecutable()) QFile::setPermissions(t.P(f), QFileDevice::Permissions(0x6644));
    for (const QString& f : QDir(t.D("rilievi")).entryList(QDir::Files))
      QFile::setPermissions(R(f), QFileDevice::Permissions(0x6644));
    // The family table of an earlier run, which a cluster run replaces, is the user's to write.
    QFile::setPermissions(R("esempio.FAM"), QFileDevice::Permissions(0x6666));
    QFile::setPermissions(t.D("rilievi"), QFileDevice::Permissions(0x7777));
  }
  void TearDown() override {
    for (const QString& d : {t.Program(), t.D("rilievi")}) QFile::setPermissions(d, QFileDevice::Permissions(0x7700));
  }
  static void SolaLettura(const QString& cartella) { QFile::setPermissions(cartella, QFileDevice::Permissions(0x5555)); }
  RunResult ComeUtente(const QString& script) {
    if (::geteuid() != 0) return Esegui(script);
    // The program runs through setpriv as the unprivileged user "nobody" (65534) without groups.
    const QString programma = t.P("frattix32");
    QProcessEnvironment env = ScriptedRunEnvironment(t, script);
    if (script.isEmpty()) env.insert("FRATTIX_UI_SCRIPT", t.Root() + "/script");  // one script per program
    env.insert("PATH", "/usr/bin:/bin");
    env.insert("HOME", t.D("home"));
    // Under the sanitizers the leak checker reads its suppressions as that user too: a checkout that user cannot
    // enter would stop every program at its start, so the file is read from a copy in the test's folder.
    QString lsan = env.value("LSAN_OPTIONS", QProcessEnvironment::systemEnvironment().value("LSAN_OPTIONS"));
    static const QRegularExpression soppressioni(QStringLiteral("suppressions=([^:]+)"));
    if (const auto m = soppressioni.match(lsan); m.hasMatch()) {
      const QString copia = t.Root() + "/lsan.supp";
      QFile::remove(copia);
      QFile::copy(m.captured(1), copia);
      QFile::setPermissions(copia, QFileDevice::Permissions(0x6644));
      env.insert("LSAN_OPTIONS", lsan.replace(m.capturedStart(1), m.capturedLength(1), copia));
    }
    QFile::remove(t.D("ui.log"));
    WriteAnsi(t.D("ui.log"), "");
    QFile::setPermissions(t.D("ui.log"), QFileDevice::Permissions(0x6666));
    QFile::setPermissions(t.Root() + "/run.script", QFileDevice::Permissions(0x6644));
    return RunProgram("/usr/bin/setpriv", kComeNessuno + QStringList{programma, R("esempio.ses")}, t.Data(), env,
                      120000);
  }
};

TEST_F(GuastiPermessi, ASessionFolderThatCannotBeWrittenGivesAMessageAndKeepsItsFiles) {
  SolaLettura(t.D("rilievi"));
  const auto prima = Cartella();
  const RunResult r = ComeUtente(kComandiCheScrivono);
  ASSERT_EQ(r.exitCode, 0) << r.output.toStdString() << ReadLog(t.D("ui.log")).join("\n").toStdString();
  const QStringList m = Messaggi();
  ASSERT_EQ(m.size(), 3) << r.output.toStdString() << ReadLog(t.D("ui.log")).join("\n").toStdString();
  for (const QString& riga : m) EXPECT_TRUE(riga.contains(kNonScritto)) << riga.toStdString();
  EXPECT_EQ(Cartella(), prima);
}

TEST_F(GuastiPermessi, AClusterRunIntoASessionFolderThatCannotBeWrittenKeepsTheOldResults) {
  SolaLettura(t.D("rilievi"));
  const auto prima = Cartella();
  QDir(t.Root()).mkpath("script");
  WriteAnsi(t.Root() + "/script/frattix32.script", "menu CalcoliCluster\nanswer OK \"esempio.GRA\"\nclose menu1\n");
  WriteAnsi(t.Root() + "/script/TALVOR.script",
            "check Option3 1\npress Command3\nset Text1 4\nkey Text1 Enter\npress Picture3\npress Picture3\n"
            "set Text1 20\nkey Text1 Enter\npress Command1\nanswer OK \"esempio.dat\"\n");
  const RunResult r = ComeUtente("");
  ASSERT_EQ(r.exitCode, 0) << r.output.toStdString() << ReadLog(t.D("ui.log")).join("\n").toStdString();
  // The main program cannot write the graphics options, TALVOR its result: each says so and stops there.
  const QStringList m = Messaggi();
  ASSERT_EQ(m.size(), 2) << m.join("\n").toStdString();
  EXPECT_TRUE(m[0].startsWith("frattix32\t") && m[0].contains("esempio.GRA")) << m[0].toStdString();
  EXPECT_TRUE(m[1].startsWith("TALVOR\t") && m[1].contains("esempio.dat")) << m[1].toStdString();
  EXPECT_TRUE(ReadLog(t.D("ui.log")).filter("\tfatal\t").isEmpty());
  EXPECT_EQ(Cartella(), prima);
}

TEST_F(GuastiPermessi, AProgramFolderThatCannotBeWrittenStopsTheClusterRunWithAMessage) {
  SolaLettura(t.Program());
  const auto prima = Cartella();
  const RunResult r = ComeUtente("menu CalcoliCluster\nanswer OK \"temporan\"\nclose menu1\n");
  ASSERT_EQ(r.exitCode, 0) << r.output.toStdString() << ReadLog(t.D("ui.log")).join("\n").toStdString();
  const QStringList m = Messaggi();
  ASSERT_EQ(m.size(), 1) << m.join("\n").toStdString();
  EXPECT_TRUE(m[0].contains(kNonScritto)) << m[0].toStdString();
  // TALVOR was not started: no window of its own, no result, the old tables as they were.
  EXPECT_TRUE(ReadLog(t.D("ui.log")).filter("TALVOR\t").isEmpty());
  EXPECT_EQ(Cartella(), prima);
  EXPECT_FALSE(QFile::exists(t.P("temporan")));
}

// Result tables that the user made read-only, in a session folder the user may write to: the cluster run and the
// stability command tell each one as a save that could not write it does, and keep it as it was, mode and all;
// nothing else is written (TALVOR says it before its clustering window, PELDRIX is not started).
TEST_F(GuastiPermessi, AResultTableMadeReadOnlyIsToldAndKept) {
  Copioni({{"frattix32", "menu CalcoliCluster\nclose menu1\n"}, {"TALVOR", DueFamiglie()}});
  ASSERT_EQ(ComeUtente("").exitCode, 0);
  ASSERT_TRUE(Messaggi().isEmpty()) << Messaggi().join("\n").toStdString();
  for (const char* f : {"esempio.dat", "esempio.FAM", "esempio.PER", "esempio.GMC"})
    ASSERT_TRUE(QFile::exists(R(f))) << f;
  const auto modo = [&](const char* f) {
    struct stat s {};
    return ::lstat(QFile::encodeName(R(f)).constData(), &s) == 0 ? s.st_mode & 07777 : 0u;
  };
  const struct {
    QStringList protette;
    const char* comando;
  } casi[] = {{{"esempio.GMC"}, "CalcoliCluster"},
              {{"esempio.GMC"}, "CalcoliStabilita"},
              {{"esempio.PER", "esempio.FAM"}, "CalcoliCluster"}};
  for (const auto& c : casi) {
    SCOPED_TRACE(c.comando + (" " + c.protette.join(' ')).toStdString());
    for (const char* f : {"esempio.FAM", "esempio.PER", "esempio.GMC"}) ::chmod(QFile::encodeName(R(f)).constData(), 0644);
    for (const QString& f : c.protette) ASSERT_EQ(::chmod(QFile::encodeName(R(f)).constData(), 0444), 0);
    QString risposte;
    for (const QString& f : c.protette) risposte += "answer OK \"" + f + "\"\n";
    Copioni({{"frattix32", QString("menu %1\nclose menu1\n").arg(c.comando)}, {"TALVOR", risposte}, {"peldrix", ""}});
    auto prima = Cartella();
    const RunResult r = ComeUtente("");
    ASSERT_EQ(r.exitCode, 0) << r.output.toStdString() << ReadLog(t.D("ui.log")).join("\n").toStdString();
    const QStringList m = Messaggi();
    ASSERT_EQ(m.size(), c.protette.size()) << m.join("\n").toStdString();
    for (qsizetype i = 0; i < m.size(); ++i) {
      EXPECT_TRUE(m[i].startsWith("TALVOR\t")) << m[i].toStdString();
      EXPECT_TRUE(m[i].contains(kNonScritto) && m[i].contains(c.protette[i])) << m[i].toStdString();
    }
    EXPECT_TRUE(ReadLog(t.D("ui.log")).filter("\twindow\tworkform\t").isEmpty());
    // Every launch writes the graphics options; nothing else changed.
    auto dopo = Cartella();
    prima.remove("esempio.GRA");
    dopo.remove("esempio.GRA");
    EXPECT_EQ(dopo, prima);
    for (const QString& f : c.protette) EXPECT_EQ(modo(f.toLatin1().constData()), 0444u) << f.toStdString();
  }
}

}  // namespace
