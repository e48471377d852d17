// Whole runs of the two plot commands from the main program on the example session, headless: the graphics options
// confirmed, TALVOR's preview shown, printed to PDF, exported to DXF and closed. The session is first taken down
// the cluster road by hand: its poles loaded, grouped around seed poles into a result file, and a wedge table of
// every pair of families written as the wedge program writes it.
#include "cluster/geometria.h"
#include "cluster/talvor.h"
#include "common/data/opzionigrafiche.h"
#include "common/platform/files.h"
#include "common/texts/avvio.h"
#include "tests/support/scripted.h"
#include "tests/support/support.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

using testing_support::ReadLog;
using testing_support::TestFolder;
using testing_support::WriteAnsi;

// Groups the loaded poles: a pole within 20 degrees of a family's seed joins it, else it seeds a new family (at
// most six); the centre is the mean of the members' vectors. Writes <stem>.dat and a wedge table.
void PercorsoCluster(const TestFolder& t) {
  AzzeraTalvor();
  Avvio.NumeroLingua = 1;
  Talvor.PercorsoProgramma = t.Program();
  Talvor.NomeFileDati = QStringLiteral("esempio.ses");
  const QStringList schede = {"fronte_est.sch", "fronte_nord.sch"};
  Talvor.NumeroSchede = static_cast<int>(schede.size());
  for (int s = 0; s < schede.size(); ++s) Talvor.ElencoSchede[static_cast<std::size_t>(s + 1)] = schede[s];
  {
    testing_support::Scripted nessunMessaggio(t, QString());
    bool caricati = false;
    try {
      caricati = CaricaPoli();
    } catch (const testing_support::Ended&) {
    }
    ASSERT_TRUE(caricati) << nessunMessaggio.Log().join('\n').toStdString();
  }
  ASSERT_GT(Talvor.NumeroPoli, 10);
  auto& T = Talvor;
  const double soglia = 20 * PiGreco() / 180;
  std::vector<int> seme(1, 0);
  std::vector<std::array<double, 3>> somma(1);
  for (int i = 1; i <= T.NumeroPoli; ++i) {
    const auto u = static_cast<std::size_t>(i);
    int k = 1;
    while (k <= T.NumeroCluster &&
           AngoloTraDirezioni(T.InclinazionePoli[u], T.DirezionePoli[u],
                              T.InclinazionePoli[static_cast<std::size_t>(seme[static_cast<std::size_t>(k)])],
                              T.DirezionePoli[static_cast<std::size_t>(seme[static_cast<std::size_t>(k)])]) >= soglia)
      ++k;
    if (k > T.NumeroCluster) {
      if (T.NumeroCluster == 6) continue;
      T.NumeroCluster = k;
      seme.push_back(i);
      somma.push_back({0, 0, 0});
    }
    const auto uk = static_cast<std::size_t>(k);
    double x = 0, y = 0, z = 0;
    AngoliInVersore(x, y, z, T.InclinazionePoli[u], T.DirezionePoli[u]);
    const double s = x * somma[uk][0] + y * somma[uk][1] + z * somma[uk][2] < 0 ? -1 : 1;
    somma[uk] = {somma[uk][0] + s * x, somma[uk][1] + s * y, somma[uk][2] + s * z};
    T.MembriCluster[uk][static_cast<std::size_t>(++T.NumeroMembri[uk])] = i;
  }
  for (int k = 1; k <= T.NumeroCluster; ++k) {
    const auto& v = somma[static_cast<std::size_t>(k)];
    const double segno = v[2] < 0 ? -1 : 1;
    VersoreInAngoli(segno * v[0], segno * v[1], segno * v[2], T.InclinazioneCentri[static_cast<std::size_t>(k)],
                    T.DirezioneCentri[static_cast<std::size_t>(k)]);
  }
  T.DistanzaMassima = soglia;
  ASSERT_GE(T.NumeroCluster, 3);
  ASSERT_TRUE(SalvaRisultati());

  QString gmc = QStringLiteral("imm.P1 [°]\tinc.P1 [°]\tsciv.P1\timm.P2 [°]\tinc.P2 [°]\tsciv.P2\tF.S. [-]\tVolume [m³]\n");
  const double fattori[] = {0.74, 1.12, 1.86, 0.95, 1.31, 2.4};
  int n = 0;
  for (int i = 1; i < T.NumeroCluster; ++i)
    for (int j = i + 1; j <= T.NumeroCluster; ++j) {
      double imm1 = 0, inc1 = 0, imm2 = 0, inc2 = 0;
      PoloInGiacitura(T.InclinazioneCentri[static_cast<std::size_t>(i)], T.DirezioneCentri[static_cast<std::size_t>(i)],
                      imm1, inc1);
      PoloInGiacitura(T.InclinazioneCentri[static_cast<std::size_t>(j)], T.DirezioneCentri[static_cast<std::size_t>(j)],
                      imm2, inc2);
      gmc += QStringLiteral("%1\t%2\tSI\t%3\t%4\tNO\t%5\t%6\n")
                 .arg(std::round(imm1), 0, 'f', 1)
                 .arg(std::round(inc1), 0, 'f', 1)
                 .arg(std::round(imm2), 0, 'f', 1)
                 .arg(std::round(inc2), 0, 'f', 1)
                 .arg(fattori[n % 6], 0, 'f', 2)
                 .arg(12.5 * (n + 1), 0, 'f', 2);
      ++n;
    }
  WriteAnsi(t.D("esempio.GMC"), gmc);
}

