#include "common/data/opzionigrafiche.h"

#include "common/data/numeri.h"
#include "common/platform/files.h"
#include "common/platform/textio.h"

#include <cmath>

EsitoOpzioni LeggiFileOpzioniGrafiche(const QString& percorso, OpzioniGrafiche& o, int* riga) {
  o = OpzioniGrafiche();
  plat::SeqReader r;
  auto guasto = [riga](int linea) {
    if (riga) *riga = linea;
    return EsitoOpzioni::NonValido;
  };
  if (!r.Open(percorso)) return r.Missing() ? EsitoOpzioni::Mancante : guasto(r.FaultLine());
  OpzioniGrafiche letto;
  for (int k = 1; k <= 6; ++k) {
    if (k == 6 && dati::FineSostanziale(r)) break;
    const int linea = r.LineNumber();
    if (!dati::LeggiNumeroRiga(r, letto.Opzione[static_cast<std::size_t>(k)])) return guasto(linea);
  }
  int oltre = 0;
  if (!dati::FineSostanziale(r, &oltre)) return guasto(oltre);
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
  if (plat::EntryExists(percorso)) return true;
  return ScriviFileOpzioniGrafiche(percorso, OpzioniGrafiche());
}
