// The wedge solution against an independent solution built from the solid, and its behaviour on degenerate input.
#include "tests/wedge/geometria_cuneo.h"
#include "wedge/cuneo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <random>
#include <vector>

using wedge_test::Arguments;
using wedge_test::Outcome;
using wedge_test::Slope;
using wedge_test::Solve;

namespace {

const double kPi = 4 * std::atan(1.0);

struct Result {
  double factor, volume;
  QString mode;
};

Result Compute(const Slope& s, double seismic = 0) {
  Cuneo = ModuloCuneo();
  Cuneo.DistanzaFrattura = s.crackDistance;
  Cuneo.CoefficienteSismico = seismic;
  ArgomentiCuneo a = Arguments(s);
  a.ModoScivolamento = "xx";
  if (seismic == 0) CalcolaCuneo(a);
  else CalcolaCuneoEsteso(a);
  return {a.FattoreSicurezza, a.VolumeCuneo, a.ModoScivolamento};
}

void ExpectClose(double actual, double expected, const std::string& what) {
  EXPECT_NEAR(actual, expected, 1e-9 * std::max(1.0, std::fabs(expected))) << what;
}

// The program's result against the solid's: no wedge in both, or the same mode, volume and factor of safety. A
// volume is found from vertices up to the wedge's size away: it carries the rounding of the cube of that size.
testing::AssertionResult AsTheSolid(const Result& r, const Outcome& o) {
  auto close = [](double a, double b) { return std::fabs(a - b) <= 1e-9 * std::max(1.0, std::fabs(b)); };
  const double rounding = 1e-15 * o.size * o.size * o.size;
  if (!o.wedge) {
    if (r.factor == -1 && r.volume == 0) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "the solid is no wedge; the program gives " << r.factor << ", " << r.volume;
  }
  if (r.factor == -1 || r.mode != o.mode || !(close(r.volume, o.volume) || std::fabs(r.volume - o.volume) <= rounding) ||
      !close(r.factor, o.factor))
    return testing::AssertionFailure() << "the solid gives " << o.mode.toStdString() << " " << o.factor << ", "
                                       << o.volume << "; the program " << r.mode.toStdString() << " " << r.factor
                                       << ", " << r.volume;
  return testing::AssertionSuccess();
}

std::string Describe(const Slope& s) {
  char b[200];
  std::snprintf(b, sizeof b, "planes %g/%g %g/%g water %g crack %g anchor %g load %g", s.dip1, s.dir1, s.dip2, s.dir2,
                s.waterWeight, s.crackDistance, s.anchor, s.load);
  return b;
}

// The configurations used below, each a wedge that the independent solution recognises.
Slope Wet() {
  Slope s;
  s.waterWeight = 10;
  return s;
}
Slope CrackWaterAnchorLoad() {
  Slope s;
  s.crackDistance = 10;
  s.waterWeight = 10;
  s.c1 = 20;
  s.c2 = 40;
  s.anchor = 500;
  s.anchorPlunge = 20;
  s.anchorTrend = 10;
  s.load = 300;
  s.loadPlunge = 70;
  s.loadTrend = 200;
  return s;
}
// Plane 1 flat, plane 2 steep: the wedge slides on plane 1 alone.
Slope OnPlane1() {
  Slope s;
  s.dip1 = 20;
  s.dir1 = 160;
  s.dip2 = 75;
  s.dir2 = 190;
  s.phi1 = 18;
  return s;
}
Slope OnPlane2() {
  Slope s = OnPlane1();
  std::swap(s.dip1, s.dip2);
  std::swap(s.dir1, s.dir2);
  std::swap(s.phi1, s.phi2);
  return s;
}

// Random slopes and planes, dry and wet (odd k), with and without crack, anchor and external load (k & 2).
const unsigned kRandomSeed = 5102;
Slope RandomSlope(std::mt19937& rng, int k) {
  auto any = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
  Slope s;
  s.dip1 = any(5, 89), s.dir1 = any(0, 360), s.dip2 = any(5, 89), s.dir2 = any(0, 360);
  s.faceDip = any(40, 89), s.faceDir = any(0, 360), s.upperDip = any(0, 30), s.upperDir = any(0, 360);
  s.height = any(5, 50), s.phi1 = any(10, 45), s.phi2 = any(10, 45);
  if (k & 1) s.waterWeight = 10, s.c1 = any(0, 30), s.c2 = any(0, 30);
  if (k & 2) {
    s.crackDistance = any(1, 20), s.crackDip = any(50, 90), s.crackDir = s.faceDir + any(-40, 40);
    s.anchor = any(0, 500), s.anchorPlunge = any(-30, 60), s.anchorTrend = any(0, 360);
    s.load = any(0, 500), s.loadPlunge = any(-30, 90), s.loadTrend = any(0, 360);
  }
  return s;
}

}  // namespace

