// Whole roads across the suite on a copy of the example session, each a run of the main program with real child
// programs answered by their scripts: the results report after a cluster run, the stability road, the star
// diagram printed and exported, and a survey sheet typed in the grid with its report.
#include "common/platform/files.h"
#include "tests/docexport/lettura.h"
#include "tests/support/support.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonObject>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

class Strada : public ::testing::Test {
 protected:
  void SetUp() override {
    t.AddPrograms({"frattix32", "TALVOR", "EIGEN", "peldrix", "MIRVANE", "wenlow"});
    WriteAnsi(t.P("language.cfg"), " 1 \n");
    QDir(t.Data()).mkpath("rilievi");
    QDir(t.Data()).mkpath("pdf");
    QDir(t.Root()).mkpath("script");
    QDir(t.Root()).mkpath("bin");
    QDir esempi(QStringLiteral(FRATTIX_TEST_SOURCE_DIR "/examples"));
    for (const QString& f : esempi.entryList(QDir::Files)) QFile::copy(esempi.filePath(f), R(f));
    // The viewer of Word documents and of text files notes every file it is started on.
    WriteScript(t.P("editore"), QString("#!/bin/sh\nprintf '%s\\n' \"$1\" >> %1\n").arg(t.Root() + "/aperti"));
    WriteAnsi(t.P("editor.cfg"), t.P("editore") + "\n" + t.P("editore") + "\n");
  }
  QString R(const QString& nome) const { return t.D("rilievi/" + nome); }
  // One run of the main program on the example session; `script` maps a program to its script.
  RunResult Esegui(const QMap<QString, QString>& script, const QProcessEnvironment& schermo = QProcessEnvironment()) {
    QDir(t.Root() + "/script").removeRecursively();
    QDir(t.Root()).mkpath("script");
    for (auto it = script.begin(); it != script.end(); ++it) WriteAnsi(t.Root() + "/script/" + it.key() + ".script", it.value());
    QProcessEnvironment env = ScriptedRunEnvironment(t, "");
    env.insert("FRATTIX_UI_SCRIPT", t.Root() + "/script");
    env.insert("FRATTIX_PDF_DIR", t.D("pdf"));
    env.insert("PATH", t.Root() + "/bin");  // no desktop viewer
    for (const QString& k : schermo.keys()) env.insert(k, schermo.value(k));
    QFile::remove(t.D("ui.log"));
    return RunProgram(t.P("frattix32"), {R("esempio.ses")}, t.Data(), env, 120000);
  }
  // TALVOR's clustering window: group average, level 4, the four clusters kept within 20 degrees.
  static QString QuattroFamiglie() {
    return "check Option3 1\npress Command3\nset Text1 4\nkey Text1 Enter\npress Picture3\nkey Picture1 Right\n"
           "key Picture1 Right\nkey Picture1 Right\npress Picture3\nset Text1 20\nkey Text1 Enter\npress Command1\n";
  }
  QStringList Log() const { return ReadLog(t.D("ui.log")); }
  QStringList Messaggi() const { return Log().filter("\tmsgbox\t"); }
  QStringList Righe(const QString& file) const { return ReadAnsi(file).split('\n', Qt::SkipEmptyParts); }
  // The files the text viewer was started on, once `quanti` have been noted (it runs detached).
  QStringList Aperti(int quanti) const {
    QStringList aperti;
    for (int i = 0; i < 300 && aperti.size() < quanti; ++i) {
      aperti = QString::fromUtf8(ReadBytes(t.Root() + "/aperti")).split('\n', Qt::SkipEmptyParts);
      if (aperti.size() < quanti) QThread::msleep(10);
    }
    return aperti;
  }
  static QString Utf8(const QString& file) { return QString::fromUtf8(ReadBytes(file)); }
  // The text of a PDF file, by pdftotext.
  static QString TestoPdf(const QString& pdf) {
    QProcess p;
    p.start("pdftotext", {"-layout", pdf, "-"});
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
  }
  // Every text of a Word document read back with python-docx: its paragraphs and the cells of its tables.
  static QString TestoDocx(const QString& file) {
    QString errore;
    const QJsonArray corpo = docexport_test::LeggiDocx(file, &errore);
    EXPECT_FALSE(corpo.isEmpty()) << errore.toStdString();
    QStringList testi;
    for (const auto& p : docexport_test::Paragrafi(corpo)) testi << p.toObject().value("p").toString();
    for (const auto& tab : docexport_test::Tabelle(corpo))
      for (const QStringList& riga : docexport_test::Testi(tab.toObject())) testi << riga.join('\t');
    return testi.join('\n');
  }
  TestFolder t;
};

