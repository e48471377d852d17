#include "wedge/cuneo.h"

#include "common/geometria/orientamento.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <optional>
#include <vector>

ModuloCuneo Cuneo;

namespace {

const double kPi = 4.0 * std::atan(1.0);
const double kGradi = std::atan(1.0) / 45.0;  // degrees to radians

// An angle brought into radians that comes out negative gets one turn added.
double Positivo(double angolo) { return angolo < 0 ? angolo + 2.0 * kPi : angolo; }

// Upward normal of a plane with dip ψ and dip direction α.
Vettore3 Normale(double psi, double alfa) {
  return {std::sin(psi) * std::sin(alfa), std::sin(psi) * std::cos(alfa), std::cos(psi)};
}

// Direction of a force with plunge p (positive downwards) and trend t.
Vettore3 DirezioneForza(double p, double t) {
  return {std::cos(p) * std::sin(t), std::cos(p) * std::cos(t), -std::sin(p)};
}

// A unit vector of two angles kept from the call before while its angles stay the same (bit for bit, so that the
// result is the very one computed afresh): the face, the upper slope, the crack, the anchor and the load stay the
// same through a whole run, plane 1 through the inner loop of the pairs.
class VersoreRicordato {
 public:
  explicit VersoreRicordato(Vettore3 (*calcola)(double, double)) : calcola_(calcola) {}
  const Vettore3& operator()(double a, double b) {
    const auto ba = std::bit_cast<std::uint64_t>(a), bb = std::bit_cast<std::uint64_t>(b);
    if (!valido_ || ba != a_ || bb != b_) {
      v_ = calcola_(a, b);
      a_ = ba;
      b_ = bb;
      valido_ = true;
    }
    return v_;
  }

