#include "cluster/permeabilita.h"

#include "cluster/geometria.h"
#include "cluster/tabellafamiglie.h"
#include "cluster/talvor.h"
#include "common/data/nomi.h"
#include "common/data/numeri.h"
#include "common/platform/files.h"
#include "common/platform/textio.h"
#include "common/texts/numeri.h"
#include "common/texts/testi.h"
#include "eigen/scambio.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kGravita = 9.8;      // m/s²
constexpr double kViscosita = 1e-6;  // kinematic viscosity of water, m²/s

QString FileScambio(const QString& nome) { return plat::JoinPath(Talvor.PercorsoProgramma, nome); }
QString FilePer() { return FileTabella(Talvor.NomeFileDati, QStringLiteral("PER")); }

void RimuoviFile(const QString& file) {
  if (plat::FileExists(file)) plat::DeleteFile(file);
}

void AzzeraPrincipali() {
  Talvor.ValoriPrincipali = {};
  Talvor.DirezioniPrincipali = {};
}

}  // namespace

bool LeggiUscitaAutovalori(const QString& file, const MatriceScambio& tensore, std::array<double, 4>& valori,
                           std::array<std::array<double, 4>, 4>& direzioni, int* riga) {
  int linea = 0;
  auto guasto = [&] {
    if (riga) *riga = linea;
    return false;
  };
  plat::SeqReader r;
  if (!r.Open(file)) {
    linea = r.FaultLine();
    return guasto();
  }
  std::array<int, 4> lineeValori{}, lineeDirezioni{};
  for (int i = 1; i <= 3; ++i) {
    linea = r.LineNumber();
    if (!dati::LeggiNumero(r, valori[i])) return guasto();
    lineeValori[i] = linea;
  }
  for (int i = 1; i <= 3; ++i) {
    QString testo;
    do {
      linea = r.LineNumber();
      if (!r.ReadLine(testo)) return guasto();
    } while (plat::TrimBlanks(testo).isEmpty());
    lineeDirezioni[i] = linea;
    plat::SeqReader componenti;
    componenti.OpenBytes(plat::EncodeAnsi(testo));
    for (int j = 1; j <= 3; ++j)
      if (!dati::LeggiNumero(componenti, direzioni[i][j])) return guasto();
  }
  // What the answer means. The tensor is measured by its largest entry in size, so that no finite value overflows
  // on the way; the answer is compared with the tensor as EIGEN read it, so that the nine digits of the exchange
  // take nothing from the tolerance: a billionth of the tensor's norm, far above the rounding of a solver's answer
  // in fifteen digits, far below what a table or a plot shows.
  double scala = 0;
  for (const auto& righe : tensore)
    for (const double valore : righe) scala = std::max(scala, std::fabs(valore));
  const double divisore = scala > 0 ? scala : 1;
  double norma = 0;
  for (const auto& righe : tensore)
    for (const double valore : righe) norma += (valore / divisore) * (valore / divisore);
  norma = std::sqrt(norma);
  constexpr double kTolleranza = 1e-9;
  // Unit directions (each solver gives its directions so: a length far from 1, 5 5 5 or 1e308, would be drawn and
  // tabled as some other axis), at right angles to one another: three directions of one axis are no answer.
  std::array<std::array<double, 3>, 4> versori{};
  for (int i = 1; i <= 3; ++i) {
    const auto& d = direzioni[i];
    const double lunghezza = std::sqrt(d[1] * d[1] + d[2] * d[2] + d[3] * d[3]);
    linea = lineeDirezioni[i];
    if (!(std::fabs(lunghezza - 1) <= 1e-6)) return guasto();
    for (int j = 0; j < 3; ++j) versori[i][j] = d[j + 1] / lunghezza;
    for (int k = 1; k < i; ++k) {
      double coseno = 0;
      for (int j = 0; j < 3; ++j) coseno += versori[i][j] * versori[k][j];
      if (!(std::fabs(coseno) <= 1e-6)) return guasto();
    }
  }
  // Each value with the direction of its own place: T v = lambda v. Values in another order than their
  // directions, halved, or those of another tensor are no solution.
  for (int i = 1; i <= 3; ++i) {
    const double lambda = valori[i] / divisore;
    double resto = 0;
    for (int a = 0; a < 3; ++a) {
      double tv = 0;
      for (int b = 0; b < 3; ++b) tv += tensore[a][b] / divisore * versori[i][b];
      resto += (tv - lambda * versori[i][a]) * (tv - lambda * versori[i][a]);
    }
    linea = lineeDirezioni[i];
    if (!(std::sqrt(resto) <= kTolleranza * norma)) return guasto();
  }
  // The tensor is a sum of positive semi-definite terms: no principal conductivity is negative beyond rounding.
  double massimo = 0;
  for (int i = 1; i <= 3; ++i) massimo = std::max(massimo, std::fabs(valori[i]));
  for (int i = 1; i <= 3; ++i) {
    linea = lineeValori[i];
    if (valori[i] < -1e-7 * massimo) return guasto();
  }
  return true;
}