// The wedge table's rows by the orientations of their two planes: factor of safety and volume.
QMap<QString, std::pair<double, double>> Cunei(const QStringList& righe) {
  QMap<QString, std::pair<double, double>> cunei;
  for (const QString& r : righe.mid(1)) {
    const QStringList c = r.split('\t');
    if (c.size() == 8) cunei.insert(QStringList({c[0], c[1], c[3], c[4]}).join('/'), {c[6].toDouble(), c[7].toDouble()});
  }
  return cunei;
}

TEST_F(Strada, ClusterRunThenTheResultsReportAsTextWordPdfAndPreview) {
  const RunResult r = Esegui({{"frattix32", QString("menu CalcoliCluster\nmenu esptabtxt\nmenu EsportaTabulatiDOC\n"
                                                    "menu StampaRapidaTabulati\nanswer OK \"esempio-1.pdf\"\n"
                                                    "menu VisualizzaAnteprimaTabulati\n"
                                                    "grab %1 Form1\nclose Form1\nclose menu1\n")
                                                .arg(t.D("tabulati.png"))},
                              {"TALVOR", QuattroFamiglie()}});
  ASSERT_EQ(r.exitCode, 0) << r.output.toStdString();
  EXPECT_EQ(Messaggi().size(), 1) << Log().join("\n").toStdString();  // the name of the PDF file printed
  ASSERT_EQ(Righe(R("esempio.FAM")).size(), 5);
  const QStringList gmc = Righe(R("esempio.GMC"));
  // The pairs of the four families that form a wedge against the example's face.
  ASSERT_GE(Cunei(gmc).size(), 1) << gmc.join("\n").toStdString();
  // Every form of the report holds the session's title and every table the run wrote: the four families' orientations,
  // the principal conductivities, the wedges' volumes.
  const auto controlla = [&](const QString& forma, const QString& resa) {
    SCOPED_TRACE(forma.toStdString() + ":\n" + resa.toStdString());
    EXPECT_TRUE(resa.contains("Cava di Monte Rasso"));
    for (const QString& riga : Righe(R("esempio.FAM")).mid(1)) {
      const QStringList c = riga.split('\t');
      EXPECT_TRUE(resa.contains(c.at(1)) && resa.contains(c.at(2))) << riga.toStdString();
    }
    for (const QString& riga : Righe(R("esempio.PER")).mid(1)) EXPECT_TRUE(resa.contains(riga.split('\t').at(1))) << riga.toStdString();
    for (const QString& riga : gmc.mid(1)) EXPECT_TRUE(resa.contains(riga.split('\t').at(7))) << riga.toStdString();
  };
  const QString testo = Utf8(R("esempio.txt"));
  EXPECT_TRUE(testo.startsWith("Program FRATTIX\r\nCava di Monte Rasso\r\n")) << testo.left(200).toStdString();
  controlla("text", testo);
  controlla("Word", TestoDocx(R("esempio.DOC")));
  controlla("PDF", TestoPdf(t.D("pdf/esempio-1.pdf")));
  QStringList aperti = Aperti(2);
  aperti.sort();
  EXPECT_EQ(aperti, (QStringList{R("esempio.DOC"), R("esempio.txt")}));
  // The preview showed the report.
  EXPECT_EQ(Log().filter("\twindow\tForm1\t").size(), 1);
  const QImage anteprima(t.D("tabulati.png"));
  ASSERT_FALSE(anteprima.isNull());
  EXPECT_GT(anteprima.width(), 200);
}

