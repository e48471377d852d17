// Programs of the suite beside each other: two sessions printing at once into one folder of PDF files.
#include "tests/support/support.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <tuple>

using namespace testing_support;

namespace {

// The text of a PDF file, by pdftotext.
QString TestoPdf(const QString& pdf) {
  QProcess p;
  p.start("pdftotext", {pdf, "-"});
  p.waitForFinished(60000);
  return QString::fromUtf8(p.readAllStandardOutput());
}

// Starts `programma` of `t` headless on `argomenti`, with the script `script` and the extra environment `altro`,
// without waiting for it.
std::unique_ptr<QProcess> Avvia(const TestFolder& t, const QString& programma, const QStringList& argomenti,
                                const QString& script, const QProcessEnvironment& altro) {
  auto p = std::make_unique<QProcess>();
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  const QProcessEnvironment scritto = ScriptedRunEnvironment(t, script);
  for (const QString& k : scritto.keys()) env.insert(k, scritto.value(k));
  for (const QString& k : altro.keys()) env.insert(k, altro.value(k));
  p->setProcessEnvironment(env);
  p->setWorkingDirectory(t.Data());
  p->setProcessChannelMode(QProcess::MergedChannels);
  p->start(t.P(programma), argomenti);
  return p;
}

// The PDF files that the notices and messages of a log name as printed, in the order they came.
QStringList Stampati(const QStringList& log) {
  QStringList file;
  static const QRegularExpression nome(QStringLiteral("stampato nel file:\\\\n([^\\\\]+\\.pdf)\\\\n"));
  for (const QString& riga : log) {
    const auto m = nome.match(riga);
    if (m.hasMatch()) file << m.captured(1);
  }
  return file;
}

// Two sessions print, each job after job, at the same time into one folder of PDF files: every job keeps its own
// file, which its message names and which holds that session's print; no job is lost. `preparazione` makes a
// session (of the given title) in a test folder, `avvio` starts its program printing `lavori` jobs.
void DueSessioniStampanoInsieme(const std::function<void(TestFolder&, const QString&)>& preparazione,
                                const std::function<std::unique_ptr<QProcess>(TestFolder&, int, const QString&)>& avvio,
                                const QString& nomeFile, int lavori) {
  TestFolder a, b;
  preparazione(a, "Cava Alfa");
  preparazione(b, "Cava Beta");
  const QString pdf = a.Root() + "/pdf";
  QDir().mkpath(pdf);
  // Both begin at once, and every job of each overlaps one of the other.
  std::unique_ptr<QProcess> pa = avvio(a, lavori, pdf), pb = avvio(b, lavori, pdf);
  for (QProcess* p : {pa.get(), pb.get()}) {
    ASSERT_TRUE(p->waitForFinished(240000));
    ASSERT_EQ(p->exitCode(), 0) << p->readAll().toStdString();
  }
  const QStringList fa = Stampati(ReadLog(a.D("ui.log"))), fb = Stampati(ReadLog(b.D("ui.log")));
  ASSERT_EQ(fa.size(), lavori) << ReadLog(a.D("ui.log")).join('\n').toStdString();
  ASSERT_EQ(fb.size(), lavori) << ReadLog(b.D("ui.log")).join('\n').toStdString();
  // Every message names a file of its own, and the folder holds those files and nothing else.
  const QSet<QString> nominati(QSet<QString>(fa.begin(), fa.end()) + QSet<QString>(fb.begin(), fb.end()));
  EXPECT_EQ(nominati.size(), 2 * lavori) << (fa + fb).join(' ').toStdString();
  QStringList attesi;
  for (int n = 1; n <= 2 * lavori; ++n) attesi << QString("%1-%2.pdf").arg(nomeFile).arg(n);
  QStringList presenti = QDir(pdf).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
  std::sort(attesi.begin(), attesi.end());
  EXPECT_EQ(presenti.join(" ").toStdString(), attesi.join(" ").toStdString());
  // Each file holds the print of the session whose message names it.
  for (const auto& [file, titolo, altro] :
       {std::tuple{fa, QString("Cava Alfa"), QString("Cava Beta")}, std::tuple{fb, QString("Cava Beta"), QString("Cava Alfa")}}) {
    for (const QString& f : file) {
      const QString testo = TestoPdf(pdf + "/" + f);
      EXPECT_TRUE(testo.contains(titolo)) << f.toStdString() << ": " << testo.left(300).toStdString();
      EXPECT_FALSE(testo.contains(altro)) << f.toStdString();
    }
  }
}

}  // namespace

// The star diagrams of two sessions printed from MIRVANE, ten jobs each.
TEST(Accanto, TwoStarDiagramsPrintedAtOnceKeepEveryJob) {
  const auto preparazione = [](TestFolder& t, const QString& titolo) {
    t.AddPrograms({"MIRVANE"});
    WriteAnsi(t.P("language.cfg"), " 1 \n");
    QString scheda = "Fronte\nGradone\n120/15\nSquadra\n38.5\n12/05/2025\n\n\n\n 3 \n";
    for (int k = 0; k < 3; ++k)
      scheda += QString(" 1  2.5  GI %1 %2 2 4 2 1 PLA 0  LIS CAL R2       \n").arg(40 + 50 * k, -3).arg(30, -3);
    WriteAnsi(t.D("nord.sch"), scheda);
    WriteAnsi(t.D("prova.TIT"), titolo + "\nFronte nord\nMaggio 2025\nSquadra A\n\n");
    WriteAnsi(t.P("temporan"), " 0 \n 0 \n 0 \n 1 \nnord.sch\nprova.ses\n");
  };
  const auto avvio = [](TestFolder& t, int lavori, const QString& pdf) {
    QProcessEnvironment env;
    env.insert("FRATTIX_PDF_DIR", pdf);
    return Avvia(t, "MIRVANE", {}, QString("press Picture5\n").repeated(lavori) + "press Picture6\n", env);
  };
  DueSessioniStampanoInsieme(preparazione, avvio, "Brenvale_output", 10);
}