void TensorePermeabilita() {
  auto& T = Talvor;
  T.TensoreConducibilita = {};
  const int famiglie = std::clamp(T.NumeroCluster, 0, kMassimoPoli);
  for (int k = 1; k <= famiglie; ++k) {
    double n[4];
    AngoliInVersore(n[1], n[2], n[3], T.InclinazioneCentri[k], T.DirezioneCentri[k]);
    const double a = T.AperturaFamiglie[k] / 1000;  // m
    const double c = kGravita * a * a * a * T.FrequenzaFamiglie[k] / (12 * kViscosita);
    if (!std::isfinite(c) || c == 0) continue;
    for (int r = 1; r <= 3; ++r)
      for (int s = 1; s <= 3; ++s) T.TensoreConducibilita[r][s] += c * ((r == s ? 1.0 : 0.0) - n[r] * n[s]);
  }
}

bool CalcolaAutovettori() {
  AzzeraPrincipali();
  const QString ingresso = FileScambio(QStringLiteral("eigen.inp"));
  const QString uscita = FileScambio(QStringLiteral("eigen.out"));
  // The tensor as EIGEN reads it back from the text written: its answer must be the solution of this one.
  MatriceScambio tensore{};
  for (int r = 1; r <= 3; ++r)
    for (int s = 1; s <= 3; ++s) tensore[r - 1][s - 1] = Talvor.TensoreConducibilita[r][s];
  const QString testo = TestoIngressoAutovalori(tensore);
  plat::SeqReader rilettura;
  rilettura.OpenBytes(plat::EncodeAnsi(testo));
  MatriceScambio consegnato{};
  plat::SeqWriter w(ingresso);
  w.Write(testo);
  if (!LeggiIngressoAutovalori(rilettura, consegnato) || !w.Close()) {
    AvvisoFileTalvor(QStringLiteral("Impossibile scrivere il file:"), DescrizioneFile(ingresso));
    return false;
  }
  // A file left by an earlier run must never be taken for this tensor's solution; what is no file there is said
  // before EIGEN runs.
  RimuoviFile(uscita);
  if (plat::EntryExists(uscita)) {
    AvvisoFileTalvor(QStringLiteral("Impossibile scrivere il file:"), DescrizioneFile(uscita));
    return false;
  }
  if (!AvviaFiglioTalvor(QStringLiteral("EIGEN.exe"), QStringLiteral("EIGEN"))) return false;
  if (!plat::EntryExists(uscita)) {
    AvvisoFileTalvor(QStringLiteral("Il file manca o non si puo' leggere:"), DescrizioneFile(uscita));
    return false;
  }
  int riga = 0;
  if (!LeggiUscitaAutovalori(uscita, consegnato, Talvor.ValoriPrincipali, Talvor.DirezioniPrincipali, &riga)) {
    AzzeraPrincipali();
    AvvisoTalvor(FileDanneggiato(uscita, riga));
    return false;
  }
  return true;
}

