// The stereographic plot: projections and wedge lines against values worked by hand, the wedge files, and what the
// display list holds for the graphics options.
#include "cluster/geometria.h"
#include "cluster/stereogramma.h"
#include "cluster/talvor.h"
#include "common/platform/application.h"
#include "common/platform/files.h"
#include "common/platform/ui.h"
#include "common/plot/dxf.h"
#include "common/plot/grafica.h"
#include "common/plot/grafico.h"
#include "common/texts/avvio.h"
#include "tests/support/scripted.h"
#include "tests/support/support.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QImage>
#include <QProcess>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

using testing_support::WriteAnsi;

Punto Polo(double immersione, double inclinazione, bool equiangolare, double segno) {
  double i = 0, d = 0;
  GiacituraInPolo(immersione, inclinazione, i, d);
  return ProiettaOrientazione(i, d, equiangolare, segno);
}

TEST(Proiezione, PolesFrictionCirclesAndWedgeLinesMatchTheWorkedValues) {
  EXPECT_NEAR(Polo(90, 30, false, -1).X, 7.0718, 1e-4);
  EXPECT_NEAR(Polo(90, 30, false, -1).Y, 14, 1e-9);
  EXPECT_NEAR(Polo(90, 30, true, -1).X, 7.8564, 1e-4);
  EXPECT_NEAR(Polo(90, 30, false, 1).X, 12.9282, 1e-4);
  EXPECT_NEAR(Polo(90, 30, true, 1).X, 12.1436, 1e-4);
  EXPECT_NEAR(Polo(0, 60, false, -1).Y, 8.3431, 1e-4);
  EXPECT_NEAR(Polo(0, 60, true, -1).Y, 9.3812, 1e-4);
  // Horizontal plane at the centre, vertical one on the primitive circle, west of it for dip direction 90.
  EXPECT_NEAR(Polo(123, 0, true, -1).X, 10, 1e-9);
  EXPECT_NEAR(Polo(90, 90, false, -1).X, 2, 1e-9);
  EXPECT_NEAR(Polo(90, 90, false, 1).X, 18, 1e-9);
  const double trenta = PiGreco() / 6;
  EXPECT_NEAR(8 * RaggioProiettato(trenta, false), 5.6569, 1e-4);
  EXPECT_NEAR(8 * RaggioProiettato(trenta, true), 4.6188, 1e-4);

  double immersione = 0, direzione = 0;
  LineaIntersezione({120, 60, 240, 60, 1}, immersione, direzione);
  EXPECT_NEAR(immersione * 180 / PiGreco(), 40.893, 1e-3);
  EXPECT_NEAR(ProiettaOrientazione(immersione, direzione, false, -1).Y, 9.2987, 1e-4);
  EXPECT_NEAR(ProiettaOrientazione(immersione, direzione, true, -1).Y, 10.3452, 1e-4);
  EXPECT_NEAR(ProiettaOrientazione(immersione, direzione, true, -1).X, 10, 1e-9);
  // The planes in the other order give the same line.
  double i2 = 0, d2 = 0;
  LineaIntersezione({240, 60, 120, 60, 1}, i2, d2);
  EXPECT_NEAR(i2, immersione, 1e-12);
  EXPECT_NEAR(d2, direzione, 1e-12);

  EXPECT_EQ(PennaCuneo(0.999), 10);
  EXPECT_EQ(PennaCuneo(1), 11);
  EXPECT_EQ(PennaCuneo(1.2999), 11);
  EXPECT_EQ(PennaCuneo(1.3), 12);
}

// A pen table in which pen p draws in colour value 1 + (p - 1) mod 15, so segments and texts tell their pen.
QString TabellaPenneDistinte() {
  QString t;
  for (int p = 1; p <= 30; ++p) t += QStringLiteral("Penna %1\n%2\n0.02\nArial\n").arg(p).arg(1 + (p - 1) % 15);
  for (int c = 1; c <= 15; ++c) t += QStringLiteral("Colore %1\n%1\n").arg(c);
  return t;
}
int ColorePenna(int p) { return 1 + (p - 1) % 15; }

struct Tratto {
  double x1, y1, x2, y2;
  int colore;
};

