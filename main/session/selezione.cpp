#include "main/session/selezione.h"

#include "common/texts/testi.h"
#include "main/session/configurazione.h"
#include "main/session/sessione.h"

ModuloSelezione Selezione;

EsitoSelezione LeggiSelezione() {
  if (Sessione.NomeSessione.isEmpty()) return EsitoSelezione::Mancante;
  QString errore;
  const EsitoSelezione esito =
      LeggiFileSelezione(FileDellaSessione(QStringLiteral(".sel")), Configurazione, Selezione, &errore);
  if (esito == EsitoSelezione::Mancante) CriteriPredefiniti(Selezione);
  if (esito == EsitoSelezione::NonValida)
    AttenzioneTradotta(FileDanneggiatoDescritto(errore));
  return esito;
}
