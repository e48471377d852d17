// The drawing primitives and the display list: chunks, pens, texts, markers, numbers, clipping.
#include "tests/plot/fixture.h"

#include "common/platform/textio.h"

using namespace plot_test;
using testing_support::WriteAnsi;

namespace {

class Primitive : public PlotTest {
 protected:
  void SetUp() override {
    PlotTest::SetUp();
    // Pen 1 white (drawn black), pen 2 red, pen 3 green, pen 4 blue, pen 5 not drawn; 1 mm thick; margins 1, 2.
    QString t = TabellaPenne(1, 1, "1\n2\n");
    for (int p = 2; p <= 5; ++p)
      t.replace(QStringLiteral("Penna %1\n1\n").arg(p), QStringLiteral("Penna %1\n%2\n").arg(p).arg(p == 5 ? 0 : p));
    WriteAnsi(folder->P("korvenITA.CFG"), t);
    Pagina();
  }
  static void Penna(int p) { SelezionaPennaTabella(p); }
  // Draws n segments side by side.
  static void Segmenti(int n) {
    for (int i = 0; i < n; ++i) {
      Traccia(i * 0.0005, 1, 3);
      Traccia(i * 0.0005, 2, 2);
    }
  }
  static double Conta(int b) {
    plat::SeqReader r(FileBloccoSegmenti(b));
    double n = -1;
    r.ReadNumber(n);
    return n;
  }
};

TEST_F(Primitive, AFullChunkIsWrittenWhenThePlotEndsAndTheNextSegmentStartsChunkTwo) {
  Penna(2);
  Segmenti(DimensioneBlocco);
  EXPECT_EQ(Grafico.NumeroBlocchi, 0);
  EXPECT_FALSE(plat::FileExists(FileBloccoSegmenti(1)));
  Traccia(0, 0, 999);
  EXPECT_EQ(Grafico.NumeroBlocchi, 1);
  EXPECT_EQ(Conta(1), DimensioneBlocco);
  EXPECT_FALSE(plat::FileExists(FileBloccoSegmenti(2)));
  // The file is the record: 1 + 6 lines a segment, numbers with a point, in drawing coordinates.
  const QStringList righe = testing_support::ReadAnsi(FileBloccoSegmenti(1)).split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(righe.size(), 1 + 6 * DimensioneBlocco);
  EXPECT_EQ(righe.mid(1, 6), QStringList({"1", "-1", "1", "0", "255", "0.1"}));
  EXPECT_TRUE(plat::TempFolder().startsWith(QDir::tempPath()));
}

TEST_F(Primitive, TheSegmentAfterAFullChunkWritesItAndStartsTheNext) {
  Penna(2);
  Segmenti(DimensioneBlocco + 1);
  EXPECT_EQ(Grafico.NumeroBlocchi, 1);
  EXPECT_EQ(Conta(1), DimensioneBlocco);
  EXPECT_EQ(Grafico.NumeroSegmenti, 1);
  Traccia(0, 0, 999);
  EXPECT_EQ(Grafico.NumeroBlocchi, 2);
  EXPECT_EQ(Conta(2), 1);
  // Replayed in the order drawn, across the chunks, and the list ends holding the last chunk.
  std::vector<double> xs;
  ASSERT_TRUE(PercorriSegmenti([&](const Segmento& s) { xs.push_back(s.X1); }));
  ASSERT_EQ(xs.size(), DimensioneBlocco + 1u);
  EXPECT_TRUE(std::is_sorted(xs.begin(), xs.end()));
  EXPECT_DOUBLE_EQ(xs.back(), 1 + DimensioneBlocco * 0.0005);
  EXPECT_EQ(Grafico.NumeroSegmenti, 1);
}

TEST_F(Primitive, AChunkIsReadBackExactlyAndOnlyWhenEveryLineIsOneFiniteNumber) {
  Script("answer OK\nanswer OK\nanswer OK\n");
  Penna(2);
  Traccia(1.0 / 3, 2.0 / 7, 3);
  Traccia(12345.6789, -0.5, 2);
  Traccia(0, 0, 999);
  ASSERT_TRUE(LeggiBloccoSegmenti(1));
  EXPECT_EQ(Grafico.NumeroSegmenti, 1);
  const Segmento s = Grafico.ListaSegmenti[1];
  // Seven decimals at most, as the file holds them.
  EXPECT_DOUBLE_EQ(s.X2, 1 + 12345.6789);
  EXPECT_NEAR(s.X1, 1 + 1.0 / 3, 1e-7);
  EXPECT_EQ(s.Colore, 255);
  // Line feeds alone and blanks around the numbers are read as well.
  WriteAnsi(FileBloccoSegmenti(1), " 1 \n 1\n2\t\n3\n4\n255\n0\n");
  ASSERT_TRUE(LeggiBloccoSegmenti(1));
  EXPECT_EQ(Grafico.ListaSegmenti[1].Y2, 4);
  // Anything else on a line, or a value that is no finite number, makes the chunk damaged.
  for (const char* testo : {" 1 \n1 2\n3\n4\n5\n255\n0\n", " 1 \n1\ninf\n3\n4\n255\n0\n",
                            " 1 \n1\n\n3\n4\n255\n0\n"}) {
    WriteAnsi(FileBloccoSegmenti(1), testo);
    EXPECT_FALSE(LeggiBloccoSegmenti(1)) << testo;
  }
}

// A chunk is taken back only as the plot wrote it: a count of 0, a chunk before the last one that is not full, a
// colour that is not a whole number, a width below 0 and a line after the last segment are damage, told with the
// chunk's file and line; nothing of that chunk is replayed, and the chunks before it are replayed whole.
TEST_F(Primitive, AChunkFileNotAsThePlotWroteItIsToldWithItsLineAndNothingOfItIsReplayed) {
  Penna(2);
  Segmenti(DimensioneBlocco + 2);
  Traccia(0, 0, 999);
  ASSERT_EQ(Grafico.NumeroBlocchi, 2);
  const QString primo = testing_support::ReadAnsi(FileBloccoSegmenti(1));
  const QString secondo = testing_support::ReadAnsi(FileBloccoSegmenti(2));
  const QStringList righe = secondo.split("\n");
  ASSERT_EQ(righe.size(), 1 + 2 * 6 + 1);
  ASSERT_EQ(righe[5], "255");  // the colour of the first segment of chunk 2
  QStringList colore = righe, spessore = righe;
  colore[5] = "255.5";
  spessore[6] = "-0.1";  // its width
  const QString corto = " 2 \n" + primo.split("\n").mid(1, 12).join("\n") + "\n";
  struct Caso {
    int blocco;
    QString testo;
    int riga;
    int replicati;  // the segments replayed before the damaged chunk
  };
  const Caso casi[] = {
      {2, " 0 \n", 1, DimensioneBlocco},
      {1, corto, 1, 0},
      {2, colore.join("\n"), 6, DimensioneBlocco},
      {2, spessore.join("\n"), 7, DimensioneBlocco},
      {2, secondo + " 1 \n", 14, DimensioneBlocco},
      {2, secondo + "\n", 14, DimensioneBlocco},
  };
  for (const Caso& c : casi) {
    SCOPED_TRACE(c.testo.left(40).toStdString());
    QFile::remove(folder->D("ui.log"));
    Script("answer OK\n");
    WriteAnsi(FileBloccoSegmenti(1), primo);
    WriteAnsi(FileBloccoSegmenti(2), secondo);
    WriteAnsi(FileBloccoSegmenti(c.blocco), c.testo);
    int replicati = 0;
    EXPECT_FALSE(PercorriSegmenti([&](const Segmento&) { ++replicati; }));
    EXPECT_EQ(replicati, c.replicati);
    const QStringList log = Log();
    ASSERT_EQ(log.size(), 1);
    EXPECT_TRUE(log[0].contains(QStringLiteral("\tIl file temporaneo del grafico manca o e' incompleto:\\nplttmp%1.tmp, "
                                               "riga %2\\n")
                                    .arg(c.blocco)
                                    .arg(c.riga)))
        << log[0].toStdString();
  }
  // As written, both chunks are replayed whole.
  WriteAnsi(FileBloccoSegmenti(1), primo);
  WriteAnsi(FileBloccoSegmenti(2), secondo);
  int replicati = 0;
  EXPECT_TRUE(PercorriSegmenti([&](const Segmento&) { ++replicati; }));
  EXPECT_EQ(replicati, DimensioneBlocco + 2);
}

TEST_F(Primitive, APlotWithoutSegmentsWritesNoChunk) {
  Penna(5);
  Traccia(1, 1, 2);
  DisegnaSimbolo(3, 3, 1, "1", 0, -1);
  Traccia(0, 0, 999);
  EXPECT_EQ(Grafico.NumeroBlocchi, 0);
  EXPECT_FALSE(plat::FileExists(FileBloccoSegmenti(1)));
}

TEST_F(Primitive, WhitePenDrawsAndRecordsBlackAndAPenOfColourZeroOnlyMoves) {
  Penna(1);
  Traccia(2, 10, 3);
  Traccia(8, 10, 2);
  ASSERT_EQ(Grafico.NumeroSegmenti, 1);
  EXPECT_EQ(Grafico.ListaSegmenti[1].Colore, 0);
  EXPECT_TRUE(ColoreVicino(5 + 1, 10 - 2, qRgb(0, 0, 0)));
  Penna(5);
  Traccia(8, 20, 2);
  EXPECT_EQ(Grafico.NumeroSegmenti, 1);
  EXPECT_DOUBLE_EQ(Grafico.PuntoCorrente.Y, 20);
  EXPECT_FALSE(ColoreVicino(8 + 1, 15 - 2, qRgb(0, 0, 0)));
  Penna(2);
  Traccia(12, 20, 2);
  const Segmento& s = Grafico.ListaSegmenti[2];
  EXPECT_DOUBLE_EQ(s.X1, 9);
  EXPECT_DOUBLE_EQ(s.Y1, 18);
  EXPECT_EQ(s.Colore, 0x0000FF);
  EXPECT_DOUBLE_EQ(s.Spessore, 0.1);
  EXPECT_TRUE(ColoreVicino(11, 18, qRgb(255, 0, 0)));
}

TEST_F(Primitive, NegativePenCodesMoveTheOrigin) {
  Penna(2);
  Traccia(5, 5, -3);
  Traccia(1, 0, 2);
  const Segmento& s = Grafico.ListaSegmenti[1];
  // Drawing coordinates: the origin and the margins (1 right, 2 down) applied.
  EXPECT_DOUBLE_EQ(s.X1, 6);
  EXPECT_DOUBLE_EQ(s.Y1, 3);
  EXPECT_DOUBLE_EQ(s.X2, 7);
  EXPECT_DOUBLE_EQ(s.Y2, 3);
  // Non-finite points are neither drawn nor recorded.
  Traccia(std::nan(""), 1, 2);
  Traccia(1, HUGE_VAL, 2);
  EXPECT_EQ(Grafico.NumeroSegmenti, 1);
}

TEST_F(Primitive, LineWidthFollowsThePenAndIsAtLeastOnePixel) {
  int p = 2;
  SelezionaPenna(p, 0x0000FF);
  Grafico.PennaCorrente.Spessore = 0.4 / ((Grafico.ScalaGrafico.X + Grafico.ScalaGrafico.Y) / 2);
  Traccia(1, 1, 2);
  EXPECT_EQ(Superficie()->DrawWidth(), 1);
  Grafico.PennaCorrente.Spessore = 2.5 / ((Grafico.ScalaGrafico.X + Grafico.ScalaGrafico.Y) / 2);
  Traccia(1, 2, 2);
  EXPECT_EQ(Superficie()->DrawWidth(), 2);  // halves to the even width
}

// The strokes a marker records, as offsets from its centre in units of its height.
std::vector<std::array<double, 4>> Tratti(const QString& numero, double angolo) {
  const int prima = Grafico.NumeroSegmenti;
  DisegnaSimbolo(10, 10, 2, numero, angolo, -1);
  std::vector<std::array<double, 4>> out;
  for (int i = prima + 1; i <= Grafico.NumeroSegmenti; ++i) {
    const Segmento& s = Grafico.ListaSegmenti[i];
    out.push_back({(s.X1 - 11) / 2, (s.Y1 - 8) / 2, (s.X2 - 11) / 2, (s.Y2 - 8) / 2});
  }
  return out;
}

TEST_F(Primitive, MarkerSymbolsAreDrawnByStrokesThroughTheDisplayList) {
  Penna(3);
  using T = std::vector<std::array<double, 4>>;
  EXPECT_EQ(Tratti("3", 0), T({{-0.5, 0, 0.5, 0}, {0, 0.5, 0, -0.5}}));
  EXPECT_EQ(Tratti("2", 0), T({{0, 0, 0, 0.5}, {0, 0.5, -0.5, -0.5}, {-0.5, -0.5, 0.5, -0.5}, {0.5, -0.5, 0, 0.5}}));
  EXPECT_EQ(Tratti("2", 180), T({{0, 0, 0, -0.5}, {0, -0.5, -0.5, 0.5}, {-0.5, 0.5, 0.5, 0.5}, {0.5, 0.5, 0, -0.5}}));
  EXPECT_EQ(Tratti("7", 180), Tratti("7", 0));
  EXPECT_EQ(Tratti("15", 0), T({{0, 0, 1, 0}}));
  EXPECT_EQ(Tratti("16 ", 90), T({{0, 0, 0, 1}}));
  EXPECT_EQ(Tratti("1", 0).size(), 10u);
  EXPECT_EQ(Tratti("10", 0).size(), 8u);
  EXPECT_EQ(Tratti("11", 0).size(), 4u);
  EXPECT_EQ(Tratti("14", 0).size(), 7u);
  const T dodici = Tratti("12", 0);
  ASSERT_EQ(dodici.size(), 4u);
  EXPECT_EQ(dodici[2], (std::array<double, 4>{-0.5, -0.5, -0.5, 0.5}));
  EXPECT_EQ(dodici[3], (std::array<double, 4>{-0.5, 0.5, -0.5, 0.5}));
  for (const char* nessuno : {"0", "17", "2.5", "", "x", "-1"}) EXPECT_TRUE(Tratti(nessuno, 0).empty()) << nessuno;
  // A marker leaves the pen at its centre.
  EXPECT_DOUBLE_EQ(Grafico.PuntoCorrente.X, 10);
}

TEST_F(Primitive, NumbersAreWrittenWithTheirDecimalsCut) {
  EXPECT_EQ(TestoNumero(-3.14159, 2), "-3.14");
  EXPECT_EQ(TestoNumero(2.96, 1), "2.9");
  EXPECT_EQ(TestoNumero(12, 0), "12.");
  EXPECT_EQ(TestoNumero(0.999999, 2), "1.00");
  EXPECT_EQ(TestoNumero(1.5, 7), "1.50000");
  EXPECT_EQ(TestoNumero(std::nan(""), 2), "");
  Penna(2);
  DisegnaNumero(3, 4, 0.3, 1.25, 0, 2);
  ASSERT_EQ(Grafico.NumeroScritte, 1);
  EXPECT_EQ(Grafico.ListaScritte[1].Testo, "1.25");
  EXPECT_EQ(Grafico.ListaScritte[1].Tipo, 4);
}

TEST_F(Primitive, TextsAreDrawnAndRecordedWithTheirPenAndTheListKeepsEveryOne) {
  Penna(1);
  DisegnaSimbolo(4, 12, 1, "HHHH", 0, -2);
  ASSERT_EQ(Grafico.NumeroScritte, 1);
  const Scritta& t = Grafico.ListaScritte[1];
  EXPECT_DOUBLE_EQ(t.X, 5);
  EXPECT_DOUBLE_EQ(t.Y, 10);
  EXPECT_EQ(t.Tipo, -2);
  EXPECT_EQ(t.Colore, 0);
  EXPECT_EQ(t.Carattere, "Arial");
  // Centred on its point: ink on both sides, above the baseline, none below it or far to the right.
  const QRgb nero = qRgb(0, 0, 0);
  EXPECT_GT(Inchiostro(3.5, 10, 5, 10.9, nero), 20);
  EXPECT_GT(Inchiostro(5, 10, 6.5, 10.9, nero), 20);
  EXPECT_EQ(Inchiostro(3, 9, 7, 9.8, nero), 0);
  EXPECT_EQ(Inchiostro(7.5, 10, 9, 10.9, nero), 0);
  Penna(5);
  DisegnaSimbolo(4, 14, 1, "invisibile", 0, 10);
  EXPECT_EQ(Grafico.NumeroScritte, 1);

  // Far beyond the 2,000 texts a list of fixed size would hold: each is recorded in order, the last one too.
  Penna(2);
  for (int i = 2; i <= 12368; ++i) DisegnaSimbolo(0.5, 0.5, 0.1, QString::number(i), 0, 1);
  DisegnaSimbolo(12, 22, 1.5, "MMM", 0, 3);
  ASSERT_EQ(Grafico.NumeroScritte, 12369);
  for (int i = 2; i <= 12368; ++i)
    ASSERT_EQ(Grafico.ListaScritte[static_cast<std::size_t>(i)].Testo, QString::number(i));
  EXPECT_EQ(Grafico.ListaScritte[12369].Testo, "MMM");
  EXPECT_GT(Inchiostro(13, 20, 15, 21, qRgb(255, 0, 0)), 20);
  // A new plot holds its own texts only.
  InizioGrafico(0, QString(), 0, 0, 19.4, 27.7, 0);
  EXPECT_EQ(Grafico.NumeroScritte, 0);
  EXPECT_EQ(Grafico.ListaScritte.size(), 1u);
}

TEST(TagliaSegmento, ClipsToTheRectangleAndTellsWhatLiesOutside) {
  double x1 = -1, y1 = 5, x2 = 11, y2 = 5;
  int r = -1;
  TagliaSegmento(x1, y1, x2, y2, 0, 10, 0, 10, r);
  EXPECT_EQ(r, 0);
  EXPECT_EQ((std::array<double, 4>{x1, y1, x2, y2}), (std::array<double, 4>{0, 5, 10, 5}));

  x1 = 2, y1 = 11, x2 = 8, y2 = 12;
  TagliaSegmento(x1, y1, x2, y2, 0, 10, 0, 10, r);
  EXPECT_EQ(r, 1);

  // On an edge: visible.
  x1 = 0, y1 = 2, x2 = 0, y2 = 20;
  TagliaSegmento(x1, y1, x2, y2, 0, 10, 0, 10, r);
  EXPECT_EQ(r, 0);
  EXPECT_EQ((std::array<double, 4>{x1, y1, x2, y2}), (std::array<double, 4>{0, 2, 0, 10}));

  // A diagonal through a corner region: the ends may come back swapped.
  x1 = 12, y1 = -2, x2 = -2, y2 = 12;
  TagliaSegmento(x1, y1, x2, y2, 0, 10, 0, 10, r);
  EXPECT_EQ(r, 0);
  EXPECT_NEAR(std::min(x1, x2), 0, 1e-12);
  EXPECT_NEAR(std::max(x1, x2), 10, 1e-12);
  EXPECT_NEAR(x1 + y1, 10, 1e-12);

  // Misses the rectangle only after the first clip.
  x1 = -5, y1 = 9, x2 = 5, y2 = 19;
  TagliaSegmento(x1, y1, x2, y2, 0, 10, 0, 10, r);
  EXPECT_EQ(r, 1);

  x1 = std::nan(""), y1 = 0, x2 = 1, y2 = 1;
  TagliaSegmento(x1, y1, x2, y2, 0, 10, 0, 10, r);
  EXPECT_EQ(r, 1);
}

TEST_F(Primitive, AMissingOrShortChunkFileIsReportedAndNothingIsReplayedFromIt) {
  Script("answer OK\nanswer OK\nanswer OK\n");
  Penna(2);
  Segmenti(3);
  Traccia(0, 0, 999);
  QString testo = testing_support::ReadAnsi(FileBloccoSegmenti(1));
  testo.truncate(testo.lastIndexOf("255"));
  WriteAnsi(FileBloccoSegmenti(1), testo);
  int visti = 0;
  EXPECT_FALSE(PercorriSegmenti([&](const Segmento&) { ++visti; }));
  EXPECT_EQ(visti, 0);
  EXPECT_EQ(Grafico.NumeroSegmenti, 2);
  WriteAnsi(FileBloccoSegmenti(1), " 40000 \n");
  EXPECT_FALSE(LeggiBloccoSegmenti(1));
  plat::DeleteFile(FileBloccoSegmenti(1));
  EXPECT_FALSE(LeggiBloccoSegmenti(1));
  const QStringList log = Log();
  ASSERT_EQ(log.size(), 3);
  for (const QString& riga : log) EXPECT_TRUE(riga.contains("manca o e' incompleto:")) << riga.toStdString();
}

}  // namespace