class Stereogramma : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = std::make_unique<testing_support::TestFolder>();
    WriteAnsi(folder->P("korvenITA.CFG"), TabellaPenneDistinte());
    Avvio.NumeroLingua = 1;
    Avvio.CodiceLingua = QStringLiteral("ita");
    Grafico = ModuloGrafico{};
    AzzeraTalvor();
    Talvor.NomeFileDati = QStringLiteral("sito.ses");
    Talvor.Grafica.Opzione = {0, 1, 1, 1, 0, 0, 1};  // equal-area, sign -1, cluster plot, numbers and wedges
    plat::SetEndProgramHandler([](int code) { throw code; });
  }
  void TearDown() override {
    if (GRAFICA* f = FinestraGrafica()) f->Unload();
    plat::DeleteClosedWindows();
    plat::SetEndProgramHandler(nullptr);
    folder.reset();
  }

  void Polo(int i, double immersione, double inclinazione) {
    GiacituraInPolo(immersione, inclinazione, Talvor.InclinazionePoli[static_cast<std::size_t>(i)],
                    Talvor.DirezionePoli[static_cast<std::size_t>(i)]);
    Talvor.NumeroPoli = std::max(Talvor.NumeroPoli, i);
  }
  void Cluster(int k, double immersione, double inclinazione, std::initializer_list<int> membri) {
    const auto u = static_cast<std::size_t>(k);
    GiacituraInPolo(immersione, inclinazione, Talvor.InclinazioneCentri[u], Talvor.DirezioneCentri[u]);
    Talvor.NumeroMembri[u] = static_cast<int>(membri.size());
    std::size_t j = 1;
    for (int m : membri) Talvor.MembriCluster[u][j++] = m;
    Talvor.NumeroCluster = std::max(Talvor.NumeroCluster, k);
  }

  void Disegna() {
    InizioGrafico(0, QString(), 0, 0, 19.4, 27.7, 0);
    DisegnaStereogramma();
    tratti.clear();
    PercorriSegmenti([this](const Segmento& s) { tratti.push_back({s.X1, s.Y1, s.X2, s.Y2, s.Colore}); });
  }
  // Segments of a pen with an end within `r` of the point.
  int TrattiVicini(double x, double y, int penna, double r = 0.13) const {
    int n = 0;
    for (const Tratto& t : tratti)
      if (t.colore == ColorePenna(penna) &&
          (std::hypot(t.x1 - x, t.y1 - y) <= r || std::hypot(t.x2 - x, t.y2 - y) <= r))
        ++n;
    return n;
  }
  int TrattiPenna(int penna) const {
    int n = 0;
    for (const Tratto& t : tratti) n += t.colore == ColorePenna(penna);
    return n;
  }
  QStringList Scritte(int penna) const {
    QStringList l;
    for (int i = 1; i <= Grafico.NumeroScritte; ++i)
      if (Grafico.ListaScritte[static_cast<std::size_t>(i)].Colore == ColorePenna(penna))
        l << Grafico.ListaScritte[static_cast<std::size_t>(i)].Testo;
    return l;
  }
  bool HaSegmento(double x1, double y1, double x2, double y2, int penna) const {
    for (const Tratto& t : tratti)
      if (t.colore == ColorePenna(penna) && std::hypot(t.x1 - x1, t.y1 - y1) < 1e-3 &&
          std::hypot(t.x2 - x2, t.y2 - y2) < 1e-3)
        return true;
    return false;
  }

  std::unique_ptr<testing_support::TestFolder> folder;
  std::vector<Tratto> tratti;
};

const char* kIntestazione = "imm.P1 [°]\tinc.P1 [°]\tsciv.P1\timm.P2 [°]\tinc.P2 [°]\tsciv.P2\tF.S. [-]\tVolume [m³]\n";