QString ValoreConducibilita(double valore) {
  if (!std::isfinite(valore)) valore = 0;
  return QString::number(valore, 'E', 2);
}

namespace {

// Plunge and azimuth in radians of the downward end of the axis (x, y, z): the angle below the horizontal and the
// direction clockwise from north.
void EstremoInferiore(double x, double y, double z, double& inclinazione, double& direzione) {
  const double pi = PiGreco();
  VersoreInAngoliD(x, y, z, inclinazione, direzione);
  if (inclinazione < 0) {
    inclinazione = -inclinazione;
    direzione += pi;
  }
  direzione = pi / 2 - (direzione + pi);
  while (direzione < 0) direzione += 2 * pi;
  while (direzione > 2 * pi) direzione -= 2 * pi;
}

}  // namespace

void AsseInTabella(double x, double y, double z, int& inclinazione, int& direzione) {
  double inc = 0, dir = 0;
  EstremoInferiore(x, y, z, inc, dir);
  inclinazione = GradiInteri(inc);
  if (inclinazione == 0) {
    // Horizontal: both ends lie level, and the last bit of z must not choose between them.
    double gradi = dir * 45 / std::atan(1.0);
    while (gradi >= 180) gradi -= 180;
    direzione = static_cast<int>(std::floor(gradi + 0.5));
    return;
  }
  // Vertical: the azimuth of the axis straight down, whatever the horizontal noise.
  if (inclinazione == 90) EstremoInferiore(0, 0, 1, inc, dir);
  direzione = GradiInteri(dir);
}

void TabellaPermeabilita() {
  auto& v = Talvor.ValoriPrincipali;
  auto& d = Talvor.DirezioniPrincipali;
  if (v[1] == 0 && v[2] == 0 && v[3] == 0) {
    RimuoviTabellaVecchia(FilePer());
    return;
  }
  // Descending order; equal values keep the solver's order.
  for (int passo = 0; passo < 2; ++passo)
    for (int p = 3; p >= 2; --p)
      if (v[p] > v[p - 1]) {
        Scambia(v[p], v[p - 1]);
        Scambia(d[p], d[p - 1]);
      }
  // The tensor reaches EIGEN with nine significant digits, whose rounding leaves noise of a few parts in 1e9 of
  // the largest value in a value that is 0 (one family alone conducts nothing across its planes): what lies below
  // 1e-7 of the largest value (a negative value in particular, which no conductivity can have) is written as 0.
  const double soglia = std::fabs(v[1]) * 1e-7;
  const QChar tab(QLatin1Char('\t'));
  const QString gradi = QStringLiteral(" [\u00B0]");
  plat::SeqWriter w(FilePer());
  w.WriteLine(Traduci(QStringLiteral("Componente")) + tab + Traduci(QStringLiteral("Modulo")) +
              QStringLiteral(" [m/s]") + tab + Traduci(QStringLiteral("Inclinazione")) + gradi + tab +
              Traduci(QStringLiteral("Direzione")) + gradi);
  const QString nomi[4] = {{}, QStringLiteral("Massima"), QStringLiteral("Media"), QStringLiteral("Minima")};
  for (int p = 1; p <= 3; ++p) {
    int inclinazione = 0, direzione = 0;
    AsseInTabella(d[p][1], d[p][2], d[p][3], inclinazione, direzione);
    w.WriteLine(Traduci(nomi[p]) + tab + ValoreConducibilita(v[p] < soglia ? 0.0 : v[p]) + tab +
                FormattaNumero(inclinazione, 1) + tab + FormattaNumero(direzione, 1));
  }
  if (!w.Close()) AvvisoFileTalvor(QStringLiteral("Impossibile scrivere il file:"), DescrizioneFile(FilePer()));
}

void CalcolaPermeabilita() {
  TensorePermeabilita();
  CalcolaAutovettori();
  TabellaPermeabilita();
}
