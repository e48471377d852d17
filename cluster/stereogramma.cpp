#include "cluster/stereogramma.h"

#include "cluster/geometria.h"
#include "cluster/talvor.h"
#include "common/data/fronte.h"
#include "common/data/numeri.h"
#include "common/data/nomi.h"
#include "common/data/tabelle.h"
#include "common/platform/files.h"
#include "common/platform/textio.h"
#include "common/texts/testi.h"

#include <algorithm>
#include <cmath>
#include <limits>

double SegnoProiezione = 1;

namespace {

constexpr double kXc = kCentroReticoloX;
constexpr double kYc = kCentroReticoloY;
constexpr double kR = kRaggioReticolo;
constexpr double kAltezzaLettere = 0.2;
// The subtitle of the page's title block.
constexpr double kAltezzaSottotitolo = 0.35;
// Below this stored inclination a plane counts as vertical: its equal-angle trace is the straight strike line.
constexpr double kVerticale = 1e-9;

bool Finito(const Punto& p) { return std::isfinite(p.X) && std::isfinite(p.Y); }

// A polyline through Traccia: a point that is not finite lifts the pen, the next finite point starts anew.
class Linea {
 public:
  void A(const Punto& p) {
    if (!Finito(p)) {
      giu_ = false;
      return;
    }
    Traccia(p.X, p.Y, giu_ ? 2 : 3);
    giu_ = true;
  }