TEST_F(Stereogramma, TheWedgeTableIsReadByCellWithItsHeaderAndTrailingBlankLinesSkippedAndDamageTold) {
  WriteAnsi(folder->D("sito.GMC"), QString(kIntestazione) +
                                       "120.0\t60.0\tSI\t240.0\t60.0\tNO\t1.00\t12.50\n"
                                       "200.0\t50.0\tNO\t300.0\t70.0\tNO\t1.30\t0.25\n"
                                       "   \n\n");
  std::vector<TracciaCuneo> c;
  ASSERT_TRUE(LeggiCunei(QStringLiteral("sito.ses"), c));
  ASSERT_EQ(c.size(), 2u);
  EXPECT_EQ(c[0].Immersione2, 240);
  EXPECT_EQ(c[0].FattoreSicurezza, 1);
  EXPECT_EQ(c[1].Immersione1, 200);
  EXPECT_EQ(c[1].Inclinazione2, 70);
  EXPECT_EQ(c[1].FattoreSicurezza, 1.3);
  // Only the header: no wedge.
  WriteAnsi(folder->D("sito.GMC"), kIntestazione);
  ASSERT_TRUE(LeggiCunei(QStringLiteral("sito.ses"), c));
  EXPECT_TRUE(c.empty());
  // A line that is not as PELDRIX writes it is told with its line, and no wedge is drawn: a line cut short, an
  // angle or a factor of safety that is no number (in quotes, or followed by a Ctrl-Z) or out of its range, a
  // volume that is no number, a sliding cell left empty, a blank line before a row.
  for (const char* guasta :
       {"10.0\t20.0\tSI\t30.0\t40.0\tNO", "12O.0\t20.0\tSI\t30.0\t40.0\tNO\t1.00\t1.00",
        "10.0\t95.0\tSI\t30.0\t40.0\tNO\t1.00\t1.00", "10.0\t20.0\tSI\t30.0\t40.0\tNO\t1,50\t1.00",
        "10.0\t20.0\tSI\t30.0\t40.0\tNO\t-1.00\t1.00", "10.0\t20.0\tSI\t\"30.0\"\t40.0\tNO\t1.00\t1.00",
        "10.0\t20.0\tSI\t30.0\t40.0\tNO\t1.00\t1.00\x1a", "10.0\t20.0\tSI\t30.0\t40.0\tNO\t-7\tabc",
        "10.0\t20.0\tSI\t30.0\t40.0\tNO\t1.00\tabc", "10.0\t20.0\t\t30.0\t40.0\tNO\t1.00\t1.00",
        "\n10.0\t20.0\tSI\t30.0\t40.0\tNO\t1.00\t1.00",
        // Numbers in another form than PELDRIX writes: an angle without its place, a factor of safety with one, a
        // blank before a number, an exponent, a factor of safety above the 99.99 PELDRIX writes at most.
        "10\t20.0\tSI\t30.0\t40.0\tNO\t1.00\t1.00", "10.0\t20.0\tSI\t30.0\t40.0\tNO\t1.0\t1.00",
        "10.0\t20.0\tSI\t30.0\t40.0\tNO\t 1.00\t1.00", "10.0\t20.0\tSI\t30.0\t40.0\tNO\t1.00\t1E2",
        "10.0\t20.0\tSI\t30.0\t40.0\tNO\t100.00\t1.00"}) {
    WriteAnsi(folder->D("sito.GMC"), QString(kIntestazione) + "120.0\t60.0\tSI\t240.0\t60.0\tNO\t1.00\t12.50\n"
                                         "120.0\t60.0\tSI\t240.0\t60.0\tNO\t1.00\t12.50\n" + guasta + "\n");
    QString file;
    int riga = 0;
    EXPECT_FALSE(LeggiCunei(QStringLiteral("sito.ses"), c, &file, &riga)) << guasta;
    EXPECT_EQ(riga, 4) << guasta;
    EXPECT_TRUE(file.endsWith("sito.GMC")) << file.toStdString();
    EXPECT_TRUE(c.empty());
  }
  // The records file wins over the table; a record cut short at the end (three numbers, or four of five: the line
  // where the record starts, or the blank line where its fifth number stands) and an item that is no number are
  // told with their line, and no wedge is drawn.
  WriteAnsi(folder->D("sito.GMC"), QString(kIntestazione) + "120.0\t60.0\tSI\t240.0\t60.0\tNO\t1.00\t12.50\n");
  WriteAnsi(folder->D("sito.tmp"), "10, 50, 100 60 .8\n200,40\n250,30,2.5\n");
  ASSERT_TRUE(LeggiCunei(QStringLiteral("sito.ses"), c));
  ASSERT_EQ(c.size(), 2u);
  EXPECT_EQ(c[0].FattoreSicurezza, 0.8);
  EXPECT_EQ(c[1].Immersione1, 200);
  EXPECT_EQ(c[1].FattoreSicurezza, 2.5);
  int riga = 0;
  const struct {
    const char* testo;
    int riga;
  } corti[] = {{"10, 50, 100 60 .8\n200,40\n250,30,2.5\n1,2,3\n", 4}, {"10, 50, 100 60 .8\n1,2,3,4\n", 2},
               {"10, 50, 100 60 .8\n1,2,3,4\n\n", 3},
               {"10, 50, 100 60 .8\n200,4O\n250,30,2.5\n", 2}};
  for (const auto& corto : corti) {
    WriteAnsi(folder->D("sito.tmp"), corto.testo);
    QString file;
    riga = 0;
    EXPECT_FALSE(LeggiCunei(QStringLiteral("sito.ses"), c, &file, &riga)) << corto.testo;
    EXPECT_EQ(riga, corto.riga) << corto.testo;
    EXPECT_TRUE(file.endsWith("/sito.tmp")) << file.toStdString();
    EXPECT_TRUE(c.empty());
  }
  QFile::remove(folder->D("sito.tmp"));
  QFile::remove(folder->D("sito.GMC"));
  ASSERT_TRUE(LeggiCunei(QStringLiteral("sito.ses"), c));
  EXPECT_TRUE(c.empty());
}

