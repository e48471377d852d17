#include "main/reports/tabellerisultati.h"

#include "common/data/nomi.h"
#include "common/platform/textio.h"

QString FileTabellaRisultati(const QString& nomeSessione, TabellaRisultati tabella) {
  switch (tabella) {
    case TabellaRisultati::Famiglie:
      return FileTabella(nomeSessione, QStringLiteral("FAM"));
    case TabellaRisultati::Conducibilita:
      return FileTabella(nomeSessione, QStringLiteral("PER"));
    case TabellaRisultati::Cunei:
      break;
  }
  return FileStem(nomeSessione, QStringLiteral(".GMC"));
}

EsitoTabellaRisultati LeggiTabellaRisultati(const QString& percorso, RigheTabellaRisultati& tabella, int* riga) {
  tabella = RigheTabellaRisultati();
  plat::SeqReader r;
  if (!r.Open(percorso)) {
    if (riga) *riga = r.FaultLine();
    return r.Missing() ? EsitoTabellaRisultati::Mancante : EsitoTabellaRisultati::NonValida;
  }
  QString testo;
  if (r.ReadLine(testo)) tabella.testata = testo;
  while (r.ReadLine(testo)) tabella.righe << testo;
  return EsitoTabellaRisultati::Letta;
}
