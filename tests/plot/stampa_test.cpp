// Printing of plots: the tiling and fitting arithmetic, and whole prints to PDF looked at as images.
#include "tests/plot/fixture.h"

#include "common/platform/printdc.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QProcess>

using namespace plot_test;
using testing_support::WriteAnsi;

namespace {

TEST(CalcolaFogli, APageWiderThanTheSheetTakesTwoColumnsAtScale) {
  const FogliStampa f = CalcolaFogli({0, 0, 19.4, 27.7}, 19.0, 28.0, 1, false);
  EXPECT_EQ(f.Colonne, 2);
  EXPECT_EQ(f.Righe, 1);
  EXPECT_EQ(f.Scala, 1);
  const Punto o = OffsetFoglio(f, 2, 1, 19.0, 28.0, false);
  EXPECT_DOUBLE_EQ(o.X, 18);
  EXPECT_DOUBLE_EQ(o.Y, 0);
  EXPECT_DOUBLE_EQ(OffsetFoglio(f, 3, 4, 19.0, 28.0, false).Y, 81);
}

TEST(CalcolaFogli, APageExactlyAsWideAsTheCoveredWidthNeedsNoFurtherSheet) {
  EXPECT_EQ(CalcolaFogli({0, 0, 37, 10}, 19, 28, 1, false).Colonne, 2);
  EXPECT_EQ(CalcolaFogli({0, 0, 37.01, 10}, 19, 28, 1, false).Colonne, 3);
  EXPECT_EQ(CalcolaFogli({0, 0, 19, 28}, 19, 28, 1, false).Colonne, 1);
  EXPECT_EQ(CalcolaFogli({0, 0, 100, 28.5}, 19, 28, 0.5, false).Colonne, 6);
  EXPECT_EQ(CalcolaFogli({0, 0, 100, 28.5}, 19, 28, 0.5, false).Righe, 2);
}

TEST(CalcolaFogli, AnOverlapThatLeavesNothingOfTheSheetCountsAsNone) {
  for (double overlap : {19.0, 28.0, 500.0, -3.0}) {
    const FogliStampa f = CalcolaFogli({0, 0, 40, 60}, 19, 28, overlap, false);
    EXPECT_EQ(f.Sovrapposizione, 0) << overlap;
    EXPECT_EQ(f.Colonne, 3) << overlap;
    EXPECT_EQ(f.Righe, 3) << overlap;
  }
  EXPECT_EQ(CalcolaFogli({0, 0, 1e300, 1}, 19, 28, 1, false).Colonne, 1000);
}

TEST(CalcolaFogli, AFittedPageIsScaledToTheSheetAndCentred) {
  const FogliStampa f = CalcolaFogli({0, 0, 19.4, 27.7}, 19.0, 28.0, 1, true);
  EXPECT_EQ(f.Colonne * f.Righe, 1);
  EXPECT_DOUBLE_EQ(f.Scala, 19.0 / 19.6);
  EXPECT_DOUBLE_EQ(f.Pagina.X1, -0.1);
  EXPECT_DOUBLE_EQ(f.Pagina.Y2, 27.8);
  const Punto o = OffsetFoglio(f, 1, 1, 19.0, 28.0, true);
  EXPECT_NEAR(o.X, 0, 1e-12);
  EXPECT_NEAR(o.Y, (19.0 / 19.6 * 27.9 - 28.0) / 2, 1e-12);
}

// A page of a PDF as an image at `dpi`.
QImage PaginaPdf(const QString& pdf, int n, int dpi = 50) {
  const QString prefisso = pdf + QStringLiteral("-img");
  QProcess::execute(QStringLiteral("pdftoppm"), {"-r", QString::number(dpi), "-f", QString::number(n), "-l",
                                                 QString::number(n), "-png", "-singlefile", pdf, prefisso});
  return QImage(prefisso + QStringLiteral(".png"));
}

int Pagine(const QString& pdf) {
  QProcess p;
  p.start(QStringLiteral("pdfinfo"), {pdf});
  p.waitForFinished();
  for (const QString& riga : QString::fromLocal8Bit(p.readAllStandardOutput()).split('\n'))
    if (riga.startsWith("Pages:")) return riga.mid(6).trimmed().toInt();
  return -1;
}

// Columns of the image that hold a pixel of the colour (each channel within 90) between rows y1 and y2.
QList<int> Colonne(const QImage& im, QRgb colore, int y1, int y2) {
  QList<int> out;
  for (int x = 0; x < im.width(); ++x)
    for (int y = std::max(0, y1); y < std::min(im.height(), y2); ++y) {
      const QRgb c = im.pixel(x, y);
      if (std::abs(qRed(c) - qRed(colore)) < 90 && std::abs(qGreen(c) - qGreen(colore)) < 90 &&
          std::abs(qBlue(c) - qBlue(colore)) < 90) {
        out << x;
        break;
      }
    }
  return out;
}

class Stampa : public PlotTest {
 protected:
  void SetUp() override {
    PlotTest::SetUp();
    WriteAnsi(folder->P("korvenITA.CFG"), TabellaPenne(2, 2));  // every pen red, 0.2 mm
  }
  QStringList Pdf() const {
    QStringList out;
    for (const QString& f : QDir(folder->D("pdf")).entryList({"*.pdf"}, QDir::Files, QDir::Name))
      out << folder->D("pdf/") + f;
    return out;
  }
  static void Linea(double x1, double y1, double x2, double y2) {
    int p = 1;
    SelezionaPennaTabella(p);
    Traccia(x1, y1, 3);
    Traccia(x2, y2, 2);
  }
  static int Cm(double cm, int dpi = 50) { return static_cast<int>(cm / 2.54 * dpi); }
};

TEST_F(Stampa, AtScaleAWidePageIsTiledOverSheetsOneJobOnePdf) {
  InizioGrafico(0, QString(), 0, 0, 40, 27.7, 0);
  Linea(30, 2, 30, 20);  // on the second sheet, 30 - (21 - 1) = 10 cm from its left edge
  Linea(5, 25, 8, 25);   // on the first sheet
  Traccia(0, 0, 999);
  RidisegnaZoom(28, 2, 32, 6);  // a zoomed preview prints the whole page all the same
  StampaGrafico(false);
  const QStringList pdf = Pdf();
  ASSERT_EQ(pdf.size(), 1);
  EXPECT_TRUE(pdf.at(0).endsWith("Brenvale_output-1.pdf"));
  ASSERT_EQ(Pagine(pdf.at(0)), 2);

  // One plane and no forcecol: printed black.
  const QImage prima = PaginaPdf(pdf.at(0), 1), seconda = PaginaPdf(pdf.at(0), 2);
  ASSERT_FALSE(seconda.isNull());
  // y from the top of the sheet: the top of the page window less the page's y.
  const int alto = Cm(27.7 - 20), basso = Cm(27.7 - 2);
  const QList<int> nere = Colonne(seconda, qRgb(0, 0, 0), alto + 5, basso - 5);
  ASSERT_FALSE(nere.isEmpty());
  EXPECT_NEAR(nere.first(), Cm(10), 2);
  EXPECT_TRUE(Colonne(seconda, qRgb(255, 0, 0), 0, seconda.height()).isEmpty());
  EXPECT_TRUE(Colonne(prima, qRgb(0, 0, 0), alto + 5, basso - 5).isEmpty());
  const QList<int> orizzontale = Colonne(prima, qRgb(0, 0, 0), Cm(27.7 - 25) - 3, Cm(27.7 - 25) + 3);
  ASSERT_FALSE(orizzontale.isEmpty());
  EXPECT_NEAR(orizzontale.first(), Cm(5), 2);
  EXPECT_NEAR(orizzontale.last(), Cm(8), 2);

  // With forcecol the colours stay; a second print is a second PDF.
  WriteAnsi(folder->P("forcecol"), "");
  StampaGrafico(false);
  ASSERT_EQ(Pdf().size(), 2);
  EXPECT_FALSE(Colonne(PaginaPdf(Pdf().at(1), 2), qRgb(255, 0, 0), alto + 5, basso - 5).isEmpty());
}

TEST_F(Stampa, FittedThePageIsOneSheetAndTextsSitWhereTheirLinesAre) {
  // A page window that does not start at 0: lines and texts must move together.
  InizioGrafico(0, QString(), 5, 0, 25, 27.7, 0);
  Linea(6, 2, 6, 20);
  int p = 1;
  SelezionaPennaTabella(p);
  DisegnaSimbolo(6, 22, 2, "HHH", 0, 3);
  Traccia(0, 0, 999);
  StampaGrafico(true);
  ASSERT_EQ(Pdf().size(), 1);
  ASSERT_EQ(Pagine(Pdf().at(0)), 1);
  const QImage im = PaginaPdf(Pdf().at(0), 1, 100);
  const FogliStampa f = CalcolaFogli(Grafico.FinestraPagina, 21.0, 29.7, 1, true);
  // The page (widened by 0.1 cm) is centred: its left edge 5 - 0.1 at the left of the sheet.
  const auto y = [&](double cm) {
    const Punto o = OffsetFoglio(f, 1, 1, 21.0, 29.7, true);
    return Cm(f.Scala * (27.8 - cm) - o.Y, 100);
  };
  const QList<int> linea = Colonne(im, qRgb(0, 0, 0), y(18), y(4));
  const QList<int> testo = Colonne(im, qRgb(0, 0, 0), y(23.5), y(22.2));
  ASSERT_FALSE(linea.isEmpty());
  ASSERT_FALSE(testo.isEmpty());
  // The line is 2 mm wide about its x; the text starts at the same x (the H's side bearing apart).
  const int centro = (linea.first() + linea.last()) / 2;
  EXPECT_NEAR(centro, Cm(f.Scala * 1.1, 100), 2);
  EXPECT_NEAR(testo.first(), centro, Cm(0.35, 100));
  // The page window is the same after the print.
  EXPECT_DOUBLE_EQ(Grafico.FinestraPagina.X1, 5);
  EXPECT_DOUBLE_EQ(Grafico.FinestraPagina.Y2, 27.7);
}

TEST_F(Stampa, APlotNeverEndedPrintsWhatIsInMemory) {
  WriteAnsi(folder->P("overlap.cfg"), "100\n");
  Pagina();
  Linea(2, 2, 2, 20);
  StampaGrafico(false);
  ASSERT_EQ(Pdf().size(), 1);
  EXPECT_EQ(Pagine(Pdf().at(0)), 1);
  EXPECT_FALSE(Colonne(PaginaPdf(Pdf().at(0), 1), qRgb(0, 0, 0), Cm(10), Cm(20)).isEmpty());
}

TEST_F(Stampa, AMissingChunkFileEndsTheJobWithoutAPdf) {
  Script("answer OK\n");
  Pagina();
  Linea(2, 2, 2, 20);
  Traccia(0, 0, 999);
  plat::DeleteFile(FileBloccoSegmenti(1));
  StampaGrafico(true);
  EXPECT_TRUE(Pdf().isEmpty());
  const QStringList messaggi = Log().filter("\tmsgbox\t");
  ASSERT_EQ(messaggi.size(), 1);
  EXPECT_TRUE(messaggi.at(0).contains("manca o e' incompleto"));
}

TEST_F(Stampa, TheDeviceContextMeasuresAnA4PdfPage) {
  plat::PrinterDC& dc = plat::DeviceContext(plat::Printer().hDC());
  EXPECT_EQ(dc.GetDeviceCaps(plat::HORZSIZE), 210);
  EXPECT_EQ(dc.GetDeviceCaps(plat::VERTSIZE), 297);
  EXPECT_NEAR(dc.GetDeviceCaps(plat::HORZRES), 210 / 25.4 * 600, 5);
  EXPECT_EQ(dc.GetDeviceCaps(plat::PLANES), 1);
  EXPECT_EQ(dc.GetDeviceCaps(99), 0);
  EXPECT_NEAR(plat::Printer().Width() / 567, 21.0, 0.01);
  EXPECT_NEAR(plat::Printer().TwipsPerPixelX(), 2.4, 1e-9);
}

}  // namespace