// The wedge traces end at their last record: blank lines after it are no damage (they were refused at the first of
// them). Their numbers lie in the ranges of the table's cells. A file that cannot be split into its lines, or
// something that is no file at either name, is told, never taken for no wedge.
TEST_F(Stereogramma, TheWedgeTracesEndAtTheirLastRecordAndWhatCannotBeReadIsTold) {
  WriteAnsi(folder->D("sito.tmp"), "10, 50, 100 60 .8\n200,40\n250,30,2.5\n\n   \n\n");
  std::vector<TracciaCuneo> c;
  QString file;
  int riga = -1;
  ASSERT_TRUE(LeggiCunei(QStringLiteral("sito.ses"), c, &file, &riga));
  EXPECT_EQ(c.size(), 2u);
  for (const char* guasto : {"10, 50, 100 60 .8\n200,40\n250,95,2.5\n", "10, 50, 100 60 .8\n200,40\n361,30,2.5\n",
                             "10, 50, 100 60 .8\n200,40\n250,30,-1\n"}) {
    WriteAnsi(folder->D("sito.tmp"), guasto);
    EXPECT_FALSE(LeggiCunei(QStringLiteral("sito.ses"), c, &file, &riga)) << guasto;
    EXPECT_EQ(riga, 3) << guasto;
    EXPECT_TRUE(c.empty());
  }
  QFile::remove(folder->D("sito.tmp"));
  ASSERT_TRUE(QDir(folder->Data()).mkdir("sito.tmp"));
  EXPECT_FALSE(LeggiCunei(QStringLiteral("sito.ses"), c, &file, &riga));
  EXPECT_EQ(riga, 0);
  EXPECT_TRUE(file.endsWith("/sito.tmp")) << file.toStdString();
  QDir(folder->D("sito.tmp")).removeRecursively();
  // The wedge table with CR line ends, and a folder in its place.
  QFile gmc(folder->D("sito.GMC"));
  ASSERT_TRUE(gmc.open(QIODevice::WriteOnly));
  gmc.write(QByteArray(kIntestazione).replace('\n', '\r') + "120.0\t60.0\tSI\t240.0\t60.0\tNO\t1.00\t12.50\r");
  gmc.close();
  EXPECT_FALSE(LeggiCunei(QStringLiteral("sito.ses"), c, &file, &riga));
  EXPECT_EQ(riga, 1);
  EXPECT_TRUE(file.endsWith("/sito.GMC")) << file.toStdString();
  QFile::remove(folder->D("sito.GMC"));
  ASSERT_TRUE(QDir(folder->Data()).mkdir("sito.GMC"));
  EXPECT_FALSE(LeggiCunei(QStringLiteral("sito.ses"), c, &file, &riga));
  EXPECT_EQ(riga, 0);
  QDir(folder->D("sito.GMC")).removeRecursively();
  ASSERT_TRUE(LeggiCunei(QStringLiteral("sito.ses"), c));
  EXPECT_TRUE(c.empty());
}

