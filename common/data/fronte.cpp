#include "common/data/fronte.h"

#include "common/data/numeri.h"
#include "common/platform/textio.h"
#include "common/texts/numeri.h"

#include <cmath>

namespace {
// The range of each value in the file's units, as the slope form takes it (the form shows values 5, 7, 8, 10 and
// 13 ten times larger, within ten times these bounds).
constexpr std::array<LimitiFronte, kValoriFronte + 1> kLimiti = {{
    {0, 0},
    {0, 90},         // 1 face dip
    {0, 360},        // 2 face dip direction
    {0, 90},         // 3 upper slope dip
    {0, 360},        // 4 its dip direction
    {0, 10000},      // 5 cohesion
    {0, 89},         // 6 friction angle
    {0.1, 10},       // 7 rock unit weight
    {0, 10},         // 8 water unit weight
    {0.1, 10000},    // 9 crest height
    {0, 1000000},    // 10 external load
    {-90, 90},       // 11 its inclination
    {0, 360},        // 12 its direction
    {0, 1000000},    // 13 anchor force
    {-90, 90},       // 14 its inclination
    {0, 360},        // 15 its direction
    {0, 10000},      // 16 distance of the tension crack
    {0, 90},         // 17 its dip
    {0, 360},        // 18 its dip direction
    {0, 1},          // 19 seismic coefficient
}};
}  // namespace

LimitiFronte LimitiValoreFronte(int k) {
  return k < 1 || k > kValoriFronte ? LimitiFronte{0, 0} : kLimiti[static_cast<std::size_t>(k)];
}

bool ValoreFronteAmmesso(int k, double v) {
  if (k < 1 || k > kValoriFronte) return false;
  const LimitiFronte l = LimitiValoreFronte(k);
  return v >= l.minimo && v <= l.massimo;
}

EsitoFronte LeggiFileFronte(const QString& percorso, ValoriFronte& v, int* riga) {
  plat::SeqReader r;
  ValoriFronte letti{};
  auto guasto = [&](int linea) {
    if (riga) *riga = linea;
    v.fill(0);
    return EsitoFronte::NonValido;
  };
  if (!r.Open(percorso)) return r.Missing() ? EsitoFronte::Mancante : guasto(r.FaultLine());
  for (int k = 1; k <= kValoriFronte; ++k) {
    if (k > kAltezzaFronte && dati::FineSostanziale(r)) break;
    const int linea = r.LineNumber();
    double& valore = letti[static_cast<std::size_t>(k)];
    if (!dati::LeggiNumeroRiga(r, valore) || !ValoreFronteAmmesso(k, valore)) return guasto(linea);
  }
  // Nothing follows the nineteenth value but blank lines: a value more would mean that a line was written twice
  // or that values stand in other places than the form put them.
  int oltre = 0;
  if (!dati::FineSostanziale(r, &oltre)) return guasto(oltre);
  v = letti;
  return EsitoFronte::Letto;
}

bool ScriviFileFronte(const QString& percorso, const ValoriFronte& v) {
  for (int k = 1; k <= kValoriFronte; ++k)
    if (!std::isfinite(v[static_cast<std::size_t>(k)])) return false;
  plat::SeqWriter w(percorso);
  if (!w.IsOpen()) return false;
  for (int k = 1; k <= kValoriFronte; ++k) w.WriteLine(NumeroTesto(v[static_cast<std::size_t>(k)]));
  return w.Close();
}
