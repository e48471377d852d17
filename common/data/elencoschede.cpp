#include "common/data/elencoschede.h"

#include "common/data/numeri.h"
#include "common/platform/files.h"
#include "common/platform/textio.h"
#include "common/texts/testi.h"

#include <cmath>

EsitoElenco LeggiElencoSchede(const QString& percorso, QStringList& nomi, int massimo, QString* errore) {
  nomi.clear();
  plat::SeqReader r;
  auto esito = [&](EsitoElenco e, int riga, const QString& dettaglio = QString()) {
    if (errore) *errore = DescrizioneFile(r.Path().isEmpty() ? percorso : r.Path(), riga) + dettaglio;
    nomi.clear();
    return e;
  };
  if (!r.Open(percorso)) return r.Missing() ? EsitoElenco::Mancante : esito(EsitoElenco::NonValido, r.FaultLine());
  if (r.AtEnd()) return EsitoElenco::Letto;
  double conteggio = 0;
  if (!dati::LeggiNumeroRiga(r, conteggio) || conteggio < 0 || conteggio != std::floor(conteggio))
    return esito(EsitoElenco::NonValido, 1);
  // The limit reached, not a damaged file: the count and the limit are told.
  if (conteggio > massimo)
    return esito(EsitoElenco::TroppeSchede, 1,
                 QLatin1Char('\n') + QString::number(conteggio, 'g', 15) + QStringLiteral(" > ") +
                     QString::number(massimo));
  const int n = static_cast<int>(conteggio);
  for (int i = 0; i < n; ++i) {
    const int riga = r.LineNumber();
    QString nome;
    if (!r.ReadLine(nome)) return esito(EsitoElenco::NonValido, riga);
    nomi << plat::TrimBlanks(nome);
  }
  return EsitoElenco::Letto;
}

bool ScriviElencoSchede(const QString& percorso, const QStringList& nomi) {
  plat::SeqWriter w(percorso);
  if (!w.IsOpen()) return false;
  w.WriteNumber(static_cast<double>(nomi.size()));
  for (const QString& n : nomi) w.WriteLine(n);
  return w.Close();
}