TEST(Wedge, AgreesWithTheSolidBuiltFromItsPlanes) {
  // Every pair of a grid of orientations, dry and wet, with and without crack, anchor and external load.
  std::map<QString, int> modes;
  int compared = 0;
  for (int variant = 0; variant < 4; ++variant) {
    for (int dip1 = 10; dip1 <= 85; dip1 += 15) {
      for (int dir1 = 0; dir1 < 360; dir1 += 30) {
        for (int dip2 = 10; dip2 <= 85; dip2 += 15) {
          for (int dir2 = 7; dir2 < 360; dir2 += 30) {
            Slope s;
            s.dip1 = dip1, s.dir1 = dir1, s.dip2 = dip2, s.dir2 = dir2;
            if (variant & 1) s.waterWeight = 10, s.c1 = 15, s.c2 = 5;
            if (variant & 2) {
              s.crackDistance = 8;
              s.anchor = 400, s.anchorPlunge = 15, s.anchorTrend = 20;
              s.load = 200, s.loadPlunge = 60, s.loadTrend = 150;
            }
            const Outcome o = Solve(s);
            if (!o.regular) continue;
            const Result r = Compute(s);
            const std::string what = Describe(s);
            if (!o.wedge) {
              EXPECT_EQ(r.factor, -1) << what;
              EXPECT_EQ(r.volume, 0) << what;
              EXPECT_EQ(r.mode, "xx") << what;
              continue;
            }
            ASSERT_NE(r.factor, -1) << what;
            ExpectClose(r.volume, o.volume, what);
            EXPECT_EQ(r.mode, o.mode) << what;
            ExpectClose(r.factor, o.factor, what);
            ++modes[o.mode];
            ++compared;
          }
        }
      }
    }
  }
  EXPECT_GT(compared, 3000);
  for (const char* m : {"00", "10", "01", "11"}) EXPECT_GT(modes[m], 100) << m;
}

TEST(Wedge, RandomWedgesOfEveryModeAgreeWithTheSolid) {
  // Random slopes and planes, dry and wet, with and without crack, anchor and external load; every geometry is
  // compared, those where a plane overhangs the wedge and those where the toe lies above the upper surface too.
  // Every mode is reached where the normals into the wedge meet at an obtuse angle and where the water on a plane
  // pushes harder than the weight presses onto it: there the contact state is the one the forces allow.
  std::mt19937 rng(kRandomSeed);
  std::map<QString, int> modes, overhangingWet, obtuse, lifting;
  int toeAbove = 0;
  for (int k = 0; k < 60000; ++k) {
    const Slope s = RandomSlope(rng, k);
    const Outcome o = Solve(s);
    const Result r = Compute(s);
    const std::string what = Describe(s);
    if (!o.toeUnderUpper) ++toeAbove;
    ASSERT_TRUE(AsTheSolid(r, o)) << what;
    if (!o.wedge) continue;
    ++modes[o.mode];
    if (s.waterWeight > 0 && !o.inwardNormalsUp) ++overhangingWet[o.mode];
    if (o.inwardCosine < 0) ++obtuse[o.mode];
    if (o.waterOverWeight) ++lifting[o.mode];
  }
  for (const char* m : {"00", "10", "01", "11"}) {
    EXPECT_GT(modes[m], 500) << m;
    EXPECT_GT(overhangingWet[m], 100) << m;
    EXPECT_GT(obtuse[m], 100) << m;
    EXPECT_GT(lifting[m], 100) << m;
  }
  EXPECT_GT(toeAbove, 2000);
}

TEST(Wedge, WaterOnAPlaneThatLostContactPushesTheWedgeAwayFromIt) {
  // The flatter plane overhangs the wedge, which slides on the steeper plane alone; the water on the flatter
  // plane pushes the wedge away from it, down and out of the slope.
  Slope s;
  s.faceDip = 65, s.faceDir = 180, s.upperDip = 10, s.upperDir = 180, s.height = 20;
  s.dip1 = 60, s.dir1 = 140, s.dip2 = 30, s.dir2 = 150;
  s.phi1 = s.phi2 = 30, s.c1 = s.c2 = 0;
  s.rockWeight = 26, s.waterWeight = 10;
  const Outcome o = Solve(s);
  ASSERT_TRUE(o.wedge);
  EXPECT_FALSE(o.inwardNormalsUp);
  Slope swapped = s;
  std::swap(swapped.dip1, swapped.dip2);
  std::swap(swapped.dir1, swapped.dir2);
  const Result r = Compute(s), rs = Compute(swapped);
  EXPECT_EQ(r.mode, "10");
  EXPECT_EQ(rs.mode, "01");
  EXPECT_NEAR(r.factor, 0.86, 0.005);
  ExpectClose(rs.factor, r.factor, "planes swapped");
  ExpectClose(Compute(s).factor, o.factor, "overhanging plane");
  // Dry, the overhanging plane plays no part.
  s.waterWeight = 0;
  ExpectClose(Compute(s).factor, Solve(s).factor, "dry");
}

TEST(Wedge, NoWedgeWhereTheToeLiesAboveTheUpperSurface) {
  // A flat plane 1 meets the face far from the toe at the height of the slope; the upper surface through that
  // point passes under the toe: the line of intersection comes out of the face in the air.
  Slope s;
  s.faceDip = 60, s.faceDir = 180, s.upperDip = 10, s.upperDir = 140, s.height = 20;
  s.dip1 = 8, s.dir1 = 160, s.dip2 = 70, s.dir2 = 270;
  s.phi1 = s.phi2 = 30;
  for (double water : {0.0, 10.0}) {
    s.waterWeight = water;
    const Outcome o = Solve(s);
    EXPECT_FALSE(o.toeUnderUpper);
    EXPECT_FALSE(o.wedge);
    const Result r = Compute(s);
    EXPECT_EQ(r.factor, -1);
    EXPECT_EQ(r.volume, 0);
    EXPECT_EQ(r.mode, "xx");
    EXPECT_EQ(Compute(s, 0.15).factor, -1);
  }
  // A flatter upper surface passes above the toe: a wedge.
  s.upperDip = 2;
  ASSERT_TRUE(Solve(s).toeUnderUpper);
  EXPECT_NE(Compute(s).factor, -1);
}

