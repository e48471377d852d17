#include "cluster/analisi.h"
#include "cluster/geometria.h"
#include "tests/cluster/poli.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const double pi = 4 * std::atan(1.0);

using Poli = PoliProva;

Poli Esempio() { return EsempioProva(); }

std::pair<int, int> Gradi(const CentroCluster& c) { return GradiCentro(c); }

float Radianti(double gradi) { return static_cast<float>(gradi * std::atan(1.0) / 45); }

// The two kept families of the group-average level 2 of the worked example, heaviest first, and their centres.
ClusteringNonGerarchico Passi(const Poli& p, double gradi) {
  const Partizione livello{{}, {1}, {2, 4, 3, 5}};
  const std::vector<int> pesi = PesiCluster(livello, p.Vista());
  const std::vector<int> ordine = OrdinePesi(pesi);
  EXPECT_EQ(ordine, (std::vector<int>{0, 2, 1}));
  Partizione famiglie{{}};
  std::vector<CentroCluster> centri{{}};
  for (int k = 1; k <= 2; ++k) {
    famiglie.push_back(livello[ordine[k]]);
    centri.push_back(CentroDiLista(livello[ordine[k]], p.Vista()));
  }
  EXPECT_EQ(Gradi(centri[1]), std::pair(40, 345));
  EXPECT_EQ(Gradi(centri[2]), std::pair(71, 129));
  return ClusteringNonGerarchico(p.Vista(), famiglie, centri, Radianti(gradi));
}

}  // namespace

TEST(Analisi, WorkedExamplePassesAtThirtyAndFiftyDegrees) {
  const Poli p = Esempio();
  {
    ClusteringNonGerarchico nh = Passi(p, 30);
    while (nh.Passo()) {
    }
    EXPECT_EQ(nh.Passi(), 3);
    EXPECT_EQ(nh.Stato(), 2);
    EXPECT_EQ(nh.Famiglie()[1], (std::vector<int>{2, 4}));
    EXPECT_EQ(nh.Famiglie()[2], (std::vector<int>{1}));
    EXPECT_EQ(Gradi(nh.Centri()[1]), std::pair(43, 344));
    EXPECT_EQ(nh.FamigliaDi(3), 0);
    EXPECT_EQ(nh.FamigliaDi(5), 0);
  }
  {
    ClusteringNonGerarchico nh = Passi(p, 50);
    while (nh.Passo()) {
    }
    EXPECT_EQ(nh.Passi(), 2);
    EXPECT_EQ(nh.Famiglie()[1], (std::vector<int>{2, 3, 4, 5}));
    EXPECT_EQ(nh.Famiglie()[2], (std::vector<int>{1}));
    EXPECT_EQ(Gradi(nh.Centri()[1]), std::pair(40, 345));
  }
  {
    // 0: the families stay the kept clusters, one pass.
    ClusteringNonGerarchico nh = Passi(p, 0);
    EXPECT_FALSE(nh.Passo());
    EXPECT_EQ(nh.Passi(), 1);
    EXPECT_EQ(nh.Famiglie()[1], (std::vector<int>{2, 4, 3, 5}));
  }
  {
    // 90 degrees in single precision lies just above a right angle: every point finds a family.
    ClusteringNonGerarchico nh = Passi(p, 90);
    while (nh.Passo()) {
    }
    for (int i = 1; i <= 5; ++i) EXPECT_NE(nh.FamigliaDi(i), 0) << i;
  }
}

TEST(Analisi, CentreTurnsEveryPoleToTheSideOfTheFirst) {
  // Two nearly vertical planes dipping opposite ways are nearly the same line: the centre stays near them.
  const Poli p({{88, 90, 1}, {88, 270, 3}});
  const CentroCluster c = CentroDiLista({1, 2}, p.Vista());
  EXPECT_LE(c.Inclinazione, Radianti(3));
  EXPECT_GE(c.Inclinazione, 0.0f);
  EXPECT_GE(c.Direzione, 0.0f);
  EXPECT_LE(c.Direzione, static_cast<float>(2 * pi));
  // The heavier pole wins: the centre dips towards 270 (direction pi).
  EXPECT_NEAR(c.Direzione, pi, 1e-5);
  // Horizontal planes: a vertical resultant.
  const Poli h({{0, 10, 1}, {0, 200, 2}});
  const CentroCluster v = CentroDiLista({1, 2}, h.Vista());
  EXPECT_FLOAT_EQ(v.Inclinazione, static_cast<float>(pi / 2));
}