TEST_F(Stereogramma, AClusterPlotDrawsMembersCentresNumbersAndWedgesInTheirPens) {
  Polo(1, 90, 30);  // member of cluster 1
  Polo(2, 0, 60);   // of no cluster, though nearer to the centre than the distance
  Talvor.DistanzaMassima = 1.5;
  Cluster(1, 90, 30, {1});
  for (int k = 2; k <= 16; ++k) Cluster(k, 180, 10 + k, {});
  Polo(3, 270, 45);
  Talvor.NumeroMembri[16] = 1;
  Talvor.MembriCluster[16][1] = 3;
  WriteAnsi(folder->D("sito.GMC"), QString(kIntestazione) + "120.0\t60.0\tSI\t240.0\t60.0\tNO\t1.00\t1.00\n"
                                                              "120.0\t60.0\tSI\t240.0\t60.0\tNO\t1.30\t1.00\n"
                                                              "120.0\t60.0\tSI\t240.0\t60.0\tNO\t0.50\t1.00\n");
  Disegna();
  // Member of cluster 1 in pen 16 at the pole, point of no cluster in pen 4, member of cluster 16 in pen 16 too.
  EXPECT_GT(TrattiVicini(7.0718, 14, 16), 0);
  EXPECT_EQ(TrattiVicini(7.0718, 14, 4), 0);
  EXPECT_GT(TrattiVicini(10, 8.3431, 4, 0.06), 0);
  EXPECT_EQ(TrattiVicini(10, 8.3431, 16), 0);
  const Punto p3 = ::Polo(270, 45, false, -1);
  EXPECT_GT(TrattiVicini(p3.X, p3.Y, 16), 0);
  // The wedge line of each factor of safety from the projected line to the centre.
  EXPECT_TRUE(HaSegmento(10, 9.2987, 10, 14, 10));
  EXPECT_TRUE(HaSegmento(10, 9.2987, 10, 14, 11));
  EXPECT_TRUE(HaSegmento(10, 9.2987, 10, 14, 12));
  // Pen 5 writes the cluster numbers and the factors.
  const QStringList numeri = Scritte(5);
  EXPECT_TRUE(numeri.contains("1") && numeri.contains("16"));
  EXPECT_TRUE(numeri.contains("1.00") && numeri.contains("0.50"));
  EXPECT_EQ(Scritte(1).mid(0, 2), (QStringList{"RILIEVO STRUTTURALE", "cluster analysis"}));
}

TEST_F(Stereogramma, WithoutOptionSixTheClusterPlotHasNoNumbersAndNoWedges) {
  Polo(1, 90, 30);
  Cluster(1, 90, 30, {1});
  WriteAnsi(folder->D("sito.GMC"), QString(kIntestazione) + "120.0\t60.0\tSI\t240.0\t60.0\tNO\t1.00\t1.00\n");
  Talvor.Grafica.Opzione[6] = 2;
  Disegna();
  EXPECT_TRUE(Scritte(5).isEmpty());
  EXPECT_EQ(TrattiPenna(11), 0);
  EXPECT_GT(TrattiPenna(16), 0);
}