 private:
  bool giu_ = false;
};

void Penna(int pen) { SelezionaPennaTabella(pen); }

void Simbolo(const Punto& p, double altezza, const QString& testo, int n) {
  if (Finito(p)) DisegnaSimbolo(p.X, p.Y, altezza, testo, 0, n);
}

// A circle drawn from its top clockwise in `passi` steps of 2 pi / passi, closing on its start.
void Cerchio(double cx, double cy, double r, int passi) {
  const double pi = PiGreco();
  Linea l;
  l.A({cx, cy + r});
  for (int j = 0; j <= passi; ++j) {
    const double t = j * 2 * pi / passi;
    l.A({cx + r * std::sin(t), cy + r * std::cos(t)});
  }
}

double Riduci(double d) {
  const double pi = PiGreco();
  if (!std::isfinite(d)) return d;
  while (d < 0) d += 2 * pi;
  while (d > 2 * pi) d -= 2 * pi;
  return d;
}

struct Opzioni {
  bool Equiangolare = false;
  double Segno = 1;
};

Punto Proietta(const Opzioni& o, double inclinazione, double direzione) {
  return ProiettaOrientazione(inclinazione, direzione, o.Equiangolare, o.Segno);
}

// The great circle of the plane whose pole is (inclination, direction); the equal-area trace has `puntiAreaEq`
// points.
void CerchioMassimo(const Opzioni& o, double inclinazione, double direzione, int puntiAreaEq) {
  const double pi = PiGreco();
  const double dip = pi / 2 - inclinazione;
  double dd = direzione + pi;
  if (dd > 2 * pi) dd -= 2 * pi;
  Linea l;
  if (!o.Equiangolare) {
    for (int j = 0; j < puntiAreaEq; ++j) {
      const double t = -1 + j * 2.0 / (puntiAreaEq - 1);
      const double w = std::sqrt(std::max(0.0, 1 - t * t));
      double i = 0, d = 0;
      VersoreInGiacitura(w * std::cos(dip), t, w * std::sin(dip), i, d);
      d += dd;
      if (i < 0) {
        i = -i;
        d += pi;
      }
      l.A(Proietta(o, i, Riduci(d)));
    }
    return;
  }
  // Equal-angle: the circle through the dip point and the two ends of the strike line.
  const double q = std::cos(dip) / (1 + std::sin(dip));
  const Punto p{kXc + o.Segno * kR * q * std::cos(dd), kYc + o.Segno * kR * q * std::sin(dd)};
  Punto e1{kXc + kR * std::cos(dd + pi / 2), kYc + kR * std::sin(dd + pi / 2)};
  Punto e2{kXc + kR * std::cos(dd - pi / 2), kYc + kR * std::sin(dd - pi / 2)};
  if (o.Segno == 1) std::swap(e1, e2);
  const auto retta = [&] {
    l.A(e1);
    l.A(e2);
  };
  if (std::fabs(inclinazione) <= kVerticale) return retta();
  // The centre: intersection of the perpendicular bisectors of e1-p and p-e2.
  const double ax = p.X - e1.X, ay = p.Y - e1.Y, bx = e2.X - p.X, by = e2.Y - p.Y;
  const double ca = (ax * (p.X + e1.X) + ay * (p.Y + e1.Y)) / 2;
  const double cb = (bx * (e2.X + p.X) + by * (e2.Y + p.Y)) / 2;
  const double det = ax * by - ay * bx;
  const double cx = (ca * by - ay * cb) / det;
  const double cy = (ax * cb - ca * bx) / det;
  // Three points in a line (the dip point on the strike line) have no circle: the strike line is drawn.
  if (det == 0 || !std::isfinite(cx) || !std::isfinite(cy)) return retta();
  const double raggio = std::hypot(e1.X - cx, e1.Y - cy);
  const double a1 = Riduci(std::atan2(e1.Y - cy, e1.X - cx));
  double a2 = Riduci(std::atan2(e2.Y - cy, e2.X - cx));
  if (a2 < a1) a2 += 2 * pi;
  for (int j = 0; j <= 20; ++j) {
    const double a = a1 + (a2 - a1) * j / 20;
    l.A({cx + raggio * std::cos(a), cy + raggio * std::sin(a)});
  }
}

void Intestazione() {
  const auto& T = Talvor;
  Penna(1);
  const QString sottotitolo = T.Grafica.GraficoCluster() ? QStringLiteral("cluster analysis")
                                                         : QStringLiteral("proiezione stereografica");
  DisegnaTitoliPagina(Traduci(sottotitolo), kAltezzaSottotitolo, T.TitoliGrafico);
}

void Reticolo() {
  const double h = kAltezzaLettere;
  Penna(2);
  Cerchio(kXc, kYc, kR, 200);
  Penna(1);
  DisegnaSimbolo(kXc - h / 2, kYc + kR + h / 2, h, QStringLiteral("N"), 0, 0);
  DisegnaSimbolo(kXc + kR + h / 2, kYc - h / 2, h, QStringLiteral("E"), 0, 0);
  DisegnaSimbolo(kXc - h / 2, kYc - kR - 3 * h / 2, h, QStringLiteral("S"), 0, 0);
  DisegnaSimbolo(kXc - kR - 3 * h / 2, kYc - h / 2, h, QStringLiteral("W"), 0, 0);
  Traccia(kXc, kYc + kR - h, 3);
  Traccia(kXc, kYc + kR, 2);
  Traccia(kXc + kR - h, kYc, 3);
  Traccia(kXc + kR, kYc, 2);
  Traccia(kXc, kYc - kR + h, 3);
  Traccia(kXc, kYc - kR, 2);
  Traccia(kXc - kR + h, kYc, 3);
  Traccia(kXc - kR, kYc, 2);
}

int ColoreCluster(int k) { return 1 + (k - 1) % 15; }

std::size_t U(int i) { return static_cast<std::size_t>(i); }

int NumeroCluster() { return std::clamp(Talvor.NumeroCluster, 0, kMassimoPoli); }
int NumeroPoli() { return std::clamp(Talvor.NumeroPoli, 0, kMassimoPoli); }
int NumeroMembri(int k) { return std::clamp(Talvor.NumeroMembri[U(k)], 0, kMassimoPoli); }

void PoliCaricati(const Opzioni& o) {
  const auto& T = Talvor;
  Penna(3);
  for (int i = 1; i <= NumeroPoli(); ++i)
    Simbolo(Proietta(o, T.InclinazionePoli[U(i)], T.DirezionePoli[U(i)]), 0.2, QStringLiteral("1"), -1);
}

void PoliCluster(const Opzioni& o) {
  const auto& T = Talvor;
  const int poli = NumeroPoli();
  // A point is of no cluster when no family lists it among its members (the re-read centres, rounded in the
  // result file, could put a member at the threshold outside).
  std::vector<bool> membro(U(poli) + 1, false);
  for (int k = 1; k <= NumeroCluster(); ++k)
    for (int j = 1; j <= NumeroMembri(k); ++j) {
      const int p = T.MembriCluster[U(k)][U(j)];
      if (p >= 1 && p <= poli) membro[U(p)] = true;
    }
  Penna(4);
  for (int i = 1; i <= poli; ++i)
    if (!membro[U(i)])
      Simbolo(Proietta(o, T.InclinazionePoli[U(i)], T.DirezionePoli[U(i)]), 0.1, QStringLiteral("1"), -1);

  for (int k = 1; k <= NumeroCluster(); ++k) {
    Penna(15 + ColoreCluster(k));
    const QString simbolo = QString::number(ColoreCluster(k));
    for (int j = 1; j <= NumeroMembri(k); ++j) {
      const int p = T.MembriCluster[U(k)][U(j)];
      if (p < 1 || p > poli) continue;
      Simbolo(Proietta(o, T.InclinazionePoli[U(p)], T.DirezionePoli[U(p)]), 0.2, simbolo, -1);
    }
  }

  for (int k = 1; k <= NumeroCluster(); ++k) {
    Penna(15 + ColoreCluster(k));
    const Punto c = Proietta(o, T.InclinazioneCentri[U(k)], T.DirezioneCentri[U(k)]);
    if (!Finito(c)) continue;
    for (double rho : {0.18, 0.20, 0.22, 0.24}) Cerchio(c.X, c.Y, rho, 20);
    if (T.Grafica.NumeriECunei()) {
      Penna(5);
      DisegnaSimbolo(k < 10 ? c.X - 0.075 : c.X - 0.15, c.Y - 0.075, 0.15, QString::number(k), 0, 0);
    }
  }
}

void Cunei(const Opzioni& o) {
  std::vector<TracciaCuneo> cunei;
  LeggiCunei(Talvor.NomeFileDati, cunei);
  for (const TracciaCuneo& c : cunei) {
    double immersione = 0, direzione = 0;
    LineaIntersezione(c, immersione, direzione);
    const Punto p = Proietta(o, immersione, direzione);
    if (!Finito(p) || !std::isfinite(c.FattoreSicurezza)) continue;
    Penna(PennaCuneo(c.FattoreSicurezza));
    Traccia(p.X, p.Y, 3);
    Traccia(kXc, kYc, 2);
    Penna(5);
    DisegnaNumero(p.X, p.Y, 0.18, c.FattoreSicurezza, 0, 2);
  }
}

void CerchiMassimi(const Opzioni& o) {
  const auto& T = Talvor;
  if (T.Grafica.GraficoPoli()) {
    Penna(6);
    for (int i = 1; i <= NumeroPoli(); ++i) CerchioMassimo(o, T.InclinazionePoli[U(i)], T.DirezionePoli[U(i)], 201);
    return;
  }
  for (int k = 1; k <= NumeroCluster(); ++k) {
    Penna(15 + ColoreCluster(k));
    CerchioMassimo(o, T.InclinazioneCentri[U(k)], T.DirezioneCentri[U(k)], 201);
  }
}

void Fronte(const Opzioni& o) {
  ValoriFronte v{};
  if (LeggiFileFronte(FileStem(Talvor.NomeFileDati, QStringLiteral(".fro")), v) != EsitoFronte::Letto) return;
  double inclinazione = 0, direzione = 0;
  GiacituraInPolo(v[kImmersioneFronte], v[kInclinazioneFronte], inclinazione, direzione);
  Penna(7);
  CerchioMassimo(o, inclinazione, direzione, 32);
  const double attrito = v[kAttrito];
  if (attrito > 0) {
    Penna(8);
    Cerchio(kXc, kYc, kR * RaggioProiettato(attrito * PiGreco() / 180, o.Equiangolare), 200);
  }
}

}  // namespace

