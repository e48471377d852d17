#include "tests/wedge/geometria_cuneo.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace wedge_test {

namespace {

using V = std::array<double, 3>;

const double kRad = M_PI / 180.0;

V operator+(const V& a, const V& b) { return {a[0] + b[0], a[1] + b[1], a[2] + b[2]}; }
V operator-(const V& a, const V& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
V operator*(double s, const V& a) { return {s * a[0], s * a[1], s * a[2]}; }
double Dot(const V& a, const V& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
V Cross(const V& a, const V& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
double Norm(const V& a) { return std::sqrt(Dot(a, a)); }

// Upward normal of a plane (x east, y north, z up).
V PlaneNormal(double dip, double dipDirection) {
  const double d = dip * kRad, a = dipDirection * kRad;
  return {std::sin(d) * std::sin(a), std::sin(d) * std::cos(a), std::cos(d)};
}

// Direction of a force; the plunge is positive downwards.
V ForceDirection(double plunge, double trend) {
  const double p = plunge * kRad, t = trend * kRad;
  return {std::cos(p) * std::sin(t), std::cos(p) * std::cos(t), -std::sin(p)};
}

// The point common to three planes n·x = c; not a number where the planes meet in parallel lines, their normals
// lying in one plane to within rounding.
V Meet(const V& n1, double c1, const V& n2, double c2, const V& n3, double c3) {
  const double det = Dot(n1, Cross(n2, n3));
  if (!(std::fabs(det) > 1e-9 * Norm(n1) * Norm(n2) * Norm(n3))) return {NAN, NAN, NAN};
  return (1.0 / det) * (c1 * Cross(n2, n3) + c2 * Cross(n3, n1) + c3 * Cross(n1, n2));
}

double Tetrahedron(const V& a, const V& b, const V& c, const V& d) {
  return std::fabs(Dot(b - a, Cross(c - a, d - a))) / 6.0;
}

double Triangle(const V& a, const V& b, const V& c) { return Norm(Cross(b - a, c - a)) / 2.0; }

double Sign(double x) { return x < 0 ? -1.0 : 1.0; }

// A half-space n·x <= c, n a unit vector.
struct Half {
  V n;
  double c;
};

// A convex solid: its vertices, the area of its face on each half-space and its volume.
struct Solid {
  bool bounded = false;
  std::vector<V> vertices;
  std::vector<double> areas;  // of the face on each half-space, in their order (0 where it touches in a line)
  double volume = 0;
};

// The solid common to the half-spaces, built from its vertices: every point where three of the planes meet that
// lies in all of them. Unbounded when a direction goes out of it without leaving any half-space (such a direction
// of a solid of three or more planes lies along the line where two of them meet). Sizes are compared with `scale`.
Solid Clip(const std::vector<Half>& halves, double scale) {
  Solid out;
  const std::size_t k = halves.size();
  const double eps = 1e-9;
  for (std::size_t i = 0; i < k; ++i)
    for (std::size_t j = i + 1; j < k; ++j) {
      const V r = Cross(halves[i].n, halves[j].n);
      if (!(Norm(r) > eps)) continue;
      for (double sign : {-1.0, 1.0}) {
        bool inside = true;
        for (const Half& h : halves) inside = inside && Dot(h.n, sign * r) <= eps * Norm(r);
        if (inside) return out;
      }
    }
  out.bounded = true;
  auto contains = [&](const V& x) {
    for (const Half& h : halves)
      if (Dot(h.n, x) - h.c > eps * scale) return false;
    return true;
  };
  for (std::size_t i = 0; i < k; ++i)
    for (std::size_t j = i + 1; j < k; ++j)
      for (std::size_t l = j + 1; l < k; ++l) {
        const V x = Meet(halves[i].n, halves[i].c, halves[j].n, halves[j].c, halves[l].n, halves[l].c);
        if (std::isnan(x[0]) || !contains(x)) continue;
        bool known = false;
        for (const V& y : out.vertices) known = known || Norm(x - y) <= eps * scale;
        if (!known) out.vertices.push_back(x);
      }
  if (out.vertices.size() < 4) return out;
  V inner{0, 0, 0};
  for (const V& x : out.vertices) inner = inner + (1.0 / static_cast<double>(out.vertices.size())) * x;
  for (const Half& h : halves) {
    // The vertices on the plane, in turn about their centre, make the face.
    std::vector<V> face;
    for (const V& x : out.vertices)
      if (std::fabs(Dot(h.n, x) - h.c) <= eps * scale) face.push_back(x);
    double area = 0;
    if (face.size() >= 3) {
      V centre{0, 0, 0};
      for (const V& x : face) centre = centre + (1.0 / static_cast<double>(face.size())) * x;
      V e1 = face[0] - centre;
      e1 = (1.0 / Norm(e1)) * e1;
      const V e2 = Cross(h.n, e1);
      auto turn = [&](const V& x) { return std::atan2(Dot(x - centre, e2), Dot(x - centre, e1)); };
      std::sort(face.begin(), face.end(), [&](const V& x, const V& y) { return turn(x) < turn(y); });
      for (std::size_t i = 0; i < face.size(); ++i) area += Triangle(centre, face[i], face[(i + 1) % face.size()]);
    }
    out.areas.push_back(area);
    out.volume += area * (h.c - Dot(h.n, inner)) / 3.0;
  }
  return out;
}

}  // namespace

Slope Slope::Turned(double degrees) const {
  Slope t = *this;
  t.dir1 += degrees;
  t.dir2 += degrees;
  t.faceDir += degrees;
  t.upperDir += degrees;
  t.crackDir += degrees;
  t.anchorTrend += degrees;
  t.loadTrend += degrees;
  return t;
}

Outcome Solve(const Slope& s) { return Solve(s, {0, 0, 0}); }

Outcome Solve(const Slope& s, const std::array<double, 3>& extra) {
  Outcome out;
  const V a = PlaneNormal(s.dip1, s.dir1), b = PlaneNormal(s.dip2, s.dir2);
  const V f = PlaneNormal(s.faceDip, s.faceDir), d = PlaneNormal(s.upperDip, s.upperDir);

  // The toe O is the origin: planes 1 and 2 and the face pass through it. The crest point C1 lies on the trace of
  // plane 1 on the face at the height of the slope; the upper surface passes through it.
  const V O{0, 0, 0};
  V trace1 = Cross(f, a);
  if (trace1[2] < 0) trace1 = -1.0 * trace1;
  // A horizontal trace never reaches the crest.
  if (!(trace1[2] > 1e-9 * Norm(trace1))) return out;
  const V C1 = (s.height / trace1[2]) * trace1;
  const double upper = Dot(d, C1);
  const V C2 = Meet(f, 0, b, 0, d, upper);  // face, plane 2, upper surface
  V line = Cross(b, a);                     // the line of intersection, rising from the toe
  if (line[2] < 0) line = -1.0 * line;

  // A regular slope: the trace of plane 2 on the face rises from the toe.
  out.regular = C2[2] > 0;
  // The toe must lie under the upper surface, and the line of intersection rise from it into the rock behind the
  // face.
  out.toeUnderUpper = upper > 0;
  if (!out.toeUnderUpper || !(line[2] > 1e-9 * Norm(line)) || !(Dot(f, line) < 0) || std::isnan(C2[2])) return out;

  // Normals of the two planes pointing into the wedge.
  const V aIn = Sign(Dot(a, C2)) * a;
  const V bIn = Sign(Dot(b, C1)) * b;

  double volume = 0, A1 = 0, A2 = 0, u = 0;
  V crackForce{0, 0, 0};
  // The top of the line of intersection, where it rises to the upper surface; without one the wedge is unbounded
  // unless a crack closes it.
  const V C3 = Meet(a, 0, b, 0, d, upper);
  const bool top = !std::isnan(C3[0]) && Dot(C3, line) > 0;
  bool cut = false;
  if (s.crackDistance > 0) {
    // The crack passes through the point of plane 1's trace on the upper surface at the given distance from the
    // crest, into the slope. Its front is the side of the crest. A crack with the toe or the other crest point
    // behind it is not admissible; one with the whole wedge, top included, in front of it does not touch the
    // wedge. Otherwise the wedge is the solid in front of it, behind the face, under the upper surface and on the
    // wedge's side of both planes, which must be bounded. A vertex within a billionth of the size of the face's
    // vertices and the crack's distance counts as on the crack.
    V trace = Cross(a, d);
    if (Dot(f, trace) > 0) trace = -1.0 * trace;
    const V C1c = C1 + (s.crackDistance / Norm(trace)) * trace;
    V f5 = PlaneNormal(s.crackDip, s.crackDir);
    if (Dot(f5, C1 - C1c) < 0) f5 = -1.0 * f5;
    const double crack = Dot(f5, C1c);
    const double size = std::max({s.height, Norm(C1), Norm(C2), s.crackDistance});
    const double near = 1e-9 * size;
    if (Dot(f5, O) - crack < -near || Dot(f5, C2) - crack < -near) return out;
    cut = !top || Dot(f5, C3) - crack <= near;
    if (cut) {
      const Solid solid = Clip({{f, 0}, {d, upper}, {-1.0 * aIn, 0}, {-1.0 * bIn, 0}, {-1.0 * f5, -crack}}, size);
      if (!solid.bounded) return out;
      volume = solid.volume;
      A1 = solid.areas[2];
      A2 = solid.areas[3];
      const double A5 = solid.areas[4];
      // Water fills the crack: the pressure at its bottom is that of the depth of O5, where the crack meets the
      // line of intersection, under the upper surface (none where the top, on the crack, lies just in front of it).
      const V O5 = Meet(a, 0, b, 0, f5, crack);
      const double surface = (upper - d[0] * O5[0] - d[1] * O5[1]) / d[2];
      u = s.waterWeight * std::max(0.0, surface - O5[2]) / 3.0;
      crackForce = (u * A5) * f5;
    }
  }
  if (!cut) {
    if (!top) return out;
    volume = Tetrahedron(O, C1, C2, C3);
    A1 = Triangle(O, C1, C3), A2 = Triangle(O, C2, C3);
    u = s.waterWeight * C3[2] / 6.0;  // water pressure, a third of its largest value at mid-height
  }
  out.wedge = true;
  out.size = std::max({Norm(C1), Norm(C2), top ? Norm(C3) : 0.0, s.crackDistance});
  out.top = top;
  out.upperSine = Dot(d, line) / Norm(line);
  out.crackCuts = cut;
  out.linePlunge = std::asin(line[2] / Norm(line)) / kRad;
  out.lineTrend = std::atan2(line[0], line[1]) / kRad;
  out.volume = volume;
  out.weight = s.rockWeight * volume;
  out.inwardNormalsUp = Dot(aIn, a) > 0 && Dot(bIn, b) > 0;
  out.inwardCosine = Dot(aIn, bIn);
  out.waterOverWeight = u * A1 > out.weight * aIn[2] || u * A2 > out.weight * bIn[2];

  // Every active force: weight, anchor, external load, water on the planes and in the crack.
  const V P = V{0, 0, -out.weight} + s.anchor * ForceDirection(s.anchorPlunge, s.anchorTrend) +
              s.load * ForceDirection(s.loadPlunge, s.loadTrend) + (u * A1) * aIn + (u * A2) * bIn + crackForce +
              extra;

  // The contact state is the one in which the forces can hold the wedge: with contact on both planes both
  // effective normal reactions press (N1 aIn + N2 bIn balances P across the line); on one plane alone the wedge
  // presses onto it and its motion, along the part of P on that plane, leaves the other plane; with no contact P
  // moves the wedge away from both planes. Exactly one state holds.
  const double r = Dot(aIn, bIn);
  const double Fa = -Dot(P, aIn), Fb = -Dot(P, bIn);
  const double N1 = (Fa - r * Fb) / (1 - r * r);
  const double N2 = (Fb - r * Fa) / (1 - r * r);
  const double t1 = std::tan(s.phi1 * kRad), t2 = std::tan(s.phi2 * kRad);
  const V along1 = P - Dot(P, aIn) * aIn, along2 = P - Dot(P, bIn) * bIn;
  const bool both = N1 >= 0 && N2 >= 0;
  const bool on1 = Fa > 0 && Dot(along1, bIn) > 0;
  const bool on2 = Fb > 0 && Dot(along2, aIn) > 0;
  const bool free = Dot(P, aIn) >= 0 && Dot(P, bIn) >= 0;
  if (both + on1 + on2 + free != 1) {
    out.mode = "?";
    return out;
  }

  double resisting, driving;
  if (free) {
    resisting = 0, driving = 1;
    out.mode = "00";
  } else if (on1) {
    resisting = Fa * t1 + s.c1 * A1, driving = Norm(along1);
    out.mode = "10";
  } else if (on2) {
    resisting = Fb * t2 + s.c2 * A2, driving = Norm(along2);
    out.mode = "01";
  } else {
    const V down = (-1.0 / Norm(line)) * line;
    resisting = N1 * t1 + N2 * t2 + s.c1 * A1 + s.c2 * A2, driving = Dot(P, down);
    out.mode = "11";
  }
  // A negative resisting force is no safety at all.
  out.quotient = resisting / driving;
  out.factor = resisting < 0 ? 0 : std::min(std::fabs(out.quotient), 99.99);
  return out;
}

Worst WorstDirection(const Slope& s, double size) {
  // Every direction on a grid of plunges and trends, then a finer grid about the best one, again and again.
  Worst best;
  auto tryDirection = [&](double plunge, double trend) {
    const V k = ForceDirection(plunge, trend);
    const Outcome o = Solve(s, size * k);
    if (o.wedge && o.mode != "?" && o.factor < best.factor) best = {o.factor, plunge, trend, k, o.mode};
  };
  const double coarse = 2;
  for (double plunge = -90; plunge <= 90; plunge += coarse)
    for (double trend = 0; trend < 360; trend += coarse) tryDirection(plunge, trend);
  for (double step = coarse / 2; step > 1e-9; step /= 2) {
    const double p0 = best.plunge, t0 = best.trend;
    for (int i = -2; i <= 2; ++i)
      for (int j = -2; j <= 2; ++j) tryDirection(p0 + i * step, t0 + j * step);
  }
  return best;
}

double CrackThrough(const Slope& s, Vertex vertex) {
  const V a = PlaneNormal(s.dip1, s.dir1), b = PlaneNormal(s.dip2, s.dir2);
  const V f = PlaneNormal(s.faceDip, s.faceDir), d = PlaneNormal(s.upperDip, s.upperDir);
  V trace1 = Cross(f, a);
  if (trace1[2] < 0) trace1 = -1.0 * trace1;
  const V C1 = (s.height / trace1[2]) * trace1;
  const double upper = Dot(d, C1);
  const V target = vertex == Vertex::Toe      ? V{0, 0, 0}
                   : vertex == Vertex::Crest2 ? Meet(f, 0, b, 0, d, upper)
                                              : Meet(a, 0, b, 0, d, upper);
  V trace = Cross(a, d);
  if (Dot(f, trace) > 0) trace = -1.0 * trace;
  trace = (1.0 / Norm(trace)) * trace;
  const V f5 = PlaneNormal(s.crackDip, s.crackDir);
  // The crack through C1 + L·trace holds the target: f5·(C1 + L·trace) = f5·target.
  return Dot(f5, target - C1) / Dot(f5, trace);
}

std::array<double, 2> HoldingUpperTrace(double dip, double dipDirection, double upperDip, double upperDir,
                                        double turn) {
  const V d = PlaneNormal(upperDip, upperDir);
  V trace = Cross(PlaneNormal(dip, dipDirection), d);
  trace = (1.0 / Norm(trace)) * trace;
  // The normal turns from d about the trace, which it stays perpendicular to.
  V n = std::cos(turn * kRad) * d + std::sin(turn * kRad) * Cross(trace, d);
  if (n[2] < 0) n = -1.0 * n;
  return {std::acos(std::clamp(n[2], -1.0, 1.0)) / kRad, std::fmod(std::atan2(n[0], n[1]) / kRad + 360, 360)};
}

ArgomentiCuneo Arguments(const Slope& s) {
  ArgomentiCuneo a;
  a.ComplInclinazione1 = M_PI / 2 - s.dip1 * kRad;
  a.ComplImmersione1 = M_PI / 2 - s.dir1 * kRad;
  a.ComplInclinazione2 = M_PI / 2 - s.dip2 * kRad;
  a.ComplImmersione2 = M_PI / 2 - s.dir2 * kRad;
  a.InclinazioneSuperiore = s.upperDip;
  a.ImmersioneSuperiore = s.upperDir;
  a.InclinazioneFronte = s.faceDip;
  a.ImmersioneFronte = s.faceDir;
  a.InclinazioneFrattura = s.crackDip;
  a.ImmersioneFrattura = s.crackDir;
  a.AltezzaFronte = s.height;
  a.PesoRoccia = s.rockWeight;
  a.Coesione1 = s.c1;
  a.Attrito1 = s.phi1;
  a.Coesione2 = s.c2;
  a.Attrito2 = s.phi2;
  a.PesoAcqua = s.waterWeight;
  a.CaricoEsterno = s.load;
  a.InclinazioneCarico = s.loadPlunge;
  a.DirezioneCarico = s.loadTrend;
  a.ForzaAncoraggio = s.anchor;
  a.InclinazioneAncoraggio = s.anchorPlunge;
  a.DirezioneAncoraggio = s.anchorTrend;
  return a;
}

}  // namespace wedge_test
