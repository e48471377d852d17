#include "common/data/numeri.h"

#include <cmath>

namespace dati {

bool LeggiNumero(plat::SeqReader& r, double& valore) {
  bool ok = false;
  return r.ReadNumber(valore, &ok) && ok;
}

bool LeggiConteggio(plat::SeqReader& r, double massimo, int& conteggio, bool* oltre) {
  double valore = 0;
  if (oltre) *oltre = false;
  if (!LeggiNumero(r, valore) || valore != std::floor(valore) || valore < 0) return false;
  if (valore > massimo) {
    if (oltre) *oltre = true;
    return false;
  }
  conteggio = static_cast<int>(valore);
  return true;
}

bool NumeroDaRiga(const QString& riga, double& valore) {
  const QString testo = plat::TrimBlanks(riga);
  if (testo.isEmpty() || testo.contains(QLatin1Char(','))) return false;
  plat::SeqReader r;
  r.OpenBytes(plat::EncodeAnsi(testo));
  return LeggiNumero(r, valore) && r.AtEnd();
}

bool FineSostanziale(const plat::SeqReader& r) {
  plat::SeqReader prova = r;
  QString riga;
  while (prova.ReadLine(riga))
    if (!plat::TrimBlanks(riga).isEmpty()) return false;
  return true;
}

}  // namespace dati