TEST_F(Stereogramma, GreatCirclesOfTheLoadedPolesAndTheSlopeFace) {
  Polo(1, 90, 30);
  Talvor.Grafica.Opzione = {0, 1, 1, 2, 1, 1, 1};
  ValoriFronte v{};
  v[1] = 90;  // a vertical face: its equal-area trace runs through the centre
  v[2] = 0;
  v[6] = 30;
  v[7] = 2.6;
  v[9] = 10;
  ASSERT_TRUE(ScriviFileFronte(folder->D("sito.fro"), v));
  Disegna();
  EXPECT_EQ(Scritte(1)[1], "proiezione stereografica");
  // The equal-area great circle of 30/90: 201 points from the south to the north point through the east.
  std::vector<Tratto> cerchio;
  for (const Tratto& t : tratti)
    if (t.colore == ColorePenna(6)) cerchio.push_back(t);
  ASSERT_EQ(cerchio.size(), 200u);
  EXPECT_NEAR(cerchio[0].x1, 10, 1e-9);
  EXPECT_NEAR(cerchio[0].y1, 6, 1e-9);
  EXPECT_NEAR(cerchio[100].x1, 15.6569, 1e-4);
  EXPECT_NEAR(cerchio[100].y1, 14, 1e-9);
  EXPECT_NEAR(cerchio[199].x2, 10, 1e-9);
  EXPECT_NEAR(cerchio[199].y2, 22, 1e-9);
  // The pole itself in pen 3; the face in pen 7 (31 segments), the friction circle of radius 5.6569 in pen 8.
  EXPECT_GT(TrattiVicini(7.0718, 14, 3), 0);
  EXPECT_EQ(TrattiPenna(7), 31);
  EXPECT_GT(TrattiVicini(10, 14 + 5.6569, 8, 1e-3), 0);
  // Friction angle 0: the face but no circle.
  v[6] = 0;
  ASSERT_TRUE(ScriviFileFronte(folder->D("sito.fro"), v));
  Disegna();
  EXPECT_EQ(TrattiPenna(7), 31);
  EXPECT_EQ(TrattiPenna(8), 0);
}

TEST_F(Stereogramma, EqualAngleGreatCirclesArcsAndStraightLinesForVerticalPlanes) {
  Talvor.Grafica.Opzione = {0, 2, 1, 2, 1, 1, 1};
  Polo(1, 90, 30);
  Polo(2, 0, 90);            // vertical: the strike line from west to east
  Polo(3, 45, 90 - 1e-12);   // vertical within rounding: a straight line too
  Talvor.InclinazionePoli[3] = 1e-10;
  Disegna();
  std::vector<Tratto> c;
  for (const Tratto& t : tratti)
    if (t.colore == ColorePenna(6)) c.push_back(t);
  ASSERT_EQ(c.size(), 22u);
  // The arc of 30/90 runs counter-clockwise from the south end through the dip point to the north end.
  EXPECT_NEAR(c[0].x1, 10, 1e-6);
  EXPECT_NEAR(c[0].y1, 6, 1e-6);
  EXPECT_NEAR(c[19].x2, 10, 1e-6);
  EXPECT_NEAR(c[19].y2, 22, 1e-6);
  double massimo = 0;
  for (int j = 0; j < 20; ++j) massimo = std::max(massimo, c[static_cast<std::size_t>(j)].x2);
  EXPECT_NEAR(massimo, 10 + 8 * std::cos(PiGreco() / 6) / 1.5, 1e-6);
  EXPECT_NEAR(std::hypot(c[20].x1 - c[20].x2, c[20].y1 - c[20].y2), 16, 1e-6);
  EXPECT_NEAR(std::hypot(c[21].x1 - c[21].x2, c[21].y1 - c[21].y2), 16, 1e-6);
  EXPECT_NEAR(c[20].y1, 14, 1e-6);
  // With sign +1 the same arc lies west of the centre.
  Talvor.Grafica.Opzione[2] = 2;
  Talvor.NumeroPoli = 1;
  Disegna();
  massimo = 20;
  for (const Tratto& t : tratti)
    if (t.colore == ColorePenna(6)) massimo = std::min(massimo, t.x2);
  EXPECT_NEAR(massimo, 10 - 8 * std::cos(PiGreco() / 6) / 1.5, 1e-6);
}

TEST_F(Stereogramma, NothingNotFiniteReachesTheDisplayListOrTheDrawing) {
  Talvor.Grafica.Opzione = {0, 1, 1, 2, 1, 0, 1};
  Polo(1, 90, 30);
  Talvor.InclinazionePoli[2] = std::nan("");
  Talvor.DirezionePoli[2] = 1;
  Talvor.NumeroPoli = 3;
  Talvor.DirezionePoli[3] = INFINITY;
  Disegna();
  ASSERT_FALSE(tratti.empty());
  for (const Tratto& t : tratti)
    ASSERT_TRUE(std::isfinite(t.x1) && std::isfinite(t.y1) && std::isfinite(t.x2) && std::isfinite(t.y2));
  // The circle of pole 1 is whole, nothing of the others.
  EXPECT_EQ(TrattiPenna(6), 200);
}