double RaggioProiettato(double inclinazione, bool equiangolare) {
  if (equiangolare) return std::cos(inclinazione) / (1 + std::sin(inclinazione));
  return std::sqrt(std::max(0.0, 1 - std::sin(inclinazione)));
}

Punto ProiettaOrientazione(double inclinazione, double direzione, bool equiangolare, double segno) {
  const double r = kR * segno * RaggioProiettato(inclinazione, equiangolare);
  return {kXc + r * std::cos(direzione), kYc + r * std::sin(direzione)};
}

bool LeggiCunei(const QString& nomeFileDati, std::vector<TracciaCuneo>& cunei, QString* file, int* riga) {
  cunei.clear();
  auto guasto = [&](const QString& nome, int linea) {
    if (file) *file = nome;
    if (riga) *riga = linea;
    cunei.clear();
    return false;
  };
  const QString tracce = FileStem(nomeFileDati, QStringLiteral(".tmp"));
  if (plat::EntryExists(tracce)) {
    plat::SeqReader r;
    if (!r.Open(tracce)) return guasto(r.Path().isEmpty() ? tracce : r.Path(), r.FaultLine());
    // Records of five numbers, as the table's cells take them: two dip directions and dips, and the factor of
    // safety. Blank lines after the last record end the file; a file that ends inside a record is damaged, told
    // with the line where that record starts.
    const double senzaLimite = std::numeric_limits<double>::max();
    const double minimi[5] = {0, 0, 0, 0, 0}, massimi[5] = {360, 90, 360, 90, senzaLimite};
    while (!dati::FineSostanziale(r)) {
      double v[5];
      const int inizio = r.LineNumber();
      for (int k = 0; k < 5; ++k) {
        const int linea = r.LineNumber();
        bool numero = false;
        if (!r.ReadNumber(v[k], &numero)) return guasto(r.Path(), inizio);
        if (!numero || v[k] < minimi[k] || v[k] > massimi[k]) return guasto(r.Path(), linea);
      }
      cunei.push_back({v[0], v[1], v[2], v[3], v[4]});
    }
    return true;
  }
  RigheTabellaRisultati t;
  int linea = 0;
  switch (LeggiTabellaRisultati(FileTabellaRisultati(nomeFileDati, TabellaRisultati::Cunei), TabellaRisultati::Cunei,
                                t, &linea)) {
    case EsitoTabellaRisultati::Mancante: return true;
    case EsitoTabellaRisultati::NonValida: return guasto(t.percorso, linea);
    case EsitoTabellaRisultati::Letta: break;
  }
  for (const QString& testo : t.righe) {
    CuneoTabella c;
    ValoriRigaCuneo(testo, c);
    cunei.push_back({c.Immersione1, c.Inclinazione1, c.Immersione2, c.Inclinazione2, c.FattoreSicurezza});
  }
  return true;
}