TEST_F(Strada, StabilityAfterTheSlopeFrontIsEditedInTheFieldForm) {
  ASSERT_EQ(Esegui({{"frattix32", "menu CalcoliCluster\nclose menu1\n"}, {"TALVOR", QuattroFamiglie()}}).exitCode, 0);
  const auto prima = Cunei(Righe(R("esempio.GMC")));
  ASSERT_GE(prima.size(), 1);
  const QStringList fronte = Righe(R("esempio.fro"));
  // The face twice as high (field 9, 25 m): the field form writes it, the stability command runs TALVOR and
  // PELDRIX again on the same families. The wedges keep their shape and hold eight times the volume.
  const RunResult r = Esegui({{"frattix32", "menu EdizioneFronte\nset Text1(8) 50\npress Command1(0)\n"
                                            "menu CalcoliStabilita\nclose menu1\n"},
                              {"TALVOR", ""}});
  ASSERT_EQ(r.exitCode, 0) << r.output.toStdString();
  EXPECT_TRUE(Messaggi().isEmpty()) << Log().join("\n").toStdString();
  EXPECT_EQ(Log().filter("\tform\tbase1\t").size(), 1);
  QStringList atteso = fronte;
  atteso[8] = "50";
  EXPECT_EQ(Righe(R("esempio.fro")), atteso);
  const auto dopo = Cunei(Righe(R("esempio.GMC")));
  ASSERT_EQ(dopo.keys(), prima.keys()) << ReadAnsi(R("esempio.GMC")).toStdString();
  int conVolume = 0;
  for (const QString& coppia : prima.keys()) {
    const double v = prima[coppia].second;
    if (v <= 0) continue;
    ++conVolume;
    EXPECT_NEAR(dopo[coppia].second / v, 8.0, 8.0 * 0.02) << coppia.toStdString();
  }
  EXPECT_GT(conVolume, 0);
}

// A session opened in a folder whose name holds a comma: the next start's dialogs open in that same folder, so that
// a session named there without its folder is made there, with its titles.
TEST_F(Strada, TheNextStartOpensInTheFolderOfTheLastSessionAlsoWithACommaInItsName) {
  const QString cava = t.D("cava, nord");
  QDir(t.Data()).mkpath("cava, nord");
  RunResult r = Esegui({{"frattix32", "menu FileApri\nfile \"" + cava + "/prima.ses\"\nclose menu1\n"}});
  ASSERT_EQ(r.exitCode, 0) << r.output.toStdString();
  EXPECT_EQ(ReadAnsi(t.P("path")), QDir(cava).canonicalPath() + "\n");
  r = Esegui({{"frattix32", "menu FileApri\nfile seconda.ses\nmenu EdizioneTitoli\npress Command1(0)\nclose menu1\n"}});
  ASSERT_EQ(r.exitCode, 0) << r.output.toStdString();
  EXPECT_TRUE(Messaggi().isEmpty()) << Log().join("\n").toStdString();
  EXPECT_TRUE(QFile::exists(cava + "/seconda.TIT")) << QDir(t.Data()).entryList().join(" ").toStdString();
  EXPECT_EQ(ReadAnsi(t.P("path")), QDir(cava).canonicalPath() + "\n");
}

