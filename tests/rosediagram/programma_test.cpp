// Whole runs of MIRVANE, headless: a hand-written hand-over file and survey sheets, the preview window driven by
// a script (picture, print, DXF export, close), and what the program leaves behind.
#include "tests/rosediagram/conteggio.h"
#include "tests/support/support.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <set>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

using testing_support::ReadBytes;
using testing_support::ReadLog;
using testing_support::RunProgram;
using testing_support::TestFolder;
using testing_support::WriteAnsi;

namespace {

// A record with dip direction and dip; the other fields as on a sheet of the example session.
QString Record(int immersione, int inclinazione, const QString& tipo = QStringLiteral("GI")) {
  return QStringLiteral(" 1  2.5  %1 %2 %3 2 4 2 1 PLA 0  LIS CAL R2       ")
      .arg(tipo)
      .arg(immersione, -3)
      .arg(inclinazione, -3);
}

QString Scheda(const QStringList& record) {
  QString s = QStringLiteral("Fronte\nGradone\n120/15\nSquadra\n38.5\n12/05/2025\n\n\n\n %1 \n").arg(record.size());
  for (const QString& r : record) s += r + QLatin1Char('\n');
  return s;
}

class Programma : public ::testing::Test {
 protected:
  void SetUp() override {
    t.AddPrograms({"MIRVANE"});
    WriteAnsi(t.P("language.cfg"), " 1 \n");
    QDir(t.Data()).mkpath("pdf");
  }
  testing_support::RunResult Esegui(const QString& script) {
    QFile::remove(t.D("ui.log"));
    QProcessEnvironment env = testing_support::ScriptedRunEnvironment(t, script);
    env.insert("FRATTIX_PDF_DIR", t.D("pdf"));
    return RunProgram(t.P("MIRVANE"), {}, t.Data(), env);
  }
  QStringList Log() const { return ReadLog(t.D("ui.log")); }
  // Reads the exported drawing back with ezdxf and checks it against the sector counts; "" when it holds them.
  static QString ControllaDxf(const QString& file, const std::array<int, 37>& conteggi) {
    QStringList voci;
    for (int k = 1; k <= 36; ++k)
      if (conteggi[k]) voci << QStringLiteral("%1:%2").arg(k).arg(conteggi[k]);
    QProcess lettore;
    lettore.setProcessChannelMode(QProcess::MergedChannels);
    lettore.start("/usr/bin/python3", {FRATTIX_TEST_SOURCE_DIR "/tests/rosediagram/dxf_rosa.py", file, voci.join(',')});
    if (!lettore.waitForFinished(60000)) return QStringLiteral("the reader did not end");
    return lettore.exitCode() == 0 ? QString() : QString::fromUtf8(lettore.readAll());
  }
  TestFolder t;
};

TEST_F(Programma, TheDiagramIsShownPrintedAndExportedAndTheProgramEndsWithThePreview) {
  // The worked data set on two sheets; the session's titles; the hand-over file of the star-diagram command.
  const QStringList record = {Record(45, 30),  Record(45, 30),  Record(45, 60),  Record(90, 10),
                              Record(80, 20),  Record(0, 40),   Record(360, 40), Record(355, 50),
                              Record(350, 50), Record(150, 70), Record(275, 85)};
  WriteAnsi(t.D("nord.sch"), Scheda(record.mid(0, 5)));
  WriteAnsi(t.D("est.sch"), Scheda(record.mid(5)));
  WriteAnsi(t.D("prova.TIT"), "Cava di Monte Rasso\nFronti nord ed est\nMaggio 2025\nSquadra A\nnon disegnato\n");
  WriteAnsi(t.P("temporan"), " 0 \n 0 \n 0 \n 2 \nnord.sch\nest.sch\nprova.ses\n");

  const auto r = Esegui(QStringLiteral("grab %1\npress Picture5\npress Picture4\nfile %2\npress Picture6\n")
                            .arg(t.D("rosa.png"), t.D("rosa.dxf")));
  ASSERT_TRUE(r.finished);
  ASSERT_EQ(r.exitCode, 0) << r.output.toStdString();
  EXPECT_EQ(Log().filter("\tmsgbox\t"), QStringList());
  EXPECT_EQ(Log().filter("\tfiledialog\t").size(), 1) << Log().join('\n').toStdString();

  // The hand-over file as the main program wrote it, the index now 1.
  EXPECT_EQ(ReadBytes(t.P("temporan")), QByteArray(" 1 \r\n 0 \r\n 0 \r\n 2 \r\nnord.sch\r\nest.sch\r\nprova.ses\r\n"));
  EXPECT_FALSE(QImage(t.D("rosa.png")).isNull());
  const QStringList pdf = QDir(t.D("pdf")).entryList({"*.pdf"}, QDir::Files);
  ASSERT_EQ(pdf.size(), 1);
  EXPECT_TRUE(ReadBytes(t.D("pdf/" + pdf[0])).startsWith("%PDF"));

  // The drawing read back by a real DXF reader: sector radii of the worked counts, circle, ticks and texts.
  std::array<int, 37> conteggi{};
  conteggi[1] = 1, conteggi[2] = 1, conteggi[5] = 2, conteggi[10] = 3, conteggi[11] = 1, conteggi[18] = 1;
  conteggi[31] = 1;
  EXPECT_EQ(ControllaDxf(t.D("rosa.dxf"), conteggi), "");
}

TEST_F(Programma, APreviewLeftOpenUsesNoProcessorTime) {
  // The user leaves the diagram on the screen: the program sleeps in its final wait until an event comes.
  WriteAnsi(t.D("nord.sch"), Scheda({Record(45, 30), Record(90, 10), Record(350, 50)}));
  WriteAnsi(t.P("temporan"), " 0 \n 0 \n 0 \n 1 \nnord.sch\nprova.ses\n");
  QProcessEnvironment env;
  env.insert("FRATTIX_DRIVE_C", t.DriveC());
  const double quota =
      testing_support::CpuShareWhileWaiting(t.P("MIRVANE"), t.Data(), env, t.D("ui.log"), "\twindow\tGRAFICA\t", 5);
  ASSERT_GE(quota, 0) << Log().join('\n').toStdString();
  EXPECT_LT(quota, 0.02);
}

// TMPDIR names a folder that does not exist: the private folder of the plot's scratch files is made in one that
// exists (the system's temporary folder), and the plot is drawn and printed from it; neither the program nor a
// library it uses makes a folder at the root of the file system.
TEST_F(Programma, WithATemporaryFolderThatDoesNotExistTheScratchFilesGoWhereTheyCan) {
  ASSERT_TRUE(QFile::exists("/usr/bin/strace")) << "strace (scripts/setup installs it) shows the folders made";
  WriteAnsi(t.D("nord.sch"), Scheda({Record(45, 30), Record(90, 10), Record(350, 50)}));
  WriteAnsi(t.P("temporan"), " 0 \n 0 \n 0 \n 1 \nnord.sch\nprova.ses\n");
  QProcessEnvironment env = testing_support::ScriptedRunEnvironment(t, "press Picture5\npress Picture6\n");
  env.insert("FRATTIX_PDF_DIR", t.D("pdf"));
  env.insert("TMPDIR", t.Root() + "/manca");
  env.insert("ASAN_OPTIONS", "detect_leaks=0");  // the leak checker does not run under strace
  const QString tracce = t.Root() + "/mkdir.log";
  const auto r = RunProgram("/usr/bin/strace", {"-f", "-qq", "-o", tracce, "-e", "trace=mkdir,mkdirat", t.P("MIRVANE")},
                            t.Data(), env);
  ASSERT_TRUE(r.finished);
  ASSERT_EQ(r.exitCode, 0) << r.output.toStdString();
  EXPECT_EQ(Log().filter("\tmsgbox\t"), QStringList());
  EXPECT_EQ(QDir(t.D("pdf")).entryList(QDir::Files).size(), 1);
  const QStringList cartelle = QString::fromLocal8Bit(ReadBytes(tracce)).split('\n');
  EXPECT_TRUE(cartelle.filter(QRegularExpression("mkdir(at)?\\((AT_FDCWD, )?\"/[^/\"]*\"")).isEmpty())
      << cartelle.join('\n').toStdString();
  // The private folder is made in the system's temporary folder; a program of another test starting at the same
  // moment may take a folder just made for a leftover before it is marked, and the process then makes another one.
  const QStringList fatte = cartelle.filter("/frattix-").filter(QRegularExpression("\\) = 0$"));
  EXPECT_GE(fatte.size(), 1) << cartelle.join('\n').toStdString();
  EXPECT_EQ(fatte.filter(QRegularExpression("mkdir(at)?\\((AT_FDCWD, )?\"/tmp/frattix-")).size(), fatte.size())
      << cartelle.join('\n').toStdString();
}

// The private folders in TMPDIR that hold a plot's scratch file, once one that is not in `note` does; empty when
// none came within a minute.
QStringList CartellePrivate(const QString& tmp, const QStringList& note = {}) {
  for (int i = 0; i < 6000; ++i) {
    QStringList cartelle;
    for (const QString& c : QDir(tmp).entryList({"frattix-*"}, QDir::Dirs | QDir::NoDotAndDotDot))
      if (QFile::exists(tmp + "/" + c + "/plttmp1.tmp")) cartelle << c;
    for (const QString& c : cartelle)
      if (!note.contains(c)) return cartelle;
    QThread::msleep(10);
  }
  return {};
}

// MIRVANE killed (SIGKILL) while its diagram is shown leaves its private folder with the plot's scratch file; the
// next MIRVANE removes it as it starts, and leaves alone one of another user and one without the mark of the
// suite's private folders; a MIRVANE started while that one runs leaves its folder alone, and its own goes when
// it ends.
TEST_F(Programma, TheNextPlotRemovesTheScratchFolderOfAKilledOne) {
  WriteAnsi(t.D("nord.sch"), Scheda({Record(45, 30), Record(90, 10), Record(350, 50)}));
  WriteAnsi(t.P("temporan"), " 0 \n 0 \n 0 \n 1 \nnord.sch\nprova.ses\n");
  const QString tmp = t.Root() + "/tmp";
  QDir().mkpath(tmp);
  // A MIRVANE waits for the user in front of its diagram and is killed; another one then waits, and runs on.
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("FRATTIX_DRIVE_C", t.DriveC());
  env.insert("TMPDIR", tmp);
  env.remove("FRATTIX_UI_SCRIPT");
  QProcess ucciso, vivo;
  for (QProcess* p : {&ucciso, &vivo}) {
    p->setProcessEnvironment(env);
    p->setWorkingDirectory(t.Data());
  }
  ucciso.start(t.P("MIRVANE"), QStringList());
  const QStringList prima = CartellePrivate(tmp);
  ASSERT_EQ(prima.size(), 1);
  const QString morta = prima[0];
  ::kill(static_cast<pid_t>(ucciso.processId()), SIGKILL);
  ASSERT_TRUE(ucciso.waitForFinished(30000));
  EXPECT_TRUE(QFile::exists(tmp + "/" + morta + "/plttmp1.tmp"));
  // A folder of another user, whose mark nobody holds, and one of the same pattern without a mark.
  const bool radice = ::geteuid() == 0;
  if (radice) {
    QDir().mkpath(tmp + "/frattix-altrui");
    WriteAnsi(tmp + "/frattix-altrui/owner.lock", "");
    WriteAnsi(tmp + "/frattix-altrui/plttmp1.tmp", "1\n");
    for (const char* f : {"/frattix-altrui/owner.lock", "/frattix-altrui/plttmp1.tmp", "/frattix-altrui"})
      ASSERT_EQ(::chown(QFile::encodeName(tmp + f).constData(), 65534, 65534), 0);
  }
  QDir().mkpath(tmp + "/frattix-nonmio");
  WriteAnsi(tmp + "/frattix-nonmio/plttmp1.tmp", "1\n");

  vivo.start(t.P("MIRVANE"), QStringList());
  QStringList dopo = CartellePrivate(tmp, prima + QStringList{"frattix-altrui", "frattix-nonmio"});
  dopo.removeAll("frattix-altrui");
  dopo.removeAll("frattix-nonmio");
  EXPECT_FALSE(dopo.contains(morta)) << morta.toStdString();
  dopo.removeAll(morta);
  ASSERT_EQ(dopo.size(), 1);
  const QString viva = dopo[0];

  QProcessEnvironment scritto = testing_support::ScriptedRunEnvironment(t, "press Picture6\n");
  scritto.insert("TMPDIR", tmp);
  const auto r = RunProgram(t.P("MIRVANE"), {}, t.Data(), scritto);
  vivo.kill();
  vivo.waitForFinished(30000);
  ASSERT_EQ(r.exitCode, 0) << r.output.toStdString();
  ASSERT_FALSE(viva.isEmpty());
  QStringList attese = {viva, "frattix-nonmio"};
  if (radice) attese << "frattix-altrui";
  attese.sort();
  QStringList presenti = QDir(tmp).entryList({"frattix*"}, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
  presenti.sort();
  EXPECT_EQ(presenti.join(' ').toStdString(), attese.join(' ').toStdString()) << morta.toStdString();
  EXPECT_TRUE(QFile::exists(tmp + "/" + viva + "/plttmp1.tmp"));
  if (radice) {
    EXPECT_TRUE(QFile::exists(tmp + "/frattix-altrui/plttmp1.tmp"));
  }
}

// The titles of the session, of the titles form's 80 characters, are wider than the page in the title block of the
// printed diagram: each starts at the left edge of the page instead of being centred, at the height at which it
// ends on the paper; the block's own short lines stay centred.
TEST_F(Programma, TitlesWiderThanThePageStartAtItsLeftEdgeWhenPrinted) {
  const QString titolo = "RELAZIONE GEOMECCANICA CAVA DI MONTE ROSSO FRONTE EST GRADONE DUE QUOTA 405 M 25";
  WriteAnsi(t.D("nord.sch"), Scheda({Record(45, 30), Record(90, 10), Record(350, 50)}));
  WriteAnsi(t.D("prova.TIT"), QString(titolo + "\n").repeated(4) + "\n");
  WriteAnsi(t.P("temporan"), " 0 \n 0 \n 0 \n 1 \nnord.sch\nprova.ses\n");
  const auto r = Esegui("press Picture5\npress Picture6\n");
  ASSERT_EQ(r.exitCode, 0) << r.output.toStdString();
  const QStringList pdf = QDir(t.D("pdf")).entryList({"*.pdf"}, QDir::Files);
  ASSERT_EQ(pdf.size(), 1);
  QProcess p;
  p.start("pdftotext", {"-bbox", t.D("pdf/" + pdf[0]), "-"});
  ASSERT_TRUE(p.waitForFinished(30000));
  const QString testo = QString::fromUtf8(p.readAll());
  static const QRegularExpression parola("<word xMin=\"([-0-9.]+)\"[^>]*xMax=\"([-0-9.]+)\"[^>]*>([^<]*)</word>");
  QList<double> inizi;
  double centroRilievo = 0;
  QStringList parole;
  for (auto it = parola.globalMatch(testo); it.hasNext();) {
    const auto m = it.next();
    if (m.captured(3) == "RELAZIONE") inizi << m.captured(1).toDouble();
    if (m.captured(3) == "RILIEVO") centroRilievo = m.captured(1).toDouble();
    // Every word lies on the A4 paper, 595 points wide: the titles end on it too, at a smaller height.
    EXPECT_LE(m.captured(2).toDouble(), 595) << m.captured(3).toStdString();
    parole << m.captured(3);
  }
  ASSERT_EQ(inizi.size(), 4) << testo.left(2000).toStdString();
  EXPECT_EQ(parole.join(' ').count(titolo), 4);
  for (double x : inizi) {
    EXPECT_GE(x, 0);
    EXPECT_LT(x, 6);  // the page's left edge, a tenth of a centimetre inside the paper's
  }
  // "RILIEVO STRUTTURALE" is centred on the diagram, far from the edge.
  EXPECT_GT(centroRilievo, 100);
}

TEST_F(Programma, NothingToDrawIsToldAndLeavesTheHandOverFileAsItWas) {
  const QByteArray passaggio(" 0 \r\n 0 \r\n 0 \r\n 1 \r\na.sch\r\nprova.ses\r\n");
  WriteAnsi(t.P("temporan"), QString::fromLatin1(passaggio).remove('\r'));
  // Every record with its first 20 characters blank: no discontinuity.
  WriteAnsi(t.D("a.sch"), Scheda({QString(20, ' ') + Record(10, 10).mid(20)}));
  auto r = Esegui("answer OK \"Nessuna discontinuita'\"\n");
  ASSERT_EQ(r.exitCode, 0) << r.output.toStdString();
  EXPECT_TRUE(Log().filter("\twindow\tGRAFICA").isEmpty());
  EXPECT_EQ(ReadBytes(t.P("temporan")), passaggio);

  // More than 1000 selected records: the limit message, no diagram.
  QStringList molti;
  for (int i = 0; i < 1001; ++i) molti << Record(i % 360, 45);
  WriteAnsi(t.D("a.sch"), Scheda(molti));
  r = Esegui("answer OK \"pari a 1000 punti\"\n");
  EXPECT_EQ(r.exitCode, 1) << r.output.toStdString();
  EXPECT_TRUE(Log().filter("\twindow\tGRAFICA").isEmpty());
  EXPECT_EQ(ReadBytes(t.P("temporan")), passaggio);

  // Without a hand-over file: a message naming it.
  QFile::remove(t.P("temporan"));
  r = Esegui("answer OK temporan\n");
  EXPECT_EQ(r.exitCode, 1) << r.output.toStdString();
  EXPECT_EQ(Log().filter("\tmsgbox\t").size(), 1);
}

TEST_F(Programma, TheStarDiagramCommandOfTheMainProgramShowsTheExampleSession) {
  // The main program on the example session; MIRVANE behind a wrapper that keeps the hand-over file it leaves
  // (the main program deletes it when it ends).
  t.AddPrograms({"frattix32"});
  QFile::rename(t.P("MIRVANE"), t.P("MIRVANE.real"));
  testing_support::WriteScript(t.P("MIRVANE"), QStringLiteral("#!/bin/sh\n\"%1\" \"$@\"\nrc=$?\ncp \"%2\" \"%3\"\nexit $rc\n")
                                                   .arg(t.P("MIRVANE.real"), t.P("temporan"), t.D("temporan.dopo")));
  const QString esempio = t.D("esempio");
  QDir().mkpath(esempio);
  for (const QString& f : QDir(FRATTIX_TEST_SOURCE_DIR "/examples").entryList(QDir::Files))
    QFile::copy(FRATTIX_TEST_SOURCE_DIR "/examples/" + f, esempio + "/" + f);
  QDir().mkpath(t.Root() + "/script");
  WriteAnsi(t.Root() + "/script/frattix32.script", "menu GraficaStellare\nclose menu1\n");
  WriteAnsi(t.Root() + "/script/MIRVANE.real.script",
            QStringLiteral("grab %1\npress Picture5\npress Picture4\nfile %2\npress Picture6\n")
                .arg(t.D("esempio.png"), t.D("esempio.dxf")));
  QProcessEnvironment env = testing_support::ScriptedRunEnvironment(t, "");
  env.insert("FRATTIX_UI_SCRIPT", t.Root() + "/script");
  env.insert("FRATTIX_PDF_DIR", t.D("pdf"));
  const auto r = RunProgram(t.P("frattix32"), {esempio + "/esempio.ses"}, t.Data(), env);
  ASSERT_EQ(r.exitCode, 0) << r.output.toStdString();

  const QStringList log = Log();
  EXPECT_EQ(log.filter("MIRVANE.real\twindow\tGRAFICA").size(), 1) << log.join('\n').toStdString();
  EXPECT_TRUE(log.filter("\tmsgbox\t").isEmpty()) << log.join('\n').toStdString();
  EXPECT_EQ(ReadBytes(t.D("temporan.dopo")),
            QByteArray(" 1 \r\n 0 \r\n 0 \r\n 4 \r\nfronte_est.sch\r\nfronte_nord.sch\r\ngradone4.sch\r\nrampa.sch\r\n"
                       "esempio.ses\r\n"));
  EXPECT_FALSE(QImage(t.D("esempio.png")).isNull());
  EXPECT_EQ(QDir(t.D("pdf")).entryList({"*.pdf"}, QDir::Files).size(), 1);

  // The counts of the distinct orientations of every record of the four sheets (the session has no criteria).
  std::set<std::pair<double, double>> distinte;
  std::vector<double> direzioni;
  for (const char* scheda : {"fronte_est.sch", "fronte_nord.sch", "gradone4.sch", "rampa.sch"}) {
    const QStringList righe = testing_support::ReadAnsi(esempio + "/" + scheda).split('\n').mid(10);
    for (const QString& riga : righe) {
      if (riga.left(20).trimmed().isEmpty()) continue;
      const double imm = riga.mid(12, 3).trimmed().toDouble(), inc = riga.mid(16, 3).trimmed().toDouble();
      if (distinte.insert({inc, imm}).second) direzioni.push_back(imm);
    }
  }
  EXPECT_EQ(ControllaDxf(t.D("esempio.dxf"), rosa_test::ConteggioIndipendente(direzioni)), "");
}

}  // namespace
