#include "main/session/scheda.h"

#include "common/texts/testi.h"
#include "main/session/sessione.h"

ModuloScheda Scheda;

void AzzeraScheda() { AzzeraScheda(Scheda); }

EsitoScheda LeggiScheda(std::vector<int>* linee, int* riga) {
  return LeggiFileScheda(Scheda.FileScheda, Scheda, kMassimoRigheScheda, linee, riga);
}

void SegnalaEsitoScheda(EsitoScheda esito, int riga) {
  switch (esito) {
    case EsitoScheda::Letta: return;
    case EsitoScheda::Illeggibile:
      Attenzione(QStringLiteral("Il file seguente non puo' essere letto:"), DescrizioneFile(Scheda.FileScheda));
      return;
    case EsitoScheda::Incompleta:
      AttenzioneTradotta(FileDanneggiato(Scheda.FileScheda, riga));
      return;
    case EsitoScheda::TroppeRighe:
      Attenzione(QStringLiteral("La scheda contiene piu' discontinuita' del massimo ammesso:"),
                 QString::number(kMassimoRigheScheda) + QLatin1Char('\n') + DescrizioneFile(Scheda.FileScheda));
      return;
  }
}

bool SalvaScheda() { return ScriviFileScheda(Scheda.FileScheda, Scheda); }