class GraficoDaMenu : public ::testing::Test {
 protected:
  void SetUp() override {
    t.AddPrograms({"frattix32", "TALVOR"});
    WriteAnsi(t.P("language.cfg"), " 1 \n");
    QDir esempi(QStringLiteral(FRATTIX_TEST_SOURCE_DIR "/examples"));
    for (const QString& f : esempi.entryList(QDir::Files)) QFile::copy(esempi.filePath(f), t.D(f));
    // The four sheets together hold more distinct orientations than a run takes (300): the session lists two.
    WriteAnsi(t.D("esempio.ses"), " 2 \nfronte_est.sch\nfronte_nord.sch\n");
    QDir(t.Root()).mkpath("script");
    QDir(t.Root()).mkpath("pdf");
    uscita = qEnvironmentVariable("FRATTIX_PLOT_GRAB_DIR");  // where the pictures are kept for a look, if set
  }

  // Runs the main program on the session with the script `principale`, and TALVOR with `talvor`; the log is
  // written anew, the PDF files go to the test's folder.
  testing_support::RunResult Lancia(const QString& principale, const QString& talvor) {
    const QString script = t.Root() + "/script";
    WriteAnsi(script + "/frattix32.script", principale);
    WriteAnsi(script + "/TALVOR.script", talvor);
    QProcessEnvironment env;
    env.insert("FRATTIX_DRIVE_C", t.DriveC());
    env.insert("FRATTIX_UI_LOG", t.D("ui.log"));
    env.insert("FRATTIX_UI_SCRIPT", script);
    env.insert("FRATTIX_PDF_DIR", t.Root() + "/pdf");
    QFile::remove(t.D("ui.log"));
    return testing_support::RunProgram(t.P("frattix32"), {t.D("esempio.ses")}, t.Data(), env, 60000);
  }