TEST(Wedge, FactorOfSafetyIsPositiveAndCapped) {
  Slope s;
  s.c1 = s.c2 = 1e6;
  EXPECT_EQ(Compute(s).factor, 99.99);

  // An anchor pulling the wedge up its line of intersection harder than the weight pulls it down: the quotient is
  // negative and its absolute value is reported.
  const Outcome dry = Solve(Slope());
  Slope up;
  up.anchor = 3 * dry.weight;
  up.anchorPlunge = -dry.linePlunge;
  up.anchorTrend = dry.lineTrend;
  const Outcome o = Solve(up);
  ASSERT_EQ(o.mode, "11");
  ASSERT_LT(o.quotient, 0);
  const Result r = Compute(up);
  EXPECT_EQ(r.mode, "11");
  ExpectClose(r.factor, -o.quotient, "anchor up the line");
}

TEST(Wedge, ANegativeResistingForceIsNoSafety) {
  // A cohesion below 0 that outweighs the friction, in each sliding mode: no safety, not the quotient's absolute
  // value.
  for (Slope s : {OnPlane1(), OnPlane2(), Slope()}) {
    const Outcome before = Solve(s);
    s.c1 = s.c2 = -1e4;
    const Outcome o = Solve(s);
    ASSERT_EQ(o.mode, before.mode);
    ASSERT_LT(o.quotient, 0);
    const Result r = Compute(s);
    EXPECT_EQ(r.mode, o.mode);
    EXPECT_EQ(r.factor, 0) << o.mode.toStdString();
  }
}

TEST(Wedge, ContactLostOnBothPlanes) {
  Slope s;
  const Outcome dry = Solve(s);
  s.load = 2 * dry.weight;
  s.loadPlunge = -90;  // straight up, twice the weight
  const Result r = Compute(s);
  EXPECT_EQ(r.mode, "00");
  EXPECT_EQ(r.factor, 0);
  ExpectClose(r.volume, dry.volume, "volume");
}

TEST(Wedge, NoAdmissibleWedge) {
  struct Case {
    const char* name;
    Slope slope;
    bool modeSet;
  };
  Slope steep;  // the line of intersection plunges more steeply than the face
  steep.dip1 = 80, steep.dir1 = 150, steep.dip2 = 80, steep.dir2 = 220;
  Slope parallel;
  parallel.dip2 = parallel.dip1, parallel.dir2 = parallel.dir1;
  Slope flat;  // no height
  flat.height = 0;
  Slope weightless;  // a load keeps the wedge from balancing at zero, so that only the volume cannot be found
  weightless.rockWeight = 0;
  weightless.load = 100, weightless.loadPlunge = 30, weightless.loadTrend = 185;
  Slope crackAbove;  // a crack through the face that passes above the top: the toe and plane 2's crest point behind it
  crackAbove.dip1 = 25, crackAbove.dir1 = 180, crackAbove.dip2 = 10, crackAbove.dir2 = 37, crackAbove.crackDistance = 8;
  Slope toeBehind;  // the crack passes between the toe and the crest: it cuts through the face
  toeBehind.crackDistance = 8, toeBehind.crackDip = 46, toeBehind.crackDir = 181;
  Slope crestBehind;  // the crack cuts plane 2's trace on the face: plane 2's crest point lies behind it
  crestBehind.crackDistance = 8, crestBehind.crackDip = 66, crestBehind.crackDir = 46;
  const Case cases[] = {
      {"not daylighting", steep, false},       {"parallel planes", parallel, false},
      {"no height", flat, false},              {"no rock weight", weightless, true},
      {"crack above the top", crackAbove, false}, {"toe behind the crack", toeBehind, false},
      {"crest point behind the crack", crestBehind, false}};
  for (const Case& c : cases) {
    const Result r = Compute(c.slope);
    EXPECT_EQ(r.factor, -1) << c.name;
    EXPECT_EQ(r.volume, 0) << c.name;
    if (c.modeSet) EXPECT_NE(r.mode, "xx") << c.name;  // the failure comes after the mode is known
    else EXPECT_EQ(r.mode, "xx") << c.name;
  }
  for (const Slope& s : {steep, crackAbove, toeBehind, crestBehind}) {
    const Outcome o = Solve(s);
    EXPECT_TRUE(o.regular && !o.wedge);
  }
  // Without their cracks the last three are wedges.
  for (Slope s : {crackAbove, toeBehind, crestBehind}) {
    s.crackDistance = 0;
    EXPECT_NE(Compute(s).factor, -1);
  }
}