TEST_F(Strada, BothTalvorPlotsInBothProjectionsPrintedAndExported) {
  // The plots of a real clustering result: the cluster plot and the projection of the initial data, each in the
  // equal-area and the equal-angle projection chosen in the graphics options, printed to PDF and exported to DXF.
  ASSERT_EQ(Esegui({{"frattix32", "menu CalcoliCluster\nclose menu1\n"}, {"TALVOR", QuattroFamiglie()}}).exitCode, 0);
  int stampe = 0;
  for (const QString comando : {"GraficaCluster", "GraficaProiezione"})
    for (const QString proiezione : {"Equiareale", "Equiangolare"}) {
      SCOPED_TRACE((comando + " " + proiezione).toStdString());
      const QString dxf = t.D(comando + proiezione + ".dxf");
      const RunResult r =
          Esegui({{"frattix32", "menu " + comando + "\npick Combo1(0) " + proiezione + "\npress Command1(0)\nclose menu1\n"},
                  {"TALVOR", "press Picture5\npress Picture4\nfile " + dxf + "\npress Picture6\n"}});
      ASSERT_EQ(r.exitCode, 0) << r.output.toStdString() << Log().join("\n").toStdString();
      EXPECT_TRUE(Messaggi().isEmpty()) << Log().join("\n").toStdString();
      EXPECT_EQ(Log().filter("TALVOR\twindow\tGRAFICA\t").size(), 1);
      const QStringList pdf = QDir(t.D("pdf")).entryList({"*.pdf"}, QDir::Files);
      EXPECT_EQ(pdf.size(), ++stampe);
      for (const QString& f : pdf) EXPECT_TRUE(ReadBytes(t.D("pdf/" + f)).startsWith("%PDF"));
      QProcess lettore;
      lettore.setProcessChannelMode(QProcess::MergedChannels);
      lettore.start("/usr/bin/python3", {FRATTIX_TEST_SOURCE_DIR "/tests/cluster/stereogramma_dxf.py", dxf,
                                         comando == "GraficaCluster" ? "cluster" : "poli"});
      ASSERT_TRUE(lettore.waitForFinished(60000));
      EXPECT_EQ(lettore.exitCode(), 0) << lettore.readAll().toStdString();
    }
}

// A script's bare close closes the window on top in every program, as its close button would: TALVOR's clustering
// window (TALVOR ends with no result), MIRVANE's diagram, the sheet preview over the main window, the main window.
TEST_F(Strada, ABareCloseClosesTheWindowOnTopInEveryProgram) {
  const QString sotto = t.D("sotto.png"), anteprima = t.D("anteprima.png"), dopo = t.D("dopo.png");
  const RunResult r = Esegui({{"frattix32", QString("grab %1\nmenu CalcoliCluster\nmenu GraficaStellare\n"
                                                    "menu StampaAnteprimaScheda\nfile %2\ngrab %3\nclose\n"
                                                    "grab %4\nclose\n")
                                                .arg(sotto, R("rampa.sch"), anteprima, dopo)},
                              {"TALVOR", "close\n"},
                              {"MIRVANE", "close\n"}});
  ASSERT_EQ(r.exitCode, 0) << r.output.toStdString() << Log().join("\n").toStdString();
  const QStringList log = Log();
  EXPECT_TRUE(log.filter("\tfatal\t").isEmpty()) << log.join("\n").toStdString();
  EXPECT_EQ(log.filter(QRegularExpression("^TALVOR\twindow\tworkform\t")).size(), 1);
  EXPECT_EQ(log.filter(QRegularExpression("^MIRVANE\twindow\tGRAFICA\t")).size(), 1);
  EXPECT_EQ(log.filter(QRegularExpression("^frattix32\twindow\tForm1\t")).size(), 1);
  EXPECT_FALSE(plat::FileExists(R("esempio.dat")));
  // The first close took the preview: the main window was on top after it.
  const QImage primo(sotto), secondo(anteprima), terzo(dopo);
  ASSERT_FALSE(primo.isNull());
  EXPECT_NE(secondo.size(), primo.size());
  EXPECT_EQ(terzo.size(), primo.size());
}

