#include "common/data/numeri.h"

#include <cmath>

namespace dati {

bool LeggiNumero(plat::SeqReader& r, double& valore) {
  bool ok = false;
  return r.ReadNumber(valore, &ok) && ok;
}

bool LeggiNumeroRiga(plat::SeqReader& r, double& valore) {
  bool ok = false;
  return r.ReadNumberLine(valore, &ok) && ok;
}

namespace {
bool Conteggio(bool letto, double valore, double massimo, int& conteggio, bool* oltre) {
  if (oltre) *oltre = false;
  if (!letto || valore != std::floor(valore) || valore < 0) return false;
  if (valore > massimo) {
    if (oltre) *oltre = true;
    return false;
  }
  conteggio = static_cast<int>(valore);
  return true;
}
}  // namespace

bool LeggiConteggio(plat::SeqReader& r, double massimo, int& conteggio, bool* oltre) {
  double valore = 0;
  const bool letto = LeggiNumero(r, valore);
  return Conteggio(letto, valore, massimo, conteggio, oltre);
}

bool LeggiConteggioRiga(plat::SeqReader& r, double massimo, int& conteggio, bool* oltre) {
  double valore = 0;
  const bool letto = LeggiNumeroRiga(r, valore);
  return Conteggio(letto, valore, massimo, conteggio, oltre);
}

bool NumeroDaRiga(QStringView riga, double& valore) {
  valore = 0;
  const QStringView testo = plat::TrimBlanks(riga);
  if (testo.isEmpty()) return false;
  // Only the characters of a number; the reading below then takes the whole text or nothing.
  for (const QChar c : testo)
    if (!QStringView(u"+-.0123456789eE").contains(c)) return false;
  const QString numero = testo.toString();
  if (!plat::IsNumeric(numero)) return false;
  const double v = plat::Val(numero);
  if (!std::isfinite(v)) return false;
  valore = v;
  return true;
}

bool FineSostanziale(const plat::SeqReader& r, int* riga) {
  plat::SeqReader prova = r;
  QStringView testo;
  for (int linea = prova.LineNumber(); prova.ReadLineView(testo); linea = prova.LineNumber()) {
    if (!plat::TrimBlanks(testo).isEmpty()) {
      if (riga) *riga = linea;
      return false;
    }
  }
  return true;
}

}  // namespace dati
