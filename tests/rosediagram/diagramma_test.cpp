// The rose diagram: the sector of a dip direction, the counts, and the page as the plotting library records it.
#include "tests/plot/fixture.h"

#include "common/texts/testi.h"

#include "rosediagram/diagramma.h"
#include "rosediagram/mirvane.h"
#include "tests/rosediagram/conteggio.h"

#include <cmath>
#include <numbers>
#include <numeric>
#include <random>

using namespace plot_test;
using rosa_test::ConteggioIndipendente;

namespace {

constexpr double kPi = std::numbers::pi;
// Segments of the compass: 201 strokes of the circle and 4 ticks; then 13 strokes per sector.
constexpr int kSegmentiBussola = 205;
constexpr int kSegmentiSettore = 13;

class Diagramma : public PlotTest {
 protected:
  void SetUp() override {
    PlotTest::SetUp();
    Mirvane = ModuloMirvane{};
    AzzeraTesti(800);
  }

  void Disegna(const std::vector<double>& direzioni) {
    Mirvane.AngoliImmersione = direzioni;
    Mirvane.AngoliInclinazione.assign(direzioni.size(), 30);
    Pagina();
    DisegnaDiagramma();
    segmenti.clear();
    ASSERT_TRUE(PercorriSegmenti([&](const Segmento& s) { segmenti.push_back(s); }));
    ASSERT_EQ(segmenti.size(), static_cast<size_t>(kSegmentiBussola + 36 * kSegmentiSettore));
  }

  // The radius of sector k as drawn: its first stroke runs from the centre to the start of the arc.
  double Raggio(int k) const {
    const Segmento& s = segmenti[kSegmentiBussola + (k - 1) * kSegmentiSettore];
    return std::hypot(s.X2 - 10, s.Y2 - 14);
  }

  std::vector<Segmento> segmenti;
};

}  // namespace

TEST(SettoreDirezione, MultiplesOfTenFallWhereTheRulePutsThem) {
  // Sector 1 holds the directions above 80 up to 90; sector 10 those above 350 up to 360, and 0.
  EXPECT_EQ(SettoreDirezione(90), 1);
  EXPECT_EQ(SettoreDirezione(80.5), 1);
  EXPECT_EQ(SettoreDirezione(80), 2);
  EXPECT_EQ(SettoreDirezione(45), 5);
  EXPECT_EQ(SettoreDirezione(0), 10);
  EXPECT_EQ(SettoreDirezione(360), 10);
  EXPECT_EQ(SettoreDirezione(350.5), 10);
  EXPECT_EQ(SettoreDirezione(350), 11);
  EXPECT_EQ(SettoreDirezione(180), 28);
  EXPECT_EQ(SettoreDirezione(270), 19);
  EXPECT_EQ(SettoreDirezione(100), 36);
  EXPECT_EQ(SettoreDirezione(90.5), 36);
  // Every whole and half direction 0..360 against the independent rule, which finds one sector for each.
  for (int d2 = 0; d2 <= 720; ++d2) {
    const auto n = ConteggioIndipendente({d2 / 2.0});
    EXPECT_EQ(std::accumulate(n.begin(), n.end(), 0), 1) << d2 / 2.0;
    EXPECT_EQ(n[SettoreDirezione(d2 / 2.0)], 1) << d2 / 2.0;
  }
}

TEST(SettoreDirezione, DirectionsOutsideTheCircleAreWrappedOntoIt) {
  EXPECT_EQ(SettoreDirezione(370), SettoreDirezione(10));
  EXPECT_EQ(SettoreDirezione(450), 1);
  EXPECT_EQ(SettoreDirezione(-10), SettoreDirezione(350));
  EXPECT_EQ(SettoreDirezione(-270), 1);
  EXPECT_EQ(SettoreDirezione(999), SettoreDirezione(279));
  EXPECT_EQ(SettoreDirezione(-1e-300), 10);
  EXPECT_EQ(SettoreDirezione(90 + 1e-13), 36);
  EXPECT_EQ(SettoreDirezione(90 + 1e-14), 1);  // the angle rounds onto 360: sector 1 again, never a sector 37
  EXPECT_EQ(SettoreDirezione(std::nan("")), 1);
}

TEST(ContaSettori, TheWorkedDataSet) {
  // 45/30 twice is one orientation: the distinct dip directions of the set.
  const auto n = ContaSettori({45, 45, 90, 80, 0, 360, 355, 350, 150, 275});
  std::array<int, 37> atteso{};
  atteso[1] = 1;
  atteso[2] = 1;
  atteso[5] = 2;
  atteso[10] = 3;
  atteso[11] = 1;
  atteso[18] = 1;
  atteso[31] = 1;
  EXPECT_EQ(n, atteso);
}

TEST_F(Diagramma, RandomDataSetsAreDrawnWithTheIndependentCounts) {
  std::mt19937 generatore(20261209);
  for (int prova = 0; prova < 8; ++prova) {
    std::uniform_int_distribution<int> quanti(1, 400), intero(0, 360);
    std::uniform_real_distribution<double> reale(0, 360);
    std::vector<double> direzioni;
    const int n = quanti(generatore);
    for (int i = 0; i < n; ++i) direzioni.push_back(prova % 2 ? reale(generatore) : intero(generatore));
    const auto atteso = ConteggioIndipendente(direzioni);
    EXPECT_EQ(ContaSettori(direzioni), atteso);

    Disegna(direzioni);
    const int massimo = *std::max_element(atteso.begin() + 1, atteso.end());
    for (int k = 1; k <= 36; ++k) EXPECT_NEAR(Raggio(k), atteso[k] * 8.0 / massimo, 1e-5) << k;
    if (GRAFICA* f = FinestraGrafica()) f->Unload();
  }
}

