#include "cluster/geometria.h"

#include <gtest/gtest.h>

namespace {
const double pi = 4 * std::atan(1.0);
}

TEST(Geometria, AnglesToVectorAndBack) {
  for (double inc = -pi / 2 + 0.01; inc < pi / 2; inc += 0.137) {
    for (double dir = 0; dir <= 2 * pi; dir += 0.211) {
      double x, y, z, i2, d2;
      AngoliInVersore(x, y, z, inc, dir);
      EXPECT_NEAR(x * x + y * y + z * z, 1, 1e-12);
      VersoreInAngoli(x, y, z, i2, d2);
      EXPECT_NEAR(i2, inc, 1e-9);
      EXPECT_NEAR(std::remainder(d2 - dir, 2 * pi), 0, 1e-9);
      double i3, d3;
      VersoreInGiacitura(x, y, z, i3, d3);
      EXPECT_EQ(i3, i2);
      EXPECT_EQ(d3, d2);
    }
  }
}

TEST(Geometria, VerticalAndZeroVectors) {
  double i, d;
  VersoreInAngoli(0.0, 0.0, 2.0, i, d);
  EXPECT_EQ(i, pi / 2);
  EXPECT_EQ(d, 0);
  VersoreInAngoli(0.0, 0.0, -1.0, i, d);  // straight down: the sign of z is not looked at
  EXPECT_EQ(i, pi / 2);
  EXPECT_EQ(d, 0);
  VersoreInAngoli(0.0, 0.0, 0.0, i, d);
  EXPECT_EQ(i, pi / 2);
  VersoreInGiacitura(0.0, 0.0, 1.0, i, d);
  EXPECT_EQ(i, pi / 2);
  EXPECT_EQ(d, 3 * pi / 2);
  VersoreInGiacitura(0.0, 0.0, -1.0, i, d);
  EXPECT_EQ(i, -pi / 2);
  EXPECT_EQ(d, 3 * pi / 2);
  VersoreInGiacitura(0.0, 0.0, 0.0, i, d);
  EXPECT_EQ(i, pi / 2);
  EXPECT_EQ(d, 3 * pi / 2);
}

TEST(Geometria, AxisDirections) {
  double i, d;
  VersoreInAngoli(0.0, 1.0, 0.0, i, d);
  EXPECT_DOUBLE_EQ(d, pi / 2);
  VersoreInAngoli(0.0, -1.0, 0.0, i, d);
  EXPECT_DOUBLE_EQ(d, 3 * pi / 2);  // not -π/2
  VersoreInAngoli(-1.0, 0.0, 0.0, i, d);
  EXPECT_EQ(d, pi);
  VersoreInAngoli(1.0, -1e-300, 0.0, i, d);
  EXPECT_LE(d, 2 * pi);
  VersoreInAngoli(1.0, 0.0, -1.0, i, d);
  EXPECT_DOUBLE_EQ(i, -pi / 4);
  double imm, inc;
  PoloInGiacitura(0, pi / 2, imm, inc);  // along +y: dip direction 0
  EXPECT_NEAR(imm, 0, 1e-12);
  PoloInGiacitura(0, 3 * pi / 2, imm, inc);
  EXPECT_NEAR(imm, 180, 1e-12);
  PoloInGiacitura(0, pi, imm, inc);
  EXPECT_NEAR(imm, 270, 1e-12);
}

TEST(Geometria, StoredFormOfPlanes) {
  double ip, dp;
  GiacituraInPolo(0, 0, ip, dp);  // horizontal plane
  EXPECT_DOUBLE_EQ(ip, pi / 2);
  double x, y, z;
  AngoliInVersore(x, y, z, ip, dp);
  EXPECT_NEAR(x, 0, 1e-15);
  EXPECT_NEAR(y, 0, 1e-15);
  EXPECT_DOUBLE_EQ(z, 1);
  double i, d;
  VersoreInGiacitura(0.0, 0.0, 1.0, i, d);
  double imm, inc;
  PoloInGiacitura(i, d, imm, inc);
  EXPECT_NEAR(imm, 180, 1e-12);  // 90 - 270 = -180, reduced to 180
  EXPECT_NEAR(inc, 0, 1e-12);

  GiacituraInPolo(120, 40, ip, dp);  // the vector leans towards the dip direction
  AngoliInVersore(x, y, z, ip, dp);
  const double a = 120 * pi / 180, b = 40 * pi / 180;
  EXPECT_NEAR(x, std::sin(a) * std::sin(b), 1e-12);
  EXPECT_NEAR(y, std::cos(a) * std::sin(b), 1e-12);
  EXPECT_NEAR(z, std::cos(b), 1e-12);
  GiacituraInPolo(350, 90, ip, dp);
  EXPECT_NEAR(ip, 0, 1e-15);  // vertical plane: horizontal pole
  EXPECT_GE(dp, 0);
  PoloInGiacitura(ip, dp, imm, inc);
  EXPECT_NEAR(imm, 350, 1e-9);
  EXPECT_NEAR(inc, 90, 1e-12);
}

TEST(Geometria, AngleBetweenLines) {
  double i1, d1, i2, d2;
  GiacituraInPolo(10, 90, i1, d1);
  GiacituraInPolo(190, 90, i2, d2);
  EXPECT_NEAR(AngoloTraDirezioni(i1, d1, i2, d2), 0, 1e-7);  // two vertical planes facing each other
  EXPECT_EQ(AngoloTraDirezioni(0.3, 1.1, 0.3, 1.1), 0);      // itself: exactly 0
  // Perpendicular lines give π/2 on both sides of the zero cosine: exactly 0, a cosine too small to change the
  // arctangent (1e-17), and the cosine of two horizontal lines a quarter turn apart (cos(π/2) = 6e-17).
  EXPECT_EQ(AngoloTraVersori(1, 0, 0, 0, 1, 0), pi / 2);
  EXPECT_EQ(AngoloTraVersori(1, 0, 0, 1e-17, 1, 0), pi / 2);
  EXPECT_EQ(AngoloTraDirezioni(0, 0, 0, pi / 2), pi / 2);
  EXPECT_DOUBLE_EQ(AngoloTraDirezioni(pi / 2, 0, 0, 0.7), pi / 2);  // perpendicular
  EXPECT_NEAR(AngoloTraDirezioni(0.2, 0.4, -0.2, 0.4 + pi), 0, 1e-7);  // opposite vectors of one line
  for (double a = 0; a < 2 * pi; a += 0.3)
    for (double b = -1.5; b < 1.5; b += 0.4) {
      const double g = AngoloTraDirezioni(0.1, 0.2, b, a);
      EXPECT_GE(g, 0);
      EXPECT_LE(g, pi / 2);
    }
  float fi = 0, fd = 0;  // results in single precision are rounded on assignment
  VersoreInAngoli(1.0f, 1.0f, 0.0f, fi, fd);
  EXPECT_EQ(fd, static_cast<float>(pi / 4));
}
