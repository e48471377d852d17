#include "cluster/aggregazione.h"
#include "cluster/geometria.h"

#include "tests/support/support.h"

#include <gtest/gtest.h>

#include <cmath>

using testing_support::TestFolder;

namespace {

const double pi = 4 * std::atan(1.0);

// Points in the stored form from dip / dip direction pairs, single precision, indexed from 1.
struct Punti {
  std::vector<float> inc{0}, dir{0};
  explicit Punti(std::initializer_list<std::pair<double, double>> giaciture) {
    for (const auto& [dip, immersione] : giaciture) {
      double i = 0, d = 0;
      GiacituraInPolo(immersione, dip, i, d);
      inc.push_back(static_cast<float>(i));
      dir.push_back(static_cast<float>(d));
    }
  }
  int N() const { return static_cast<int>(inc.size()) - 1; }
  MatriceDistanze Distanze() const { return MatriceDistanze(inc.data(), dir.data(), N()); }
};

// The five points of the worked example.
Punti Esempio() { return Punti({{71, 129}, {44, 327}, {79, 339}, {45, 0}, {9, 113}}); }

Partizione P(std::initializer_list<std::vector<int>> gruppi) {
  Partizione p{{}};
  for (const auto& s : gruppi) p.push_back(s);
  return p;
}

// Aggregates down to `livello` clusters.
Partizione FinoA(const MatriceDistanze& d, int metodo, int livello) {
  AggregazioneGerarchica a(d, metodo);
  while (a.Livello() > livello) a.Unisci();
  Partizione p = a.Membri();
  p.resize(static_cast<std::size_t>(livello) + 1);
  return p;
}

MatriceDistanze Manuale(int n, std::initializer_list<std::tuple<int, int, int>> valori) {
  MatriceDistanze d(nullptr, nullptr, 0);
  std::vector<float> zero(static_cast<std::size_t>(n) + 1, 0.0f);
  d = MatriceDistanze(zero.data(), zero.data(), n);
  for (const auto& [i, j, v] : valori) d.Imposta(i, j, v);
  return d;
}

}  // namespace

TEST(Aggregazione, TenthsOfADegreeGoUpUnlessAnEvenWholeTenth) {
  const double decimo = pi / 1800;
  EXPECT_EQ(DecimiDiGrado(12.3 * decimo), 13);
  EXPECT_EQ(DecimiDiGrado(12.7 * decimo), 13);
  EXPECT_EQ(DecimiDiGrado(12 * decimo), 12);
  EXPECT_EQ(DecimiDiGrado(13 * decimo), 14);
  EXPECT_EQ(DecimiDiGrado(0), 0);
  EXPECT_EQ(DecimiDiGrado(pi / 2), 900);
}

TEST(Aggregazione, WorkedExampleDistancesAndLevels) {
  const Punti p = Esempio();
  const MatriceDistanze d = p.Distanze();
  const int attese[6][6] = {{},
                            {0, 0, 671, 422, 791, 624},
                            {0, 671, 0, 365, 230, 517},
                            {0, 422, 365, 0, 385, 854},
                            {0, 791, 230, 385, 0, 491},
                            {0, 624, 517, 854, 491, 0}};
  for (int i = 1; i <= 5; ++i)
    for (int j = 1; j <= 5; ++j) EXPECT_EQ(d(i, j), attese[i][j]) << i << "," << j;
  for (int metodo : {VicinoProssimo, VicinoLontano, MediaDiGruppo}) {
    SCOPED_TRACE(metodo);
    EXPECT_EQ(FinoA(d, metodo, 4), P({{1}, {2, 4}, {3}, {5}}));
    EXPECT_EQ(FinoA(d, metodo, 3), P({{1}, {2, 4, 3}, {5}}));
  }
  EXPECT_EQ(FinoA(d, VicinoProssimo, 2), P({{1, 2, 4, 3}, {5}}));
  EXPECT_EQ(FinoA(d, VicinoLontano, 2), P({{1, 5}, {2, 4, 3}}));
  EXPECT_EQ(FinoA(d, MediaDiGruppo, 2), P({{1}, {2, 4, 3, 5}}));
  for (int metodo : {VicinoProssimo, VicinoLontano, MediaDiGruppo}) {
    const Partizione uno = FinoA(d, metodo, 1);
    ASSERT_EQ(uno.size(), 2u);
    EXPECT_EQ(uno[1].size(), 5u);
    EXPECT_EQ(uno[1].front(), 1);
  }
}