TEST_F(Diagramma, OneOrientationFillsItsSectorToTheCircle) {
  Disegna({45});
  const double w = 2 * kPi / 36;
  for (int k = 1; k <= 36; ++k) EXPECT_NEAR(Raggio(k), k == 5 ? 8 : 0, 1e-5) << k;
  // Sector 5: out along 40 degrees, the arc in ten steps to 50 degrees, back to the centre.
  const Segmento* s = &segmenti[kSegmentiBussola + 4 * kSegmentiSettore];
  EXPECT_NEAR(s[0].X1, 10, 1e-5);
  EXPECT_NEAR(s[0].Y1, 14, 1e-5);
  for (int i = 0; i <= 10; ++i) {
    const double p = 4 * w + i * w / 10;
    EXPECT_NEAR(s[1 + i].X2, 10 + 8 * std::cos(p), 1e-5);
    EXPECT_NEAR(s[1 + i].Y2, 14 + 8 * std::sin(p), 1e-5);
  }
  EXPECT_NEAR(s[12].X2, 10, 1e-5);
  EXPECT_NEAR(s[12].Y2, 14, 1e-5);
  EXPECT_EQ(s[0].Colore, Grafico.PenneGrafico[9].Colore == 0xFFFFFF ? 0 : Grafico.PenneGrafico[9].Colore);
}

TEST_F(Diagramma, EqualLargestCountsBothReachTheCircle) {
  Disegna({90, 85, 0, 355, 180});
  EXPECT_NEAR(Raggio(1), 8, 1e-5);
  EXPECT_NEAR(Raggio(10), 8, 1e-5);
  EXPECT_NEAR(Raggio(28), 4, 1e-5);
}

TEST_F(Diagramma, AnEmptyDiagramHasOnlyTheCompass) {
  Disegna({});
  for (int k = 1; k <= 36; ++k) EXPECT_EQ(Raggio(k), 0) << k;
  for (const Segmento& s : segmenti)
    for (double v : {s.X1, s.Y1, s.X2, s.Y2}) ASSERT_TRUE(std::isfinite(v));
}

TEST_F(Diagramma, ThePageHoldsTitlesCircleLabelsAndTicks) {
  Mirvane.TitoliDiagramma[1] = QStringLiteral("Cava Nord");
  Mirvane.TitoliDiagramma[2] = QStringLiteral("Fronte 2, gradone B");
  Mirvane.TitoliDiagramma[4] = QStringLiteral("RILIEVO STRUTTURALE");  // a title is never translated
  Mirvane.TitoliDiagramma[5] = QStringLiteral("not drawn");
  Avvio.NumeroLingua = 5;
  Avvio.CodiceLingua = QStringLiteral("eng");
  ASSERT_TRUE(CaricaTesti(folder->P("texts03.txt"), nullptr));
  OrdinaTesti();
  Disegna({45});

  struct Atteso {
    double x, y, h;
    const char* testo;
    int tipo;
  };
  const Atteso attesi[] = {{10, 27, 0.5, "STRUCTURAL SURVEY", -2}, {10, 26.4, 0.4, "rose diagram", -2},
                           {10, 25.7, 0.35, "Cava Nord", -2},      {10, 25.2, 0.3, "Fronte 2, gradone B", -2},
                           {10, 24.7, 0.3, "", -2},                {10, 24.2, 0.3, "RILIEVO STRUTTURALE", -2},
                           {9.9, 22.1, 0.2, "N", 0},               {18.1, 13.9, 0.2, "E", 0},
                           {9.9, 5.7, 0.2, "S", 0},                {1.7, 13.9, 0.2, "W", 0}};
  ASSERT_EQ(Grafico.NumeroScritte, 10);
  for (int i = 0; i < 10; ++i) {
    const Scritta& s = Grafico.ListaScritte[i + 1];
    EXPECT_EQ(s.Testo, QString::fromUtf8(attesi[i].testo)) << i;
    EXPECT_NEAR(s.X, attesi[i].x, 1e-5) << i;
    EXPECT_NEAR(s.Y, attesi[i].y, 1e-5) << i;
    EXPECT_DOUBLE_EQ(s.Altezza, attesi[i].h) << i;
    EXPECT_EQ(s.Tipo, attesi[i].tipo) << i;
    EXPECT_EQ(s.Angolo, 0) << i;
  }
  // The circle from north clockwise, closed; every point on it.
  EXPECT_NEAR(segmenti[0].X1, 10, 1e-5);
  EXPECT_NEAR(segmenti[0].Y1, 22, 1e-5);
  EXPECT_NEAR(segmenti[50].X2, 18, 1e-5);  // east after a quarter
  EXPECT_NEAR(segmenti[50].Y2, 14, 1e-5);
  EXPECT_NEAR(segmenti[200].X2, 10, 1e-5);
  EXPECT_NEAR(segmenti[200].Y2, 22, 1e-5);
  for (int i = 0; i < 201; ++i) EXPECT_NEAR(std::hypot(segmenti[i].X2 - 10, segmenti[i].Y2 - 14), 8, 1e-5);
  // The ticks, inside the circle.
  const double tacche[4][4] = {{10, 21.8, 10, 22}, {17.8, 14, 18, 14}, {10, 6.2, 10, 6}, {2.2, 14, 2, 14}};
  for (int i = 0; i < 4; ++i) {
    const Segmento& s = segmenti[201 + i];
    EXPECT_NEAR(s.X1, tacche[i][0], 1e-5);
    EXPECT_NEAR(s.Y1, tacche[i][1], 1e-5);
    EXPECT_NEAR(s.X2, tacche[i][2], 1e-5);
    EXPECT_NEAR(s.Y2, tacche[i][3], 1e-5);
  }
}