TEST(Analisi, WeightOrderKeepsNumberingOnTies) {
  const Poli p({{10, 10, 2}, {20, 20, 1}, {30, 30, 1}, {40, 40, 3}, {50, 50, 2.6f}});
  const Partizione livello{{}, {2}, {1}, {3}, {4}, {5}};
  const std::vector<int> pesi = PesiCluster(livello, p.Vista());
  EXPECT_EQ(pesi, (std::vector<int>{0, 1, 2, 1, 3, 3}));
  EXPECT_EQ(OrdinePesi(pesi), (std::vector<int>{0, 4, 5, 2, 1, 3}));
  // Weights beyond a 16-bit count (1000 records of multiplicity 99 would reach 99000) are summed whole.
  const Poli pesanti({{10, 10, 20000}, {20, 20, 20000}, {30, 30, 1}});
  EXPECT_EQ(PesiCluster(Partizione{{}, {3}, {1, 2}}, pesanti.Vista()), (std::vector<int>{0, 1, 40000}));
}

TEST(Analisi, TiesGoToTheLowerFamilyAndAnEmptyFamilyKeepsItsCentre) {
  // Point 3 lies halfway between the two centres (dip direction 0, dips 20 and 40 around 30).
  const Poli p({{20, 0, 1}, {40, 0, 1}, {30, 0, 1}});
  const PoliClustering v = p.Vista();
  // Family 2 starts far from every point and loses them all.
  std::vector<CentroCluster> centri{{}, CentroDiLista({1}, v), CentroDiLista({2}, v), {}};
  centri[3].Inclinazione = 0.0f;
  centri[3].Direzione = 0.0f;
  const float lontano = centri[3].Direzione;
  ClusteringNonGerarchico nh(v, Partizione{{}, {1}, {2}, {}}, centri, Radianti(12));
  nh.Passo();
  EXPECT_EQ(nh.FamigliaDi(3), 1);
  EXPECT_TRUE(nh.Famiglie()[3].empty());
  EXPECT_EQ(nh.Centri()[3].Direzione, lontano);
  while (nh.Passo()) {
  }
  EXPECT_LE(nh.Passi(), ClusteringNonGerarchico::kPassiMassimi);
  for (const CentroCluster& c : nh.Centri()) {
    EXPECT_TRUE(std::isfinite(c.Inclinazione));
    EXPECT_TRUE(std::isfinite(c.Direzione));
  }
}

TEST(Analisi, AperturesAndFrequencies) {
  Poli p({{30, 90, 10}, {31, 90, 15}, {80, 200, 1}});
  p.apertura = {0, 1, 4, 2};
  const PoliClustering v = p.Vista();
  const Partizione famiglie{{}, {1, 2}, {}};
  std::vector<CentroCluster> centri{{}, CentroDiLista({1, 2}, v), CentroDiLista({3}, v)};
  // One measuring line of 10 m along the normal of family 1, one of length 0, one of 20 m across family 2's.
  std::vector<float> dir{0, centri[1].Direzione, 1.0f, 0}, inc{0, centri[1].Inclinazione, 0.5f, 0},
      lung{0, 10.0f, 0.0f, 0.0f};
  StendimentiClustering s{2, dir.data(), inc.data(), lung.data()};
  EXPECT_TRUE(CiSonoStendimenti(s));
  std::vector<float> pesi, aperture, frequenze;
  AperturaEFrequenza(famiglie, centri, v, s, pesi, aperture, frequenze);
  EXPECT_FLOAT_EQ(pesi[1], 25);
  EXPECT_FLOAT_EQ(aperture[1], (10 * 1 + 15 * 4) / 25.0f);
  EXPECT_NEAR(frequenze[1], 2.5, 1e-5);
  // A family without members: weight, aperture and frequency 0, no division by zero.
  EXPECT_EQ(pesi[2], 0);
  EXPECT_EQ(aperture[2], 0);
  EXPECT_EQ(frequenze[2], 0);

  // A measuring line in the plane of the family (perpendicular to its normal): frequency 0, not infinity.
  double x = 0, y = 0, z = 0, ip = 0, dp = 0;
  AngoliInVersore(x, y, z, centri[1].Inclinazione, centri[1].Direzione);
  VersoreInAngoli(-y, x, 0.0, ip, dp);
  dir[1] = static_cast<float>(dp);
  inc[1] = static_cast<float>(ip);
  AperturaEFrequenza(famiglie, centri, v, s, pesi, aperture, frequenze);
  EXPECT_EQ(frequenze[1], 0);
  EXPECT_FLOAT_EQ(aperture[1], 2.8f);

  // No measuring line with a length: apertures still computed, frequencies 0.
  lung[1] = 0;
  EXPECT_FALSE(CiSonoStendimenti(s));
  AperturaEFrequenza(famiglie, centri, v, s, pesi, aperture, frequenze);
  EXPECT_FLOAT_EQ(aperture[1], 2.8f);
  EXPECT_EQ(frequenze[1], 0);
}