TEST(Aggregazione, PartitionFilesOfTheWorkedExample) {
  TestFolder t(false);
  const MatriceDistanze d = Esempio().Distanze();
  const char* atteso[] = {nullptr, " 2 \r\n 4 \r\n 1 \r\n 2 \r\n 4 \r\n 3 \r\n 1 \r\n 5 \r\n",
                          " 2 \r\n 2 \r\n 1 \r\n 5 \r\n 3 \r\n 2 \r\n 4 \r\n 3 \r\n",
                          " 2 \r\n 1 \r\n 1 \r\n 4 \r\n 2 \r\n 4 \r\n 3 \r\n 5 \r\n"};
  for (int metodo : {VicinoProssimo, VicinoLontano, MediaDiGruppo}) {
    AggregazioneGerarchica a(d, metodo);
    ASSERT_TRUE(ScriviPartizione(a.Membri(), 5));
    while (a.Unisci()) ASSERT_TRUE(ScriviPartizione(a.Membri(), a.Livello()));
    EXPECT_EQ(testing_support::ReadBytes(t.P("2")), QByteArray(atteso[metodo])) << metodo;
    Partizione letta;
    ASSERT_TRUE(LeggiPartizione(2, 5, letta));
    EXPECT_EQ(letta, FinoA(d, metodo, 2));
    ASSERT_TRUE(LeggiPartizione(5, 5, letta));
    EXPECT_EQ(letta, P({{1}, {2}, {3}, {4}, {5}}));
  }
}

TEST(Aggregazione, TwoPointsOneMerge) {
  TestFolder t(false);
  const Punti p({{30, 10}, {50, 200}});
  AggregazioneGerarchica a(p.Distanze(), VicinoProssimo);
  int pa = 0, pb = 0;
  EXPECT_TRUE(a.Unisci(&pa, &pb));
  EXPECT_EQ(pa, 1);
  EXPECT_EQ(pb, 2);
  EXPECT_FALSE(a.Unisci());
  ASSERT_TRUE(ScriviPartizione(a.Membri(), 1));
  EXPECT_EQ(testing_support::ReadBytes(t.P("1")), QByteArray(" 1 \r\n 2 \r\n 1 \r\n 2 \r\n"));
}

TEST(Aggregazione, OnePointMergesNothing) {
  const Punti p({{30, 10}});
  AggregazioneGerarchica a(p.Distanze(), MediaDiGruppo);
  EXPECT_EQ(a.Livello(), 1);
  EXPECT_FALSE(a.Unisci());
  EXPECT_EQ(a.Membri(), P({{1}}));
}

TEST(Aggregazione, EqualPointsMergeInScanOrderAndTheLastSlotMovesDown) {
  const MatriceDistanze d = Manuale(5, {});
  for (int metodo : {VicinoProssimo, VicinoLontano, MediaDiGruppo}) {
    AggregazioneGerarchica a(d, metodo);
    int pa = 0, pb = 0;
    ASSERT_TRUE(a.Unisci(&pa, &pb));
    EXPECT_EQ(std::pair(pa, pb), std::pair(1, 2));
    EXPECT_EQ(a.Membri()[1], (std::vector<int>{1, 2}));
    EXPECT_EQ(a.Membri()[2], (std::vector<int>{5}));
    ASSERT_TRUE(a.Unisci(&pa, &pb));
    EXPECT_EQ(std::pair(pa, pb), std::pair(1, 2));
    EXPECT_EQ(a.Membri()[1], (std::vector<int>{1, 2, 5}));
    EXPECT_EQ(a.Membri()[2], (std::vector<int>{4}));
  }
}

TEST(Aggregazione, TiesGoToTheFirstPairAndGroupAverageIsReal) {
  // Single linkage: d(1,2) = d(2,3) = 10, d(1,3) = 20: points 1 and 2 merge first.
  AggregazioneGerarchica s(Manuale(3, {{1, 2, 10}, {2, 3, 10}, {1, 3, 20}}), VicinoProssimo);
  int pa = 0, pb = 0;
  s.Unisci(&pa, &pb);
  EXPECT_EQ(std::pair(pa, pb), std::pair(1, 2));

  // Group average of {1, 2} and {3} with d(1,3) = 10 and d(2,3) = 15 is 12.5, which beats 13 and loses to 12.
  for (int concorrente : {13, 12}) {
    AggregazioneGerarchica g(
        Manuale(4, {{1, 2, 1}, {1, 3, 10}, {2, 3, 15}, {1, 4, 50}, {2, 4, 50}, {3, 4, concorrente}}), MediaDiGruppo);
    g.Unisci();
    // {1,2} in slot 1, point 4 in slot 2, point 3 in slot 3
    EXPECT_DOUBLE_EQ(g.Legame(1, 3), 12.5);
    g.Unisci(&pa, &pb);
    if (concorrente == 13) EXPECT_EQ(std::pair(pa, pb), std::pair(1, 3));
    else EXPECT_EQ(std::pair(pa, pb), std::pair(2, 3));
  }

  // Merging (1, K) with K the last slot moves nothing.
  AggregazioneGerarchica u(Manuale(3, {{1, 2, 40}, {1, 3, 5}, {2, 3, 60}}), VicinoLontano);
  u.Unisci(&pa, &pb);
  EXPECT_EQ(std::pair(pa, pb), std::pair(1, 3));
  EXPECT_EQ(u.Membri()[1], (std::vector<int>{1, 3}));
  EXPECT_EQ(u.Membri()[2], (std::vector<int>{2}));
}

