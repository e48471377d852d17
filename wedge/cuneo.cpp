#include "wedge/cuneo.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <optional>

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
  // The normals of the two planes pointing into the wedge and the effective normal reactions with contact on both.
  Vettore3 interna1{0, 0, 0}, interna2{0, 0, 0};
  double reazione1 = 0, reazione2 = 0;
};

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
  const Vettore3 vf5 = frattura ? crepa(psi5, alfa5) : Vettore3{0, 0, 0};
  const Vettore3 vt = ancoraggio(pT, tT);
  const Vettore3 ve = carico(pE, tE);

  // Lines of intersection.
  const Vettore3 vg = Vettoriale(vf, va);    // face and plane 1
  const Vettore3 vi = Vettoriale(vb, va);    // plane 2 and plane 1
  const Vettore3 vj = Vettoriale(vf, vd);    // face and upper surface (the crest)
  const Vettore3 vk = Vettoriale(vi, vb);
  const Vettore3 vl = Vettoriale(va, vi);
  const Vettore3 vg5 = Vettoriale(vf5, va);  // crack and plane 1
  const Vettore3 vj5 = Vettoriale(vf5, vd);  // crack and upper surface

  // Scalars.
  const double m = Scalare(vg, vd), n = Scalare(vb, vj), p = Scalare(vi, vd), q = Scalare(vb, vg);
  const double r = Scalare(va, vb), s = Scalare(va, vt), v = Scalare(vb, vt), w = Scalare(vi, vt);
  const double sE = Scalare(va, ve), vE = Scalare(vb, ve), wE = Scalare(vi, ve);
  const double lambda = Scalare(vi, vg), G = Scalare(vg, vg);
  double m5 = 0, n5 = 0, q5 = 0, s5 = 0, v5 = 0, w5 = 0, lambda5 = 0, eps = 0, G5 = 0;
  if (frattura) {
    m5 = Scalare(vg5, vd);
    n5 = Scalare(vb, vj5);
    q5 = Scalare(vb, vg5);
    s5 = Scalare(va, vf5);
    v5 = Scalare(vb, vf5);
    w5 = Scalare(vi, vf5);
    lambda5 = Scalare(vi, vg5);
    eps = Scalare(vf, vf5);
    G5 = Scalare(vg5, vg5);
  }
  const double R = c.Radice(1.0 - r * r);
  const double rho = c.Diviso(1.0, R * R) * c.Diviso(n * q, std::fabs(n * q));
  const double mu = c.Diviso(1.0, R * R) * c.Diviso(m * q, std::fabs(m * q));
  const double nu = c.Diviso(1.0, R) * c.Diviso(p, std::fabs(p));
  const double M = c.Radice(G * p * p - 2.0 * m * p * lambda + m * m * R * R);
  const double h = c.Diviso(H, std::fabs(vg[2]));
  double M5 = 0, h5 = 0;
  if (frattura) {
    M5 = c.Radice(G5 * p * p - 2.0 * m5 * p * lambda5 + m5 * m5 * R * R);
    h5 = c.Diviso(M * h - std::fabs(p) * L, M5);
  }
  c.Verifica({m, n, p, q, r, s, v, w, sE, vE, wE, lambda, G, m5, n5, q5, s5, v5, w5, lambda5, eps, G5});
  if (!c.ok) return false;

  // The line of intersection must come out of the face below the upper surface. The upper surface passes
  // through the crest point of plane 1's trace on the face, (H/g_z)·g; the toe lies under it when that point lies
  // above the parallel surface through the toe, that is when m = g·d has the sign of g_z. A toe above the upper
  // surface is in the air: the planes cut no wedge there, however the other tests come out.
  if (p * vi[2] < 0 || q * vi[2] < 0) return false;
  if (!(m * vg[2] > 0)) return false;

  // The sides of the two planes on which the wedge lies. The wedge holds the crest point of plane 2's trace on the
  // face, on the side of plane 1 given by the sign of n·q, and the crest point of plane 1's trace, on the side of
  // plane 2 given by the sign of m·q (the signs that ρ and μ carry). The water on a plane and the reaction of a
  // plane act along the normal pointing into the wedge, which is the upward normal only for a plane under it.
  const double lato1 = n * q > 0 ? 1.0 : -1.0;
  const double lato2 = m * q > 0 ? 1.0 : -1.0;

  // The tension crack must cut the wedge behind the face: it meets the upper trace of plane 1 between the crest
  // and the top of the line of intersection (h5 >= 0), and the line of intersection and the upper trace of plane
  // 2 each at the fraction given by the two ratios, counted from their top, which must lie from 0 to 1. A negative
  // ratio is a crack that passes above the top of the wedge: the solid it would cut off lies outside the wedge.
  if (frattura) {
    const bool fuori = eps * q5 * vi[2] < 0 || h5 < 0;
    const double rapporto1 = c.Diviso(m5 * h5, m * h);
    const double rapporto2 = c.Diviso(n * q5 * m5 * h5, n5 * q * m * h);
    if (!c.ok || fuori || rapporto1 < 0 || rapporto1 > 1 || rapporto2 < 0 || rapporto2 > 1) return false;
  }

  // Areas of the two planes, weight, water pressure and the water force on the crack.
  double A1, A2, W, u, V = 0;
  if (frattura) {
    A1 = c.Diviso(std::fabs(m * q) * h * h - std::fabs(m5 * q5) * h5 * h5, 2.0 * std::fabs(p));
    A2 = c.Diviso(std::fabs(c.Diviso(q, n)) * m * m * h * h - std::fabs(c.Diviso(q5, n5)) * m5 * m5 * h5 * h5,
                  2.0 * std::fabs(p));
    const double A5 = c.Diviso(std::fabs(m5 * q5) * h5 * h5, 2.0 * std::fabs(n5));
    W = gamma * c.Diviso(c.Diviso(q * q * m * m * h * h * h, std::fabs(n)) -
                             c.Diviso(q5 * q5 * m5 * m5 * h5 * h5 * h5, std::fabs(n5)),
                         6.0 * std::fabs(p));
    u = c.Diviso(gammaW * h5 * std::fabs(m5), 3.0 * vd[2]);
    V = u * A5 * c.Diviso(eps, std::fabs(eps));
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

  esito.interna1 = Per(lato1, va);
  esito.interna2 = Per(lato2, vb);
  esito.reazione1 = N1;
  esito.reazione2 = N2;

  double fattore;
  QString modo;
  if (N1 < 0 && N2 < 0) {
    fattore = 0;
    modo = QStringLiteral("00");
  } else if (N1 > 0 && N2 < 0) {
    // Sliding on plane 1 alone. Plane 2 has lost contact, but its water still pushes the wedge away from it.
    const Vettore3 a1 = Per(lato1, va), b2 = Per(lato2, vb);
    const double Na = lato1 * (W * va[2] - T * s - E * sE - V * s5) - u * A2 * lato1 * lato2 * r;
    Vettore3 S = Somma(Somma(Per(T, vt), Per(E, ve)), Somma(Somma(Per(Na, a1), Per(V, vf5)), Per(u * A2, b2)));
    S = Somma(Per(-1.0, S), {0, 0, W});
    esito.normale = a1;
    esito.taglio = S;
    esito.attrito = std::tan(phi1);
    esito.resistenza = (Na - u * A1) * esito.attrito + c1 * A1;
    fattore = c.Diviso(esito.resistenza, Modulo(S));
    modo = QStringLiteral("10");
  } else if (N1 < 0 && N2 > 0) {
    // Sliding on plane 2 alone, with the water of plane 1 pushing the wedge away from plane 1.
    const Vettore3 a1 = Per(lato1, va), b2 = Per(lato2, vb);
    const double Nb = lato2 * (W * vb[2] - T * v - E * vE - V * v5) - u * A1 * lato1 * lato2 * r;
    Vettore3 S = Somma(Somma(Per(T, vt), Per(E, ve)), Somma(Somma(Per(Nb, b2), Per(V, vf5)), Per(u * A1, a1)));
    S = Somma(Per(-1.0, S), {0, 0, W});
    esito.normale = b2;
    esito.taglio = S;
    esito.attrito = std::tan(phi2);
    esito.resistenza = (Nb - u * A2) * esito.attrito + c2 * A2;
    fattore = c.Diviso(esito.resistenza, Modulo(S));
    modo = QStringLiteral("01");
  } else {
    // Sliding on both planes along their line of intersection.
    const double S = nu * (W * vi[2] - T * w - E * wE - V * w5);
    fattore = c.Diviso(N1 * std::tan(phi1) + N2 * std::tan(phi2) + c1 * A1 + c2 * A2, S);
    modo = QStringLiteral("11");
  }
  if (!c.ok) return false;
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

// A direction in which a force of magnitude K takes the wedge off both planes (factor of safety 0), if there is
// one. With the force K·k the effective reactions with contact on both planes become N1 - K·α1·k and
// N2 - K·α2·k, where α1 = (n1 - r·n2)/(1 - r²), α2 = (n2 - r·n1)/(1 - r²), n1 and n2 the normals into the wedge
// and r = n1·n2. The larger of the two is smallest for k along λ·α1 + (1 - λ)·α2, λ in [0, 1] the maximum of the
// concave function λ·N1 + (1 - λ)·N2 - K·|λ·α1 + (1 - λ)·α2|.
std::optional<Vettore3> DirezioneDistacco(const Risultato& base, double K) {
  const Vettore3& n1 = base.interna1;
  const Vettore3& n2 = base.interna2;
  const double r = Scalare(n1, n2);
  const double det = 1.0 - r * r;
  if (!(det > 0) || !std::isfinite(K)) return std::nullopt;
  const Vettore3 alfa1 = Per(1.0 / det, Somma(n1, Per(-r, n2)));
  const Vettore3 alfa2 = Per(1.0 / det, Somma(n2, Per(-r, n1)));
  auto asse = [&](double lambda) { return Somma(Per(lambda, alfa1), Per(1.0 - lambda, alfa2)); };
  auto duale = [&](double lambda) {
    return lambda * base.reazione1 + (1.0 - lambda) * base.reazione2 - K * Modulo(asse(lambda));
  };
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
  if (base.reazione1 - K * Scalare(alfa1, versore) < 0 && base.reazione2 - K * Scalare(alfa2, versore) < 0)
    return versore;
  return std::nullopt;
}

// The least favourable direction of a force of magnitude K on a wedge sliding on one plane: one that takes it off
// both planes when there is one, else the one that lowers most the factor of safety of sliding on that plane.
std::optional<Vettore3> DirezionePeggiore(const Risultato& base, double K) {
  if (const std::optional<Vettore3> distacco = DirezioneDistacco(base, K)) return distacco;
  return DirezioneSulPiano(base, K);
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
    if (moduloC == 0 || !std::isfinite(moduloC)) {
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
  const double orizzontale = std::sqrt(x * x + y * y);
  if (orizzontale == 0 && z == 0) return false;
  double d;
  if (x != 0) {
    d = std::atan(y / x);  // x is finite and not 0: the quotient is a number, at worst ±infinity
    if (x < 0) d += kPi;
  } else {
    d = y > 0 ? kPi / 2 : 3 * kPi / 2;
  }
  while (d < 0) d += 2 * kPi;
  while (d > 2 * kPi) d -= 2 * kPi;
  direzione = d;
  inclinazione = orizzontale > 0 ? std::atan(z / orizzontale) : (z > 0 ? kPi / 2 : -kPi / 2);
  return true;
}

void DirezioneInVersore(double& x, double& y, double& z, double inclinazione, double direzione) {
  x = std::cos(inclinazione) * std::cos(direzione);
  y = std::cos(inclinazione) * std::sin(direzione);
  z = std::sin(inclinazione);
}

void DirezioneInVersore2(double& x, double& y, double& z, double inclinazione, double direzione) {
  DirezioneInVersore(x, y, z, inclinazione, direzione);
}