void LineaIntersezione(const TracciaCuneo& c, double& immersione, double& direzione) {
  const double pi = PiGreco();
  double i1 = 0, d1 = 0, i2 = 0, d2 = 0;
  GiacituraInPolo(c.Immersione1, c.Inclinazione1, i1, d1);
  GiacituraInPolo(c.Immersione2, c.Inclinazione2, i2, d2);
  double ax = 0, ay = 0, az = 0, bx = 0, by = 0, bz = 0;
  AngoliInVersore(ax, ay, az, i1, d1);
  AngoliInVersore(bx, by, bz, i2, d2);
  double vx = az * by - ay * bz, vy = ax * bz - az * bx, vz = ay * bx - ax * by;
  if (vz > 0) {
    vx = -vx;
    vy = -vy;
    vz = -vz;
  }
  VersoreInGiacitura(vx, vy, vz, immersione, direzione);
  if (immersione < 0) {
    immersione = -immersione;
    direzione += pi;
  }
  direzione = Riduci(direzione);
}

int PennaCuneo(double fattoreSicurezza) {
  if (fattoreSicurezza < 1) return 10;
  if (fattoreSicurezza < 1.3) return 11;
  return 12;
}

void DisegnaStereogramma() {
  const auto& T = Talvor;
  SegnoProiezione = T.Grafica.EmisferoInferiore() ? -1 : 1;
  Opzioni o;
  o.Equiangolare = T.Grafica.Equiangolare();
  o.Segno = SegnoProiezione;

  Intestazione();
  Reticolo();
  if (!T.Grafica.GraficoCluster()) {
    PoliCaricati(o);
  } else {
    PoliCluster(o);
    if (T.Grafica.NumeriECunei()) Cunei(o);
  }
  if (T.Grafica.CerchiMassimi()) CerchiMassimi(o);
  if (T.Grafica.FronteEAttrito()) Fronte(o);
  Traccia(0, 0, 999);
}