TEST_F(Strada, TheStarDiagramIsPrintedAndExported) {
  const QString dxf = t.D("stella.dxf");
  const RunResult r = Esegui({{"frattix32", "menu GraficaStellare\nclose menu1\n"},
                              {"MIRVANE", QString("press Picture5\npress Picture4\nfile %1\npress Picture6\n").arg(dxf)}});
  ASSERT_EQ(r.exitCode, 0) << r.output.toStdString();
  EXPECT_TRUE(Messaggi().isEmpty()) << Log().join("\n").toStdString();
  const QStringList pdf = QDir(t.D("pdf")).entryList({"*.pdf"}, QDir::Files);
  ASSERT_EQ(pdf.size(), 1);
  EXPECT_TRUE(ReadBytes(t.D("pdf/" + pdf[0])).startsWith("%PDF"));
  // The drawing read back: the circles of the net and the sectors of the diagram as lines.
  QProcess lettore;
  lettore.setProcessChannelMode(QProcess::MergedChannels);
  lettore.start("/usr/bin/python3",
                {"-c",
                 "import sys, ezdxf\n"
                 "m = ezdxf.readfile(sys.argv[1]).modelspace()\n"
                 "print(len(m.query('LINE')), len(m.query('LINE POLYLINE LWPOLYLINE CIRCLE ARC')), len(m.query('TEXT MTEXT')))\n",
                 dxf});
  ASSERT_TRUE(lettore.waitForFinished(60000));
  const QString uscita = QString::fromUtf8(lettore.readAll());
  ASSERT_EQ(lettore.exitCode(), 0) << uscita.toStdString();
  const QStringList conteggi = uscita.split(' ');
  ASSERT_EQ(conteggi.size(), 3) << uscita.toStdString();
  EXPECT_GT(conteggi[0].toInt(), 10) << uscita.toStdString();
  EXPECT_GT(conteggi[2].toInt(), 0) << uscita.toStdString();
}

TEST_F(Strada, ASurveySheetTypedInTheGridAndItsReport) {
  const QString scheda = R("nuova.sch");
  QString righe;
  const QList<QStringList> record = {{"1", "2.5", "gi", "33", "5", "2", "4", "2", "1", "PLA", "0", "LIS", "CAL", "R2"},
                                     {"2", "4.75", "gi", "210", "64", "2", "4", "2", "1", "PLA", "0", "LIS", "CAL", "R2"}};
  for (const QStringList& campi : record)
    for (const QString& c : campi) righe += "type " + c + "\nkey Return\n";
  const QString script =
      "menu EdizioneScheda\nfile " + scheda +
      "\nset Text1(0) \"Cava Nord\"\nset Text1(1) Gradone\nset Text1(2) Rossi\nset Text1(3) 12/05/2025\n"
      "set Text1(4) 120\nset Text1(5) 15\nset Text1(6) 38.5\npress Command1(0)\n" + righe +
      "press base2_32.Command1(0)\n"
      "menu espsctxt\nfile " + scheda + "\nmenu EsportaSchedaDOC\nfile " + scheda + "\n"
      "menu StampaRapidaScheda\nfile " + scheda + "\nanswer OK \"nuova-1.pdf\"\n"
      "menu StampaAnteprimaScheda\nfile " + scheda + "\ngrab " + t.D("scheda.png") + " Form1\nclose Form1\nclose menu1\n";
  const RunResult r = Esegui({{"frattix32", script}});
  ASSERT_EQ(r.exitCode, 0) << r.output.toStdString();
  EXPECT_EQ(Messaggi().size(), 1) << Log().join("\n").toStdString();  // the name of the PDF file printed
  const QStringList letta = Righe(scheda);
  ASSERT_EQ(letta.size(), 9);  // six header lines, the count and the two records (blank lines skipped)
  EXPECT_EQ(letta.mid(0, 3), (QStringList{"Cava Nord", "Gradone", "120/15"}));
  EXPECT_EQ(letta[8].mid(0, 20).simplified(), QString("2 4.75 GI 210 64"));
  // The report as text: the header and both records.
  const QString testo = Utf8(R("nuova.txt"));
  EXPECT_TRUE(testo.startsWith("Program FRATTIX 32\r\n")) << testo.left(200).toStdString();
  for (const char* atteso : {"Cava Nord", "Gradone", "Rossi", "38.5", "2.5", "4.8", "210"})
    EXPECT_TRUE(testo.contains(atteso)) << atteso << "\n" << testo.toStdString();
  const QString pdf = TestoPdf(t.D("pdf/nuova-1.pdf"));
  for (const char* atteso : {"Cava Nord", "Gradone", "Rossi", "38.5", "2.5", "4.8", "210"})
    EXPECT_TRUE(pdf.contains(atteso)) << atteso << "\n" << pdf.toStdString();
  const QString word = TestoDocx(R("nuova.DOC"));
  for (const char* atteso : {"Cava Nord", "Gradone", "Rossi", "38.5", "2.5", "4.8", "210"})
    EXPECT_TRUE(word.contains(atteso)) << atteso << "\n" << word.toStdString();
  QStringList aperti = Aperti(2);
  aperti.sort();
  EXPECT_EQ(aperti, (QStringList{R("nuova.DOC"), R("nuova.txt")}));
  EXPECT_EQ(Log().filter("\twindow\tForm1\t").size(), 1);
  EXPECT_FALSE(QImage(t.D("scheda.png")).isNull());
}

