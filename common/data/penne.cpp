#include "common/data/penne.h"

#include "common/data/numeri.h"
#include "common/platform/files.h"
#include "common/platform/textio.h"
#include "common/texts/avvio.h"
#include "common/texts/numeri.h"

#include <cmath>

QString FileTabellaPenne() {
  const QString codice = RipiegoLingua(Avvio.CodiceLingua, QStringLiteral(".CFG"));
  return plat::JoinPath(plat::ProgramFolder(), QStringLiteral("korven") + codice + QStringLiteral(".CFG"));
}

EsitoPenne LeggiFileTabellaPenne(const QString& percorso, TabellaPenne& t, int* riga) {
  plat::SeqReader r;
  if (!r.Open(percorso)) return EsitoPenne::Mancante;
  TabellaPenne letta;
  // The line of a fault: the line of the item being read.
  int linea = 1;
  const auto fallisce = [&] {
    if (riga) *riga = linea;
    return EsitoPenne::NonValida;
  };
  for (std::size_t e = 1; e <= kElementiPenne; ++e) {
    linea = r.LineNumber();
    if (!r.ReadLine(letta.NomiElementi[e])) return fallisce();
    linea = r.LineNumber();
    if (!dati::LeggiNumero(r, letta.ColoriElementi[e])) return fallisce();
    linea = r.LineNumber();
    if (!dati::LeggiNumero(r, letta.SpessoriElementi[e])) return fallisce();
    linea = r.LineNumber();
    if (!r.ReadItem(letta.CaratteriElementi[e])) return fallisce();
  }
  for (std::size_t c = 1; c <= kColoriPenne; ++c) {
    linea = r.LineNumber();
    if (!r.ReadLine(letta.NomiColori[c])) return fallisce();
    linea = r.LineNumber();
    if (!dati::LeggiNumero(r, letta.ValoriColori[c]) || letta.ValoriColori[c] < 0 || letta.ValoriColori[c] > 0xFFFFFF)
      return fallisce();
  }
  for (double* m : {&letta.MargineSinistro, &letta.MargineSuperiore}) {
    if (r.AtEnd()) break;
    linea = r.LineNumber();
    QString voce;
    r.ReadItem(voce);
    if (plat::TrimBlanks(voce).isEmpty()) continue;
    *m = plat::Val(voce);
    if (!plat::IsNumeric(voce) || !std::isfinite(*m)) return fallisce();
  }
  t = letta;
  return EsitoPenne::Letta;
}

bool ScriviFileTabellaPenne(const QString& percorso, const TabellaPenne& t) {
  for (std::size_t e = 1; e <= kElementiPenne; ++e)
    if (!std::isfinite(t.ColoriElementi[e]) || !std::isfinite(t.SpessoriElementi[e])) return false;
  for (std::size_t c = 1; c <= kColoriPenne; ++c)
    if (!std::isfinite(t.ValoriColori[c])) return false;
  if (!std::isfinite(t.MargineSinistro) || !std::isfinite(t.MargineSuperiore)) return false;
  plat::SeqWriter w(percorso);
  if (!w.IsOpen()) return false;
  for (std::size_t e = 1; e <= kElementiPenne; ++e) {
    w.WriteLine(t.NomiElementi[e]);
    w.WriteLine(NumeroTesto(t.ColoriElementi[e]));
    w.WriteLine(NumeroTesto(t.SpessoriElementi[e]));
    w.WriteLine(t.CaratteriElementi[e]);
  }
  for (std::size_t c = 1; c <= kColoriPenne; ++c) {
    w.WriteLine(t.NomiColori[c]);
    w.WriteLine(NumeroTesto(std::nearbyint(t.ValoriColori[c])));
  }
  w.WriteLine(NumeroTesto(t.MargineSinistro));
  w.WriteLine(NumeroTesto(t.MargineSuperiore));
  return w.Close();
}