// The quick print of the results report of two sessions named alike, in two folders, ten jobs each.
TEST(Accanto, TwoReportsOfSessionsNamedAlikePrintedAtOnceKeepEveryJob) {
  const auto preparazione = [](TestFolder& t, const QString& titolo) {
    t.AddPrograms({"frattix32"});
    WriteAnsi(t.P("language.cfg"), " 1 \n");
    QDir esempi(QStringLiteral(FRATTIX_TEST_SOURCE_DIR "/examples"));
    for (const QString& f : esempi.entryList(QDir::Files)) QFile::copy(esempi.filePath(f), t.D(f));
    WriteAnsi(t.D("esempio.tit"), titolo + "\nRilievo\nMaggio 2025\nFronti\n\n");
  };
  const auto avvio = [](TestFolder& t, int lavori, const QString& pdf) {
    QProcessEnvironment env;
    env.insert("FRATTIX_PDF_DIR", pdf);
    env.insert("PATH", "/usr/bin:/bin");
    return Avvia(t, "frattix32", {t.D("esempio.ses")},
                 QString("menu StampaRapidaTabulati\nanswer OK \"stampato nel file\"\n").repeated(lavori) +
                     "close menu1\n",
                 env);
  };
  DueSessioniStampanoInsieme(preparazione, avvio, "esempio", 10);
}

// A folder of PDF files on a file system with neither a rename that never replaces nor hard links (some FUSE and
// network mounts): a job of one session stops right before it gives its file the first free name, and a job of
// another session prints meanwhile. The first had claimed its name already, so the second takes the next: both files
// stay, each named by its message and holding its session's print.
TEST(Accanto, OnAFileSystemWithoutLinksTwoJobsAtOnceKeepBothFiles) {
  TestFolder a, b;
  for (const auto& [t, titolo] : {std::pair<TestFolder*, QString>{&a, "Cava Alfa"}, {&b, "Cava Beta"}}) {
    t->AddPrograms({"MIRVANE"});
    WriteAnsi(t->P("language.cfg"), " 1 \n");
    WriteAnsi(t->D("nord.sch"), "Fronte\nGradone\n120/15\nSquadra\n38.5\n12/05/2025\n\n\n\n 1 \n"
                                " 1  2.5  GI 40  30  2 4 2 1 PLA 0  LIS CAL R2       \n");
    WriteAnsi(t->D("prova.TIT"), titolo + "\nFronte nord\nMaggio 2025\nSquadra A\n\n");
    WriteAnsi(t->P("temporan"), " 0 \n 0 \n 0 \n 1 \nnord.sch\nprova.ses\n");
  }
  const QString pdf = a.Root() + "/pdf", cancello = a.Root() + "/cancello";
  QDir().mkpath(pdf);
  QProcessEnvironment env;
  env.insert("FRATTIX_PDF_DIR", pdf);
  env.insert("LD_PRELOAD", FRATTIX_TEST_SENZALINK);
  // Under AddressSanitizer the library preloaded comes before the sanitizer's runtime, which the runtime refuses by
  // default; the library only wraps calls of the C library, so the order does no harm here.
  const QString asan = QProcessEnvironment::systemEnvironment().value("ASAN_OPTIONS");
  env.insert("ASAN_OPTIONS", asan.isEmpty() ? QString("verify_asan_link_order=0") : asan + ":verify_asan_link_order=0");
  QProcessEnvironment fermato = env;
  fermato.insert("FRATTIX_TEST_RENAME_GATE", cancello);
  std::unique_ptr<QProcess> pa = Avvia(a, "MIRVANE", {}, "press Picture5\npress Picture6\n", fermato);
  // Waits for the first job at its gate, or for its program to end without reaching it (what it said is then shown).
  for (int i = 0; i < 6000 && !QFile::exists(cancello + ".ready"); ++i)
    if (pa->waitForFinished(10)) break;
  ASSERT_TRUE(QFile::exists(cancello + ".ready")) << pa->readAll().toStdString();
  std::unique_ptr<QProcess> pb = Avvia(b, "MIRVANE", {}, "press Picture5\npress Picture6\n", env);
  ASSERT_TRUE(pb->waitForFinished(120000));
  EXPECT_EQ(pb->exitCode(), 0) << pb->readAll().toStdString();
  WriteAnsi(cancello, "");
  ASSERT_TRUE(pa->waitForFinished(120000));
  EXPECT_EQ(pa->exitCode(), 0) << pa->readAll().toStdString();
  const QStringList fa = Stampati(ReadLog(a.D("ui.log"))), fb = Stampati(ReadLog(b.D("ui.log")));
  ASSERT_EQ(fa.size(), 1) << ReadLog(a.D("ui.log")).join('\n').toStdString();
  ASSERT_EQ(fb.size(), 1) << ReadLog(b.D("ui.log")).join('\n').toStdString();
  EXPECT_EQ(fa[0], "Brenvale_output-1.pdf");
  EXPECT_EQ(fb[0], "Brenvale_output-2.pdf");
  EXPECT_EQ(QDir(pdf).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot).join(' '),
            QString("Brenvale_output-1.pdf Brenvale_output-2.pdf"));
  EXPECT_TRUE(TestoPdf(pdf + "/" + fa[0]).contains("Cava Alfa"));
  EXPECT_TRUE(TestoPdf(pdf + "/" + fb[0]).contains("Cava Beta"));
}