 private:
  Vettore3 (*calcola_)(double, double);
  std::uint64_t a_ = 0, b_ = 0;
  bool valido_ = false;
  Vettore3 v_{};
};

// The tests of degenerate geometry compare a value with the sizes of the vectors it is made of. Where the exact
// value is 0, rounding leaves about 1e-17 of those sizes: below kTolleranzaArrotondamento the value counts as 0.
// Where two planes share a strike the value is 0 as well, but the orientations of the families carry the rounding
// of the clustering result (see kTolleranzaOrientazioni): in the tests of a shared strike a value below
// kTolleranzaOrientazioni counts as 0.
constexpr double kTolleranzaArrotondamento = 1e-12;

// True when `valore` is 0 to within `tolleranza` times `scala`.
bool Nullo(double valore, double scala, double tolleranza = kTolleranzaArrotondamento) {
  return !(std::fabs(valore) > tolleranza * scala);
}

Vettore3 Vettoriale(const Vettore3& u, const Vettore3& v) {
  return {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
}

double Scalare(const Vettore3& u, const Vettore3& v) { return u[0] * v[0] + u[1] * v[1] + u[2] * v[2]; }

double Modulo(const Vettore3& u) { return std::sqrt(Scalare(u, u)); }

Vettore3 Per(double s, const Vettore3& u) { return {s * u[0], s * u[1], s * u[2]}; }

Vettore3 Somma(const Vettore3& u, const Vettore3& v) { return {u[0] + v[0], u[1] + v[1], u[2] + v[2]}; }

bool Finito(const Vettore3& u) { return std::isfinite(u[0]) && std::isfinite(u[1]) && std::isfinite(u[2]); }

// Guarded arithmetic: a division by zero, the square root of a negative number or any result that is not finite
// clears `ok`, and the wedge then counts as not admissible.
struct Conti {
  bool ok = true;

  double Diviso(double numeratore, double denominatore) {
    if (denominatore == 0.0 || !std::isfinite(numeratore) || !std::isfinite(denominatore)) {
      ok = false;
      return 0.0;
    }
    const double q = numeratore / denominatore;
    if (!std::isfinite(q)) ok = false;
    return ok ? q : 0.0;
  }

  double Radice(double x) {
    if (!(x >= 0.0) || !std::isfinite(x)) {
      ok = false;
      return 0.0;
    }
    return std::sqrt(x);
  }

  void Verifica(std::initializer_list<double> valori) {
    for (double v : valori)
      if (!std::isfinite(v)) ok = false;
  }
};

struct Risultato {
  double fattore = -1;
  double volume = 0;
  QString modo;
  bool modoImpostato = false;
  // Sliding on one plane: the normal of that plane pointing into the wedge, the shear force the plane must take
  // (the tangential part of the applied forces, reversed), the resisting force (friction on the effective normal
  // force and cohesion) and the tangent of the friction angle. The factor of safety is resistenza / |taglio|.
  Vettore3 normale{0, 0, 0};
  Vettore3 taglio{0, 0, 0};
  double resistenza = 0;
  double attrito = 0;
  // Every applied force (weight, anchor, external load, water on the planes along their normals into the wedge
  // and in the crack), the normals of the two planes pointing into the wedge, the tangents of their friction
  // angles and their cohesion times their area.
  Vettore3 forza{0, 0, 0};
  Vettore3 interna1{0, 0, 0}, interna2{0, 0, 0};
  double attrito1 = 0, attrito2 = 0;
  double coesione1 = 0, coesione2 = 0;
};

// The planes the wedge keeps contact with.
enum class Contatto { Nessuno, Piano1, Piano2, Entrambi };

// The contact state that the forces allow. N1 and N2 are the effective normal reactions with contact on both
// planes, P1 and P2 the effective normal force on plane 1 (2) with the wedge held on that plane alone. The wedge
// slides on both planes when neither reaction pulls; on plane 1 alone when plane 2's reaction would pull (the
// wedge moves away from plane 2) and the wedge presses onto plane 1; it leaves both planes when it presses onto
// neither of the planes it could slide on. When the two normals into the wedge meet at an obtuse angle both
// reactions may pull while the wedge still presses onto one plane.
Contatto StatoContatto(double N1, double N2, double P1, double P2) {
  if (N1 < 0 && N2 < 0) return P1 > 0 ? Contatto::Piano1 : P2 > 0 ? Contatto::Piano2 : Contatto::Nessuno;
  if (N1 > 0 && N2 < 0) return P1 > 0 ? Contatto::Piano1 : Contatto::Nessuno;
  if (N1 < 0 && N2 > 0) return P2 > 0 ? Contatto::Piano2 : Contatto::Nessuno;
  return Contatto::Entrambi;
}

double Triplo(const Vettore3& u, const Vettore3& v, const Vettore3& w) { return Scalare(u, Vettoriale(v, w)); }

// The wedge that stays in front of a tension crack, measured on its vertices: the toe O (the origin), the crest
// points C1 and C2 of the two planes' traces on the face, and where the crack meets the three edges that rise from
// them into the slope: the line of intersection (O5), plane 1's upper trace (C1c) and plane 2's (C2c).
struct TaglioFrattura {
  double volume = 0;
  double A1 = 0, A2 = 0, A5 = 0;  // the faces on plane 1, plane 2 and the crack
  double sottoSuperiore = 0;      // d·(C1 - O5): the distance of O5 under the upper surface along its normal
};

// How a tension crack meets the wedge: it leaves it as it is (the whole wedge in front of it), it cuts it (the
// toe and both crest points in front of it, the wedge's top, where there is one, behind it), or it is not
// admissible (the toe or a crest point behind it, or a wedge without a top that it does not close).
enum class Frattura { NonAmmessa, Oltre, Taglia };

// The side tests count a vertex within kTolleranzaVertici of the wedge's size as on the crack.
constexpr double kTolleranzaVertici = 1e-9;

// How the crack meets the wedge, with the wedge's measures where the wedge has no top (`cima` false): its line of
// intersection runs along or under the upper surface and never meets it. The vectors are the unit normals of
// plane 1 (a), plane 2 (b), the upper surface (d), the face (f) and the crack (f5, turned to the crest:
// f5·traccia1 <= 0), and plane 1's upper trace pointing into the slope; n = b·(f × d).
Frattura Taglia(const Vettore3& a, const Vettore3& b, const Vettore3& d, const Vettore3& f, const Vettore3& f5,
                const Vettore3& traccia1, double H, double L, double n, bool cima, TaglioFrattura& taglio) {
  Conti c;
  // C1 lies at the height H on plane 1's trace on the face, f × a; the upper surface is d·x = U through it. C2
  // lies on plane 2's trace, f × b, whose component along d is -n.
  const Vettore3 g = Vettoriale(f, a);
  const Vettore3 C1 = Per(c.Diviso(H, g[2]), g);
  const double U = Scalare(d, C1);
  const Vettore3 C2 = Per(c.Diviso(-U, n), Vettoriale(f, b));
  // The crack passes through the point of plane 1's upper trace at the distance L from the crest: f5·x = c5.
  const Vettore3 dir1 = Per(c.Diviso(1.0, Modulo(traccia1)), traccia1);
  const Vettore3 C1c = Somma(C1, Per(L, dir1));
  const double c5 = Scalare(f5, C1c);
  // The other two edges, rising into the slope: the line of intersection from the toe, plane 2's upper trace
  // from C2 (b × d has the component -n along f).
  Vettore3 linea = Vettoriale(b, a);
  if (linea[2] < 0) linea = Per(-1.0, linea);
  const Vettore3 dir2 = Per(n > 0 ? 1.0 : -1.0, Vettoriale(b, d));
  if (!c.ok || !Finito(C1) || !Finito(C2) || !Finito(C1c) || !std::isfinite(c5)) return Frattura::NonAmmessa;

  // The distance of a vertex from the crack, f5·x - c5, is positive on its front, where C1 lies. The top of the
  // line of intersection, where it rises to the upper surface (s = d·linea > 0), is (U/s)·linea; it lies on plane
  // 1's upper trace, as C1c does. The wedge's size is that of the vertices on the face and of the crack's distance
  // along that trace: the top, far away where the line rises slowly, does not widen the tolerance.
  const double f5Linea = Scalare(f5, linea), salita = Scalare(d, linea);
  const double latoPiede = -c5, lato2 = Scalare(f5, C2) - c5;
  const double tolleranza = kTolleranzaVertici * std::max({Modulo(C1), Modulo(C2), L});
  double latoCima = -INFINITY;
  if (salita > 0) {
    latoCima = (U * f5Linea - c5 * salita) / salita;
    if (!std::isfinite(latoCima)) return Frattura::NonAmmessa;
  }
  if (!(latoPiede >= -tolleranza) || !(lato2 >= -tolleranza)) return Frattura::NonAmmessa;
  if (latoCima > tolleranza) return Frattura::Oltre;
  if (cima) return Frattura::Taglia;

  // Without a top, each edge must run into the crack as it rises: the crack closes the wedge by itself.
  const double f5Dir1 = Scalare(f5, dir1), f5Dir2 = Scalare(f5, dir2);
  auto taglia = [](double f5Spigolo, double spigolo) {
    return f5Spigolo < 0 && !Nullo(f5Spigolo, spigolo, kTolleranzaOrientazioni);
  };
  if (!taglia(f5Linea, Modulo(linea)) || !taglia(f5Dir1, 1) || !taglia(f5Dir2, Modulo(dir2)))
    return Frattura::NonAmmessa;
  const Vettore3 O5 = Per(c.Diviso(c5, f5Linea), linea);
  const Vettore3 C2c = Somma(C2, Per(c.Diviso(-lato2, f5Dir2), dir2));
  // The solid is convex with a vertex at the toe: its volume is that of the pyramids from the toe over the faces
  // that do not pass through it, the upper surface (C1 C2 C2c C1c) and the crack (O5 C1c C2c).
  taglio.volume =
      (std::fabs(Triplo(C1, C2, C2c)) + std::fabs(Triplo(C1, C2c, C1c)) + std::fabs(Triplo(O5, C1c, C2c))) / 6.0;
  taglio.A1 = (Modulo(Vettoriale(C1, C1c)) + Modulo(Vettoriale(C1c, O5))) / 2.0;
  taglio.A2 = (Modulo(Vettoriale(C2, C2c)) + Modulo(Vettoriale(C2c, O5))) / 2.0;
  taglio.A5 = Modulo(Vettoriale(Somma(C1c, Per(-1.0, O5)), Somma(C2c, Per(-1.0, O5)))) / 2.0;
  taglio.sottoSuperiore = U - Scalare(d, O5);
  c.Verifica({taglio.volume, taglio.A1, taglio.A2, taglio.A5, taglio.sottoSuperiore});
  return c.ok ? Frattura::Taglia : Frattura::NonAmmessa;
}

// Steps 2 to 11 of the solution. Returns false when no admissible wedge is formed or the geometry is degenerate;
// `esito.modo` is then meaningful only when `esito.modoImpostato` is set.
bool Risolvi(double psi1, double alfa1, double psi2, double alfa2, double psi3, double alfa3, double psi4,
             double alfa4, double psi5, double alfa5, double pT, double tT, double pE, double tE, double phi1,
             double phi2, const ArgomentiCuneo& a, Risultato& esito) {
  Conti c;
  const double L = Cuneo.DistanzaFrattura;
  const bool frattura = L > 0;
  const double H = a.AltezzaFronte;
  const double gamma = a.PesoRoccia;
  const double gammaW = a.PesoAcqua;
  const double T = a.ForzaAncoraggio;
  const double E = a.CaricoEsterno;
  const double c1 = a.Coesione1;
  const double c2 = a.Coesione2;
  c.Verifica({H, gamma, gammaW, T, E, c1, c2, L, phi1, phi2, pT, tT, pE, tE});
  if (!c.ok) return false;

  // Unit vectors of the planes and the forces.
  static thread_local VersoreRicordato piano1(Normale), superiore(Normale), fronte(Normale), crepa(Normale),
      ancoraggio(DirezioneForza), carico(DirezioneForza);
  const Vettore3 va = piano1(psi1, alfa1);
  const Vettore3 vb = Normale(psi2, alfa2);
  const Vettore3 vd = superiore(psi3, alfa3);
  const Vettore3 vf = fronte(psi4, alfa4);
  Vettore3 vf5 = frattura ? crepa(psi5, alfa5) : Vettore3{0, 0, 0};
  const Vettore3 vt = ancoraggio(pT, tT);
  const Vettore3 ve = carico(pE, tE);

  // Lines of intersection.
  const Vettore3 vg = Vettoriale(vf, va);    // face and plane 1
  const Vettore3 vi = Vettoriale(vb, va);    // plane 2 and plane 1
  const Vettore3 vj = Vettoriale(vf, vd);    // face and upper surface (the crest)
  const Vettore3 vk = Vettoriale(vi, vb);
  const Vettore3 vl = Vettoriale(va, vi);

  // The trace of plane 1 on the upper surface, pointing from the crest into the slope, away from the face: the
  // component of a × d along the face's normal is m = (f × a)·d.
  const double m = Scalare(vg, vd);
  const Vettore3 tracciaSuperiore1 = Per(m > 0 ? -1.0 : 1.0, Vettoriale(va, vd));
  // The crack is one plane whichever of its two dip directions is given: its normal is turned to the side of the
  // crest, which the crack leaves at the distance L behind it along that trace. That is the crack's front: where the
  // crack cuts the wedge, the wedge lies on it.
  if (Scalare(vf5, tracciaSuperiore1) > 0) vf5 = Per(-1.0, vf5);
  const Vettore3 vg5 = Vettoriale(vf5, va);  // crack and plane 1
  const Vettore3 vj5 = Vettoriale(vf5, vd);  // crack and upper surface

  // Scalars.
  const double n = Scalare(vb, vj), p = Scalare(vi, vd), q = Scalare(vb, vg);
  const double r = Scalare(va, vb), s = Scalare(va, vt), v = Scalare(vb, vt), w = Scalare(vi, vt);
  const double sE = Scalare(va, ve), vE = Scalare(vb, ve), wE = Scalare(vi, ve);
  const double lambda = Scalare(vi, vg), G = Scalare(vg, vg);
  const double R = c.Radice(1.0 - r * r);
  const double rho = c.Diviso(1.0, R * R) * c.Diviso(n * q, std::fabs(n * q));
  const double mu = c.Diviso(1.0, R * R) * c.Diviso(m * q, std::fabs(m * q));
  // The sign of p where the line of intersection reaches the upper surface, which the wedge test below makes that
  // of i_z; that of i_z stays defined where it does not and a crack bounds the wedge.
  const double nu = c.Diviso(1.0, R) * (vi[2] > 0 ? 1.0 : -1.0);
  const double M = c.Radice(G * p * p - 2.0 * m * p * lambda + m * m * R * R);
  const double h = c.Diviso(H, std::fabs(vg[2]));
  c.Verifica({m, n, p, q, r, s, v, w, sE, vE, wE, lambda, G});
  if (!c.ok) return false;

  // Degenerate geometry gives no wedge. Where planes share a strike: the trace of plane 1 on the face horizontal
  // (g_z, plane 1 and the face), the line of intersection horizontal (i_z, planes 1 and 2), in the upper surface
  // (p, below) or plane 2 holding the crest line (n); the wedge is then unbounded or its line of intersection does
  // not rise from the toe. Without vertices or volume: parallel planes (i), plane 1 parallel to the face (g), the
  // face parallel to the upper surface (j), plane 2 holding the trace of plane 1 on the face (q), the upper
  // surface holding it (m). The normals are unit vectors: a component of the cross product of two of them has
  // size 1.
  const double moduloI = Modulo(vi), moduloG = Modulo(vg), moduloJ = Modulo(vj);
  if (Nullo(moduloI, 1) || Nullo(moduloG, 1) || Nullo(moduloJ, 1) || Nullo(q, moduloG) || Nullo(m, moduloG) ||
      Nullo(vg[2], 1, kTolleranzaOrientazioni) || Nullo(vi[2], 1, kTolleranzaOrientazioni) ||
      Nullo(n, moduloJ, kTolleranzaOrientazioni))
    return false;

  // The line of intersection must come out of the face below the upper surface. The upper surface passes
  // through the crest point of plane 1's trace on the face, (H/g_z)·g; the toe lies under it when that point lies
  // above the parallel surface through the toe, that is when m = g·d has the sign of g_z. A toe above the upper
  // surface is in the air: the planes cut no wedge there, however the other tests come out.
  if (q * vi[2] < 0) return false;
  if (!(m * vg[2] > 0)) return false;

  // The sides of the two planes on which the wedge lies. The wedge holds the crest point of plane 2's trace on the
  // face, on the side of plane 1 given by the sign of n·q, and the crest point of plane 1's trace, on the side of
  // plane 2 given by the sign of m·q (the signs that ρ and μ carry). The water on a plane and the reaction of a
  // plane act along the normal pointing into the wedge, which is the upward normal only for a plane under it.
  const double lato1 = n * q > 0 ? 1.0 : -1.0;
  const double lato2 = m * q > 0 ? 1.0 : -1.0;

  // The wedge has a top where its line of intersection rises to the upper surface (p·i_z > 0, beyond the
  // tolerance of the orientations). Without a top it is unbounded, unless a tension crack closes it.
  //
  // A tension crack with the whole wedge, toe, crest points and top, in front of it does not touch the wedge,
  // which stays as it is without the crack. A crack with the toe or a crest point behind it is not admissible. A
  // crack with the toe and both crest points in front of it (or on it) and the top behind it (or on it) cuts the
  // top off: it meets the three edges that rise from the face to the top, plane 1's upper trace at the distance
  // L from the crest (h5 >= 0), the line of intersection and plane 2's upper trace at the fractions of their
  // lengths, counted from the top, that the two ratios give. A wedge without a top is the block that the crack
  // closes: the crack must cut each of the three edges as they rise, beyond the tolerance of the orientations.
  const bool cima = p * vi[2] > 0 && !Nullo(p, moduloI, kTolleranzaOrientazioni);
  TaglioFrattura taglio;
  bool tagliato = frattura;
  if (frattura) {
    switch (Taglia(va, vb, vd, vf, vf5, tracciaSuperiore1, H, L, n, cima, taglio)) {
      case Frattura::NonAmmessa: return false;
      case Frattura::Oltre: tagliato = false; break;
      case Frattura::Taglia: break;
    }
  }
  if (!cima && !tagliato) return false;

  // The quantities of a crack that cuts the wedge.
  double m5 = 0, n5 = 0, q5 = 0, s5 = 0, v5 = 0, w5 = 0, h5 = 0;
  if (tagliato) {
    m5 = Scalare(vg5, vd);
    n5 = Scalare(vb, vj5);
    q5 = Scalare(vb, vg5);
    s5 = Scalare(va, vf5);
    v5 = Scalare(vb, vf5);
    w5 = Scalare(vi, vf5);
    const double lambda5 = Scalare(vi, vg5), G5 = Scalare(vg5, vg5);
    const double M5 = c.Radice(G5 * p * p - 2.0 * m5 * p * lambda5 + m5 * m5 * R * R);
    // A top within the tolerance in front of the crack counts as on it: nothing is cut off.
    h5 = std::max(0.0, c.Diviso(M * h - std::fabs(p) * L, M5));
    c.Verifica({m5, n5, q5, s5, v5, w5, lambda5, G5});
    if (!c.ok) return false;
    // Degenerate cracks: parallel to plane 1 (g5) or to the upper surface (j5), plane 2 holding the line where the
    // crack meets the upper surface (n5), the crack holding the line of intersection (M5), or water in a crack
    // under a vertical upper surface. Such a crack is not admissible.
    const double moduloG5 = Modulo(vg5), moduloJ5 = Modulo(vj5);
    if (Nullo(moduloG5, 1) || Nullo(moduloJ5, 1) || Nullo(n5, moduloJ5) ||
        Nullo(M5, std::fabs(p) * moduloG5 + std::fabs(m5) * moduloI) || (gammaW != 0 && Nullo(vd[2], 1)))
      return false;
  } else {
    vf5 = {0, 0, 0};
  }

  // Areas of the two planes, weight, water pressure and the water force on the crack.
  double A1, A2, W, u, V = 0;
  if (tagliato && !cima) {
    // The closed forms below divide by p: a wedge without a top is measured on its vertices.
    A1 = taglio.A1;
    A2 = taglio.A2;
    W = gamma * taglio.volume;
    u = c.Diviso(gammaW * taglio.sottoSuperiore, 3.0 * vd[2]);
    V = u * taglio.A5;
  } else if (tagliato) {
    A1 = c.Diviso(std::fabs(m * q) * h * h - std::fabs(m5 * q5) * h5 * h5, 2.0 * std::fabs(p));
    A2 = c.Diviso(std::fabs(c.Diviso(q, n)) * m * m * h * h - std::fabs(c.Diviso(q5, n5)) * m5 * m5 * h5 * h5,
                  2.0 * std::fabs(p));
    const double A5 = c.Diviso(std::fabs(m5 * q5) * h5 * h5, 2.0 * std::fabs(n5));
    W = gamma * c.Diviso(c.Diviso(q * q * m * m * h * h * h, std::fabs(n)) -
                             c.Diviso(q5 * q5 * m5 * m5 * h5 * h5 * h5, std::fabs(n5)),
                         6.0 * std::fabs(p));
    u = c.Diviso(gammaW * h5 * std::fabs(m5), 3.0 * vd[2]);
    V = u * A5;
  } else {
    A1 = c.Diviso(std::fabs(m * q) * h * h, 2.0 * std::fabs(p));
    A2 = c.Diviso(std::fabs(c.Diviso(q, n)) * m * m * h * h, 2.0 * std::fabs(p));
    W = c.Diviso(gamma * q * q * m * m * h * h * h, 6.0 * std::fabs(p) * std::fabs(n));
    u = c.Diviso(gammaW * h * std::fabs(m * vi[2]), 6.0 * std::fabs(p));
  }
  c.Verifica({A1, A2, W, u, V});
  if (!c.ok) return false;

  // Normal reactions with contact on both planes.
  const double N1 = rho * (W * vk[2] + T * (r * v - s) + E * (r * vE - sE) + V * (r * v5 - s5)) - u * A1;
  const double N2 = mu * (W * vl[2] + T * (r * s - v) + E * (r * sE - vE) + V * (r * s5 - v5)) - u * A2;
  c.Verifica({N1, N2});
  if (!c.ok) return false;

  // The effective normal force on each plane with the wedge held on that plane alone. The other plane has lost
  // contact, but its water still pushes the wedge away from it.
  const Vettore3 a1 = Per(lato1, va), b2 = Per(lato2, vb);
  const double Na = lato1 * (W * va[2] - T * s - E * sE - V * s5) - u * A2 * lato1 * lato2 * r;
  const double Nb = lato2 * (W * vb[2] - T * v - E * vE - V * v5) - u * A1 * lato1 * lato2 * r;

  esito.forza = Somma(Somma(Somma(Per(T, vt), Per(E, ve)), Somma(Per(V, vf5), Vettore3{0, 0, -W})),
                      Somma(Per(u * A1, a1), Per(u * A2, b2)));
  esito.interna1 = a1;
  esito.interna2 = b2;
  esito.attrito1 = std::tan(phi1);
  esito.attrito2 = std::tan(phi2);
  esito.coesione1 = c1 * A1;
  esito.coesione2 = c2 * A2;

  // Sliding on one plane alone: N presses the wedge onto it, its own water `acqua` left out; the water on the other
  // plane, which has lost contact, still pushes the wedge away from that plane.
  auto suUnPiano = [&](double N, const Vettore3& normale, double acquaAltro, const Vettore3& altro, double acqua,
                       double phi, double coesione) {
    Vettore3 S =
        Somma(Somma(Per(T, vt), Per(E, ve)), Somma(Somma(Per(N, normale), Per(V, vf5)), Per(acquaAltro, altro)));
    S = Somma(Per(-1.0, S), {0, 0, W});
    esito.normale = normale;
    esito.taglio = S;
    esito.attrito = std::tan(phi);
    esito.resistenza = (N - acqua) * esito.attrito + coesione;
    return c.Diviso(esito.resistenza, Modulo(S));
  };

  double fattore, resistenza = 0;
  QString modo;
  switch (StatoContatto(N1, N2, Na - u * A1, Nb - u * A2)) {
    case Contatto::Nessuno:
      fattore = 0;
      modo = QStringLiteral("00");
      break;
    case Contatto::Piano1:
      fattore = suUnPiano(Na, a1, u * A2, b2, u * A1, phi1, c1 * A1);
      resistenza = esito.resistenza;
      modo = QStringLiteral("10");
      break;
    case Contatto::Piano2:
      fattore = suUnPiano(Nb, b2, u * A1, a1, u * A2, phi2, c2 * A2);
      resistenza = esito.resistenza;
      modo = QStringLiteral("01");
      break;
    case Contatto::Entrambi: {
      // Sliding on both planes along their line of intersection. A negative driving force (the wedge pushed up
      // the line) gives a negative quotient, whose absolute value is taken below.
      const double S = nu * (W * vi[2] - T * w - E * wE - V * w5);
      resistenza = N1 * std::tan(phi1) + N2 * std::tan(phi2) + c1 * A1 + c2 * A2;
      fattore = c.Diviso(resistenza, S);
      modo = QStringLiteral("11");
      break;
    }
  }
  if (!c.ok) return false;
  // A negative resisting force (a cohesion or friction angle below 0) gives no safety at all.
  if (resistenza < 0) fattore = 0;
  esito.modo = modo;
  esito.modoImpostato = true;

  fattore = std::fabs(fattore);
  if (fattore > 99.99) fattore = 99.99;
  const double volume = std::fabs(c.Diviso(W, gamma));
  if (!c.ok) return false;
  esito.fattore = fattore;
  esito.volume = volume;
  return true;
}

// What the seismic runs take from the run just made: the weight and the direction of the external load.
struct Preparazione {
  double peso = 0;
  double carico = 0, inclinazione = 0, direzione = 0;  // the loads as the caller passed them
  Vettore3 versore{0, 0, 0};
};

Preparazione Prepara(const ArgomentiCuneo& a) {
  Preparazione p;
  p.peso = a.PesoRoccia * a.VolumeCuneo;
  p.carico = a.CaricoEsterno;
  p.inclinazione = a.InclinazioneCarico;
  p.direzione = a.DirezioneCarico;
  const double pE = a.InclinazioneCarico * kGradi;
  const double tE = Positivo(a.DirezioneCarico * kGradi);
  DirezioneInVersore(p.versore[0], p.versore[1], p.versore[2], -pE, kPi / 2 - tE);
  return p;
}

void NonAmmissibile(ArgomentiCuneo& a) {
  a.FattoreSicurezza = -1;
  a.VolumeCuneo = 0;
}

// The run with the seismic force: the external load and CoefficienteSismico × weight along DirezioneSismica make
// one resultant load; the caller's loads are given back afterwards. False when the seismic direction is
// undefined (the result is then -1).
bool CorsaSismica(ArgomentiCuneo& a, const Preparazione& prep) {
  const double moduloE = Modulo(prep.versore);
  const double moduloS = Modulo(Cuneo.DirezioneSismica);
  if (moduloE == 0 || moduloS == 0 || !std::isfinite(moduloE) || !std::isfinite(moduloS)) {
    NonAmmissibile(a);
    return false;
  }
  const Vettore3 carico = Per(prep.carico / moduloE, prep.versore);
  Cuneo.DirezioneSismica = Per(Cuneo.CoefficienteSismico * prep.peso / moduloS, Cuneo.DirezioneSismica);
  const Vettore3 F = Somma(carico, Cuneo.DirezioneSismica);
  if (!Finito(F)) {
    NonAmmissibile(a);
    return false;
  }
  double inclinazione = 0, direzione = 0;
  // A zero resultant is no load at all; its direction does not matter.
  if (!VersoreInDirezione(F[0], F[1], F[2], inclinazione, direzione)) inclinazione = direzione = 0;
  a.CaricoEsterno = Modulo(F);
  a.DirezioneCarico = Positivo(kPi / 2 - direzione) / kGradi;
  a.InclinazioneCarico = -inclinazione / kGradi;
  CalcolaCuneo(a);
  a.CaricoEsterno = prep.carico;
  a.InclinazioneCarico = prep.inclinazione;
  a.DirezioneCarico = prep.direzione;
  return true;
}

// The solution without seismic force; `esito` receives the details of the run.
void Calcola(ArgomentiCuneo& a, Risultato& esito) {
  a.VolumeCuneo = 0;
  const double psi1 = Positivo(kPi / 2 - a.ComplInclinazione1);
  const double alfa1 = Positivo(kPi / 2 - a.ComplImmersione1);
  const double psi2 = Positivo(kPi / 2 - a.ComplInclinazione2);
  const double alfa2 = Positivo(kPi / 2 - a.ComplImmersione2);
  auto radianti = [](double gradi) { return Positivo(kPi / 2 - (90.0 - gradi) * kGradi); };
  const double psi3 = radianti(a.InclinazioneSuperiore);
  const double alfa3 = radianti(a.ImmersioneSuperiore);
  const double psi4 = radianti(a.InclinazioneFronte);
  const double alfa4 = radianti(a.ImmersioneFronte);
  const double psi5 = radianti(a.InclinazioneFrattura);
  const double alfa5 = radianti(a.ImmersioneFrattura);
  const double pT = a.InclinazioneAncoraggio * kGradi;
  const double tT = Positivo(a.DirezioneAncoraggio * kGradi);
  const double pE = a.InclinazioneCarico * kGradi;
  const double tE = Positivo(a.DirezioneCarico * kGradi);
  const double phi1 = a.Attrito1 * kGradi;
  const double phi2 = a.Attrito2 * kGradi;

  if (Risolvi(psi1, alfa1, psi2, alfa2, psi3, alfa3, psi4, alfa4, psi5, alfa5, pT, tT, pE, tE, phi1, phi2, a,
              esito)) {
    a.FattoreSicurezza = esito.fattore;
    a.VolumeCuneo = esito.volume;
  } else {
    a.FattoreSicurezza = -1;
    a.VolumeCuneo = 0;
  }
  if (esito.modoImpostato) a.ModoScivolamento = esito.modo;

  // The plane angles go back in the stored form, reduced into [0, 2π).
  a.ComplInclinazione1 = Positivo(kPi / 2 - psi1);
  a.ComplImmersione1 = Positivo(kPi / 2 - alfa1);
  a.ComplInclinazione2 = Positivo(kPi / 2 - psi2);
  a.ComplImmersione2 = Positivo(kPi / 2 - alfa2);
}

// The factor of safety of the wedge of `base` with the applied forces X in place of base.forza, from the same
// contact states and the same equilibrium as the solution, written with vectors: what the seismic search compares
// directions with. Infinite where no force drives the wedge.
double FattoreSottoForza(const Risultato& base, const Vettore3& X) {
  const Vettore3& n1 = base.interna1;
  const Vettore3& n2 = base.interna2;
  const double r = Scalare(n1, n2);
  const double P1 = -Scalare(X, n1), P2 = -Scalare(X, n2);  // pressing onto each plane with the other one lost
  const double N1 = (P1 - r * P2) / (1 - r * r), N2 = (P2 - r * P1) / (1 - r * r);
  double resistenza = 0, spinta = 0;
  switch (StatoContatto(N1, N2, P1, P2)) {
    case Contatto::Nessuno: return 0;
    case Contatto::Piano1:
      resistenza = P1 * base.attrito1 + base.coesione1;
      spinta = Modulo(Somma(X, Per(P1, n1)));
      break;
    case Contatto::Piano2:
      resistenza = P2 * base.attrito2 + base.coesione2;
      spinta = Modulo(Somma(X, Per(P2, n2)));
      break;
    case Contatto::Entrambi: {
      const Vettore3 linea = Vettoriale(n1, n2);
      resistenza = N1 * base.attrito1 + N2 * base.attrito2 + base.coesione1 + base.coesione2;
      spinta = std::fabs(Scalare(X, linea)) / Modulo(linea);
      break;
    }
  }
  if (resistenza < 0) return 0;
  const double f = resistenza / spinta;
  return std::isfinite(f) ? f : INFINITY;
}

// The direction in which a force of magnitude K lowers most the factor of safety of a wedge sliding on one plane.
// With the force K·k added, the resisting force becomes R0 - K·tanφ·(k·n), n the plane's normal into the wedge,
// and the shear the plane must take becomes |S - K·k_t|, k_t the part of k along the plane. For a given normal
// part the shear is largest with k_t along the driving direction s = -S/|S|, so k = cos θ·s + sin θ·n and
//   F(θ) = (R0 - K·tanφ·sin θ) / (|S| + K·cos θ),
// which is smallest where R0·sin θ - tanφ·|S|·cos θ = K·tanφ. When no θ satisfies that, the force can take the
// wedge off the plane: the direction in which the resisting force just vanishes. Empty when undefined.
std::optional<Vettore3> DirezioneSulPiano(const Risultato& base, double K) {
  const double taglio = Modulo(base.taglio);
  if (!(taglio > 0) || !std::isfinite(taglio) || !Finito(base.normale) || !std::isfinite(K) ||
      !std::isfinite(base.resistenza) || !std::isfinite(base.attrito))
    return std::nullopt;
  const Vettore3 s = Per(-1.0 / taglio, base.taglio);
  const double t = base.attrito, R0 = base.resistenza;
  const double raggio = std::hypot(R0, t * taglio);
  double theta = 0;
  if (raggio > 0 && std::fabs(K * t) <= raggio) {
    theta = std::atan2(t * taglio, R0) + std::asin(K * t / raggio);
  } else if (K * t != 0) {
    theta = std::asin(std::clamp(R0 / (K * t), -1.0, 1.0));
  }
  const Vettore3 k = Somma(Per(std::cos(theta), s), Per(std::sin(theta), base.normale));
  if (!Finito(k) || Modulo(k) == 0) return std::nullopt;
  return k;
}

// A direction k in which a force of magnitude K takes the wedge off both planes (factor of safety 0), if there is
// one: the wedge then presses onto neither plane, P1 - K·n1·k < 0 and P2 - K·n2·k < 0, where P1 and P2 are the
// forces pressing it onto each plane alone and n1, n2 the normals into the wedge. The larger of the two is
// smallest for k along λ·n1 + (1 - λ)·n2, λ in [0, 1] the maximum of the concave function
// λ·P1 + (1 - λ)·P2 - K·|λ·n1 + (1 - λ)·n2|.
std::optional<Vettore3> DirezioneDistacco(const Risultato& base, double K) {
  const Vettore3& n1 = base.interna1;
  const Vettore3& n2 = base.interna2;
  const double P1 = -Scalare(base.forza, n1), P2 = -Scalare(base.forza, n2);
  if (!std::isfinite(K) || !std::isfinite(P1) || !std::isfinite(P2)) return std::nullopt;
  auto asse = [&](double lambda) { return Somma(Per(lambda, n1), Per(1.0 - lambda, n2)); };
  auto duale = [&](double lambda) { return lambda * P1 + (1.0 - lambda) * P2 - K * Modulo(asse(lambda)); };
  double basso = 0, alto = 1;
  for (int passo = 0; passo < 100; ++passo) {
    const double l1 = basso + (alto - basso) / 3, l2 = alto - (alto - basso) / 3;
    if (duale(l1) < duale(l2)) basso = l1;
    else alto = l2;
  }
  const Vettore3 k = asse((basso + alto) / 2);
  const double modulo = Modulo(k);
  if (!(modulo > 0) || !std::isfinite(modulo)) return std::nullopt;
  const Vettore3 versore = Per(1.0 / modulo, k);
  if (P1 - K * Scalare(n1, versore) < 0 && P2 - K * Scalare(n2, versore) < 0) return versore;
  return std::nullopt;
}

// A circle of unit directions k = centro + raggio·(cos θ·asse + sin θ·laterale), asse and laterale orthonormal
// and both perpendicular to centro.
struct Cerchio {
  Vettore3 centro{0, 0, 0};
  double raggio = 1;
  Vettore3 asse{0, 0, 0}, laterale{0, 0, 0};
};

// Where a force K·k, k on the circle, gives a factor of safety
//   F(θ) = (R0 - K·raggio·μ·sin θ) / |D0 + K·raggio·cos θ|,
// adds to `direzioni` the directions at which F is stationary: R0·sin θ - μ·D0·cos θ = K·raggio·μ.
void Stazionari(const Cerchio& c, double R0, double mu, double D0, double K, std::vector<Vettore3>& direzioni) {
  const double ampiezza = std::hypot(R0, mu * D0);
  const double seno = K * c.raggio * mu / ampiezza;
  if (!(ampiezza > 0) || !(std::fabs(seno) <= 1)) return;
  const double fase = std::atan2(mu * D0, R0), scarto = std::asin(seno);
  for (double theta : {fase + scarto, fase + kPi - scarto})
    direzioni.push_back(Somma(c.centro, Per(c.raggio, Somma(Per(std::cos(theta), c.asse),
                                                              Per(std::sin(theta), c.laterale)))));
}

// The directions where a force of magnitude K may lower most the factor of safety, over every contact state
// it may bring the wedge into: where the factor of sliding on plane 1 alone, on plane 2 alone or on both planes
// is least on the whole sphere of directions, and where it is least along the borders between sliding on one
// plane and on both (one reaction with contact on both planes just 0), taken just on either side of the border.
std::vector<Vettore3> DirezioniCritiche(const Risultato& base, double K) {
  std::vector<Vettore3> direzioni;
  const Vettore3& X = base.forza;
  const Vettore3 n[2] = {base.interna1, base.interna2};
  const double t[2] = {base.attrito1, base.attrito2};
  const double C[2] = {base.coesione1, base.coesione2};
  const double r = Scalare(n[0], n[1]);
  const double det = 1 - r * r;
  if (!(det > 0) || !(K > 0) || !Finito(X)) return direzioni;

  // Sliding on one plane: the great circle through the driving direction on that plane and its normal.
  for (int i = 0; i < 2; ++i) {
    const double P = -Scalare(X, n[i]);
    const Vettore3 tangente = Somma(X, Per(P, n[i]));
    const double D0 = Modulo(tangente);
    if (D0 > 0) Stazionari({{0, 0, 0}, 1, Per(1 / D0, tangente), n[i]}, P * t[i] + C[i], t[i], D0, K, direzioni);
  }

  // Sliding on both planes: the resisting force C1 + C2 - X·w, w = tanφ1·α1 + tanφ2·α2, where the reactions are
  // Ni = -X·αi, and the driving force X·l along the line of intersection l, perpendicular to both αi.
  const Vettore3 alfa[2] = {Per(1 / det, Somma(n[0], Per(-r, n[1]))), Per(1 / det, Somma(n[1], Per(-r, n[0])))};
  Vettore3 linea = Vettoriale(n[0], n[1]);
  linea = Per(1 / Modulo(linea), linea);
  if (Scalare(X, linea) < 0) linea = Per(-1.0, linea);
  const double D0 = Scalare(X, linea);
  const Vettore3 w = Somma(Per(t[0], alfa[0]), Per(t[1], alfa[1]));
  const double moduloW = Modulo(w);
  Stazionari({{0, 0, 0}, 1, linea, moduloW > 0 ? Per(1 / moduloW, w) : n[0]}, C[0] + C[1] - Scalare(X, w), moduloW,
             D0, K, direzioni);

  // The border where the reaction of plane j is 0: k·αj = Nj/K, a circle about αj. There the wedge presses onto
  // plane i alone, along its normal, and is driven along the line: sliding on plane i alone and on both planes
  // differ only by plane j's cohesion.
  for (int j = 0; j < 2; ++j) {
    const int i = 1 - j;
    const double moduloA = Modulo(alfa[j]);
    const Vettore3 v = Per(1 / moduloA, alfa[j]);
    const double centro = -Scalare(X, alfa[j]) / (K * moduloA);
    if (!(std::fabs(centro) < 1)) continue;
    Cerchio cerchio{Per(centro, v), std::sqrt(1 - centro * centro), linea, Vettoriale(v, linea)};
    double mu = t[i] * Scalare(cerchio.laterale, alfa[i]);
    if (mu < 0) {
      cerchio.laterale = Per(-1.0, cerchio.laterale);
      mu = -mu;
    }
    const double Ni = -Scalare(X, alfa[i]) - K * centro * Scalare(v, alfa[i]);
    std::vector<Vettore3> bordo;
    Stazionari(cerchio, C[i] + t[i] * Ni, mu, D0, K, bordo);
    Stazionari(cerchio, C[i] + C[j] + t[i] * Ni, mu, D0, K, bordo);
    const double scostamento = 1e-9;
    for (const Vettore3& k : bordo)
      for (double lato : {-scostamento, scostamento}) direzioni.push_back(Somma(k, Per(lato, v)));
  }
  for (Vettore3& k : direzioni) k = Per(1 / Modulo(k), k);
  return direzioni;
}

// The least favourable direction of a force of magnitude K on a wedge sliding on one plane, over the contact
// states that the force may bring the wedge into: one that takes it off both planes when there is one, else the
// least favourable of sliding on that plane unless a direction that brings the wedge onto the other plane, or
// onto both, gives a lower factor of safety.
std::optional<Vettore3> DirezionePeggiore(const Risultato& base, double K) {
  if (const std::optional<Vettore3> distacco = DirezioneDistacco(base, K)) return distacco;
  std::optional<Vettore3> peggiore = DirezioneSulPiano(base, K);
  double minimo = peggiore ? FattoreSottoForza(base, Somma(base.forza, Per(K, *peggiore))) : INFINITY;
  for (const Vettore3& k : DirezioniCritiche(base, K)) {
    if (!Finito(k)) continue;
    // The direction of sliding on the plane stays unless another is lower by more than rounding.
    const double f = FattoreSottoForza(base, Somma(base.forza, Per(K, k)));
    if (f < (std::isfinite(minimo) ? minimo - 1e-12 * (1 + minimo) : minimo)) {
      minimo = f;
      peggiore = k;
    }
  }
  return peggiore;
}

}  // namespace

void CalcolaCuneo(ArgomentiCuneo& a) {
  Risultato esito;
  Calcola(a, esito);
}

void CalcolaCuneoEsteso(ArgomentiCuneo& a) {
  // Every computation starts from the same direction, so that a pair's result does not depend on the pairs
  // computed before it.
  Cuneo.DirezioneSismica = kDirezioneSismicaIniziale;
  Risultato base;
  Calcola(a, base);
  if (a.FattoreSicurezza == -1 || a.ModoScivolamento == QLatin1String("00")) return;
  // A seismic force whose square is below the smallest normal number cannot be given a direction (its vector
  // would be lost to 0 in the passes below): it acts as none, and the results of the run without it stand.
  const double forza = std::fabs(Cuneo.CoefficienteSismico) * a.PesoRoccia * a.VolumeCuneo;
  if (!(forza * forza >= std::numeric_limits<double>::min())) return;

  if (a.ModoScivolamento == QLatin1String("10") || a.ModoScivolamento == QLatin1String("01")) {
    // Sliding on one plane: the seismic force takes the direction that lowers the factor of safety most. Its
    // size is |η|·W whatever the sign of η: the least favourable direction already is the worse of a direction
    // and its reverse.
    const Preparazione prep = Prepara(a);
    const double eta = Cuneo.CoefficienteSismico;
    const std::optional<Vettore3> peggiore = DirezionePeggiore(base, std::fabs(eta) * prep.peso);
    if (!peggiore) {
      NonAmmissibile(a);
      return;
    }
    Cuneo.DirezioneSismica = eta < 0 ? Per(-1.0, *peggiore) : *peggiore;
    CorsaSismica(a, prep);
    return;
  }

  // Sliding on both planes: the seismic force along the line of intersection of the two planes tilted by their
  // friction angles, tried with each normal as it is and reversed; the smallest factor of safety stands.
  const double phi1 = a.Attrito1 * kGradi;
  const double phi2 = a.Attrito2 * kGradi;
  double minimo = 1e30;
  for (int passo = 1; passo <= 3; ++passo) {
    CalcolaCuneo(a);
    if (a.FattoreSicurezza == -1) {
      minimo = -1;
      break;
    }
    const Preparazione prep = Prepara(a);
    Vettore3 n1 = Normale(Positivo(kPi / 2 - a.ComplInclinazione1), Positivo(kPi / 2 - a.ComplImmersione1));
    Vettore3 n2 = Normale(Positivo(kPi / 2 - a.ComplInclinazione2), Positivo(kPi / 2 - a.ComplImmersione2));
    if (passo == 2) n1 = Per(-1.0, n1);
    if (passo == 3) n2 = Per(-1.0, n2);
    const double moduloS = Modulo(Cuneo.DirezioneSismica);
    if (moduloS == 0 || !std::isfinite(moduloS)) {
      minimo = -1;
      break;
    }
    Vettore3 g = Per(1.0 / moduloS, Cuneo.DirezioneSismica);
    if (g[2] < 0) g = Per(-1.0, g);
    const Vettore3 n1t = Somma(Per(std::cos(phi1), n1), Per(std::sin(phi1), g));
    const Vettore3 n2t = Somma(Per(std::cos(phi2), n2), Per(std::sin(phi2), g));
    Vettore3 dir = Vettoriale(n1t, n2t);
    const double moduloC = Modulo(dir);
    if (Nullo(moduloC, Modulo(n1t) * Modulo(n2t)) || !std::isfinite(moduloC)) {
      minimo = -1;
      break;
    }
    dir = Per(1.0 / moduloC, dir);
    if (Scalare(dir, g) > 0) dir = Per(-1.0, dir);
    Cuneo.DirezioneSismica = dir;
    if (!CorsaSismica(a, prep)) {
      minimo = -1;
      break;
    }
    if (minimo > a.FattoreSicurezza) minimo = a.FattoreSicurezza;
  }
  if (minimo == -1) {
    NonAmmissibile(a);
    return;
  }
  a.FattoreSicurezza = minimo;
}

bool VersoreInDirezione(double x, double y, double z, double& inclinazione, double& direzione) {
  if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z)) return false;
  // A vector too short for its length to be a number other than 0 has no direction either.
  if (std::sqrt(x * x + y * y) == 0 && z == 0) return false;
  AngoliDiVettore(x, y, z, inclinazione, direzione);
  return true;
}

void DirezioneInVersore(double& x, double& y, double& z, double inclinazione, double direzione) {
  VersoreDiAngoli(x, y, z, inclinazione, direzione);
}

void DirezioneInVersore2(double& x, double& y, double& z, double inclinazione, double direzione) {
  DirezioneInVersore(x, y, z, inclinazione, direzione);
}
