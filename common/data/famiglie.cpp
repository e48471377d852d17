#include "common/data/famiglie.h"

#include "common/data/fronte.h"
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

EsitoParametri LeggiFileParametriFamiglie(const QString& percorso, ParametriFamiglie& p, int* riga) {
  plat::SeqReader r;
  if (!r.Open(percorso)) {
    if (r.Missing()) return EsitoParametri::Mancante;
    if (riga) *riga = r.FaultLine();
    return EsitoParametri::NonValidi;
  }
  ParametriFamiglie letti = p;
  // Each value with the number of the slope value whose limits it shares: 6 the friction angle, 5 the cohesion.
  // A file that ends (blank lines at most) before the last family leaves the rest at their defaults, as one written
  // for fewer families does; a line that holds no number where a value stands is damage, and so is a file that ends
  // after a friction angle without its cohesion (every writer writes both values of a family).
  const auto leggi = [&](double& destinazione, int valoreFronte) {
    const int linea = r.LineNumber();
    double valore = 0;
    if (dati::FineSostanziale(r) || !dati::LeggiNumeroRiga(r, valore) || !ValoreFronteAmmesso(valoreFronte, valore)) {
      if (riga) *riga = linea;
      return false;
    }
    destinazione = valore;
    return true;
  };
  for (int f = 1; f <= letti.Famiglie() && !dati::FineSostanziale(r); ++f) {
    const auto u = static_cast<std::size_t>(f);
    if (!leggi(letti.Attrito[u], kAttrito) || !leggi(letti.Coesione[u], kCoesione)) return EsitoParametri::NonValidi;
  }
  p = std::move(letti);
  return EsitoParametri::Letti;
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
