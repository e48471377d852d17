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

EsitoTabellaRisultati LeggiTabellaRisultati(const QString& percorso, RigheTabellaRisultati& tabella) {
  tabella = RigheTabellaRisultati();
  plat::SeqReader r;
  if (!r.Open(percorso)) return EsitoTabellaRisultati::Mancante;
  QString riga;
  if (r.ReadLine(riga)) tabella.testata = riga;
  while (r.ReadLine(riga)) tabella.righe << riga;
  return EsitoTabellaRisultati::Letta;
}