TEST(Wedge, ACrackThatTheWholeWedgeLiesInFrontOfLeavesItAsItIs) {
  // A crack far beyond the top, a crack dipping into the slope and a vertical one, both beyond the top, and the
  // textbook wedge, wet, with its crack 70/165 just before its top (147.368 m from the crest along plane 1's
  // trace) and just beyond it: beyond the top the wedge is the one without the crack, its water that of the
  // planes alone, with and without a seismic force.
  Slope farCrack;
  farCrack.crackDistance = 1e4;
  Slope intoTheSlope;
  intoTheSlope.crackDistance = 60, intoTheSlope.crackDip = 60, intoTheSlope.crackDir = 5;
  Slope vertical;
  vertical.crackDistance = 60, vertical.crackDip = 90, vertical.crackDir = 100;
  Slope textbook;
  textbook.height = 100, textbook.rockWeight = 16, textbook.waterWeight = 6.25;
  textbook.c1 = 50, textbook.phi1 = 20, textbook.c2 = 100, textbook.phi2 = 30;
  textbook.crackDistance = 147.38;
  for (const Slope& s : {farCrack, intoTheSlope, vertical, textbook}) {
    Slope none = s;
    none.crackDistance = 0;
    const Outcome o = Solve(s);
    ASSERT_TRUE(o.wedge) << Describe(s);
    EXPECT_FALSE(o.crackCuts) << Describe(s);
    EXPECT_TRUE(AsTheSolid(Compute(s), o)) << Describe(s);
    for (double seismic : {0.0, 0.1}) {
      const Result with = Compute(s, seismic), without = Compute(none, seismic);
      EXPECT_EQ(with.factor, without.factor) << Describe(s);
      EXPECT_EQ(with.volume, without.volume) << Describe(s);
      EXPECT_EQ(with.mode, without.mode) << Describe(s);
    }
  }
  EXPECT_NEAR(Compute(textbook).factor, 1.215, 0.005);  // written 1.21
  textbook.crackDistance = 147.35;  // the crack cuts off a sliver of the top, and holds no water
  ASSERT_TRUE(Solve(textbook).crackCuts);
  EXPECT_TRUE(AsTheSolid(Compute(textbook), Solve(textbook)));
  EXPECT_NEAR(Compute(textbook).factor, 1.845, 0.005);  // written 1.84
}

TEST(Wedge, EveryTensionCrackMeetsTheWedgeAsItMeetsTheSolid) {
  // Cracks of every dip and dip direction, vertical ones entered with either dip direction, at distances from a
  // hundredth of a metre to beyond the top, on wedges from half a metre to hundreds of metres high; dry and wet,
  // with and without anchor and load. The program finds the solid's wedges, and only those: with the toe and both
  // crest points on the front of the crack, the crack cuts the top of the line of intersection off, closes the
  // wedge whose line runs under the upper surface, or leaves the wedge that lies wholly in front of it as it is.
  std::mt19937 rng(39);
  auto any = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
  std::map<QString, int> modes;
  int cut = 0, towardsFaceAway = 0, vertical = 0, closed = 0, beyond = 0;
  for (int k = 0; k < 40000; ++k) {
    Slope s = RandomSlope(rng, k & ~2);
    if (k & 2) {
      s.anchor = any(0, 500), s.anchorPlunge = any(-30, 60), s.anchorTrend = any(0, 360);
      s.load = any(0, 500), s.loadPlunge = any(-30, 90), s.loadTrend = any(0, 360);
    }
    s.height = k % 3 == 0 ? any(0.5, 5) : k % 3 == 1 ? any(5, 50) : any(50, 500);
    s.crackDistance = s.height * (k % 4 == 0 ? any(0.0005, 0.05) : any(0.05, 3));
    s.crackDip = k % 6 == 0 ? 90 : any(0, 90), s.crackDir = any(0, 360);
    const Outcome o = Solve(s);
    const Result r = Compute(s);
    char slope[400];
    std::snprintf(slope, sizeof slope, " face %.17g/%.17g upper %.17g/%.17g height %.17g crack %.17g/%.17g at %.17g",
                  s.faceDip, s.faceDir, s.upperDip, s.upperDir, s.height, s.crackDip, s.crackDir, s.crackDistance);
    const std::string what = Describe(s) + slope;
    if (s.crackDip == 90) {
      Slope other = s;
      other.crackDir += 180;
      const Result turned = Compute(other);
      ASSERT_EQ(turned.factor == -1, r.factor == -1) << what;
      ExpectClose(turned.factor, r.factor, what);
      ExpectClose(turned.volume, r.volume, what);
    }
    ASSERT_TRUE(AsTheSolid(r, o)) << what;
    if (!o.wedge) continue;
    if (!o.crackCuts) {
      // Bit for bit the wedge without the crack.
      ++beyond;
      Slope none = s;
      none.crackDistance = 0;
      const Result without = Compute(none);
      EXPECT_EQ(r.factor, without.factor) << what;
      EXPECT_EQ(r.volume, without.volume) << what;
      continue;
    }
    if (o.upperSine < -1e-5) ++closed;
    ++cut;
    ++modes[o.mode];
    // A crack that dips away from the face: its upward normal and the face's meet at an obtuse angle.
    const double f5[3] = {std::sin(s.crackDip * kPi / 180) * std::sin(s.crackDir * kPi / 180),
                          std::sin(s.crackDip * kPi / 180) * std::cos(s.crackDir * kPi / 180),
                          std::cos(s.crackDip * kPi / 180)};
    const double f[3] = {std::sin(s.faceDip * kPi / 180) * std::sin(s.faceDir * kPi / 180),
                         std::sin(s.faceDip * kPi / 180) * std::cos(s.faceDir * kPi / 180),
                         std::cos(s.faceDip * kPi / 180)};
    if (f5[0] * f[0] + f5[1] * f[1] + f5[2] * f[2] < 0) ++towardsFaceAway;
    if (s.crackDip == 90) ++vertical;
  }
  EXPECT_GT(cut, 2500);
  EXPECT_GT(closed, 300);
  EXPECT_GT(beyond, 1000);
  EXPECT_GT(towardsFaceAway, 300);
  EXPECT_GT(vertical, 300);
  for (const char* m : {"00", "10", "01", "11"}) EXPECT_GT(modes[m], 10) << m;
}

