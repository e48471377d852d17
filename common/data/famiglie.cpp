#include "common/data/famiglie.h"

#include "common/data/numeri.h"
#include "common/platform/textio.h"
#include "common/texts/numeri.h"

#include <cmath>

ParametriFamiglie ParametriPredefiniti(int famiglie, double attrito, double coesione) {
  ParametriFamiglie p;
  const auto n = static_cast<std::size_t>(famiglie > 0 ? famiglie : 0) + 1;
  p.Attrito.assign(n, attrito);
  p.Coesione.assign(n, coesione);
  p.Attrito[0] = p.Coesione[0] = 0;
  return p;
}

bool LeggiFileParametriFamiglie(const QString& percorso, ParametriFamiglie& p) {
  plat::SeqReader r;
  if (!r.Open(percorso)) return false;
  for (int f = 1; f <= p.Famiglie(); ++f) {
    const auto u = static_cast<std::size_t>(f);
    double valore = 0;
    if (dati::LeggiNumeroRiga(r, valore)) p.Attrito[u] = valore;
    if (dati::LeggiNumeroRiga(r, valore)) p.Coesione[u] = valore;
  }
  return true;
}

void CompletaParametriFamiglie(ParametriFamiglie& p, double attrito, double coesione) {
  for (int f = 1; f <= p.Famiglie(); ++f) {
    const auto u = static_cast<std::size_t>(f);
    if (p.Attrito[u] == 0 && p.Coesione[u] == 0) {
      p.Attrito[u] = attrito;
      p.Coesione[u] = coesione;
    }
  }
}

bool ScriviFileParametriFamiglie(const QString& percorso, const ParametriFamiglie& p) {
  for (int f = 1; f <= p.Famiglie(); ++f)
    if (!std::isfinite(p.Attrito[static_cast<std::size_t>(f)]) || !std::isfinite(p.Coesione[static_cast<std::size_t>(f)]))
      return false;
  plat::SeqWriter w(percorso);
  if (!w.IsOpen()) return false;
  for (int f = 1; f <= p.Famiglie(); ++f) {
    w.WriteLine(NumeroTesto(p.Attrito[static_cast<std::size_t>(f)]));
    w.WriteLine(NumeroTesto(p.Coesione[static_cast<std::size_t>(f)]));
  }
  return w.Close();
}