// On a screen of 2560 x 1600 pixels scaled by 2 (a laptop's 200 % display scale) the clustering net, TALVOR's plot
// preview and MIRVANE's are drawn in the screen's pixels, not in the window's and enlarged: their lines and texts
// are finer than a pixel of the window, and so are the pictures of the preview's buttons.
TEST_F(Strada, PlotsAreDrawnInThePixelsOfAScaledScreen) {
  QFile schermo(t.Root() + "/schermo.json");
  ASSERT_TRUE(schermo.open(QIODevice::WriteOnly));
  schermo.write(R"({"screens": [{"name": "s", "x": 0, "y": 0, "width": 2560, "height": 1600}]})");
  schermo.close();
  QProcessEnvironment scala;
  scala.insert("QT_QPA_PLATFORM", "offscreen:configfile=" + schermo.fileName());
  scala.insert("QT_SCALE_FACTOR", "2");
  // The net grabbed while the four clusters are shown; then the two previews.
  QString talvor = QuattroFamiglie();
  talvor.replace("press Picture3\n", QString("grab %1\npress Picture3\n").arg(t.D("rete.png")), Qt::CaseSensitive);
  RunResult r = Esegui({{"frattix32", "menu CalcoliCluster\nclose menu1\n"}, {"TALVOR", talvor}}, scala);
  ASSERT_EQ(r.exitCode, 0) << r.output.toStdString();
  r = Esegui({{"frattix32", "menu GraficaCluster\npress Command1(0)\nmenu GraficaStellare\nclose menu1\n"},
              {"TALVOR", QString("grab %1\npress Picture6\n").arg(t.D("talvor.png"))},
              {"MIRVANE", QString("grab %1\npress Picture6\n").arg(t.D("mirvane.png"))}},
             scala);
  ASSERT_EQ(r.exitCode, 0) << r.output.toStdString();

  // The net: the rows of the window that hold a long run of its black ground.
  const QImage rete = QImage(t.D("rete.png")).convertToFormat(QImage::Format_RGB32);
  ASSERT_FALSE(rete.isNull());
  QRect campo;
  for (int y = 0; y < rete.height(); ++y) {
    int corsa = 0, inizio = 0;
    for (int x = 0; x < rete.width(); ++x) {
      corsa = rete.pixel(x, y) == qRgb(0, 0, 0) ? corsa + 1 : 0;
      if (corsa == 1) inizio = x;
      if (corsa == 400) campo |= QRect(inizio, y, 400, 1);
    }
  }
  ASSERT_GT(campo.height(), 400) << "no net in the picture";
  EXPECT_GT(testing_support::BlocksFinerThanAWindowPixel(rete, campo, 2), 200);
  for (const QString& nome : {QString("talvor.png"), QString("mirvane.png")}) {
    const QImage anteprima(t.D(nome));
    ASSERT_GT(anteprima.height(), 200) << nome.toStdString();
    // The buttons are 33 pixels of the window high, the drawing below them.
    EXPECT_GT(testing_support::BlocksFinerThanAWindowPixel(anteprima, QRect(0, 0, anteprima.width(), 64), 2), 200)
        << nome.toStdString();
    EXPECT_GT(testing_support::BlocksFinerThanAWindowPixel(
                  anteprima, QRect(0, 70, anteprima.width(), anteprima.height() - 70), 2), 200)
        << nome.toStdString();
  }
}

}  // namespace