TEST(Wedge, ACrackBoundsAWedgeWhoseLineOfIntersectionRunsAlongOrUnderTheUpperSurface) {
  // The line of intersection of 45/130 and 31.45/261.73 lies within a millionth of the upper surface 20/170: the
  // wedge has no top, and the crack 80/180 at 8 m bounds it. The solid: factor 0.758, 8,706.7 m³.
  Slope s;
  s.faceDip = 60, s.faceDir = 180, s.upperDip = 20, s.upperDir = 170, s.height = 30;
  s.crackDistance = 8, s.crackDip = 80, s.crackDir = 180;
  s.dip1 = 45, s.dir1 = 130, s.dip2 = 31.452758913759165, s.dir2 = 261.72951672766754;
  s.phi1 = s.phi2 = 30, s.c1 = s.c2 = 5, s.rockWeight = 26, s.waterWeight = 10;
  const Outcome o = Solve(s);
  ASSERT_TRUE(o.wedge);
  EXPECT_NEAR(o.factor, 0.758, 0.0005);
  EXPECT_NEAR(o.volume, 8706.7, 0.05);
  const Result r = Compute(s);
  EXPECT_EQ(r.mode, "11");
  ExpectClose(r.factor, o.factor, "worked example");
  ExpectClose(r.volume, o.volume, "worked example");

  // Plane 2 turned so that the line of intersection leaves the upper surface at a sine p/|i| from a hundredth to
  // a billionth, or lies in it, rising above it or running under it: the wedge is the solid's, and the example's
  // where the turn is small, on either side of the tolerance of the orientations (1e-5) and across it. Without the
  // crack only a line that clearly reaches the upper surface gives a wedge.
  auto sine = [&](double dip2) {
    Slope t = s;
    t.dip2 = dip2;
    const double r = kPi / 180;
    const double a[3] = {std::sin(t.dip1 * r) * std::sin(t.dir1 * r), std::sin(t.dip1 * r) * std::cos(t.dir1 * r),
                         std::cos(t.dip1 * r)};
    const double b[3] = {std::sin(t.dip2 * r) * std::sin(t.dir2 * r), std::sin(t.dip2 * r) * std::cos(t.dir2 * r),
                         std::cos(t.dip2 * r)};
    const double d[3] = {std::sin(t.upperDip * r) * std::sin(t.upperDir * r),
                         std::sin(t.upperDip * r) * std::cos(t.upperDir * r), std::cos(t.upperDip * r)};
    const double i[3] = {b[1] * a[2] - b[2] * a[1], b[2] * a[0] - b[0] * a[2], b[0] * a[1] - b[1] * a[0]};
    const double p = i[0] * d[0] + i[1] * d[1] + i[2] * d[2];
    return p / std::sqrt(i[0] * i[0] + i[1] * i[1] + i[2] * i[2]) * (i[2] > 0 ? 1 : -1);
  };
  for (double target : {1e-2, 1e-3, 2e-5, 1.01e-5, 9.95e-6, 5e-6, 1e-6, 1e-7, 1e-8, 1e-9, 0.0, -1e-9, -1e-7, -5e-6,
                        -9.95e-6, -1.01e-5, -2e-5, -1e-4, -1e-3, -1e-2}) {
    // The dip of plane 2 that gives the sine, by the secant method.
    double x0 = s.dip2 - 0.5, x1 = s.dip2 + 0.5;
    for (int n = 0; n < 60 && x1 != x0; ++n) {
      const double f0 = sine(x0) - target, f1 = sine(x1) - target;
      if (f1 == f0) break;
      const double x2 = x1 - f1 * (x1 - x0) / (f1 - f0);
      x0 = x1, x1 = x2;
    }
    Slope t = s;
    t.dip2 = x1;
    const std::string what = "sine " + std::to_string(sine(x1)) + " for " + std::to_string(target);
    ASSERT_NEAR(sine(x1), target, 1e-12) << what;
    const Outcome expected = Solve(t);
    const Result got = Compute(t);
    ASSERT_TRUE(expected.wedge) << what;
    ASSERT_NE(got.factor, -1) << what;
    EXPECT_EQ(got.mode, expected.mode) << what;
    EXPECT_NEAR(got.factor, expected.factor, 1e-6) << what;
    EXPECT_NEAR(got.volume, expected.volume, 1e-6 * expected.volume) << what;
    if (std::fabs(target) <= 2e-5) {
      EXPECT_NEAR(got.factor, 0.758, 0.001) << what;
      EXPECT_NEAR(got.volume, 8706.7, 1) << what;
    }
    t.crackDistance = 0;
    if (target < 1e-5) EXPECT_EQ(Compute(t).factor, -1) << what;
    else EXPECT_NE(Compute(t).factor, -1) << what;
  }
}

