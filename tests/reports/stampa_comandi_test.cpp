// Quick print of both reports in whole runs of frattix32: the example session with the result tables of a
// clustering, printed to PDF files.
#include "tests/support/support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrinterInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <algorithm>

#include <sys/stat.h>

using testing_support::ReadLog;
using testing_support::RunProgram;
using testing_support::TestFolder;
using testing_support::WriteAnsi;

namespace {

QString Sorgente(const QString& nome) { return QStringLiteral(FRATTIX_TEST_SOURCE_DIR "/") + nome; }

int Pagine(const QString& pdf) {
  QProcess p;
  p.start(QStringLiteral("pdfinfo"), {pdf});
  if (!p.waitForFinished(30000)) return 0;
  const auto m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(QString::fromLocal8Bit(p.readAll()));
  return m.hasMatch() ? m.captured(1).toInt() : 0;
}

// The text of a PDF file, by pdftotext.
QString Testo(const QString& pdf) {
  QProcess p;
  p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
  p.waitForFinished(30000);
  return QString::fromUtf8(p.readAll());
}

// The words of the first page of a PDF file with their left edges in points, by pdftotext; with `destra`, the
// right edges of the same words.
QList<std::pair<QString, double>> Parole(const QString& pdf, QList<double>* destra = nullptr) {
  QProcess p;
  p.start(QStringLiteral("pdftotext"), {"-bbox", "-f", "1", "-l", "1", pdf, "-"});
  p.waitForFinished(30000);
  QList<std::pair<QString, double>> parole;
  static const QRegularExpression parola(
      QStringLiteral("<word xMin=\"([-0-9.]+)\" yMin=\"[-0-9.]+\" xMax=\"([-0-9.]+)\"[^>]*>([^<]*)</word>"));
  for (auto it = parola.globalMatch(QString::fromUtf8(p.readAll())); it.hasNext();) {
    const auto m = it.next();
    parole.append({m.captured(3), m.captured(1).toDouble()});
    if (destra) destra->append(m.captured(2).toDouble());
  }
  return parole;
}

// A word of a PDF file with its box in points and its page, by pdftotext.
struct Parola {
  QString testo;
  double x1, y1, x2, y2;
  int pagina;
};
struct PaginePdf {
  QList<Parola> parole;
  double larghezza = 0, altezza = 0;  // of the first page
};
PaginePdf TutteLeParole(const QString& pdf) {
  QProcess p;
  p.start(QStringLiteral("pdftotext"), {"-bbox", pdf, "-"});
  p.waitForFinished(30000);
  const QString testo = QString::fromUtf8(p.readAll());
  PaginePdf r;
  static const QRegularExpression pagina(QStringLiteral("<page width=\"([-0-9.]+)\" height=\"([-0-9.]+)\""));
  static const QRegularExpression parola(QStringLiteral(
      "<word xMin=\"([-0-9.]+)\" yMin=\"([-0-9.]+)\" xMax=\"([-0-9.]+)\" yMax=\"([-0-9.]+)\">([^<]*)</word>"));
  int n = 0;
  for (const QString& blocco : testo.split(QStringLiteral("<page "))) {
    const auto m = pagina.match(QStringLiteral("<page ") + blocco);
    if (!m.hasMatch()) continue;
    if (++n == 1) r = {{}, m.captured(1).toDouble(), m.captured(2).toDouble()};
    for (auto it = parola.globalMatch(blocco); it.hasNext();) {
      const auto w = it.next();
      r.parole.append({w.captured(5).replace("&amp;", "&").replace("&lt;", "<").replace("&gt;", ">"),
                       w.captured(1).toDouble(), w.captured(2).toDouble(), w.captured(3).toDouble(),
                       w.captured(4).toDouble(), n});
    }
  }
  return r;
}

// Every word of the PDF lies on its paper; the text of each of `righe`, its blanks left out, reads in order in the
// words printed one after the other; each of `parole` is a word of it, left of the next one.
void TuttoSullaCarta(const QString& pdf, const QStringList& righe, const QStringList& parole = {}) {
  const PaginePdf p = TutteLeParole(pdf);
  ASSERT_GT(p.larghezza, 0) << pdf.toStdString();
  QString tutto;
  for (const Parola& w : p.parole) {
    EXPECT_GE(w.x1, 0) << w.testo.toStdString();
    EXPECT_LE(w.x2, p.larghezza) << w.testo.toStdString() << " page " << w.pagina;
    EXPECT_GE(w.y1, 0) << w.testo.toStdString();
    EXPECT_LE(w.y2, p.altezza) << w.testo.toStdString();
    tutto += w.testo;
  }
  for (const QString& riga : righe)
    EXPECT_TRUE(tutto.contains(QString(riga).remove(' '))) << riga.toStdString() << "\n" << tutto.toStdString();
  double x = -1;
  for (const QString& parola : parole) {
    const auto w = std::find_if(p.parole.begin(), p.parole.end(), [&](const Parola& w) { return w.testo == parola; });
    ASSERT_NE(w, p.parole.end()) << parola.toStdString();
    EXPECT_GT(w->x1, x) << parola.toStdString();
    x = w->x1;
  }
}

class StampaRapida : public ::testing::Test {
 protected:
  void SetUp() override {
    t.AddPrograms({"frattix32"});
    WriteAnsi(t.P("language.cfg"), " 1 \n");
    for (const char* f : {"esempio.ses", "esempio.tit", "esempio.fro", "fronte_est.sch"})
      QFile::copy(Sorgente(QString("examples/") + f), t.D(f));
    WriteAnsi(t.D("esempio.FAM"),
              QString::fromUtf8("N. Fam.\tImmers. [°]\tInclinaz. [°]\tApertura [mm]\tFrequenza [1/m]\tPhi [°]\t"
                                "Coesione [kN/m²]\n1\t122.0\t64.0\t1.5\t2.35\t35.00\t20.00\n"
                                "2\t210.0\t82.0\t0.8\t1.10\t35.00\t20.00\n3\t35.0\t10.0\t2.0\t0.75\t35.00\t20.00\n"));
    WriteAnsi(t.D("esempio.GMC"),
              QString::fromUtf8("imm.P1 [°]\tinc.P1 [°]\tsciv.P1\timm.P2 [°]\tinc.P2 [°]\tsciv.P2\tF.S. [-]\t"
                                "Volume [m³]\n122.0\t64.0\tSI\t210.0\t82.0\tNO\t1.37\t12.45\n"
                                "122.0\t64.0\tSI\t35.0\t10.0\tSI\t0.86\t3.20\n"));
    WriteAnsi(t.D("esempio.PER"), QString::fromUtf8("Componente\tModulo [m/s]\tInclinazione [°]\tDirezione [°]\n"
                                                    "Massima\t8.16E-04\t12.0\t302.0\nMedia\t2.10E-04\t8.0\t31.0\n"
                                                    "Minima\t5.50E-05\t76.0\t159.0\n"));
    QDir(t.Root()).mkpath("bin");
    QDir(t.Root()).mkpath("pdf");
  }
  testing_support::RunResult Esegui(const QString& script, bool cartellaPdf) {
    QProcessEnvironment env = testing_support::ScriptedRunEnvironment(t, script);
    env.insert("PATH", t.Root() + "/bin");
    if (cartellaPdf) env.insert("FRATTIX_PDF_DIR", Pdf());
    else env.remove("FRATTIX_PDF_DIR");
    return RunProgram(t.P("frattix32"), {t.D("esempio.ses")}, t.Data(), env);
  }
  QString Pdf() const { return t.Root() + "/pdf"; }
  TestFolder t;
};

TEST_F(StampaRapida, BothReportsPrintToPdfAndTheUserIsToldWhere) {
  const auto r = Esegui(QString("menu StampaRapidaTabulati\nanswer OK \"Cartella: %1\"\n"
                                "menu StampaRapidaScheda\nfile %2/fronte_est.sch\nanswer OK \"fronte_est-1.pdf\"\n"
                                "menu StampaRapidaScheda\ncancel\n"
                                "menu StampaRapidaTabulati\nanswer OK \"esempio-2.pdf\"\nclose menu1\n")
                            .arg(Pdf(), t.Data()),
                        true);
  ASSERT_EQ(r.exitCode, 0) << r.output.toStdString();
  EXPECT_EQ(ReadLog(t.D("ui.log")).filter("\tmsgbox\t").size(), 3);
  EXPECT_EQ(QDir(Pdf()).entryList(QDir::Files),
            (QStringList{"esempio-1.pdf", "esempio-2.pdf", "fronte_est-1.pdf"}));

  // The results report: the titles, the slope list with its dots, the three tables, on two pages with the
  // wedge table's head row on both.
  const QString risultati = Testo(Pdf() + "/esempio-1.pdf");
  EXPECT_EQ(Pagine(Pdf() + "/esempio-1.pdf"), 2);
  EXPECT_EQ(risultati.count("Program FRATTIX"), 2);
  for (const char* atteso : {"Cava di Monte Rasso", "GEOMETRIA DEL FRONTE", "Coesione [kN/m²] ....",
                             "PARAMETRI DELLE FAMIGLIE", "FATTORI DI SICUREZZA", "Massima", "8.16E-04"})
    EXPECT_TRUE(risultati.contains(QString::fromUtf8(atteso))) << atteso;
  EXPECT_EQ(Testo(Pdf() + "/esempio-2.pdf"), risultati);

  // The sheet report: every record, the head row on every page, the legend at the end.
  const QString scheda = Testo(Pdf() + "/fronte_est-1.pdf");
  const int pagine = Pagine(Pdf() + "/fronte_est-1.pdf");
  EXPECT_GE(pagine, 3);
  EXPECT_EQ(scheda.count("Program FRATTIX 32"), pagine);
  EXPECT_TRUE(scheda.contains("LEGENDA"));
  EXPECT_TRUE(scheda.contains(QRegularExpression("\\b95\\s+\\d+\\s+\\d+\\.\\d")));  // the last record
}

// A title of the titles form's 80 characters, centred and wider than the page, starts at the left margin of the
// printed results report (2 cm, 56 points) and goes on below: it is on the paper word for word, and so is the
// family table, wider than the page in the report's font.
TEST_F(StampaRapida, ATitleWiderThanTheTextAreaStartsAtTheLeftMarginAndNothingRunsOffThePaper) {
  const QString titolo = "RELAZIONE GEOMECCANICA CAVA DI MONTE ROSSO FRONTE EST GRADONE DUE QUOTA 405 M 25";
  ASSERT_EQ(titolo.size(), 80);
  WriteAnsi(t.D("esempio.tit"), titolo + "\nRilievo dei fronti\n\n\n\n\n\n\n\n");
  const auto r = Esegui("menu StampaRapidaTabulati\nanswer OK \"esempio-1.pdf\"\nclose menu1\n", true);
  ASSERT_EQ(r.exitCode, 0) << r.output.toStdString();
  QList<double> destra;
  const auto parole = Parole(Pdf() + "/esempio-1.pdf", &destra);
  qsizetype i = 0;
  while (i < parole.size() && parole[i].first != "RELAZIONE") ++i;
  ASSERT_LT(i, parole.size()) << Testo(Pdf() + "/esempio-1.pdf").left(600).toStdString();
  EXPECT_NEAR(parole[i].second, 56, 1);
  // Every word of the title, in order, and every word of the page (the family table's widest head included) lie
  // on the A4 paper, 595 points wide.
  const QStringList attese = titolo.split(' ');
  for (int k = 1; k < attese.size(); ++k) EXPECT_EQ(parole.value(i + k).first, attese[k]) << k;
  for (qsizetype k = 0; k < parole.size(); ++k) {
    EXPECT_GE(parole[k].second, 0) << parole[k].first.toStdString();
    EXPECT_LE(destra[k], 595) << parole[k].first.toStdString();
  }
  bool coesione = false;
  for (const auto& parola : parole) coesione = coesione || parola.first == QString::fromUtf8("[kN/m²]");
  EXPECT_TRUE(coesione);
  // The shorter line below stays centred.
  for (const auto& [testo, x] : parole) {
    if (testo == "Rilievo") {
      EXPECT_GT(x, 200);
    }
  }
}

// What cannot be broken at a blank is broken where it meets the page's edge and goes on from the left margin of the
// next line: titles of the titles form's 80 characters without a blank, in italic, of digits or of the widest
// letter, and a survey sheet's header line of 70 characters. A result table of 30 columns keeps the smallest font it
// is set in and stays on the paper. Every character is on the paper, in order.
TEST_F(StampaRapida, AWordWiderThanThePageIsBrokenAtItsEdgeAndEveryCharacterIsOnThePaper) {
  const QString senzaSpazi = "CAVA_MONTE_ROSSO-FRONTE_EST-GRADONE_2-QUOTA_405M-RELAZIONE_GEOMECCANICA_2025_REV3";
  const QString conSpazi = "RELAZIONE GEOMECCANICA CAVA DI MONTE ROSSO FRONTE EST GRADONE DUE QUOTA 405 M 25";
  QString cifre;
  for (int i = 0; i < 80; ++i) cifre += QChar('0' + (i * 7) % 10);
  const QStringList titoli{senzaSpazi.left(80), conSpazi, cifre, QString(80, 'M'), senzaSpazi.left(80)};
  for (const QString& titolo : titoli) ASSERT_EQ(titolo.size(), 80);
  WriteAnsi(t.D("esempio.tit"), titoli.join('\n') + "\n\n\n\n\n");
  // The conductivity table as TALVOR writes it, under heads of one word each: its heads and the cells of its first
  // row, each on the paper, in their order (words found nowhere else in the report).
  const QStringList testa{"Asse", "Modulo", "Plunge", "Azimut"};
  const QStringList riga{"Massima", "8.16E-04", "12.0", "302.0"};
  WriteAnsi(t.D("esempio.PER"), testa.join('\t') + "\n" + riga.join('\t') +
                                    "\nMedia\t2.10E-04\t8.0\t31.0\nMinima\t5.50E-05\t76.0\t159.0\n");
  const QString sheet = testing_support::ReadAnsi(t.D("fronte_est.sch"));
  QStringList righeScheda = sheet.split('\n');
  const QString intestazione = "FRONTE_EST_GRADONE_2_QUOTA_405M_RILIEVO_STRUTTURALE_DEL_13_MAGGIO_2025";
  ASSERT_EQ(intestazione.size(), 70);
  righeScheda[0] = intestazione;
  righeScheda[3] = QString(intestazione).replace('_', 'M');
  WriteAnsi(t.D("fronte_est.sch"), righeScheda.join('\n'));

  const auto r = Esegui(QString("menu StampaRapidaTabulati\nanswer OK \"esempio-1.pdf\"\n"
                                "menu StampaRapidaScheda\nfile %1/fronte_est.sch\nanswer OK \"fronte_est-1.pdf\"\n"
                                "close menu1\n").arg(t.Data()),
                        true);
  ASSERT_EQ(r.exitCode, 0) << r.output.toStdString();
  TuttoSullaCarta(Pdf() + "/esempio-1.pdf", titoli, testa);
  TuttoSullaCarta(Pdf() + "/esempio-1.pdf", {}, riga);
  TuttoSullaCarta(Pdf() + "/fronte_est-1.pdf", {intestazione, QString(intestazione).replace('_', 'M')});
}

TEST_F(StampaRapida, AnEmptyReportSaysThereIsNothingToPrint) {
  // A session without titles, slope or results: its report holds nothing.
  for (const char* f : {"esempio.tit", "esempio.fro", "esempio.FAM", "esempio.GMC", "esempio.PER"}) QFile::remove(t.D(f));
  const auto r = Esegui("menu StampaRapidaTabulati\nanswer OK \"Non c'e' nulla da stampare.\"\nclose menu1\n", true);
  ASSERT_EQ(r.exitCode, 0) << r.output.toStdString();
  EXPECT_EQ(ReadLog(t.D("ui.log")).filter("\tmsgbox\t").size(), 1);
  EXPECT_TRUE(QDir(Pdf()).entryList(QDir::Files).isEmpty());
}

TEST_F(StampaRapida, AFileChosenInThePrinterSetUpTakesThePrintJobs) {
  const QString scelto = t.Root() + "/scelto.pdf";
  const auto r = Esegui(QString("menu confstam\nset filename %1\nkey filename Enter\n"
                                "menu StampaRapidaTabulati\nanswer OK \"scelto.pdf\"\n"
                                "menu StampaRapidaTabulati\nanswer OK \"scelto.pdf\"\nclose menu1\n")
                            .arg(scelto),
                        true);
  ASSERT_EQ(r.exitCode, 0) << r.output.toStdString();
  EXPECT_EQ(ReadLog(t.D("ui.log")).filter("\tmsgbox\t").size(), 2);
  // Both jobs wrote the file chosen, the second over the first; none went to the folder of FRATTIX_PDF_DIR.
  EXPECT_EQ(Pagine(scelto), 2);
  EXPECT_TRUE(Testo(scelto).contains("FATTORI DI SICUREZZA"));
  EXPECT_TRUE(QDir(Pdf()).entryList(QDir::Files).isEmpty());
}

// The printer set-up under a script: the dialog's own question before it takes an existing file and its message for
// a file in a folder that does not exist come to the script as every message does, and a script that does not
// answer them ends the run instead of leaving it waiting. A named pipe chosen as the output is refused at once (the
// dialog's own check would wait on it for ever); a symbolic link chosen is asked about, and the print job then puts
// its file in the link's place and writes nothing where the link points.
TEST_F(StampaRapida, ThePrinterSetUpShowsEveryMessageToTheScriptAndNeverOpensAPipe) {
  const QString esistente = t.Root() + "/esistente.pdf", tubo = t.Root() + "/tubo.pdf";
  const QString collegamento = t.Root() + "/collegamento.pdf";
  WriteAnsi(esistente, "vecchio\n");
  ASSERT_EQ(::mkfifo(QFile::encodeName(tubo).constData(), 0600), 0);
  QDir(t.Root()).mkpath("altrove");
  ASSERT_TRUE(QFile::link(t.Root() + "/altrove/x.pdf", collegamento));
  const auto r = Esegui(QString("menu confstam\n"
                                "set filename %1\nkey filename Enter\nanswer No \"esistente.pdf\"\n"
                                "set filename %2/manca/x.pdf\nkey filename Enter\nanswer OK \"x.pdf\"\n"
                                "set filename %3\nkey filename Enter\nanswer OK \"non puo' essere scritto\"\n"
                                "set filename %4\nkey filename Enter\nanswer Yes \"Volete sovrascrivere\"\n"
                                "menu StampaRapidaTabulati\nanswer OK \"collegamento.pdf\"\nclose menu1\n")
                            .arg(esistente, t.Root(), tubo, collegamento),
                        true);
  ASSERT_TRUE(r.finished);
  ASSERT_EQ(r.exitCode, 0) << r.output.toStdString() << ReadLog(t.D("ui.log")).join("\n").toStdString();
  EXPECT_EQ(ReadLog(t.D("ui.log")).filter("\tmsgbox\t").size(), 5);
  EXPECT_EQ(testing_support::ReadBytes(esistente), QByteArray("vecchio\r\n"));
  struct stat s {};
  ASSERT_EQ(::lstat(QFile::encodeName(tubo).constData(), &s), 0);
  EXPECT_TRUE(S_ISFIFO(s.st_mode));
  EXPECT_FALSE(QFileInfo(collegamento).isSymLink());
  EXPECT_EQ(Pagine(collegamento), 2);
  EXPECT_TRUE(QDir(t.Root() + "/altrove").isEmpty());

  // The dialog's question, and a script that goes on as if it had not been shown.
  const auto senza = Esegui(QString("menu confstam\nset filename %1\nkey filename Enter\nclose menu1\n").arg(esistente),
                            true);
  ASSERT_TRUE(senza.finished);
  EXPECT_EQ(senza.exitCode, 3) << senza.output.toStdString();
  EXPECT_EQ(ReadLog(t.D("ui.log")).filter("\tfatal\t").size(), 1);
}

TEST_F(StampaRapida, WithoutAPrinterTheReportGoesToThePdfFileInTheDataFolder) {
  if (!QPrinterInfo::defaultPrinterName().isEmpty()) GTEST_SKIP() << "a printer is installed";
  const auto r = Esegui("menu StampaRapidaTabulati\nanswer OK \"esempio-1.pdf\"\nclose menu1\n", false);
  ASSERT_EQ(r.exitCode, 0) << r.output.toStdString();
  EXPECT_TRUE(QFile::exists(t.D("esempio-1.pdf")));
}

}  // namespace