  // Runs `comando` with the graphics options `opzioni`; the preview is grabbed, printed fitted, exported and closed.
  void Esegui(const QString& comando, const std::array<double, 7>& opzioni, const QString& nome) {
    OpzioniGrafiche o;
    o.Opzione = opzioni;
    ASSERT_TRUE(ScriviFileOpzioniGrafiche(t.D("esempio.GRA"), o));
    const QString immagine = uscita.isEmpty() ? t.Root() + "/" + nome + ".png" : uscita + "/" + nome + ".png";
    const auto r = Lancia("menu " + comando + "\npress Command1(0)\nclose menu1\n",
                          "grab " + immagine + "\npress Picture5\npress Picture4\nfile " + nome + ".dxf\npress Picture6\n");
    ASSERT_TRUE(r.finished) << r.output.toStdString() << ReadLog(t.D("ui.log")).join('\n').toStdString();
    ASSERT_EQ(r.exitCode, 0) << r.output.toStdString();
    const QStringList log = ReadLog(t.D("ui.log"));
    EXPECT_EQ(log.filter("TALVOR\twindow\tGRAFICA\t").size(), 1) << log.join('\n').toStdString();
    EXPECT_TRUE(log.filter("\tmsgbox\t").isEmpty()) << log.join('\n').toStdString();
    EXPECT_TRUE(QFile::exists(immagine));
    QProcess py;
    py.start("/usr/bin/python3", {QStringLiteral(FRATTIX_TEST_SOURCE_DIR "/tests/cluster/stereogramma_dxf.py"),
                                  t.D(nome + ".dxf"), opzioni[3] == 1 ? "cluster" : "poli"});
    ASSERT_TRUE(py.waitForFinished(60000));
    EXPECT_EQ(py.exitCode(), 0) << py.readAll().toStdString() << py.readAllStandardError().toStdString();
    if (!uscita.isEmpty())
      for (const QString& f : QDir(t.Root() + "/pdf").entryList({"*.pdf"}, QDir::Files))
        QFile::rename(t.Root() + "/pdf/" + f, uscita + "/" + nome + ".pdf");
  }
  int Pdf() const { return static_cast<int>(QDir(t.Root() + "/pdf").entryList({"*.pdf"}, QDir::Files).size()); }

  TestFolder t;
  QString uscita;
};

TEST_F(GraficoDaMenu, BothPlotCommandsInBothProjectionsAndHemispheres) {
  PercorsoCluster(t);
  int stampe = 0;
  Esegui("GraficaCluster", {0, 1, 1, 1, 1, 1, 1}, "cluster_area_inf");
  if (uscita.isEmpty()) {
    EXPECT_EQ(Pdf(), ++stampe);
  }
  Esegui("GraficaCluster", {0, 2, 2, 1, 1, 1, 1}, "cluster_angolo_sup");
  if (uscita.isEmpty()) {
    EXPECT_EQ(Pdf(), ++stampe);
  }
  Esegui("GraficaProiezione", {0, 2, 1, 2, 1, 1, 2}, "proiezione_angolo_inf");
  if (uscita.isEmpty()) {
    EXPECT_EQ(Pdf(), ++stampe);
  }
  Esegui("GraficaProiezione", {0, 1, 2, 2, 1, 1, 2}, "proiezione_area_sup");
  if (uscita.isEmpty()) {
    EXPECT_EQ(Pdf(), ++stampe);
  }
}

// Two sorted lists of texts are the same: what is missing and what is in excess are said.
void Uguali(const QStringList& trovati, const QStringList& attesi) {
  EXPECT_EQ(trovati.size(), attesi.size());
  QStringList mancano, oltre;
  std::set_difference(attesi.begin(), attesi.end(), trovati.begin(), trovati.end(), std::back_inserter(mancano));
  std::set_difference(trovati.begin(), trovati.end(), attesi.begin(), attesi.end(), std::back_inserter(oltre));
  EXPECT_TRUE(mancano.isEmpty()) << mancano.size() << " missing: " << mancano.mid(0, 20).join(' ').toStdString();
  EXPECT_TRUE(oltre.isEmpty()) << oltre.size() << " in excess: " << oltre.mid(0, 20).join(' ').toStdString();
}

