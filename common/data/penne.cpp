#include "common/data/penne.h"

#include "common/data/numeri.h"
#include "common/platform/files.h"
#include "common/platform/textio.h"
#include "common/texts/avvio.h"
#include "common/texts/numeri.h"

#include <cmath>
#include <limits>

QString FileTabellaPenne() {
  const QString codice = RipiegoLingua(Avvio.CodiceLingua, QStringLiteral(".CFG"));
  return plat::JoinPath(plat::ProgramFolder(), QStringLiteral("korven") + codice + QStringLiteral(".CFG"));
}

EsitoPenne LeggiFileTabellaPenne(const QString& percorso, TabellaPenne& t, int* riga) {
  plat::SeqReader r;
  // The line of a fault: the line of the item being read.
  int linea = 0;
  const auto fallisce = [&] {
    if (riga) *riga = linea;
    return EsitoPenne::NonValida;
  };
  if (!r.Open(percorso)) {
    if (r.Missing()) return EsitoPenne::Mancante;
    linea = r.FaultLine();
    return fallisce();
  }
  TabellaPenne letta;
  // Each number alone on its line: a whole number from `minimo` to `massimo`, or (`intero` false) any finite one.
  const auto numero = [&](double& v, bool intero, double minimo, double massimo) {
    linea = r.LineNumber();
    return dati::LeggiNumeroRiga(r, v) && (!intero || v == std::floor(v)) && v >= minimo && v <= massimo;
  };
  const double senzaLimite = std::numeric_limits<double>::max();
  for (std::size_t e = 1; e <= kElementiPenne; ++e) {
    linea = r.LineNumber();
    if (!r.ReadLine(letta.NomiElementi[e])) return fallisce();
    // The colour number: one of the 15 colours, 0 for an element that is not drawn.
    if (!numero(letta.ColoriElementi[e], true, 0, kColoriPenne)) return fallisce();
    if (!numero(letta.SpessoriElementi[e], false, -senzaLimite, senzaLimite)) return fallisce();
    // The font: one item, alone on its line.
    linea = r.LineNumber();
    if (!r.ReadItem(letta.CaratteriElementi[e]) || (!r.AtEnd() && r.LineNumber() == linea)) return fallisce();
  }
  for (std::size_t c = 1; c <= kColoriPenne; ++c) {
    linea = r.LineNumber();
    if (!r.ReadLine(letta.NomiColori[c])) return fallisce();
    if (!numero(letta.ValoriColori[c], true, 0, 0xFFFFFF)) return fallisce();
  }
  // The margins, when the file goes on: each a number alone on its line, or a blank line for 0.
  for (double* m : {&letta.MargineSinistro, &letta.MargineSuperiore}) {
    if (r.AtEnd()) break;
    linea = r.LineNumber();
    QString testo;
    r.ReadLine(testo);
    if (plat::TrimBlanks(testo).isEmpty()) continue;
    if (!dati::NumeroDaRiga(testo, *m)) return fallisce();
  }
  if (!dati::FineSostanziale(r, &linea)) return fallisce();
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
