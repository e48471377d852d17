// The one conversion of a vector into an inclination and a direction, which the clustering, its plot and the wedge
// solution share.
#include "common/geometria/orientamento.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const double kPi = 4 * std::atan(1.0);

TEST(AngoliDiVettore, EveryQuadrantUpAndDownAndTheVertical) {
  // Vectors of a known inclination and direction, of several lengths, built from their angles: along the axes, in
  // each quadrant, pointing up, horizontal and pointing down.
  const double direzioni[] = {0,      kPi / 6,         kPi / 2,         2 * kPi / 3, kPi,
                              7 * kPi / 6, 3 * kPi / 2, 5 * kPi / 3, 2 * kPi - 1e-9};
  const double inclinazioni[] = {-kPi / 2 + 1e-9, -kPi / 3, -kPi / 12, 0, kPi / 12, kPi / 3, kPi / 2 - 1e-9};
  for (double lunghezza : {1.0, 3.5, 1e-3}) {
    for (double d : direzioni) {
      for (double p : inclinazioni) {
        const double x = lunghezza * std::cos(p) * std::cos(d), y = lunghezza * std::cos(p) * std::sin(d);
        const double z = lunghezza * std::sin(p);
        double inclinazione = 7, direzione = 7;
        AngoliDiVettore(x, y, z, inclinazione, direzione);
        EXPECT_NEAR(inclinazione, p, 1e-12) << d << " " << p << " " << lunghezza;
        EXPECT_NEAR(direzione, d, 1e-12) << d << " " << p << " " << lunghezza;
        EXPECT_TRUE(direzione >= 0 && direzione <= 2 * kPi) << direzione;
      }
    }
  }
  auto angoli = [](double x, double y, double z) {
    double inclinazione = 7, direzione = 7;
    AngoliDiVettore(x, y, z, inclinazione, direzione);
    return std::pair{inclinazione, direzione};
  };
  // The axes exactly: east 0, north π/2, west π, south 3π/2.
  EXPECT_EQ(angoli(2, 0, 0), std::pair(0.0, 0.0));
  EXPECT_EQ(angoli(0, 2, 0).second, kPi / 2);
  EXPECT_EQ(angoli(-2, 0, 0).second, kPi);
  EXPECT_EQ(angoli(0, -2, 0).second, 3 * kPi / 2);
  // Just south of east the direction is a whole turn: both ends of the turn are given.
  EXPECT_EQ(angoli(1, -1e-300, 0).second, 2 * kPi);
  // Straight up and straight down: a right angle by the sign of z, and the direction 3π/2; so the zero vector.
  EXPECT_EQ(angoli(0, 0, 2), std::pair(kPi / 2, 3 * kPi / 2));
  EXPECT_EQ(angoli(0, 0, -2), std::pair(-kPi / 2, 3 * kPi / 2));
  EXPECT_EQ(angoli(0, 0, 0), std::pair(kPi / 2, 3 * kPi / 2));
}

}  // namespace
