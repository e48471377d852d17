#include "common/data/fronte.h"

#include "common/data/numeri.h"
#include "common/platform/textio.h"
#include "common/texts/numeri.h"

#include <cmath>

bool ValoreFronteAmmesso(int k, double v) {
  // Every length, force and angle of the file stays far below ten million.
  if (!(std::fabs(v) <= 1e7)) return false;
  switch (k) {
    case 5: case 7: case 8: case 9: case 10: case 13: case 16: return v >= 0;
    case 6: return v >= 0 && v <= 90;
    default: return true;
  }
}

EsitoFronte LeggiFileFronte(const QString& percorso, ValoriFronte& v, int* riga) {
  plat::SeqReader r;
  if (!r.Open(percorso)) return EsitoFronte::Mancante;
  ValoriFronte letti{};
  for (int k = 1; k <= kValoriFronte; ++k) {
    if (k > 9 && dati::FineSostanziale(r)) break;
    const int linea = r.LineNumber();
    double& valore = letti[static_cast<std::size_t>(k)];
    if (!dati::LeggiNumeroRiga(r, valore) || !ValoreFronteAmmesso(k, valore)) {
      if (riga) *riga = linea;
      v.fill(0);
      return EsitoFronte::NonValido;
    }
  }
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