TEST(Wedge, AVertexWithinABillionthOfTheWedgesSizeCountsAsOnTheCrack) {
  // Random slopes whose crack passes through the toe, plane 2's crest point or the top of the wedge, at the
  // distance from the crest computed for it, a unit of its last bit away and up to a hundred-billionth of it away
  // on either side: the vertex lies a little on either side of the crack, and each pair is the solid's whatever
  // side that is. Moved by a millionth of the wedge's size, the vertex is clearly behind the crack (no wedge) or,
  // the top, in front of it (the wedge without the crack).
  std::mt19937 rng(4603);
  auto any = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
  using wedge_test::CrackThrough;
  using wedge_test::Vertex;
  std::map<Vertex, int> wedges, cleared;
  for (int k = 0; k < 6000; ++k) {
    Slope s = RandomSlope(rng, k & ~2);
    s.crackDip = any(0, 90), s.crackDir = any(0, 360);
    const Vertex vertex = k % 3 == 0 ? Vertex::Toe : k % 3 == 1 ? Vertex::Crest2 : Vertex::Top;
    const double on = CrackThrough(s, vertex);
    if (!(on > 0 && on < 1e4)) continue;
    for (double distance : {on * (1 - 1e-11), on * (1 - 1e-13), std::nextafter(on, 0.0), on,
                            std::nextafter(on, INFINITY), on * (1 + 1e-13), on * (1 + 1e-11)}) {
      s.crackDistance = distance;
      const Outcome o = Solve(s);
      const std::string what = Describe(s) + " vertex " + std::to_string(static_cast<int>(vertex));
      ASSERT_TRUE(AsTheSolid(Compute(s), o)) << what;
      if (o.wedge && distance == on) ++wedges[vertex];
    }
    // A millionth of the wedge's size along plane 1's upper trace past the vertex, or short of the top.
    s.crackDistance = on;
    const Outcome o = Solve(s);
    if (!o.wedge) continue;
    s.crackDistance = on + (vertex == Vertex::Top ? -1e-6 : 1e-6) * o.size;
    const Outcome moved = Solve(s);
    ASSERT_TRUE(AsTheSolid(Compute(s), moved)) << Describe(s);
    if (vertex == Vertex::Top) {
      EXPECT_TRUE(moved.wedge && moved.crackCuts) << Describe(s);
    }
    s.crackDistance = on + (vertex == Vertex::Top ? 1e-6 : -1e-6) * o.size;
    const Outcome past = Solve(s);
    ASSERT_TRUE(AsTheSolid(Compute(s), past)) << Describe(s);
    if (vertex == Vertex::Top ? past.wedge && !past.crackCuts : !past.wedge) ++cleared[vertex];
  }
  for (Vertex v : {Vertex::Toe, Vertex::Crest2, Vertex::Top}) {
    EXPECT_GT(wedges[v], 100) << static_cast<int>(v);
    EXPECT_GT(cleared[v], 50) << static_cast<int>(v);
  }
}

TEST(Wedge, CrackAnglesAreNotUsedWithoutACrack) {
  for (double distance : {0.0, -5.0}) {
    Slope s = Wet();
    s.crackDistance = distance;
    const Result a = Compute(s);
    s.crackDip = std::nan(""), s.crackDir = 1e308;
    const Result b = Compute(s);
    EXPECT_EQ(a.factor, b.factor);
    EXPECT_EQ(a.volume, b.volume);
    EXPECT_EQ(a.mode, b.mode);
    EXPECT_EQ(a.factor, Compute(Wet()).factor);
  }
}

TEST(Wedge, PlaneAnglesComeBackInTheStoredRange) {
  ArgomentiCuneo a = Arguments(Slope());
  a.ComplInclinazione1 = 0.7;
  a.ComplImmersione1 = 4.5;
  a.ComplInclinazione2 = -0.1;
  a.ComplImmersione2 = 2 * kPi - 1e-3;
  Cuneo = ModuloCuneo();
  CalcolaCuneo(a);
  EXPECT_DOUBLE_EQ(a.ComplInclinazione1, 0.7);
  EXPECT_DOUBLE_EQ(a.ComplImmersione1, 4.5);
  EXPECT_DOUBLE_EQ(a.ComplInclinazione2, 2 * kPi - 0.1);
  EXPECT_DOUBLE_EQ(a.ComplImmersione2, 2 * kPi - 1e-3);
}

TEST(Wedge, NeverAValueThatIsNotFinite) {
  // Random and extreme input: the answer is -1, or a factor of safety from 0 to 99.99 with a finite volume.
  std::mt19937 rng(20240611);
  const double special[] = {0, 90, -90, 180, 360, 1e-300, 1e300, -1e300, std::nan(""), INFINITY, 45, 1};
  auto pick = [&](double lo, double hi) {
    if (rng() % 8 == 0) return special[rng() % std::size(special)];
    return std::uniform_real_distribution<double>(lo, hi)(rng);
  };
  int admissible = 0;
  for (int k = 0; k < 20000; ++k) {
    Slope s;
    s.dip1 = pick(0, 90), s.dir1 = pick(0, 360), s.dip2 = pick(0, 90), s.dir2 = pick(0, 360);
    s.faceDip = pick(30, 90), s.faceDir = pick(0, 360), s.upperDip = pick(0, 30), s.upperDir = pick(0, 360);
    s.crackDip = pick(0, 90), s.crackDir = pick(0, 360), s.crackDistance = k % 2 ? pick(0, 20) : 0;
    s.height = pick(0, 50), s.rockWeight = pick(0, 30), s.waterWeight = pick(0, 10);
    s.c1 = pick(0, 50), s.phi1 = pick(0, 45), s.c2 = pick(0, 50), s.phi2 = pick(0, 45);
    s.anchor = pick(0, 1000), s.anchorPlunge = pick(-90, 90), s.anchorTrend = pick(0, 360);
    s.load = pick(0, 1000), s.loadPlunge = pick(-90, 90), s.loadTrend = pick(0, 360);
    const double seismic = k % 3 == 0 ? 0 : pick(-0.5, 0.5);
    const Result r = Compute(s, seismic);
    if (r.factor == -1) {
      EXPECT_EQ(r.volume, 0);
      continue;
    }
    ++admissible;
    ASSERT_TRUE(std::isfinite(r.factor) && r.factor >= 0 && r.factor <= 99.99) << r.factor << " " << Describe(s);
    ASSERT_TRUE(std::isfinite(r.volume) && r.volume >= 0) << r.volume << " " << Describe(s);
    ASSERT_TRUE(r.mode == "00" || r.mode == "10" || r.mode == "01" || r.mode == "11");
  }
  EXPECT_GT(admissible, 1000);
}