namespace {

TEST_F(Stampa, APrinterWithoutAPrintableAreaPrintsNothingAndSaysSo) {
  QPrinter& stampante = plat::PrinterDevice();
  struct Ripristino {
    QPrinter& p;
    QPageLayout l;
    ~Ripristino() { p.setPageLayout(l); }
  } ripristino{stampante, stampante.pageLayout()};
  // Margins that leave no printable area: the device measures are 0 (or less).
  ASSERT_TRUE(stampante.setPageMargins(QMarginsF(105, 148.5, 105, 148.5), QPageLayout::Millimeter));
  ASSERT_LE(plat::DeviceContext(Avvio.DCStampante).GetDeviceCaps(plat::HORZSIZE), 0);
  Script("answer OK\nanswer OK\n");
  Pagina();
  Linea(2, 2, 2, 20);
  Traccia(0, 0, 999);
  StampaGrafico(false);
  StampaGrafico(true);
  EXPECT_TRUE(Pdf().isEmpty());
  const QStringList messaggi = Log().filter("\tmsgbox\t");
  ASSERT_EQ(messaggi.size(), 2);
  EXPECT_TRUE(messaggi.at(0).contains("non riporta le misure del foglio"));
}

}  // namespace

TEST_F(Stampa, APlotPrintedToAFileTellsWhereItWent) {
  InizioGrafico(0, QString(), 0, 0, 19.4, 27.7, 0);
  Linea(2, 2, 10, 10);
  Traccia(0, 0, 999);
  Script("");  // the notice waits for nobody: an empty script is enough
  StampaGrafico(true);
  const QStringList pdf = Pdf();
  ASSERT_EQ(pdf.size(), 1);
  const QStringList avvisi = Log().filter("\tnotice\t");
  ASSERT_EQ(avvisi.size(), 1);
  EXPECT_TRUE(avvisi.at(0).contains(QFileInfo(pdf.at(0)).fileName())) << avvisi.at(0).toStdString();
}

