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
  if (!r.Open(percorso)) return EsitoPassaggio::Mancante;
  FilePassaggioDati letto;
  QString testo;
  auto nonValido = [&](int numero) {
    if (riga) *riga = numero;
    return EsitoPassaggio::NonValido;
  };
  for (int k = 1; k <= 3; ++k) {
    if (!r.ReadLine(testo)) return nonValido(k);
    if (k == 1 && !dati::NumeroDaRiga(testo, letto.IndiceScheda)) return nonValido(k);
    if (k == 2 && !dati::NumeroDaRiga(testo, letto.Modo)) return nonValido(k);
    if (k == 3) letto.TerzaVuota = plat::TrimBlanks(testo).isEmpty();
  }
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
  d = letto;
  return EsitoPassaggio::Letto;
}