TEST(Direction, PlungeAndTrendOfAVector) {
  double plunge = 7, trend = 7;
  ASSERT_TRUE(VersoreInDirezione(0, 1, 0, plunge, trend));
  EXPECT_DOUBLE_EQ(trend, kPi / 2);
  EXPECT_EQ(plunge, 0);
  ASSERT_TRUE(VersoreInDirezione(0, -1, 0, plunge, trend));
  EXPECT_DOUBLE_EQ(trend, 3 * kPi / 2);
  ASSERT_TRUE(VersoreInDirezione(-1, 0, 0, plunge, trend));
  EXPECT_DOUBLE_EQ(trend, kPi);
  ASSERT_TRUE(VersoreInDirezione(1, -1, -std::sqrt(2.0), plunge, trend));
  EXPECT_DOUBLE_EQ(trend, 7 * kPi / 4);
  EXPECT_DOUBLE_EQ(plunge, -kPi / 4);
  // A vertical vector has a plunge of a right angle; the zero vector has no direction.
  ASSERT_TRUE(VersoreInDirezione(0, 0, -2, plunge, trend));
  EXPECT_DOUBLE_EQ(plunge, -kPi / 2);
  ASSERT_TRUE(VersoreInDirezione(0, 0, 3, plunge, trend));
  EXPECT_DOUBLE_EQ(plunge, kPi / 2);
  EXPECT_FALSE(VersoreInDirezione(0, 0, 0, plunge, trend));
  EXPECT_FALSE(VersoreInDirezione(std::nan(""), 0, 1, plunge, trend));

  // Back and forth.
  for (double p = -1.5; p <= 1.5; p += 0.3) {
    for (double t = 0.05; t < 2 * kPi; t += 0.4) {
      double x, y, z, p2, t2;
      DirezioneInVersore(x, y, z, p, t);
      EXPECT_NEAR(x * x + y * y + z * z, 1, 1e-12);
      ASSERT_TRUE(VersoreInDirezione(3 * x, 3 * y, 3 * z, p2, t2));
      EXPECT_NEAR(p2, p, 1e-12);
      EXPECT_NEAR(t2, t, 1e-12);
      double x2, y2, z2;
      DirezioneInVersore2(x2, y2, z2, p, t);
      EXPECT_EQ(x2, x);
      EXPECT_EQ(y2, y);
      EXPECT_EQ(z2, z);
    }
  }
}

TEST(Seismic, SinglePlaneSlidingTakesTheLeastFavourableDirection) {
  // Wedges that slide on one plane, dry and wet, with and without loads: the factor of safety under the seismic
  // force is the smallest that a force of η·W gives in any direction, whatever planes it brings the wedge onto,
  // found by trying directions all round with the independent solution. The dip direction of the sliding plane
  // tilted by its friction angle (plunge 90° - ψ - φ) leaves it higher.
  const double eta = 0.15;
  const double k = kPi / 180;
  std::mt19937 rng(2150);
  auto any = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
  std::vector<Slope> wedges = {OnPlane1(), OnPlane2()};
  Slope anchored = OnPlane1();
  anchored.anchor = 800, anchored.anchorPlunge = 25, anchored.anchorTrend = 350, anchored.waterWeight = 10;
  wedges.push_back(anchored);
  while (wedges.size() < 60) {
    Slope s;
    s.dip1 = any(5, 89), s.dir1 = any(0, 360), s.dip2 = any(5, 89), s.dir2 = any(0, 360);
    s.faceDip = any(40, 89), s.faceDir = any(0, 360), s.upperDip = any(0, 30), s.upperDir = any(0, 360);
    s.height = any(5, 50), s.phi1 = any(10, 45), s.phi2 = any(10, 45);
    if (wedges.size() % 2) s.waterWeight = 10, s.c1 = any(0, 30), s.c2 = any(0, 30);
    if (wedges.size() % 3 == 0) s.load = any(0, 3000), s.loadPlunge = any(-30, 90), s.loadTrend = any(0, 360);
    const Outcome o = Solve(s);
    if (o.wedge && (o.mode == "10" || o.mode == "01") && o.factor < 5) wedges.push_back(s);
  }
  // And those of the random comparison with the solid, crack and anchor included.
  std::mt19937 same(kRandomSeed);
  for (int n = 0; wedges.size() < 160; ++n) {
    const Slope s = RandomSlope(same, n);
    const Outcome o = Solve(s);
    if (o.wedge && (o.mode == "10" || o.mode == "01") && o.factor < 5) wedges.push_back(s);
  }
  std::map<QString, int> modes;
  int higherAlongTheDip = 0, turnedSafe = 0, obtuse = 0, lifting = 0;
  for (const Slope& s : wedges) {
    const Outcome o = Solve(s);
    ASSERT_TRUE(o.mode == "10" || o.mode == "01");
    obtuse += o.inwardCosine < 0;
    lifting += o.waterOverWeight;
    const Result r = Compute(s, eta);
    const Vettore3 force = Cuneo.DirezioneSismica;
    const std::string what = Describe(s);
    const wedge_test::Worst worst = wedge_test::WorstDirection(s, eta * o.weight);
    EXPECT_NEAR(r.factor, worst.factor, 1e-7) << what;
    EXPECT_EQ(r.mode, worst.mode) << what;
    ExpectClose(r.volume, o.volume, what);
    ++modes[r.mode];
    // The force applied is η·W along the direction found, and the solid gives the same result under it.
    ExpectClose(std::sqrt(force[0] * force[0] + force[1] * force[1] + force[2] * force[2]), eta * o.weight, what);
    ExpectClose(Solve(s, force).factor, r.factor, what);

    const bool first = o.mode == "10";
    const double psi = (first ? s.dip1 : s.dip2) * k, alpha = (first ? s.dir1 : s.dir2) * k;
    const double phi = (first ? s.phi1 : s.phi2) * k;
    const double size = eta * o.weight;
    const double alongTheDip =
        Solve(s, {size * std::sin(psi + phi) * std::sin(alpha), size * std::sin(psi + phi) * std::cos(alpha),
                  -size * std::cos(psi + phi)})
            .factor;
    EXPECT_GE(alongTheDip, r.factor - 1e-9) << what;
    if (alongTheDip > r.factor + 0.01) ++higherAlongTheDip;
    if (alongTheDip >= 1 && r.factor < 1) ++turnedSafe;
  }
  EXPECT_GT(higherAlongTheDip, 40);
  EXPECT_GT(turnedSafe, 0);
  EXPECT_GT(modes["10"], 10);
  EXPECT_GT(modes["01"], 10);
  EXPECT_GT(modes["00"], 0);  // a force that takes the wedge off both planes
  EXPECT_GT(obtuse, 10);
  EXPECT_GT(lifting, 10);

  // A flat wet wedge sliding on plane 1: the least favourable force brings it onto both planes (1.47), where the
  // least favourable force for sliding on plane 1 alone would leave 1.85.
  Slope flat;
  flat.faceDip = 79, flat.faceDir = 111, flat.upperDip = 1, flat.upperDir = 71, flat.height = 45;
  flat.waterWeight = 9.81;
  flat.dip1 = 11, flat.dir1 = 113, flat.phi1 = 45, flat.c1 = 5;
  flat.dip2 = 22, flat.dir2 = 61, flat.phi2 = 15, flat.c2 = 5;
  const Outcome o = Solve(flat);
  ASSERT_EQ(o.mode, "10");
  const Result r = Compute(flat, 0.2);
  const wedge_test::Worst worst = wedge_test::WorstDirection(flat, 0.2 * o.weight);
  EXPECT_EQ(r.mode, "11");
  EXPECT_EQ(worst.mode, "11");
  EXPECT_NEAR(r.factor, worst.factor, 1e-7);
  EXPECT_NEAR(r.factor, 1.468, 0.001);
}

