#include "main/session/scheda.h"

#include "main/session/sessione.h"

ModuloScheda Scheda;

void AzzeraScheda() { AzzeraScheda(Scheda); }

EsitoScheda LeggiScheda() { return LeggiFileScheda(Scheda.FileScheda, Scheda); }

void SegnalaEsitoScheda(EsitoScheda esito) {
  switch (esito) {
    case EsitoScheda::Letta: return;
    case EsitoScheda::Illeggibile:
      Attenzione(QStringLiteral("Il file seguente non puo' essere letto:"), Scheda.FileScheda);
      return;
    case EsitoScheda::Incompleta:
      Attenzione(QStringLiteral("Il file seguente e' incompleto o non valido:"), Scheda.FileScheda);
      return;
    case EsitoScheda::TroppeRighe:
      Attenzione(QStringLiteral("La scheda contiene piu' discontinuita' del massimo ammesso:"),
                 Scheda.FileScheda + QStringLiteral(" (") + QString::number(kMassimoRigheScheda) +
                     QStringLiteral(")"));
      return;
  }
}

bool SalvaScheda() { return ScriviFileScheda(Scheda.FileScheda, Scheda); }