// A plot whose PDF cannot reach the disk whole (no file may grow beyond 4 KB, as on a full disk): no file is left
// behind, not even an empty one, and the user is told that the file cannot be written instead of where it went.
TEST_F(Stampa, APlotWhosePdfCannotBeWrittenWholeLeavesNoFileAndSaysSo) {
  InizioGrafico(0, QString(), 0, 0, 19.4, 27.7, 0);
  for (int i = 0; i < 1000; ++i) Linea(1 + i % 17, 1 + i % 23, 2 + i % 13, 3 + i % 19);
  Traccia(0, 0, 999);
  Script("answer OK \"non puo' essere scritto\"\n");
  {
    testing_support::FileSizeLimit limite(4096);
    StampaGrafico(true);
  }
  EXPECT_TRUE(QDir(folder->D("pdf")).isEmpty());
  const QStringList messaggi = Log().filter("\tmsgbox\t");
  ASSERT_EQ(messaggi.size(), 1) << Log().join(QLatin1Char('\n')).toStdString();
  EXPECT_TRUE(messaggi.at(0).contains("Brenvale_output-1.pdf")) << messaggi.at(0).toStdString();
  EXPECT_TRUE(Log().filter("\tnotice\t").isEmpty());
}

// The overlap is the one number of overlap.cfg. A file that holds anything else (a second item on the line, a
// second line, a CR that ends no line, something that is no file at the name) is said with its line, and the
// sheets overlap by the usual centimetre; only where nothing stands is the file missing, without a word.
TEST_F(Stampa, TheOverlapIsTheOneNumberOfItsFileAndADamagedFileIsSaid) {
  const struct {
    const char* testo;  // nullptr: nothing at the name
    double valore;
    int riga;  // of the message; 0 for none
  } casi[] = {
      {nullptr, 1, 0},        {"", 1, 0},           {" 0.5 \n\n", 0.5, 0}, {"3,2\n", 1, 1},
      {"\" 5 6\"\n", 1, 1}, {"1,5", 1, 1},         {" 5 6\n", 1, 1},       {" 0.5 \n7\n", 1, 2},
      {"due\n", 1, 1},       {"1e999\n", 1, 1},     {"2\r7\r", 1, 1},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.testo ? c.testo : "(nothing)");
    QFile::remove(folder->P("overlap.cfg"));
    if (c.testo) {
      QFile f(folder->P("overlap.cfg"));
      ASSERT_TRUE(f.open(QIODevice::WriteOnly));
      f.write(c.testo);
    }
    QFile::remove(folder->D("ui.log"));
    Script(c.riga ? QString("answer OK \"overlap.cfg, riga %1\"\n").arg(c.riga) : QString());
    EXPECT_EQ(LeggiSovrapposizione(), c.valore);
    const QStringList m = Log().filter("\tmsgbox\t");
    ASSERT_EQ(m.size(), c.riga ? 1 : 0);
    if (c.riga) {
      EXPECT_TRUE(m[0].contains(QString("overlap.cfg, riga %1\\n").arg(c.riga))) << m[0].toStdString();
    }
  }
  // A folder at the name is said as such.
  QFile::remove(folder->P("overlap.cfg"));
  ASSERT_TRUE(QDir(folder->Program()).mkdir("overlap.cfg"));
  QFile::remove(folder->D("ui.log"));
  Script("answer OK \"overlap.cfg\"\n");
  EXPECT_EQ(LeggiSovrapposizione(), 1);
  const QStringList m = Log().filter("\tmsgbox\t");
  ASSERT_EQ(m.size(), 1);
  EXPECT_TRUE(m[0].contains("una cartella, una pipe o un dispositivo")) << m[0].toStdString();
}
