#include "main/session/configurazione.h"

#include "common/platform/files.h"
#include "common/texts/avvio.h"
#include "common/texts/testi.h"
#include "main/session/sessione.h"

ModuloConfigurazione Configurazione;

void LeggiConfigurazione() {
  const QString file = plat::JoinPath(plat::ProgramFolder(), QStringLiteral("frattixint.cfg"));
  QString errore;
  if (LeggiFileConfigurazione(file, Avvio.NumeroLingua, Configurazione, &errore)) return;
  if (!plat::EntryExists(file))
    Attenzione(QStringLiteral("Il file seguente non puo' essere letto:"), DescrizioneFile(file));
  else AttenzioneTradotta(FileDanneggiatoDescritto(errore));
}
