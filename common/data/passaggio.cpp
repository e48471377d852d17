#include "common/data/passaggio.h"

#include "common/data/numeri.h"
#include "common/platform/files.h"
#include "common/platform/textio.h"

#include <cmath>

QString PercorsoFilePassaggio() { return plat::JoinPath(plat::ProgramFolder(), QStringLiteral("temporan")); }

bool ScriviFilePassaggio(const QString& percorso, const FilePassaggioDati& d) {
  plat::SeqWriter w(percorso);
  if (!w.IsOpen()) return false;
  w.WriteNumber(d.IndiceScheda);
  w.WriteNumber(d.Modo);
  if (d.TerzaVuota) w.WriteLine();
  else w.WriteNumber(0);
  w.WriteNumber(static_cast<double>(d.Schede.size()));
  for (const QString& s : d.Schede) w.WriteLine(s);
  w.WriteLine(d.NomeSessione);
  return w.Close();
}

EsitoPassaggio LeggiFilePassaggio(const QString& percorso, FilePassaggioDati& d, int massimoSchede, int* riga) {
  plat::SeqReader r;
  FilePassaggioDati letto;
  QString testo;
  auto nonValido = [&](int numero) {
    if (riga) *riga = numero;
    return EsitoPassaggio::NonValido;
  };
  if (!r.Open(percorso)) return r.Missing() ? EsitoPassaggio::Mancante : nonValido(r.FaultLine());
  // Line 1: the selected-sheet index, a whole number (the main program writes 0, MIRVANE writes back 1; no program
  // uses it).
  if (!r.ReadLine(testo) || !dati::NumeroDaRiga(testo, letto.IndiceScheda) || letto.IndiceScheda < 0 ||
      letto.IndiceScheda != std::floor(letto.IndiceScheda))
    return nonValido(1);
  // Line 2: one of the modes, as a whole number ("2.5" or "1e308" is no mode).
  double modo = 0;
  if (!r.ReadLine(testo) || !dati::NumeroDaRiga(testo, modo) ||
      (modo != ModoCluster && modo != ModoStabilita && modo != ModoGrafico))
    return nonValido(2);
  letto.Modo = static_cast<int>(modo);
  // Line 3: 0, or empty for the stability command.
  if (!r.ReadLine(testo)) return nonValido(3);
  letto.TerzaVuota = plat::TrimBlanks(testo).isEmpty();
  double terza = 0;
  if (!letto.TerzaVuota && (!dati::NumeroDaRiga(testo, terza) || terza != 0)) return nonValido(3);
  double n = 0;
  if (!r.ReadLine(testo) || !dati::NumeroDaRiga(testo, n) || n < 0 || n != std::floor(n)) return nonValido(4);
  if (n > massimoSchede) {
    if (riga) *riga = 4;
    return EsitoPassaggio::TroppeSchede;
  }
  for (int k = 0; k < static_cast<int>(n); ++k) {
    if (!r.ReadLine(testo)) return nonValido(5 + k);
    letto.Schede << plat::TrimBlanks(testo);
  }
  if (!r.ReadLine(testo) || plat::TrimBlanks(testo).isEmpty()) return nonValido(5 + static_cast<int>(n));
  letto.NomeSessione = plat::TrimBlanks(testo);
  int oltre = 0;
  if (!dati::FineSostanziale(r, &oltre)) return nonValido(oltre);
  d = letto;
  return EsitoPassaggio::Letto;
}