// The cluster plot of 120 families and the wedges of 3,015 of their pairs (graphics option 6 = 1): far more texts
// than a list of 2,000 would keep. The DXF and the printed PDF hold the factor of safety of every wedge of the
// table, each once, with the title block and the number of every family.
TEST_F(GraficoDaMenu, EveryWedgeOfTheTableKeepsItsLabelInTheDxfAndOnPaper) {
  AzzeraTalvor();
  Avvio.NumeroLingua = 1;
  Talvor.PercorsoProgramma = t.Program();
  Talvor.NomeFileDati = QStringLiteral("esempio.ses");
  auto& T = Talvor;
  constexpr int kFamiglie = 120, kCunei = 3015;
  std::vector<std::array<double, 2>> giaciture(kFamiglie + 1);
  for (int k = 1; k <= kFamiglie; ++k) {
    const auto u = static_cast<std::size_t>(k);
    giaciture[u] = {std::fmod(k * 47.0, 360.0), 15.0 + (k * 13) % 71};
    GiacituraInPolo(giaciture[u][0], giaciture[u][1], T.InclinazionePoli[u], T.DirezionePoli[u]);
    T.InclinazioneCentri[u] = T.InclinazionePoli[u];
    T.DirezioneCentri[u] = T.DirezionePoli[u];
    T.NumeroMembri[u] = 1;
    T.MembriCluster[u][1] = k;
  }
  T.NumeroPoli = T.NumeroCluster = kFamiglie;
  T.DistanzaMassima = 0.1;
  ASSERT_TRUE(SalvaRisultati());
  // The pairs in an order that sets each label far from the one before, each with a factor of safety of its own.
  std::vector<std::pair<int, int>> coppie;
  for (int i = 1; i < kFamiglie; ++i)
    for (int j = i + 1; j <= kFamiglie; ++j) coppie.emplace_back(i, j);
  QString gmc =
      QString::fromUtf8("imm.P1 [°]\tinc.P1 [°]\tsciv.P1\timm.P2 [°]\tinc.P2 [°]\tsciv.P2\tF.S. [-]\tVolume [m³]\n");
  QStringList etichette;
  for (int n = 0; n < kCunei; ++n) {
    const auto [i, j] = coppie[static_cast<std::size_t>(n) * 2333 % coppie.size()];
    etichette << QString::number(0.5 + 0.01 * n, 'f', 2);
    const auto& a = giaciture[static_cast<std::size_t>(i)];
    const auto& b = giaciture[static_cast<std::size_t>(j)];
    gmc += QString("%1\t%2\tSI\t%3\t%4\tNO\t%5\t12.50\n")
               .arg(a[0], 0, 'f', 1)
               .arg(a[1], 0, 'f', 1)
               .arg(b[0], 0, 'f', 1)
               .arg(b[1], 0, 'f', 1)
               .arg(etichette.back());
  }
  WriteAnsi(t.D("esempio.GMC"), gmc);
  // Two titles wider than the page: on paper and in the DXF each starts at the page's left edge and ends on it.
  const QString titolo = "RELAZIONE GEOMECCANICA CAVA DI MONTE ROSSO FRONTE EST GRADONE DUE QUOTA 405 M 25";
  const QString emme(80, 'M');
  WriteAnsi(t.D("esempio.tit"), titolo + "\n" + emme + "\nCampagna di maggio 2025\n\n\n\n\n\n\n");

  Esegui("GraficaCluster", {0, 1, 1, 1, 2, 2, 1}, "cunei");
  QStringList attese = etichette;
  for (int k = 1; k <= kFamiglie; ++k) attese << QString::number(k);
  attese.sort();
  // A factor of safety or a family's number.
  const QRegularExpression numero("^([0-9]+\\.[0-9][0-9]|[0-9]{1,3})$");

  // The DXF: one TEXT entity for each, beside the ten texts of the title block and the net. The titles start at the
  // drawing's left edge and end within it by the writer's own width (a character as wide as the text is high).
  QProcess py;
  py.start("/usr/bin/python3",
           {"-c",
            "import ezdxf, sys\n"
            "d = ezdxf.readfile(sys.argv[1])\n"
            "print(d.header['$EXTMIN'][0], d.header['$EXTMAX'][0])\n"
            "for e in d.modelspace().query('TEXT'):\n"
            "    print('%s\\t%r\\t%r\\t%d' % (e.dxf.text, e.dxf.insert[0], e.dxf.height, e.dxf.halign))\n",
            t.D("cunei.dxf")});
  ASSERT_TRUE(py.waitForFinished(60000));
  ASSERT_EQ(py.exitCode(), 0) << py.readAllStandardError().toStdString();
  QStringList righe = QString::fromUtf8(py.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
  ASSERT_FALSE(righe.isEmpty());
  const QStringList estensione = righe.takeFirst().split(' ');
  QStringList testi;
  int titoli = 0;
  for (const QString& r : righe) {
    const QStringList c = r.split('\t');
    ASSERT_EQ(c.size(), 4) << r.toStdString();
    testi << c[0];
    if (c[0] != titolo && c[0] != emme) continue;
    ++titoli;
    EXPECT_EQ(c[3], "0") << r.toStdString();  // from its start point
    EXPECT_DOUBLE_EQ(c[1].toDouble(), estensione[0].toDouble()) << r.toStdString();
    EXPECT_LE(c[1].toDouble() + 80 * c[2].toDouble(), estensione[1].toDouble()) << r.toStdString();
    EXPECT_GT(c[1].toDouble() + 80 * c[2].toDouble(), 0.9 * estensione[1].toDouble()) << r.toStdString();
  }
  EXPECT_EQ(titoli, 2);
  EXPECT_EQ(testi.size(), kCunei + kFamiglie + 10);
  testi = testi.filter(numero);
  testi.sort();
  Uguali(testi, attese);

  // The printed PDF, its words in the order they were printed.
  const QStringList pdf = QDir(t.Root() + "/pdf").entryList({"*.pdf"}, QDir::Files);
  ASSERT_EQ(pdf.size(), 1);
  QProcess testo;
  testo.start("pdftotext", {"-raw", t.Root() + "/pdf/" + pdf[0], "-"});
  ASSERT_TRUE(testo.waitForFinished(60000));
  const QString stampato = QString::fromUtf8(testo.readAllStandardOutput());
  EXPECT_TRUE(stampato.contains(titolo));
  EXPECT_TRUE(stampato.contains(emme));
  QStringList parole =
      QString(stampato).remove(titolo).split(QRegularExpression("\\s+"), Qt::SkipEmptyParts).filter(numero);
  parole.sort();
  Uguali(parole, attese);
  // Every word on the paper.
  QProcess riquadri;
  riquadri.start("pdftotext", {"-bbox", t.Root() + "/pdf/" + pdf[0], "-"});
  ASSERT_TRUE(riquadri.waitForFinished(60000));
  const QString xml = QString::fromUtf8(riquadri.readAllStandardOutput());
  const auto pagina = QRegularExpression("<page width=\"([0-9.]+)\"").match(xml);
  ASSERT_TRUE(pagina.hasMatch());
  const QRegularExpression parola("<word xMin=\"([-0-9.]+)\" yMin=\"[-0-9.]+\" xMax=\"([-0-9.]+)\"");
  int n = 0;
  for (auto it = parola.globalMatch(xml); it.hasNext(); ++n) {
    const auto w = it.next();
    EXPECT_GE(w.captured(1).toDouble(), 0);
    EXPECT_LE(w.captured(2).toDouble(), pagina.captured(1).toDouble());
  }
  EXPECT_GT(n, kCunei);
}

TEST_F(GraficoDaMenu, ADamagedWedgeTableOrSlopeFileIsToldInsteadOfAPlotThatWouldShowItWrongly) {
  // A dip direction written with a letter O in the wedge table, a face dip beyond a right angle in the slope file:
  // the cluster plot that draws them tells the file and the line, and shows no plot.
  PercorsoCluster(t);
  OpzioniGrafiche o;
  o.Opzione = {0, 1, 1, 1, 1, 1, 1};
  ASSERT_TRUE(ScriviFileOpzioniGrafiche(t.D("esempio.GRA"), o));
  const QString tabella = testing_support::ReadAnsi(t.D("esempio.GMC"));
  const QString fronte = testing_support::ReadAnsi(t.D("esempio.fro"));
  const struct {
    const char* file;
    QString testo;
  } casi[] = {{"esempio.GMC", QString(tabella).replace(tabella.indexOf('\n') + 1, 1, 'O')},
              {"esempio.fro", "180" + fronte.mid(fronte.indexOf('\n'))}};
  for (const auto& c : casi) {
    WriteAnsi(t.D("esempio.GMC"), tabella);
    WriteAnsi(t.D("esempio.fro"), fronte);
    WriteAnsi(t.D(c.file), c.testo);
    const auto r = Lancia("menu GraficaCluster\npress Command1(0)\nclose menu1\n", "answer OK\n");
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(r.exitCode, 0) << r.output.toStdString();
    const QStringList log = ReadLog(t.D("ui.log"));
    EXPECT_TRUE(log.filter("TALVOR\twindow\tGRAFICA\t").isEmpty()) << log.join('\n').toStdString();
    const QStringList messaggi = log.filter("\tmsgbox\t");
    EXPECT_EQ(messaggi.size(), 1) << log.join('\n').toStdString();
    if (messaggi.size() != 1) continue;
    EXPECT_TRUE(messaggi[0].startsWith(QString("TALVOR\tmsgbox\tATTENZIONE!\tIl file e' incompleto o danneggiato:\\n%1, "
                                               "riga %2\\n")
                                           .arg(c.file)
                                           .arg(QString(c.file) == "esempio.GMC" ? 2 : 1)))
        << messaggi[0].toStdString();
  }
}

// The wedge table that the cluster plot draws and the results report prints is read by both as PELDRIX writes it:
// a heading or a row that is not so is told by each with the same file and line, TALVOR shows no plot, and the
// report is not made (it printed a row "zzz", a factor of safety -7 and a volume "abc"; the plot drew a table
// without a heading, or of 0 bytes, as if it held no wedge).
TEST_F(GraficoDaMenu, ThePlotAndTheReportTellTheSameDamagedLineOfTheWedgeTable) {
  PercorsoCluster(t);
  OpzioniGrafiche o;
  o.Opzione = {0, 1, 1, 1, 1, 1, 1};
  ASSERT_TRUE(ScriviFileOpzioniGrafiche(t.D("esempio.GRA"), o));
  const QStringList tabella = testing_support::ReadAnsi(t.D("esempio.GMC")).split('\n');
  ASSERT_GE(tabella.size(), 3);
  auto con = [&tabella](int riga, const QString& testo) {
    QStringList righe = tabella;
    righe.insert(riga - 1, testo);
    return righe.join('\n');
  };
  const struct {
    QString testo;
    int riga;
  } casi[] = {
      {con(3, "zzz"), 3},
      {con(2, "122.0\t64.0\tSI\t35.0\t10.0\tSI\t-7\tabc"), 2},
      {QStringList(tabella.mid(1)).join('\n'), 1},
      {QString(), 1},
      {con(2, "   "), 2},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.testo.toStdString());
    WriteAnsi(t.D("esempio.GMC"), c.testo);
    QFile::remove(t.D("esempio.txt"));
    const auto r =
        Lancia("menu GraficaCluster\npress Command1(0)\nmenu esptabtxt\nanswer OK\nclose menu1\n", "answer OK\n");
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(r.exitCode, 0) << r.output.toStdString();
    const QStringList log = ReadLog(t.D("ui.log"));
    EXPECT_TRUE(log.filter("TALVOR\twindow\tGRAFICA\t").isEmpty()) << log.join('\n').toStdString();
    const QStringList messaggi = log.filter("\tmsgbox\t");
    ASSERT_EQ(messaggi.size(), 2) << log.join('\n').toStdString();
    const QString dove = QString("Il file e' incompleto o danneggiato:\\nesempio.GMC, riga %1\\n").arg(c.riga);
    EXPECT_TRUE(messaggi[0].startsWith("TALVOR\tmsgbox\tATTENZIONE!\t" + dove)) << messaggi[0].toStdString();
    EXPECT_TRUE(messaggi[1].startsWith("frattix32\tmsgbox\tATTENZIONE!\t" + dove)) << messaggi[1].toStdString();
    EXPECT_TRUE(messaggi[1].contains("Il tabulato dei risultati non e' stato prodotto.")) << messaggi[1].toStdString();
    EXPECT_FALSE(QFile::exists(t.D("esempio.txt")));
  }
}

}  // namespace