// The merges kept up to date agree with linkage values computed afresh from the point pairs at every merge.
TEST(Aggregazione, UpdatedLinkagesChooseAsTheLiteralProcedure) {
  std::vector<float> inc{0}, dir{0};
  unsigned seme = 12345;
  const auto caso = [&seme] {
    seme = seme * 1103515245u + 12345u;
    return static_cast<double>((seme >> 8) % 100000) / 100000.0;
  };
  const int n = 60;
  for (int i = 1; i <= n; ++i) {
    // A few tight groups with repeats, so that ties happen.
    const int g = i % 4;
    inc.push_back(static_cast<float>(0.3 + 0.3 * g + (i % 7 == 0 ? 0 : 0.08 * caso())));
    dir.push_back(static_cast<float>(1.5 * g + (i % 7 == 0 ? 0 : 0.2 * caso())));
  }
  // Also a matrix of a few small values: ties everywhere.
  std::vector<float> zero(41, 0.0f);
  MatriceDistanze pari(zero.data(), zero.data(), 40);
  for (int i = 1; i < 40; ++i)
    for (int j = i + 1; j <= 40; ++j) pari.Imposta(i, j, static_cast<int>(caso() * 4));
  for (const MatriceDistanze& d : {MatriceDistanze(inc.data(), dir.data(), n), pari})
  for (int metodo : {VicinoProssimo, VicinoLontano, MediaDiGruppo}) {
    AggregazioneGerarchica a(d, metodo);
    Partizione m = a.Membri();
    while (a.Livello() > 1) {
      const int k = a.Livello();
      double dmin = 1e30;
      int ea = 0, eb = 0;
      for (int x = 1; x < k; ++x)
        for (int y = x + 1; y <= k; ++y) {
          double v = metodo == VicinoProssimo ? 1e30 : 0;
          double somma = 0;
          for (int p : m[x])
            for (int q : m[y]) {
              if (metodo == VicinoProssimo && d(p, q) < v) v = d(p, q);
              if (metodo == VicinoLontano && d(p, q) > v) v = d(p, q);
              somma += d(p, q);
            }
          if (metodo == MediaDiGruppo) v = somma / static_cast<double>(m[x].size() * m[y].size());
          if (v < dmin) {
            dmin = v;
            ea = x;
            eb = y;
          }
        }
      int pa = 0, pb = 0;
      a.Unisci(&pa, &pb);
      ASSERT_EQ(std::pair(pa, pb), std::pair(ea, eb)) << "method " << metodo << " level " << k;
      m[ea].insert(m[ea].end(), m[eb].begin(), m[eb].end());
      if (eb < k) m[eb] = m[k];
      m[k].clear();
      ASSERT_EQ(a.Membri(), m);
    }
  }
}

TEST(Aggregazione, BadPartitionFilesAreRefused) {
  TestFolder t(false);
  Partizione p;
  QString errore;
  EXPECT_FALSE(LeggiPartizione(3, 5, p, &errore));
  // Each refused with the line of its fault.
  const struct {
    const char* testo;
    int riga;
  } casi[] = {
      {" 3 \n 1 \n 1 \n 1 \n 2 \n", 6},                            // short
      {" 3 \n 1 \n 1 \n 1 \n 2 \n 1 \n 9 \n", 7},                  // index above N
      {" 2 \n 1 \n 1 \n 1 \n 2 \n", 1},                            // another level
      {" 3 \n 1 \n 1 \n 1 \n 2 \n 2 \n 3 \n 1 \n", 8},            // point 1 in two clusters
      {" 3 \n 1 \n 1 \n 1 \n 2 \n 2 \n 4 \n 4 \n", 8},            // point 4 twice in one
      {" 3 \n 1 \n 1 \n 1 \n 2 \n 2 \n 3 \n 4 \n\n 5 \n", 10},    // more than the partition
      {" 3 \n 1 \n 1 \r 1 \n 2 \n 2 \n 3 \n 4 \n", 3},            // a CR that ends no line
  };
  for (const auto& c : casi) {
    testing_support::WriteAnsi(t.P("3"), c.testo);
    int riga = -1;
    EXPECT_FALSE(LeggiPartizione(3, 5, p, &errore, &riga)) << c.testo;
    EXPECT_EQ(riga, c.riga) << c.testo;
  }
  testing_support::WriteAnsi(t.P("3"), " 3 \n 1 \n 1 \n 1 \n 2 \n 2 \n 3 \n 4 \n");
  EXPECT_TRUE(LeggiPartizione(3, 5, p, &errore));
  EXPECT_EQ(p, P({{1}, {2}, {3, 4}}));
}