TEST(Seismic, TurningTheWholeSlopeAboutTheVerticalChangesNothing) {
  Slope anchored = OnPlane1();
  anchored.anchor = 800, anchored.anchorPlunge = 25, anchored.anchorTrend = 350;
  Slope loaded = OnPlane2();
  loaded.load = 600, loaded.loadPlunge = 45, loaded.loadTrend = 120, loaded.waterWeight = 10;
  Slope other;
  other.dip1 = 40, other.dir1 = 130, other.dip2 = 55, other.dir2 = 250, other.c1 = 10, other.phi2 = 35;
  for (const Slope& s : {Slope(), Wet(), CrackWaterAnchorLoad(), OnPlane1(), anchored, loaded, other}) {
    for (double eta : {0.0, 0.1, 0.35, -0.2}) {
      const Result r = Compute(s, eta);
      ASSERT_NE(r.factor, -1) << Describe(s);
      for (double turn : {90.0, 37.0, 181.5, -75.0, 300.0}) {
        const Result t = Compute(s.Turned(turn), eta);
        const std::string what = Describe(s) + " turned " + std::to_string(turn) + " eta " + std::to_string(eta);
        EXPECT_EQ(t.mode, r.mode) << what;
        ExpectClose(t.factor, r.factor, what);
        ExpectClose(t.volume, r.volume, what);
      }
    }
  }
  // Both-plane sliding is among them, with and without the seismic force.
  EXPECT_EQ(Compute(CrackWaterAnchorLoad(), 0.1).mode, "11");
  EXPECT_EQ(Compute(other, 0.1).mode, "11");
}

TEST(Seismic, EveryComputationStartsFromTheSameDirection) {
  for (const Slope& s : {Slope(), CrackWaterAnchorLoad(), OnPlane1()}) {
    const Result fresh = Compute(s, 0.15);
    for (const Vettore3& left : {Vettore3{1, 2, 3}, Vettore3{0.3, -0.8, -0.1}, Vettore3{0, 0, 0}}) {
      Cuneo = ModuloCuneo();
      Cuneo.CoefficienteSismico = 0.15;
      Cuneo.DistanzaFrattura = s.crackDistance;
      Cuneo.DirezioneSismica = left;
      ArgomentiCuneo a = Arguments(s);
      CalcolaCuneoEsteso(a);
      EXPECT_EQ(a.FattoreSicurezza, fresh.factor);
      EXPECT_EQ(a.VolumeCuneo, fresh.volume);
      EXPECT_EQ(a.ModoScivolamento, fresh.mode);
    }
  }
}

TEST(Seismic, LoadsAreGivenBack) {
  Slope s = CrackWaterAnchorLoad();
  Cuneo = ModuloCuneo();
  Cuneo.DistanzaFrattura = s.crackDistance;
  Cuneo.CoefficienteSismico = 0.2;
  ArgomentiCuneo a = Arguments(s);
  CalcolaCuneoEsteso(a);
  EXPECT_EQ(a.CaricoEsterno, s.load);
  EXPECT_EQ(a.InclinazioneCarico, s.loadPlunge);
  EXPECT_EQ(a.DirezioneCarico, s.loadTrend);
  // A seismic force lowers the factor of safety of this wedge.
  EXPECT_LT(a.FattoreSicurezza, Compute(s).factor);
}
