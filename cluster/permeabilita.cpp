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

bool LeggiUscitaAutovalori(const QString& file, std::array<double, 4>& valori,
                           std::array<std::array<double, 4>, 4>& direzioni,
                           const std::array<std::array<double, 4>, 4>* tensore) {
  plat::SeqReader r;
  if (!r.Open(file)) return false;
  for (int i = 1; i <= 3; ++i)
    if (!dati::LeggiNumero(r, valori[i])) return false;
  for (int i = 1; i <= 3; ++i) {
    QString riga;
    do {
      if (!r.ReadLine(riga)) return false;
    } while (plat::TrimBlanks(riga).isEmpty());
    plat::SeqReader componenti;
    componenti.OpenBytes(plat::EncodeAnsi(riga));
    for (int j = 1; j <= 3; ++j)
      if (!dati::LeggiNumero(componenti, direzioni[i][j])) return false;
    // A unit vector, as every solver gives its directions: anything else is no direction (also 0 0 0), and a
    // length far from 1 (5 5 5, or 1e308) would be drawn and tabled as some other axis.
    const auto& d = direzioni[i];
    const double lunghezza = std::sqrt(d[1] * d[1] + d[2] * d[2] + d[3] * d[3]);
    if (!(std::fabs(lunghezza - 1) <= 1e-6)) return false;
  }
  // The tensor is a sum of positive semi-definite terms: no principal conductivity is negative beyond the rounding
  // of the nine digits handed to EIGEN, and none is larger than the tensor's norm.
  double massimo = 0;
  for (int i = 1; i <= 3; ++i) massimo = std::max(massimo, std::fabs(valori[i]));
  if (tensore) {
    double norma = 0;
    for (int a = 1; a <= 3; ++a)
      for (int b = 1; b <= 3; ++b) norma += (*tensore)[a][b] * (*tensore)[a][b];
    norma = std::sqrt(norma);
    if (!(massimo <= norma * (1 + 1e-6))) return false;
  }
  for (int i = 1; i <= 3; ++i)
    if (valori[i] < -1e-7 * massimo) return false;
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
  // Nine significant digits: at seven decimals an aperture below a millimetre would hand EIGEN a zero tensor.
  plat::SeqWriter w(ingresso);
  for (int r = 1; r <= 3; ++r) {
    QString riga;
    for (int s = 1; s <= 3; ++s) riga += QString::number(Talvor.TensoreConducibilita[r][s], 'g', 9) + QLatin1Char(' ');
    w.WriteLine(riga);
  }
  if (!w.Close()) {
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
  if (!LeggiUscitaAutovalori(uscita, Talvor.ValoriPrincipali, Talvor.DirezioniPrincipali,
                             &Talvor.TensoreConducibilita)) {
    AzzeraPrincipali();
    AvvisoFileTalvor(QStringLiteral("Il file e' incompleto o danneggiato:"), DescrizioneFile(uscita));
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