// The cluster plot of 300 families with their great circles holds more segments than two chunks: they spill into
// three chunk files, which the redraw and the print read back whole. The redraw gives the pixels of the first
// drawing, the print is one sheet, and nothing is told.
TEST_F(Stereogramma, APlotOfManyFamiliesSpillsIntoChunksThatTheRedrawAndThePrintReadWhole) {
  constexpr int kFamiglie = 300;
  for (int k = 1; k <= kFamiglie; ++k) {
    const double immersione = std::fmod(k * 47.0, 360.0), inclinazione = 15.0 + (k * 13) % 71;
    Polo(k, immersione, inclinazione);
    Cluster(k, immersione, inclinazione, {k});
  }
  Talvor.Grafica.Opzione = {0, 1, 1, 1, 1, 0, 0};  // great circles, no numbers, wedges or slope face
  QDir().mkpath(folder->D("pdf"));
  testing_support::SetEnv("FRATTIX_PDF_DIR", folder->D("pdf").toLocal8Bit());
  testing_support::Scripted nessunMessaggio(*folder, QString());
  Disegna();
  // The surface without the outline of the page, which the redraw draws in a grey of its own.
  const auto segni = [] {
    QImage im = FinestraGrafica()->Picture7->Image().convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < im.height(); ++y)
      for (int x = 0; x < im.width(); ++x)
        if (qRed(im.pixel(x, y)) >= 200 && qGreen(im.pixel(x, y)) == qRed(im.pixel(x, y)) &&
            qBlue(im.pixel(x, y)) == qRed(im.pixel(x, y)))
          im.setPixel(x, y, qRgb(255, 255, 255));
    return im;
  };
  const QImage disegno = segni();
  ASSERT_EQ(Grafico.NumeroBlocchi, 3);
  EXPECT_EQ(tratti.size(), 2u * DimensioneBlocco + static_cast<std::size_t>(Grafico.NumeroSegmenti));
  EXPECT_GT(Grafico.NumeroSegmenti, 0);
  RidisegnaTutto();
  EXPECT_TRUE(segni() == disegno);
  StampaGrafico(true);
  EXPECT_EQ(QDir(folder->D("pdf")).entryList({"*.pdf"}, QDir::Files).size(), 1);
  EXPECT_TRUE(nessunMessaggio.Log("msgbox").isEmpty()) << nessunMessaggio.Log().join('\n').toStdString();
  testing_support::UnsetEnv("FRATTIX_PDF_DIR");
}

// A full plot in the DXF drawing, read back by a real DXF reader: clean audit, the worked values on their layers.
TEST_F(Stereogramma, AFullPlotReadsBackFromTheDxfDrawing) {
  Polo(1, 90, 30);
  Polo(2, 0, 60);
  Cluster(1, 90, 30, {1});
  Talvor.Grafica.Opzione = {0, 1, 1, 1, 1, 1, 1};
  WriteAnsi(folder->D("sito.GMC"), QString(kIntestazione) + "120.0\t60.0\tSI\t240.0\t60.0\tNO\t1.00\t1.00\n");
  ValoriFronte v{};
  v[1] = 60;
  v[2] = 90;
  v[6] = 30;
  v[7] = 2.6;
  v[9] = 10;
  ASSERT_TRUE(ScriviFileFronte(folder->D("sito.fro"), v));
  WriteAnsi(folder->P("korvenITA.CFG"), testing_support::ReadAnsi(
                                           QStringLiteral(FRATTIX_TEST_SOURCE_DIR "/install/korvenITA.CFG")));
  Disegna();
  const QString dxf = folder->D("sito.dxf");
  ASSERT_TRUE(ScriviDXF(dxf));
  QProcess py;
  py.start(QStringLiteral("/usr/bin/python3"),
           {QStringLiteral(FRATTIX_TEST_SOURCE_DIR "/tests/cluster/stereogramma_dxf.py"), dxf});
  ASSERT_TRUE(py.waitForFinished(60000));
  EXPECT_EQ(py.exitCode(), 0) << py.readAllStandardOutput().toStdString() << py.readAllStandardError().toStdString();
}

}  // namespace
