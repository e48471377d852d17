#include "common/data/fronte.h"

#include "common/data/numeri.h"
#include "common/platform/textio.h"
#include "common/texts/numeri.h"

#include <cmath>

EsitoFronte LeggiFileFronte(const QString& percorso, ValoriFronte& v, int* riga) {
  plat::SeqReader r;
  if (!r.Open(percorso)) return EsitoFronte::Mancante;
  ValoriFronte letti{};
  for (int k = 1; k <= kValoriFronte; ++k) {
    if (k > 9 && dati::FineSostanziale(r)) break;
    if (!dati::LeggiNumero(r, letti[static_cast<std::size_t>(k)])) {
      if (riga) *riga = r.LineNumber();
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
