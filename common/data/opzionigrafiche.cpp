#include "common/data/opzionigrafiche.h"

#include "common/data/numeri.h"
#include "common/platform/files.h"
#include "common/platform/textio.h"

#include <cmath>

EsitoOpzioni LeggiFileOpzioniGrafiche(const QString& percorso, OpzioniGrafiche& o) {
  o = OpzioniGrafiche();
  if (!plat::FileExists(percorso)) return EsitoOpzioni::Mancante;
  plat::SeqReader r;
  if (!r.Open(percorso)) return EsitoOpzioni::Mancante;
  OpzioniGrafiche letto;
  for (int k = 1; k <= 6; ++k) {
    if (k == 6 && dati::FineSostanziale(r)) break;
    if (!dati::LeggiNumeroRiga(r, letto.Opzione[static_cast<std::size_t>(k)])) return EsitoOpzioni::NonValido;
  }
  o = letto;
  return EsitoOpzioni::Letto;
}

bool ScriviFileOpzioniGrafiche(const QString& percorso, const OpzioniGrafiche& o) {
  for (int k = 1; k <= 6; ++k)
    if (!std::isfinite(o.Opzione[static_cast<std::size_t>(k)])) return false;
  plat::SeqWriter w(percorso);
  if (!w.IsOpen()) return false;
  for (int k = 1; k <= 6; ++k) w.WriteNumber(o.Opzione[static_cast<std::size_t>(k)]);
  return w.Close();
}

bool CreaOpzioniGrafichePredefinite(const QString& percorso) {
  if (plat::FileExists(percorso)) return true;
  return ScriviFileOpzioniGrafiche(percorso, OpzioniGrafiche());
}
